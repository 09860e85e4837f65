#include "platform/input_files.h"

#include <gtest/gtest.h>

#include "platform/exit_status.h"
#include "platform/path_text.h"
#include "tests/support/temp_dir.h"

// What the tooling reads and writes fails as a value naming the path, with the
// I/O status; nothing is thrown past these and nothing is left half-written.
TEST(InputFiles, FailuresAreValuesNamingThePath) {
    temp_dir dir;
    const std::filesystem::path file = dir.path() / "a.txt", missing = dir.path() / "missing.txt";
    ASSERT_FALSE(write_output_file(file, "abc"));
    const struct {
        maybe_failure got;
        std::string message;  // empty: no failure
    } cases[] = {
        {check_input_file(file), ""},
        {check_input_file(file, 2), utf8_path(file) + ": is too large: 3 bytes, over the limit of 2 bytes"},
        {check_input_file(missing), utf8_path(missing) + ": no such file"},
        {check_input_file(dir.path()), utf8_path(dir.path()) + ": is a directory, not a file"},
        {check_output_folder(dir.path() / "made" / "deep"), ""},
        {check_output_folder(file), utf8_path(file) + ": exists and is not a directory"},
        {write_output_files({{dir.path() / "b.txt", "b", {}}, {dir.path() / "no" / "c.txt", "c", {}}}),
         "cannot create " + utf8_path(dir.path() / "no" / "c.txt")},
    };
    for (const auto& c : cases) {
        if (c.message.empty()) {
            EXPECT_FALSE(c.got) << c.got->message;
            continue;
        }
        ASSERT_TRUE(c.got) << c.message;
        EXPECT_EQ(c.got->status, EXIT_FAILURE_IO);
        EXPECT_EQ(c.got->message.substr(0, c.message.size()), c.message);
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "made" / "deep"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "b.txt"));  // all the files or none

    const result<std::string> read = read_file_bytes(file), unread = read_input_file(missing);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, "abc");
    ASSERT_FALSE(unread);
    EXPECT_EQ(unread.error().message, utf8_path(missing) + ": no such file");
    const result<std::string> too_large = read_file_bytes(file, 2);
    ASSERT_FALSE(too_large);
    EXPECT_EQ(too_large.error().message.rfind("cannot open " + utf8_path(file) + ": is too large", 0), 0u);
}
