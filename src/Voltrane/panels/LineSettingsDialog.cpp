#include "panels/LineSettingsDialog.h"

#include "panels/ToolPanel.h"

CLineSettingsDlg::~CLineSettingsDlg() { FreeLineEndTypeRows(m_ends); }

CAttrListBoxBase* CLineSettingsDlg::ListBoxOf(int id)
{
    switch (id) {
    case kLineSettingsWidthList: return &m_widthBox;
    case kLineSettingsStartList: return &m_startBox;
    case kLineSettingsEndList: return &m_endBox;
    default: return nullptr;
    }
}

LRESULT CLineSettingsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    ParseLineEndTypeRows(m_ends, nullptr, 0);
    m_widthBox.m_list = &m_widths;
    m_startBox.m_list = &m_ends;
    m_startBox.m_side = 0;
    m_endBox.m_list = &m_ends;
    m_endBox.m_side = 1;
    const struct {
        int id;
        int count;
        int selected;
    } lists[] = {{kLineSettingsWidthList, kLineWidthCount, widthRow},
                 {kLineSettingsStartList, static_cast<int>(m_ends.rows.size()), startRow},
                 {kLineSettingsEndList, static_cast<int>(m_ends.rows.size()), endRow}};
    for (const auto& l : lists) {
        HWND box = ::GetDlgItem(m_hWnd, l.id);
        if (box == nullptr) continue;
        ListBoxOf(l.id)->SubclassWindow(box);
        for (int i = 0; i < l.count; ++i) ::SendMessageA(box, LB_ADDSTRING, 0, 0);
        ::SendMessageA(box, LB_SETCURSEL, static_cast<WPARAM>(l.selected), 0);
    }
    handled = FALSE;
    return 0;
}

LRESULT CLineSettingsDlg::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item == nullptr || item->CtlType != ODT_LISTBOX) {
        handled = FALSE;
        return 0;
    }
    // The lists are measured while the dialog is made, before they are subclassed.
    item->itemHeight = 24;
    return TRUE;
}

LRESULT CLineSettingsDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    CAttrListBoxBase* box = item != nullptr ? ListBoxOf(static_cast<int>(item->CtlID)) : nullptr;
    if (box == nullptr || box->m_hWnd == nullptr) {
        handled = FALSE;
        return 0;
    }
    box->DrawItem(*item);
    return TRUE;
}

LRESULT CLineSettingsDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    int* rows[] = {&widthRow, &startRow, &endRow};
    const int ids[] = {kLineSettingsWidthList, kLineSettingsStartList, kLineSettingsEndList};
    for (int i = 0; i < 3; ++i) {
        const LRESULT selected = ::SendDlgItemMessageA(m_hWnd, ids[i], LB_GETCURSEL, 0, 0);
        if (selected != LB_ERR) *rows[i] = static_cast<int>(selected);
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CLineSettingsDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

int RunLineSettingsDialog(int rows[3])
{
    CLineSettingsDlg dialog;
    dialog.widthRow = rows[0];
    dialog.startRow = rows[1];
    dialog.endRow = rows[2];
    const INT_PTR result = dialog.DoModal(GetActiveWindow());
    if (result != IDOK) return IDCANCEL;
    rows[0] = dialog.widthRow;
    rows[1] = dialog.startRow;
    rows[2] = dialog.endRow;
    return IDOK;
}
