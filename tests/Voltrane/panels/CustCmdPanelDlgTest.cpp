#include "GTest.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "CmdPanelSandbox.h"
#include "HostMessages.h"
#include "OwnWindows.h"
#include "core/CadSystem.h"
#include "panels/CmdPanel.h"
#include "panels/CustCmdPanelDlg.h"
#include "panels/CustCmdPanelList.h"
#include "panels/PanelFonts.h"

namespace {

HWND g_panel = nullptr;

// The main frame as the dialog sees it: it names the command panel.
LRESULT CALLBACK FrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CAD_GET_PANEL_WINDOW) return wParam == 0 ? reinterpret_cast<LRESULT>(g_panel) : 0;
    return DefWindowProcA(window, msg, wParam, lParam);
}

// What the user does in the dialog, one step per timer tick.
int g_step = 0;
std::string g_failure;

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_step == 0) {
        HWND dialog = FindOwnWindow("#32770", "コマンドメニュー編集");
        if (dialog == nullptr) return;
        HWND grid = GetDlgItem(dialog, 1809);
        HWND commands = GetDlgItem(dialog, 1136);
        if (grid == nullptr || commands == nullptr) {
            g_failure = "controls missing";
            EndDialog(dialog, 99);
            return;
        }
        // Column 1, position 1: the second button of the second row.
        SendMessageA(grid, WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(kCustListCellWidth + 10, kCustListCellHeight + 10));
        SendMessageA(commands, LB_SETCURSEL, 1, 0);
        SendMessageA(dialog, WM_COMMAND, 1806, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        g_step = 1;
    } else if (g_step == 1) {
        HWND box = FindOwnWindow("#32770", "確認");
        if (box == nullptr) return;
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        g_step = 2;
    }
}

TEST(CustCmdPanelDlgTest, InsertAndOkWriteTheCatalogueLineIntoTheUserFileAfterTheConfirmation)
{
    InitCommonControls();
    ASSERT_EQ(RegisterPanelWindowClasses(GetModuleHandleA(nullptr)), 1);
    CmdPanelSandbox sandbox;
    FreeCommandPanelCatalogues();
    ASSERT_TRUE(sandbox.WriteUserPanelFile(
        PanelXml({{"作図", {"線分,6000,線", "\\n", "円,6020,円", "弧,6030,弧", "\\n", "三行目,6040,点"}},
                  {"編集", {"複写,7000,複写"}}})));
    ASSERT_TRUE(sandbox.folder.Write("program\\CmdPanelBase.def",
                                     PanelXml({{"基本", {"移動,7010,移動", "\\n", "切断,7040,切断"}}})));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "CustCmdPanelDlgTestFrame";
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 900, 120, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    ASSERT_NE(frame, nullptr);
    SetMainFrameWnd(frame);
    {
        CCmdPanel panel;
        RECT rc = {0, 0, 900, 120};
        g_panel = panel.Create(frame, &rc, nullptr, CCmdPanel::GetWndStyle(0), 0, nullptr);
        ASSERT_NE(panel.Content(), nullptr);

        g_step = 0;
        g_failure.clear();
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, DriveDialog);
        const INT_PTR result = ShowCustCmdPanelDlg(frame);
        KillTimer(nullptr, timer);
        EXPECT_TRUE(g_failure.empty()) << g_failure;
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(g_step, 2);
        // Every row is kept, the third included.
        const std::vector<std::string> expected = {"線分,6000,線", "\\n", "円,6020,円", "切断,7040,切断", "弧,6030,弧",
                                                   "\\n", "三行目,6040,点"};
        EXPECT_EQ(panel.Content()->data[0]->itemLines, expected);
        CmdPanelContent reread;
        ASSERT_EQ(reread.Load(), 0);
        ASSERT_EQ(reread.data.size(), 2u);
        EXPECT_EQ(reread.data[0]->name, "作図");
        EXPECT_EQ(reread.data[0]->itemLines, expected);
        EXPECT_EQ(reread.data[1]->itemLines, std::vector<std::string>{"複写,7000,複写"});
        DestroyWindow(panel.m_hWnd);
    }
    g_panel = nullptr;
    SetMainFrameWnd(nullptr);
    DestroyWindow(frame);
    FreeCommandPanelCatalogues();
}

TEST(CustCmdPanelDlgTest, ThePreviewGridClassComesAndGoesWithThePanelClasses)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterPanelWindowClasses(instance);
    WNDCLASSA wc = {};
    EXPECT_FALSE(GetClassInfoA(instance, "CustCmdPanelList", &wc));
    ASSERT_EQ(RegisterPanelWindowClasses(instance), 1);
    ASSERT_TRUE(GetClassInfoA(instance, "CustCmdPanelList", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(wc.cbWndExtra, 32);
    EXPECT_EQ(wc.hbrBackground, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    EXPECT_EQ(RegisterPanelWindowClasses(instance), 1) << "a second start-up finds the class and goes on";
    UnregisterPanelWindowClasses(instance);
    EXPECT_FALSE(GetClassInfoA(instance, "CustCmdPanelList", &wc));
    ASSERT_EQ(RegisterPanelWindowClasses(instance), 1);
}

}  // namespace
