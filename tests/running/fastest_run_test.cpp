// The run against cases worked by hand: constant acceleration and braking, a
// climb that balances the effort, and a restriction shorter than the train.
#include "running/fastest_run.h"

#include <gtest/gtest.h>

#include "running/permitted_speed.h"

namespace {

// Level dry track, 108 km/h (30 m/s) over 5000 m; a train of 100 t (no rotating
// masses) with a constant effort of 50 kN, no resistance: 0.5 m/s², braking at 1 m/s².
run_track level_track() {
    return {std::vector<uint16_t>(5000, 108), 1e9, std::vector<double>(100, 0.0), std::vector<double>(100, 100.0)};
}
run_train constant_effort(double effort_n) {
    run_train t;
    t.mass_kg = t.effective_mass_kg = 1e5;
    t.starting_effort_n = effort_n;
    t.power_w = 1e12;
    t.deceleration_ms2 = 1;
    t.adhesion_limited = false;
    return t;
}

}  // namespace

TEST(FastestRun, AcceleratesAndBrakesAtConstantRatesAsWorkedByHand) {
    const std::vector<double> v = fastest_speeds(level_track(), constant_effort(5e4), 0, 5000, {0, 5000});
    // v² = 2 a s: 20 m/s after 400 m, 30 m/s (the limit) after 900 m, in 60 s.
    EXPECT_NEAR(v[400], 20, 1e-9);
    EXPECT_NEAR(v[900], 30, 1e-9);
    EXPECT_NEAR(run_seconds(v, 0, 0, 900), 60, 1e-6);
    // Braking at 1 m/s² to the stop: v² / 2b = 450 m, 30 s; 20 m/s 200 m before.
    EXPECT_NEAR(v[4550], 30, 1e-9);
    EXPECT_NEAR(v[4800], 20, 1e-9);
    EXPECT_NEAR(run_seconds(v, 0, 4550, 5000), 30, 1e-6);
    // At 30 m/s between: 3650 m in 121.67 s.
    EXPECT_NEAR(run_seconds(v, 0, 0, 5000), 60 + 3650.0 / 30 + 30, 1e-6);
}

TEST(FastestRun, AClimbThatBalancesTheEffortHoldsTheSpeed) {
    run_track track = level_track();
    track.gradient.assign(100, 10.0);  // 100 t on 10 per mille: 9,810 N
    const std::vector<double> v = fastest_speeds(track, constant_effort(9810), 0, 4000, {}, 20);
    for (const size_t i : {0, 1, 1000, 4000}) EXPECT_NEAR(v[i], 20, 1e-6) << i;
}

TEST(PermittedSpeed, ATrainSpeedsUpOnlyOnceItsTailHasClearedARestrictionShorterThanIt) {
    permitted_speeds head;
    head.kmh.assign(2000, 120);
    head.source.assign(2000, -1);
    head.restrictions = {{1000, 100, 60, 7}};
    for (int i = 1000; i < 1100; ++i) head.kmh[size_t(i)] = 60, head.source[size_t(i)] = 0;
    const permitted_speeds train = train_limits(head, 249.5);  // 250 m, rounded up
    EXPECT_EQ(train.kmh[999], 120);
    EXPECT_EQ(train.kmh[1000], 60);
    EXPECT_EQ(train.kmh[1349], 60);  // the tail at 1099, the restriction's last metre
    EXPECT_EQ(train.source[1349], 0);
    EXPECT_EQ(train.kmh[1350], 120);
}
