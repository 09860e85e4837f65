#include "running/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// A figure within what a whole number holds; one that is not a number, as 0.
double bounded(double x) { return std::isnan(x) ? 0 : std::clamp(x, -1e15, 1e15); }

std::string two_digits(int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); }

}  // namespace

std::string decimal(double x, int places) {
    int64_t scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    const bool negative = x < 0;
    const int64_t n = static_cast<int64_t>(std::floor(bounded(std::fabs(x) * static_cast<double>(scale)) + 0.5));
    std::string out = std::to_string(n / scale);
    if (places > 0) {
        std::string fraction = std::to_string(n % scale);
        out += "." + std::string(static_cast<size_t>(places) - fraction.size(), '0') + fraction;
    }
    return (negative && n != 0 ? "-" : "") + out;
}

int64_t whole_seconds(double seconds) { return static_cast<int64_t>(std::floor(bounded(seconds) + 0.5)); }

std::string duration_words(double seconds) {
    const int64_t s = whole_seconds(seconds);
    if (s < 60) return std::to_string(s) + " s";
    if (s < 3600) return std::to_string(s / 60) + " min " + two_digits(s % 60) + " s";
    return std::to_string(s / 3600) + " h " + two_digits(s / 60 % 60) + " min " + two_digits(s % 60) + " s";
}

std::string thousands(int64_t n) {
    // Appended digit by digit: g++ 12 takes an insert into the digits for an overlapping copy.
    const std::string digits = std::to_string(std::llabs(n));
    std::string out = n < 0 ? "-" : "";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string metres_words(int64_t metres) { return thousands(metres) + " m"; }

std::string clock_hms(int64_t seconds) {
    const int64_t s = ((seconds % 86400) + 86400) % 86400;
    return std::to_string(s / 3600) + ":" + two_digits(s / 60 % 60) + ":" + two_digits(s % 60);
}
