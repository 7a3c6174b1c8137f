#include "view/ElementDrawing.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"
#include "view/ViewServices.h"

namespace {

const char kDrawFaceName[] = "ＭＳ ゴシック";

struct LastInputPoint {
    bool valid = false;
    double x = 0, y = 0, z = 0;
    bool markerShown = false;  // the XOR marker is on screen
    HWND markerView = nullptr;
    double markerAt[3] = {0, 0, 0};
};

LastInputPoint& LastPoint()
{
    static LastInputPoint point;
    return point;
}

// The background colour goes to the engine both in the drawing information (three ints) and
// packed into the block.
int32_t StoreBackground(void* db)
{
    const COLORREF colour = GetDrawingBackColor();
    const int32_t r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    if (auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db))) {
        info->colours[0].red = r;
        info->colours[0].green = g;
        info->colours[0].blue = b;
    }
    return r | (g << 8) | (b << 16);
}

// The fields every window draw shares: target, view setting, world window, settings.
void FillWindowBlock(DrawParamBlock& out, HWND view, PDBINFO* block, void* db, bool markerWorld)
{
    std::memset(&out, 0, sizeof out);
    out.size = sizeof out;
    out.paperSpace = block->viewMode == 1 ? 1 : 0;
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    if (setup.bColorMode) out.colourMode = setup.bColorMode;
    if (setup.bTermDrawFg) out.termDraw = 1;
    if (setup.bPointSize) out.pointSize = 1;
    if (setup.bLineWidthSize) out.lineWidthSize = setup.bLineWidthSize;
    out.outputKind = 1;
    out.window = view;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(view, &client);
    out.targetRect[0] = client.left, out.targetRect[1] = client.top;
    out.targetRect[2] = client.right, out.targetRect[3] = client.bottom;
    out.centreX = (client.left + client.right) / 2;
    out.centreY = (client.top + client.bottom) / 2;
    const ViewModeInfo& mode = CurrentViewMode(*block);
    out.scale = mode.scale;
    const double drawingScale = GetDrawingScale(db);
    out.drawingScale = drawingScale;
    out.scaleRatio = mode.scale / drawingScale;
    out.offsetX = mode.offsetX;
    out.offsetY = mode.offsetY;
    ClientToWorld(mode, out.centreX, out.centreY, client.left, client.top, &out.worldLeft, &out.worldTop);
    ClientToWorld(mode, out.centreX, out.centreY, client.right, client.bottom, &out.worldRight, &out.worldBottom);
    out.world3Left = out.worldLeft, out.world3Top = out.worldTop;
    out.world3Right = out.worldRight, out.world3Bottom = out.worldBottom;
    if (markerWorld) {
        out.world2[0] = out.worldLeft, out.world2[1] = out.worldTop;
        out.world2[2] = out.worldRight, out.world2[3] = out.worldBottom;
    }
    out.backgroundRgb = StoreBackground(db);
}

bool HasInformation(void* db) { return db && ZUriGetDbInfoPtr(0, db) != nullptr; }

// A marker into the active view: XOR, draw kind 3 without the database pass.
int DrawActiveMarker(void (*fill)(DrawParamBlock&, PDBINFO*, void*), void* context)
{
    HWND view = GetActiveView();
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (!block || !HasInformation(block->engineDb)) return 0;
    static DrawParamBlock drawBlock;
    FillWindowBlock(drawBlock, view, block, block->engineDb, true);
    drawBlock.xorDraw = 1;
    drawBlock.drawKind = kDrawRecords;
    fill(drawBlock, block, context);
    ZUriDraw(block->engineDb, &drawBlock);
    return 1;
}

}  // namespace

void DrawInView(HWND view, PDBINFO* block, void* db, int kind, void* data, int count, int colour,
                int xorDraw, int option)
{
    if (!view || !block || !HasInformation(db)) return;
    static DrawParamBlock drawBlock;
    FillWindowBlock(drawBlock, view, block, db, true);
    std::memcpy(drawBlock.faceName, kDrawFaceName, sizeof kDrawFaceName);
    if (option) drawBlock.optionWord = 1;
    if (xorDraw) drawBlock.xorDraw = 1;
    if (colour >= 0) {
        drawBlock.colourOverride = 1;
        drawBlock.overrideColour = colour;
    }
    drawBlock.drawKind = kind;
    switch (kind) {
    case kDrawDatabase: ZUriDrawPre(db, &drawBlock); break;
    case kDrawElement: drawBlock.drawElement = data; break;
    case kDrawMark: drawBlock.drawMark = data; break;
    case kDrawRecords: drawBlock.drawArray = data, drawBlock.drawCount = count; break;
    case kDrawRecords2: drawBlock.drawArray2 = data, drawBlock.drawCount = count; break;
    default: return;
    }
    ZUriDraw(db, &drawBlock);
}

void DrawScratchDbInView(HWND view, PDBINFO* block, void* scratchDb)
{
    if (!view || !block || !HasInformation(scratchDb)) return;
    static DrawParamBlock drawBlock;
    FillWindowBlock(drawBlock, view, block, scratchDb, false);
    std::memcpy(drawBlock.faceName, kDrawFaceName, sizeof kDrawFaceName);
    drawBlock.wholeRubberBand = 1;
    drawBlock.colourOverride = 1;
    drawBlock.overrideColour = GetConfigDataRuntime().rubberBandColor;
    drawBlock.xorDraw = 1;
    drawBlock.drawKind = kDrawDatabase;
    ZUriDrawPre(scratchDb, &drawBlock);
    ZUriDraw(scratchDb, &drawBlock);
}

int RedrawElementInViews(HWND view, int colour, void* element)
{
    PDBINFO* start = GetViewBlock(view);
    if (!start) return 0;
    void* db = start->engineDb;
    ForEachSiblingView(view, start, true, [&](HWND target, PDBINFO* block) {
        DrawInView(target, block, db, kDrawElement, element, 0, colour < 0 ? kOwnColours : colour, 0, 0);
    });
    return 1;
}

void* GetMarkDb(void* mark)
{
    void* db = nullptr;
    if (mark) std::memcpy(&db, mark, sizeof db);
    return db;
}

namespace {

int DrawMarkFrom(HWND view, int colour, void* mark, bool sameMode, int option)
{
    PDBINFO* start = GetViewBlock(view);
    if (!start || !mark) return 0;
    // The engine draws a mark only with its own database (a temporary one, an overlay).
    void* db = GetMarkDb(mark);
    ForEachSiblingView(view, start, sameMode, [&](HWND target, PDBINFO* block) {
        DrawInView(target, block, db, kDrawMark, mark, 0, colour < 0 ? kOwnColours : colour, 0, option);
    });
    return 1;
}

}  // namespace

int RedrawMarkInViews(HWND, int colour, void* mark)
{
    HWND view = FindViewByDb(GetMarkDb(mark));
    return view ? DrawMarkFrom(view, colour, mark, false, 0) : 0;
}

int DrawMarkInView(HWND view, int colour, void* mark) { return DrawMarkFrom(view, colour, mark, true, 1); }

void SetLastInputPoint(double x, double y, double z)
{
    LastInputPoint& p = LastPoint();
    p.valid = true;
    p.x = x, p.y = y, p.z = z;
}

int GetLastInputPoint(double* x, double* y, double* z)
{
    const LastInputPoint& p = LastPoint();
    if (x) *x = p.x;
    if (y) *y = p.y;
    if (z) *z = p.z;
    return p.valid ? 1 : 0;
}

// Mode 3 draws the marker at the last input point, any other mode erases it. The marker is
// XOR: where and in which view it stands is kept, so that an erase never draws a marker that
// is not there and a new point never leaves the old marker behind.
void DrawLastPointCursor(int, int, int mode)
{
    LastInputPoint& p = LastPoint();
    HWND active = GetActiveView();
    struct Fill {
        static void Run(DrawParamBlock& b, PDBINFO*, void* context)
        {
            const double* at = static_cast<const double*>(context);
            b.lastPointMarker = 1;
            b.markerKind = 3;
            b.markerX = at[0], b.markerY = at[1], b.markerZ = at[2];
            b.drawCount = 0;
        }
    };
    if (mode != 3) {
        if (p.markerShown && p.markerView == active) DrawActiveMarker(&Fill::Run, p.markerAt);
        p.markerShown = false;
        p.markerView = nullptr;
        return;
    }
    if (p.markerShown && p.markerView == active) return;
    p.markerShown = false;
    if (!GetLocalSettingsLive().setup.bLastPosViewFg || !p.valid) return;
    p.markerAt[0] = p.x, p.markerAt[1] = p.y, p.markerAt[2] = p.z;
    if (DrawActiveMarker(&Fill::Run, p.markerAt)) {
        p.markerShown = true;
        p.markerView = active;
    }
}

int GetShownLastPointMarker(HWND view, double* x, double* y, double* z)
{
    const LastInputPoint& p = LastPoint();
    if (!p.markerShown || p.markerView != view) return 0;
    *x = p.markerAt[0], *y = p.markerAt[1], *z = p.markerAt[2];
    return 1;
}

void DrawKeyCursorMarker(double x, double y, int)
{
    struct Cross {
        double x, y;
        unsigned char records[2][kElementRecordSize];
    } cross = {x, y, {}};
    struct Fill {
        static void Run(DrawParamBlock& b, PDBINFO*, void* context)
        {
            Cross* c = static_cast<Cross*>(context);
            // Four pixels each way at any zoom.
            const double d = b.scale != 0.0 && std::isfinite(b.scale) ? 4.0 / b.scale : 0.0;
            const uint16_t colour = (GetDrawingBackColor() & 0xFFFFFF) == 0xFFFFFF ? 8 : 7;
            const double ends[2][4] = {{c->x - d, c->y, c->x + d, c->y}, {c->x, c->y - d, c->x, c->y + d}};
            for (int i = 0; i < 2; ++i) {
                LineRecord line;
                std::memset(&line, 0, sizeof line);
                ElementRecord* header = reinterpret_cast<ElementRecord*>(&line);
                header->type = kElementLine;
                header->colour = colour;
                line.x1 = ends[i][0], line.y1 = ends[i][1];
                line.x2 = ends[i][2], line.y2 = ends[i][3];
                std::memcpy(c->records[i], &line, sizeof line);
            }
            b.drawArray = c->records;
            b.drawCount = 2;
        }
    };
    DrawActiveMarker(&Fill::Run, &cross);
}

int WorldRectToClientRect(CmdParamRecord* param)
{
    PDBINFO* block = param ? GetViewBlock(param->view) : nullptr;
    const double* world = block ? reinterpret_cast<const double*>(param->element) : nullptr;
    RECT* out = block ? reinterpret_cast<RECT*>(param->record) : nullptr;
    if (!block || !world || !out) return 0;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(param->view, &client);
    const int hw = client.right / 2, hh = client.bottom / 2;
    const ViewModeInfo& mode = CurrentViewMode(*block);
    out->left = hw + static_cast<LONG>(std::trunc(mode.scale * (mode.offsetX + world[0])));
    out->right = hw + static_cast<LONG>(std::trunc(mode.scale * (mode.offsetX + world[2])));
    out->top = hh - static_cast<LONG>(std::trunc(mode.scale * (mode.offsetY + world[1])));
    out->bottom = hh - static_cast<LONG>(std::trunc(mode.scale * (mode.offsetY + world[3])));
    return 1;
}

namespace {

bool IsBlinking(const EngineNode* node) { return (node->flags & 1) != 0 && node->highlightColour > 257; }

}  // namespace

int BlinkFlaggedElements(HWND view, int phase)
{
    PDBINFO* block = GetViewBlock(view);
    void* db = block ? block->engineDb : nullptr;
    if (!db) return 0;
    auto* record = static_cast<EngineDbRecord*>(db);
    if (record->modified == 0) return 0;
    void* mark = nullptr;
    auto collect = [&](EngineNode* node) {
        if (!IsBlinking(node)) return;
        if (!mark) mark = ZUriCreateMark(db);
        if (mark) ZUriSetMark(node, mark);
    };
    for (auto* e = static_cast<EngineNode*>(ZUriReadElement(nullptr, 0, nullptr, db)); e; e = e->nextElement) {
        collect(e);
        for (EngineNode* m = e->nextMember; m; m = m->nextMember) collect(m);
    }
    if (!mark) {
        // Nothing blinks any more: the drawing stops asking.
        record->modified = 0;
        return 1;
    }
    DrawInView(view, block, db, kDrawMark, mark, 0, phase == 0 ? 0 : kOwnColours, 0, 0);
    ZUriDestroyMark(mark);
    return 1;
}

namespace {

// A fitted draw into a device context: the view setting given, the frames of the settings,
// the paint block's fields for a device target.
void FillFittedBlock(DrawParamBlock& out, HDC dc, const RECT& target, double scale, double offsetX,
                     double offsetY, void* db, int viewMode, bool deviceDraw)
{
    PDBINFO setting;
    std::memset(&setting, 0, sizeof setting);
    setting.viewMode = viewMode >= 0 && viewMode <= 2 ? viewMode : 0;
    CurrentViewMode(setting) = ViewModeInfo{offsetX, offsetY, scale};
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    ViewPaintSettings settings = CurrentViewPaintSettings();
    if (deviceDraw) settings.colourMode = 0;
    FillDrawParamBlock(out, setting, info, target, nullptr, dc, settings);
    out.backgroundRgb = StoreBackground(db);
    std::memcpy(out.faceName, kDrawFaceName, sizeof kDrawFaceName);
    if (deviceDraw) {
        out.viewPaint = 0;
        out.deviceDraw = 1;
        out.deviceDraw2 = 1;
    } else {
        out.viewPaint = 1;
        out.fittedPage = 1;
    }
}

bool UsableScale(double scale) { return std::isfinite(scale) && scale > 0.0; }

}  // namespace

int DrawActivePageFitted(HDC dc, int left, int top, int right, int bottom)
{
    HWND view = GetActiveView();
    PDBINFO* block = GetViewBlock(view);
    void* db = block ? block->engineDb : nullptr;
    if (!dc || !HasInformation(db)) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    const double w = info.drawingWidth, h = info.drawingHeight;
    const double scale = std::fmin((right - left - 10) / w, (bottom - top - 5) / h);
    if (!UsableScale(scale)) return 0;
    const double offsetX = info.originMode ? -w / 2 : 0.0, offsetY = info.originMode ? -h / 2 : 0.0;
    static DrawParamBlock drawBlock;
    const RECT target = {left, top, right, bottom};
    FillFittedBlock(drawBlock, dc, target, scale, offsetX, offsetY, db, block->viewMode, false);
    drawBlock.drawKind = kDrawDatabase;
    ZUriDrawPre(db, &drawBlock);
    ZUriDraw(db, &drawBlock);
    return 1;
}

int DrawLoupeView(HWND window, HDC dc, double x1, double y1, double x2, double y2)
{
    PDBINFO* block = GetViewBlock(GetActiveView());
    void* db = block ? block->engineDb : nullptr;
    if (!window || !dc || !HasInformation(db)) return 0;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(window, &client);
    const double scale = std::fmin(client.right / std::fabs(x1 - x2), client.bottom / std::fabs(y1 - y2));
    if (!UsableScale(scale)) return 0;
    static DrawParamBlock drawBlock;
    FillFittedBlock(drawBlock, dc, client, scale, -(x1 + x2) / 2, -(y1 + y2) / 2, db, block->viewMode, false);
    drawBlock.drawKind = kDrawDatabase;
    ZUriDrawPre(db, &drawBlock);
    ZUriDraw(db, &drawBlock);
    return 1;
}

int DrawToDevice(CmdParamRecord* param, int what)
{
    PDBINFO* block = param ? GetViewBlock(param->view) : nullptr;
    void* db = block ? block->engineDb : nullptr;
    if (!HasInformation(db)) return 0;
    HDC dc = reinterpret_cast<HDC>(param->second);
    const double* world = reinterpret_cast<const double*>(param->element);
    const RECT* pixels = reinterpret_cast<const RECT*>(param->record);
    if (!dc || !world || !pixels) return 0;
    const double scale = std::fmin(std::labs(pixels->right - pixels->left) / std::fabs(world[0] - world[2]),
                                   (pixels->bottom - pixels->top - 5) / std::fabs(world[1] - world[3]));
    if (!UsableScale(scale)) return 0;
    static DrawParamBlock drawBlock;
    FillFittedBlock(drawBlock, dc, *pixels, scale, -(world[0] + world[2]) / 2, -(world[1] + world[3]) / 2, db,
                    block->viewMode, true);
    ZUriDrawPre(db, &drawBlock);
    void* data = reinterpret_cast<void*>(param->transform);
    if (what == kDrawMark) {
        drawBlock.drawKind = kDrawMark;
        drawBlock.drawMark = data;
        ZUriDraw(db, &drawBlock);
    } else if (what == kDrawElement) {
        drawBlock.drawKind = kDrawElement;
        drawBlock.drawElement = data;
        int colour;
        std::memcpy(&colour, &param->first, sizeof colour);
        drawBlock.colourOverride = 1;
        drawBlock.overrideColour = colour;
        ZUriDraw(db, &drawBlock);
    } else {
        // Every raster element of the drawing.
        drawBlock.drawKind = kDrawElement;
        for (void* e = ZUriReadElement(nullptr, 0, nullptr, db); e; e = ZUriReadElement(e, 1, nullptr, db)) {
            if (static_cast<EngineNode*>(e)->record.type != kElementRaster) continue;
            drawBlock.drawElement = e;
            ZUriDraw(db, &drawBlock);
        }
    }
    return 1;
}
