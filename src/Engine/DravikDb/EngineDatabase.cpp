#include "EngineDatabase.h"

#include "EngineMark.h"
#include "EngineStyles.h"
#include "EngineUndo.h"

#include <cstring>
#include <unordered_set>
#include "MemoryProbe.h"

namespace dravikdb {

namespace {

// Live databases and elements: every handle a caller passes is looked up here before the
// engine touches the memory behind it.
std::unordered_set<const Database*>& LiveDatabases()
{
    static std::unordered_set<const Database*> live;
    return live;
}

std::unordered_set<const Element*>& LiveElements()
{
    static std::unordered_set<const Element*> live;
    return live;
}

uint32_t g_nextDatabaseId = 1;

}  // namespace

// ---- Element ---------------------------------------------------------------------------------

Element::Element()
{
    std::memset(&node, 0, sizeof node);
    std::memset(spare, 0, sizeof spare);
    LiveElements().insert(this);
}

Element::~Element()
{
    LiveElements().erase(this);
    if (image != nullptr) GlobalFree(image);
    magic = 0;
}

Element* FindElement(const void* handle, const Database* db)
{
    if (handle == nullptr) return nullptr;
    auto* element = static_cast<const Element*>(handle);
    if (LiveElements().count(element) == 0) return nullptr;
    auto* found = const_cast<Element*>(element);
    if (found->magic != kElementMagic) return nullptr;
    if (db != nullptr && found->db != db) return nullptr;
    return found;
}

// ---- Database --------------------------------------------------------------------------------

Database::Database()
{
    id = g_nextDatabaseId++;
    if (g_nextDatabaseId == 0) g_nextDatabaseId = 1;
    info = std::make_unique<DbInfoBlock>();
    FillDefaultInfo(*info);
    layerNames[0] = std::make_unique<LayerNames>();
    LiveDatabases().insert(this);
}

Database::~Database()
{
    DestroyAllMarks(*this);
    ClearUndo(*this);
    for (Element* element : allElements) delete element;
    allElements.clear();
    chain.clear();
    headers.clear();
    LiveDatabases().erase(this);
    magic = 0;
}

Database* FindDatabase(const void* record)
{
    if (record == nullptr || IsBadReadMemory(record, sizeof(EngineDbRecord))) return nullptr;
    auto* rec = static_cast<const EngineDbRecord*>(record);
    auto* db = reinterpret_cast<Database*>(static_cast<uintptr_t>(rec->engineDatabase));
    if (db == nullptr || LiveDatabases().count(db) == 0) return nullptr;
    if (db->magic != kDatabaseMagic || db->id != rec->engineCheck) return nullptr;
    return db;
}

void FillDefaultInfo(DbInfoBlock& info)
{
    std::memset(&info, 0, sizeof info);
    DbInfoRecord& rec = info.record;
    SYSTEMTIME now;
    GetLocalTime(&now);
    DrawingDate date = {now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute,
                        now.wSecond};
    rec.created = date;
    rec.updated = date;
    // A3 landscape at full size until the program sets its own paper.
    rec.paperWidthMm = 420.0;
    rec.paperHeightMm = 297.0;
    rec.scale = 1.0;
    rec.drawingWidth = 420.0;
    rec.drawingHeight = 297.0;
    rec.paperCode = kPaperCodeA + 3;
    info.lengthTolerance = 1.0e-6;
    info.cosAngleTolerance = 1.0;
    info.sinAngleTolerance = 1.0e-6;
    LayerInfoBlock& layers = info.layers;
    for (int i = 0; i < kLayerMaskWords; ++i) {
        layers.displayMask[i] = 0xFFFF;
        layers.detectMask[i] = 0xFFFF;
        layers.lockMask[i] = 0;
    }
    FillDefaultLineTypes(info.lineTypes);
    FillDefaultColours(info.colours);
    FillDefaultLineWidths(info.lineWidthsMm);
}

namespace {

void InitialiseRecord(EngineDbRecord* record, Database* db)
{
    record->engineDatabase = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(db));
    record->engineCheck = db->id;
    std::memset(&record->pageState, 0, sizeof record->pageState);
    record->pageState.displayMask[0] = 1;
    record->pageState.detectMask[0] = 1;
    record->placement.scaleX = 1.0;
    record->placement.scaleY = 1.0;
    record->placement.cosAngle = 1.0;
}

}  // namespace

Database* CreateDatabaseFor(EngineDbRecord* record)
{
    if (record == nullptr) return nullptr;
    if (FindDatabase(record) != nullptr) return nullptr;
    auto* db = new Database();
    db->record = record;
    InitialiseRecord(record, db);
    SyncRecord(*db, record);
    return db;
}

std::unique_ptr<Database> CreateDetachedDatabase()
{
    return std::make_unique<Database>();
}

void ReplaceContents(Database& to, Database& from)
{
    if (&to == &from) return;
    DestroyAllMarks(to);
    ClearUndo(to);
    DestroyAllMarks(from);
    ClearUndo(from);
    for (Element* element : to.allElements) delete element;
    to.allElements.clear();
    to.chain = std::move(from.chain);
    to.nextOrder = from.nextOrder;
    to.headers = std::move(from.headers);
    to.allElements = std::move(from.allElements);
    for (Element* element : to.allElements) element->db = &to;
    to.info = std::move(from.info);
    for (int p = 0; p <= kMaxPage; ++p) {
        to.pages[p] = std::move(from.pages[p]);
        to.layerNames[p] = std::move(from.layerNames[p]);
    }
    from.chain.clear();
    from.headers.clear();
    from.allElements.clear();
    from.nextOrder = 1;
    from.info = std::make_unique<DbInfoBlock>();
    FillDefaultInfo(*from.info);
    from.layerNames[0] = std::make_unique<LayerNames>();
    if (!to.info) {
        to.info = std::make_unique<DbInfoBlock>();
        FillDefaultInfo(*to.info);
    }
    if (!to.layerNames[0]) to.layerNames[0] = std::make_unique<LayerNames>();
    for (int p = 0; p <= kMaxPage; ++p) {
        if (p == 0 || to.pages[p]) RefreshLayerNamePointers(to, p);
    }
    RefreshLinks(to);
    if (to.record != nullptr) SyncRecord(to, to.record);
}

void DestroyDatabase(EngineDbRecord* record)
{
    Database* db = FindDatabase(record);
    if (db == nullptr) return;
    delete db;
    record->engineDatabase = 0;
    record->engineCheck = 0;
    record->firstElement = nullptr;
    record->firstGroupHeader = nullptr;
    record->marksExist = 0;
    record->undoOldest = nullptr;
    record->undoCurrent = nullptr;
    record->info = nullptr;
}

void ClearElements(Database& db)
{
    ClearUndo(db);
    for (Mark* mark : db.marks) {
        mark->items.clear();
        mark->positions.clear();
        mark->live = 0;
    }
    for (Element* element : db.allElements) delete element;
    db.allElements.clear();
    db.chain.clear();
    db.headers.clear();
    if (db.record != nullptr) SyncRecord(db, db.record);
}

void SyncRecord(Database& db, EngineDbRecord* record)
{
    if (record == nullptr) record = db.record;
    if (record == nullptr) return;
    record->firstElement = db.chain.empty() ? nullptr : &db.chain.begin()->second->node;
    record->firstGroupHeader = db.headers.empty() ? nullptr : &db.headers.front()->node;
    record->marksExist = db.marks.empty() ? 0 : 1;
    record->undoOldest = db.undoOldest != nullptr ? &db.undoOldest->rec : nullptr;
    record->undoCurrent = db.undoCurrent != nullptr ? &db.undoCurrent->rec : nullptr;
    record->info = db.info.get();
    if (db.info) db.info->elementCount = static_cast<int32_t>(db.chain.size());
}

// ---- Text helpers ---------------------------------------------------------------------------

void CopyBoundedText(char* out, size_t size, const char* text)
{
    if (out == nullptr || size == 0) return;
    size_t n = 0;
    if (text != nullptr) {
        while (text[n] != '\0') {
            size_t step = 1;
            if (IsLeadByte(static_cast<unsigned char>(text[n])) && text[n + 1] != '\0') step = 2;
            if (n + step > size - 1) break;
            n += step;
        }
        std::memcpy(out, text, n);
    }
    out[n] = '\0';
}

size_t SafeTextLength(const char* text, size_t limit)
{
    if (text == nullptr) return 0;
    if (IsBadStringMemory(text, limit)) {
        // Either unreadable or longer than the limit: read only what is readable.
        if (IsBadReadMemory(text, 1)) return 0;
        size_t n = 0;
        while (n < limit && !IsBadReadMemory(text + n, 1) && text[n] != '\0') ++n;
        return n;
    }
    return strnlen(text, limit);
}

}  // namespace dravikdb
