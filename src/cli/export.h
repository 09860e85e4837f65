#pragma once
// `export`: the carried scenario's two text files and three documents into a folder.
#include <filesystem>
#include <ostream>

struct export_options {
    std::filesystem::path directory;
    bool force = false;  // overwrite files already there
};

// Returns the exit status; the diagnostics go to err.
int run_export(const export_options& options, std::ostream& out, std::ostream& err);
