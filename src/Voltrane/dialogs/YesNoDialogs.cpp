#include "dialogs/YesNoDialogs.h"

#include "core/CadSystem.h"
#include <initializer_list>

#include "core/MonitorHelpers.h"
#include "dialogs/YesNoPrompt.h"

namespace {

// The dialog the keyboard hook of the open Yes/No/Cancel prompt reports to.
HWND g_hookTarget = nullptr;

// Icons, caption and the place beside the pointer, shared by both prompts.
void PreparePrompt(HWND dialog, YesNoPlacementData& data)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (HICON large = LoadIconA(instance, MAKEINTRESOURCEA(kYesNoIcon)))
        ::SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    if (HANDLE smallIcon = LoadImageA(instance, MAKEINTRESOURCEA(kYesNoIcon), IMAGE_ICON, 16, 16, 0))
        ::SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    if (!data.caption.empty()) ::SetWindowTextA(dialog, data.caption.c_str());
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    int right = 0, bottom = 0;
    GetMonitorSizeAt(pointer.x, pointer.y - 100 < 0 ? 0 : pointer.y - 100, &right, &bottom);
    const POINT at = PlacePromptAtCursor(pointer, &data.useSaved, &data.saved, right, bottom);
    ::SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// The pointer onto the dialog's default answer: a fraction across, the middle of the client
// height down.
void PointerOnto(HWND dialog, int widthDivisor)
{
    RECT r;
    ::GetWindowRect(dialog, &r);
    SetCursorPos(r.left + (r.right - r.left) / widthDivisor, (r.top + r.bottom + GetSystemMetrics(SM_CYCAPTION)) / 2);
}

}  // namespace

CYesNoCanDlg::~CYesNoCanDlg()
{
    if (m_background != nullptr) DeleteObject(m_background);
}

LRESULT CALLBACK CYesNoCanDlg::KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    // Only a key going down and taken from the queue: a key merely looked at (HC_NOREMOVE)
    // comes again, and a release (bits 30 and 31 set) would answer the next prompt too.
    if (code == HC_ACTION && g_hookTarget != nullptr && static_cast<DWORD>(lParam) < 0x40000000u &&
        (wParam == VK_ESCAPE || wParam == VK_SPACE || wParam == 'N' || wParam == 'Y')) {
        ::SendMessageA(g_hookTarget, WM_KEYDOWN, wParam, lParam);
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CYesNoCanDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    m_previousHookTarget = g_hookTarget;
    g_hookTarget = m_hWnd;
    m_hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, nullptr, GetCurrentThreadId());
    PreparePrompt(m_hWnd, *this);
    if (m_background == nullptr) m_background = CreateSolidBrush(GetDialogBackColor());
    for (int id : {IDYES, IDCANCEL, kYesNoCanNoButton}) {
        if (HWND button = ::GetDlgItem(m_hWnd, id))
            ::SetWindowLongA(button, GWL_STYLE, ::GetWindowLongA(button, GWL_STYLE) | BS_OWNERDRAW);
    }
    const struct {
        CYesNoButtonPaint* painter;
        COLORREF colour;
    } painters[] = {{&m_yes, 0xF0C8A0}, {&m_no, 0xC9AFFD}, {&m_cancel, 0xB6E3EE}};
    for (const auto& p : painters) {
        p.painter->SetFont(24);
        p.painter->faceColour1 = p.colour;
        p.painter->faceColour2 = p.colour;
    }
    PointerOnto(m_hWnd, 6);
    return 1;
}

LRESULT CYesNoCanDlg::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    handled = FALSE;
    if (item == nullptr) return 0;
    CYesNoButtonPaint* painter = nullptr;
    const char* text = "";
    switch (wParam) {
    case IDYES: painter = &m_yes; text = "Yes"; break;
    case kYesNoCanNoButton: painter = &m_no; text = "No"; break;
    case IDCANCEL: painter = &m_cancel; text = "ｷｬﾝｾﾙ"; break;
    default: return 0;
    }
    painter->Draw(item->hwndItem, item->hDC, 1, 0, item->rcItem, text);
    return 0;
}

LRESULT CYesNoCanDlg::OnButtonColour(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    if (id != IDYES && id != kYesNoCanNoButton && id != IDCANCEL) {
        handled = FALSE;
        return 0;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkColor(dc, 0xFF0000);
    SetTextColor(dc, 0);
    return reinterpret_cast<LRESULT>(m_background);
}

void CYesNoCanDlg::End(int code, bool clearSaved)
{
    if (clearSaved) useSaved = 0;
    EndDialog(code);
}

LRESULT CYesNoCanDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    switch (LOWORD(wParam)) {
    case IDYES: End(IDYES, true); break;
    case IDCANCEL: End(IDCANCEL, true); break;
    case kYesNoCanNoButton: End(kYesNoCanNoButton, false); break;
    default: handled = FALSE; break;
    }
    return 0;
}

LRESULT CYesNoCanDlg::OnKeyDown(UINT, WPARAM key, LPARAM, BOOL&)
{
    if (key == VK_ESCAPE) End(IDCANCEL, true);
    else if (key == 'Y') End(IDYES, true);
    else if (key == 'N') End(kYesNoKeyNo, false);
    return 0;
}

LRESULT CYesNoCanDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (m_hook != nullptr) UnhookWindowsHookEx(m_hook);
    m_hook = nullptr;
    g_hookTarget = m_previousHookTarget;
    handled = FALSE;
    return 0;
}

LRESULT CYesNoDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    PreparePrompt(m_hWnd, *this);
    RECT cancel = {0, 0, 60, 20};
    if (HWND button = ::GetDlgItem(m_hWnd, IDCANCEL)) ::GetWindowRect(button, &cancel);
    const RECT place = {1, 1, 1 + (cancel.right - cancel.left), 1 + (cancel.bottom - cancel.top) - 1};
    m_button.Create(m_hWnd, &place, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kYesNoKeyNo)));
    PointerOnto(m_hWnd, 4);
    if (m_button.m_hWnd != nullptr) ::SetFocus(m_button.m_hWnd);
    return 0;
}

LRESULT CYesNoDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (LOWORD(wParam) != IDCANCEL) {
        handled = FALSE;
        return 0;
    }
    useSaved = 0;
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CYesNoDlg::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->idFrom != static_cast<UINT_PTR>(kYesNoKeyNo)) {
        handled = FALSE;
        return 0;
    }
    if (static_cast<int>(header->code) == kYesNoLeftClick) {
        useSaved = 0;
        EndDialog(IDYES);
    } else if (static_cast<int>(header->code) == kYesNoRightClick) {
        EndDialog(IDNO);
    } else {
        handled = FALSE;
    }
    return 0;
}
