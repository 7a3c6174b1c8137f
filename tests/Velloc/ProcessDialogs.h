// The dialogs and message boxes this test process shows, as a user would see them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The visible dialog-class windows ("#32770") of this process.
std::vector<HWND> VisibleProcessDialogs();
// The texts of a window's static controls, joined.
std::string StaticTextsOf(HWND window);
