// The undo list of a database: records of added, deleted and changed elements, oldest to
// newest, linked both ways; the database record's +72 names the oldest and +76 the newest
// record that is applied. The program replays the list itself with the replay calls and moves
// +76; the engine reads the position back from the record at every call.
#pragma once

#include "EngineDatabase.h"

namespace dravikdb {

constexpr uint32_t kUndoMagic = 0x4F444E55u;

// The saved other state of a changed element: its record and its payload.
struct ElementSnapshot {
    ElementRecord record;
    std::string text;
    HGLOBAL image = nullptr;
    std::vector<uint8_t> raster;
    ~ElementSnapshot();
};

struct UndoEntry {
    UndoRecord rec;   // must stay first: the program reads the record at the entry's address
    uint32_t magic = kUndoMagic;
    Database* db = nullptr;
    Element* element = nullptr;
    Element* head = nullptr;
    std::unique_ptr<ElementSnapshot> snapshot;
};

// The entry behind an undo record address of the database, or null.
UndoEntry* FindUndoEntry(Database& db, const void* record);
// Reads the current position (+76) back from the record the caller passed.
void ReadUndoPosition(Database& db, EngineDbRecord* record);
// The newest applied entry.
UndoEntry* CurrentUndo(Database& db);
void SetCurrentUndo(Database& db, UndoEntry* entry);

// Records a change (drops what lies beyond the current position first). Nothing when the
// database does not record.
void RecordAdded(Database& db, Element* element);
void RecordDeleted(Database& db, Element* element);
void RecordChanged(Database& db, Element* element, std::unique_ptr<ElementSnapshot> before);
void RecordMemberAdded(Database& db, Element* member, Element* head, int index);
void RecordMemberDeleted(Database& db, Element* member, Element* head, int index);

// Closes the current step.
void MakeUndoPass(Database& db);
// Keeps at most `steps` steps (the oldest go).
void TrimUndo(Database& db, int steps);
// Drops the whole list (freeing the elements only it held).
void ClearUndo(Database& db);
bool CanUndo(Database& db);
bool CanRedo(Database& db);

// Swaps the element's record and payload with a snapshot.
void SwapWithSnapshot(Element& element, ElementSnapshot& snapshot);
// Takes the element's record and payload as a snapshot.
std::unique_ptr<ElementSnapshot> TakeSnapshot(const Element& element);

}  // namespace dravikdb
