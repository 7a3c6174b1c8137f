// What the drawing views call in services that other issues build: the rubber band, the
// last-point and keyboard-cursor markers, the cursor-message windows, the input scale, the loupe
// and the page-layout cells (view services), saving and locking drawing files (files), and the
// tool panel (panels). Each has its final name here; until its issue is built it does the least
// that is honest: drawing stand-ins draw nothing, the file services answer "not available".
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"
#include "view/RubberBand.h"

// ---- view services ----
// Mode 0 erases the last-input-point cursor of the active view, 3 draws it.
void DrawLastPointCursor(int a, int b, int mode);
// Draws (show 1) or erases (0) the keyboard-cursor marker at the world point in the active view.
void DrawKeyCursorMarker(double x, double y, int show);
// The view's WM_COMMAND 8000 and 8001 (cursor-message windows of a running command).
void HandleCursorMessageCommand(HWND view, WPARAM wParam, LPARAM lParam);
void CloseInputScaleWindow();
void UpdateInputScaleWindow();
void HideLoupeWindow();
// In page-layout mode (the block's), repaints at once every layout cell ("LAY_WND") of the view.
void RepaintLayoutCells(HWND view, const PDBINFO* block);

// ---- files ----
// Saves the drawing of the view (mode 1: the close question's save); 1 saved, 0 not.
int SaveDrawing(HWND view, int mode);
int LockDrawingFile(PDBINFO* block);
void UnlockDrawingFile(PDBINFO* block);

// ---- the tool panel (defined with the panel) ----
// The tool panel window, null before it exists: every call below then does nothing.
HWND GetToolPanelWindow();
// WM_COMMAND 3821 sent, then WM_COMMAND code 1 id 3311 posted.
void NotifyToolPanelDrawingChanged();
// Shows the cursor's world point (null clears it).
void ShowCursorCoordinates(const double* point);
void RefreshToolPanelPaperAndScale();
void RefreshToolPanelDrawingInfo();
void RefreshToolPanelAttributes();
// With an active view and the keyboard cursor not active: the tool panel's keyboard-cursor
// button (3406) switches the mode and shows it; without a tool panel the mode is entered
// here. 0 without an active view.
int EnsureKeyCursorMode();
// The tool panel's keyboard-cursor button with the notification code; without a tool panel
// the mode is switched here.
void PostKeyCursorButton(int code);

// ---- flags the host services set and the views read ----
// Keeps the running command alive when a drawing window closes.
int IsKeepCommandOnClose();
void SetKeepCommandOnClose(int on);
// One-shot: the next close goes on under a running plug-in command.
int TakeCloseNowFlag();
void SetCloseNowFlag(int on);
// The grid flag and origin of the view commands.
int IsGridOn();
void SetGridOn(int on);
void GetGridOrigin(double* x, double* y);
void SetGridOrigin(double x, double y);
