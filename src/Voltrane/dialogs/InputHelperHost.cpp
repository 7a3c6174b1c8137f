// The program's side of the input helpers.
#include "dialogs/InputHelperHost.h"

#include "Dravik.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/SystemLog.h"
#include "dialogs/Calculator.h"

const char* InputHelperMessage(int id)
{
    const char* text = GetMessageText(id);
    return text != nullptr ? text : "";
}

HWND InputHelperMainWindow(HWND) { return GetMainFrameWnd(); }

void InputHelperLog(int level, const char* title, const char* text) { WriteSystemLogText(level, title, text); }

int InputHelperOwnerDrawButton(HWND dialog, int controlId) { return Dader_ChgBtnStyleOwnerDraw(dialog, controlId); }

void InputHelperDrawOkButton(const DRAWITEMSTRUCT* item) { DrawColorButton(item); }

LRESULT InputHelperEraseBackground(HWND window, HDC dc) { return Dader_OnEraseBkgnd(window, dc); }

HBRUSH InputHelperControlColour(HWND window, HDC dc, HWND control, int kind)
{
    return Dader_OnCtlColor(window, dc, control, kind);
}

// The numeric pad is a setting of the program's user; the plug-in's copy has no such setting.
int IsNumericPadEnabled() { return GetLocalSettingsLive().setup.bDspNumDlgFg != 0 ? 1 : 0; }
