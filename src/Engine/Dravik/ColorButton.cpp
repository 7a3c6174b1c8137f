#include "Dravik.h"

DRAVIK_API void WINAPI QmCadApi_ColorBtn_DrawItem(const DRAWITEMSTRUCT* item, COLORREF background,
                                                  COLORREF text, COLORREF disabledText)
{
    if (item == nullptr || item->hDC == nullptr) return;
    HDC dc = item->hDC;
    RECT rc = item->rcItem;
    bool pressed = (item->itemState & ODS_SELECTED) != 0;
    bool disabled = (item->itemState & ODS_DISABLED) != 0;

    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    DrawEdge(dc, &rc, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    char caption[256] = {};
    if (item->hwndItem != nullptr) GetWindowTextA(item->hwndItem, caption, sizeof caption);
    if (pressed) OffsetRect(&rc, 1, 1);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, disabled ? disabledText : text);
    DrawTextA(dc, caption, -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
    if (item->itemState & ODS_FOCUS) {
        RECT focus = item->rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}
