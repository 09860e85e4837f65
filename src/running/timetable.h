#pragma once
// The timetable of a scenario beside what a train can do: for each timed
// station its scheduled time, and for each section from the timed station
// before it the bound at the permitted speeds and the model's minimum times.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/modello.h"
#include "running/permitted_speed.h"
#include "running/train_model.h"

// Which timed stations the train stops at: all or none, then each named one
// (Windows-1252, as the station names are held) stopped at (true) or passed.
struct stop_choice {
    bool all = true;
    std::map<std::string, bool> named;
};

// A step forward of at least this much from one time to the next is taken as a
// time earlier than the one before, not as a run across midnight.
constexpr int64_t HALF_DAY_S = 12 * 3600;

struct timed_station {
    int32_t number = 0;  // its record in voci, from 1
    int32_t line = -1;   // its line in registro.righe
    std::string name;    // Windows-1252
    int32_t position_m = 0;
    std::optional<int64_t> km;  // the kilometre reading, in metres
    int64_t scheduled_s = 0;    // seconds after midnight, as the record holds it
    bool stop = true;
};

// From the timed station before to this one.
struct timed_section {
    int64_t scheduled_s = 0;  // the step forward, 0 to a day less a second
    bool earlier = false;     // the step is HALF_DAY_S or more: a time earlier than the one before
    // Not known over a metre whose limit is 0 km/h.
    std::optional<double> bound_s;     // at the permitted speeds, head only, full speed at once
    // The model from the station before as the chosen stops have it (standing,
    // or at the speed it passed it at), running through this one or stopping here.
    std::optional<double> min_pass_s;
    std::optional<double> min_stop_s;
    std::optional<double> min_s;  // the one of the two the chosen stops make
    std::string limit;                 // the stretch the chosen run spends longest in, in words
    int32_t limit_line = -1;           // the restriction's line among registro.righe, -1 for none
};

struct timetable_figures {
    train_in_use train;
    std::vector<timed_station> stations;
    std::vector<timed_section> sections;  // one per station, the first empty
};

// The run the figures chose over one section, point by point from the timed
// station before (a metre apart): its speed and the seconds since it left there.
struct section_run {
    size_t section = 0;  // in timetable_figures.sections
    int32_t from_m = 0;
    std::vector<double> speed_ms, seconds;
};

// A section's recovery margin: its scheduled time less the model's minimum, where
// both are known and the time is not earlier than the one before.
std::optional<double> margin_of(const timed_section& s);

// Whether a compile's model is whole enough to run a train over: no error
// state, no report, and its cells.
bool runs_over(const modello& m);

// The stations with a time (not 0:00:00), in line order, with their record and line.
std::vector<timed_station> timed_stations(const modello& m);

// The step forward from one time of day to the next, 0 to a day less a second.
int64_t step_forward(int64_t from_s, int64_t to_s);

// The figures of a compiled scenario (no error state) for a train.
// `model_runs` false leaves the model's minimum times out (the bounds only);
// `runs`, when given, receives the chosen run of each section the model ran.
timetable_figures timetable_of(const modello& m, const train_model& profile, const stop_choice& stops,
                               bool model_runs = true, std::vector<section_run>* runs = nullptr);
