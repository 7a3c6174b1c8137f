#include "PointerInput.h"

#include <vector>

namespace {

bool IsAt(POINT target)
{
    POINT at = {};
    return GetCursorPos(&at) && at.x == target.x && at.y == target.y;
}

// The desktop answers from its own record for 100 ms after a move and from the display after
// that: a position read later than that has gone through the display, which has then sent the
// program its crossing report of the move.
bool WaitForTheDisplay(POINT target, DWORD movedAt)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
        if (IsAt(target) && GetTickCount() - movedAt > 150) return true;
    }
    return false;
}

// A message the window's thread answers between two of its waits for input; the program takes in
// what the display reported when it waits.
bool RoundTrip(HWND window)
{
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer) != 0;
}

bool RoutedTo(HWND window, POINT target)
{
    HWND under = WindowFromPoint(target);
    return under != nullptr && GetAncestor(under, GA_ROOT) == GetAncestor(window, GA_ROOT);
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

bool MovePointer(POINT target)
{
    SetCursorPos(target.x, target.y);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
        if (IsAt(target)) return true;
    }
    return false;
}

bool ClickScreen(POINT target, DWORD downFlag, DWORD upFlag)
{
    if (!MovePointer(target)) return false;
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = downFlag;
    click[1].mi.dwFlags = upFlag;
    return SendInput(2, click, sizeof(INPUT)) == 2;
}

bool SettlePointer(HWND window, POINT target)
{
    const DWORD start = GetTickCount();
    DWORD movedAt = GetTickCount();
    SetCursorPos(target.x, target.y);
    while (GetTickCount() - start < 10000) {
        if (!WaitForTheDisplay(target, movedAt)) return false;
        // Twice: the first may be answered while the program is still busy with earlier input,
        // the second only after it has waited once more.
        if (!RoundTrip(window) || !RoundTrip(window)) return false;
        if (RoutedTo(window, target) && RoundTrip(window) && RoutedTo(window, target)) return true;
        // A report taken in late has put another window over the point in the program's
        // stacking, though the display still shows the window there: a fresh move, which the
        // display reports for the window it shows, puts it back.
        SetCursorPos(target.x + 1, target.y);
        SetCursorPos(target.x, target.y);
        movedAt = GetTickCount();
    }
    return false;
}

bool ClickAt(POINT target, DWORD downFlag, DWORD upFlag)
{
    INPUT click[2] = {PointerMoveTo(target), PointerMoveTo(target)};
    click[0].mi.dwFlags |= downFlag;
    click[1].mi.dwFlags |= upFlag;
    return SendInput(2, click, sizeof(INPUT)) == 2;
}

bool ClickWindowAt(HWND window, POINT target, DWORD downFlag, DWORD upFlag)
{
    return SettlePointer(window, target) && ClickAt(target, downFlag, upFlag);
}

HWND CaptureOf(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndCapture : nullptr;
}

std::string DescribeStackingAt(DWORD processId, POINT point)
{
    HWND under = WindowFromPoint(point);
    HWND underTop = under != nullptr ? GetAncestor(under, GA_ROOT) : nullptr;
    std::vector<HWND> windows;
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    std::string text = "from the top:";
    for (HWND window : windows) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != processId || !IsWindowVisible(window)) continue;
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        text += std::string(" ") + name + (window == underTop ? "(under the point)" : "");
    }
    if (under != nullptr) {
        char name[64] = {};
        GetClassNameA(under, name, sizeof name);
        text += std::string("; at the point: ") + name;
    }
    return text;
}

INPUT PointerMoveTo(POINT target)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input.mi.dx = MulDiv(target.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(target.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    return input;
}

INPUT PointerButton(DWORD flag)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    return input;
}

bool DragPointer(POINT from, const std::vector<POINT>& path)
{
    if (!MovePointer(from)) return false;
    std::vector<INPUT> stream = {PointerButton(MOUSEEVENTF_LEFTDOWN)};
    for (POINT point : path) {
        // A sideways wheel step of 0 between the moves keeps them apart in the queue.
        if (stream.size() > 1) stream.push_back(PointerButton(MOUSEEVENTF_HWHEEL));
        stream.push_back(PointerMoveTo(point));
    }
    stream.push_back(PointerButton(MOUSEEVENTF_LEFTUP));
    return SendInput(static_cast<UINT>(stream.size()), stream.data(), sizeof(INPUT)) == stream.size();
}
