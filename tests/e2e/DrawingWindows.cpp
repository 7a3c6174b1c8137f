#include "DrawingWindows.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
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

bool WriteDrawing(const std::string& path, int count)
{
    EngineDbRecord record;
    std::memset(&record, 0, sizeof record);
    if (ZUriCreateDB(&record) != 1) return false;
    for (int i = 0; i < count; ++i) {
        LineRecord line;
        std::memset(&line, 0, sizeof line);
        reinterpret_cast<ElementRecord*>(&line)->type = 1;
        reinterpret_cast<ElementRecord*>(&line)->colour = 2;
        line.x1 = i * 10, line.x2 = i * 10 + 5, line.y2 = 5;
        ZUriAppendElement(&line, &record);
    }
    uint32_t flags = 0;
    const int saved = ZUriSaveFileOfCWX(path.c_str(), &record, &flags);
    ZUriDeleteDB(&record);
    return saved == 1;
}
