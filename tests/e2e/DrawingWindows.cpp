#include "DrawingWindows.h"

#include "HostMessages.h"
#include "ProgramProcess.h"
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

bool CloseProgramWithoutSaving(HWND frame, ProgramProcess& program)
{
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    bool ended = false;
    for (int i = 0; i < 60 && !ended; ++i) {
        if (HWND box = program.WaitForWindow("#32770", 200)) PostMessageA(box, WM_COMMAND, IDNO, 0);
        ended = program.WaitForExit(300, &exitCode);
    }
    if (!ended) program.Kill();
    return ended;
}

LRESULT SendToProgram(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, 10000, &result);
    return static_cast<LRESULT>(result);
}
