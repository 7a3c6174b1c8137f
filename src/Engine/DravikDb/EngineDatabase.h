// The engine's in-memory drawing database: what one caller-owned database record stands for.
//
// A database holds
//   - the element chain: top-level elements in drawing order (a map ordered by an append key, so
//     an element re-added by undo returns to its old place); every element is an `Element`
//     whose first member is the 238-byte node the callers see, so an element handle is the
//     address of its `Element`;
//   - members: a composite (21, 22, 70) or a figure-group header (31) owns its direct members in
//     order; the node links mirror this as one pre-order chain through `nextMember`;
//   - figure-group headers (31), in creation order (their index is the header index of the
//     instances, type 32, that point at them);
//   - per element: tags, the tag string, 256 bytes of user data, extra-data slots, the FF tag;
//     the text of a text element, the image of an image element and the bits of a raster
//     element are the engine's own copies;
//   - pages: the information block of page 0 and the page records of pages 1..256, each with
//     its layer names (the layer blocks hold pointers to these strings);
//   - marks (sets of elements, see EngineMark.h) and the undo list (EngineUndo.h).
//
// The node's link fields (next element, next member, group header, member count) and the
// record's mirror words (+12, +16, +68, +72, +92) are refreshed by the engine after every
// change; the engine's own truth is in these structures.
//
// Every database function here runs on the caller's thread; the engine is single-threaded like
// the program that drives it.
#pragma once

#include "EngineRecords.h"
#include "EngineText.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace dravikdb {

struct Database;
struct Mark;
struct UndoEntry;

enum class ElementRole : uint8_t {
    TopLevel,       // in the element chain (or unlinked and kept by the undo list)
    Member,         // a member of a composite or of a figure-group header
    FigureHeader,   // a figure-group header (type 31)
};

constexpr uint32_t kElementMagic = 0x4D4C4544u;   // checked on every handle the engine is given
constexpr size_t kUserDataSize = 256;
constexpr size_t kMaxTagStringLength = 603;       // longest tag text the engine keeps
constexpr int kMaxExtraDataSlot = 255;
constexpr size_t kMaxExtraDataSize = 65536;
// Largest raster picture the engine copies: 1-bit rows of about 23000 x 23000 pixels.
constexpr uint64_t kMaxRasterBytes = 64u * 1024 * 1024;

struct Element {
    EngineNode node;          // must stay first: the handle is the node's address
    uint8_t spare[2];         // keeps a stray 240-byte read of the node inside the allocation
    uint32_t magic = kElementMagic;
    Database* db = nullptr;
    ElementRole role = ElementRole::TopLevel;
    bool linked = false;      // part of the database now (not deleted, not held by undo only)
    uint64_t order = 0;       // place in the element chain (top-level elements)
    Element* owner = nullptr;          // head of a member
    std::vector<Element*> members;     // direct members, in order
    int undoRefs = 0;                  // undo entries that name this element

    std::string text;          // owned text of a text element (node pointer at 136)
    HGLOBAL image = nullptr;   // owned copy of an image element's DIB (node handle at 113)
    std::vector<uint8_t> raster;  // owned copy of a raster element's 1-bit rows (node pointer at 123)

    std::map<int32_t, int32_t> tags;
    bool hasTagString = false;
    std::string tagString;
    // Held only by the elements that were given user data: a large drawing keeps its memory.
    std::unique_ptr<std::array<uint8_t, kUserDataSize>> userData;
    std::map<int32_t, std::vector<uint8_t>> extraData;
    uintptr_t ffTag = 0;

    Element();
    ~Element();
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    int type() const { return node.record.type; }
    void* handle() { return &node; }
};

// Names of the 1024 layers of one page; the layer block's name pointers point into it.
struct LayerNames {
    std::array<std::unique_ptr<char[]>, kLayerCount> names;
};

constexpr uint32_t kDatabaseMagic = 0x42444B56u;

struct Database {
    uint32_t magic = kDatabaseMagic;
    uint32_t id = 0;                      // check word kept in bound records
    EngineDbRecord* record = nullptr;     // the record of the latest call (mirrors are written there)

    std::map<uint64_t, Element*> chain;   // top-level elements in drawing order
    uint64_t nextOrder = 1;
    std::vector<Element*> headers;        // figure-group headers

    std::unique_ptr<DbInfoBlock> info;                                     // page 0
    std::array<std::unique_ptr<EnginePageRecord>, kMaxPage + 1> pages;     // [1..256]
    std::array<std::unique_ptr<LayerNames>, kMaxPage + 1> layerNames;      // [0..256]

    std::vector<Mark*> marks;

    UndoEntry* undoOldest = nullptr;
    UndoEntry* undoNewest = nullptr;
    UndoEntry* undoCurrent = nullptr;   // newest applied entry (null: everything undone)
    int undoDepth = 0;             // 0: changes are not recorded

    std::unordered_set<Element*> allElements;   // every element the database owns

    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
};

// ---- Finding things from handles (null when the handle is not a live one) -----------------

// The database behind a record created with ZUriCreateDB (also a copy of such a record).
Database* FindDatabase(const void* record);
// The element behind a handle; with db given, only an element of that database.
Element* FindElement(const void* handle, const Database* db = nullptr);

// ---- Life of a database -----------------------------------------------------------------

// Makes an empty database for a zeroed record and binds the record to it (0 when the record is
// null or already bound to a live database).
Database* CreateDatabaseFor(EngineDbRecord* record);
// A database bound to no record (for loading into before the result replaces a drawing).
std::unique_ptr<Database> CreateDetachedDatabase();
// Moves every element, header, page, layer name and the information of `from` into `to`,
// dropping what `to` held (its marks and undo list included). `from` is left empty.
void ReplaceContents(Database& to, Database& from);
// Frees everything and unbinds the record (zeroes the engine's words; the owner zeroes the rest).
void DestroyDatabase(EngineDbRecord* record);
// Deletes every element and header and the undo list; pages stay.
void ClearElements(Database& db);
// Writes the mirror words of the database into its record (and into `record` when given).
void SyncRecord(Database& db, EngineDbRecord* record = nullptr);

// The default drawing information of a new database (styles of ZuriStyleGet, A3 landscape 1:1).
void FillDefaultInfo(DbInfoBlock& info);

// ---- Elements -----------------------------------------------------------------------------

// Checks a record before it is stored (page 0..511, layer 0..1023, finite geometry).
bool IsStorableRecord(const ElementRecord& record);
// Appends a copy of the record at the end of the element chain (null when refused). A record
// with a negative page is refused; the text, image and raster bits the record points to are
// copied (raster bits only when the pixel counts give a size the engine takes).
Element* AppendElement(Database& db, const ElementRecord& record, bool recordUndo);
// Appends a member to `head` (a composite, a member composite or a figure header), placed
// after `after` (null: after the head's last member, its own members included). An instance
// (type 32) draws `referenced` when given; one that would lead back to the header holding it
// is refused.
Element* AppendMember(Database& db, Element* head, const ElementRecord& record, Element* after,
                      bool recordUndo, Element* referenced = nullptr);
// Makes a figure-group header from the record.
Element* CreateFigureHeader(Database& db, const ElementRecord& record);
// Appends an instance (type 32) of `header` to the element chain.
Element* AppendFigureReference(Database& db, Element* header, const ElementRecord& record,
                               bool recordUndo);
// Replaces the element's record (links stay); null when refused (a member made an instance
// that would lead back to its own header included).
Element* ChangeElement(Database& db, Element* element, const ElementRecord& record, bool recordUndo);
// Deletes an element with its members (kept while the undo list names it).
bool DeleteElement(Database& db, Element* element, bool recordUndo);

// Takes the element out of the chain (or out of its head) without freeing it.
void UnlinkElement(Database& db, Element* element);
// Puts an unlinked top-level element back at its place in the chain.
void RelinkElement(Database& db, Element* element);
// Puts an unlinked member back into `head` at member index `index`.
void RelinkMember(Database& db, Element* head, Element* member, int index);
// Frees an element that is unlinked and no longer named by the undo list.
void FreeIfUnused(Database& db, Element* element);

// Copies the text / image / raster bits the record points to into the element's own storage
// and points the node at it.
void AdoptRecordPayload(Element& element, const ElementRecord& record);
// Bytes of a raster record's bits as its pixel counts give them (rows padded to 16 bits), or 0
// when the counts are not positive or the size is beyond kMaxRasterBytes.
uint64_t RasterBitsSize(const ElementRecord& record);
// Rewrites the node links of every element of the database from the structures.
void RefreshLinks(Database& db);
// Refreshes the links of one head's member chain (and its own next-member pointer).
void RefreshMemberChain(Element* head);

// Copies the tags, tag string, user data, extra data and FF tag of one element to another.
void CopyParams(const Element& from, Element& to);

// Number of top-level elements.
int ElementCount(const Database& db);
// The first top-level element, the next one after `element`, or null.
Element* FirstElement(const Database& db);
Element* NextElement(const Database& db, const Element* element);
// The top-level element that holds `element` (itself when it is top-level or a header).
Element* TopOwner(Element* element);

// ---- Pages and layers -----------------------------------------------------------------------

inline bool IsValidPageNumber(int page) { return page >= 0 && page < kPageNumberLimit; }
inline bool IsValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }
// The information block of a page (0 or an existing page 1..256), or null.
DbInfoBlock* InfoBlock(Database& db, int page);
// Makes page 1..256 from a page record (its layer name pointers are not taken); false when the
// page number is out of range or the page exists.
bool AddPage(Database& db, int page, const EnginePageRecord* record);
bool DeletePage(Database& db, int page);
// Sets a layer name (null or empty: unnamed); bounded to 256 bytes on a character boundary.
bool SetLayerName(Database& db, int page, int layer, const char* name);
const char* LayerName(Database& db, int page, int layer);
// Copies a caller's layer block into a page: pointers that are not the engine's own strings
// are read as new names.
void ApplyLayerBlock(Database& db, int page, const LayerInfoBlock& incoming);
// Points the layer block of a page at the engine's own name strings again.
void RefreshLayerNamePointers(Database& db, int page);
// Whether the element's layer is locked / displayed in its page's layer block.
bool IsLayerLocked(Database& db, const ElementRecord& record);
bool IsLayerDisplayed(Database& db, int page, int layer);

// ---- Text helpers ---------------------------------------------------------------------------

// Longest text of a text element the engine reads from a caller.
constexpr size_t kMaxElementText = 65535;

// True for the first byte of a Shift-JIS double-byte character.
using EngineSupport::IsLeadByte;
// Copies at most size - 1 bytes of text into out, cut on a Shift-JIS character boundary.
void CopyBoundedText(char* out, size_t size, const char* text);
// Length of a text the caller handed over, reading at most `limit` bytes (0 when unreadable).
size_t SafeTextLength(const char* text, size_t limit);

}  // namespace dravikdb
