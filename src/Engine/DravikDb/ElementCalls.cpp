// Elements: read, append, change, delete, and the copy of an element's parameters.
#include "EngineCalls.h"

#include <cstring>

using namespace dravikdb;

namespace {

Element* NextOf(Database& db, Element* element)
{
    switch (element->role) {
    case ElementRole::TopLevel:
        return NextElement(db, element);
    case ElementRole::Member:
        return element->node.nextMember != nullptr ? reinterpret_cast<Element*>(element->node.nextMember) : nullptr;
    case ElementRole::FigureHeader:
        for (size_t i = 0; i + 1 < db.headers.size(); ++i) {
            if (db.headers[i] == element) return db.headers[i + 1];
        }
        return nullptr;
    }
    return nullptr;
}

}  // namespace

DRAVIKDB_API void* WINAPI ZUriReadElement(void* element, int mode, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    Element* result = nullptr;
    if (element == nullptr) {
        if (mode != 0 && mode != 1) return nullptr;
        result = FirstElement(*d);
    } else {
        Element* e = FindElement(element, d);
        if (e == nullptr || !e->linked) return nullptr;
        if (mode == 0) {
            result = e;
        } else if (mode == 1) {
            result = NextOf(*d, e);
        } else {
            return nullptr;
        }
    }
    CopyOut(result, out);
    return result != nullptr ? result->handle() : nullptr;
}

DRAVIKDB_API void* WINAPI ZUriAppendElement(const void* record, void* db)
{
    Database* d = Resolve(db);
    ElementRecord rec;
    if (d == nullptr || !ReadRecord(record, rec)) return nullptr;
    return Guarded<void*>(nullptr, [&]() -> void* {
        Element* e = AppendElement(*d, rec, d->undoDepth > 0);
        SyncRecord(*d);
        return e != nullptr ? e->handle() : nullptr;
    });
}

static void* ChangeCommon(void* element, const void* image, void* db)
{
    Database* d = Resolve(db);
    ElementRecord rec;
    if (d == nullptr || !ReadRecord(image, rec)) return nullptr;
    Element* e = FindElement(element, d);
    if (e == nullptr || !e->linked) return nullptr;
    return Guarded<void*>(nullptr, [&]() -> void* {
        Element* changed = ChangeElement(*d, e, rec, d->undoDepth > 0);
        SyncRecord(*d);
        return changed != nullptr ? changed->handle() : nullptr;
    });
}

DRAVIKDB_API void* WINAPI ZUriChangeElement(void* element, const void* image, void* db)
{
    return ChangeCommon(element, image, db);
}

// The same change for the transform services, which store placed copies of marked elements and
// members; it is recorded like any change so that a move or a rotation can be undone.
DRAVIKDB_API void* WINAPI ZUriMemChangeElement(void* element, const void* image, void* db)
{
    return ChangeCommon(element, image, db);
}

DRAVIKDB_API int WINAPI ZUriDeleteElement(void* element, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Element* e = FindElement(element, d);
    if (e == nullptr) return 0;
    return Guarded(0, [&] {
        bool done = DeleteElement(*d, e, d->undoDepth > 0);
        SyncRecord(*d);
        return done ? 1 : 0;
    });
}

DRAVIKDB_API int WINAPI ZUriAllDeleteElement(void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    ClearElements(*d);
    SyncRecord(*d);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriElementParamCopy(void* source, void* target)
{
    Element* from = FindElement(source);
    Element* to = FindElement(target);
    if (from == nullptr || to == nullptr) return 0;
    if (from == to) return 1;
    return Guarded(0, [&] {
        CopyParams(*from, *to);
        return 1;
    });
}
