#pragma once
// Inputs and output folders named on the command line: checked before any work starts.
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

// Why the path cannot be read as an input file, or nothing when it can: it must
// exist, be a regular file (or a link to one) and open for reading.
std::optional<std::string> input_problem(const std::filesystem::path& path);

// Reads the whole input; on failure says why on err (naming the file) and returns false.
bool read_input_file(const std::filesystem::path& path, std::string& bytes, std::ostream& err);

// Why the path cannot take output files, or nothing when it can: a folder that
// does not exist is created with its parents, unless `create` is false.
std::optional<std::string> output_problem(const std::filesystem::path& path, bool create = true);
