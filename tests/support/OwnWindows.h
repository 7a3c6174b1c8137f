// Window lookups limited to this test process. Tests run beside each other on one display, and
// another process (the program of an end-to-end test) may show a window with the same caption.
#pragma once

#include <windows.h>

// The first top-level window of this process with the class and caption (either may be null
// for any); null when there is none.
HWND FindOwnWindow(const char* className, const char* caption);
