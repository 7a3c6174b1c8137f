#include "panels/AppPanelInputs.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "HostMessages.h"
#include "commands/CommandControlMessages.h"
#include "commands/InputHistory.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/CsvParser.h"
#include "core/Dbcs.h"
#include "core/StartupSeams.h"
#include "dialogs/Calculator.h"
#include "panels/ParameterPanelItems.h"
#include "panels/RightMenu.h"

namespace {

char g_editBuffer[kPanelEditBufferSize] = {};

// The one temporary edit control: it hands the typed text to its item and closes itself.
class CPanelInPlaceEdit : public WinKit::CWindowImplRoot {
public:
    HWND item = nullptr;
    size_t limit = 256;

    WK_BEGIN_MSG_MAP(CPanelInPlaceEdit)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_CHAR, OnChar)
        WK_MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_NCDESTROY, OnNcDestroy)
    WK_END_MSG_MAP()

    // Ends the edit: the item hears of it (a commit or a cancel), the control closes itself.
    void Finish(UINT notice)
    {
        if (m_finished) return;
        m_finished = true;
        if (notice == kPanelEditCommit) {
            std::string text(limit + 1, '\0');
            ::GetWindowTextA(m_hWnd, &text[0], static_cast<int>(text.size()));
            DbcsCopy(g_editBuffer, limit + 1 < sizeof g_editBuffer ? limit + 1 : sizeof g_editBuffer, text.c_str());
        }
        if (notice != 0 && item != nullptr) ::PostMessageA(item, notice, 0, 0);
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        if (!RightMenuPopupShown())
            if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_FOCUS_INPUT, 0, 0);
    }

    void Start() { m_finished = false; }

private:
    LRESULT OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        if (wParam == VK_RETURN) Finish(kPanelEditCommit);
        else if (wParam == VK_ESCAPE) Finish(kPanelEditCancel);
        else bHandled = FALSE;
        return 0;
    }
    LRESULT OnChar(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        // Enter and Esc were taken on the key press; the edit would only beep at them.
        if (wParam != '\r' && wParam != 27) bHandled = FALSE;
        return 0;
    }
    LRESULT OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        // Clicking elsewhere leaves the item as it was.
        Finish(0);
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&)
    {
        ::DestroyWindow(m_hWnd);
        return 0;
    }
    LRESULT OnNcDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        if (seam::GetParameterPanelHandles().editField == m_hWnd) seam::GetParameterPanelHandles().editField = nullptr;
        bHandled = FALSE;
        return 0;
    }

    bool m_finished = false;
};

CPanelInPlaceEdit g_inPlaceEdit;

void CloseOpenEdit()
{
    HWND open = seam::GetParameterPanelHandles().editField;
    if (open != nullptr && ::IsWindow(open)) ::DestroyWindow(open);
    seam::GetParameterPanelHandles().editField = nullptr;
}

}  // namespace

char* PanelEditBuffer() { return g_editBuffer; }

int PanelFieldOpensCalculator(int userValue)
{
    return userValue != 0 && userValue != 7 && IsNumericPadEnabled() ? 1 : 0;
}

// ---- edit field ----

LRESULT CAppPanelEditBox::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    ::SetWindowLongA(m_hWnd, 0, 0);
    ::SetWindowLongA(m_hWnd, 4, PboxBuildingPanel());
    ::SetWindowLongA(m_hWnd, 8, PboxBuildingSlot());
    return 0;
}

RECT CAppPanelEditBox::EditRect() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    InflateRect(&rc, -1, -1);
    return rc;
}

void CAppPanelEditBox::PaintField(HDC dc, const RECT& field, const char* text)
{
    const bool enabled = Enabled();
    FillRect(dc, &field, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    const bool plain = ::GetWindowLongA(m_hWnd, 0) != 0;
    SetTextColor(dc, plain ? GetSysColor(COLOR_BTNTEXT) : PanelItemTextColor(pItem->textColor, GetSysColor(COLOR_BTNTEXT)));
    if (!plain && pItem->backColor != -1) {
        RECT box = field;
        InflateRect(&box, -3, -3);
        HBRUSH brush = CreateSolidBrush(PanelItemTextColor(pItem->backColor, 0));
        FillRect(dc, &box, brush);
        DeleteObject(brush);
    }
    if (enabled) {
        HBRUSH dark = CreateSolidBrush(0x606060);
        FrameRect(dc, &field, dark);
        DeleteObject(dark);
        RECT inner = field;
        InflateRect(&inner, -1, -1);
        HBRUSH light = CreateSolidBrush(0xC0C0C0);
        FrameRect(dc, &inner, light);
        DeleteObject(light);
    } else {
        RECT sunken = field;
        DrawEdge(dc, &sunken, EDGE_SUNKEN, BF_RECT);
    }
    HGDIOBJ old = KitFont2 != nullptr ? SelectObject(dc, KitFont2) : nullptr;
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    size_t length = text != nullptr ? std::strlen(text) : 0;
    const int width = field.right - field.left;
    const size_t fit = static_cast<size_t>(width > 0 ? width / average : 0);
    if (length > fit) length = DbcsFitLength(text, length, fit);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, field.left + average / 2, field.top + (field.bottom - field.top - metrics.tmHeight) / 2, text,
             static_cast<int>(length));
    if (old != nullptr) SelectObject(dc, old);
}

void CAppPanelEditBox::Paint(HDC dc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    char text[kPanelEditBufferSize] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    PaintField(dc, rc, text);
}

LRESULT CAppPanelEditBox::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    Paint(dc);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

void CAppPanelEditBox::TakeText(const char* text)
{
    if (pItem->text != nullptr) DbcsCopy(pItem->text, pItem->textSize, text);
    ::SetWindowTextA(m_hWnd, text);
    AddInputHistory(text, pItem->label);
    if (m_twin != nullptr && m_twin->ItemWindow() != nullptr) {
        ::SetWindowTextA(m_twin->ItemWindow(), text);
        RedrawTwin();
    }
}

void CAppPanelEditBox::OpenEdit()
{
    CloseOpenEdit();
    const RECT rc = EditRect();
    const bool combo = EventKind() == kItemComboBox;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | (combo ? 0 : (WS_TABSTOP | ES_WANTRETURN));
    HWND edit = CreateWindowExA(0, "EDIT", "", style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelEditControlId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (edit == nullptr) return;
    g_inPlaceEdit.item = m_hWnd;
    g_inPlaceEdit.limit = combo ? 255 : 256;
    g_inPlaceEdit.Start();
    g_inPlaceEdit.SubclassWindow(edit);
    if (KitFont2 != nullptr) ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(KitFont2), 0);
    char text[kPanelEditBufferSize] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    DbcsCopy(g_editBuffer, sizeof g_editBuffer, text);
    ::SendMessageA(edit, EM_LIMITTEXT, g_inPlaceEdit.limit, 0);
    ::SetWindowTextA(edit, g_editBuffer);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    seam::GetParameterPanelHandles().editField = edit;
    ::SetFocus(edit);
}

LRESULT CAppPanelEditBox::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (IsCalculatorOpen() || !Enabled()) return 0;
    const int x = static_cast<short>(LOWORD(lParam));
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const bool onButton = EventKind() == kItemComboBox && x >= rc.right - kPanelComboButtonWidth;
    if (onButton) {
        // The drop-down of the choices is not part of the program yet: the button opens nothing.
        return 0;
    }
    if (PanelFieldOpensCalculator(pItem->userValue)) {
        const int mode = pItem->userValue >= 1 && pItem->userValue <= 6 ? pItem->userValue : 1;
        char result[32] = {};
        if (ShowCalculator(GetMainFrameWnd(), mode, pItem->userText, result)) {
            RaiseEvent(EventKind(), 0);
            TakeText(result);
            CloseRightMenuAfterItem();
        }
        return 0;
    }
    OpenEdit();
    return 0;
}

LRESULT CAppPanelEditBox::OnCommit(UINT, WPARAM, LPARAM, BOOL&)
{
    RaiseEvent(EventKind(), 0);
    TakeText(g_editBuffer);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    CloseRightMenuAfterItem();
    return 0;
}

LRESULT CAppPanelEditBox::OnCancel(UINT, WPARAM, LPARAM, BOOL&)
{
    // The buffer still holds the text from before the edit.
    ::SetWindowTextA(m_hWnd, g_editBuffer);
    if (EventKind() == kItemComboBox) {
        DbcsCopy(pItem->text2, sizeof pItem->text2, g_editBuffer);
        return 0;
    }
    if (pItem->text != nullptr) DbcsCopy(pItem->text, pItem->textSize, g_editBuffer);
    CloseRightMenuAfterItem();
    if (pEvent != nullptr) {
        pEvent->code = kEventEditEscape;
        pEvent->kind = kItemEdit;
        pEvent->item = pItem->id;
        pEvent->value = 0;
    }
    return 0;
}

LRESULT CAppPanelEditBox::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    const int id = LOWORD(wParam);
    if (id < 1236 || id > 1259) {
        bHandled = FALSE;
        return 0;
    }
    char entry[kPanelEditBufferSize] = {};
    GetInputHistoryEntry(entry, sizeof entry, id - 1236);
    DbcsCopy(g_editBuffer, sizeof g_editBuffer, entry);
    RaiseEvent(EventKind(), 0);
    TakeText(g_editBuffer);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    CloseRightMenuAfterItem();
    return 0;
}

LRESULT CAppPanelEditBox::OnRButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (IsCalculatorOpen() || !Enabled()) return 0;
    ShowInputHistoryMenu(m_hWnd, lParam, pItem->label);
    return 0;
}

LRESULT CAppPanelEditBox::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND open = seam::GetParameterPanelHandles().editField;
    if (open != nullptr && ::GetParent(open) == m_hWnd) {
        g_inPlaceEdit.item = nullptr;
        CloseOpenEdit();
        RestoreInputFocus();
    }
    return 0;
}

// ---- combo field ----

RECT CAppPanelComboBox::EditRect() const
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    rc.right -= kPanelComboButtonWidth - 1;
    return rc;
}

void CAppPanelComboBox::TakeText(const char* text)
{
    DbcsCopy(pItem->text2, sizeof pItem->text2, text);
    ::SetWindowTextA(m_hWnd, text);
    AddInputHistory(text, pItem->label);
    if (m_twin != nullptr && m_twin->ItemWindow() != nullptr) {
        ::SetWindowTextA(m_twin->ItemWindow(), text);
        RedrawTwin();
    }
}

void CAppPanelComboBox::Paint(HDC dc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    RECT field = rc;
    field.right -= kPanelComboButtonWidth;
    char text[kPanelEditBufferSize] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    PaintField(dc, field, text);
    RECT button = {rc.right - kPanelComboButtonWidth, rc.top, rc.right, rc.bottom};
    FillRect(dc, &button, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &button, EDGE_RAISED, BF_RECT);
    const int cx = (button.left + button.right) / 2;
    const int cy = (button.top + button.bottom) / 2;
    POINT triangle[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Polygon(dc, triangle, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
}

// ---- list ----

std::vector<std::string> CAppPanelComboList::Rows(const char* text, int* number)
{
    if (number != nullptr) *number = 0;
    std::string rest = text != nullptr ? text : "";
    if (!rest.empty() && rest[0] == '\n') {
        const size_t end = rest.find('\n', 1);
        if (end != std::string::npos) {
            if (number != nullptr) *number = std::atoi(rest.substr(1, end - 1).c_str());
            rest = rest.substr(end + 1);
        } else {
            rest = rest.substr(1);
        }
    }
    if (rest.empty()) return {};
    return CCsvParser(rest).fields;
}

void CAppPanelComboList::Fill(HWND list)
{
    int number = 0;
    const std::vector<std::string> rows = Rows(pItem->text, &number);
    HDC dc = ::GetDC(list);
    HGDIOBJ old = KitFont1 != nullptr ? SelectObject(dc, KitFont1) : nullptr;
    int widest = 0;
    for (const std::string& row : rows) {
        ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
        if (number == 1 && row.compare(0, 3, "***") == 0) continue;
        SIZE size = {};
        GetTextExtentPoint32A(dc, row.c_str(), static_cast<int>(row.size()), &size);
        if (size.cx > widest) widest = size.cx;
    }
    if (number >= 0) {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        const int width = widest + metrics.tmAveCharWidth + 2 * GetSystemMetrics(SM_CXEDGE) + GetSystemMetrics(SM_CXVSCROLL);
        ::SendMessageA(list, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
    }
    if (old != nullptr) SelectObject(dc, old);
    ::ReleaseDC(list, dc);
}

LRESULT CAppPanelComboList::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    ::GetClientRect(m_hWnd, &m_client);
    ::SetWindowLongA(m_hWnd, 4, PboxBuildingPanel());
    ::SetWindowLongA(m_hWnd, 8, PboxBuildingSlot());
    // A row-drawing function of the plug-in is never called: its address cannot be trusted, so
    // the list draws its rows itself.
    HWND list = CreateWindowExA(0, "combobox", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, pItem->width, 200,
                                m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelListControlId)),
                                GetModuleHandleA(nullptr), nullptr);
    pItem->listWindow = list;
    if (list == nullptr) return 0;
    ::ShowWindow(list, SW_SHOW);
    Fill(list);
    if (KitFont1 != nullptr) ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(KitFont1), 0);
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(pItem->value), 0);
    ::EnableWindow(list, pItem->enabled != 0);
    return 0;
}

LRESULT CAppPanelComboList::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (LOWORD(wParam) != kPanelListControlId) {
        bHandled = FALSE;
        return 0;
    }
    if (IsCalculatorOpen()) return 0;
    seam::ParameterPanelHandles& handles = seam::GetParameterPanelHandles();
    if (HIWORD(wParam) == CBN_DROPDOWN) {
        handles.droppedComboBox = pItem->listWindow;
    } else if (HIWORD(wParam) == CBN_CLOSEUP) {
        const LRESULT row = ::SendMessageA(pItem->listWindow, CB_GETCURSEL, 0, 0);
        if (row != CB_ERR && row != pItem->value) {
            pItem->value = static_cast<int>(row);
            RaiseEvent(kItemList, pItem->value);
            if (m_twin != nullptr && m_twin->ShownItem() != nullptr) {
                PboxItem* twin = m_twin->ShownItem();
                twin->value = pItem->value;
                if (twin->listWindow != nullptr) ::SendMessageA(twin->listWindow, CB_SETCURSEL, row, 0);
                RedrawTwin();
            }
            CloseRightMenuAfterItem();
        }
        if (handles.droppedComboBox == pItem->listWindow) handles.droppedComboBox = nullptr;
        RestoreInputFocus();
    }
    return 0;
}

LRESULT CAppPanelComboList::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    seam::ParameterPanelHandles& handles = seam::GetParameterPanelHandles();
    if (handles.droppedComboBox == pItem->listWindow) handles.droppedComboBox = nullptr;
    if (pItem->listWindow != nullptr && ::IsWindow(pItem->listWindow)) ::DestroyWindow(pItem->listWindow);
    pItem->listWindow = nullptr;
    return 0;
}
