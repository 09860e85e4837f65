#include "running/fastest_run.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <limits>

#include "running/train_model.h"

double dry_adhesion(double kmh) { return 0.161 + 7.5 / (kmh + 44); }

double acceleration(const run_train& t, const run_track& track, double speed_ms, size_t cell) {
    const double kmh = speed_ms * 3.6;
    double effort = t.starting_effort_n;
    if (speed_ms > 0) effort = std::min(effort, t.power_w / speed_ms);
    if (t.adhesion_limited) {
        const double adhesion = cell < track.adhesion.size() ? track.adhesion[cell] : 100;
        effort = std::min(effort, dry_adhesion(kmh) * adhesion / 100 * t.adhesive_mass_kg * GRAVITY);
    }
    const double resistance = t.davis_a_n + t.davis_b_n_per_kmh * kmh + t.davis_c_n_per_kmh2 * kmh * kmh;
    const double gradient = cell < track.gradient.size() ? track.gradient[cell] : 0;
    const double climb = t.mass_kg * GRAVITY * gradient / 1000;
    return (effort - resistance - climb) / t.effective_mass_kg;
}

std::vector<double> fastest_speeds(const run_track& track, const run_train& t, int32_t from, int32_t to,
                                   const std::vector<int32_t>& stops, double entry_ms) {
    std::vector<double> v;
    fastest_speeds(track, t, from, to, stops, entry_ms, v);
    return v;
}

void fastest_speeds(const run_track& track, const run_train& t, int32_t from, int32_t to,
                    const std::vector<int32_t>& stops, double entry_ms, std::vector<double>& v) {
    const size_t n = static_cast<size_t>(to - from) + 1;
    const auto limit = [&](int64_t metre) {
        if (metre < 0 || static_cast<size_t>(metre) >= track.limit_kmh.size()) return 0.0;
        return std::min<double>(track.limit_kmh[size_t(metre)], track.top_speed_kmh) / 3.6;
    };
    // The highest speed at each point: the limits of the metres either side of it.
    v.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const int64_t metre = from + int64_t(i);
        v[i] = i == 0 ? limit(metre) : i + 1 == n ? limit(metre - 1) : std::min(limit(metre - 1), limit(metre));
    }
    v[0] = std::min(v[0], entry_ms);
    for (const int32_t s : stops)
        if (s >= from && s <= to) v[size_t(s - from)] = 0;
    // Backwards: in time for every lower speed ahead, at the service deceleration
    // (which a point no faster than the next one needs not).
    for (size_t i = n - 1; i-- > 0;)
        if (v[i] > v[i + 1]) v[i] = std::min(v[i], std::sqrt(v[i + 1] * v[i + 1] + 2 * t.deceleration_ms2));
    // Forwards: full effort from each point, up to what the backward pass allows.
    // At one speed on one cell (running at a limit) the acceleration is the same.
    size_t last_cell = SIZE_MAX;
    double last_speed = -1, last_acceleration = 0;
    for (size_t i = 0; i + 1 < n; ++i) {
        const size_t cell = static_cast<size_t>(from + int64_t(i)) / METRI_CELLA;
        if (cell != last_cell || v[i] != last_speed)
            last_cell = cell, last_speed = v[i], last_acceleration = acceleration(t, track, v[i], cell);
        // Holding or gaining speed, the train reaches any point no faster than this one.
        if (last_acceleration >= 0 && v[i + 1] <= v[i]) continue;
        const double squared = v[i] * v[i] + 2 * last_acceleration;
        const double reached = squared > CRAWL_MS * CRAWL_MS ? std::sqrt(squared) : CRAWL_MS;
        v[i + 1] = std::min(v[i + 1], reached);
    }
}

double run_seconds(const std::vector<double>& speeds, int32_t from, int32_t a, int32_t b) {
    double seconds = 0;
    for (int32_t m = a; m < b; ++m) {
        const double sum = speeds[size_t(m - from)] + speeds[size_t(m - from + 1)];
        if (sum <= 0) return std::numeric_limits<double>::infinity();
        seconds += 2 / sum;
    }
    return seconds;
}
