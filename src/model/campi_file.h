#pragma once
// What a field of a compiled record takes on disk: an integer its own width, a
// text a 16-bit length followed by its bytes. Records list their fields in file
// order with a per_campo overload beside their type.
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
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

// Bytes of a record of type R, not counting its texts' own bytes. Only the
// fields' types are looked at, so the storage holds no constructed record: clang
// cannot construct libstdc++'s std::string in a constant expression.
template <class R>
constexpr size_t byte_record() {
    std::allocator<R> spazio;
    R* r = spazio.allocate(1);
    size_t n = 0;
    per_campo(*r, [&](const char*, const auto& campo) { n += byte_fissi(campo); });
    spazio.deallocate(r, 1);
    return n;
}
