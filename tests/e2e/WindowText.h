// Reading what a window shows, as a user would see it.
#pragma once

#include <windows.h>

#include <string>

// The window's caption.
std::string Caption(HWND window);
// Waits until the caption is exactly the text; false on time-out.
bool WaitForCaption(HWND window, const std::string& caption, DWORD timeoutMs);
// The texts of a message box's static controls, concatenated.
std::string StaticTexts(HWND box);
// Returns once the window's thread has taken a message again after what it was doing (a sent
// message jumps the posted ones: it says nothing about those); false on time-out.
bool WaitUntilResponsive(HWND window, DWORD timeoutMs);
