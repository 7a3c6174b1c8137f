// The host messages the drawing views answer for plug-ins: the active view and its database,
// the repaint and fit of the active view, and the empty drawing window.
#pragma once

#include "commands/CadCmd.h"

class CMainFrame;

class CViewHostMessages : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

class CDrawingHostMessages : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};

// Hands the views' services to the main frame and the host-service object. Called once before
// the frame window is created.
void ConnectDrawingViews(CMainFrame& frame);
