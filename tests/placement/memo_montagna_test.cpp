#include "placement/memo_montagna.h"

#include <gtest/gtest.h>

#include "tests/placement/griglia_prova.h"

namespace {

int32_t montagna(modello& m, int32_t inizio, int32_t fine, int32_t tipo) {
    memo_montagna(m, inizio, fine, tipo);
    return tipo;
}

}  // namespace

TEST(MemoMontagna, TheCarriedSpans) {
    modello m = con_griglia(5000);
    EXPECT_EQ(montagna(m, 141550, 143050, 11), 1);
    for (int k = 2831; k <= 2860; ++k) {
        EXPECT_EQ(m.celle[k].tipo_montagna, 1) << k;
        EXPECT_EQ(m.celle[k].tipo_oggetto, (k - 2831 + 1) % 4 == 0 ? 11 : 0) << k;
    }
    EXPECT_EQ(m.celle[2830].tipo_montagna, 0);
    EXPECT_EQ(m.celle[2861].tipo_montagna, 0);
    EXPECT_EQ(montagna(m, 145350, 145750, 11), 1);
    EXPECT_EQ(m.celle[2910].tipo_oggetto, 11);
    EXPECT_EQ(m.celle[2914].tipo_oggetto, 11);
    EXPECT_EQ(m.celle[2906].tipo_montagna, 0);
    EXPECT_EQ(m.numero_montagne, 2);
    EXPECT_EQ(m.montagne_inizio[2], 145350);
    EXPECT_EQ(m.montagne_fine[2], 145750);
}

TEST(MemoMontagna, GapRuleAndTypes) {
    modello m = con_griglia(1000);
    EXPECT_EQ(montagna(m, 0, 1000, 7), 7);       // the first span never gets type 3
    EXPECT_EQ(montagna(m, 1150, 2000, 7), 3);    // 150 m after the previous end
    EXPECT_EQ(montagna(m, 2151, 3000, 10), 10);  // 151 m: own type, no markers
    for (int k = 43; k <= 59; ++k) EXPECT_EQ(m.celle[k].tipo_oggetto, 0);
    EXPECT_EQ(montagna(m, 3100, 4000, 12), 3);  // markers stay on under the gap rule
    EXPECT_EQ(m.celle[65].tipo_oggetto, 11);
}

TEST(MemoMontagna, CellRangeRoundsAndMarkersNeverOverwriteObjects) {
    modello m = con_griglia(100);
    montagna(m, 1000, 1040, 1);
    EXPECT_EQ(m.celle[20].tipo_montagna, 1);
    EXPECT_EQ(m.celle[19].tipo_montagna, 0);
    montagna(m, 2000, 2020, 2);  // no cell, still counted
    EXPECT_EQ(m.numero_montagne, 2);
    EXPECT_EQ(m.celle[40].tipo_montagna, 0);
    m.celle[63].tipo_oggetto = OGGETTO_SEGNALE;
    montagna(m, 3000, 4000, 11);
    EXPECT_EQ(m.celle[63].tipo_oggetto, OGGETTO_SEGNALE);
    EXPECT_EQ(m.celle[63].tipo_montagna, 1);
}

TEST(MemoMontagna, StaysInsideTheGridAndRefusesAnEightyFirstSpan) {
    modello m = con_griglia(100);
    montagna(m, 4800, 9000, 11);  // cells 96 to 179: only up to 100 written
    EXPECT_EQ(m.celle[100].tipo_montagna, 1);
    EXPECT_EQ(m.celle[99].tipo_oggetto, 11);  // the fourth cell counted from 96
    for (int n = 2; n <= 80; ++n) {
        int32_t inizio = 0, fine = 0, tipo = 1;
        EXPECT_EQ(memo_montagna(m, inizio, fine, tipo), codice::nessuno);
    }
    EXPECT_EQ(m.numero_montagne, 80);
    int32_t inizio = 100, fine = 200, tipo = 1;
    EXPECT_EQ(memo_montagna(m, inizio, fine, tipo), codice::montagne_esaurite);
    EXPECT_EQ(m.numero_montagne, 80);
}
