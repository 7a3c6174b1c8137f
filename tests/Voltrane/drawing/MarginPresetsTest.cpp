// Margin preset files: reading, writing, the list-line form and the margin check.
#include "GTest.h"

#include <windows.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/SettingsMessage.h"
#include "drawing/MarginPresets.h"

namespace {

const std::string kHeader = "Brisco Margin Data Ver.1.0";

struct ReadCase {
    const char* what;
    std::string content;
    int result;
    std::vector<std::string> names;
    int unread;
};

class MarginFileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(MarginFileRead, ReadsThePresets)
{
    const ReadCase& c = GetParam();
    TempFolder folder;
    ASSERT_TRUE(folder.Write("m.mgn", c.content));
    CMargin store;
    EXPECT_EQ(store.Load(folder.File("m.mgn").c_str()), c.result);
    std::vector<std::string> names;
    for (const CMarginData& p : store.presets) names.push_back(p.name);
    EXPECT_EQ(names, c.names);
    EXPECT_EQ(static_cast<int>(store.unreadLines.size()), c.unread);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MarginFileRead,
    ::testing::Values(
        ReadCase{"header only", kHeader + "\r\n", 0, {}, 0},
        ReadCase{"trailing blanks after the header", kHeader + " \t\r\nA, 1, 2, 3, 4, 5, 6, 7, 8\r\n", 0, {"A"}, 0},
        ReadCase{"leading blanks refused", " " + kHeader + "\r\nA, 1, 2, 3, 4, 5, 6, 7, 8\r\n", -2, {}, 0},
        ReadCase{"empty file", "", -1, {}, 0},
        ReadCase{"blank line skipped", kHeader + "\nA, 1, 2, 3, 4, 5, 6, 7, 8\n\nB, 1, 2, 3, 4, 5, 6, 7, 8\n", 0,
                 {"A", "B"}, 0},
        ReadCase{"wrong lines kept aside", kHeader + "\nA, 1, 2, 3, 4, 5, 6, 7, 8\nA,B, 1, 2, 3, 4, 5, 6, 7, 8\n"
                 "C, x, 2, 3, 4, 5, 6, 7, 8\n", 0, {"A"}, 2}),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return "Case" + std::to_string(info.index); });

TEST(MarginFile, MissingFileGivesNoPresets)
{
    TempFolder folder;
    CMargin store;
    EXPECT_EQ(store.Load(folder.File("none.mgn").c_str()), -1);
    EXPECT_TRUE(store.presets.empty());
}

TEST(MarginFile, RoundTripKeepsValuesAndUnreadLines)
{
    TempFolder folder;
    const std::string unread = "Name, with, comma, 1, 2, 3, 4, 5, 6, 7, 8";
    ASSERT_TRUE(folder.Write("m.dat", kHeader + "\r\nA3 plotter, 10, 10, 5, 5, 10, 10, 5.5, 5\r\n" + unread +
                                          "\r\nB, 10.25, 0.123456789, 0, 0, 0, 0, 0, 99.5\r\n"));
    CMargin store;
    ASSERT_EQ(store.Load(folder.File("m.dat").c_str()), 0);
    ASSERT_EQ(store.Save(folder.File("out.dat").c_str()), 0);
    EXPECT_EQ(folder.Read("out.dat"), kHeader + "\r\nA3 plotter, 10, 10, 5, 5, 10, 10, 5.5, 5\r\n"
                                                "B, 10.25, 0.123456789, 0, 0, 0, 0, 0, 99.5\r\n" + unread + "\r\n");
    CMargin again;
    ASSERT_EQ(again.Load(folder.File("out.dat").c_str()), 0);
    ASSERT_EQ(again.presets.size(), 2u);
    EXPECT_EQ(again.presets[1].margins[0], 10.25);
    EXPECT_EQ(again.presets[1].margins[1], 0.123456789);
    EXPECT_EQ(again.presets[0].margins[6], 5.5);
    ASSERT_EQ(again.unreadLines.size(), 1u);
    EXPECT_EQ(again.unreadLines[0], unread);
}

TEST(MarginFile, LoadingTwiceDoubles)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("m.mgn", kHeader + "\nA, 1, 2, 3, 4, 5, 6, 7, 8\n"));
    CMargin store;
    ASSERT_EQ(store.Load(folder.File("m.mgn").c_str()), 0);
    ASSERT_EQ(store.Load(folder.File("m.mgn").c_str()), 0);
    EXPECT_EQ(store.presets.size(), 2u);
}

TEST(MarginFile, UnwritablePathLeavesNothing)
{
    TempFolder folder;
    CMargin store;
    EXPECT_EQ(store.Save(folder.File("no such folder\\m.dat").c_str()), -1);
}

TEST(MarginFile, DefaultPathIsMarginDatInTheSettingsFolder)
{
    CMargin store;
    ASSERT_GE(store.path.size(), 11u);
    EXPECT_EQ(store.path.substr(store.path.size() - 11), "\\margin.dat");
}

TEST(MarginListLine, ColumnsAndRoundTrip)
{
    CMarginData preset;
    const double values[8] = {10, 10.25, 5, 5, 0, 99.99, 5.5, 0.004};
    preset.Set("A3", values);
    std::string line;
    FormatMarginListLine(preset, line);
    EXPECT_EQ(line, std::string("A3") + std::string(28, ' ') + "  10.00  10.25   5.00   5.00   0.00  99.99   5.50   0.00");
    EXPECT_EQ(line.substr(0, 31), std::string("A3") + std::string(29, ' '));
    EXPECT_EQ(line.substr(31, 6), " 10.00");
    CMarginData back;
    ParseMarginListLine(line.c_str(), back);
    EXPECT_EQ(back.name, "A3");
    EXPECT_DOUBLE_EQ(back.margins[1], 10.25);
    EXPECT_DOUBLE_EQ(back.margins[5], 99.99);
    EXPECT_DOUBLE_EQ(back.margins[7], 0.0);
}

int CountingBox(HWND, const char*, const char*, UINT) { return IDOK; }

TEST(MarginCheck, ValueTable)
{
    SettingsMessageHook previous = SetSettingsMessageHook(CountingBox);
    struct Case {
        const char* text;
        int valid;
    } cases[] = {{"100", 0}, {"99.999999999", 0}, {"-1", 0}, {"abc", 0}, {"", 0}, {"5x", 0},
                 {"0", 1},   {"99.99", 1},        {" 12.5 ", 1}};
    for (const Case& c : cases) {
        double value = -7;
        EXPECT_EQ(CheckMarginText(nullptr, c.text, &value), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(value, std::atof(c.text)) << c.text;
        }
    }
    EXPECT_EQ(CheckMarginValue(nullptr, 100.0), 0);
    EXPECT_EQ(CheckMarginValue(nullptr, 0.0), 1);
    SetSettingsMessageHook(previous);
}

}  // namespace
