#include "panels/ParameterPanelDisplay.h"

#include "core/CadSystem.h"
#include "mainframe/MainFrame.h"
#include "panels/AppPanel.h"
#include "panels/AppPanelDlg.h"
#include "panels/ParameterPanelItems.h"
#include "panels/ParameterPanelModel.h"

namespace {

// Shows every child of the window the panel went into, the main frame excepted.
void ShowChildren(HWND window)
{
    HWND frame = GetMainFrameWnd();
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == frame) continue;
        SetWindowPos(child, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
}

// The floating dialogs, one per panel, made the first time their panel floats and kept for the run.
CAppPanelDlg g_dialogs[kPboxPanelCount];

// The top-left corner of the drawing area in the main frame's client coordinates.
POINT DrawingAreaCorner()
{
    POINT corner = {0, 0};
    HWND client = GetMdiClientWnd();
    HWND frame = GetMainFrameWnd();
    if (client != nullptr && frame != nullptr) {
        ClientToScreen(client, &corner);
        ScreenToClient(frame, &corner);
    }
    return corner;
}

int ShowFloating(int index, PboxPanel& panel, int width, int height)
{
    const POINT corner = DrawingAreaCorner();
    if (panel.dialog != nullptr && IsWindow(panel.dialog)) {
        ShowWindow(panel.dialog, SW_SHOW);
    } else {
        panel.dialog = g_dialogs[index].Create(GetMainFrameWnd());
        if (panel.dialog == nullptr) return 0;
        ShowWindow(panel.dialog, SW_SHOW);
        panel.host = nullptr;
    }
    PboxFloatingAdjust() = 1;
    PboxBuildItemWindows(panel.dialog, nullptr, 0);
    PboxFloatingAdjust() = 0;
    const int dialogHeight = (height < 0 ? -height : height) - 13;
    SetWindowPos(panel.dialog, HWND_TOP, corner.x + 10, corner.y + 18, width + 13, dialogHeight,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    ShowChildren(panel.dialog);
    return 1;
}

}  // namespace

int PboxShowsFloating(int height) { return static_cast<unsigned>(height) > 79u ? 1 : 0; }

HWND PboxFloatingDialogInUse()
{
    for (int index = 0; index < kPboxPanelCount; ++index) {
        PboxPanel* panel = PboxGetPanel(index);
        if (panel->dialog != nullptr && IsWindowVisible(panel->dialog)) return panel->dialog;
    }
    return nullptr;
}

int PboxFloatingDialogMessage(MSG* msg)
{
    if (msg == nullptr) return 0;
    for (CAppPanelDlg& dialog : g_dialogs)
        if (dialog.m_hWnd != nullptr && dialog.PreTranslateMessage(msg)) return 1;
    return 0;
}

int PboxShowPanel(const PboxAddRequest* request)
{
    if (request == nullptr) return 0;
    PboxPanel* panel = PboxGetPanel(request->panel);
    if (panel == nullptr) return 0;
    PboxBuildingPanel() = request->panel;
    const int height = static_cast<int>(request->text);
    if (PboxShowsFloating(height)) return ShowFloating(request->panel, *panel, request->id, height);
    PboxShownPanel() = request->panel;
    HWND appPanel = PboxApplicationPanel();
    if (appPanel == nullptr || !IsWindow(appPanel)) return 0;
    panel->host = appPanel;
    PboxBuildItemWindows(appPanel, nullptr, 0);
    SendMessageA(appPanel, WM_COMMAND, kAppPanelBuiltNotice, 0);
    if (HWND frame = GetMainFrameWnd()) SendMessageA(frame, WM_SIZE, 0, 0);
    ShowChildren(appPanel);
    return 1;
}
