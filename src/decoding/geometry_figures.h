#pragma once
// Summary figures of a route geometry, so that an author can check the curves of a
// compiled route without reading a quarter of a million points.
#include <cstdint>
#include <vector>

#include "model/tracciato.h"

struct detected_curve {
    int32_t from_metre = 0;  // the curve line's start: the last point before the first turned step
    int32_t metres = 0;      // number of turned steps
    double degrees = 0.0;    // signed: positive turns right (towards +x from +y)
};

struct geometry_figures {
    int32_t last_metre = 0;       // the geometry holds metres 0 to last_metre
    int32_t last_computed = 0;    // points 0 to last_computed all hold a value
    int32_t integers = 0, doubles = 0, empties = 0;  // elements by tag, both components
    double track_length = 0.0;    // sum of the step lengths up to last_computed
    double end_x = 0.0, end_y = 0.0;
    double min_x = 0.0, max_x = 0.0, min_y = 0.0, max_y = 0.0;
    double start_heading = 0.0, end_heading = 0.0;  // degrees clockwise from +y
    double left_degrees = 0.0, right_degrees = 0.0;  // total turning each way, both positive
    std::vector<detected_curve> curves;
};

geometry_figures measure_geometry(const tracciato_t& t);
