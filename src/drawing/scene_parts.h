#pragma once
// The builder's pieces: the stretch drawn, the plan's track at the sheet's
// resolution, and the profiles read off the cells.
#include <cstdint>
#include <functional>
#include <vector>

#include "drawing/scene.h"
#include "model/cella.h"
#include "model/tracciato.h"

// The stretch of the distance axis drawn, and the least gap between two points
// of a polyline that the sheet can still tell apart: half a device column.
struct scene_stretch {
    int32_t from = 0, to = 0;
    double min_dx = 0.0;
    bool holds(int64_t p) const { return p >= from && p <= to; }
    bool touches(int64_t a, int64_t b) const { return b >= from && a <= to; }
    double clip(int64_t p) const { return static_cast<double>(p < from ? from : p > to ? to : p); }
};

// The track over the stretch, scaled as the plan is drawn: the whole stretch's
// extent over the columns.
class scene_plan {
public:
    scene_plan(const tracciato_t& t, const scene_stretch& s, int32_t columns);
    bool empty() const { return first_ > last_; }
    // The point at a metre of the line, held to the computed metres of the stretch.
    scene_point at(int64_t metre) const;
    // The track from metre a to metre b (held to the stretch), reduced.
    std::vector<scene_point> track(int64_t a, int64_t b) const;
    double min_x = 0, max_x = 0, min_y = 0, max_y = 0;

private:
    const tracciato_t& t_;
    int32_t first_ = 0, last_ = -1;  // the computed metres within the stretch
    double min_d_ = 0;
};

// A cell field along the stretch as steps: each cell's value over its metres.
std::vector<scene_point> cell_steps(const std::vector<cella>& celle, const scene_stretch& s, double (*value)(const cella&));
// The same for a value of cell k that is not one of its fields alone.
std::vector<scene_point> cell_steps(const std::vector<cella>& celle, const scene_stretch& s,
                                    const std::function<double(int64_t k)>& value);

// Where a value holds unchanged along the stretch: [from, to) metres.
struct value_run {
    double from = 0, to = 0, value = 0;
};
std::vector<value_run> cell_runs(const std::vector<cella>& celle, const scene_stretch& s,
                                 const std::function<double(int64_t k)>& value);

// Metres gained from the start of the line, cell by cell, over the stretch.
std::vector<scene_point> cell_heights(const std::vector<cella>& celle, const scene_stretch& s, double (*per_mille)(const cella&));
