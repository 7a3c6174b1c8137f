// The CSV line parser: fields, blanks, quotes, escaped quotes and double-byte characters.
#include "GTest.h"

#include <string>
#include <vector>

#include "core/CsvParser.h"

TEST(CsvParser, SplitsLinesIntoFields)
{
    using Fields = std::vector<std::string>;
    const struct {
        std::string line;
        Fields fields;
    } cases[] = {
        {"a,b", {"a", "b"}},
        {" a , b ", {"a", "b"}},
        {"a,", {"a", ""}},
        {"", {""}},
        {",,", {"", "", ""}},
        {"\ta\r\n", {"a"}},
        {"\"x\",\"y,z\"", {"x", "y,z"}},
        {"\" a \"", {" a "}},
        {"5\" pipe,x", {"5\" pipe", "x"}},
        {"5\"", {"5"}},
        {"\"a\\\"b\"", {"a\"b"}},
        {"\"a\\\\\\\"b\"", {"a\"b"}},          // every backslash before the quote goes
        {"a\\\"b", {"a\\\"b"}},
        {"\"\"a\"\"", {"a"}},
        {"\"1,2\",3,\"4\"", {"1,2", "3", "4"}},
        {"a\"b\"c,d", {"a\"b\"c", "d"}},         // quotes inside a field stay
        {"\"open,never closed", {"open", "never closed"}},  // a lone quote is a character
        {"メニュー,\"表示\",ソフト", {"メニュー", "表示", "ソフト"}},
    };
    for (const auto& c : cases) {
        CCsvParser parser(c.line);
        EXPECT_EQ(c.fields, parser.fields) << c.line;
        EXPECT_EQ(static_cast<int>(c.fields.size()), parser.GetSize()) << c.line;
    }
}

TEST(CsvParser, DoubleByteCharacterWithTrailBackslashDoesNotEscapeTheQuote)
{
    // "表" is 95 5C and "ソ" is 83 5C: their second byte is a backslash.
    CCsvParser parser("\"表\",\"ソ\",x");
    ASSERT_EQ(3, parser.GetSize());
    EXPECT_EQ("表", parser.fields[0]);
    EXPECT_EQ("ソ", parser.fields[1]);
    EXPECT_EQ("x", parser.fields[2]);
}

TEST(CsvParser, NewParseReplacesFieldsAndOutOfRangeIsEmpty)
{
    CCsvParser parser;
    EXPECT_EQ(0, parser.GetSize());
    EXPECT_EQ(0, parser.Parse("a,b,c"));
    EXPECT_EQ(3, parser.GetSize());
    EXPECT_EQ(0, parser.Parse("z"));
    ASSERT_EQ(1, parser.GetSize());
    EXPECT_STREQ("z", parser.GetAt(0));
    EXPECT_STREQ("", parser.GetAt(1));
    EXPECT_STREQ("", parser.GetAt(-1));
}

TEST(CsvParser, EscapedQuoteAfterDoubleByteCharacterKeepsItsTrailByte)
{
    // "表" ends in 5C; the backslash after it escapes the quote and is the only one dropped.
    CCsvParser parser("\"表\\\"x\",y");
    ASSERT_EQ(2, parser.GetSize());
    EXPECT_EQ("表\"x", parser.fields[0]);
    EXPECT_EQ("y", parser.fields[1]);
}
