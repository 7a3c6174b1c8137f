// Help files: service command 1212 opens the configured help file (or one the caller names).
// Old-style ".hlp" files go to the system's help viewer; every other document is opened through
// the shell by the process-wide CCadIntHelp, which remembers what it opened so that the
// viewers it started are closed when the program exits.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The calls that start other programs; tests install their own, so no test starts a viewer.
class CHelpLauncher {
public:
    virtual ~CHelpLauncher() = default;
    // Opens the document with its associated program. The result as ShellExecute gives it
    // (above 32: success); *process: the id of the process started, 0 when none was.
    virtual INT_PTR ShellOpen(const char* path, DWORD* process);
    virtual UINT RunProgram(const char* commandLine);  // WinExec, shown
    virtual BOOL ShowHelpContents(HWND owner, const char* path);  // WinHelp, contents
};

CHelpLauncher& GetHelpLauncher();
void SetHelpLauncher(CHelpLauncher* launcher);  // null: the real one

class CCadIntHelp {
public:
    CCadIntHelp() = default;
    // Closes the help windows of the viewers this object started.
    virtual ~CCadIntHelp();
    CCadIntHelp(const CCadIntHelp&) = delete;
    CCadIntHelp& operator=(const CCadIntHelp&) = delete;

    // Opens the document; when it opened and remember is set, its lower-case file name joins
    // the list (once). The shell's result.
    INT_PTR Open(const char* path, BOOL remember);
    // 1 when the lower-cased title contains a remembered name.
    int IsHelpWindowTitle(const char* title) const;

    const std::vector<std::string>& Names() const { return m_names; }

private:
    void CloseHelpWindows();

    std::vector<std::string> m_names;
    // The viewers started: only their windows are closed at exit, never another program's.
    std::vector<DWORD> m_processes;
};

// The process-wide instance, made on first use; DestroyCadIntHelp (at exit) closes its viewers.
CCadIntHelp& GetCadIntHelp();
void DestroyCadIntHelp();

// CCadIntHelp::Open on the process-wide instance.
INT_PTR OpenHelpFile(const char* path, BOOL remember);

// Service command 1212: the given path, or the configured help file when it is null. A missing
// file does nothing. 1.
int RunHelpCommand(HWND mainWindow, const char* path);
