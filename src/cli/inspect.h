#pragma once
// `inspect`: a compiled file decoded into readable text or JSON.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

struct inspect_options {
    std::filesystem::path file;
    std::string kind;    // route, scenario or cells; empty: from the file's name
    bool json = false;
    std::string cells;   // FROM-TO of cell indices; empty: the non-empty cells
    std::string points;  // FROM-TO of metres; empty: no raw points
};

// Returns the exit status; the decoded file goes to out, failures to err.
int run_inspect(const inspect_options& options, std::ostream& out, std::ostream& err);
