#pragma once
// A keyword field that holds what the author meant as the line's first value:
// "pendenza 3000" written for "pendenza, 3000".
#include <cstddef>
#include <optional>
#include <string_view>

// Byte offsets into the keyword field: where the comma belongs (just after the
// keyword's words) and the number after it.
struct virgola_mancante {
    size_t dopo = 0;
    size_t numero = 0;
    size_t lunghezza = 0;
};

// None when no number follows the keyword's words, or when every one that does
// belongs to the keyword itself: a curve's class ("curva sinistra 2") or the
// repetition's code count ("ripetizione segnali 4").
std::optional<virgola_mancante> cerca_virgola_mancante(std::string_view chiave);
