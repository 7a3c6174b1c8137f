// Process-wide state around the command that runs: read by the host services and the input
// wait while a plug-in command runs, and put back by the dispatcher after every plug-in command.
#pragma once

#include <windows.h>

struct CommandRunState {
    int hostCommandRunning = 0;    // an interactive service command waits for input itself
    int pluginCommandRunning = 0;  // for the whole run of a plug-in command
    int runningPluginId = 0;       // the plug-in command being run, for the panels; 0 otherwise
    int saveFlag = 0;              // the running library serves the pattern-save answers
    int newerInterface = 0;        // the running library is of the newer interface
    int pageCheckMessage = 0;      // the page edit check may show its message once per command
    UINT savedErrorMode = 0;       // the error mode from before the library was loaded

    // Per-command switches of the host services, put back after every plug-in command.
    int undoRecording = 1;       // undo recording of element changes
    int undoBeginSuppressed = 0; // undo-begin suppression
    int layerPickMode = 0;       // layer pick mode
    int batchEdit = 1;           // 1: no batch edit is open
    int highlightColor = 0;      // highlight colour value
    int commandOption = 0;       // command option
};

CommandRunState& GetCommandRunState();
