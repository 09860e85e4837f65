#pragma once
// What a field of a compiled record takes on disk: an integer its own width, a
// text a 16-bit length followed by its bytes. Records list their fields in file
// order with a per_campo overload beside their type.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

// Bytes of one field, not counting a text's own bytes.
template <class T>
constexpr size_t byte_fissi(const T&) {
    if constexpr (std::is_same_v<T, std::string>) {
        return sizeof(uint16_t);
    } else {
        static_assert(std::is_integral_v<T>, "a compiled field is an integer or a text");
        return sizeof(T);
    }
}

// Bytes of a record of type R, not counting its texts' own bytes.
template <class R>
constexpr size_t byte_record() {
    R r{};
    size_t n = 0;
    per_campo(r, [&](const char*, const auto& campo) { n += byte_fissi(campo); });
    return n;
}
