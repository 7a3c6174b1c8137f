#include "dialogs/SetConfigPagesA.h"

#include <shlobj.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "core/SystemLog.h"
#include "dialogs/ButtonStates.h"
#include "panels/CustCmdKeyDlg.h"
#include "panels/CustCmdPanelDlg.h"
#include "dialogs/SetToolBarDlg.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

LocalSettingsSetup& Live() { return GetLocalSettingsLive().setup; }

void SetNumberText(HWND page, int id, long long value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld", value);
    ::SetDlgItemTextA(page, id, text);
}

int Selection(HWND page, int id)
{
    return static_cast<int>(::SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0));
}

}  // namespace

// ---- page 1 ----

void CSetConfig01Dlg::RubberBandColours(COLORREF background, COLORREF out[16])
{
    const BYTE red = GetRValue(background);
    const COLORREF* palette = GetConfigDataRuntime().palette;
    out[0] = 0;
    for (int n = 1; n <= 15; ++n)
        out[n] = RGB(GetRValue(palette[n]) ^ red, GetGValue(palette[n]) ^ red, GetBValue(palette[n]) ^ red);
}

void CSetConfig01Dlg::DisplayColourTable(int backgroundMode, COLORREF table[257])
{
    // Without a drawing the main window answers only entry 0: the rest comes from the
    // program's own colour table instead of whatever the buffer held.
    const COLORREF* palette = GetConfigDataRuntime().palette;
    for (int i = 0; i < 257; ++i) table[i] = palette[i];
    HWND main = GetMainFrameWnd();
    if (main == nullptr) return;
    const int saved = GetDrawingBackgroundMode();
    SetDrawingBackgroundMode(backgroundMode);
    ::SendMessageA(main, WM_CAD_GET_COLOR_TABLE, 101, reinterpret_cast<LPARAM>(table));
    SetDrawingBackgroundMode(saved);
}

LRESULT CSetConfig01Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& live = Live();
    SetButtonCheck(m_hWnd, 1100, live.bToolHlp != 0);
    SetButtonCheck(m_hWnd, 1101, live.bWindowSz == 0);
    SetButtonCheck(m_hWnd, 1102, live.bDspNumDlgFg != 0);
    ::CheckRadioButton(m_hWnd, 1204, 1206, live.bColorMode == 1 ? 1205 : live.bColorMode == 2 ? 1206 : 1204);

    const int backgroundMode = GetDrawingBackgroundMode();
    m_background.Attach(::GetDlgItem(m_hWnd, 1401));
    m_background.FillNumberCombo(0, 2);
    const COLORREF backgrounds[3] = {RGB(0, 0, 0), RGB(255, 255, 255), GetConfigDataRuntime().customBackColor};
    m_background.AddComboColors(backgrounds, 3, 0);
    ::SendMessageA(m_background.Handle(), CB_SETCURSEL, backgroundMode, 0);

    m_rubberBand.Attach(::GetDlgItem(m_hWnd, 1402));
    m_rubberBand.FillNumberCombo(1, 15);
    COLORREF rubber[16];
    const int shownBackground = Selection(m_hWnd, 1401);
    RubberBandColours(m_background.GetColorAt(shownBackground < 0 ? 0 : shownBackground), rubber);
    m_rubberBand.AddComboColors(rubber, 16, 1);
    ::SendMessageA(m_rubberBand.Handle(), CB_SETCURSEL, GetConfigDataRuntime().rubberBandColor - 1, 0);

    m_highlight.Attach(::GetDlgItem(m_hWnd, 1403));
    m_highlight.FillNumberCombo(1, 256);
    static COLORREF table[257];
    DisplayColourTable(backgroundMode, table);
    m_highlight.AddComboColors(table, 257, 1);
    ::SendMessageA(m_highlight.Handle(), CB_SETCURSEL, GetLocalSettingsLive().iHighlightColor - 1, 0);
    handled = FALSE;
    return 0;
}

LRESULT CSetConfig01Dlg::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    CColorIndexCombo* combo = wParam == 1401 ? &m_background : wParam == 1402 ? &m_rubberBand : wParam == 1403 ? &m_highlight : nullptr;
    if (combo == nullptr || item == nullptr) {
        handled = FALSE;
        return 0;
    }
    combo->DrawColorComboItem(item);
    return 1;
}

LRESULT CSetConfig01Dlg::OnBackgroundChange(WORD code, WORD, HWND, BOOL& handled)
{
    if (code != CBN_SELCHANGE) {
        handled = FALSE;
        return 0;
    }
    const int selected = Selection(m_hWnd, 1401);
    if (selected < 0) return 0;
    COLORREF rubber[16];
    RubberBandColours(m_background.GetColorAt(selected), rubber);
    m_rubberBand.SetColors(rubber, 15, 1);
    ::InvalidateRect(m_rubberBand.Handle(), nullptr, TRUE);
    static COLORREF table[257];
    DisplayColourTable(selected, table);
    m_highlight.SetColors(table, 257, 1);
    ::InvalidateRect(m_highlight.Handle(), nullptr, TRUE);
    return 0;
}

void CSetConfig01Dlg::OnApply()
{
    LocalSettingsSetup& live = Live();
    live.bToolHlp = IsButtonChecked(m_hWnd, 1100) ? 1 : 0;
    // The command panel's tips follow at once, not only from the next start.
    GetCadSystem().SetCommandPanelButtonMode(static_cast<WORD>(live.bToolHlp));
    live.bWindowSz = IsButtonChecked(m_hWnd, 1101) ? 0 : 1;
    live.bDspNumDlgFg = IsButtonChecked(m_hWnd, 1102) ? 1 : 0;
    live.bColorMode = IsButtonChecked(m_hWnd, 1206) ? 2 : IsButtonChecked(m_hWnd, 1205) ? 1 : 0;
    const int background = Selection(m_hWnd, 1401);
    if (background >= 0) {
        live.bBkColor = background;
        SetDrawingBackgroundMode(background);
    }
    const int rubber = Selection(m_hWnd, 1402);
    if (rubber >= 0) live.iRubberCol = GetConfigDataRuntime().rubberBandColor = rubber + 1;
    const int highlight = Selection(m_hWnd, 1403);
    if (highlight >= 0) GetLocalSettingsLive().iHighlightColor = highlight + 1;
    GetCadSystem().WriteLocalSettingsIni(nullptr);
}

// ---- page 2 ----

LRESULT CSetConfig02Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& live = Live();
    ::SendDlgItemMessageA(m_hWnd, 1300, EM_LIMITTEXT, 256, 0);
    ::SetDlgItemTextA(m_hWnd, 1300, live.SysZumenDir.c_str());
    SetButtonCheck(m_hWnd, 1103, live.iStartOpenDlgFg == 0);
    m_openedMask = GetCadSystem().localWindow.ToolPanelDispMode;
    for (int bit = 0; bit < 4; ++bit) SetButtonCheck(m_hWnd, 1104 + bit, (m_openedMask & (1 << bit)) != 0);
    handled = FALSE;
    return 0;
}

LRESULT CSetConfig02Dlg::OnBrowse(WORD, WORD, HWND, BOOL&)
{
    BROWSEINFOA info = {};
    info.hwndOwner = ::GetActiveWindow();
    info.lpszTitle = "フォルダを選択してください。";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST chosen = ::SHBrowseForFolderA(&info);
    if (chosen == nullptr) return 0;
    char path[MAX_PATH] = {};
    if (::SHGetPathFromIDListA(chosen, path)) ::SetDlgItemTextA(m_hWnd, 1300, path);
    ::CoTaskMemFree(chosen);
    return 0;
}

LRESULT CSetConfig02Dlg::OnCommandPanelEditor(WORD, WORD, HWND, BOOL&)
{
    ShowCustCmdPanelDlg(::GetActiveWindow());
    return 0;
}

LRESULT CSetConfig02Dlg::OnShortcutEditor(WORD, WORD, HWND, BOOL&)
{
    ShowCustCmdKeyDlg(::GetActiveWindow());
    return 0;
}

LRESULT CSetConfig02Dlg::OnToolbarEditor(WORD, WORD, HWND, BOOL&)
{
    RunToolbarDialog();
    return 0;
}

void CSetConfig02Dlg::OnApply()
{
    LocalSettingsSetup& live = Live();
    char folder[257] = {};
    ::GetDlgItemTextA(m_hWnd, 1300, folder, sizeof folder);
    live.SysZumenDir = folder;
    live.iStartOpenDlgFg = IsButtonChecked(m_hWnd, 1103) ? 0 : 1;
    int mask = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (IsButtonChecked(m_hWnd, 1104 + bit)) mask |= 1 << bit;
    if (mask != m_openedMask) {
        GetCadSystem().localWindow.ToolPanelDispMode = mask;
        if (HWND panel = GetToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, 10, 0);
    }
}

// ---- page 3 ----

long long CSetConfig03Dlg::ReadCount(const char* text)
{
    char limited[15] = {};
    std::strncpy(limited, text != nullptr ? text : "", 14);
    const long long value = std::strtoll(limited, nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return value;
}

int CSetConfig03Dlg::MinutesToSeconds(long long minutes)
{
    if (minutes <= 0) return 0;
    if (minutes > INT_MAX / 60) return (INT_MAX / 60) * 60;
    return static_cast<int>(minutes * 60);
}

long long CSetConfig03Dlg::EditNumber(int id) const
{
    char text[64] = {};
    ::GetDlgItemTextA(m_hWnd, id, text, sizeof text);
    return ReadCount(text);
}

LRESULT CSetConfig03Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& live = Live();
    const CadFileBackupSettings& backup = GetCadFileBackupSettings();
    SetNumberText(m_hWnd, 1300, live.iUndoCount);
    SetButtonCheck(m_hWnd, 1100, live.iUndoCount != 0);
    SetNumberText(m_hWnd, 1301, backup.nBackupCountSpan);
    SetButtonCheck(m_hWnd, 1101, backup.bCountBakup != 0);
    SetNumberText(m_hWnd, 1302, backup.nBackupTimeSpanSec / 60);
    SetButtonCheck(m_hWnd, 1102, backup.bTimeBackup != 0);
    handled = FALSE;
    return 0;
}

void CSetConfig03Dlg::OnApply()
{
    LocalSettingsSetup& live = Live();
    CadFileBackupSettings& backup = GetCadFileBackupSettings();
    long long undo = IsButtonChecked(m_hWnd, 1100) ? EditNumber(1300) : 0;
    live.iUndoCount = undo < 0 ? 0 : static_cast<int>(undo);  // a negative depth is no undo
    for (HWND view = GetActiveView(); view != nullptr; view = GetNextView(view)) {
        if (void* db = GetViewDb(view)) ZUriUndoFgSet(db, live.iUndoCount);
    }
    const long long count = EditNumber(1301);
    backup.nBackupCountSpan = count < 0 ? 0 : static_cast<int>(count);
    backup.bCountBakup = IsButtonChecked(m_hWnd, 1101) ? 1 : 0;
    backup.nBackupTimeSpanSec = MinutesToSeconds(EditNumber(1302));
    backup.bTimeBackup = IsButtonChecked(m_hWnd, 1102) ? 1 : 0;
}

// ---- page 4 ----

LRESULT CSetConfig04Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", Live().grid.x);
    ::SetDlgItemTextA(m_hWnd, 1300, text);
    std::snprintf(text, sizeof text, "%g", Live().grid.y);
    ::SetDlgItemTextA(m_hWnd, 1301, text);
    handled = FALSE;
    return 0;
}

void CSetConfig04Dlg::OnApply()
{
    char text[250] = {};
    ::GetDlgItemTextA(m_hWnd, 1300, text, sizeof text);
    const double x = std::atof(text);
    if (x > 0 && x < HUGE_VAL) Live().grid.x = x;
    ::GetDlgItemTextA(m_hWnd, 1301, text, sizeof text);
    const double y = std::atof(text);
    if (y > 0 && y < HUGE_VAL) Live().grid.y = y;
}

// ---- page 5 ----

LRESULT CSetConfig05Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& live = Live();
    ::CheckRadioButton(m_hWnd, 1200, 1201, live.bElmHit != 0 ? 1200 : 1201);
    SetButtonCheck(m_hWnd, 1100, live.bBeepFind != 0);
    for (int mode = 0; mode < 3; ++mode) SetButtonCheck(m_hWnd, 1204 + mode, live.iSnapShowMode == mode);
    handled = FALSE;
    return 0;
}

void CSetConfig05Dlg::OnApply()
{
    LocalSettingsSetup& live = Live();
    live.bElmHit = IsButtonChecked(m_hWnd, 1200) ? 1 : 0;
    live.bBeepFind = IsButtonChecked(m_hWnd, 1100) ? 1 : 0;
    for (int mode = 0; mode < 3; ++mode)
        if (IsButtonChecked(m_hWnd, 1204 + mode)) live.iSnapShowMode = mode;
}
