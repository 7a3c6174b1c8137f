#include "DrawingWindows.h"

#include "HostMessages.h"
#include "WindowText.h"

HWND OpenEmptyDrawingWindow(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    if (client == nullptr) return nullptr;
    SetWindowTextA(frame, "Voltrane");
    PostMessageA(frame, WM_CADDB_NEW_WINDOW, 0, 0);
    // Posted messages are handled in order: once the command posted after the request has left
    // its trace, the request has been handled.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    if (!WaitForCaption(frame, "/C:Echo", 30000)) return nullptr;
    return GetWindow(client, GW_CHILD);
}
