#pragma once
// UTF-8, read and written in one place: the code page conversion, the editor's
// columns, the drawing's text widths and the messages' cuts all go through here.
#include <cstddef>
#include <string>
#include <string_view>

// One character of UTF-8 text as its lead byte announces it. A byte that starts
// no whole sequence (a stray continuation byte, a lead byte cut short or not
// followed by continuation bytes) is a character of one byte, its code point the
// byte itself. A whole sequence that is not well-formed (overlong, a surrogate,
// past U+10FFFF) keeps its length and code point but is not `valido`: a reader
// that tolerates bad bytes counts it as one character, a strict one refuses it.
struct carattere_utf8 {
    char32_t punto = 0;
    size_t lunghezza = 1;
    bool valido = false;
};

// The character that starts at byte `i` of `testo` (i < testo.size()).
carattere_utf8 carattere_in(std::string_view testo, size_t i);

// Whether a byte continues a character rather than starting one.
constexpr bool continuazione_utf8(unsigned char b) { return (b & 0xC0) == 0x80; }

// Where the character that holds byte `i` starts: `i` backed over continuation
// bytes (to 0 at most). `i` may be testo.size(), which is its own start.
size_t inizio_carattere(std::string_view testo, size_t i);

// The UTF-8 form of a code point, appended.
void aggiungi_utf8(std::string& out, char32_t punto);
