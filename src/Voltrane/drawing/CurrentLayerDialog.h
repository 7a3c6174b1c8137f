// The current-layer dialog: a small modeless window listing the layers of the active drawing's
// current page; choosing a line makes that layer the program's input layer at once. The tool
// panel owns the one instance and reaches it through the launchers below.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The list of the current page of the drawing: its lines ("%-4d %s", numbers counted from 1)
// and the line of the page's current layer (-1 when it is not listed). A page with nothing to
// list gives the single line "1    レイヤ 1", selected. 0, or -1 without the page's
// information (nothing filled).
int BuildCurrentLayerLines(void* db, std::vector<std::string>& lines, int* selected, std::string* caption);

// The layer number (from 0) of a list line, -1 when its first four characters give none.
int LayerOfCurrentLayerLine(const char* line);

// ---- launchers for the tool panel ----
// Creates the dialog on first use (owned by the parent), fills it and shows it.
HWND ShowCurrentLayerDialog(HWND parent);
// Refills the dialog when it exists.
void RefreshCurrentLayerDialog();
// Hides the dialog when it exists.
void HideCurrentLayerDialog();
// The dialog window, null before its first showing.
HWND GetCurrentLayerDialogWindow();
// Destroys the dialog (at program end and in tests).
void DestroyCurrentLayerDialog();
