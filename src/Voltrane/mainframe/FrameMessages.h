// Private messages of the main frame to itself.
#pragma once

#include <windows.h>

// Posted by the frame during its creation: the second start stage.
constexpr UINT WM_CAD_FRAME_STARTUP = 1026;
