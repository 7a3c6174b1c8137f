#include "view/ViewPaint.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/SystemLog.h"
#include "view/ElementDrawing.h"
#include "view/RasterRotation.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"

ViewPaintSettings CurrentViewPaintSettings()
{
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    const ConfigData& config = GetCadSystem().config;
    ViewPaintSettings s;
    s.backgroundMode = setup.bBkColor;
    s.background = GetDrawingBackColor();
    s.colourMode = setup.bColorMode;
    s.termDraw = setup.bTermDrawFg;
    s.pointSize = setup.bPointSize;
    s.lineWidthSize = setup.bLineWidthSize;
    s.doubleBuffer = GetLocalSettingsLive().iDispDrawMode & 1;
    s.paperFramesOff = config.PAPERLINEDSPOFF;
    s.paperFrameColour = setup.paper_margin.papercolor;
    s.marginFrameColour = setup.paper_margin.color;
    s.marginLeft = setup.paper_margin.left, s.marginRight = setup.paper_margin.right;
    s.marginTop = setup.paper_margin.top, s.marginBottom = setup.paper_margin.bottom;
    s.marginLeft2 = setup.paper_margin.left2, s.marginRight2 = setup.paper_margin.right2;
    s.marginTop2 = setup.paper_margin.top2, s.marginBottom2 = setup.paper_margin.bottom2;
    s.errorFont = config.ERRFONT;
    s.gridPitchX = setup.grid.x, s.gridPitchY = setup.grid.y;
    s.gridExtraMode = setup.bGridDspModeExtr;
    s.gridColourW = config.GRIDCOLOR_W, s.gridColourW5 = config.GRIDCOLOR_W5;
    s.gridColourB = config.GRIDCOLOR_B, s.gridColourB5 = config.GRIDCOLOR_B5;
    s.gridOn = IsGridOn();
    GetGridOrigin(&s.gridOriginX, &s.gridOriginY);
    return s;
}

void FillDrawParamBlock(DrawParamBlock& out, const PDBINFO& block, const DbInfoRecord& info, const RECT& client,
                        HWND window, HDC dc, const ViewPaintSettings& s)
{
    std::memset(&out, 0, sizeof out);
    PDBINFO& view = const_cast<PDBINFO&>(block);
    const ViewModeInfo& mode = CurrentViewMode(view);
    out.size = sizeof out;
    out.paperSpace = block.viewMode == 1 ? 1 : 0;
    if (s.colourMode != 0) out.colourMode = s.colourMode;
    out.termDraw = s.termDraw ? 1 : 0;
    out.pointSize = s.pointSize ? 1 : 0;
    if (s.lineWidthSize != 0) out.lineWidthSize = s.lineWidthSize;
    out.outputKind = 2;
    out.window = window;
    out.dc = dc;
    out.targetRect[0] = client.left, out.targetRect[1] = client.top;
    out.targetRect[2] = client.right, out.targetRect[3] = client.bottom;
    out.centreX = (client.left + client.right) / 2;
    out.centreY = (client.top + client.bottom) / 2;
    out.scale = mode.scale;
    const double drawingScale = IsUsableScale(info.scale) ? info.scale : 1.0;
    out.drawingScale = drawingScale;
    out.scaleRatio = mode.scale / drawingScale;
    ClientToWorld(mode, out.centreX, out.centreY, client.left, client.top, &out.worldLeft, &out.worldTop);
    ClientToWorld(mode, out.centreX, out.centreY, client.right, client.bottom, &out.worldRight, &out.worldBottom);
    out.world2[0] = out.world3Left = out.worldLeft;
    out.world2[1] = out.world3Top = out.worldTop;
    out.world2[2] = out.world3Right = out.worldRight;
    out.world2[3] = out.world3Bottom = out.worldBottom;
    out.offsetX = mode.offsetX;
    out.offsetY = mode.offsetY;
    out.backgroundRgb = static_cast<int32_t>(s.background & 0xFFFFFF);
    DbcsCopy(out.faceName, sizeof out.faceName, s.errorFont.c_str());

    const double W = info.drawingWidth, H = info.drawingHeight;
    if (info.originMode != 0) {
        out.paperLeft = 0, out.paperTop = H, out.paperRight = W, out.paperBottom = 0;
    } else {
        out.paperLeft = -W / 2, out.paperTop = H / 2, out.paperRight = W / 2, out.paperBottom = -H / 2;
    }
    // The paper and margin frames are left out while PAPERLINEDSPOFF is on, as in every other
    // drawing routine.
    if (s.paperFramesOff == 0 && s.paperFrameColour > 0) {
        out.paperFrame = 1;
        out.paperFrameColour = s.paperFrameColour;
    }
    if (s.paperFramesOff == 0 && s.marginFrameColour > 0) {
        const bool landscape = H < W;
        const double left = (landscape ? s.marginLeft : s.marginLeft2) / drawingScale;
        const double right = (landscape ? s.marginRight : s.marginRight2) / drawingScale;
        const double top = (landscape ? s.marginTop : s.marginTop2) / drawingScale;
        const double bottom = (landscape ? s.marginBottom : s.marginBottom2) / drawingScale;
        out.marginFrame = 1;
        out.marginFrameColour = s.marginFrameColour;
        out.marginLeft = out.paperLeft + left;
        out.marginTop = out.paperTop - top;
        out.marginRight = out.paperRight - right;
        out.marginBottom = out.paperBottom + bottom;
    }
    out.viewPaint = 1;
    if (s.lastPointShown) {
        out.lastPointMarker = 1;
        out.markerKind = 3;
        out.markerX = s.lastPointX, out.markerY = s.lastPointY, out.markerZ = s.lastPointZ;
    }
}

bool ComputeGridPitch(double pitchX, double pitchY, const ViewModeInfo& mode, int centreX, int centreY,
                      double paperWidth, double paperHeight, double* drawnX, double* drawnY, bool* doubled)
{
    if (doubled) *doubled = false;
    if (!IsUsableGridPitch(pitchX) || !IsUsableGridPitch(pitchY) || !IsUsableScale(mode.scale)) return false;
    if (!std::isfinite(paperWidth)) paperWidth = 0;
    if (!std::isfinite(paperHeight)) paperHeight = 0;
    double px = pitchX, py = pitchY;
    bool any = false;
    // Each doubling at least doubles the pixel distance; a pixel distance stuck at 0 (a scale
    // so small that both lines truncate to one pixel) ends when the pitch overflows.
    for (int round = 0; round < 2100; ++round) {
        const double x0 = -(std::trunc(paperWidth / 2 / px) + 1) * px;
        const double y0 = (std::trunc(paperHeight / 2 / py) + 1) * py;
        const POINT a = WorldToClient(mode, centreX, centreY, x0, y0);
        const POINT b = WorldToClient(mode, centreX, centreY, x0 + px, y0 - py);
        bool again = false;
        if (std::abs(b.x - a.x) < 10) px *= 2, again = true;
        if (std::abs(b.y - a.y) < 10) py *= 2, again = true;
        if (!again) break;
        any = true;
        if (!std::isfinite(px) || !std::isfinite(py)) return false;
    }
    if (drawnX) *drawnX = px;
    if (drawnY) *drawnY = py;
    if (doubled) *doubled = any;
    return true;
}

GridColours ChooseGridColours(const ViewPaintSettings& s, bool doubled)
{
    // The colour fix-ups work on copies: the settings themselves stay as the user set them.
    int w = s.gridColourW, w5 = s.gridColourW5, b = s.gridColourB, b5 = s.gridColourB5;
    if (w5 == 7) w5 = 16;
    if (b5 == 16) b5 = 7;
    const bool light = s.backgroundMode == 1 || s.backgroundMode == 2;
    GridColours colours;
    if (light) {
        if (w == 7) w = 16;
        colours.normal = doubled ? 13 : w;
        colours.fifth = w5;
    } else {
        if (b == 16) b = 7;
        colours.normal = doubled ? 6 : b;
        colours.fifth = b5;
    }
    return colours;
}

namespace {

COLORREF ColourOf(void* db, int index)
{
    auto* info = static_cast<DbInfoBlock*>(db ? ZUriGetDbInfoPtr(0, db) : nullptr);
    if (info == nullptr || index < 0 || index >= kColourCount) return RGB(255, 255, 255);
    const ColourRecord& c = info->colours[index];
    return RGB(c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF);
}

}  // namespace

void DrawViewGrid(HDC dc, const DrawParamBlock& block, const ViewPaintSettings& s, void* db, double paperWidth,
                  double paperHeight)
{
    ViewModeInfo mode{block.offsetX, block.offsetY, block.scale};
    double px = 0, py = 0;
    bool doubled = false;
    if (!ComputeGridPitch(s.gridPitchX, s.gridPitchY, mode, block.centreX, block.centreY, paperWidth, paperHeight,
                          &px, &py, &doubled)) {
        return;
    }
    SetDrawnGridPitch(px, py);
    const double sx = std::fmod(s.gridOriginX, s.gridPitchX), sy = std::fmod(s.gridOriginY, s.gridPitchY);
    WriteSystemLog(2, "Draw Grid 2", "グリッドピッチ x=%lf y=%lf)", sx, sy);
    if (doubled && s.gridExtraMode) return;

    const GridColours colours = ChooseGridColours(s, doubled);
    const bool light = s.backgroundMode == 1 || s.backgroundMode == 2;
    HPEN normal = CreatePen(PS_SOLID, 1, ColourOf(db, colours.normal));
    HPEN fifth = CreatePen(PS_SOLID, 1, ColourOf(db, colours.fifth));
    HGDIOBJ old = SelectObject(dc, normal);
    const double left = std::fmin(block.worldLeft, block.worldRight), right = std::fmax(block.worldLeft, block.worldRight);
    const double top = std::fmax(block.worldTop, block.worldBottom), bottom = std::fmin(block.worldTop, block.worldBottom);
    const double firstX = (std::trunc(left / px) - 1) * px + sx, lastX = (std::trunc(right / px) + 2) * px + sx;
    const double firstY = (std::trunc(bottom / py) - 2) * py + sy, lastY = (std::trunc(top / py) + 1) * py + sy;
    auto dash = [&](HPEN pen, int x, int y) {
        SelectObject(dc, pen);
        MoveToEx(dc, x - 1, y, nullptr);
        LineTo(dc, x + 1, y);
    };
    for (long m = 0;; ++m) {
        const double y = firstY + m * py;
        if (y > lastY || m > 100000) break;
        for (long k = 0;; ++k) {
            const double x = firstX + k * px;
            if (x > lastX || k > 100000) break;
            const POINT p = WorldToClient(mode, block.centreX, block.centreY, x, y);
            if (doubled) {
                dash(normal, p.x, p.y);
                continue;
            }
            const long ix = std::lround(std::fabs(x - s.gridOriginX) / px);
            const long iy = std::lround(std::fabs(y - s.gridOriginY) / py);
            if (ix % 5 != 0 && iy % 5 != 0) {
                dash(normal, p.x, p.y);
            } else {
                dash(fifth, p.x, p.y);
                if (light) dash(fifth, p.x, p.y + 1);
            }
        }
    }
    SelectObject(dc, old);
    DeleteObject(normal);
    DeleteObject(fifth);
}

double RenderView(HDC target, const RECT& client, HWND view, PDBINFO* block, CDrawSurface* surface)
{
    LARGE_INTEGER frequency = {}, start = {}, end = {};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);

    ViewPaintSettings settings = CurrentViewPaintSettings();
    settings.lastPointShown =
        GetShownLastPointMarker(view, &settings.lastPointX, &settings.lastPointY, &settings.lastPointZ);
    void* db = block->engineDb;
    if (auto* live = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db))) {
        live->colours[0].red = GetRValue(settings.background);
        live->colours[0].green = GetGValue(settings.background);
        live->colours[0].blue = GetBValue(settings.background);
    }
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);

    const int width = client.right - client.left, height = client.bottom - client.top;
    HDC dc = target;
    HDC memoryDc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ oldBitmap = nullptr;
    if (settings.doubleBuffer) {
        memoryDc = CreateCompatibleDC(target);
        bitmap = memoryDc ? CreateCompatibleBitmap(target, width, height) : nullptr;
        if (bitmap != nullptr) {
            oldBitmap = SelectObject(memoryDc, bitmap);
            dc = memoryDc;
        }
    }

    static DrawParamBlock drawBlock;
    FillDrawParamBlock(drawBlock, *block, info, client, view, dc, settings);
    ZUriDrawPre(db, &drawBlock);
    HBRUSH background = CreateSolidBrush(settings.background);
    FillRect(dc, &client, background);
    DeleteObject(background);
    // An attached scanned picture lies under the elements.
    DrawRasterAttachment(dc, drawBlock, db);
    ZUriDrawAll(db, &drawBlock, surface);
    // The scratch-database overlays wait for the temporary databases.
    if (settings.gridOn) DrawViewGrid(dc, drawBlock, settings, db, info.drawingWidth, info.drawingHeight);

    if (dc == memoryDc) {
        BitBlt(target, 0, 0, width, height, memoryDc, 0, 0, SRCCOPY);
        SelectObject(memoryDc, oldBitmap);
    }
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (memoryDc != nullptr) DeleteDC(memoryDc);

    QueryPerformanceCounter(&end);
    // The counters are taken whole: cut to 32 bits they wrap within hours of uptime.
    return frequency.QuadPart > 0
               ? static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart)
               : 0.0;
}

void PaintView(HWND view, PDBINFO* block, CDrawSurface* surface)
{
    PAINTSTRUCT paint;
    HDC paintDc = BeginPaint(view, &paint);
    if (paintDc == nullptr) return;
    if (block != nullptr && block->engineDb != nullptr) {
        RECT client;
        GetClientRect(view, &client);
        const double seconds = RenderView(paintDc, client, view, block, surface);
        WriteSystemLog(3, "Drawing Time 2", "描画時間 %lf(sec)", seconds);
    }
    EndPaint(view, &paint);
}
