// How a drawing view maps world coordinates to pixels, where the cursor is in world terms (the
// mouse, or the keyboard cursor), how points snap to the grids, and the primitive movements of a
// view (fit to the paper, scroll by a percentage, a step or a drag).
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"

// ---- conversions (the client centre is (width / 2, height / 2), truncated) ----
POINT WorldToClient(const ViewModeInfo& mode, int centreX, int centreY, double x, double y);
void ClientToWorld(const ViewModeInfo& mode, int centreX, int centreY, int px, int py, double* x, double* y);
// v snapped to a grid of the pitch shifted by s; a pitch that is not above 0 or not finite
// leaves v alone (such a grid does not exist).
double SnapToGrid(double v, double pitch, double shift);
bool IsUsableGridPitch(double pitch);
// A scale the views can divide by: finite and above 0.
bool IsUsableScale(double scale);

// The last client-area mouse position in the active view.
void SetLastViewMousePoint(int x, int y);
POINT GetLastViewMousePoint();

int GetCursorWorldPoint(double* x, double* y);
int GetViewWorldRect(HWND view, double* left, double* top, double* right, double* bottom);
double GetActiveViewPixelSize();
double GetViewShrinkRatio(HWND view);

// ---- the keyboard cursor ----
int IsKeyCursorMode();
int IsKeyCursorActive();
// The timer's blink of the keyboard-cursor marker in active keyboard mode.
void BlinkKeyCursor();
void SetKeyCursorSuspended(int suspended);
int IsKeyCursorSuspended();
double GetKeyCursorStep();
int SetKeyCursorStep(double step);
void GetKeyCursorPoint(double* x, double* y, double* z);
int SetKeyCursorPoint(double x, double y, double z);
int MouseToKeyPoint();
int KeyPointToScreen(POINT* screen);
int ResetKeyCursor();
int MoveKeyCursor(int direction, double distance);
int EnterKeyCursorMode();
int ToggleCursorMode();
// The class cursors of the views: keyboard mode, mouse mode, and the two arrows.
void LoadViewCursors(HINSTANCE instance);
void LoadViewArrowCursor();
HCURSOR ViewCursorForMouseSetting();
// The arrow chosen by CURSOR02TYPE (1 the first, else the second).
HCURSOR ViewArrowCursor();

// ---- grids ----
struct ViewGridSnap {
    int active = 0;
    double pitchX = 0, pitchY = 0, pitchZ = 0;
    double originX = 0, originY = 0, originZ = 0;
    int keyRequired = 1;
    int key = VK_SHIFT;
};
ViewGridSnap& GetViewGridSnap();
// Null switches the command grid off and zeroes its origin; a point (x, y, z) sets the origin
// and switches it on. The previous active flag.
int SetViewGridSnapOrigin(const double* point);
void SetViewGridSnapPitch(const double* point);
// Copy the command grid's origin or pitch (x, y, z) to the point when one is given; the
// active flag.
int GetViewGridSnapOrigin(double* point);
int GetViewGridSnapPitch(double* point);
int IsGridSnapKeyHeld();
void SetDrawnGridPitch(double x, double y);
void GetDrawnGridPitch(double* x, double* y);
int GetGridCursorPoint(double* x, double* y, double* z);
int SnapCursorToViewGrid(double* point, int* done);

// ---- movement ----
// The scale that fits a paper of W x H world units into the available pixels (W or H of 0:
// a 1 x 1 paper).
double FitPaperScale(double width, double height, int availableWidth, int availableHeight);
int FitViewToPaper();
// The same for a given view of the table.
int FitViewToPaperOf(HWND view);
void ScrollViewByPercent(HWND view, double dx, double dy);
void ScrollViewStep(int direction, HWND view);
void ScrollViewByDrag(HWND view, int screenX, int screenY);
void SetViewDragStart(int screenX, int screenY);
// The view-moved flag that the input loops read; taking it clears it.
int TakeViewMovedFlag();
// The drawing scale of a view's database (DbInfoRecord 3952); 1.0 without one or when the
// stored scale is 0 or not finite.
double GetDrawingScale(void* db);
// The scale limits of a view: GetDbUnitFactor(block, 0) x 1e-5 and GetDbUnitFactor(block, 1) x 1000.
double GetDbUnitFactor(const PDBINFO* block, int flag);
