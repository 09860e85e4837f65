#pragma once
// Times of day as the records hold them: seconds after midnight.
#include <cstdint>
#include <string>

// Seconds after midnight as hh:mm:ss; hours may pass 23, a negative value keeps its sign.
std::string clock_text(int64_t seconds);
