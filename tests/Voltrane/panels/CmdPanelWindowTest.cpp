#include "GTest.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "CmdPanelSandbox.h"
#include "HostMessages.h"
#include "core/CadSystem.h"
#include "panels/ButtonImageSets.h"
#include "panels/CmdPanel.h"

namespace {

// Two types: the first with a short and a long button, a row break and two more; the second
// with one button that shares a command with the first.
const char kTypeA[] = "作図";
const char kTypeB[] = "編集";

std::string TwoTypes()
{
    return PanelXml({{kTypeA, {"線分,6000,線", "12345678901,6001,長い", "\\n", "円,6020,円", "弧,6030,弧"}},
                     {kTypeB, {"複写,7000,複写", "線分,6000,線"}}});
}

class CmdPanelWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitCommonControls();
        FreeButtonImageSets();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CmdPanelTestHost";
        RegisterClassA(&wc);
        CmdPanelContent::lowResolutionSwitch = [] { return 0; };
    }
    void TearDown() override
    {
        panels.clear();
        for (HWND host : hosts) DestroyWindow(host);
        SetMainFrameWnd(nullptr);
        CmdPanelContent::lowResolutionSwitch = saved;
    }
    CCmdPanel& MakePanel(int width, int height, int type = 0)
    {
        HWND host = CreateWindowExA(0, "CmdPanelTestHost", "", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        hosts.push_back(host);
        panels.push_back(std::make_unique<CCmdPanel>());
        CCmdPanel& panel = *panels.back();
        panel.SetPanelType(type);
        RECT rc = {0, 0, width, height};
        panel.Create(host, &rc, nullptr, CCmdPanel::GetWndStyle(0), 0, nullptr);
        SendMessageA(panel.m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
        return panel;
    }
    static RECT Place(HWND window)
    {
        RECT rc = {};
        GetWindowRect(window, &rc);
        MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    static std::vector<CCmdPnlButton*> Buttons(CCmdPanel& panel, int type)
    {
        std::vector<CCmdPnlButton*> out;
        for (auto& button : panel.Content()->data[type]->buttons)
            if (button) out.push_back(button.get());
        return out;
    }
    CmdPanelSandbox sandbox;
    std::vector<HWND> hosts;
    std::vector<std::unique_ptr<CCmdPanel>> panels;
    int (*saved)() = CmdPanelContent::lowResolutionSwitch;
};

// The window's own visible style: the test's host windows are never shown.
bool Shown(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0; }

void ExpectPlaces(const std::vector<HWND>& windows, const std::vector<RECT>& places)
{
    ASSERT_EQ(windows.size(), places.size());
    for (size_t i = 0; i < windows.size(); ++i) {
        SCOPED_TRACE(i);
        RECT rc = {};
        GetWindowRect(windows[i], &rc);
        MapWindowPoints(nullptr, GetParent(windows[i]), reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(rc.left, places[i].left);
        EXPECT_EQ(rc.top, places[i].top);
        EXPECT_EQ(rc.right, places[i].right);
        EXPECT_EQ(rc.bottom, places[i].bottom);
    }
}

TEST_F(CmdPanelWindowTest, AWidePanelPlacesRowsRightToLeftFromTheListWithSharedColumnWidths)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    CCmdPanel& panel = MakePanel(900, 120);
    ASSERT_NE(panel.Content(), nullptr);
    const RECT combo = Place(panel.Content()->typeCombo);
    EXPECT_EQ(combo.left, 790);
    EXPECT_EQ(combo.top, 4);
    EXPECT_EQ(combo.right - combo.left, 100);
    std::vector<HWND> windows;
    for (CCmdPnlButton* button : Buttons(panel, 0)) windows.push_back(button->m_hWnd);
    // Column 0 (under the list) takes the list's width; column 1 the widest of its buttons.
    ExpectPlaces(windows, {{714, 2, 790, 34}, {614, 2, 714, 34}, {790, 34, 890, 66}, {714, 34, 790, 66}});
    std::vector<HWND> strip;
    for (auto& button : panel.Content()->typeButtons.buttons) strip.push_back(button->m_hWnd);
    ExpectPlaces(strip, {{506, 70, 890, 94}, {122, 70, 506, 94}});
    for (auto& button : panel.Content()->typeButtons.buttons) EXPECT_EQ(button->verticalCaption, 0);
    for (CCmdPnlButton* button : Buttons(panel, 1)) EXPECT_FALSE(Shown(button->m_hWnd));
}

TEST_F(CmdPanelWindowTest, ATallPanelTurnsRowsIntoColumnsOfEqualButtonsWithTheStripUpright)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    CCmdPanel& panel = MakePanel(300, 700);
    ASSERT_NE(panel.Content(), nullptr);
    const RECT combo = Place(panel.Content()->typeCombo);
    EXPECT_EQ(combo.left, 4);
    EXPECT_EQ(combo.top, 2);
    const int top = (combo.bottom - combo.top) + 6;
    std::vector<HWND> windows;
    for (CCmdPnlButton* button : Buttons(panel, 0)) windows.push_back(button->m_hWnd);
    ExpectPlaces(windows, {{4, top, 104, top + 32}, {4, top + 32, 104, top + 64}, {104, top, 204, top + 32},
                           {104, top + 32, 204, top + 64}});
    std::vector<HWND> strip;
    for (auto& button : panel.Content()->typeButtons.buttons) strip.push_back(button->m_hWnd);
    ExpectPlaces(strip, {{208, top, 232, top + 268}, {208, top + 268, 232, top + 536}});
    for (auto& button : panel.Content()->typeButtons.buttons) EXPECT_EQ(button->verticalCaption, 1);
}

TEST_F(CmdPanelWindowTest, TheCommandNoticeHighlightsTheCommandInEveryTypeOfBothPanels)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    CCmdPanel& first = MakePanel(900, 120);
    CCmdPanel& second = MakePanel(900, 120, 1);
    for (CCmdPanel* panel : {&first, &second})
        EXPECT_EQ(SendMessageA(panel->m_hWnd, WM_CAD_CMD_NOTIFY, 6000, 1), 0);
    for (CCmdPanel* panel : {&first, &second}) {
        EXPECT_EQ(Buttons(*panel, 0)[0]->selected, 1);
        EXPECT_EQ(Buttons(*panel, 1)[1]->selected, 1);
        EXPECT_EQ(Buttons(*panel, 0)[1]->selected, 0);
        EXPECT_EQ(Buttons(*panel, 1)[0]->selected, 0);
    }
    for (CCmdPanel* panel : {&first, &second}) SendMessageA(panel->m_hWnd, WM_CAD_CMD_NOTIFY, 6000, 0);
    for (CCmdPanel* panel : {&first, &second}) EXPECT_EQ(Buttons(*panel, 0)[0]->selected, 0);
    // Ids are compared in full: the notice of 6000 + 65536 reaches no button of 6000.
    SendMessageA(first.m_hWnd, WM_CAD_CMD_NOTIFY, 6000 + 65536, 1);
    EXPECT_EQ(Buttons(first, 0)[0]->selected, 0);
}

TEST_F(CmdPanelWindowTest, TheListAndTheTypeButtonsSwitchToTheSamePage)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    CCmdPanel& panel = MakePanel(900, 120);
    CmdPanelContent& content = *panel.Content();
    auto expectShown = [&](int type) {
        EXPECT_EQ(content.currentType, type);
        EXPECT_EQ(panel.GetPanelType(), type);
        EXPECT_EQ(SendMessageA(content.typeCombo, CB_GETCURSEL, 0, 0), type);
        EXPECT_EQ(content.typeButtons.buttons[type]->selected, 1);
        EXPECT_EQ(content.typeButtons.buttons[1 - type]->selected, 0);
        EXPECT_EQ(content.typeButtons.selectedName, content.typeNames[type]);
        for (int t = 0; t < 2; ++t)
            for (CCmdPnlButton* button : Buttons(panel, t)) EXPECT_EQ(Shown(button->m_hWnd), t == type);
    };
    expectShown(0);
    SendMessageA(content.typeCombo, CB_SETCURSEL, 1, 0);
    SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(2000, CBN_SELCHANGE), reinterpret_cast<LPARAM>(content.typeCombo));
    expectShown(1);
    // A click on type button 0 (id 100) comes back as a type-button click.
    SendMessageA(content.typeButtons.buttons[0]->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(content.typeButtons.buttons[0]->m_hWnd, WM_LBUTTONUP, 0, 0);
    expectShown(0);
    SendMessageA(panel.m_hWnd, WM_CMDPANEL_CLICK, 0x10000 + 101, 0);
    expectShown(1);
    SendMessageA(panel.m_hWnd, WM_CMDPANEL_CLICK, 0x10000 + 105, 0);
    EXPECT_EQ(content.currentType, 1) << "no type button has that id";
}

TEST_F(CmdPanelWindowTest, AClickOnACommandButtonPostsTheCommandToTheMainFrame)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    HWND frame = CreateWindowExA(0, "CmdPanelTestHost", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    hosts.push_back(frame);
    SetMainFrameWnd(frame);
    CCmdPanel& panel = MakePanel(900, 120);
    HWND button = Buttons(panel, 0)[2]->m_hWnd;
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageA(button, WM_LBUTTONUP, 0, 0);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, frame, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 6020u);
    EXPECT_EQ(msg.lParam, 0);
}

TEST_F(CmdPanelWindowTest, AStoredTypeBeyondTheFileShowsTheFirstType)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    CCmdPanel& panel = MakePanel(900, 120, 7);
    EXPECT_EQ(panel.GetPanelType(), 0);
    EXPECT_TRUE(Shown(Buttons(panel, 0)[0]->m_hWnd));
    EXPECT_EQ(SendMessageA(panel.Content()->typeCombo, CB_GETCURSEL, 0, 0), 0);
}

TEST_F(CmdPanelWindowTest, WithoutAReadableFileThePanelStaysEmptyAndSaysSo)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile("<PanelInfo><作図>"));
    CCmdPanel& panel = MakePanel(900, 120, 3);
    EXPECT_EQ(panel.Content(), nullptr);
    ASSERT_EQ(CmdPanelSandbox::Boxes().size(), 1u);
    EXPECT_EQ(CmdPanelSandbox::Boxes()[0].caption, "エラー");
    EXPECT_EQ(SendMessageA(panel.m_hWnd, WM_CAD_CMD_NOTIFY, 6000, 1), -1);
    EXPECT_EQ(SendMessageA(panel.m_hWnd, WM_COMMAND, 101, 0), 0);
    EXPECT_EQ(panel.GetPanelType(), 3);
    SendMessageA(panel.m_hWnd, WM_CMDPANEL_CLICK, 0x10000 + 100, 0);
    EXPECT_EQ(GetWindow(panel.m_hWnd, GW_CHILD), nullptr);
}

TEST_F(CmdPanelWindowTest, TheModelIsReachedThroughCommand101AndTooltipsFollowCommand100)
{
    ASSERT_TRUE(sandbox.WriteUserPanelFile(TwoTypes()));
    CCmdPanel& panel = MakePanel(900, 120);
    EXPECT_EQ(SendMessageA(panel.m_hWnd, WM_COMMAND, 101, 0), reinterpret_cast<LRESULT>(panel.Content()));
    HWND tooltip = panel.Content()->data[0]->tooltip;
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(100, 0), 0), 0);
    EXPECT_EQ(SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(100, 1), 0), 0);
}

}  // namespace
