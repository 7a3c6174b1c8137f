// What the calculator and the symbol-file viewer ask of the binary they are built into. Both
// are one source compiled into the program and into the plug-in: the program answers from its
// own message catalogue, main frame and log; the plug-in asks its host and calls the host
// library through its guard.
#pragma once

#include <windows.h>

// A text of the message catalogue; never null.
const char* InputHelperMessage(int id);
// The window to activate once the calculator is gone (owner: the calculator's owner); null for
// none.
HWND InputHelperMainWindow(HWND owner);
void InputHelperLog(int level, const char* title, const char* text);

// The library's look of a dialog: owner-drawn OK button, background and control colours.
int InputHelperOwnerDrawButton(HWND dialog, int controlId);
void InputHelperDrawOkButton(const DRAWITEMSTRUCT* item);
LRESULT InputHelperEraseBackground(HWND window, HDC dc);
// kind 3: WM_CTLCOLORBTN, 6: WM_CTLCOLORSTATIC.
HBRUSH InputHelperControlColour(HWND window, HDC dc, HWND control, int kind);
