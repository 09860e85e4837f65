#include "model/orologio.h"

#include <cstdio>
#include <cstdlib>

std::string clock_text(int64_t seconds) {
    const bool negative = seconds < 0;
    const int64_t s = std::llabs(seconds);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02lld:%02lld", negative ? "-" : "",
                  static_cast<long long>(s / 3600), static_cast<long long>(s / 60 % 60),
                  static_cast<long long>(s % 60));
    return buffer;
}
