#include "view/RiririView.h"

#include <cstdlib>

#include "commands/CommandCatalog.h"
#include "commands/InputEvent.h"
#include "commands/InputWaitLoop.h"
#include "commands/LinkTags.h"
#include "commands/SystemCommandDispatcher.h"
#include "commands/TempDatabase.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "drawing/CadDatabase.h"
#include "mainframe/FrameServices.h"
#include "panels/RightMenu.h"
#include "mainframe/MainFrame.h"
#include "view/ViewCommands.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"
#include "view/CursorMessageWindows.h"
#include "view/DragPreview.h"
#include "view/LayoutCells.h"
#include "view/LoupeView.h"
#include "view/RubberBand.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

ViewMouseState g_mouse;

POINT PointOf(LPARAM lParam)
{
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

POINT ScreenPointOf(HWND window, LPARAM lParam)
{
    POINT point = PointOf(lParam);
    ::ClientToScreen(window, &point);
    return point;
}

TextStyleBlock TextStyleFromSettings()
{
    TextStyleBlock style = {};
    const ConfigData& config = GetCadSystem().config;
    lstrcpynA(style.fontName, config.STRINFO_FONTNAME.c_str(), sizeof style.fontName);
    style.height = config.STRINFO_HEIGHT;
    style.charRatio = config.STRINFO_CHARRATIO;
    style.interval = config.STRINFO_INTERVAL;
    style.colour = config.STRINFO_COLOR;
    return style;
}

// The pointer over the view: the plain arrow while the keyboard cursor is in charge.
HCURSOR ViewPointerImage()
{
    return IsKeyCursorActive() ? LoadCursorA(nullptr, IDC_ARROW) : ViewCursorForMouseSetting();
}

}  // namespace

ViewMouseState& GetViewMouseState() { return g_mouse; }

int GestureDirection(POINT press, POINT cursor)
{
    const int dx = cursor.x - press.x, dy = cursor.y - press.y;
    if (std::abs(dx) <= 10 && std::abs(dy) <= 10) return -1;
    if (dx >= 0) return dy <= 0 ? 0 : 1;
    return dy >= 0 ? 2 : 3;
}

int GestureCommand(int set, int direction)
{
    if (set < 1 || set > 2 || direction < 0 || direction > 3) return 0;
    const int id = GetCadSystem().config.MOUSEMOVECMD[(set - 1) * 4 + direction];
    return id >= 1000 && id <= 1339 ? id : 0;
}

RECT ViewInnerArea(HWND view)
{
    RECT r = {0, 0, 0, 0};
    if (!::GetWindowRect(view, &r)) return r;
    const int side = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXVSCROLL);
    r.left += side;
    r.right -= side;
    r.top += GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION);
    r.bottom -= GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYHSCROLL);
    return r;
}

bool IsOverViewInnerArea(HWND view, POINT screen)
{
    if (view == nullptr || ::WindowFromPoint(screen) != view) return false;
    const RECT inner = ViewInnerArea(view);
    return PtInRect(&inner, screen) != FALSE;
}

void TrackInnerAreaCapture(HWND view, POINT screen)
{
    HWND main = GetMainFrameWnd();
    // The mouse's place now decides, not where it was at the move before: a click just after
    // the mouse left the view (onto an edge button, a panel or the toolbar) is that window's.
    if (main != nullptr && ::GetActiveWindow() == main && IsOverViewInnerArea(view, screen)) {
        if (::GetCapture() != view) ::SetCapture(view);
        SetCursor(ViewPointerImage());
    } else if (::GetCapture() == view) {
        ::ReleaseCapture();
    }
}

bool HandCapturedPressOn(HWND view, UINT message, WPARAM keys, POINT screen)
{
    if (view == nullptr || ::GetCapture() != view || g_mouse.middleDown) return false;
    if (IsOverViewInnerArea(view, screen)) return false;
    // The view held the mouse only because it was over its inner area; a window of ours opened
    // there since (the loupe, a pop-up, a floating dialog) or the view's own frame is under it
    // now, and the press is that window's, as it would have been without the hold.
    ::ReleaseCapture();
    HWND target = ::WindowFromPoint(screen);
    if (target == nullptr || ::GetWindowThreadProcessId(target, nullptr) != ::GetCurrentThreadId()) return true;
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    const LRESULT hit = ::SendMessageA(target, WM_NCHITTEST, 0, at);
    if (hit == HTNOWHERE || hit == HTERROR || hit == HTTRANSPARENT) return true;
    HWND top = ::GetAncestor(target, GA_ROOT);
    if (top != nullptr && top != ::GetActiveWindow()) {
        const LRESULT answer = ::SendMessageA(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                              MAKELPARAM(hit, message));
        if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT || answer == 0) ::SetActiveWindow(top);
        if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT) return true;
    }
    if (hit == HTCLIENT) {
        POINT client = screen;
        ::ScreenToClient(target, &client);
        ::PostMessageA(target, message, keys, MAKELPARAM(client.x, client.y));
    } else {
        // The same press on the frame: WM_NC*BUTTON* lie as far below WM_*BUTTON* as
        // WM_NCMOUSEMOVE lies below WM_MOUSEMOVE.
        ::PostMessageA(target, message - (WM_MOUSEMOVE - WM_NCMOUSEMOVE), static_cast<WPARAM>(hit), at);
    }
    return true;
}

LRESULT MouseActivateAnswer(HWND view, POINT screen)
{
    if (!IsOverViewInnerArea(view, screen)) return 0;
    // A click that comes back to the view the mouse just left is an ordinary click; one that
    // comes into a view from elsewhere only activates it.
    const bool cameBack = g_mouse.lastLeftView == view;
    g_mouse.lastLeftView = nullptr;
    return cameBack ? -1 : MA_ACTIVATEANDEAT;
}

int CreateViewDatabase(HWND view, CCadDatabase* database)
{
    if (database == nullptr) {
        ::SetWindowLongPtrA(view, 0, 0);
        return 0;
    }
    const int drawingId = CurrentDrawingId();
    const int undoCount = GetLocalSettingsLive().setup.iUndoCount;
    const TextStyleBlock style = TextStyleFromSettings();
    int attributes[5];
    for (int i = 0; i < 5; ++i) attributes[i] = GetCadSystem().config.INIT_PARAMETER[i];
    const LocalSettingsLive& live = GetLocalSettingsLive();
    if (live.iDrawColorMode != 0) attributes[0] = live.iDrawColor;
    const int result = database->Create(0, &drawingId, nullptr, &undoCount, &style, attributes);
    ::SetWindowLongPtrA(view, 0, reinterpret_cast<LONG_PTR>(database->Block()));
    return result;
}

WinKit::CWndClassInfo& CRiririView::GetWndClassInfo()
{
    // Window long 0 holds the drawing block; 4 more bytes are kept free for the layout cells.
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, WinKit::CWindowImplRoot::WindowProc, 0, 8, nullptr, nullptr, nullptr,
         nullptr, nullptr, "RiririView", nullptr},
        nullptr, 0, nullptr};
    return info;
}

CRiririView::~CRiririView()
{
    delete m_surface;
    m_surface = nullptr;
}

PDBINFO* CRiririView::Block() const { return m_hWnd ? GetOwnViewBlock(m_hWnd) : nullptr; }

bool CRiririView::OtherViewLocked() const { return IsViewLocked() && !IsLockedView(m_hWnd); }

LRESULT CRiririView::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    m_surface = new CDrawSurface(m_hWnd, 0, 0, 0, CDrawSurface::kModeAuto, 1, 1);
    CreateViewDatabase(m_hWnd, m_database);
    GetFrameFlags().auxViewRefresh = 1;
    GetFrameFlags().repaintWithErase = 1;
    if (!GetLocalSettingsLive().setup.bScTestBtn) {
        ::SetScrollRange(m_hWnd, SB_HORZ, 0, 100, FALSE);
        ::SetScrollRange(m_hWnd, SB_VERT, 0, 100, FALSE);
    }
    m_createCursor = GetCursor();
    m_cursor.SetView(m_hWnd);
    m_cursor.LoadSettings();
    m_edgeButtonMode = GetCadSystem().config.ScrollBarMode;
    if (m_edgeButtonMode == 2) {
        ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(1051, 0xFF), 0);
        m_edgeZone = 255;
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CRiririView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    // A temporary database based on this view, and the overlays bound to it, go with it.
    OnDrawingWindowClosed(m_hWnd);
    delete m_surface;
    m_surface = nullptr;
    bHandled = FALSE;
    return 0;
}

LRESULT CRiririView::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    if (m_surface != nullptr) m_surface->Resize();
    m_cursor.Update(false);
    PDBINFO* block = Block();
    if (wParam == SIZE_MINIMIZED || block == nullptr) return 0;
    const int width = LOWORD(lParam), height = HIWORD(lParam);
    // A width of 0 (a window shrunk to nothing) would turn the scales into 0: the view keeps
    // its scales and its stored size until it has a width again.
    if (width == 0 || height == 0) return 0;
    if (block->clientWidth != 0 && block->clientHeight != 0) {
        const double ratio = static_cast<double>(width) / block->clientWidth;
        block->mode0.scale *= ratio;
        block->mode1.scale *= ratio;
    }
    block->clientWidth = width;
    block->clientHeight = height;
    if (block->pageLayout) PlaceLayoutCells(m_hWnd, width, height);
    return 0;
}

LRESULT CRiririView::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    // The paint covers the whole client area: the drawn cross-hair goes with the old picture.
    m_cursor.Forget();
    // A rubber band or a transform preview is drawn with XOR over the picture: a paint of part
    // of the view would leave the rest of it for the next erase to invert back on. A view with
    // one on it is painted whole and it is drawn again over the new picture.
    const bool band = IsRubberBandShownIn(m_hWnd);
    const bool preview = IsTransformPreviewShownIn(m_hWnd);
    if (band || preview) ::InvalidateRect(m_hWnd, nullptr, FALSE);
    PaintView(m_hWnd, Block(), m_surface);
    if (band) RedrawShownRubberBand(m_hWnd);
    if (preview) RedrawPendingTransformPreview(m_hWnd);
    return 0;
}

LRESULT CRiririView::OnSetCursor(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    PDBINFO* block = Block();
    if ((block != nullptr && block->pageLayout) || LOWORD(lParam) != HTCLIENT) {
        bHandled = FALSE;
        return 0;
    }
    SetCursor(ViewPointerImage());
    return TRUE;
}

LRESULT CRiririView::OnNonClientLeftDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    FrameCloseRightMenu();
    bHandled = OtherViewLocked() ? TRUE : FALSE;
    return 0;
}

LRESULT CRiririView::OnNonClientRightDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    FrameCloseRightMenu();
    if (OtherViewLocked()) return 0;
    if (wParam == HTCAPTION) GetActiveView();
    bHandled = FALSE;
    return 0;
}

LRESULT CRiririView::OnNonClientMove(UINT, WPARAM, LPARAM, BOOL&)
{
    // Leaving the drawing area over its frame or scroll bars gives up an open pop-up.
    FrameCloseRightMenu();
    return 0;
}

void CRiririView::ZoomAtCentre(bool zoomIn)
{
    double x = 0, y = 0;
    if (GetCursorWorldPoint(&x, &y)) SetKeyCursorPoint(x, y, 0.0);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    SetLastViewMousePoint(client.right / 2, client.bottom / 2);
    if (zoomIn) ZoomActiveViewIn(0, 0.7);
    else ZoomActiveViewOut(0, 0.7);
}

LRESULT CRiririView::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    switch (LOWORD(wParam)) {
    case 1000: case 1020: ::PostMessageA(m_hWnd, WM_VSCROLL, SB_LINEUP, 0); break;
    case 1001: case 1021: ::PostMessageA(m_hWnd, WM_VSCROLL, SB_LINEDOWN, 0); break;
    case 1002: case 1022: ::PostMessageA(m_hWnd, WM_HSCROLL, SB_LINELEFT, 0); break;
    case 1003: case 1023: ::PostMessageA(m_hWnd, WM_HSCROLL, SB_LINERIGHT, 0); break;
    case 1004: case 1007: case 1010: case 1013:
        if (m_database != nullptr) ZoomAtCentre(true);
        break;
    case 1005: case 1008: case 1011: case 1014:
        if (Block() != nullptr) ZoomAtCentre(false);
        break;
    case 1006: case 1009: case 1012: case 1015:
        UpdateRubberBand(m_hWnd, 0, 0, 1);
        FitViewToPaper();
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        ::UpdateWindow(m_hWnd);
        GetFrameFlags().auxViewRefresh = 1;
        break;
    case 3000:
        m_cursor.Update(false);
        break;
    case kViewCmdCursorMessage:
    case kViewCmdCommandGrid:
        HandleCursorMessageCommand(m_hWnd, wParam, lParam);
        break;
    default:
        break;
    }
    return 0;
}

namespace {

int ScrollPos(HWND view, int bar) { return ::GetScrollPos(view, bar); }

}  // namespace

LRESULT CRiririView::OnHScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (OtherViewLocked()) return 0;
    UpdateRubberBand(m_hWnd, 0, 0, 1);
    RaiseInputEvent(kEventPictureChanged);
    const bool edgeButtons = GetLocalSettingsLive().setup.bScTestBtn != 0;
    int p = ScrollPos(m_hWnd, SB_HORZ);
    switch (LOWORD(wParam)) {
    case SB_LINELEFT:
        if (!edgeButtons && p > 0) {
            ::SetScrollPos(m_hWnd, SB_HORZ, p - 3, TRUE);
            ScrollViewByPercent(m_hWnd, 3, 0);
        } else {
            ScrollViewStep(4, m_hWnd);
        }
        break;
    case SB_LINERIGHT:
        if (edgeButtons || p >= 100) {
            ScrollViewStep(3, m_hWnd);
        } else {
            ::SetScrollPos(m_hWnd, SB_HORZ, p + 3, TRUE);
            ScrollViewByPercent(m_hWnd, -3, 0);
        }
        break;
    case SB_PAGELEFT:
        ::SetScrollPos(m_hWnd, SB_HORZ, p - 10 < 0 ? 0 : p - 10, TRUE);
        ScrollViewByPercent(m_hWnd, 10, 0);
        break;
    case SB_PAGERIGHT:
        ::SetScrollPos(m_hWnd, SB_HORZ, p + 10 > 100 ? 100 : p + 10, TRUE);
        ScrollViewByPercent(m_hWnd, -10, 0);
        break;
    case SB_THUMBPOSITION: {
        const int now = static_cast<short>(HIWORD(wParam));
        ::SetScrollPos(m_hWnd, SB_HORZ, now, TRUE);
        ScrollViewByPercent(m_hWnd, p - now, 0);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CRiririView::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (OtherViewLocked()) return 0;
    UpdateRubberBand(m_hWnd, 0, 0, 1);
    RaiseInputEvent(kEventPictureChanged);
    PDBINFO* block = Block();
    int p = ScrollPos(m_hWnd, SB_VERT);
    if (block != nullptr && block->pageLayout) {
        int minimum = 0, maximum = 0;
        ::GetScrollRange(m_hWnd, SB_VERT, &minimum, &maximum);
        int next = p;
        switch (LOWORD(wParam)) {
        case SB_LINEDOWN: case SB_PAGEDOWN: ++next; break;
        case SB_LINEUP: case SB_PAGEUP: --next; break;
        case SB_THUMBPOSITION: next = static_cast<short>(HIWORD(wParam)); break;
        default: break;
        }
        next = next < minimum ? minimum : next > maximum ? maximum : next;
        if (next != p) {
            ::SetScrollPos(m_hWnd, SB_VERT, next, TRUE);
            block->layoutGroup = next;
            for (HWND cell = GetFirstLayoutCell(m_hWnd); cell; cell = GetNextLayoutCell(cell)) ::InvalidateRect(cell, nullptr, TRUE);
        }
        return 0;
    }
    const bool edgeButtons = GetLocalSettingsLive().setup.bScTestBtn != 0;
    switch (LOWORD(wParam)) {
    case SB_LINEUP:
        if (edgeButtons || p <= 0) ScrollViewStep(2, m_hWnd);
        else ::SetScrollPos(m_hWnd, SB_VERT, p - 3, TRUE), ScrollViewByPercent(m_hWnd, 0, -3);
        break;
    case SB_LINEDOWN:
        if (edgeButtons || p >= 100) ScrollViewStep(1, m_hWnd);
        else ::SetScrollPos(m_hWnd, SB_VERT, p + 3, TRUE), ScrollViewByPercent(m_hWnd, 0, 3);
        break;
    case SB_PAGEUP:
        ::SetScrollPos(m_hWnd, SB_VERT, p - 10 < 0 ? 0 : p - 10, TRUE);
        ScrollViewByPercent(m_hWnd, 0, -10);
        break;
    case SB_PAGEDOWN:
        ::SetScrollPos(m_hWnd, SB_VERT, p + 10 > 100 ? 100 : p + 10, TRUE);
        ScrollViewByPercent(m_hWnd, 0, 10);
        break;
    case SB_THUMBPOSITION: {
        const int now = static_cast<short>(HIWORD(wParam));
        ::SetScrollPos(m_hWnd, SB_VERT, now, TRUE);
        ScrollViewByPercent(m_hWnd, 0, now - p);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CRiririView::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (!m_trackingLeave || !m_hoverArmed) {
        // Hover and leave notices; the hover shows the edge buttons near an edge.
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE | TME_HOVER, m_hWnd, 100};
        m_trackingLeave = m_hoverArmed = TrackMouseEvent(&track) != FALSE;
    }
    // The system repeats a move where the mouse rests (a window shown or hidden under it, the
    // pointer set to where it is): that is no move of the user's, and it must not end a
    // command's wait for one or take its rubber band away.
    if (m_haveLastMove && wParam == m_lastMoveKeys && lParam == m_lastMovePoint) {
        // A window shown or hidden under the resting mouse may have taken the place from the
        // view, or given it back.
        if (GetActiveView() == m_hWnd && !g_mouse.middleDown) {
            POINT screen;
            GetCursorPos(&screen);
            TrackInnerAreaCapture(m_hWnd, screen);
        }
        return 0;
    }
    // A move that reaches the view only through its hold, with no button down and the mouse over
    // another window, is that window's: the hold ends there, and a command waiting for moves gets
    // no point beyond the view, as without the hold.
    if (::GetCapture() == m_hWnd && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && !g_mouse.middleDown &&
        ::WindowFromPoint(ScreenPointOf(m_hWnd, lParam)) != m_hWnd) {
        ::ReleaseCapture();
        return 0;
    }
    m_haveLastMove = true;
    m_lastMoveKeys = wParam;
    m_lastMovePoint = lParam;
    // The mouse is in the view, no longer over the loupe: a click here must answer with the
    // view's point, not with the last point the loupe took.
    ClearOverLoupe();
    HandleMouseMove(wParam, lParam);
    // The cross-hair follows the mouse unless the keyboard cursor is in charge.
    if (!IsKeyCursorActive() && !g_mouse.middleDown) {
        POINT screen;
        GetCursorPos(&screen);
        m_cursor.SetScreenPoint(screen);
        m_cursor.Update(true);
    }
    return 0;
}

int CRiririView::EdgeZone(const RECT& client, POINT p)
{
    if (p.x > client.right - 48) return 8;
    if (p.x < client.left + 48) return 4;
    if (p.y < client.top + 48) return 1;
    if (p.y > client.bottom - 48) return 2;
    return 0;
}

LRESULT CRiririView::OnMouseHover(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    bool zoneChanged = false;
    if (m_edgeButtonMode == 1) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        const int zone = EdgeZone(client, PointOf(lParam));
        if (zone != m_edgeZone) {
            ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(1051, zone), 0);
            m_edgeZone = zone;
            zoneChanged = true;
        }
    }
    // A resting cursor shows the name of the snap point under it.
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    if (!zoneChanged && setup.iSnapShowMode == 2 && PendingInputEvent() == kEventNone &&
        (!IsGridOn() || setup.iGridNoDetFlg == 1)) {
        const POINT point = PointOf(lParam);
        if (point.x != g_mouse.lastHover.x && point.y != g_mouse.lastHover.y) DetectAtCursor();
        g_mouse.lastHover = point;
    }
    m_hoverArmed = false;
    return 0;
}

LRESULT CRiririView::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&)
{
    m_trackingLeave = false;
    m_hoverArmed = false;
    m_haveLastMove = false;
    m_cursor.Update(false);
    g_mouse.lastLeftView = m_hWnd;
    return 0;
}

LRESULT CRiririView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    // Every other view forgets its cross-hair: only the view with the focus shows one.
    if (HWND client = GetMdiClientWnd()) {
        for (HWND frame = ::GetWindow(client, GW_CHILD); frame != nullptr; frame = ::GetWindow(frame, GW_HWNDNEXT)) {
            for (HWND child = ::GetWindow(frame, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (child != m_hWnd) ::SendMessageA(child, WM_COMMAND, 3000, 0);
            }
        }
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CRiririView::OnCursorSettings(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    m_cursor.ApplySetting(wParam, lParam);
    return 0;
}

void CRiririView::HandleMouseMove(WPARAM wParam, LPARAM lParam)
{
    const POINT point = PointOf(lParam);
    if ((wParam & MK_LBUTTON) && (wParam & MK_RBUTTON)) {
        if (g_mouse.leftPressFlag == 1 && Block() != nullptr) {
            const int direction = GestureDirection(g_mouse.leftPress, point);
            if (direction >= 0) {
                double x = 0, y = 0;
                if (GetCursorWorldPoint(&x, &y)) SetKeyCursorPoint(x, y, 0.0);
                g_mouse.gestureDirection = direction;
                g_mouse.rightPressView = nullptr;
            }
        }
        SetLastViewMousePoint(point.x, point.y);
        return;
    }
    if (g_mouse.middleDown) {
        UpdateRubberBand(GetActiveView(), 0, 0, 1);
        POINT screen;
        GetCursorPos(&screen);
        ScrollViewByDrag(m_hWnd, screen.x, screen.y);
        SetViewDragStart(screen.x, screen.y);
        return;
    }
    if (g_mouse.rightPressView == m_hWnd) {
        POINT screen = point;
        ::ClientToScreen(m_hWnd, &screen);
        if (std::abs(screen.x - g_mouse.rightPress.x) > 10 || std::abs(screen.y - g_mouse.rightPress.y) > 10) {
            g_mouse.rightPressConsumed = 1;
            g_mouse.rightPressView = nullptr;
            ShowRightMenu(m_hWnd, lParam, 1);
            return;
        }
    }
    if (GetActiveView() != m_hWnd) {
        if (GetInputEventRecord().acceptMask & 0x10) UpdateRubberBand(GetActiveView(), 0, 0, 1);
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        return;
    }
    if (!OtherViewLocked()) {
        if (PendingInputEvent() == kEventNone && !IsKeyCursorActive()) RaiseInputEvent(kEventCursorMoved);
        SetLastViewMousePoint(point.x, point.y);
    }
    double world[2] = {0, 0};
    if (GetCursorWorldPoint(&world[0], &world[1])) ShowCursorCoordinates(world);
    POINT screen;
    GetCursorPos(&screen);
    TrackInnerAreaCapture(m_hWnd, screen);
    UpdateCursorMessagesOnMove();
}

LRESULT CRiririView::OnLeftDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (HandCapturedPressOn(m_hWnd, message, wParam, ScreenPointOf(m_hWnd, lParam))) return 0;
    g_mouse.buttonBits |= 1;
    if (!OtherViewLocked()) {
        g_mouse.leftPressFlag = 1;
        g_mouse.leftPress = PointOf(lParam);
    }
    FrameCloseRightMenu();
    return 0;
}

LRESULT CRiririView::OnLeftUp(UINT, WPARAM, LPARAM, BOOL&)
{
    if (g_mouse.gestureDirection >= 0) {
        const int set = (GetKeyState(VK_CONTROL) & 0x8000) ? 2 : 1;
        const int id = GestureCommand(set, g_mouse.gestureDirection);
        if (id >= 1200 && id <= 1339) {
            if (HWND main = GetMainFrameWnd()) ::PostMessageA(main, WM_COMMAND, id, id == 1210 ? 1 : 0);
        } else {
            ::PostMessageA(m_hWnd, WM_COMMAND, id, 0);
        }
        g_mouse.gestureDirection = -1;
        g_mouse.leftPressFlag = 3;
        return 0;
    }
    if (g_mouse.leftPressFlag != 1) return 0;
    g_mouse.leftPressFlag = 0;
    POINT screen;
    GetCursorPos(&screen);
    RECT frameRect = {};
    if (HWND main = GetMainFrameWnd()) ::GetWindowRect(main, &frameRect);
    if (!PtInRect(&frameRect, screen)) return 0;
    if (FrameCloseRightMenu()) return 0;
    if (GetActiveView() != m_hWnd) return 0;
    g_mouse.buttonBits ^= 1;
    PDBINFO* block = Block();
    if (block != nullptr && block->referenceMode) {
        // A drawing opened for reference takes clicks only for the commands the catalogue lets
        // run on read-only drawings, or, without a command, while the keyboard cursor is suspended.
        const int command = GetCadSystem().currentCommandId;
        const bool allowed = command != 0 ? GetLumbraCmd().IsReadOnlyCommand(command) != 0
                                          : IsKeyCursorSuspended() != 0;
        if (!allowed) return 0;
    }
    if (OtherViewLocked()) return 0;
    SetLastViewMousePoint(g_mouse.leftPress.x, g_mouse.leftPress.y);
    // Without a running command, a click on an element with a "Z01LINK" link is the link's.
    if (!IsCommandRunning() && block != nullptr) {
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        double x = 0, y = 0;
        ClientToWorld(CurrentViewMode(*block), client.right / 2, client.bottom / 2, g_mouse.leftPress.x,
                      g_mouse.leftPress.y, &x, &y);
        if (FindLinkAtPoint(m_hWnd, x, y, 0, 1)) return 0;
    }
    if (!IsKeyCursorActive()) RaiseInputEvent(kEventPoint);
    return 0;
}

LRESULT CRiririView::OnRightDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (HandCapturedPressOn(m_hWnd, message, wParam, ScreenPointOf(m_hWnd, lParam))) return 0;
    bHandled = FALSE;
    g_mouse.buttonBits |= 2;
    if (!FrameCloseRightMenu()) {
        g_mouse.rightPressView = m_hWnd;
        POINT screen = PointOf(lParam);
        ::ClientToScreen(m_hWnd, &screen);
        g_mouse.rightPress = screen;
        g_mouse.rightPressConsumed = 0;
    }
    return 0;
}

LRESULT CRiririView::OnRightUp(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    g_mouse.buttonBits ^= 2;
    if (g_mouse.rightPressConsumed) {
        g_mouse.rightPressConsumed = 0;
    } else if (g_mouse.rightPressView == m_hWnd) {
        if (IsCommandRunning() && (GetInputEventRecord().acceptMask & kAcceptSecondaryPoint)) {
            if (GetActiveView() == m_hWnd && !OtherViewLocked()) {
                const POINT point = PointOf(lParam);
                SetLastViewMousePoint(point.x, point.y);
                RaiseInputEvent(kEventSecondaryClick);
                g_mouse.rightPressView = nullptr;
                return 0;
            }
        }
        ShowRightMenu(m_hWnd, lParam, 0);
    }
    g_mouse.rightPressView = nullptr;
    return 0;
}

LRESULT CRiririView::OnMiddleDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (HandCapturedPressOn(m_hWnd, message, wParam, ScreenPointOf(m_hWnd, lParam))) return 0;
    POINT screen;
    GetCursorPos(&screen);
    SetViewDragStart(screen.x, screen.y);
    g_mouse.middleDown = 1;
    SetCursor(ViewArrowCursor());
    ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CRiririView::OnDoubleClick(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = HandCapturedPressOn(m_hWnd, message, wParam, ScreenPointOf(m_hWnd, lParam)) ? TRUE : FALSE;
    return 0;
}

LRESULT CRiririView::OnMiddleUp(UINT, WPARAM, LPARAM, BOOL&)
{
    g_mouse.middleDown = 0;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    SetCursor(ViewCursorForMouseSetting());
    return 0;
}

LRESULT CRiririView::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    const short delta = static_cast<short>(HIWORD(wParam));
    if (GetActiveView() == nullptr || delta == 0) return 0;
    bool zoomIn = delta > 0;
    if (GetLocalSettingsLive().iMouseWheelZoomType == 1) zoomIn = !zoomIn;
    if (zoomIn) ZoomActiveViewIn(1, 0.7);
    else ZoomActiveViewOut(1, 0.7);
    return 0;
}

LRESULT CRiririView::OnMouseActivate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    POINT screen;
    GetCursorPos(&screen);
    const LRESULT answer = MouseActivateAnswer(m_hWnd, screen);
    if (answer == -1) bHandled = FALSE;
    return answer == -1 ? 0 : answer;
}

LRESULT CRiririView::OnMdiActivate(HWND deactivated, HWND activated)
{
    HWND frame = ::GetParent(m_hWnd);
    if (activated == frame) {
        if (IsViewLocked() && !IsLockedView(m_hWnd)) {
            PDBINFO* own = Block();
            PDBINFO* locked = GetViewBlock(GetLockedView());
            if (own == nullptr || locked == nullptr || own->engineDb != locked->engineDb ||
                own->viewMode != locked->viewMode) {
                return -1;
            }
            LockActiveView();
        }
        FrameRestoreInputFocus();
        if (HWND bar = GetStatusBarWnd()) ::SendMessageA(bar, WM_USER, 5, GetViewElementCount(m_hWnd));
        HideLoupeWindow();
        // The attribute pickers and their event belong to the tool panel.
        RefreshToolPanelAttributes();
        NotifyToolPanelDrawingChanged();
        RefreshToolPanelPaperAndScale();
        RaiseInputStateChange(kEventViewActivated);
        GetFrameFlags().auxViewRefresh = 1;
        if (HWND panel = GetToolPanelWindow()) {
            ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(100, 100), reinterpret_cast<LPARAM>(Block()));
        }
        UpdateInputScaleWindow();
    } else if (deactivated == frame) {
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    }
    DrawLastPointCursor(0, 0, 0);
    GetFrameFlags().repaintWithErase = 1;
    return 0;
}
