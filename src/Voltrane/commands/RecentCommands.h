// The recent-command list: the last ten commands that ran with a status name, newest first.
// The right-click menu offers them again; "LocalSettings.xml" keeps them across runs.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr int kRecentCommandCount = 10;
constexpr size_t kRecentCommandNameSize = 80;

struct RecentCommand {
    int id = 0;  // 0: an empty entry
    char name[kRecentCommandNameSize] = {};
};

// Puts the command at the front; one already in the list moves there with the name it had.
// A longer name is cut on a character boundary. 1.
int AddRecentCommand(const char* name, int id);
// Entry 0-9; an empty entry for any other index.
RecentCommand GetRecentCommand(int index);
void ClearRecentCommands();

// One item per entry, newest first: the command id and its status name. Into the custom
// right-click menu while it is shown or being built, else as plain menu items. 1.
int AppendRecentCommandsToMenu(HMENU menu);

// From and into the per-user record of the running program. 1.
int LoadRecentCommands();
int SaveRecentCommands();
