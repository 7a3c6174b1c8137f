#include "commands/SystemCommandDispatcher.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "PluginEntry.h"
#include "commands/CommandCatalog.h"
#include "commands/CommandHost.h"
#include "commands/InputWaitLoop.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "dialogs/SettingDialogs.h"
#include "drawing/DrawingFileCommands.h"
#include "drawing/PageCommands.h"
#include "drawing/MarginSettings.h"
#include "drawing/NewDrawingDialog.h"
#include "view/DrawingWindowCreation.h"

CommandRunState& GetCommandRunState()
{
    static CommandRunState state;
    return state;
}

int IsCommandRunning()
{
    const CommandRunState& state = GetCommandRunState();
    return (state.hostCommandRunning || state.pluginCommandRunning) ? 1 : 0;
}

int IsPluginCommandRunning() { return GetCommandRunState().pluginCommandRunning ? 1 : 0; }

CSystemCommandDispatcher& GetSystemCommandDispatcher()
{
    static CSystemCommandDispatcher dispatcher;
    return dispatcher;
}

int ExecuteSystemCommandNotified(HWND context, WPARAM wParam, LPARAM lParam)
{
    return GetSystemCommandDispatcher().ExecuteSystemCommandNotified(context, wParam, lParam);
}

CSystemCommandDispatcher::CSystemCommandDispatcher(CLumbraCmd* catalog)
    : m_catalog(catalog ? catalog : &GetLumbraCmd())
{
}

CSystemCommandDispatcher::~CSystemCommandDispatcher() = default;

LRESULT CSystemCommandDispatcher::OnRunCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // A command re-posted by the dispatcher carries its own copy of the text; it is freed once
    // the command has run.
    std::unique_ptr<char[]> owned = TakeRepostedText(lParam);
    return HandleRunCommandMessage(wParam, lParam);
}

LRESULT CSystemCommandDispatcher::HandleRunCommandMessage(WPARAM wParam, LPARAM lParam)
{
    CCommandHost& host = GetCommandHost();
    HWND mainWindow = host.MainWindow();
    host.CloseRightMenu();
    return ExecuteSystemCommandNotified(mainWindow, wParam, lParam);
}

int CSystemCommandDispatcher::ExecuteSystemCommandNotified(HWND context, WPARAM wParam, LPARAM lParam)
{
    HWND mainWindow = GetCommandHost().MainWindow();
    const WPARAM id = LOWORD(wParam);
    SendMessageA(mainWindow, WM_CAD_CMD_NOTIFY, id, 1);
    int result = ExecuteSystemCommand(context, wParam, lParam);
    SendMessageA(mainWindow, WM_CAD_CMD_NOTIFY, id, 0);
    return result;
}

void CSystemCommandDispatcher::NotifyCommandStart(NMHDR& header, int id)
{
    HWND mainWindow = GetCommandHost().MainWindow();
    header.hwndFrom = mainWindow;
    header.idFrom = static_cast<UINT_PTR>(id);
    header.code = kNoticeCommandStart;
    SendMessageA(mainWindow, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

void CSystemCommandDispatcher::NotifyCommandEnd(NMHDR& header)
{
    header.code = kNoticeCommandEnd;
    SendMessageA(GetCommandHost().MainWindow(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

int CSystemCommandDispatcher::IsCommandAllowedOnDrawing(int id)
{
    CCommandHost& host = GetCommandHost();
    if (!host.HasActiveView() || !host.IsActiveDrawingReadOnly()) return 1;
    return m_catalog->IsReadOnlyCommand(id);
}

void CSystemCommandDispatcher::CancelRunningCommand()
{
    SendMessageA(GetCommandHost().MainWindow(), WM_CAD_CANCEL_COMMAND, 0, 0);
}

LPARAM CSystemCommandDispatcher::KeepRunText(WPARAM wParam, LPARAM lParam)
{
    // The sender's text lives only for its call (and DDE hands the address of one shared
    // buffer), so the command that runs later gets its own copy.
    const int id = LOWORD(wParam);
    if (lParam == 0 || id < kFirstPluginCommandId || id > kLastPluginCommandId) return lParam;
    return KeepText(reinterpret_cast<const char*>(lParam));
}

LPARAM CSystemCommandDispatcher::KeepText(const char* text)
{
    const size_t length = strnlen(text, kMaxExtraArgumentText);
    std::unique_ptr<char[]> copy(new char[length + 1]);
    DbcsCopyN(copy.get(), length + 1, text, length);
    m_reposted.push_back(std::move(copy));
    return reinterpret_cast<LPARAM>(m_reposted.back().get());
}

void CSystemCommandDispatcher::PostRunCommandWithText(WPARAM wParam, const char* text)
{
    PostKeptRun(wParam, KeepText(text ? text : ""));
}

void CSystemCommandDispatcher::PostKeptRun(WPARAM wParam, LPARAM kept)
{
    if (!PostMessageA(GetCommandHost().MainWindow(), WM_CAD_RUN_COMMAND, wParam, kept)) TakeRepostedText(kept);
}

void CSystemCommandDispatcher::RepostRunCommand(WPARAM wParam, LPARAM lParam)
{
    PostKeptRun(wParam, KeepRunText(wParam, lParam));
}

void CSystemCommandDispatcher::HoldRunCommand(WPARAM wParam, LPARAM lParam)
{
    m_held.push_back({wParam, KeepRunText(wParam, lParam)});
}

void CSystemCommandDispatcher::ReleaseHeldCommands()
{
    std::vector<HeldRun> held;
    held.swap(m_held);
    for (const HeldRun& run : held) PostKeptRun(run.wParam, run.lParam);
}

std::unique_ptr<char[]> CSystemCommandDispatcher::TakeRepostedText(LPARAM lParam)
{
    if (lParam == 0) return nullptr;
    for (auto it = m_reposted.begin(); it != m_reposted.end(); ++it) {
        if (reinterpret_cast<LPARAM>(it->get()) == lParam) {
            std::unique_ptr<char[]> owned = std::move(*it);
            m_reposted.erase(it);
            return owned;
        }
    }
    return nullptr;
}

int CSystemCommandDispatcher::ExecuteSystemCommand(HWND context, WPARAM wParam, LPARAM lParam)
{
    CCommandHost& host = GetCommandHost();
    CommandRunState& state = GetCommandRunState();
    const int id = LOWORD(wParam);

    state.pageCheckMessage = 1;
    if (id == 5005 || id == 6203) return 1;

    // A cancelled command has not returned yet (it runs its own loop or dialog): the new one
    // waits for it.
    if (IsWaitCancelled()) {
        HoldRunCommand(wParam, lParam);
        return 1;
    }

    // A command that still runs is ended first; the new one runs after it has returned.
    if (state.hostCommandRunning) {
        CancelRunningCommand();
        RepostRunCommand(wParam, lParam);
        state.hostCommandRunning = 0;
        return 1;
    }
    if (state.pluginCommandRunning) {
        CancelRunningCommand();
        host.SendStatus(2, 0);
        RepostRunCommand(wParam, lParam);
        state.pluginCommandRunning = 0;
        return 1;
    }

    host.CountCommandForBackup();

    if (!IsCommandAllowedOnDrawing(id)) {
        const bool linked = host.StartMode() == 2;
        host.ShowMessageBox(host.MainWindow(),
                            linked ? "対象図面は参照モードで開かれています。作業を中止します。"
                                   : "この図面は参照モードで開かれています。",
                            host.ApplicationTitle(), MB_OK | MB_ICONINFORMATION);
        return linked ? 0 : 1;
    }

    int result = 0;
    {
        // Counted for the cancels only now that the command really runs: a pick that merely
        // cancels and re-posts must not take the cancel meant for the running command.
        CommandRunScope run;
        if (id >= kFirstPluginCommandId && id <= kLastPluginCommandId) {
            result = RunPluginCommand(context, id, lParam);
        } else {
            NMHDR header = {};
            NotifyCommandStart(header, id);
            result = RunBuiltInCommand(context, wParam, lParam);
            NotifyCommandEnd(header);
        }
    }
    if (!IsWaitCancelled()) ReleaseHeldCommands();
    return result;
}

int CSystemCommandDispatcher::RunPluginCommand(HWND /*context*/, int id, LPARAM lParam)
{
    CCommandHost& host = GetCommandHost();
    CommandRunState& state = GetCommandRunState();

    if (!host.HasActiveView() && id == 5104) return 1;

    CCurrentModuleScope keepRunning(*m_catalog);
    std::string module, arguments;
    if (LoadCommandModule(*m_catalog, id, module, arguments, &state.savedErrorMode) == nullptr) {
        return 0;
    }
    if (lParam != 0) {
        const char* extra = reinterpret_cast<const char*>(lParam);
        arguments += ' ';
        // A longer text is cut on a character boundary, never inside a double-byte character.
        const size_t length = strnlen(extra, kMaxExtraArgumentText + 1);
        arguments.append(extra, DbcsFitLength(extra, length, kMaxExtraArgumentText));
    }
    SetErrorMode(state.savedErrorMode);

    HMODULE library = m_catalog->currentModule;
    auto startCmd = reinterpret_cast<StartCmdProc>(GetProcAddress(library, kStartCmdEntry));
    auto saveFg = reinterpret_cast<CwCmdSaveFgProc>(GetProcAddress(library, kCwCmdSaveFgEntry));
    auto version = reinterpret_cast<CwCmdVerProc>(GetProcAddress(library, kCwCmdVerEntry));
    if (startCmd == nullptr) {
        char log[320];
        std::snprintf(log, sizeof log, "%.280sの起動に失敗しました", module.c_str());
        host.WriteLog(0, "Error", log);
        host.ShowErrorMessage(host.MessageText(5120));
        m_catalog->FreeCommandModule();
        return 1;
    }

    state.pluginCommandRunning = 1;

    char statusName[256] = {};
    if (m_catalog->GetCommandStatusName(id, statusName, sizeof statusName) && statusName[0] != '\0') {
        host.SendStatus(1, reinterpret_cast<LPARAM>(statusName));
        host.AddRecentCommand(id, statusName);
    }
    char log[300];
    std::snprintf(log, sizeof log, "%d %s", id, statusName);
    host.WriteLog(2, "Cmd Start", log);

    GetCadSystem().currentCommandId = id;
    state.saveFlag = (saveFg != nullptr && saveFg() == 1) ? 1 : 0;
    state.newerInterface = (version != nullptr && version() > 150) ? 1 : 0;

    host.EnableInputScaleCombo(0);
    state.runningPluginId = id;

    NMHDR header = {};
    NotifyCommandStart(header, id);
    const int result = CallStartCmd(startCmd, arguments.c_str(), host.SafeGuardSetting());
    NotifyCommandEnd(header);

    ResetAfterPluginCommand();

    if (host.ActiveDrawingHasSelectionMarks()) host.WriteLog(0, "Warning", "選択要素が未開放です");
    state.newerInterface = 0;
    return result == -1 ? 0 : 1;
}

void CSystemCommandDispatcher::ResetAfterPluginCommand()
{
    CCommandHost& host = GetCommandHost();
    CommandRunState& state = GetCommandRunState();

    state.undoRecording = 1;
    host.EnableInputScaleCombo(1);
    host.SetInputScaleRefused(0);
    state.runningPluginId = 0;
    SendMessageA(host.MainWindow(), WM_CAD_CMD_STATE, 0, 1);
    state.undoBeginSuppressed = 0;
    host.CloseRightMenu();
    state.layerPickMode = 0;
    m_catalog->FreeCommandModule();
    state.saveFlag = 0;
    GetCadSystem().currentCommandId = 0;
    state.batchEdit = 1;
    host.ResetEngineAfterCommand(host.UndoSetting());
    host.SetRightClickEnterMode(0);
    state.highlightColor = 0;
    state.commandOption = 0;
    host.SendStatus(2, 0);
    host.SendStatus(1, 0);
    host.SendStatus(5, host.ActiveElementCount());
    state.pluginCommandRunning = 0;
    host.ResetRightMenuPickList(0);
    host.WriteLog(2, "Cmd End", "OK");
    host.DestroyKeptElementMark();
    host.SetRightMenuHideMask(0, 0);
}

int CSystemCommandDispatcher::RunBuiltInCommand(HWND context, WPARAM wParam, LPARAM /*lParam*/)
{
    CCommandHost& host = GetCommandHost();
    const int id = LOWORD(wParam);
    char log[128];
    switch (id) {
    case 4005:
        CancelRunningCommand();
        std::snprintf(log, sizeof log, "%ld 図面を閉じる", static_cast<long>(id));
        host.WriteLog(2, "System Cmd", log);
        if (HWND frame = host.ActiveViewFrame()) PostMessageA(frame, WM_CLOSE, 0, 0);
        return 1;
    case 4006:
        CancelRunningCommand();
        std::snprintf(log, sizeof log, "%ld CAD終了", static_cast<long>(id));
        host.WriteLog(2, "System Cmd", log);
        host.SendStatus(1, reinterpret_cast<LPARAM>(host.MessageText(4012)));
        PostMessageA(context, WM_CLOSE, 0, 0);
        host.SendStatus(1, 0);
        return 1;
    case 4025:
        // A further view of the active drawing.
        OpenFurtherDrawingView(context);
        return 1;
    case 4000: case 4001: case 4002: case 4012: case 4013: case 4021: case 4027: case 4051:
        CancelRunningCommand();
        return RunDrawingFileCommand(context, id);
    case 4024:
        ShowSetMarginDlg();
        return 1;
    case 4037: case 4038:
        CancelRunningCommand();
        return RunPageCommand(context, id);
    case 4039: case 4040:
        return RunPageCommand(context, id);
    case 4050:
        return RunStartDrawingCommand(context, wParam);
    case 4008:
        ShowVersionInfoDlg();
        return 1;
    case 4023:
        ShowSetCursorDlg();
        return 1;
    case 4036:
        ShowSetCoordDispDlg();
        return 1;
    default:
        return 0;
    }
}
