#include "platform/file_watch.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>

namespace {

// Longer than the coarsest time a file system keeps (FAT's two seconds).
constexpr auto RECENT = std::chrono::seconds(3);

std::optional<size_t> hash_of(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return std::hash<std::string>{}(bytes);
}

}  // namespace

bool file_watch::stamp::same_as(const stamp& before) const {
    return type == before.type && link_type == before.link_type && size == before.size && time == before.time &&
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
            if (std::filesystem::file_time_type::clock::now() - s.time < RECENT) s.contents = hash_of(f);
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
