#pragma once
// Inputs, outputs and output folders named on the command line: checked before any
// work starts, read and written with the reason of a failure as a value.
#include <filesystem>
#include <optional>
#include <string>

#include "platform/failure.h"

// Why the path cannot be read as an input file, or nothing when it can: it must
// exist, be a regular file (or a link to one) and open for reading.
std::optional<std::string> input_problem(const std::filesystem::path& path);

// The whole input, or why it cannot be read (naming the file).
result<std::string> read_input_file(const std::filesystem::path& path);

// Writes the file whole (as write_file does), or says why it could not.
maybe_failure write_output_file(const std::filesystem::path& path, const std::string& bytes);

// Why the path cannot take output files, or nothing when it can: a folder that
// does not exist is created with its parents, unless `create` is false.
std::optional<std::string> output_problem(const std::filesystem::path& path, bool create = true);
