#include "view/ViewCoordinates.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "mainframe/MainFrame.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

POINT g_lastMouse = {0, 0};
POINT g_dragStart = {0, 0};
double g_keyX = 0.0, g_keyY = 0.0, g_keyZ = 0.0;
int g_keyMarkerShown = 0;
int g_keySuspended = 0;
double g_keyStep = 50.0;
bool g_keyStepSet = false;
double g_drawnPitchX = 0.0, g_drawnPitchY = 0.0;
int g_viewMoved = 0;
ViewGridSnap g_viewGrid;

HCURSOR g_keyModeCursor = nullptr;
HCURSOR g_mouseModeCursor = nullptr;
HCURSOR g_arrowCursor = nullptr;
HCURSOR g_arrowCursors[2] = {nullptr, nullptr};

struct ClientGeometry {
    int width = 0, height = 0, cx = 0, cy = 0;
};

ClientGeometry Geometry(HWND window)
{
    ClientGeometry g;
    RECT rect = {};
    if (window != nullptr) GetClientRect(window, &rect);
    g.width = rect.right - rect.left;
    g.height = rect.bottom - rect.top;
    g.cx = g.width / 2;
    g.cy = g.height / 2;
    return g;
}

void SetClassCursor(HWND view, HCURSOR cursor)
{
    if (view != nullptr && cursor != nullptr) SetClassLongPtrA(view, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(cursor));
}

void MarkViewMoved()
{
    g_viewMoved = 1;
    GetFrameFlags().auxViewRefresh = 1;
}

}  // namespace

// ---- conversions ----

bool IsUsableScale(double scale) { return std::isfinite(scale) && scale > 0.0; }
bool IsUsableGridPitch(double pitch) { return std::isfinite(pitch) && pitch > 0.0; }

POINT WorldToClient(const ViewModeInfo& mode, int centreX, int centreY, double x, double y)
{
    auto truncated = [](double v) -> LONG {
        if (!std::isfinite(v)) return 0;
        if (v > 1.0e9) return 1000000000;
        if (v < -1.0e9) return -1000000000;
        return static_cast<LONG>(std::trunc(v));
    };
    POINT p;
    p.x = centreX + truncated((x + mode.offsetX) * mode.scale);
    p.y = centreY - truncated((y + mode.offsetY) * mode.scale);
    return p;
}

void ClientToWorld(const ViewModeInfo& mode, int centreX, int centreY, int px, int py, double* x, double* y)
{
    double scale = IsUsableScale(mode.scale) ? mode.scale : 1.0;
    if (x) *x = (px - centreX) / scale - mode.offsetX;
    if (y) *y = -mode.offsetY - (py - centreY) / scale;
}

double SnapToGrid(double v, double pitch, double shift)
{
    if (!IsUsableGridPitch(pitch) || !std::isfinite(v)) return v;
    if (!std::isfinite(shift)) shift = 0.0;
    if (v >= 0.0) return shift + pitch * std::trunc((v - shift + pitch / 2) / pitch);
    return shift + pitch * std::trunc((v - shift - pitch / 2) / pitch);
}

void SetLastViewMousePoint(int x, int y) { g_lastMouse = {static_cast<short>(x), static_cast<short>(y)}; }
POINT GetLastViewMousePoint() { return g_lastMouse; }

int GetCursorWorldPoint(double* x, double* y)
{
    HWND view = GetActiveView();
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return 0;
    if (IsKeyCursorActive()) {
        if (x) *x = g_keyX;
        if (y) *y = g_keyY;
        return 1;
    }
    ClientGeometry g = Geometry(view);
    ClientToWorld(CurrentViewMode(*block), g.cx, g.cy, g_lastMouse.x, g_lastMouse.y, x, y);
    return 1;
}

int GetViewWorldRect(HWND view, double* left, double* top, double* right, double* bottom)
{
    if (view == nullptr) view = GetActiveView();
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) block = GetOwnViewBlock(view);
    if (block == nullptr) {
        if (left) *left = 0;
        if (top) *top = 0;
        if (right) *right = 0;
        if (bottom) *bottom = 0;
        return 0;
    }
    ClientGeometry g = Geometry(view);
    const ViewModeInfo& mode = CurrentViewMode(*block);
    ClientToWorld(mode, g.cx, g.cy, 0, 0, left, top);
    ClientToWorld(mode, g.cx, g.cy, g.width, g.height, right, bottom);
    return 1;
}

double GetActiveViewPixelSize()
{
    PDBINFO* block = GetViewBlock(GetActiveView());
    if (block == nullptr) return 1.0;
    double scale = CurrentViewMode(*block).scale;
    return IsUsableScale(scale) ? 1.0 / scale : 1.0;
}

double GetViewShrinkRatio(HWND view)
{
    if (view == nullptr) view = GetActiveView();
    if (view == nullptr) return 1.0;
    ClientGeometry g = Geometry(view);
    double w = g.width, h = g.height;
    if (std::fabs(w) < 1 || std::fabs(h) < 1 || std::fabs(w - 34) < 1 || std::fabs(h - 34) < 1) return 1.0;
    double rx = (w - 34) / w, ry = (h - 34) / h;
    return rx < ry ? rx : ry;
}

// ---- the keyboard cursor ----

int IsKeyCursorMode() { return GetCadSystem().keyCursorMode; }
int IsKeyCursorActive() { return GetCadSystem().keyCursorMode && !g_keySuspended ? 1 : 0; }
void SetKeyCursorSuspended(int suspended) { g_keySuspended = suspended; }
int IsKeyCursorSuspended() { return g_keySuspended; }

double GetKeyCursorStep()
{
    if (!g_keyStepSet) {
        double configured = GetConfigDataRuntime().keyCursorStep;
        return IsKeyCursorStep(configured) ? configured : g_keyStep;
    }
    return g_keyStep;
}

int SetKeyCursorStep(double step)
{
    g_keyStep = step;
    g_keyStepSet = true;
    return 1;
}

void GetKeyCursorPoint(double* x, double* y, double* z)
{
    if (x) *x = g_keyX;
    if (y) *y = g_keyY;
    if (z) *z = g_keyZ;
}

void BlinkKeyCursor()
{
    if (!IsKeyCursorActive()) return;
    g_keyMarkerShown = !g_keyMarkerShown;
    DrawKeyCursorMarker(g_keyX, g_keyY, g_keyMarkerShown);
}

namespace {

void EraseKeyMarker()
{
    if (g_keyMarkerShown) DrawKeyCursorMarker(g_keyX, g_keyY, 0);
    g_keyMarkerShown = 0;
}

void EnterMode(HWND view)
{
    SetClassCursor(view, g_keyModeCursor);
    MouseToKeyPoint();
    GetCadSystem().keyCursorMode = 1;
}

}  // namespace

int SetKeyCursorPoint(double x, double y, double z)
{
    if (GetActiveView() == nullptr) return 0;
    EraseKeyMarker();
    g_keyX = x, g_keyY = y, g_keyZ = z;
    RaiseInputEvent(kEventCursorMoved);
    return 1;
}

int MouseToKeyPoint()
{
    HWND view = GetActiveView();
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return 0;
    ClientGeometry g = Geometry(view);
    ClientToWorld(CurrentViewMode(*block), g.cx, g.cy, g_lastMouse.x, g_lastMouse.y, &g_keyX, &g_keyY);
    return 1;
}

int KeyPointToScreen(POINT* screen)
{
    HWND view = GetActiveView();
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || screen == nullptr) return 0;
    ClientGeometry g = Geometry(view);
    *screen = WorldToClient(CurrentViewMode(*block), g.cx, g.cy, g_keyX, g_keyY);
    ClientToScreen(view, screen);
    return 1;
}

int ResetKeyCursor()
{
    if (IsKeyCursorActive()) {
        EraseKeyMarker();
        g_keyX = g_keyY = 0.0;
        return 1;
    }
    g_keyX = g_keyY = 0.0;
    GetCadSystem().keyCursorMode = 1;
    SetClassCursor(GetActiveView(), g_keyModeCursor);
    return 1;
}

int MoveKeyCursor(int direction, double distance)
{
    if (distance == 0.0) distance = GetKeyCursorStep();
    if (IsKeyCursorActive()) EraseKeyMarker();
    else EnterMode(GetActiveView());
    switch (direction) {
    case 1: g_keyX += distance; break;
    case 2: g_keyX -= distance; break;
    case 3: g_keyY += distance; break;
    case 4: g_keyY -= distance; break;
    default: break;
    }
    RaiseInputEvent(kEventCursorMoved);
    return 1;
}

namespace {

// From the mouse to the keyboard cursor: the mouse image goes, the keyboard point takes the
// mouse's place and the system cursor moves onto it.
void SwitchToKeyCursor(HWND view)
{
    ShowCursor(FALSE);
    SetCursor(nullptr);
    ShowCursor(TRUE);
    EnterMode(view);
    POINT screen;
    if (KeyPointToScreen(&screen)) SetCursorPos(screen.x, screen.y);
}

}  // namespace

int EnterKeyCursorMode()
{
    if (IsKeyCursorActive()) return 1;
    SwitchToKeyCursor(GetActiveView());
    return 1;
}

int ToggleCursorMode()
{
    HWND view = GetActiveView();
    if (view == nullptr) return 0;
    if (!IsKeyCursorActive()) {
        SwitchToKeyCursor(view);
    } else {
        EraseKeyMarker();
        GetCadSystem().keyCursorMode = 0;
        SetClassCursor(view, g_mouseModeCursor);
        POINT screen;
        if (KeyPointToScreen(&screen)) SetCursorPos(screen.x, screen.y);
        SetCursor(ViewCursorForMouseSetting());
    }
    if (HWND bar = GetStatusBarWnd()) {
        SendMessageA(bar, WM_COMMAND, MAKEWPARAM(2001, 2), 1);
        SendMessageA(bar, WM_COMMAND, MAKEWPARAM(2002, 2), 0);
    }
    if (HWND main = GetMainFrameWnd()) SendMessageA(main, WM_COMMAND, 1314, 0);
    return 1;
}

void LoadViewCursors(HINSTANCE instance)
{
    g_keyModeCursor = LoadCursorA(instance, "CURSOR1");
    g_mouseModeCursor = LoadCursorA(instance, "CURNUL");
    g_arrowCursors[0] = LoadCursorA(instance, "ARROW1");
    g_arrowCursors[1] = LoadCursorA(instance, "ARROW2");
}

void LoadViewArrowCursor() { g_arrowCursor = LoadCursorA(nullptr, IDC_ARROW); }

HCURSOR ViewArrowCursor()
{
    HCURSOR chosen = g_arrowCursors[GetCadSystem().config.CURSOR02TYPE == 1 ? 0 : 1];
    if (chosen != nullptr) return chosen;
    return g_arrowCursor ? g_arrowCursor : LoadCursorA(nullptr, IDC_ARROW);
}

HCURSOR ViewCursorForMouseSetting()
{
    if (GetCadSystem().localWindow.MOUSE == 2) return ViewArrowCursor();
    // The view draws its own cross-hair; without the empty cursor the system arrow shows.
    return g_mouseModeCursor ? g_mouseModeCursor : LoadCursorA(nullptr, IDC_CROSS);
}

// ---- grids ----

ViewGridSnap& GetViewGridSnap() { return g_viewGrid; }

int SetViewGridSnapOrigin(const double* point)
{
    const int previous = g_viewGrid.active;
    if (point == nullptr) {
        g_viewGrid.active = 0;
        g_viewGrid.originX = g_viewGrid.originY = g_viewGrid.originZ = 0.0;
    } else {
        g_viewGrid.originX = point[0], g_viewGrid.originY = point[1], g_viewGrid.originZ = point[2];
        g_viewGrid.active = 1;
    }
    return previous;
}

void SetViewGridSnapPitch(const double* point)
{
    if (point == nullptr) return;
    g_viewGrid.pitchX = point[0], g_viewGrid.pitchY = point[1], g_viewGrid.pitchZ = point[2];
}

int GetViewGridSnapOrigin(double* point)
{
    if (point != nullptr) point[0] = g_viewGrid.originX, point[1] = g_viewGrid.originY, point[2] = g_viewGrid.originZ;
    return g_viewGrid.active;
}

int GetViewGridSnapPitch(double* point)
{
    if (point != nullptr) point[0] = g_viewGrid.pitchX, point[1] = g_viewGrid.pitchY, point[2] = g_viewGrid.pitchZ;
    return g_viewGrid.active;
}

int IsGridSnapKeyHeld()
{
    return g_viewGrid.keyRequired == 0 || (GetKeyState(g_viewGrid.key) & 0x8000) != 0 ? 1 : 0;
}

void SetDrawnGridPitch(double x, double y) { g_drawnPitchX = x, g_drawnPitchY = y; }
void GetDrawnGridPitch(double* x, double* y)
{
    if (x) *x = g_drawnPitchX;
    if (y) *y = g_drawnPitchY;
}

namespace {

double CutPitch(double pitch)
{
    int cut = GetLocalSettingsLive().setup.iGridCutFg;
    return cut > 1 ? pitch / cut : pitch;
}

double ShiftOf(double origin, double pitch) { return IsUsableGridPitch(pitch) ? std::fmod(origin, pitch) : 0.0; }

}  // namespace

int GetGridCursorPoint(double* x, double* y, double* z)
{
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    double ox = 0, oy = 0;
    GetGridOrigin(&ox, &oy);
    double sx = ShiftOf(ox, setup.grid.x), sy = ShiftOf(oy, setup.grid.y);
    double px = CutPitch(g_drawnPitchX), py = CutPitch(g_drawnPitchY);
    double wx = 0, wy = 0;
    int found = GetCursorWorldPoint(&wx, &wy);
    if (setup.iGridNoDetFlg != 1) {
        wx = SnapToGrid(wx, px, sx);
        wy = SnapToGrid(wy, py, sy);
    }
    if (x) *x = wx;
    if (y) *y = wy;
    (void)z;
    return found;
}

int SnapCursorToViewGrid(double* point, int* done)
{
    if (done) *done = 0;
    if (point == nullptr) return 0;
    if (!GetCursorWorldPoint(&point[0], &point[1])) return 0;
    if (!IsGridSnapKeyHeld() || !g_viewGrid.active) return 0;
    if (!IsUsableGridPitch(g_viewGrid.pitchX) || !IsUsableGridPitch(g_viewGrid.pitchY)) return 0;
    double sx = ShiftOf(g_viewGrid.originX, g_viewGrid.pitchX), sy = ShiftOf(g_viewGrid.originY, g_viewGrid.pitchY);
    point[0] = SnapToGrid(point[0], CutPitch(g_viewGrid.pitchX), sx);
    point[1] = SnapToGrid(point[1], CutPitch(g_viewGrid.pitchY), sy);
    if (done) *done = 1;
    return 1;
}

// ---- movement ----

double GetDrawingScale(void* db)
{
    if (db == nullptr) return 1.0;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    if (!ZUriGetDBInfo(&info, db)) return 1.0;
    return IsUsableScale(info.scale) ? info.scale : 1.0;
}

double GetDbUnitFactor(const PDBINFO* block, int flag)
{
    if (block == nullptr || block->engineDb == nullptr) return 1.0;
    double scale = GetDrawingScale(block->engineDb);
    return flag ? scale * 1000000.0 : scale * 0.0001;
}

double FitPaperScale(double width, double height, int availableWidth, int availableHeight)
{
    if (!(width > 0.0) || !(height > 0.0) || !std::isfinite(width) || !std::isfinite(height)) width = height = 1.0;
    double scale;
    if (height >= width) {
        scale = availableHeight / height;
        if (width * scale > availableWidth) scale = availableWidth / width;
    } else {
        scale = availableWidth / width;
        if (height * scale > availableHeight) scale = availableHeight / height;
    }
    return scale;
}

int FitViewToPaper() { return FitViewToPaperOf(GetActiveView()); }

int FitViewToPaperOf(HWND view)
{
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return 0;
    HWND firstCell = block->pageLayout ? GetFirstLayoutCell(view) : nullptr;
    HWND target = firstCell ? firstCell : view;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    if (block->engineDb != nullptr) ZUriGetDBInfo(&info, block->engineDb);
    const double W = info.drawingWidth, H = info.drawingHeight;

    ClientGeometry g = Geometry(target);
    int width = g.width, height = g.height;
    if (block->pageLayout) width *= 3, height *= 3;
    block->clientWidth = width;
    block->clientHeight = height;
    const int margin = GetLocalSettingsLive().setup.bScTestBtn ? 60 : 20;
    double scale = FitPaperScale(W, H, width - margin, height - margin);
    const double d = GetDrawingScale(block->engineDb);
    if (!(scale >= d * 1e-9)) scale = d * 1e-9;
    if (scale > d * 1e9) scale = d * 1e9;

    ViewModeInfo& mode = CurrentViewMode(*block);
    CurrentViewModeBackup(*block) = mode;
    mode.scale = scale;
    if (info.originMode != 0) mode.offsetX = -W / 2, mode.offsetY = -H / 2;
    else mode.offsetX = mode.offsetY = 0.0;

    if (firstCell != nullptr) {
        int index = 0;
        for (HWND cell = firstCell; cell != nullptr; cell = GetNextLayoutCell(cell)) {
            InvalidateRect(cell, nullptr, TRUE);
            SetWindowLongPtrA(cell, 4, index++);
        }
    } else {
        InvalidateRect(view, nullptr, TRUE);
        CenterViewScrollBars(view);
    }
    RaiseInputEvent(kEventPictureChanged);
    return 1;
}

void ScrollViewByPercent(HWND view, double dx, double dy)
{
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return;
    if (block->pageLayout) {
        for (HWND cell = GetFirstLayoutCell(view); cell != nullptr; cell = GetNextLayoutCell(cell)) {
            InvalidateRect(cell, nullptr, TRUE);
            UpdateWindow(cell);
        }
        return;
    }
    ViewModeInfo& mode = CurrentViewMode(*block);
    CurrentViewModeBackup(*block) = mode;
    double left, top, right, bottom;
    GetViewWorldRect(view, &left, &top, &right, &bottom);
    mode.offsetX += std::fabs(left - right) / 100.0 * dx;
    mode.offsetY += std::fabs(top - bottom) / 100.0 * dy;
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    MarkViewMoved();
}

void ScrollViewStep(int direction, HWND view)
{
    const double percent = GetLocalSettingsLive().setup.bScTestBtn ? 15.0 : 5.0;
    switch (direction) {
    case 1: ScrollViewByPercent(view, 0, percent); break;
    case 2: ScrollViewByPercent(view, 0, -percent); break;
    case 3: ScrollViewByPercent(view, -percent, 0); break;
    case 4: ScrollViewByPercent(view, percent, 0); break;
    default: break;
    }
}

void SetViewDragStart(int screenX, int screenY) { g_dragStart = {screenX, screenY}; }

void ScrollViewByDrag(HWND view, int screenX, int screenY)
{
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return;
    ClientGeometry g = Geometry(view);
    double left, top, right, bottom;
    GetViewWorldRect(view, &left, &top, &right, &bottom);
    ViewModeInfo& mode = CurrentViewMode(*block);
    const int travelX = screenX - g_dragStart.x, travelY = g_dragStart.y - screenY;
    if (travelX != 0 && g.width != 0) mode.offsetX += travelX * std::fabs(right - left) / g.width;
    if (travelY != 0 && g.height != 0) mode.offsetY += travelY * std::fabs(top - bottom) / g.height;
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    MarkViewMoved();
}

int TakeViewMovedFlag()
{
    int value = g_viewMoved;
    g_viewMoved = 0;
    return value;
}
