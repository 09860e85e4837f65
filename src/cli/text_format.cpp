#include "cli/text_format.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>

std::string exact_number(double v) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    if (ec != std::errc{}) return "?";
    return std::string(buffer, end);
}

std::string fixed_number(double v, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    return buffer;
}

namespace {
std::optional<int64_t> parse_index(std::string_view text) {
    if (text.empty() || text.size() > 12) return std::nullopt;
    int64_t v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size() || v < 0) return std::nullopt;
    return v;
}
}  // namespace

std::optional<index_range> parse_index_range(std::string_view text) {
    const size_t dash = text.find('-');
    const auto from = parse_index(text.substr(0, dash));
    const auto to = dash == std::string_view::npos ? from : parse_index(text.substr(dash + 1));
    if (!from || !to || *from > *to) return std::nullopt;
    return index_range{*from, *to};
}

namespace {
// Code points of 0x80 to 0x9F; the five bytes Windows-1252 leaves undefined keep their own value.
constexpr char16_t CP1252_HIGH[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
}  // namespace

std::string utf8_from_cp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char32_t cp = b >= 0x80 && b < 0xA0 ? CP1252_HIGH[b - 0x80] : b;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}
