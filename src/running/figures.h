#pragma once
// Figures as the timetable prints them, alike on every platform: rounded by
// integer arithmetic rather than by the C library's formatting of doubles.
#include <cstdint>
#include <string>

// x to `places` decimals (0 to 3), half away from zero: "12.5", "-3".
std::string decimal(double x, int places);
// Whole seconds, half up, of a non-negative duration.
int64_t whole_seconds(double seconds);
// A duration in words: "45 s", "2 min 57 s", "1 h 02 min 05 s"; whole seconds.
std::string duration_words(double seconds);
// A whole number with thousands commas: "5,500".
std::string thousands(int64_t n);
// Metres so written: "5,500 m".
std::string metres_words(int64_t metres);
// A time of day as "h:mm:ss", over 24 hours as the simulator's clock is.
std::string clock_hms(int64_t seconds);
