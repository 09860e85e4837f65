#include <gtest/gtest.h>

#include "tests/text_input/lettura_support.h"

namespace {

const std::string LINEA = linea("pendenza, 0, 0\r\n");

std::string stazione(int posizione, int tipo, int lunghezza, int campo6 = 0, const std::string& nome = "S") {
    return "stazione, " + std::to_string(posizione) + ", " + std::to_string(tipo) + ", " + std::to_string(lunghezza) +
           ", 1, 1, " + std::to_string(campo6) + ", 4,1,1, 2,1,1, 1, 10,48,5, " + nome + "\r\n";
}

TEST(TrainValues, TrainFiguresClockAndSand) {
    scenario s;
    s.leggi(LINEA, treno("numero vetture, 12\r\npercentuale massa frenata, 125\r\nsabbia, 200\r\n"
                         "orologio,    10              47            40 \r\n"));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.voci[84].progressiva, 12);
    EXPECT_EQ(s.m.voci[84].inizio_zona, 125);
    EXPECT_EQ(s.m.voci[86].parametro1, 200);
    EXPECT_EQ(s.m.voci[86].parametro3, 10);
    EXPECT_EQ(s.m.voci[86].parametro4, 47);
    EXPECT_EQ(s.m.voci[86].parametro5, 40);
}

TEST(TrainValues, SpeedAndAdhesionFills) {
    scenario s;
    s.leggi(LINEA, treno("aderenza, 0, 100\r\naderenza, 1000, 300\r\n"
                         "velocita,       0,   110\r\nvelocita, 1000, 112\r\nvelocita, 2000, 150\r\n"));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    const auto& c = s.m.celle;
    const int p = s.m.numero_celle;
    EXPECT_EQ(c[0].v_limite, 22);
    EXPECT_EQ(c[19].v_limite, 22);
    EXPECT_EQ(c[20].v_limite, 22);  // 112 / 5 to the nearest
    EXPECT_EQ(c[40].v_limite, 30);
    EXPECT_EQ(c[19].aderenza, 100);
    EXPECT_EQ(c[20].aderenza, 44);  // low eight bits of 300
    EXPECT_EQ(c[p - 3].v_limite, 30);
    for (int k = p - 2; k <= p; ++k) {
        EXPECT_EQ(c[k].v_limite, 0);
        EXPECT_EQ(c[k].aderenza, 0);
    }
}

TEST(TrainValues, ASpeedWhoseFifthDoesNotFitAByteFailsOnlyWhenWritten) {
    scenario s;
    s.leggi(LINEA, treno("velocita, 0, 1280\r\nvelocita, 100, 5\r\n"));
    EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita);
    // Beyond the last cell the stop test ends the fill before the value is made.
    s.leggi(LINEA, treno("velocita, 0, 5\r\nvelocita, 16900, 1280\r\nvelocita, 16900, 1280\r\n"));
    EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita);  // the tail writes cell 340 from 1280
}

TEST(Stations, CentredKind12AreaMarkAndApproachCells) {
    scenario s;
    s.leggi(LINEA, treno(stazione(0, 8, 500) + stazione(7000, 12, 400, 0, "\"A, B\"")));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    const voce& v = s.m.voci[2];
    EXPECT_EQ(v.inizio_zona, 6800);
    EXPECT_EQ(v.fine_zona, 7200);
    EXPECT_EQ(v.progressiva, 7000);
    EXPECT_EQ(v.categoria, 12);
    EXPECT_EQ(v.orario, (10 * 60 + 48) * 60 + 5);
    EXPECT_EQ(v.testo, "A, B");
    EXPECT_EQ(v.opzione5, 0);  // length below 600
    EXPECT_EQ(s.m.celle[143].tipo_oggetto, 10);
    EXPECT_EQ(s.m.celle[143].dato1, 2);
    EXPECT_EQ(s.m.celle[142].preavviso, 81);
    EXPECT_EQ(s.m.celle[139].preavviso, 84);
}

TEST(Stations, FirstStationOfKind8AtTheOrigin) {
    scenario s;
    s.leggi(LINEA, treno(stazione(0, 8, 600, 1)));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    const voce& v = s.m.voci[1];
    EXPECT_EQ(v.inizio_zona, -600);
    EXPECT_EQ(v.fine_zona, 600);
    EXPECT_EQ(v.opzione4, 0);
    EXPECT_EQ(v.opzione5, 0);  // first station
    EXPECT_EQ(s.m.celle[7].preavviso, 84);
    EXPECT_EQ(s.m.celle[11].tipo_oggetto, 10);
    EXPECT_EQ(s.m.celle[11].dato1, 1);
}

TEST(Stations, TheFirstStationsAreaIsExtendedBeforeField6IsCleared) {
    scenario s;
    s.leggi(LINEA, treno(stazione(1000, 2, 400, 1)));
    EXPECT_EQ(s.m.voci[1].fine_zona, 1250);
    EXPECT_EQ(s.m.voci[1].opzione4, 0);
}

TEST(Stations, Kind28GetsAnEntryButNoMarkAndKind5NoApproachCells) {
    scenario s;
    s.leggi(LINEA, treno(stazione(1000, 28, 400) + stazione(3000, 5, 400)));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.voci[1].fine_zona, 1200);
    for (const cella& c : s.m.celle) {
        if (c.tipo_oggetto == 10) {
            EXPECT_EQ(c.dato1, 2);
        }
    }
    EXPECT_EQ(s.m.voci[2].inizio_zona, 2600);
    EXPECT_EQ(s.m.voci[2].fine_zona, 3150);
    EXPECT_EQ(s.m.celle[62].tipo_oggetto, 10);
    EXPECT_EQ(s.m.celle[61].preavviso, 0);
}

TEST(Stations, SpacingOf350MetresIsAcceptedAndLessIsStatus22) {
    scenario s;
    s.leggi(LINEA, treno(stazione(7000, 12, 400) + stazione(7750, 12, 400)));
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
    s.leggi(LINEA, treno(stazione(7000, 12, 400) + stazione(7700, 12, 400)));
    EXPECT_EQ(s.m.codice_errore, codice::stazioni_vicine);
    EXPECT_EQ(s.m.metri_errore, 7700);
    EXPECT_FALSE(s.resta_treno());
}

TEST(Stations, The73rdStationAfterSixBoardsIsStoredAndEndsWithStatus10) {
    scenario s;
    std::string corpo;
    for (int i = 0; i < 6; ++i) corpo += "cartello_indicatore, " + std::to_string(100 + 50 * i) + ", B\r\n";
    std::string stazioni;
    for (int i = 0; i < 80; ++i) stazioni += stazione(1000 + 1000 * i, 28, 400);
    s.leggi(linea(corpo, "100000"), treno(stazioni));
    EXPECT_EQ(s.m.codice_errore, codice::voci_esaurite);
    EXPECT_EQ(s.m.voci[73].progressiva, 73000);
    EXPECT_EQ(s.m.voci[74].progressiva, 0);
    EXPECT_EQ(s.m.voci[75].testo, "B");
}

TEST(Stations, FieldsStoredBeforeAFailedCheckStay) {
    scenario s;
    s.leggi(LINEA, treno(stazione(75, 2, 400)));
    EXPECT_EQ(s.m.codice_errore, codice::stazione_posizione);
    EXPECT_EQ(s.m.metri_errore, 75);
    EXPECT_EQ(s.m.voci[1].progressiva, 75);
    s.leggi(LINEA, treno(stazione(1000, 2, 450)));
    EXPECT_EQ(s.m.codice_errore, codice::stazione_lunghezza);
    EXPECT_EQ(s.m.metri_errore, 1000);
    EXPECT_EQ(s.m.voci[1].categoria, 2);
    // A missing name still leaves the time set.
    s.leggi(LINEA, "[generale]\r\nstazione, 1000, 2, 400, 1,1,0, 4,1,1, 2,1,1, 1, 10,48,5");
    EXPECT_EQ(s.m.codice_errore, codice::lettura_fallita);
    EXPECT_EQ(s.m.voci[1].orario, 38885);
}

TEST(Stations, AMarkCellBeyondTheGridIsStatus15AndTheTrainFileEnds) {
    scenario s;
    s.leggi(LINEA, treno(stazione(10000, 2, 20000) + "numero vetture, 9\r\n"));
    EXPECT_EQ(s.m.codice_errore, codice::oltre_griglia);
    EXPECT_EQ(s.m.metri_errore, 10000);
    EXPECT_EQ(s.m.voci[84].progressiva, 0);
    EXPECT_EQ(s.m.celle[340].v_limite, 0);
}

TEST(TrainFile, WithoutGeneraleNothingIsStoredButTheEndProcessingRuns) {
    scenario s;
    s.leggi(linea("", "10000", "progressiva chilometrica uno, 0, 25, 0\r\n"), "numero vetture, 12\r\n[fine]\r\n");
    EXPECT_EQ(s.m.voci[84].progressiva, 0);
    EXPECT_EQ(s.m.codice_errore, codice::progressiva_non_multipla);
    EXPECT_FALSE(s.resta_treno());
    s.leggi(LINEA, "");
    EXPECT_EQ(s.m.codice_errore, codice::nessuno);
}

TEST(TrainFile, CodeCutsWithAndWithoutValue) {
    scenario s;
    s.leggi(linea("", "243000"), treno("abbattimento,  202500,   180\r\nabbattimento, 1000, 0\r\n"));
    ASSERT_EQ(s.m.codice_errore, codice::nessuno);
    EXPECT_EQ(s.m.celle[4050].tipo_oggetto, 12);
    EXPECT_EQ(s.m.celle[4050].dato1, 180);
    EXPECT_EQ(s.m.celle[20].tipo_oggetto, 13);
    s.leggi(linea("", "243000"), treno("abbattimento, 1000, 0\r\nabbattimento, 1010, 5\r\n"));
    EXPECT_EQ(s.m.codice_errore, codice::abbattimento_occupato);
    EXPECT_EQ(s.m.metri_errore, 1010);
}

}  // namespace
