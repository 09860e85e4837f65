#pragma once
#include <cstdint>

// The smaller of two values; a tie returns x (x > y is the only comparison).
inline int16_t minimo(int16_t x, int16_t y) { return x > y ? y : x; }
