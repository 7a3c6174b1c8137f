// The program's entry and its message loop.
#pragma once

#include <windows.h>

struct StartWindowStyles {
    DWORD style;
    DWORD exStyle;
};

// The main frame's styles for a start mode (0 normal; 1 to 3 hand-off modes).
StartWindowStyles ChooseStartWindowStyles(int startMode);

// Creates the main frame and runs the message loop; the loop's exit code, 0 when the frame
// was not created.
int Run(const char* commandLine, int showCommand);
