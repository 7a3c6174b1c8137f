// Reading the definition files line by line and splitting their fields.
#include "GTest.h"

#include <string>
#include <vector>

#include "mainframe/DefinitionLines.h"

TEST(DefinitionLines, SkipsEmptyAndCommentLinesAndLeadingSpace)
{
    std::string text = "  ; comment\r\n\r\n// also\r\n\t  BEGIN\r\n   \r\nEND";
    CDefinitionLineReader reader(text);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"BEGIN", "END"}));
}

TEST(DefinitionLines, ALineLongerThanTheBufferComesInPieces)
{
    std::string text = std::string(1500, 'x') + "\nEND\n";
    CDefinitionLineReader reader(text);
    std::string line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.size(), 1023u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.size(), 1500u - 1023u);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line, "END");
    EXPECT_FALSE(reader.Next(line));
}

TEST(DefinitionLines, APieceNeverEndsInsideADoubleByteCharacter)
{
    // "表" (95 5C) would straddle the 1023-byte cut: it moves whole to the next line.
    const std::string content = std::string(1022, 'a') + "表,x\n";
    CDefinitionLineReader reader(content);
    std::string line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(std::string(1022, 'a'), line);
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ("表,x", line);
    EXPECT_FALSE(reader.Next(line));
}

TEST(DefinitionLines, SplitsFieldsByTheSharedCsvRules)
{
    const struct {
        const char* line;
        std::vector<std::string> fields;
    } cases[] = {
        {"a,b", {"a", "b"}},
        {" a , b ", {"a", "b"}},
        {"a,", {"a", ""}},
        {"", {""}},
        {"\"x\",\"y,z\"", {"x", "y,z"}},
        {"\" a \"", {" a "}},
        {"5\" pipe,x", {"5\" pipe", "x"}},
        {"5\"", {"5"}},
        {"\"a\\\"b\"", {"a\"b"}},
        {"\"\"a\"\"", {"a"}},
        {"\"VK_F5\",3005,VIRTKEY", {"VK_F5", "3005", "VIRTKEY"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitDefinitionFields(c.line), c.fields) << c.line;
}

TEST(DefinitionLines, WritesThroughATemporaryFileAndReadsBack)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "vt_definition_lines_test.txt";
    ASSERT_TRUE(WriteDefinitionFile(path.c_str(), "one\r\ntwo\r\n"));
    std::string content;
    ASSERT_TRUE(ReadDefinitionFile(path.c_str(), content));
    EXPECT_EQ(content, "one\r\ntwo\r\n");
    EXPECT_EQ(GetFileAttributesA((path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileA(path.c_str());
    EXPECT_FALSE(ReadDefinitionFile(path.c_str(), content));
    EXPECT_FALSE(WriteDefinitionFile((std::string(folder) + "no_such_folder\\x.txt").c_str(), "x"));
}
