// The docking side of a pane: a top-level tool window that floats, is docked into a bar of the
// main frame, or is hidden, and draws a thin caption with a pin button while docked. It never
// moves itself into place: every change of docking state is a request to the frame or to its
// container. A pane chains it after its own message entries.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "WinKit/MessageMap.h"
#include "mainframe/docking/DockRequests.h"

namespace dockwins {

constexpr int kPinButtonHit = 19;
constexpr int kPinIconDocked = 204;
constexpr int kPinIconPinned = 205;

// The flat caption of a docked window: a strip across the top with the title and a pin button.
class CFlatCaption {
public:
    class CPinButton {
    public:
        RECT rect = {0, 0, 0, 0};
        int state = 0;  // 1 hot, 2 pressed
        int icon = 1;   // 1 in docking windows (resource 204), 0 in the auto-hide pane (205)
        void LayOut(const RECT& caption);
        void Draw(HDC dc) const;
    };

    // Recomputes the thickness from the GUI font.
    void UpdateMetrics();
    // Lays out the caption at the top of a window rectangle given at the origin.
    void LayOut(const RECT& window);
    void Clear()
    {
        rect = {0, 0, 0, 0};
        pin.rect = rect;
        pin.state = 0;
    }
    int HitTest(POINT windowPoint) const;
    void Paint(HWND window, HDC dc) const;
    // Holds the pin button down while the mouse button is; gives back whether it came up
    // over the button.
    bool PressPin(HWND window);
    // The pin button lights while the non-client hit test names it (a pressed button stays as
    // it is). A move off the window sends no further non-client move, so a 300-ms timer on the
    // window, its id the button, puts the light out once the cursor has left the button.
    void TrackHot(HWND window, int hitCode);

    RECT rect = {0, 0, 0, 0};
    int thickness = 23;
    CPinButton pin;
};

// Draws the text cut to the rectangle with "..." on a character boundary (double-byte
// characters stay whole); horizontal text sits at the left, vertical text runs down.
void DrawShortenedText(HDC dc, const char* text, int length, const RECT& rect, bool horizontal);
// How many bytes of the text stay in front of "..." so that they and the dots fit the extent,
// measure giving the width of a string: at least one character, never half of a double-byte one.
int ShortenedLength(const char* text, int length, int extent, const std::function<int(const std::string&)>& measure);

// Moves a floating rectangle inside a screen of the given size, its size kept: back from the
// right and bottom edges, then off a negative left or top, so the caption stays reachable
// even for a rectangle larger than the screen.
RECT KeepFloatingOnScreen(const RECT& rect, int screenWidth, int screenHeight);

// Default processing of a message that paints the caption (WM_SETTEXT, WM_SETICON) in a
// window that draws its own caption.
LRESULT CaptionSafeDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

class CDockingWindow : public WinKit::CMessageMap {
public:
    void SetFrame(HWND frame) { m_frame = frame; }
    HWND Frame() const { return m_frame; }
    HWND Window() const { return m_hWnd; }
    HWND Container() const { return m_container; }
    bool IsDocked() const { return m_container != nullptr; }
    const RECT& FloatRect() const { return m_floatRect; }
    const DockPosition& StoredPosition() const { return m_stored; }
    const CFlatCaption& Caption() const { return m_caption; }

    // Called once the window exists.
    void Attach(HWND window);

    bool Undock();
    bool Dock(DockTargetRequest& request);
    bool Hide();
    bool Show();
    // Hides a visible window (the keyboard focus going to its parent), shows a hidden one.
    // Gives back whether it was visible.
    bool Toggle();
    bool IsPinned() const;
    bool IsVisible() const;
    bool PinToSide();
    bool ReadPlacement(DockingWindowPlacement* placement);
    bool ApplyPlacement(const DockingWindowPlacement& placement);
    // Docks at a position (used at creation): undocks first when docked.
    bool DockAt(const DockPosition& position);

    WK_BEGIN_MSG_MAP(CDockingWindow)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNcDoubleClick)
        WK_MESSAGE_HANDLER(WM_USER, OnContainer)
        WK_MESSAGE_HANDLER(WM_NCCALCSIZE, OnNcCalcSize)
        WK_MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
        WK_MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
        WK_MESSAGE_HANDLER(WM_NCACTIVATE, OnNcActivate)
        WK_MESSAGE_HANDLER(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
        WK_MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
        WK_MESSAGE_HANDLER(WM_SETICON, OnSetText)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcLButtonDown)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
        WK_MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
        WK_MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSettingChange)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    WK_END_MSG_MAP()

private:
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcDoubleClick(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnContainer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL&);

    bool TakePosition();
    void PlaceFloating(const RECT& rect, UINT flags);
    void Drag(POINT screenPoint);

    HWND m_hWnd = nullptr;
    HWND m_frame = nullptr;
    HWND m_container = nullptr;
    RECT m_floatRect = {0, 0, 0, 0};
    CFlatCaption m_caption;
    DockPosition m_stored = {};
};

}  // namespace dockwins
