#pragma once
// The commands, each as options and a run that returns the exit status: what
// the command line parses into and calls, and what the tests call directly.
// Each run prints on the streams it is given and nowhere else.
#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "viewer/live_compile.h"

// `compile`: two text files of an author's into the three compiled files.
struct compile_options {
    std::filesystem::path route, train, output = ".";
    std::optional<std::string> route_id, train_number;  // not given: from the files' names
    bool no_geometry = false, check = false;
    bool write_on_error = false;  // write even with a non-zero error state
    std::string format = "text";  // text, json or sarif: the machine form on out
    std::string color = "auto";   // auto, always or never
    int32_t error_limit = 20;     // 0: no limit
    std::vector<std::string> warnings;  // the -W flags, "-W" left off, in order
    std::filesystem::path train_profile;  // the train the timetable's warnings assume; empty: the default
};

// Returns the exit status; the JSON summary (with json) goes to out, the
// diagnostics, the warnings and the numbered report to err.
int run_compile(const compile_options& options, std::ostream& out, std::ostream& err);

// `export`: the carried scenario's two text files and three documents into a folder.
struct export_options {
    std::filesystem::path directory;
    bool force = false;  // overwrite files already there
};

// Returns the exit status; the diagnostics go to err.
int run_export(const export_options& options, std::ostream& out, std::ostream& err);

// `documents`: the driver's three papers for an author's scenario, compiled in memory.
// The train and the stops the running times assume (`timetable`, `documents`).
struct running_choice {
    std::filesystem::path train_profile;  // empty: the default train
    std::string stops = "all";            // all or none, before --stop and --pass
    std::vector<std::string> stop, pass;  // station names, UTF-8
};

// `documents`: the driver's papers for an author's scenario; the card's recovery
// margins and speeds from the running times of the chosen train.
struct documents_options : running_choice {
    std::filesystem::path route, train, output = ".";
    std::optional<std::string> route_id, train_number;  // not given: from the files' names
    std::filesystem::path notes;  // the author's own text for the notes sheet; empty: none
    bool force = false;           // overwrite documents already there
    std::string color = "auto";   // the diagnostics' colours: auto, always or never
};

// Returns the exit status; the diagnostics and failures go to err. Writes all
// three documents or none, and none for a scenario with an error.
int run_documents(const documents_options& options, std::ostream& out, std::ostream& err);

// `inspect`: a compiled file decoded into readable text or JSON.
struct inspect_options {
    std::filesystem::path file;
    std::string kind;    // route, scenario or cells; empty: from the file's name
    bool json = false;
    std::string cells;   // FROM-TO of cell indices; empty: the non-empty cells
    std::string points;  // FROM-TO of metres; empty: no raw points
};

// Returns the exit status; the decoded file goes to out, failures to err.
int run_inspect(const inspect_options& options, std::ostream& out, std::ostream& err);

// `errors`: every error code, what it means and how an author mends it.
struct errors_options {
    std::optional<int> code;  // one code; none: all of them
    bool json = false;
    bool verbose = false;  // also which stage records it and what the run does next
};

// Returns the exit status: 0, or 2 for a code that does not exist.
int run_errors(const errors_options& options, std::ostream& out, std::ostream& err);

// `plot`: a drawing of a scenario, from its text files (compiled in memory, as
// `compile --check` does) or from its compiled files.
struct plot_options {
    std::filesystem::path route, train;  // the text files; empty with compiled
    std::filesystem::path compiled;      // the folder of the compiled files; empty: the text files
    std::filesystem::path output;        // .svg, .png or .pdf
    std::optional<std::string> route_id, train_number;  // UTF-8; for text files, not given: from their names
    std::optional<int32_t> from_m, to_m;
    std::optional<std::string> size;     // WxH, PNG and SVG; not given: 1600x1100
    std::optional<std::string> paper;    // PDF: A4, A3, A2 or A1, landscape; not given: A3
    std::optional<int32_t> km_per_page;  // PDF: not given, the whole stretch up to 100 km, else 50 km a page
    std::string color = "auto";          // the diagnostics' colours: auto, always or never
};

// Returns the exit status: 0 once the drawing is written, a non-zero error state
// included (the drawing marks the fault); the diagnostics and failures go to err.
int run_plot(const plot_options& options, std::ostream& out, std::ostream& err);

// `serve`: a live view of a scenario in the browser, compiled again whenever one
// of its two text files changes.
struct serve_options {
    viewer_inputs inputs;
    uint16_t port = 8765;  // 0: one the system picks
    bool open = false;     // open the page in the browser
};

// Serves until Ctrl-C, then returns 0; the address goes to out, each compile's
// diagnostics to err.
int run_serve(const serve_options& options, std::ostream& out, std::ostream& err);

// `timetable`: the timetable of a scenario beside the running times of a train model.
struct timetable_options : running_choice {
    std::filesystem::path route, train;
    std::optional<std::string> route_id, train_number;  // not given: from the files' names
    std::string format = "text";          // text, json or csv
    std::string color = "auto";
};

// Returns compile's exit statuses; the table goes to out, the diagnostics to err.
int run_timetable(const timetable_options& options, std::ostream& out, std::ostream& err);

// `lsp`: the language server for editors, on the streams it is given.
struct lsp_options {
    bool stdio = false;  // clients pass --stdio; stdio is the only transport
};

// Serves until the client's exit; returns 0 after a shutdown, 1 without one.
int run_lsp(const lsp_options& options, std::istream& in, std::ostream& out);
