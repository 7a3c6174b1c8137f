// The page base of the settings sheet: a property page with the program's dialog look. A page
// checks what it shows when it loses activation (T::OnKillActive: false keeps the page) and
// writes its values only when OK closes the sheet (T::OnApply, sent to every page that was
// created), so Cancel changes nothing. The first page initialised puts the sheet's OK button to
// the right of its Cancel button and draws it as a colour button.
//
// T declares `enum { IDD = <template id> };`, `bool OnKillActive();`, optionally
// `void OnApply();`, and its map, chaining to this base with
// WK_CHAIN_MSG_MAP(CSetConfigPropertyPage<T>) as its last entry.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include "WinKit/PropertySheet.h"
#include "dialogs/DialogBase.h"

// Exchanges the sheet's OK and Cancel buttons when OK stands left of Cancel; owner-draws OK.
void PlaceSheetOkRightOfCancel(HWND sheet);

template <class T>
class CSetConfigPropertyPage : public WinKit::CPropertyPageImpl<T, CDialogBase<T>> {
public:
    using Base = CDialogBase<T>;

    CSetConfigPropertyPage() { this->m_centre = 0; }  // the sheet places its pages

    // Pages without values to write at OK.
    void OnApply() {}

    BOOL ProcessWindowMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId = 0) override
    {
        if (mapId == 0 && msg == WM_NOTIFY && lParam != 0) {
            const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
            if (code == static_cast<UINT>(PSN_KILLACTIVE)) {
                result = static_cast<T*>(this)->OnKillActive() ? FALSE : TRUE;
                return TRUE;
            }
            if (code == static_cast<UINT>(PSN_APPLY)) {
                static_cast<T*>(this)->OnApply();
                result = PSNRET_NOERROR;
                return TRUE;
            }
        }
        if (mapId == 0 && msg == WM_INITDIALOG) PlaceSheetOkRightOfCancel(::GetParent(hWnd));
        return Base::ChainBaseMessages(hWnd, msg, wParam, lParam, result, mapId) ? TRUE : FALSE;
    }
};
