// Page "マージン / 用紙枠" of the settings sheet (template 207): the margins, the colours of the
// margin and paper frames and the paper origin of the active drawing, checked when the page is
// left and taken over only when OK closes the sheet.
#pragma once

#include <windows.h>

#include "dialogs/SetConfigPropertyPage.h"
#include "drawing/MarginSettings.h"

class CSetConfig06Dlg : public CSetConfigPropertyPage<CSetConfig06Dlg> {
public:
    enum { IDD = 207 };
    using PageBase = CSetConfigPropertyPage<CSetConfig06Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig06Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(1001, OnSelectFromList)
        WK_COMMAND_ID_HANDLER(kMarginFrameCheck, OnMarginFrameCheck)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    // PSN_KILLACTIVE: false (the page stays) on an invalid margin, which is reported.
    bool OnKillActive();
    // PSN_APPLY: takes the entries and the origin over and repaints the frames.
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnSelectFromList(WORD, WORD, HWND, BOOL&);
    LRESULT OnMarginFrameCheck(WORD, WORD, HWND, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);

    MarginColourCombos m_combos;
};
