#include "drawing/MarginSettingsPage.h"

#include <cstdio>

#include "core/LocalSettings.h"
#include "drawing/ActiveDrawingOrigin.h"
#include "drawing/MarginListDialogs.h"

namespace {

enum {
    kOriginLowerLeft = 1204,
    kOriginCentre = 1205,
    kMarginColourLabel = 1601,
};

}  // namespace

LRESULT CSetConfig06Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    // The active drawing's origin is shown; the setting follows it only at OK.
    int origin = setup.bPaperOrg;
    int mode = 0;
    if (GetActiveDrawingOriginMode(&mode) == 0) origin = mode;
    ::CheckRadioButton(m_hWnd, kOriginLowerLeft, kOriginCentre, origin == 1 ? kOriginLowerLeft : kOriginCentre);
    m_combos.Init(m_hWnd, setup.paper_margin, false, kMarginColourLabel);
    ShowMarginEdits(m_hWnd, setup.paper_margin);
    handled = FALSE;  // the base's WM_INITDIALOG runs too
    return 0;
}

bool CSetConfig06Dlg::OnKillActive()
{
    MarginFrameEntries entries;
    ReadMarginDialog(m_hWnd, m_combos, false, entries);
    PaperMarginEx checked = GetLocalSettingsLive().setup.paper_margin;
    if (TakeOverMarginEntries(m_hWnd, entries, checked) != 0) return true;
    FocusFirstInvalidMargin(m_hWnd, entries);
    return false;
}

void CSetConfig06Dlg::OnApply()
{
    MarginFrameEntries entries;
    ReadMarginDialog(m_hWnd, m_combos, false, entries);
    LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    // The entries passed the check when the page was left; should they not pass now, the old
    // settings stay.
    if (TakeOverMarginEntries(m_hWnd, entries, setup.paper_margin) == 0) return;
    setup.bPaperOrg = ::IsDlgButtonChecked(m_hWnd, kOriginCentre) == BST_CHECKED ? 0 : 1;
    SetActiveDrawingOriginMode(setup.bPaperOrg);  // only the setting without a drawing
    RepaintMarginFrames();
}

LRESULT CSetConfig06Dlg::OnSelectFromList(WORD, WORD, HWND, BOOL&)
{
    CMarginData chosen;
    if (RunMarginListDlg(::GetActiveWindow(), chosen) != IDOK) return 0;
    // The preset's order is the order of the edits; nothing is taken over before the page is left.
    for (int i = 0; i < kMarginEditCount; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", chosen.margins[i]);
        ::SetDlgItemTextA(m_hWnd, kMarginEditFirst + i, text);
    }
    return 0;
}

LRESULT CSetConfig06Dlg::OnMarginFrameCheck(WORD, WORD, HWND, BOOL&)
{
    m_combos.FollowCheckBox(m_hWnd);
    return 0;
}

LRESULT CSetConfig06Dlg::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (!m_combos.DrawItem(static_cast<int>(wParam), reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) handled = FALSE;
    return TRUE;
}
