// The page manager (command 4037): the pages of the active drawing as a tree-shaped list in
// which pages and external references are added and deleted; OK applies the changes.
#pragma once

#include <windows.h>

// Runs the page manager on the active drawing. 0.
int AppendPageCommand(HWND owner);
