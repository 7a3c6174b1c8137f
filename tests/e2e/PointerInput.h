// The real pointer, as a user moves and clicks it: moves wait until the desktop reports the
// pointer there, because the move reaches the program's side later than the call returns.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Puts the pointer on a screen point; false when it did not get there within five seconds.
bool MovePointer(POINT target);
// Moves there, then presses and releases a button (the down and up flags of MOUSEEVENTF_).
bool ClickScreen(POINT target, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);

// Puts the pointer on a screen point of a window of the program and waits, within ten seconds,
// until the program has taken the move in: the display has the pointer there, the program has
// gone idle since (so the display's crossing report of the move cannot reach it later), and the
// system hands input at that point to the window's top-level window. The display tells the
// program where the pointer entered, and the program's window system then raises the window it
// entered in its own stacking: a report it takes in late, after the program has opened a popup
// over that point, puts the popup's owner back over the popup and the click into the owner.
bool SettlePointer(HWND window, POINT target);
// Presses and releases a button where the pointer already is; the press and the release carry
// the point, so they land there whatever move the program took in last.
bool ClickAt(POINT target, DWORD downFlag = MOUSEEVENTF_LEFTDOWN, DWORD upFlag = MOUSEEVENTF_LEFTUP);
// Settles the pointer on the point, then clicks there.
bool ClickWindowAt(HWND window, POINT target, DWORD downFlag = MOUSEEVENTF_LEFTDOWN,
                   DWORD upFlag = MOUSEEVENTF_LEFTUP);
// The window that holds the mouse for the thread of the window, or null.
HWND CaptureOf(HWND window);
// The top-level windows of the process from the top down, with the one under the point marked:
// a failure's description of the stacking the system has.
std::string DescribeStackingAt(DWORD processId, POINT point);

// Input records for SendInput: a move to a screen point, and a button flag (MOUSEEVENTF_) alone.
INPUT PointerMoveTo(POINT target);
INPUT PointerButton(DWORD flag);
// Presses the left button on a screen point, moves through the points in turn and releases it at
// the last one, as one stream of input. Each point should lie over another window than the one
// before: the system merges successive moves over one window into the last.
bool DragPointer(POINT from, const std::vector<POINT>& path);
