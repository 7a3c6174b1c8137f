#include "drawing/MarginSettings.h"

#include <cstdio>

#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "dialogs/ColorIndexCombo.h"
#include "dialogs/DialogBase.h"
#include "drawing/MarginPresets.h"
#include "mainframe/MainFrame.h"
#include "view/ViewTable.h"

namespace {

double* MarginField(PaperMarginEx& s, int edit)
{
    double* fields[kMarginEditCount] = {&s.top, &s.bottom, &s.left, &s.right, &s.top2, &s.bottom2, &s.left2, &s.right2};
    return fields[edit];
}

constexpr int kMarginColourLabel215 = 1700;

}  // namespace

void MarginColourCombos::Init(HWND dialog, const PaperMarginEx& s, bool paperFromZero, int labelId)
{
    m_label = labelId;
    const COLORREF* palette = GetConfigDataRuntime().palette;
    paper.Attach(::GetDlgItem(dialog, kPaperFrameCombo));
    margin.Attach(::GetDlgItem(dialog, kMarginFrameCombo));
    margin.FillNumberCombo(1, 256);
    margin.AddComboColors(palette, 257, 1);
    // Item 0 of the paper combo switches the paper frame off where the combo starts at 0.
    paper.FillNumberCombo(paperFromZero ? 0 : 1, 256);
    paper.AddComboColors(palette, 257, paperFromZero ? 0 : 1);
    SetComboMinVisible(paper.Handle(), 16);
    SetComboMinVisible(margin.Handle(), 16);
    const int first = paperFromZero ? 0 : 1;
    const int paperItem = s.papercolor >= first && s.papercolor <= 256 ? s.papercolor - first : 0;
    ::SendMessageA(paper.Handle(), CB_SETCURSEL, paperItem, 0);
    const bool shown = s.color >= 1;
    ::SendMessageA(margin.Handle(), CB_SETCURSEL, shown && s.color <= 256 ? s.color - 1 : 0, 0);
    ::CheckDlgButton(dialog, kMarginFrameCheck, shown ? BST_CHECKED : BST_UNCHECKED);
    Enable(dialog, shown);
}

void MarginColourCombos::FollowCheckBox(HWND dialog)
{
    Enable(dialog, ::IsDlgButtonChecked(dialog, kMarginFrameCheck) == BST_CHECKED);
}

bool MarginColourCombos::DrawItem(int id, const DRAWITEMSTRUCT* item) const
{
    if (id == kPaperFrameCombo) paper.DrawColorComboItem(item);
    else if (id == kMarginFrameCombo) margin.DrawColorComboItem(item);
    else return false;
    return true;
}

void MarginColourCombos::Enable(HWND dialog, bool enable)
{
    ::EnableWindow(margin.Handle(), enable);
    ::EnableWindow(::GetDlgItem(dialog, m_label), enable);
}

void ShowMarginEdits(HWND dialog, const PaperMarginEx& s)
{
    for (int i = 0; i < kMarginEditCount; ++i) {
        HWND edit = ::GetDlgItem(dialog, kMarginEditFirst + i);
        ::SendMessageA(edit, EM_LIMITTEXT, 5, 0);
        char text[64];
        std::snprintf(text, sizeof text, "%g", MarginOfEdit(s, i));
        ::SetWindowTextA(edit, text);
    }
}

void ReadMarginDialog(HWND dialog, const MarginColourCombos& combos, bool paperFromZero, MarginFrameEntries& entries)
{
    entries.paperItemIsIndex = paperFromZero ? 1 : 0;
    entries.marginFrameShown = ::IsDlgButtonChecked(dialog, kMarginFrameCheck) == BST_CHECKED;
    entries.marginFrameItem = static_cast<int>(::SendMessageA(combos.margin.Handle(), CB_GETCURSEL, 0, 0));
    entries.paperFrameItem = static_cast<int>(::SendMessageA(combos.paper.Handle(), CB_GETCURSEL, 0, 0));
    for (int i = 0; i < kMarginEditCount; ++i) {
        char text[256] = {};
        ::GetDlgItemTextA(dialog, kMarginEditFirst + i, text, sizeof text);
        entries.margins[i] = text;
    }
}

void FocusFirstInvalidMargin(HWND dialog, const MarginFrameEntries& entries)
{
    for (int i = 0; i < kMarginEditCount; ++i) {
        double value = 0;
        if (!ParseMarginText(entries.margins[i].c_str(), &value) || !IsValidMarginValue(value)) {
            HWND edit = ::GetDlgItem(dialog, kMarginEditFirst + i);
            ::SetFocus(edit);
            ::SendMessageA(edit, EM_SETSEL, 0, -1);
            return;
        }
    }
}

void RepaintMarginFrames()
{
    InvalidateAllViews();
    GetFrameFlags().auxViewRefresh = 1;
}

namespace {

class CSetMarginDlg : public CDialogBase<CSetMarginDlg> {
public:
    enum { IDD = 215 };
    using Base = CDialogBase<CSetMarginDlg>;

    WK_BEGIN_MSG_MAP(CSetMarginDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kMarginFrameCheck, OnMarginFrameCheck)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        const PaperMarginEx& s = GetLocalSettingsLive().setup.paper_margin;
        m_combos.Init(m_hWnd, s, true, kMarginColourLabel215);
        ShowMarginEdits(m_hWnd, s);
        handled = FALSE;  // the base's WM_INITDIALOG runs too
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        MarginFrameEntries entries;
        ReadMarginDialog(m_hWnd, m_combos, true, entries);
        if (TakeOverMarginEntries(m_hWnd, entries, GetLocalSettingsLive().setup.paper_margin) == 0) {
            FocusFirstInvalidMargin(m_hWnd, entries);
            return 0;
        }
        RepaintMarginFrames();
        EndDialog(IDOK);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(IDCANCEL);
        return 0;
    }

    LRESULT OnMarginFrameCheck(WORD, WORD, HWND, BOOL&)
    {
        m_combos.FollowCheckBox(m_hWnd);
        return 0;
    }

    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        if (!m_combos.DrawItem(static_cast<int>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
            handled = FALSE;  // the colour buttons are the base's
        return TRUE;
    }

    MarginColourCombos m_combos;
};

}  // namespace

double MarginOfEdit(const PaperMarginEx& settings, int edit)
{
    PaperMarginEx copy = settings;
    return *MarginField(copy, edit);
}

int TakeOverMarginEntries(HWND owner, const MarginFrameEntries& entries, PaperMarginEx& settings)
{
    double values[kMarginEditCount];
    for (int i = 0; i < kMarginEditCount; ++i) {
        if (CheckMarginText(owner, entries.margins[i].c_str(), &values[i]) == 0) return 0;
    }
    // A combo without a selection counts as its first item.
    const int marginItem = entries.marginFrameItem > 0 ? entries.marginFrameItem : 0;
    const int paperItem = entries.paperFrameItem > 0 ? entries.paperFrameItem : 0;
    settings.color = entries.marginFrameShown ? marginItem + 1 : 0;
    settings.papercolor = entries.paperItemIsIndex ? paperItem : paperItem + 1;
    for (int i = 0; i < kMarginEditCount; ++i) *MarginField(settings, i) = values[i];
    return 1;
}

int ShowSetMarginDlg()
{
    CSetMarginDlg dialog;
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}
