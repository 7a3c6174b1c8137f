// The real pointer, as a user moves and clicks it: moves wait until the desktop reports the
// pointer there, because the move reaches the program's side later than the call returns.
#pragma once

#include <windows.h>

#include <vector>

// Puts the pointer on a screen point; false when it did not get there within five seconds.
bool MovePointer(POINT target);
// Moves there, then presses and releases a button (the down and up flags of MOUSEEVENTF_).
bool ClickScreen(POINT target, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
// Input records for SendInput: a move to a screen point, and a button flag (MOUSEEVENTF_) alone.
INPUT PointerMoveTo(POINT target);
INPUT PointerButton(DWORD flag);
// Presses the left button on a screen point, moves through the points in turn and releases it at
// the last one, as one stream of input. Each point should lie over another window than the one
// before: the system merges successive moves over one window into the last.
bool DragPointer(POINT from, const std::vector<POINT>& path);
