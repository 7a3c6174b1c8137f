// The input histories: for each edit field that keeps one (its key), the last twenty values
// confirmed there, newest first, kept in "rirekimoji.ini" with one section per key. Panels,
// dialogs and the right-click menu add values and offer them as a pop-up menu.
//
// The working slots hold the history of the key read last; every operation reads its key
// afresh. The history of section "DATA" (the empty key) is read at start and written back at
// exit from slots of its own, so that the exit never writes another field's values into it.
#pragma once

#include <windows.h>

#include <cstddef>

constexpr int kInputHistorySlots = 20;
constexpr size_t kInputHistorySlotSize = 300;
// The menu items of ShowInputHistoryMenu: slot n is item 1236 + n.
constexpr UINT kFirstInputHistoryMenuId = 1236;

// 0 for a key beginning with "~" (a field that keeps no history), else 1.
int IsHistoryKeyEnabled(const char* key);

// Start and exit: section "DATA" into and out of its own slots.
void LoadInputHistory();
int SaveInputHistory();  // the result of the last write

// Puts the value at the front of the key's history (a value already there moves up, else the
// oldest falls off) and writes the history back. An empty value only writes it back.
void AddInputHistory(const char* value, const char* key);

// The key's history as a pop-up menu at the position (x low word, y high word, client
// coordinates of the window); -1 for a key beginning with "~", else 0.
int ShowInputHistoryMenu(HWND window, LPARAM position, const char* key);
// The menu ShowInputHistoryMenu shows, for its caller to destroy; null for a "~" key.
HMENU BuildInputHistoryMenu(const char* key);

// Copies working slot index (0-19) into the buffer, cut on a character boundary to its size.
void GetInputHistoryEntry(char* buffer, size_t bufferSize, int index);
