#include "panels/AppPanelInputs.h"

#include <imm.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "HostMessages.h"
#include "commands/CommandControlMessages.h"
#include "commands/InputHistory.h"
#include "commands/PluginGuard.h"
#include "commands/PluginModules.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/CsvParser.h"
#include "core/Dbcs.h"
#include "core/StartupSeams.h"
#include "dialogs/Calculator.h"
#include "panels/PanelComboDropDown.h"
#include "panels/ParameterPanelItems.h"
#include "panels/RightMenu.h"

namespace {

char g_editBuffer[kPanelEditBufferSize] = {};
char g_comboBuffer[kPanelComboBufferSize] = {};

// Switches the input method of the window's input context on or off; the temporary edits share
// the thread's context with the drawing views, so an edit that switched it on switches it off.
void SetInputMethodOpen(HWND window, bool open)
{
    HIMC context = ImmGetContext(window);
    if (context == nullptr) return;
    ImmSetOpenStatus(context, open ? TRUE : FALSE);
    ImmReleaseContext(window, context);
}

void PostFocusInput()
{
    if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_FOCUS_INPUT, 0, 0);
}

// The one temporary edit control: it hands the typed text to its item and closes itself.
class CPanelInPlaceEdit : public WinKit::CWindowImplRoot {
public:
    HWND item = nullptr;

    WK_BEGIN_MSG_MAP(CPanelInPlaceEdit)
        WK_MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_CHAR, OnChar)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnKeyMessage)
        WK_MESSAGE_HANDLER(kPanelEditKeyMessage, OnKeyMessage)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        WK_MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnButtonDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnButtonDown)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_NCDESTROY, OnNcDestroy)
    WK_END_MSG_MAP()

    void Start(HWND owner, const PanelEditOptions& options)
    {
        item = owner;
        m_options = options;
        DbcsCopy(m_historyKey, sizeof m_historyKey, options.historyKey != nullptr ? options.historyKey : "");
        m_options.historyKey = m_historyKey;
        m_finished = false;
        m_focused = false;
    }

    // Ends the edit: the item hears of it (a commit or a cancel), the control closes itself and
    // the input method goes off again.
    void Finish(UINT notice)
    {
        if (m_finished) return;
        m_finished = true;
        if (notice == kPanelEditCommit && m_options.buffer != nullptr) {
            std::string text(m_options.limit + 1, '\0');
            ::GetWindowTextA(m_hWnd, &text[0], static_cast<int>(text.size()));
            const size_t room = m_options.limit + 1 < m_options.bufferSize ? m_options.limit + 1 : m_options.bufferSize;
            DbcsCopy(m_options.buffer, room, text.c_str());
        }
        if (notice != 0 && item != nullptr) ::PostMessageA(item, notice, 0, 0);
        ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
        if (!RightMenuPopupShown()) PostFocusInput();
        SetInputMethodOpen(m_hWnd, false);
    }

private:
    bool HoldsMouse() const { return m_options.holdsMouse; }
    bool Inside(LPARAM lParam) const
    {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        return PtInRect(&rc, at) != 0;
    }
    // Enter and Esc, however they came.
    void Key(WPARAM key)
    {
        if (key == VK_RETURN) Finish(kPanelEditCommit);
        else if (key == VK_ESCAPE) Finish(HoldsMouse() ? 0 : kPanelEditCancel);
    }

    LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        // In the floating panel's dialog Enter and Esc still end the edit instead of pressing the
        // dialog's default buttons.
        LRESULT code = DefWindowProc();
        const auto* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg != nullptr && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
            (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    LRESULT OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) Key(wParam);
        else bHandled = FALSE;
        return 0;
    }
    LRESULT OnChar(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        // Enter and Esc were taken on the key press; the edit would only beep at them.
        if (wParam != '\r' && wParam != 27) bHandled = FALSE;
        return 0;
    }
    LRESULT OnKeyMessage(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) Key(wParam);
        else bHandled = FALSE;
        return 0;
    }
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        if (!m_focused) {
            m_focused = true;
            ::SendMessageA(m_hWnd, EM_SETSEL, 0, -1);
            SetInputMethodOpen(m_hWnd, m_options.imeMode == kPanelImeOnUserValue);
        }
        if (HoldsMouse()) ::SetCapture(m_hWnd);
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        // Clicking elsewhere leaves the item as it was.
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        Finish(0);
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnButtonDown(UINT msg, WPARAM, LPARAM lParam, BOOL& bHandled)
    {
        if (!Inside(lParam)) {
            // Only a combo's edit, which holds the mouse, sees a click outside: it ends, and the
            // focus goes back where input is taken. Ending here does not wait for that focus to
            // move: with no drawing view to take it the edit would keep the mouse for good.
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
            Finish(0);
            return 0;
        }
        if (msg == WM_RBUTTONDOWN && m_historyKey[0] != '\0') {
            ShowHistory(lParam);
            return 0;
        }
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnLButtonUp(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
    {
        // The edit lets the mouse go at the end of its own selecting drag: a combo's edit takes
        // it back while it has the focus.
        const LRESULT result = DefWindowProc(msg, wParam, lParam);
        if (HoldsMouse() && ::GetFocus() == m_hWnd && ::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
        return result;
    }
    // A right click cancels the edit and offers the item's input history at the click.
    void ShowHistory(LPARAM lParam)
    {
        const HWND owner = item;
        char key[sizeof m_historyKey];
        DbcsCopy(key, sizeof key, m_historyKey);
        POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ::MapWindowPoints(m_hWnd, owner, &at, 1);
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        Finish(kPanelEditCancel);
        // The menu's pick reaches the item as a history command; the edit closes meanwhile.
        if (owner != nullptr) ShowInputHistoryMenu(owner, MAKELPARAM(at.x, at.y), key);
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

    PanelEditOptions m_options;
    char m_historyKey[64] = {};
    bool m_finished = false;
    bool m_focused = false;
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
char* PanelComboBuffer() { return g_comboBuffer; }

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

void PaintPanelEditField(HDC dc, const RECT& field, const char* text, bool enabled, bool plain, int textColor,
                         int backColor)
{
    FillRect(dc, &field, GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    SetTextColor(dc, plain ? GetSysColor(COLOR_BTNTEXT) : PanelItemTextColor(textColor, GetSysColor(COLOR_BTNTEXT)));
    if (!plain && backColor != -1) {
        RECT box = field;
        InflateRect(&box, -3, -3);
        HBRUSH brush = CreateSolidBrush(PanelItemTextColor(backColor, 0));
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

void CAppPanelEditBox::PaintField(HDC dc, const RECT& field, const char* text)
{
    PaintPanelEditField(dc, field, text, Enabled(), ::GetWindowLongA(m_hWnd, 0) != 0, pItem->textColor,
                        pItem->backColor);
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

HWND OpenPanelInPlaceEdit(HWND item, const RECT& rc, DWORD style, const PanelEditOptions& options, const char* text)
{
    CloseOpenEdit();
    if (options.buffer == nullptr || options.bufferSize == 0) return nullptr;
    HWND edit = CreateWindowExA(0, "EDIT", "", style, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, item,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelEditControlId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (edit == nullptr) return nullptr;
    g_inPlaceEdit.Start(item, options);
    g_inPlaceEdit.SubclassWindow(edit);
    if (KitFont2 != nullptr) ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(KitFont2), 0);
    DbcsCopy(options.buffer, options.bufferSize, text != nullptr ? text : "");
    ::SendMessageA(edit, EM_LIMITTEXT, options.limit, 0);
    ::SetWindowTextA(edit, options.buffer);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    seam::GetParameterPanelHandles().editField = edit;
    ::SetFocus(edit);
    return edit;
}

void EndPanelInPlaceEdit(HWND item)
{
    HWND open = seam::GetParameterPanelHandles().editField;
    if (open == nullptr || ::GetParent(open) != item) return;
    g_inPlaceEdit.item = nullptr;
    CloseOpenEdit();
    RestoreInputFocus();
}

std::string CAppPanelEditBox::EditStartText() const
{
    char text[kPanelEditBufferSize] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    return text;
}

void CAppPanelEditBox::OpenEdit()
{
    const bool combo = EventKind() == kItemComboBox;
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | (combo ? 0 : (WS_TABSTOP | ES_WANTRETURN));
    PanelEditOptions options;
    options.buffer = Buffer();
    options.bufferSize = BufferSize();
    options.limit = combo ? 255 : 256;
    options.imeMode = pItem->userValue;
    options.historyKey = pItem->label;
    options.holdsMouse = combo;
    OpenPanelInPlaceEdit(m_hWnd, EditRect(), style, options, EditStartText().c_str());
}

LRESULT CAppPanelEditBox::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    PressStarted();
    if (IsCalculatorOpen() || !Enabled()) return 0;
    const int x = static_cast<short>(LOWORD(lParam));
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const bool onButton = EventKind() == kItemComboBox && x >= rc.right - kPanelComboButtonWidth;
    if (onButton) {
        std::vector<std::string> choices;
        if (pItem->text != nullptr && pItem->text[0] != '\0') choices = CCsvParser(pItem->text).fields;
            if (OpenPanelComboDropDown(m_hWnd, choices, Buffer(), BufferSize(), kPanelEditCommit) != nullptr) PressOpened();
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
    PressOpened();
    return 0;
}

LRESULT CAppPanelEditBox::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&)
{
    ButtonReleased();
    return 0;
}

LRESULT CAppPanelEditBox::OnCommit(UINT, WPARAM, LPARAM, BOOL&)
{
    RaiseEvent(EventKind(), 0);
    TakeText(Buffer());
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    CloseRightMenuAfterItem();
    return 0;
}

LRESULT CAppPanelEditBox::OnCancel(UINT, WPARAM, LPARAM, BOOL&)
{
    // The buffer still holds the text the edit started with.
    ::SetWindowTextA(m_hWnd, Buffer());
    if (EventKind() == kItemComboBox) {
        DbcsCopy(pItem->text2, sizeof pItem->text2, Buffer());
        return 0;
    }
    if (pItem->text != nullptr) DbcsCopy(pItem->text, pItem->textSize, Buffer());
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
    DbcsCopy(Buffer(), BufferSize(), entry);
    RaiseEvent(EventKind(), 0);
    TakeText(Buffer());
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
    EndPanelInPlaceEdit(m_hWnd);
    return 0;
}

// ---- combo field ----

HWND CAppPanelComboBox::Create(HWND parent, const RECT* rect, const char* title, DWORD style, DWORD exStyle, HMENU id)
{
    WinKit::CWndClassInfo& info = GetWndClassInfo();
    if (info.wc.hInstance == nullptr) info.wc.hInstance = GetModuleHandleA(nullptr);
    if (WinKit::RegisterWndClassInfo(info) == 0 || rect == nullptr) return nullptr;
    CreationScope creating(this);
    return ::CreateWindowExA(exStyle, info.wc.lpszClassName, title, style, rect->left, rect->top,
                             rect->right - rect->left, rect->bottom - rect->top, parent, id, info.wc.hInstance, nullptr);
}

// The right-click copy's field starts from the text of the field it was copied from, which a
// command may have changed since the copy was made. A field of its own starts from what it shows:
// starting from the last text of any combo field would offer, and on Enter commit, another
// field's value.
std::string CAppPanelComboBox::EditStartText() const
{
    if (m_twin != nullptr && m_twin->ShownItem() != nullptr) return m_twin->ShownItem()->text2;
    return CAppPanelEditBox::EditStartText();
}

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

void CAppPanelComboBox::ButtonReleased()
{
    if (!Enabled()) return;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    // A release right after the press that opened the edit or the drop-down leaves them open.
    if (pEvent != nullptr && closeOnRelease != 0) CloseRightMenuAfterItem();
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
    DWORD style = WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST;
    if (pItem->value2 != 0) style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
    HWND list = CreateWindowExA(0, "combobox", "", style, 0, 0, pItem->width, 200,
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
    ListNotification(HIWORD(wParam));
    return 0;
}

void CAppPanelComboList::ListNotification(WORD code)
{
    seam::ParameterPanelHandles& handles = seam::GetParameterPanelHandles();
    if (code == CBN_DROPDOWN) {
        handles.droppedComboBox = pItem->listWindow;
    } else if (code == CBN_CLOSEUP) {
        // Picking the row already chosen is a pick too: a command may wait for it.
        const LRESULT row = ::SendMessageA(pItem->listWindow, CB_GETCURSEL, 0, 0);
        if (row != CB_ERR) {
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
}

LRESULT CAppPanelComboList::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (measure == nullptr) return 0;
    measure->itemHeight = 14;
    measure->itemWidth = static_cast<UINT>(m_client.right - m_client.left);
    return 1;
}

void CAppPanelComboList::DrawRow(const PboxItem& item, DRAWITEMSTRUCT* drawItem)
{
    if (drawItem == nullptr) return;
    // The address comes from the plug-in's request: it is called only when it lies in a plug-in
    // the program loaded, and a fault inside it falls back to the plain row.
    if (item.rowDrawing != 0 && item.value2 != 0) {
        void* address = reinterpret_cast<void*>(static_cast<INT_PTR>(item.value2));
        DWORD code = 0;
        if (IsLoadedPluginAddress(address) &&
            CallRowDrawGuarded(reinterpret_cast<PboxRowDrawProc>(address), drawItem, &code))
            return;
    }
    const bool selected = (drawItem->itemState & ODS_SELECTED) != 0;
    FillRect(drawItem->hDC, &drawItem->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(drawItem->itemID) < 0) return;
    const LRESULT length = ::SendMessageA(drawItem->hwndItem, CB_GETLBTEXTLEN, drawItem->itemID, 0);
    if (length <= 0) return;
    std::string row(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(drawItem->hwndItem, CB_GETLBTEXT, drawItem->itemID, reinterpret_cast<LPARAM>(&row[0]));
    SetBkMode(drawItem->hDC, TRANSPARENT);
    SetTextColor(drawItem->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = drawItem->rcItem;
    text.left += 2;
    DrawTextA(drawItem->hDC, row.c_str(), static_cast<int>(length), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CAppPanelComboList::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    if (pItem->value2 == 0) {
        bHandled = FALSE;
        return 0;
    }
    DrawRow(*pItem, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
    return 1;
}

LRESULT CAppPanelComboList::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    seam::ParameterPanelHandles& handles = seam::GetParameterPanelHandles();
    if (handles.droppedComboBox == pItem->listWindow) handles.droppedComboBox = nullptr;
    if (pItem->listWindow != nullptr && ::IsWindow(pItem->listWindow)) ::DestroyWindow(pItem->listWindow);
    pItem->listWindow = nullptr;
    return 0;
}
