#include "view/DirectionSearch.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/MarkServices.h"
#include "view/PlaneTransform.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace {

Point3d PointAt(const unsigned char* record, int offset)
{
    Point3d p = {0, 0, 0};
    std::memcpy(&p.x, record + offset, 8);
    std::memcpy(&p.y, record + offset + 8, 8);
    return p;
}

double DoubleAt(const unsigned char* record, int offset)
{
    double v;
    std::memcpy(&v, record + offset, 8);
    return v;
}

}  // namespace

void AddElementCrossings(const unsigned char* record, Point3d from, Point3d end, std::vector<Point3d>* out)
{
    uint16_t type;
    std::memcpy(&type, record, sizeof type);
    Point3d p, q;
    int count = 0;
    switch (type) {
    case kElementLine: {
        const Point3d s = PointAt(record, 33), e = PointAt(record, 57);
        if (IntersectLines(&p, from, end, s, e) && IsPointOnSegment(p, s, e)) out->push_back(p);
        return;
    }
    case kElementCircle:
    case kElementArc:
        count = IntersectSegmentCircle(&p, &q, from, end, PointAt(record, 33), DoubleAt(record, 57));
        break;
    case kElementEllipse:
    case kElementEllipticArc:
        count = IntersectSegmentEllipse(&p, &q, from, end, PointAt(record, 33), PointAt(record, 57),
                                        DoubleAt(record, 81));
        break;
    default:
        return;
    }
    if (count >= 1) out->push_back(p);
    if (count >= 2) out->push_back(q);
}

int ChooseNearestInDirection(const char* direction, Point3d from, const std::vector<Point3d>& candidates,
                             Point3d* out)
{
    double best = 0.0;
    for (const Point3d& x : candidates) {
        if (!IsInDirection(direction, from, x)) continue;
        const double d = (x.x - from.x) * (x.x - from.x) + (x.y - from.y) * (x.y - from.y);
        if (best == 0.0 || d < best) {
            best = d;
            *out = x;
        }
    }
    return best > 0.0 ? 1 : 0;
}

int FindPointInDirection(const char* direction, double* x, double* y)
{
    HWND view = GetActiveView();
    void* db = view ? GetViewDb(view) : nullptr;
    if (!db || !direction || !x || !y) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    const double w = info.drawingWidth, h = info.drawingHeight;
    Point3d from = {0, 0, 0};
    GetCursorWorldPoint(&from.x, &from.y);
    *x = from.x, *y = from.y;
    const double eps = GetLengthTolerance();
    Point3d end = from;
    SearchBox box;
    if (std::strcmp(direction, "UP") == 0) {
        end.y += h;
        box = {from.x - eps, from.y + h + eps, from.x + eps, from.y + eps};
    } else if (std::strcmp(direction, "DOWN") == 0) {
        end.y -= h;
        box = {from.x - eps, from.y - eps, from.x + eps, from.y - h - eps};
    } else if (std::strcmp(direction, "LEFT") == 0) {
        end.x -= w;
        box = {from.x - w - eps, from.y + eps, from.x - eps, from.y - eps};
    } else if (std::strcmp(direction, "RIGHT") == 0) {
        end.x += w;
        box = {from.x + eps, from.y + eps, from.x + w + eps, from.y - eps};
    } else {
        return 0;
    }

    SearchBlock saved;
    GetSearchSettings(0, &saved);
    SearchBlock search = saved;
    search.mode = 3;
    search.typeMask = 0x87FFF;
    search.word2 = -1;
    search.word4 = 0xFFFFFF;
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&search));
    void* mark = FindFrameElement(&box);
    if (!mark) {
        SetSearchSettings(0, reinterpret_cast<INT_PTR>(&saved));
        return 0;
    }
    std::vector<Point3d> candidates;
    unsigned char record[kElementRecordSize];
    for (void* e = CadGetNextMark(mark, nullptr); e; e = CadGetNextMark(mark, e)) {
        const EngineNode* node = static_cast<const EngineNode*>(e);
        const int type = node->record.type;
        if (type == kElementGroup || type == kElementComposite) {
            for (const EngineNode* m = node->nextMember; m; m = m->nextMember) {
                std::memcpy(record, &m->record, sizeof record);
                AddElementCrossings(record, from, end, &candidates);
            }
            continue;
        }
        std::memcpy(record, &node->record, sizeof record);
        AddElementCrossings(record, from, end, &candidates);
    }
    CadDestroyMark(mark);
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&saved));
    Point3d found;
    if (!ChooseNearestInDirection(direction, from, candidates, &found)) return 0;
    *x = found.x, *y = found.y;
    return 1;
}
