#include "HostColors.h"

#include "Dravik.h"

HostColors& HostColors::Instance()
{
    static HostColors colors;
    return colors;
}

HostColors::HostColors()
{
    // Until a host sets them, dialogs follow the system colours and the buttons use the
    // library's own four kinds.
    for (int i = 0; i < kDialogColorCount; ++i) m_dialog[i] = 0;
    static const COLORREF kButtons[kButtonKinds][kButtonColorCount] = {
        {0xFF6464, 0xFFFFFF, 0x808080},
        {0x5863F4, 0xFFFFFF, 0x808080},
        {0x00FFFF, 0x000000, 0x808080},
        {CLR_INVALID, 0x000000, 0x808080},
    };
    for (int k = 0; k < kButtonKinds; ++k)
        for (int c = 0; c < kButtonColorCount; ++c) m_button[k][c] = kButtons[k][c];
}

COLORREF HostColors::Dialog(int which) const
{
    if (which < 0 || which >= kDialogColorCount) return GetSysColor(COLOR_BTNFACE);
    if (m_dialogSet[which]) return m_dialog[which];
    return which >= kStaticText ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_BTNFACE);
}

COLORREF HostColors::Button(int kind, int which) const
{
    if (kind < 0 || kind >= kButtonKinds) kind = 0;
    if (which < 0 || which >= kButtonColorCount) which = kButtonFace;
    COLORREF c = m_button[kind][which];
    return c == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : c;
}

bool HostColors::Set(int index, const COLORREF* values)
{
    if (values == nullptr) return false;
    if (index == -1) {
        for (int i = 0; i < kDialogColorCount; ++i) {
            m_dialog[i] = values[i] & 0x00FFFFFF;
            m_dialogSet[i] = true;
        }
        return true;
    }
    if (index < 0 || index >= kButtonKinds) return false;
    for (int c = 0; c < kButtonColorCount; ++c) m_button[index][c] = values[c] & 0x00FFFFFF;
    return true;
}

HBRUSH HostColors::DialogBrush(int which)
{
    if (which < 0 || which >= kDialogColorCount) which = kDialogBack;
    COLORREF color = Dialog(which);
    if (m_brush[which] == nullptr || m_brushColor[which] != color) {
        HBRUSH brush = CreateSolidBrush(color);
        if (brush == nullptr) return m_brush[which] ? m_brush[which] : GetSysColorBrush(COLOR_BTNFACE);
        if (m_brush[which] != nullptr) DeleteObject(m_brush[which]);
        m_brush[which] = brush;
        m_brushColor[which] = color;
    }
    return m_brush[which];
}

DRAVIK_API int WINAPI QmCadApi_SetColor(int index, const COLORREF* values)
{
    return HostColors::Instance().Set(index, values) ? 1 : 0;
}
