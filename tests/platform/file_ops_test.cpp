#include "platform/file_ops.h"

#include <gtest/gtest.h>

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
