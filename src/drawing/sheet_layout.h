#pragma once
// The one layout of a sheet, drawn on an abstract canvas: the SVG writer and
// the cairo surfaces only put down what draw_sheet tells them, so every format
// shows the same sheet.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "drawing/render.h"
#include "drawing/scene.h"

struct colour {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const colour&) const = default;
};

inline constexpr colour track_colour{0x1f, 0x4e, 0x9c};
inline constexpr colour ink_colour{0x20, 0x20, 0x20};     // text, frames
inline constexpr colour grid_colour{0xc8, 0xc8, 0xc8};    // the axis's km lines
inline constexpr colour fault_colour{0xd0, 0x00, 0x00};

// How the legend and the drawing show a kind.
enum class kind_symbol : uint8_t { line, band, dot, mark, tick, frame, cross, none };
struct kind_style {
    scene_kind kind;
    colour ink;
    kind_symbol symbol;
};
// Every kind, in the legend's order.
const std::vector<kind_style>& kind_styles();
const kind_style& style_of(scene_kind kind);

struct sheet_rect {
    double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
    bool operator==(const sheet_rect&) const = default;
};

// Where the parts of a sheet go, in device units, y down.
struct sheet_boxes {
    sheet_rect title;
    sheet_rect plan;
    sheet_rect legend;
    // gradient, height, speed, objects, kilometres: one strip each, sharing
    // the left and right edges of the distance axis.
    std::vector<sheet_rect> strips;
};
sheet_boxes layout_of(sheet_size size);

enum class text_anchor : uint8_t { start, middle, end };

struct sheet_text {
    double size = 12.0;
    text_anchor anchor = text_anchor::start;
    double rotation_deg = 0.0;  // clockwise, about the anchor point
    colour ink = ink_colour;
};

class canvas {
public:
    virtual ~canvas() = default;
    // What follows until end_element draws this element of the scene.
    virtual void begin_element(const scene_element& e) = 0;
    virtual void end_element() = 0;
    // Nothing outside r shows until pop_clip.
    virtual void push_clip(const sheet_rect& r) = 0;
    virtual void pop_clip() = 0;
    virtual void polyline(const std::vector<scene_point>& points, colour ink, double width) = 0;
    virtual void fill_rect(const sheet_rect& r, colour ink) = 0;
    virtual void frame_rect(const sheet_rect& r, colour ink, double width) = 0;
    virtual void circle(scene_point centre, double radius, colour ink) = 0;
    // UTF-8 text whose baseline starts, centres or ends at `at`.
    virtual void text(scene_point at, std::string_view utf8, const sheet_text& style) = 0;
};

inline constexpr int32_t max_sheet_side = 20000;
// Throws std::invalid_argument unless both sides are 1 to max_sheet_side: a broken
// precondition, as callers check sheet_size_failure first.
void check_sheet_size(sheet_size size);

// v with at most max_decimals decimals, trailing zeros dropped, '.' whatever
// the locale: "12.5", "-3", "0.25".
std::string decimal_text(double v, int max_decimals);

// A time of day as the sheet writes it: "7:15", with ":30" seconds only when there are some.
std::string clock_label(int64_t seconds);

// The advance of UTF-8 text at `size` units a em, from the width table of the
// sheet's font (DejaVu Sans); a character it lacks counts one em.
double text_width(std::string_view utf8, double size);
// The text cut by whole characters to fit `width` at `size`, an ellipsis standing
// for the rest; empty when not even the ellipsis and one character fit.
std::string fitted(std::string text, double size, double width);
// The box a text covers as drawn at `at` (its ascent and descent, turned as it
// is turned): what labels are kept apart by.
sheet_rect text_box(scene_point at, std::string_view utf8, const sheet_text& style);
// Whether two boxes share any area.
bool overlaps(const sheet_rect& a, const sheet_rect& b);
// Whether `inner` lies within `outer`.
bool encloses(const sheet_rect& outer, const sheet_rect& inner);

// Draws the scene. No two labels overlap and each lies within its panel: one
// with no room where it belongs is moved to another place near its mark, or left out.
void draw_sheet(const scene& s, sheet_size size, canvas& c);
