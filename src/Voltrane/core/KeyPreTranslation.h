// The key filter that runs before translation and dispatch, in the main message loop and in
// the input loop of a running command: arrow keys scroll the view in keyboard cursor mode,
// digits, minus signs and decimal points go to the status bar's number line, and the "NUM"
// shortcuts act on the number typed so far.
#pragma once

#include <windows.h>

class CMainAccelerator;

// The view scroll commands of the arrow keys.
constexpr WORD kScrollUpCommand = 3001;
constexpr WORD kScrollDownCommand = 3002;
constexpr WORD kScrollLeftCommand = 3003;
constexpr WORD kScrollRightCommand = 3004;
// The flags byte of a typed-number shortcut: VIRTKEY with the mark NUM.
constexpr BYTE kTypedNumberAccelFlags = 0x41;

// The filter with the status bar given: 1 handled, 0 not, -1 the key belongs to an open
// parameter-panel list and must reach it untouched.
int PreTranslateKeyFor(HWND window, HWND statusBar, const MSG* msg, CMainAccelerator* accelerator);

// The frame services' entry: the application object's filter with the program's status bar.
int PreTranslateKeyService(HWND mainWnd, MSG* msg, void* accelerator);
