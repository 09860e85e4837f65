#pragma once
// Inputs, outputs and output folders named on the command line: checked before any
// work starts, read and written with the reason of a failure as a value.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/failure.h"
#include "platform/file_ops.h"

// The largest scenario text file read: the largest scenario carried is some
// 20 KB, one of 1,000,000 m about 1 MB. A larger file is refused as too large
// rather than read (and compiled again on every edit of a live view).
inline constexpr uintmax_t MAX_INPUT_FILE_BYTES = 16u << 20;

// Nothing when the path can be read as an input file: it must exist, be a regular
// file (or a link to one) of at most `limit` bytes and open for reading; else
// "PATH: why not" (status 3).
maybe_failure check_input_file(const std::filesystem::path& path, uintmax_t limit = UINTMAX_MAX);

// The whole input, checked first as check_input_file checks it, or why it cannot be read.
result<std::string> read_input_file(const std::filesystem::path& path);

// The whole file as read_file reads it, or its failure naming the file (status 3).
result<std::string> read_file_bytes(const std::filesystem::path& path, uintmax_t limit = UINTMAX_MAX);

// Writes the files (as write_files does), or says why it could not.
maybe_failure write_output_files(const std::vector<file_to_write>& files);
// One file, the same way.
maybe_failure write_output_file(const std::filesystem::path& path, const std::string& bytes);

// Nothing when the path can take output files: a folder that does not exist is
// created with its parents, unless `create` is false; else "PATH: why not" (status 3).
maybe_failure check_output_folder(const std::filesystem::path& path, bool create = true);
