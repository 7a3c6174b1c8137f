#include "panels/PanelComboDropDown.h"

#include "HostMessages.h"
#include "WinKit/Dialog.h"
#include "WinKit/Window.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"

namespace {

// Tears the closed drop-down down once the message that closed it has been handled.
constexpr UINT kDropDownDestroy = WM_USER + 20;
// A mouse button went down outside the drop-down.
constexpr UINT kDropDownPressOutside = WM_USER + 21;

bool IsButtonPress(WPARAM message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    default:
        return false;
    }
}

class CDropDownList : public WinKit::CWindowImplRoot {
public:
    WK_BEGIN_MSG_MAP(CDropDownList)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_CHAR, OnChar)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    WK_END_MSG_MAP()

    HWND dialog = nullptr;

private:
    LRESULT OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
    LRESULT OnChar(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        // Enter, Space and Esc were taken on the key press.
        if (wParam != '\r' && wParam != ' ' && wParam != 27) bHandled = FALSE;
        return 0;
    }
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
};

class CComboDropDown : public WinKit::CDialogImplRoot {
public:
    HWND Open(HWND field, const std::vector<std::string>& choices, char* buffer, size_t bufferSize, UINT commit);
    // Ends the drop-down: 1 a pick (copied and committed), 0 none. It goes from the screen at
    // once and is destroyed after the message in hand.
    void Close(int result);
    void DestroyNow()
    {
        StopWatchingPresses();
        if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
    }

    WK_BEGIN_MSG_MAP(CComboDropDown)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(kDropDownDestroy, OnDestroyRequest)
        WK_MESSAGE_HANDLER(kDropDownPressOutside, OnPressOutside)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
    LRESULT OnDestroyRequest(UINT, WPARAM, LPARAM, BOOL&)
    {
        ::DestroyWindow(m_hWnd);
        return 0;
    }
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        // Gone with the window that owns it: nothing is left to close.
        StopWatchingPresses();
        bHandled = FALSE;
        return 0;
    }
    LRESULT OnPressOutside(UINT, WPARAM, LPARAM, BOOL&)
    {
        Close(0);
        return 0;
    }

    // Presses anywhere else close the drop-down, also those on windows that never take the focus
    // from its list and whichever loop takes them (a command's wait runs its own): a mouse hook of
    // the thread sees them all.
    void WatchPresses()
    {
        StopWatchingPresses();
        m_pressHook = ::SetWindowsHookExA(WH_MOUSE, PressHook, nullptr, ::GetCurrentThreadId());
    }
    void StopWatchingPresses()
    {
        if (m_pressHook != nullptr) ::UnhookWindowsHookEx(m_pressHook);
        m_pressHook = nullptr;
    }
    static LRESULT CALLBACK PressHook(int code, WPARAM wParam, LPARAM lParam);

    HWND m_field = nullptr;
    RECT m_fieldRect = {0, 0, 0, 0};
    std::vector<std::string> m_choices;
    char* m_buffer = nullptr;
    size_t m_bufferSize = 0;
    UINT m_commit = WM_USER;
    bool m_closed = false;
    CDropDownList m_list;
    HHOOK m_pressHook = nullptr;
};

CComboDropDown g_dropDown;

LRESULT CALLBACK CComboDropDown::PressHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && IsButtonPress(wParam) && lParam != 0) {
        const auto* press = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        HWND dropDown = g_dropDown.m_hWnd;
        // The press itself goes on to its window; the drop-down closes after it.
        if (dropDown != nullptr && !g_dropDown.m_closed && press->hwnd != dropDown && !::IsChild(dropDown, press->hwnd))
            ::PostMessageA(dropDown, kDropDownPressOutside, 0, 0);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CDropDownList::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam == VK_RETURN || wParam == VK_SPACE) g_dropDown.Close(1);
    else if (wParam == VK_ESCAPE) g_dropDown.Close(0);
    else bHandled = FALSE;
    return 0;
}

LRESULT CDropDownList::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    // The release lands on the client area only, never on the scroll bar: a row was clicked.
    bHandled = FALSE;
    DefWindowProc();
    bHandled = TRUE;
    g_dropDown.Close(1);
    return 0;
}

LRESULT CDropDownList::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    g_dropDown.Close(0);
    return 0;
}

HWND CComboDropDown::Open(HWND field, const std::vector<std::string>& choices, char* buffer, size_t bufferSize,
                          UINT commit)
{
    DestroyNow();
    m_field = field;
    ::GetWindowRect(field, &m_fieldRect);
    m_choices = choices;
    m_buffer = buffer;
    m_bufferSize = bufferSize;
    m_commit = commit;
    m_closed = false;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, "COMBO", reinterpret_cast<const char*>(RT_DIALOG));
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const auto* dialogTemplate = loaded != nullptr ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    if (dialogTemplate == nullptr) return nullptr;
    HWND window = CreateIndirectFrom(instance, dialogTemplate, field, 0);
    if (window == nullptr) return nullptr;
    const RECT final = PanelDropDownFinalRect(m_fieldRect, GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(window, nullptr, final.left, final.top, final.right - final.left, final.bottom - final.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(window, SW_SHOW);
    if (m_list.m_hWnd != nullptr) ::SetFocus(m_list.m_hWnd);
    WatchPresses();
    return window;
}

LRESULT CComboDropDown::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    const RECT initial = PanelDropDownInitialRect(m_fieldRect, GetSystemMetrics(SM_CYSCREEN));
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, initial.left, initial.top, initial.right - initial.left,
                   initial.bottom - initial.top, SWP_NOACTIVATE);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HWND list = CreateWindowExA(0, "listbox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | LBS_HASSTRINGS,
                                0, 0, client.right, client.bottom, m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPanelDropDownListId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (list == nullptr) return 1;
    if (KitFont2 != nullptr) ::SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(KitFont2), 0);
    for (const std::string& choice : m_choices)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    m_list.dialog = m_hWnd;
    m_list.SubclassWindow(list);
    ::SetFocus(list);
    return 0;
}

LRESULT CComboDropDown::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (LOWORD(wParam) != kPanelDropDownListId) {
        // The dialog's default OK and Cancel never end it: only the list does.
        return 0;
    }
    if (HIWORD(wParam) == LBN_DBLCLK) {
        Close(1);
    } else if (HIWORD(wParam) == LBN_KILLFOCUS) {
        if (!m_closed) {
            Close(0);
            if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_FOCUS_INPUT, 0, 0);
        }
    } else {
        bHandled = FALSE;
    }
    return 0;
}

void CComboDropDown::Close(int result)
{
    if (m_closed || m_hWnd == nullptr) return;
    m_closed = true;
    StopWatchingPresses();
    if (result == 1 && m_list.m_hWnd != nullptr) {
        const LRESULT row = ::SendMessageA(m_list.m_hWnd, LB_GETCURSEL, 0, 0);
        if (row != LB_ERR && static_cast<size_t>(row) < m_choices.size() && m_buffer != nullptr) {
            DbcsCopy(m_buffer, m_bufferSize, m_choices[static_cast<size_t>(row)].c_str());
            if (m_field != nullptr && ::IsWindow(m_field)) ::PostMessageA(m_field, m_commit, 0, 0);
        }
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    ::PostMessageA(m_hWnd, kDropDownDestroy, 0, 0);
}

}  // namespace

namespace {

// Under the field at its width: above it when fewer than nearEdge pixels are left below, down
// to margin pixels above the screen's edge when fewer than 200 are, else height pixels high.
RECT DropDownRect(const RECT& field, int screenHeight, int nearEdge, int margin, int height)
{
    if (screenHeight < field.bottom + nearEdge) return RECT{field.left, field.bottom - 200, field.right, field.bottom};
    if (screenHeight < field.bottom + 200) return RECT{field.left, field.bottom, field.right, screenHeight - margin};
    return RECT{field.left, field.bottom, field.right, field.bottom + height};
}

}  // namespace

RECT PanelDropDownInitialRect(const RECT& field, int screenHeight) { return DropDownRect(field, screenHeight, 100, 20, 180); }

RECT PanelDropDownFinalRect(const RECT& field, int screenHeight) { return DropDownRect(field, screenHeight, 70, 0, 200); }

HWND OpenPanelComboDropDown(HWND field, const std::vector<std::string>& choices, char* buffer, size_t bufferSize,
                            UINT commitMessage)
{
    if (field == nullptr) return nullptr;
    return g_dropDown.Open(field, choices, buffer, bufferSize, commitMessage);
}

HWND PanelComboDropDownWindow()
{
    HWND window = g_dropDown.m_hWnd;
    return window != nullptr && ::IsWindow(window) && ::IsWindowVisible(window) ? window : nullptr;
}

void ClosePanelComboDropDown()
{
    g_dropDown.Close(0);
}
