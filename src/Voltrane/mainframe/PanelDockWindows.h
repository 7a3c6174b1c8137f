// The four panes beside the drawing windows: two command panels, the tool panel and the
// application panel, each in a docking window of its own that the main frame docks at its sides.
#pragma once

#include <windows.h>

#include "WinKit/Window.h"
#include "mainframe/docking/DockingWindow.h"
#include "panels/AppPanel.h"
#include "panels/CmdPanel.h"
#include "panels/ToolPanel.h"

// Sides of a docked pane.
enum DockSide { kDockBottom = 0, kDockRight = 1, kDockTop = 2, kDockLeft = 3 };

// The [System] setting iPanelCaption: one bit per pane shows its caption (default 3).
int& PanelCaptionSetting();

// The window that stands for an inner panel until the panels subsystem provides it.
class CPanelSeat : public WinKit::CWindowImpl<CPanelSeat> {
public:
    WK_DECLARE_WND_CLASS_EX("VtPanelSeat", CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW)

    WK_BEGIN_MSG_MAP(CPanelSeat)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    WK_END_MSG_MAP()

private:
    LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
};

class CPanelDockWindow : public WinKit::CWindowImpl<CPanelDockWindow> {
public:
    WK_DECLARE_WND_CLASS_EX("VtPanelDockWin", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_BTNFACE)

    CPanelDockWindow(int captionBit, UINT panelId, bool commandPanel)
        : m_captionBit(captionBit), m_panelId(panelId), m_commandPanel(commandPanel) {}

    // Window style of a pane: a popup tool window owned by the frame until it is docked.
    static constexpr DWORD kStyle = 0x86CF0000;

    // Creates the pane as a hidden popup owned by the frame, 0,0 to width,extent.
    HWND CreatePane(HWND frame, const char* caption, int width, int extent);

    int CaptionBit() const { return m_captionBit; }
    void SetCaptionBit(int bit) { m_captionBit = bit; }
    HWND Panel() const { return m_inner; }
    dockwins::CDockingWindow& Docking() { return m_dock; }
    bool IsVisible() const { return m_dock.IsVisible(); }
    // Shows a hidden pane, hides a shown one.
    void Toggle() { m_dock.Toggle(); }
    // Follows the pane's bit in iPanelCaption.
    void ApplyCaptionBit();

    UINT FreezeFlags() const { return m_freezeFlags; }
    int MinTrackWidth() const { return m_minWidth; }
    int MinTrackHeight() const { return m_minHeight; }

    WK_BEGIN_MSG_MAP(CPanelDockWindow)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_CHAIN_MSG_MAP_MEMBER(m_dock)
    WK_END_MSG_MAP()

protected:
    // Makes the window inside the pane; panes whose own panel is not built yet get a seat.
    virtual HWND CreateInner(HWND pane, HMENU id);

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    int QueryState() const;
    void Freeze();

protected:
    // Makes the pane's inner panel as a visible child with the pane's panel id.
    UINT PanelId() const { return m_panelId; }

private:

    int m_captionBit;
    dockwins::CDockingWindow m_dock;
    UINT m_panelId;
    bool m_commandPanel;
    CPanelSeat m_panel;
    HWND m_inner = nullptr;
    UINT m_freezeFlags = 0;
    int m_minWidth = 0;
    int m_minHeight = 0;
};

// A command panel pane (two instances), the tool panel pane and the application panel pane.
class CCmdPanelDockWin : public CPanelDockWindow {
public:
    CCmdPanelDockWin() : CPanelDockWindow(4, 0, true) {}
    CCmdPanel& CommandPanel() { return m_cmdPanel; }

protected:
    HWND CreateInner(HWND pane, HMENU id) override;

private:
    CCmdPanel m_cmdPanel;
};
class CDrwPanelDockWin : public CPanelDockWindow {
public:
    CDrwPanelDockWin() : CPanelDockWindow(1, 200, false) {}

protected:
    HWND CreateInner(HWND pane, HMENU id) override
    {
        return m_toolPanel.Create(pane, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0, id);
    }

private:
    CToolPanel m_toolPanel;
};
class CAppPanelDockWin : public CPanelDockWindow {
public:
    CAppPanelDockWin() : CPanelDockWindow(2, 200, false) {}

protected:
    HWND CreateInner(HWND pane, HMENU id) override
    {
        return m_appPanel.Create(pane, nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, id);
    }

private:
    CAppPanel m_appPanel;
};

// Caption colours of the panes by their title: 1 with the background and text colours, or 0
// for a title that keeps the standard colours. A command panel's caption keeps them in mode 1
// while the low two bits of the flags are 0 or 2.
int GetPanelCaptionColors(int mode, int flags, const char* title, COLORREF* background, COLORREF* text);
