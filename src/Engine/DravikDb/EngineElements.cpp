#include "EngineDatabase.h"

#include "EngineMark.h"
#include "EngineSettings.h"
#include "EngineUndo.h"
#include "FigureReferences.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include "MemoryProbe.h"

namespace dravikdb {

namespace {

bool Finite(double v, double limit, bool useLimit)
{
    if (!std::isfinite(v)) return false;
    return !useLimit || std::fabs(v) <= limit;
}

template <typename T>
T Overlay(const ElementRecord& record)
{
    T value;
    std::memcpy(&value, &record, sizeof value);
    return value;
}

// The coordinates of a record that must be finite (and within the maximum coordinate).
bool GeometryIsSound(const ElementRecord& record)
{
    const EngineSettings& settings = Settings();
    if (settings.elementCheckMode == 0) return true;
    const bool useLimit = settings.maxCoordFlag != 0;
    const double limit = settings.maxCoordValue;
    // Checked for every stored element: the values go to a fixed array, not the heap.
    double values[9];
    size_t count = 0;
    auto take = [&values, &count](std::initializer_list<double> list) {
        for (double v : list) values[count++] = v;
    };
    switch (record.type) {
    case kElementLine:
    case kElementImage: {
        auto r = Overlay<LineRecord>(record);
        take({r.x1, r.y1, r.z1, r.x2, r.y2, r.z2});
        break;
    }
    case kElementPoint: {
        auto r = Overlay<PointRecord>(record);
        take({r.x, r.y, r.z});
        break;
    }
    case kElementCircle: {
        auto r = Overlay<CircleRecord>(record);
        take({r.cx, r.cy, r.cz, r.radius});
        break;
    }
    case kElementArc: {
        auto r = Overlay<ArcRecord>(record);
        take({r.cx, r.cy, r.cz, r.radius, r.startAngle, r.endAngle});
        break;
    }
    case kElementText: {
        auto r = Overlay<TextRecord>(record);
        take({r.x, r.y, r.z, r.height, r.angle});
        break;
    }
    case kElementEllipse: {
        auto r = Overlay<EllipseRecord>(record);
        take({r.cx, r.cy, r.cz, r.ax, r.ay, r.az, r.ratio});
        break;
    }
    case kElementEllipticArc: {
        auto r = Overlay<EllipticArcRecord>(record);
        take({r.cx, r.cy, r.cz, r.ax, r.ay, r.az, r.ratio, r.startAngle, r.endAngle});
        break;
    }
    case kElementFigureReference: {
        auto r = Overlay<FigureReferenceRecord>(record);
        take({r.scaleX, r.scaleY, r.angle, r.x, r.y, r.z});
        break;
    }
    case kElementViewport: {
        auto r = Overlay<ViewportRecord>(record);
        take({r.x1, r.y1, r.x2, r.y2, r.scale, r.rotation});
        break;
    }
    default:
        return true;
    }
    for (size_t i = 0; i < count; ++i) {
        if (!Finite(values[i], limit, useLimit)) return false;
    }
    return true;
}

Element* NewElement(Database& db, ElementRole role)
{
    auto* element = new Element();
    element->db = &db;
    element->role = role;
    db.allElements.insert(element);
    return element;
}

void DeleteElementObject(Database& db, Element* element)
{
    for (Element* member : element->members) {
        if (member->owner == element) member->owner = nullptr;
    }
    db.allElements.erase(element);
    delete element;
}

// Last node of a head's member chain (its own members included), or the head itself.
Element* LastInSubtree(Element* head)
{
    Element* node = head;
    while (!node->members.empty()) node = node->members.back();
    return node;
}

void AppendPreorder(Element* head, std::vector<Element*>& out)
{
    for (Element* member : head->members) {
        out.push_back(member);
        AppendPreorder(member, out);
    }
}

void UpdateHeadCount(Element* head)
{
    if (head->type() == kElementFigureReference) return;
    head->node.memberCount = static_cast<int32_t>(head->members.size());
}

int HeaderIndex(const Database& db, const Element* header)
{
    for (size_t i = 0; i < db.headers.size(); ++i) {
        if (db.headers[i] == header) return static_cast<int>(i);
    }
    return -1;
}

void FreeSubtree(Database& db, Element* element)
{
    std::vector<Element*> members = element->members;
    element->members.clear();
    for (Element* member : members) {
        if (member->undoRefs > 0) {
            // An undo record still names it: it lives on, detached.
            member->owner = nullptr;
            member->linked = false;
            continue;
        }
        FreeSubtree(db, member);
    }
    RemoveFromAllMarks(db, element);
    DeleteElementObject(db, element);
}

}  // namespace

uint64_t RasterBitsSize(const ElementRecord& record)
{
    if (record.type != kElementRaster) return 0;
    auto raster = Overlay<RasterRecord>(record);
    if (raster.pixelsX <= 0 || raster.pixelsY <= 0) return 0;
    const uint64_t rowBytes = (static_cast<uint64_t>(raster.pixelsX) + 15) / 16 * 2;
    const uint64_t size = rowBytes * static_cast<uint64_t>(raster.pixelsY);
    return size <= kMaxRasterBytes ? size : 0;
}

bool IsStorableRecord(const ElementRecord& record)
{
    if (!IsValidPageNumber(record.page)) return false;
    if (!IsValidLayer(record.layer)) return false;
    if (record.type == kElementRaster) {
        // Bits whose size the pixel counts cannot give (or that would not fit in memory) are
        // refused: copying them would read past the caller's buffer.
        auto raster = Overlay<RasterRecord>(record);
        if (raster.bits != nullptr) {
            const uint64_t size = RasterBitsSize(record);
            if (size == 0 || IsBadReadMemory(raster.bits, static_cast<UINT_PTR>(size))) return false;
        }
    }
    return GeometryIsSound(record);
}

void AdoptRecordPayload(Element& element, const ElementRecord& record)
{
    // The raster copy comes first: when it cannot be made, the element is left as it was.
    std::vector<uint8_t> bits;
    if (record.type == kElementRaster) {
        auto raster = Overlay<RasterRecord>(record);
        const uint64_t size = RasterBitsSize(record);
        if (raster.bits != nullptr && size != 0) {
            const auto* source = static_cast<const uint8_t*>(raster.bits);
            bits.assign(static_cast<size_t>(size), 0);
            if (!element.raster.empty() && source == element.raster.data()) {
                // The element's own bits handed back: never read past them when the pixel
                // counts grew; the new rows start blank.
                std::memcpy(bits.data(), source, std::min(bits.size(), element.raster.size()));
            } else {
                std::memcpy(bits.data(), source, bits.size());
            }
        }
    }
    std::memcpy(&element.node.record, &record, sizeof record);
    if (record.type == kElementText) {
        auto text = Overlay<TextRecord>(record);
        std::string copy;
        if (text.text != nullptr) {
            size_t n = SafeTextLength(text.text, kMaxElementText);
            if (n == kMaxElementText) {
                // A text cut at the bound keeps whole characters: no lone first byte at its end.
                n = EngineSupport::WholeCharactersIn(text.text, n);
            }
            copy.assign(text.text, n);
        }
        element.text = std::move(copy);
        const char* pointer = text.text != nullptr ? element.text.c_str() : nullptr;
        std::memcpy(reinterpret_cast<uint8_t*>(&element.node.record) + offsetof(TextRecord, text),
                    &pointer, sizeof pointer);
    } else {
        element.text.clear();
    }
    HGLOBAL oldImage = element.image;
    element.image = nullptr;
    if (record.type == kElementImage) {
        auto image = Overlay<ImageRecord>(record);
        HGLOBAL copy = nullptr;
        if (image.dib != nullptr && image.dib == oldImage) {
            copy = oldImage;  // the element's own image handed back unchanged
            oldImage = nullptr;
        } else if (image.dib != nullptr) {
            SIZE_T size = GlobalSize(image.dib);
            const void* source = size != 0 ? GlobalLock(image.dib) : nullptr;
            if (source != nullptr) {
                copy = GlobalAlloc(GMEM_MOVEABLE, size);
                void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
                if (target != nullptr) {
                    std::memcpy(target, source, size);
                    GlobalUnlock(copy);
                } else if (copy != nullptr) {
                    GlobalFree(copy);
                    copy = nullptr;
                }
                GlobalUnlock(image.dib);
            }
        }
        element.image = copy;
        std::memcpy(reinterpret_cast<uint8_t*>(&element.node.record) + offsetof(ImageRecord, dib),
                    &copy, sizeof copy);
    }
    if (oldImage != nullptr) GlobalFree(oldImage);

    element.raster = std::move(bits);
    if (record.type == kElementRaster) {
        const void* pointer = element.raster.empty() ? nullptr : element.raster.data();
        std::memcpy(reinterpret_cast<uint8_t*>(&element.node.record) + offsetof(RasterRecord, bits), &pointer,
                    sizeof pointer);
    }
}

void RefreshMemberChain(Element* head)
{
    Element* top = TopOwner(head);
    std::vector<Element*> order;
    AppendPreorder(top, order);
    top->node.nextMember = order.empty() ? nullptr : &order.front()->node;
    for (size_t i = 0; i < order.size(); ++i) {
        Element* e = order[i];
        e->node.nextMember = i + 1 < order.size() ? &order[i + 1]->node : nullptr;
        e->node.memberOwner = e->owner != nullptr ? &e->owner->node : nullptr;
        e->node.nextElement = nullptr;
        e->node.prevElement = nullptr;
        UpdateHeadCount(e);
    }
    UpdateHeadCount(top);
}

void RefreshLinks(Database& db)
{
    Element* previous = nullptr;
    for (auto& entry : db.chain) {
        Element* e = entry.second;
        e->node.prevElement = previous != nullptr ? &previous->node : nullptr;
        e->node.nextElement = nullptr;
        if (previous != nullptr) previous->node.nextElement = &e->node;
        previous = e;
        RefreshMemberChain(e);
    }
    for (Element* header : db.headers) {
        header->node.nextElement = nullptr;
        RefreshMemberChain(header);
    }
}

void CopyParams(const Element& from, Element& to)
{
    to.tags = from.tags;
    to.hasTagString = from.hasTagString;
    to.tagString = from.tagString;
    to.userData = from.userData ? std::make_unique<std::array<uint8_t, kUserDataSize>>(*from.userData) : nullptr;
    to.extraData = from.extraData;
    to.ffTag = from.ffTag;
}

Element* TopOwner(Element* element)
{
    while (element != nullptr && element->owner != nullptr) element = element->owner;
    return element;
}

int ElementCount(const Database& db)
{
    return static_cast<int>(db.chain.size());
}

Element* FirstElement(const Database& db)
{
    return db.chain.empty() ? nullptr : db.chain.begin()->second;
}

Element* NextElement(const Database& db, const Element* element)
{
    if (element == nullptr || !element->linked || element->role != ElementRole::TopLevel) return nullptr;
    auto it = db.chain.find(element->order);
    if (it == db.chain.end()) return nullptr;
    ++it;
    return it == db.chain.end() ? nullptr : it->second;
}

void RelinkElement(Database& db, Element* element)
{
    if (element->linked) return;
    if (element->owner != nullptr) {
        // It was a member: it comes back as a top-level element.
        Element* head = element->owner;
        auto it = std::find(head->members.begin(), head->members.end(), element);
        if (it != head->members.end()) head->members.erase(it);
        element->owner = nullptr;
        RefreshMemberChain(head);
    }
    element->role = ElementRole::TopLevel;
    // An element appended (or re-added last) goes to the end of the chain without a search.
    auto endsChain = [&db](uint64_t order) { return db.chain.empty() || db.chain.rbegin()->first < order; };
    if (element->order == 0 || (!endsChain(element->order) && db.chain.count(element->order) != 0)) {
        element->order = db.nextOrder++;
    }
    auto it = endsChain(element->order) ? db.chain.emplace_hint(db.chain.end(), element->order, element)
                                        : db.chain.emplace(element->order, element).first;
    element->linked = true;
    element->node.memberOwner = nullptr;
    Element* prev = it == db.chain.begin() ? nullptr : std::prev(it)->second;
    auto nextIt = std::next(it);
    Element* next = nextIt == db.chain.end() ? nullptr : nextIt->second;
    element->node.prevElement = prev != nullptr ? &prev->node : nullptr;
    element->node.nextElement = next != nullptr ? &next->node : nullptr;
    if (prev != nullptr) prev->node.nextElement = &element->node;
    if (next != nullptr) next->node.prevElement = &element->node;
    RefreshMemberChain(element);
}

void RelinkMember(Database& db, Element* head, Element* member, int index)
{
    (void)db;
    if (member->linked && member->owner == head) return;
    if (member->linked) UnlinkElement(db, member);
    member->role = ElementRole::Member;
    member->owner = head;
    member->linked = true;
    if (index < 0 || index > static_cast<int>(head->members.size())) {
        index = static_cast<int>(head->members.size());
    }
    head->members.insert(head->members.begin() + index, member);
    RefreshMemberChain(head);
}

void UnlinkElement(Database& db, Element* element)
{
    if (!element->linked) return;
    RemoveFromAllMarks(db, element);
    if (element->role == ElementRole::Member && element->owner != nullptr) {
        Element* head = element->owner;
        auto it = std::find(head->members.begin(), head->members.end(), element);
        if (it != head->members.end()) head->members.erase(it);
        element->node.nextMember = nullptr;
        element->linked = false;
        // The owner is kept so that a replay knows the head; it no longer lists the member.
        RefreshMemberChain(head);
        return;
    }
    if (element->role == ElementRole::FigureHeader) {
        auto it = std::find(db.headers.begin(), db.headers.end(), element);
        if (it != db.headers.end()) db.headers.erase(it);
        element->linked = false;
        return;
    }
    auto it = db.chain.find(element->order);
    if (it != db.chain.end() && it->second == element) {
        Element* prev = it == db.chain.begin() ? nullptr : std::prev(it)->second;
        auto nextIt = std::next(it);
        Element* next = nextIt == db.chain.end() ? nullptr : nextIt->second;
        if (prev != nullptr) prev->node.nextElement = next != nullptr ? &next->node : nullptr;
        if (next != nullptr) next->node.prevElement = prev != nullptr ? &prev->node : nullptr;
        db.chain.erase(it);
    }
    element->node.nextElement = nullptr;
    element->node.prevElement = nullptr;
    element->linked = false;
}

void FreeIfUnused(Database& db, Element* element)
{
    if (element == nullptr || element->linked || element->undoRefs > 0) return;
    if (element->owner != nullptr) {
        Element* head = element->owner;
        auto it = std::find(head->members.begin(), head->members.end(), element);
        if (it != head->members.end()) return;  // still listed: not ours to free
    }
    FreeSubtree(db, element);
}

Element* AppendElement(Database& db, const ElementRecord& record, bool recordUndo)
{
    if (!IsStorableRecord(record)) return nullptr;
    Element* element = NewElement(db, ElementRole::TopLevel);
    AdoptRecordPayload(*element, record);
    element->order = db.nextOrder++;
    RelinkElement(db, element);
    if (recordUndo) RecordAdded(db, element);
    return element;
}

Element* AppendMember(Database& db, Element* head, const ElementRecord& record, Element* after,
                      bool recordUndo, Element* referenced)
{
    if (head == nullptr || head->db != &db) return nullptr;
    if (!IsStorableRecord(record)) return nullptr;
    // Place: after the direct member of `head` that holds `after`.
    int index = static_cast<int>(head->members.size());
    if (after != nullptr && after != head) {
        Element* direct = after;
        while (direct != nullptr && direct->owner != head) direct = direct->owner;
        if (direct != nullptr && direct != head->members.back()) {
            auto it = std::find(head->members.begin(), head->members.end(), direct);
            if (it != head->members.end()) index = static_cast<int>(it - head->members.begin()) + 1;
        }
    }
    Element* member = NewElement(db, ElementRole::Member);
    AdoptRecordPayload(*member, record);
    member->owner = head;
    member->linked = true;
    member->node.memberOwner = &head->node;
    if (head->role == ElementRole::FigureHeader) member->node.groupHeader = &head->node;
    if (referenced != nullptr && referenced->role == ElementRole::FigureHeader && member->type() == kElementFigureReference) {
        member->node.groupHeader = &referenced->node;
        member->node.memberCount = HeaderIndex(db, referenced);
    }
    if (MakesReferenceCycle(*member)) {
        DeleteElementObject(db, member);
        return nullptr;
    }
    if (index == static_cast<int>(head->members.size())) {
        // The common case, appending at the end: only two links change.
        Element* predecessor = LastInSubtree(head);
        head->members.push_back(member);
        member->node.nextMember = predecessor->node.nextMember;
        predecessor->node.nextMember = &member->node;
        UpdateHeadCount(head);
    } else {
        head->members.insert(head->members.begin() + index, member);
        RefreshMemberChain(head);
    }
    if (recordUndo) RecordMemberAdded(db, member, head, index);
    return member;
}

Element* CreateFigureHeader(Database& db, const ElementRecord& record)
{
    Element* header = NewElement(db, ElementRole::FigureHeader);
    AdoptRecordPayload(*header, record);
    if (header->node.record.type == 0) header->node.record.type = kElementFigureHeader;
    header->linked = true;
    db.headers.push_back(header);
    return header;
}

Element* AppendFigureReference(Database& db, Element* header, const ElementRecord& record,
                               bool recordUndo)
{
    if (header == nullptr || header->role != ElementRole::FigureHeader || header->db != &db) return nullptr;
    Element* instance = AppendElement(db, record, false);
    if (instance == nullptr) return nullptr;
    instance->node.groupHeader = &header->node;
    instance->node.memberCount = HeaderIndex(db, header);
    if (recordUndo) RecordAdded(db, instance);
    return instance;
}

Element* ChangeElement(Database& db, Element* element, const ElementRecord& record, bool recordUndo)
{
    if (element == nullptr || element->db != &db) return nullptr;
    if (element->role != ElementRole::FigureHeader && !IsStorableRecord(record)) return nullptr;
    if (record.type == kElementFigureReference && element->type() != kElementFigureReference) {
        // The links stay, so the element would draw the header they name.
        const uint16_t oldType = element->node.record.type;
        element->node.record.type = kElementFigureReference;
        const bool cycle = MakesReferenceCycle(*element);
        element->node.record.type = oldType;
        if (cycle) return nullptr;
    }
    std::unique_ptr<ElementSnapshot> before;
    if (recordUndo) before = TakeSnapshot(*element);
    AdoptRecordPayload(*element, record);
    if (before) RecordChanged(db, element, std::move(before));
    return element;
}

bool DeleteElement(Database& db, Element* element, bool recordUndo)
{
    if (element == nullptr || element->db != &db || !element->linked) return false;
    Element* head = element->role == ElementRole::Member ? element->owner : nullptr;
    int index = -1;
    if (head != nullptr) {
        auto it = std::find(head->members.begin(), head->members.end(), element);
        index = it == head->members.end() ? -1 : static_cast<int>(it - head->members.begin());
    }
    UnlinkElement(db, element);
    if (recordUndo && element->role != ElementRole::FigureHeader) {
        if (head != nullptr) {
            RecordMemberDeleted(db, element, head, index);
        } else {
            RecordDeleted(db, element);
        }
    }
    if (element->role == ElementRole::Member) element->owner = nullptr;
    FreeIfUnused(db, element);
    return true;
}

}  // namespace dravikdb
