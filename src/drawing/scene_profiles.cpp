#include <algorithm>
#include <cmath>

#include "drawing/scene_parts.h"

scene_plan::scene_plan(const tracciato_t& t, const scene_stretch& s, int32_t columns) : t_(t) {
    // The geometry is computed up to some metre; the metres after it stay empty.
    int32_t last = t.allocato() ? t.ultimo_metro : -1;
    while (last >= 0 && t.tag(t.indice(last, 0)) == elemento_tracciato::VUOTO &&
           t.tag(t.indice(last, 1)) == elemento_tracciato::VUOTO)
        --last;
    first_ = std::max(s.from, 0);
    last_ = std::min(s.to, last);
    if (empty()) return;
    min_x = max_x = t.valore(first_, 0);
    min_y = max_y = t.valore(first_, 1);
    for (int32_t m = first_ + 1; m <= last_; ++m) {
        const double x = t.valore(m, 0), y = t.valore(m, 1);
        min_x = std::min(min_x, x), max_x = std::max(max_x, x);
        min_y = std::min(min_y, y), max_y = std::max(max_y, y);
    }
    min_d_ = std::max(max_x - min_x, max_y - min_y) / std::max(columns, 1) / 2.0;
}

scene_point scene_plan::at(int64_t metre) const {
    const auto m = static_cast<int32_t>(std::clamp<int64_t>(metre, first_, last_));
    return {t_.valore(m, 0), t_.valore(m, 1)};
}

std::vector<scene_point> scene_plan::track(int64_t a, int64_t b) const {
    const auto from = static_cast<int32_t>(std::max<int64_t>(a, first_));
    const auto to = static_cast<int32_t>(std::min<int64_t>(b, last_));
    std::vector<scene_point> out;
    if (from > to) return out;
    out.push_back(at(from));
    scene_point p;
    for (int32_t m = from + 1; m <= to; ++m) {
        p = at(m);
        if (std::max(std::abs(p.x - out.back().x), std::abs(p.y - out.back().y)) >= min_d_) out.push_back(p);
    }
    if (to > from && !(out.back() == p)) out.push_back(p);
    return out;
}

namespace {

// The cells that cover the stretch, or an empty range.
struct cell_range {
    int64_t first = 0, last = -1;
    double end_x = 0;  // where the last one ends within the stretch
};

cell_range cells_of(const std::vector<cella>& celle, const scene_stretch& s) {
    cell_range r;
    r.first = s.from / METRI_CELLA;
    r.last = std::min<int64_t>(std::max(s.to - 1, s.from) / METRI_CELLA, static_cast<int64_t>(celle.size()) - 1);
    r.end_x = std::min<double>(s.to, static_cast<double>((r.last + 1) * METRI_CELLA));
    return r;
}

// A step to level y at x. A step closer to the previous one than the sheet can
// show moves that one's level instead, so that no column holds more than one.
void step_to(std::vector<scene_point>& p, double x, double y, double min_dx) {
    if (p.empty()) {
        p.push_back({x, y});
        return;
    }
    if (y == p.back().y) return;
    const size_t n = p.size();
    if (n >= 2 && p[n - 2].x == p[n - 1].x && x - p.back().x < min_dx) {
        p.back().y = y;
        if (p[n - 2].y == y) p.resize(n - 2);  // the merged step goes nowhere
        return;
    }
    p.push_back({x, p.back().y});
    p.push_back({x, y});
}

}  // namespace

std::vector<scene_point> cell_steps(const std::vector<cella>& celle, const scene_stretch& s, double (*value)(const cella&)) {
    return cell_steps(celle, s, [&](int64_t k) { return value(celle[static_cast<size_t>(k)]); });
}

std::vector<scene_point> cell_steps(const std::vector<cella>& celle, const scene_stretch& s,
                                    const std::function<double(int64_t k)>& value) {
    const cell_range r = cells_of(celle, s);
    std::vector<scene_point> p;
    if (r.first > r.last) return p;
    step_to(p, s.from, value(r.first), s.min_dx);
    for (int64_t k = r.first + 1; k <= r.last; ++k) step_to(p, static_cast<double>(k * METRI_CELLA), value(k), s.min_dx);
    if (r.end_x > p.back().x) p.push_back({r.end_x, p.back().y});
    return p;
}

std::vector<value_run> cell_runs(const std::vector<cella>& celle, const scene_stretch& s,
                                 const std::function<double(int64_t k)>& value) {
    const cell_range r = cells_of(celle, s);
    std::vector<value_run> out;
    for (int64_t k = r.first; k <= r.last; ++k) {
        const double v = value(k);
        const double a = std::max<double>(s.from, static_cast<double>(k * METRI_CELLA));
        const double b = std::min<double>(r.end_x, static_cast<double>((k + 1) * METRI_CELLA));
        if (!out.empty() && out.back().value == v)
            out.back().to = b;
        else
            out.push_back({a, b, v});
    }
    return out;
}

std::vector<scene_point> cell_heights(const std::vector<cella>& celle, const scene_stretch& s,
                                      double (*per_mille)(const cella&)) {
    const cell_range r = cells_of(celle, s);
    std::vector<scene_point> p;
    if (r.first > r.last) return p;
    auto rise = [&](int64_t k, double metres) { return per_mille(celle[static_cast<size_t>(k)]) * metres / 1000.0; };
    double h = 0;  // at the start of cell k
    for (int64_t k = 0; k < r.first; ++k) h += rise(k, METRI_CELLA);
    p.push_back({static_cast<double>(s.from), h + rise(r.first, s.from - static_cast<double>(r.first * METRI_CELLA))});
    for (int64_t k = r.first + 1; k <= r.last; ++k) {
        h += rise(k - 1, METRI_CELLA);
        // The height runs straight while the gradient holds: a point where it changes.
        const auto x = static_cast<double>(k * METRI_CELLA);
        if (rise(k, 1) != rise(k - 1, 1) && x - p.back().x >= s.min_dx) p.push_back({x, h});
    }
    const scene_point end{r.end_x, h + rise(r.last, r.end_x - static_cast<double>(r.last * METRI_CELLA))};
    if (end.x > p.back().x) p.push_back(end);
    return p;
}
