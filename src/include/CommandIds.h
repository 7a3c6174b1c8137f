// Command ids of the main window (the low word of a WM_COMMAND's word parameter), the notices
// the frame takes through WM_NOTIFY, and the commands a docking pane answers. The router, the
// frame, the dispatcher and the tests name them from here.
#pragma once

#include <windows.h>

// ---- ranges of the router ----
constexpr UINT kFirstServiceCommand = 1200;       // the host's service commands, 1200-1500
constexpr UINT kLastServiceCommand = 1500;
constexpr UINT kFirstViewCommand = 3000;          // the drawing views' commands, 3000-3999
constexpr UINT kLastViewCommand = 3999;
constexpr UINT kFirstSystemCommand = 4000;        // built-in and plug-in commands, 4000-39999
constexpr UINT kLastSystemCommand = 39999;
constexpr UINT kFirstDrawingCommand = 5000;       // from here on a command needs an open drawing
constexpr UINT kFirstToolbarButton = 45100;       // toolbar buttons carry their own ids
constexpr UINT kLastToolbarButton = 45999;

// ---- commands the frame serves itself ----
constexpr UINT kCmdCascade = 1200;
constexpr UINT kCmdTileHorizontal = 1201;
constexpr UINT kCmdServiceAlwaysRouted = 1229;    // a service command held back by the state flag
constexpr UINT kCmdTypedKeyF10 = 1240;
constexpr UINT kCmdRedrawAllViews = 3000;         // sent to every drawing window
constexpr UINT kCmdRedrawAll = 3001;
constexpr UINT kCmdNewDrawingWindow = 4000;
constexpr UINT kCmdCloseDrawingWindow = 4005;
constexpr UINT kCmdExit = 4006;
constexpr UINT kCmdStartDialog = 4050;            // the start dialog, posted with notification code 1
constexpr UINT kCmdPaneCommandMenu = 40000;       // the four pane switches, 40000-40003
constexpr UINT kCmdPaneDrawingOperations = 40001;
constexpr UINT kCmdPaneDrawingMenu = 40002;
constexpr UINT kCmdPaneCommandMenu2 = 40003;
constexpr UINT kCmdArrangeIcons = 0xE131;
constexpr UINT kCmdAbout = 0xE140;
constexpr UINT kCmdToggleToolbar = 0xE800;
constexpr UINT kCmdToggleStatusBar = 0xE801;

// ---- the link commands of the hand-off start modes 1 to 5 ----
constexpr UINT kCmdLinkMode1 = 20027;
constexpr UINT kCmdLinkMode2 = 21220;
constexpr UINT kCmdLinkMode3 = 21221;
constexpr UINT kCmdLinkMode4 = 21222;
constexpr UINT kCmdLinkMode5 = 21223;

// ---- notices to the frame (WM_NOTIFY codes, hwndFrom the frame itself) ----
constexpr UINT kNoticeCommandStart = 1000;        // idFrom: the command; its button is checked
constexpr UINT kNoticeCommandEnd = 1001;          // idFrom: the command; its button is released
constexpr UINT kNoticeToolbarsChanged = 1002;     // the toolbars are built again

// ---- commands the status bar answers (WM_COMMAND to the bar; the field index in the high word) ----
constexpr UINT kStatusBarClearTexts = 100;         // the command and message fields are emptied
constexpr UINT kStatusBarEndCommand = 1000;        // the end button: the running command is cancelled
constexpr UINT kStatusBarToggleMessageMode = 1010;
constexpr UINT kStatusBarGetFieldText = 2000;      // lParam: a 1024-byte buffer for the field's text
constexpr UINT kStatusBarShowField = 2001;         // lParam: 1 shown, 0 hidden
constexpr UINT kStatusBarSetFieldAppend = 2002;    // lParam: 1 typed characters are appended

// ---- commands a command panel answers (WM_COMMAND to the panel) ----
constexpr UINT kCmdPanelTooltipMode = 100;         // high word: 0 help texts off, else on
constexpr UINT kCmdPanelGetContent = 101;          // result: the panel's CmdPanelContent, or null

// ---- commands a docking pane answers (WM_COMMAND to the pane) ----
constexpr UINT kPaneToggleCaption = 1000;
constexpr UINT kPaneQueryState = 1001;            // 1 while the pane shows its caption
constexpr UINT kPaneUnfreeze = 1010;
constexpr UINT kPaneFreeze = 1011;
