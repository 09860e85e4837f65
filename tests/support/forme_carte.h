#pragma once
// The shape of every line of a timetable card and of a slowdown order, checked
// the same way for the carried documents and for the ones made for an author:
// the boxes' widths and bars, the head and rule lines, and what each cell may hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "documents/forme_documenti.h"

// The columns of a table line's bars, for the cells' widths.
inline std::set<size_t> colonne_barre(larghezze_celle larghezze) {
    std::set<size_t> at = {1};
    size_t pos = 1;
    for (int w : larghezze) at.insert(pos += static_cast<size_t>(w) + 1);
    return at;
}

// The cells of a table line, between its bars.
inline std::vector<std::string> celle_di(const std::string& riga, larghezze_celle larghezze) {
    std::vector<std::string> out;
    size_t at = 2;
    for (int w : larghezze) {
        out.push_back(riga.substr(at, static_cast<size_t>(w)));
        at += static_cast<size_t>(w) + 1;
    }
    return out;
}

// Whether the line has a bar at exactly these columns and is as wide as the last one + 1.
inline bool barre_a(const std::string& riga, const std::set<size_t>& at) {
    if (riga.size() != *at.rbegin() + 1) return false;
    for (size_t i = 0; i < riga.size(); ++i)
        if ((riga[i] == '|') != (at.count(i) > 0)) return false;
    return true;
}

// Every line of a card checked; its table rows, page after page, into `tabella`.
inline void verifica_scheda(const std::vector<std::string>& righe, std::vector<std::string>& tabella) {
    using namespace forma_scheda;
    const std::set<size_t> riquadri = {1, 21, 67, 82};
    size_t pagine = 0;
    for (size_t n = 0; n < righe.size(); ++n) {
        const std::string& r = righe[n];
        if (r.empty() || r.find_first_not_of('.') == std::string::npos) continue;
        ASSERT_EQ(r, BORDO) << "line " << n + 1 << ": a page begins with its header";
        ++pagine;
        ASSERT_LT(n + 14, righe.size()) << "page " << pagine;
        for (size_t k = 1; k <= 3; ++k) EXPECT_TRUE(barre_a(righe[n + k], riquadri)) << righe[n + k];
        EXPECT_EQ(righe[n + 4], CHIUSURA);
        EXPECT_EQ(righe[n + 5], RIQUADRI_BORDO);
        EXPECT_EQ(righe[n + 6], RIQUADRI_TITOLI);
        EXPECT_TRUE(barre_a(righe[n + 7], {1, 21, 36, 56})) << righe[n + 7];
        EXPECT_EQ(righe[n + 8], RIQUADRI_FONDO);
        EXPECT_EQ(righe[n + 9], "");
        for (size_t k = 0; k < TESTA.size(); ++k) EXPECT_EQ(righe[n + 10 + k], TESTA[k]);
        n += 14;
        for (; n < righe.size() && righe[n] != FONDO; ++n) {
            const std::string& t = righe[n];
            ASSERT_TRUE(barre_a(t, colonne_barre(CELLE_SCHEDA))) << "line " << n + 1 << ": " << t;
            const auto c = celle_di(t, CELLE_SCHEDA);
            for (int k : {0, 1})
                EXPECT_TRUE(c[k] == "     " || (c[k][4] == ' ' && c[k][0] == ' ' && c[k][2] != ' ')) << t;
            EXPECT_TRUE(c[2] == "          " || (c[2][0] == ' ' && c[2][4] == '.' && c[2].ends_with("  "))) << t;
            EXPECT_EQ(c[3], "     ") << t;
            EXPECT_EQ(c[4][0], ' ') << t;
            EXPECT_TRUE(c[6] == "     " || (c[6][2] == '.' && c[6][4] == ' ')) << t;
            tabella.push_back(t);
        }
        EXPECT_LT(n, righe.size()) << "a table without its bottom rule";
    }
    EXPECT_GT(pagine, 0u);
}

// Every line of a slowdown order checked; its table rows into `tabella`. The
// printed form squeezes one station pair over its cell's bar: such a row is taken
// when its text fills the cell from the bar on.
inline void verifica_ordine(const std::vector<std::string>& righe, std::vector<std::string>& tabella) {
    using namespace forma_ordine;
    const std::set<size_t> barre = colonne_barre(CELLE_ORDINE);
    const size_t coperta = 2 + static_cast<size_t>(CELLE_ORDINE[0]) + 1 + static_cast<size_t>(CELLE_ORDINE[1]);
    size_t pagine = 0;
    for (size_t n = 0; n < righe.size(); ++n) {
        if (righe[n] != RIGA_TABELLA) continue;
        ++pagine;
        EXPECT_EQ(righe.at(n - 4), RIGA_ALTA);
        EXPECT_TRUE(righe.at(n - 3).starts_with("  Linea  "));
        EXPECT_TRUE(righe.at(n - 1).starts_with("  Si ordina al macchinista del treno  "));
        for (size_t k = 0; k < TESTA.size(); ++k) EXPECT_EQ(righe.at(n + 1 + k), TESTA[k]);
        size_t righe_tabella = 0;
        for (n += 1 + TESTA.size(); n < righe.size() && righe[n] != FONDO; ++n, ++righe_tabella) {
            std::string t = righe[n];
            if (t.size() > coperta && t[coperta] != '|' && t[6] != ' ') t[coperta] = '|';
            ASSERT_TRUE(barre_a(t, barre)) << "line " << n + 1 << ": " << righe[n];
            const auto c = celle_di(t, CELLE_ORDINE);
            for (size_t k : {0, 2, 3, 4, 5}) {
                const std::string& v = c[k];
                const size_t a = v.find_first_not_of(' '), b = v.find_last_not_of(' ');
                // Centred, an odd spare space on the right.
                if (a != std::string::npos) {
                    EXPECT_TRUE(a == v.size() - 1 - b || a + 1 == v.size() - 1 - b) << t;
                }
            }
            tabella.push_back(righe[n]);
        }
        EXPECT_EQ(righe_tabella, RIGHE_TABELLA);
    }
    EXPECT_GT(pagine, 0u);
    const auto titolo = std::find(righe.begin(), righe.end(), TITOLO_NOTE);
    EXPECT_NE(titolo, righe.end());
    for (const std::string& r : righe) EXPECT_LE(r.size(), LARGHEZZA) << r;
}
