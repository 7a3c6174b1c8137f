#include "drawing/PageDialogRecords.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/HostServiceSite.h"
#include "core/Dbcs.h"
#include "drawing/PageOperations.h"
#include "drawing/PasteDatabase.h"

namespace {

std::vector<PageDialogRecord> g_records;

EngineDbRecord* ActiveDatabase()
{
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    return block ? static_cast<EngineDbRecord*>(block->engineDb) : nullptr;
}

void TextsFromInfo(PageDialogRecord& r, const DbInfoRecord& info)
{
    DbcsCopy(r.fileName, sizeof r.fileName, info.fileName);
    DbcsCopy(r.fileType, sizeof r.fileType, info.fileType);
    DbcsCopy(r.title, sizeof r.title, info.title);
    DbcsCopy(r.name, sizeof r.name, info.author);
    DbcsCopy(r.comment, sizeof r.comment, info.remarks);
    r.extentX = info.drawingWidth, r.extentY = info.drawingHeight;
    r.paperWidth = info.paperWidthMm, r.paperHeight = info.paperHeightMm;
    r.drawingScale = info.scale;
    r.paperCode = info.paperCode;
}

void TextsIntoInfo(const PageDialogRecord& r, DbInfoRecord& info, bool withFile)
{
    if (withFile) {
        DbcsCopy(info.fileName, sizeof info.fileName, r.fileName);
        DbcsCopy(info.fileType, sizeof info.fileType, r.fileType);
    }
    DbcsCopy(info.title, sizeof info.title, r.title);
    DbcsCopy(info.author, sizeof info.author, r.name);
    DbcsCopy(info.remarks, sizeof info.remarks, r.comment);
    info.drawingWidth = r.extentX, info.drawingHeight = r.extentY;
    info.paperWidthMm = r.paperWidth, info.paperHeightMm = r.paperHeight;
    info.scale = r.drawingScale;
    info.paperCode = r.paperCode;
}

PageDialogRecord RecordOfPage(EngineDbRecord* db, const EnginePageRecord& page)
{
    PageDialogRecord r;
    r.page = page.pageNumber;
    r.parent = page.parentPage;
    r.scaleX = page.placement.scaleX;
    r.scaleY = page.placement.separateY ? page.placement.scaleY : page.placement.scaleX;
    r.angle = page.placement.angle;
    r.word4 = page.geodeticNote;
    std::memcpy(r.origin, &page.placement.originX, sizeof r.origin);
    TextsFromInfo(r, page.info.record);
    if (page.externalReference) r.flags |= kPageExternal;
    if (PageMaskBit(db->pageState.displayMask, r.page)) r.flags |= kPageShown;
    if (PageMaskBit(db->pageState.detectMask, r.page)) r.flags |= kPageDetectable;
    return r;
}

const PageDialogRecord* RecordOfPageNumber(int page)
{
    for (const PageDialogRecord& r : g_records)
        if (r.page == page) return &r;
    return nullptr;
}

void SetPlacement(PlacementTransform& t, const PageDialogRecord& r)
{
    t.scaleX = r.scaleX;
    t.scaleY = r.scaleY;
    t.angle = r.angle;
    t.cosAngle = std::cos(r.angle);
    t.sinAngle = std::sin(r.angle);
    t.reserved24 = t.reserved32 = 0;
    std::memcpy(&t.originX, r.origin, sizeof r.origin);
}

}  // namespace

double PageDialogRecord::OriginX() const
{
    double x;
    std::memcpy(&x, origin, sizeof x);
    return x;
}

double PageDialogRecord::OriginY() const
{
    double y;
    std::memcpy(&y, origin + 2, sizeof y);
    return y;
}

void PageDialogRecord::SetOrigin(double x, double y)
{
    std::memcpy(origin, &x, sizeof x);
    std::memcpy(origin + 2, &y, sizeof y);
}

PageDialogRecord& GetPageDialogRecord(int key)
{
    if (key < 0) key = 0;
    while (static_cast<int>(g_records.size()) <= key) {
        g_records.emplace_back();
        g_records.back().key = static_cast<int>(g_records.size()) - 1;
    }
    return g_records[key];
}

int PageDialogRecordCount() { return static_cast<int>(g_records.size()); }

void FreePageDialogRecords() { g_records.clear(); }

void RemovePageDialogRecord(int key)
{
    if (key < 0 || key >= PageDialogRecordCount()) return;
    g_records.erase(g_records.begin() + key);
    for (int i = key; i < PageDialogRecordCount(); ++i) g_records[i].key = i;
}

int FindFreePageNumber()
{
    for (int page = 1; page <= kMaxPage; ++page)
        if (RecordOfPageNumber(page) == nullptr) return page;
    return 0;
}

int ComputeRecordDepths(bool store)
{
    int deepest = 0;
    for (PageDialogRecord& r : g_records) {
        int depth = 0;
        // Parent steps to page 0; a chain longer than the pages is a loop and stops.
        for (int page = r.page; page != 0 && depth <= kMaxPage; ++depth) {
            const PageDialogRecord* own = RecordOfPageNumber(page);
            if (own == nullptr) break;
            page = own->parent;
        }
        if (store) r.depth = depth;
        if (depth > deepest) deepest = depth;
    }
    return deepest;
}

int FillPageDialogRecords(bool withPageZero)
{
    FreePageDialogRecords();
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr) return 0;
    if (withPageZero) {
        PageDialogRecord& r = GetPageDialogRecord(0);
        DbInfoRecord info;
        ZUriGetDBInfo(&info, db);
        TextsFromInfo(r, info);
        if (PageMaskBit(db->pageState.displayMask, 0)) r.flags |= kPageShown;
        if (PageMaskBit(db->pageState.detectMask, 0)) r.flags |= kPageDetectable;
    }
    auto page = std::make_unique<EnginePageRecord>();
    for (int number = ZUriGetNextPage(0, page.get(), db); number > 0; number = ZUriGetNextPage(number, page.get(), db)) {
        const int key = PageDialogRecordCount();
        PageDialogRecord& r = GetPageDialogRecord(key);
        r = RecordOfPage(db, *page);
        r.key = key;
        // The manager lists an external reference by its file, another page by its title.
        if (!withPageZero && !(r.flags & kPageExternal)) DbcsCopy(r.fileName, sizeof r.fileName, r.title);
    }
    ComputeRecordDepths(true);
    return PageDialogRecordCount();
}

int WritePageDialogRecord(const PageDialogRecord& r)
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr) return 0;
    if (r.page == 0) {
        DbInfoRecord info;
        if (!ZUriGetDBInfo(&info, db)) return 0;
        TextsIntoInfo(r, info, false);
        return ZUriSetDBInfo(&info, db) ? 1 : 0;
    }
    auto page = std::make_unique<EnginePageRecord>();
    if (!ZUriGetPage(r.page, page.get(), db)) return 0;
    SetPlacement(page->placement, r);
    // The composed placement relative to page 0: scales multiply, angles and origins add.
    PlacementTransform& c = page->composed;
    c = page->placement;
    int guard = 0;
    for (const PageDialogRecord* up = RecordOfPageNumber(r.parent); up != nullptr && up->page != 0 && guard <= kMaxPage;
         up = RecordOfPageNumber(up->parent), ++guard) {
        c.scaleX *= up->scaleX;
        c.angle += up->angle;
        c.originX += up->OriginX();
        c.originY += up->OriginY();
    }
    c.cosAngle = std::cos(c.angle);
    c.sinAngle = std::sin(c.angle);
    TextsIntoInfo(r, page->info.record, false);
    return ZUriChgPage(r.page, page.get(), db) ? 1 : 0;
}

int CreatePageFromRecord(HWND owner, const PageDialogRecord& r)
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr || r.page < 1 || r.page > kMaxPage) return 0;
    if (r.flags & kPageExternal) {
        // The file first: a page is made only for a drawing that could be loaded.
        auto loadedInfo = std::make_unique<DbInfoRecord>();
        auto loadedLayers = std::make_unique<LayerInfoBlock>();
        std::memset(loadedInfo.get(), 0, sizeof *loadedInfo);
        std::memset(loadedLayers.get(), 0, sizeof *loadedLayers);
        if (!LoadFileIntoPasteDb(owner, r.fileName, loadedInfo.get(), loadedLayers.get())) return 0;
        if (!AddPage(r.page, r.parent)) return 0;
        auto page = std::make_unique<EnginePageRecord>();
        ZUriGetPage(r.page, page.get(), db);
        SetPlacement(page->placement, r);
        page->composed = page->placement;
        page->externalReference = 1;
        ZUriChgPage(r.page, page.get(), db);
        DbInfoRecord info;
        ZUriGetDBInfo(&info, db);
        DbcsCopy(info.fileName, sizeof info.fileName, r.fileName);
        info.drawingWidth = loadedInfo->drawingWidth, info.drawingHeight = loadedInfo->drawingHeight;
        info.paperWidthMm = loadedInfo->paperWidthMm, info.paperHeightMm = loadedInfo->paperHeightMm;
        info.scale = loadedInfo->scale;
        info.paperCode = loadedInfo->paperCode;
        SetPageDbInfo(r.page, &info);
        ZUriSetLayerInfo(r.page, loadedLayers.get(), db);
        // The loaded elements onto the page, unchanged in place.
        ZUriSetTransFg(0);
        ElementRecord element;
        for (void* e = ZUriGetNextMark(nullptr, GetPasteMark()); e != nullptr; e = ZUriGetNextMark(e, GetPasteMark())) {
            if (ZUriReadElement(e, 0, &element, GetPasteDb()) == nullptr || IsCompositeType(element.type) ||
                element.type == kElementFigureReference)
                continue;
            element.page = r.page;
            ZUriAppendElement(&element, db);
        }
        ZUriSetTransFg(1);
        GetHostServiceSite().SetDrawingModified(GetHostServiceSite().ActiveView());
        return 1;
    }
    if (!AddPage(r.page, 0)) return 0;
    DbInfoRecord info;
    if (!GetPageDbInfo(r.page, &info)) return 0;
    info.fileName[0] = '\0';
    TextsIntoInfo(r, info, false);
    DbcsCopy(info.fileType, sizeof info.fileType, r.fileType);
    SetPageDbInfo(r.page, &info);
    // The new page follows page 0's layers.
    auto* page0 = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, db));
    auto* own = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(r.page, db));
    if (page0 != nullptr && own != nullptr) {
        std::memcpy(own->layers.displayMask, page0->layers.displayMask, sizeof own->layers.displayMask);
        std::memcpy(own->layers.detectMask, page0->layers.detectMask, sizeof own->layers.detectMask);
        std::memcpy(own->layers.groupNames, page0->layers.groupNames, sizeof own->layers.groupNames);
        for (int n = 0; n < kLayerCount; ++n)
            if (page0->layers.names[n] != nullptr) ZUriSetLayerName(r.page, n, page0->layers.names[n], db);
    }
    return 1;
}

int AddExternalReferencePage(const char* path)
{
    if (path == nullptr || PageDialogRecordCount() > kMaxPageDialogRecords) return 0;
    const int page = FindFreePageNumber();
    if (page == 0) return 0;
    PageDialogRecord& r = GetPageDialogRecord(PageDialogRecordCount());
    DbcsCopy(r.fileName, sizeof r.fileName, path);
    r.flags = kPageExternal;
    r.page = page;
    r.state = 1;
    ComputeRecordDepths(true);
    return 1;
}

int RemovePageRecordWithSubtree(int key)
{
    if (key < 0 || key >= PageDialogRecordCount()) return 0;
    ComputeRecordDepths(true);
    const int depth = g_records[key].depth;
    int end = key + 1;
    while (end < PageDialogRecordCount() && g_records[end].depth > depth) ++end;
    const int removed = end - key;
    for (int i = 0; i < removed; ++i) RemovePageDialogRecord(key);
    ComputeRecordDepths(true);
    return removed;
}

int ApplyPageManagerRecords(HWND owner)
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr) return 0;
    // Pages whose records were removed go, with their elements.
    std::vector<int> gone;
    for (int page = 1; page <= kMaxPage; ++page)
        if (ZUriChkPage(page, db) && RecordOfPageNumber(page) == nullptr) gone.push_back(page);
    for (int page : gone) DeletePage(page, 2);
    for (PageDialogRecord& r : g_records)
        if (r.state == 1 && ZUriChkPage(r.page, db)) DeletePage(r.page, 0);
    for (PageDialogRecord& r : g_records) {
        if (r.state != 1) continue;
        CreatePageFromRecord(owner, r);
        r.state = -1;
    }
    if (HWND main = GetHostServiceSite().MainWindow()) SendMessageA(main, WM_CAD_REDRAW_VIEW, 0, 0);
    GetHostServiceSite().ClearUndo(db);
    return 1;
}
