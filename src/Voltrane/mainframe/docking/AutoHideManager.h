// The auto-hide side of the frame: the four bars along the frame's edges with a label for each
// pinned window, and the pane, a hidden child of the frame, in which a pinned window slides
// out over the docked panes while the mouse rests on its label.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "WinKit/Window.h"
#include "mainframe/docking/AutoHideBar.h"
#include "mainframe/docking/DockRequests.h"
#include "mainframe/docking/DockingWindow.h"

namespace dockwins {

struct PinnedWindowEntry {
    int paneWidth = 0;  // the pane's width when shown, without its splitter strip
    HWND window = nullptr;
    HICON icon = nullptr;
    std::string title;  // taken when pinned
};

// A label on an auto-hide bar standing for one pinned window.
class CSinglePinnedLabel {
public:
    CSinglePinnedLabel(HWND window, int paneWidth);

    int DesiredWidth(HDC dc) const;
    void Draw(HDC dc, const RECT& rect, int side) const;

    PinnedWindowEntry entry;
    int width = 0;
};

struct CAutoHideBar {
    RECT rect = {0, 0, 0, 0};
    int side = 0;
    std::deque<std::unique_ptr<CSinglePinnedLabel>> labels;

    bool Vertical() const { return (side & 1) != 0; }
    int Find(HWND window) const;
    // The label under a frame client point, or -1.
    int LabelAt(POINT point) const;
    void SizeLabels(HDC dc);
    void Draw(HDC dc) const;
    void DrawBackground(HDC dc, int thickness, bool leftBar, bool rightBar) const;
};

class CAutoHideManager : public WinKit::CWindowImpl<CAutoHideManager> {
public:
    WK_DECLARE_WND_CLASS_EX("CAutoHideManager", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

    // Makes the pane window (hidden) inside the frame; false when it cannot be made.
    bool Initialize(HWND frame, std::function<bool()> slidingLocked);
    void UpdateThickness();
    // Cuts the bars holding labels from the area and gives back what is left for the packages.
    RECT LayOut(HDC dc, const RECT& area);
    void DrawBars(HDC dc);
    // Pins the request's window to a bar; barWasEmpty tells whether the frame must lay out again.
    bool Pin(PinRequest* request, bool* barWasEmpty);
    bool GetPosition(DockPosition* position) const;
    // Takes the window off its bar; with unpin it is docked again through the frame.
    bool RemoveWindow(HWND window, bool unpin);
    // Frame client points. OnMouseMove answers whether a label is being tracked.
    bool OnMouseMove(POINT point);
    void OnMouseHover(POINT point);

    int BarThickness() const { return m_thickness; }
    const CAutoHideBar& Bar(int side) const { return m_bars[side & 3]; }
    HWND ShownWindow() const { return m_shown; }
    bool ShowPane(int bar, int label, bool slide);
    void HidePane();

    WK_BEGIN_MSG_MAP(CAutoHideManager)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WK_MESSAGE_HANDLER(WM_DOCK_REQUEST, OnDockRequest)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
        WK_MESSAGE_HANDLER(WM_SETICON, OnSetText)
        WK_MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSettingChange)
        WK_MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
        WK_MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_MESSAGE_HANDLER(WM_NCCALCSIZE, OnNcCalcSize)
        WK_MESSAGE_HANDLER(WM_NCHITTEST, OnNcHitTest)
        WK_MESSAGE_HANDLER(WM_NCPAINT, OnNcPaint)
        WK_MESSAGE_HANDLER(WM_NCACTIVATE, OnNcActivate)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNcLButtonDown)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDBLCLK, OnNcDoubleClick)
    WK_END_MSG_MAP()

private:
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDockRequest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSettingChange(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcCalcSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcHitTest(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcDoubleClick(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

    bool Locked() const { return m_slidingLocked && m_slidingLocked(); }
    bool Find(HWND window, int* bar, int* label) const;
    PinnedWindowEntry* ShownEntry();
    RECT PaneRect(int paneWidth) const;
    void FitShownWindow();
    void SlideOut(const RECT& rect);
    void Resize();
    void RedrawBar(int side, bool erase);
    void Join(HWND window, bool horizontal);
    void Leave(HWND window);

    HWND m_frame = nullptr;
    std::function<bool()> m_slidingLocked;
    CFlatCaption m_caption;
    RECT m_splitter = {0, 0, 0, 0};  // window coordinates
    int m_side = 0;
    int m_thickness = 0;
    HWND m_shown = nullptr;
    HWND m_hovered = nullptr;
    RECT m_docking = {0, 0, 0, 0};
    CAutoHideBar m_bars[kAutoHideBars];
};

}  // namespace dockwins
