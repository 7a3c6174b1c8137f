// The common look of the dialogs of the program and of its plug-in: the background in the
// dialog colour, static texts on that colour, the OK button and one more button drawn as
// colour buttons, and centring over the parent. A dialog derives from CDialogBaseT<T, Look>,
// handles its own messages first and chains to the base as its last map entry
// (WK_CHAIN_DIALOG_BASE), and ends its own WM_INITDIALOG handler by clearing its handled flag
// so that the base's runs too.
//
// Look supplies what differs between the binaries, so this header depends on neither:
//   static COLORREF BackColor();                       the dialog colour, read at each use
//   static constexpr int kSecondButton;                 the second colour button's id
//   static void DrawOkButton(const DRAWITEMSTRUCT*);    drawing of button 1
//   static void DrawSecondButton(const DRAWITEMSTRUCT*);
//   static constexpr bool kDrawItemHandled;             whether WM_DRAWITEM ends with the base
#pragma once

#include <windows.h>

#include <initializer_list>

#include "WinKit/Dialog.h"

namespace WinKit {

// Centres a window over its owner (or parent) when that is shown, else over the work area,
// kept inside the monitor's work area.
inline void CentreOverParent(HWND hWnd)
{
    HWND parent = ::GetWindow(hWnd, GW_OWNER);
    if (parent == nullptr) parent = ::GetParent(hWnd);
    RECT dialog, around;
    ::GetWindowRect(hWnd, &dialog);
    if (parent != nullptr && ::IsWindowVisible(parent) && !::IsIconic(parent)) {
        ::GetWindowRect(parent, &around);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
    }
    MONITORINFO monitor = {sizeof monitor};
    ::GetMonitorInfoA(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
    int x = (around.left + around.right - width) / 2, y = (around.top + around.bottom - height) / 2;
    if (x + width > work.right) x = work.right - width;
    if (y + height > work.bottom) y = work.bottom - height;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Fills the window's client area with one colour, edges included, without an outline.
inline void FillClientArea(HWND hWnd, HDC dc, COLORREF colour)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    HBRUSH brush = ::CreateSolidBrush(colour);
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::Rectangle(dc, client.left, client.top, client.right + 1, client.bottom + 1);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
}

template <class T, class Look>
class CDialogBaseT : public CDialogImpl<T> {
public:
    CDialogBaseT() = default;
    ~CDialogBaseT() override
    {
        if (m_backgroundBrush != nullptr && ::DeleteObject(m_backgroundBrush)) m_backgroundBrush = nullptr;
    }

    // The base's handler of its five messages; true when it handled the message.
    bool ProcessBaseMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
    {
        if (mapId != 0) return false;
        m_baseHandled = 1;
        switch (msg) {
        case WM_INITDIALOG:
            result = OnInitDialog(hWnd);
            break;
        case WM_ERASEBKGND:
            result = OnEraseBackground(hWnd, reinterpret_cast<HDC>(wParam));
            break;
        case WM_DRAWITEM:
            result = OnDrawItem(static_cast<int>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            break;
        case WM_CTLCOLORBTN:
            result = OnButtonColour(hWnd, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
            break;
        case WM_CTLCOLORSTATIC:
            result = OnStaticColour(reinterpret_cast<HDC>(wParam));
            break;
        default:
            return false;
        }
        return m_baseHandled != 0;
    }

    // The map wrapper: the base's handled flag is kept across the call.
    bool ChainBaseMessages(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
    {
        const int saved = m_baseHandled;
        const bool handled = ProcessBaseMessage(hWnd, msg, wParam, lParam, result, mapId);
        m_baseHandled = saved;
        return handled;
    }

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        return ChainBaseMessages(hWnd, msg, wParam, lParam, result, mapId) ? TRUE : FALSE;
    }

protected:
    // Set to 0 before WM_INITDIALOG of the base runs to leave the dialog where it is.
    int m_centre = 1;
    // 0 keeps the system's colours (the plug-in's dialogs switch it); buttons stay owner-drawn.
    int m_colourSwitch = 1;
    HBRUSH m_backgroundBrush = nullptr;
    int m_baseHandled = 0;

private:
    LRESULT OnInitDialog(HWND hWnd)
    {
        if (m_backgroundBrush == nullptr && m_colourSwitch != 0) m_backgroundBrush = ::CreateSolidBrush(Look::BackColor());
        for (int id : {static_cast<int>(IDOK), static_cast<int>(Look::kSecondButton)}) {
            if (HWND button = ::GetDlgItem(hWnd, id))
                ::SetWindowLongA(button, GWL_STYLE, ::GetWindowLongA(button, GWL_STYLE) | BS_OWNERDRAW);
        }
        if (m_centre != 0) CentreOverParent(hWnd);
        return 0;
    }

    LRESULT OnEraseBackground(HWND hWnd, HDC dc)
    {
        if (m_colourSwitch == 0) {
            m_baseHandled = 0;
            return 0;
        }
        FillClientArea(hWnd, dc, Look::BackColor());
        return 0;
    }

    LRESULT OnDrawItem(int id, const DRAWITEMSTRUCT* item)
    {
        if (item != nullptr) {
            if (id == IDOK) Look::DrawOkButton(item);
            else if (id == Look::kSecondButton) Look::DrawSecondButton(item);
        }
        if (!Look::kDrawItemHandled) m_baseHandled = 0;
        return 0;
    }

    LRESULT OnButtonColour(HWND hWnd, HDC dc, HWND control)
    {
        if (control == ::GetDlgItem(hWnd, IDOK) || control == ::GetDlgItem(hWnd, Look::kSecondButton)) {
            ::SetBkColor(dc, RGB(0, 0, 255));
            ::SetTextColor(dc, RGB(0, 0, 0));
            return reinterpret_cast<LRESULT>(m_backgroundBrush);
        }
        return 0;
    }

    LRESULT OnStaticColour(HDC dc)
    {
        if (m_colourSwitch == 0) {
            m_baseHandled = 0;
            return 0;
        }
        ::SetBkColor(dc, Look::BackColor());
        ::SetTextColor(dc, RGB(0, 0, 0));
        return reinterpret_cast<LRESULT>(m_backgroundBrush);
    }
};

}  // namespace WinKit

// The last entry of a derived dialog's map: the base's own messages.
#define WK_CHAIN_DIALOG_BASE(theBase)                                                       \
    if (theBase::ChainBaseMessages(hWnd, uMsg, wParam, lParam, lResult, mapId)) return TRUE;
