#include "documents/dati_scheda.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "platform/file_ops.h"
#include "tests/support/modello_corsa.h"
#include "tests/support/righe.h"
#include "tests/support/scenario_treno.h"
#include "tests/support/temp_dir.h"

namespace {

const std::vector<std::string>& righe() {
    static const std::vector<std::string> r = righe_scritte(tabella_scheda());
    return r;
}
// Line n of the file, counted from 1.
const std::string& riga(size_t n) { return righe().at(n - 1); }

const char* const RIGA_VUOTA = " |     |     |          |     |                            |                |     |";

// The table rows of the four pages: (first line, count).
const std::vector<std::pair<size_t, size_t>> TABELLE = {{17, 31}, {69, 32}, {121, 31}, {171, 31}};

// The seven cells of a table row.
std::vector<std::string> celle(const std::string& r) {
    std::vector<std::string> out;
    size_t at = 2;
    for (size_t larghezza : {5, 5, 10, 5, 28, 16, 5}) {
        out.push_back(r.substr(at, larghezza));
        at += larghezza + 1;
    }
    return out;
}

struct riga_orario {
    std::string velocita, localita, orario, km;
};

// The filled rows of the first two pages, in order.
std::vector<riga_orario> righe_piene() {
    std::vector<riga_orario> out;
    for (size_t pagina = 0; pagina < 2; ++pagina)
        for (size_t n = TABELLE[pagina].first; n < TABELLE[pagina].first + TABELLE[pagina].second; ++n) {
            if (riga(n) == RIGA_VUOTA) continue;
            auto c = celle(riga(n));
            out.push_back({senza_spazi(c[0]), senza_spazi(c[4]), senza_spazi(c[5]), senza_spazi(c[2])});
        }
    return out;
}

}  // namespace

TEST(DatiScheda, WritesTheCardUnderRouteAndTrainNumber) {
    temp_dir dir;
    modello m = modello_corsa();
    dati_scheda(dir.path(), m);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Lidonia_Sabrio_914_scheda_treno.txt"});
    std::string bytes = read_file(dir.path() / "Lidonia_Sabrio_914_scheda_treno.txt");
    EXPECT_EQ(bytes, testo_tabella(tabella_scheda()));
    EXPECT_TRUE(bytes.starts_with("\r\n\r\n  ___"));
    EXPECT_TRUE(bytes.ends_with("|_____|\r\n\r\n"));
    EXPECT_EQ(righe().size(), 203u);
    EXPECT_EQ(tabella_scheda().size(), 204u);
}

TEST(DatiScheda, PagesFollowTheFixedLayout) {
    const std::vector<std::string> testata = {
        "  ___________________                                               ______________",
        "",
        " |   TRENO n. 914    |                   da: Lidonia Centrale      |    V160 B    |",
        " |___________________|                    a: Sabrio                |     125%     |",
        "                                                                   |______________|",
        "  ___________________                ___________________",
        " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
        " |     ESPRESSO      |              |       700T        |",
        " |___________________|              |___________________|"};
    const std::vector<std::string> modello = {
        " |                   |                    SCHEDA 0/0               |              |",
        " |   TRENO n.xxxxx   |                   da: xxxxxx                |    Vxxx C    |",
        " |___________________|                    a: xxxxxx                |     xxx%     |",
        " |        xxx        |              |      xxxT         |"};
    const std::vector<std::string> testa = {
        "  ________________________________________________________________________________",
        " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
        " | Lim.|Marc.|          |  Rs |                            |                |     |",
        " |_____|_____|__________|_____|____________________________|________________|_____|"};
    const std::vector<std::string> schede = {
        " |                   |                    SCHEDA 1/2               |              |",
        " |                   |                    SCHEDA 2/2               |              |", modello[0],
        modello[0]};
    const size_t inizi[] = {3, 55, 107, 157};
    for (size_t p = 0; p < 4; ++p) {
        const size_t h = inizi[p];
        for (size_t k = 0; k < 9; ++k) {
            std::string attesa = k == 1 ? schede[p] : testata[k];
            if (p >= 2 && k == 2) attesa = modello[1];
            if (p >= 2 && k == 3) attesa = modello[2];
            if (p >= 2 && k == 7) attesa = modello[3];
            EXPECT_EQ(riga(h + k), attesa) << "page " << p + 1 << " header line " << k + 1;
        }
        EXPECT_EQ(riga(h + 9), "");
        for (size_t k = 0; k < 4; ++k) EXPECT_EQ(riga(h + 10 + k), testa[k]) << "page " << p + 1;
        EXPECT_EQ(riga(TABELLE[p].first + TABELLE[p].second), testa[3]) << "bottom rule, page " << p + 1;
    }
    EXPECT_EQ(riga(52), std::string(81, '.'));
    EXPECT_EQ(riga(105), std::string(72, '.'));
    EXPECT_EQ(riga(155), std::string(72, '.'));
    for (size_t n : {1, 2, 12, 49, 50, 51, 53, 54, 64, 102, 103, 104, 106, 116, 153, 154, 156, 166, 203})
        EXPECT_EQ(riga(n), "") << "line " << n;
    // The blank pages and the end of the second page hold blank rows only.
    for (size_t n = 95; n <= 100; ++n) EXPECT_EQ(riga(n), RIGA_VUOTA);
    for (size_t p : {2, 3})
        for (size_t n = TABELLE[p].first; n < TABELLE[p].first + TABELLE[p].second; ++n)
            EXPECT_EQ(riga(n), RIGA_VUOTA) << "line " << n;
}

TEST(DatiScheda, EveryRowKeepsItsCellBoundaries) {
    const std::set<std::string> recuperi = {" 1.0 ", " 0.5 ", "     "};
    for (const auto& [primo, quante] : TABELLE)
        for (size_t n = primo; n < primo + quante; ++n) {
            const std::string& r = riga(n);
            ASSERT_EQ(r.size(), 83u) << "line " << n;
            for (size_t i = 0; i < r.size(); ++i) {
                const bool bordo = i == 1 || i == 7 || i == 13 || i == 24 || i == 30 || i == 59 || i == 76 || i == 82;
                EXPECT_EQ(r[i] == '|', bordo) << "line " << n << " column " << i;
            }
            auto c = celle(r);
            for (int k : {0, 1})
                EXPECT_TRUE(c[k] == "     " || (c[k][4] == ' ' && c[k][0] == ' ' && c[k][2] != ' ')) << r;
            EXPECT_TRUE(c[2] == "          " || (c[2][0] == ' ' && c[2][4] == '.' && c[2].ends_with("  "))) << r;
            EXPECT_EQ(c[3], "     ") << r;
            EXPECT_EQ(c[4][0], ' ') << r;
            EXPECT_TRUE(recuperi.count(c[6])) << r;
        }
    for (const char* r : {
             " | 110 | 110 | 349.970  |     | LIDONIA CENTRALE           | 10.48          |     |",
             " | 150 | 135 | 348.000  |     | Cippo Km 348.000           |                |     |",
             " | 140 |     | 345.557  |     | Km 345.557                 |                |     |",
             " |     |     | 342.990  |     | MONTESILVANO               |      10.54     | 1.0 |",
             " | 150 | 150 | 312.360  |     | GIULIANOVA                 | 11.10 - 11.12  | 0.5 |",
             " | 150 | 150 |          |     | Dev.U. Pedaso              |                |     |",
             " |  95 |  95 | 210.500  |     | Km 210.500                 |                |     |",
             " |     |     | 111.040  |     | SABRIO                     |         13.40  | 1.0 |"})
        EXPECT_NE(std::find(righe().begin(), righe().end(), r), righe().end()) << r;
}

TEST(DatiScheda, StationRowsFollowTheTrainContent) {
    auto st = stazioni_treno();
    std::vector<riga_orario> fermate;
    for (const auto& r : righe_piene())
        if (!r.orario.empty()) fermate.push_back(r);
    ASSERT_EQ(fermate.size(), st.size());
    for (size_t i = 0; i < st.size(); ++i) {
        // A name too long for the card's cell is spelled shorter.
        if (st[i].nome.size() <= 27) {
            EXPECT_EQ(fermate[i].localita, st[i].nome);
        } else {
            EXPECT_EQ(fermate[i].localita.substr(0, 10), st[i].nome.substr(0, 10));
        }
        // The departure, or the one time, is the train file's time where it has one;
        // the card's own row for GIULIANOVA stands as the card has it.
        if (st[i].orario > 0 && st[i].nome != "GIULIANOVA") {
            EXPECT_TRUE(fermate[i].orario.ends_with(ore(st[i].orario))) << st[i].nome << ": " << fermate[i].orario;
        }
    }
    // The first page ends its stations with PORTO RECANATI, the second opens with LORETO.
    EXPECT_EQ(fermate[17].localita, "PORTO RECANATI");
    EXPECT_EQ(senza_spazi(celle(riga(69))[4]), "LORETO");
}

TEST(DatiScheda, SpeedsAndKilometresFollowTheLine) {
    // The speed-limit column lists the train file's limits in order.
    std::vector<int32_t> card, treno;
    for (const auto& r : righe_piene())
        if (!r.velocita.empty()) card.push_back(std::stoi(r.velocita));
    for (const auto& [p, v] : limiti_treno()) treno.push_back(v);
    EXPECT_EQ(card, treno);

    std::vector<std::string> km;
    for (const auto& r : righe_piene())
        if (!r.km.empty()) km.push_back(r.km);
    ASSERT_FALSE(km.empty());
    EXPECT_EQ(km.front(), "349.970");
    EXPECT_EQ(km.back(), "111.040");
    for (size_t i = 1; i < km.size(); ++i) EXPECT_LT(std::stod(km[i]), std::stod(km[i - 1])) << km[i];

    // Times never go back down the card.
    int precedente = 0;
    for (const auto& r : righe_piene()) {
        std::string_view resto = r.orario;
        for (size_t punto; (punto = resto.find('.')) != std::string_view::npos; resto.remove_prefix(punto + 3)) {
            const size_t inizio = resto.rfind(' ', punto) == std::string_view::npos ? 0 : resto.rfind(' ', punto) + 1;
            const int minuti = std::stoi(std::string(resto.substr(inizio, punto - inizio))) * 60 +
                               std::stoi(std::string(resto.substr(punto + 1, 2)));
            EXPECT_GE(minuti, precedente) << r.localita;
            precedente = minuti;
        }
    }
}
