#include "view/RiririScrollButton.h"

#include <commctrl.h>

#include <cstring>

#include "core/Dbcs.h"

namespace {

constexpr UINT_PTR kFirstRepeatTimer = 1000;
constexpr UINT_PTR kRepeatTimer = 1001;

}  // namespace

UINT ButtonRepeatDelay()
{
    int delay = 0;
    if (!SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0)) return 250;
    return static_cast<UINT>((delay + 1) * 250);
}

UINT ButtonRepeatPeriod()
{
    DWORD speed = 0;
    if (!SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0)) return 250;
    return static_cast<UINT>(10000 / (speed * 10 + 25));
}

HWND CRiririScrollButton::CreateButton(HWND parent, int id, Kind kind, const char* text, int style,
                                       COLORREF textColour, COLORREF background)
{
    m_id = id;
    m_kind = kind;
    m_style = style;
    m_text = text ? text : "";
    m_textColour = textColour;
    m_background = background;
    RECT rect = {0, 0, 1, 1};
    return Create(parent, &rect, m_text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

LRESULT CRiririScrollButton::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    // The button paints itself; the system button only keeps its state and keys.
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, ::GetWindowLongPtrA(m_hWnd, GWL_STYLE) | BS_OWNERDRAW);
    m_toolTip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (m_toolTip != nullptr && !m_text.empty()) {
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;
        tool.hwnd = m_hWnd;
        tool.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
        tool.lpszText = const_cast<char*>(m_text.c_str());
        ::SendMessageA(m_toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CRiririScrollButton::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (m_toolTip != nullptr) ::DestroyWindow(m_toolTip);
    m_toolTip = nullptr;
    bHandled = FALSE;
    return 0;
}

void CRiririScrollButton::Relay(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_toolTip == nullptr) return;
    MSG message = {m_hWnd, msg, wParam, lParam, 0, {0, 0}};
    ::SendMessageA(m_toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

bool CRiririScrollButton::CursorOver() const
{
    POINT p;
    GetCursorPos(&p);
    RECT r;
    ::GetWindowRect(m_hWnd, &r);
    return PtInRect(&r, p) != FALSE;
}

void CRiririScrollButton::SetPressed(bool pressed)
{
    const int status = pressed ? (m_status | 4) : (m_status & ~4);
    if (status == m_status) return;
    m_status = status;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CRiririScrollButton::Fire()
{
    if (HWND parent = ::GetParent(m_hWnd)) ::SendMessageA(parent, WM_COMMAND, static_cast<WPARAM>(m_id), 0);
}

LRESULT CRiririScrollButton::OnLeftDown(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    Relay(msg, wParam, lParam);
    ::SetCapture(m_hWnd);
    SetPressed(true);
    if (m_style & kAutoRepeat) ::SetTimer(m_hWnd, kFirstRepeatTimer, ButtonRepeatDelay(), nullptr);
    return 0;
}

LRESULT CRiririScrollButton::OnLeftUp(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    Relay(msg, wParam, lParam);
    const bool fire = (m_status & 4) != 0 && CursorOver();
    ::KillTimer(m_hWnd, kFirstRepeatTimer);
    ::KillTimer(m_hWnd, kRepeatTimer);
    SetPressed(false);
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (fire) Fire();
    if (HWND parent = ::GetParent(m_hWnd)) ::SetFocus(parent);
    return 0;
}

LRESULT CRiririScrollButton::OnMouseMove(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    Relay(msg, wParam, lParam);
    if (::GetCapture() == m_hWnd) SetPressed(CursorOver());
    if ((m_status & 1) == 0) {
        m_status |= 1;
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
        TrackMouseEvent(&track);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
    }
    return 0;
}

LRESULT CRiririScrollButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&)
{
    m_status &= ~1;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CRiririScrollButton::OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&)
{
    ::KillTimer(m_hWnd, kFirstRepeatTimer);
    ::KillTimer(m_hWnd, kRepeatTimer);
    SetPressed(false);
    return 0;
}

LRESULT CRiririScrollButton::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam == kFirstRepeatTimer) {
        ::KillTimer(m_hWnd, kFirstRepeatTimer);
        Fire();
        ::SetTimer(m_hWnd, kRepeatTimer, ButtonRepeatPeriod(), nullptr);
    } else if (wParam == kRepeatTimer) {
        if ((m_status & 4) == 0 && ::GetCapture() != m_hWnd) ::KillTimer(m_hWnd, kRepeatTimer);
        else if (m_status & 4) Fire();
    }
    return 0;
}

LRESULT CRiririScrollButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    Draw(dc);
    EndPaint(m_hWnd, &paint);
    return 0;
}

LRESULT CRiririScrollButton::OnPrintClient(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    Draw(reinterpret_cast<HDC>(wParam));
    return 0;
}

void CRiririScrollButton::Draw(HDC dc)
{
    RECT rect;
    ::GetClientRect(m_hWnd, &rect);
    const bool hovered = (m_style & kHover) && (m_status & 1);
    HBRUSH brush = CreateSolidBrush(m_background);
    HPEN pen = CreatePen(hovered ? PS_DASH : PS_SOLID, 1, GetSysColor(hovered ? COLOR_3DDKSHADOW : COLOR_BTNFACE));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    const bool pressed = (m_status & 4) != 0;
    const int x = (rect.left + rect.right) / 2 - (pressed ? 1 : 0);
    const int y = (rect.top + rect.bottom) / 2 - (pressed ? 1 : 0);
    if (m_kind >= kUp) {
        POINT t[3];
        switch (m_kind) {
        case kUp: t[0] = {x + 9, y + 4}, t[1] = {x - 9, y + 4}, t[2] = {x, y - 5}; break;
        case kDown: t[0] = {x + 9, y - 4}, t[1] = {x - 9, y - 4}, t[2] = {x, y + 5}; break;
        case kLeft: t[0] = {x + 4, y + 9}, t[1] = {x + 4, y - 9}, t[2] = {x - 5, y}; break;
        default: t[0] = {x - 4, y + 9}, t[1] = {x - 4, y - 9}, t[2] = {x + 5, y}; break;
        }
        HBRUSH fill = CreateSolidBrush(m_textColour);
        HPEN outline = CreatePen(PS_SOLID, 1, m_textColour);
        SelectObject(dc, fill);
        SelectObject(dc, outline);
        Polygon(dc, t, 3);
        SelectObject(dc, brush);
        SelectObject(dc, pen);
        DeleteObject(fill);
        DeleteObject(outline);
    } else {
        LOGFONTA lf = {};
        lf.lfHeight = -MulDiv(10, GetDeviceCaps(dc, LOGPIXELSY), 72);
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::strcpy(lf.lfFaceName, "ＭＳ ゴシック");
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, m_textColour);
        if (m_kind == kText) {
            DrawTextA(dc, m_text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        } else {
            // One character per line, double-byte characters kept whole.
            std::string lines;
            for (size_t i = 0; i < m_text.size(); ++i) {
                const bool lead = IsSjisLeadByte(static_cast<unsigned char>(m_text[i])) != 0;
                if (!lines.empty()) lines += '\n';
                lines += m_text[i];
                if (lead && i + 1 < m_text.size()) lines += m_text[++i];
            }
            RECT measure = rect;
            DrawTextA(dc, lines.c_str(), -1, &measure, DT_CENTER | DT_CALCRECT);
            RECT place = rect;
            place.top = rect.top + ((rect.bottom - rect.top) - (measure.bottom - measure.top)) / 2;
            DrawTextA(dc, lines.c_str(), -1, &place, DT_CENTER);
        }
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    if (m_style & (kEdge3d | kEdge3dPressed)) DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}
