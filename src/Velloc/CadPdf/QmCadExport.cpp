#include "CadPdf/QmCadExport.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "DravikDb.h"
#include "QmCadDocument.h"

namespace {

constexpr double kTextKeyLift = 0.1;  // a text at a line's elevation comes after the line
constexpr int kExtraDataGroup = 38;
constexpr int kExtraDataBlock = 39;

struct WalkEntry {
    ExportElement element;
    int group;  // 0 raster, 1 image, 2 other
    double key;
};

double ReadDouble(const ElementRecord* record, size_t offset)
{
    double value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

uint16_t ShapeSubKind(const ElementRecord* record)
{
    uint16_t value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(record) + 33, sizeof value);
    return value;
}

}  // namespace

void* QmCadExport::Database() const { return m_document != nullptr ? m_document->database : nullptr; }

std::vector<int> CollectPageIds(void* database, int pageCount)
{
    // One walk along the chain: every page once, page 0 first, however the chain ends.
    std::vector<int> pages{0};
    std::set<int> seen{0};
    int page = 0;
    for (int i = 0; i < pageCount; ++i) {
        page = ZUriGetNextPage(page, nullptr, database);
        if (page == 0 || !seen.insert(page).second) break;
        pages.push_back(page);
    }
    return pages;
}

int GetDrawOrderKey(ExportElement element, const ElementRecord* record, double* key, void* database)
{
    *key = 0;
    switch (record->type) {
    case kElementLine:
    case kElementPoint:
    case kElementCircle:
    case kElementArc:
    case kElementEllipse:
    case kElementEllipticArc:
    case kElementImage:
    case kElementViewport:
        *key = ReadDouble(record, 49);
        return 0;
    case kElementText:
        *key = ReadDouble(record, 128) + kTextKeyLift;
        return 0;
    case kElementFigureReference:
        *key = ReadDouble(record, 73);
        return 0;
    case kElementGroup:
    case kElementComposite:
    case kElementCompositeOther: {
        if (database == nullptr) return -1;
        ElementRecord member{};
        bool found = false;
        double best = 0;
        for (void* m = ZUriReadFirstMember(element, &member, database); m != nullptr;
             m = ZUriReadNextMember(m, &member, database)) {
            double memberKey;
            if (GetDrawOrderKey(m, &member, &memberKey, nullptr) == 0 && (!found || memberKey > best)) {
                best = memberKey;
                found = true;
            }
        }
        if (!found) return -1;
        *key = best;
        return 0;
    }
    default:
        return -1;
    }
}

bool QmCadExport::MatchesPageAndSpace(ExportElement element, int page, int space)
{
    void* db = Database();
    ElementRecord record{};
    if (ZUriReadElement(element, 0, &record, db) == nullptr) return false;
    // A composite is placed where its first member (through nested composites) is.
    for (int depth = 0; (record.type == kElementGroup || record.type == kElementComposite) && depth < 64; ++depth) {
        void* member = ZUriReadNextMember2(element, nullptr);
        if (member == nullptr || ZUriReadElement(member, 0, &record, db) == nullptr) break;
        element = member;
    }
    return (space == -1 || record.space == space) && (page == -1 || record.page == page);
}

int QmCadExport::CountElements(int page, int space)
{
    void* db = Database();
    int count = 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db); e != nullptr; e = ZUriReadElement(e, 1, nullptr, db))
        if (MatchesPageAndSpace(e, page, space)) ++count;
    return count;
}

int QmCadExport::WalkAllElements()
{
    void* db = Database();
    if (db == nullptr) return -1;
    DrawElementList list{0, 0, nullptr};
    QmGetDrawElementsAll(db, &list);
    if (list.count <= 0) return -2;
    std::vector<void*> handles(static_cast<size_t>(list.count));
    list.capacity = list.count;
    list.handles = handles.data();
    if (!QmGetDrawElementsAll(db, &list) || list.count <= 0) return -2;
    ElementRecord record{};
    for (int i = 0; i < std::min(list.count, list.capacity); ++i) {
        if (ZUriReadElement(handles[i], 0, &record, db) == nullptr) continue;
        DispatchElement(handles[i], &record);
    }
    return 0;
}

int QmCadExport::WalkElements(int space)
{
    if (m_walkMode == 0) return WalkAllElements();
    void* db = Database();
    if (CountElements(-1, space) == 0) return -2;
    const int pageCount = ZUriGetPageCount(db);
    if (pageCount < 0) return 0;

    for (int page : CollectPageIds(db, pageCount)) {
        m_currentPage = page;
        if (CountElements(page, space) == 0) continue;
        std::vector<WalkEntry> entries;
        ElementRecord record{};
        for (void* e = ZUriReadElement(nullptr, 0, &record, db); e != nullptr;
             e = ZUriReadElement(e, 1, &record, db)) {
            if (!MatchesPageAndSpace(e, page, space)) continue;
            if (record.type == kElementRaster) {
                entries.push_back({e, 0, -61});
            } else if (record.type == kElementImage) {
                entries.push_back({e, 1, -60});
            } else {
                double key = 0;
                GetDrawOrderKey(e, &record, &key, db);
                entries.push_back({e, 2, key});
            }
        }
        if (m_sortFlag != 0)
            std::stable_sort(entries.begin(), entries.end(),
                             [](const WalkEntry& a, const WalkEntry& b) { return a.key < b.key; });
        for (int group = 0; group <= 2; ++group) {
            for (const WalkEntry& entry : entries) {
                if (entry.group != group) continue;
                if (ZUriReadElement(entry.element, 0, &record, db) == nullptr) continue;
                DispatchElement(entry.element, &record);
            }
        }
    }
    return 0;
}

int QmCadExport::DispatchElement(ExportElement element, const ElementRecord* record)
{
    switch (record->type) {
    case kElementLine: return ExportLine(element, record);
    case kElementPoint: return ExportPoint(element, record);
    case kElementCircle: return ExportCircle(element, record);
    case kElementArc: return ExportArc(element, record);
    case kElementText: return ExportText(element, record);
    case kElementEllipse: return ExportEllipse(element, record);
    case kElementEllipticArc: return ExportEllipticArc(element, record);
    case kElementFigureReference: return ExportGroup(element, record);
    case kElementImage: return ExportImage(element, record);
    case kElementRaster: return ExportRaster(element, record);
    case kElementViewport: return ExportViewport(element, record);
    case kElementGroup:
    case kElementComposite:
    case kElementCompositeOther: {
        int result = -1;
        if (record->type == kElementComposite) {
            switch (ShapeSubKind(record)) {
            case 0: result = ExportShapeKind0(element, record); break;
            case 1: result = ExportShapeKind1(element, record); break;
            case 2: result = ExportShapeKind2(element, record); break;
            case 3: result = ExportShapeKind3(element, record); break;
            case 4: result = ExportShapeKind4(element, record); break;
            case 5: result = ExportShapeKind5(element, record); break;
            case 6: result = ExportShapeKind6(element, record); break;
            default: result = -1; break;
            }
        }
        switch (record->subKind) {
        case 9: ExportComposite9(element, record); break;
        case 10: ExportComposite10(element, record); break;
        case 100: ExportComposite100(element, record); break;
        case 101: ExportComposite101(element, record); break;
        case 102: ExportComposite102(element, record); break;
        case 103: ExportComposite103(element, record); break;
        case 900: ExportComposite900(element, record); break;
        case 905: ExportComposite905(element, record); break;
        case 906: ExportComposite906(element, record); break;
        case 907: ExportComposite907(element, record); break;
        default: ExportCompositeMembers(element, record); break;
        }
        return result;
    }
    default:
        return -1;
    }
}

int QmCadExport::ExportGroup(ExportElement element, const ElementRecord*)
{
    void* db = Database();
    void* header = ZUriGetFgroupHeaderIdx(element, db);
    if (header == nullptr) return -1;
    const int count = ZUriGetMemberNum(header, db);
    if (count <= 0) return -1;
    uint8_t extra[257] = {};
    ZUriGetExtrData(header, kExtraDataGroup, 0, sizeof extra, extra);
    ElementRecord headerRecord{};
    ZUriReadFgroupElement(header, &headerRecord, db);
    ElementRecord member{};
    int read = 0;
    for (void* m = ZUriReadFirstMember(header, &member, db); m != nullptr && read < count;
         m = ZUriReadNextMember(m, &member, db), ++read) {
        if (member.type >= kElementLine && member.type <= kElementEllipticArc) DispatchElement(nullptr, &member);
    }
    return 0;
}

int QmCadExport::ExportCompositeMembers(ExportElement element, const ElementRecord*)
{
    void* db = Database();
    if (ZUriGetMemberNum(element, db) == 0) return -1;
    uint8_t extra[257] = {};
    ZUriGetExtrData(element, kExtraDataGroup, 0, sizeof extra, extra);
    ElementRecord member{};
    for (void* m = ZUriReadNextMember2(element, nullptr); m != nullptr; m = ZUriReadNextMember2(element, m)) {
        if (ZUriReadElement(m, 0, &member, db) == nullptr) continue;
        DispatchElement(m, &member);
    }
    return 0;
}

int QmCadExport::ExportCompositeBlock(ExportElement element, const ElementRecord*)
{
    void* db = Database();
    if (ZUriGetMemberNum(element, db) == 0) return -1;
    uint8_t extra[257] = {};
    ZUriGetExtrData(element, kExtraDataGroup, 0, sizeof extra, extra);
    uint8_t block[136] = {};
    ZUriGetExtrData(element, kExtraDataBlock, 0, sizeof block, block);
    ElementRecord member{};
    for (void* m = ZUriReadFirstMember(element, &member, db); m != nullptr; m = ZUriReadNextMember(m, &member, db))
        DispatchElement(m, &member);
    return 0;
}
