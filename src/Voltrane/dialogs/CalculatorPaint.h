// What both calculator windows share beyond the rules: painting the keys and the display
// frame, the display control, and the keyboard and mouse input that becomes key commands
// posted to the window itself.
#pragma once

#include <windows.h>

#include "dialogs/CalculatorState.h"

void PaintCalculatorKey(HDC dc, const CDentakuButton& key, bool pressed);
// The whole client area: background, every key (pressedIndex shown pressed) and the display frame.
void PaintCalculator(HWND window, HDC dc, int pressedIndex);
// The right-aligned display control 1000 and its font (the caller deletes the font).
HWND CreateCalculatorDisplay(HWND window, HFONT* font);
// The command of a keyboard key that shows a calculator key while held (digits of the main row
// and the numeric pad, the letter C); 0 for any other key.
int KeyDownCommand(WPARAM key);
// The command of an operator character ("*", "+", "-", ".", "/", "="); 0 for any other.
int CharCommand(WPARAM ch);

// Paints one key (by table index) at once, pressed or released.
void PaintCalculatorKeyNow(HWND window, int index, bool pressed);
// Releases the faces of the sixteen digit and operator keys.
void ReleaseCalculatorBlock(HWND window);
// Handles painting, focus, keyboard and mouse messages of a calculator window over its state;
// true when the message was one of them (its result in *result).
bool HandleCalculatorInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, CalculatorState& state,
                           LRESULT* result);
