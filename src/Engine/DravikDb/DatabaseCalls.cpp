// Databases: creation, deletion, drawing information, element count and undo depth.
#include "EngineCalls.h"
#include "EngineMark.h"

#include <cstring>

using namespace dravikdb;

DRAVIKDB_API int WINAPI ZUriCreateDB(void* db)
{
    return Guarded(0, [&] {
        return CreateDatabaseFor(static_cast<EngineDbRecord*>(db)) != nullptr ? 1 : 0;
    });
}

DRAVIKDB_API int WINAPI ZUriDeleteDB(void* db)
{
    return Guarded(0, [&] {
        if (FindDatabase(db) == nullptr) return 0;
        DestroyDatabase(static_cast<EngineDbRecord*>(db));
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriGetDBInfo(void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || out == nullptr) return 0;
    std::memcpy(out, &d->info->record, sizeof(DbInfoRecord));
    return 1;
}

DRAVIKDB_API int WINAPI ZUriSetDBInfo(const void* in, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || in == nullptr) return 0;
    std::memcpy(&d->info->record, in, sizeof(DbInfoRecord));
    return 1;
}

DRAVIKDB_API void* WINAPI ZUriGetDbInfoPtr(int page, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return nullptr;
    DbInfoBlock* info = InfoBlock(*d, page);
    if (info != nullptr) info->elementCount = ElementCount(*d);
    return info;
}

DRAVIKDB_API int WINAPI ZUriGetElmNum(void* db)
{
    Database* d = Resolve(db);
    return d == nullptr ? -1 : ElementCount(*d);
}

DRAVIKDB_API int WINAPI ZUriUndoFgSet(void* db, int depth)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    d->undoDepth = depth > 0 ? depth : 0;
    return 1;
}

DRAVIKDB_API int WINAPI ZUriClearUndoElement(void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    Guarded(0, [&] {
        ClearUndo(*d);
        return 1;
    });
    SyncRecord(*d);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriClearDustMemory(void)
{
    // Deleted elements are freed as soon as no undo record names them; nothing waits here.
    return 1;
}
