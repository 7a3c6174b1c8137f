// Numbers of the private window messages of the main window (the host messages) that the
// program, its plug-ins and its tests share. Every message here is sent to the main window.
#pragma once

#include <windows.h>

// Main frame and its routing.
constexpr UINT WM_CAD_CANCEL_COMMAND = 2044;      // ends the running command
constexpr UINT WM_CADDB_NEW_WINDOW = 2424;        // an empty drawing window
constexpr UINT WM_CADDB_OPEN_FILE = 2425;         // lParam: the path of a drawing to open
constexpr UINT WM_CAD_RUN_COMMAND = 2475;         // wParam, lParam of the WM_COMMAND; posted only by the dispatcher to itself
constexpr UINT WM_CAD_GET_MESSAGE_TEXT = 2547;    // lParam id; result the catalogue text
constexpr UINT WM_CAD_CMD_STATE = 2647;           // the host state flag (command enable)
constexpr UINT WM_CAD_CMD_NOTIFY = 33769;         // wParam command id, lParam 1 begin / 0 end
constexpr UINT WM_CAD_BROADCAST = 33771;          // passed on to every window in the MDI client
constexpr UINT WM_CAD_GET_PANEL_WINDOW = 33772;   // wParam index: 0, 1, 2, 3, 100 (status bar)
constexpr UINT WM_CAD_GET_ACCELERATOR = 33869;    // result: the frame's CMainAccelerator
constexpr UINT WM_CAD_SET_DIALOG_FILTER = 33870;  // wParam 100, lParam window: the modeless dialog filter
