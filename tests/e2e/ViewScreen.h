// What a drawing view of the running program shows on the screen: the view's mapping from
// world to client points, read from the program's memory, and the screen's pixels near a point.
#pragma once

#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "DrawingWindowRecords.h"

// The view's current setting and client centre.
struct ViewMapping {
    ViewModeInfo mode{};
    int centreX = 0, centreY = 0;
    int storedWidth = 0, storedHeight = 0;  // the size the view stored at its last resize

    POINT ToClient(double x, double y) const
    {
        return {centreX + static_cast<LONG>(std::trunc((x + mode.offsetX) * mode.scale)),
                centreY - static_cast<LONG>(std::trunc((y + mode.offsetY) * mode.scale))};
    }
    void ToWorld(POINT p, double* x, double* y) const
    {
        *x = (p.x - centreX) / mode.scale - mode.offsetX;
        *y = -mode.offsetY - (p.y - centreY) / mode.scale;
    }
};

// Reads the mapping of a view of the program (window long 0 holds its drawing block); false
// when it could not be read.
bool ReadViewMapping(DWORD processId, HWND view, ViewMapping* mapping);
// Waits until the view's place on the screen and its mapping have held for three reads 100 ms
// apart: the frame still lays out its panels and bars while a first window opens, and the view
// rescales with its size. False when they did not settle within the time or could not be read.
bool WaitForSteadyView(DWORD processId, HWND view, DWORD timeoutMs);

// The pixels of a screen rectangle (left, top, right, bottom) as 0xRRGGBB, as a user's screenshot has them.
std::vector<DWORD> ScreenPixels(const RECT& r);

// Whether the screen shows the colour near the client point of the view. The picture is taken
// from the screen, as a user's screenshot would be. Under the test display the program's child
// windows reach the screen a few pixels below where another process's coordinates put them, so
// the search covers 1 pixel across and 5 up and down; the exact pixels of the conversion are
// checked in-process by the view tests. seen describes the pixel at the point itself.
bool ShowsColourNear(HWND view, POINT client, COLORREF colour, std::string* seen);
// The same, waiting up to 5 seconds for the colour to show.
bool WaitForColour(HWND view, POINT client, COLORREF colour, std::string* seen);

// Writes the screen as a 24-bit BMP file (kept for the look of a failed test).
void SaveScreen(const char* path);
