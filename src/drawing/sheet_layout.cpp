#include "drawing/sheet_layout.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr double margin = 16.0;
constexpr double title_height = 52.0;
constexpr double legend_height = 44.0;
constexpr double label_column = 110.0;  // panel names and y values, left of the axis
constexpr double axis_label_room = 18.0;
constexpr double gap = 6.0;
constexpr double plan_share = 0.42;  // of the height between title and legend
constexpr double plan_inset = 26.0;  // room for the scale bar and the north mark
constexpr double small_text = 10.0;
constexpr double body_text = 12.0;

struct strip_kind {
    scene_panel panel;
    const char* name;
    double weight;  // share of the strips' height
    bool has_y;     // points' y is drawn on a scale of the strip's own
};
constexpr std::array<strip_kind, 5> strip_kinds{{
    {scene_panel::gradient, "gradient", 1.7, true},
    {scene_panel::height, "height (m)", 1.7, true},
    {scene_panel::speed, "speed (km/h)", 3.0, true},
    {scene_panel::objects, "objects", 4.2, false},
    {scene_panel::kilometres, "km posts", 1.2, false},
}};

double bottom(const sheet_rect& r) { return r.y + r.height; }
double right(const sheet_rect& r) { return r.x + r.width; }

// 1, 2 or 5 times a power of ten: the least no less than v, or with `down`
// the greatest no more than v.
double nice_step(double v, bool down = false) {
    const double p = std::pow(10.0, std::floor(std::log10(std::max(v, 1e-9))));
    if (down) return v >= 5.0 * p ? 5.0 * p : v >= 2.0 * p ? 2.0 * p : p;
    for (double f : {1.0, 2.0, 5.0})
        if (f * p >= v) return f * p;
    return 10.0 * p;
}

std::string km_text(double metres) { return decimal_text(metres / 1000.0, 3); }

void draw_symbol(canvas& c, const kind_style& st, scene_point at, double size) {
    switch (st.symbol) {
        case kind_symbol::line:
            c.polyline({{at.x - size, at.y}, {at.x + size, at.y}}, st.ink, 2.0);
            break;
        case kind_symbol::band:
            c.polyline({{at.x - size, at.y}, {at.x + size, at.y}}, st.ink, 6.0);
            break;
        case kind_symbol::dot:
            c.circle(at, size / 2.0, st.ink);
            break;
        case kind_symbol::mark:
            c.fill_rect({at.x - size / 2.0, at.y - size / 2.0, size, size}, st.ink);
            break;
        case kind_symbol::tick:
            c.polyline({{at.x, at.y - size}, {at.x, at.y + size}}, st.ink, 1.5);
            break;
    }
}

void draw_title(const scene& s, const sheet_rect& box, canvas& c) {
    c.push_clip(box);
    std::string line = "Route " + s.route_id + "   train " + s.train_number + "   " + km_text(s.length_m) + " km";
    c.text({box.x, box.y + 20.0}, line, {18.0});
    std::string sources = "from";
    for (size_t i = 0; i < s.sources.size(); ++i) sources += (i ? ", " : " ") + s.sources[i];
    c.text({box.x, box.y + 40.0}, sources, {small_text});
    c.pop_clip();
}

void draw_legend(const sheet_rect& box, canvas& c) {
    // Two rows, whatever the sheet's width.
    constexpr double row_height = 20.0;
    const double entry_width = box.width / std::ceil(kind_styles().size() / 2.0);
    c.push_clip(box);
    double x = box.x, y = box.y + row_height / 2.0;
    for (const kind_style& st : kind_styles()) {
        if (x + entry_width > right(box) + 0.5 && x > box.x) x = box.x, y += row_height;
        draw_symbol(c, st, {x + 10.0, y}, 8.0);
        c.text({x + 24.0, y + 4.0}, st.kind, {small_text});
        x += entry_width;
    }
    c.pop_clip();
}

void draw_plan(const scene& s, const sheet_rect& box, canvas& c) {
    c.frame_rect(box, ink_colour, 1.0);
    c.text({box.x + 6.0, box.y + 16.0}, "plan", {body_text});
    if (!s.has_plan) {
        c.text({box.x + box.width / 2.0, box.y + box.height / 2.0}, s.plan_note, {14.0, text_anchor::middle});
        return;
    }
    const sheet_rect inner{box.x + plan_inset, box.y + plan_inset, std::max(box.width - 2.0 * plan_inset, 1.0),
                           std::max(box.height - 2.0 * plan_inset, 1.0)};
    const double dx = std::max(s.plan_max_x - s.plan_min_x, 1.0), dy = std::max(s.plan_max_y - s.plan_min_y, 1.0);
    const double k = std::min(inner.width / dx, inner.height / dy);  // device units a metre, both ways
    const double ox = inner.x + (inner.width - dx * k) / 2.0, oy = bottom(inner) - (inner.height - dy * k) / 2.0;
    auto at = [&](scene_point p) { return scene_point{ox + (p.x - s.plan_min_x) * k, oy - (p.y - s.plan_min_y) * k}; };

    // The track under the stretches along it, small signal marks over them, then
    // the posts and the stations, whose names must stay readable.
    auto layer = [](const scene_element& e) {
        if (e.shape == scene_shape::polyline) return 0;
        if (e.shape == scene_shape::band) return 1;
        if (e.kind == scene_kind::signal) return 2;
        if (e.kind == scene_kind::km_post) return 3;
        return 4;
    };
    c.push_clip(box);
    for (int pass = 0; pass <= 4; ++pass)
        for (const scene_element& e : s.elements) {
            if (e.panel != scene_panel::plan || e.points.empty() || layer(e) != pass) continue;
            c.begin_element(e);
            const kind_style& st = style_of(e.kind);
            std::vector<scene_point> pts;
            pts.reserve(e.points.size());
            for (scene_point p : e.points) pts.push_back(at(p));
            switch (e.shape) {
                case scene_shape::polyline: c.polyline(pts, st.ink, 2.0); break;
                case scene_shape::band: c.polyline(pts, st.ink, 7.0); break;
                case scene_shape::marker: draw_symbol(c, st, pts[0], pass == 2 ? 3.0 : 7.0); [[fallthrough]];
                case scene_shape::label:
                    // Posts are named on the left of the track, stations on the right.
                    if (e.text.empty()) break;
                    if (pass == 3)
                        c.text({pts[0].x - 6.0, pts[0].y + 3.0}, e.text, {small_text, text_anchor::end, 0.0, st.ink});
                    else
                        c.text({pts[0].x + 6.0, pts[0].y + 3.0}, e.text, {small_text});
                    break;
            }
            c.end_element();
        }
    c.pop_clip();

    // North is up; the bar is a round length near a fifth of the box.
    const double bar_m = nice_step(inner.width / k / 5.0, true);
    const double bar_y = bottom(box) - 10.0;
    c.polyline({{inner.x, bar_y - 4.0}, {inner.x, bar_y}, {inner.x + bar_m * k, bar_y}, {inner.x + bar_m * k, bar_y - 4.0}},
               ink_colour, 1.5);
    c.text({inner.x + bar_m * k + 6.0, bar_y}, km_text(bar_m) + " km", {small_text});
    const double nx = right(box) - 16.0;
    c.polyline({{nx, box.y + 26.0}, {nx, box.y + 8.0}}, ink_colour, 1.5);
    c.text({nx, box.y + 38.0}, "N", {body_text, text_anchor::middle});
}

struct distance_axis {
    double from_m, to_m, left, right;
    double x(double m) const { return left + (m - from_m) * (right - left) / (to_m - from_m); }
};

struct y_scale {
    double low = 0.0, high = 1.0;  // values at the strip's bottom and top
    double top = 0.0, bottom = 0.0;
    double y(double v) const { return bottom - (v - low) * (bottom - top) / (high - low); }
};

y_scale scale_of(const scene& s, scene_panel panel, const sheet_rect& r) {
    double low = 0.0, high = 0.0;  // zero always shows
    for (const scene_element& e : s.elements)
        if (e.panel == panel)
            for (scene_point p : e.points) low = std::min(low, p.y), high = std::max(high, p.y);
    if (high - low < 1e-9) high = low + 1.0;
    // Round ends, so that the two values written beside the strip read well.
    const double step = nice_step((high - low) / 4.0);
    return {std::floor(low / step) * step, std::ceil(high / step) * step, r.y + 4.0, bottom(r) - 4.0};
}

// free_from: where along the strip the next post's label may begin, so that
// labels never overwrite one another on a long line.
void draw_strip_element(const scene_element& e, const strip_kind& sk, const sheet_rect& r, const distance_axis& ax,
                        const y_scale& ys, double& free_from, canvas& c) {
    const kind_style& st = style_of(e.kind);
    if (e.points.empty()) return;
    const double x = ax.x(e.points[0].x);
    switch (e.shape) {
        case scene_shape::polyline: {
            std::vector<scene_point> pts;
            pts.reserve(e.points.size());
            for (scene_point p : e.points) pts.push_back({ax.x(p.x), sk.has_y ? ys.y(p.y) : r.y + r.height / 2.0});
            c.polyline(pts, st.ink, 2.0);
            return;
        }
        case scene_shape::band: {
            const double x1 = ax.x(e.points.size() > 1 ? e.points[1].x : e.points[0].x);
            c.fill_rect({std::min(x, x1), r.y + 4.0, std::max(std::abs(x1 - x), 1.0), 8.0}, st.ink);
            return;
        }
        case scene_shape::marker:
        case scene_shape::label:
            break;
    }
    const bool marker = e.shape == scene_shape::marker;
    if (sk.has_y) {
        const scene_point at{x, ys.y(e.points[0].y)};
        if (marker) draw_symbol(c, st, at, 7.0);
        if (!e.text.empty()) c.text({at.x, at.y - 7.0}, e.text, {small_text, text_anchor::middle});
    } else if (sk.panel == scene_panel::kilometres) {
        if (marker) c.polyline({{x, r.y}, {x, r.y + 10.0}}, st.ink, 1.5);
        const double half = 0.3 * small_text * static_cast<double>(e.text.size());
        if (!e.text.empty() && x - half >= free_from) {
            c.text({x, r.y + 22.0}, e.text, {small_text, text_anchor::middle});
            free_from = x + half + 4.0;
        }
    } else {
        // Names stand upright along their place, reading upwards from the symbol.
        if (marker) draw_symbol(c, st, {x, bottom(r) - 8.0}, 7.0);
        if (!e.text.empty())
            c.text({x + 4.0, bottom(r) - 16.0}, e.text, {small_text, text_anchor::start, -90.0, st.ink});
    }
}

void draw_strips(const scene& s, const std::vector<sheet_rect>& strips, canvas& c) {
    const double from = s.from_m, to = s.to_m > s.from_m ? s.to_m : s.from_m + 1.0;
    const distance_axis ax{from, to, strips.front().x, right(strips.front())};
    const double step = nice_step((to - from) / 10.0);
    const double first = std::ceil(from / step), last = std::floor(to / step);

    for (size_t i = 0; i < strip_kinds.size(); ++i) {
        const strip_kind& sk = strip_kinds[i];
        const sheet_rect& r = strips[i];
        for (double t = first; t <= last; ++t) c.polyline({{ax.x(t * step), r.y}, {ax.x(t * step), bottom(r)}}, grid_colour, 1.0);
        c.frame_rect(r, ink_colour, 1.0);
        c.text({r.x - label_column + 2.0, r.y + 14.0}, sk.name, {body_text});
        y_scale ys;
        if (sk.has_y) {
            ys = scale_of(s, sk.panel, r);
            const double label_x = r.x - 4.0;
            c.text({label_x, ys.top + 4.0}, decimal_text(ys.high, 1), {small_text, text_anchor::end});
            c.text({label_x, ys.bottom + 4.0}, decimal_text(ys.low, 1), {small_text, text_anchor::end});
            c.polyline({{r.x, ys.y(0.0)}, {right(r), ys.y(0.0)}}, grid_colour, 1.0);
        }
        c.push_clip(r);
        double free_from = -std::numeric_limits<double>::infinity();
        for (const scene_element& e : s.elements) {
            if (e.panel != sk.panel) continue;
            c.begin_element(e);
            draw_strip_element(e, sk, r, ax, ys, free_from, c);
            c.end_element();
        }
        c.pop_clip();
    }
    const double label_y = bottom(strips.back()) + 14.0;
    for (double t = first; t <= last; ++t) c.text({ax.x(t * step), label_y}, km_text(t * step), {small_text, text_anchor::middle});
    c.text({strips.back().x - 12.0, label_y}, "km", {small_text, text_anchor::end});
}

}  // namespace

const std::vector<kind_style>& kind_styles() {
    static const std::vector<kind_style> styles{
        {scene_kind::track, track_colour, kind_symbol::line},
        {scene_kind::station, ink_colour, kind_symbol::dot},
        {scene_kind::signal, {0x2e, 0x8b, 0x57}, kind_symbol::mark},
        {scene_kind::restriction, {0xf2, 0xa1, 0x34}, kind_symbol::band},
        {scene_kind::mountain, {0x8b, 0x5a, 0x2b}, kind_symbol::band},
        {scene_kind::km_post, {0x60, 0x60, 0x60}, kind_symbol::tick},
        {scene_kind::gradient, {0x7b, 0x3f, 0xa0}, kind_symbol::line},
        {scene_kind::height, {0x2a, 0x8c, 0x8c}, kind_symbol::line},
        {scene_kind::line_speed, {0x00, 0x00, 0x00}, kind_symbol::line},
        {scene_kind::restriction_speed, {0xe0, 0x6b, 0x00}, kind_symbol::line},
        {scene_kind::speed_board, {0x80, 0x80, 0x00}, kind_symbol::mark},
        {scene_kind::signal_repetition, {0x7f, 0xc9, 0x7f}, kind_symbol::band},
        {scene_kind::fault, fault_colour, kind_symbol::dot},
    };
    return styles;
}

const kind_style& style_of(std::string_view kind) {
    static const kind_style unknown{"", ink_colour, kind_symbol::dot};
    for (const kind_style& st : kind_styles())
        if (kind == st.kind) return st;
    return unknown;
}

sheet_boxes layout_of(sheet_size size) {
    const double w = size.width, h = size.height;
    const double inner_w = std::max(w - 2.0 * margin, 1.0);
    sheet_boxes b;
    b.title = {margin, margin, inner_w, title_height};
    b.legend = {margin, std::max(h - margin - legend_height, 0.0), inner_w, legend_height};
    const double top = bottom(b.title) + gap;
    const double middle = std::max(b.legend.y - gap - top, 2.0);
    b.plan = {margin, top, inner_w, middle * plan_share};
    double weights = 0.0;
    for (const strip_kind& sk : strip_kinds) weights += sk.weight;
    const double axis_x = margin + label_column, axis_w = std::max(w - margin - axis_x, 1.0);
    const double strips_top = bottom(b.plan) + gap;
    const double room = std::max(b.legend.y - axis_label_room - strips_top - gap * (strip_kinds.size() - 1), 1.0);
    double y = strips_top;
    for (const strip_kind& sk : strip_kinds) {
        const double sh = room * sk.weight / weights;
        b.strips.push_back({axis_x, y, axis_w, sh});
        y += sh + gap;
    }
    return b;
}

std::optional<std::string> sheet_size_problem(sheet_size size) {
    if (size.width >= 1 && size.height >= 1 && size.width <= max_sheet_side && size.height <= max_sheet_side)
        return std::nullopt;
    return "a sheet is 1 to " + std::to_string(max_sheet_side) + " units a side, not " + std::to_string(size.width) +
           " x " + std::to_string(size.height);
}

void check_sheet_size(sheet_size size) {
    if (auto problem = sheet_size_problem(size)) throw std::invalid_argument(*problem);
}

std::string decimal_text(double v, int max_decimals) {
    if (!std::isfinite(v)) v = 0.0;
    std::array<char, 64> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), v, std::chars_format::fixed, max_decimals);
    if (ec != std::errc{}) return "0";
    std::string text(buf.data(), end);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

void draw_sheet(const scene& s, sheet_size size, canvas& c) {
    check_sheet_size(size);
    const sheet_boxes b = layout_of(size);
    draw_title(s, b.title, c);
    draw_plan(s, b.plan, c);
    draw_strips(s, b.strips, c);
    draw_legend(b.legend, c);
}
