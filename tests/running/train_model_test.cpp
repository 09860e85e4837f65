// The braking-distance relation worked by hand, and what a train profile
// accepts and refuses.
#include "running/train_model.h"

#include <gtest/gtest.h>

#include "platform/exit_status.h"

TEST(TrainModel, BrakingDistancesAsTheRelationGivesThem) {
    // 3.85 (160² - 60²) / (6.1 (1 + 12.5)) = 84,700 / 82.35.
    EXPECT_NEAR(*braking_distance_m(160, 60, 125, 1, 0), 1028.54, 0.01);
    // A climb shortens it, a fall lengthens it; a fall the brakes cannot hold, no distance.
    EXPECT_LT(*braking_distance_m(160, 60, 125, 1, 5), *braking_distance_m(160, 60, 125, 1, 0));
    EXPECT_FALSE(braking_distance_m(160, 60, 125, 1, -90));
    // The percentage is taken within its range.
    EXPECT_EQ(*braking_distance_m(120, 0, 400, 1, 0), *braking_distance_m(120, 0, BRAKED_MASS_HIGHEST, 1, 0));
    EXPECT_EQ(*braking_distance_m(120, 0, 0, 1, 0), *braking_distance_m(120, 0, BRAKED_MASS_LOWEST, 1, 0));
    // The carried 125 % stops the train from 160.2 km/h within the 1,200 m.
    EXPECT_NEAR(speed_stopping_within(1200, 125, 1), 160.21, 0.01);
}

TEST(TrainModel, AProfileSetsTheValuesItNamesAndRefusesTheRest) {
    const result<train_model> good = read_train_profile(R"({"power_kw": 3000, "coaches": 8, "brake_factor": 0.9})");
    ASSERT_TRUE(good) << good.error().message;
    EXPECT_EQ(good->power_kw, 3000);
    EXPECT_EQ(good->coaches, 8);
    EXPECT_EQ(good->loco_mass_t, train_model{}.loco_mass_t);
    EXPECT_TRUE(good->from_profile);
    const struct {
        const char* json;
        const char* problem;
    } refused[] = {
        {"[1]", "a train profile is a JSON object"},
        {"{\"power\": 3}", "'power' is not a value of the train model (coaches, braked_mass_percent, loco_mass_t"},
        {"{\"power_kw\": 0}", "'power_kw' takes a number above 0, up to 1,000,000"},
        {"{\"power_kw\": \"5\"}", "'power_kw' takes a number above 0"},
        {"{\"coaches\": 2.5}", "'coaches' takes a whole number from 0 to 1000"},
        {"{\"loco_adhesive_mass_t\": 90}", "'loco_adhesive_mass_t' cannot exceed 'loco_mass_t'"},
    };
    for (const auto& c : refused) {
        const result<train_model> r = read_train_profile(c.json);
        ASSERT_FALSE(r) << c.json;
        EXPECT_EQ(r.error().status, EXIT_USAGE) << c.json;
        EXPECT_EQ(r.error().message.rfind(c.problem, 0), 0u) << c.json << ": " << r.error().message;
    }
}
