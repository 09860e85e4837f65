#include "platform/errore.h"

#include <gtest/gtest.h>

#include <sstream>

// The console's report; the Windows one is a modal box, shown by the screenshot check.
#ifndef _WIN32
TEST(Errore, ShowsTheNumberedReportOnOneLine) {
    std::ostringstream out;
    errore("1250", out);
    EXPECT_EQ(out.str(), " Errore n. 1250\n");
}
#endif
