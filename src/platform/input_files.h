#pragma once
// Inputs, outputs and output folders named on the command line: checked before any
// work starts, read and written with the reason of a failure as a value.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/failure.h"

// The largest scenario text file read: the largest scenario carried is some
// 20 KB, one of 1,000,000 m about 1 MB. A larger file is refused as too large
// rather than read (and compiled again on every edit of a live view).
inline constexpr uintmax_t MAX_INPUT_FILE_BYTES = 16u << 20;

// Why the path cannot be read as an input file, or nothing when it can: it must
// exist, be a regular file (or a link to one) of at most `limit` bytes and open for reading.
std::optional<std::string> input_problem(const std::filesystem::path& path, uintmax_t limit = UINTMAX_MAX);

// The whole input, or why it cannot be read (naming the file).
result<std::string> read_input_file(const std::filesystem::path& path);

// Writes the file whole (as write_file does), or says why it could not.
maybe_failure write_output_file(const std::filesystem::path& path, const std::string& bytes);

// Why the path cannot take output files, or nothing when it can: a folder that
// does not exist is created with its parents, unless `create` is false.
std::optional<std::string> output_problem(const std::filesystem::path& path, bool create = true);
