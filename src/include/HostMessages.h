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

// Views and windows (answered by the drawing views); the PDF plug-in asks 2429 too.
constexpr UINT WM_CAD_REDRAW_VIEW = 2374;         // repaints the active view; 1
constexpr UINT WM_CAD_REFIT_VIEW = 2378;          // fits the active view to the paper and repaints it; 1
constexpr UINT WM_CAD_ACTIVE_DB = 2428;           // result: the engine database of the active view, 0 without
constexpr UINT WM_CAD_ACTIVE_VIEW = 2429;         // wParam 0: the active view; a view: activates it, result the view active before
constexpr UINT WM_CADDB_CAPTURE_VIEW = 2526;      // locks the active view: other views take no mouse input; 1
constexpr UINT WM_CADDB_RELEASE_VIEW = 2527;      // releases the view lock; 1
constexpr UINT WM_CADDB_NEW_WINDOW_DB = 2539;     // as 2424, the drawing marked modified; result its database

// Services the PDF plug-in asks of the main window.
constexpr UINT WM_CAD_FONT_SERVICE = 2671;         // wParam function code, lParam DicFunctionRecord

// Views, windows and colours.
constexpr UINT WM_CAD_GET_VIEW_SETTINGS = 2049;
constexpr UINT WM_CAD_SET_VIEW_SETTINGS = 2050;
constexpr UINT WM_CAD_REDRAW_ELEMENT = 2326;
constexpr UINT WM_CAD_DRAW_ELEMENT = 2341;
constexpr UINT WM_CAD_REDRAW_MARK_ACTIVE = 2379;
constexpr UINT WM_CAD_REDRAW_MARK_ACTIVE2 = 2380;
constexpr UINT WM_CAD_ZOOM_TO_AREA = 2382;
constexpr UINT WM_CAD_ADD_TEMP_ELEMENT = 2383;
constexpr UINT WM_CAD_DRAW_TEMP = 2384;
constexpr UINT WM_CAD_DRAG_PREVIEW = 2385;
constexpr UINT WM_CAD_MAXIMIZE_VIEW = 2426;
constexpr UINT WM_CAD_MINIMIZE_MAIN = 2427;
constexpr UINT WM_CAD_GET_VIEW_SETTINGS2 = 2524;
constexpr UINT WM_CAD_GET_COLOR = 2546;
constexpr UINT WM_CAD_LAYOUT_VIEW_TOGGLE = 2584;
constexpr UINT WM_CAD_LAYOUT_VIEW_SHOW = 2588;
constexpr UINT WM_CAD_LAYOUT_VIEW_HIDE = 2589;
constexpr UINT WM_CAD_RAISE_MAIN = 2590;
constexpr UINT WM_CAD_LOUPE_TOGGLE = 2602;
constexpr UINT WM_CAD_LOUPE_TOGGLE2 = 2603;
constexpr UINT WM_CAD_LOUPE_TOGGLE3 = 2604;
constexpr UINT WM_CAD_GET_MARGIN_FRAME = 2615;
constexpr UINT WM_CAD_SET_PAGE_LAYOUT_VIEW = 2624;
constexpr UINT WM_CAD_GET_COLOR_TABLE = 2625;
constexpr UINT WM_CAD_REDRAW_MARK = 2638;
constexpr UINT WM_CAD_DRAW_TO_RECT = 2640;
constexpr UINT WM_CAD_DRAW_TO_RECT_EX = 2641;
constexpr UINT WM_CAD_WORLD_TO_CLIENT = 2642;
constexpr UINT WM_CAD_INPUT_SCALE = 2667;

// Drawings, elements and files.
constexpr UINT WM_CAD_HIGHLIGHT_ELEMENT = 2375;
constexpr UINT WM_CAD_CLEAR_ELEMENT_HIGHLIGHT = 2376;
constexpr UINT WM_CAD_CLEAR_ALL_HIGHLIGHTS = 2377;
constexpr UINT WM_CAD_LINK_SET = 2564;
constexpr UINT WM_CAD_LINK_GET = 2565;
constexpr UINT WM_CAD_LINK_ENTRY_COUNT = 2566;
constexpr UINT WM_CAD_LINK_UPDATE = 2567;
constexpr UINT WM_CAD_LINK_REMOVE = 2568;
constexpr UINT WM_CAD_OPEN_DRAWING = 2571;
constexpr UINT WM_CAD_CLOSE_DRAWING = 2597;
constexpr UINT WM_CAD_ELEMENT_EXTENT = 2609;
constexpr UINT WM_CAD_RASTER = 2610;
constexpr UINT WM_CAD_BEGIN_BATCH_EDIT = 2611;
constexpr UINT WM_CAD_END_BATCH_EDIT = 2612;
constexpr UINT WM_CAD_SET_CHECK_MODE = 2614;
constexpr UINT WM_CAD_GET_USERDATA = 2616;
constexpr UINT WM_CAD_SET_USERDATA = 2617;
constexpr UINT WM_CAD_TEMP_DB = 2620;
constexpr UINT WM_CAD_GET_TEMP_DB = 2630;
constexpr UINT WM_CAD_FORCE_SAVE = 2650;
constexpr UINT WM_CAD_DRAWING_NAME = 2651;
constexpr UINT WM_CAD_READ_ELEMENT = 2654;
constexpr UINT WM_CAD_GET_DRAWING_NUMBER = 2655;
constexpr UINT WM_CAD_VIEW_STATE = 2664;
constexpr UINT WM_CAD_FILE_SERVICE = 2665;
constexpr UINT WM_CAD_SET_APPEND_KEEP_FIELDS = 2668;
constexpr UINT WM_CAD_SET_GROUP_SEARCH = 2669;
constexpr UINT WM_CAD_CLEAR_KEEP_CMD_ON_CLOSE = 2670;

// Databases, elements and marks.
constexpr UINT WM_CADDB_FF_TAG = 2224;
constexpr UINT WM_CADDB_SET_FF_TAG_DATA = 2225;
constexpr UINT WM_CADDB_GET_FRAME_ELEMENT = 2226;
constexpr UINT WM_CADDB_SET_SEARCH = 2227;
constexpr UINT WM_CADDB_GET_SEARCH = 2228;
constexpr UINT WM_CADDB_LINK_SEARCH = 2229;
constexpr UINT WM_CADDB_ADD_ELEMENT = 2324;
constexpr UINT WM_CADDB_DELETE_ELEMENT = 2325;
constexpr UINT WM_CADDB_CLEAR_ALL = 2327;
constexpr UINT WM_CADDB_GET_TAG = 2329;
constexpr UINT WM_CADDB_SET_TAG = 2330;
constexpr UINT WM_CADDB_READ_ELEMENT = 2331;
constexpr UINT WM_CADDB_APPEND_ELEMENT = 2332;
constexpr UINT WM_CADDB_CHANGE_ELEMENT = 2334;
constexpr UINT WM_CADDB_MAKE_GROUP = 2335;
constexpr UINT WM_CADDB_ADD_MEMBER = 2336;
constexpr UINT WM_CADDB_REPLACE_GROUP = 2339;
constexpr UINT WM_CADDB_GROUP_HEADER = 2340;
constexpr UINT WM_CADDB_APPEND_FGROUP = 2342;
constexpr UINT WM_CADDB_FIRST_MEMBER = 2343;
constexpr UINT WM_CADDB_CHECK_MARK = 2492;
constexpr UINT WM_CADDB_MARK_COUNT = 2493;
constexpr UINT WM_CADDB_CREATE_MARK = 2494;
constexpr UINT WM_CADDB_DESTROY_MARK = 2495;
constexpr UINT WM_CADDB_SET_MARK = 2496;
constexpr UINT WM_CADDB_DEL_MARK = 2497;
constexpr UINT WM_CADDB_NEXT_MARK = 2498;
constexpr UINT WM_CADDB_SET_PLACEMENT = 2499;
constexpr UINT WM_CADDB_APPEND = 2500;
constexpr UINT WM_CADDB_CHANGE = 2501;
constexpr UINT WM_CADDB_DELETE_MARKED = 2502;
constexpr UINT WM_CADDB_MARK_MEMBERS = 2503;
constexpr UINT WM_CADDB_UNDO_BEGIN = 2514;
constexpr UINT WM_CADDB_UNDO = 2515;
constexpr UINT WM_CADDB_REDO = 2516;
constexpr UINT WM_CADDB_HIGHLIGHT_COLOR = 2519;
constexpr UINT WM_CADDB_APPEND_EX = 2520;
constexpr UINT WM_CADDB_CHANGE_EX = 2521;
constexpr UINT WM_CADDB_SET_UNDO_SWITCH = 2522;
constexpr UINT WM_CADDB_SET_DB_INFO = 2534;
constexpr UINT WM_CADDB_GET_DB_INFO = 2535;
constexpr UINT WM_CADDB_SET_LAYER_INFO = 2536;
constexpr UINT WM_CADDB_GET_LAYER_INFO = 2537;
constexpr UINT WM_CADDB_WINDOW_DB = 2538;
constexpr UINT WM_CADDB_RESET_DB = 2540;
constexpr UINT WM_CADDB_NOP = 2541;
constexpr UINT WM_CADDB_UNDO_CLEAR = 2574;
constexpr UINT WM_CADDB_GET_TAG_STRING = 2585;
constexpr UINT WM_CADDB_SET_TAG_STRING = 2586;
constexpr UINT WM_CADDB_APPEND_MEMBERS = 2606;
constexpr UINT WM_CADDB_COPY_MEMBERS = 2608;
constexpr UINT WM_CADDB_TOLERANCE = 2619;
constexpr UINT WM_CADDB_NEXT_MEMBER = 2621;
constexpr UINT WM_CADDB_SET_LAYER_TABLE = 2622;
constexpr UINT WM_CADDB_VIEW_UNDO = 2629;
constexpr UINT WM_CADDB_GET_LAYER_NAME = 2636;
constexpr UINT WM_CADDB_SET_LAYER_NAME = 2637;
constexpr UINT WM_CADDB_NEXT_MARK_EXT = 2648;
constexpr UINT WM_CADDB_MEM_CHANGE = 33868;

// Parameter panels (the long parameter is the panel model's request record).
constexpr UINT WM_PBOX_CREATE = 2504;
constexpr UINT WM_PBOX_DESTROY = 2505;
constexpr UINT WM_PBOX_SHOW = 2506;
constexpr UINT WM_PBOX_HIDE = 2507;
constexpr UINT WM_PBOX_BUILD = 2508;
constexpr UINT WM_PBOX_ADD_BUTTON = 2509;
constexpr UINT WM_PBOX_ADD_RADIO = 2510;
constexpr UINT WM_PBOX_ADD_CHECK = 2511;
constexpr UINT WM_PBOX_ADD_LIST = 2512;
constexpr UINT WM_PBOX_ADD_EDIT = 2513;
constexpr UINT WM_PBOX_GET_TEXT = 2554;
constexpr UINT WM_PBOX_NOP = 2555;
constexpr UINT WM_PBOX_VALUE = 2556;
constexpr UINT WM_PBOX_VALUE2 = 2557;
constexpr UINT WM_PBOX_COMBO_SELECT = 2558;
constexpr UINT WM_PBOX_NOP2 = 2559;
constexpr UINT WM_PBOX_ADD_TEXT = 2560;
constexpr UINT WM_PBOX_SET_TEXT = 2561;
constexpr UINT WM_PBOX_ENABLE = 2562;
constexpr UINT WM_PBOX_SET_COLORS = 2563;
constexpr UINT WM_PBOX_PRESS = 2591;
constexpr UINT WM_PBOX_ITEM_STRING = 2618;
constexpr UINT WM_PBOX_GET_ITEM_STRING = 2626;
constexpr UINT WM_PBOX_SET_TEXT2 = 2627;
constexpr UINT WM_PBOX_ADD_COMBO = 2628;
constexpr UINT WM_PBOX_ADD_LIST2 = 2656;

// Configuration.
constexpr UINT WM_CADCFG_READ = 2569;
constexpr UINT WM_CADCFG_FILE_PATH = 2570;
constexpr UINT WM_CADCFG_READ_SECTION = 2572;
constexpr UINT WM_CADCFG_WRITE = 2598;
constexpr UINT WM_CADCFG_WRITE_CMDINI = 2631;
constexpr UINT WM_CADCFG_READ_CMDINI = 2632;
constexpr UINT WM_CADCFG_PTNSAVE = 2633;
constexpr UINT WM_CADCFG_GET_SYSTEM = 33775;
constexpr UINT WM_CADCFG_GET_PROFILE_STRING = 33776;
constexpr UINT WM_CADCFG_WRITE_PROFILE_STRING = 33777;

// Pages: one message, the word parameter selects the page service.
constexpr UINT WM_CADPAGE = 2657;
enum CadPageService : int {
    CADPAGE_GET_CURRENT = 0,
    CADPAGE_SET_CURRENT = 1,
    CADPAGE_GET_STATE = 2,
    CADPAGE_SET_STATE = 3,
    CADPAGE_CHECK = 4,
    CADPAGE_CREATE = 5,
    CADPAGE_GET_LAYER_INFO = 6,
    CADPAGE_SET_LAYER_INFO = 7,
    CADPAGE_GET_INFO = 8,
    CADPAGE_SET_INFO = 9,
    CADPAGE_PAPER_SPACE = 10,
    CADPAGE_MODEL_SPACE = 11,
    CADPAGE_COUNT_ELEMENTS = 12,
    CADPAGE_GET_LEVEL = 13,
    CADPAGE_NEXT_CHILD = 14,
    CADPAGE_SHOW_ELEMENT = 15,
    CADPAGE_GET_SPACE = 16,
    CADPAGE_GET_KIND = 17,
    CADPAGE_GET_SCALE = 18,
    CADPAGE_SET_SCALE = 19,
    CADPAGE_GET_VISIBLE_AREA = 20,
    CADPAGE_SET_TRANS_FLAG = 21,
    CADPAGE_FIND_FRAME = 22,
    CADPAGE_GET_PAGE_WORD1 = 23,
    CADPAGE_TEST_VIEW_WINDOW = 24,
    CADPAGE_COPY_PARAMS = 25,
    CADPAGE_ZOOM_TO_AREA = 26,
    CADPAGE_NEXT = 27,
    CADPAGE_GET_PAGE_WORD5 = 28,
};
