#pragma once
// The thin file layer: everything else works on bytes in memory.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// fopen for a path of the platform's own kind (wide on Windows); nullptr and
// errno on failure.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

bool file_exists(const std::filesystem::path& path);
// The whole file as bytes; throws io_failure.
std::string read_file(const std::filesystem::path& path);

// Takes a file's bytes piece by piece, for a file too large to hold twice.
using byte_sink = std::function<void(std::string_view)>;

struct file_to_write {
    std::filesystem::path path;
    std::string bytes;
    // When set, it hands over the file's bytes instead of `bytes`.
    std::function<void(const byte_sink&)> produce = nullptr;
};
// The one call that puts bytes into an open file (fwrite's shape). Tests stand
// in for it to make a write fail part-way.
using write_step = std::size_t (*)(const void* data, std::size_t size, std::FILE* file);

// Writes every file or none. Each file's bytes first go to a new temporary file
// beside it (never one that already exists, so no file of the user's is ever
// replaced by it); only when all of them are complete are they renamed over
// their targets. On a failure every temporary file is removed and no target is
// touched. Throws io_failure naming the target and the reason.
void write_files(const std::vector<file_to_write>& files, write_step step = nullptr);
// One file, the same way.
void write_file(const std::filesystem::path& path, const std::string& bytes);
// Deletes the file; throws io_failure when it cannot.
void delete_file(const std::filesystem::path& path);
