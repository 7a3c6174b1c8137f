// The second calculator: a window procedure for the class "QMDENTAKU" on the rules of the
// pop-up calculator, with its own state. Nothing registers the class or opens such a window;
// a creator would pass QmDentakuCreateParams as the creation data and run its own message loop
// until the window is gone.
#pragma once

#include <windows.h>

#include "dialogs/CalculatorState.h"

struct QmDentakuCreateParams {
    HWND owner;
    int mode;
    const char* caption;  // null or empty: "数値入力"
    char* output;         // 32 bytes for the display text on OK; null for none
};

// The second calculator's own state (separate from the pop-up calculator's).
CalculatorState& GetQmDentakuState();
// The fixed message texts of the second calculator for an outcome; null for none.
const char* QmDentakuMessage(CalcOutcome outcome, const char** caption);

LRESULT CALLBACK QmDentakuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
