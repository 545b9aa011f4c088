// Blanks and the byte-order mark around the text of a line.
#include <gtest/gtest.h>

#include "Trim.h"

using namespace kickmark::text;

namespace {

TEST(Trim, takes_only_the_given_blanks_and_one_leading_byte_order_mark) {
    EXPECT_EQ(trim(" \t1 5 \t"), "1 5");
    EXPECT_EQ(trim(" \t "), "");
    EXPECT_EQ(trim("1500\r"), "1500\r");
    EXPECT_EQ(trim("\r1500 \r", " \r"), "1500");
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF\xEF\xBB\xBF"), "\xEF\xBB\xBF");
    EXPECT_EQ(withoutByteOrderMark("1500\xEF\xBB\xBF"), "1500\xEF\xBB\xBF");
}

} // namespace
