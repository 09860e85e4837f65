#pragma once
// `compile`: two text files of an author's into the three compiled files.
#include <filesystem>
#include <ostream>
#include <string>

struct compile_options {
    std::filesystem::path route, train, output = ".";
    std::string route_id, train_number;
    bool no_geometry = false, check = false, json = false;
    bool write_on_error = false;  // write even with a non-zero error state
};

// Returns the exit status; the JSON summary (with json) goes to out, the
// diagnostics, the warnings and the numbered report to err.
int run_compile(const compile_options& options, std::ostream& out, std::ostream& err);
