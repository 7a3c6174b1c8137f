#include "mainframe/docking/MouseTracker.h"

namespace dockwins {

namespace {

POINT ScreenPoint(const MSG& msg)
{
    POINT pt = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
    if (msg.hwnd != nullptr) ClientToScreen(msg.hwnd, &pt);
    return pt;
}

}  // namespace

MouseTrackResult TrackMouse(HWND owner, const MouseTrack& track)
{
    MouseTrackResult result;
    SetCapture(owner);
    MSG msg;
    while (GetCapture() == owner && GetMessageA(&msg, nullptr, 0, 0)) {
        switch (msg.message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) goto done;
            if (track.key) track.key(msg.wParam);
            continue;
        case WM_SYSKEYDOWN:
            // Alt and its menus leave the drag at once and still get their key.
            ReleaseCapture();
            DispatchMessageA(&msg);
            goto done;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            goto done;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            result.completed = true;
            result.releasedAt = ScreenPoint(msg);
            goto done;
        case WM_MOUSEMOVE:
            if (track.moved) track.moved(ScreenPoint(msg));
            continue;
        case WM_TIMER:
            if (track.swallowTimers) continue;
            break;
        default:
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
done:
    if (GetCapture() == owner) ReleaseCapture();
    return result;
}

}  // namespace dockwins
