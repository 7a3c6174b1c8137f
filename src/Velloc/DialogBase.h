// The plug-in's dialog base: every dialog of the plug-in gets the host's panel colour as its
// background and for its static texts, the OK button (and control 1021) drawn as colour
// buttons by the host library, and centring over its parent. A derived dialog handles its own
// messages first and chains to this map last (WK_CHAIN_MSG_MAP(CDialogBase<T>)); its own
// WM_INITDIALOG clears its handled flag so that the base's runs too.
#pragma once

#include <windows.h>

#include "HostLibrary.h"
#include "WinKit/Dialog.h"
#include "WinKit/MessageMap.h"

template <class T>
class CDialogBase : public WinKit::CDialogImpl<T> {
public:
    static constexpr int kSecondColorButton = 1021;

    CDialogBase() = default;
    ~CDialogBase() override
    {
        if (m_backgroundBrush != nullptr && ::DeleteObject(m_backgroundBrush)) m_backgroundBrush = nullptr;
    }

    // Runs the dialog with the template of the given module (the plug-in's own).
    INT_PTR DoModalIn(HINSTANCE module, HWND parent, LPARAM initParam = 0)
    {
        return this->DoModalFrom(module, T::IDD, parent, initParam);
    }
    HWND CreateIn(HINSTANCE module, HWND parent, LPARAM initParam = 0)
    {
        return this->CreateFrom(module, T::IDD, parent, initParam);
    }

    WK_BEGIN_MSG_MAP(CDialogBase)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnBaseInitDialog)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnBaseEraseBackground)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnBaseDrawItem)
        WK_MESSAGE_HANDLER(WM_CTLCOLORBTN, OnBaseColorButton)
        WK_MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnBaseColorStatic)
    WK_END_MSG_MAP()

    int colorSwitch = 1;              // 0: the system's colours
    HBRUSH m_backgroundBrush = nullptr;
    int centreFlag = 1;               // 0: the dialog places itself

protected:
    LRESULT OnBaseInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        if (colorSwitch != 0 && m_backgroundBrush == nullptr)
            m_backgroundBrush = ::CreateSolidBrush(HostLib::Dader_GetPanelColor());
        for (int id : {IDOK, kSecondColorButton}) {
            HWND control = ::GetDlgItem(this->m_hWnd, id);
            if (control != nullptr)
                ::SetWindowLongA(control, GWL_STYLE, ::GetWindowLongA(control, GWL_STYLE) | BS_OWNERDRAW);
        }
        if (centreFlag != 0) CentreOverParent();
        return 0;
    }
    LRESULT OnBaseEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL& handled)
    {
        if (colorSwitch == 0) {
            handled = FALSE;
            return 0;
        }
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT client;
        ::GetClientRect(this->m_hWnd, &client);
        HBRUSH brush = ::CreateSolidBrush(HostLib::Dader_GetPanelColor());
        HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        HGDIOBJ oldBrush = ::SelectObject(dc, brush);
        ::Rectangle(dc, client.left, client.top, client.right + 1, client.bottom + 1);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        ::DeleteObject(brush);
        return 0;
    }
    LRESULT OnBaseDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == IDOK) HostLib::Dader_ColorBtn_DrawItem_OkBtn(item);
        else if (wParam == static_cast<WPARAM>(kSecondColorButton)) HostLib::Dader_ColorBtn_DrawItem_Btn(item, 0);
        return 0;
    }
    LRESULT OnBaseColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        HWND control = reinterpret_cast<HWND>(lParam);
        if (control == ::GetDlgItem(this->m_hWnd, IDOK) || control == ::GetDlgItem(this->m_hWnd, kSecondColorButton)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetBkColor(dc, 0xFF0000);
            ::SetTextColor(dc, 0);
            return reinterpret_cast<LRESULT>(m_backgroundBrush);
        }
        return 0;
    }
    LRESULT OnBaseColorStatic(UINT, WPARAM wParam, LPARAM, BOOL& handled)
    {
        if (colorSwitch == 0 || m_backgroundBrush == nullptr) {
            handled = FALSE;
            return 0;
        }
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, HostLib::Dader_GetPanelColor());
        ::SetTextColor(dc, 0);
        return reinterpret_cast<LRESULT>(m_backgroundBrush);
    }

private:
    void CentreOverParent()
    {
        HWND parent = ::GetParent(this->m_hWnd);
        RECT area, box;
        if (parent == nullptr || !::GetWindowRect(parent, &area))
            ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        ::GetWindowRect(this->m_hWnd, &box);
        const int width = box.right - box.left, height = box.bottom - box.top;
        const int x = area.left + ((area.right - area.left) - width) / 2;
        const int y = area.top + ((area.bottom - area.top) - height) / 2;
        ::SetWindowPos(this->m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
};
