// The pop-up calculator that numeric fields open instead of taking typed text.
#pragma once

#include <windows.h>

// Runs the calculator for a field with a sign rule (mode; 0 and 7 are text fields, answered 0 at
// once); the display text goes into output (32 bytes). 1 when the user confirmed, else 0.
int ShowCalculator(HWND owner, int mode, const char* caption, char* output);
// 1 while the calculator is open: views, panels and the right-click popup ignore clicks then.
int IsCalculatorOpen();
// 1 when numeric fields open the calculator (the user's setting).
int IsNumericPadEnabled();
// The window class "DENTAKU", registered at start-up and unregistered at the end; 1 on success.
int RegisterCalculatorClass(HINSTANCE instance);
int UnregisterCalculatorClass(HINSTANCE instance);
