#include "view/ViewServices.h"

#include "core/SystemLog.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace {

int g_keepCommandOnClose = 0;
int g_closeNow = 0;
int g_gridOn = 0;
double g_gridOriginX = 0.0, g_gridOriginY = 0.0;

}  // namespace

// The rubber-band databases and the markers belong to the element drawing services, which are
// not built yet: nothing has been drawn, so there is nothing to erase.
int UpdateRubberBand(HWND view, int, int, int) { return GetViewBlock(view) != nullptr ? 1 : 0; }
void DrawLastPointCursor(int, int, int) {}
void DrawKeyCursorMarker(double, double, int) {}

namespace {

// The point a running command hands with 8001 (x, y, z); null when lParam holds none.
const double* CommandPoint(LPARAM lParam)
{
    const auto* point = reinterpret_cast<const double*>(lParam);
    return point != nullptr && !IsBadReadPtr(point, 3 * sizeof(double)) ? point : nullptr;
}

}  // namespace

void HandleCursorMessageCommand(HWND, WPARAM wParam, LPARAM lParam)
{
    // The command grid belongs to the view coordinates; the message windows themselves come
    // with the view services.
    if (LOWORD(wParam) == 8001) {
        switch (HIWORD(wParam)) {
        case 10: SetViewGridSnapOrigin(nullptr); return;
        case 11:
            if (const double* point = CommandPoint(lParam)) SetViewGridSnapOrigin(point);
            return;
        case 20: SetViewGridSnapPitch(CommandPoint(lParam)); return;
        default: break;
        }
    }
    WriteSystemLog(3, "View", "cursor message %u/%u: not available", static_cast<unsigned>(LOWORD(wParam)),
                   static_cast<unsigned>(HIWORD(wParam)));
}

void CloseInputScaleWindow() {}
void UpdateInputScaleWindow() {}
void HideLoupeWindow() {}
void PlaceLayoutCells(HWND, int, int) {}
// The directional search is the view services' own: until it is built nothing is found, so a
// jump ends without moving the keyboard cursor.
int FindPointInDirection(const char*, double*, double*) { return 0; }

int SaveDrawing(HWND, int)
{
    WriteSystemLogText(1, "Save", "saving drawings is not available in this build");
    return 0;
}

int LockDrawingFile(PDBINFO*) { return 0; }
void UnlockDrawingFile(PDBINFO*) {}

HWND GetToolPanelWindow() { return nullptr; }

void NotifyToolPanelDrawingChanged()
{
    HWND panel = GetToolPanelWindow();
    if (panel == nullptr) return;
    SendMessageA(panel, WM_COMMAND, 3821, 0);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(3311, 1), 0);
}

void ShowCursorCoordinates(const double*) {}
void RefreshToolPanelPaperAndScale() {}
void RefreshToolPanelDrawingInfo() {}
void RefreshToolPanelAttributes()
{
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_COMMAND, 3822, 0);
}

int EnsureKeyCursorMode()
{
    if (GetActiveView() == nullptr) return 0;
    if (IsKeyCursorActive()) return 1;
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_COMMAND, 3406, 0);
    else EnterKeyCursorMode();
    return 1;
}

void PostKeyCursorButton(int code)
{
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_COMMAND, MAKEWPARAM(3406, code), 0);
    else ToggleCursorMode();
}

int IsKeepCommandOnClose() { return g_keepCommandOnClose; }
void SetKeepCommandOnClose(int on) { g_keepCommandOnClose = on; }

int TakeCloseNowFlag()
{
    int value = g_closeNow;
    g_closeNow = 0;
    return value;
}
void SetCloseNowFlag(int on) { g_closeNow = on; }

int IsGridOn() { return g_gridOn; }
void SetGridOn(int on) { g_gridOn = on; }
void GetGridOrigin(double* x, double* y)
{
    if (x) *x = g_gridOriginX;
    if (y) *y = g_gridOriginY;
}
void SetGridOrigin(double x, double y)
{
    g_gridOriginX = x;
    g_gridOriginY = y;
}
