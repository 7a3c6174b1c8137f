#include "view/ViewCommands.h"

#include <cmath>

#include "HostMessages.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "mainframe/CadStatusBar.h"
#include "mainframe/MainFrame.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"
#include "commands/HostServiceSite.h"
#include "commands/PointSearch.h"
#include "commands/ServiceCommands.h"
#include "controls/LineEndTypes.h"
#include "core/StartupSeams.h"

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

int WrapColour(int colour) { return colour > 256 ? 1 : colour <= 0 ? 256 : colour; }
int WrapLineType(int type) { return type >= 32 ? 0 : type < 0 ? 31 : type; }
int WrapLineWidth(int width) { return width >= 16 ? 0 : width < 0 ? 15 : width; }
bool IsRealValue2InRange(double value) { return value > 0.0 && value <= 10.0; }
bool IsLayerInRange(double value) { return value >= 0.0 && value < 256.0; }

namespace {

int g_jumpMode = 0;

void PostToActiveView(UINT message, WPARAM code)
{
    if (HWND view = GetActiveView()) PostMessageA(view, message, code, 0);
}

void PostToMain(UINT message, WPARAM wParam)
{
    if (HWND main = GetMainFrameWnd()) PostMessageA(main, message, wParam, 0);
}

// The direction commands 3001-3004: with jump mode armed the nearest element point in the
// direction (found or not, jump mode ends); else the keyboard cursor in keyboard mode, else
// the scroll bar.
void DirectionCommand(int keyDirection, const char* name, UINT scrollMessage, WPARAM scrollCode, int* jumpMode)
{
    if (*jumpMode) {
        double x = 0, y = 0;
        if (FindPointInDirection(name, &x, &y)) {
            EnsureKeyCursorMode();
            SetKeyCursorPoint(x, y, 0.0);
        }
        *jumpMode = 0;
        return;
    }
    if (IsKeyCursorMode()) MoveKeyCursor(keyDirection, GetStatusBarInputDouble());
    else PostToActiveView(scrollMessage, scrollCode);
}

void EraseActiveRubberBand()
{
    if (HWND view = GetActiveView()) UpdateRubberBand(view, 0, 0, 1);
}

// 3014-3016: the keyboard cursor onto the point found at the cursor.
void SnapKeyCursor(int (*search)(const SearchPointRecord&, SearchPointRecord*, void*))
{
    SearchPointRecord point{};
    if (!GetCursorWorldPoint(&point.x, &point.y)) return;
    SearchPointRecord found = point;
    if (!search(point, &found, nullptr)) return;
    EnsureKeyCursorMode();
    SetKeyCursorPoint(found.x, found.y, 0.0);
}

// The attributes changed: the tool panel shows them, and a waiting command hears of it unless
// another event is pending.
void NotifyAttributes()
{
    RaiseInputStateChange(kEventAttributesChanged);
    GetHostServiceSite().NotifyDrawingAttributesChanged();
}

// 3023-3046 on the active view's current drawing attributes; nothing without a view.
void AttributeCommand(PDBINFO& block, int id)
{
    switch (id) {
    case 3023: block.colour = WrapColour(block.colour + 1); NotifyAttributes(); break;
    case 3027: block.colour = WrapColour(block.colour - 1); NotifyAttributes(); break;
    case 3024: block.lineType = WrapLineType(block.lineType + 1); NotifyAttributes(); break;
    case 3028: block.lineType = WrapLineType(block.lineType - 1); NotifyAttributes(); break;
    case 3025: block.lineWidth = WrapLineWidth(block.lineWidth + 1); NotifyAttributes(); break;
    case 3029: block.lineWidth = WrapLineWidth(block.lineWidth - 1); NotifyAttributes(); break;
    case 3031: case 3032: case 3033: {
        const long number = GetStatusBarInputLong();
        if (number >= 0) {
            // A huge number must not overflow the wrap: anything above the range wraps to 0/1.
            const int value = number > 100000 ? 100000 : static_cast<int>(number);
            if (id == 3031) block.colour = WrapColour(value);
            else if (id == 3032) block.lineType = WrapLineType(value);
            else block.lineWidth = WrapLineWidth(value);
        }
        NotifyAttributes();
        break;
    }
    case 3034: block.startMark = ListRowToLineEndType(LineEndTypeToListRow(block.startMark) + 1); NotifyAttributes(); break;
    case 3035: block.endMark = ListRowToLineEndType(LineEndTypeToListRow(block.endMark) + 1); NotifyAttributes(); break;
    case 3036: {
        const double value = GetStatusBarInputDouble();
        if (value > 0.0 && std::isfinite(value)) {
            block.textStyle.height = value;
            RaiseInputEvent(kEventAttributesChanged);
        }
        break;
    }
    case 3044: {
        const double value = GetStatusBarInputDouble();
        if (std::isfinite(value)) {
            block.textStyle.interval = value;
            RaiseInputEvent(kEventAttributesChanged);
        }
        break;
    }
    case 3045: {
        const double value = GetStatusBarInputDouble();
        if (IsRealValue2InRange(value)) {
            block.textStyle.charRatio = value;
            RaiseInputEvent(kEventAttributesChanged);
        }
        break;
    }
    case 3046: {
        const double value = GetStatusBarInputDouble();
        if (IsLayerInRange(value)) {
            block.currentLayer = static_cast<int16_t>(value);
            RefreshToolPanelAttributes();
            RaiseInputEvent(kEventAttributesChanged);
        }
        break;
    }
    default: break;  // 3026, 3030: nothing
    }
}

}  // namespace

int ViewJumpMode() { return g_jumpMode; }
void SetViewJumpMode(int on) { g_jumpMode = on; }

int RunViewCommand(int id, int* jumpMode)
{
    HWND view = GetActiveView();
    switch (id) {
    case 3000: ToggleCursorMode(); break;
    case 3001: DirectionCommand(3, "UP", WM_VSCROLL, SB_LINEUP, jumpMode); break;
    case 3002: DirectionCommand(4, "DOWN", WM_VSCROLL, SB_LINEDOWN, jumpMode); break;
    case 3003: DirectionCommand(2, "LEFT", WM_HSCROLL, SB_LINELEFT, jumpMode); break;
    case 3004: DirectionCommand(1, "RIGHT", WM_HSCROLL, SB_LINERIGHT, jumpMode); break;
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
    case 3014: SnapKeyCursor(SearchPoint); break;
    case 3015: SnapKeyCursor(SearchPoint3); break;
    case 3016: SnapKeyCursor(SearchPoint2); break;
    case 3017: PostToMain(WM_COMMAND, 4011); break;
    case 3018: PostToMain(WM_CADDB_REDO, 0); break;
    case 3019: PostToMain(WM_CADDB_UNDO, 0); break;
    case 3020:
        EnsureKeyCursorMode();
        RaiseInputEvent(kEventPoint);
        break;
    case 3021:
        RaiseInputEvent(kEventEscape);
        if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_COMMAND, 100, 0);  // both texts cleared
        break;
    case 3022:
        if (HWND main = GetMainFrameWnd()) SendMessageA(main, WM_CAD_CANCEL_COMMAND, 0, 0);
        break;
    case 3037: SetKeyCursorStep(GetStatusBarInputDouble()); break;
    case 3038:
        EraseActiveRubberBand();
        FitViewToPaper();
        if (view != nullptr) UpdateWindow(view);
        GetFrameFlags().auxViewRefresh = 1;
        if (HWND layout = seam::GetLayoutViewWindow()) {
            InvalidateRect(layout, nullptr, FALSE);
            UpdateWindow(layout);
        }
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
    case 3042: PostToMain(WM_COMMAND, 1205); break;
    case 3043: ZoomActiveViewOut(1, std::trunc(GetStatusBarInputDouble())); break;
    case 3047: PostToMain(WM_CAD_LAYOUT_VIEW_TOGGLE, 0); break;
    case 3048:
        EraseActiveRubberBand();
        PostToMain(WM_COMMAND, 1219);
        break;
    case 3049: PostToMain(WM_CAD_LOUPE_TOGGLE, 0); break;
    case 3050: PostToActiveView(WM_HSCROLL, SB_LINELEFT); break;
    case 3051: PostToActiveView(WM_HSCROLL, SB_LINERIGHT); break;
    case 3052: PostToActiveView(WM_VSCROLL, SB_LINEUP); break;
    case 3053: PostToActiveView(WM_VSCROLL, SB_LINEDOWN); break;
    case 3054:
        *jumpMode = 1;
        return 0;
    default:
        if (id >= 3023 && id <= 3046) {
            if (PDBINFO* block = view ? GetViewBlock(view) : nullptr) AttributeCommand(*block, id);
        }
        break;
    }
    return 1;
}

int ExecuteViewCommand(int, int id)
{
    if (id >= 4000 && id <= 39999) {
        // The system command ends a running command first; it comes back through the router.
        PostToMain(WM_COMMAND, static_cast<WPARAM>(id));
        return 1;
    }
    if (id >= 1200 && id <= 1500) {
        // The service commands never hand an id back here.
        ExecuteServiceCommandNotified(GetMainFrameWnd(), static_cast<WPARAM>(id), 0);
        return 1;
    }
    if (id >= 3000 && id <= 3054) return RunViewCommand(id, &g_jumpMode);
    return 1;
}

bool IsBuiltViewCommand(int id) { return id >= 3000 && id <= 3054; }
