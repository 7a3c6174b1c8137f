// A drawing colour made visible against the drawing background, by the display-mode setting.
#pragma once

#include <windows.h>

// The colour (low 24 bits) when it differs from the background; when equal: mode 2 inverts
// it, another non-zero mode moves each channel by 16 (down above 230, else up), mode 0 keeps it.
COLORREF VisibleAgainstBackground(COLORREF colour);
COLORREF VisibleAgainstBackgroundIn(COLORREF colour, COLORREF background, int mode);
