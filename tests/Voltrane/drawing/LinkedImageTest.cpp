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
