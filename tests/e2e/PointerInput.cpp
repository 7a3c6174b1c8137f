#include "PointerInput.h"

bool MovePointer(POINT target)
{
    SetCursorPos(target.x, target.y);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
        POINT at = {};
        if (GetCursorPos(&at) && at.x == target.x && at.y == target.y) return true;
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
