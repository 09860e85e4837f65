// A watched path seen through every state an edit or a mistake can leave it in.
#include "platform/file_watch.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

TEST(FileWatch, EachStateOfThePathIsAChange) {
    temp_dir dir;
    const auto path = dir.path() / "route.txt";
    write_file(path, "one");
    file_watch watch({path});
    namespace fs = std::filesystem;
    const struct {
        const char* what;
        std::function<void()> step;
        bool changed;
    } steps[] = {
        {"untouched", [] {}, false},
        {"deleted", [&] { fs::remove(path); }, true},
        {"still missing", [] {}, false},
        {"a directory", [&] { fs::create_directory(path); }, true},
#ifndef _WIN32  // links need a privilege there
        {"a dangling link", [&] { fs::remove(path), fs::create_symlink(dir.path() / "nowhere", path); }, true},
        {"a link to a directory", [&] { fs::create_directory(dir.path() / "nowhere"); }, true},
#endif
        {"a file again", [&] { fs::remove(path), write_file(path, "one"); }, true},
        {"rewritten at the same size", [&] { write_file(path, "two"); }, true},
    };
    for (const auto& s : steps) {
        s.step();
        EXPECT_EQ(watch.changed(), s.changed) << s.what;
    }
}
