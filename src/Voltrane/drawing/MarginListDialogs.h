// The margin preset dialogs: the list of "margin.dat" (template 213), from which the settings
// page takes a preset, and the new-preset dialog (template 214).
#pragma once

#include <windows.h>

#include <string>

#include "drawing/MarginPresets.h"

// Checks the entries of the new-preset dialog: a name (cut to 30 bytes on a character boundary;
// no comma, which would split the file line) and eight valid margins. 1 with preset filled;
// otherwise the first fault is shown over owner, *badControl names the control and preset is
// unchanged.
int ReadNewMarginEntries(HWND owner, const std::string& name, const std::string margins[CMarginData::kMarginCount],
                         CMarginData& preset, int* badControl);

// Appends the presets of a preset file to the store (other lines of the file stay out).
// The result of reading it: 0, -1 or -2.
int ImportMarginFile(CMargin& store, const char* path);
// Writes a file with the header and that preset alone. 0, or -1.
int ExportMarginPreset(const CMarginData& preset, const char* path);

// 1 with the chosen preset, 2 when cancelled.
int RunMarginListDlg(HWND parent, CMarginData& chosen);
// 1 with the new preset, 2 when cancelled.
int RunMarginListNewDlg(HWND parent, CMarginData& preset);
