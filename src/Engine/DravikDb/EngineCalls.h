// What every exported call does first: resolve its handles, and keep C++ exceptions (an
// allocation failure) from crossing the library boundary.
#pragma once

#include <cstring>

#include "DravikDb.h"
#include "EngineDatabase.h"
#include "EngineUndo.h"
#include "MemoryProbe.h"

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

// Copies a caller's element record in; false when the pointer cannot be read.
inline bool ReadRecord(const void* source, ElementRecord& record)
{
    if (source == nullptr || IsBadReadMemory(source, sizeof record)) return false;
    std::memcpy(&record, source, sizeof record);
    return true;
}

// Copies an element's record out to a caller's buffer, when there is one that can be written.
inline void CopyOut(Element* element, void* out)
{
    if (element == nullptr || out == nullptr || IsBadWriteMemory(out, sizeof(ElementRecord))) return;
    std::memcpy(out, &element->node.record, sizeof(ElementRecord));
}

// Writes one field of a caller's packed record at its byte offset, touching nothing else.
template <typename T>
void WriteAt(void* record, size_t offset, const T& value)
{
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
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
