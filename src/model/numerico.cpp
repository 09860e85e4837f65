#include "model/numerico.h"

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

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

void registra_troncato(registro_lettura& r, const origine_valore& o, int64_t v, int64_t minimo, int64_t massimo,
                       int64_t memorizzato, int64_t scarto) {
    if (!r.troncati.empty()) {
        const origine_valore& ultima = r.troncati.back().origine;
        if (std::string_view(ultima.cosa) == o.cosa && ultima.posti[0] == o.posti[0]) return;
    }
    r.troncati.push_back({o, v - scarto, minimo - scarto, massimo - scarto, memorizzato - scarto});
}
