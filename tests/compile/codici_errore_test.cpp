#include "compile/codici_errore.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(CodiciErrore, EveryCodeTheRunRecordsHasOneEntryWithItsMeaning) {
    const std::set<int32_t> codici = {101, 102, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                                      15, 16, 17, 18, 19, 20, 21, 22, 24, 25, 103, 1250, 1251};
    std::set<int32_t> visti;
    for (const voce_errore& e : tabella_errori()) {
        EXPECT_TRUE(visti.insert(e.codice).second) << "code " << e.codice << " twice";
        EXPECT_FALSE(std::string(e.significato).empty());
        EXPECT_FALSE(std::string(e.seguito).empty());
    }
    EXPECT_EQ(visti, codici);
    EXPECT_EQ(cerca_errore(16)->codice, 16);
    EXPECT_EQ(cerca_errore(0), nullptr);
    EXPECT_EQ(cerca_errore(23), nullptr);
    EXPECT_STREQ(significato_errore(23), "unknown error code");
    // The codes the later rules widened say so.
    EXPECT_NE(std::string(significato_errore(19)).find("outside the grid"), std::string::npos);
    EXPECT_NE(std::string(significato_errore(10)).find("indication board"), std::string::npos);
}
