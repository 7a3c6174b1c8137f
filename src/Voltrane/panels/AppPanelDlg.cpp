#include "panels/AppPanelDlg.h"

#include <cstring>

#include "HostMessages.h"
#include "WinKit/AppModule.h"
#include "core/CadSystem.h"
#include "core/MessageCatalog.h"

HWND CAppPanelDlg::Create(HWND parent) { return CreateFrom(GetModuleHandleA(nullptr), kAppPanelDlgTemplate, parent, 0); }

LRESULT CAppPanelDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    const char* icon = MAKEINTRESOURCEA(kAppPanelDlgIcon);
    if (HANDLE bigIcon = LoadImageA(instance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0))
        ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (HANDLE smallIcon = LoadImageA(instance, icon, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))
        ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    return 1;
}

LRESULT CAppPanelDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    bHandled = FALSE;
    return 0;
}

BOOL CAppPanelDlg::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || !::IsWindowVisible(m_hWnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

int CAppPanelDlg::DragRectAllowed(const RECT& moved, const RECT& frame)
{
    if (moved.right > frame.right + 5 || moved.left < frame.left - 5) return 0;
    if (moved.top < frame.top || moved.bottom > frame.bottom) return 0;
    return 1;
}

void CAppPanelDlg::DrawDragFrame()
{
    HDC dc = ::GetDC(nullptr);
    const RECT& r = m_dragRect;
    PatBlt(dc, r.left - 2, r.top - 2, r.right - r.left + 4, 1, DSTINVERT);
    PatBlt(dc, r.left - 2, r.bottom + 1, r.right - r.left + 4, 1, DSTINVERT);
    PatBlt(dc, r.left - 2, r.top - 1, 1, r.bottom - r.top + 2, DSTINVERT);
    PatBlt(dc, r.right + 1, r.top - 1, 1, r.bottom - r.top + 2, DSTINVERT);
    ::ReleaseDC(nullptr, dc);
}

LRESULT CAppPanelDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND frame = GetMainFrameWnd();
    if (dragging || (frame != nullptr && !::IsWindowEnabled(frame))) return 0;
    dragging = 1;
    ::SetCapture(m_hWnd);
    ::GetCursorPos(&m_cursor);
    ::GetWindowRect(m_hWnd, &m_dragRect);
    m_offset = {m_cursor.x - m_dragRect.left, m_cursor.y - m_dragRect.top};
    DrawDragFrame();
    return 0;
}

LRESULT CAppPanelDlg::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    if (!dragging) return 0;
    DrawDragFrame();
    ::GetCursorPos(&m_cursor);
    RECT moved = m_dragRect;
    OffsetRect(&moved, m_cursor.x - m_offset.x - m_dragRect.left, m_cursor.y - m_offset.y - m_dragRect.top);
    RECT frameRect = {0, 0, 0, 0};
    HWND frame = GetMainFrameWnd() != nullptr ? GetMainFrameWnd() : ::GetParent(m_hWnd);
    if (frame == nullptr || !::GetWindowRect(frame, &frameRect) || DragRectAllowed(moved, frameRect)) m_dragRect = moved;
    DrawDragFrame();
    return 0;
}

LRESULT CAppPanelDlg::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND frame = GetMainFrameWnd();
    if (!dragging || (frame != nullptr && !::IsWindowEnabled(frame))) return 0;
    dragging = 0;
    ::ReleaseCapture();
    DrawDragFrame();
    POINT topLeft = {m_dragRect.left, m_dragRect.top};
    ::ScreenToClient(::GetParent(m_hWnd), &topLeft);
    ::SetWindowPos(m_hWnd, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (frame != nullptr) ::SendMessageA(frame, WM_SIZE, 0, 0);
    return 0;
}

LRESULT CAppPanelDlg::OnRButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    if (!::IsWindowEnabled(m_hWnd)) return 0;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return 0;
    AppendMenuA(menu, MF_STRING, kAppPanelDlgEndCommand, GetMessageText(5180));
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(m_hWnd, &at);
    TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    return 0;
}

LRESULT CAppPanelDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    // Every command stops here, so Enter and Esc never close the dialog.
    if (LOWORD(wParam) == kAppPanelDlgEndCommand)
        if (HWND frame = GetMainFrameWnd()) ::SendMessageA(frame, WM_CAD_CANCEL_COMMAND, 0, 0);
    return 0;
}
