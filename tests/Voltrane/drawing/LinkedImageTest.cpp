// The image linked to a drawing: loaded only when "dwgin.ini" switches link loading on and the
// image beside the drawing exists, and then only when the user agrees.
#include "GTest.h"

#include <string>
#include <vector>

#include "Dravik.h"
#include "TempFolder.h"
#include "core/SettingsMessage.h"
#include "drawing/DrawingOpen.h"

namespace {

std::vector<std::string> g_asked;

int SayNo(HWND, const char* text, const char*, UINT)
{
    g_asked.push_back(text ? text : "");
    return IDNO;
}

// "dwgin.ini" of the program's data folder for one test, removed afterwards.
struct LinkSetting {
    explicit LinkSetting(const char* value)
    {
        Dader_GetDataPath(7, path, "dwgin.ini", 1);
        WritePrivateProfileStringA("TIFF", "LINKLOAD", value, path);
    }
    ~LinkSetting() { DeleteFileA(path); }
    char path[MAX_PATH] = {};
};

}  // namespace

TEST(LinkedImage, LoadedOnlyWhenSwitchedOnPresentAndAgreedTo)
{
    for (const char* value : {"", "0", "x"}) {
        LinkSetting setting(value);
        EXPECT_EQ(0, IsTiffLinkLoadOn()) << value;
    }
    TempFolder folder;
    const std::string drawing = folder.File("plan.tcf");
    SettingsMessageHook previous = SetSettingsMessageHook(SayNo);
    {
        LinkSetting setting("1");
        EXPECT_EQ(1, IsTiffLinkLoadOn());
        g_asked.clear();
        EXPECT_EQ(1, LoadLinkedTiffImage(drawing.c_str(), 0)) << "no image beside the drawing";
        EXPECT_TRUE(g_asked.empty());

        ASSERT_TRUE(folder.Write("plan.tif", std::string("II*\0", 4)));
        EXPECT_EQ(1, LoadLinkedTiffImage(drawing.c_str(), 0)) << "the user said no";
        ASSERT_EQ(1u, g_asked.size());
        EXPECT_EQ("この図面にはイメージデータが存在します。\n同時に読み込みますか？", g_asked[0]);
    }
    g_asked.clear();
    EXPECT_EQ(1, LoadLinkedTiffImage(drawing.c_str(), 0)) << "link loading off";
    EXPECT_TRUE(g_asked.empty());
    SetSettingsMessageHook(previous);
}

TEST(RasterPaper, TheSmallestPaperThatHoldsTheRaster)
{
    struct Case {
        double width, height;
        const char* paper;
    };
    const Case cases[] = {
        {1500, 1000, "A0 横"},  // beyond A0: A0
        {1000, 700, "A0 横"},   // exceeds A1
        {300, 200, "A3 横"},    // 3 mm wider than A4: A4 would not hold it
        {297, 210, "A4 横"},    // exactly A4
        {100, 50, "A6 横"},     // exceeds none
        {200, 300, "A3 縦"},    // higher than wide: portrait; A4 縦 is 297 high
        {210, 297, "A4 縦"},
        {100, 100, "A6 縦"},    // square counts as portrait
        {900, 1300, "A0 縦"},
    };
    for (const Case& c : cases) {
        const int row = ChooseRasterPaperRow(c.width, c.height);
        ASSERT_GE(row, 0);
        ASSERT_LT(row, kRasterPaperRows);
        EXPECT_STREQ(c.paper, GetRasterPaperTable()[row].name) << c.width << " x " << c.height;
    }
    EXPECT_EQ(0x8013, GetRasterPaperTable()[10].code);
    EXPECT_EQ(420, GetRasterPaperTable()[10].height);
}
