#include "dialogs/PointInput.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "core/NumericInput.h"
#include "dialogs/Calculator.h"
#include "view/InputScale.h"
#include "view/ViewPaperSize.h"
#include "view/ViewTable.h"

namespace {

TemporaryPointInput g_point;

double FieldValue(HWND edit)
{
    char text[64] = "";
    ::GetWindowTextA(edit, text, sizeof text);
    return std::atof(text);
}

}  // namespace

TemporaryPointInput& GetTemporaryPointInput() { return g_point; }

int PointScrollPosition(double value, double scale, int range)
{
    if (scale == 0) return 0;
    double offset = value / scale * range;
    // A huge or unreadable value stops at an end of the bar instead of overflowing the int.
    if (!(offset == offset)) offset = 0;
    if (offset > range) offset = range;
    if (offset < -range) offset = -range;
    int position = range / 2 + static_cast<int>(offset);
    if (position < 0) position = 0;
    if (position > range) position = range;
    return position;
}

int PointScrollRequest(int code, int position, int thumb, int range)
{
    int p;
    switch (code) {
    case SB_LINELEFT: p = position - 1; break;
    case SB_LINERIGHT: p = position + 1; break;
    case SB_PAGELEFT: p = position - 10; break;
    case SB_PAGERIGHT: p = position + 10; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = thumb; break;
    default: return -1;
    }
    if (p < 0) p = 0;
    if (p > range) p = range;
    return p;
}

double PointScrollValue(int position, double scale, int range)
{
    return static_cast<double>(position - range / 2) / range * scale;
}

void OffsetPointByInput(double point[2], double x, double y, double factor)
{
    if (!(factor > 0) || !std::isfinite(factor)) factor = 1.0;
    point[0] += x / factor;
    point[1] += y / factor;
}

void CInputPointDlg::SetField(int id, double value)
{
    char text[64];
    FormatDouble(text, sizeof text, value, 3, 1);
    ::SetDlgItemTextA(m_hWnd, id, text);
}

void CInputPointDlg::ScrollBarsFollowFields()
{
    ::SetScrollPos(m_scrollX, SB_CTL, PointScrollPosition(FieldValue(m_editX), scaleX, scrollRange), TRUE);
    ::SetScrollPos(m_scrollY, SB_CTL, PointScrollPosition(FieldValue(m_editY), scaleY, scrollRange), TRUE);
}

LRESULT CInputPointDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    m_editX = ::GetDlgItem(m_hWnd, kPointEditX);
    m_editY = ::GetDlgItem(m_hWnd, kPointEditY);
    m_once = ::GetDlgItem(m_hWnd, kPointOnceCheck);
    m_scrollX = ::GetDlgItem(m_hWnd, kPointScrollX);
    m_scrollY = ::GetDlgItem(m_hWnd, kPointScrollY);
    // Writing the fields raises their change notes: the bars follow once, below.
    syncFromEdits = 0;
    SetField(kPointEditX, x);
    SetField(kPointEditY, y);
    syncFromEdits = 1;
    for (HWND bar : {m_scrollX, m_scrollY}) {
        ::SetScrollRange(bar, SB_CTL, 0, scrollRange, FALSE);
        ::EnableWindow(bar, FALSE);
    }
    double width = 0, height = 0;
    if (GetViewPaperSize(GetActiveView(), &width, &height)) {
        // One scroll step is one unit of the typed value, whatever the paper.
        scaleX = scrollRange;
        scaleY = scrollRange;
        ::EnableWindow(m_scrollX, TRUE);
        ::EnableWindow(m_scrollY, TRUE);
    }
    ScrollBarsFollowFields();
    ::CheckDlgButton(m_hWnd, kPointOnceCheck, GetLocalSettingsLive().setup.bTmpOnece ? BST_CHECKED : BST_UNCHECKED);
    if (coordinateMode) {
        ::ShowWindow(m_once, SW_HIDE);
        ::SetWindowTextA(m_hWnd, "座標入力");
        ::SetDlgItemTextA(m_hWnd, kPointLabelX, "X 座標");
        ::SetDlgItemTextA(m_hWnd, kPointLabelY, "Y 座標");
    } else {
        ::ShowWindow(m_once, SW_SHOW);
    }
    // The base answers WM_INITDIALOG with 0, so no default focus is set: the X field takes it.
    ::SetFocus(m_editX);
    ::SendMessageA(m_editX, EM_SETSEL, 0, -1);
    handled = FALSE;
    return 0;
}

LRESULT CInputPointDlg::OnHScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    HWND bar = reinterpret_cast<HWND>(lParam);
    if (bar != m_scrollX && bar != m_scrollY) {
        handled = FALSE;
        return 0;
    }
    const int p = PointScrollRequest(LOWORD(wParam), ::GetScrollPos(bar, SB_CTL), static_cast<short>(HIWORD(wParam)),
                                     scrollRange);
    if (p < 0) return 0;
    syncFromEdits = 0;
    ::SetScrollPos(bar, SB_CTL, p, TRUE);
    const bool isX = bar == m_scrollX;
    SetField(isX ? kPointEditX : kPointEditY, PointScrollValue(p, isX ? scaleX : scaleY, scrollRange));
    syncFromEdits = 1;
    return 0;
}

LRESULT CInputPointDlg::OnCalculator(WORD, WORD id, HWND, BOOL&)
{
    char buffer[260] = "";
    const bool isX = id == kPointCalcX;
    if (ShowCalculator(m_hWnd, 4, isX ? "X の入力" : "Y の入力", buffer) == 1) {
        ::SetDlgItemTextA(m_hWnd, isX ? kPointEditX : kPointEditY, buffer);
        ScrollBarsFollowFields();
    }
    return 0;
}

LRESULT CInputPointDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    // Enter in the X field goes on to the Y field.
    if (::GetFocus() == m_editX) {
        ::SetFocus(m_editY);
        ::SendMessageA(m_editY, EM_SETSEL, 0, -1);
        ::SendMessageA(m_editY, EM_SCROLLCARET, 0, 0);
        return 0;
    }
    x = FieldValue(m_editX);
    y = FieldValue(m_editY);
    if (!coordinateMode) {
        LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
        if (::IsDlgButtonChecked(m_hWnd, kPointOnceCheck) == BST_CHECKED) {
            setup.bTmpOnece = 1;
            HWND frame = GetMainFrameWnd();
            HWND panel = frame != nullptr
                             ? reinterpret_cast<HWND>(::SendMessageA(frame, WM_CAD_GET_PANEL_WINDOW, 1, 0))
                             : nullptr;
            if (panel != nullptr) ::PostMessageA(panel, WM_COMMAND, kToolTemporaryPointOff, 0);
        } else {
            setup.bTmpOnece = 0;
        }
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CInputPointDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CInputPointDlg::OnEditChange(WORD code, WORD, HWND, BOOL& handled)
{
    if (code != EN_CHANGE) {
        handled = FALSE;
        return 0;
    }
    if (syncFromEdits == 1) ScrollBarsFollowFields();
    syncFromEdits = 1;
    return 0;
}

int InputPointOffset(double point[2])
{
    if (point == nullptr || GetActiveView() == nullptr) return 0;
    CInputPointDlg dialog(g_point.lastX, g_point.lastY, 0);
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return 0;
    OffsetPointByInput(point, dialog.x, dialog.y, GetInputToDrawingFactor());
    g_point.lastX = dialog.x;
    g_point.lastY = dialog.y;
    return 1;
}

int InputTemporaryPoint()
{
    if (GetActiveView() == nullptr) return 0;
    CInputPointDlg dialog(g_point.lastX, g_point.lastY, 1);
    const INT_PTR code = dialog.DoModal(GetActiveWindow());
    if (code == IDOK) {
        g_point.pointX = dialog.x;
        g_point.pointY = dialog.y;
        g_point.pointZ = 0.0;
        g_point.pending = 1;
        g_point.lastX = dialog.x;
        g_point.lastY = dialog.y;
    } else {
        g_point.pending = 0;
    }
    if (HWND frame = GetMainFrameWnd()) ::UpdateWindow(frame);
    // The dialog ran: whether a point waits is the pending flag's to say.
    return 1;
}
