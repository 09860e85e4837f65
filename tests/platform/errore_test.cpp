#include "platform/errore.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(Errore, ShowsTheNumberedReportOnOneLine) {
    std::ostringstream out;
    errore("1250", out);
    EXPECT_EQ(out.str(), " Errore n. 1250\n");
}
