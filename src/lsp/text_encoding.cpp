#include "lsp/text_encoding.h"

#include "model/testo_1252.h"

namespace {

// The length of the UTF-8 sequence that starts at s[i] and its code point; a
// byte that starts none is one character of its own.
size_t utf8_sequence(std::string_view s, size_t i, char32_t& cp) {
    const auto b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) {
        cp = b;
        return 1;
    }
    cp = n == 1 ? b : n == 2 ? (b & 0x1F) : n == 3 ? (b & 0x0F) : (b & 0x07);
    for (size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c >> 6) != 0x2) {
            cp = b;
            return 1;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    return n;
}

int32_t units_of(char32_t cp, size_t utf8_length, position_encoding e) {
    switch (e) {
        case position_encoding::utf8: return static_cast<int32_t>(utf8_length);
        case position_encoding::utf16: return cp > 0xFFFF ? 2 : 1;
        case position_encoding::utf32: return 1;
    }
    return 1;
}

}  // namespace

text_1252 to_1252(std::string_view utf8, file_testo file) {
    text_1252 out;
    out.bytes.reserve(utf8.size());
    int32_t line = 1, column = 1;
    for (size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const size_t n = utf8_sequence(utf8, i, cp);
        const std::string_view one = utf8.substr(i, n);
        if (n == 1) {
            out.bytes += one[0];
        } else {
            if (result<std::string> b = cp1252_da_utf8(one)) {
                out.bytes += *b;
            } else {
                out.bytes += '?';
                out.unconvertible.push_back({{file, line, column, 1}, std::string(one), cp});
            }
        }
        const bool lf = one == "\n", cr = one == "\r";
        if (lf || (cr && (i + 1 >= utf8.size() || utf8[i + 1] != '\n'))) {
            ++line;
            column = 1;
        } else if (!cr) {
            ++column;
        }
        i += n;
    }
    return out;
}

std::vector<std::string_view> split_lines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    lines.push_back(text.substr(start));
    return lines;
}

int32_t units_before(std::string_view utf8_line, int32_t characters, position_encoding e) {
    int32_t units = 0;
    for (size_t i = 0; i < utf8_line.size() && characters > 0; --characters) {
        char32_t cp = 0;
        const size_t n = utf8_sequence(utf8_line, i, cp);
        units += units_of(cp, n, e);
        i += n;
    }
    return units;
}

int32_t characters_before(std::string_view utf8_line, int32_t units, position_encoding e) {
    int32_t characters = 0;
    for (size_t i = 0; i < utf8_line.size();) {
        char32_t cp = 0;
        const size_t n = utf8_sequence(utf8_line, i, cp);
        units -= units_of(cp, n, e);
        if (units < 0) break;
        ++characters;
        i += n;
    }
    return characters;
}
