// The one dialog through which drawing files are chosen to open, to place, to delete or to
// attach as external references: the open-file dialog with a preview of the selected file and
// an information panel, whose chosen files then get the action of the mode.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngineRecords.h"

enum FileDialogMode : int {
    kFileDialogOpen = 0,
    kFileDialogPlace = 1,
    kFileDialogDelete = 10,
    kFileDialogReference = 20,
};

// Runs the dialog and the action of the mode on the chosen files; 0 in every case.
int RunDrawingFileDialog(HWND owner, int mode);

// The path CDM_GETFILEPATH gives, reduced to the folder and the first name when several
// files are selected ("folder\"a" "b"").
std::string FirstSelectedPath(const std::string& answer);

// What the information panel shows of a file. info is null when no drawing information was
// loaded; elementCount and dates come from the drawing, the file's time and size from disk.
struct FileInfoSource {
    const DbInfoRecord* info = nullptr;
    bool engineInfo = false;          // the engine loaded the information (not a JWC header)
    long elementCount = 0;
    bool fileFound = false;
    SYSTEMTIME fileWritten{};         // local time
    uint64_t fileSize = 0;
    std::vector<std::string> scaleTexts;  // the settings' scale list
};
std::vector<std::string> BuildFileInfoLines(const FileInfoSource& source);

// The import-options dialog (template 235).
int ShowFileOpenSettingsDialog(HWND parent);
