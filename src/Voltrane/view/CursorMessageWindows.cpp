#include "view/CursorMessageWindows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"
#include "MemoryProbe.h"

namespace {

const char kCursorMsgClass[] = "VoltraneCursorMsg";
const char kSnapTipClass[] = "VoltraneSnapTip";
const UINT_PTR kSnapTimer = 10;

struct MessageState {
    std::string text;
    int mode = 0;  // 0 off, 1 with the command grid, 10 plain
    int gridMessage = 0;
};

MessageState& Messages()
{
    static MessageState state;
    return state;
}

void RegisterClassOnce(const char* name, WNDPROC proc)
{
    WNDCLASSA wc = {};
    if (::GetClassInfoA(::GetModuleHandleA(nullptr), name, &wc)) return;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    ::RegisterClassA(&wc);
}

HWND CreatePopup(const char* className, HWND parent, void* owner)
{
    return ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, className, "", WS_POPUP | WS_BORDER, 0, 0, 10, 10,
                             parent, nullptr, ::GetModuleHandleA(nullptr), owner);
}

template <typename T>
T* OwnerOf(HWND window, UINT message, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<T*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
}

SIZE MeasureText(HWND window, HFONT font, const std::string& text)
{
    SIZE size = {0, 0};
    HDC dc = ::GetDC(window);
    HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (old) ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size;
}

}  // namespace

void FormatGridMessageLines(double dx, double dy, std::string* line1, std::string* line2)
{
    char x[64], y[64];
    std::snprintf(x, sizeof x, "%.0lf", dx);
    std::snprintf(y, sizeof y, "%.0lf", dy);
    const int width = static_cast<int>(std::max(std::strlen(x), std::strlen(y)));
    char out[160];
    std::snprintf(out, sizeof out, " X:%*s ", width, x);
    *line1 = out;
    std::snprintf(out, sizeof out, " Y:%*s ", width, y);
    *line2 = out;
}

const char* SnapPointName(int index)
{
    static const char* const names[] = {nullptr, "端点", "交点", "線上", "中点", "中心"};
    return index >= 1 && index <= 5 ? names[index] : nullptr;
}

int SnapTipWidth(int textWidth) { return textWidth < 32 ? 37 : textWidth + 5; }

// ---- CCursorMsgWin ----

CCursorMsgWin::~CCursorMsgWin()
{
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
    if (m_font) ::DeleteObject(m_font);
}

void CCursorMsgWin::Create(HWND parent)
{
    if (m_disabled || m_window) return;
    if (m_kind == kGrid) m_placement = 1;
    RegisterClassOnce(kCursorMsgClass, WndProc);
    m_window = CreatePopup(kCursorMsgClass, parent, this);
    if (!m_font)
        m_font = ::CreateFontA(m_kind == kMessage ? 14 : 12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                               PROOF_QUALITY, FIXED_PITCH, "ＭＳ ゴシック");
}

int CCursorMsgWin::Update(const POINT* anchor)
{
    if (m_disabled || (m_kind != kMessage && m_kind != kGrid)) return 0;
    if (m_kind == kGrid && !GetViewGridSnap().active) return 0;
    if (!m_window) Create(GetActiveView());
    if (!m_window) return 0;
    std::string measured;
    if (m_kind == kGrid) {
        double point[3] = {0, 0, 0};
        GetCursorWorldPoint(&point[0], &point[1]);
        int done = 0;
        SnapCursorToViewGrid(point, &done);
        const ViewGridSnap& grid = GetViewGridSnap();
        FormatGridMessageLines(point[0] - grid.originX, point[1] - grid.originY, &m_line1, &m_line2);
        measured = m_line1.size() >= m_line2.size() ? m_line1 : m_line2;
    } else {
        m_text = Messages().text;
        measured = m_text;
    }
    if (measured.empty()) return 0;
    SIZE size = MeasureText(m_window, m_font, measured);
    if (m_kind == kGrid) size.cy *= 2;
    if (anchor) {
        m_anchor = *anchor;
    } else {
        ::GetCursorPos(&m_anchor);
    }
    const int width = std::max<int>(size.cx, m_kind == kGrid ? 20 : 10) + 5;
    const int height = std::max<int>(size.cy, 2) + 4;
    int x = m_anchor.x + 8, y = m_anchor.y + 8;
    if (m_placement == 0) x = m_anchor.x - width - 8;
    if (m_placement == 2) y = m_anchor.y - height - 8;
    if (m_placement == 3) x = m_anchor.x - width - 8, y = m_anchor.y - height - 8;
    ::SetWindowPos(m_window, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_shown = 1;
    ::InvalidateRect(m_window, nullptr, TRUE);
    ::UpdateWindow(m_window);
    return 1;
}

void CCursorMsgWin::Hide()
{
    if (m_window && ::IsWindow(m_window)) ::ShowWindow(m_window, SW_HIDE);
    m_shown = 0;
}

void CCursorMsgWin::Paint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_window, &ps);
    RECT client;
    ::GetClientRect(m_window, &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(0, 0, 0));
    HGDIOBJ old = m_font ? ::SelectObject(dc, m_font) : nullptr;
    if (m_kind == kGrid) {
        ::TextOutA(dc, 2, 1, m_line1.c_str(), static_cast<int>(m_line1.size()));
        ::TextOutA(dc, 2, client.bottom / 2 + 1, m_line2.c_str(), static_cast<int>(m_line2.size()));
    } else {
        ::TextOutA(dc, 2, 1, m_text.c_str(), static_cast<int>(m_text.size()));
    }
    if (old) ::SelectObject(dc, old);
    ::EndPaint(m_window, &ps);
}

LRESULT CALLBACK CCursorMsgWin::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CCursorMsgWin* self = OwnerOf<CCursorMsgWin>(window, message, lParam);
    if (self) {
        switch (message) {
        case WM_PAINT: self->Paint(); return 0;
        case WM_MOUSEMOVE: return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == 1000) self->Update(nullptr);
            if (LOWORD(wParam) == 1001) {
                self->Hide();
                ::DestroyWindow(window);
            }
            return 0;
        case WM_NCDESTROY:
            self->m_window = nullptr;
            self->m_shown = 0;
            break;
        default: break;
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// ---- CSnapWin ----

CSnapWin::~CSnapWin()
{
    if (m_window && ::IsWindow(m_window)) ::DestroyWindow(m_window);
}

void CSnapWin::Hide()
{
    if (m_window && ::IsWindow(m_window)) {
        ::KillTimer(m_window, kSnapTimer);
        ::DestroyWindow(m_window);
    }
    m_window = nullptr;
    m_shown = 0;
}

void CSnapWin::ShowSnapName(int index, const POINT* anchor)
{
    if (m_disabled) return;
    if (m_shown) Hide();
    const char* name = SnapPointName(index);
    if (!name) return;
    RegisterClassOnce(kSnapTipClass, WndProc);
    if (!m_window) m_window = CreatePopup(kSnapTipClass, GetActiveView(), this);
    if (!m_window) return;
    if (anchor) {
        m_anchor = *anchor;
    } else {
        ::GetCursorPos(&m_anchor);
    }
    m_text = name;
    const SIZE size = MeasureText(m_window, nullptr, m_text);
    const int width = SnapTipWidth(size.cx);
    const int height = std::max<int>(size.cy, 16) + 4;
    ::SetTimer(m_window, kSnapTimer, 800, nullptr);
    ::SetWindowPos(m_window, HWND_TOPMOST, m_anchor.x + 8, m_anchor.y - height - 8, width, height,
                   SWP_NOACTIVATE | SWP_NOREDRAW);
    ::ShowWindow(m_window, SW_SHOWNOACTIVATE);
    m_shown = 1;
}

void CSnapWin::HideIfCursorLeft()
{
    POINT now;
    if (!::GetCursorPos(&now)) return;
    if (std::abs(now.x - m_anchor.x) > 2 || std::abs(now.y - m_anchor.y) > 2) Hide();
}

LRESULT CALLBACK CSnapWin::WndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSnapWin* self = OwnerOf<CSnapWin>(window, message, lParam);
    if (self) {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(window, &ps);
            RECT client;
            ::GetClientRect(window, &client);
            ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, RGB(0, 0, 0));
            ::TextOutA(dc, 2, 1, self->m_text.c_str(), static_cast<int>(self->m_text.size()));
            ::EndPaint(window, &ps);
            return 0;
        }
        case WM_TIMER:
        case WM_MOUSEMOVE:
            self->HideIfCursorLeft();
            return 0;
        case WM_NCDESTROY:
            if (self->m_window == window) {
                self->m_window = nullptr;
                self->m_shown = 0;
            }
            break;
        default: break;
        }
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

CSnapWin& GetSnapWin()
{
    static CSnapWin window;
    return window;
}

CCursorMsgWin& GetCursorMessageWindow(int kind)
{
    static CCursorMsgWin message(CCursorMsgWin::kMessage);
    static CCursorMsgWin grid(CCursorMsgWin::kGrid);
    return kind == CCursorMsgWin::kGrid ? grid : message;
}

namespace {

void HideMessages()
{
    GetCursorMessageWindow(CCursorMsgWin::kMessage).Hide();
    GetCursorMessageWindow(CCursorMsgWin::kGrid).Hide();
    Messages().text.clear();
    Messages().mode = 0;
}

// The point a running command hands with 8001 (x, y, z); null when lParam holds none.
const double* CommandPoint(LPARAM lParam)
{
    const auto* point = reinterpret_cast<const double*>(lParam);
    return point != nullptr && !IsBadReadMemory(point, 3 * sizeof(double)) ? point : nullptr;
}

const char* CommandText(LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    return text != nullptr && !IsBadStringMemory(text, 1024) ? text : "";
}

}  // namespace

void UpdateCursorMessagesOnMove()
{
    const MessageState& m = Messages();
    if (m.mode == 10) {
        GetCursorMessageWindow(CCursorMsgWin::kMessage).Update(nullptr);
    } else if (m.mode == 1) {
        if (IsGridSnapKeyHeld()) {
            GetCursorMessageWindow(CCursorMsgWin::kMessage).Update(nullptr);
            GetCursorMessageWindow(CCursorMsgWin::kGrid).Update(nullptr);
        } else {
            if (!m.gridMessage) GetCursorMessageWindow(CCursorMsgWin::kMessage).Hide();
            GetCursorMessageWindow(CCursorMsgWin::kGrid).Hide();
        }
    }
}

void HandleCursorMessageCommand(HWND, WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    CCursorMsgWin& first = GetCursorMessageWindow(CCursorMsgWin::kMessage);
    CCursorMsgWin& second = GetCursorMessageWindow(CCursorMsgWin::kGrid);
    if (id == 8000) {
        if (code == 1) {
            Messages().text = CommandText(lParam);
            Messages().mode = 10;
            first.SetPlacement(1);
            GetViewGridSnap().keyRequired = 0;
            SetViewGridSnapOrigin(nullptr);
            second.Hide();
            first.Update(nullptr);
        } else if (code == 0) {
            HideMessages();
        }
        return;
    }
    if (id != 8001) return;
    switch (code) {
    case 0: HideMessages(); return;
    case 1:
        Messages().text = CommandText(lParam);
        Messages().mode = 1;
        first.SetPlacement(0);
        GetViewGridSnap().keyRequired = 1;
        return;
    case 10:
        SetViewGridSnapOrigin(nullptr);
        second.Hide();
        return;
    case 11:
        if (const double* point = CommandPoint(lParam)) SetViewGridSnapOrigin(point);
        return;
    case 20: SetViewGridSnapPitch(CommandPoint(lParam)); return;
    case 21: Messages().gridMessage = static_cast<int>(lParam); return;
    default: return;
    }
}
