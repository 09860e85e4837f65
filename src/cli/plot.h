#pragma once
// `plot`: a drawing of a scenario, from its text files (compiled in memory, as
// `compile --check` does) or from its compiled files.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "cli/check_compile.h"
#include "drawing/scene.h"

struct plot_options {
    std::filesystem::path route, train;  // the text files; empty with compiled
    std::filesystem::path compiled;      // the folder of the compiled files; empty: the text files
    std::filesystem::path output;        // .svg, .png or .pdf
    std::string route_id, train_number;  // UTF-8; for text files, empty: from their names
    std::optional<int32_t> from_m, to_m;
    std::string size = "1600x1100";      // WxH
    std::string color = "auto";          // the diagnostics' colours: auto, always or never
};

// Returns the exit status: 0 once the drawing is written, a non-zero error state
// included (the drawing marks the fault); the diagnostics and failures go to err.
int run_plot(const plot_options& options, std::ostream& out, std::ostream& err);

// Whether a compile of the text files left something to draw: it ran to its end
// (no numbered report) and built the grid, an error state notwithstanding.
bool drawable(const checked_compile& c);
// That compile's scene, as `plot` draws it on a sheet `columns` wide.
scene scene_of(const checked_compile& c, std::optional<int32_t> from_m, std::optional<int32_t> to_m, int32_t columns);
