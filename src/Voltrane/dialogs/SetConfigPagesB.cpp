#include "dialogs/SetConfigPagesB.h"

#include <cmath>
#include <cstdio>

#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/LocalSettings.h"
#include "core/NumericInput.h"
#include "core/SettingsMessage.h"
#include "dialogs/ButtonStates.h"

namespace {

LocalSettingsSetup& Live() { return GetLocalSettingsLive().setup; }

const char kLengthMessage[] = "数値誤差の値が異常です。無視します。";
const char kAngleMessage[] = "角度誤差の値が異常です。無視します。";

bool ToleranceUsable(double t) { return t > 0 && t < 1; }

}  // namespace

// ---- page 7 ----

double CSetConfig07Dlg::ToleranceOf(int digits)
{
    return digits >= 0 ? std::pow(10.0, -(digits + 1)) : std::pow(10.0, -digits - 1);
}

std::string CSetConfig07Dlg::ToleranceText(int digits)
{
    char text[64];
    FormatDouble(text, sizeof text, ToleranceOf(digits), 15, 1);
    return text;
}

void CSetConfig07Dlg::FillTolerances(int comboId, int minimum, int maximum, int current)
{
    HWND combo = ::GetDlgItem(m_hWnd, comboId);
    int selected = 0;
    for (int n = minimum; n <= maximum; ++n) {
        const LRESULT item = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToleranceText(n).c_str()));
        ::SendMessageA(combo, CB_SETITEMDATA, item, n);
        if (n == current) selected = static_cast<int>(item);
    }
    ::SendMessageA(combo, CB_SETCURSEL, selected, 0);
}

int CSetConfig07Dlg::SelectedDigits(int comboId) const
{
    const LRESULT item = ::SendDlgItemMessageA(m_hWnd, comboId, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR) return -1;
    return static_cast<int>(::SendDlgItemMessageA(m_hWnd, comboId, CB_GETITEMDATA, item, 0));
}

LRESULT CSetConfig07Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& live = Live();
    for (int n = 0; n <= 9; ++n) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", n);
        ::SendDlgItemMessageA(m_hWnd, 1400, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    ::SendDlgItemMessageA(m_hWnd, 1400, CB_SETCURSEL, live.iDigit, 0);
    SetButtonCheck(m_hWnd, 1100, live.bZero != 0);
    int length[3], angle[3];
    LocalSettingsSetup::GetDefaultEpsDigits(length, angle);
    const LocalSettingsSetup& record = GetCadSystem().setup;
    FillTolerances(1401, length[1], length[2], record.iDigit_dEps);
    FillTolerances(1403, angle[1], angle[2], record.iDigit_dEpsAngle);
    handled = FALSE;
    return 0;
}

LRESULT CSetConfig07Dlg::OnReset(WORD, WORD, HWND, BOOL&)
{
    if (ShowSettingsMessage(m_hWnd, "数値誤差を初期化します。", "確認", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return 0;
    int length[3], angle[3];
    LocalSettingsSetup::GetDefaultEpsDigits(length, angle);
    const int combos[2] = {1401, 1403};
    const int digits[2] = {length[0], angle[0]};
    for (int i = 0; i < 2; ++i) {
        const std::string text = ToleranceText(digits[i]);
        const LRESULT item = ::SendDlgItemMessageA(m_hWnd, combos[i], CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        if (item != CB_ERR) ::SendDlgItemMessageA(m_hWnd, combos[i], CB_SETCURSEL, item, 0);
    }
    return 0;
}

bool CSetConfig07Dlg::OnKillActive()
{
    if (!ToleranceUsable(ToleranceOf(SelectedDigits(1401)))) ShowSettingsMessage(m_hWnd, kLengthMessage, "確認", MB_OK);
    if (!ToleranceUsable(ToleranceOf(SelectedDigits(1403)))) ShowSettingsMessage(m_hWnd, kAngleMessage, "確認", MB_OK);
    return true;  // a bad tolerance is ignored, the page is left all the same
}

void CSetConfig07Dlg::OnApply()
{
    LocalSettingsSetup& live = Live();
    LocalSettingsSetup& record = GetCadSystem().setup;
    live.bZero = IsButtonChecked(m_hWnd, 1100) ? 1 : 0;
    // No selection keeps the number of decimals as it was.
    const LRESULT digits = ::SendDlgItemMessageA(m_hWnd, 1400, CB_GETCURSEL, 0, 0);
    if (digits != CB_ERR) live.iDigit = static_cast<int>(digits);
    const int length = SelectedDigits(1401);
    if (ToleranceUsable(ToleranceOf(length))) {
        live.lengthTolerance = ToleranceOf(length);
        live.iDigit_dEps = record.iDigit_dEps = length;
    }
    const int angle = SelectedDigits(1403);
    if (ToleranceUsable(ToleranceOf(angle))) {
        live.angleTolerance = ToleranceOf(angle);
        live.iDigit_dEpsAngle = record.iDigit_dEpsAngle = angle;
    }
    record.UpdateEpsValues(false);
    live.UpdateEpsValues(false);
}

// ---- page 8 ----

LRESULT CSetConfig08Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const int mouse = GetLocalSettingsLive().mouseMode;
    for (int i = 0; i < 3; ++i) SetButtonCheck(m_hWnd, 1200 + i, mouse == i);
    SetButtonCheck(m_hWnd, 1100, Live().bCurSorAreaDsp != 0);
    SetButtonCheck(m_hWnd, 1101, GetCadSystem().config.CURSOR02TYPE != 0);
    handled = FALSE;
    return 0;
}

void CSetConfig08Dlg::OnApply()
{
    int& mouse = GetLocalSettingsLive().mouseMode;
    int& frame = Live().bCurSorAreaDsp;
    const int oldMouse = mouse, oldFrame = frame;
    mouse = IsButtonChecked(m_hWnd, 1200) ? 0 : IsButtonChecked(m_hWnd, 1201) ? 1 : 2;
    frame = IsButtonChecked(m_hWnd, 1100) ? 1 : 0;
    const int hand = IsButtonChecked(m_hWnd, 1101) ? 1 : 0;
    int& current = GetCadSystem().config.CURSOR02TYPE;
    if (hand != current) {
        current = hand;
        WriteConfigString("SYSTEM", "CURSOR02TYPE", hand != 0 ? "1" : "0");
    }
    if (mouse != oldMouse || frame != oldFrame) {
        if (HWND main = GetMainFrameWnd()) ::SendMessageA(main, WM_CAD_BROADCAST, 0, 0);
    }
}

// ---- page 9 ----

LRESULT CSetConfig09Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    SetButtonCheck(m_hWnd, 1100, Live().bCurModeChk != 0);
    SetButtonCheck(m_hWnd, 1103, Live().bLastPosViewFg != 0);
    handled = FALSE;
    return 0;
}

void CSetConfig09Dlg::OnApply()
{
    Live().bCurModeChk = IsButtonChecked(m_hWnd, 1100) ? 1 : 0;
    Live().bLastPosViewFg = IsButtonChecked(m_hWnd, 1103) ? 1 : 0;
}

// ---- page 10 ----

LRESULT CSetConfig10Dlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const LocalSettingsSetup& live = Live();
    ::CheckRadioButton(m_hWnd, 1200, 1201, live.bTermDrawFg != 0 ? 1200 : 1201);
    ::CheckRadioButton(m_hWnd, 1204, 1205, live.bPointSize != 0 ? 1204 : 1205);
    SetButtonCheck(m_hWnd, 1207, live.bLineWidthSize == 1);
    SetButtonCheck(m_hWnd, 1208, live.bLineWidthSize == 2);
    SetButtonCheck(m_hWnd, 1203, live.bLineWidthSize != 1 && live.bLineWidthSize != 2);
    handled = FALSE;
    return 0;
}

void CSetConfig10Dlg::OnApply()
{
    LocalSettingsSetup& live = Live();
    live.bTermDrawFg = IsButtonChecked(m_hWnd, 1200) ? 1 : 0;
    live.bPointSize = IsButtonChecked(m_hWnd, 1204) ? 1 : 0;
    live.bLineWidthSize = IsButtonChecked(m_hWnd, 1207) ? 1 : IsButtonChecked(m_hWnd, 1208) ? 2 : 0;
}
