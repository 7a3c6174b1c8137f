#include "commands/InterruptCommands.h"

#include "DravikDb.h"
#include "core/CadSystem.h"
#include "mainframe/MainFrame.h"
#include "view/ViewCommands.h"
#include "view/ViewServices.h"

namespace {

void* g_keptMark = nullptr;
int g_interruptJumpMode = 0;

void PostToToolPanel(WPARAM id, LPARAM lParam)
{
    if (HWND panel = GetToolPanelWindow()) PostMessageA(panel, WM_COMMAND, id, lParam);
}

// The tool-panel buttons that the router hands to the tool panel: posted with long parameter
// 0, or with the button's own window (3408, 3409, 3999).
bool IsToolPanelId(int id)
{
    switch (id) {
    case 3310: case 3311: case 3313: case 3314: case 3404: case 3405: case 3406: case 3410: case 3411:
    case 3412: case 3418: case 3516: case 3989: case 3408: case 3409: case 3999:
        return true;
    default:
        return false;
    }
}

}  // namespace

int SendInterruptWait(WPARAM wParam, InputWaitRecord* record)
{
    HWND main = GetMainFrameWnd();
    if (main == nullptr) return kWaitEnd;
    return static_cast<int>(SendMessageA(main, WM_CAD_INTERRUPT_WAIT, wParam, reinterpret_cast<LPARAM>(record)));
}

int ExecuteInterruptCommand(int id, LPARAM)
{
    if (id < 3000 || id > 3999) return 0;
    if (id >= 3800) GetCadSystem().SaveConfigData(id);
    if (IsToolPanelId(id)) {
        LPARAM button = 0;
        if (id == 3408 || id == 3409 || id == 3999) {
            HWND panel = GetToolPanelWindow();
            button = panel ? reinterpret_cast<LPARAM>(GetDlgItem(panel, id)) : 0;
        }
        PostToToolPanel(static_cast<WPARAM>(id), button);
        return 0;
    }
    switch (id) {
    case 3000:
        PostKeyCursorButton(1);
        return 0;
    case 3017:
        // The router's 3017 clears the status bar's input field.
        if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_USER, 3, 0);
        return 0;
    default:
        if (id <= 3054) RunViewCommand(id, &g_interruptJumpMode);
        return 0;
    }
}

int ExecuteViewCommandNotified(HWND mainWnd, WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    // The command panels see the view command begin and end like any other command.
    if (mainWnd != nullptr) SendMessageA(mainWnd, WM_CAD_CMD_NOTIFY, static_cast<WPARAM>(id), 1);
    ExecuteInterruptCommand(id, lParam);
    if (mainWnd != nullptr) SendMessageA(mainWnd, WM_CAD_CMD_NOTIFY, static_cast<WPARAM>(id), 0);
    // Always 0: the frame's own entries for the id run as well (3001 has every view forget its
    // drawn cross-hair).
    return 0;
}

INT_PTR TakeKeptMark()
{
    void* mark = g_keptMark;
    g_keptMark = nullptr;
    return reinterpret_cast<INT_PTR>(mark);
}

void ReleaseKeptMark(int mode)
{
    if (mode == 1) {
        if (g_keptMark != nullptr) ZUriDestroyMark(g_keptMark);
        g_keptMark = nullptr;
    } else if (mode == 0) {
        g_keptMark = nullptr;
    }
}

void* KeptMark() { return g_keptMark; }
void SetKeptMark(void* mark) { g_keptMark = mark; }

int IsInterruptJumpModeArmed() { return g_interruptJumpMode; }
void SetInterruptJumpModeArmed(int armed) { g_interruptJumpMode = armed; }

void PressToolPanelButton(int id)
{
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

int IsToolPanelButtonDown()
{
    HWND panel = GetToolPanelWindow();
    HWND button = panel ? GetDlgItem(panel, 3999) : nullptr;
    return button ? static_cast<int>(GetWindowLongPtrA(button, 4)) : 0;
}

void RepaintWindow(HWND window)
{
    if (window == nullptr) return;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}
