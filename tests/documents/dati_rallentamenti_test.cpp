#include "documents/dati_rallentamenti.h"

#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "tests/support/righe_testo.h"
#include "tests/support/temp_dir.h"

namespace {

// The form's table: a space, a bar, then these cells each closed by a bar.
constexpr std::array<int, 6> LARGHEZZE = {3, 28, 12, 10, 9, 12};
constexpr int LARGHEZZA_RIGA = 82;
constexpr int PRIMA_RIGA_TABELLA = 9, ULTIMA_RIGA_TABELLA = 38;  // 1-based
constexpr int RIGA_CONTIGUA = 14;                                // row 2 of the table
constexpr int BARRA_MANCANTE = 34;  // the bar that row 2's station text covers

std::vector<std::string> righe() {
    return righe_documento(dati_rallentamenti, "Lidonia_Sabrio_914_rallentamenti.txt");
}

const std::string& riga(int n) {  // 1-based, as the form counts its lines
    static const std::vector<std::string> tutte = righe();
    return tutte.at(static_cast<size_t>(n - 1));
}

std::set<int> barre() {
    std::set<int> at = {1};
    int pos = 1;
    for (int w : LARGHEZZE) at.insert(pos += w + 1);
    return at;
}

// Cell i of a table line (0-based), using the cell boundaries.
std::string cella_di(const std::string& line, size_t i) {
    int from = 2;
    for (size_t k = 0; k < i; ++k) from += LARGHEZZE[k] + 1;
    return line.substr(static_cast<size_t>(from), static_cast<size_t>(LARGHEZZE[i]));
}

// `valore` centred in `larghezza`, the odd spare space on the right.
std::string centrato(const std::string& valore, int larghezza) {
    size_t spare = static_cast<size_t>(larghezza) - valore.size();
    return std::string(spare / 2, ' ') + valore + std::string(spare - spare / 2, ' ');
}

}  // namespace

TEST(DatiRallentamenti, WritesFortyFiveLinesUnderTheRouteAndTrainName) {
    temp_dir dir;
    modello m;
    m.nome_linea = "Altra_Linea";
    m.numero_treno = "2101";
    dati_rallentamenti(dir.path(), m);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"Altra_Linea_2101_rallentamenti.txt"});
    std::string bytes = read_file(dir.path() / "Altra_Linea_2101_rallentamenti.txt");
    EXPECT_EQ(bytes, testo_tabella(tabella_rallentamenti()));

    // The route and train named on the form do not follow the model.
    std::vector<std::string> lines = righe_testo(bytes);
    ASSERT_EQ(lines.size(), 45u);
    EXPECT_EQ(lines[4], "  Linea  LIDONIA CENTRALE - SABRIO");
    EXPECT_EQ(lines[6], "  Si ordina al macchinista del treno  914  di effettuare i seguenti rallentamenti");
    EXPECT_EQ(lines.front(), "");
    EXPECT_EQ(lines.back(), "     i giorni esclusi i seguenti:.........");
    for (const std::string& l : lines) EXPECT_NE(l, FINE_TABELLA);
    for (const std::string& l : lines)
        for (char c : l) EXPECT_TRUE(c >= ' ' && c <= '~') << l;
}

TEST(DatiRallentamenti, HeadingAndNotesAreTheFormsText) {
    EXPECT_EQ(riga(2), std::string(31, ' ') + "Modulo M. 3");
    EXPECT_EQ(riga(3), std::string(27, ' ') + "ORDINE DI RALLENTAMENTO");
    EXPECT_EQ(riga(4), " " + std::string(80, '_'));
    EXPECT_EQ(riga(6), "");
    EXPECT_EQ(riga(8), "  " + std::string(79, '_'));
    EXPECT_EQ(riga(39), "");
    EXPECT_EQ(riga(40), std::string(14, ' ') + "Prescrizioni specifiche");
    // The notes come in the order A, B, D, C; D keeps the form's own spelling.
    EXPECT_EQ(riga(41), " A - Da rispettare con tutto il treno (per i treni viaggiatori)");
    EXPECT_EQ(riga(42), " B - Interessa anche la stazione di PEDASO");
    EXPECT_EQ(riga(43), " D - Rallentamneto N. ... e N. ...  sono contigui");
    EXPECT_EQ(riga(44), " C - Da rispettare dalle ore ....  alle ore ..... di tutti");
}

TEST(DatiRallentamenti, TableLinesAreEightyTwoWideWithBarsOnlyAtTheCellBoundaries) {
    const std::set<int> at = barre();
    ASSERT_EQ(*at.rbegin(), LARGHEZZA_RIGA - 1);
    for (int n = PRIMA_RIGA_TABELLA; n <= ULTIMA_RIGA_TABELLA; ++n) {
        const std::string& l = riga(n);
        ASSERT_EQ(l.size(), static_cast<size_t>(LARGHEZZA_RIGA)) << "line " << n;
        EXPECT_EQ(l[0], ' ') << "line " << n;
        for (int i = 0; i < LARGHEZZA_RIGA; ++i) {
            bool barra = at.count(i) && !(n == RIGA_CONTIGUA && i == BARRA_MANCANTE);
            EXPECT_EQ(l[static_cast<size_t>(i)] == '|', barra) << "line " << n << ", column " << i;
        }
    }
    // Row 2's station text runs over the bar into the column it would close.
    EXPECT_EQ(riga(RIGA_CONTIGUA).substr(6, 29), "CUPRAMARITTIMA-P.to S.GIORGIO");
}

TEST(DatiRallentamenti, RuleIsWrittenUnderTheHeadAndAtTheBottomAndBlankRowsAreEmpty) {
    EXPECT_EQ(riga(12), riga(38));
    for (size_t i = 0; i < LARGHEZZE.size(); ++i) {
        EXPECT_EQ(cella_di(riga(12), i), std::string(static_cast<size_t>(LARGHEZZE[i]), '_'));
        EXPECT_EQ(cella_di(riga(17), i), std::string(static_cast<size_t>(LARGHEZZE[i]), ' '));
    }
    for (int n = 18; n <= 37; ++n) EXPECT_EQ(riga(n), riga(17)) << "line " << n;
}

TEST(DatiRallentamenti, RowsCarryTheTrainsRestrictionsCentredInTheirCells) {
    // The train content's restrictions: start in metres, speed, length. The
    // kilometres fall from 350.000 at the origin, so the post passed just
    // before a start is the next whole kilometre above it.
    struct restrizione {
        int inizio, velocita, lunghezza;
        const char* prescrizione;
    };
    const std::array<restrizione, 4> attese = {{
        {24950, 60, 200, "A"},
        {76950, 50, 1800, "B"},
        {168900, 40, 200, "-----"},
        {214750, 80, 800, "-----"},
    }};
    for (size_t r = 0; r < attese.size(); ++r) {
        const std::string& l = riga(13 + static_cast<int>(r));
        const int cippo = (350000 - attese[r].inizio) / 1000 + 1;
        const std::array<std::string, 6> valori = {
            std::to_string(r + 1), "",
            std::to_string(cippo), std::to_string(attese[r].velocita),
            std::to_string(attese[r].lunghezza), attese[r].prescrizione};
        for (size_t i = 0; i < valori.size(); ++i) {
            if (i == 1) continue;
            EXPECT_EQ(cella_di(l, i), centrato(valori[i], LARGHEZZE[i])) << "row " << r + 1 << ", cell " << i;
        }
        // The station pair is left-aligned after one space (row 2 has no room for it).
        if (13 + static_cast<int>(r) != RIGA_CONTIGUA) {
            EXPECT_EQ(cella_di(l, 1).substr(0, 2).find_first_not_of(' '), 1u) << "row " << r + 1;
        }
    }
}
