#include "commands/PointSearch.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "commands/ElementServices.h"
#include "commands/HostServiceSite.h"
#include "commands/MarkServices.h"
#include "commands/TempDatabase.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

SearchPointRecord g_lastPoint{};
int g_hasLastPoint = 0;

// A drawing scale the margins can be divided by.
double UsableMarginScale(double scale)
{
    return std::isfinite(scale) && scale > 0.0 && scale <= 99999999.0 ? scale : 1.0;
}

void ConfirmFound()
{
    if (GetLocalSettingsLive().setup.bBeepFind == 1) PlayAlertSound(1);
}

// The active view's drawing block, or null.
PDBINFO* ActiveBlock()
{
    HWND view = GetActiveView();
    return view ? GetViewBlock(view) : nullptr;
}

int Finish(int found)
{
    if (found) ConfirmFound();
    return found;
}

}  // namespace

SearchBox SearchBoxAround(double x, double y, double aperture)
{
    return SearchBox{x - aperture, y + aperture, x + aperture, y - aperture};
}

int IsPointInSearchBox(const SearchBox& box, double x, double y)
{
    return x > box.left && x < box.right && y > box.bottom && y < box.top ? 1 : 0;
}

int FindFrameCornerIn(const FrameCornerInputs& in, const SearchBox& box, SearchPointRecord* out)
{
    auto take = [&](double x, double y, int32_t value1, int32_t value2) {
        if (!IsPointInSearchBox(box, x, y)) return false;
        out->x = x;
        out->y = y;
        out->value1 = value1;
        out->value2 = value2;
        return true;
    };
    // A frame corner lies on no element: it carries no element and no point kind.
    if (take(0.0, 0.0, 0, 0)) return 1;
    if (in.lastPointShown && in.hasLastPoint &&
        take(in.lastPoint.x, in.lastPoint.y, in.lastPoint.value1, in.lastPoint.value2))
        return 1;
    const double w = in.width / 2, h = in.height / 2;
    if (!in.paperFramesOff) {
        if (take(w, h, 0, 0) || take(-w, h, 0, 0) || take(-w, -h, 0, 0) || take(w, -h, 0, 0)) return 1;
    }
    if (in.marginColour > 0) {
        const double* m = in.width <= in.height ? in.portrait : in.landscape;
        const double s = UsableMarginScale(in.scale);
        const double left = m[0] / s, right = m[1] / s, top = m[2] / s, bottom = m[3] / s;
        if (take(w - right, h - top, 0, 0) || take(w - right, bottom - h, 0, 0) || take(left - w, h - top, 0, 0) ||
            take(left - w, bottom - h, 0, 0))
            return 1;
    }
    return 0;
}

FrameCornerInputs GatherFrameCornerInputs(void* database)
{
    FrameCornerInputs in;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    if (database != nullptr && ZUriGetDBInfo(&info, database)) {
        in.width = std::isfinite(info.drawingWidth) ? info.drawingWidth : 0.0;
        in.height = std::isfinite(info.drawingHeight) ? info.drawingHeight : 0.0;
        in.scale = info.scale;
    }
    in.lastPointShown = GetLocalSettingsLive().setup.bLastPosViewFg;
    in.hasLastPoint = g_hasLastPoint;
    in.lastPoint = g_lastPoint;
    in.paperFramesOff = GetCadSystem().config.PAPERLINEDSPOFF;
    CHostServiceSite& site = GetHostServiceSite();
    in.marginColour = site.MarginFrameColour();
    site.Margins(true, &in.landscape[0], &in.landscape[1], &in.landscape[2], &in.landscape[3]);
    site.Margins(false, &in.portrait[0], &in.portrait[1], &in.portrait[2], &in.portrait[3]);
    return in;
}

int FindFrameCorner(void* database, const SearchBox& box, SearchPointRecord* out)
{
    return FindFrameCornerIn(GatherFrameCornerInputs(database), box, out);
}

int SearchPoint(const SearchPointRecord& point, SearchPointRecord* out, void* mark)
{
    if (out == nullptr) return 0;
    if (IsKeyCursorMode()) {
        *out = point;
        return 0;
    }
    return SearchEndPointIn(ActiveBlock(), GetPickApertureInDrawingUnits(), GetTempDb(), point, out, mark);
}

int SearchEndPointIn(PDBINFO* block, double aperture, void* tempDb, const SearchPointRecord& point,
                     SearchPointRecord* out, void* mark)
{
    if (out == nullptr || block == nullptr || block->engineDb == nullptr) return 0;
    if (FindFrameCorner(block->engineDb, SearchBoxAround(point.x, point.y, aperture), out)) return Finish(1);
    return Finish(ZUriSerchPoint(point, out, aperture, block->engineDb, tempDb, block, mark));
}

int SearchPoint2(const SearchPointRecord& point, SearchPointRecord* out, void* mark)
{
    PDBINFO* block = ActiveBlock();
    if (out == nullptr || block == nullptr) return 0;
    return Finish(ZUriSerchPoint2(point, out, GetPickApertureInDrawingUnits(), block, GetCadSystem().config.TYUTEN, mark));
}

int SearchPoint2Ex(const SearchPointRecord& point, SearchPointRecord* out, void* mark)
{
    PDBINFO* block = ActiveBlock();
    if (out == nullptr || block == nullptr) return 0;
    return Finish(ZUriSerchPoint2_2(point, out, GetPickApertureInDrawingUnits(), block, mark));
}

int SearchPoint3(const SearchPointRecord& point, SearchPointRecord* out, void* mark)
{
    PDBINFO* block = ActiveBlock();
    if (out == nullptr || block == nullptr) return 0;
    // Intersections of every kind on every layer; the block stays in force afterwards.
    const SearchBlock search = MakeProgramSearchBlock(0x87fff, 0xffffff);
    ZUriDbSetSerch(&search);
    return Finish(ZUriSerchPoint3(point, out, GetPickApertureInDrawingUnits(), block, mark));
}

int SearchPoint4(const SearchPointRecord& point, SearchPointRecord* out, void* mark)
{
    PDBINFO* block = ActiveBlock();
    if (out == nullptr || block == nullptr) return 0;
    return Finish(ZUriSerchPoint4(point, out, GetPickApertureInDrawingUnits(), block, mark));
}

void SetSearchLastInputPoint(const HostPoint& point)
{
    g_lastPoint.x = point.x;
    g_lastPoint.y = point.y;
    g_lastPoint.value1 = point.value1;
    g_lastPoint.value2 = point.value2;
    g_hasLastPoint = 1;
}

void ClearSearchLastInputPoint() { g_hasLastPoint = 0; }
