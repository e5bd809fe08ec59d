#include "marks/markformat.h"

#include <gtest/gtest.h>

using namespace lumora::marks;

// Cut without rounding; the decimals count from the integer part as written (regression: counting
// from the value, 5, instead of the written "05" left three decimals).
TEST(MarksFormat, padsToFiveDecimalsAndCutsWithoutRounding) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {
        {"12", "12,00000"}, {"12,5", "12,50000"}, {"12,34", "12,34000"}, {"12,345", "12,34500"},
        {"12,3456", "12,34560"}, {"12,34567", "12,34567"}, {"12,345678", "12,34567"},
        {"12,999999999", "12,99999"}, {"0", "0,00000"}, {"125,4", "125,40000"}, {"", ""},
        {"05,5", "05,50000"}, {"0,1234567", "0,12345"}};
    // clang-format on
    for (const auto& [in, out] : cases)
        EXPECT_EQ(FormatMark(in), out) << in;
}

TEST(MarksFormat, positionTextIsExactAtTheFifthDecimal) {
    const std::pair<double, const char*> cases[] = {
        {83.5, "83,50000"}, {0.3, "0,30000"}, {1.234569, "1,23456"}, {600.0, "600,00000"}, {-2, "0,00000"}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(positionText(in), out) << in;
    EXPECT_EQ(FormatMark(positionText(7.25)), positionText(7.25));
}

TEST(MarksFormat, typedPositionsAreDigitsAndCommasOnly) {
    EXPECT_TRUE(isPositionText("12,5"));
    EXPECT_FALSE(isPositionText("12.5"));
    EXPECT_FALSE(isPositionText(""));
}
