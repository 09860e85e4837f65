#include "cli/warnings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr file_testo L = file_testo::linea, T = file_testo::treno;
using g = genere_riga;

riga_letta riga(file_testo f, int32_t linea, genere_riga genere, std::vector<int32_t> valori,
                std::string testo = "", bool oltre_geometria = false) {
    return {f, linea, genere, std::move(valori), std::move(testo), oltre_geometria};
}

struct caso {
    const char* nome;
    std::vector<riga_letta> righe;
    std::vector<campo_ignoto> ignoti;
    std::vector<std::string> attesi;
};

// The reader's record as the test gives it; the first station's area is 9000 to 10000 m.
std::vector<std::string> avvisi(const caso& c) {
    modello m;
    m.registro.percorso_linea = "/in/Prova_linea.txt";
    m.registro.percorso_treno = "/in/Prova_7-.txt";
    m.registro.righe = c.righe;
    m.registro.ignoti = c.ignoti;
    m.voci[1].inizio_zona = 9000;
    m.voci[1].fine_zona = 10000;
    std::vector<std::string> out;
    for (const warning& w : scenario_warnings(m)) out.push_back(w.text());
    return out;
}

}  // namespace

TEST(ScenarioWarnings, EachKindNamesItsFileAndLine) {
    const std::string LINEA = "Prova_linea.txt:", TRENO = "Prova_7-.txt:";
    const std::vector<caso> casi = {
        // Each kind keeps its own order; curves end to end, restrictions just outside the station area
        // and a gradient off a multiple of 50 are all fine.
        {"clean input",
         {riga(L, 3, g::pendenza, {5000, 2}), riga(L, 4, g::pendenza, {6025, 1}),
          riga(L, 5, g::curva, {1000, 500}), riga(L, 6, g::curva, {1500, 300}),
          riga(T, 7, g::velocita, {0, 110}), riga(T, 8, g::segnale, {1650, 2}),
          riga(T, 9, g::rallentamento, {8800, 60, 200}), riga(T, 10, g::stazione, {9500, 12}, "LIDONIA"),
          riga(T, 11, g::rallentamento, {10000, 60, 200})},
         {},
         {}},
        {"out of ascending order, per kind",
         {riga(T, 7, g::segnale, {2000, 2}), riga(T, 8, g::velocita, {0, 110}),
          riga(T, 9, g::segnale, {1500, 2})},
         {},
         {TRENO + "9: warning: segnale at 1500 m is out of ascending order (line 7 is at 2000 m)"}},
        {"curve starting inside the previous one",
         {riga(L, 3, g::curva, {1000, 500}), riga(L, 4, g::curva, {1450, 100})},
         {},
         {LINEA + "4: warning: curve at 1450 m starts inside the curve of line 3"}},
        {"curve before the previous one is only out of order",
         {riga(L, 3, g::curva, {3400, 800}), riga(L, 4, g::curva, {100, 200})},
         {},
         {LINEA + "4: warning: curva at 100 m is out of ascending order (line 3 is at 3400 m)"}},
        {"curve past the geometry's end",
         {riga(L, 3, g::curva, {9900, 300}, "", true)},
         {},
         {LINEA + "3: warning: curve at 9900 m runs past the end of the geometry"}},
        {"objects placed in a cell off a multiple of 50",
         {riga(L, 3, g::indicatori_vmax, {1925}), riga(L, 4, g::cartello_indicatore, {1930}),
          riga(T, 5, g::segnale, {1625}), riga(T, 6, g::rallentamento, {24960, 60, 200}),
          riga(T, 7, g::abbattimento, {2001})},
         {},
         {LINEA + "3: warning: indicatori_vmax position 1925 m is not a multiple of 50: rounding to a cell "
                  "moves it",
          LINEA + "4: warning: cartello_indicatore position 1930 m is not a multiple of 50: rounding to a "
                  "cell moves it",
          TRENO + "5: warning: segnale position 1625 m is not a multiple of 50: rounding to a cell moves it",
          TRENO + "6: warning: rallentamento position 24960 m is not a multiple of 50: rounding to a cell "
                  "moves it",
          TRENO + "7: warning: abbattimento position 2001 m is not a multiple of 50: rounding to a cell "
                  "moves it"}},
        {"station area overlapping a restriction",
         {riga(T, 8, g::rallentamento, {8900, 60, 200}), riga(T, 10, g::stazione, {9500, 12}, "LIDONIA")},
         {},
         {TRENO + "10: warning: station LIDONIA (area 9000 to 10000 m) overlaps the restriction of line 8"}},
        {"unknown keyword",
         {},
         {{T, 12, "segnalle"}},
         {TRENO + "12: warning: 'segnalle' matches no keyword (misspelt?)"}},
        {"unknown keyword of a megabyte",
         {},
         {{T, 12, std::string(1000000, 'x')}},
         {TRENO + "12: warning: '" + std::string(40, 'x') + "... (1000000 bytes)' matches no keyword (misspelt?)"}},
    };
    for (const caso& c : casi) EXPECT_EQ(avvisi(c), c.attesi) << c.nome;
}
