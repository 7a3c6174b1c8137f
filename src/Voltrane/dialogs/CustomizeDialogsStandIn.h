// The command-panel and shortcut-key editing dialogs that settings page "システム環境Ｂ" opens.
// They belong to the panels' customisation; until they are built these answer "not available".
#pragma once

#include <windows.h>

// Runs the command-panel editing dialog over the owner; its result is not used.
int ShowCustCmdPanelDlg(HWND owner);
// Runs the shortcut-key editing dialog over the owner; its result is not used.
int ShowCustCmdKeyDlg(HWND owner);
