// The margin dialog of command 4024 in the real program: an invalid margin keeps it open, OK
// takes the entries over, and a clean exit leaves them in "LocalSettings.xml".
#include "GTest.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

const char kMarginCaption[] = "マージンの設定（指定後 [OK] ｸﾘｯｸしてください。）";

// The text between <tag> and </tag> after the first "<paper_margin"; empty when missing.
std::string PaperMarginField(const std::string& xml, const std::string& tag)
{
    const size_t record = xml.find("<paper_margin");
    if (record == std::string::npos) return std::string();
    const size_t start = xml.find("<" + tag + ">", record);
    const size_t end = xml.find("</" + tag + ">", record);
    if (start == std::string::npos || end == std::string::npos || end < start) return std::string();
    return xml.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

TEST(MarginSettingsEndToEnd, Command4024TakesTheMarginsOverAndTheyAreSavedOnExit)
{
    CatalogueSwap catalogue{kCatalogue};
    ASSERT_TRUE(catalogue.Written());
    SettingsFileSwap settings("LocalSettings.xml", {});
    ASSERT_TRUE(settings.Ready());
    ProgramProcess program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr);
    HWND view = OpenEmptyDrawingWindow(frame);
    ASSERT_NE(view, nullptr);

    PostMessageA(frame, WM_COMMAND, 4024, 0);
    HWND dialog = program.WaitForWindow("#32770", 20000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Caption(dialog), kMarginCaption);
    SetDlgItemTextA(dialog, 1305, "12.5");
    SetDlgItemTextA(dialog, 1306, "abc");
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND box = nullptr;
    for (DWORD start = GetTickCount(); box == nullptr && GetTickCount() - start < 10000; Sleep(50)) {
        HWND shown = program.WaitForWindow("#32770", 100);
        if (shown != nullptr && shown != dialog) box = shown;
    }
    ASSERT_NE(box, nullptr) << "the check message";
    EXPECT_EQ(Caption(box), "入力チェック");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < 5000;) Sleep(20);
    EXPECT_TRUE(IsWindow(dialog)) << "an invalid margin keeps the dialog open";

    SetDlgItemTextA(dialog, 1306, "7");
    CheckDlgButton(dialog, 1104, BST_CHECKED);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1104, BN_CLICKED), 0);
    SendMessageA(GetDlgItem(dialog, 1402), CB_SETCURSEL, 2, 0);   // colour 3
    SendMessageA(GetDlgItem(dialog, 1400), CB_SETCURSEL, 5, 0);   // colour 5
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 10000;) Sleep(20);
    EXPECT_FALSE(IsWindow(dialog));

    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    const std::string xml = settings.Current();
    EXPECT_EQ(std::atof(PaperMarginField(xml, "top").c_str()), 12.5);
    EXPECT_EQ(std::atof(PaperMarginField(xml, "bottom").c_str()), 7.0);
    EXPECT_EQ(PaperMarginField(xml, "color"), "3");
    EXPECT_EQ(PaperMarginField(xml, "papercolor"), "5");
}

}  // namespace
