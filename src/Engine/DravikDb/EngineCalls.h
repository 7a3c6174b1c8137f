// What every exported call does first: resolve its handles, and keep C++ exceptions (an
// allocation failure) from crossing the library boundary.
#pragma once

#include "DravikDb.h"
#include "EngineDatabase.h"
#include "EngineUndo.h"

namespace dravikdb {

// The database of a caller's record, made current for this call (the record's undo position is
// read back), or null.
inline Database* Resolve(void* record)
{
    Database* db = FindDatabase(record);
    if (db == nullptr) return nullptr;
    db->record = static_cast<EngineDbRecord*>(record);
    ReadUndoPosition(*db, db->record);
    return db;
}

template <typename R, typename F>
R Guarded(R fallback, F&& body)
{
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

}  // namespace dravikdb
