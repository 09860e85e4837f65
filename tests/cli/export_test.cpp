// The export command in-process: an author's files are not overwritten unasked.
#include "cli/commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

TEST(Export, WritesIntoANewFolderAndOverwritesOnlyWithForce) {
    const std::string train = "Lidonia_Sabrio_914-.txt";
    const struct {
        std::string directory;  // below the test's folder
        std::string present;    // a file written there first, when not empty
        bool force;
        int status;
        std::string said;       // part of what err says
        size_t files;           // files below the test's folder afterwards
    } casi[] = {
        {"a/b", "", false, 0, "", 5},
        {"", train, false, 2, train + " already exists\n", 1},
        {"", train, true, 0, "", 5},
        {"f", "f", false, 3, "f: exists and is not a directory", 1},
    };
    for (const auto& c : casi) {
        temp_dir dir;
        if (!c.present.empty()) write_file(dir.path() / c.present, "mine");
        std::ostringstream out, err;
        EXPECT_EQ(run_export({dir.path() / c.directory, c.force}, out, err), c.status) << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        EXPECT_EQ(dir.file_count(), c.files) << c.directory;
        if (!c.present.empty()) {
            EXPECT_EQ(read_file(dir.path() / c.present) == "mine", c.status != 0) << c.present;
        }
    }
}
