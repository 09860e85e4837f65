#include "content/dati_linea.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/file_ops.h"
#include "tests/support/modello_corsa.h"
#include "tests/support/righe.h"
#include "tests/support/temp_dir.h"

namespace {

const tabella_righe& t() { return tabella_linea(); }

}  // namespace

TEST(DatiLinea, WritesTheRouteFileUnderTheRouteIdentifier) {
    temp_dir dir;
    modello m = modello_corsa();
    dati_linea(dir.path(), m);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Lidonia_Sabrio_linea.txt"});
    std::string bytes = read_file(dir.path() / "Lidonia_Sabrio_linea.txt");
    EXPECT_EQ(bytes, testo_tabella(t()));
    EXPECT_EQ(righe_scritte(t()).size(), 164u);
    EXPECT_EQ(t().size(), 165u);
    EXPECT_TRUE(bytes.ends_with("\r\n[fine]\r\n"));
    EXPECT_EQ(bytes.find("riferimento"), std::string::npos);
}

TEST(DatiLinea, SectionsComeInOrderWithTheirLineCounts) {
    const std::vector<std::pair<std::string, int>> attese = {
        {"[generale]", 8}, {"[curve]", 62},      {"[pendenze]", 43}, {"[montagne]", 3},
        {"[cartelli]", 35}, {"[indicazioni]", 6}, {"[fine]", 0}};
    EXPECT_EQ(sezioni(t()), attese);
}

TEST(DatiLinea, SectionsGivenInFull) {
    EXPECT_EQ(sezione(t(), "[generale]"),
              (std::vector<std::string>{"lunghezza percorso,    243000",
                                        "progressiva chilometrica uno,    0,    350000,    1",
                                        "progressiva chilometrica due,    0,    0,    0",
                                        "progressiva chilometrica tre,    0,    0,    0", "sfondo uno,    1",
                                        "sfondo due,    0", "sfondo tre,    0",
                                        "ripetizione segnali 4 codici,    0,    241000"}));
    EXPECT_EQ(sezione(t(), "[montagne]"),
              (std::vector<std::string>{"montagna,   141550,  143050,  11", "montagna,   145350,  145750,  11",
                                        "montagna,   212650,  214650,  11"}));
    EXPECT_EQ(sezione(t(), "[indicazioni]"),
              (std::vector<std::string>{"cartello_indicatore,  4400,   (Km 345+557)",
                                        "cartello_indicatore,  8500,   (km 341+500)",
                                        "cartello_indicatore,  35650,   ( Torrente )(  Tordino )(Km 314+347)",
                                        "cartello_indicatore,  75800,   ( Torrente  )(Campofilone)( Km 274+204)",
                                        "cartello_indicatore,  139500,   (Km 210+500)",
                                        "cartello_indicatore,  145300,   (Km 204+676)"}));
}

TEST(DatiLinea, CurvesKeepTheirOrderLayoutAndKeywordFrequencies) {
    auto curve = sezione(t(), "[curve]");
    ASSERT_EQ(curve.size(), 62u);
    EXPECT_EQ(curve.front(), "curvas3, 1900, 600");
    EXPECT_EQ(curve[1], "curvad3, 3400, 800");
    EXPECT_EQ(curve.back(), "curvad3, 237100, 1000");

    const char* const una = "curva@[sd]@[123456], #, #";
    const char* const due = "curva@[sd]@[123456],  #,  #";
    std::map<std::string, int> frequenze;
    std::vector<size_t> con_due_spazi;
    int32_t fine_precedente = 0, piu_lunga = 0, piu_corta = 1 << 30;
    std::string lunga, corta;
    for (size_t i = 0; i < curve.size(); ++i) {
        const std::string& r = curve[i];
        if (ha_forma(r, due))
            con_due_spazi.push_back(i);
        else
            EXPECT_TRUE(ha_forma(r, una)) << r;
        ++frequenze[r.substr(0, 7)];
        auto v = valori(r);
        ASSERT_EQ(v.size(), 2u) << r;
        EXPECT_EQ(v[0] % 50, 0) << r;
        EXPECT_EQ(v[1] % 50, 0) << r;
        EXPECT_GE(v[1], 100) << r;
        EXPECT_LE(v[1], 3000) << r;
        // No curve reaches past the start of the next (so starts ascend strictly).
        EXPECT_GE(v[0], fine_precedente) << r;
        fine_precedente = v[0] + v[1];
        if (v[1] > piu_lunga) piu_lunga = v[1], lunga = r;
        if (v[1] < piu_corta) piu_corta = v[1], corta = r;
    }
    EXPECT_EQ(lunga, "curvas3, 125400, 3000");
    EXPECT_EQ(corta, "curvas5, 104000, 100");
    ASSERT_EQ(con_due_spazi.size(), 3u);
    EXPECT_EQ(curve[con_due_spazi[0]], "curvas4,  140750,  400");
    EXPECT_EQ(curve[con_due_spazi[0] + 1], "curvad6,  144800,  400");
    EXPECT_EQ(curve[con_due_spazi[0] + 2], "curvas6,  145500,  250");
    const std::map<std::string, int> attese = {
        {"curvad4", 11}, {"curvas4", 10}, {"curvas3", 8}, {"curvad3", 7}, {"curvas5", 7}, {"curvad5", 5},
        {"curvad1", 4},  {"curvas2", 3},  {"curvad6", 2}, {"curvad2", 2}, {"curvas1", 2}, {"curvas6", 1}};
    EXPECT_EQ(frequenze, attese);
}

TEST(DatiLinea, GradientsRunFromTheOriginInAscendingOrder) {
    auto pendenze = sezione(t(), "[pendenze]");
    ASSERT_EQ(pendenze.size(), 43u);
    const std::vector<std::string> prime = {"pendenza,  0,   0", "pendenza,  5000,   -8", "pendenza,  7000,   0",
                                            "pendenza,  11000,  5"};
    EXPECT_EQ(std::vector<std::string>(pendenze.begin(), pendenze.begin() + 4), prime);
    EXPECT_EQ(pendenze[41], "pendenza,  237000,  0");
    EXPECT_EQ(pendenze[42], "pendenza,  239000,  0");

    const char* const tre = "pendenza,  #,   #";
    const char* const due = "pendenza,  #,  #";
    int32_t precedente = -1, minimo = 0, massimo = 0;
    std::string ripida;
    for (size_t i = 0; i < pendenze.size(); ++i) {
        const std::string& r = pendenze[i];
        EXPECT_TRUE(ha_forma(r, i < 3 ? tre : due)) << r;
        auto v = valori(r);
        EXPECT_GT(v[0], precedente) << r;
        EXPECT_EQ(v[0] % 50, 0) << r;
        precedente = v[0];
        if (v[1] < minimo) minimo = v[1], ripida = r;
        massimo = std::max(massimo, v[1]);
    }
    EXPECT_EQ(minimo, -12);
    EXPECT_EQ(massimo, 7);
    // The steepest gradient begins with the third mountain span.
    EXPECT_EQ(ripida, "pendenza,  212650,  -12");
}

TEST(DatiLinea, SpeedBoardsStandAloneOrInRunsOfThree) {
    auto cartelli = sezione(t(), "[cartelli]");
    ASSERT_EQ(cartelli.size(), 35u);
    EXPECT_EQ(cartelli.front(), "indicatori_vmax,  1950,  140,  150,  160,  0,  140,  150,  160,  0");
    EXPECT_EQ(cartelli.back(), "indicatori_vmax,  234800,  100,  110,  115,  0,  100,  110,  115,  0");

    const char* const forma = "indicatori_vmax,  ?,  ?,  ?,  ?,  ?,  ?,  ?,  ?,  ?";
    int32_t precedente = 0;
    for (const auto& r : cartelli) {
        EXPECT_TRUE(ha_forma(r, forma)) << r;
        auto v = valori(r);
        EXPECT_GT(v[0], precedente) << r;
        EXPECT_EQ(v[0] % 50, 0) << r;
        precedente = v[0];
        for (int k : {1, 2, 3, 5, 6, 7}) {
            if (v[k] == 0 && k >= 5) continue;  // the empty second group
            EXPECT_EQ(v[k] % 5, 0) << r;
            EXPECT_GE(v[k], 60) << r;
            EXPECT_LE(v[k], 180) << r;
        }
    }

    // A board with stripes opens a run: stripes 2, 1, 0 on three boards with the
    // same speeds, 400 m apart in the first run and 300 m in the others.
    int soli = 0, serie = 0, vuote = 0;
    for (size_t i = 0; i < cartelli.size(); ++i) {
        auto v = valori(cartelli[i]);
        if (v[4] == 0) {
            EXPECT_EQ(v[8], 0) << cartelli[i];
            ++soli;
            continue;
        }
        ASSERT_LT(i + 2, cartelli.size());
        auto b = valori(cartelli[i + 1]), c = valori(cartelli[i + 2]);
        EXPECT_EQ(v[4], 2);
        EXPECT_EQ(b[4], 1);
        EXPECT_EQ(c[4], 0);
        const int32_t passo = serie == 0 ? 400 : 300;
        EXPECT_EQ(b[0] - v[0], passo) << cartelli[i];
        EXPECT_EQ(c[0] - b[0], passo) << cartelli[i];
        for (int k : {1, 2, 3, 5, 6, 7}) {
            EXPECT_EQ(b[k], v[k]);
            EXPECT_EQ(c[k], v[k]);
        }
        if (cartelli[i].ends_with(",  ,  ,  ,  0")) {
            ++vuote;
            EXPECT_TRUE(cartelli[i + 1].ends_with(",  ,  ,  ,  0"));
            EXPECT_TRUE(cartelli[i + 2].ends_with(",  ,  ,  ,  0"));
        } else {
            EXPECT_EQ(v[8], v[4]);
        }
        ++serie;
        i += 2;
    }
    EXPECT_EQ(soli, 23);
    EXPECT_EQ(serie, 4);
    EXPECT_EQ(vuote, 1);
    for (const char* r : {"indicatori_vmax,  137500,  90,  95,  105,  2,  90,  95,  105,  2",
                          "indicatori_vmax,  137900,  90,  95,  105,  1,  90,  95,  105,  1",
                          "indicatori_vmax,  138300,  90,  95,  105,  0,  90,  95,  105,  0",
                          "indicatori_vmax,  143500,  60,  70,  75,  2,  ,  ,  ,  0",
                          "indicatori_vmax,  143800,  60,  70,  75,  1,  ,  ,  ,  0",
                          "indicatori_vmax,  144100,  60,  70,  75,  0,  ,  ,  ,  0"})
        EXPECT_NE(std::find(cartelli.begin(), cartelli.end(), r), cartelli.end()) << r;
}
