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

// Command control, input events, prompts and status (answered by the host-service object).
constexpr UINT WM_CAD_CLEAR_EVENT_MASK = 2046;     // clears the accepted-event mask
constexpr UINT WM_CAD_ADD_EVENT_MASK = 2047;       // lParam: event bits added to the mask
constexpr UINT WM_CAD_WAIT_INPUT = 2051;           // lParam: InputWaitRecord; result the input code
constexpr UINT WM_CAD_SET_MESSAGE = 2054;          // lParam: prompt text for the status bar
constexpr UINT WM_CAD_SHOW_ELEMENT_COUNT = 2381;   // status bar shows the element count
constexpr UINT WM_CAD_DDE_EXECUTE = 2474;          // lParam: a DDE execute string
constexpr UINT WM_CAD_DDE_CONNECT = 2476;          // DDE client: connect
constexpr UINT WM_CAD_DDE_DISCONNECT = 2477;       // DDE client: disconnect
constexpr UINT WM_CAD_DDE_SEND = 2478;             // DDE client: execute or poke a text
constexpr UINT WM_CAD_DDE_INIT = 2479;             // DDE client: set the service name
constexpr UINT WM_CAD_DDE_EXIT = 2480;             // DDE client: free the service name
constexpr UINT WM_CAD_FOCUS_INPUT = 2525;          // keyboard focus back to the input target
constexpr UINT WM_CAD_GET_ELEMENT_COUNT = 2542;    // element count of the active drawing
constexpr UINT WM_CAD_ASK_YESNO = 2544;            // lParam: CmdParamRecord (+108, +112)
constexpr UINT WM_CAD_ASK_YESNOCANCEL = 2545;      // lParam: CmdParamRecord (+108, +112)
constexpr UINT WM_CAD_POST_DDE_EVENT = 2573;       // raises the DDE text event
constexpr UINT WM_CAD_WRITE_LOG = 2592;            // wParam level, lParam text: untitled log record
constexpr UINT WM_CAD_DDE_CONNECT_TOPIC = 2593;    // DDE client: connect with a topic
constexpr UINT WM_CAD_DDE_DISCONNECT_TOPIC = 2594; // DDE client: disconnect the topic
constexpr UINT WM_CAD_DDE_SEND_TOPIC = 2595;       // DDE client: execute or poke on the topic
constexpr UINT WM_CAD_RMENU_CLEAR = 2599;          // empties the right-click pick list
constexpr UINT WM_CAD_RMENU_MODE = 2600;           // lParam 1: the pick list is shown
constexpr UINT WM_CAD_RMENU_ADD = 2601;            // lParam: CmdParamRecord (+8, +40, +44)
constexpr UINT WM_CAD_TAKE_MARK = 2605;            // hands over the kept element mark
constexpr UINT WM_CAD_RMENU_CLICK_FINISHES = 2613; // lParam 1: a right click finishes the input
constexpr UINT WM_CAD_RMENU_SET_EXTRA = 2623;      // hides entries of the right-click menu
constexpr UINT WM_CAD_CURRENT_COMMAND = 2634;      // the running plug-in command id
constexpr UINT WM_CAD_SET_CMD_OPTION = 2635;       // lParam: value; result 1 when not 0
constexpr UINT WM_CAD_SET_LAYER_PICK_MODE = 2639;  // lParam: layer pick mode
constexpr UINT WM_CAD_SET_UNDO_TAG = 2645;         // lParam 1: undo-begin suppressed
constexpr UINT WM_CAD_PBOX_QUERY = 2646;           // parameter-panel item user value
constexpr UINT WM_CAD_GET_LANGUAGE = 2649;         // the setting LANGUAGE
constexpr UINT WM_CAD_INTERRUPT_WAIT = 33770;      // lParam: InputWaitRecord; the interrupt wait

// Services the PDF plug-in asks of the main window.
constexpr UINT WM_CAD_ACTIVE_VIEW = 2429;          // wParam 0: the active view window (0 when none)
constexpr UINT WM_CAD_FONT_SERVICE = 2671;         // wParam function code, lParam DicFunctionRecord
