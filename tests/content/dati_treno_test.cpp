#include "content/dati_treno.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/file_ops.h"
#include "tests/support/modello_corsa.h"
#include "tests/support/righe.h"
#include "tests/support/scenario_treno.h"
#include "tests/support/temp_dir.h"

namespace {

const tabella_righe& t() { return tabella_treno(); }

// Every field between the keyword and the free-width tail is a number
// right-aligned in exactly its width.
void controlla_colonne(const std::string& riga, const std::vector<size_t>& larghezze, size_t coda) {
    auto p = pezzi(riga);
    ASSERT_EQ(p.size(), 1 + larghezze.size() + coda) << riga;
    for (size_t i = 0; i < larghezze.size(); ++i) {
        const std::string& c = p[i + 1];
        EXPECT_EQ(c.size(), larghezze[i]) << riga << " field " << i + 1;
        size_t cifre = c.find_first_not_of(' ');
        ASSERT_NE(cifre, std::string::npos) << riga;
        EXPECT_EQ(c.find_first_not_of("-0123456789", cifre), std::string::npos) << riga << " field " << i + 1;
    }
}

}  // namespace

TEST(DatiTreno, WritesTheTrainFileUnderRouteAndTrainNumber) {
    temp_dir dir;
    modello m = modello_corsa();
    dati_treno(dir.path(), m);
    m.numero_treno = "915";
    dati_treno(dir.path(), m);
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"Lidonia_Sabrio_914-.txt", "Lidonia_Sabrio_915-.txt"}));
    std::string bytes = read_file(dir.path() / "Lidonia_Sabrio_914-.txt");
    EXPECT_EQ(bytes, testo_tabella(t()));
    EXPECT_EQ(righe_scritte(t()).size(), 205u);
    EXPECT_TRUE(bytes.ends_with("\r\n[fine]\r\n"));
    EXPECT_NE(bytes.find("\r\norologio,    10              47            40 \r\n"), std::string::npos);
}

TEST(DatiTreno, SectionsComeInOrderWithTheirLineCounts) {
    const std::vector<std::pair<std::string, int>> attese = {
        {"[generale]", 4}, {"[aderenze]", 1}, {"[vel_limite]", 27}, {"[stazioni]", 35}, {"[rallentamenti]", 4},
        {"[segnali]", 124}, {"[codici]", 2},  {"[fine]", 0}};
    EXPECT_EQ(sezioni(t()), attese);
}

TEST(DatiTreno, SectionsGivenInFull) {
    EXPECT_EQ(sezione(t(), "[generale]"),
              (std::vector<std::string>{"numero vetture,    12", "percentuale massa frenata,    125", "sabbia,    200",
                                        "orologio,    10              47            40 "}));
    EXPECT_EQ(sezione(t(), "[aderenze]"), std::vector<std::string>{"aderenza,   0,    100"});
    EXPECT_EQ(sezione(t(), "[rallentamenti]"),
              (std::vector<std::string>{"rallentamento,   24950,    60,  200, 1,  1,  60",
                                        "rallentamento,   76950,    50, 1800, 0,  1,  50",
                                        "rallentamento,  168900,    40,  200, 0,  1,  40",
                                        "rallentamento,  214750,    80,  800, 0,  1,  80"}));
    EXPECT_EQ(sezione(t(), "[codici]"),
              (std::vector<std::string>{"abbattimento,  202500,   180", "abbattimento,  203000,   180"}));
}

TEST(DatiTreno, NumericFieldsAreRightAlignedInTheirColumns) {
    for (const auto& r : sezione(t(), "[vel_limite]")) controlla_colonne(r, {8, 6}, 0);
    for (const auto& r : sezione(t(), "[stazioni]")) {
        controlla_colonne(r, {8, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2}, 1);
        // A blank, then the name in capitals.
        const std::string nome = pezzi(r).back();
        EXPECT_TRUE(nome.size() > 1 && nome[0] == ' ' && nome[1] != ' ') << r;
        EXPECT_EQ(nome.find_first_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << r;
    }
    for (const auto& r : sezione(t(), "[rallentamenti]")) controlla_colonne(r, {8, 6, 5, 2, 3, 4}, 0);
    for (const auto& r : sezione(t(), "[segnali]")) {
        controlla_colonne(r, {8, 4, 2, 2, 3, 2, 5, 3, 1, 1}, 1);
        EXPECT_EQ(pezzi(r).back().front(), ' ') << r;
    }
    for (const auto& r : sezione(t(), "[codici]")) controlla_colonne(r, {8, 6}, 0);
}

TEST(DatiTreno, SpeedLimitsAscendOverTheirValueSet) {
    auto v = sezione(t(), "[vel_limite]");
    EXPECT_EQ(v.front(), "velocita,       0,   110");
    EXPECT_EQ(v.back(), "velocita,  236000,   110");
    std::set<int32_t> limiti;
    int32_t precedente = -1;
    std::string minimo;
    int32_t piu_basso = 1000;
    for (const auto& r : v) {
        auto x = valori(r);
        EXPECT_GT(x[0], precedente) << r;
        EXPECT_EQ(x[0] % 50, 0) << r;
        precedente = x[0];
        limiti.insert(x[1]);
        if (x[1] < piu_basso) piu_basso = x[1], minimo = r;
    }
    EXPECT_EQ(limiti, (std::set<int32_t>{70, 95, 105, 110, 115, 125, 130, 135, 140, 150, 160}));
    EXPECT_EQ(minimo, "velocita,  145300,    70");
    EXPECT_NE(std::find(v.begin(), v.end(), "velocita,  139500,    95"), v.end());
}

TEST(DatiTreno, StationsFollowEachOtherAlongTheLine) {
    auto s = sezione(t(), "[stazioni]");
    for (const char* r : {
             "stazione,       0,  8,  500,  1, 0, 0,  4,1,1,  2,1,1,    1,  10,48, 0, LIDONIA CENTRALE",
             "stazione,    7000, 12,  500,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, MONTESILVANO",
             "stazione,   37650,  4,  600,  1, 0, 0,  3,1,0,  2,1,1,   99,  11,15, 0, GIULIANOVA",
             "stazione,   44000, 28,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, TORTORETO",
             "stazione,  193100, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,   45,  13, 3, 0, FANO"})
        EXPECT_NE(std::find(s.begin(), s.end(), r), s.end()) << r;
    EXPECT_EQ(s.back(), "stazione,  238450,  2,  500,  0, 0, 0,  1,1,0,  2,1,1,    0,  13,40, 0, SABRIO");

    auto st = stazioni_treno();
    ASSERT_EQ(st.size(), 35u);
    EXPECT_EQ(st.front().nome, "LIDONIA CENTRALE");
    EXPECT_EQ(st[17].nome, "PORTO RECANATI");
    EXPECT_EQ(st[18].nome, "LORETO");
    std::map<int32_t, int> tipi, lunghezze;
    const std::map<int, std::set<int32_t>> insiemi = {{4, {0, 1}},     {5, {0, 1}},  {6, {0, 1}},
                                                      {7, {0, 1, 3, 4}}, {8, {0, 1}},  {9, {0, 1}},
                                                      {10, {0, 2, 4}}, {11, {0, 1}}, {12, {0, 1}},
                                                      {13, {0, 1, 45, 60, 99}}};
    int32_t orario_precedente = 0;
    for (size_t i = 0; i < st.size(); ++i) {
        const auto& x = st[i];
        ++tipi[x.campi[2]];
        ++lunghezze[x.campi[3]];
        for (const auto& [campo, ammessi] : insiemi)
            EXPECT_TRUE(ammessi.count(x.campi[campo])) << x.nome << " field " << campo;
        EXPECT_EQ(x.campi[16], 0) << x.nome;
        EXPECT_EQ(x.campi[1] % 50, 0) << x.nome;
        EXPECT_EQ(x.campi[3] % 100, 0) << x.nome;
        if (i > 0) {
            EXPECT_GT(x.campi[1], st[i - 1].campi[1]) << x.nome;
            // Each area begins at least 350 m after the one before ends.
            EXPECT_GE(x.inizio_zona - 350, st[i - 1].fine_zona) << x.nome;
        }
        if (x.orario > 0) {
            EXPECT_GT(x.orario, orario_precedente) << x.nome;
            orario_precedente = x.orario;
        }
    }
    EXPECT_EQ(tipi, (std::map<int32_t, int>{{12, 23}, {28, 5}, {2, 3}, {4, 2}, {8, 1}, {22, 1}}));
    for (const auto& [l, n] : lunghezze) EXPECT_TRUE(std::set<int32_t>({200, 400, 500, 600, 800}).count(l)) << l;
}

TEST(DatiTreno, RestrictionsLieBetweenTheirStations) {
    auto st = stazioni_treno();
    // The stations whose areas lie before and after the restricted stretch, and
    // those inside it.
    auto intorno = [&](int32_t inizio, int32_t fine) {
        std::vector<std::string> prima, dentro, dopo;
        for (const auto& x : st) {
            if (x.fine_zona < inizio)
                prima.push_back(x.nome);
            else if (x.inizio_zona > fine)
                dopo.push_back(x.nome);
            else
                dentro.push_back(x.nome);
        }
        return std::vector<std::string>{prima.back(), dentro.empty() ? "" : dentro.front(), dopo.front()};
    };
    auto r = sezione(t(), "[rallentamenti]");
    const std::vector<std::vector<std::string>> attesi = {{"PINETO", "", "ROSETO"},
                                                          {"CUPRAMARITTIMA", "PEDASO", "PORTO S.GIORGIO"},
                                                          {"MARZOCCA", "", "SENIGALLIA"},
                                                          {"PESARO", "", "CATTOLICA"}};
    for (size_t i = 0; i < r.size(); ++i) {
        auto v = valori(r[i]);
        EXPECT_EQ(intorno(v[0], v[0] + v[2]), attesi[i]) << r[i];
    }
}

TEST(DatiTreno, SignalsAscendOverTheirValueSets) {
    auto s = sezione(t(), "[segnali]");
    EXPECT_EQ(s.front(), "segnale,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0");
    EXPECT_EQ(s.back(), "segnale,  237650,   2, 3, 1,  1, 0,    2,  2,1,1, 0");
    auto a = std::find(s.begin(), s.end(), "segnale,    4450,   2, 4, 1,  0, 0,    2,  3,1,0, 0");
    ASSERT_NE(a, s.end());
    EXPECT_EQ(*(a + 1), "segnale,    5500,   2, 4, 1,  1, 0,    2,  2,1,1, 0");

    const std::vector<std::set<int32_t>> insiemi = {{}, {1, 2}, {2, 3, 4, 5}, {0, 1, 3, 4}, {0, 1}, {0},
                                                    {0, 1, 2}, {0, 1, 2, 3}, {0, 1}, {0, 1}};
    std::vector<std::set<int32_t>> visti(insiemi.size());
    int32_t precedente = 0;
    std::vector<std::string> con_tempo, lato_uno;
    for (const auto& r : s) {
        auto v = valori(r);
        ASSERT_EQ(v.size(), 11u) << r;
        EXPECT_GT(v[0], precedente) << r;
        EXPECT_EQ(v[0] % 50, 0) << r;
        precedente = v[0];
        for (size_t k = 1; k < insiemi.size(); ++k) visti[k].insert(v[k]);
        if (v[10] != 0) con_tempo.push_back(r);
        if (v[1] == 1) lato_uno.push_back(r);
    }
    for (size_t k = 1; k < insiemi.size(); ++k) EXPECT_EQ(visti[k], insiemi[k]) << "value " << k;
    EXPECT_EQ(con_tempo, std::vector<std::string>{"segnale,   39600,   2, 4, 0,  0, 0,    2,  1,0,0, 110"});
    EXPECT_EQ(lato_uno, std::vector<std::string>{"segnale,  144000,   1, 3, 4,  0, 0,    0,  0,0,0, 0"});
}
