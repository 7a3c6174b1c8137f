// The tool panel "基本操作" in the real program: its four groups, snap buttons clicked with the
// real pointer, whose word the program keeps in "LocalSettings.xml" at exit, and the paper and
// scale of a drawing.
#include "GTest.h"

#include <windows.h>

#include <string>

#include "CatalogueSwap.h"
#include "CommandIds.h"
#include "DrawingWindows.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

struct ClassSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK FindVisibleClass(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<ClassSearch*>(lParam);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == search->className && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The shown tool panel among the frame's descendants, within the time.
HWND WaitForToolPanel(HWND frame, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();; Sleep(100)) {
        ClassSearch search = {"ToolPanel", nullptr};
        EnumChildWindows(frame, FindVisibleClass, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start > timeoutMs) return search.found;
    }
}

bool WaitForChecked(HWND button, LONG checked, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50))
        if (GetWindowLongA(button, 4) == checked) return true;
    return false;
}

POINT CentreOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class ToolPanelEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(settings.Ready());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitUntilResponsive(frame, 30000));
        panel = WaitForToolPanel(frame, 30000);
        ASSERT_NE(panel, nullptr);
    }

    CatalogueSwap catalogue{kEchoOnlyCatalogue};
    // All four groups; the snap word 0x68: any point, end points, intersections; the pane layout
    // is not kept at exit.
    SettingsFileSwap settings{"LocalSettings.xml",
                              {{"iStartOpenDlgFg", "1"}, {"ToolPanelDispMode", "15"}, {"LMsFg", "104"}, {"bWindowSz", "0"}}};
    ProgramProcess program;  // ends before the settings file is put back
    HWND frame = nullptr;
    HWND panel = nullptr;
};

TEST_F(ToolPanelEndToEnd, ShowsItsFourGroupsAndClickedSnapButtonsReachTheSettingsFile)
{
    const struct {
        int id;
        const char* text;
    } groups[] = {{3771, nullptr}, {8000, nullptr}, {5001, nullptr}, {3310, "レイヤ設定"}, {3312, nullptr},
                  {3405, "任意点検出"}, {3404, "中点検出"}, {3408, "属性取込"}, {3516, "グリッド"}};
    for (const auto& g : groups) {
        HWND control = GetDlgItem(panel, g.id);
        ASSERT_NE(control, nullptr) << g.id;
        EXPECT_TRUE(IsWindowVisible(control)) << g.id;
        if (g.text != nullptr) {
            EXPECT_EQ(Caption(control), g.text) << g.id;
        }
    }
    // The drawing menu pane hidden, the tool panel has the bar to itself and every group fits.
    SendMessageA(frame, WM_COMMAND, kCmdPaneDrawingMenu, 0);
    HWND lastRow = GetDlgItem(panel, 3409);
    bool fits = false;
    for (DWORD start = GetTickCount(); !fits && GetTickCount() - start < 20000; Sleep(100)) {
        RECT shown;
        GetClientRect(panel, &shown);
        MapWindowPoints(panel, nullptr, reinterpret_cast<POINT*>(&shown), 2);
        const POINT centre = CentreOf(lastRow);
        fits = PtInRect(&shown, centre) != FALSE;
    }
    ASSERT_TRUE(fits) << "the last row of the fourth group lies inside the pane";

    HWND midpoints = GetDlgItem(panel, 3404), anyPoint = GetDlgItem(panel, 3405);
    EXPECT_TRUE(WaitForChecked(anyPoint, 1, 10000)) << "the word's bits show on the buttons";
    EXPECT_TRUE(WaitForChecked(midpoints, 0, 10000));

    ASSERT_TRUE(ClickScreen(CentreOf(midpoints)));
    EXPECT_TRUE(WaitForChecked(midpoints, 1, 20000)) << "中点検出 switched on";
    ASSERT_TRUE(ClickScreen(CentreOf(anyPoint)));
    EXPECT_TRUE(WaitForChecked(anyPoint, 0, 20000)) << "任意点検出 switched off";
    // Off the buttons, so that none holds the pointer when the program closes.
    RECT frameRect;
    GetWindowRect(frame, &frameRect);
    MovePointer({(frameRect.left + frameRect.right) / 2, (frameRect.top + frameRect.bottom) / 2});

    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    // 0x68 with 0x04 on and 0x08 off.
    EXPECT_EQ(XmlElementText(settings.Current(), "LMsFg"), "100");
}

// The first text of the paper and scale fields within the time, or empty when they stay empty.
std::string WaitForPaperText(HWND panel, DWORD timeoutMs, std::string* scale)
{
    for (DWORD start = GetTickCount();; Sleep(100)) {
        // Between two layouts the fields do not exist; a missing window has no text to read.
        HWND paperField = GetDlgItem(panel, 3771), scaleField = GetDlgItem(panel, 3773);
        std::string paper = paperField != nullptr ? Caption(paperField) : std::string();
        *scale = scaleField != nullptr ? Caption(scaleField) : std::string();
        if (paper.find_first_not_of(' ') != std::string::npos) return paper;
        if (GetTickCount() - start > timeoutMs) return std::string();
    }
}

// The empty drawing the start opens shows its paper and scale with nothing else asked of the
// program (the window becomes active before it is entered in the view table, so the refresh of
// its activation cannot find it), and keeps showing them when the groups are laid out again.
TEST_F(ToolPanelEndToEnd, TheDrawingOpenedAtStartShowsItsPaperWithoutFurtherAction)
{
    for (DWORD start = GetTickCount(); DrawingWindowCount(frame) < 1 && GetTickCount() - start < 30000; Sleep(100)) {
    }
    ASSERT_GE(DrawingWindowCount(frame), 1) << "iStartOpenDlgFg opens an empty drawing";
    std::string scale;
    const std::string paper = WaitForPaperText(panel, 20000, &scale);
    EXPECT_FALSE(paper.empty());
    EXPECT_FALSE(scale.empty());

    // The groups laid out again (what the settings sheet asks for) keep the drawing's texts.
    HWND oldPaper = GetDlgItem(panel, 3771);
    PostMessageA(panel, WM_COMMAND, 10, 0);
    ASSERT_TRUE(WaitUntilGone(oldPaper, 20000));
    std::string again;
    EXPECT_EQ(WaitForPaperText(panel, 20000, &again), paper);
    EXPECT_EQ(again, scale);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

// Add layer (3315) over the drawing opened at start: OK adds the offered layer, so the next
// opening offers another number; Cancel adds nothing.
TEST_F(ToolPanelEndToEnd, AddLayerAddsTheOfferedLayerToTheActiveDrawing)
{
    for (DWORD start = GetTickCount(); DrawingWindowCount(frame) < 1 && GetTickCount() - start < 30000; Sleep(100)) {
    }
    ASSERT_GE(DrawingWindowCount(frame), 1);
    const std::string caption = "レイヤ追加（指定後 [OK] ｸﾘｯｸしてください。）";
    // Opens the dialog from the panel and ends it with the button; the number it offered.
    auto addLayer = [&](int button) {
        PostMessageA(panel, WM_COMMAND, 3315, 0);
        HWND dialog = WaitForDialog(program, caption, 30000);
        EXPECT_NE(dialog, nullptr);
        if (dialog == nullptr) return std::string();
        // The combo box keeps its text in its edit field: asked, not read from the window title.
        std::string number;
        for (DWORD start = GetTickCount(); number.empty() && GetTickCount() - start < 10000; Sleep(50)) {
            char text[32] = {};
            DWORD_PTR length = 0;
            SendMessageTimeoutA(GetDlgItem(dialog, 300), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                                SMTO_BLOCK, 5000, &length);
            number = text;
        }
        PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(button), 0);
        EXPECT_TRUE(WaitUntilGone(dialog, 30000));
        return number;
    };
    const std::string first = addLayer(IDOK);
    ASSERT_FALSE(first.empty());
    const std::string second = addLayer(IDCANCEL);
    EXPECT_FALSE(second.empty());
    EXPECT_NE(second, first) << "the layer added is no longer offered";
    EXPECT_EQ(addLayer(IDCANCEL), second) << "Cancel added nothing";
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

// The paper and scale of the active drawing: a name from the paper table or "その他", and a scale.
TEST_F(ToolPanelEndToEnd, ShowsThePaperAndScaleOfTheActiveDrawing)
{
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr);
    PostMessageA(panel, WM_COMMAND, 3518, 0);
    std::string paper, scale;
    for (DWORD start = GetTickCount(); paper.empty() && GetTickCount() - start < 20000; Sleep(100)) {
        paper = Caption(GetDlgItem(panel, 3771));
        scale = Caption(GetDlgItem(panel, 3773));
        if (paper.find_first_not_of(' ') == std::string::npos) paper.clear();
    }
    EXPECT_FALSE(paper.empty());
    EXPECT_FALSE(scale.empty());
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

}  // namespace
