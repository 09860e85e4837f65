#pragma once
// Conversions and 32-bit arithmetic with the semantics the compiled files rely on:
// rounding half to even, low-bit stores into narrow fields, and overflow as a
// run-time failure rather than silent wrap-around.
#include <cstdint>

// Round half to even into a Long; throws run_time_failure when out of range.
int32_t nearest_long(double v);
// Round half to even into an Integer; throws run_time_failure when out of range.
int16_t nearest_integer(double v);

// Stores into Integer and Byte fields keep the low bits, unchecked.
inline int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF)); }
inline uint8_t low8(int64_t v) { return static_cast<uint8_t>(v & 0xFF); }

// Long arithmetic; a result outside the 32-bit range throws run_time_failure.
int32_t long_add(int32_t a, int32_t b);
int32_t long_sub(int32_t a, int32_t b);
int32_t long_mul(int32_t a, int32_t b);
// Narrows a wider intermediate to a Long, throwing when it does not fit.
int32_t to_long(int64_t v);
