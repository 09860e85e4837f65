#include "placement/memo_indicatori_v_max.h"

#include <gtest/gtest.h>

#include "model/run_time_failure.h"
#include "tests/placement/griglia_prova.h"

namespace {

codice cartello(modello& m, int32_t p, int32_t vas, int32_t vbs, int32_t vcs, int32_t ss, int32_t vad, int32_t vbd,
                int32_t vcd, int32_t sd) {
    return memo_indicatori_v_max(m, p, vas, vbs, vcs, ss, vad, vbd, vcd, sd).codice_rifiuto;
}

}  // namespace

TEST(MemoIndicatoriVMax, PacksBothGroups) {
    modello m = con_griglia(5000);
    EXPECT_EQ(cartello(m, 1950, 140, 150, 160, 0, 140, 150, 160, 0), codice::nessuno);
    EXPECT_EQ(cartello(m, 137500, 90, 95, 105, 2, 90, 95, 105, 2), codice::nessuno);
    EXPECT_EQ(cartello(m, 143500, 60, 70, 75, 2, 0, 0, 0, 0), codice::nessuno);
    EXPECT_EQ(cartello(m, 200000, 140, 140, 0, 0, 142, 143, 0, 0), codice::nessuno);
    EXPECT_EQ(campi(m.celle[40]), campi(cella{6, 2828, 3030, 3232, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(campi(m.celle[2751]), campi(cella{6, 1818, 1919, 2121, 22, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(campi(m.celle[2871]), campi(cella{6, 1200, 1400, 1500, 20, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(m.celle[4001].dato1, 2828);  // 28.4 rounds down
    EXPECT_EQ(m.celle[4001].dato2, 2829);  // 28.6 rounds up
}

TEST(MemoIndicatoriVMax, OccupiedCellIsRefusedAndMarkerIsNot) {
    modello m = con_griglia(5000);
    m.celle[40].tipo_oggetto = OGGETTO_MONTAGNA;
    EXPECT_EQ(cartello(m, 1950, 140, 150, 160, 0, 140, 150, 160, 0), codice::nessuno);
    EXPECT_EQ(cartello(m, 1975, 100, 100, 100, 0, 100, 100, 100, 0), codice::indicatore_occupato);
    EXPECT_EQ(m.celle[40].dato1, 2828);

    modello g = con_griglia(10);
    EXPECT_EQ(cartello(g, 5000, 100, 100, 100, 0, 100, 100, 100, 0), codice::indicatore_occupato);
}

TEST(MemoIndicatoriVMax, OverflowKeepsTheFieldsStoredBeforeIt) {
    modello m = con_griglia(100);
    EXPECT_THROW(cartello(m, 1950, 100, 1639, 100, 0, 0, 0, 0, 0), run_time_failure);
    EXPECT_EQ(m.celle[40].tipo_oggetto, 6);
    EXPECT_EQ(m.celle[40].dato1, 2000);
    EXPECT_EQ(m.celle[40].dato2, 0);
}
