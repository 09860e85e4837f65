#include "drawing/sheet_layout.h"

#include "drawing/font_widths.h"
#include "model/utf8.h"
#include "running/figures.h"
#include "platform/exit_status.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <optional>
#include <set>
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
constexpr double small_text = 11.0;  // the least a screen reads at one unit a CSS pixel
constexpr double body_text = 12.0;
// Of the size, above and below the baseline: DejaVu Sans's capitals and descenders.
constexpr double text_ascent = 0.76, text_descent = 0.24;
constexpr double label_gap = 2.0;  // kept clear around every label

struct strip_kind {
    scene_panel panel;
    const char* name;
    double weight;  // share of the strips' height
    bool has_y;     // points' y is drawn on a scale of the strip's own
    double least;   // the height its rows and labels need
    bool clock = false;  // y is seconds, scaled and written as times of day
};
constexpr std::array<strip_kind, 6> strip_kinds{{
    {scene_panel::gradient, "gradient", 1.7, true, 44.0, false},
    {scene_panel::height, "height (m)", 1.7, true, 36.0, false},
    {scene_panel::speed, "speed (km/h)", 3.0, true, 56.0, false},
    {scene_panel::time, "timetable", 4.0, true, 48.0, true},
    {scene_panel::objects, "objects", 3.4, false, 130.0, false},
    {scene_panel::kilometres, "km posts", 1.2, false, 30.0, false},
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
        case kind_symbol::frame:
            c.frame_rect({at.x - size / 2.0, at.y - size / 2.0, size, size}, st.ink, 1.5);
            break;
        case kind_symbol::cross:
            c.polyline({{at.x - size / 2.0, at.y - size / 2.0}, {at.x + size / 2.0, at.y + size / 2.0}}, st.ink, 1.5);
            c.polyline({{at.x - size / 2.0, at.y + size / 2.0}, {at.x + size / 2.0, at.y - size / 2.0}}, st.ink, 1.5);
            break;
        case kind_symbol::none:
            break;
    }
}

// Where a label may stand: its anchor point, how it is anchored and turned.
struct label_spot {
    scene_point at;
    text_anchor anchor = text_anchor::start;
    double rotation_deg = 0.0;
};

// The labels placed so far on the sheet, and the box a label must keep within.
struct label_room {
    std::vector<sheet_rect>& taken;
    sheet_rect bounds;

    bool fits(const sheet_rect& b) const {
        if (!encloses(bounds, b)) return false;
        for (const sheet_rect& t : taken)
            if (overlaps({t.x - label_gap, t.y - label_gap, t.width + 2 * label_gap, t.height + 2 * label_gap}, b))
                return false;
        return true;
    }
    // The first spot where the text fits, taken; nothing when none is free.
    std::optional<label_spot> take(std::string_view text, sheet_text style, std::initializer_list<label_spot> spots) {
        for (const label_spot& sp : spots) {
            style.anchor = sp.anchor, style.rotation_deg = sp.rotation_deg;
            const sheet_rect b = text_box(sp.at, text, style);
            if (!fits(b)) continue;
            taken.push_back(b);
            return sp;
        }
        return std::nullopt;
    }
    bool put(canvas& c, std::string_view text, sheet_text style, std::initializer_list<label_spot> spots) {
        const auto sp = take(text, style, spots);
        if (!sp) return false;
        style.anchor = sp->anchor, style.rotation_deg = sp->rotation_deg;
        c.text(sp->at, text, style);
        return true;
    }
};

}  // namespace

std::string fitted(std::string text, double size, double width) {
    if (text_width(text, size) <= width) return text;
    // One whole character off the end at a time, so that what is left stays UTF-8.
    while (!text.empty() && text_width(text + "\u2026", size) > width)
        text.resize(inizio_carattere(text, text.size() - 1));
    return text.empty() ? text : text + "\u2026";
}

namespace {

void draw_title(const scene& s, const sheet_rect& box, label_room room, canvas& c) {
    room.bounds = box;
    std::string line = "Route " + s.route_id + "   train " + s.train_number + "   " + km_text(s.length_m) + " km";
    // A stretch says which: on each of a long line's pages, the one it holds.
    if (s.from_m != 0 || s.to_m != s.length_m)
        line += "   this sheet: " + km_text(s.from_m) + "\u2013" + km_text(s.to_m) + " km";
    if (!s.page_note.empty()) line += ", " + s.page_note;
    room.put(c, fitted(line, 18.0, box.width), {18.0}, {{{box.x, box.y + 20.0}}});
    std::string sources = "from";
    for (size_t i = 0; i < s.sources.size(); ++i) sources += (i ? ", " : " ") + s.sources[i];
    room.put(c, fitted(sources, small_text, box.width), {small_text}, {{{box.x, box.y + 40.0}}});
}

// The kinds the scene holds that have a symbol, in the legend's order.
std::vector<const kind_style*> kinds_shown(const scene& s) {
    std::set<scene_kind> present;
    for (const scene_element& e : s.elements) present.insert(e.kind);
    std::vector<const kind_style*> out;
    for (const kind_style& st : kind_styles())
        if (st.symbol != kind_symbol::none && present.count(st.kind)) out.push_back(&st);
    return out;
}

void draw_legend(const scene& s, const sheet_rect& box, label_room room, canvas& c) {
    // Two rows, whatever the sheet's width.
    constexpr double row_height = 20.0;
    const std::vector<const kind_style*> shown = kinds_shown(s);
    if (shown.empty()) return;
    const double entry_width = box.width / std::ceil(shown.size() / 2.0);
    room.bounds = box;
    double x = box.x, y = box.y + row_height / 2.0;
    for (const kind_style* st : shown) {
        if (x + entry_width > right(box) + 0.5 && x > box.x) x = box.x, y += row_height;
        draw_symbol(c, *st, {x + 10.0, y}, 8.0);
        room.put(c, fitted(std::string(kind_name(st->kind)), small_text, entry_width - 28.0), {small_text},
                 {{{x + 24.0, y + 4.0}}});
        x += entry_width;
    }
}

void draw_plan(const scene& s, const sheet_rect& box, label_room room, canvas& c) {
    c.frame_rect(box, ink_colour, 1.0);
    room.bounds = {box.x + 1.0, box.y + 1.0, box.width - 2.0, box.height - 2.0};
    room.put(c, "plan", {body_text}, {{{box.x + 6.0, box.y + 16.0}}});
    if (!s.has_plan) {
        room.put(c, fitted(s.plan_note, 14.0, box.width - 12.0), {14.0},
                 {{{box.x + box.width / 2.0, box.y + box.height / 2.0}, text_anchor::middle}});
        return;
    }
    const sheet_rect inner{box.x + plan_inset, box.y + plan_inset, std::max(box.width - 2.0 * plan_inset, 1.0),
                           std::max(box.height - 2.0 * plan_inset, 1.0)};
    const double dx = std::max(s.plan_max_x - s.plan_min_x, 1.0), dy = std::max(s.plan_max_y - s.plan_min_y, 1.0);
    const double k = std::min(inner.width / dx, inner.height / dy);  // device units a metre, both ways
    const double ox = inner.x + (inner.width - dx * k) / 2.0, oy = bottom(inner) - (inner.height - dy * k) / 2.0;
    auto at = [&](scene_point p) { return scene_point{ox + (p.x - s.plan_min_x) * k, oy - (p.y - s.plan_min_y) * k}; };

    // North is up; the bar is a round length near a fifth of the box.
    const double bar_m = nice_step(inner.width / k / 5.0, true);
    const double bar_y = bottom(box) - 10.0;
    c.polyline({{inner.x, bar_y - 4.0}, {inner.x, bar_y}, {inner.x + bar_m * k, bar_y}, {inner.x + bar_m * k, bar_y - 4.0}},
               ink_colour, 1.5);
    room.put(c, km_text(bar_m) + " km", {small_text}, {{{inner.x + bar_m * k + 6.0, bar_y}}});
    const double nx = right(box) - 16.0;
    c.polyline({{nx, box.y + 26.0}, {nx, box.y + 8.0}}, ink_colour, 1.5);
    room.put(c, "N", {body_text}, {{{nx, box.y + 38.0}, text_anchor::middle}});

    // The track under the stretches along it, small signal marks over them, then
    // the stations, whose names come first, and the posts.
    auto layer = [](const scene_element& e) {
        if (e.shape == scene_shape::polyline) return 0;
        if (e.shape == scene_shape::band) return 1;
        if (e.kind == scene_kind::signal) return 2;
        if (e.kind == scene_kind::km_post) return 4;
        return 3;
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
                case scene_shape::label: {
                    if (e.text.empty()) break;
                    // Stations first on the right of the track, posts first on the left;
                    // then the other side, above, below.
                    const scene_point p = pts[0];
                    const label_spot r{{p.x + 6.0, p.y + 3.0}}, l{{p.x - 6.0, p.y + 3.0}, text_anchor::end},
                        up{{p.x, p.y - 7.0}, text_anchor::middle}, down{{p.x, p.y + 14.0}, text_anchor::middle},
                        r_up{{p.x + 5.0, p.y - 5.0}}, r_down{{p.x + 5.0, p.y + 11.0}},
                        l_up{{p.x - 5.0, p.y - 5.0}, text_anchor::end}, l_down{{p.x - 5.0, p.y + 11.0}, text_anchor::end};
                    const sheet_text style{small_text, text_anchor::start, 0.0, pass == 4 ? st.ink : ink_colour};
                    if (pass == 4)
                        room.put(c, e.text, style, {l, r, l_up, l_down, up, down});
                    else
                        room.put(c, e.text, style, {r, l, r_up, r_down, l_up, l_down, up, down});
                    break;
                }
            }
            c.end_element();
        }
    c.pop_clip();
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

// Steps of a time scale, in seconds: whole minutes and hours.
constexpr std::array<double, 9> CLOCK_STEPS{60, 120, 300, 600, 900, 1800, 3600, 7200, 21600};

y_scale scale_of(const scene& s, const strip_kind& sk, const sheet_rect& r) {
    // Zero always shows, but on a clock: its times are what the stretch holds.
    double low = sk.clock ? std::numeric_limits<double>::infinity() : 0.0, high = -low;
    for (const scene_element& e : s.elements)
        if (e.panel == sk.panel && e.shape != scene_shape::label && e.shape != scene_shape::band)
            for (scene_point p : e.points) low = std::min(low, p.y), high = std::max(high, p.y);
    if (low > high) low = high = 0.0;
    if (high - low < 1e-9) high = low + (sk.clock ? 60.0 : 1.0);
    // Round ends, so that the two values written beside the strip read well;
    // room above for the steps' values. A clock's at whole minutes of the day.
    double step = nice_step((high - low) / 4.0), origin = 0.0;
    if (sk.clock) {
        step = CLOCK_STEPS.back(), origin = double(s.time_origin_s);
        for (const double c : CLOCK_STEPS)
            if (c >= (high - low) / 4.0) {
                step = c;
                break;
            }
    }
    return {std::floor((low + origin) / step) * step - origin, std::ceil((high + origin) / step) * step - origin,
            r.y + 16.0, bottom(r) - 4.0};
}

// A value of a strip's scale as written beside it.
std::string scale_text(const scene& s, const strip_kind& sk, double v) {
    return sk.clock ? clock_label(s.time_origin_s + std::llround(v)) : decimal_text(v, 1);
}

constexpr double mark_row_height = 9.0;
// The rows of the objects lane, from its top: the bands, then the names, and
// the marks from its bottom up, one row a kind so that each reads apart.
double mark_row(scene_kind kind, const sheet_rect& r) {
    const std::pair<scene_kind, int> rows[] = {
        {scene_kind::signal, 0},      {scene_kind::speed_board, 1}, {scene_kind::restriction_point, 2},
        {scene_kind::code_cut, 3},    {scene_kind::inserted_cut, 3}, {scene_kind::board, 4},
        {scene_kind::fault, 5},
    };
    for (const auto& [k, row] : rows)
        if (k == kind) return bottom(r) - 6.0 - mark_row_height * row;
    return bottom(r) - 6.0;
}
constexpr double objects_marks_height = 6 * mark_row_height + 3.0;
double band_row(scene_kind kind, const sheet_rect& r) {
    return kind == scene_kind::signal_repetition ? r.y + 4.0 : kind == scene_kind::station_area ? r.y + 14.0 : r.y + 24.0;
}

void draw_strip_element(const scene_element& e, const strip_kind& sk, const sheet_rect& r, const distance_axis& ax,
                        const y_scale& ys, label_room& room, canvas& c) {
    const kind_style& st = style_of(e.kind);
    if (e.points.empty()) return;
    const double x = ax.x(e.points[0].x);
    switch (e.shape) {
        case scene_shape::polyline: {
            std::vector<scene_point> pts;
            pts.reserve(e.points.size());
            for (scene_point p : e.points) pts.push_back({ax.x(p.x), sk.has_y ? ys.y(p.y) : r.y + r.height / 2.0});
            const scene_kind kind = e.kind;
            c.polyline(pts, st.ink, kind == scene_kind::permitted_speed ? 2.5 : kind == scene_kind::restriction_speed ? 1.0 : 1.5);
            return;
        }
        case scene_shape::band: {
            const double x1 = ax.x(e.points.size() > 1 ? e.points[1].x : e.points[0].x);
            // In the objects lane a row a kind; elsewhere along the strip's foot,
            // under the profile it marks the stretch of.
            const bool objects = sk.panel == scene_panel::objects;
            const double y = objects ? band_row(e.kind, r) : sk.panel == scene_panel::speed ? bottom(r) - 6.0 : r.y + 4.0;
            c.fill_rect({std::min(x, x1), y, std::max(std::abs(x1 - x), 1.0), objects ? 8.0 : 4.0}, st.ink);
            return;
        }
        case scene_shape::marker:
        case scene_shape::label:
            break;
    }
    const bool marker = e.shape == scene_shape::marker;
    const sheet_text style{small_text, text_anchor::start, 0.0, st.ink == colour{} ? ink_colour : st.ink};
    if (sk.has_y) {
        // A step's value over its middle, else under it.
        const scene_point at{x, ys.y(e.points[0].y)};
        if (marker) draw_symbol(c, st, at, sk.clock ? 5.0 : 7.0);
        // A point's own label may stand to either side of it, at a panel's ends.
        if (e.text.empty()) return;
        if (marker)
            room.put(c, e.text, style,
                     {{{at.x, at.y - 5.0}, text_anchor::middle}, {{at.x, at.y + 14.0}, text_anchor::middle},
                      {{at.x + 3.0, at.y - 5.0}}, {{at.x - 3.0, at.y - 5.0}, text_anchor::end},
                      {{at.x + 3.0, at.y + 14.0}}, {{at.x - 3.0, at.y + 14.0}, text_anchor::end}});
        else
            room.put(c, e.text, style,
                     {{{at.x, at.y - 4.0}, text_anchor::middle}, {{at.x, at.y + 13.0}, text_anchor::middle}});
    } else if (sk.panel == scene_panel::kilometres) {
        if (marker) c.polyline({{x, r.y}, {x, r.y + 10.0}}, st.ink, 1.5);
        // At the lane's ends a post's label stands beside it instead.
        if (!e.text.empty())
            room.put(c, e.text, style,
                     {{{x, r.y + 22.0}, text_anchor::middle}, {{x + 2.0, r.y + 22.0}}, {{x - 2.0, r.y + 22.0}, text_anchor::end}});
    } else {
        const double row = mark_row(e.kind, r);
        if (marker) draw_symbol(c, st, {x, row}, 6.0);
        if (e.text.empty()) return;
        // Names read upwards from over the marks, beside their place; a name too
        // long for that stands level in the names' rows, cut to the lane's width
        // only when it is longer than the lane.
        const double base = bottom(r) - objects_marks_height;
        const std::string level = fitted(e.text, small_text, r.width - 4.0);
        const double top = r.y + 34.0;
        if (room.put(c, e.text, style, {{{x + 4.0, base}, text_anchor::start, -90.0}, {{x - 1.0, base}, text_anchor::start, -90.0}}))
            return;
        for (double y = top; y <= base; y += 12.0)
            if (room.put(c, level, style, {{{x + 3.0, y}}, {{x - 3.0, y}, text_anchor::end}})) return;
        // Aside, joined to its place by a leader line.
        for (double d = 16.0; d <= 240.0; d += 16.0)
            for (double y = top; y <= base; y += 12.0) {
                const auto sp = room.take(level, style, {{{x + d, y}}, {{x - d, y}, text_anchor::end}});
                if (!sp) continue;
                c.polyline({{x, base + 2.0}, {x, y + 3.0}, {sp->at.x, y + 3.0}}, grid_colour, 1.0);
                sheet_text aside = style;
                aside.anchor = sp->anchor;
                c.text(sp->at, level, aside);
                return;
            }
    }
}

void draw_strips(const scene& s, const std::vector<sheet_rect>& strips, std::vector<sheet_rect>& taken, canvas& c) {
    const double from = s.from_m, to = s.to_m > s.from_m ? s.to_m : s.from_m + 1.0;
    const distance_axis ax{from, to, strips.front().x, right(strips.front())};
    const double step = nice_step((to - from) / 10.0);
    const double first = std::ceil(from / step), last = std::floor(to / step);

    // The labels that must show come first: the fault's, then the stations', the boards'.
    std::vector<size_t> order(s.elements.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    const auto rank = [&](size_t i) {
        const scene_kind k = s.elements[i].kind;
        return k == scene_kind::fault ? 0 : k == scene_kind::station ? 1 : k == scene_kind::board ? 2 : 3;
    };
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return rank(a) < rank(b); });

    for (size_t i = 0; i < strip_kinds.size(); ++i) {
        const strip_kind& sk = strip_kinds[i];
        const sheet_rect& r = strips[i];
        for (double t = first; t <= last; ++t) c.polyline({{ax.x(t * step), r.y}, {ax.x(t * step), bottom(r)}}, grid_colour, 1.0);
        c.frame_rect(r, ink_colour, 1.0);
        // A panel shown as a whole is the group of all it draws.
        const auto whole = std::find_if(s.elements.begin(), s.elements.end(), [&](const scene_element& e) {
            return e.panel == sk.panel && e.shape == scene_shape::band && e.kind == scene_kind::time_distance;
        });
        if (whole != s.elements.end()) c.begin_element(*whole);
        label_room column{taken, {r.x - label_column, r.y, label_column - 2.0, r.height}};
        y_scale ys;
        if (sk.has_y) {
            ys = scale_of(s, sk, r);
            const double label_x = r.x - 4.0;
            column.put(c, scale_text(s, sk, ys.high), {small_text}, {{{label_x, ys.top + 4.0}, text_anchor::end}});
            column.put(c, scale_text(s, sk, ys.low), {small_text},
                       {{{label_x, ys.bottom + 4.0}, text_anchor::end}, {{label_x, ys.bottom}, text_anchor::end}});
            if (!sk.clock) c.polyline({{r.x, ys.y(0.0)}, {right(r), ys.y(0.0)}}, grid_colour, 1.0);
        }
        column.put(c, sk.name, {body_text},
                   {{{r.x - label_column + 2.0, r.y + r.height / 2.0 + 4.0}}, {{r.x - label_column + 2.0, r.y + 14.0}}});
        label_room room{taken, {r.x + 1.0, r.y + 1.0, r.width - 2.0, r.height - 2.0}};
        c.push_clip(r);
        for (const size_t k : order) {
            const scene_element& e = s.elements[k];
            if (e.panel != sk.panel || (whole != s.elements.end() && &e == &*whole)) continue;
            c.begin_element(e);
            draw_strip_element(e, sk, r, ax, ys, room, c);
            c.end_element();
        }
        c.pop_clip();
        if (whole != s.elements.end()) c.end_element();
    }
    const double label_y = bottom(strips.back()) + 14.0;
    label_room axis{taken, {strips.back().x - label_column, bottom(strips.back()), strips.back().width + label_column + margin,
                            axis_label_room}};
    axis.put(c, "km", {small_text}, {{{strips.back().x - 12.0, label_y}, text_anchor::end}});
    for (double t = first; t <= last; ++t)
        axis.put(c, km_text(t * step), {small_text}, {{{ax.x(t * step), label_y}, text_anchor::middle},
                                                      {{ax.x(t * step), label_y}, text_anchor::end},
                                                      {{ax.x(t * step), label_y}, text_anchor::start}});
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
        {scene_kind::permitted_speed, {0xc0, 0x10, 0x30}, kind_symbol::line},
        {scene_kind::station_area, {0x9a, 0x9a, 0x9a}, kind_symbol::band},
        {scene_kind::board, {0x2a, 0x4d, 0x9b}, kind_symbol::frame},
        {scene_kind::code_cut, {0x8b, 0x00, 0x00}, kind_symbol::tick},
        {scene_kind::inserted_cut, {0xd2, 0x4b, 0x00}, kind_symbol::cross},
        {scene_kind::restriction_point, {0xf2, 0xa1, 0x34}, kind_symbol::tick},
        {scene_kind::gradient_value, {0x7b, 0x3f, 0xa0}, kind_symbol::none},
        {scene_kind::speed_value, {0xc0, 0x10, 0x30}, kind_symbol::none},
        {scene_kind::fastest_run, {0x00, 0x66, 0xcc}, kind_symbol::line},
        {scene_kind::scheduled_time, {0x8e, 0x24, 0x8a}, kind_symbol::dot},
        {scene_kind::time_distance, ink_colour, kind_symbol::none},
    };
    return styles;
}

const kind_style& style_of(scene_kind kind) {
    // Every kind has a style; one left out of the table is drawn in ink.
    static const kind_style unknown{scene_kind::track, ink_colour, kind_symbol::dot};
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
    double weights = 0.0, least = 0.0;
    for (const strip_kind& sk : strip_kinds) weights += sk.weight, least += sk.least;
    // The strips take their share, but never less than their rows need: on a
    // small page the plan gives up the rest (down to a quarter).
    const double fixed = axis_label_room + gap * strip_kinds.size();
    const double strips_room = std::max({middle * (1.0 - plan_share) - fixed, least, 1.0});
    const double plan_h = std::max(middle - fixed - strips_room, middle * 0.25);
    const double room = std::max(middle - fixed - plan_h, 1.0);
    b.plan = {margin, top, inner_w, plan_h};
    const double axis_x = margin + label_column, axis_w = std::max(w - margin - axis_x, 1.0);
    // Each strip its least, and of the rest its share. Short of room, the
    // graphs give it up first: the objects' rows hold names that must show.
    const double spare = std::max(room - least, 0.0);
    double graphs = 0.0;
    for (const strip_kind& sk : strip_kinds) graphs += sk.has_y ? sk.least : 0.0;
    const double rows = least - graphs;
    const double graph_scale = least <= room ? 1.0 : std::max(room - rows, 0.0) / graphs;
    const double scale = least <= room || room >= rows ? 1.0 : room / rows;
    double y = bottom(b.plan) + gap;
    for (const strip_kind& sk : strip_kinds) {
        const double sh = sk.least * (sk.has_y ? std::min(graph_scale, 1.0) : scale) + spare * sk.weight / weights;
        b.strips.push_back({axis_x, y, axis_w, sh});
        y += sh + gap;
    }
    return b;
}

maybe_failure sheet_size_failure(sheet_size size) {
    if (size.width >= 1 && size.height >= 1 && size.width <= max_sheet_side && size.height <= max_sheet_side)
        return std::nullopt;
    return failure{EXIT_FAILURE_IO, "a sheet is 1 to " + std::to_string(max_sheet_side) + " units a side, not " +
                                         std::to_string(size.width) + " x " + std::to_string(size.height)};
}

void check_sheet_size(sheet_size size) {
    if (auto f = sheet_size_failure(size)) throw std::invalid_argument(f->message);
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
    std::vector<sheet_rect> taken;
    draw_title(s, b.title, {taken, {}}, c);
    draw_plan(s, b.plan, {taken, {}}, c);
    draw_strips(s, b.strips, taken, c);
    draw_legend(s, b.legend, {taken, {}}, c);
}

namespace {

double advance_of(char32_t code) {
    const auto it = std::lower_bound(dejavu_sans_widths.begin(), dejavu_sans_widths.end(), code,
                                     [](const glyph_width& g, char32_t c) { return g.code < c; });
    return it != dejavu_sans_widths.end() && it->code == code ? it->width / 1000.0 : 1.0;
}

}  // namespace

double text_width(std::string_view utf8, double size) {
    double em = 0.0;
    for (size_t i = 0; i < utf8.size();) {
        const carattere_utf8 c = carattere_in(utf8, i);
        em += advance_of(c.punto);
        i += c.lunghezza;
    }
    return em * size;
}

std::string clock_label(int64_t seconds) {
    std::string text = clock_hms(seconds);
    if (text.ends_with(":00")) text.resize(text.size() - 3);
    return text;
}

sheet_rect text_box(scene_point at, std::string_view utf8, const sheet_text& style) {
    const double w = text_width(utf8, style.size);
    const double x0 = style.anchor == text_anchor::start ? 0.0 : style.anchor == text_anchor::middle ? -w / 2.0 : -w;
    const double a = style.rotation_deg * 3.14159265358979323846 / 180.0, cs = std::cos(a), sn = std::sin(a);
    double lo_x = std::numeric_limits<double>::infinity(), hi_x = -lo_x, lo_y = lo_x, hi_y = -lo_x;
    for (const double dx : {x0, x0 + w})
        for (const double dy : {-text_ascent * style.size, text_descent * style.size}) {
            const double px = at.x + dx * cs - dy * sn, py = at.y + dx * sn + dy * cs;
            lo_x = std::min(lo_x, px), hi_x = std::max(hi_x, px), lo_y = std::min(lo_y, py), hi_y = std::max(hi_y, py);
        }
    return {lo_x, lo_y, hi_x - lo_x, hi_y - lo_y};
}

bool overlaps(const sheet_rect& a, const sheet_rect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool encloses(const sheet_rect& outer, const sheet_rect& inner) {
    constexpr double slack = 1e-6;
    return inner.x >= outer.x - slack && inner.y >= outer.y - slack && right(inner) <= right(outer) + slack &&
           bottom(inner) <= bottom(outer) + slack;
}
