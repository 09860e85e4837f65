#include "decoding/geometry_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Turning below this per metre is rounding noise; the gentlest curve turns 1e-4 rad.
constexpr double TURN_NOISE = 1e-7;

double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

double wrapped(double radians) {
    while (radians > std::numbers::pi) radians -= 2 * std::numbers::pi;
    while (radians < -std::numbers::pi) radians += 2 * std::numbers::pi;
    return radians;
}

}  // namespace

geometry_figures measure_geometry(const tracciato_t& t) {
    geometry_figures f;
    f.last_metre = t.ultimo_metro;
    for (size_t i = 0; i < t.numero_elementi(); ++i) {
        if (t.tag(i) == elemento_tracciato::INTERO) ++f.integers;
        else if (t.tag(i) == elemento_tracciato::REALE) ++f.doubles;
        else ++f.empties;
    }
    int32_t last = -1;
    while (last < t.ultimo_metro && t.at(last + 1, 0).tag != elemento_tracciato::VUOTO &&
           t.at(last + 1, 1).tag != elemento_tracciato::VUOTO)
        ++last;
    f.last_computed = last;
    if (last < 0) return f;

    f.min_x = f.max_x = t.at(0, 0).valore();
    f.min_y = f.max_y = t.at(0, 1).valore();
    double previous_heading = 0.0, previous_turn = 0.0;
    bool in_curve = false;
    for (int32_t m = 1; m <= last; ++m) {
        const double x = t.at(m, 0).valore(), y = t.at(m, 1).valore();
        const double dx = x - t.at(m - 1, 0).valore(), dy = y - t.at(m - 1, 1).valore();
        f.track_length += std::hypot(dx, dy);
        f.min_x = std::min(f.min_x, x);
        f.max_x = std::max(f.max_x, x);
        f.min_y = std::min(f.min_y, y);
        f.max_y = std::max(f.max_y, y);
        const double heading = std::atan2(dx, dy);
        if (m == 1) {
            f.start_heading = degrees(heading);
        } else {
            const double turn = wrapped(heading - previous_heading);
            const bool turning = std::abs(turn) > TURN_NOISE;
            if (turning) {
                (turn > 0 ? f.right_degrees : f.left_degrees) += degrees(std::abs(turn));
                // A change of side or of class starts a new curve even without a straight between.
                if (!in_curve || std::abs(turn - previous_turn) > TURN_NOISE)
                    f.curves.push_back({m - 1, 0, 0.0});
                f.curves.back().metres += 1;
                f.curves.back().degrees += degrees(turn);
            }
            in_curve = turning;
            previous_turn = turn;
        }
        previous_heading = heading;
    }
    f.end_heading = degrees(previous_heading);
    f.end_x = t.at(last, 0).valore();
    f.end_y = t.at(last, 1).valore();
    return f;
}
