// Marks: sets of elements of one database, in the order they were added.
#pragma once

#include "EngineDatabase.h"

#include <unordered_map>

namespace dravikdb {

constexpr uint32_t kMarkMagic = 0x4B52414Du;

struct Mark {
    EngineDbRecord* dbRecord = nullptr;   // must stay first: a mark's first word is its database
    uint32_t magic = kMarkMagic;
    Database* db = nullptr;
    std::vector<Element*> items;          // null where an element was taken out
    std::unordered_map<Element*, size_t> positions;
    size_t live = 0;
    bool link = false;                    // takes undo records and marks their elements
};

Mark* CreateMark(Database& db, EngineDbRecord* record);
Mark* FindMark(const void* handle);
void DestroyMark(Mark* mark);
bool MarkAdd(Mark& mark, Element* element);
bool MarkRemove(Mark& mark, Element* element);
bool MarkContains(const Mark& mark, const Element* element);
// Next element after `previous` (null: the first), or null.
Element* MarkNext(const Mark& mark, const Element* previous);
// Element before `previous` (null: the last), or null.
Element* MarkBack(const Mark& mark, const Element* previous);
// As MarkNext, but every composite or header is followed by its member chain.
Element* MarkNextWithMembers(const Mark& mark, const Element* previous);
// Takes an element out of every mark of its database (it is being deleted).
void RemoveFromAllMarks(Database& db, Element* element);
// Destroys every mark of a database.
void DestroyAllMarks(Database& db);

}  // namespace dravikdb
