#include "commands/PlacementCopy.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "commands/MarkServices.h"
#include "core/GeometryHelpers.h"
#include "MemoryProbe.h"

namespace {

constexpr PlacementTransformRecord kIdentity{1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1};

struct PlacementState {
    PlacementTransformRecord transform = kIdentity;
    int pageOverride = -1;
    int valueOverride = -1;
    int layerOverride = -1;
    int inPlace = 0;
};

PlacementState& State()
{
    static PlacementState state;
    return state;
}

CElementServiceSite& Site() { return GetElementServiceSite(); }

double Get(const ElementRecord& r, int offset)
{
    double v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(&r) + offset, sizeof v);
    return v;
}

void Put(ElementRecord& r, int offset, double v) { std::memcpy(reinterpret_cast<uint8_t*>(&r) + offset, &v, sizeof v); }

void PlacePoint(ElementRecord& r, int xAt, const PlacementTransformRecord& t)
{
    const double x = Get(r, xAt) - t.ox, y = Get(r, xAt + 8) - t.oy;
    Put(r, xAt, (t.m11 * x + t.m12 * y) * t.sx + t.tx);
    Put(r, xAt + 8, (t.m21 * x + t.m22 * y) * t.sy + t.ty);
}

void Scale(ElementRecord& r, std::initializer_list<int> offsets, double s)
{
    for (int at : offsets) Put(r, at, Get(r, at) * s);
}

void Turn(ElementRecord& r, std::initializer_list<int> offsets, double a)
{
    for (int at : offsets) Put(r, at, Get(r, at) + a);
}

// Restores the transform and the per-call overrides on every way out of a service.
struct ServiceScope {
    PlacementTransformRecord saved = State().transform;
    int savedAppendMode = GetElementServiceState().appendMode;
    bool resetPageOverrides = false;
    ~ServiceScope()
    {
        State().transform = saved;
        State().inPlace = 0;
        GetElementServiceState().appendMode = savedAppendMode;
        if (resetPageOverrides) State().pageOverride = State().valueOverride = -1;
    }
};

bool IsOverrideType(int type)
{
    return (type >= kElementLine && type <= kElementEllipticArc) || type == kElementGroup || type == kElementComposite ||
           type == 31 || type == kElementFigureReference || type == 40 || type == kElementImage ||
           type == kElementRaster || type == kElementViewport;
}

struct Target {
    void* db = nullptr;
    int page = -1;  // -1: none
    int space = 0;
};

void ApplyOverrides(ElementRecord& r, const Target& target)
{
    const PlacementState& s = State();
    if (IsOverrideType(r.type)) {
        if (target.page >= 0) {
            r.page = target.page;
            r.space = static_cast<uint8_t>(target.space);
        } else if (s.pageOverride >= 0) {
            r.page = s.pageOverride;
        }
    }
    if (s.valueOverride >= 0) {
        r.space = static_cast<uint8_t>(s.valueOverride);
        if (s.valueOverride == 1) r.page = 0;
    }
    if (s.layerOverride >= 0) r.layer = static_cast<uint16_t>(s.layerOverride);
}

bool PageAllowed(const ElementRecord& r, const Target& target, bool both)
{
    if (target.page >= 0 && !CheckPageEditable(target.page, target.db)) return false;
    if (target.page < 0 || both) return CheckPageEditable(r.page, target.db) != 0;
    return true;
}

void ApplyUserDataMarker(void* element, const PlacementTransformRecord& t)
{
    uint8_t data[256];
    if (!ZUriGet256UserData(element, data)) return;
    if (std::memcmp(data + 3, "VY_ECAD", 7) != 0 || std::memcmp(data + 12, "02", 2) != 0) return;
    double size, angle;
    std::memcpy(&size, data + 63, 8);
    std::memcpy(&angle, data + 71, 8);
    size *= t.s;
    angle += SafeAtan2(t.m21, t.m11);
    std::memcpy(data + 63, &size, 8);
    std::memcpy(data + 71, &angle, 8);
    ZUriSet256UserData(element, data);
}

bool IsHiddenPoint(const ElementRecord& r) { return r.type == kElementPoint && r.colour == 0; }

bool IsSpecialComposite(const ElementRecord& r) { return r.type == kElementGroup && r.subKind >= 905 && r.subKind <= 907; }

// Copies the direct members of a source head (and theirs) behind a new head, placed and with
// the overrides. Nothing is deleted here; false when the engine refused a member.
bool CopyMembersPlaced(void* sourceHead, void* newHead, const Target& target, int flags, bool skipHidden, bool place)
{
    void* previous = nullptr;
    const bool pointScale = Site().Settings().pointScale != 0;
    for (void* m = ZUriReadNextMember2(sourceHead, nullptr); m != nullptr; m = ZUriReadNextMember2(sourceHead, m)) {
        ElementRecord record = static_cast<EngineNode*>(m)->record;
        if (skipHidden && IsHiddenPoint(record)) continue;
        if (place) {
            ApplyOverrides(record, target);
            PlaceRecord(record, State().transform, true, pointScale);
        }
        void* added = previous != nullptr ? ZUriAppendMemberElementExt(&record, newHead, target.db, previous)
                                          : ZUriAppendMemberElement(&record, newHead, target.db);
        if (added == nullptr) return false;
        ZUriElementParamCopy(m, added);
        ClearElementExtraData(added, flags);
        if (IsCompositeType(record.type)) {
            const bool nestedSkip = skipHidden || (IsSpecialComposite(record) && (flags & 1));
            if (!CopyMembersPlaced(m, added, target, flags, nestedSkip, place)) return false;
        }
        previous = added;
    }
    return true;
}

void ShowOutOfMemory() { Site().ShowMessage("メモリーが不足しています。", "エラー", MB_OK | MB_ICONERROR); }

// A composite copied as a new composite of the target; null when the engine refused a part
// (the partial copy is removed again).
void* RebuildComposite(void* source, const ElementRecord& sourceRecord, const Target& target, int flags)
{
    ElementRecord head = sourceRecord;
    ApplyOverrides(head, target);
    void* newHead = ZUriAppendElement(&head, target.db);
    if (newHead == nullptr) return nullptr;
    ZUriFastAccessOn();
    const bool skipHidden = IsSpecialComposite(sourceRecord) && (flags & 1);
    const bool ok = CopyMembersPlaced(source, newHead, target, flags, skipHidden, true);
    ZUriFastAccessOff();
    if (!ok) {
        ZUriDeleteElement(newHead, target.db);
        ShowOutOfMemory();
        return nullptr;
    }
    EngineNode* node = static_cast<EngineNode*>(newHead);
    node->record.subKind = sourceRecord.subKind;
    ZUriElementParamCopy(source, newHead);
    ClearElementExtraData(newHead, flags);
    ApplyUserDataMarker(newHead, State().transform);
    return newHead;
}

// Stores one placed copy of a source element in the target; null when refused.
void* StorePlacedCopy(void* source, void* sourceDb, ElementRecord& record, const ElementRecord& original,
                      const Target& target, int flags)
{
    if (IsCompositeType(record.type) && record.type != kElementCompositeOther)
        return RebuildComposite(source, original, target, flags);
    void* added = nullptr;
    if (record.type == kElementFigureReference) {
        void* header = ZUriGetFgroupHeaderIdx(source, sourceDb);
        if (header != nullptr && sourceDb != target.db) header = CopyGroupToDb(sourceDb, target.db, header);
        if (header == nullptr) return nullptr;
        added = ZUriAppendFgroup(header, &record, target.db);
    } else {
        added = ZUriAppendElement(&record, target.db);
    }
    if (added == nullptr) return nullptr;
    ZUriElementParamCopy(source, added);
    ClearElementExtraData(added, flags);
    return added;
}

void AdaptForCrossCopy(HWND sourceView, HWND targetView)
{
    PlacementTransformRecord& t = State().transform;
    const double fs = Site().InputScaleFactor(sourceView);
    const double ft = Site().InputScaleFactor(targetView);
    if (fs == 0.0 || ft == 0.0 || !std::isfinite(fs) || !std::isfinite(ft)) return;
    t.s = t.s * ft / fs;
    t.ox = t.ox * ft / fs;
    t.oy = t.oy * ft / fs;
}

int FlagsFor(bool cross, int layer)
{
    int flags = 0;
    if (layer >= 0 || State().pageOverride >= 0 || cross) flags |= 2;
    if (!IsIdentityPlacement(State().transform)) flags |= 1;
    return flags;
}

Target CrossTarget(void* db, bool cross)
{
    Target target;
    target.db = db;
    if (cross && State().pageOverride < 0) {
        target.page = Site().CurrentPage();
        target.space = Site().ViewMode(Site().ActiveView()) == 1 ? 1 : 0;
    }
    return target;
}

// The database of a mark that holds elements (the engine counts only the marks it knows).
void* MarkDatabase(void* mark)
{
    if (mark == nullptr || IsBadReadMemory(mark, sizeof(void*))) return nullptr;
    return ZUriGetMarkNum(mark) > 0 ? *static_cast<void**>(mark) : nullptr;
}

}  // namespace

int SetPlacementTransform(int fullRecord, const PlacementTransformRecord* record)
{
    if (record == nullptr || IsBadReadMemory(record, sizeof *record)) return 0;
    PlacementTransformRecord& t = State().transform;
    if (fullRecord == 1) {
        t = *record;
    } else {
        std::memcpy(&t, record, offsetof(PlacementTransformRecord, sx));
        t.sx = t.sy = t.s;
    }
    return 1;
}

const PlacementTransformRecord& CurrentPlacement() { return State().transform; }

bool IsIdentityPlacement(const PlacementTransformRecord& t)
{
    const double e = 1e-07;
    return std::fabs(t.s - 1) <= e && std::fabs(t.m11 - 1) <= e && std::fabs(t.m12) <= e && std::fabs(t.m21) <= e &&
           std::fabs(t.m22 - 1) <= e;
}

void PlaceRecord(ElementRecord& r, const PlacementTransformRecord& t, bool withImages, bool pointScale)
{
    const double a = SafeAtan2(t.m21, t.m11);
    const double s = t.s;
    switch (r.type) {
    case kElementLine:
        PlacePoint(r, 33, t);
        PlacePoint(r, 57, t);
        if (pointScale) Scale(r, {17, 25}, s);
        break;
    case kElementPoint:
        PlacePoint(r, 33, t);
        Turn(r, {58}, a);
        if (pointScale) Scale(r, {66}, s);
        break;
    case kElementCircle:
        PlacePoint(r, 33, t);
        Scale(r, {57}, s);
        break;
    case kElementArc:
        PlacePoint(r, 33, t);
        Scale(r, {57}, s);
        Turn(r, {65, 73}, a);
        if (pointScale) Scale(r, {17, 25}, s);
        break;
    case kElementText:
        PlacePoint(r, 112, t);
        Scale(r, {46, 62, 14, 22}, s);
        Turn(r, {30}, a);
        break;
    case kElementEllipse:
        PlacePoint(r, 33, t);
        PlacePoint(r, 57, t);
        break;
    case kElementEllipticArc:
        PlacePoint(r, 33, t);
        PlacePoint(r, 57, t);
        Turn(r, {89, 97}, a);
        if (pointScale) Scale(r, {17, 25}, s);
        break;
    case kElementFigureReference:
        PlacePoint(r, 57, t);
        Scale(r, {33}, s);
        Turn(r, {49}, a);
        break;
    case kElementImage:
        if (withImages) {
            // The picture stays axis-parallel: its centre is placed and its size scaled.
            const double x1 = Get(r, 33), y1 = Get(r, 41), x2 = Get(r, 57), y2 = Get(r, 65);
            const double hw = std::fabs(x2 - x1) * s * 0.5, hh = std::fabs(y2 - y1) * s * 0.5;
            Put(r, 33, (x1 + x2) * 0.5);
            Put(r, 41, (y1 + y2) * 0.5);
            PlacePoint(r, 33, t);
            const double cx = Get(r, 33), cy = Get(r, 41);
            Put(r, 33, cx - hw);
            Put(r, 41, cy - hh);
            Put(r, 57, cx + hw);
            Put(r, 65, cy + hh);
        }
        break;
    case kElementRaster:
        if (withImages) {
            PlacePoint(r, 33, t);
            Scale(r, {97, 105}, s);
            Turn(r, {73}, a);
            Put(r, 89, std::cos(Get(r, 73)));
            Put(r, 81, std::sin(Get(r, 73)));
        }
        break;
    default: break;
    }
}

void PlaceMemberRecord(ElementRecord& r, double a, double scaleX, double scaleY, double dx, double dy, double ox,
                       double oy)
{
    auto place = [&](int at) {
        const double x = Get(r, at) - ox, y = Get(r, at + 8) - oy;
        Put(r, at, (std::cos(a) * x - std::sin(a) * y) * scaleX + dx);
        Put(r, at + 8, (std::sin(a) * x + std::cos(a) * y) * scaleY + dy);
    };
    switch (r.type) {
    case kElementLine:
        place(33);
        place(57);
        break;
    case kElementPoint: place(33); break;
    case kElementCircle:
        place(33);
        Scale(r, {57}, scaleX);
        break;
    case kElementArc:
        place(33);
        Scale(r, {57}, scaleX);
        Turn(r, {65, 73}, a);
        break;
    case kElementText:
        place(112);
        Scale(r, {46, 62, 14, 22}, scaleX);
        Turn(r, {30}, a);
        break;
    default: break;
    }
}

void ClearElementExtraData(void* element, int flags)
{
    if (element == nullptr) return;
    EngineNode* node = static_cast<EngineNode*>(element);
    const ElementRecord& r = node->record;
    if (IsSpecialComposite(r)) {
        if (flags & 1) {
            node->record.subKind = 0;
            for (int slot : {39, 40, 41, 42, 43, 38}) ZUriSetExtrData(element, slot, 0, 1, nullptr);
        }
    } else if (r.type == kElementGroup) {
        if (GetElementServiceState().appendMode == 1) ZUriSetExtrData(element, 38, 0, 1, nullptr);
    } else if (r.type >= kElementLine && r.type <= kElementEllipticArc) {
        if (flags & 3) ZUriSetExtrData(element, 39, 0, 1, nullptr);
    }
}

void* AppendMarkPlaced(void* mark, int layer)
{
    RequestAuxViewRefresh();
    ServiceScope scope;
    GetElementServiceState().appendMode = 1;
    State().layerOverride = layer;
    void* sourceDb = MarkDatabase(mark);
    HWND activeView = Site().ActiveView();
    void* targetDb = Site().ViewDatabase(activeView);
    if (sourceDb == nullptr || targetDb == nullptr) return nullptr;
    HWND sourceView = Site().FindViewByDatabase(sourceDb);
    const bool cross = sourceView != activeView || sourceDb != targetDb;
    void* result = ZUriCreateMark(targetDb);
    if (result == nullptr) return nullptr;
    if (cross) AdaptForCrossCopy(sourceView, activeView);
    const Target target = CrossTarget(targetDb, cross);
    const int flags = FlagsFor(cross, layer);
    const bool pointScale = Site().Settings().pointScale != 0;
    for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr; e = ZUriGetNextMark(e, mark)) {
        ElementRecord original;
        if (ZUriReadElement(e, 0, &original, sourceDb) != e) continue;
        ElementRecord record = original;
        if (!PageAllowed(record, target, false)) continue;
        ApplyOverrides(record, target);
        PlaceRecord(record, State().transform, true, pointScale);
        void* added = StorePlacedCopy(e, sourceDb, record, original, target, flags);
        if (added == nullptr) {
            if (IsCompositeType(record.type)) {
                ZUriDestroyMark(result);
                return nullptr;
            }
            continue;
        }
        ZUriSetMark(added, result);
    }
    Site().RedrawMarkInViews(activeView, -1, result);
    Site().SetActiveDrawingModified();
    return result;
}

void* ChangeMarkPlaced(int mode, void* mark, int layer)
{
    RequestAuxViewRefresh();
    ServiceScope scope;
    GetElementServiceState().appendMode = 0;
    State().layerOverride = layer;
    void* sourceDb = MarkDatabase(mark);
    if (sourceDb == nullptr) {
        if (mark != nullptr) ZUriDestroyMark(mark);  // the engine ignores a mark it does not know
        return nullptr;
    }
    const bool inPlace = (mode & 2) != 0;
    HWND activeView = Site().ActiveView();
    HWND sourceView = Site().FindViewByDatabase(sourceDb);
    void* targetDb = inPlace ? sourceDb : Site().ViewDatabase(activeView);
    void* result = targetDb != nullptr ? ZUriCreateMark(targetDb) : nullptr;
    if (result == nullptr) {
        ZUriDestroyMark(mark);
        return nullptr;
    }
    const bool cross = !inPlace && targetDb != sourceDb;
    State().inPlace = inPlace ? 1 : 0;
    if (cross) AdaptForCrossCopy(sourceView, activeView);
    const Target target = CrossTarget(targetDb, cross);
    const int flags = FlagsFor(cross, layer);
    const bool pointScale = Site().Settings().pointScale != 0;
    if ((mode & 1) == 0) Site().RedrawMarkInViews(sourceView, 0, mark);
    for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr;) {
        void* next = ZUriGetNextMark(e, mark);
        ElementRecord original;
        if (ZUriReadElement(e, 0, &original, sourceDb) != e) {
            e = next;
            continue;
        }
        ElementRecord record = original;
        if (!PageAllowed(record, target, true)) {
            e = next;
            continue;
        }
        ApplyOverrides(record, target);
        PlaceRecord(record, State().transform, false, pointScale);
        void* stored = nullptr;
        if (cross || IsCompositeType(record.type)) {
            // A move or a rebuilt composite: the source goes only after its copy was stored.
            stored = StorePlacedCopy(e, sourceDb, record, original, target, flags);
            if (stored != nullptr) ZUriDeleteElement(e, sourceDb);
        } else {
            EngineNode image;
            std::memcpy(&image, e, sizeof image);
            image.record = record;
            image.groupHeader = nullptr;
            stored = ZUriChangeElement(e, &image, targetDb);
            if (stored != nullptr) ClearElementExtraData(stored, flags);
        }
        if (stored != nullptr) ZUriSetMark(stored, result);
        e = next;
    }
    if ((mode & 1) == 0) {
        SetMarkHighlight(1, result);
        Site().RedrawMarkInViews(inPlace ? sourceView : activeView, -1, result);
    }
    ZUriDestroyMark(mark);
    Site().SetViewModified(sourceView);
    Site().SetActiveDrawingModified();
    return result;
}

void* AppendElementsToPage(int mode, void* mark, int layer, int page, int value)
{
    (void)mode;
    ServiceScope scope;
    scope.resetPageOverrides = true;
    State().pageOverride = page;
    State().valueOverride = value;
    if (!CheckPageEditable(page)) return nullptr;
    return AppendMarkPlaced(mark, layer);
}

void* ChangeElementsOnPage(int mode, void* mark, int layer, int page, int value)
{
    ServiceScope scope;
    scope.resetPageOverrides = true;
    State().pageOverride = page;
    State().valueOverride = value;
    if (!CheckPageEditable(page)) return nullptr;
    return ChangeMarkPlaced(mode, mark, layer);
}

int TransformMarkedElements(void* database, void* mark, int layer)
{
    ServiceScope scope;
    GetElementServiceState().appendMode = 0;
    State().layerOverride = layer;
    void* markDb = MarkDatabase(mark);
    if (markDb == nullptr || database == nullptr) return 0;
    const PlacementTransformRecord& t = State().transform;
    const double a = SafeAtan2(t.m21, t.m11);
    for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr; e = ZUriGetNextMark(e, mark)) {
        EngineNode image{};
        if (ZUriReadElement(e, 0, &image.record, markDb) != e) continue;
        std::memcpy(&image, e, sizeof image);
        if (!CheckPageEditable(image.record.page, markDb)) continue;
        if (layer >= 0) image.record.layer = static_cast<uint16_t>(layer);
        const int type = image.record.type;
        if (type == kElementGroup || type == kElementComposite) {
            for (void* m = ZUriReadFirstMember(e, nullptr, markDb); m != nullptr; m = ZUriReadNextMember(m, nullptr, markDb)) {
                EngineNode member;
                std::memcpy(&member, m, sizeof member);
                ElementRecord& r = member.record;
                switch (r.type) {
                case kElementLine:
                case kElementEllipse:
                    PlacePoint(r, 33, t);
                    PlacePoint(r, 57, t);
                    break;
                case kElementPoint: PlacePoint(r, 33, t); break;
                case kElementCircle:
                    PlacePoint(r, 33, t);
                    Scale(r, {57}, t.s);
                    break;
                case kElementArc:
                    PlacePoint(r, 33, t);
                    Scale(r, {57}, t.s);
                    Turn(r, {65, 73}, a);
                    break;
                case kElementText: PlaceRecord(r, t, false, false); break;
                case kElementEllipticArc:
                    PlacePoint(r, 33, t);
                    PlacePoint(r, 57, t);
                    Turn(r, {89, 97}, a);
                    break;
                default: break;
                }
                ZUriMemChangeElement(m, &member, database);
            }
            continue;
        }
        if ((type >= kElementLine && type <= kElementEllipticArc) || type == kElementFigureReference) {
            PlaceRecord(image.record, t, false, Site().Settings().pointScale != 0);
            if (type == kElementFigureReference && database != markDb) {
                void* header = ZUriGetFgroupHeaderIdx(e, markDb);
                void* copied = header != nullptr ? CopyGroupToDb(markDb, database, header) : nullptr;
                if (copied != nullptr) image.groupHeader = static_cast<EngineNode*>(copied);
            }
        }
        ZUriMemChangeElement(e, &image, database);
    }
    return 0;
}

void* MakeCompositeFromMark(CmdParamRecord* param, int type, int flags)
{
    RequestAuxViewRefresh();
    if (param == nullptr) return nullptr;
    void* db = ParamViewDatabase(*param);
    void* mark = reinterpret_cast<void*>(param->transform);
    if (db == nullptr || MarkDatabase(mark) != db) return nullptr;
    void* first = ZUriGetNextMark(nullptr, mark);
    ElementRecord firstRecord;
    if (first == nullptr || ZUriReadElement(first, 0, &firstRecord, db) != first) return nullptr;
    ElementRecord head{};
    head.type = static_cast<uint16_t>(type);
    head.page = State().pageOverride >= 0 ? State().pageOverride : firstRecord.page;
    if (!CheckPageEditable(head.page, db)) return nullptr;
    void* newHead = ZUriAppendElement(&head, db);
    if (newHead == nullptr) return nullptr;
    Target target;
    target.db = db;
    void* previous = nullptr;
    bool ok = true;
    for (void* e = first; e != nullptr && ok; e = ZUriGetNextMark(e, mark)) {
        ElementRecord record;
        if (ZUriReadElement(e, 0, &record, db) != e) continue;
        void* added = previous != nullptr ? ZUriAppendMemberElementExt(&record, newHead, db, previous)
                                          : ZUriAppendMemberElement(&record, newHead, db);
        if (added == nullptr) {
            ok = false;
            break;
        }
        ZUriElementParamCopy(e, added);
        ClearElementExtraData(added, flags);
        if (IsCompositeType(record.type)) ok = CopyMembersPlaced(e, added, target, flags, false, false);
        previous = added;
    }
    if (!ok) {
        // The sources stay; the half-built composite goes.
        ZUriDeleteElement(newHead, db);
        ShowOutOfMemory();
        return nullptr;
    }
    Site().RedrawMarkInViews(Site().FindViewByDatabase(db), 0, mark);
    for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr;) {
        void* next = ZUriGetNextMark(e, mark);
        ZUriDeleteElement(e, db);
        e = next;
    }
    Site().SetViewModified(param->view);
    return newHead;
}
