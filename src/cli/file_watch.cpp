#include "cli/file_watch.h"

#include <system_error>
#include <utility>

file_watch::file_watch(std::vector<std::filesystem::path> files) : files_(std::move(files)), last_(stamps()) {}

std::vector<file_watch::stamp> file_watch::stamps() const {
    std::vector<stamp> out;
    for (const auto& f : files_) {
        std::error_code size_ec, time_ec;
        stamp s;
        const uintmax_t size = std::filesystem::file_size(f, size_ec);
        s.time = std::filesystem::last_write_time(f, time_ec);
        if (!size_ec && !time_ec) s.size = size;
        else s.time = {};
        out.push_back(s);
    }
    return out;
}

bool file_watch::changed() {
    std::vector<stamp> now = stamps();
    if (now == last_) return false;
    last_ = std::move(now);
    return true;
}
