#pragma once
// `compile`: two text files of an author's into the three compiled files.
#include <filesystem>
#include <ostream>
#include <cstdint>
#include <string>
#include <vector>

struct compile_options {
    std::filesystem::path route, train, output = ".";
    std::string route_id, train_number;
    bool no_geometry = false, check = false;
    bool write_on_error = false;  // write even with a non-zero error state
    std::string format = "text";  // text, json or sarif: the machine form on out
    std::string color = "auto";   // auto, always or never
    int32_t error_limit = 20;     // 0: no limit
    std::vector<std::string> warnings;  // the -W flags, "-W" left off, in order
};

// Returns the exit status; the JSON summary (with json) goes to out, the
// diagnostics, the warnings and the numbered report to err.
int run_compile(const compile_options& options, std::ostream& out, std::ostream& err);
