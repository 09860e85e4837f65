#include "drawing/render.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

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

std::string render_svg(const scene&, sheet_size size) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(size.width) + "\" height=\"" +
           std::to_string(size.height) + "\"/>\n";
}

bool cairo_available() { return false; }

std::string render_cairo(const scene&, sheet_size, sheet_format) {
    throw std::runtime_error("this build draws no PNG or PDF");
}
