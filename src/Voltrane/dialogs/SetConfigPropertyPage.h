// The page base of the settings sheet: a property page with the program's dialog look, bound
// to its object at WM_INITDIALOG (the sheet, not the page, is the first window a sheet
// creates), whose PSN_KILLACTIVE answer is T::OnKillActive: false keeps the page.
//
// T declares `enum { IDD = <template id> };`, `bool OnKillActive();` and its map, chaining to
// this base with WK_CHAIN_MSG_MAP(CSetConfigPropertyPage<T>) as its last entry.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "dialogs/DialogBase.h"

template <class T>
class CSetConfigPropertyPage : public CDialogBase<T> {
public:
    using Base = CDialogBase<T>;

    CSetConfigPropertyPage() { this->m_centre = 0; }  // the sheet places its pages

    // The page handle for a sheet; the object must outlive the sheet.
    HPROPSHEETPAGE CreatePage()
    {
        PROPSHEETPAGEA page = {};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = ::GetModuleHandleA(nullptr);
        page.pszTemplate = MAKEINTRESOURCEA(T::IDD);
        page.pfnDlgProc = &CSetConfigPropertyPage::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(static_cast<T*>(this));
        return ::CreatePropertySheetPageA(&page);
    }

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        if (mapId == 0 && msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_KILLACTIVE) {
            result = static_cast<T*>(this)->OnKillActive() ? FALSE : TRUE;
            return TRUE;
        }
        return Base::ChainBaseMessages(hWnd, msg, wParam, lParam, result, mapId) ? TRUE : FALSE;
    }

private:
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_INITDIALOG && lParam != 0) {
            auto* self = reinterpret_cast<T*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
            if (self != nullptr) self->BindPage(hWnd);
        }
        return WinKit::CDialogImplRoot::DialogProc(hWnd, msg, wParam, lParam);
    }

protected:
    void BindPage(HWND hWnd) { this->Bind(hWnd); }
};
