// The margin dialog of command 4024 in the real program: an invalid margin keeps it open, OK
// takes the entries over, the view shows the margin frame in the chosen colour where the
// margins put it, and a clean exit leaves the entries in "LocalSettings.xml".
#include "GTest.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "CatalogueSwap.h"
#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "ViewScreen.h"
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
    return record == std::string::npos ? std::string() : XmlElementText(xml, tag, record);
}

// The program on empty per-user settings with one empty drawing window open.
class MarginSettingsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(settings.Ready());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr);
    }

    CatalogueSwap catalogue{kCatalogue};
    SettingsFileSwap settings{"LocalSettings.xml", {}};
    ProgramProcess program;  // ends before the settings file is put back
    HWND frame = nullptr;
};

TEST_F(MarginSettingsEndToEnd, Command4024TakesTheMarginsOverAndTheyAreSavedOnExit)
{

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

// The margins typed for both paper directions, in the order of the edits 1305 to 1312: top,
// bottom, left, right.
const char* const kTypedMargins[4] = {"20", "15", "30", "25"};

// Waits for the dialog of command 4024 and fills it: the margins above, the margin frame shown
// in colour `colour`; then OK.
bool FillMarginDialogAndConfirm(ProgramProcess& program, HWND frame, int colour)
{
    PostMessageA(frame, WM_COMMAND, 4024, 0);
    HWND dialog = program.WaitForWindow("#32770", 20000);
    if (dialog == nullptr || Caption(dialog) != kMarginCaption) return false;
    for (int edit = 0; edit < 8; ++edit) SetDlgItemTextA(dialog, 1305 + edit, kTypedMargins[edit % 4]);
    CheckDlgButton(dialog, 1104, BST_CHECKED);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(1104, BN_CLICKED), 0);
    SendMessageA(GetDlgItem(dialog, 1402), CB_SETCURSEL, colour - 1, 0);  // item k is colour k + 1
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 10000;) Sleep(20);
    return !IsWindow(dialog);
}

TEST_F(MarginSettingsEndToEnd, Command4024ShowsTheMarginFrameInItsColourWhereTheMarginsPutIt)
{
    HWND view = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW));
    ASSERT_NE(view, nullptr);

    PDBINFO block;
    ASSERT_TRUE(ReadViewBlock(program.ProcessId(), view, &block));
    DbInfoRecord info;
    ASSERT_TRUE(ReadDrawingInfo(program.ProcessId(), block, &info));
    ASSERT_TRUE(WaitForSteadyView(program.ProcessId(), view, 10000));
    ViewMapping mapping;
    ASSERT_TRUE(ReadViewMapping(program.ProcessId(), view, &mapping));

    // The paper in world units, and the margin frame inside it: millimetres on paper over the
    // drawing's scale.
    const double W = info.drawingWidth, H = info.drawingHeight;
    const double paperLeft = info.originMode != 0 ? 0 : -W / 2, paperBottom = info.originMode != 0 ? 0 : -H / 2;
    const double scale = std::isfinite(info.scale) && info.scale > 0 ? info.scale : 1.0;
    const double left = paperLeft + 30 / scale, right = paperLeft + W - 25 / scale;
    const double bottom = paperBottom + 15 / scale, top = paperBottom + H - 20 / scale;
    const double midX = (left + right) / 2, midY = (top + bottom) / 2;
    const std::vector<POINT> edges = {mapping.ToClient(left, midY), mapping.ToClient(right, midY),
                                      mapping.ToClient(midX, top), mapping.ToClient(midX, bottom)};
    const POINT inside = mapping.ToClient(left + 20 / mapping.mode.scale, midY);  // 20 pixels in

    // A colour the view shows nowhere near those places yet, nor as its background.
    COLORREF background = 0, shown = 0;
    ASSERT_TRUE(ReadDrawingColour(program.ProcessId(), block, 0, &background));
    int colour = 0;
    std::string seen;
    for (int candidate = 2; candidate <= 64 && colour == 0; ++candidate) {
        if (!ReadDrawingColour(program.ProcessId(), block, candidate, &shown) || shown == background) continue;
        bool free = !ShowsColourNear(view, inside, shown, &seen);
        for (POINT p : edges) free = free && !ShowsColourNear(view, p, shown, &seen);
        if (free) colour = candidate;
    }
    ASSERT_NE(colour, 0) << "no colour free of the view's picture";
    ASSERT_TRUE(ReadDrawingColour(program.ProcessId(), block, colour, &shown));

    ASSERT_TRUE(FillMarginDialogAndConfirm(program, frame, colour));
    const char* names[4] = {"left", "right", "top", "bottom"};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(WaitForColour(view, edges[i], shown, &seen)) << "the " << names[i] << " edge: " << seen;
    EXPECT_FALSE(ShowsColourNear(view, inside, shown, &seen)) << "inside the frame: " << seen;
    if (HasFailure()) SaveScreen("MarginFrameTest.bmp");

    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

}  // namespace
