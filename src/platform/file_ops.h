#pragma once
// The thin file layer: everything else works on bytes in memory.
#include <cstdio>
#include <filesystem>
#include <string>

// fopen for a path of the platform's own kind (wide on Windows); nullptr and
// errno on failure.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

bool file_exists(const std::filesystem::path& path);
// The whole file as bytes; throws io_failure.
std::string read_file(const std::filesystem::path& path);
// Replaces the file with exactly these bytes. The bytes go to a temporary file
// in the same directory that is then renamed over the target, so a failure
// half-way never leaves a short file under the real name. Throws io_failure.
void write_file(const std::filesystem::path& path, const std::string& bytes);
// Deletes the file; throws io_failure when it cannot.
void delete_file(const std::filesystem::path& path);
