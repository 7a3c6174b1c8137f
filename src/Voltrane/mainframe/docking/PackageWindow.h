// A bar along one side of the frame: a child window whose package stacks docking windows across
// the bar's length (a row in a top or bottom bar, a column in a left or right bar). It lives as
// long as it holds a window and deletes itself when its window goes.
#pragma once

#include <windows.h>

#include "WinKit/Window.h"
#include "mainframe/docking/DockRequests.h"
#include "mainframe/docking/FramesPackage.h"

namespace dockwins {

class CPackageWindow : public WinKit::CWindowImpl<CPackageWindow> {
public:
    WK_DECLARE_WND_CLASS_EX("CPackageWindowFrame::CPackageWindow", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

    // Makes a bar inside the frame; horizontal bars line their windows up side by side.
    static CPackageWindow* CreateBar(HWND frame, bool horizontal);

    const CWndFramesPackageBase& Package() const { return m_package; }
    // The accumulated minimum tracking size of the bar's windows.
    SIZE MinSize() const;

    WK_BEGIN_MSG_MAP(CPackageWindow)
        WK_MESSAGE_HANDLER(WM_DOCK_REQUEST, OnDockRequest)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    WK_END_MSG_MAP()

protected:
    void OnFinalMessage(HWND) override { delete this; }

private:
    explicit CPackageWindow(bool horizontal) : m_package(horizontal) {}

    LRESULT OnDockRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);

    void UpdateLayout();
    void RefreshMinimums();
    int MinAlong(HWND window) const;
    void Arrange();
    void Join(HWND window);
    void Leave(HWND window);
    void ShowJoined(HWND window);

    CWndFramesPackageBase m_package;
};

// The minimum tracking size a window asks for (WM_GETMINMAXINFO on a zeroed record).
SIZE WindowMinSize(HWND window);

}  // namespace dockwins
