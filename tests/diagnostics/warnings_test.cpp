#include "diagnostics/warnings.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr file_testo L = file_testo::linea, T = file_testo::treno;
using g = genere_riga;

// A line as the reader records it: its position field at column 10.
riga_letta riga(file_testo f, int32_t linea, genere_riga genere, std::vector<int32_t> valori, std::string testo = "",
                std::string chiave = "") {
    riga_letta r;
    r.chiave = chiave.empty() ? nome_genere(genere) : chiave;
    r.luogo = {f, linea, 1, static_cast<int32_t>(r.chiave.size())};
    r.genere = genere;
    r.valori = std::move(valori);
    for (size_t i = 0; i < r.valori.size(); ++i) r.posti.push_back({f, linea, static_cast<int32_t>(10 + 7 * i), 5});
    r.testo = std::move(testo);
    r.posto_testo = {f, linea, 60, static_cast<int32_t>(r.testo.size())};
    return r;
}

struct caso {
    const char* nome;
    std::vector<riga_letta> righe;
    std::vector<std::string> attesi;  // "FILE:LINE:COL CODE message"
    void (*prepara)(registro_lettura&) = nullptr;
};

// The reader's record as the test gives it; the first station's area is 9000 to 10000 m.
std::vector<std::string> avvisi(const caso& c) {
    modello m;
    m.registro.percorso_linea = "in/Prova_linea.txt";
    m.registro.percorso_treno = "in/Prova_7-.txt";
    m.registro.righe = c.righe;
    if (c.prepara) c.prepara(m.registro);
    m.voci[1].inizio_zona = 9000;
    m.voci[1].fine_zona = 10000;
    std::vector<std::string> out;
    for (const diagnostic& d : scenario_warnings(m)) {
        EXPECT_NE(find_warning_kind(d.code.substr(2)), nullptr) << d.code;
        out.push_back(m.registro.percorso(d.place.file).substr(3) + ":" + std::to_string(d.place.line) + ":" + std::to_string(d.place.column) +
                      " " + d.code + " " + d.message);
        // A fix-it as " => COLUMN+LENGTH 'TEXT'".
        for (const fix_it& f : d.fixes)
            out.back() += " => " + std::to_string(f.place.column) + "+" + std::to_string(f.place.length) + " '" + f.text + "'";
    }
    return out;
}

}  // namespace

TEST(ScenarioWarnings, EachKindNamesItsPlace) {
    const std::string LINEA = "Prova_linea.txt:", TRENO = "Prova_7-.txt:";
    const std::vector<caso> casi = {
        // Each kind keeps its own order; curves end to end, restrictions through or just outside the
        // station area and a gradient off a multiple of 50 are all fine by default.
        {"clean input",
         {riga(L, 3, g::pendenza, {5000, 2}), riga(L, 4, g::pendenza, {6025, 1}),
          riga(L, 5, g::curva, {1000, 500}, "", "curvas3"), riga(L, 6, g::curva, {1500, 300}, "", "curvad1"),
          riga(T, 7, g::velocita, {0, 110}), riga(T, 8, g::segnale, {1650, 2}),
          riga(T, 9, g::rallentamento, {8000, 60, 3000}), riga(T, 10, g::rallentamento, {8800, 60, 200}),
          riga(T, 11, g::stazione, {9500, 12, 1000}, "LIDONIA"), riga(T, 12, g::rallentamento, {10000, 60, 200})},
         {"Prova_7-.txt:11:1 -Wstation-in-restriction station LIDONIA (area 9000 to 10000 m) lies inside the "
          "restriction of line 9"}},
        {"out of ascending order, per kind",
         {riga(T, 7, g::segnale, {2000, 2}), riga(T, 8, g::velocita, {0, 110}), riga(T, 9, g::segnale, {1500, 2})},
         {TRENO + "9:10 -Worder segnale at 1500 m is out of ascending order (line 7 is at 2000 m)"}},
        {"curves: inside the previous one, before it, past the geometry, without or with both side letters",
         {riga(L, 3, g::curva, {1000, 500}, "", "curvas3"), riga(L, 4, g::curva, {1450, 100}, "", "curvad3"),
          riga(L, 5, g::curva, {100, 200}, "", "curva 3"), riga(L, 6, g::curva, {9900, 300}, "", "curva destra 2")},
         {LINEA + "4:10 -Wcurve-overlap curve at 1450 m starts inside the curve of line 3",
          LINEA + "5:1 -Wcurve-side curve keyword 'curva 3' has no side letter: it is read as a right curve (write curvas "
                  "or curvad)",
          LINEA + "5:10 -Worder curva at 100 m is out of ascending order (line 4 is at 1450 m)",
          LINEA + "6:1 -Wcurve-side curve keyword 'curva destra 2' holds both 's' and 'd': it is read as a left curve",
          LINEA + "6:1 -Wcurve-past-geometry curve at 9900 m runs past the end of the geometry"},
         [](registro_lettura& r) { r.righe.back().oltre_geometria = true; }},
        {"objects placed in a cell off a multiple of 50",
         {riga(L, 3, g::indicatori_vmax, {1925}), riga(T, 5, g::segnale, {1625}), riga(T, 7, g::abbattimento, {2001})},
         {LINEA + "3:10 -Wcell-rounding indicatori_vmax position 1925 m is not a multiple of 50: rounding to a cell moves it",
          TRENO + "5:10 -Wcell-rounding segnale position 1625 m is not a multiple of 50: rounding to a cell moves it",
          TRENO + "7:10 -Wcell-rounding abbattimento position 2001 m is not a multiple of 50: rounding to a cell moves it"}},
        {"negative lengths, at the length field",
         {riga(L, 3, g::curva, {1000, -500}, "", "curvas1"), riga(L, 4, g::montagna, {3000, 2000, 1}),
          riga(T, 5, g::stazione, {6000, 12, -400}, "A"), riga(T, 6, g::rallentamento, {8000, 60, -200})},
         {LINEA + "3:17 -Wnegative-length curva at 1000 m has a negative length, -500 m",
          LINEA + "4:17 -Wnegative-length montagna ends at 2000 m, before its start at 3000 m",
          TRENO + "5:24 -Wnegative-length stazione at 6000 m has a negative length, -400 m",
          TRENO + "6:24 -Wnegative-length rallentamento at 8000 m has a negative length, -200 m"}},
        {"a restriction beginning inside a station's area",
         {riga(T, 8, g::rallentamento, {9900, 60, 200}), riga(T, 10, g::stazione, {9500, 12}, "LIDONIA")},
         {TRENO + "10:1 -Wrestriction-edge-in-station the restriction of line 8 begins inside station LIDONIA (area 9000 "
                  "to 10000 m)"}},
        {"values run on to the next line",
         {riga(T, 8, g::abbattimento, {3000, 180})},
         {TRENO + "8:1 -Wcontinued-line the values of 'abbattimento' run on to line 9"},
         [](registro_lettura& r) { r.righe.back().posti.back().line = 9; }},
        {"no train, an empty train file, unknown and extra fields",
         {riga(T, 4, g::abbattimento, {3000, 180})},
         {TRENO + "1:0 -Wmissing-train the train file has no \"[generale]\" line: nothing of the train is compiled",
          TRENO + "4:30 -Wextra-fields '7' follows the last value of 'abbattimento' and is read as a keyword field of its own",
          TRENO + "12:3 -Wunknown-keyword '" + std::string(40, 'x') + "... (1000000 bytes)' matches no keyword (misspelt?)"},
         [](registro_lettura& r) {
             r.treno_senza_generale = true;
             r.ignoti.push_back({{T, 12, 3, 1000000}, std::string(1000000, 'x')});
             r.in_piu.push_back({{T, 4, 30, 1}, "7", 0});
         }},
        {"unknown keywords: the nearest keyword of their section, in any case, as a fix-it",
         {},
         {LINEA + "4:1 -Wunknown-keyword 'Sfondo uno' matches no keyword: did you mean 'sfondo uno'? => 1+10 'sfondo uno'",
          LINEA + "9:3 -Wunknown-keyword 'segnlae' matches no keyword (misspelt?)",
          TRENO + "3:1 -Wunknown-keyword 'SEGNLAE' matches no keyword: did you mean 'segnale'? => 1+7 'segnale'",
          TRENO + "4:1 -Wunknown-keyword 'stazoine' matches no keyword: did you mean 'stazione'? => 1+8 'stazione'",
          TRENO + "5:1 -Wunknown-keyword 'nota' matches no keyword (misspelt?)"},
         [](registro_lettura& r) {
             using s = sezione_riga;
             r.ignoti = {{{L, 4, 1, 10}, "Sfondo uno", -1, s::generale},
                         {{L, 9, 3, 7}, "segnlae", -1, s::corpo},  // a train keyword, in the route body
                         {{T, 3, 1, 7}, "SEGNLAE", -1, s::treno},
                         {{T, 4, 1, 8}, "stazoine", -1, s::treno},
                         {{T, 5, 1, 4}, "nota", -1, s::treno}};
         }},
        {"comment lines whose fields are read as keywords: values, with the keyword near; text",
         {},
         {LINEA + "6:1 -Wcomment a keyword field containing '-' makes this line a comment, so its 9 values are read as "
                  "keywords: did you mean 'indicatori_vmax'? => 1+15 'indicatori_vmax'",
          TRENO + "3:1 -Wcomment a keyword field containing '-' makes this line a comment, and a comment ends at its "
                  "first comma: the 1 field after it is read as a keyword",
          TRENO + "5:1 -Wcomment a keyword field containing '-' makes this line a comment, so its 1 value is read as a "
                  "keyword: did you mean 'segnale'? => 1+8 'segnale'",
          TRENO + "7:1 -Wcomment a keyword field containing '-' makes this line a comment, so its 2 values are read as "
                  "keywords"},
         [](registro_lettura& r) {
             using s = sezione_riga;
             r.commenti = {{{L, 6, 1, 15}, "indicatori-vmax", s::corpo, 9, false},
                           {{T, 3, 1, 13}, "-- protezione", s::treno, 1, true},
                           {{T, 5, 1, 8}, "-segnale", s::treno, 1, false},
                           {{T, 7, 1, 7}, "-- nota", s::treno, 2, false}};
         }},
        {"body lines in the general section, once for them all, and a file ending without \"[fine]\"",
         {},
         {LINEA + "10:1 -Wsection the general section runs on past where the body's lines begin: this 'curvas3' line "
                  "and 11 more body lines are passed over; the body must begin with a line holding '[' and ']', such as "
                  "'[curve]', before them",
          TRENO + "101:1 -Wtruncated the file ends without its closing \"[fine]\" line, as a file saved cut short does"},
         [](registro_lettura& r) {
             r.corpo_nel_generale = corpo_in_generale{{L, 10, 1, 7}, "curvas3", g::curva, 12, {L, 72, 1, 10}};
             r.senza_fine.push_back({T, 101, 1, 50});
         }},
        {"binary files: a train file's in place of its missing \"[generale]\" and end",
         {},
         {LINEA + "4:5 -Wbinary byte 0x00 at line 4, column 5: this is not a text file",
          TRENO + "1:1 -Wbinary byte 0x7F at line 1, column 1: this is not a text file"},
         [](registro_lettura& r) {
             r.treno_senza_generale = true;
             r.estranei = {{{L, 4, 5, 1}, 0x00}, {{T, 1, 1, 1}, 0x7F}};
             r.senza_fine.push_back({T, 3, 1, 4});
         }},
        {"UTF-8 texts, at the text; Windows-1252 letters and ASCII are not",
         {riga(L, 3, g::cartello_indicatore, {4400}, "SANT'ELP\xC3\x8C" "DIO"),
          riga(T, 5, g::stazione, {6000, 12, 400}, "CITT\xC3\x80"), riga(T, 6, g::stazione, {7000, 12, 400}, "CITT\xC0"),
          riga(T, 7, g::stazione, {8000, 12, 400}, "PORTO")},
         {LINEA + "3:60 -Wencoding board text is UTF-8: the simulator shows 'SANT'ELPÃŒDIO' for 'SANT'ELPÌDIO'; save "
                  "the file as Windows-1252",
          TRENO + "5:60 -Wencoding station name is UTF-8: the simulator shows 'CITTÃ€' for 'CITTÀ'; save the file as "
                  "Windows-1252"}},
    };
    for (const caso& c : casi) EXPECT_EQ(avvisi(c), c.attesi) << c.nome;
}

// The stores' records and the clock lines, each warning with its notes.
TEST(ScenarioWarnings, StoredValuesAndTheClockAtTheirFields) {
    modello m;
    m.registro.percorso_linea = "Prova_linea.txt";
    m.registro.percorso_treno = "Prova_7-.txt";
    registro_lettura& r = m.registro;
    r.troncati.push_back({{"gradient", luogo_testo{L, 5, 17, 3}}, 180, -100, 155, -76});
    r.troncati.push_back({{"signal value", "rapp x 10 + sx x 3 + dx", {{T, 4, 28, 4}, {T, 4, 16, 1}, {T, 4, 34, 1}}},
                          90025, -32768, 32767, 24489});
    r.sostituiti.push_back({"signal time value", {T, 4, 46, 2}, 50, 101, "a time value from 1 to 100 is raised to 101"});
    for (auto [linea, ore, minuti, secondi] : {std::tuple{2, 8, 30, 0}, {3, 23, 59, 59}, {5, 27, 75, 0}, {6, 8, -5, 0},
                                              {7, 10, 47, 60}, {8, 0, 0, -30}, {9, 24, 0, 0}})
        r.righe.push_back(riga(T, linea, g::orologio, {ore, minuti, secondi}));
    std::vector<std::string> out;
    for (const diagnostic& d : scenario_warnings(m)) {
        const auto posto = [&](const luogo_testo& p) {
            return r.percorso(p.file) + ":" + std::to_string(p.line) + ":" + std::to_string(p.column);
        };
        out.push_back(posto(d.place) + " " + d.code + " " + d.message);
        for (const diagnostic_note& n : d.notes) out.push_back("  " + posto(n.place) + " note: " + n.message);
    }
    const std::vector<std::string> attesi = {
        "Prova_linea.txt:5:17 -Woverflow gradient 180 does not fit the cell (-100 to 155): stored as -76",
        "Prova_7-.txt:4:28 -Woverflow signal value 90025 (rapp x 10 + sx x 3 + dx) does not fit the cell (-32768 to "
        "32767): stored as 24489",
        "  Prova_7-.txt:4:16 note: part of the packed value rapp x 10 + sx x 3 + dx",
        "  Prova_7-.txt:4:34 note: part of the packed value rapp x 10 + sx x 3 + dx",
        "Prova_7-.txt:4:46 -Wreplaced-value signal time value is 50 but stored as 101: a time value from 1 to 100 is "
        "raised to 101",
        "Prova_7-.txt:5:10 -Woverflow clock 27:75:00 is not a time of day (hours 27 outside 0 to 23): the simulator "
        "reads it as 28:15:00",
        "  Prova_7-.txt:5:17 note: minutes 75 outside 0 to 59 too",
        "Prova_7-.txt:6:17 -Woverflow clock 08:-5:00 is not a time of day (minutes -5 outside 0 to 59): the simulator "
        "reads it as 07:55:00",
        "Prova_7-.txt:7:24 -Woverflow clock 10:47:60 is not a time of day (seconds 60 outside 0 to 59): the simulator "
        "reads it as 10:48:00",
        "Prova_7-.txt:8:24 -Woverflow clock 00:00:-30 is not a time of day (seconds -30 outside 0 to 59): the "
        "simulator reads it as -00:00:30",
        "Prova_7-.txt:9:10 -Woverflow clock 24:00:00 is not a time of day (hours 24 outside 0 to 23): the simulator "
        "reads it as 24:00:00",
    };
    EXPECT_EQ(out, attesi);
}
