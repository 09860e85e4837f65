#pragma once
// A scene drawn on one sheet: the plan on top, the profiles under it on one
// distance axis, the title block and the legend. SVG is written by the program
// itself everywhere; PNG and PDF go through cairo, in the drawing helper, where
// the build has it.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/scene.h"
#include "platform/failure.h"

enum class sheet_format : uint8_t { svg, png, pdf };

// "svg", "png", "pdf" from a file name's extension (any case); nothing otherwise.
std::optional<sheet_format> sheet_format_of(std::string_view file_name);

struct sheet_size {
    int32_t width = 1600;   // pixels (PNG, SVG user units); PDF points
    int32_t height = 1100;
    bool operator==(const sheet_size&) const = default;
};

// The SVG document. Each element of the scene is one <g> whose attributes say
// what it shows: data-kind, data-from-m, data-to-m, data-values and, when
// known, data-file and data-line.
std::string render_svg(const scene& s, sheet_size size);

// Whether this build draws PNG and PDF.
bool cairo_available();

// The PNG or PDF file's bytes, drawn by the helper; or a failure when this build
// has no cairo, the helper cannot be run or cairo fails, saying which.
result<std::string> render_cairo(const scene& s, sheet_size size, sheet_format format);

// The PDF of several sheets of one size, one a page; a failure as render_cairo's.
result<std::string> render_pdf_pages(const std::vector<scene>& pages, sheet_size size);

// A paper's landscape page in points: "A4", "A3", "A2", "A1" (any case); nothing otherwise.
std::optional<sheet_size> paper_size(std::string_view name);

// Nothing when a sheet of this size can be drawn (both sides are 1 to 20000), else
// the failure saying so (status 3).
maybe_failure sheet_size_failure(sheet_size size);
