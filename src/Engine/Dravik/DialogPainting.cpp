// Background, control colours and owner-drawn buttons of the dialogs of plug-ins and of the
// program's service commands, in the library's colours.
#include <windows.h>

#include "Dravik.h"
#include "HostColors.h"

namespace {

constexpr int kCtlColorButtonKind = 3;
constexpr int kCtlColorStaticKind = 6;

bool IsPushButton(HWND button)
{
    char className[16] = {};
    if (button == nullptr || GetClassNameA(button, className, sizeof className) == 0) return false;
    if (lstrcmpiA(className, "Button") != 0) return false;
    LONG type = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

int PaintButtonOfKind(const DRAWITEMSTRUCT* item, int kind)
{
    if (item == nullptr || item->hDC == nullptr || item->CtlType != ODT_BUTTON) return 0;
    const HostColors& colors = HostColors::Instance();
    QmCadApi_ColorBtn_DrawItem(item, colors.Button(kind, HostColors::kButtonFace),
                               colors.Button(kind, HostColors::kButtonLabel),
                               colors.Button(kind, HostColors::kButtonDisabledLabel));
    return 1;
}

}  // namespace

DRAVIK_API LRESULT WINAPI Dader_OnEraseBkgnd(HWND window, HDC dc)
{
    if (window == nullptr || dc == nullptr) return 0;
    RECT rc;
    if (!GetClientRect(window, &rc)) return 0;
    FillRect(dc, &rc, HostColors::Instance().DialogBrush(HostColors::kDialogBack));
    return 1;
}

DRAVIK_API HBRUSH WINAPI Dader_OnCtlColor(HWND window, HDC dc, HWND control, int kind)
{
    (void)window;
    (void)control;
    HostColors& colors = HostColors::Instance();
    int back = HostColors::kOtherBack;
    int text = HostColors::kOtherText;
    if (kind == kCtlColorButtonKind) {
        back = HostColors::kButtonBack;
        text = HostColors::kButtonText;
    } else if (kind == kCtlColorStaticKind) {
        back = HostColors::kStaticBack;
        text = HostColors::kStaticText;
    }
    if (dc != nullptr) {
        SetTextColor(dc, colors.Dialog(text));
        SetBkColor(dc, colors.Dialog(back));
        SetBkMode(dc, TRANSPARENT);
    }
    return colors.DialogBrush(back);
}

DRAVIK_API int WINAPI Dader_OnDrawItem(HWND window, const DRAWITEMSTRUCT* item)
{
    (void)window;
    if (item == nullptr || item->CtlType != ODT_BUTTON) return 0;
    // The OK button takes the first kind, every other button the plain face kind.
    return PaintButtonOfKind(item, item->CtlID == IDOK ? 0 : 3);
}

DRAVIK_API int WINAPI Dader_ChgBtnStyleOwnerDraw(HWND dialog, int controlId)
{
    if (dialog == nullptr) return 0;
    HWND button = GetDlgItem(dialog, controlId);
    // Some callers hand the button window itself.
    if (button == nullptr && IsPushButton(dialog)) button = dialog;
    if (!IsPushButton(button)) return 0;
    LONG style = GetWindowLongA(button, GWL_STYLE);
    style = (style & ~BS_TYPEMASK) | BS_OWNERDRAW;
    SetWindowLongA(button, GWL_STYLE, style);
    InvalidateRect(button, nullptr, TRUE);
    return 1;
}

DRAVIK_API int WINAPI Dader_wParamToCtrlID(WPARAM wParam)
{
    return LOWORD(wParam);
}

DRAVIK_API COLORREF WINAPI Dader_GetPanelColor(void)
{
    return HostColors::Instance().Dialog(HostColors::kPanelBack);
}

DRAVIK_API int WINAPI Dader_ColorBtn_DrawItem_OkBtn(const DRAWITEMSTRUCT* item)
{
    return PaintButtonOfKind(item, 0);
}

DRAVIK_API int WINAPI Dader_ColorBtn_DrawItem_Btn(const DRAWITEMSTRUCT* item, int kind)
{
    if (kind < 0 || kind >= HostColors::kButtonKinds) kind = 0;
    return PaintButtonOfKind(item, kind);
}
