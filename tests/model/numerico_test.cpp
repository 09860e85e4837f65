#include "model/numerico.h"

#include <gtest/gtest.h>

#include "model/run_time_failure.h"

TEST(Nearest, TiesGoToEvenOnBothSigns) {
    EXPECT_EQ(nearest_long(2.5), 2);
    EXPECT_EQ(nearest_long(3.5), 4);
    EXPECT_EQ(nearest_long(-2.5), -2);
    EXPECT_EQ(nearest_long(-3.5), -4);
    EXPECT_EQ(nearest_long(33.5), 34);  // a signal at 1625 m lies in cell 34
    EXPECT_EQ(nearest_long(34.5), 34);  // and so does one at 1675 m
    EXPECT_EQ(nearest_long(140.5), 140);
    EXPECT_EQ(nearest_integer(28.4 + 2800), 2828);
    EXPECT_EQ(nearest_integer(-0.5), 0);
}

TEST(Nearest, FailsWhenTheResultDoesNotFit) {
    EXPECT_EQ(nearest_long(2147483647.0), 2147483647);
    EXPECT_EQ(nearest_long(-2147483648.0), -2147483647 - 1);
    EXPECT_THROW(nearest_long(2147483647.5), run_time_failure);  // rounds to even 2^31
    EXPECT_THROW(nearest_long(-2147483649.0), run_time_failure);
    EXPECT_EQ(nearest_integer(32767.4), 32767);
    EXPECT_THROW(nearest_integer(32767.5), run_time_failure);
    EXPECT_THROW(nearest_integer(-32769.0), run_time_failure);
    EXPECT_THROW(nearest_long(1.0 / 0.0), run_time_failure);
}

TEST(LowBits, NarrowStoresKeepTheLowBits) {
    EXPECT_EQ(low8(300), 44);
    EXPECT_EQ(low8(-1), 255);
    EXPECT_EQ(low16(65536 + 5), 5);
    EXPECT_EQ(low16(40000), -25536);
    EXPECT_EQ(low16(-32769), 32767);
}

TEST(CheckedArithmetic, OverflowIsARunTimeFailure) {
    EXPECT_EQ(long_add(2147483000, 647), 2147483647);
    EXPECT_THROW(long_add(2147483647, 1), run_time_failure);
    EXPECT_THROW(long_sub(-2147483647 - 1, 1), run_time_failure);
    EXPECT_EQ(long_mul(-65536, 32768), -2147483647 - 1);
    EXPECT_THROW(long_mul(65536, 32768), run_time_failure);
    EXPECT_THROW(to_long(int64_t{1} << 31), run_time_failure);
}
