#include "dialogs/ColorIndexCombo.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

void CColorIndexCombo::FillNumberCombo(int first, int last)
{
    char text[16];
    for (int n = first; n <= last; ++n) {
        std::snprintf(text, sizeof text, "%d", n);
        const LRESULT index = ::SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index >= 0) ::SendMessageA(m_combo, CB_SETITEMDATA, index, n);
    }
}

void CColorIndexCombo::AddComboColors(const COLORREF* colours, int end, int start)
{
    if (colours == nullptr) return;
    for (int i = std::max(start, 0); i < end; ++i) m_colours.push_back(colours[i]);
}

void CColorIndexCombo::SetColors(const COLORREF* colours, int count, int start)
{
    if (colours == nullptr) return;
    const int n = std::min(count, ColorCount());
    for (int i = 0; i < n; ++i) m_colours[i] = colours[start + i];
}

COLORREF CColorIndexCombo::GetColorAt(int n) const
{
    return n >= 0 && n < ColorCount() ? m_colours[n] : 0;
}

void CColorIndexCombo::DrawColorComboItem(const DRAWITEMSTRUCT* item) const
{
    if (item == nullptr || item->itemID == static_cast<UINT>(-1)) return;
    const int n = static_cast<int>(item->itemID);
    const COLORREF colour = n < ColorCount() ? m_colours[n] : (m_colours.empty() ? 0 : m_colours[0]);
    HDC dc = item->hDC;
    RECT r = item->rcItem;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    RECT swatch = {r.left + 2, r.top + 2, r.left + 2 + 2 * (r.bottom - r.top), r.bottom - 2};
    HBRUSH brush = ::CreateSolidBrush(colour);
    ::FillRect(dc, &swatch, brush);
    ::DeleteObject(brush);
    ::FrameRect(dc, &swatch, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    char text[16];
    std::snprintf(text, sizeof text, "%d", n);
    if (m_combo != nullptr) ::SendMessageA(m_combo, CB_GETLBTEXT, n, reinterpret_cast<LPARAM>(text));
    RECT textRect = {swatch.right + 4, r.top, r.right, r.bottom};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    ::DrawTextA(dc, text, -1, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void SetComboMinVisible(HWND combo, int items)
{
    if (::SendMessageA(combo, CB_SETMINVISIBLE, items, 0) && ::SendMessageA(combo, CB_GETMINVISIBLE, 0, 0) == items)
        return;
    // Older common controls ignore the message: the dropped height decides instead.
    RECT r;
    ::GetWindowRect(combo, &r);
    const int itemHeight = static_cast<int>(::SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    const int fieldHeight = static_cast<int>(::SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    HWND parent = ::GetParent(combo);
    POINT topLeft = {r.left, r.top};
    ::ScreenToClient(parent, &topLeft);
    ::MoveWindow(combo, topLeft.x, topLeft.y, r.right - r.left, fieldHeight + 8 + itemHeight * items, FALSE);
}
