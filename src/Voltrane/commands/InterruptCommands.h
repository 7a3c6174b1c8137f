// The interrupt commands: view command ids 3000-3999 that the main window's router runs at once,
// also while a plug-in command waits for input, and the object that answers the interrupt wait
// message for the interactive service commands. It also keeps the element mark that the box
// selection leaves for the next command, and the small tool-panel operations.
#pragma once

#include <windows.h>

#include "HostMessages.h"
#include "commands/CadCmd.h"
#include "commands/InputWaitLoop.h"

// A member of the main frame: answers WM_CAD_INTERRUPT_WAIT with the interrupt wait.
class CCadInterruptCmd : public CCadCmd {
public:
    WK_BEGIN_MSG_MAP(CCadInterruptCmd)
        if (uMsg == WM_CAD_INTERRUPT_WAIT) {
            lResult = InterruptWaitInput(hWnd, reinterpret_cast<InputWaitRecord*>(lParam));
            return TRUE;
        }
    WK_END_MSG_MAP()
};

// Sends the interrupt wait to the main window; its result (0 without a main window).
int SendInterruptWait(WPARAM wParam, InputWaitRecord* record);

// The router's entry for 3000-3999: WM_CAD_CMD_NOTIFY around ExecuteInterruptCommand; always 0,
// so that the frame's own entries for the id run too.
int ExecuteViewCommandNotified(HWND mainWnd, WPARAM wParam, LPARAM lParam);
// The view commands as the router runs them; always 0.
int ExecuteInterruptCommand(int id, LPARAM lParam);

// The kept element mark: taking it hands it over (0 when none); release mode 1 destroys it,
// 0 forgets it, other modes do nothing.
INT_PTR TakeKeptMark();
void ReleaseKeptMark(int mode);
void* KeptMark();
void SetKeptMark(void* mark);

// The interrupt jump mode (armed by 3054 through the router): the next direction command jumps
// to the nearest element point in its direction.
int IsInterruptJumpModeArmed();
void SetInterruptJumpModeArmed(int armed);

// The tool panel (panel window 1); each does nothing without it.
void PressToolPanelButton(int id);
int IsToolPanelButtonDown();
void RepaintWindow(HWND window);
