// The nested message loop of every mouse drag in the docking layer (splitters, the pane edge,
// caption buttons, title drags): the owner captures the mouse until the button comes up.
#pragma once

#include <windows.h>

#include <functional>

namespace dockwins {

struct MouseTrack {
    // The cursor moved (screen coordinates).
    std::function<void(POINT)> moved;
    // A key other than Escape went down or up (its virtual key).
    std::function<void(WPARAM)> key;
    // Timer messages of the thread are dropped while the loop runs.
    bool swallowTimers = false;
};

struct MouseTrackResult {
    bool completed = false;    // the button came up; false for Escape, another button or a system key
    POINT releasedAt = {0, 0};  // where it came up (screen coordinates)
};

MouseTrackResult TrackMouse(HWND owner, const MouseTrack& track);

}  // namespace dockwins
