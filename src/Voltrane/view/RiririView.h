// The drawing view window (class "RiririView") that fills a drawing frame and shows one view of
// a drawing. It never runs a command: mouse actions become events in the input event record,
// which the running command's input wait reads, or commands posted to itself or the main frame.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"
#include "WinKit/Window.h"
#include "view/CadCursor.h"

class CCadDatabase;

// The view window's zoom, fit and scroll commands (also the frame's edge buttons).
constexpr WORD kViewCmdScrollUp = 1000;
constexpr WORD kViewCmdScrollDown = 1001;
constexpr WORD kViewCmdScrollLeft = 1002;
constexpr WORD kViewCmdScrollRight = 1003;
constexpr WORD kViewCmdZoomIn = 1004;
constexpr WORD kViewCmdZoomOut = 1005;
constexpr WORD kViewCmdFit = 1006;
constexpr WORD kViewCmdCursorMessage = 8000;
constexpr WORD kViewCmdCommandGrid = 8001;

// Mouse state shared by all views (only one view has the mouse at a time).
struct ViewMouseState {
    POINT leftPress = {0, 0};  // client point of the left press
    int leftPressFlag = 0;     // 0 none, 1 pressed, 3 gesture done
    int buttonBits = 0;        // 1 left, 2 right; flipped on release
    POINT rightPress = {0, 0}; // screen point of the right press
    int gestureDirection = -1; // -1 none, 0 right-up, 1 right-down, 2 left-down, 3 left-up
    int middleDown = 0;
    HWND rightPressView = nullptr;
    int rightPressConsumed = 0;
    HWND lastLeftView = nullptr;
    POINT lastHover = {-1, -1};
};
ViewMouseState& GetViewMouseState();

// The direction of a two-button gesture from the press point to the cursor (client points);
// -1 while the cursor is within 10 pixels of the press.
int GestureDirection(POINT press, POINT cursor);
// The command of a gesture: set 1 or 2, direction 0..3; 0 for none.
int GestureCommand(int set, int direction);

// The view's inner area on the screen: its window rectangle less the border and scroll-bar
// widths on every side, and at the top less the border and caption height.
RECT ViewInnerArea(HWND view);
// Whether the view is the window at the screen point and the point lies in its inner area.
bool IsOverViewInnerArea(HWND view, POINT screen);
// While the main frame is the active window and the mouse is over the view's inner area, the
// view holds the mouse capture (so clicks there reach it at once, without an activation
// question); elsewhere it lets go. The mouse is at the screen point.
void TrackInnerAreaCapture(HWND view, POINT screen);
// A press the view got only because it holds the mouse, at a screen point no longer over its
// inner area: the view lets go and hands the press to the window of this thread under the point
// (client or frame press, after the activation question that window would have had). True when
// the press was not the view's.
bool HandCapturedPressOn(HWND view, UINT message, WPARAM keys, POINT screen);
// The answer to WM_MOUSEACTIVATE for a click at the screen point: -1 lets the default
// activation happen, otherwise the value to return.
LRESULT MouseActivateAnswer(HWND view, POINT screen);

class CRiririView : public WinKit::CWindowImpl<CRiririView> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();

    CRiririView() = default;
    ~CRiririView() override;

    void SetDatabase(CCadDatabase* database) { m_database = database; }
    CCadDatabase* Database() const { return m_database; }
    CDrawSurface* Surface() const { return m_surface; }
    const CCadCursor& Cursor() const { return m_cursor; }
    void ForgetCursor() { m_cursor.Forget(); }
    // The edge zone of a client point: 8 right, 4 left, 1 top, 2 bottom (in that order), else 0.
    static int EdgeZone(const RECT& client, POINT point);
    PDBINFO* Block() const;

    // The activation handler, shared with the frame: -1 refuses the activation.
    LRESULT OnMdiActivate(HWND deactivated, HWND activated);

    WK_BEGIN_MSG_MAP(CRiririView)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnSwallow)
        WK_MESSAGE_HANDLER(WM_QUERYENDSESSION, OnSwallow)
        WK_MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSwallow)
        WK_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNonClientLeftDown)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNonClientLeftDown)
        WK_MESSAGE_HANDLER(WM_NCRBUTTONDOWN, OnNonClientRightDown)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNonClientMove)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_HSCROLL, OnHScroll)
        WK_MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLeftUp)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRightDown)
        WK_MESSAGE_HANDLER(WM_RBUTTONUP, OnRightUp)
        WK_MESSAGE_HANDLER(WM_MBUTTONDOWN, OnMiddleDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnDoubleClick)
        WK_MESSAGE_HANDLER(WM_RBUTTONDBLCLK, OnDoubleClick)
        WK_MESSAGE_HANDLER(WM_MBUTTONDBLCLK, OnDoubleClick)
        WK_MESSAGE_HANDLER(WM_MBUTTONUP, OnMiddleUp)
        WK_MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
        WK_MESSAGE_HANDLER(WM_MOUSEACTIVATE, OnMouseActivate)
        WK_MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        WK_MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseHover)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        WK_MESSAGE_HANDLER(0x83EB /* WM_CAD_BROADCAST */, OnCursorSettings)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSwallow(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNonClientLeftDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNonClientRightDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNonClientMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnHScroll(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnVScroll(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLeftDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLeftUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMiddleDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDoubleClick(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMiddleUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseHover(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCursorSettings(UINT, WPARAM, LPARAM, BOOL&);
    void HandleMouseMove(WPARAM wParam, LPARAM lParam);

    // True while another view holds the view lock.
    bool OtherViewLocked() const;
    void ZoomAtCentre(bool zoomIn);

    CCadCursor m_cursor;
    bool m_trackingLeave = false;
    bool m_hoverArmed = false;
    // The last move handled, to tell the user's moves from the ones the system repeats.
    bool m_haveLastMove = false;
    WPARAM m_lastMoveKeys = 0;
    LPARAM m_lastMovePoint = 0;
    CDrawSurface* m_surface = nullptr;
    CCadDatabase* m_database = nullptr;
    HCURSOR m_createCursor = nullptr;
    int m_edgeZone = 0;
    int m_edgeButtonMode = 0;
};

// The block of the view's frame database into window long 0 (0 without a database object);
// the result of the database initialisation.
int CreateViewDatabase(HWND view, CCadDatabase* database);
