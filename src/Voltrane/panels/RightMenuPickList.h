// The pick list that a running plug-in command fills for the right-click menu, and the settings
// the command gives the menu (its switch, the right-click-means-Enter mode, the hide mask).
#pragma once

#include <cstdint>

constexpr int kRightMenuPickCount = 39;       // ids 1260 to 1298
constexpr int kRightMenuPickTextBytes = 80;

enum RightMenuPickKind { kPickFree = 0, kPickEntry = 1, kPickSeparator = 2, kPickColumnBreak = 4 };

// Hide-mask bits.
constexpr int kHideFinish = 1;       // "完了 - [ ENTER ]"
constexpr int kHideCancel = 2;       // "取消 - [  ESC  ]"
constexpr int kHideHistory = 4;      // the command-history submenu
constexpr int kHideFileEntries = 8;  // the entries of the menu file

struct RightMenuPickEntry {
    char text[kRightMenuPickTextBytes] = {};
    int32_t value = 0;
    int32_t kind = kPickFree;
};

struct RightMenuState {
    int pickSwitch = 0;
    int enterMode = 0;
    int activation = 0;  // 0 none, 1 shown, 2 activated since
    int hideMask = 0;
    int popupShown = 0;
    int columnFirstEntry = 0;
};

RightMenuState& GetRightMenuState();
RightMenuPickEntry* GetRightMenuPickList();  // kRightMenuPickCount entries

// The host messages. Each answers as its message does.
int ClearRightMenuPickList();
int EnableRightMenuPickList(intptr_t on);
// Stores the request in the first free entry (text cut to 79 bytes on a character boundary);
// 0 when every entry is taken.
int AddRightMenuPickItem(const char* text, int32_t kind, int32_t value);
void SetRightClickEnterMode(int mode);
void SetRightMenuHideMask(int mask);
// After every plug-in command: the switch given, every entry free (texts and values stay).
void ResetRightMenuPickList(int pickSwitch);
// 1 when the list holds an entry or a separator.
int RightMenuPickListHasItems();
// A pick of entry n (ids 1260 + n) becomes the waiting command's input event; n outside the
// list does nothing. 1 when an event was written.
int PostRightMenuPick(int n);
