#pragma once
// Notices that files changed by polling their size and modification time:
// portable, and an editor's save (in place or by rename) changes one or both.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class file_watch {
public:
    explicit file_watch(std::vector<std::filesystem::path> files);
    // True when any file's size or time differs from the last call's (the first
    // call compares with the construction); a missing file counts as a state.
    bool changed();

private:
    struct stamp {
        std::optional<uintmax_t> size;  // nothing: missing or unreadable
        std::filesystem::file_time_type time{};
        bool operator==(const stamp&) const = default;
    };
    std::vector<stamp> stamps() const;
    std::vector<std::filesystem::path> files_;
    std::vector<stamp> last_;
};
