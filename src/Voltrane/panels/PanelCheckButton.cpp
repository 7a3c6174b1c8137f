#include "panels/PanelCheckButton.h"

#include "controls/KitFaces.h"
#include "core/CadSystem.h"

WinKit::CWndClassInfo& CPanelCheckButton::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), CS_HREDRAW | CS_VREDRAW, WinKit::CWindowImplRoot::WindowProc, 0, 12, nullptr, nullptr,
         nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "PanelCheckButton", nullptr},
        nullptr, 0, nullptr};
    if (info.wc.hCursor == nullptr) info.wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return info;
}

int CPanelCheckButton::SetLocked(int locked)
{
    const int previous = m_locked;
    m_locked = locked ? 1 : 0;
    if (m_hWnd != nullptr) Redraw();
    return previous;
}

int CPanelCheckButton::Press() const { return static_cast<int>(::GetWindowLongA(m_hWnd, kPanelButtonPress)); }
void CPanelCheckButton::SetPress(int state) { ::SetWindowLongA(m_hWnd, kPanelButtonPress, state); }

void CPanelCheckButton::Redraw() { ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }

void CPanelCheckButton::Click()
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr)
        ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), 0), reinterpret_cast<LPARAM>(m_hWnd));
}

void CPanelCheckButton::Notify(HWND target, int leaving)
{
    if (target != nullptr) ::SendMessageA(target, notifyMessage, ::GetDlgCtrlID(m_hWnd), leaving);
}

LRESULT CPanelCheckButton::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    ::SetWindowLongA(m_hWnd, kPanelButtonPress, 0);
    ::SetWindowLongA(m_hWnd, kPanelButtonChecked, 0);
    return 0;
}

LRESULT CPanelCheckButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int W = rc.right, H = rc.bottom;
    const bool down = Press() != 0 || ::GetWindowLongA(m_hWnd, kPanelButtonChecked) != 0;
    const COLORREF frame = GetSysColor(COLOR_3DDKSHADOW);
    if (down)
        DrawPanelButtonFace(dc, rc, 0x00DEFF, 0x00DEFF, 0x00DEFF, 0x00DEFF, frame, 0xFFFFFF);
    else
        DrawPanelButtonFace(dc, rc, 0xFFFFFF, 0xF5F1E9, 0xFFDCC8, 0xCFB8A6, frame, 0xFFFFFF);
    const int fontHeight = H >= 19 ? 14 : (H >= 14 ? 12 : H - 2);
    HFONT font = CreateFontA(fontHeight, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, fontFace.c_str());
    HGDIOBJ old = SelectObject(dc, font);
    char text[256] = {};
    const int length = ::GetWindowTextA(m_hWnd, text, sizeof text);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    const int average = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (!::IsWindowEnabled(m_hWnd) || m_locked) ? GetSysColor(COLOR_GRAYTEXT) : RGB(0x32, 0x32, 0x32));
    const int shown = length < W / average ? length : W / average;
    TextOutA(dc, (W - length * average) / 2 + 2, H / 2 - tm.tmHeight / 2, text, shown);
    SelectObject(dc, old);
    DeleteObject(font);
    if (::GetFocus() == m_hWnd) {
        HPEN pen = CreatePen(PS_SOLID, 1, 0x7F7F7F);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        Rectangle(dc, 5, 5, W - 5, H - 5);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(pen);
    }
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CPanelCheckButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_locked) {
        char caption[256] = {};
        ::GetWindowTextA(m_hWnd, caption, sizeof caption);
        char text[320];
        wsprintfA(text, "[%s] は、ロックされています", caption);
        ::MessageBoxA(m_hWnd, text, "基本操作", MB_ICONINFORMATION);
        return 0;
    }
    ::SetCapture(m_hWnd);
    SetPress(1);
    Redraw();
    return 0;
}

LRESULT CPanelCheckButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_locked) return 0;
    const int previous = Press();
    ::ReleaseCapture();
    SetPress(0);
    Redraw();
    Notify(::GetParent(m_hWnd), 1);
    if (previous == 1) Click();
    return 0;
}

LRESULT CPanelCheckButton::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int press = Press();
    if (PtInRect(&rc, p)) {
        if (press == 2) {
            SetPress(1);
            Redraw();
        }
        if (press == 0 && ::GetCapture() != m_hWnd) {
            ::SetCapture(m_hWnd);
            Notify(::GetParent(m_hWnd), 0);
        }
    } else {
        if (press == 1) {
            SetPress(2);
            Redraw();
        }
        if (press == 0 && ::GetCapture() == m_hWnd) {
            ::ReleaseCapture();
            Notify(::GetWindow(m_hWnd, GW_OWNER) ? ::GetWindow(m_hWnd, GW_OWNER) : ::GetParent(m_hWnd), 1);
        }
    }
    return 0;
}

LRESULT CPanelCheckButton::OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&)
{
    Notify(::GetParent(m_hWnd), 1);
    return 0;
}

LRESULT CPanelCheckButton::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (!m_locked && wParam == VK_SPACE) {
        SetPress(1);
        Redraw();
    }
    return 0;
}

LRESULT CPanelCheckButton::OnKeyUp(UINT, WPARAM, LPARAM, BOOL&)
{
    if (!m_locked && Press() == 1) {
        SetPress(0);
        Redraw();
        Click();
    }
    return 0;
}

LRESULT CPanelCheckButton::OnFocus(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (reinterpret_cast<HWND>(wParam) == m_hWnd && Press() != 0) SetPress(0);
    Redraw();
    return 0;
}

LRESULT CPanelCheckButton::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND main = GetMainFrameWnd();
    if (!m_locked && (main == nullptr || ::IsWindowEnabled(main))) ::SendMessageA(::GetParent(m_hWnd), WM_RBUTTONDOWN, 0, 0);
    return 0;
}
