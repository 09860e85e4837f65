#pragma once
// What a sheet of the route shows, before it is drawn: a plain list of
// polylines, markers, bands and labels, each saying what it stands for (kind,
// position, values) and, where it has one, the text line it came from. Every
// renderer draws the same scene, and the viewer reads the same annotations.
#include <cstdint>
#include <string>
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

// The kinds a scene holds; names as written in the SVG's data-kind attribute.
namespace scene_kind {
inline constexpr const char* track = "track";
inline constexpr const char* station = "station";
inline constexpr const char* signal = "signal";
inline constexpr const char* restriction = "restriction";
inline constexpr const char* mountain = "mountain";
inline constexpr const char* km_post = "km-post";
inline constexpr const char* gradient = "gradient";
inline constexpr const char* height = "height";
inline constexpr const char* line_speed = "line-speed";
inline constexpr const char* restriction_speed = "restriction-speed";
inline constexpr const char* speed_board = "speed-board";
inline constexpr const char* signal_repetition = "signal-repetition";
inline constexpr const char* fault = "fault";
inline constexpr const char* board = "board";                  // an indication board, its text
inline constexpr const char* code_cut = "code-cut";            // written by the author
inline constexpr const char* inserted_cut = "inserted-cut";    // inserted around a restriction
inline constexpr const char* permitted_speed = "permitted-speed";  // line speed lowered by restrictions
inline constexpr const char* restriction_point = "restriction-point";  // a restriction's pre-warning, warning, start, end
inline constexpr const char* station_area = "station-area";    // a station's platform extent
inline constexpr const char* gradient_value = "gradient-value";  // a step's value, where there is room
inline constexpr const char* speed_value = "speed-value";
inline constexpr const char* time_distance = "time-distance";    // the time panel as a whole
inline constexpr const char* scheduled_time = "scheduled-time";  // a timed station's time, and the line joining them
inline constexpr const char* fastest_run = "fastest-run";        // the fastest run of a section: its speed, its times
}  // namespace scene_kind

struct scene_element {
    std::string kind;  // one of scene_kind
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
