// The settings sheet "環境設定": ten pages, OK and Cancel (no Apply). The pages check their
// values when they are left and write them only when OK closes the sheet; Cancel changes
// nothing.
#pragma once

#include <windows.h>

#include "WinKit/PropertySheet.h"
#include "dialogs/SetConfigPagesA.h"
#include "dialogs/SetConfigPagesB.h"
#include "drawing/MarginSettingsPage.h"

class CSetConfigDlg : public WinKit::CPropertySheetImpl<CSetConfigDlg> {
public:
    using SheetBase = WinKit::CPropertySheetImpl<CSetConfigDlg>;

    CSetConfigDlg(const char* title, UINT startPage, HWND parent);
    ~CSetConfigDlg() override;
    CSetConfigDlg(const CSetConfigDlg&) = delete;
    CSetConfigDlg& operator=(const CSetConfigDlg&) = delete;

    WK_BEGIN_MSG_MAP(CSetConfigDlg)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(WM_CTLCOLORBTN, OnButtonColour)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
    WK_END_MSG_MAP()

private:
    LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnButtonColour(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL& handled);

    bool m_centred = false;
    HBRUSH m_brush = nullptr;
    CSetConfig01Dlg m_page01;
    CSetConfig02Dlg m_page02;
    CSetConfig03Dlg m_page03;
    CSetConfig04Dlg m_page04;
    CSetConfig05Dlg m_page05;
    CSetConfig06Dlg m_page06;
    CSetConfig07Dlg m_page07;
    CSetConfig08Dlg m_page08;
    CSetConfig09Dlg m_page09;
    CSetConfig10Dlg m_page10;
};

// Service command "環境設定": the sheet over the active window, the drawing library's modeless
// window disabled meanwhile.
void RunSettingsSheet();
