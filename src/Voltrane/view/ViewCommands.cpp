#include "view/ViewCommands.h"

#include <cmath>

#include "HostMessages.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "mainframe/CadStatusBar.h"
#include "mainframe/MainFrame.h"
#include "view/ViewCoordinates.h"
#include "view/RubberBand.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

CCadCmdDisp& GetCadCmdDisp()
{
    static CCadCmdDisp disp;
    return disp;
}

double ZoomFactor(double step, double n)
{
    double factor = n > 0.0 && n <= 9.0 ? n * step : step;
    return factor == 0.0 ? 1.0 : factor;
}

ViewModeInfo ZoomedViewMode(const ViewModeInfo& mode, int centreX, int centreY, int mouseX, int mouseY, double factor,
                            bool zoomIn, double lowLimit, double highLimit, const double* keyPoint)
{
    ViewModeInfo next = mode;
    const double s = IsUsableScale(mode.scale) ? mode.scale : 1.0;
    if (keyPoint != nullptr) {
        next.offsetX = -keyPoint[0];
        next.offsetY = -keyPoint[1];
    } else {
        next.offsetX = mode.offsetX - (mouseX - centreX) / s;
        next.offsetY = mode.offsetY + (mouseY - centreY) / s;
    }
    double scale = zoomIn ? s * factor : s / factor;
    if (!(scale >= lowLimit)) scale = lowLimit;
    if (scale > highLimit) scale = highLimit;
    next.scale = scale;
    return next;
}

int CCadCmdDisp::Zoom(int moveCursor, double n, bool zoomIn, bool centreOnly)
{
    const double factor = ZoomFactor(m_zoomStep, n);
    POINT mouse = GetLastViewMousePoint();
    HWND view = GetActiveView();
    if (view == nullptr) return 0;
    UpdateRubberBand(view, 0, 0, 1);
    HWND firstCell = nullptr;
    if (PDBINFO* viewBlock = GetViewBlock(view)) {
        if (viewBlock->pageLayout) firstCell = GetFirstLayoutCell(view);
    }
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return 0;
    HWND target = firstCell ? firstCell : view;
    RECT client;
    GetClientRect(target, &client);
    const int cx = client.right / 2, cy = client.bottom / 2;
    if (!centreOnly && moveCursor == 1 && firstCell == nullptr) {
        POINT screen = {cx, cy};
        ClientToScreen(view, &screen);
        SetCursorPos(screen.x, screen.y);
        SetLastViewMousePoint(cx, cy);
    }
    if (centreOnly || !block->viewportEditB) {
        ViewModeInfo& mode = CurrentViewMode(*block);
        CurrentViewModeBackup(*block) = mode;
        double keyPoint[3];
        const bool keyMode = IsKeyCursorMode() != 0;
        if (keyMode) GetKeyCursorPoint(&keyPoint[0], &keyPoint[1], &keyPoint[2]);
        if (centreOnly) {
            mouse = GetLastViewMousePoint();
            const ViewModeInfo next = ZoomedViewMode(mode, cx, cy, mouse.x, mouse.y, 1.0, true, mode.scale, mode.scale,
                                                     keyMode ? keyPoint : nullptr);
            mode.offsetX = next.offsetX;
            mode.offsetY = next.offsetY;
        } else {
            mode = ZoomedViewMode(mode, cx, cy, mouse.x, mouse.y, factor, zoomIn, GetDbUnitFactor(block, 0) * 0.00001,
                                  GetDbUnitFactor(block, 1) * 1000.0, keyMode ? keyPoint : nullptr);
        }
    }
    // A view whose viewport switch is set keeps its setting: what a zoom should change inside
    // a viewport frame is decided with the page services.
    if (firstCell != nullptr) {
        int index = 0;
        for (HWND cell = firstCell; cell != nullptr; cell = GetNextLayoutCell(cell)) {
            InvalidateRect(cell, nullptr, TRUE);
            UpdateWindow(cell);
            SetWindowLongPtrA(cell, 4, index++);
        }
    } else {
        InvalidateRect(view, nullptr, TRUE);
        UpdateWindow(view);
        CenterViewScrollBars(view);
    }
    RaiseInputEvent(kEventPictureChanged);
    GetFrameFlags().auxViewRefresh = 1;
    return 1;
}

int CCadCmdDisp::ZoomIn(int moveCursor, double n) { return Zoom(moveCursor, n, true, false); }
int CCadCmdDisp::ZoomOut(int moveCursor, double n) { return Zoom(moveCursor, n, false, false); }
int CCadCmdDisp::CenterAtCursor(int) { return Zoom(0, 0, true, true); }

int ZoomActiveViewIn(int moveCursor, double n) { return GetCadCmdDisp().ZoomIn(moveCursor, n); }
int ZoomActiveViewOut(int moveCursor, double n) { return GetCadCmdDisp().ZoomOut(moveCursor, n); }
int CenterActiveViewAtCursor(int value) { return GetCadCmdDisp().CenterAtCursor(value); }

namespace {

void PostToActiveView(UINT message, WPARAM code)
{
    if (HWND view = GetActiveView()) PostMessageA(view, message, code, 0);
}

// The direction commands 3001-3004: the keyboard cursor in keyboard mode, else the scroll bar.
void DirectionCommand(int keyDirection, UINT scrollMessage, WPARAM scrollCode)
{
    // The directional point search (jump mode) belongs to the view services.
    if (IsKeyCursorMode()) MoveKeyCursor(keyDirection, GetStatusBarInputDouble());
    else PostToActiveView(scrollMessage, scrollCode);
}

void EraseActiveRubberBand()
{
    if (HWND view = GetActiveView()) UpdateRubberBand(view, 0, 0, 1);
}

}  // namespace

int ExecuteViewCommand(int, int id)
{
    HWND view = GetActiveView();
    HWND main = GetMainFrameWnd();
    if ((id >= 4000 && id <= 39999) || (id >= 1200 && id <= 1500)) {
        // System and service ids go the router's way, which never hands them back here.
        if (main != nullptr) PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return 1;
    }
    switch (id) {
    case 3000: PostKeyCursorButton(1); break;
    case 3001: DirectionCommand(3, WM_VSCROLL, SB_LINEUP); break;
    case 3002: DirectionCommand(4, WM_VSCROLL, SB_LINEDOWN); break;
    case 3003: DirectionCommand(2, WM_HSCROLL, SB_LINELEFT); break;
    case 3004: DirectionCommand(1, WM_HSCROLL, SB_LINERIGHT); break;
    case 3005: case 3006: case 3007: case 3008: {
        static const int kDirections[] = {3, 4, 2, 1};
        EnsureKeyCursorMode();
        MoveKeyCursor(kDirections[id - 3005], GetStatusBarInputDouble());
        break;
    }
    case 3009: case 3010: case 3011: case 3012: {
        static const int kDirections[] = {3, 4, 2, 1};
        EnsureKeyCursorMode();
        MoveKeyCursor(kDirections[id - 3009], GetActiveViewPixelSize());
        break;
    }
    case 3013:
        EnsureKeyCursorMode();
        ResetKeyCursor();
        break;
    case 3020:
        EnsureKeyCursorMode();
        RaiseInputEvent(kEventPoint);
        break;
    case 3021:
        RaiseInputEvent(kEventEscape);
        if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_COMMAND, 100, 0);  // both texts cleared
        break;
    case 3022:
        if (main != nullptr) SendMessageA(main, WM_CAD_CANCEL_COMMAND, 0, 0);
        break;
    case 3037: SetKeyCursorStep(GetStatusBarInputDouble()); break;
    case 3038:
        EraseActiveRubberBand();
        FitViewToPaper();
        if (view != nullptr) UpdateWindow(view);
        GetFrameFlags().auxViewRefresh = 1;
        break;
    case 3039: CenterActiveViewAtCursor(0); break;
    case 3040: ZoomActiveViewIn(1, std::trunc(GetStatusBarInputDouble())); break;
    case 3041:
        EraseActiveRubberBand();
        RaiseInputEvent(kEventPictureChanged);
        if (view != nullptr) {
            InvalidateRect(view, nullptr, TRUE);
            UpdateWindow(view);
        }
        break;
    case 3042:
        if (main != nullptr) PostMessageA(main, WM_COMMAND, 1205, 0);
        break;
    case 3043: ZoomActiveViewOut(1, std::trunc(GetStatusBarInputDouble())); break;
    case 3050: PostToActiveView(WM_HSCROLL, SB_LINELEFT); break;
    case 3051: PostToActiveView(WM_HSCROLL, SB_LINERIGHT); break;
    case 3052: PostToActiveView(WM_VSCROLL, SB_LINEUP); break;
    case 3053: PostToActiveView(WM_VSCROLL, SB_LINEDOWN); break;
    case 3054: return 0;
    default:
        WriteSystemLog(3, "View Cmd", "%d: not available in this build", id);
        break;
    }
    return 1;
}

bool IsBuiltViewCommand(int id)
{
    return (id >= 3000 && id <= 3013) || (id >= 3020 && id <= 3022) || (id >= 3037 && id <= 3043) ||
           (id >= 3050 && id <= 3054);
}

int ExecuteViewCommandFromFrame(HWND mainWnd, WPARAM wParam, LPARAM)
{
    const int id = LOWORD(wParam);
    // The command panels see the view command begin and end like any other command.
    if (mainWnd != nullptr) SendMessageA(mainWnd, WM_CAD_CMD_NOTIFY, static_cast<WPARAM>(id), 1);
    // The attribute, snap and panel view commands come with their services.
    if (IsBuiltViewCommand(id)) ExecuteViewCommand(0, id);
    if (mainWnd != nullptr) SendMessageA(mainWnd, WM_CAD_CMD_NOTIFY, static_cast<WPARAM>(id), 0);
    // Always 0: the frame's own entries for the id run as well (3001 has every view forget its
    // drawn cross-hair).
    return 0;
}
