#include "platform/file_watch.h"

#include <chrono>
#include <variant>
#include <functional>
#include <string>
#include <system_error>
#include <utility>

#include <sys/stat.h>

#include "platform/file_ops.h"
#include "platform/input_files.h"

namespace {

// Longer than the coarsest time a file system keeps (FAT's two seconds).
constexpr auto RECENT = std::chrono::seconds(3);

// Opened as every input is (a FIFO put in the file's place is not waited on) and
// no larger than an input may be: the compile refuses a larger one anyway.
std::optional<size_t> hash_of(const std::filesystem::path& file) {
    result<opened_input> opened = open_input(file, MAX_INPUT_FILE_BYTES);
    if (!opened) return std::nullopt;
    const result<std::string> bytes = opened->read_all();
    if (!bytes) return std::nullopt;
    return std::hash<std::string>{}(*bytes);
}

// The file's identity on its device, so that a file renamed into the path with
// the same size and time still counts as a change.
uintmax_t inode_of(const std::filesystem::path& file) {
#ifdef _WIN32
    (void)file;
    return 0;
#else
    struct stat st;
    return ::stat(file.c_str(), &st) == 0 ? static_cast<uintmax_t>(st.st_ino) : 0;
#endif
}

}  // namespace

bool file_watch::stamp::same_as(const stamp& before) const {
    return type == before.type && link_type == before.link_type && size == before.size && time == before.time &&
           inode == before.inode &&
           (!contents || !before.contents || *contents == *before.contents);
}

file_watch::file_watch(std::vector<std::filesystem::path> files) : files_(std::move(files)), last_(stamps()) {}

std::vector<file_watch::stamp> file_watch::stamps() const {
    std::vector<stamp> out;
    for (const auto& f : files_) {
        std::error_code size_ec, time_ec;
        stamp s;
        std::error_code type_ec;
        s.type = std::filesystem::status(f, type_ec).type();
        s.link_type = std::filesystem::symlink_status(f, type_ec).type();
        const uintmax_t size = std::filesystem::file_size(f, size_ec);
        s.time = std::filesystem::last_write_time(f, time_ec);
        if (!size_ec && !time_ec) {
            s.size = size;
            s.inode = inode_of(f);
            // A time in the future is no recent write: hashed, it would be read
            // again at every poll for as long as the clock lags behind it.
            const auto age = std::filesystem::file_time_type::clock::now() - s.time;
            if (age >= age.zero() && age < RECENT) s.contents = hash_of(f);
        } else {
            s.time = {};
        }
        out.push_back(s);
    }
    return out;
}

bool file_watch::changed() {
    std::vector<stamp> now = stamps();
    bool same = true;
    for (size_t i = 0; i < now.size(); ++i) same = same && now[i].same_as(last_[i]);
    last_ = std::move(now);
    return !same;
}

bool file_watch::settled() {
    if (changed()) {
        unsettled_ = true;
        return false;
    }
    const bool was = unsettled_;
    unsettled_ = false;
    return was;
}
