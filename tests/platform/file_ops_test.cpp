#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <variant>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "platform/io_failure.h"
#include "tests/support/temp_dir.h"

TEST(FileOps, WriteReplacesALongerFileAndLeavesNoTemporary) {
    temp_dir dir;
    auto path = dir.path() / "out.dat";
    write_file(path, std::string(100, 'x'));
    write_file(path, "abc");
    EXPECT_EQ(read_file(path), "abc");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"out.dat"});
}

TEST(FileOps, FailuresNameThePath) {
    temp_dir dir;
    auto missing = dir.path() / "missing.txt";
    EXPECT_FALSE(file_exists(missing));
    try {
        read_file(missing);
        FAIL() << "no failure";
    } catch (const io_failure& e) {
        EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos);
    }
    EXPECT_THROW(delete_file(missing), io_failure);
    EXPECT_THROW(write_file(dir.path() / "no" / "such" / "dir.dat", "x"), io_failure);
    EXPECT_TRUE(dir.names().empty());
}

namespace {

// Writes half of the second file it is given, then fails as a full disk would.
std::size_t fails_in_the_second_file(const void* data, std::size_t size, std::FILE* file) {
    static int calls = 0;
    if (++calls % 2 == 1) return std::fwrite(data, 1, size, file);
    std::fwrite(data, 1, size / 2, file);
    errno = ENOSPC;
    return size / 2;
}

}  // namespace

TEST(FileOps, AFileSetIsWrittenWholeOrNotAtAll) {
    const struct {
        const char* what;
        write_step step;
        bool b_is_a_directory;
        const char* said;  // part of the failure, empty for success
    } cases[] = {
        {"written", nullptr, false, ""},
        {"a write fails part-way", fails_in_the_second_file, false, "cannot write "},
        {"a target is a directory", nullptr, true, "b.dat: Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        temp_dir dir;
        // The user's own files, among them one under the name a temporary would take first.
        write_file(dir.path() / "a.dat", "old a");
        write_file(dir.path() / "b.dat.partial", "mine");
        if (c.b_is_a_directory) std::filesystem::create_directory(dir.path() / "b.dat");
        // b.dat is handed over in pieces, as a file too large to hold twice is.
        const std::vector<file_to_write> files = {
            {dir.path() / "a.dat", "new a"},
            {dir.path() / "b.dat", "", [](const byte_sink& put) {
                 put("new ");
                 put("b");
             }}};
        const auto before = dir.names();
        try {
            write_files(files, c.step);
            EXPECT_STREQ(c.said, "");
            EXPECT_EQ(read_file(dir.path() / "a.dat"), "new a");
            EXPECT_EQ(read_file(dir.path() / "b.dat"), "new b");
            EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.dat", "b.dat", "b.dat.partial"}));
        } catch (const io_failure& e) {
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
            if (!c.b_is_a_directory) {
                EXPECT_NE(std::string(e.what()).find(std::strerror(ENOSPC)), std::string::npos);
            }
            EXPECT_EQ(read_file(dir.path() / "a.dat"), "old a");
            EXPECT_EQ(dir.names(), before);
        }
        EXPECT_EQ(read_file(dir.path() / "b.dat.partial"), "mine");
    }
}

// An input is checked on what was opened, not by its name: a FIFO put in a
// file's place is refused at once rather than waited on for good.
TEST(FileOps, InputsAreCheckedOnWhatOpened) {
    temp_dir dir;
    write_file(dir.path() / "small", "12345");
    const auto problem = [](const std::filesystem::path& p, uintmax_t limit) {
        const result<opened_input> opened = open_input(p, limit);
        return opened ? "" : opened.error().message;
    };
    EXPECT_EQ(problem(dir.path() / "small", 5), "");
    EXPECT_EQ(problem(dir.path() / "small", 4), "is too large: 5 bytes, over the limit of 4 bytes");
    EXPECT_THROW(read_file(dir.path() / "small", 4), io_failure);
#ifndef _WIN32
    EXPECT_EQ(problem(dir.path(), 5), "is a directory, not a file");
    ASSERT_EQ(mkfifo((dir.path() / "fifo").c_str(), 0600), 0) << std::strerror(errno);
    EXPECT_EQ(problem(dir.path() / "fifo", 5), "is not a regular file");
    try {
        read_file(dir.path() / "fifo");
        ADD_FAILURE() << "a FIFO was read";
    } catch (const io_failure& e) {
        EXPECT_NE(std::string(e.what()).find("fifo: is not a regular file"), std::string::npos) << e.what();
    }
#endif
}
