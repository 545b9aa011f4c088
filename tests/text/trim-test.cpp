// Blanks and the byte-order mark around the text of a line.
#include <gtest/gtest.h>

#include "Trim.h"

using namespace kickmark::text;

namespace {

TEST(Trim, takes_only_the_given_blanks_from_both_ends) {
    EXPECT_EQ(trim(" \t1500 \t"), "1500");
    EXPECT_EQ(trim("1 5"), "1 5");
    EXPECT_EQ(trim(" \t "), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("1500\r"), "1500\r");
    EXPECT_EQ(trim("\r1500 \r", " \r"), "1500");
}

TEST(ByteOrderMark, is_taken_only_from_the_start_and_only_once) {
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF"
                                   "1500"),
              "1500");
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBF\xEF\xBB\xBF"), "\xEF\xBB\xBF");
    EXPECT_EQ(withoutByteOrderMark("1500\xEF\xBB\xBF"), "1500\xEF\xBB\xBF");
    EXPECT_EQ(withoutByteOrderMark("\xEF\xBB"), "\xEF\xBB");
}

} // namespace
