#include <algorithm>

#include "decoding/geometry_figures.h"
#include "decoding/inspect_views.h"

namespace {

std::string element_text(const elemento_tracciato& e) {
    if (e.tag == elemento_tracciato::INTERO) return std::to_string(e.intero);
    if (e.tag == elemento_tracciato::REALE) return exact_number(e.reale);
    return "empty";
}

nlohmann::json element_json(const elemento_tracciato& e) {
    if (e.tag == elemento_tracciato::INTERO) return e.intero;
    if (e.tag == elemento_tracciato::REALE) return e.reale;
    return nullptr;
}

int32_t last_point(const tracciato_t& t, const index_range& r) {
    return static_cast<int32_t>(std::min<int64_t>(r.to, t.ultimo_metro));
}

}  // namespace

void print_route(const tracciato_t& t, const std::optional<index_range>& points, std::ostream& out) {
    const geometry_figures f = measure_geometry(t);
    out << "compiled route file, metres 0 to " << f.last_metre;
    if (f.last_metre >= 7000) out << " (route length " << f.last_metre - 7000 << " m + 7000 m)";
    out << "\n";
    out << "elements: " << f.integers << " integers, " << f.doubles << " doubles, " << f.empties << " empty\n";
    if (f.last_computed < 0) {
        out << "points computed: none (the compile stopped before the geometry)\n";
    } else {
        out << "points computed: metres 0 to " << f.last_computed << "\n";
        out << "track length: " << fixed_number(f.track_length, 3) << " m; end point (" << fixed_number(f.end_x, 3)
            << ", " << fixed_number(f.end_y, 3) << ")\n";
        out << "bounding box: x " << fixed_number(f.min_x, 3) << " to " << fixed_number(f.max_x, 3) << ", y "
            << fixed_number(f.min_y, 3) << " to " << fixed_number(f.max_y, 3) << "\n";
        out << "heading (degrees clockwise from +y): start " << fixed_number(f.start_heading, 4) << ", end "
            << fixed_number(f.end_heading, 4) << "; turning " << fixed_number(f.left_degrees, 4) << " left, "
            << fixed_number(f.right_degrees, 4) << " right\n";
        out << "curves: " << f.curves.size() << "\n";
        for (const detected_curve& c : f.curves)
            out << "  from metre " << c.from_metre << ", " << c.metres << " m, " << (c.degrees > 0 ? "right " : "left ")
                << fixed_number(std::abs(c.degrees), 4) << " degrees\n";
    }
    if (points) {
        out << "points (metre: x y):\n";
        for (int32_t m = static_cast<int32_t>(points->from); m <= last_point(t, *points); ++m)
            out << "  " << m << ": " << element_text(t.at(m, 0)) << " " << element_text(t.at(m, 1)) << "\n";
    }
}

nlohmann::json route_json(const tracciato_t& t, const std::optional<index_range>& points) {
    const geometry_figures f = measure_geometry(t);
    nlohmann::json j;
    j["last_metre"] = f.last_metre;
    j["route_length"] = f.last_metre >= 7000 ? nlohmann::json(f.last_metre - 7000) : nlohmann::json(nullptr);
    j["elements"] = {{"integers", f.integers}, {"doubles", f.doubles}, {"empty", f.empties}};
    j["last_computed_metre"] = f.last_computed;
    j["track_length"] = f.track_length;
    j["end_point"] = {{"x", f.end_x}, {"y", f.end_y}};
    j["bounding_box"] = {{"min_x", f.min_x}, {"max_x", f.max_x}, {"min_y", f.min_y}, {"max_y", f.max_y}};
    j["heading"] = {{"start_degrees", f.start_heading},
                    {"end_degrees", f.end_heading},
                    {"left_degrees", f.left_degrees},
                    {"right_degrees", f.right_degrees}};
    j["curves"] = nlohmann::json::array();
    for (const detected_curve& c : f.curves)
        j["curves"].push_back({{"from_metre", c.from_metre},
                               {"metres", c.metres},
                               {"side", c.degrees > 0 ? "right" : "left"},
                               {"degrees", std::abs(c.degrees)}});
    if (points) {
        j["points"] = nlohmann::json::array();
        for (int32_t m = static_cast<int32_t>(points->from); m <= last_point(t, *points); ++m)
            j["points"].push_back({{"metre", m}, {"x", element_json(t.at(m, 0))}, {"y", element_json(t.at(m, 1))}});
    }
    return j;
}
