// What the file dialog does with the chosen files: open each by its type, load one into the
// paste database for placing, delete them, or hand them to the page manager.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The paths of an open-file result buffer: one text is the path; several are a folder and
// names. -1 for an empty buffer, else 0.
int SplitDialogFileList(const char* buffer, std::vector<std::string>& paths);

void OpenChosenFiles(HWND owner, const std::vector<std::string>& paths);
void DeleteChosenFiles(HWND owner, const std::vector<std::string>& paths);
// Loads the file into the paste database and starts placing it; false when it did not load.
bool PlaceChosenFile(HWND owner, const std::string& path);
void AttachChosenFiles(const std::vector<std::string>& paths);
