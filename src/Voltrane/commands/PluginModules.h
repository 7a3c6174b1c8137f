// Plug-in command libraries: loading a command's library, its entries and the guarded call of
// its StartCmd. Every library the program loads by name goes through LoadLibraryByName.
#pragma once

#include <windows.h>

#include <string>

#include "PluginEntry.h"

class CLumbraCmd;

// The longest command text handed to StartCmd for a command started on a file, without the
// terminating zero.
constexpr size_t kMaxFileCommandText = 259;

// Keeps the catalogue's current module across a command started while another one runs (a
// file handed over by a second start, or a command run from a plug-in's own dialog): the
// running command's library stays the current one, or the end of that command would free
// nothing, or free a slot library behind its slot.
class CCurrentModuleScope {
public:
    explicit CCurrentModuleScope(CLumbraCmd& catalog);
    ~CCurrentModuleScope();
    CCurrentModuleScope(const CCurrentModuleScope&) = delete;
    CCurrentModuleScope& operator=(const CCurrentModuleScope&) = delete;

private:
    CLumbraCmd& m_catalog;
    HMODULE m_module;
    int m_slot;
};

// 1 when the address lies inside a plug-in library the catalogue holds loaded (the running
// command's library or a slot library); the program's own code and system libraries are not.
int IsLoadedPluginAddress(const void* address);

// Loads a library by its path: first as given (a PE library), then the same path with ".so"
// appended (our Winelib builds).
HMODULE LoadLibraryByName(const char* path);

// Loads the library of the command and makes it the catalogue's current module; null after the
// failure was shown (5118 not in the catalogue, 5119 the library did not load). With
// previousErrorMode given, the error mode is SEM_NOOPENFILEERRORBOX during the load and the
// previous mode is handed back (restoring it is the caller's business).
HMODULE LoadCommandModule(CLumbraCmd& catalog, int id, std::string& module, std::string& arguments,
                          UINT* previousErrorMode);

// Runs the command's StartCmd once with the source text (a file path) after its argument text.
// 1 started, 0 failed or faulted (the failure was shown).
int StartPluginCommand(CLumbraCmd& catalog, int id, const char* source);
int StartPluginCommand(int id, const char* source);

// Reads a file through the command library's loader entry: LoadingDB_Info when an information
// record is given, else Jwc_LoadingDB for 5104 and LoadingDB for every other id.
// 1 called, 0 failed (the failure was shown).
int LoadFileThroughPlugin(CLumbraCmd& catalog, int id, const char* path, void* database,
                          void* info1, void* info2);
int LoadFileThroughPlugin(int id, const char* path, void* database, void* info1, void* info2);

// The drawing event commands (a drawing window closed: 4041): when the catalogue defines the id,
// its library is loaded by path for this one call, its StartCmd gets the text and the library is
// freed again. A missing entry, library or StartCmd is skipped without a message. 1 called.
int RunEventCommandQuietly(int id, const char* text);

// The command's library loaded for one call of its StartCmd with the text and freed again; 1
// called, 0 after the failure was shown (5118 no library, 5120 no StartCmd).
int RunCommandLibraryOnce(int id, const char* text);

// Host service 5: the export command's library (7805, "PDF保存") loaded for one call of its
// StartCmd with the text and freed again; its answer, or 0 after the failure was shown.
constexpr int kExportCommand = 7805;
int RunExportPlugin(const char* text);

// Calls StartCmd with the main window and the text; with guard on, inside an exception guard:
// a fault is recovered by OnPluginCommandFault and gives -1.
int CallStartCmd(StartCmdProc entry, const char* text, int guard);

// Recovery after a fault inside a plug-in: log, tell the user, back up the modified drawings,
// close the parameter panels.
void OnPluginCommandFault(DWORD exceptionCode);
