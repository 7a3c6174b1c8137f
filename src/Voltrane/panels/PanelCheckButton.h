// The tool panel's owner-painted button: pressed while the mouse holds it, checked when its
// parent says so, and locked buttons answer a click with a message instead of a command.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/Window.h"

// Window extra of a button.
constexpr int kPanelButtonPress = 0;    // 0 up, 1 pressed with the pointer inside, 2 outside
constexpr int kPanelButtonChecked = 4;  // 1 checked
constexpr int kPanelButtonStyle = 8;    // the grid button's style (1 or 2)

class CPanelCheckButton : public WinKit::CWindowImpl<CPanelCheckButton> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }

    UINT notifyMessage = WM_USER + 39;
    std::string fontFace{"ＭＳ ゴシック"};

    // Returns the previous lock.
    int SetLocked(int locked);
    int Locked() const { return m_locked; }

    WK_BEGIN_MSG_MAP(CPanelCheckButton)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
        WK_MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    void Redraw();
    void Click();
    int Press() const;
    void SetPress(int state);
    void Notify(HWND target, int leaving);

    int m_locked = 0;
};
