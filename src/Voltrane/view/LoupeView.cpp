#include "view/LoupeView.h"

#include <cmath>

#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/StartupSeams.h"
#include "mainframe/MainFrame.h"
#include "view/ElementDrawing.h"
#include "view/FloatingViewPicture.h"
#include "view/LayoutOverview.h"
#include "view/RubberBand.h"
#include "view/TypedKeys.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"
#include "view/ViewTable.h"

namespace {

struct LoupeState {
    double world[4] = {0, 0, 0, 0};  // left, top, right, bottom
    CFloatingViewPicture picture;
    bool painting = false;
    bool pointValid = false;
    double x = 0, y = 0;
    double tolerance = 0;
};

LoupeState& Loupe()
{
    static LoupeState state;
    return state;
}

void DropCache() { Loupe().picture.Drop(); }

void ComputeWorldWindow(HWND window)
{
    HWND view = GetActiveView();
    double left = 0, top = 0, right = 0, bottom = 0;
    if (!view || !GetViewWorldRect(view, &left, &top, &right, &bottom)) return;
    double cx = 0, cy = 0;
    if (!GetCursorWorldPoint(&cx, &cy)) return;
    RECT client;
    ::GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    const double e = std::fabs(right - left) * 0.5 * 0.05;
    const double e2 = e * client.bottom / client.right;
    LoupeState& s = Loupe();
    s.world[0] = cx - e, s.world[2] = cx + e;
    s.world[1] = cy + e2, s.world[3] = cy - e2;
}

// The world point of a client point of the loupe.
bool PointAt(HWND window, LPARAM lParam)
{
    RECT client;
    ::GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return false;
    LoupeState& s = Loupe();
    const int mx = static_cast<short>(LOWORD(lParam)), my = static_cast<short>(HIWORD(lParam));
    s.x = s.world[0] + std::fabs(s.world[2] - s.world[0]) / client.right * mx;
    s.y = s.world[1] - std::fabs(s.world[1] - s.world[3]) / client.bottom * my;
    s.pointValid = true;
    s.tolerance = 8 * (std::fabs(s.world[1] - s.world[3]) / client.bottom);
    return true;
}

void Paint(HWND window)
{
    LoupeState& s = Loupe();
    s.painting = true;
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    FrameFlags& flags = GetFrameFlags();
    // The frame's timer clears the refresh switch after it has repainted the loupe.
    s.picture.Paint(dc, client, flags.auxViewRefresh != 0, [&](HDC memory) {
        DrawLoupeView(window, memory, s.world[0], s.world[1], s.world[2], s.world[3]);
    });
    ::EndPaint(window, &ps);
    s.painting = false;
}

void EraseActiveRubberBand()
{
    if (HWND view = GetActiveView()) UpdateRubberBand(view, 0, 0, 1);
}

}  // namespace

LRESULT CALLBACK LoupeViewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        PlaceFloatingViewWindow(window);
        break;
    case WM_DESTROY:
        DropCache();
        break;
    case WM_CLOSE:
        ::ShowWindow(window, SW_HIDE);
        return 0;
    case WM_ACTIVATE:
        return 0;
    case WM_NCMOUSEMOVE:
        EraseActiveRubberBand();
        break;
    case WM_KEYDOWN:
        // Keys typed while a floating view has the focus count as typed at the drawing.
        AppendTypedKeyName(window, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        AppendTypedChar(window, static_cast<int>(wParam));
        return 0;
    case WM_SIZE:
        GetFrameFlags().auxViewRefresh = 1;
        ComputeWorldWindow(window);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == 2222 && GetActiveView()) ComputeWorldWindow(window);
        break;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_MOUSEMOVE:
        // A click nobody has read yet keeps its point and its event: a move right after it
        // must not turn it into a move.
        if (PendingInputEvent() != kEventNone) return 0;
        if (PointAt(window, lParam)) RaiseInputEvent(kEventCursorMoved);
        return 0;
    case WM_LBUTTONDOWN:
        if (PointAt(window, lParam)) RaiseInputEvent(kEventPoint);
        return 0;
    case WM_LBUTTONUP:
        if (HWND frame = GetMainFrameWnd()) ::SetActiveWindow(frame);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

void SetLoupeState(int state)
{
    HWND loupe = seam::GetLoupeViewWindow();
    if (!loupe) return;
    auto show = [loupe](bool centred) {
        if (centred) {
            POINT cursor;
            RECT rect;
            ::GetCursorPos(&cursor);
            ::GetWindowRect(loupe, &rect);
            ::SetWindowPos(loupe, nullptr, cursor.x - (rect.right - rect.left) / 2,
                           cursor.y - (rect.bottom - rect.top) / 2, 0, 0,
                           SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        ::SendMessageA(loupe, WM_COMMAND, 2222, 0);
        GetFrameFlags().auxViewRefresh = 1;
        ::ShowWindow(loupe, SW_SHOWNOACTIVATE);
        if (HWND frame = GetMainFrameWnd()) ::SetActiveWindow(frame);
    };
    if (state == 0) {
        ::ShowWindow(loupe, SW_HIDE);
    } else if (state == 2 || state == 3) {
        show(state == 3);
    } else {
        EraseActiveRubberBand();
        if (::IsWindowVisible(loupe)) {
            ::ShowWindow(loupe, SW_HIDE);
        } else {
            show(true);
        }
    }
    ::InvalidateRect(loupe, nullptr, FALSE);
}

int IsCursorOverLoupe() { return Loupe().pointValid ? 1 : 0; }
void ClearOverLoupe() { Loupe().pointValid = false; }
void GetLoupePoint(double* x, double* y)
{
    *x = Loupe().x;
    *y = Loupe().y;
}
double GetLoupeTolerance() { return Loupe().tolerance; }
void GetLoupeWorldWindow(double* out)
{
    for (int i = 0; i < 4; ++i) out[i] = Loupe().world[i];
}
