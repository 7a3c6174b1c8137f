#include "controls/AttrCombos.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "controls/KitFaces.h"
#include "controls/LineAttrPainters.h"
#include "controls/PickerField.h"
#include "controls/PickerHost.h"

namespace {

// The class data of every picker and list class: 12 extra bytes, window background, arrow.
WinKit::CWndClassInfo MakeClassInfo(const char* name)
{
    WinKit::CWndClassInfo info = {};
    info.wc.cbSize = sizeof(WNDCLASSEXA);
    info.wc.style = CS_HREDRAW | CS_VREDRAW;
    info.wc.lpfnWndProc = WinKit::CWindowImplRoot::WindowProc;
    info.wc.cbWndExtra = 12;
    info.wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    info.wc.lpszClassName = name;
    return info;
}

void TextAt(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, static_cast<int>(strlen(text))); }

}  // namespace

// ---- the drop-down list ----

LRESULT CAttrComboListBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    Bind();
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int w = std::max<int>(rc.right - rc.left, 180);
    m_combo = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | CBS_OWNERDRAWFIXED | CBS_DROPDOWNLIST, rc.left,
                              rc.top, w, 460, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAttrComboBoxId)),
                              PickerModuleInstance(), nullptr);
    if (m_combo == nullptr) return 0;
    RECT r;
    ::GetWindowRect(m_combo, &r);
    ::SendMessageA(m_combo, CB_SETMINVISIBLE, 16, 0);
    RECT self;
    ::GetWindowRect(m_hWnd, &self);
    POINT middle = {(self.left + self.right) / 2, (self.top + self.bottom) / 2};
    MONITORINFO mi = {sizeof mi};
    GetMonitorInfoA(MonitorFromPoint(middle, MONITOR_DEFAULTTONEAREST), &mi);
    const int dx = r.right > mi.rcWork.right ? r.right - mi.rcWork.right + 5 : 0;
    const int dy = r.bottom > mi.rcWork.bottom ? r.bottom - mi.rcWork.bottom + 5 : 0;
    ::SetWindowPos(m_combo, nullptr, -dx, -(r.bottom - r.top) - dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    AddItems();
    const int row = m_owner->CurrentRow();
    const int count = static_cast<int>(::SendMessageA(m_combo, CB_GETCOUNT, 0, 0));
    // A row outside the list selects nothing.
    ::SendMessageA(m_combo, CB_SETCURSEL, row >= 0 && row < count ? row : -1, 0);
    const LPARAM at = MAKELPARAM((r.right - r.left) / 2, (r.bottom - r.top) / 2);
    ::PostMessageA(m_combo, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageA(m_combo, WM_LBUTTONUP, 0, at);
    return 0;
}

LRESULT CAttrComboListBase::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 26;
    return 1;
}

LRESULT CAttrComboListBase::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    if (wParam != static_cast<WPARAM>(kAttrComboBoxId)) {
        handled = FALSE;
        return 0;
    }
    const DRAWITEMSTRUCT& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const bool selected = BeginPickerRow(item);
    if (static_cast<int>(item.itemID) >= 0) PaintRow(item, selected);
    return 1;
}

LRESULT CAttrComboListBase::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (HIWORD(wParam) != CBN_CLOSEUP) {
        handled = FALSE;
        return 0;
    }
    if (::GetWindowLongA(m_hWnd, 0) == kAttrListReady && m_combo != nullptr) {
        m_owner->CurrentRow() = static_cast<int>(::SendMessageA(m_combo, CB_GETCURSEL, 0, 0));
        ::PostMessageA(m_owner->m_hWnd, WM_USER, 0, 0);
    }
    ::SetWindowLongA(m_hWnd, 0, 0);
    // Destroyed once the combo box has finished its notification.
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    PickerRestoreInputFocus();
    return 0;
}

LRESULT CAttrComboListBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (m_combo != nullptr) ::DestroyWindow(m_combo);
    m_combo = nullptr;
    handled = FALSE;
    return 0;
}

// ---- the picker ----

LRESULT CAttrComboBase::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    FillRows();
    return 0;
}

LRESULT CAttrComboBase::OnEnable(UINT, WPARAM, LPARAM, BOOL&)
{
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CAttrComboBase::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    // The picker's press word stays 0, so only the enter and leave notices come.
    TrackPickerHover(m_hWnd, lParam);
    return 0;
}

LRESULT CAttrComboBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND parent = ::GetParent(m_hWnd);
    if (Flags() & kPickerNotifyMode) {
        ::PostMessageA(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), kPickerClosedCode),
                       reinterpret_cast<LPARAM>(m_hWnd));
        return 0;
    }
    if (List().m_hWnd != nullptr && ::IsWindow(List().m_hWnd)) return 0;  // one list at a time
    BeforeOpen();
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    RECT at = {0, rc.bottom, rc.right, rc.bottom + rc.bottom + 60};
    List().m_owner = this;
    HWND list = List().CreateList(m_hWnd, at);
    if (list != nullptr) ::SetWindowLongA(list, 0, kAttrListReady);
    return 0;
}

LRESULT CAttrComboBase::OnListClosed(UINT, WPARAM, LPARAM, BOOL&)
{
    ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), kPickerClosedCode),
                   reinterpret_cast<LPARAM>(m_hWnd));
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CAttrComboBase::OnSetRow(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    CurrentRow() = static_cast<int>(lParam);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 1;
}

LRESULT CAttrComboBase::OnSetFlags(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    Flags() = static_cast<int>(lParam);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CAttrComboBase::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int W = rc.right, H = rc.bottom;
    const int flags = Flags();
    const bool compact = (flags & kPickerCompact) != 0;
    const bool notifyMode = (flags & kPickerNotifyMode) != 0;
    const bool disabled = !::IsWindowEnabled(m_hWnd);
    const int b = compact ? 8 : (notifyMode ? 0 : 15);
    ::FillRect(dc, &rc, GetSysColorBrush(notifyMode || disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    const int fontHeight = compact ? 12 : 14;
    HFONT font = CreateFontA(fontHeight, 0, 0, 0, FW_DONTCARE, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, m_faceName.c_str());
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, GetSysColor(disabled ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
    const int number = NumberShown();
    if (number >= 0) {
        char text[16];
        snprintf(text, sizeof text, "%d", number);
        TextAt(dc, 5, (H - fontHeight) / 2, text);
    }
    PaintSample(dc, W, H, W - b, compact, disabled);
    ::SelectObject(dc, oldFont);
    DeleteObject(font);
    DrawSunkenFrame(dc, 0, 0, W, H);
    if (!notifyMode) DrawRaisedButton(dc, W - b - 2, 2, W - 2, H - 2);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

// ---- colour ----

WinKit::CWndClassInfo& CLineColorCombo::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineAttrColorCombo");
    return info;
}

WinKit::CWndClassInfo& CLineColorComboList::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineColorComboList");
    return info;
}

int CLineColorCombo::NumberShown()
{
    BindDrawingColorTable(m_rows);
    const int row = m_rows.currentRow;
    if (m_rows.drawingColours != nullptr) return row >= 0 && row < 256 ? row + 1 : -1;
    return row >= 0 && row < static_cast<int>(m_rows.rows.size()) ? m_rows.rows[static_cast<size_t>(row)].number : -1;
}

void CLineColorCombo::PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool disabled)
{
    const int left = compact ? 24 : 27;
    HBRUSH brush = CreateSolidBrush(GetLineColor(m_rows, m_rows.currentRow));
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    HGDIOBJ oldPen = ::SelectObject(dc, GetStockObject(BLACK_PEN));
    Rectangle(dc, left, 3, rightEdge - 3, H - 3);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    DeleteObject(brush);
    if (disabled) {
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        for (int y = 4; y <= H - 6; ++y)
            for (int x = left + (y % 2); x < W; x += 2) SetPixel(dc, x, y, face);
    }
}

CAttrComboListBase& CLineColorCombo::List()
{
    m_dropList.m_list = &m_rows;
    return m_dropList;
}

HWND CLineColorComboList::CreateList(HWND parent, const RECT& rect)
{
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void CLineColorComboList::Bind() { BindDrawingColorTable(*m_list); }

void CLineColorComboList::AddItems()
{
    const int count = GetLineColorCount(*m_list);
    for (int r = 0; r < count; ++r) {
        const LRESULT index = ::SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
        ::SendMessageA(m_combo, CB_SETITEMDATA, static_cast<WPARAM>(index), GetLineColor(*m_list, r));
    }
}

void CLineColorComboList::PaintRow(const DRAWITEMSTRUCT& item, bool)
{
    const int row = static_cast<int>(item.itemID);
    const int number = m_list->drawingColours != nullptr ? row + 1
                       : row < static_cast<int>(m_list->rows.size()) ? m_list->rows[static_cast<size_t>(row)].number
                                                                     : -1;
    const RECT& r = item.rcItem;
    if (number >= 0) {
        char text[32];
        snprintf(text, sizeof text, "色%d", number);
        TextAt(item.hDC, r.left + 2, r.top + 2, text);
    }
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(item.itemData));
    HGDIOBJ oldBrush = ::SelectObject(item.hDC, brush);
    HGDIOBJ oldPen = ::SelectObject(item.hDC, GetStockObject(BLACK_PEN));
    Rectangle(item.hDC, r.left + 45, r.top + 2, r.right - 10, r.bottom - 3);
    ::SelectObject(item.hDC, oldPen);
    ::SelectObject(item.hDC, oldBrush);
    DeleteObject(brush);
}

// ---- end mark ----

WinKit::CWndClassInfo& CLineEndTypeCombo::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineAttrColorCombo");
    return info;
}

WinKit::CWndClassInfo& CLineEndTypeComboList::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineEndTypeComboList");
    return info;
}

void CLineEndTypeCombo::PaintSample(HDC dc, int W, int H, int rightEdge, bool, bool)
{
    const int row = m_rows.currentRow;
    // A row outside the list draws the plain line.
    const int kind = row >= 0 && row < static_cast<int>(m_rows.rows.size()) ? m_rows.rows[static_cast<size_t>(row)].kind : 0;
    PenAndBrush tools(dc, 0);
    DrawLineEndMark(kind, m_side, dc, W < 60 ? 4 : 20, 0, rightEdge - 5, H);
}

CAttrComboListBase& CLineEndTypeCombo::List()
{
    m_dropList.m_list = &m_rows;
    m_dropList.m_side = m_side;
    return m_dropList;
}

HWND CLineEndTypeComboList::CreateList(HWND parent, const RECT& rect)
{
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void CLineEndTypeComboList::AddItems()
{
    for (size_t r = 0; r < m_list->rows.size(); ++r) ::SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
}

void CLineEndTypeComboList::PaintRow(const DRAWITEMSTRUCT& item, bool selected)
{
    const int row = static_cast<int>(item.itemID);
    if (row >= static_cast<int>(m_list->rows.size())) return;
    const RECT& r = item.rcItem;
    char text[32];
    snprintf(text, sizeof text, "%s%d", m_side == 0 ? "始点" : "終点", row);
    TextAt(item.hDC, r.left + 2, r.top + 2, text);
    PenAndBrush tools(item.hDC, selected ? GetSysColor(COLOR_WINDOW) : 0);
    DrawLineEndMark(m_list->rows[static_cast<size_t>(row)].kind, m_side, item.hDC, r.left + 58, r.top, r.right - 10, r.bottom);
}

// ---- line type ----

WinKit::CWndClassInfo& CLineTypeCombo::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineTypeCombo");
    return info;
}

WinKit::CWndClassInfo& CLineTypeComboList::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineTypeComboList");
    return info;
}

void CLineTypeCombo::PaintSample(HDC dc, int, int H, int rightEdge, bool compact, bool)
{
    if (m_rows.rows.empty()) return;
    const int row = m_rows.currentRow;
    const LineTypeRow& shown = m_rows.rows[row >= 0 && row < static_cast<int>(m_rows.rows.size()) ? static_cast<size_t>(row) : 0];
    DrawDashPattern(dc, shown, 0, compact ? 18 : 20, rightEdge - 4, H / 2);
}

CAttrComboListBase& CLineTypeCombo::List()
{
    m_dropList.m_list = &m_rows;
    return m_dropList;
}

HWND CLineTypeComboList::CreateList(HWND parent, const RECT& rect)
{
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void CLineTypeComboList::AddItems()
{
    for (size_t r = 0; r < m_list->rows.size(); ++r) ::SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
}

void CLineTypeComboList::PaintRow(const DRAWITEMSTRUCT& item, bool selected)
{
    const int row = static_cast<int>(item.itemID);
    if (row >= static_cast<int>(m_list->rows.size())) return;
    const RECT& r = item.rcItem;
    char text[32];
    snprintf(text, sizeof text, "線種%d", row);
    TextAt(item.hDC, r.left + 2, r.top + 2, text);
    DrawDashPattern(item.hDC, m_list->rows[static_cast<size_t>(row)], selected ? GetSysColor(COLOR_WINDOW) : 0,
                    r.left + 62, r.right - 8, (r.top + r.bottom) / 2);
}

// ---- width ----

WinKit::CWndClassInfo& CLineWidthCombo::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineWidthCombo");
    return info;
}

WinKit::CWndClassInfo& CLineWidthComboList::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = MakeClassInfo("LineWidthComboList");
    return info;
}

void CLineWidthCombo::PaintSample(HDC dc, int W, int H, int rightEdge, bool compact, bool)
{
    const double width = GetLineWidthValue(m_rows, m_rows.currentRow);
    if (W > 59) {
        char text[64];
        snprintf(text, sizeof text, "%.2lfmm", width);
        TextAt(dc, rightEdge - 45, ((compact ? H - 12 : H - 14)) / 2, text);
    }
    DrawThickLine(0, H / 2, std::min(WidthThickness(width), H - 6), dc, compact ? 18 : 20,
                  W < 60 ? rightEdge - 4 : rightEdge - 48);
}

CAttrComboListBase& CLineWidthCombo::List()
{
    m_dropList.m_list = &m_rows;
    return m_dropList;
}

HWND CLineWidthComboList::CreateList(HWND parent, const RECT& rect)
{
    return Create(parent, &rect, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

void CLineWidthComboList::AddItems()
{
    for (int r = 0; !GetLineWidthText(*m_list, r).empty(); ++r)
        ::SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
}

void CLineWidthComboList::PaintRow(const DRAWITEMSTRUCT& item, bool selected)
{
    const int row = static_cast<int>(item.itemID);
    const RECT& r = item.rcItem;
    const double width = GetLineWidthValue(*m_list, row);
    char text[64];
    snprintf(text, sizeof text, "線幅%d", row);
    TextAt(item.hDC, r.left + 4, r.top + 4, text);
    snprintf(text, sizeof text, "%.2lf mm", width);
    TextAt(item.hDC, r.right - 65, r.top + 4, text);
    DrawThickLine(selected ? GetSysColor(COLOR_WINDOW) : 0, (r.top + r.bottom) / 2,
                  std::min<int>(WidthThickness(width), r.bottom - r.top - 8), item.hDC, r.left + 62, r.right - 70);
}

// ---- list boxes ----

LRESULT CAttrListBoxBase::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 24;
    return 1;
}

LRESULT CAttrListBoxBase::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return 1;
}

void CAttrListBoxBase::DrawItem(const DRAWITEMSTRUCT& item)
{
    // A change of focus alone paints nothing.
    if ((item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) == 0 || static_cast<int>(item.itemID) < 0) return;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    HBRUSH brush = CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : m_background);
    ::FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
    ::SetBkMode(item.hDC, TRANSPARENT);
    ::SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    PaintItem(item.hDC, item.rcItem, m_fixedRow >= 0 ? m_fixedRow : static_cast<int>(item.itemID), selected);
}

void CLineEndTypeListBox::PaintItem(HDC dc, const RECT& r, int row, bool selected)
{
    if (m_list == nullptr || row < 0 || row >= static_cast<int>(m_list->rows.size())) return;
    char text[32];
    snprintf(text, sizeof text, "%s%d", m_side == 0 ? "始点" : "終点", row);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    TextAt(dc, r.left + 2, r.top + (r.bottom - r.top - tm.tmHeight) / 2, text);
    PenAndBrush tools(dc, selected ? GetSysColor(COLOR_WINDOW) : 0);
    DrawLineEndMark(m_list->rows[static_cast<size_t>(row)].kind, m_side, dc, r.left + 58, r.top, r.right - 10, r.bottom);
}

void CLineWidthListBox::PaintItem(HDC dc, const RECT& r, int row, bool selected)
{
    if (m_list == nullptr || GetLineWidthText(*m_list, row).empty()) return;
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    const int acw = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    const int y = r.top + (r.bottom - r.top - tm.tmHeight) / 2;
    char label[32];
    snprintf(label, sizeof label, m_fixedRow >= 0 ? "%3d" : "線幅%d", row);
    TextAt(dc, r.left + 4, y, label);
    const double width = GetLineWidthValue(*m_list, row);
    char text[64];
    snprintf(text, sizeof text, "%.2lf mm", width);
    const int length = static_cast<int>(strlen(text));
    const int textX = (r.right - 5) - std::max(length, 7) * acw;
    TextAt(dc, textX, y, text);
    const int labelLength = static_cast<int>(strlen(label));
    const int barLeft = m_fixedRow >= 0 ? r.left + 32 : r.left + 4 + (labelLength < 8 ? 6 : labelLength + 1) * acw + 5;
    DrawThickLine(selected ? GetSysColor(COLOR_WINDOW) : 0, (r.top + r.bottom) / 2,
                  std::min<int>(WidthThickness(width), r.bottom - r.top - 8), dc, barLeft, textX - 5);
}
