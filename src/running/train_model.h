#pragma once
// The train a timetable is checked against: a locomotive hauling coaches, with
// the values of docs/train-model.md, which a train profile (JSON) may override.
#include <cstdint>
#include <optional>
#include <string>

#include "model/modello.h"
#include "platform/failure.h"

// The values of the model, each as docs/train-model.md states it and names it
// in a profile. Coaches and braked mass come from the scenario unless a profile
// gives them.
struct train_model {
    double loco_mass_t = 84;
    double loco_adhesive_mass_t = 84;  // a four-axle locomotive: all its mass on driven axles
    double loco_length_m = 19;
    double starting_effort_kn = 280;
    double power_kw = 5000;  // at the rail
    double top_speed_kmh = 160;
    double coach_mass_t = 46;
    double coach_length_m = 26.4;
    // Running resistance R = A M + B M v + (C_loco + C_coach n) v², in N, M in t, v in km/h.
    double davis_a_n_per_t = 13;
    double davis_b_n_per_t_kmh = 0.09;
    double davis_c_loco_n_per_kmh2 = 0.30;
    double davis_c_coach_n_per_kmh2 = 0.0325;
    double rotating_mass_factor = 1.06;
    double service_deceleration_ms2 = 0.5;
    double brake_factor = 1.0;  // ψ of the braking-distance relation
    std::optional<int32_t> coaches;             // not given: the scenario's
    std::optional<int32_t> braked_mass_percent;  // not given: the scenario's
    bool from_profile = false;
};

// The braked-mass percentages the braking-distance relation is used over; a
// percentage outside is taken at the nearer end.
constexpr double BRAKED_MASS_LOWEST = 30;
constexpr double BRAKED_MASS_HIGHEST = 150;
// The braking distance the line gives: a restriction's warning stands this far before it.
constexpr double LINE_BRAKING_DISTANCE_M = 1200;
constexpr double GRAVITY = 9.81;

// The model applied to a scenario: its figures in SI units where the run needs them.
struct train_in_use {
    train_model model;
    int32_t coaches = 0;
    double braked_mass_percent = 0;  // as the scenario or profile gives it
    double mass_t = 0, length_m = 0;
    // The highest speed: the locomotive's, and the one from which the braked mass
    // stops the train on level track within LINE_BRAKING_DISTANCE_M.
    double top_speed_kmh = 0;
    double braking_cap_kmh = 0;
};

train_in_use train_for(const modello& m, const train_model& profile);

// Metres to slow from `from_kmh` to `to_kmh` with a braked-mass percentage (clamped
// to the relation's range) and brake factor ψ on a gradient (per mille, rising
// positive); nothing when the gradient outweighs the brakes.
std::optional<double> braking_distance_m(double from_kmh, double to_kmh, double braked_mass_percent, double brake_factor,
                                         double gradient_permille);
// The speed from which a stop takes `distance_m` on level track.
double speed_stopping_within(double distance_m, double braked_mass_percent, double brake_factor);

// A profile's text read over the defaults, or what is wrong with it (a usage failure).
result<train_model> read_train_profile(const std::string& json_text);

// The train in a few words, for messages: "the default train (...)" or "the profile's train (...)".
std::string train_words(const train_in_use& t);
