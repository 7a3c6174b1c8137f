// Search settings, the frame and pick searches and the point searches.
#include "EngineCalls.h"
#include "EngineGeometry.h"
#include "EngineMark.h"
#include "EngineSettings.h"

#include <cmath>
#include <cstring>
#include <limits>
#include "MemoryProbe.h"

using namespace dravikdb;

namespace {

// The view's drawing block holds the engine database record at this offset.
constexpr size_t kViewBlockDbOffset = 20;
constexpr size_t kMaxIntersectionCandidates = 200;

void* g_lastSearchDb = nullptr;

uint32_t TypeClassBit(int type)
{
    if (type >= 1 && type <= 15) return 1u << (type - 1);
    if (type == kElementViewport) return 1u << 15;
    if (type == kElementImage) return 1u << 17;
    if (type == kElementRaster) return 1u << 18;
    if (IsCompositeType(type) || type == kElementFigureReference) return 1u << 19;
    return 0;
}

bool Passes(Database& db, const Element& element)
{
    const EngineSettings& s = Settings();
    const ElementRecord& rec = element.node.record;
    if (s.search.typeMask != 0 && (s.search.typeMask & TypeClassBit(rec.type)) == 0) return false;
    if (!IsValidPageNumber(rec.page) || !IsValidLayer(rec.layer)) return false;
    if (s.pageDetect != 0 && db.record != nullptr) {
        const PageStateInfo& state = db.record->pageState;
        if (((state.detectMask[rec.page / 32] >> (rec.page % 32)) & 1) == 0) return false;
    }
    DbInfoBlock* info = InfoBlock(db, rec.page);
    if (info == nullptr) info = db.info.get();
    if (((info->layers.detectMask[rec.layer / 16] >> (rec.layer % 16)) & 1) == 0) return false;
    if (s.lockLayerSearchMode == 1 && IsLayerLocked(db, rec)) return false;
    return true;
}

// Elements a search looks at: those of the candidate mark, or every element of the database.
std::vector<Element*> Candidates(Database& db, Mark* mark)
{
    std::vector<Element*> out;
    if (mark != nullptr) {
        for (Element* e = MarkNext(*mark, nullptr); e != nullptr; e = MarkNext(*mark, e)) {
            if (e->linked && Passes(db, *e)) out.push_back(e);
        }
        return out;
    }
    for (auto& entry : db.chain) {
        if (Passes(db, *entry.second)) out.push_back(entry.second);
    }
    return out;
}

void* RecordOfView(void* view)
{
    if (view == nullptr || IsBadReadMemory(view, kViewBlockDbOffset + sizeof(void*))) return nullptr;
    void* record = nullptr;
    std::memcpy(&record, static_cast<char*>(view) + kViewBlockDbOffset, sizeof record);
    return record;
}

// The database a search without its own database argument works on.
Database* SearchDatabase(void* view, Mark* mark)
{
    if (mark != nullptr && mark->db != nullptr) return Resolve(mark->dbRecord);
    Database* db = Resolve(RecordOfView(view));
    if (db != nullptr) return db;
    return Resolve(g_lastSearchDb);
}

bool InAperture(double px, double py, const SearchPointRecord& point, double aperture)
{
    return std::fabs(px - point.x) <= aperture && std::fabs(py - point.y) <= aperture;
}

struct Best {
    bool found = false;
    double distance = std::numeric_limits<double>::max();
    Point2 point;
    Element* element = nullptr;
};

void Consider(Best& best, const Point2& p, Element* element, const SearchPointRecord& point, double aperture)
{
    if (!InAperture(p.x, p.y, point, aperture)) return;
    double d = std::hypot(p.x - point.x, p.y - point.y);
    if (best.found && d >= best.distance) return;
    best = {true, d, p, element};
}

int Answer(const Best& best, SearchPointRecord* out, SearchPointKind kind)
{
    if (!best.found || out == nullptr) return 0;
    out->x = best.point.x;
    out->y = best.point.y;
    out->value1 = static_cast<int32_t>(reinterpret_cast<uintptr_t>(best.element->handle()));
    out->value2 = kind;
    return 1;
}

template <typename Collect>
void SearchPoints(Database& db, Mark* mark, const SearchPointRecord& point, double aperture, Best& best,
                  Collect collect)
{
    for (Element* top : Candidates(db, mark)) {
        std::vector<Element*> leaves;
        GeometryLeaves(top, leaves);
        for (Element* leaf : leaves) {
            std::vector<Point2> points;
            collect(*leaf, points);
            for (const Point2& p : points) Consider(best, p, top, point, aperture);
        }
    }
}

bool ValidAperture(double aperture)
{
    return std::isfinite(aperture) && aperture >= 0.0;
}

Mark* BoxSearch(const void* box, void* db, int limit)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    g_lastSearchDb = db;
    SearchBox area{};
    bool whole = box == nullptr;
    if (!whole) {
        if (IsBadReadMemory(box, sizeof area)) return nullptr;
        std::memcpy(&area, box, sizeof area);
        if (area.left > area.right) std::swap(area.left, area.right);
        if (area.bottom > area.top) std::swap(area.bottom, area.top);
    }
    Mark* mark = CreateMark(*d, static_cast<EngineDbRecord*>(db));
    double cx = (area.left + area.right) / 2.0, cy = (area.top + area.bottom) / 2.0;
    double reach = std::hypot(area.right - area.left, area.top - area.bottom) / 2.0;
    ExtentCache extents;
    for (Element* e : Candidates(*d, nullptr)) {
        if (limit > 0 && static_cast<int>(mark->live) >= limit) break;
        if (!whole) {
            SearchBox extent{};
            if (!ElementExtents(*e, extent, extents)) continue;
            if (extent.right < area.left || extent.left > area.right || extent.top < area.bottom ||
                extent.bottom > area.top) {
                continue;
            }
            bool inside = extent.left >= area.left && extent.right <= area.right &&
                          extent.bottom >= area.bottom && extent.top <= area.top;
            if (!inside && DistanceTo(*e, cx, cy) > reach) continue;
        }
        MarkAdd(*mark, e);
    }
    SyncRecord(*d);
    return mark;
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriDbSetSerch(const void* block)
{
    if (block == nullptr || IsBadReadMemory(block, sizeof(SearchBlock))) return 0;
    std::memcpy(&Settings().search, block, sizeof(SearchBlock));
    return 1;
}

DRAVIKDB_API int WINAPI ZUriDbGetSerch(void* out)
{
    if (out == nullptr) return 0;
    std::memcpy(out, &Settings().search, sizeof(SearchBlock));
    return 1;
}

DRAVIKDB_API int WINAPI ZUriDbSetSerchOption(int option)
{
    int previous = Settings().searchOption;
    Settings().searchOption = option;
    return previous;
}

DRAVIKDB_API int WINAPI ZUriSerchSetGrpFind(int on)
{
    int previous = Settings().groupFind;
    Settings().groupFind = on != 0 ? 1 : 0;
    return previous;
}

DRAVIKDB_API int WINAPI ZUriGetPageDetFlag(void)
{
    return Settings().pageDetect;
}

DRAVIKDB_API int WINAPI ZUriSetPageDetFlag(int flag)
{
    int previous = Settings().pageDetect;
    Settings().pageDetect = flag != 0 ? 1 : 0;
    return previous;
}

DRAVIKDB_API int WINAPI QmGetLockLaySearchMode(void)
{
    return Settings().lockLayerSearchMode;
}

DRAVIKDB_API int WINAPI QmSetLockLaySearchMode(int mode)
{
    int previous = Settings().lockLayerSearchMode;
    Settings().lockLayerSearchMode = mode;
    return previous;
}

DRAVIKDB_API int WINAPI QmIsLockLayer(void* element, void* db, void* record)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    ElementRecord rec;
    if (element != nullptr) {
        Element* e = FindElement(element, d);
        if (e == nullptr) return 0;
        rec = e->node.record;
        if (record != nullptr) std::memcpy(record, &rec, sizeof rec);
    } else {
        if (record == nullptr || IsBadReadMemory(record, sizeof rec)) return 0;
        std::memcpy(&rec, record, sizeof rec);
    }
    return IsLayerLocked(*d, rec) ? 1 : 0;
}

DRAVIKDB_API void* WINAPI ZUriGetWakuElement(const void* box, void* db, void* view)
{
    (void)view;
    return Guarded<void*>(nullptr, [&]() -> void* { return BoxSearch(box, db, 0); });
}

DRAVIKDB_API void* WINAPI ZUriGetWakuElementEx(const void* box, void* db, void* view, int limit)
{
    (void)view;
    return Guarded<void*>(nullptr, [&]() -> void* { return BoxSearch(box, db, limit); });
}

DRAVIKDB_API void* WINAPI ZUriGetElementMarkByPointWithMark(double x, double y, double z, double aperture,
                                                           int* count, void* db, void* view, void* mark)
{
    (void)z;
    (void)view;
    if (count != nullptr) *count = 0;
    Database* d = Resolve(db);
    if (d == nullptr || !ValidAperture(aperture) || !std::isfinite(x) || !std::isfinite(y)) return nullptr;
    Mark* candidates = nullptr;
    if (mark != nullptr) {
        candidates = FindMark(mark);
        if (candidates == nullptr || candidates->db != d) return nullptr;
    }
    return Guarded<void*>(nullptr, [&]() -> void* {
        std::vector<Element*> hits;
        for (Element* e : Candidates(*d, candidates)) {
            if (DistanceTo(*e, x, y) <= aperture) hits.push_back(e);
        }
        if (hits.empty()) return nullptr;
        Mark* result = CreateMark(*d, static_cast<EngineDbRecord*>(db));
        for (Element* e : hits) MarkAdd(*result, e);
        if (count != nullptr) *count = static_cast<int>(result->live);
        SyncRecord(*d);
        return result;
    });
}

DRAVIKDB_API int WINAPI ZUriSerchPoint(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                       void* db, void* tempDb, void* view, void* mark)
{
    (void)view;
    Database* d = Resolve(db);
    if (d == nullptr || out == nullptr || !ValidAperture(aperture)) return 0;
    g_lastSearchDb = db;
    Mark* m = FindMark(mark);
    if (mark != nullptr && (m == nullptr || m->db != d)) return 0;
    return Guarded(0, [&] {
        Best best;
        auto ends = [](const Element& e, std::vector<Point2>& points) { EndPoints(e, points); };
        SearchPoints(*d, m, point, aperture, best, ends);
        Database* temp = tempDb != nullptr && tempDb != db ? Resolve(tempDb) : nullptr;
        if (temp != nullptr && m == nullptr) SearchPoints(*temp, nullptr, point, aperture, best, ends);
        Resolve(db);
        return Answer(best, out, kSearchEndPoint);
    });
}

DRAVIKDB_API int WINAPI ZUriSerchPoint2(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                        void* view, int option, void* mark)
{
    Mark* m = FindMark(mark);
    if (mark != nullptr && m == nullptr) return 0;
    Database* d = SearchDatabase(view, m);
    if (d == nullptr || out == nullptr || !ValidAperture(aperture)) return 0;
    return Guarded(0, [&] {
        Best best;
        int parts = option >= 2 ? option : 2;
        SearchPoints(*d, m, point, aperture, best,
                     [parts](const Element& e, std::vector<Point2>& points) { DivisionPoints(e, parts, points); });
        return Answer(best, out, kSearchMidPoint);
    });
}

DRAVIKDB_API int WINAPI ZUriSerchPoint2_2(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                          void* view, void* mark)
{
    Mark* m = FindMark(mark);
    if (mark != nullptr && m == nullptr) return 0;
    Database* d = SearchDatabase(view, m);
    if (d == nullptr || out == nullptr || !ValidAperture(aperture)) return 0;
    return Guarded(0, [&] {
        Best best;
        SearchPoints(*d, m, point, aperture, best,
                     [](const Element& e, std::vector<Point2>& points) { Centres(e, points); });
        return Answer(best, out, kSearchCentre);
    });
}

DRAVIKDB_API int WINAPI ZUriSerchPoint3(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                        void* view, void* mark)
{
    Mark* m = FindMark(mark);
    if (mark != nullptr && m == nullptr) return 0;
    Database* d = SearchDatabase(view, m);
    if (d == nullptr || out == nullptr || !ValidAperture(aperture)) return 0;
    return Guarded(0, [&] {
        // The pieces of geometry close to the point, each with the element it belongs to.
        std::vector<std::pair<Element*, Element*>> nearby;
        for (Element* top : Candidates(*d, m)) {
            std::vector<Element*> leaves;
            GeometryLeaves(top, leaves);
            for (Element* leaf : leaves) {
                if (nearby.size() >= kMaxIntersectionCandidates) break;
                if (DistanceTo(*leaf, point.x, point.y) <= aperture * 2.0) nearby.emplace_back(top, leaf);
            }
        }
        Best best;
        for (size_t i = 0; i < nearby.size(); ++i) {
            for (size_t j = i + 1; j < nearby.size(); ++j) {
                std::vector<Point2> points;
                Intersections(*nearby[i].second, *nearby[j].second, points);
                for (const Point2& p : points) Consider(best, p, nearby[i].first, point, aperture);
            }
        }
        return Answer(best, out, kSearchIntersection);
    });
}

DRAVIKDB_API int WINAPI ZUriSerchPoint4(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                        void* view, void* mark)
{
    Mark* m = FindMark(mark);
    if (mark != nullptr && m == nullptr) return 0;
    Database* d = SearchDatabase(view, m);
    if (d == nullptr || out == nullptr || !ValidAperture(aperture)) return 0;
    return Guarded(0, [&] {
        Best best;
        const double x = point.x, y = point.y;
        SearchPoints(*d, m, point, aperture, best, [x, y](const Element& e, std::vector<Point2>& points) {
            Point2 p;
            if (NearestOnElement(e, x, y, p)) points.push_back(p);
        });
        return Answer(best, out, kSearchOnLine);
    });
}
