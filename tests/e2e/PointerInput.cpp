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
