// The values the reader and the placements store otherwise than written, as they
// record them: each narrow store of an author's value, once, at the field the
// value came from; a value the field holds is not recorded.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/text_input/lettura_support.h"

namespace {

std::string dove(const luogo_testo& p) {
    return std::string(p.file == file_testo::linea ? "R" : p.file == file_testo::treno ? "T" : "-") + ":" +
           std::to_string(p.line) + ":" + std::to_string(p.column);
}

// "PLACE what VALUE>STORED", then " +PLACE" for each further field of a packed value.
std::vector<std::string> troncati(const registro_lettura& r) {
    std::vector<std::string> out;
    for (const valore_troncato& t : r.troncati) {
        std::string s = dove(t.origine.posti[0]) + " " + t.origine.cosa + " " + std::to_string(t.valore) + ">" +
                        std::to_string(t.memorizzato);
        for (size_t i = 1; i < t.origine.numero_posti; ++i) s += " +" + dove(t.origine.posti[i]);
        out.push_back(s);
    }
    return out;
}

// "PLACE what WRITTEN>STORED: why".
std::vector<std::string> sostituiti(const registro_lettura& r) {
    std::vector<std::string> out;
    for (const valore_sostituito& s : r.sostituiti)
        out.push_back(dove(s.posto) + " " + s.cosa + " " + std::to_string(s.scritto) + ">" +
                      std::to_string(s.memorizzato) + ": " + s.perche);
    return out;
}

struct caso {
    const char* nome;
    std::string corpo_linea;  // from route line 5
    std::string corpo_treno;  // from train line 2
    std::vector<std::string> troncati, sostituiti = {};
};

// The carried scenario's signal line with the given fields after the position.
std::string segnale(int posizione, const std::string& valori) {
    return "segnale, " + std::to_string(posizione) + ", " + valori + "\r\n";
}

std::string stazione(int posizione, int tipo, int lunghezza, int campo5, int campo6) {
    return "stazione, " + std::to_string(posizione) + ", " + std::to_string(tipo) + ", " + std::to_string(lunghezza) +
           ", 0, " + std::to_string(campo5) + ", " + std::to_string(campo6) + ", 4,1,1, 2,1,1, 1, 10,48,5, S\r\n";
}

}  // namespace

TEST(StoredValues, EachNarrowStoreRecordsAValueItsFieldCannotHold) {
    const std::vector<caso> casi = {
        {"gradients, at their own line: the cells get one when the next line, or the file's end, is read",
         "pendenza, 0, -100\r\npendenza, 1000, 155\r\npendenza, 2000, 180\r\npendenza, 3000, -101\r\n", "",
         {"R:7:17 gradient 180>-76", "R:8:17 gradient -101>155"}},
        {"adhesions, likewise", "", "aderenza, 0, 255\r\naderenza, 1000, 300\r\naderenza, 2000, -1\r\n",
         {"T:3:17 adhesion 300>44", "T:4:17 adhesion -1>255"}},
        {"a code cut's value; 0 and below are not stored",
         "", "abbattimento, 3000, 32767\r\nabbattimento, 4000, 32768\r\nabbattimento, 5000, -70000\r\n",
         {"T:3:21 code cut value 32768>-32768"}},
        {"mountain types, less 10 above 10; a span joined to the previous one takes type 3",
         "montagna, 1000, 1500, 255\r\nmontagna, 3000, 3500, 266\r\nmontagna, 3600, 4000, 999\r\n"
         "montagna, 5000, 5500, -1\r\n",
         "", {"R:6:23 mountain type 256>0", "R:8:23 mountain type -1>255"}},
        {"a speed board's packed stripes",
         "indicatori_vmax, 1950, 100, 110, 120, 3276, 100, 110, 120, 7\r\n"
         "indicatori_vmax, 2950, 100, 110, 120, 3276, 100, 110, 120, 8\r\n",
         "", {"R:6:39 speed board stripes 32768>-32768 +R:6:60"}},
        {"a signal's packed values, its time value when sx is 2, and its approach codes once",
         "",
         segnale(1650, "2, 3276, 0, 0, 0, 2, 7, 0, 0, 255") + segnale(2650, "2, 0, 4000, 4000, 4000, 2, 0, 0, 0, 0") +
             segnale(3650, "2, 3276, 0, 0, 0, 2, 8, 0, 0, 256") + segnale(4650, "1, 0, 0, 0, 0, 2, 0, 0, 0, 256") +
             segnale(5650, "9, 0, 0, 0, 0, 0, 0, 0, 0, 0"),
         {"T:3:34 signal value 40008>-25528 +T:3:16 +T:3:40", "T:3:22 signal value 40000>-25536 +T:3:46",
          "T:3:28 signal value 40000>-25536 +T:3:49", "T:4:19 signal value 32768>-32768 +T:4:37",
          "T:4:46 signal time value 256>0", "T:6:16 approach code 271>15 +T:6:31"}},
        {"a restriction's speed and values, each once for all its cells", "",
         "rallentamento, 8000, 32768, 100, 65537, 1, 32768\r\n",
         {"T:2:44 restriction cell value 32768>-32768", "T:2:22 restriction speed 32768>-32768",
          "T:2:34 restriction start and end value 65537>1"}},
        {"a value that fails as an error is not recorded: a speed's fifth past a byte", "",
         "velocita, 0, 1280\r\nvelocita, 1000, 5\r\n", {}},
    };
    for (const caso& c : casi) {
        scenario s;
        s.leggi(linea(c.corpo_linea), treno(c.corpo_treno));
        EXPECT_EQ(troncati(s.m.registro), c.troncati) << c.nome;
        EXPECT_EQ(sostituiti(s.m.registro), c.sostituiti) << c.nome;
    }
}

TEST(StoredValues, AReplacedValueIsRecordedWithWhy) {
    const std::vector<caso> casi = {
        {"signal time values 1 to 100 are raised to 101, where sx 2 keeps them", "",
         segnale(1650, "2, 4, 0, 0, 0, 2, 1, 0, 0, 0") + segnale(2650, "2, 4, 0, 0, 0, 2, 1, 0, 0, 1") +
             segnale(3650, "2, 4, 0, 0, 0, 2, 1, 0, 0, 100") + segnale(4650, "2, 4, 0, 0, 0, 2, 1, 0, 0, 101") +
             segnale(5650, "1, 4, 0, 0, 0, 2, 1, 0, 0, 50"),
         {},
         {"T:3:43 signal time value 1>101: a time value from 1 to 100 is raised to 101",
          "T:4:43 signal time value 100>101: a time value from 1 to 100 is raised to 101"}},
        {"station fields 5 and 6: by the first station, the length, the kind; the first reason given", "",
         stazione(0, 8, 500, 3, 4) + stazione(3000, 12, 400, 2, 1) + stazione(6000, 12, 600, 2, 1) +
             stazione(9000, 6, 600, 2, 1),
         {},
         {"T:2:28 station field 6 4>0: it is cleared for kinds 5 to 8 (this station is kind 8)",
          "T:2:25 station field 5 3>0: it is cleared when the length (500 m) is below 600 m",
          "T:3:29 station field 5 2>0: it is cleared when the length (400 m) is below 600 m",
          "T:5:31 station field 6 1>0: it is cleared for kinds 5 to 8 (this station is kind 6)"}},
        {"and the first station's, where nothing else clears them", "", stazione(1000, 12, 800, 2, 1), {},
         {"T:2:32 station field 6 1>0: it is cleared for the first station",
          "T:2:29 station field 5 2>0: it is cleared for the first station"}},
    };
    for (const caso& c : casi) {
        scenario s;
        s.leggi(linea(c.corpo_linea), treno(c.corpo_treno));
        EXPECT_EQ(s.m.codice_errore, codice::nessuno) << c.nome;
        EXPECT_EQ(troncati(s.m.registro), c.troncati) << c.nome;
        EXPECT_EQ(sostituiti(s.m.registro), c.sostituiti) << c.nome;
    }
}
