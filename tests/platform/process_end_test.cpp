#include "platform/process_end.h"

#include <gtest/gtest.h>

TEST(ErroreDeathTest, PrintsTheNumberedReportAndExitsWithStatusFour) {
    EXPECT_EXIT(errore("1250"), testing::ExitedWithCode(4), "^ Errore n\\. 1250\n$");
    EXPECT_EXIT(errore("1251"), testing::ExitedWithCode(4), "^ Errore n\\. 1251\n$");
}
