// The push buttons along the edges of a drawing window: scroll buttons drawn as triangles and
// zoom buttons with a text ("拡大", "基準", "縮小"; written downwards on the left and right
// edges). A pressed scroll button repeats its command at the keyboard's repeat rate. They extend
// the system's push button (class "RiririScrollButton" over "BUTTON") and draw themselves; the
// kit's "SCBTN" is another class, which plug-ins place in their dialogs.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/Window.h"

class CRiririScrollButton : public WinKit::CWindowImpl<CRiririScrollButton> {
public:
    enum Kind { kText = 0, kVerticalText = 1, kUp = 2, kDown = 3, kLeft = 4, kRight = 5 };
    enum Style { kHover = 1, kEdge3d = 2, kEdge3dPressed = 4, kFocusRect = 0x10, kAutoRepeat = 0x20, kKeepStyle = 0x40 };

    WK_DECLARE_WND_SUPERCLASS("RiririScrollButton", "BUTTON")

    // Creates the button as a child of the parent with the command id.
    HWND CreateButton(HWND parent, int id, Kind kind, const char* text, int style, COLORREF textColour,
                      COLORREF background);

    WK_BEGIN_MSG_MAP(CRiririScrollButton)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLeftDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLeftUp)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WK_MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        WK_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WK_MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
    WK_END_MSG_MAP()

    int Id() const { return m_id; }
    HWND ToolTip() const { return m_toolTip; }

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPrintClient(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnLeftDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLeftUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);

    void Draw(HDC dc);
    // Lets the tool tip see the mouse message.
    void Relay(UINT msg, WPARAM wParam, LPARAM lParam);
    void Fire();
    bool CursorOver() const;
    void SetPressed(bool pressed);

    int m_id = 0;
    Kind m_kind = kUp;
    int m_style = 0;
    int m_status = 0;  // 1 hovered, 4 pressed
    std::string m_text;
    COLORREF m_textColour = 0;
    COLORREF m_background = 0;
    HWND m_toolTip = nullptr;
};

// The first repeat after (keyboard delay + 1) x 250 ms, then every 10000 / (speed x 10 + 25) ms.
UINT ButtonRepeatDelay();
UINT ButtonRepeatPeriod();
