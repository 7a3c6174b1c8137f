// The system command dispatcher: runs every command id from 4000 to 39999, the built-in system
// commands itself and the plug-in commands through their library's StartCmd, bracketed by the
// command notifications. The main frame chains it into its message map; it answers
// WM_CAD_RUN_COMMAND (2475).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "CommandIds.h"
#include "HostMessages.h"
#include "WinKit/MessageMap.h"
#include "commands/CommandRunState.h"

class CLumbraCmd;

// The status bar's message while a built-in command whose services are not built is picked.
constexpr char kCommandNotAvailableText[] = "このコマンドは使用できません";

// The longest extra argument text read from the long parameter of a plug-in command.
constexpr size_t kMaxExtraArgumentText = 1024;

class CSystemCommandDispatcher : public WinKit::CMessageMap {
public:
    explicit CSystemCommandDispatcher(CLumbraCmd* catalog = nullptr);
    ~CSystemCommandDispatcher() override;
    CSystemCommandDispatcher(const CSystemCommandDispatcher&) = delete;
    CSystemCommandDispatcher& operator=(const CSystemCommandDispatcher&) = delete;

    WK_BEGIN_MSG_MAP(CSystemCommandDispatcher)
        WK_MESSAGE_HANDLER(WM_CAD_RUN_COMMAND, OnRunCommand)
    WK_END_MSG_MAP()

    // Handler of 2475: closes the right-click menu and runs the command with the main window as
    // context between WM_CAD_CMD_NOTIFY 1 and 0.
    LRESULT HandleRunCommandMessage(WPARAM wParam, LPARAM lParam);
    // The same bracket around ExecuteSystemCommand with the given context window.
    int ExecuteSystemCommandNotified(HWND context, WPARAM wParam, LPARAM lParam);
    // Dispatches one command: 1 handled, 0 refused or failed.
    int ExecuteSystemCommand(HWND context, WPARAM wParam, LPARAM lParam);

    void NotifyCommandStart(NMHDR& header, int id);
    void NotifyCommandEnd(NMHDR& header);

    // 1 when there is no active view, when its drawing is not in reference mode, or when the
    // catalogue allows the id on such a drawing.
    int IsCommandAllowedOnDrawing(int id);

    // Posts the command with a copy of the text that lives until the command has run (the
    // sender's buffer may change before then, as DDE's does).
    void PostRunCommandWithText(WPARAM wParam, const char* text);

    CLumbraCmd& Catalog() { return *m_catalog; }
    // Re-posted commands whose text copy is still waiting for its message (tests look).
    size_t PendingRepostCount() const { return m_reposted.size(); }

private:
    LRESULT OnRunCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
    int RunPluginCommand(HWND context, int id, LPARAM lParam);
    void ResetAfterPluginCommand();
    int RunBuiltInCommand(HWND context, WPARAM wParam, LPARAM lParam);
    void CancelRunningCommand();
    // The long parameter a later run of the command gets: the dispatcher's own copy of a
    // plug-in command's text (the sender's lives only for its call).
    LPARAM KeepRunText(WPARAM wParam, LPARAM lParam);
    LPARAM KeepText(const char* text);
    // Posts 2475 with a text kept by KeepRunText or KeepText; a failed post frees the copy.
    void PostKeptRun(WPARAM wParam, LPARAM kept);
    void RepostRunCommand(WPARAM wParam, LPARAM lParam);
    // A command picked while a cancelled command has not returned yet: it is posted once that
    // command has returned, never run inside it.
    void HoldRunCommand(WPARAM wParam, LPARAM lParam);
    void ReleaseHeldCommands();
    // Takes back the copy made by KeepRunText when lParam is one; null otherwise.
    std::unique_ptr<char[]> TakeRepostedText(LPARAM lParam);

    struct HeldRun {
        WPARAM wParam;
        LPARAM lParam;
    };
    CLumbraCmd* m_catalog;
    std::vector<std::unique_ptr<char[]>> m_reposted;
    std::vector<HeldRun> m_held;
};

// The program's dispatcher, chained into the main frame's map.
CSystemCommandDispatcher& GetSystemCommandDispatcher();

// The bracketed dispatch for callers other than the main frame's map (typed view command keys,
// drawing events).
int ExecuteSystemCommandNotified(HWND context, WPARAM wParam, LPARAM lParam);

// 1 when an interactive service command or a plug-in command runs.
int IsCommandRunning();
// 1 while a plug-in command runs.
int IsPluginCommandRunning();
