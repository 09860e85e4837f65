#include "content/scrivi_righe.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

TEST(ScriviRighe, WritesEveryEntryBeforeTheEndMarkerWithCrLf) {
    tabella_righe t = {"[generale]", "", "  spaced  ", FINE_TABELLA, "ignored"};
    EXPECT_EQ(testo_tabella(t), "[generale]\r\n\r\n  spaced  \r\n");
    // Only an exact match ends the table.
    EXPECT_EQ(testo_tabella({"Riferimento fine del file", FINE_TABELLA}), "Riferimento fine del file\r\n");
    EXPECT_EQ(testo_tabella({FINE_TABELLA}), "");
}

TEST(ScriviRighe, ReplacesAnOlderLongerFile) {
    temp_dir dir;
    auto path = dir.path() / "a.txt";
    scrivi_righe(path, {"one", "two", "three", FINE_TABELLA});
    scrivi_righe(path, {"x", FINE_TABELLA});
    EXPECT_EQ(read_file(path), "x\r\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.txt"});
}
