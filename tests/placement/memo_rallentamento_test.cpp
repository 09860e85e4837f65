#include "placement/memo_rallentamento.h"

#include <gtest/gtest.h>

#include "model/run_time_failure.h"
#include "tests/placement/griglia_prova.h"

namespace {

struct rallentamento {
    int32_t x = 24950, v = 60, l = 200, f_tt = 1, f_ta = 1, d_v = 60;
    rifiuto_posa poni(modello& m) { return memo_rallentamento(m, x, v, l, f_tt, f_ta, d_v); }
};

}  // namespace

TEST(MemoRallentamento, TheFirstCarriedRestriction) {
    modello m = con_griglia(5000);
    EXPECT_EQ(rallentamento{}.poni(m), codice::nessuno);
    EXPECT_EQ(campi(m.celle[476]), campi(cella{4, 60, 60, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(campi(m.celle[500]), campi(cella{3, 60, 60, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(campi(m.celle[504]), campi(cella{2, 60, 60, 1, 0, 0, 0, 0, 0, 0, 0}));
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(campi(m.celle[475 - n]), campi(cella{5, int16_t(n + 1), int16_t(n + 1), 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.celle[471].tipo_oggetto, 0);
    EXPECT_EQ(m.celle[502].tipo_oggetto, 0);  // cells between start and end stay untouched
}

TEST(MemoRallentamento, NoDvWritesNoDato2AndShortStartsHaveNoWarning) {
    modello m = con_griglia(5000);
    rallentamento r{76950, 50, 1800, 0, 1, 0};
    r.poni(m);
    EXPECT_EQ(m.celle[1516].tipo_oggetto, 4);
    EXPECT_EQ(m.celle[1540].tipo_oggetto, 3);
    EXPECT_EQ(m.celle[1576].tipo_oggetto, 2);
    for (int k : {1512, 1513, 1514, 1515, 1516, 1540, 1576}) EXPECT_EQ(m.celle[k].dato2, 0) << k;
    EXPECT_EQ(m.celle[1512].dato1, 4);

    modello a = con_griglia(100);
    rallentamento{1500, 60, 200, 0, 1, 60}.poni(a);
    int scritte = 0;
    for (const cella& c : a.celle) scritte += c.tipo_oggetto != 0;
    EXPECT_EQ(scritte, 2);  // start and end only
    modello b = con_griglia(100);
    rallentamento{1550, 60, 200, 0, 1, 60}.poni(b);
    EXPECT_EQ(b.celle[8].tipo_oggetto, 4);
    for (int k : {7, 6, 5, 4}) EXPECT_EQ(b.celle[k].tipo_oggetto, 5) << k;
}

TEST(MemoRallentamento, StartAndEndInOneCellKeepTheStartCode) {
    modello m = con_griglia(100);
    rallentamento{2000, 60, 20, 0, 0, 0}.poni(m);
    EXPECT_EQ(m.celle[41].tipo_oggetto, 3);
}

TEST(MemoRallentamento, RefusalsInTheirOrder) {
    modello m = con_griglia(5000);
    m.celle[476].tipo_oggetto = OGGETTO_SEGNALE;
    const rifiuto_posa avviso = rallentamento{}.poni(m);
    EXPECT_EQ(avviso, codice::avviso_occupato);
    EXPECT_EQ(avviso.cella, 476);  // the cell is named, for the author's note
    EXPECT_EQ(m.celle[500].tipo_oggetto, 0);

    modello s = con_griglia(5000);
    s.celle[500].tipo_oggetto = OGGETTO_STAZIONE;
    EXPECT_EQ(rallentamento{}.poni(s), codice::inizio_occupato);

    modello e = con_griglia(5000);
    e.celle[504].tipo_oggetto = OGGETTO_SEGNALE;
    EXPECT_EQ(rallentamento{}.poni(e), codice::fine_occupata);
    EXPECT_EQ(e.celle[476].tipo_oggetto, 0);

    // A pre-warning cell taken: warning, start and end stay written.
    modello p = con_griglia(5000);
    p.celle[473].tipo_oggetto = OGGETTO_SEGNALE;
    EXPECT_EQ(rallentamento{}.poni(p), codice::preavviso_occupato);
    EXPECT_EQ(p.celle[476].tipo_oggetto, 4);
    EXPECT_EQ(p.celle[500].tipo_oggetto, 3);
    EXPECT_EQ(p.celle[475].tipo_oggetto, 0);
}

TEST(MemoRallentamento, MountainMarkerDoesNotBlockAndEndOutsideTheGridIsRefused) {
    modello m = con_griglia(5000);
    m.celle[500].tipo_oggetto = OGGETTO_MONTAGNA;
    m.celle[500].tipo_montagna = 1;
    EXPECT_EQ(rallentamento{}.poni(m), codice::nessuno);
    EXPECT_EQ(m.celle[500].tipo_oggetto, 3);
    EXPECT_EQ(m.celle[500].tipo_montagna, 1);

    modello g = con_griglia(520);
    EXPECT_EQ((rallentamento{24950, 60, 2000, 0, 1, 0}.poni(g)), codice::fine_occupata);
    for (const cella& c : g.celle) EXPECT_EQ(c.tipo_oggetto, 0);

    modello n = con_griglia(520);
    EXPECT_EQ((rallentamento{24950, 60, -30000, 0, 1, 0}.poni(n)), codice::fine_occupata);

    modello o = con_griglia(520);
    o.celle[476].tipo_oggetto = OGGETTO_SEGNALE;
    EXPECT_THROW((rallentamento{24950, 60, 2147483647, 0, 1, 0}.poni(o)), run_time_failure);
}
