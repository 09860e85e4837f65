#include "model/testo_1252.h"

#include <gtest/gtest.h>

TEST(Testo1252, EveryByteGoesToUtf8AndBack) {
    std::string tutti;
    for (int b = 0; b < 256; ++b) tutti += static_cast<char>(b);
    const result<std::string> indietro = cp1252_da_utf8(utf8_da_1252(tutti));
    ASSERT_TRUE(indietro) << indietro.error().message;
    EXPECT_EQ(*indietro, tutti);
    EXPECT_EQ(utf8_da_1252("Citt\xE0 \x80"), "Città €");
}

TEST(Testo1252, RefusesWhatTheCodePageCannotHoldAndBrokenUtf8) {
    const struct {
        std::string utf8;
        std::string problema;
    } casi[] = {
        {"Sofia \xC4\x81", "'\xC4\x81' (U+0101) has no Windows-1252 form"},
        {"\xF0\x9F\x9A\x82", "'\xF0\x9F\x9A\x82' (U+1F682) has no Windows-1252 form"},
        {"ab\xE0", "not valid UTF-8 (byte 0xE0 at offset 2)"},          // cut short
        {"\xC0\xAF", "not valid UTF-8 (byte 0xC0 at offset 0)"},        // overlong '/'
        {"\xED\xA0\x80", "not valid UTF-8 (byte 0xED at offset 0)"},    // a surrogate
        {"x\x80", "not valid UTF-8 (byte 0x80 at offset 1)"},           // a lone continuation
    };
    for (const auto& c : casi) {
        const result<std::string> r = cp1252_da_utf8(c.utf8);
        ASSERT_FALSE(r) << c.utf8;
        EXPECT_EQ(r.error().message, c.problema);
    }
}
