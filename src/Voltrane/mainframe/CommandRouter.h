// Where a WM_COMMAND id of the main window goes, by its range. The main frame carries the
// decision out; keeping it here keeps the whole routing table in one place.
#pragma once

#include <windows.h>

enum class CommandRoute {
    Drop,         // handled, nothing done
    RunCommand,   // WM_CAD_RUN_COMMAND (2475) to the system-command dispatcher
    Service,      // service commands 1200-1500
    View,         // view commands 3000-3999
    ActiveChild,  // to the active drawing window, then left unhandled
};

struct CommandRouteState {
    bool frameExists = true;
    bool hasActiveView = false;
    bool commandEnabled = true;  // the host state flag of message 2647
    // The command configured for the start options runs while the frame closes, after the
    // drawing windows are gone: it is not held back for lack of a drawing.
    bool closingCommand = false;
};

// The route of an id (the low 16 bits of the word parameter, after toolbar mapping).
CommandRoute RouteCommandId(UINT id, const CommandRouteState& state);

// True for the ids that pass without an open drawing: 40000-40003, 0xE140 and 0xE801.
bool IsAllowedWithoutDrawing(UINT id);
