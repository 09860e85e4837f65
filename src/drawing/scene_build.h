#pragma once
// A scene from what a compile holds: the cells, the records and the geometry.
// Positions come from the cells (cell × METRI_CELLA), so a scene built from the text
// files and one built from the compiled files of the same scenario agree.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "drawing/scene.h"
#include "model/cella.h"
#include "model/modello.h"
#include "model/tracciato.h"
#include "model/voce.h"
#include "running/timetable.h"

struct scene_options {
    // The stretch drawn, in metres along the line; without them the whole line.
    std::optional<int32_t> from_m, to_m;
    // How many device columns the distance axis (and the plan) spans: polylines
    // keep no more points than that can show.
    int32_t columns = 1600;
};

struct scene_source {
    const std::vector<cella>* celle = nullptr;
    const std::array<voce, NUMERO_VOCI>* voci = nullptr;
    const tracciato_t* tracciato = nullptr;  // null or not allocated: no plan
    std::string no_plan_note;                // why there is no plan, when there is none
    // The line whose object claimed cell k; empty function or result: unknown.
    std::function<std::optional<luogo_testo>(int64_t k)> line_of_cell;
    // The line of the station in record i (1 upward): not every station marks a cell.
    std::function<std::optional<luogo_testo>(int i)> line_of_station;
    // The paths (UTF-8) of the route and train text files those lines are in.
    std::string route_text, train_text;
    // Whether the code cut in cell k was inserted by the grid pass rather than
    // written by the author; empty function (the compiled files cannot tell, an
    // author may write the value the pass gives): every cut is drawn as written.
    std::function<bool(int64_t k)> cut_inserted;
    std::vector<std::string> sources;  // the files it was built from, as given (UTF-8)
    // The error state's fault, drawn at its place: code, metres, message, line.
    struct fault_mark {
        int32_t code = 0;
        int32_t metres = 0;
        std::string message;
        std::optional<luogo_testo> line;
    };
    std::optional<fault_mark> fault;
    // The fastest run of each section of the timetable, as the running-time
    // engine works it (none without the texts' model), and the train in words.
    std::vector<section_run> runs;
    std::string run_train;
};

// The source of a compile's model, with the lines its reader recorded.
scene_source scene_source_of(const modello& m);

scene build_scene(const scene_source& source, const scene_options& options);
// The scene of a compile's model: build_scene of its source.
scene scene_of(const modello& m, const scene_options& options);
