#include "core/MonitorHelpers.h"

namespace {

const MonitorCalls kPlatformCalls = {MonitorFromPoint, GetMonitorInfoA, SystemParametersInfoA, GetSystemMetrics,
                                     GetWindowRect};
MonitorCalls g_calls = kPlatformCalls;

} // namespace

void SetMonitorCalls(const MonitorCalls* calls)
{
    g_calls = calls ? *calls : kPlatformCalls;
}

int GetMonitorAreaAt(int x, int y, RECT* out, int kind)
{
    RECT area = {};
    int secondary = 0;
    POINT pt = {x, y};
    HMONITOR monitor = g_calls.monitorFromPoint(pt, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!monitor || !g_calls.getMonitorInfo(monitor, &info)) {
        if (kind == 1 && g_calls.systemParametersInfo(SPI_GETWORKAREA, 0, &area, 0)) {
            // the desktop's work area
        } else {
            area.left = 0;
            area.top = 0;
            area.right = g_calls.getSystemMetrics(SM_CXSCREEN);
            area.bottom = g_calls.getSystemMetrics(SM_CYSCREEN);
        }
    } else {
        const bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        if (kind == -1)
            area = primary ? info.rcMonitor : info.rcWork;
        else if (kind == 1)
            area = info.rcWork;
        else
            area = info.rcMonitor;
        secondary = primary ? 0 : 1;
    }
    if (out)
        *out = area;
    return secondary;
}

int GetWindowMonitorArea(HWND window, RECT* out)
{
    int x = 0;
    int y = 0;
    RECT rc;
    if (window && g_calls.getWindowRect(window, &rc)) {
        x = (rc.left + rc.right) / 2;
        y = (rc.top + rc.bottom) / 2;
    }
    return GetMonitorAreaAt(x, y, out, 0);
}

int GetMonitorSizeAt(int x, int y, int* right, int* bottom)
{
    RECT area;
    const int result = GetMonitorAreaAt(x, y, &area, 0);
    if (right)
        *right = area.right;
    if (bottom)
        *bottom = area.bottom;
    return result;
}
