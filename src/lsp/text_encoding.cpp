#include "lsp/text_encoding.h"

#include "model/testo_1252.h"
#include "model/utf8.h"

namespace {

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
        // A byte that starts no whole sequence is one character of its own.
        const carattere_utf8 c = carattere_in(utf8, i);
        const char32_t cp = c.punto;
        const size_t n = c.lunghezza;
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
        const carattere_utf8 c = carattere_in(utf8_line, i);
        units += units_of(c.punto, c.lunghezza, e);
        i += c.lunghezza;
    }
    return units;
}

int32_t characters_before(std::string_view utf8_line, int32_t units, position_encoding e) {
    int32_t characters = 0;
    for (size_t i = 0; i < utf8_line.size();) {
        const carattere_utf8 c = carattere_in(utf8_line, i);
        units -= units_of(c.punto, c.lunghezza, e);
        if (units < 0) break;
        ++characters;
        i += c.lunghezza;
    }
    return characters;
}
