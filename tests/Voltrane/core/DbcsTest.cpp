// Double-byte helpers: bounded copies never split a character and never pass the buffer.
#include "GTest.h"

#include <cstring>
#include <string>

#include "core/Dbcs.h"

TEST(Dbcs, CopyCutsOnACharacterBoundary)
{
    const struct {
        const char* src;
        size_t size;
        const char* out;
    } cases[] = {
        {"abc", 10, "abc"},  {"abc", 3, "ab"},   {"abc", 1, ""},       {"あい", 5, "あい"},
        {"あい", 4, "あ"},    {"あい", 3, "あ"},   {"aあ", 3, "a"},       {"表示", 4, "表"},
        {"ｱｲｳ", 3, "ｱｲ"},    {"\x81", 5, "\x81"}, {"", 4, ""},
    };
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, 'Z', sizeof buffer);
        const size_t n = DbcsCopy(buffer, c.size, c.src);
        EXPECT_STREQ(c.out, buffer) << c.src << " into " << c.size;
        EXPECT_EQ(std::strlen(c.out), n);
        EXPECT_EQ('Z', buffer[c.size]) << c.src << " into " << c.size;
    }
    char one = 'Z';
    EXPECT_EQ(0u, DbcsCopy(&one, 0, "abc"));
    EXPECT_EQ('Z', one);
    char buffer[4];
    EXPECT_EQ(0u, DbcsCopy(buffer, sizeof buffer, nullptr));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(2u, DbcsCopyN(buffer, sizeof buffer, "xyz", 2));
    EXPECT_STREQ("xy", buffer);
}

TEST(Dbcs, AppendAndTrailBytes)
{
    char buffer[8] = "ab";
    EXPECT_EQ(6u, DbcsAppend(buffer, sizeof buffer, "表示"));
    EXPECT_STREQ("ab表示", buffer);
    EXPECT_EQ(7u, DbcsAppend(buffer, sizeof buffer, "cあ"));
    EXPECT_STREQ("ab表示c", buffer);

    const char* text = "a表\\";  // 61 95 5C 5C: the first 5C is the second byte of "表"
    EXPECT_EQ(0, DbcsIsTrailByte(text, 0));
    EXPECT_EQ(0, DbcsIsTrailByte(text, 1));
    EXPECT_EQ(1, DbcsIsTrailByte(text, 2));
    EXPECT_EQ(0, DbcsIsTrailByte(text, 3));
    EXPECT_EQ(0, DbcsIsTrailByte(text, 10));
    EXPECT_EQ(2u, DbcsFitLength("表示", 4, 3));
    EXPECT_EQ(4u, DbcsFitLength("表示", 4, 4));
}

TEST(Dbcs, SeparatorsAreNeverTrailBytes)
{
    const struct {
        const char* text;
        size_t trimmed;
        size_t last;  // (size_t)-1: none
    } cases[] = {
        {"", 0, static_cast<size_t>(-1)},
        {"\\", 0, 0},
        {"a\\b\\", 3, 3},
        {"表", 2, static_cast<size_t>(-1)},           // 95 5C
        {"C:\\表\\", 5, 5},
        {"C:\\ソ/\\", 5, 6},
        {"a\\ソ", 4, 1},
        {"\x95", 1, static_cast<size_t>(-1)},        // a lead byte at the end stands alone
    };
    for (const auto& c : cases) {
        const size_t length = std::strlen(c.text);
        EXPECT_EQ(c.trimmed, DbcsTrimSeparators(c.text, length)) << c.text;
        EXPECT_EQ(c.last, DbcsFindLastSeparator(c.text, length)) << c.text;
    }
    EXPECT_EQ(0u, DbcsTrimSeparators(nullptr, 3));
    EXPECT_EQ(static_cast<size_t>(-1), DbcsFindLastSeparator(nullptr, 3));
}
