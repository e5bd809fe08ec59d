#include "marks/markformat.h"

#include <gtest/gtest.h>

using namespace lumora::marks;

TEST(MarksFormat, padsToFiveDecimalsAndCutsWithoutRounding) {
    EXPECT_EQ(FormatMark("12"), "12,00000");
    EXPECT_EQ(FormatMark("12,5"), "12,50000");
    EXPECT_EQ(FormatMark("12,34"), "12,34000");
    EXPECT_EQ(FormatMark("12,345"), "12,34500");
    EXPECT_EQ(FormatMark("12,3456"), "12,34560");
    EXPECT_EQ(FormatMark("12,34567"), "12,34567");
    EXPECT_EQ(FormatMark("12,345678"), "12,34567");
    EXPECT_EQ(FormatMark("12,999999999"), "12,99999");
    EXPECT_EQ(FormatMark("0"), "0,00000");
    EXPECT_EQ(FormatMark("125,4"), "125,40000");
    EXPECT_EQ(FormatMark(""), "");
}

TEST(MarksFormat, decimalsCountFromTheIntegerPartAsWritten) {
    // regression: counting from the value (5) instead of the written "05" left three decimals
    EXPECT_EQ(FormatMark("05,5"), "05,50000");
    EXPECT_EQ(FormatMark("0,1234567"), "0,12345");
}

TEST(MarksFormat, positionTextIsExactAtTheFifthDecimal) {
    EXPECT_EQ(positionText(83.5), "83,50000");
    EXPECT_EQ(positionText(0.3), "0,30000");
    EXPECT_EQ(positionText(1.234569), "1,23456");
    EXPECT_EQ(positionText(600.0), "600,00000");
    EXPECT_EQ(positionText(-2), "0,00000");
    EXPECT_EQ(FormatMark(positionText(7.25)), positionText(7.25));
}

TEST(MarksFormat, typedPositionsAreDigitsAndCommasOnly) {
    EXPECT_TRUE(isPositionText("12,5"));
    EXPECT_FALSE(isPositionText("12.5"));
    EXPECT_FALSE(isPositionText(""));
}
