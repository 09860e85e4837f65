#pragma once
// What a sheet of the route shows, before it is drawn: a plain list of
// polylines, markers, bands and labels, each saying what it stands for (kind,
// position, values) and, where it has one, the text line it came from. Every
// renderer draws the same scene, and the viewer reads the same annotations.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct scene_point {
    double x = 0.0;
    double y = 0.0;
    bool operator==(const scene_point&) const = default;
};

// The strips of the sheet, top to bottom. The plan has its own x/y in metres;
// every other strip shares one distance axis: x is metres along the line.
enum class scene_panel : uint8_t {
    plan,        // the track seen from above
    gradient,    // y: the gradient, in the simulator's unit
    height,      // y: metres gained from the start
    speed,       // y: km/h
    time,        // the graphical timetable, y: seconds after the scene's time_origin_s
    objects,     // boards, stations, signal repetition, faults: y unused
    kilometres,  // kilometric posts: y unused
};

enum class scene_shape : uint8_t {
    polyline,  // points joined in order
    marker,    // one point, drawn as the kind's symbol
    band,      // a stretch along the line, from points[0].x to points[1].x
               // (on the plan: the track's points over the stretch)
    label,     // text at points[0]
};

// The kinds a scene holds.
enum class scene_kind : uint8_t {
    track,
    station,
    signal,
    restriction,
    mountain,
    km_post,
    gradient,
    height,
    line_speed,
    restriction_speed,
    speed_board,
    signal_repetition,
    fault,
    board,              // an indication board, its text
    code_cut,           // written by the author
    inserted_cut,       // inserted around a restriction
    permitted_speed,    // line speed lowered by restrictions
    restriction_point,  // a restriction's pre-warning, warning, start, end
    station_area,       // a station's platform extent
    gradient_value,     // a step's value, where there is room
    speed_value,
    time_distance,   // the time panel as a whole
    scheduled_time,  // a timed station's time, and the line joining them
    fastest_run,     // the fastest run of a section: its speed, its times
};

struct scene_kind_entry {
    scene_kind kind;
    std::string_view name;  // as written in the SVG's data-kind attribute and the legend
};
// Every kind's name, in the enum's order.
inline constexpr auto SCENE_KINDS = std::to_array<scene_kind_entry>({
    {scene_kind::track, "track"},
    {scene_kind::station, "station"},
    {scene_kind::signal, "signal"},
    {scene_kind::restriction, "restriction"},
    {scene_kind::mountain, "mountain"},
    {scene_kind::km_post, "km-post"},
    {scene_kind::gradient, "gradient"},
    {scene_kind::height, "height"},
    {scene_kind::line_speed, "line-speed"},
    {scene_kind::restriction_speed, "restriction-speed"},
    {scene_kind::speed_board, "speed-board"},
    {scene_kind::signal_repetition, "signal-repetition"},
    {scene_kind::fault, "fault"},
    {scene_kind::board, "board"},
    {scene_kind::code_cut, "code-cut"},
    {scene_kind::inserted_cut, "inserted-cut"},
    {scene_kind::permitted_speed, "permitted-speed"},
    {scene_kind::restriction_point, "restriction-point"},
    {scene_kind::station_area, "station-area"},
    {scene_kind::gradient_value, "gradient-value"},
    {scene_kind::speed_value, "speed-value"},
    {scene_kind::time_distance, "time-distance"},
    {scene_kind::scheduled_time, "scheduled-time"},
    {scene_kind::fastest_run, "fastest-run"},
});
static_assert(SCENE_KINDS.size() == static_cast<size_t>(scene_kind::fastest_run) + 1);
static_assert([] {
    for (size_t i = 0; i < SCENE_KINDS.size(); ++i)
        if (static_cast<size_t>(SCENE_KINDS[i].kind) != i) return false;
    return true;
}());

constexpr std::string_view kind_name(scene_kind k) { return SCENE_KINDS[static_cast<size_t>(k)].name; }

struct scene_element {
    scene_kind kind = scene_kind::track;
    scene_shape shape = scene_shape::marker;
    scene_panel panel = scene_panel::plan;
    std::vector<scene_point> points;
    std::string text;      // the label's or the marker's name (UTF-8), may be empty
    int32_t from_m = 0;    // where along the line it stands
    int32_t to_m = 0;      // where it ends; from_m for a point
    // What it shows beyond its place, in a fixed order: ("speed_kmh", "60"), ...
    std::vector<std::pair<std::string, std::string>> values;
    std::string file;      // the text file it was read from (UTF-8); empty when unknown
    int32_t line = 0;      // 1-based; 0 when unknown

    bool operator==(const scene_element&) const = default;
};

struct scene {
    std::string route_id;       // UTF-8
    std::string train_number;   // UTF-8
    int32_t length_m = 0;       // the route's length as written
    std::vector<std::string> sources;  // the files it was built from, as given
    int32_t from_m = 0;         // the stretch drawn, on the distance axis
    int32_t to_m = 0;
    int64_t time_origin_s = 0;  // the first timed station's time of day, the time panel's 0
    std::string page_note;      // the title's word on which page of several this is; may be empty
    bool has_plan = false;      // false: no geometry; plan_note says why
    std::string plan_note;
    // Bounds of the plan's points (metres), for scaling north up.
    double plan_min_x = 0.0, plan_max_x = 0.0, plan_min_y = 0.0, plan_max_y = 0.0;
    std::vector<scene_element> elements;  // drawn in order

    bool operator==(const scene&) const = default;
};
