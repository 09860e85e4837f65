#pragma once
// The fastest run of a train over a stretch of track: full effort up to the
// speed allowed, braking at the service rate in time for every lower limit ahead
// and for each stop. Worked metre by metre in the square of the speed, which a
// constant acceleration changes linearly.
#include <cstddef>
#include <cstdint>
#include <vector>

// The track as the run sees it.
struct run_track {
    std::vector<uint16_t> limit_kmh;  // over metre i to i + 1, from metre 0
    double top_speed_kmh = 1e9;       // over them all
    std::vector<double> gradient;    // per cell, per mille, rising positive
    std::vector<double> adhesion;    // per cell, percent of the dry-rail coefficient
};

// The train as the run sees it, in SI units.
struct run_train {
    double mass_kg = 0;
    double effective_mass_kg = 0;  // with the rotating masses
    double adhesive_mass_kg = 0;
    double starting_effort_n = 0;
    double power_w = 0;
    double davis_a_n = 0, davis_b_n_per_kmh = 0, davis_c_n_per_kmh2 = 0;
    double deceleration_ms2 = 0;
    bool adhesion_limited = true;
};

// The adhesion coefficient on dry rail at a speed (Curtius and Kniffler).
double dry_adhesion(double kmh);

// The train's acceleration at a speed on cell `cell` of the track.
double acceleration(const run_train& t, const run_track& track, double speed_ms, size_t cell);

// The speed at each metre from `from` to `to` (index 0 is `from`): standing at
// each stop (metres, ascending, within from..to), entering at `entry_ms` when
// `from` is not a stop. A stall keeps a crawl of CRAWL_MS.
constexpr double CRAWL_MS = 0.1;
std::vector<double> fastest_speeds(const run_track& track, const run_train& t, int32_t from, int32_t to,
                                   const std::vector<int32_t>& stops, double entry_ms = 0);
// The same into v, whose memory a caller running section after section keeps.
void fastest_speeds(const run_track& track, const run_train& t, int32_t from, int32_t to,
                    const std::vector<int32_t>& stops, double entry_ms, std::vector<double>& v);

// Seconds from metre a to metre b (from <= a <= b <= to) of speeds from fastest_speeds.
double run_seconds(const std::vector<double>& speeds, int32_t from, int32_t a, int32_t b);
