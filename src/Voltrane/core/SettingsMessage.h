// Message boxes shown by the settings code (missing or damaged settings files, an unwritable
// backup folder). They go through one function so that tests can answer them without a
// window.
#pragma once

#include <windows.h>

using SettingsMessageHook = int (*)(HWND owner, const char* text, const char* caption, UINT flags);

// Shows the box (MessageBoxA) or hands it to the hook; returns the button pressed.
int ShowSettingsMessage(HWND owner, const char* text, const char* caption, UINT flags);
// Installs a hook (nullptr restores the real message box); returns the previous one.
SettingsMessageHook SetSettingsMessageHook(SettingsMessageHook hook);
