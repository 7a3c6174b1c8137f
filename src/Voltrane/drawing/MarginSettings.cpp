#include "drawing/MarginSettings.h"

#include <cstdio>

#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "dialogs/ColorIndexCombo.h"
#include "dialogs/DialogBase.h"
#include "drawing/MarginPresets.h"
#include "view/ViewTable.h"

namespace {

double* MarginField(PaperMarginEx& s, int edit)
{
    double* fields[kMarginEditCount] = {&s.top, &s.bottom, &s.left, &s.right, &s.top2, &s.bottom2, &s.left2, &s.right2};
    return fields[edit];
}

enum {
    kMarginFrameCheck = 1104,
    kPaperFrameCombo = 1400,
    kMarginFrameCombo = 1402,
    kMarginFrameLabel = 1700,
};

// Every view shows the frames: all of them repaint from the new settings.
void InvalidateDrawingViews()
{
    HWND view = WalkStart();
    for (int guard = 0; view != nullptr && guard < 1024; ++guard) {
        ::InvalidateRect(view, nullptr, FALSE);
        HWND next = GetNextView(view);
        if (next == view || next == WalkStart()) break;
        view = next;
    }
}

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
        const COLORREF* palette = GetConfigDataRuntime().palette;
        m_paper.Attach(GetDlgItem(kPaperFrameCombo));
        m_margin.Attach(GetDlgItem(kMarginFrameCombo));
        m_margin.FillNumberCombo(1, 256);
        m_margin.AddComboColors(palette, 257, 1);
        m_paper.FillNumberCombo(0, 256);
        m_paper.AddComboColors(palette, 257, 0);
        SetComboMinVisible(m_paper.Handle(), 16);
        SetComboMinVisible(m_margin.Handle(), 16);
        const int paper = s.papercolor >= 0 && s.papercolor <= 256 ? s.papercolor : 0;
        ::SendMessageA(m_paper.Handle(), CB_SETCURSEL, paper, 0);
        const bool shown = s.color >= 1;
        ::SendMessageA(m_margin.Handle(), CB_SETCURSEL, shown && s.color <= 256 ? s.color - 1 : 0, 0);
        ::CheckDlgButton(m_hWnd, kMarginFrameCheck, shown ? BST_CHECKED : BST_UNCHECKED);
        EnableMarginColour(shown);
        for (int i = 0; i < kMarginEditCount; ++i) {
            HWND edit = GetDlgItem(kMarginEditFirst + i);
            ::SendMessageA(edit, EM_LIMITTEXT, 5, 0);
            char text[64];
            std::snprintf(text, sizeof text, "%g", MarginOfEdit(s, i));
            ::SetWindowTextA(edit, text);
        }
        handled = FALSE;  // the base's WM_INITDIALOG runs too
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        MarginFrameEntries entries;
        entries.paperItemIsIndex = 1;
        entries.marginFrameShown = ::IsDlgButtonChecked(m_hWnd, kMarginFrameCheck) == BST_CHECKED;
        entries.marginFrameItem = static_cast<int>(::SendMessageA(m_margin.Handle(), CB_GETCURSEL, 0, 0));
        entries.paperFrameItem = static_cast<int>(::SendMessageA(m_paper.Handle(), CB_GETCURSEL, 0, 0));
        for (int i = 0; i < kMarginEditCount; ++i) {
            char text[256] = {};
            ::GetDlgItemTextA(m_hWnd, kMarginEditFirst + i, text, sizeof text);
            entries.margins[i] = text;
        }
        if (TakeOverMarginEntries(m_hWnd, entries, GetLocalSettingsLive().setup.paper_margin) == 0) {
            // The first invalid margin: the dialog stays open on it and nothing is taken over.
            for (int i = 0; i < kMarginEditCount; ++i) {
                double value = 0;
                if (!ParseMarginText(entries.margins[i].c_str(), &value) || !IsValidMarginValue(value)) {
                    HWND edit = GetDlgItem(kMarginEditFirst + i);
                    ::SetFocus(edit);
                    ::SendMessageA(edit, EM_SETSEL, 0, -1);
                    break;
                }
            }
            return 0;
        }
        InvalidateDrawingViews();
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
        EnableMarginColour(::IsDlgButtonChecked(m_hWnd, kMarginFrameCheck) == BST_CHECKED);
        return 0;
    }

    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == kPaperFrameCombo) m_paper.DrawColorComboItem(item);
        else if (wParam == kMarginFrameCombo) m_margin.DrawColorComboItem(item);
        else handled = FALSE;  // the colour buttons are the base's
        return TRUE;
    }

    void EnableMarginColour(bool enable)
    {
        ::EnableWindow(m_margin.Handle(), enable);
        ::EnableWindow(GetDlgItem(kMarginFrameLabel), enable);
    }

    CColorIndexCombo m_paper;
    CColorIndexCombo m_margin;
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
