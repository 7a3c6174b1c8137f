#include "view/LayoutOverview.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "HostRecords.h"
#include "InputCodes.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/ProgramPaths.h"
#include "core/StartupSeams.h"
#include "core/SystemLog.h"
#include "mainframe/MainFrame.h"
#include "view/ElementDrawing.h"
#include "view/FloatingViewPicture.h"
#include "view/RubberBand.h"
#include "view/TypedKeys.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"
#include "view/ViewTable.h"

namespace {

struct OverviewState {
    CFloatingViewPicture picture;
    bool dragging = false;
    POINT start = {0, 0}, end = {0, 0};
    bool drawn = false;
    int last[4] = {0, 0, 0, 0};  // the last applied rectangle: left, top, right, bottom
    double lastScale = 0;
};

OverviewState& Overview()
{
    static OverviewState state;
    return state;
}

void DropCache() { Overview().picture.Drop(); }

// The active view as the zoom to an area finds it.
HWND ActiveView() { return GetHostServiceSite().ActiveView(); }

// The paper of the active drawing: its size and where its centre lies in world units.
bool ActivePaper(double* width, double* height, double* shiftX, double* shiftY)
{
    HWND view = ActiveView();
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr || block->engineDb == nullptr) return false;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block->engineDb);
    if (!(info.drawingWidth > 0) || !(info.drawingHeight > 0)) return false;
    *width = info.drawingWidth;
    *height = info.drawingHeight;
    *shiftX = info.originMode ? info.drawingWidth / 2 : 0.0;
    *shiftY = info.originMode ? info.drawingHeight / 2 : 0.0;
    return true;
}

// Pixels per world unit of the paper fitted into the client area; 0 when it does not fit.
double FitScale(const RECT& client, double width, double height)
{
    const double u = std::fmin((client.bottom - 5) / height, (client.right - 10) / width);
    return std::isfinite(u) && u > 0 ? u : 0.0;
}

void EraseActiveRubberBand()
{
    if (HWND view = GetActiveView()) UpdateRubberBand(view, 0, 0, 1);
}

void EraseIfAccepted()
{
    if (GetInputEventRecord().acceptMask & kAcceptRubberBand) EraseActiveRubberBand();
}

void DrawVisibleArea(HDC dc, const RECT& client)
{
    HWND view = ActiveView();
    double width = 0, height = 0, shiftX = 0, shiftY = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    if (!view || !ActivePaper(&width, &height, &shiftX, &shiftY)) return;
    if (!GetViewWorldRect(view, &left, &top, &right, &bottom)) return;
    const double u = FitScale(client, width, height);
    if (u == 0) return;
    const int cx = client.right / 2, cy = client.bottom / 2;
    auto px = [&](double x) { return static_cast<int>(std::lround(cx + (x - shiftX) * u)); };
    auto py = [&](double y) { return static_cast<int>(std::lround(cy - (y - shiftY) * u)); };
    const POINT corners[5] = {{px(left), py(top)}, {px(right), py(top)}, {px(right), py(bottom)},
                              {px(left), py(bottom)}, {px(left), py(top)}};
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    HPEN pen = ::CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::Polyline(dc, corners, 5);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
    ::RestoreDC(dc, saved);
}

void Paint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT client;
    ::GetClientRect(window, &client);
    OverviewState& s = Overview();
    FrameFlags& flags = GetFrameFlags();
    s.picture.Paint(dc, client, flags.auxViewRefresh != 0,
                    [&](HDC memory) { DrawActivePageFitted(memory, 0, 0, client.right, client.bottom); });
    DrawVisibleArea(dc, client);
    ::EndPaint(window, &ps);
}

void DrawDragRectangle(HWND window, POINT a, POINT b)
{
    HDC dc = ::GetDC(window);
    if (!dc) return;
    HPEN pen = ::CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    const int oldRop = ::SetROP2(dc, R2_XORPEN);
    ::Rectangle(dc, a.x, a.y, b.x, b.y);
    ::SetROP2(dc, oldRop);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
    ::ReleaseDC(window, dc);
}

void ApplyDrag(HWND window)
{
    OverviewState& s = Overview();
    double width = 0, height = 0, shiftX = 0, shiftY = 0;
    if (!ActivePaper(&width, &height, &shiftX, &shiftY)) return;
    RECT client;
    ::GetClientRect(window, &client);
    double o = FitScale(client, width, height);
    if (o == 0) return;
    int rect[4] = {s.start.x, s.start.y, s.end.x, s.end.y};
    const bool click = std::abs(s.start.x - s.end.x) < 2 && std::abs(s.start.y - s.end.y) < 2;
    if (s.last[0] != 0 && click && s.lastScale > 0) {
        // A click re-centres the view at the zoom of the last dragged rectangle.
        const int halfWidth = std::abs(s.last[0] - s.last[2]) / 2, halfHeight = std::abs(s.last[1] - s.last[3]) / 2;
        const int mx = (s.start.x + s.end.x) / 2, my = (s.start.y + s.end.y) / 2;
        rect[0] = mx - halfWidth, rect[2] = mx + halfWidth;
        rect[1] = my - halfHeight, rect[3] = my + halfHeight;
        o = s.lastScale;
    } else {
        std::memcpy(s.last, rect, sizeof rect);
        s.lastScale = o;
    }
    const int cx = client.right / 2, cy = client.bottom / 2;
    HostPoint a = {}, b = {};
    a.x = (std::min(rect[0], rect[2]) - cx) / o + shiftX;
    b.x = (std::max(rect[0], rect[2]) - cx) / o + shiftX;
    a.y = (cy - std::min(rect[1], rect[3])) / o + shiftY;
    b.y = (cy - std::max(rect[1], rect[3])) / o + shiftY;
    ZoomViewToArea(a, b);
}

void LogLayoutView(const char* format, long value) { WriteSystemLog(2, "Layoutview", format, value); }

void ShowAndActivateMain(HWND window)
{
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    if (HWND main = GetMainFrameWnd()) ::SetActiveWindow(main);
}

}  // namespace

void PlaceFloatingViewWindow(HWND window)
{
    const MenuSettingsRuntime& menu = GetMenuSettingsRuntime();
    const int width = menu.layoutViewWidth > 0 ? static_cast<int>(menu.layoutViewWidth) : 300;
    const int height = menu.layoutViewHeight > 0 ? static_cast<int>(menu.layoutViewHeight) : 270;
    ::SetWindowPos(window, nullptr, 80, 40, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK LayoutViewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OverviewState& s = Overview();
    switch (message) {
    case WM_CREATE:
        PlaceFloatingViewWindow(window);
        break;
    case WM_SIZE:
        GetFrameFlags().auxViewRefresh = 1;
        break;
    case WM_DESTROY:
        DropCache();
        break;
    case WM_CLOSE:
        ::ShowWindow(window, SW_HIDE);
        return 0;
    case WM_ACTIVATE:
        return 0;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_NCMOUSEMOVE:
        EraseIfAccepted();
        break;
    case WM_KEYDOWN:
        // Keys typed while a floating view has the focus count as typed at the drawing.
        AppendTypedKeyName(window, static_cast<int>(wParam));
        return 0;
    case WM_CHAR:
        AppendTypedChar(window, static_cast<int>(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        EraseIfAccepted();
        ::SetCapture(window);
        const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        s.start = s.end = p;
        s.dragging = true;
        s.drawn = false;
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s.dragging) {
            if (s.drawn) DrawDragRectangle(window, s.start, s.end);
            s.end = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            DrawDragRectangle(window, s.start, s.end);
            s.drawn = true;
        }
        return 0;
    case WM_LBUTTONUP:
        if (!s.dragging) return 0;
        ::ReleaseCapture();
        if (HWND main = GetMainFrameWnd()) ::SetActiveWindow(main);
        s.dragging = false;
        s.end = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ApplyDrag(window);
        ::InvalidateRect(window, nullptr, FALSE);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

LRESULT ToggleLayoutViewWindow()
{
    HWND window = seam::GetLayoutViewWindow();
    GetFrameFlags().auxViewRefresh = 1;
    if (window == nullptr) return 1;
    if (::IsWindowVisible(window)) {
        LogLayoutView("%ld Off", 1);
        EraseActiveRubberBand();
        ::ShowWindow(window, SW_HIDE);
    } else {
        LogLayoutView("%ld On", 1);
        EraseActiveRubberBand();
        ShowAndActivateMain(window);
    }
    return 1;
}

LRESULT ShowLayoutViewWindow()
{
    GetFrameFlags().auxViewRefresh = 1;
    LogLayoutView("%ld On", 2);
    if (HWND window = seam::GetLayoutViewWindow()) ShowAndActivateMain(window);
    return 1;
}

LRESULT HideLayoutViewWindow()
{
    GetFrameFlags().auxViewRefresh = 1;
    LogLayoutView("%ld Off", 0);
    if (HWND window = seam::GetLayoutViewWindow()) ::ShowWindow(window, SW_HIDE);
    return 1;
}
