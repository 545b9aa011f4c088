#include "number_format.h"

#include <gtest/gtest.h>

using namespace kickmark;

TEST(FormatFixed, RoundsToDecimalsWithoutGrouping) {
    EXPECT_EQ(format_fixed(1523.400024, 2), "1523.40");
    EXPECT_EQ(format_fixed(2987.516, 2), "2987.52");
    EXPECT_EQ(format_fixed(1234567.0, 0), "1234567");
}

TEST(FormatFixed, NegativeValueThatRoundsToZeroLosesItsSign) {
    EXPECT_EQ(format_fixed(-0.004, 2), "0.00");
    EXPECT_EQ(format_fixed(-0.0, 2), "0.00");
    EXPECT_EQ(format_fixed(-0.006, 2), "-0.01");
}
