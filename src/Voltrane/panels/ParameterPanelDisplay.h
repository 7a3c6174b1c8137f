// Showing a filled parameter panel: docked in the application panel, or floating in a dialog of
// its own over the top-left corner of the drawing area when the command asks for a tall panel.
#pragma once

#include <windows.h>

#include "HostRecords.h"

// 2508: the panel index, width and height of the request. 1, or 0 when there is no window to
// show the panel in.
int PboxShowPanel(const PboxAddRequest* request);
// 1 when a panel of this height is shown floating (80 or more, or negative).
int PboxShowsFloating(int height);
// The floating dialog of a panel that is shown, null when none is.
HWND PboxFloatingDialogInUse();
// Offers a message of a command's wait to the floating dialog that is shown, as the program's
// message loop does through the dialog's filter: 1 when the dialog took it (Tab and the dialog
// keys between its items).
int PboxFloatingDialogMessage(MSG* msg);
