// The docking side of the main frame: the frame's client area below the tool bars is an outer
// package (top bars, the inner package, bottom bars) around an inner package (left bars, the
// MDI client, right bars). It answers WM_DOCK_REQUEST for the frame, paints and drags the
// frame's splitters. The main frame chains it after its own message entries.
#pragma once

#include <windows.h>

#include <functional>

#include "WinKit/MessageMap.h"
#include "mainframe/docking/AutoHideManager.h"
#include "mainframe/docking/DockRequests.h"
#include "mainframe/docking/FramesPackage.h"

namespace dockwins {

class CDockingFrameImplBase : public WinKit::CMessageMap {
public:
    CDockingFrameImplBase();

    // The frame window, the variable holding its client (MDI client) window, and the lock that
    // keeps the frame's splitters still.
    void Attach(HWND frame, const HWND* clientWnd, std::function<bool()> slidingLocked);
    // Stores the drag flags, refreshes the settings, makes the auto-hide pane and installs the
    // central frames. Gives back whether the auto-hide pane exists.
    BOOL InitDockingLayout(DWORD dragFlags);
    // Lays the auto-hide bars and the packages out in the rectangle left by the tool and status
    // bars.
    void UpdateLayout(const RECT& area);
    // The minimum size of the docked layout (the outer package's minimum).
    SIZE MinSize();
    const RECT& OuterRect() const { return m_outer.rect; }
    const RECT& InnerRect() const { return m_inner.rect; }
    const CAutoHideManager& AutoHide() const { return m_autoHide; }
    CAutoHideManager& AutoHide() { return m_autoHide; }

    WK_BEGIN_MSG_MAP(CDockingFrameImplBase)
        WK_MESSAGE_HANDLER(WM_DOCK_REQUEST, OnDockRequest)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WK_MESSAGE_HANDLER(WM_MOUSEHOVER, OnMouseHover)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
        WK_MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSettingChange)
    WK_END_MSG_MAP()

    // Frame ids of the two central frames inside the packages' slots.
    static constexpr INT_PTR kInnerFrame = 1;
    static constexpr INT_PTR kClientFrame = 2;

private:
    struct SubPackage {
        explicit SubPackage(bool horizontal) : base(horizontal) {}
        CWndFramesPackageBase base;
        RECT rect = {0, 0, 0, 0};
    };

    LRESULT OnDockRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseHover(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);

    SIZE FrameMinSize(INT_PTR frame);
    void RefreshMinimums(SubPackage& package);
    void LayOutPackage(SubPackage& package, const RECT& rect);
    void Arrange(SubPackage& package);
    void Redraw();
    bool HitTest(SubPackage& package, DockTargetRequest* request, POINT point, SIZE dragMin);
    LRESULT Dock(DockTargetRequest* request);
    bool GetPosition(SubPackage& package, DockPosition* position);
    LRESULT SetPosition(DockPosition* position);
    HWND NewBar(SubPackage& package, int place, int start, int extent);

    HWND m_frame = nullptr;
    const HWND* m_clientWnd = nullptr;
    std::function<bool()> m_slidingLocked;
    SubPackage m_outer;
    SubPackage m_inner;
    RECT m_area = {0, 0, 0, 0};  // the rectangle the last layout had, bars included
    CAutoHideManager m_autoHide;
};

}  // namespace dockwins
