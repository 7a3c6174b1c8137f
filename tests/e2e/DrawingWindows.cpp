#include "DrawingWindows.h"

#include <cstddef>
#include <cstring>

#include "DravikDb.h"
#include "DrawingWindowRecords.h"
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

int DrawingWindowCount(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    if (client == nullptr) return -1;
    int count = 0;
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child)) ++count;
    return count;
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

bool ReadViewBlock(DWORD processId, HWND view, PDBINFO* block)
{
    auto* address = reinterpret_cast<PDBINFO*>(GetWindowLongPtrA(view, 0));
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, processId);
    if (address == nullptr || process == nullptr) {
        if (process != nullptr) CloseHandle(process);
        return false;
    }
    SIZE_T read = 0;
    const bool ok = ReadProcessMemory(process, address, block, sizeof *block, &read) && read == sizeof *block;
    CloseHandle(process);
    return ok;
}

namespace {

// Reads bytes at an offset of the engine's information block of the block's drawing.
bool ReadInfoBytes(DWORD processId, const PDBINFO& block, size_t offset, void* out, size_t size)
{
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr) return false;
    EngineDbRecord record;
    SIZE_T read = 0;
    bool ok = ReadProcessMemory(process, block.engineDb, &record, sizeof record, &read) && record.info != nullptr;
    ok = ok && ReadProcessMemory(process, static_cast<char*>(record.info) + offset, out, size, &read) && read == size;
    CloseHandle(process);
    return ok;
}

}  // namespace

int DrawingElementCount(DWORD processId, const PDBINFO& block)
{
    int32_t count = -1;
    return ReadInfoBytes(processId, block, offsetof(DbInfoBlock, elementCount), &count, sizeof count) ? count : -1;
}

bool ReadDrawingInfo(DWORD processId, const PDBINFO& block, DbInfoRecord* info)
{
    return ReadInfoBytes(processId, block, offsetof(DbInfoBlock, record), info, sizeof *info);
}

bool ReadDrawingColour(DWORD processId, const PDBINFO& block, int index, COLORREF* colour)
{
    if (index < 0 || index >= kColourCount) return false;
    ColourRecord entry;
    if (!ReadInfoBytes(processId, block, offsetof(DbInfoBlock, colours) + index * sizeof entry, &entry, sizeof entry))
        return false;
    *colour = RGB(entry.red & 0xFF, entry.green & 0xFF, entry.blue & 0xFF);
    return true;
}

std::string TitleOfFile(const std::string& path)
{
    EngineDbRecord record;
    std::memset(&record, 0, sizeof record);
    uint32_t flags = 0;
    if (ZUriLoadFileOfCWX(path.c_str(), &record, &flags) != 1) return std::string();
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, &record);
    ZUriDeleteDB(&record);
    return std::string(info.title, strnlen(info.title, sizeof info.title));
}

int ElementsOfFile(const std::string& path)
{
    EngineDbRecord record;
    std::memset(&record, 0, sizeof record);
    uint32_t flags = 0;
    if (ZUriLoadFileOfCWX(path.c_str(), &record, &flags) != 1) return -1;
    const int count = ZUriGetElmNum(&record);
    ZUriDeleteDB(&record);
    return count;
}

bool SaveActiveDrawingAs(ProgramProcess& program, HWND frame, const std::string& path)
{
    PostMessageA(frame, WM_COMMAND, 4002, 0);
    HWND dialog = program.WaitForWindow("#32770", 20000);
    if (dialog == nullptr || Caption(dialog) != "ファイルの保存") return false;
    SendMessageA(GetDlgItem(dialog, 1148), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    return true;
}
