// Every status of the reader, with its position and the text files it leaves.
#include <gtest/gtest.h>

#include "tests/text_input/lettura_support.h"

namespace {

const std::string TRENO_VUOTO = treno("");

struct atteso {
    int32_t codice;
    int32_t metri;
    bool linea_resta;
    bool treno_resta;
};

void verifica(scenario& s, atteso a) {
    EXPECT_EQ(numero(s.m.codice_errore), a.codice);
    EXPECT_EQ(s.m.metri_errore, a.metri);
    EXPECT_EQ(s.resta_linea(), a.linea_resta);
    EXPECT_EQ(s.resta_treno(), a.treno_resta);
}

// Reads with metri_errore preset to -1, so that "unchanged" shows.
void leggi(scenario& s, const std::string& l, const std::string& t, int32_t genera = 0) {
    s.scrivi(l, t);
    s.m.metri_errore = -1;
    s.leggi(genera);
}

TEST(RouteStatuses, MissingRouteFileIs101AndTouchesNothing) {
    scenario s;
    write_file(s.percorso_treno(), TRENO_VUOTO);
    s.m.metri_errore = -1;
    s.leggi();
    verifica(s, {101, -1, false, true});
    EXPECT_FALSE(s.m.griglia_allocata());
}

TEST(RouteStatuses, NoGeneraleIs102) {
    scenario s;
    leggi(s, "lunghezza percorso, 3000\r\n", TRENO_VUOTO);
    verifica(s, {102, -1, false, true});
    leggi(s, "", TRENO_VUOTO);
    verifica(s, {102, -1, false, true});
    leggi(s, "x\r\n[Generale]\r\n", TRENO_VUOTO);  // its last field
    verifica(s, {102, -1, false, true});
}

TEST(RouteStatuses, LengthAboveOneMillionOrBelowZeroIs1) {
    scenario s;
    leggi(s, linea("", "1000001"), TRENO_VUOTO);
    verifica(s, {1, -1, false, true});
    EXPECT_FALSE(s.m.griglia_allocata());
    leggi(s, linea("", "-5"), TRENO_VUOTO);
    verifica(s, {1, -1, false, true});
    leggi(s, linea("", "1000000"), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
}

TEST(RouteStatuses, SignalRepetition3And4And5) {
    scenario s;
    leggi(s, linea("", "10000", "ripetizione segnali 4 codici, 10, 100\r\n"), TRENO_VUOTO);
    verifica(s, {3, -1, false, true});
    leggi(s, linea("", "10000", "ripetizione segnali 4 codici, 0, 110\r\n"), TRENO_VUOTO);
    verifica(s, {4, -1, false, true});
    leggi(s, linea("", "10000", "ripetizione segnali codici, 0, 100\r\n"), TRENO_VUOTO);
    verifica(s, {5, -1, false, true});
}

TEST(RouteStatuses, CurveWithoutClassOrPastTheGeometryLimitIs103) {
    scenario s;
    leggi(s, linea("curvad, 100, 10\r\n"), TRENO_VUOTO, 1);
    verifica(s, {103, -1, false, true});
    leggi(s, linea("curvad1, 1000000, 10\r\n", "1000000"), TRENO_VUOTO, 1);
    verifica(s, {103, -1, false, true});
}

TEST(RouteStatuses, OccupiedBoardCellIs6) {
    scenario s;
    leggi(s, linea("cartello_indicatore, 4400, A\r\ncartello_indicatore, 4410, B\r\n"), TRENO_VUOTO);
    verifica(s, {6, 4410, false, true});
}

TEST(RouteStatuses, BoardsPastEntry2AreStatus10WithTheBoardsPosition) {
    scenario s;
    std::string corpo;
    for (int i = 0; i < 80; ++i) corpo += "cartello_indicatore, " + std::to_string(100 * i) + ", B\r\n";
    leggi(s, linea(corpo), TRENO_VUOTO);
    verifica(s, {10, 7900, false, true});
    EXPECT_EQ(s.m.voci[2].testo, "B");
    EXPECT_EQ(s.m.voci[1].testo, "");
}

TEST(RouteStatuses, PositionBeyondTheGridIs15AndTheTrainPhaseRuns) {
    scenario s;
    // Length 10000: the last cell is 340, so 16900 is the last accepted position.
    leggi(s, linea("pendenza, 16900, 1\r\npendenza, 16950, 2\r\npendenza, 0, 9\r\n"),
          treno("numero vetture, 12\r\nsegnale, 1650, 2,4,0,0,0, 2,1,0,0, 0\r\n"));
    verifica(s, {15, 16950, false, false});
    EXPECT_EQ(s.m.voci[84].progressiva, 12);
    EXPECT_EQ(s.m.celle[337].pendenza, 100);
    EXPECT_EQ(s.m.celle[338].pendenza, 101);  // the tail still runs
    EXPECT_EQ(s.m.celle[339].pendenza, 0);
}

TEST(RouteStatuses, NegativeAndHugePositionsAre15) {
    scenario s;
    leggi(s, linea("pendenza, -50, 0\r\n"), TRENO_VUOTO);
    verifica(s, {15, -50, false, false});
    leggi(s, linea("montagna, 2147483647, 0, 11\r\n"), TRENO_VUOTO);
    verifica(s, {15, 2147483647, false, false});
}

TEST(RouteStatuses, NoLengthLineEndsWith25) {
    scenario s;
    // Geometry off: the body line is out of an unsized grid (15), then the tail fails.
    leggi(s, "[generale]\r\n[curve]\r\npendenza, 0, 0\r\n[fine]\r\n", TRENO_VUOTO);
    verifica(s, {25, 0, false, false});
    leggi(s, "[generale]\r\n[curve]\r\n[fine]\r\n", TRENO_VUOTO, 1);
    verifica(s, {25, -1, false, false});
}

TEST(RouteStatuses, UnreadableFieldsAre25AndDeleteBothFiles) {
    scenario s;
    leggi(s, linea("pendenza, 1.5, 0\r\n"), TRENO_VUOTO);
    verifica(s, {25, -1, false, false});
    leggi(s, linea("cartello_indicatore, 100, " + std::string(32768, 'x') + "\r\n"), TRENO_VUOTO);
    verifica(s, {25, -1, false, false});
    EXPECT_EQ(s.m.celle.empty() ? 0 : s.m.celle[3].tipo_oggetto, 0);
}

TEST(TrainStatuses, MissingTrainFileIs25) {
    scenario s;
    write_file(s.percorso_linea(), linea(""));
    s.m.metri_errore = -1;
    s.leggi();
    verifica(s, {25, -1, false, false});
}

TEST(TrainStatuses, PositionBeyondTheGridIs15AndTheEndProcessingRuns) {
    scenario s;
    leggi(s, linea(""), treno("velocita, 0, 100\r\nvelocita, 17000, 50\r\nnumero vetture, 3\r\n"));
    verifica(s, {15, 17000, false, false});
    EXPECT_EQ(s.m.voci[84].progressiva, 0);
    EXPECT_EQ(s.m.celle[337].v_limite, 20);
    // A station is bound by (position + 800) / 50.
    leggi(s, linea(""), treno("stazione, 16250, 2, 400, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X\r\n"));
    verifica(s, {15, 16250, false, false});
}

TEST(TrainStatuses, ALaterStatusReplaces15ButStatus2Can) {
    scenario s;
    leggi(s, linea("pendenza, 99999, 0\r\n", "10000", "progressiva chilometrica due, 0, 10, 0\r\n"), TRENO_VUOTO);
    verifica(s, {2, 99999, false, false});
}

TEST(TrainStatuses, PlacementRefusalStopsWithTheLinesFirstValue) {
    scenario s;
    // The signal's cell 33 holds an indication board.
    leggi(s, linea("cartello_indicatore, 1600, A\r\n"),
          treno("segnale, 1610, 2,4,0,0,0, 2,1,0,0, 0\r\nnumero vetture, 3\r\n"));
    verifica(s, {16, 1610, false, false});
    EXPECT_EQ(s.m.voci[84].progressiva, 0);
}

TEST(TrainStatuses, Station24WhenItsAreaEndsWithinMetre100) {
    scenario s;
    leggi(s, linea(""), treno("stazione, 0, 2, 200, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, X\r\n"));
    verifica(s, {24, -1, false, false});
}

TEST(ReaderFiles, AnAuthorsFilesAreNeverDeleted) {
    scenario s;
    for (const std::string& l : {linea(""), linea("pendenza, x, 0\r\n"), linea("", "2000000")}) {
        s.scrivi(l, TRENO_VUOTO);
        s.leggi(0, false);
        EXPECT_TRUE(s.resta_linea());
        EXPECT_TRUE(s.resta_treno());
    }
}

TEST(ReaderDiagnostics, StatusesCarryFileAndLine) {
    scenario s;
    leggi(s, linea("pendenza, 0, 0\r\n\r\ncartello_indicatore, 100, A\r\ncartello_indicatore, 110, B\r\n"), TRENO_VUOTO);
    EXPECT_EQ(s.m.codice_errore, codice::cartello_occupato);
    EXPECT_EQ(s.m.registro.percorso(s.m.origine.file), s.percorso_linea().string());
    EXPECT_EQ(s.m.origine.line, 8);
    EXPECT_EQ(s.m.origine.column, 22);  // the position field
    EXPECT_EQ(s.m.origine.nota.line, 7);  // the board that holds the cell
    leggi(s, linea(""), treno("numero vetture, 1\r\nsabbia,\r\norologio, 1, 2\r\n  99999\r\n"));
    EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita);
    EXPECT_EQ(s.m.registro.percorso(s.m.origine.file), s.percorso_treno().string());
    EXPECT_EQ(s.m.origine.line, 4);  // the short line, not the one its missing field was taken from
    EXPECT_EQ(s.m.origine.nota.line, 5);
    EXPECT_NE(s.m.registro.guasto.find("99999"), std::string::npos);
}

TEST(ReaderDiagnostics, AFieldThatCannotBeReadIsNamedWithWhatWasFound) {
    const struct {
        const char* treno;
        int32_t line, column;
        const char* dettaglio;
    } cases[] = {
        {"segnale, 5500.5, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n", 2, 10,
         "field 1 of 'segnale' must be a whole number from -2147483648 to 2147483647, found '5500.5'"},
        {"segnale, 5500, 2, 4, 0, 0, 0, 2, 1, 0, 0, 99999999999999999999\r\n", 2, 43,
         "field 11 of 'segnale' must be a whole number from -2147483648 to 2147483647, found '99999999999999999999'"},
        {"sabbia, 55OO\r\n", 2, 9, "field 1 of 'sabbia' must be a whole number from -32768 to 32767, found '55OO'"},
        {"abbattimento, 3000\r\nsegnale, 1650, 2, 4, 0, 0, 0, 2, 1, 0, 0, 0\r\n", 2, 19,
         "this line lacks field 2 of 'abbattimento', so it was read from line 3, where 'segnale' is not a whole "
         "number from -2147483648 to 2147483647"},
        {"[generale]\r\nabbattimento, 3000,", 2, 20, "field 2 of 'abbattimento' is missing: the file ends first"},
    };
    for (const auto& c : cases) {
        scenario s;
        // A text of its own when it starts with its section, so that it can end anywhere.
        leggi(s, linea(""), c.treno[0] == '[' ? std::string(c.treno) : treno(c.treno));
        EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita) << c.treno;
        EXPECT_EQ(s.m.origine.line, c.line) << c.treno;
        EXPECT_EQ(s.m.origine.column, c.column) << c.treno;
        EXPECT_EQ(s.m.origine.dettaglio, c.dettaglio);
    }
}

TEST(ReaderDiagnostics, TheRecordKeepsHandledLinesAndUnknownKeywords) {
    scenario s;
    leggi(s, linea("pendenza, 0, -3\r\n-- commento --\r\nsfondo uno, 4\r\n12, 13\r\n"),
          treno("stazzione, 1\r\nvelocita, 0, 100\r\n"));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    const registro_lettura& r = s.m.registro;
    ASSERT_EQ(r.righe.size(), 3u);
    EXPECT_EQ(r.righe[0].genere, genere_riga::lunghezza);
    EXPECT_EQ(r.righe[1].genere, genere_riga::pendenza);
    EXPECT_EQ(r.righe[1].luogo.line, 5);
    EXPECT_EQ(r.righe[1].valori, (std::vector<int32_t>{0, -3}));
    ASSERT_EQ(r.righe[1].posti.size(), 2u);  // where each value stands, for the carets
    EXPECT_EQ(r.righe[1].posti[1].column, 14);
    EXPECT_EQ(r.righe[1].posti[1].length, 2);
    EXPECT_EQ(r.righe[2].luogo.file, file_testo::treno);
    EXPECT_EQ(r.righe[2].genere, genere_riga::velocita);
    ASSERT_EQ(r.ignoti.size(), 2u);
    EXPECT_EQ(r.ignoti[0].testo, "sfondo uno");
    EXPECT_EQ(r.ignoti[0].posto.line, 7);
    EXPECT_EQ(r.ignoti[0].posto.column, 1);
    EXPECT_EQ(r.ignoti[1].testo, "stazzione");
    EXPECT_EQ(r.percorso(r.ignoti[1].posto.file), s.percorso_treno().string());
}

}  // namespace
