#pragma once
// The thin file layer: everything else works on bytes in memory.
#include <cstdio>
#include <filesystem>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/failure.h"

// fopen for a path of the platform's own kind (wide on Windows); nullptr and
// errno on failure.
std::FILE* open_file(const std::filesystem::path& path, const char* mode);

bool file_exists(const std::filesystem::path& path);

// A regular file opened for reading, of at most a known size.
class opened_input {
public:
    opened_input(opened_input&& o) noexcept : file_(std::exchange(o.file_, nullptr)), size_(o.size_), limit_(o.limit_) {}
    opened_input& operator=(opened_input&&) = delete;
    ~opened_input();
    uintmax_t size() const { return size_; }
    // The whole file, or why it could not be read (status 3).
    result<std::string> read_all();

private:
    opened_input() = default;
    friend result<opened_input> open_input(const std::filesystem::path&, uintmax_t);
    std::FILE* file_ = nullptr;
    uintmax_t size_ = 0, limit_ = 0;
};
// The file opened (without waiting, and not inherited by a child) and then
// checked on what was opened: a regular file of at most `limit` bytes; else the
// failure saying why not ("is not a regular file", "is too large: ...", status 3),
// with the system's reason when it cannot be opened.
result<opened_input> open_input(const std::filesystem::path& path, uintmax_t limit = UINTMAX_MAX);
// The reason a file of `size` bytes is refused under `limit`.
std::string too_large(uintmax_t size, uintmax_t limit);

// The whole file as bytes, when it is a regular file of at most `limit` bytes;
// throws io_failure.
std::string read_file(const std::filesystem::path& path, uintmax_t limit = UINTMAX_MAX);

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
