#pragma once
// Conversions and 32-bit arithmetic with the semantics the compiled files rely on:
// rounding half to even, low-bit stores into narrow fields, and overflow as a
// run-time failure rather than silent wrap-around.
#include <cstdint>

#include "model/registro_lettura.h"

// Round half to even into a Long; throws run_time_failure when out of range.
int32_t nearest_long(double v);
// Round half to even into an Integer; throws run_time_failure when out of range.
int16_t nearest_integer(double v);

// Stores into Integer and Byte fields keep the low bits, unchecked.
inline int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF)); }
inline uint8_t low8(int64_t v) { return static_cast<uint8_t>(v & 0xFF); }

// Records in r that v, of origin o, does not survive a store into a field that
// holds minimo to massimo, which keeps memorizzato of it; all four as the field
// holds them, recorded less scarto. A repeat of the record just made (a run value
// filling cell after cell, a signal's four approach codes) is not recorded again.
void registra_troncato(registro_lettura& r, const origine_valore& o, int64_t v, int64_t minimo, int64_t massimo,
                       int64_t memorizzato, int64_t scarto);

// The same stores, for a value the author wrote: the same bits, and a value the
// field cannot hold is recorded in r.troncati with its origin. scarto is what the
// field adds to the value it holds (the gradient's + 100): v is the sum, and the
// record speaks of the value.
inline uint8_t low8(int64_t v, registro_lettura& r, const origine_valore& o, int32_t scarto = 0) {
    const uint8_t b = low8(v);
    if (b != v) registra_troncato(r, o, v, 0, 255, b, scarto);
    return b;
}
inline int16_t low16(int64_t v, registro_lettura& r, const origine_valore& o) {
    const int16_t b = low16(v);
    if (b != v) registra_troncato(r, o, v, -32768, 32767, b, 0);
    return b;
}

// Long arithmetic; a result outside the 32-bit range throws run_time_failure.
int32_t long_add(int32_t a, int32_t b);
int32_t long_sub(int32_t a, int32_t b);
int32_t long_mul(int32_t a, int32_t b);
// Narrows a wider intermediate to a Long, throwing when it does not fit.
int32_t to_long(int64_t v);
