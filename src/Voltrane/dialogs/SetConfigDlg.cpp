#include "dialogs/SetConfigDlg.h"

#include "Dravik.h"
#include "WinKit/DialogBase.h"
#include "core/CadSystem.h"

void PlaceSheetOkRightOfCancel(HWND sheet)
{
    HWND ok = ::GetDlgItem(sheet, IDOK), cancel = ::GetDlgItem(sheet, IDCANCEL);
    if (ok == nullptr || cancel == nullptr) return;
    ::SetWindowLongA(ok, GWL_STYLE, (::GetWindowLongA(ok, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
    RECT okRect, cancelRect;
    ::GetWindowRect(ok, &okRect);
    ::GetWindowRect(cancel, &cancelRect);
    if (okRect.left >= cancelRect.left) return;
    for (RECT* rect : {&okRect, &cancelRect}) ::MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(rect), 2);
    ::SetWindowPos(cancel, nullptr, okRect.left, okRect.top, okRect.right - okRect.left, okRect.bottom - okRect.top, SWP_NOZORDER);
    ::SetWindowPos(ok, nullptr, cancelRect.left, cancelRect.top, cancelRect.right - cancelRect.left, cancelRect.bottom - cancelRect.top, SWP_NOZORDER);
}

CSetConfigDlg::CSetConfigDlg(const char* title, UINT startPage, HWND parent) : SheetBase(title, startPage, parent)
{
    m_header.dwFlags |= PSH_NOAPPLYNOW;
    // A page whose handle cannot be made is left out.
    AddPage(m_page01.CreatePage());
    AddPage(m_page02.CreatePage());
    AddPage(m_page03.CreatePage());
    AddPage(m_page04.CreatePage());
    AddPage(m_page05.CreatePage());
    AddPage(m_page06.CreatePage());
    AddPage(m_page07.CreatePage());
    AddPage(m_page08.CreatePage());
    AddPage(m_page09.CreatePage());
    AddPage(m_page10.CreatePage());
    m_brush = ::CreateSolidBrush(GetDialogBackColor());
}

CSetConfigDlg::~CSetConfigDlg()
{
    if (m_brush != nullptr) ::DeleteObject(m_brush);
}

LRESULT CSetConfigDlg::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    WinKit::FillClientArea(m_hWnd, reinterpret_cast<HDC>(wParam), GetDialogBackColor());
    return 1;
}

LRESULT CSetConfigDlg::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (wParam != 0 && !m_centred) {
        WinKit::CentreOverParent(m_hWnd);
        m_centred = true;
    }
    handled = FALSE;
    return 0;
}

LRESULT CSetConfigDlg::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (wParam == IDOK && item != nullptr) DrawColorButton(item);
    return 0;
}

LRESULT CSetConfigDlg::OnButtonColour(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (reinterpret_cast<HWND>(lParam) != ::GetDlgItem(m_hWnd, IDOK)) return 0;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetBkColor(dc, RGB(0, 0, 255));
    ::SetTextColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(m_brush);
}

LRESULT CSetConfigDlg::OnOk(WORD, WORD, HWND, BOOL& handled)
{
    // Every window repaints with the new settings; the sheet then closes as usual.
    ::InvalidateRect(nullptr, nullptr, FALSE);
    handled = FALSE;
    return 0;
}

void RunSettingsSheet()
{
    const int wasEnabled = CwEnableCurModelessWindow(0);
    {
        CSetConfigDlg sheet("環境設定", 0, nullptr);
        sheet.DoModal(::GetActiveWindow());
    }
    if (wasEnabled != 0) CwEnableCurModelessWindow(1);
}
