#include "placement/progressive_ordina.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model/run_time_failure.h"

namespace {

using terna = std::tuple<int32_t, int32_t, int32_t>;

void poni(modello& m, terna t, terna d, terna u) {
    auto scrivi = [&](int k, terna s) {
        std::tie(m.voci[k].inizio_zona, m.voci[k].fine_zona, m.voci[k].progressiva) = s;
    };
    scrivi(VOCE_PROGRESSIVA_TRE, t);
    scrivi(VOCE_PROGRESSIVA_DUE, d);
    scrivi(VOCE_PROGRESSIVA_UNO, u);
}

terna record(const modello& m, int k) {
    return {m.voci[k].inizio_zona, m.voci[k].fine_zona, m.voci[k].progressiva};
}

void atteso(const modello& m, terna r81, terna r82, terna r83) {
    EXPECT_EQ(record(m, 81), r81);
    EXPECT_EQ(record(m, 82), r82);
    EXPECT_EQ(record(m, 83), r83);
}

terna ordina(terna t, terna d, terna u, int slot) {
    modello m;
    poni(m, t, d, u);
    progressive_ordina(m);
    return record(m, 80 + slot);
}

const terna zero{0, 0, 0};

}  // namespace

TEST(ProgressiveOrdina, TheCarriedSeriesMovesToTheFirstSlotCorrected) {
    modello m;
    poni(m, zero, zero, {0, 350000, 1});
    progressive_ordina(m);
    atteso(m, {0, 350100, 1}, zero, zero);
}

TEST(ProgressiveOrdina, DifferentStartsEndInDescendingOrder) {
    modello m;
    poni(m, {20000, 1, 0}, {60000, 2, 0}, {40000, 3, 0});
    progressive_ordina(m);
    atteso(m, {60000, 2, 0}, {40000, 3, 0}, {20000, 1, 0});

    poni(m, zero, {100000, 250000, 0}, {0, 350000, 1});
    progressive_ordina(m);
    atteso(m, {100000, 250000, 0}, {0, 350100, 1}, zero);
}

TEST(ProgressiveOrdina, TiesBehindTheLargestStartFollowTheFixedPreference) {
    const terna t{7, 1, 0}, d{7, 2, 0}, u{7, 3, 0}, alto{9000, 9, 0};
    // T first: U before D.
    EXPECT_EQ(ordina(alto, d, u, 2), u);
    // D first: U before T.
    EXPECT_EQ(ordina(t, alto, u, 2), u);
    // U first: D before T.
    EXPECT_EQ(ordina(t, d, alto, 2), d);
    EXPECT_EQ(ordina(t, d, alto, 3), t);
}

TEST(ProgressiveOrdina, ASharedLargestStartClearsAllThree) {
    modello m;
    poni(m, {0, 100000, 1}, {50000, 200000, 0}, {50000, 300000, 1});
    progressive_ordina(m);
    atteso(m, zero, zero, zero);
}

TEST(ProgressiveOrdina, StartsSummingToZeroAreOrderedByTheLastPositiveValue) {
    modello m;
    poni(m, {0, 100, 0}, {0, 200, 0}, zero);
    progressive_ordina(m);
    atteso(m, {0, 200, 0}, {0, 100, 0}, zero);

    poni(m, {0, 100, 0}, {0, 200, 0}, {0, 300, 0});
    progressive_ordina(m);
    atteso(m, {0, 300, 0}, {0, 200, 0}, {0, 100, 0});

    // No positive value: nothing survives.
    poni(m, {0, -5, 1}, zero, {0, 0, 1});
    progressive_ordina(m);
    atteso(m, zero, zero, zero);
}

TEST(ProgressiveOrdina, OnlyAFlagOfOneIsCorrected) {
    modello m;
    poni(m, {300, 1000, 2}, {200, 2000, -1}, {100, 3000, 1});
    progressive_ordina(m);
    atteso(m, {300, 1000, 2}, {200, 2000, -1}, {100, 3100, 1});
}

TEST(ProgressiveOrdina, OverflowsAreRunTimeFailures) {
    modello m;
    poni(m, {2147483000, 0, 0}, {1000, 0, 0}, zero);
    EXPECT_THROW(progressive_ordina(m), run_time_failure);

    // The records are already reordered, and the slot before the failing one corrected.
    poni(m, {100, 2147483600, 1}, {300, 5000, 1}, {200, 6000, 0});
    EXPECT_THROW(progressive_ordina(m), run_time_failure);
    atteso(m, {300, 5100, 1}, {200, 6000, 0}, {100, 2147483600, 1});
}
