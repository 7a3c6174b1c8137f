// Starts the real program from the program folder and watches it as another Windows program
// would: by its windows and its exit code.
#pragma once

#include <windows.h>

#include <string>

class ProgramProcess {
public:
    ProgramProcess() = default;
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    // Starts Voltrane with the given arguments; false when it could not be started.
    bool Start(const std::string& arguments = std::string());
    // Starts a program of a folder (a path ending in a backslash), in that folder.
    bool StartIn(const std::string& folder, const std::string& program, const std::string& arguments);
    // The first visible top-level window of the class in this process, within the time.
    HWND WaitForWindow(const char* className, DWORD timeoutMs) const;
    // Waits for the process to end; false on time-out. The exit code is then valid.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    DWORD ProcessId() const { return m_info.dwProcessId; }
    // A window of the class in this process, shown or not; null when there is none.
    HWND AnyWindow(const char* className) const;
    // The text of a field of the program's status bar (its WM_COMMAND 2000 into a buffer that
    // is lent in the program's own memory).
    std::string StatusBarField(HWND statusBar, int index) const;
    // Ends a process that is still running (after a failed test); whether it has ended.
    bool Kill();

private:
    PROCESS_INFORMATION m_info = {};
};

// The folder of the test program, which is the program folder of the build.
std::string ProgramFolder();

// The program's dialog with the caption, within the time; null when none showed.
HWND WaitForDialog(const ProgramProcess& program, const std::string& caption, DWORD timeoutMs);
// Whether the window is gone within the time.
bool WaitUntilGone(HWND window, DWORD timeoutMs);
