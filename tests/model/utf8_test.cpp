#include "model/utf8.h"

#include <gtest/gtest.h>

// What each reader builds on: a whole sequence keeps its length even when it is
// not well-formed (the editor's columns count it as one character), a byte that
// starts none stands alone, and only well-formed ones are valid (the code page
// conversion refuses the rest).
TEST(Utf8, ReadsOneCharacterAtATime) {
    const struct {
        std::string text;
        char32_t punto;
        size_t lunghezza;
        bool valido;
    } cases[] = {
        {"a", U'a', 1, true},
        {"\xC3\xA0", U'\u00e0', 2, true},
        {"\xE2\x80\xA6", U'\u2026', 3, true},
        {"\xF0\x9F\x9A\x82", U'\U0001F682', 4, true},
        {"\xC0\xAF", U'/', 2, false},             // overlong
        {"\xED\xA0\x80", 0xD800, 3, false},       // a surrogate
        {"\xF4\x90\x80\x80", 0x110000, 4, false}, // past the last code point
        {"\x80", 0x80, 1, false},                 // a lone continuation
        {"\xE2\x80", 0xE2, 1, false},             // cut short
        {"\xC3(", 0xC3, 1, false},                // no continuation
        {"\xF8\x80\x80\x80", 0xF8, 1, false},     // no lead byte
    };
    for (const auto& c : cases) {
        const carattere_utf8 got = carattere_in(c.text, 0);
        EXPECT_EQ(got.punto, c.punto) << c.text;
        EXPECT_EQ(got.lunghezza, c.lunghezza) << c.text;
        EXPECT_EQ(got.valido, c.valido) << c.text;
        std::string written;
        if (c.valido) aggiungi_utf8(written, c.punto);
        EXPECT_EQ(written, c.valido ? c.text : "") << c.text;
    }
    EXPECT_EQ(inizio_carattere("Citt\xC3\xA0x", 5), 4u);
    EXPECT_EQ(inizio_carattere("Citt\xC3\xA0x", 6), 6u);
}
