#include "model/cella.h"

#include <gtest/gtest.h>

#include "model/cell_objects.h"

// Halves go to the even cell on both sides of 0 and at the ends of a Long; an
// object lands a cell further on than a run value from the same metre.
TEST(Cell, ObjectAndRunValueCellsRoundHalvesToEven) {
    struct caso {
        int32_t metri, oggetto, valore;
    };
    const caso casi[] = {
        {0, 1, 0},
        {24, 1, 0},
        {25, 2, 0},
        {75, 2, 2},
        {1625, 34, 32},
        {1650, 34, 33},
        {1675, 34, 34},
        {4400, 89, 88},
        {202500, 4051, 4050},
        {-25, 0, 0},
        {-26, 0, -1},
        {-75, 0, -2},
        {-125, -2, -2},
        {2147483575, 42949672, 42949672},
        {2147483625, 42949674, 42949672},
        {2147483647, 42949674, 42949673},
        {-2147483647 - 1, -42949672, -42949673},
    };
    for (const caso& c : casi) {
        EXPECT_EQ(cella_oggetto(c.metri), c.oggetto) << c.metri;
        EXPECT_EQ(cella_valore(c.metri), c.valore) << c.metri;
    }
}

TEST(Cell, AShiftIsAddedBeforeTheRounding) {
    EXPECT_EQ(cella_spostata(7200, -1), 143);  // a station area ending at 7200 m: its mark
    EXPECT_EQ(cella_spostata(1040, -1), 20);
    EXPECT_EQ(cella_spostata(1020, -1), 19);
    EXPECT_EQ(cella_spostata(1025, -1), 20);  // 19.5 to even; the run value's cell less 1 is 19
    EXPECT_EQ(cella_spostata(1025, -3), 18);  // 17.5
}

// The metres a line gives for cell k put its object back in cell k.
TEST(Cell, ObjectMetresLandInTheirCell) {
    for (const int64_t k : {1, 2, 34, 4050, 20140}) {
        EXPECT_EQ(cella_oggetto(static_cast<int32_t>(object_metres(OGGETTO_SEGNALE, k))), k);
        EXPECT_EQ(cella_oggetto(static_cast<int32_t>(object_metres(OGGETTO_CARTELLO_INDICATORE, k))), k);
        EXPECT_EQ(cella_valore(static_cast<int32_t>(object_metres(OGGETTO_ABBATTIMENTO, k))), k);
    }
}
