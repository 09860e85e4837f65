// A watched path seen through every state an edit or a mistake can leave it in.
#include "platform/file_watch.h"

#include <gtest/gtest.h>

#include <chrono>
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
#ifndef _WIN32  // no inode there
        // Another file renamed into the path, of the same size and time, long ago:
        // only its identity tells it apart.
        {"dated long ago", [&] { fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1)); }, true},
        {"replaced alike", [&] {
             write_file(dir.path() / "new", "six");
             fs::last_write_time(dir.path() / "new", fs::last_write_time(path));
             fs::rename(dir.path() / "new", path);
         }, true},
#endif
        // A time in the future is no recent write to read again at every poll.
        {"dated in the future", [&] { fs::last_write_time(path, fs::file_time_type::clock::now() + std::chrono::hours(1)); }, true},
        {"untouched in the future", [] {}, false},
    };
    for (const auto& s : steps) {
        s.step();
        EXPECT_EQ(watch.changed(), s.changed) << s.what;
    }
}

// A change counts once the files stay as they are from one call to the next:
// a file written across two calls is taken after the second.
TEST(FileWatch, AChangeSettlesWhenTheNextCallFindsItUnchanged) {
    temp_dir dir;
    const auto path = dir.path() / "train.txt";
    write_file(path, "[generale]");
    file_watch watch({path});
    EXPECT_FALSE(watch.settled());  // untouched
    write_file(path, "[generale]\r\nvelocita");
    EXPECT_FALSE(watch.settled());  // half-written
    write_file(path, "[generale]\r\nvelocita, 0, 100\r\n[fine]\r\n");
    EXPECT_FALSE(watch.settled());  // written on
    EXPECT_TRUE(watch.settled());   // as it was: taken
    EXPECT_FALSE(watch.settled());  // and only once
}
