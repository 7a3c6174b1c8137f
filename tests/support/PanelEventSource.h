// A window of the test's own that raises a panel event when it is posted kRaisePanelEvent (wParam
// the item), as a panel item does when it is used: a command's wait then returns.
#pragma once

#include <windows.h>

#include "InputCodes.h"
#include "commands/InputEvent.h"

constexpr UINT kRaisePanelEvent = WM_APP + 7;

inline LRESULT CALLBACK PanelEventSourceProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kRaisePanelEvent) {
        RaisePanelEvent(kItemPushButton, static_cast<int32_t>(wParam), 0);
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

// The window; destroy it when done.
inline HWND CreatePanelEventSource()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PanelEventSourceProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TestPanelEventSource";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}
