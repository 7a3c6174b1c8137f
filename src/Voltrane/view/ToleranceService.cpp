#include "view/ToleranceService.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "core/GeometryHelpers.h"
#include "core/LocalSettings.h"
#include "view/PlaneTransform.h"
#include "view/ViewTable.h"

namespace {

double g_largeTolerance = 1e14;

// A tolerance must be a finite positive length; anything else would make every comparison
// either always or never true.
bool IsUsableTolerance(double value) { return std::isfinite(value) && value > 0.0; }

int* IntOut(CmdParamRecord* p)
{
    int* out;
    std::memcpy(&out, p->reserved20, sizeof out);
    return out;
}

double DoubleValue(const CmdParamRecord* p) { return p->point1.x; }

LRESULT GlobalRequest(CmdParamRecord* p)
{
    LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    const double value = DoubleValue(p);
    switch (p->mode) {
    case 1:
        if (p->double1) *p->double1 = GetLengthTolerance();
        return 1;
    case 2:
        if (IsUsableTolerance(value)) {
            SetLengthTolerance(value);
            ZUriSetEps(GetLengthTolerance(), GetAngleTolerance());
        }
        return 1;
    case 3:
        if (p->double1) *p->double1 = GetAngleTolerance();
        return 1;
    case 4:
        if (IsUsableTolerance(value)) {
            SetAngleTolerance(value);
            ZUriSetEps(GetLengthTolerance(), GetAngleTolerance());
        }
        return 1;
    case 5:
        if (int* out = IntOut(p)) *out = setup.iDigit;
        return 1;
    case 6:
        setup.iDigit = static_cast<int>(p->second);
        return 1;
    case 7:
        return setup.bZero;
    case 8:
        setup.bZero = static_cast<int>(p->second);
        return 1;
    case 9:
        if (p->double1) *p->double1 = g_largeTolerance;
        return 1;
    case 10:
        if (IsUsableTolerance(value)) g_largeTolerance = value;
        return 1;
    default:
        return 1;
    }
}

}  // namespace

double GetLargeTolerance() { return g_largeTolerance; }

LRESULT HandleToleranceRequest(CmdParamRecord* p)
{
    if (!p)
        return 0;
    void* db = GetLocalSettingsLive().iEpsMode == 1 && p->view ? GetViewDb(p->view) : nullptr;
    if (!db)
        return GlobalRequest(p);
    auto* live = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db));
    if (!live)
        return 0;
    DbInfoBlock* info = live;
    const double value = DoubleValue(p);
    switch (p->mode) {
    case 1:
        if (p->double1) *p->double1 = info->lengthTolerance;
        return 1;
    case 2:
        if (!IsUsableTolerance(value))
            return 1;
        info->lengthTolerance = value;
        return 1;
    case 3:
        if (p->double1) *p->double1 = SafeAtan2(info->sinAngleTolerance, info->cosAngleTolerance);
        return 1;
    case 4:
        if (!IsUsableTolerance(value))
            return 1;
        info->cosAngleTolerance = std::cos(value);
        info->sinAngleTolerance = std::sin(value);
        return 1;
    default:
        return p->mode >= 5 && p->mode <= 10 ? GlobalRequest(p) : 1;
    }
    return 1;
}
