// Monitor lookups that keep dialogs, pop-ups and panels on the screen.
#pragma once

#include <windows.h>

// The rectangle of the monitor nearest to the screen point: kind 1 its work area, kind -1 the
// whole rectangle of the primary monitor and the work area of any other, any other kind the
// whole rectangle. Result 1 when that monitor is not the primary one, else 0.
int GetMonitorAreaAt(int x, int y, RECT* out, int kind);

// GetMonitorAreaAt with kind 0 at the centre of the window (the point 0, 0 for null).
int GetWindowMonitorArea(HWND window, RECT* out);

// GetMonitorAreaAt with kind 0; stores the rectangle's right and bottom where not null.
int GetMonitorSizeAt(int x, int y, int* right, int* bottom);

// The platform calls the helpers use; replaceable so a second monitor can be simulated.
struct MonitorCalls {
    HMONITOR (WINAPI* monitorFromPoint)(POINT, DWORD);
    BOOL (WINAPI* getMonitorInfo)(HMONITOR, LPMONITORINFO);
    BOOL (WINAPI* systemParametersInfo)(UINT, UINT, PVOID, UINT);
    int (WINAPI* getSystemMetrics)(int);
    BOOL (WINAPI* getWindowRect)(HWND, LPRECT);
};

// Null restores the platform's own calls.
void SetMonitorCalls(const MonitorCalls* calls);
