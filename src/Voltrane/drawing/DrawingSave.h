// Saving drawings: whether a save request asks for a name, asks before overwriting, is refused
// or writes; the write itself with a fresh preview; the backup writes. A save that writes
// nothing leaves the drawing's name, lock, modified flag and undo list as they were.
// SaveDrawing is declared with the views' services (view/ViewServices.h).
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <cstdint>
#include <string>

// Save modes of SaveDrawing.
enum SaveMode : int {
    kSaveAs = 0,          // always the save dialog
    kSaveOverwrite = 1,   // the save command and the close question
    kSaveForced = 2,      // under the window's name, no question
    kSaveForcedByName = 3,  // the window the host service named, no question
    kSaveAsService = 4,   // as 0
};

// Writes the view's drawing to the path; 1 on success. A refused type shows its message and
// clears the path (the buffer holds at least MAX_PATH bytes).
int WriteDrawingFile(HWND view, char* path);
// A backup write (engine format "tcf"); the engine's result.
int WriteBackupDrawing(HWND view, const char* path);

// 1 once a drawing file was written during this run.
int DrawingWasSavedThisRun();

// The name that mode 3 saves, stored by the host service before it asks.
void SetForcedSaveFileName(const char* name);

// The extension of the filter pattern put into the dialog's name field: the name with its
// extension replaced (unless already equal, case-insensitive) or appended; empty stays empty.
std::string ApplyFilterExtension(const std::string& name, const std::string& pattern);

// The common dialog the save runs; tests answer it without a window. Returns TRUE when a name
// was chosen.
using SaveDialogRunner = BOOL (*)(OPENFILENAMEA* request);
SaveDialogRunner SetSaveDialogRunner(SaveDialogRunner runner);

// Drives a write to a removable drive through temporary files in the folder: the new drawing
// goes to a file of its own, which then replaces the target; the old file is copied first and
// put back when anything fails. Temporary files never outlive the call. save writes a file
// and answers the engine's result (1 saved) and flags.
int SaveThroughTemporaryFiles(const char* target, const char* folder,
                              int (*save)(const char* path, void* context, uint32_t* flags), void* context,
                              uint32_t* flags);
constexpr uint32_t kSaveFlagDiskFull = 0x10;
