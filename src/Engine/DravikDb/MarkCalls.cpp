// Marks: sets of elements of one database.
#include "EngineCalls.h"
#include "EngineMark.h"

using namespace dravikdb;

namespace {

// The element a mark call names: an element of the mark's database, or, for a link mark, the
// element of an undo record.
Element* MarkedElement(Mark& mark, void* handle)
{
    if (mark.db == nullptr) return nullptr;
    Element* e = FindElement(handle, mark.db);
    if (e != nullptr) return e;
    if (mark.link) {
        UndoEntry* entry = FindUndoEntry(*mark.db, handle);
        if (entry != nullptr && entry->element != nullptr && entry->element->linked) return entry->element;
    }
    return nullptr;
}

void* HandleOf(Element* e)
{
    return e != nullptr ? e->handle() : nullptr;
}

}  // namespace

DRAVIKDB_API void* WINAPI ZUriCreateMark(void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    return Guarded<void*>(nullptr, [&]() -> void* {
        Mark* mark = CreateMark(*d, static_cast<EngineDbRecord*>(db));
        SyncRecord(*d);
        return mark;
    });
}

DRAVIKDB_API void* WINAPI ZUriCreateLinkMark(void* db)
{
    auto* mark = static_cast<Mark*>(ZUriCreateMark(db));
    if (mark != nullptr) mark->link = true;
    return mark;
}

DRAVIKDB_API int WINAPI ZUriDestroyMark(void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return 0;
    DestroyMark(m);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriSetMark(void* element, void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return 0;
    Element* e = MarkedElement(*m, element);
    if (e == nullptr || !e->linked) return 0;
    return Guarded(0, [&] {
        MarkAdd(*m, e);
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriDelMark(void* element, void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return 0;
    Element* e = MarkedElement(*m, element);
    if (e == nullptr) return 0;
    return MarkRemove(*m, e) ? 1 : 0;
}

DRAVIKDB_API void* WINAPI ZUriGetNextMark(void* previous, void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return nullptr;
    if (previous == nullptr) return HandleOf(MarkNext(*m, nullptr));
    Element* p = FindElement(previous, m->db);
    return p == nullptr ? nullptr : HandleOf(MarkNext(*m, p));
}

DRAVIKDB_API void* WINAPI ZUriGetExtNextMark(void* previous, void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return nullptr;
    if (previous == nullptr) return HandleOf(MarkNextWithMembers(*m, nullptr));
    Element* p = FindElement(previous, m->db);
    return p == nullptr ? nullptr : HandleOf(MarkNextWithMembers(*m, p));
}

DRAVIKDB_API void* WINAPI ZUriGetBackMark(void* previous, void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return nullptr;
    if (previous == nullptr) return HandleOf(MarkBack(*m, nullptr));
    Element* p = FindElement(previous, m->db);
    return p == nullptr ? nullptr : HandleOf(MarkBack(*m, p));
}

DRAVIKDB_API int WINAPI ZUriChkMark(void* element, void* mark)
{
    Mark* m = FindMark(mark);
    if (m == nullptr) return 0;
    Element* e = FindElement(element, m->db);
    return e != nullptr && MarkContains(*m, e) ? 1 : 0;
}

DRAVIKDB_API int WINAPI ZUriGetMarkNum(void* mark)
{
    Mark* m = FindMark(mark);
    return m == nullptr ? 0 : static_cast<int>(m->live);
}
