#include "model/numeric.h"

#include <cmath>
#include <limits>
#include <string>

#include "model/run_time_failure.h"

namespace {

double round_half_even(double v) {
    if (!std::isfinite(v)) throw run_time_failure("overflow: value is not a finite number");
    // nearbyint honours the default rounding mode, which is to-nearest-even.
    return std::nearbyint(v);
}

}  // namespace

int32_t nearest_long(double v) {
    double r = round_half_even(v);
    if (r < -2147483648.0 || r > 2147483647.0)
        throw run_time_failure("overflow: " + std::to_string(v) + " does not fit a Long");
    return static_cast<int32_t>(r);
}

int16_t nearest_integer(double v) {
    double r = round_half_even(v);
    if (r < -32768.0 || r > 32767.0)
        throw run_time_failure("overflow: " + std::to_string(v) + " does not fit an Integer");
    return static_cast<int16_t>(r);
}

int32_t to_long(int64_t v) {
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw run_time_failure("overflow: " + std::to_string(v) + " does not fit a Long");
    return static_cast<int32_t>(v);
}

int32_t long_add(int32_t a, int32_t b) { return to_long(static_cast<int64_t>(a) + b); }
int32_t long_sub(int32_t a, int32_t b) { return to_long(static_cast<int64_t>(a) - b); }
int32_t long_mul(int32_t a, int32_t b) { return to_long(static_cast<int64_t>(a) * b); }
