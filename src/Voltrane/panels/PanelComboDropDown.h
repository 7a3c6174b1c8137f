// The drop-down of a combo field: a small dialog under the field holding the field's choices in
// a list box. A pick goes into the shared edit buffer and the field hears it as a commit.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr int kPanelDropDownListId = 5001;

// Where the drop-down stands while it is being made (its list box keeps this size) and where
// the field puts it afterwards, for a field whose screen rectangle is field on a screen
// screenHeight pixels high.
RECT PanelDropDownInitialRect(const RECT& field, int screenHeight);
RECT PanelDropDownFinalRect(const RECT& field, int screenHeight);

// Opens the drop-down of field with its choices; any drop-down still open closes first. The
// pick is copied into the edit buffer (bufferSize bytes) and field receives commitMessage.
// The window of the drop-down, or null when it could not be made.
HWND OpenPanelComboDropDown(HWND field, const std::vector<std::string>& choices, char* buffer, size_t bufferSize,
                            UINT commitMessage);
// The open drop-down, null when none is open.
HWND PanelComboDropDownWindow();
// Closes an open drop-down without a pick.
void ClosePanelComboDropDown();
