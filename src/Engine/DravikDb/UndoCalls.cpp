// Undo: steps, depth, and the replay calls through which the program walks the undo list.
#include "EngineCalls.h"
#include "EngineMark.h"

#include <cstring>

using namespace dravikdb;

namespace {

int Finish(Database& db, int result)
{
    SyncRecord(db);
    return result;
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriMakUndoPass(void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    MakeUndoPass(*d);
    return Finish(*d, 1);
}

DRAVIKDB_API int WINAPI ZUriCheckUndo(int steps, int reserved, void* db)
{
    (void)reserved;
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    TrimUndo(*d, steps);
    return Finish(*d, 1);
}

DRAVIKDB_API int WINAPI ZUriIsUndo(void* db)
{
    Database* d = Resolve(db);
    return d != nullptr && CanUndo(*d) ? 1 : 0;
}

DRAVIKDB_API int WINAPI ZUriIsRedo(void* db)
{
    Database* d = Resolve(db);
    return d != nullptr && CanRedo(*d) ? 1 : 0;
}

DRAVIKDB_API int WINAPI ZUriUndoDelElement(void* element, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Element* e = FindElement(element, d);
    if (e == nullptr) return 0;
    if (e->linked) {
        UnlinkElement(*d, e);
        FreeIfUnused(*d, e);
    }
    return Finish(*d, 1);
}

DRAVIKDB_API int WINAPI ZUriUndoAddElement(void* element, void* db, int flag, int value)
{
    (void)flag;
    (void)value;
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Element* e = FindElement(element, d);
    if (e == nullptr || e->role == ElementRole::FigureHeader) return 0;
    return Guarded(0, [&] {
        if (!e->linked) RelinkElement(*d, e);
        return Finish(*d, 1);
    });
}

DRAVIKDB_API int WINAPI ZUriUndoChgElement(void* element, void* savedState, void* db, int reserved)
{
    (void)reserved;
    Database* d = Resolve(db);
    if (d == nullptr || savedState == nullptr) return 0;
    Element* e = FindElement(element, d);
    if (e == nullptr) return 0;
    // Only a saved state of this element's own change records is taken.
    for (UndoEntry* u = d->undoNewest; u != nullptr; u = reinterpret_cast<UndoEntry*>(u->rec.older)) {
        if (u->snapshot.get() == savedState && u->element == e) {
            SwapWithSnapshot(*e, *u->snapshot);
            return Finish(*d, 1);
        }
    }
    return 0;
}

DRAVIKDB_API int WINAPI ZUriUndoDelMemberElement(void* element, void* head, void* db, int reserved, int value)
{
    (void)head;
    (void)reserved;
    (void)value;
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Element* e = FindElement(element, d);
    if (e == nullptr || e->role != ElementRole::Member) return 0;
    if (e->linked) {
        UnlinkElement(*d, e);
        FreeIfUnused(*d, e);
    }
    return Finish(*d, 1);
}

DRAVIKDB_API int WINAPI ZUriUndoAddMemberElement(void* element, void* head, void* db, int reserved, int value)
{
    (void)reserved;
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Element* e = FindElement(element, d);
    Element* h = FindElement(head, d);
    if (e == nullptr || h == nullptr || e == h) return 0;
    // A head inside the member's own chain would make a loop.
    for (Element* owner = h; owner != nullptr; owner = owner->owner) {
        if (owner == e) return 0;
    }
    return Guarded(0, [&] {
        RelinkMember(*d, h, e, value);
        return Finish(*d, 1);
    });
}

DRAVIKDB_API int WINAPI ZUriChkDspElement(int page, int layer, int space, int viewMode, void* db)
{
    (void)space;
    (void)viewMode;
    Database* d = Resolve(db);
    if (d == nullptr || !IsValidPageNumber(page) || !IsValidLayer(layer)) return 0;
    const PageStateInfo& state = d->record->pageState;
    if (((state.displayMask[page / 32] >> (page % 32)) & 1) == 0) return 0;
    return IsLayerDisplayed(*d, page, layer) ? 1 : 0;
}
