#include <gtest/gtest.h>

#include <cstdio>

#include "tests/text_input/lettura_support.h"

namespace {

const std::string TRENO_VUOTO = treno("");

TEST(RouteGeneral, LengthSizesGridAndGeometryAndStoresTheLength) {
    scenario s;
    s.leggi(linea("", "243000"), TRENO_VUOTO, 1);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.lunghezza_estesa, 250000);
    EXPECT_EQ(s.m.numero_celle, 5000);
    EXPECT_EQ(s.m.celle.size(), 5001u);
    EXPECT_EQ(s.m.tracciato.ultimo_metro, 250000);
    EXPECT_EQ(s.m.voci[84].fine_zona, 243000);
    EXPECT_EQ(s.m.voci[85].testo, "R");
    EXPECT_EQ(s.m.voci[86].testo, "1");
    EXPECT_FALSE(s.resta_linea());
    EXPECT_FALSE(s.resta_treno());
}

TEST(RouteGeneral, CellCountRoundsTiesToEven) {
    scenario s;
    s.leggi(linea("", "25"), TRENO_VUOTO);
    EXPECT_EQ(s.m.numero_celle, 140);
}

TEST(RouteGeneral, ReferencesBackgroundsAndRepetitionGoToTheirEntries) {
    scenario s;
    std::string generale =
        "progressiva chilometrica uno,    0,    350000,    1\r\n"
        "progressiva chilometrica tre,    100,  200,  0\r\n"
        "sfondo uno, 1\r\nsfondo due, 2\r\nsfondo tre, 3\r\n"
        "ripetizione segnali 9 codici,    50,    9000\r\n";
    s.leggi(linea("", "10000", generale), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    // The chainage ordering has run on them: the flagged value carries its +100.
    int trovati = 0;
    for (int i = 81; i <= 83; ++i) {
        if (s.m.voci[i].fine_zona == 350100) ++trovati;
        if (s.m.voci[i].inizio_zona == 100 && s.m.voci[i].fine_zona == 200) ++trovati;
    }
    EXPECT_EQ(trovati, 2);
    EXPECT_EQ(s.m.voci[85].inizio_zona, 1);
    EXPECT_EQ(s.m.voci[85].progressiva, 2);
    EXPECT_EQ(s.m.voci[85].fine_zona, 3);
    EXPECT_EQ(s.m.voci[86].inizio_zona, 50);
    EXPECT_EQ(s.m.voci[86].fine_zona, 9000);
    EXPECT_EQ(s.m.voci[86].progressiva, 9);
}

TEST(RouteGeneral, ExactCaseTestsAndTheCarriedRepetitionLine) {
    scenario s;
    // A capital P is no reference line: its values become keyword fields.
    std::string generale = "Progressiva chilometrica uno, 0, 7, 1\r\nripetizione segnali 4 codici, 0, 0\r\n";
    s.leggi(linea("", "10000", generale), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.voci[83].fine_zona, 0);
    EXPECT_EQ(s.m.voci[86].progressiva, 0);  // end 0: no stretch
}

TEST(RouteGeneral, ALaterLengthLineAllocatesAfreshAndATooLargeOneKeepsTheGrid) {
    scenario s;
    std::string generale = "lunghezza percorso, 3000\r\nlunghezza percorso, 1000001\r\n";
    s.leggi(linea("", "10000", generale), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::lunghezza_eccessiva);
    EXPECT_EQ(s.m.numero_celle, 200);
    EXPECT_EQ(s.m.voci[84].fine_zona, 1000001);
}

TEST(RouteGeneral, CommentSkipsAndTheirMissingEndOfFileTest) {
    scenario s;
    std::string comments;
    for (int i = 0; i < 10; ++i) comments += "---\r\n";
    s.leggi("[generale]\r\n" + comments + "lunghezza percorso, 3000\r\n[curve]\r\n[fine]\r\n", TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.numero_celle, 200);
    // Running into the end inside a run of comments reads past the end.
    s.leggi("[generale]\r\nlunghezza percorso, 3000\r\n---\r\n---\r\n", TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita);
    EXPECT_FALSE(s.resta_treno());
}

TEST(RouteBody, GradientFillsFromThePreviousLineUpToTheNext) {
    scenario s;
    s.leggi(linea("pendenza,  0,   0\r\npendenza,  5000,   -8\r\n"), TRENO_VUOTO);
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    const auto& c = s.m.celle;
    const int p = s.m.numero_celle;
    EXPECT_EQ(c[0].pendenza, 100);
    EXPECT_EQ(c[99].pendenza, 100);
    EXPECT_EQ(c[100].pendenza, 92);
    EXPECT_EQ(c[p - 3].pendenza, 92);
    for (int k = p - 2; k <= p; ++k) EXPECT_EQ(c[k].pendenza, 0) << k;
}

TEST(RouteBody, TwoGradientLinesInOneCellWriteOneCellAtTheCursor) {
    scenario s;
    s.leggi(linea("pendenza, 0, 0\r\npendenza, 1000, 5\r\npendenza, 1010, 7\r\n"), TRENO_VUOTO);
    EXPECT_EQ(s.m.celle[19].pendenza, 100);
    EXPECT_EQ(s.m.celle[20].pendenza, 105);
    EXPECT_EQ(s.m.celle[21].pendenza, 107);
}

TEST(RouteBody, GradientOutOfOrderNeverWritesOutsideTheGrid) {
    scenario s;
    // Each line behind the cursor still writes one cell at the cursor; past the
    // last cell (340) the writes are dropped.
    std::string indietro;
    for (int g = 3; g <= 6; ++g) indietro += "pendenza, 100, " + std::to_string(g) + "\r\n";
    s.leggi(linea("pendenza, 0, 1\r\npendenza, 16900, 2\r\n" + indietro), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.celle[337].pendenza, 101);
    EXPECT_EQ(s.m.celle[338].pendenza, 102);
    EXPECT_EQ(s.m.celle[340].pendenza, 104);
    EXPECT_EQ(s.m.celle.size(), 341u);
}

TEST(RouteBody, GradientPlus100OverflowIsARunTimeFailure) {
    scenario s;
    s.leggi(linea("pendenza, 0, 2147483600\r\npendenza, 100, 0\r\n"), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita);
}

TEST(RouteBody, IndicationBoardMarksItsCellAndTakesEntriesDownward) {
    scenario s;
    std::string corpo;
    for (int i = 0; i < 6; ++i) corpo += "cartello_indicatore,  " + std::to_string(4400 + 1000 * i) + ",   (Km 345+557)\r\n";
    s.leggi(linea(corpo), TRENO_VUOTO);
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.celle[89].tipo_oggetto, 14);
    EXPECT_EQ(s.m.celle[89].dato1, 80);
    EXPECT_EQ(s.m.voci[80].testo, "(Km 345+557)");
    EXPECT_EQ(s.m.celle[189].dato1, 75);
    EXPECT_EQ(s.m.voci[74].testo, "");
}

TEST(RouteBody, ASecondReadOfTheSameModelCountsItsMountainSpansAfresh) {
    scenario s;
    for (int lettura = 1; lettura <= 2; ++lettura) {
        s.leggi(linea("montagna, 1000, 2000, 1\r\n"), TRENO_VUOTO);
        ASSERT_EQ(s.m.codice_errore, codice::nessuno) << lettura;
        EXPECT_EQ(s.m.numero_montagne, 1) << lettura;
        // Counted on, the span would join a previous one and take type 3.
        EXPECT_EQ(s.m.celle[30].tipo_montagna, 1) << lettura;
    }
}

TEST(RouteBody, CommentsBeforeARecordAndAThirdCommentInARun) {
    scenario s;
    s.leggi(linea("--pendenza--\r\npendenza, 0, 5\r\n"), TRENO_VUOTO);
    EXPECT_EQ(s.m.celle[0].pendenza, 105);
    // Standing third, it is read as a gradient line with the next two fields.
    s.leggi(linea("-a-\r\n-b-\r\n--pendenza--\r\n0, 9\r\n"), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.celle[0].pendenza, 109);
}

// A comment first on its line whose further fields are read as keyword fields is
// recorded once, with how many there are (blank ones left out) and whether they
// hold text; they are then not unknown keywords. Comment lines alone are not recorded.
TEST(RouteBody, ACommentLineWithFieldsAfterItIsRecordedOnce) {
    const struct {
        std::string generale, corpo;
        std::string atteso;  // "LINE:COLUMN FIELDS", "+text" when they hold a letter, "s" in the general section
    } casi[] = {
        {"", "indicatori-vmax, 1000, 100, 110, 120, 0, 100, 110, 120, 0\r\n", "5:1 9"},
        {"", "  -- protezione, uscita, -7,\r\n", "5:3 2+text"},
        {"-sfondo tre-, 2\r\n", "", "4:1 1s"},
        {"-sfondo tre-\r\n", "---pendenza---\r\n--velocita--\r\npendenza, 0, 5\r\n", ""},
        {"", "pendenza, 0, 5, -- nota, 7\r\n", ""},  // after a line's values: an extra field's concern
    };
    for (const auto& c : casi) {
        scenario s;
        s.leggi(linea(c.corpo, "3000", c.generale), TRENO_VUOTO);
        EXPECT_EQ(s.m.codice_errore, codice::nessuno) << c.corpo;
        std::string letto;
        for (const commento_con_campi& k : s.m.registro.commenti)
            letto += std::to_string(k.posto.line) + ":" + std::to_string(k.posto.column) + " " + std::to_string(k.campi) +
                     (k.con_lettere ? "+text" : "") + (k.sezione == sezione_riga::generale ? "s" : "");
        EXPECT_EQ(letto, c.atteso) << c.generale << c.corpo;
        EXPECT_TRUE(s.m.registro.ignoti.empty()) << c.corpo;
    }
}

TEST(RouteBody, BodyTestsIgnoreCaseAndNumbersMaySitBetweenBlanks) {
    scenario s;
    s.leggi(linea("PENDENZA, 0 7\r\n"), TRENO_VUOTO);
    EXPECT_EQ(s.m.celle[0].pendenza, 107);
}

TEST(RouteBody, TheLastFieldOfTheFileIsNeverHandled) {
    scenario s;
    s.leggi("[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\npendenza, 0, 5\r\ncartello_indicatore", TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    // Value fields that end the file are handled.
    s.leggi("[generale]\r\nlunghezza percorso, 3000\r\n[curve]\r\ncartello_indicatore, 100, X", TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.voci[80].testo, "X");
}

TEST(Geometry, StartsAtTheOriginAndRunsStraightUpToTwoMetresBeforeItsEnd) {
    scenario s;
    s.leggi(linea(""), TRENO_VUOTO, 1);
    const tracciato_t& t = s.m.tracciato;
    EXPECT_EQ(t.at(0, 0).tag, elemento_tracciato::INTERO);
    EXPECT_EQ(t.at(1, 1).tag, elemento_tracciato::INTERO);
    EXPECT_EQ(t.at(1, 1).intero, 1);
    EXPECT_EQ(t.at(2, 1).tag, elemento_tracciato::REALE);
    EXPECT_EQ(t.at(16998, 0).reale, 0.0);
    EXPECT_EQ(t.at(16998, 1).reale, 16998.0);
    EXPECT_EQ(t.at(16999, 0).tag, elemento_tracciato::VUOTO);
    EXPECT_EQ(t.at(17000, 1).tag, elemento_tracciato::VUOTO);
}

TEST(Geometry, RightHandClass4CurveAtMetre1000) {
    scenario s;
    s.leggi(linea("curvad4, 1000, 100\r\ncurvaS4, 1200, 100\r\n"), TRENO_VUOTO, 1);
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    const tracciato_t& t = s.m.tracciato;
    EXPECT_EQ(t.at(1000, 0).reale, 0.0);
    EXPECT_DOUBLE_EQ(t.at(1001, 0).reale, 0.001);
    EXPECT_DOUBLE_EQ(t.at(1001, 1).reale, 1001.0);
    EXPECT_NEAR(t.at(1002, 0).reale, 0.003, 1e-12);
    EXPECT_NEAR(t.at(1002, 1).reale, 1001.999999, 1e-9);
    // The same steps in the order 0.001 then 0.003: bit for bit.
    double dx = 0.001, dy = 1.0;
    double x = 0.001 + (dx + 0.001 * dy), y = 1001.0 + (dy - 0.001 * dx);
    EXPECT_EQ(t.at(1002, 0).reale, x);
    EXPECT_EQ(t.at(1002, 1).reale, y);
    // A capital S still turns left: x falls back after the second curve.
    EXPECT_LT(t.at(1301, 0).reale - t.at(1300, 0).reale, t.at(1101, 0).reale - t.at(1100, 0).reale);
}

TEST(Geometry, ACurveLineWithTheGeometryOffIsNotRead) {
    scenario s;
    s.leggi(linea("curvas3, 1900, 600\r\npendenza, 0, 4\r\n"), TRENO_VUOTO, 0);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.celle[0].pendenza, 104);
    EXPECT_FALSE(s.m.tracciato.allocato());
    EXPECT_TRUE(s.m.registro.ignoti.empty());
}

TEST(Geometry, ACurvePastTheEndStoresPointsUpToTheLastAndDropsTheRest) {
    scenario s;
    s.leggi(linea("curvad1, 16000, 5000\r\n", "10000"), TRENO_VUOTO, 1);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.tracciato.at(17000, 1).tag, elemento_tracciato::REALE);
    ASSERT_EQ(s.m.registro.righe.size(), 2u);
    EXPECT_TRUE(s.m.registro.righe[1].oltre_geometria);
}

TEST(Geometry, ClassDigitsAreTriedFromOneUpward) {
    scenario s;
    s.leggi(linea("curva51, 100, 10\r\n"), TRENO_VUOTO, 1);
    EXPECT_DOUBLE_EQ(s.m.tracciato.at(101, 0).reale, 0.0001);
}

}  // namespace

// What the reader notes of a file as a whole, each where it found it: a file read
// to its end without a "[fine]" field (the place of its last line), and the first
// byte no text file holds.
TEST(TextFiles, AnEndWithoutFineAndTheFirstByteNoTextHoldsAreNotedWhereFound) {
    using namespace std::string_literals;
    const auto dove = [](const luogo_testo& p) {
        return std::string(p.file == file_testo::linea ? "L" : "T") + ":" + std::to_string(p.line) + ":" +
               std::to_string(p.column) + ":" + std::to_string(p.length);
    };
    const std::string LINEA = linea("pendenza, 0, 0\r\n");
    const struct {
        const char* nome;
        std::string linea, treno;
        std::vector<std::string> senza_fine, estranei;  // "FILE:LINE:COLUMN:LENGTH", a byte's with "=0xNN"
    } casi[] = {
        {"both whole, the train's \"[FINE]\" in capitals", LINEA, "[generale]\r\nsabbia, 5\r\n[FINE]\r\n", {}, {}},
        {"the train cut after a line, blank lines after it", LINEA, "[generale]\r\nsabbia, 5\r\n  \r\n\r\n", {"T:2:1:9"}, {}},
        {"the route cut, its last line indented, CR only", "[generale]\rlunghezza percorso, 3000\r[curve]\r  pendenza, 0, 0",
         TRENO_VUOTO, {"L:4:3:14"}, {}},
        {"the general section running to the route's end", "[generale]\r\nlunghezza percorso, 3000\r\n", TRENO_VUOTO,
         {"L:2:1:24"}, {}},
        {"a train without \"[generale]\" is not read to its end either way", LINEA, "sabbia, 5\r\n", {"T:1:1:9"}, {}},
        // A fault stops the reading: what follows is not known, and the fault is reported.
        {"a reading stopped by a fault", LINEA, "[generale]\r\nsabbia, x\r\n", {}, {}},
        {"NUL on the second line, after a CR LF", LINEA, "[generale]\r\nsa\0bia, 5\r\n[fine]\r\n"s, {},
         {"T:2:3:1=0x00"}},
        {"DEL and a form feed: the first", "[generale]\nlunghezza percorso, 3000\n\x7F\f\n[curve]\n[fine]\n", TRENO_VUOTO,
         {}, {"L:3:1:1=0x7F"}},
        {"a tab, and 0x1A as the very last byte, are text", LINEA, "[generale]\r\n\tsabbia, 5\r\n[fine]\r\n\x1A", {}, {}},
        {"0x1A anywhere else is not", LINEA, "[generale]\r\nsabbia, 5\x1A\r\n[fine]\r\n\x1A", {}, {"T:2:10:1=0x1A"}},
    };
    for (const auto& c : casi) {
        scenario s;
        s.leggi(c.linea, c.treno);
        std::vector<std::string> senza_fine, estranei;
        for (const luogo_testo& p : s.m.registro.senza_fine) senza_fine.push_back(dove(p));
        for (const byte_estraneo& b : s.m.registro.estranei) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "=0x%02X", b.byte);
            estranei.push_back(dove(b.posto) + byte);
        }
        EXPECT_EQ(senza_fine, c.senza_fine) << c.nome;
        EXPECT_EQ(estranei, c.estranei) << c.nome;
    }
}
