// The MDI child frame of one drawing window: it owns the drawing view, the window's drawing
// database and its accelerator table, answers WM_CAD_FRAME_VIEW with its view, and its close
// handler asks whether to save a modified drawing, lets a running plug-in command end first
// and releases the view.
#pragma once

#include <windows.h>

#include "WinKit/Mdi.h"
#include "drawing/CadDatabase.h"
#include "view/RiririScrollButton.h"
#include "view/RiririView.h"
#include "view/ViewTable.h"

// The text of the save question for a frame caption and the catalogue's question text.
void FormatSaveQuestion(char* out, size_t size, const char* caption, const char* question);

class CRiririFrame : public WinKit::CMDIChildWindowImpl<CRiririFrame> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();

    CRiririFrame() = default;
    ~CRiririFrame() override;

    // Creates the MDI child in the client and loads the window's accelerators; the frame
    // window or null. The object deletes itself when its window is gone.
    HWND CreateEx(HWND mdiClient, const RECT* rect, const char* title);

    HWND View() const { return m_view.m_hWnd; }
    int EdgeMask() const { return m_edgeMask; }
    // The edge buttons: zoom buttons by edge (0 top, 1 bottom, 2 left, 3 right) and kind
    // (0 zoom in, 1 fit, 2 zoom out); scroll buttons by pair (up, down, left, right) and side.
    CRiririScrollButton& ZoomButton(int edge, int kind) { return m_zoomButtons[edge][kind]; }
    CRiririScrollButton& ScrollButton(int pair, int side) { return m_scrollButtons[pair][side]; }
    CCadDatabase& Database() { return m_database; }

    WK_BEGIN_MSG_MAP(CRiririFrame)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_QUERYENDSESSION, OnClose)
        WK_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_MDIACTIVATE, OnMdiActivate)
        WK_MESSAGE_HANDLER(0x037F /* WM_FORWARDMSG */, OnForwardMsg)
        WK_MESSAGE_HANDLER(WM_CAD_FRAME_VIEW, OnFrameView)
    WK_END_MSG_MAP()

    void OnFinalMessage(HWND) override { delete this; }

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMdiActivate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnForwardMsg(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFrameView(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(m_view.m_hWnd); }

    void Layout();
    void CreateEdgeButtons();

    CRiririView m_view;
    CCadDatabase m_database;
    HACCEL m_accelerator = nullptr;
    CRiririScrollButton m_zoomButtons[4][3];
    CRiririScrollButton m_scrollButtons[4][2];
    int m_stripEnabled = 1;
    int m_edgeMask = 0;  // bit 0 top, 1 bottom, 2 left, 3 right
};

// The thickness of the edge buttons for a screen of that height.
int EdgeButtonThickness(int screenHeight);

// The close retry counter of the drawing windows (a running plug-in command holds a close up).
int& DrawingCloseRetryCount();
