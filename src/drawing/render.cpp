#include "drawing/render.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <utility>

std::optional<sheet_format> sheet_format_of(std::string_view file_name) {
    const size_t dot = file_name.rfind('.');
    if (dot == std::string_view::npos) return std::nullopt;
    std::string ext(file_name.substr(dot + 1));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "svg") return sheet_format::svg;
    if (ext == "png") return sheet_format::png;
    if (ext == "pdf") return sheet_format::pdf;
    return std::nullopt;
}

std::optional<sheet_size> paper_size(std::string_view name) {
    // ISO 216 in points (1/72 inch), the long side across.
    static constexpr std::pair<const char*, sheet_size> papers[] = {
        {"a4", {842, 595}}, {"a3", {1191, 842}}, {"a2", {1684, 1191}}, {"a1", {2384, 1684}}};
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const auto& [paper, size] : papers)
        if (lower == paper) return size;
    return std::nullopt;
}
