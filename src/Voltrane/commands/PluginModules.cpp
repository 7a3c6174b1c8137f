#include "commands/PluginModules.h"

#include <cstdio>

#include "commands/CommandCatalog.h"
#include "commands/CommandHost.h"
#include "commands/InputWaitLoop.h"
#include "commands/PluginGuard.h"

namespace {

const char kForcedEndText[] =
    "コマンドの動作中にエラーを検出した為、コマンドを強制終了します。\n"
    "エラーは自動的に回復されますが、念の為図面を保存しておくことをお勧めします。";

void ShowCatalogMessage(int id) { GetCommandHost().ShowErrorMessage(GetCommandHost().MessageText(id)); }

// The catalogue is read at start-up; a caller that comes before that reads it here once.
void EnsureCatalogRead(CLumbraCmd& catalog)
{
    if (!catalog.IsRead()) catalog.ReadCommandDefinitions();
}

}  // namespace

CCurrentModuleScope::CCurrentModuleScope(CLumbraCmd& catalog)
    : m_catalog(catalog), m_module(catalog.currentModule), m_slot(catalog.currentSlot)
{
}

CCurrentModuleScope::~CCurrentModuleScope()
{
    m_catalog.currentModule = m_module;
    m_catalog.currentSlot = m_slot;
}

HMODULE LoadLibraryByName(const char* path)
{
    if (path == nullptr || *path == '\0') return nullptr;
    HMODULE module = LoadLibraryA(path);
    if (module != nullptr) return module;
    std::string elf = path;
    elf += ".so";
    return LoadLibraryA(elf.c_str());
}

HMODULE LoadCommandModule(CLumbraCmd& catalog, int id, std::string& module, std::string& arguments,
                          UINT* previousErrorMode)
{
    EnsureCatalogRead(catalog);
    catalog.currentSlot = -1;
    std::string line;
    int slot = -1;
    if (catalog.FindCommand(id, line, &slot) < 0) {
        ShowCatalogMessage(5118);
        return nullptr;
    }
    SplitCommandLine(line, module, arguments);

    if (previousErrorMode != nullptr) *previousErrorMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);

    if (slot >= 0 && slot < kLibrarySlotCount) {
        catalog.LoadSlotModule(slot);
        catalog.currentModule = catalog.Slot(slot).module;
        catalog.currentSlot = slot;
    } else {
        catalog.currentModule = LoadLibraryByName(module.c_str());
        catalog.currentSlot = -1;
    }
    if (catalog.currentModule == nullptr) {
        catalog.currentSlot = -1;
        ShowCatalogMessage(5119);
        if (previousErrorMode != nullptr) SetErrorMode(*previousErrorMode);
        return nullptr;
    }
    return catalog.currentModule;
}

void OnPluginCommandFault(DWORD exceptionCode)
{
    CCommandHost& host = GetCommandHost();
    char text[128];
    std::snprintf(text, sizeof text, "%ld コマンド実行中に例外が発生しました",
                  static_cast<long>(exceptionCode));
    host.WriteLog(0, "Error", text);
    host.ShowErrorMessage(kForcedEndText);
    host.BackupModifiedDrawings();
    host.CloseAllParameterPanels();
}

namespace {

// CallStartCmd that also tells whether a fault ended the call.
int CallStartCmdChecked(StartCmdProc entry, const char* text, int guard, bool* faulted)
{
    CCommandHost& host = GetCommandHost();
    HWND mainWindow = host.MainWindow();
    *faulted = false;
    if (!guard) return entry(mainWindow, text);

    int result = -1;
    DWORD code = 0;
    const WaitStateMark waits = MarkWaitState();
    if (CallStartCmdGuarded(entry, mainWindow, text, &result, &code)) {
        host.FocusActiveView();
        return result;
    }
    RestoreWaitState(waits);
    *faulted = true;
    OnPluginCommandFault(code);
    return -1;
}

}  // namespace

namespace {

// Loads the command's library for one call of its StartCmd with the text, then frees it.
// 1 called (*result its answer), 0 when the catalogue, the library or StartCmd failed; with
// report set the failure is shown (5118 command or library missing, 5120 no StartCmd).
int CallCommandLibraryOnce(int id, const char* text, bool report, int* result)
{
    CCommandHost& host = GetCommandHost();
    CLumbraCmd& catalog = GetLumbraCmd();
    EnsureCatalogRead(catalog);
    std::string line, module, arguments;
    if (catalog.FindCommand(id, line, nullptr) < 0) {
        if (report) host.ShowErrorMessage(host.MessageText(5118));
        return 0;
    }
    SplitCommandLine(line, module, arguments);
    const UINT previousMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    HMODULE library = LoadLibraryByName(module.c_str());
    SetErrorMode(previousMode);
    if (library == nullptr) {
        if (report) host.ShowErrorMessage(host.MessageText(5118));
        return 0;
    }
    auto entry = reinterpret_cast<StartCmdProc>(GetProcAddress(library, kStartCmdEntry));
    if (entry == nullptr) {
        if (report) host.ShowErrorMessage(host.MessageText(5120));
    } else {
        const int answer = CallStartCmd(entry, text, host.SafeGuardSetting());
        if (result != nullptr) *result = answer;
    }
    FreeLibrary(library);
    return entry != nullptr ? 1 : 0;
}

}  // namespace

int RunEventCommandQuietly(int id, const char* text) { return CallCommandLibraryOnce(id, text, false, nullptr); }

int RunCommandLibraryOnce(int id, const char* text) { return CallCommandLibraryOnce(id, text, true, nullptr); }

int RunExportPlugin(const char* text)
{
    int answer = 0;
    if (CallCommandLibraryOnce(kExportCommand, text, true, &answer) == 0) return 0;
    return answer;
}

int CallStartCmd(StartCmdProc entry, const char* text, int guard)
{
    bool faulted = false;
    return CallStartCmdChecked(entry, text, guard, &faulted);
}

int StartPluginCommand(CLumbraCmd& catalog, int id, const char* source)
{
    CCommandHost& host = GetCommandHost();
    HCURSOR previousCursor = host.ShowWaitCursor();
    CCurrentModuleScope keepRunning(catalog);
    std::string module, arguments;
    UINT previousMode = 0;
    if (LoadCommandModule(catalog, id, module, arguments, &previousMode) == nullptr) {
        host.RestoreCursor(previousCursor);
        return 0;
    }
    SetErrorMode(previousMode);

    auto entry = reinterpret_cast<StartCmdProc>(GetProcAddress(catalog.currentModule, kStartCmdEntry));
    if (entry == nullptr) {
        ShowCatalogMessage(5120);
        catalog.FreeCommandModule();
        host.RestoreCursor(previousCursor);
        return 0;
    }

    std::string text = source ? source : "";
    if (!arguments.empty()) text = arguments + " " + text;
    if (text.size() > kMaxFileCommandText) {
        // A cut text would name another file: the command is not started.
        char log[160];
        std::snprintf(log, sizeof log, "%.100sの起動に失敗しました", module.c_str());
        host.WriteLog(0, "Error", log);
        ShowCatalogMessage(5119);
        catalog.FreeCommandModule();
        host.RestoreCursor(previousCursor);
        return 0;
    }

    // The command's own result is not looked at; a fault is a failure all the same.
    bool faulted = false;
    CallStartCmdChecked(entry, text.c_str(), host.SafeGuardSetting(), &faulted);

    catalog.FreeCommandModule();
    host.SendStatus(5, host.ActiveElementCount());
    host.RestoreCursor(previousCursor);
    return faulted ? 0 : 1;
}

int StartPluginCommand(int id, const char* source) { return StartPluginCommand(GetLumbraCmd(), id, source); }

int LoadFileThroughPlugin(CLumbraCmd& catalog, int id, const char* path, void* database,
                          void* info1, void* info2)
{
    CCommandHost& host = GetCommandHost();
    CCurrentModuleScope keepRunning(catalog);
    std::string module, arguments;
    UINT previousMode = 0;
    if (LoadCommandModule(catalog, id, module, arguments, &previousMode) == nullptr) return 0;
    SetErrorMode(previousMode);

    const int withInfo = (info1 != nullptr || info2 != nullptr) ? 1 : 0;
    const char* entryName = withInfo ? kLoadingDbInfoEntry : ((id & 0xFFFF) == 5104 ? kJwcLoadingDbEntry : kLoadingDbEntry);
    FARPROC entry = GetProcAddress(catalog.currentModule, entryName);
    if (entry == nullptr) {
        catalog.FreeCommandModule();
        ShowCatalogMessage(5120);
        return 0;
    }

    HWND mainWindow = host.MainWindow();
    int completed = 1;
    if (host.SafeGuardSetting()) {
        DWORD code = 0;
        const WaitStateMark waits = MarkWaitState();
        completed = CallLoaderGuarded(entry, withInfo, mainWindow, path, database, info1, info2, &code);
        if (!completed) {
            RestoreWaitState(waits);
            OnPluginCommandFault(code);
        }
    } else if (withInfo) {
        reinterpret_cast<LoadingDbInfoProc>(entry)(mainWindow, path, database, info1, info2);
    } else {
        reinterpret_cast<LoadingDbProc>(entry)(mainWindow, path, database);
    }

    catalog.FreeCommandModule();
    host.SendStatus(5, host.ActiveElementCount());
    return completed;
}

int LoadFileThroughPlugin(int id, const char* path, void* database, void* info1, void* info2)
{
    return LoadFileThroughPlugin(GetLumbraCmd(), id, path, database, info1, info2);
}

int IsLoadedPluginAddress(const void* address)
{
    HMODULE module = nullptr;
    if (address == nullptr ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<const char*>(address), &module) ||
        module == nullptr)
        return 0;
    const CLumbraCmd& catalog = GetLumbraCmd();
    if (module == catalog.currentModule) return 1;
    for (int slot = 0; slot < kLibrarySlotCount; ++slot)
        if (catalog.Slot(slot).module == module) return 1;
    return 0;
}
