#include "view/ViewServices.h"
#include "view/InputScale.h"
#include "view/LoupeView.h"

#include "core/SystemLog.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace {

int g_keepCommandOnClose = 0;
int g_closeNow = 0;
int g_gridOn = 0;
double g_gridOriginX = 0.0, g_gridOriginY = 0.0;

}  // namespace


void UpdateInputScaleWindow() { ShowInputScaleWindowForView(GetActiveView()); }
void HideLoupeWindow() { SetLoupeState(0); }

void RepaintLayoutCells(HWND view, const PDBINFO* block)
{
    if (view == nullptr || block == nullptr || block->pageLayout == 0) return;
    for (HWND cell = FindWindowExA(view, nullptr, "LAY_WND", nullptr); cell != nullptr;
         cell = FindWindowExA(view, cell, "LAY_WND", nullptr)) {
        InvalidateRect(cell, nullptr, TRUE);
        UpdateWindow(cell);
    }
}

void NotifyToolPanelDrawingChanged()
{
    HWND panel = GetToolPanelWindow();
    if (panel == nullptr) return;
    SendMessageA(panel, WM_COMMAND, 3821, 0);
    PostMessageA(panel, WM_COMMAND, MAKEWPARAM(3311, 1), 0);
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
