// The line width and end-mark dialog "線太細・線両端": three owner-drawn lists of the active
// drawing's widths and of the end marks for the start and for the end of a line.
#pragma once

#include <windows.h>

#include "controls/AttrCombos.h"
#include "controls/LineAttrLists.h"
#include "dialogs/DialogBase.h"

constexpr int kLineSettingsWidthList = 1136;
constexpr int kLineSettingsStartList = 1137;
constexpr int kLineSettingsEndList = 1138;

class CLineSettingsDlg : public CDialogBase<CLineSettingsDlg> {
public:
    enum { IDD = 236 };

    ~CLineSettingsDlg() override;

    WK_BEGIN_MSG_MAP(CLineSettingsDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CLineSettingsDlg>)
    WK_END_MSG_MAP()

    // The selected rows, in and out (written only at OK).
    int widthRow = 0;
    int startRow = 0;
    int endRow = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    CAttrListBoxBase* ListBoxOf(int id);

    LineWidthList m_widths;
    LineEndTypeList m_ends;
    CLineWidthListBox m_widthBox;
    CLineEndTypeListBox m_startBox;
    CLineEndTypeListBox m_endBox;
};
