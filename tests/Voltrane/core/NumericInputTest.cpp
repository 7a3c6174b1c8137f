// Numeric input fields and number formatting: the two-term evaluator, the formatter with the
// program's real-number rules, FormatDouble, thousands separators and rounding.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <string>

#include "core/NumericInput.h"

TEST(EvalTwoTermExpr, AcceptsOneNumberOrTwoJoinedByOneOperator)
{
    const struct {
        const char* text;
        double value;
        int error;
    } cases[] = {
        {"12.5", 12.5, 0},    {" 3 * 4 ", 12, 0},  {"10/4", 2.5, 0}, {"10/0", 0, 0},   {"10/0.000000001", 0, 0},
        {"-5", -5, 0},        {"3*-2", 0, 0},      {"1+2+3", 3, 0},  {"1 2", 12, 0},   {"1e5", 0, 1},
        {"2,5", 0, 1},        {"1.2.3", 1.2, 0},   {"7-", 7, 0},     {"   ", 0, 0},     {"5 x", 0, 1},
        {"2*3abc", 0, 1},    {"2*3+abc", 6, 0},     {".5+.25", 0.75, 0}, {"+4", 4, 0},     {"8/2/2", 4, 0},  {"1１", 0, 1},
    };
    for (const auto& c : cases) {
        CTwoTermExpr expr;
        EXPECT_DOUBLE_EQ(c.value, EvalTwoTermExpr(expr, c.text)) << c.text;
        EXPECT_EQ(c.error, expr.error) << c.text;
    }
}

TEST(EvalTwoTermExpr, EmptyInputLeavesTheRecordAlone)
{
    CTwoTermExpr expr;
    EXPECT_EQ(0, expr.error);
    EXPECT_EQ(0, expr.cursor);
    expr.error = 1;
    expr.cursor = 7;
    EXPECT_EQ(0.0, EvalTwoTermExpr(expr, ""));
    EXPECT_EQ(0.0, EvalTwoTermExpr(expr, nullptr));
    EXPECT_EQ(1, expr.error);
    EXPECT_EQ(7, expr.cursor);
}

TEST(EvalTwoTermExpr, VeryLongNumbersAreRead)
{
    std::string text(3000, '0');
    text += "42";
    CTwoTermExpr expr;
    EXPECT_DOUBLE_EQ(42.0, EvalTwoTermExpr(expr, text.c_str()));
}

namespace {
std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    FormatWithRealsV(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}
}  // namespace

TEST(FormatWithReals, RealConversions)
{
    const struct {
        const char* format;
        double value;
        const char* text;
    } cases[] = {
        {"%.2f", 3.14159, "3.14"},
        {"%e", 12345.678, "1.234568e+004"},
        {"%g", 1234567, "1.23457e+006"},
        {"%g", 0.0001234, "0.0001234"},
        {"%g", 0.00001234, "1.234e-005"},
        {"%g", 0.0, "0"},
        {"%g", 100000, "100000"},
        {"%g", 1e6, "1e+006"},
        {"%g", 2.0, "2"},
        {"%g", 0.5, "0.5"},
        {"%g", -12.5, "-12.5"},
        {"%.3g", 1.5, "1.5"},
        {"%.0g", 7.0, "7"},
        {"%8.3f", -1.5, "  -1.500"},
        {"%08.3f", -1.5, "-001.500"},
        {"%08.3f", 1.5, "0001.500"},
        {"%-8.2f", 2.5, "2.50    "},
        {"%3.2f", 12.346, "12.35"},
        {"%.2f", -0.001, "-0.00"},
        {"%.2lf", 0.126, "0.13"},
        {"%lf", 1.5, "1.500000"},
        {"%f", 1.5, "1.500000"},
        {"%.0f", 3.7, "4"},
        {"%.3f", 0.0123, "0.012"},
        {"%.4f", 0.00005, "0.0001"},
        {"%.1f", 123456789.0, "123456789.0"},
        {"%e", 0.0, "0.000000e+000"},
        {"%.2e", -0.000123, "-1.23e-004"},
        {"%.0e", 5.0, "5e+000"},
        {"[%5.1.2f]", 1.0, "[]"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, Format(c.format, c.value)) << c.format << " of " << c.value;
}

TEST(FormatWithReals, OtherConversionsAndPlainText)
{
    EXPECT_EQ("%i", Format("%i", 5));
    EXPECT_EQ("100%", Format("100%%"));
    EXPECT_EQ("50%", Format("50%"));
    EXPECT_EQ("%+d", Format("%+d", 5));
    EXPECT_EQ("-42|   42|42   |00042", Format("%d|%5d|%-5d|%05d", -42, 42, 42, 42));
    EXPECT_EQ("ff|     ABC|17|3000000000", Format("%x|%8lX|%o|%u", 255, 0xABC, 15, 3000000000u));
    EXPECT_EQ("7|A|ab|表示", Format("%ld|%c|%.2s|%s", 7L, 0x141, "abcdef", "表示"));
    EXPECT_EQ("(null)", Format("%s", static_cast<const char*>(nullptr)));
    EXPECT_EQ("    3.14", Format("%*.*f", 8, 2, 3.14159));
    EXPECT_EQ("   12", Format("%*d", 5, 12));
    // A conversion that makes no text still takes its argument.
    EXPECT_EQ("[]2", Format("[%5.1.2f]%d", 1.0, 2));
    EXPECT_EQ("x=1.50 y=2 表", Format("x=%.2lf y=%g %s", 1.5, 2.0, "表"));
}

TEST(FormatWithReals, NeverWritesPastTheBuffer)
{
    char buffer[16];
    std::memset(buffer, 'Z', sizeof buffer);
    FormatWithReals(buffer, 8, "%s", "abcdefghijkl");
    EXPECT_STREQ("abcdefg", buffer);
    EXPECT_EQ('Z', buffer[8]);

    std::memset(buffer, 'Z', sizeof buffer);
    FormatWithReals(buffer, 6, "%s", "あいう");  // 6 bytes; 5 fit, cut before the third character
    EXPECT_STREQ("あい", buffer);
    EXPECT_EQ('Z', buffer[6]);

    std::memset(buffer, 'Z', sizeof buffer);
    FormatWithReals(buffer, 10, "%f", 1e300);
    EXPECT_EQ(9u, std::strlen(buffer));
    EXPECT_EQ('Z', buffer[10]);

    FormatWithReals(buffer, 1, "%d", 123);
    EXPECT_STREQ("", buffer);
    FormatWithReals(nullptr, 0, "%d", 123);  // nothing to write into
}

TEST(FormatWithReals, HugeWidthsAndPrecisionsStayBounded)
{
    char buffer[40];
    std::memset(buffer, 'Z', sizeof buffer);
    FormatWithReals(buffer, 32, "%99999999f|", 1.0);
    EXPECT_EQ(31u, std::strlen(buffer));
    EXPECT_EQ('Z', buffer[32]);
    FormatWithReals(buffer, 32, "%.99999999f", 1.0);
    EXPECT_EQ(0, std::strncmp(buffer, "1.000000000", 11));
    FormatWithReals(buffer, 32, "[%*d]", -2147483647 - 1, 5);  // no text rather than a 2 GB pad
    EXPECT_STREQ("[]", buffer);
    FormatWithReals(buffer, 32, "%*.*e", 3, 2, -1e300);
    EXPECT_STREQ("-1.00e+300", buffer);
    EXPECT_EQ('Z', buffer[32]);
}

TEST(FormatDouble, DecimalsTrimAndNegativeZero)
{
    const struct {
        double value;
        int decimals;
        int trim;
        const char* text;
    } cases[] = {
        {2.5, 3, 1, "2.5"},        {2.0, 3, 1, "2"},    {10.0, 2, 1, "10"},        {100.0, 0, 1, "100"},
        {2.0, 3, 0, "2.000"},      {-0.0001, 2, 0, "0.00"}, {-0.0004, 3, 0, "0.000"}, {-0.0004, 3, 1, "0"},
        {-1.26, 1, 0, "-1.3"},     {-1.5, 2, 1, "-1.5"}, {0.0, 0, 0, "0"},         {1234.5678, 2, 0, "1234.57"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        EXPECT_STREQ(c.text, FormatDouble(buffer, sizeof buffer, c.value, c.decimals, c.trim))
            << c.value << " " << c.decimals << " " << c.trim;
    }
    char narrow[4];
    std::memset(narrow, 'Z', sizeof narrow);
    EXPECT_STREQ("123", FormatDouble(narrow, sizeof narrow, 12345.678, 2, 0));
}

TEST(InsertThousandsSeparators, GroupsTheIntegerPart)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"1234567", "1,234,567"}, {"-1234.5678", "-1,234.5678"}, {"123", "123"},   {"12a34", "12a34"},
        {".5", ".5"},             {" 1234 ", "1,234"},           {"", ""},         {"   ", ""},
        {"1234567890", "1,234,567,890"}, {"-123", "-123"},       {"+1234", "+1,234"}, {"1234.", "1,234."},
        {"123456", "123,456"},    {"12-34", "12-34"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        EXPECT_STREQ(c.out, InsertThousandsSeparators(buffer, sizeof buffer, c.in)) << c.in;
    }
    char narrow[6];
    EXPECT_STREQ("1,234", InsertThousandsSeparators(narrow, sizeof narrow, "1234567"));
}

TEST(Rounding, ToDecimalsAndSteps)
{
    const struct {
        double value;
        int decimals;
        double rounded;
    } cases[] = {
        {1.005, 2, 1.01}, {2.675, 2, 2.68},   {-2.5, 0, -3},   {0.4, 0, 0},          {2.5, 0, 3},
        {-1.005, 2, -1.01}, {1234.5, -2, 1200}, {1250, -2, 1300}, {0.123456789, 4, 0.1235},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.rounded, RoundToDecimals(c.value, c.decimals)) << c.value << " " << c.decimals;

    const double zero = RoundToDecimals(0.0, 2);
    EXPECT_EQ(0.0, zero);
    EXPECT_TRUE(std::signbit(zero));

    EXPECT_DOUBLE_EQ(7.5, RoundToStep(7.3, 0.5, 1e-8));
    EXPECT_DOUBLE_EQ(7.0, RoundToStep(7.2, 0.5, 1e-8));
    EXPECT_DOUBLE_EQ(-7.5, RoundToStep(-7.3, 0.5, 1e-8));
    EXPECT_DOUBLE_EQ(1.25, RoundToStep(1.26, 0.01, 0.25));  // the outer step is not larger: inner only
}
