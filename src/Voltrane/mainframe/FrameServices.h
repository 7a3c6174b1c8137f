// What the main window needs from subsystems that are built elsewhere: the drawing views,
// the command dispatchers, the panels, the backups and the settings I/O. Each entry starts
// as a stand-in that logs the request and answers "not done"; the subsystem that serves it
// sets its own function here when it starts.
#pragma once

#include <windows.h>

#include <string>

struct FrameServices {
    // The active drawing view window, or null (drawing views).
    HWND (*getActiveView)() = nullptr;
    // A new empty drawing window (command 4000); its view, or null when none was made.
    HWND (*createDrawingWindow)(HWND mainWnd) = nullptr;
    // 1 when the view is the locked drawing view, which takes no dropped files.
    int (*isLockedView)(HWND view) = nullptr;
    // Service commands 1200-1500 and view commands 3000-3999: 1 when done.
    int (*executeServiceCommand)(HWND mainWnd, WPARAM wParam, LPARAM lParam) = nullptr;
    int (*executeViewCommand)(HWND mainWnd, WPARAM wParam, LPARAM lParam) = nullptr;
    // A key for the typed-key matcher of the view commands (the frame's F10 entry).
    int (*appendTypedKeyName)(HWND window, int virtualKey) = nullptr;
    // 1 while a plug-in command runs (the system-command dispatcher).
    int (*isPluginCommandRunning)() = nullptr;
    // Restarts the timed-backup clock; the timer tick's timed-backup check.
    void (*restartBackupTimer)() = nullptr;
    void (*checkTimedBackup)() = nullptr;
    // Closes an open right-click menu or list pop-up; 1 when one was closed (panels).
    int (*closeRightMenu)() = nullptr;
    // Gives the keyboard focus back to the input target (host services).
    void (*restoreInputFocus)() = nullptr;
    // The application object's key filter: non-zero consumes the message.
    int (*preTranslateKey)(HWND mainWnd, MSG* msg, void* accelerator) = nullptr;
    // The boot command's option key ("/NUM") and option text; empty when none was posted.
    const char* (*bootOptionKey)() = nullptr;
    const char* (*bootOptionText)() = nullptr;
    // 1 when a drawing file was written during this run.
    int (*drawingWasSaved)() = nullptr;
    // Reads a text value of the program's configuration (section, key) into out.
    int (*readConfigText)(const char* section, const char* key, char* out, int size) = nullptr;
    // The path of a per-user data file (the user's settings folder joined with the name).
    std::string (*userDataFilePath)(const char* name) = nullptr;
    // The program's ini file (sections such as [TOOLBAR]).
    std::string (*programIniPath)() = nullptr;
};

// The one table of the program; entries left null use the stand-ins.
FrameServices& GetFrameServices();

// Calls through the table, with the stand-ins' answers for missing entries.
HWND FrameActiveView();
HWND FrameCreateDrawingWindow(HWND mainWnd);
int FrameIsLockedView(HWND view);
int FrameExecuteServiceCommand(HWND mainWnd, WPARAM wParam, LPARAM lParam);
int FrameExecuteViewCommand(HWND mainWnd, WPARAM wParam, LPARAM lParam);
int FrameAppendTypedKeyName(HWND window, int virtualKey);
int FrameIsPluginCommandRunning();
void FrameRestartBackupTimer();
void FrameCheckTimedBackup();
int FrameCloseRightMenu();
void FrameRestoreInputFocus();
int FramePreTranslateKey(HWND mainWnd, MSG* msg, void* accelerator);
const char* FrameBootOptionKey();
const char* FrameBootOptionText();
int FrameDrawingWasSaved();
int FrameReadConfigText(const char* section, const char* key, char* out, int size);
std::string FrameUserDataFilePath(const char* name);
std::string FrameProgramIniPath();

// Writes a trace line (debugger output and the operation log at trace level): the stand-ins'
// record of requests nobody serves yet.
void FrameTrace(const char* format, ...);
