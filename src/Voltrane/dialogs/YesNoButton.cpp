#include "dialogs/YesNoButton.h"

#include <cstring>

#include "HostMessages.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "dialogs/Calculator.h"

CYesNoButtonPaint::~CYesNoButtonPaint()
{
    if (font != nullptr) DeleteObject(font);
}

void CYesNoButtonPaint::FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom)
{
    FillVerticalGradient(dc, rect, top, bottom);
}

void CYesNoButtonPaint::DrawFace(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4,
                                 COLORREF outer, COLORREF inner)
{
    DrawPanelButtonFace(dc, rect, c1, c2, c3, c4, outer, inner);
}

void CYesNoButtonPaint::DrawFaceUp(HDC dc, const RECT& rect)
{
    DrawFace(dc, rect, 0xFFFFFF, 0xF5F1E9, 0xFFDCC8, 0xCFB8A6, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

void CYesNoButtonPaint::DrawFaceGrey(HDC dc, const RECT& rect)
{
    DrawFace(dc, rect, 0xD5D5D5, 0xDCDCDC, 0xFDFDFD, 0xEBEBEB, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

void CYesNoButtonPaint::DrawFaceOfState(HDC dc, const RECT& rect, int state)
{
    const COLORREF c = state == 1 ? faceColour1 : faceColour2;
    DrawFace(dc, rect, c, c, c, c, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

void CYesNoButtonPaint::DrawFaceOrange(HDC dc, const RECT& rect)
{
    DrawFace(dc, rect, 0x00A8FF, 0x00A8FF, 0x00A8FF, 0x00A8FF, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

const char* CYesNoButtonPaint::FontFace() const { return fontFace.c_str(); }

void CYesNoButtonPaint::SetFont(int height)
{
    if (font != nullptr) DeleteObject(font);
    font = CreateFontA(height, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, FontFace());
}

void CYesNoButtonPaint::Draw(HWND window, HDC dc, int state, int, const RECT& rect, const char* text)
{
    if (state != 0) DrawFaceOfState(dc, rect, state);
    else DrawFaceUp(dc, rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HFONT own = nullptr;
    if (font == nullptr) {
        const int fontHeight = height <= 13 ? height - 2 : height <= 26 ? 12 : 14;
        own = CreateFontA(fontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, FontFace());
    }
    HGDIOBJ old = SelectObject(dc, font != nullptr ? font : own);
    SetBkMode(dc, TRANSPARENT);
    COLORREF colour = state == 1 ? textColour1 : state == 2 ? textColour2 : textColour0;
    if (state == 0 && window != nullptr && !::IsWindowEnabled(window)) colour = GetSysColor(COLOR_GRAYTEXT);
    SetTextColor(dc, colour);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    const char* shown = text != nullptr ? text : "";
    int length = static_cast<int>(DbcsFitLength(shown, std::strlen(shown), static_cast<size_t>(width / average)));
    TextOutA(dc, rect.left + (width - length * average) / 2 + 2, rect.bottom / 2 - metrics.tmHeight / 2, shown,
             length);
    SelectObject(dc, old);
    if (own != nullptr) DeleteObject(own);
    if (window != nullptr && ::GetFocus() == window) {
        RECT focus = {rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
        DrawFocusRect(dc, &focus);
    }
}

WinKit::CWndClassInfo& CYesNoButton::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), CS_HREDRAW | CS_VREDRAW, WinKit::CWindowImplRoot::WindowProc, 0, 12, nullptr, nullptr,
         nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "AppPanelButton", nullptr},
        nullptr,
        0,
        nullptr};
    return info;
}

int CYesNoButton::SetState(int state)
{
    const int previous = m_state;
    m_state = state;
    return previous;
}

int CYesNoButton::ToggleState(int state)
{
    const int previous = m_state;
    m_state = previous != 0 ? 0 : state > 0 ? state : 1;
    return previous;
}

void CYesNoButton::Redraw() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CYesNoButton::NotifyParent(int code)
{
    NMHDR header = {m_hWnd, static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)), static_cast<UINT>(code)};
    ::SendMessageA(::GetParent(m_hWnd), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT CYesNoButton::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
{
    ::SetWindowLongA(m_hWnd, 0, 0);
    ::SetWindowLongA(m_hWnd, 4, 0);
    ::SetWindowTextA(m_hWnd, "Yes/No");
    yesCaption = "Yes";
    noCaption = "No";
    handled = FALSE;
    return 0;
}

LRESULT CYesNoButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    char text[256] = "";
    if (m_state == 1) DbcsCopy(text, sizeof text, yesCaption.c_str());
    else if (m_state == 2) DbcsCopy(text, sizeof text, noCaption.c_str());
    else ::GetWindowTextA(m_hWnd, text, sizeof text);
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    Draw(m_hWnd, dc, m_state, 0, client, text);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CYesNoButton::OnButtonDown(UINT message, WPARAM, LPARAM, BOOL&)
{
    if (IsCalculatorOpen()) return 0;
    if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_FOCUS_INPUT, 0, 0);
    ::SetCapture(m_hWnd);
    m_state = message == WM_LBUTTONDOWN ? 1 : 2;
    Redraw();
    return 0;
}

LRESULT CYesNoButton::OnButtonUp(UINT message, WPARAM, LPARAM, BOOL&)
{
    const int previous = m_state;
    ::ReleaseCapture();
    m_state = 0;
    Redraw();
    // A press that began elsewhere left the state at 0: its release answers nothing.
    if (previous != 0) NotifyParent(message == WM_LBUTTONUP ? kYesNoLeftClick : kYesNoRightClick);
    return 0;
}

LRESULT CYesNoButton::OnKeyUp(UINT, WPARAM key, LPARAM, BOOL& handled)
{
    if (key != VK_SPACE && key != VK_RETURN) {
        handled = FALSE;
        return 0;
    }
    m_state = 0;
    Redraw();
    NotifyParent(kYesNoLeftClick);
    return 0;
}

LRESULT CYesNoButton::OnFocus(UINT, WPARAM other, LPARAM, BOOL&)
{
    if (reinterpret_cast<HWND>(other) == m_hWnd && m_state != 0) m_state = 0;
    Redraw();
    return 0;
}

LRESULT CYesNoButton::OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL& handled)
{
    ::SendMessageA(::GetParent(m_hWnd), notifyMessage, static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)), 1);
    handled = FALSE;
    return 0;
}
