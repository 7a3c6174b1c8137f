#include "GTest.h"

#include "CadPdf/PdfContentLexer.h"
#include "ContentLexerComparison.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace PoDoFo;

namespace {

// The first item the lexer reads from `content`.
ContentItem ReadFirst(const std::string& content)
{
    PdfContentLexer lexer(content.data(), content.size());
    return ReadLexerItem(lexer);
}

std::string Repeated(char c, size_t n) { return std::string(n, c); }

}  // namespace

TEST(ContentLexer, ReadsWhatTheLibraryReadsAndFailsWhereItFails)
{
    const std::string image(5000, 'x');
    const std::vector<std::string> cases = {
        // numbers
        "-.5 +3 1. --3 1e5 +-3 - + . -. 0000.1000 1.2.3 1.5-3 --.5 3-4 5- 007 -0 -0.0 .5. 1.-2",
        "2147483647 2147483648 -2147483648 -2147483649 99999999999999999999 s",
        "0.1 0.2 0.3 123456.789012 1234567890.12345 123456789012345678.5 0.000000000000000000000001 "
        "3.14159265358979323846 1.7976931348623157e308 5e",
        // integers followed by what may look like a reference
        "1 0 R", "1 2 3 R", "1 +2 R", "1 -3 R", "1 2.5 R", "1 2x R", "1 \v2 R", "1 2 RR", "1 2 (R)", "1 2",
        "1 2 %c\nR", "1 2 /R", "1 R", "5 6 7", "1 2 ID \x01 EI", "12 34 [5] 6",
        // keywords and the words of values
        "null nullx true truex false falsey nul tru f t n", "q Q cm re m l c v y h S s f* B* W* T* ' \"",
        "BT /F1 12 Tf (abc) Tj ET", "]", ">> )", "} {", ">", "<< >>",
        // names
        "/", "/ x", "/[1]", "/%c\nabc", "/A#20B", "/#zz", "/a/b//c", "/(s)", "/<41>", "/", "/\x00x",
        // strings, hex strings, arrays, dictionaries
        "(a(b)c\\) d) Tj", "(unterminated", "<41 42 4> <zz> <", "[1 0 R] [ /a (b) [ 3 4.5 ] ] d",
        "[1 2", "<< /A 1 /B [2 3] /C << /D (x) >> >> BDC", "<< /A 1 2 >>", "<< 1 >>", "<</P 1>>BDC",
        // comments and whitespace
        "1%c\n2 3%x\r\n4 5%y\r6 %", "%only", "   \t\r\n\f\x00", "", "1\x00" "2\x0c" "3\t4\r5 m",
        // inline images
        "BI /W 1 /H 1 /BPC 8 /CS /G ID \x01 EI 0 0 m 1 0 l S", "BI ID abcEIx EI Q", "BI ID no end",
        "BI /W 1 ID " + image + " EI " + Repeated('k', 5000) + " 1 2 m",
        // tokens longer than the library's buffer
        Repeated('a', 4095) + " " + Repeated('b', 4096) + " " + Repeated('1', 8191) + " " + Repeated('2', 4094) + ".5",
        "/" + Repeated('n', 5000) + " x",
    };
    for (const std::string& content : cases)
        EXPECT_EQ("", CompareContentLexerWithLibrary(content.data(), content.size())) << content.substr(0, 80);
}

TEST(ContentLexer, NumbersHaveTheLibrarysValues)
{
    struct Case { const char* text; bool real; double value; };
    const Case cases[] = {
        {"-.5", true, -0.5}, {"+3", false, 3}, {"1.", true, 1}, {"--3", false, 0}, {"3-4", false, 3},
        {"1.2.3", true, 1.2}, {"0.1", true, 0.1}, {"2147483648", false, 2147483647}, {"-2147483649", false, -2147483648.0},
    };
    for (const Case& c : cases) {
        const ContentItem first = ReadFirst(c.text);
        ASSERT_TRUE(first.read) << c.text;
        ASSERT_EQ(ePdfContentsType_Variant, first.type) << c.text;
        if (c.real) {
            ASSERT_TRUE(first.value.IsReal()) << c.text;
            EXPECT_EQ(c.value, first.value.GetReal()) << c.text;
        } else {
            ASSERT_TRUE(first.value.IsNumber()) << c.text;
            EXPECT_EQ(static_cast<pdf_int64>(c.value), first.value.GetNumber()) << c.text;
        }
    }
    // Not PDF numbers: an exponent makes a keyword, a lone point or sign before it an error.
    EXPECT_EQ("1e5", ReadFirst("1e5").keyword);
    EXPECT_EQ(ePdfError_InvalidDataType, ReadFirst(".").error);
    EXPECT_EQ(ePdfError_InvalidDataType, ReadFirst("--.5").error);
    EXPECT_EQ(ePdfError_InvalidDataType, ReadFirst("7 0 R").error);
}

TEST(ContentLexer, GeneratedNumbersReadToTheSameBits)
{
    // Reals as writers print them: every count of decimals, signs, leading points and zeros,
    // up to 17 significant digits; integers between them.
    std::string content;
    unsigned long long state = 12345;
    auto next = [&state] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<unsigned>(state >> 33);
    };
    char text[64];
    for (int i = 0; i < 40000; ++i) {
        const double magnitude = (next() % 100000000) / std::pow(10.0, next() % 9) * ((next() % 3) ? 1 : 1e-6);
        const int decimals = static_cast<int>(next() % 12);
        std::snprintf(text, sizeof text, "%.*f", decimals, (next() % 2) ? -magnitude : magnitude);
        std::string number = text;
        if (number.find('.') == std::string::npos) number += ".";
        if (next() % 7 == 0 && number.compare(0, 2, "0.") == 0) number.erase(0, 1);   // ".25"
        if (next() % 11 == 0 && number[0] != '-') number.insert(0, "+");
        if (next() % 13 == 0) number.insert(number[0] == '-' ? 1 : 0, "00");
        content += number;
        content += (i % 5 == 4) ? " re\n" : " ";
        if (i % 9 == 0) content += std::to_string(next()) + " ";
        if (i % 17 == 0) std::snprintf(text, sizeof text, "%.17g ", magnitude), content += text;
    }
    content += "m";
    EXPECT_EQ("", CompareContentLexerWithLibrary(content.data(), content.size()));
}
