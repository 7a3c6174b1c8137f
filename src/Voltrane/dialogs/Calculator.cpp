#include "dialogs/Calculator.h"

#include "core/LocalSettings.h"
#include "core/SystemLog.h"

// The calculator window is not built yet: a field that asks for it keeps its text.
int ShowCalculator(HWND, int, const char*, char*)
{
    WriteSystemLog(2, "Calculator", "電卓は使用できません");
    return 0;
}

int IsCalculatorOpen() { return 0; }

int IsNumericPadEnabled() { return GetLocalSettingsLive().setup.bDspNumDlgFg != 0 ? 1 : 0; }
