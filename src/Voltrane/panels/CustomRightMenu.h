// The right-click popup: the container "MyRPitem" (and the sub-popups, of the same class), the
// column separators "MyRTPitem" and the entries "RPMENU", laid out in columns of small owner-
// painted windows.
#pragma once

#include <windows.h>

// Flags of AppendCustomMenuItem, as a Windows menu's.
constexpr UINT kCustomMenuPopup = 0x10;
constexpr UINT kCustomMenuColumnBreak = 0x20;
constexpr UINT kCustomMenuSeparator = 0x800;

// The close request the container handles.
constexpr UINT kRightMenuCloseMessage = 1074;

// Window extra of an "RPMENU" entry.
constexpr int kEntryInSubPopup = 4;   // -1 inside a sub-popup
constexpr int kEntrySubPopup = 8;     // the sub-popup of a submenu entry
constexpr int kEntryCommand = 12;     // the command id; -1 separator, -2 submenu entry
constexpr LONG kEntrySeparatorId = -1;
constexpr LONG kEntrySubmenuId = -2;

// 1 while the popup is shown or being built (the command history then adds custom entries).
int IsCustomRightMenuShown();
// Adds an entry (flags above; other bits ignored) with its command id, or its sub-popup window
// for a submenu entry. While a sub-popup is built the entry goes into parent, else into the
// container. 1 added, 0 not.
int AppendCustomMenuItem(HWND parent, UINT flags, INT_PTR value, const char* caption);

int RegisterRightMenuPopupClasses(HINSTANCE instance);
int UnregisterRightMenuPopupClasses(HINSTANCE instance);
// The "RPMENU" procedure, which the panel classes register with 16 bytes of window extra.
LRESULT CALLBACK RightMenuEntryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Makes the hidden container; 1 made, 0 failed.
int CreateRightMenuPopup(HWND owner, HINSTANCE instance);
void DestroyRightMenuPopup();
HWND GetRightMenuContainer();

// Builds the popup for a click in the view and shows it at the cursor.
void ShowCustomRightMenu(HWND view);

// Layout, as the placement rules give it (pure, for tests).
struct CustomMenuLayout {
    int columnX = 0;
    int nextY = 5;
    int lowestY = 5;
    int columnWidth = 0;
};
// Where the popup of the size goes for the cursor on the monitor.
POINT PlaceRightMenuPopup(POINT cursor, SIZE size, const RECT& monitor);
// Where a submenu entry's sub-popup goes (entry in screen coordinates).
POINT PlaceRightMenuSubPopup(const RECT& entry, int monitorRight);
// The current layout state (tests read it after AppendCustomMenuItem).
CustomMenuLayout& CurrentCustomMenuLayout();
// Starts a fresh layout: no entries, no separators, column x and y as given.
void ResetCustomMenuLayout(int columnX, int y);
