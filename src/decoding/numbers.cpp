#include "decoding/numbers.h"

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
