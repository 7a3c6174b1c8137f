// The item windows of a parameter panel.
#pragma once

#include <windows.h>

#include "panels/ParameterPanelModel.h"

// Makes one window for every item in use of the panel being built (mode 1: the right-click
// menu's copy, panel 4) inside parent; largestY, when given, receives the lowest item's y.
// 1 when at least one item window was made, else 0.
int PboxBuildItemWindows(HWND parent, int* largestY, int mode);

// The panel and slot whose item window is being made (the item windows read them while they
// are created); the panel is set by the show before it builds.
int& PboxBuildingPanel();
int& PboxBuildingSlot();
// While set, a build lifts the windows of a floating panel above its dialog's caption.
int& PboxFloatingAdjust();

// Makes the item object that shows an item of a type 10-16; null for any other type.
CPboxItemView* CreatePanelItemObject(PboxItem& item);
// Makes the window of an item object inside parent at the rectangle given.
HWND CreatePanelItemWindow(CPboxItemView* object, HWND parent, const RECT& rect, int id, const char* text);

// 1 when the text of a push button makes it the panel's default button.
int IsDefaultButtonText(const char* text);
