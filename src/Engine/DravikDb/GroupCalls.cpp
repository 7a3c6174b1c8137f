// Composites, their members, and figure groups (headers and their instances).
#include "EngineCalls.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>
#include "MemoryProbe.h"

using namespace dravikdb;

namespace {

Element* HeaderOf(Database& db, Element* element)
{
    if (element == nullptr) return nullptr;
    if (element->role == ElementRole::FigureHeader) return element;
    if (element->type() == kElementFigureReference) {
        Element* header = FindElement(element->node.groupHeader, &db);
        if (header != nullptr && header->role == ElementRole::FigureHeader && header->linked) return header;
        int index = element->node.memberCount;
        if (index >= 0 && index < static_cast<int>(db.headers.size())) return db.headers[index];
        return nullptr;
    }
    for (Element* owner = element->owner; owner != nullptr; owner = owner->owner) {
        if (owner->role == ElementRole::FigureHeader) return owner;
    }
    return nullptr;
}

void CopyMembers(Database& db, const Element& from, Element* to)
{
    for (const Element* member : from.members) {
        Element* copy = AppendMember(db, to, member->node.record, nullptr, false);
        if (copy == nullptr) continue;
        CopyParams(*member, *copy);
        if (member->type() == kElementFigureReference) {
            copy->node.groupHeader = member->node.groupHeader;
            copy->node.memberCount = member->node.memberCount;
        }
        CopyMembers(db, *member, copy);
    }
}

void* AppendMemberCommon(const void* record, void* head, void* db, void* previous, bool useAfter)
{
    Database* d = Resolve(db);
    ElementRecord rec;
    if (d == nullptr || !ReadRecord(record, rec)) return nullptr;
    Element* h = FindElement(head, d);
    if (h == nullptr || !h->linked) return nullptr;
    Element* after = nullptr;
    if (useAfter && previous != nullptr) after = FindElement(previous, d);
    return Guarded<void*>(nullptr, [&]() -> void* {
        Element* member = AppendMember(*d, h, rec, after, d->undoDepth > 0);
        SyncRecord(*d);
        return member != nullptr ? member->handle() : nullptr;
    });
}

}  // namespace

DRAVIKDB_API void* WINAPI ZUriCreateFgroupHead(const void* record, void* db)
{
    Database* d = Resolve(db);
    ElementRecord rec;
    if (d == nullptr || !ReadRecord(record, rec)) return nullptr;
    return Guarded<void*>(nullptr, [&]() -> void* {
        Element* header = CreateFigureHeader(*d, rec);
        SyncRecord(*d);
        return header->handle();
    });
}

DRAVIKDB_API void* WINAPI ZUriAppendFgroup(void* header, const void* record, void* db)
{
    Database* d = Resolve(db);
    ElementRecord rec;
    if (d == nullptr || !ReadRecord(record, rec)) return nullptr;
    Element* h = FindElement(header, d);
    if (h == nullptr || h->role != ElementRole::FigureHeader || !h->linked) return nullptr;
    return Guarded<void*>(nullptr, [&]() -> void* {
        Element* instance = AppendFigureReference(*d, h, rec, d->undoDepth > 0);
        SyncRecord(*d);
        return instance != nullptr ? instance->handle() : nullptr;
    });
}

DRAVIKDB_API void* WINAPI ZUriAppendMemberElement(const void* record, void* head, void* db)
{
    return AppendMemberCommon(record, head, db, nullptr, false);
}

DRAVIKDB_API void* WINAPI ZUriAppendMemberElementExt(const void* record, void* head, void* db, void* previous)
{
    return AppendMemberCommon(record, head, db, previous, true);
}

DRAVIKDB_API void* WINAPI ZUriReadFirstMember(void* element, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    Element* e = FindElement(element, d);
    if (e == nullptr) return nullptr;
    if (e->role == ElementRole::TopLevel && e->type() == kElementFigureReference) {
        Element* header = HeaderOf(*d, e);
        if (header == nullptr) return nullptr;
        e = header;
    }
    Element* next = e->node.nextMember != nullptr ? FindElement(e->node.nextMember, d) : nullptr;
    CopyOut(next, out);
    return next != nullptr ? next->handle() : nullptr;
}

DRAVIKDB_API void* WINAPI ZUriReadNextMember(void* member, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    Element* e = FindElement(member, d);
    if (e == nullptr) return nullptr;
    Element* next = e->node.nextMember != nullptr ? FindElement(e->node.nextMember, d) : nullptr;
    CopyOut(next, out);
    return next != nullptr ? next->handle() : nullptr;
}

DRAVIKDB_API void* WINAPI ZUriReadNextMember2(void* element, void* previous)
{
    Element* e = FindElement(element);
    if (e == nullptr) return nullptr;
    if (e->role == ElementRole::TopLevel && e->type() == kElementFigureReference) {
        Element* header = HeaderOf(*e->db, e);
        if (header == nullptr) return nullptr;
        e = header;
    }
    if (previous == nullptr) return e->members.empty() ? nullptr : e->members.front()->handle();
    Element* p = FindElement(previous, e->db);
    if (p == nullptr) return nullptr;
    auto it = std::find(e->members.begin(), e->members.end(), p);
    if (it == e->members.end() || ++it == e->members.end()) return nullptr;
    return (*it)->handle();
}

DRAVIKDB_API void* WINAPI ZUriGetFgroupHeaderIdx(void* element, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    Element* header = HeaderOf(*d, FindElement(element, d));
    return header != nullptr ? header->handle() : nullptr;
}

DRAVIKDB_API void* WINAPI ZUriReadFgroupElement(void* header, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    Element* h = HeaderOf(*d, FindElement(header, d));
    if (h == nullptr) return nullptr;
    CopyOut(h, out);
    return h->handle();
}

DRAVIKDB_API int WINAPI ZUriGetMemberNum(void* head, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Element* e = FindElement(head, d);
    if (e == nullptr) return 0;
    if (e->role == ElementRole::TopLevel && e->type() == kElementFigureReference) {
        Element* header = HeaderOf(*d, e);
        return header != nullptr ? static_cast<int>(header->members.size()) : 0;
    }
    return static_cast<int>(e->members.size());
}

DRAVIKDB_API void* WINAPI ZUriMakeGroupExtrIdx(int count, void** handles, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || count <= 0 || handles == nullptr) return nullptr;
    if (IsBadReadMemory(handles, static_cast<UINT_PTR>(count) * sizeof(void*))) return nullptr;
    return Guarded<void*>(nullptr, [&]() -> void* {
        std::vector<Element*> sources;
        std::unordered_set<Element*> seen;
        for (int i = 0; i < count; ++i) {
            Element* e = FindElement(handles[i], d);
            if (e == nullptr || !e->linked || e->role != ElementRole::TopLevel) continue;
            if (seen.insert(e).second) sources.push_back(e);
        }
        if (sources.empty()) return nullptr;
        ElementRecord head;
        std::memset(&head, 0, sizeof head);
        head.type = kElementGroup;
        head.layer = sources.front()->node.record.layer;
        head.page = sources.front()->node.record.page;
        Element* group = AppendElement(*d, head, false);
        if (group == nullptr) return nullptr;
        // The group holds copies; the originals are deleted, so undo brings them back.
        for (Element* source : sources) {
            Element* copy = AppendMember(*d, group, source->node.record, nullptr, false);
            if (copy == nullptr) continue;
            CopyParams(*source, *copy);
            if (source->type() == kElementFigureReference) {
                copy->node.groupHeader = source->node.groupHeader;
                copy->node.memberCount = source->node.memberCount;
            }
            CopyMembers(*d, *source, copy);
        }
        const bool record = d->undoDepth > 0;
        for (Element* source : sources) DeleteElement(*d, source, record);
        if (record) RecordAdded(*d, group);
        SyncRecord(*d);
        return group->handle();
    });
}
