#include "drawing/render.h"

#include <algorithm>
#include <cctype>

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
