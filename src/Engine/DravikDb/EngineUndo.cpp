#include "EngineUndo.h"

#include <cstring>

namespace dravikdb {

namespace {

void Release(Database& db, UndoEntry* entry)
{
    Element* element = entry->element;
    Element* head = entry->head;
    delete entry;
    if (element != nullptr) {
        --element->undoRefs;
        FreeIfUnused(db, element);
    }
    (void)head;
}

// Drops the entries newer than the current position: a new change ends the redo path.
void DropRedo(Database& db)
{
    UndoEntry* keepNewest = db.undoCurrent;
    UndoEntry* e = keepNewest != nullptr ? (keepNewest->rec.newer != nullptr
                                                ? reinterpret_cast<UndoEntry*>(keepNewest->rec.newer)
                                                : nullptr)
                                         : db.undoOldest;
    if (e == nullptr) return;
    if (keepNewest != nullptr) {
        keepNewest->rec.newer = nullptr;
    } else {
        db.undoOldest = nullptr;
    }
    db.undoNewest = keepNewest;
    while (e != nullptr) {
        UndoEntry* next = reinterpret_cast<UndoEntry*>(e->rec.newer);
        Release(db, e);
        e = next;
    }
}

UndoEntry* NewEntry(Database& db, int32_t kind, Element* element)
{
    DropRedo(db);
    auto* entry = new UndoEntry();
    std::memset(&entry->rec, 0, sizeof entry->rec);
    entry->rec.kind = kind;
    entry->db = &db;
    entry->element = element;
    entry->rec.element = element != nullptr ? &element->node : nullptr;
    entry->rec.value = 1;
    if (element != nullptr) ++element->undoRefs;
    entry->rec.older = db.undoNewest != nullptr ? &db.undoNewest->rec : nullptr;
    if (db.undoNewest != nullptr) db.undoNewest->rec.newer = &entry->rec;
    if (db.undoOldest == nullptr) db.undoOldest = entry;
    db.undoNewest = entry;
    db.undoCurrent = entry;
    return entry;
}

UndoEntry* Older(UndoEntry* e)
{
    return reinterpret_cast<UndoEntry*>(e->rec.older);
}

// The pointers inside a record follow the payload that goes with it.
void PointText(ElementRecord& record, const std::string& text)
{
    if (record.type != kElementText) return;
    const char* old = nullptr;
    std::memcpy(&old, reinterpret_cast<uint8_t*>(&record) + offsetof(TextRecord, text), sizeof old);
    const char* pointer = old != nullptr ? text.c_str() : nullptr;
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offsetof(TextRecord, text), &pointer, sizeof pointer);
}

void PointImage(ElementRecord& record, HGLOBAL image)
{
    if (record.type != kElementImage) return;
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offsetof(ImageRecord, dib), &image, sizeof image);
}

void PointRaster(ElementRecord& record, const std::vector<uint8_t>& bits)
{
    if (record.type != kElementRaster) return;
    const void* pointer = bits.empty() ? nullptr : bits.data();
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offsetof(RasterRecord, bits), &pointer, sizeof pointer);
}

}  // namespace

ElementSnapshot::~ElementSnapshot()
{
    if (image != nullptr) GlobalFree(image);
}

UndoEntry* FindUndoEntry(Database& db, const void* record)
{
    if (record == nullptr) return nullptr;
    for (UndoEntry* e = db.undoNewest; e != nullptr; e = Older(e)) {
        if (&e->rec == record) return e;
    }
    return nullptr;
}

void ReadUndoPosition(Database& db, EngineDbRecord* record)
{
    if (record == nullptr) return;
    if (record->undoCurrent == nullptr) {
        db.undoCurrent = nullptr;
        return;
    }
    if (db.undoCurrent != nullptr && record->undoCurrent == &db.undoCurrent->rec) return;
    UndoEntry* entry = FindUndoEntry(db, record->undoCurrent);
    if (entry != nullptr) db.undoCurrent = entry;
}

UndoEntry* CurrentUndo(Database& db)
{
    return db.undoCurrent;
}

void SetCurrentUndo(Database& db, UndoEntry* entry)
{
    db.undoCurrent = entry;
    if (db.record != nullptr) db.record->undoCurrent = entry != nullptr ? &entry->rec : nullptr;
}

void RecordAdded(Database& db, Element* element)
{
    if (db.undoDepth <= 0) return;
    UndoEntry* e = NewEntry(db, kUndoAdded, element);
    e->rec.value = static_cast<int32_t>(element->order);
}

void RecordDeleted(Database& db, Element* element)
{
    if (db.undoDepth <= 0) return;
    UndoEntry* e = NewEntry(db, kUndoDeleted, element);
    e->rec.value = static_cast<int32_t>(element->order);
}

void RecordChanged(Database& db, Element* element, std::unique_ptr<ElementSnapshot> before)
{
    if (db.undoDepth <= 0) return;
    UndoEntry* e = NewEntry(db, kUndoChanged, element);
    e->snapshot = std::move(before);
    e->rec.savedState = e->snapshot.get();
}

void RecordMemberAdded(Database& db, Element* member, Element* head, int index)
{
    if (db.undoDepth <= 0) return;
    UndoEntry* e = NewEntry(db, kUndoMemberAdded, member);
    e->head = head;
    e->rec.groupHead = &head->node;
    e->rec.memberValue = index;
}

void RecordMemberDeleted(Database& db, Element* member, Element* head, int index)
{
    if (db.undoDepth <= 0) return;
    UndoEntry* e = NewEntry(db, kUndoMemberDeleted, member);
    e->head = head;
    e->rec.groupHead = &head->node;
    e->rec.memberValue = index;
}

void MakeUndoPass(Database& db)
{
    if (db.undoCurrent != nullptr) db.undoCurrent->rec.stepMark = 1;
}

void TrimUndo(Database& db, int steps)
{
    if (steps <= 0) {
        ClearUndo(db);
        return;
    }
    // Count steps from the newest record; everything older than the last kept step goes.
    int seen = 0;
    UndoEntry* e = db.undoNewest;
    UndoEntry* oldestKept = nullptr;
    while (e != nullptr) {
        UndoEntry* stepNewest = e;
        // A step runs from a record toward older ones until the next closed step's newest.
        UndoEntry* walk = stepNewest;
        UndoEntry* stepOldest = walk;
        walk = Older(walk);
        while (walk != nullptr && walk->rec.stepMark != 1) {
            stepOldest = walk;
            walk = Older(walk);
        }
        ++seen;
        if (seen > steps) break;
        oldestKept = stepOldest;
        e = walk;
    }
    if (e == nullptr || oldestKept == nullptr) return;
    // Everything older than oldestKept goes.
    UndoEntry* drop = Older(oldestKept);
    oldestKept->rec.older = nullptr;
    db.undoOldest = oldestKept;
    bool currentDropped = false;
    while (drop != nullptr) {
        UndoEntry* older = Older(drop);
        if (drop == db.undoCurrent) currentDropped = true;
        Release(db, drop);
        drop = older;
    }
    if (currentDropped) SetCurrentUndo(db, nullptr);
}

void ClearUndo(Database& db)
{
    UndoEntry* e = db.undoOldest;
    db.undoOldest = nullptr;
    db.undoNewest = nullptr;
    db.undoCurrent = nullptr;
    while (e != nullptr) {
        UndoEntry* next = reinterpret_cast<UndoEntry*>(e->rec.newer);
        Release(db, e);
        e = next;
    }
    if (db.record != nullptr) {
        db.record->undoOldest = nullptr;
        db.record->undoCurrent = nullptr;
    }
}

bool CanUndo(Database& db)
{
    return db.undoCurrent != nullptr;
}

bool CanRedo(Database& db)
{
    if (db.undoCurrent == nullptr) return db.undoOldest != nullptr;
    return db.undoCurrent->rec.newer != nullptr;
}

std::unique_ptr<ElementSnapshot> TakeSnapshot(const Element& element)
{
    auto snapshot = std::make_unique<ElementSnapshot>();
    std::memcpy(&snapshot->record, &element.node.record, sizeof snapshot->record);
    snapshot->text = element.text;
    snapshot->raster = element.raster;
    if (element.image != nullptr) {
        SIZE_T size = GlobalSize(element.image);
        const void* source = GlobalLock(element.image);
        HGLOBAL copy = source != nullptr ? GlobalAlloc(GMEM_MOVEABLE, size) : nullptr;
        void* target = copy != nullptr ? GlobalLock(copy) : nullptr;
        if (target != nullptr) {
            std::memcpy(target, source, size);
            GlobalUnlock(copy);
            snapshot->image = copy;
        } else if (copy != nullptr) {
            GlobalFree(copy);
        }
        if (source != nullptr) GlobalUnlock(element.image);
    }
    PointText(snapshot->record, snapshot->text);
    PointImage(snapshot->record, snapshot->image);
    PointRaster(snapshot->record, snapshot->raster);
    return snapshot;
}

void SwapWithSnapshot(Element& element, ElementSnapshot& snapshot)
{
    ElementRecord current;
    std::memcpy(&current, &element.node.record, sizeof current);
    std::memcpy(&element.node.record, &snapshot.record, sizeof current);
    std::memcpy(&snapshot.record, &current, sizeof current);
    std::swap(element.text, snapshot.text);
    std::swap(element.image, snapshot.image);
    element.raster.swap(snapshot.raster);
    PointText(element.node.record, element.text);
    PointImage(element.node.record, element.image);
    PointRaster(element.node.record, element.raster);
    PointText(snapshot.record, snapshot.text);
    PointImage(snapshot.record, snapshot.image);
    PointRaster(snapshot.record, snapshot.raster);
}

}  // namespace dravikdb
