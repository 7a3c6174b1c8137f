// The command "PDF保存": saves the current drawing (or the drawing a stand-alone host hands
// in as the context) as a PDF file.
#pragma once

#include <cstdint>
#include <string>

#include "CmdBase.h"

#include <windows.h>

constexpr int kSavePdfDialogId = 121;       // the save dialog's extension
constexpr int kSavePdfOptionButtonId = 6091;
constexpr int kSavePdfCancelled = 1;        // the user cancelled the save dialog
constexpr int kSavePdfNotWritten = 2;       // batch use: no file was written (never -1, "not started")

class CSavePdf : public CCmdBaseEx {
public:
    // Interactive use: 1 when the user cancels the save dialog, else 0 (failures are shown by
    // the export). Batch use (a database as the context): 0 only when the file was written,
    // else kSavePdfNotWritten.
    int Run();

    int32_t m_optionFlag = 0;  // the flags word: 0 at every run
};

// The output path of batch use: every "/OD" removed (multibyte-aware), then, when one was
// removed, blanks trimmed from both ends.
std::string BatchOutputPath(const std::string& parameters);

// The save dialog with `path` (at least MAX_PATH bytes) as the proposed name: 1 with the chosen
// path, 0 with an empty path.
int ChooseSaveFile(char* path);
UINT_PTR CALLBACK SaveDialogHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SaveDialogFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
