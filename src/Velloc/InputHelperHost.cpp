// The plug-in's side of the input helpers it carries (the calculator and the symbol-file
// viewer): texts from the host's message catalogue, the host library's look through the guard.
#include "dialogs/InputHelperHost.h"

#include "HostLibrary.h"
#include "HostMessages.h"
#include "VellocModule.h"
#include "dialogs/SecondCalculator.h"

namespace {

// The calculator's own texts, for a host that does not answer (none has called the plug-in yet).
const char* OwnText(int id)
{
    const char* caption = nullptr;
    switch (id) {
    case 7115: return QmDentakuMessage(CalcOutcome::DivideByZero, &caption);
    case 7116: return QmDentakuMessage(CalcOutcome::RefusedNotPositive, &caption);
    case 7118: return QmDentakuMessage(CalcOutcome::RefusedNegative, &caption);
    case 7618:
        QmDentakuMessage(CalcOutcome::DivideByZero, &caption);
        return caption;
    default: return "";
    }
}

}  // namespace

const char* InputHelperMessage(int id)
{
    HWND host = OwnerWindow();
    if (host != nullptr && IsWindow(host)) {
        const auto* text = reinterpret_cast<const char*>(SendMessageA(host, WM_CAD_GET_MESSAGE_TEXT, 0, id));
        if (text != nullptr && text[0] != '\0') return text;
    }
    return OwnText(id);
}

HWND InputHelperMainWindow(HWND)
{
    HWND host = OwnerWindow();
    return host != nullptr && IsWindow(host) ? host : nullptr;
}

// The plug-in keeps no log of its own.
void InputHelperLog(int, const char* title, const char* text)
{
    OutputDebugStringA(title);
    OutputDebugStringA(": ");
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

int InputHelperOwnerDrawButton(HWND dialog, int controlId)
{
    return static_cast<int>(
        GuardWindowProcedure(0, [&] { return static_cast<LRESULT>(HostLib::Dader_ChgBtnStyleOwnerDraw(dialog, controlId)); }));
}

void InputHelperDrawOkButton(const DRAWITEMSTRUCT* item)
{
    GuardWindowProcedure(0, [&] { return static_cast<LRESULT>(HostLib::Dader_ColorBtn_DrawItem_OkBtn(item)); });
}

LRESULT InputHelperEraseBackground(HWND window, HDC dc)
{
    return GuardWindowProcedure(0, [&] { return HostLib::Dader_OnEraseBkgnd(window, dc); });
}

HBRUSH InputHelperControlColour(HWND window, HDC dc, HWND control, int kind)
{
    return reinterpret_cast<HBRUSH>(GuardWindowProcedure(0, [&] {
        return reinterpret_cast<LRESULT>(HostLib::Dader_OnCtlColor(window, dc, control, kind));
    }));
}
