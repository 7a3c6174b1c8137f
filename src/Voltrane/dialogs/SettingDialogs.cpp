#include "dialogs/SettingDialogs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "commands/CommandControlMessages.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/ConfigIo.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/NumericInput.h"
#include "core/SettingsMessage.h"
#include "dialogs/Calculator.h"
#include "view/ViewTable.h"

int GridCenterRequest = 0;

namespace {

const char* const kDivisions[] = {"なし", "1/2", "1/3", "1/4", "1/5"};

void SetDoubleText(HWND dialog, int id, double value)
{
    char text[64];
    FormatDouble(text, sizeof text, value, 15, 1);
    ::SetDlgItemTextA(dialog, id, text);
}

// The extent of the active drawing (width, height); false without one.
bool ActiveDrawingExtent(double* width, double* height)
{
    void* db = GetViewDb(GetActiveView());
    if (db == nullptr) return false;
    static DbInfoRecord info;  // large: kept out of the stack
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    *width = info.drawingWidth;
    *height = info.drawingHeight;
    return true;
}

}  // namespace

// ---- grid ----

LRESULT CSetGridDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    m_centre = 0;  // the template places the dialog at the mouse
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    ::SendDlgItemMessageA(m_hWnd, 1300, EM_LIMITTEXT, 20, 0);
    ::SendDlgItemMessageA(m_hWnd, 1301, EM_LIMITTEXT, 20, 0);
    SetDoubleText(m_hWnd, 1300, setup.grid.x);
    SetDoubleText(m_hWnd, 1301, setup.grid.y);
    ::CheckDlgButton(m_hWnd, 1103, BST_UNCHECKED);
    m_divisionShown = setup.iGridCutFg != 0;
    if (m_divisionShown) {
        for (const char* text : kDivisions) ::SendDlgItemMessageA(m_hWnd, 1401, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        ::SendDlgItemMessageA(m_hWnd, 1401, CB_SETCURSEL, setup.iGridCutFg - 1, 0);
        ::CheckRadioButton(m_hWnd, 1207, 1208, setup.iGridNoDetFlg != 0 ? 1208 : 1207);
    } else {
        for (int id : {1401, 1207, 1208, 1601, 1602}) ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
    }
    handled = FALSE;
    return 0;
}

bool IsGridPitchAccepted(double pitch, bool drawingOpen, double extent)
{
    if (!std::isfinite(pitch) || std::fabs(pitch) < 1e-8 || pitch < 0) return false;
    // Without a drawing there is no extent to compare with: a positive pitch is enough.
    return !drawingOpen || pitch <= 0.5 * extent;
}

bool CSetGridDlg::ReadPitch(int editId, bool drawingOpen, double extent, int messageId, double* value)
{
    char text[64] = {};
    ::GetDlgItemTextA(m_hWnd, editId, text, sizeof text);
    const double pitch = std::atof(text);
    if (!IsGridPitchAccepted(pitch, drawingOpen, extent)) {
        ShowSettingsMessage(m_hWnd, GetMessageText(messageId), GetMessageText(7207), MB_OK | MB_ICONINFORMATION);
        ::SetFocus(::GetDlgItem(m_hWnd, editId));
        return false;
    }
    *value = pitch;
    return true;
}

LRESULT CSetGridDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    HWND editX = ::GetDlgItem(m_hWnd, 1300), editY = ::GetDlgItem(m_hWnd, 1301);
    if (::GetFocus() == editX) {  // Enter in the X field goes on to the Y field
        ::SetFocus(editY);
        ::SendMessageA(editY, EM_SETSEL, 0, -1);
        ::SendMessageA(editY, EM_SCROLLCARET, 0, 0);
        return 0;
    }
    double width = 0, height = 0;
    const bool drawingOpen = ActiveDrawingExtent(&width, &height);
    double x = 0, y = 0;
    if (!ReadPitch(1300, drawingOpen, width, 7190, &x)) return 0;
    if (!ReadPitch(1301, drawingOpen, height, 7192, &y)) return 0;
    LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    setup.grid.x = x;
    setup.grid.y = y;
    GridCenterRequest = ::IsDlgButtonChecked(m_hWnd, 1103) == BST_CHECKED ? 1 : 0;
    if (m_divisionShown) {
        const LRESULT selected = ::SendDlgItemMessageA(m_hWnd, 1401, CB_GETCURSEL, 0, 0);
        if (selected >= 0) setup.iGridCutFg = static_cast<int>(selected) + 1;
        setup.iGridNoDetFlg = ::IsDlgButtonChecked(m_hWnd, 1207) == BST_CHECKED ? 0 : 1;
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CSetGridDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    GridCenterRequest = 0;
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CSetGridDlg::OnCalculator(WORD, WORD id, HWND, BOOL&)
{
    char text[257] = {};
    const bool forX = id == 1001;
    if (ShowCalculator(m_hWnd, 4, forX ? "X の入力" : "Y の入力", text) == 1)
        ::SetDlgItemTextA(m_hWnd, forX ? 1300 : 1301, text);
    return 0;
}

int ShowSetGridDlg()
{
    CSetGridDlg dialog;
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}

// ---- cursor ----

LRESULT CSetCursorDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const int mouse = GetLocalSettingsLive().mouseMode;
    for (int i = 0; i < 3; ++i) ::CheckDlgButton(m_hWnd, 1200 + i, mouse == i ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, 1101, GetCadSystem().config.CURSOR02TYPE != 0 ? BST_CHECKED : BST_UNCHECKED);
    handled = FALSE;
    return 0;
}

LRESULT CSetCursorDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    int& mouse = GetLocalSettingsLive().mouseMode;
    mouse = ::IsDlgButtonChecked(m_hWnd, 1200) == BST_CHECKED ? 0 : ::IsDlgButtonChecked(m_hWnd, 1201) == BST_CHECKED ? 1 : 2;
    const int hand = ::IsDlgButtonChecked(m_hWnd, 1101) == BST_CHECKED ? 1 : 0;
    int& current = GetCadSystem().config.CURSOR02TYPE;
    if (hand != current) {
        current = hand;
        WriteConfigString("SYSTEM", "CURSOR02TYPE", hand != 0 ? "1" : "0");
    }
    if (HWND main = GetMainFrameWnd()) ::SendMessageA(main, WM_CAD_BROADCAST, 0, 0);
    RestoreInputFocus();
    EndDialog(IDOK);
    return 0;
}

LRESULT CSetCursorDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

int ShowSetCursorDlg()
{
    CSetCursorDlg dialog;
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}

// ---- coordinate display ----

LRESULT CSetCoordDispDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    ::CheckRadioButton(m_hWnd, 1200, 1201, GetLocalSettingsLive().setup.bDispLastPosFg == 0 ? 1200 : 1201);
    handled = FALSE;
    return 0;
}

LRESULT CSetCoordDispDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    GetLocalSettingsLive().setup.bDispLastPosFg = ::IsDlgButtonChecked(m_hWnd, 1200) == BST_CHECKED ? 0 : 1;
    EndDialog(IDOK);
    return 0;
}

LRESULT CSetCoordDispDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

int ShowSetCoordDispDlg()
{
    CSetCoordDispDlg dialog;
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 0 : -1;
}

// ---- version ----

std::string CVersionInfoDlg::TitleLine(const char* title, const char* version)
{
    std::string text = version != nullptr ? version : "";
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(blanks) - first + 1);
    const size_t blank = text.find_first_of(blanks);
    if (blank != std::string::npos) text.resize(blank);
    return std::string(title != nullptr ? title : "") + " " + text;
}

LRESULT CVersionInfoDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    const ConfigDataRuntime& runtime = GetConfigDataRuntime();
    ::SetDlgItemTextA(m_hWnd, 1600, TitleLine(runtime.title, runtime.fullVersion).c_str());
    ::SetDlgItemTextA(m_hWnd, 1602, runtime.userName);
    ::SetDlgItemTextA(m_hWnd, 1800, runtime.company);
    handled = FALSE;
    return 0;
}

LRESULT CVersionInfoDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDOK);
    return 0;
}

LRESULT CVersionInfoDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

int ShowVersionInfoDlg()
{
    CVersionInfoDlg dialog;
    return dialog.DoModal(::GetActiveWindow()) == IDOK ? 1 : 0;
}
