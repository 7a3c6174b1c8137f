// The real pointer, as a user moves and clicks it: moves wait until the desktop reports the
// pointer there, because the move reaches the program's side later than the call returns.
#pragma once

#include <windows.h>

// Puts the pointer on a screen point; false when it did not get there within five seconds.
bool MovePointer(POINT target);
// Moves there, then presses and releases a button (the down and up flags of MOUSEEVENTF_).
bool ClickScreen(POINT target, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
