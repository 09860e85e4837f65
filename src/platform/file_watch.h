#pragma once
// Notices that files changed by polling their size and modification time:
// portable, and an editor's save (in place or by rename) changes one or both.
// Where the file system keeps whole seconds only (Windows' C runtime stat), two
// saves of the same size in one second look alike: for a file written in the
// last few seconds (not one dated in the future) the contents are compared too. What the path is (a file, a
// directory, missing, a dangling link) is compared as well.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

class file_watch {
public:
    explicit file_watch(std::vector<std::filesystem::path> files);
    // True when any file differs from the last call's (the first call compares
    // with the construction); a missing file counts as a state.
    bool changed();
    // True at the first call that finds the files as the call before did, after
    // a change: a file still being written (a save caught half-way) is not taken
    // for the file until it has stayed as it is for one call's interval.
    bool settled();

private:
    struct stamp {
        // What the path is (missing, a directory, a dangling link...), followed
        // and not: a path that goes from one such state to another has changed.
        std::filesystem::file_type type = std::filesystem::file_type::none;
        std::filesystem::file_type link_type = std::filesystem::file_type::none;
        std::optional<uintmax_t> size;  // nothing: missing or unreadable
        std::filesystem::file_time_type time{};
        uintmax_t inode = 0;
        std::optional<size_t> contents;  // a hash, for a file written just now
        bool same_as(const stamp& before) const;
    };
    std::vector<stamp> stamps() const;
    std::vector<std::filesystem::path> files_;
    std::vector<stamp> last_;
    bool unsettled_ = false;
};
