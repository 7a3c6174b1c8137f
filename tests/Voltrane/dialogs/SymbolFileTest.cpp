// The symbol-file viewer's cores: the reader, the expressions, the records made from the
// primitives and scaled to a cell, and the cell grid arithmetic.
#include "GTest.h"

#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "EngineRecords.h"
#include "TempFolder.h"
#include "dialogs/SymbolFile.h"

namespace {

double At(const std::vector<unsigned char>& records, size_t index, int offset)
{
    double value;
    std::memcpy(&value, records.data() + index * kElementRecordSize + offset, 8);
    return value;
}

int U16At(const std::vector<unsigned char>& records, size_t index, int offset)
{
    uint16_t value;
    std::memcpy(&value, records.data() + index * kElementRecordSize + offset, 2);
    return value;
}

TEST(SymbolExpression, PrecedenceParenthesesAndErrors)
{
    double variables[20] = {};
    variables[0] = 2;    // A
    variables[4] = 10;   // E
    variables[19] = 0.5; // T
    const struct {
        const char* text;
        double value;
        int error;
    } cases[] = {
        {"1+2*3", 7, kSymbolExprOk},      {"(1+2)*3", 9, kSymbolExprOk},   {"-3+A", -1, kSymbolExprOk},
        {"A*E-T", 19.5, kSymbolExprOk},   {"8/2/2", 2, kSymbolExprOk},     {"--4", 4, kSymbolExprOk},
        {"1E5", 100000, kSymbolExprOk},   {"2.5e-1*E", 2.5, kSymbolExprOk}, {"E*1E2", 1000, kSymbolExprOk},
        {"6/0", 6, kSymbolExprDivideByZero}, {"(1+2", 3, kSymbolExprMissingParen},
        {"U+1", 1, kSymbolExprUnknownName}, {"x", 0, kSymbolExprUnknownName},
        {" 1 + ( A * 3 ) ", 7, kSymbolExprOk},
    };
    for (const auto& c : cases) {
        int error = 99;
        EXPECT_DOUBLE_EQ(EvaluateSymbolExpression(c.text, variables, &error), c.value) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

TEST(SymbolReader, ReadsKeysVariablesAndPrimitives)
{
    const std::string text =
        "KEY1,スイッチ\nKEY5,sw\r\nCODE,S-01\nTAG,42\nNAME,開閉器\n\nA,10\nB,2.5\n"
        "POS1,A,-B\nLINE,3,1,2,0,0,0,A,A*2\n"
        "CIRC,-1,,,,0,0,B,Z\n"        // the unknown Z is left out
        "KCHAR,5,0,0,0,1,2,3,4,\"文字\"\n"
        "UNKNOWN,1\n"
        "\x1a";
    const SymbolFile s = ParseSymbolText(text);
    EXPECT_EQ(s.keys[0], "スイッチ");
    EXPECT_EQ(s.keys[4], "sw");
    EXPECT_EQ(s.code, "S-01");
    EXPECT_EQ(s.tag, 42);
    EXPECT_EQ(s.name, "開閉器");
    EXPECT_EQ(s.pos[0][0], 10);
    EXPECT_EQ(s.pos[0][1], -2.5);
    ASSERT_EQ(s.primitives.size(), 3u);
    EXPECT_EQ(s.primitives[0].colour, 3);
    EXPECT_EQ(s.primitives[0].lineWidth, 2);
    EXPECT_EQ(s.primitives[0].values, (std::vector<double>{0, 0, 10, 20}));
    EXPECT_EQ(s.primitives[1].colour, -1);
    EXPECT_EQ(s.primitives[1].lineType, -1);
    EXPECT_EQ(s.primitives[1].values, (std::vector<double>{0, 0, 2.5}));
    EXPECT_EQ(s.primitives[2].text, "文字");
    EXPECT_EQ(s.primitives[2].values.size(), 4u);
}

TEST(SymbolReader, LongLinesAndManyLinesAreBounded)
{
    std::string text = "NAME," + std::string(300, 'x') + "\n";
    for (int i = 0; i < 250; ++i) text += "LINE,1,1,0,0,0,0,1,1\n";
    const SymbolFile s = ParseSymbolText(text);
    EXPECT_EQ(s.name.size(), 159u - 5u);
    EXPECT_EQ(s.primitives.size(), 199u);
}

TEST(SymbolReader, UnreadableFileIsReported)
{
    SymbolFile s;
    EXPECT_FALSE(ReadSymbolFile("Z:\\no\\such\\symbol.txt", &s));
    TempFolder folder;
    const std::string path = folder.Path() + "sym.txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char body[] = "NAME,x\r\nLINE,1,1,0,0,0,0,1,1\r\n";
    DWORD written = 0;
    WriteFile(file, body, sizeof body - 1, &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ReadSymbolFile(path.c_str(), &s));
    EXPECT_EQ(s.primitives.size(), 1u);
}

TEST(SymbolRecords, PrimitivesBecomeScaledRecords)
{
    const SymbolFile s = ParseSymbolText(
        "LINE,-1,2,-1,0,-50,0,50,0\n"
        "ARC,4,0,1,0,0,0,10,90,180\n"
        "POINT,1,0,0,9999,5,5\n"
        "ELLIPSE,1,0,0,0,0,0,30,20,10\n"
        "KLINE,1,0,0,0,0,0,1000,0\n");
    std::vector<unsigned char> records;
    std::vector<std::string> texts;
    ASSERT_TRUE(SymbolToRecords(s, 1, 7, 100, 100, &records, &texts));
    ASSERT_EQ(records.size(), 3u * kElementRecordSize);  // no mark 9999, no K form
    // The widest side is 50: 0.8 x 50 / 50 = 0.8.
    EXPECT_EQ(U16At(records, 0, 0), 1);
    EXPECT_EQ(U16At(records, 0, 11), 7);  // the caller's colour for -1
    EXPECT_EQ(records[13], 2);
    EXPECT_EQ(records[14], 0);
    EXPECT_DOUBLE_EQ(At(records, 0, 33), -40);
    EXPECT_DOUBLE_EQ(At(records, 0, 57), 40);
    EXPECT_EQ(U16At(records, 1, 0), 4);
    EXPECT_DOUBLE_EQ(At(records, 1, 57), 8);
    EXPECT_DOUBLE_EQ(At(records, 1, 65), M_PI / 2);
    EXPECT_DOUBLE_EQ(At(records, 1, 73), M_PI);
    EXPECT_EQ(U16At(records, 2, 0), 6);
    EXPECT_DOUBLE_EQ(At(records, 2, 81), 30);
    EXPECT_DOUBLE_EQ(At(records, 2, 57), 16);

    ASSERT_TRUE(SymbolToRecords(s, 2, 7, 100, 100, &records, &texts));
    EXPECT_EQ(records.size(), 1u * kElementRecordSize);
    EXPECT_EQ(U16At(records, 0, 0), 2);
    ASSERT_TRUE(SymbolToRecords(s, 0, 7, 100, 100, &records, &texts));
    EXPECT_EQ(records.size(), 5u * kElementRecordSize);
}

TEST(SymbolRecords, TextsKeepTheBasisPointByteAndKCharItsSize)
{
    const SymbolFile s = ParseSymbolText(
        "CHAR,1,3,0,0,10,0,5,1,\"A\"\n"
        "KCHAR,1,3,0,0,-10,0,5,1,\"B\"\n");
    std::vector<unsigned char> records;
    std::vector<std::string> texts;
    ASSERT_TRUE(SymbolToRecords(s, 0, 1, 40, 40, &records, &texts));
    ASSERT_EQ(records.size(), 2u * kElementRecordSize);
    EXPECT_EQ(records[13], 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(records.data() + 70), 10), "VectorFont");
    // Extent 10 each side: factor 0.8 x 20 / 10 = 1.6.
    EXPECT_DOUBLE_EQ(At(records, 0, 112), 16);
    EXPECT_DOUBLE_EQ(At(records, 0, 46), 8);
    EXPECT_DOUBLE_EQ(At(records, 1, 112), -16);
    EXPECT_DOUBLE_EQ(At(records, 1, 46), 5);
    uint32_t pointer = 0;
    std::memcpy(&pointer, records.data() + 136, 4);
    EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<uintptr_t>(pointer)), "A");
}

TEST(SymbolRecords, NothingToConvert)
{
    std::vector<unsigned char> records;
    std::vector<std::string> texts;
    EXPECT_FALSE(SymbolToRecords(ParseSymbolText("NAME,x\n"), 0, 1, 100, 100, &records, &texts));
}

TEST(SymbolGrid, CellsAndScrolling)
{
    EXPECT_EQ(SymbolGridFor(1280, 1024, 16, 20, 0).columns, 8);
    EXPECT_EQ(SymbolGridFor(1280, 1024, 16, 20, 0).rows, 5);
    EXPECT_EQ(SymbolGridFor(640, 480, 16, 20, 0).columns, 4);
    EXPECT_EQ(SymbolGridFor(640, 480, 16, 20, 0).rows, 3);
    EXPECT_EQ(SymbolGridFor(100, 100, 16, 20, 0).columns, 1);
    EXPECT_EQ(SymbolGridFor(640, 480, 16, 20, 1).rows, 2);
    EXPECT_EQ(SymbolCellColumn(3), 0);
    EXPECT_EQ(SymbolCellColumn(116), 1);
    EXPECT_EQ(SymbolCellRow(115), 0);
    EXPECT_EQ(SymbolCellRow(232), 2);
    EXPECT_EQ(SymbolScrollMax(10, 4, 3), 0);
    EXPECT_EQ(SymbolScrollMax(40, 4, 3), 8);
    EXPECT_EQ(SymbolCellName("short"), "short");
    EXPECT_EQ(SymbolCellName("abcdefghijklmno"), "abcdefghijkl..");
    EXPECT_EQ(SymbolCellName("abcdefghijk" "あいう"), "abcdefghijk" "あ..");
}

}  // namespace
