// Rounding, number texts, fractions, formatting of any length and hexadecimal pairs.
#include "GTest.h"

#include <cmath>
#include <limits>
#include <string>

#include "NumericFormat.h"

namespace {

TEST(NumericFormatTest, RoundToStep)
{
    struct Case {
        double value, coarse, fine, expected;
    };
    const Case cases[] = {
        {2.345, 1, 0.01, 2},  {2.345, 0.01, 0.01, 2.35}, {-2.5, 1, 1, -3},
        {2.5, 1, 1, 3},       {1.005, 0.01, 0.01, 1.01}, {297.5, 1.0, 1e-8, 298},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(RoundToStep(c.value, c.coarse, c.fine), c.expected) << c.value;
    const double zero = RoundToStep(0, 1, 0.01);
    EXPECT_EQ(zero, 0.0);
    EXPECT_TRUE(std::signbit(zero));
    EXPECT_DOUBLE_EQ(RoundToMultiple(7.4, 2.0), 8.0);
    EXPECT_DOUBLE_EQ(RoundToDecimals(2.345, 0.001, 2), 2.35);
}

TEST(NumericFormatTest, FormatReal)
{
    struct Case {
        double value;
        int precision;
        const char* text;
    };
    const Case cases[] = {
        {100, 2, "100"}, {0.1 + 0.2, 15, "0.3"}, {1.5, 3, "1.5"}, {2.0, 3, "2"},
        {-0.0000001, 3, "0"}, {-1.25, 2, "-1.25"}, {0.0, 0, "0"}, {12.0, 0, "12"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatReal(c.value, c.precision), c.text) << c.value;
    EXPECT_EQ(FormatRealText(0.25), "0.25");
}

TEST(NumericFormatTest, FormatFraction)
{
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {1.0 / 3.0, "1/3"}, {0.3, "3/10"}, {0.02, "1/50"}, {1.0, "1/1"}, {2.5, "2.5"},
        {0.0, "0"}, {0.4, "2/5"}, {2.0 / 7.0, "2/7"}, {0.01, "1/100"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatFraction(c.value), c.text) << c.value;
    // Values without a close simple fraction and values that are not numbers give no text.
    EXPECT_EQ(FormatFraction(-0.5), "");
    EXPECT_EQ(FormatFraction(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(NumericFormatTest, FindFractionIsBoundedInDepth)
{
    long num = -1;
    long den = -1;
    // The golden-ratio remainder never falls below 0.001 quickly: the depth stops the search.
    int found = FindFraction(&num, &den, 0, 0.2360679775);
    EXPECT_TRUE(found == 0 || found == 1);
    if (found) {
        EXPECT_NEAR(static_cast<double>(num) / den, 0.2360679775, 0.00010001);
    }
    EXPECT_EQ(FindFraction(&num, &den, 0, 0.0), 0);
    EXPECT_EQ(FindFraction(&num, &den, 0, -0.3), 0);
    EXPECT_EQ(FindFraction(&num, &den, 0, std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(FindFraction(&num, &den, 0, 1e-300), 0);
    EXPECT_EQ(FindFraction(&num, &den, 0, 2.0), 0);
    ASSERT_EQ(FindFraction(&num, &den, 0, 0.125), 1);
    EXPECT_EQ(num, 1);
    EXPECT_EQ(den, 8);
}

TEST(NumericFormatTest, FormatStdStringOfAnyLength)
{
    const std::string long3000(3000, 'a');
    EXPECT_EQ(FormatStdString("%s", long3000.c_str()), long3000);
    EXPECT_EQ(FormatStdString("%s-%d-%s", long3000.c_str(), 7, long3000.c_str()), long3000 + "-7-" + long3000);
    EXPECT_EQ(FormatStdString("%-4s:", "A"), "A   :");
    EXPECT_EQ(FormatStdString("%s", ""), "");
}

TEST(NumericFormatTest, HexPairToByte)
{
    EXPECT_EQ(HexPairToByte('f', 'F'), 255);
    EXPECT_EQ(HexPairToByte('0', '9'), 9);
    EXPECT_EQ(HexPairToByte('A', '0'), 160);
    EXPECT_EQ(HexPairToByte('7', 'e'), 126);
}

}  // namespace
