#include "placement/memo_segnale.h"

#include <gtest/gtest.h>

#include "model/run_time_failure.h"
#include "tests/placement/griglia_prova.h"

namespace {

struct segnale {
    int32_t posizione = 1650;
    int32_t sx = 2, s1 = 4, s2 = 0, s3 = 0, rapp = 0, dx = 2, d1 = 1, d2 = 0, d3 = 0, tempo = 0;

    codice poni(modello& m) { return memo_segnale(m, posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo).codice_rifiuto; }
};

}  // namespace

TEST(MemoSegnale, TheFirstCarriedSignalAndItsApproachCodes) {
    modello m = con_griglia(6000);
    m.celle[28].tipo_oggetto = OGGETTO_STAZIONE;
    m.celle[28].preavviso = 82;  // a station's approach code is overwritten
    EXPECT_EQ(segnale{}.poni(m), codice::nessuno);
    const cella& c = m.celle[34];
    EXPECT_EQ(campi(c), campi(cella{1, 41, 0, 0, 8, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.celle[32].preavviso, 81);
    EXPECT_EQ(m.celle[30].preavviso, 82);
    EXPECT_EQ(m.celle[28].preavviso, 83);
    EXPECT_EQ(m.celle[28].tipo_oggetto, OGGETTO_STAZIONE);
    EXPECT_EQ(m.celle[26].preavviso, 84);
    EXPECT_EQ(m.celle[33].preavviso, 0);
    EXPECT_EQ(m.celle[24].preavviso, 0);
}

TEST(MemoSegnale, TimeValueIsRaisedAndStoredOnlyForSideTwo) {
    struct caso {
        int32_t sx, tempo, salvato, restituito;
    };
    for (caso k : {caso{2, 110, 110, 110}, caso{2, 50, 101, 101}, caso{2, 1, 101, 101}, caso{2, 100, 101, 101},
                   caso{2, 0, 0, 0}, caso{2, 300, 44, 300}, caso{1, 150, 0, 150}, caso{1, 50, 0, 101}}) {
        modello m = con_griglia(6000);
        segnale s;
        s.posizione = 39600;
        s.sx = k.sx;
        s.tempo = k.tempo;
        s.poni(m);
        EXPECT_EQ(m.celle[793].tempo_segnale, k.salvato) << "sx " << k.sx << " tempo " << k.tempo;
        EXPECT_EQ(s.tempo, k.restituito) << "sx " << k.sx << " tempo " << k.tempo;
    }
}

TEST(MemoSegnale, TiesRoundToTheEvenCellAndAnOccupiedCellIsRefused) {
    for (int32_t posizione : {1625, 1675}) {
        modello m = con_griglia(6000);
        segnale{}.poni(m);
        const auto prima = m.celle;
        segnale s;
        s.posizione = posizione;
        s.sx = 1;
        EXPECT_EQ(s.poni(m), codice::segnale_occupato) << posizione;
        EXPECT_TRUE(m.celle == prima) << posizione;
    }
}

TEST(MemoSegnale, AMountainMarkerDoesNotBlock) {
    modello m = con_griglia(6000);
    m.celle[34].tipo_oggetto = OGGETTO_MONTAGNA;
    m.celle[34].tipo_montagna = 1;
    EXPECT_EQ(segnale{}.poni(m), codice::nessuno);
    EXPECT_EQ(m.celle[34].tipo_oggetto, OGGETTO_SEGNALE);
    EXPECT_EQ(m.celle[34].tipo_montagna, 1);
}

TEST(MemoSegnale, ApproachCellsBeforeTheGridAreSkipped) {
    modello m = con_griglia(100);
    segnale s;
    s.posizione = 200;  // cell 5: approach cells 3, 1, -1, -3
    EXPECT_EQ(s.poni(m), codice::nessuno);
    EXPECT_EQ(m.celle[5].tipo_oggetto, OGGETTO_SEGNALE);
    EXPECT_EQ(m.celle[3].preavviso, 81);
    EXPECT_EQ(m.celle[1].preavviso, 82);
    EXPECT_EQ(m.celle[0].preavviso, 0);

    // Nothing is computed for a skipped cell, so it cannot overflow.
    segnale o;
    o.posizione = 0;
    o.sx = 100000000;
    o.rapp = -30000000;
    EXPECT_EQ(o.poni(m), codice::nessuno);
    EXPECT_EQ(m.celle[1].tipo_oggetto, OGGETTO_SEGNALE);
}

TEST(MemoSegnale, ACellOutsideTheGridIsRefusedAsOccupied) {
    for (int32_t posizione : {5000, 4976, -100, -2147483647}) {
        modello m = con_griglia(100);
        const auto prima = m.celle;
        segnale s;
        s.posizione = posizione;
        EXPECT_EQ(s.poni(m), codice::segnale_occupato) << posizione;
        EXPECT_TRUE(m.celle == prima) << posizione;
    }
    modello senza;
    EXPECT_EQ(segnale{}.poni(senza), codice::segnale_occupato);
}

TEST(MemoSegnale, PackedFieldsAreCheckedLongsStoredAsTheirLowBits) {
    modello m = con_griglia(6000);
    segnale s;
    s.rapp = 4000;  // 40000 + 6 + 2 does not fit an Integer
    s.s1 = 7000;
    s.poni(m);
    EXPECT_EQ(m.celle[34].dato4, static_cast<int16_t>(40008 - 65536));
    EXPECT_EQ(m.celle[34].dato1, static_cast<int16_t>(70001 - 65536));
}

TEST(MemoSegnale, AnOverflowLeavesTheFieldsStoredBeforeIt) {
    modello m = con_griglia(6000);
    segnale s;
    s.s2 = 300000000;  // s2 * 10 overflows a Long
    s.rapp = 3;
    EXPECT_THROW(s.poni(m), run_time_failure);
    const cella& c = m.celle[34];
    EXPECT_EQ(c.tipo_oggetto, OGGETTO_SEGNALE);
    EXPECT_EQ(c.dato4, 38);
    EXPECT_EQ(c.dato1, 41);
    EXPECT_EQ(c.dato2, 0);
    EXPECT_EQ(m.celle[32].preavviso, 0);

    modello n = con_griglia(6000);
    segnale r;
    r.rapp = 214748365;  // rapp * 10 overflows before anything but the code is stored
    EXPECT_THROW(r.poni(n), run_time_failure);
    EXPECT_EQ(n.celle[34].tipo_oggetto, OGGETTO_SEGNALE);
    EXPECT_EQ(n.celle[34].dato4, 0);
}
