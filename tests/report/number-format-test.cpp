#include "NumberFormat.h"

#include <gtest/gtest.h>

using namespace kickmark;

TEST(FormatFixed, negative_value_that_rounds_to_zero_loses_its_sign) {
    EXPECT_EQ(formatFixed(-0.004, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.0, 2), "0.00");
    EXPECT_EQ(formatFixed(-0.006, 2), "-0.01");
}
