#include "drawing/PageOperations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "DravikDb.h"
#include "HostMessages.h"
#include "HostRecords.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "drawing/PaperTable.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

struct ActiveDrawing {
    HWND view = nullptr;
    PDBINFO* block = nullptr;
    EngineDbRecord* record = nullptr;
    explicit operator bool() const { return record != nullptr; }
};

ActiveDrawing DrawingOf(HWND view)
{
    ActiveDrawing d;
    CHostServiceSite& site = GetHostServiceSite();
    d.view = view;
    d.block = view ? site.ViewBlock(view) : nullptr;
    d.record = d.block ? static_cast<EngineDbRecord*>(d.block->engineDb) : nullptr;
    return d;
}

ActiveDrawing Active() { return DrawingOf(GetHostServiceSite().ActiveView()); }

bool English() { return GetCadSystem().config.LANGUAGE != 0; }

// A whole engine page record, read from the engine; empty when the page does not exist.
std::unique_ptr<EnginePageRecord> ReadPage(int page, void* db)
{
    if (page < 1 || page > kMaxPage) return nullptr;
    auto buffer = std::make_unique<EnginePageRecord>();
    if (!ZUriGetPage(page, buffer.get(), db)) return nullptr;
    return buffer;
}

void SetMaskBit(uint32_t* mask, int page, bool on)
{
    const uint32_t bit = 1u << (page % 32);
    if (on)
        mask[page / 32] |= bit;
    else
        mask[page / 32] &= ~bit;
}

void SetLayerBit(uint16_t* mask, int layer)
{
    if (IsLayerNumber(layer)) mask[layer / 16] |= static_cast<uint16_t>(1u << (layer % 16));
}

bool IsPlainType(int type) { return (type >= 1 && type <= 7) || type == kElementImage; }

// The page of a group: its first member that is not itself a group; -1 when there is none.
int GroupPage(void* db, void* element)
{
    ElementRecord member;
    for (void* m = ZUriReadFirstMember(element, &member, db); m != nullptr;
         m = ZUriReadNextMember(m, &member, db)) {
        if (member.type != kElementGroup && member.type != kElementComposite) return member.page;
    }
    return -1;
}

void SetViewMode(ActiveDrawing& d, int mode)
{
    d.record->transformActive = 0;
    d.block->viewMode = mode;
    d.block->viewportEditA = d.block->viewportEditB = 0;
    if (HWND main = GetHostServiceSite().MainWindow()) SendMessageA(main, WM_CAD_REDRAW_VIEW, 0, 0);
}

// Calls the action with the layer and page of every element and composite member that counts
// as a use of a layer: the plain kinds, images, rasters and page frames; composites by their
// plain members; figure references by their own layer, or by their first member when the layer
// word marks a figure group.
template <class Action>
void WalkLayerUses(void* db, Action action)
{
    ElementRecord r;
    for (void* e = ZUriReadElement(nullptr, 0, &r, db); e != nullptr; e = ZUriReadElement(e, 1, &r, db)) {
        if (IsPlainType(r.type) || r.type == kElementRaster || r.type == kElementViewport) {
            action(r.layer, r.page, r.page);
        } else if (IsCompositeType(r.type)) {
            ElementRecord m;
            for (void* member = ZUriReadFirstMember(e, &m, db); member != nullptr;
                 member = ZUriReadNextMember(member, &m, db)) {
                if (IsPlainType(m.type)) action(m.layer, m.page, r.page);
            }
        } else if (r.type == kElementFigureReference) {
            // Layer numbers above 1024 mark a figure group; 1024 itself names no layer of the
            // mask and is passed on only to be dropped by the bit setter.
            if (r.layer <= kLayerCount) {
                action(r.layer, r.page, r.page);
            } else if (ZUriGetFgroupHeaderIdx(e, db) == nullptr) {
                ElementRecord m;
                if (ZUriReadFirstMember(e, &m, db) != nullptr && IsPlainType(m.type)) action(m.layer, r.page, r.page);
            }
        }
    }
}

}  // namespace

// ---- page state and numbers ----

int CountDrawingPages(void* db)
{
    if (db == nullptr) return 0;
    int count = 1;
    for (int page = 1; page <= kMaxPage; ++page)
        if (ZUriChkPage(page, db)) ++count;
    return count;
}

int GetCurrentPage()
{
    ActiveDrawing d = Active();
    return d ? d.record->pageState.currentPage : 0;
}

int SetCurrentPage(int page)
{
    ActiveDrawing d = Active();
    if (!d || !IsPageNumber(page)) return 0;
    d.record->pageState.currentPage = page;
    return 1;
}

int GetPageState(PageStateInfo* out)
{
    ActiveDrawing d = Active();
    if (!d || out == nullptr) return 0;
    std::memcpy(out, &d.record->pageState, sizeof *out);
    return 1;
}

int SetPageState(const PageStateInfo* in)
{
    ActiveDrawing d = Active();
    if (!d || in == nullptr) return 0;
    // A current page outside the drawing's numbers would send later page calls astray.
    if (!IsPageNumber(in->currentPage)) return 0;
    std::memcpy(&d.record->pageState, in, sizeof *in);
    return 1;
}

int IsPageDisplayed(int page)
{
    ActiveDrawing d = Active();
    return d && IsPageNumber(page) && PageMaskBit(d.record->pageState.displayMask, page) ? 1 : 0;
}

int IsPageDetectable(int page)
{
    ActiveDrawing d = Active();
    return d && IsPageNumber(page) && PageMaskBit(d.record->pageState.detectMask, page) ? 1 : 0;
}

int SetPageDisplayed(int page, int on)
{
    ActiveDrawing d = Active();
    if (!d || !IsPageNumber(page)) return 0;
    SetMaskBit(d.record->pageState.displayMask, page, on == 1);
    return 1;
}

int SetPageDetectable(int page, int on)
{
    ActiveDrawing d = Active();
    if (!d || !IsPageNumber(page)) return 0;
    SetMaskBit(d.record->pageState.detectMask, page, on == 1);
    return 1;
}

// ---- page information, name and placement ----

int GetPageDbInfo(int page, DbInfoRecord* out)
{
    ActiveDrawing d = Active();
    if (!d || out == nullptr || !IsPageNumber(page)) return 0;
    if (page == 0) return ZUriGetDBInfo(out, d.record) ? 1 : 0;
    auto* own = static_cast<const EnginePageRecord*>(ZUriGetPtPage(page, d.record));
    if (own == nullptr) return 0;
    std::memcpy(out, &own->info.record, sizeof *out);
    return 1;
}

int SetPageDbInfo(int page, const DbInfoRecord* in)
{
    ActiveDrawing d = Active();
    if (!d || in == nullptr || !IsPageNumber(page)) return 0;
    if (page == 0) return ZUriSetDBInfo(in, d.record) ? 1 : 0;
    auto record = ReadPage(page, d.record);
    if (!record) return 0;
    std::memcpy(&record->info.record, in, sizeof *in);
    record->externalReference = in->fileName[0] != '\0' ? 1 : 0;
    std::memcpy(record->fileType, in->fileType, sizeof record->fileType);
    return ZUriChgPage(page, record.get(), d.record) ? 1 : 0;
}

int GetPageName(int page, char* out)
{
    DbInfoRecord info;
    if (out == nullptr || !GetPageDbInfo(page, &info)) return 0;
    std::memcpy(out, info.title, kPageNameSize);
    return 1;
}

int GetPagePlacement(int page, int32_t* words, double* scale, double* angle)
{
    ActiveDrawing d = Active();
    if (!d || words == nullptr || scale == nullptr || angle == nullptr || !IsPageNumber(page)) return 0;
    PlacementTransform placement;
    if (page == 0) {
        if (d.record->transformActive != 1) {
            std::memset(words, 0, 6 * sizeof(int32_t));
            *scale = 1.0;
            *angle = 0.0;
            return 1;
        }
        placement = d.record->placement;
    } else {
        auto record = ReadPage(page, d.record);
        if (!record) return 0;
        placement = record->placement;
    }
    std::memcpy(words, &placement.originX, 6 * sizeof(int32_t));
    *scale = placement.scaleX;
    *angle = placement.angle;
    return 1;
}

int SetPagePlacement(int page, const int32_t* words, const double* scale, const double* angle)
{
    ActiveDrawing d = Active();
    if (!d || words == nullptr || scale == nullptr || angle == nullptr || !IsPageNumber(page)) return 0;
    if (page == 0) {
        std::memcpy(&d.record->placement.originX, words, 6 * sizeof(int32_t));
        d.record->placement.scaleX = *scale;
        d.record->placement.angle = *angle;
        d.record->transformActive = 1;
        return 1;
    }
    auto record = ReadPage(page, d.record);
    if (!record) return 0;
    std::memcpy(&record->placement.originX, words, 6 * sizeof(int32_t));
    record->placement.scaleX = *scale;
    record->placement.angle = *angle;
    return ZUriChgPage(page, record.get(), d.record) ? 1 : 0;
}

int GetPageRecordFlag(int page)
{
    ActiveDrawing d = Active();
    if (!d || page == 0) return 0;
    auto record = ReadPage(page, d.record);
    return record ? record->kind : 0;
}

// ---- adding and deleting ----

int AddPage(int page, int parent)
{
    ActiveDrawing d = Active();
    if (!d || page < 1 || page > kMaxPage || !IsPageNumber(parent) || parent == page) return 0;
    if (parent != 0 && !ZUriChkPage(parent, d.record)) return 0;
    auto record = std::make_unique<EnginePageRecord>();
    std::memset(record.get(), 0, sizeof *record);
    PlacementTransform& t = record->placement;
    t.scaleX = 1.0;
    t.cosAngle = 1.0;
    record->composed = t;
    const PaperTableRow& paper = GetPaperTable()[0];
    DbInfoRecord& info = record->info.record;
    info.paperWidthMm = info.drawingWidth = paper.width;
    info.paperHeightMm = info.drawingHeight = paper.height;
    info.paperCode = paper.code;
    info.scale = 1.0;
    record->info.layers.displayMask[0] = 1;
    record->info.layers.detectMask[0] = 1;
    record->parentPage = parent;
    record->pageNumber = page;
    if (!ZUriAddPage(page, record.get(), d.record)) return 0;

    // Everything of the parent's information but its layers, which keep the new page's own.
    auto* source = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(parent, d.record));
    if (source == nullptr || !ZUriGetPage(page, record.get(), d.record)) return 0;
    auto* target = &record->info;
    std::memcpy(target, source, offsetof(DbInfoBlock, layers));
    std::memcpy(reinterpret_cast<char*>(target) + offsetof(DbInfoBlock, lineTypes),
                reinterpret_cast<const char*>(source) + offsetof(DbInfoBlock, lineTypes),
                sizeof(DbInfoBlock) - offsetof(DbInfoBlock, lineTypes));
    if (!ZUriChgPage(page, record.get(), d.record)) return 0;
    SetMaskBit(d.record->pageState.displayMask, page, true);
    SetMaskBit(d.record->pageState.detectMask, page, true);
    return 1;
}

int DeletePage(int page, int ask) { return DeletePageOf(GetHostServiceSite().ActiveView(), page, ask); }

int DeletePageOf(HWND view, int page, int ask)
{
    ActiveDrawing d = DrawingOf(view);
    if (!d) return 0;
    auto record = ReadPage(page, d.record);
    if (!record) return 0;
    const DbInfoRecord& info = record->info.record;
    if (record->changed == 1 && ask != 0 && ask != 1 && info.fileName[0] != '\0') {
        // The changes of a referenced drawing cannot be saved from here: the user decides
        // whether they may be lost with the page.
        char text[512];
        std::snprintf(text, sizeof text,
                      English() ? "[%s] has been changed.\nThe changes are not saved. Delete the page?"
                                : "[%s]は変更されています。\n変更は保存されません。ページを削除しますか？",
                      info.fileName);
        const int answer = GetCommandHost().ShowMessageBox(view, text, English() ? "Save" : "保存",
                                                           MB_OKCANCEL | MB_ICONWARNING);
        if (answer != IDOK) return 0;
    }
    void* mark = ZUriCreateMark(d.record);
    if (mark != nullptr) {
        if (MarkPageElements(mark, page) > 0) {
            std::vector<void*> marked;
            for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr; e = ZUriGetNextMark(e, mark))
                marked.push_back(e);
            for (void* e : marked) ZUriDeleteElement(e, d.record);
            GetHostServiceSite().SetDrawingModified(view);
        }
        ZUriDestroyMark(mark);
    }
    return ZUriDelPage(page, d.record) ? 1 : 0;
}

int MarkPageElements(void* mark, int page)
{
    ActiveDrawing d = Active();
    if (!d || mark == nullptr) return 0;
    int count = 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, d.record); e != nullptr;
         e = ZUriReadElement(e, 1, nullptr, d.record)) {
        if (ElementBelongsToPage(d.record, page, e) && ZUriSetMark(e, mark)) ++count;
    }
    return count;
}

int ElementBelongsToPage(void* db, int page, void* element)
{
    if (db == nullptr || element == nullptr) return 0;
    ElementRecord r;
    if (ZUriReadElement(element, 0, &r, db) == nullptr) return 0;
    if (r.type == kElementGroup || r.type == kElementComposite) return GroupPage(db, element) == page ? 1 : 0;
    return r.page == page ? 1 : 0;
}

// ---- spaces and viewports ----

int ShowPaperSpace()
{
    ActiveDrawing d = Active();
    if (!d) return 0;
    SetViewMode(d, 1);
    return 1;
}

int ShowModelSpace()
{
    ActiveDrawing d = Active();
    if (!d) return 0;
    SetViewMode(d, 0);
    return 1;
}

int EnterViewportView(void* element)
{
    ActiveDrawing d = Active();
    if (!d || element == nullptr) return 0;
    ViewportRecord frame;
    if (ZUriReadElement(element, 0, &frame, d.record) == nullptr) return 0;
    if (reinterpret_cast<const ElementRecord&>(frame).type != kElementViewport) return 0;
    CHostServiceSite& site = GetHostServiceSite();
    RECT client = {};
    GetClientRect(d.view, &client);
    const int margin = GetLocalSettingsLive().setup.bScTestBtn ? 60 : 20;
    const double width = client.right - client.left - margin;
    const double height = client.bottom - client.top - margin;
    double dx = std::fabs(frame.x1 - frame.x2), dy = std::fabs(frame.y1 - frame.y2);
    if (dx == 0 || dy == 0) dx = dy = 1;

    DbInfoRecord info;
    ZUriGetDBInfo(&info, d.record);
    PlacementTransform& t = d.record->placement;
    d.record->transformActive = 1;
    t.angle = frame.rotation;
    t.cosAngle = std::cos(frame.rotation);
    t.sinAngle = std::sin(frame.rotation);
    t.originX = -(frame.scale * frame.modelX);
    t.originY = -(frame.modelY * frame.scale);
    t.scaleX = GetCadSystem().config.VIEWSCALEFIX ? 1.0 : frame.scale;
    ViewModeInfo mode{};
    if (info.originMode) {
        t.originX += info.drawingWidth / 2;
        t.originY += info.drawingHeight / 2;
        mode.offsetX = -0.5 * info.drawingWidth;
        mode.offsetY = -0.5 * info.drawingHeight;
    }
    mode.scale = std::min(width / dx, height / dy);
    d.block->mode2 = mode;
    d.block->viewMode = 2;
    d.block->viewportEditA = d.block->viewportEditB = 0;
    site.RepaintView(d.view);
    if (d.block->severalViews) {
        HWND views[kViewTableSize];
        const int count = site.ViewsOfDrawing(d.view, views, kViewTableSize);
        for (int i = 1; i < count; ++i) {
            PDBINFO* other = site.ViewBlock(views[i]);
            if (other == nullptr || other->viewMode != 2) continue;
            other->mode2 = mode;
            other->viewportEditA = other->viewportEditB = 0;
            site.RepaintView(views[i]);
        }
    }
    return 1;
}

int FindViewportElements(void** first)
{
    ActiveDrawing d = Active();
    if (first != nullptr) *first = nullptr;
    if (!d) return 0;
    int count = 0;
    ElementRecord r;
    for (void* e = ZUriReadElement(nullptr, 0, &r, d.record); e != nullptr; e = ZUriReadElement(e, 1, &r, d.record)) {
        if (r.type != kElementViewport || r.page != 0) continue;
        if (count++ == 0 && first != nullptr) *first = e;
    }
    return count;
}

int IsDrawingViewWindow(HWND window)
{
    CHostServiceSite& site = GetHostServiceSite();
    if (window == nullptr) window = site.ActiveView();
    char className[32] = "";
    if (window == nullptr || !GetClassNameA(window, className, sizeof className)) return 0;
    if (std::strcmp(className, "RiririView") != 0) return 0;
    ActiveDrawing d = DrawingOf(window);
    if (!d) return 0;
    d.record->transformActive = d.block->viewMode != 0 && d.block->viewMode != 1 ? 1 : 0;
    return 1;
}

// ---- layers per page ----

int GetActiveLayerName(int page, int layer, char* out, char* outByte)
{
    ActiveDrawing d = Active();
    if (!d || out == nullptr || !IsPageNumber(page) || !IsLayerNumber(layer)) return 0;
    if (!ZUriGetLayerName(page, layer, 1, out, d.record)) return 0;
    if (outByte != nullptr) *outByte = 0;
    return 1;
}

int SetActiveLayerName(int page, int layer, const char* name, const char* group)
{
    ActiveDrawing d = Active();
    if (!d || !IsPageNumber(page) || !IsLayerNumber(layer)) return 0;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, d.record));
    if (info == nullptr) return 0;
    char buffer[260] = "";
    if (name != nullptr) DbcsCopy(buffer, sizeof buffer, name);
    if (!ZUriSetLayerName(page, layer, buffer, d.record)) return 0;
    if (group != nullptr) DbcsCopy(info->layers.groupNames[layer], kLayerGroupNameSize, group);
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_USER, 0, 1);
    return 1;
}

int CollectPageLayerUsage(HWND view, uint16_t* mask, int page)
{
    CHostServiceSite& site = GetHostServiceSite();
    ActiveDrawing d = DrawingOf(view ? view : site.ActiveView());
    if (!d || mask == nullptr) return 0;
    if (page == -1) page = d.record->pageState.currentPage;
    WalkLayerUses(d.record, [&](int layer, int elementPage, int) {
        if (elementPage == page) SetLayerBit(mask, layer);
    });
    return 1;
}

int CollectAllPagesLayerUsage(HWND view, uint16_t (*masks)[kLayerMaskWords])
{
    CHostServiceSite& site = GetHostServiceSite();
    ActiveDrawing d = DrawingOf(view ? view : site.ActiveView());
    if (!d) return 0;
    return CollectDrawingLayerUsage(d.record, masks);
}

int CollectDrawingLayerUsage(void* db, uint16_t (*masks)[kLayerMaskWords])
{
    if (db == nullptr || masks == nullptr) return 0;
    WalkLayerUses(db, [&](int layer, int elementPage, int ownerPage) {
        if (IsPageNumber(elementPage) && IsPageNumber(ownerPage)) SetLayerBit(masks[elementPage], layer);
    });
    return 1;
}

int HasNoLayerNames(void* db)
{
    if (db == nullptr) return 1;
    for (int page = 0; page <= kMaxPage; ++page) {
        auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
        if (info == nullptr) continue;
        for (int layer = 0; layer < kLayerCount; ++layer) {
            const char* name = info->layers.names[layer];
            if (name != nullptr && name[0] != '\0') return 0;
        }
    }
    return 1;
}

// ---- the page host service ----

LRESULT RunPageService(int subCode, LPARAM lParam)
{
    auto* p = reinterpret_cast<CmdParamRecord*>(lParam);
    const int page = p ? static_cast<int>(p->second) : -1;
    switch (subCode) {
    case CADPAGE_SET_CURRENT:
        return p ? SetCurrentPage(page) : 0;
    case CADPAGE_GET_STATE:
        return p ? GetPageState(reinterpret_cast<PageStateInfo*>(p->text)) : 0;
    case CADPAGE_SET_STATE:
        return p ? SetPageState(reinterpret_cast<const PageStateInfo*>(p->text)) : 0;
    case CADPAGE_CREATE:
        return p ? AddPage(page, static_cast<int>(p->element)) : 0;
    case CADPAGE_GET_INFO:
        return p ? GetPageDbInfo(page, reinterpret_cast<DbInfoRecord*>(p->text)) : 0;
    case CADPAGE_SET_INFO:
        return p ? SetPageDbInfo(page, reinterpret_cast<const DbInfoRecord*>(p->text)) : 0;
    case CADPAGE_PAPER_SPACE:
        return ShowPaperSpace();
    case CADPAGE_MODEL_SPACE:
        return ShowModelSpace();
    case CADPAGE_COUNT_ELEMENTS:
        return p && IsPageNumber(page) ? MarkPageElements(reinterpret_cast<void*>(p->value1), page) : 0;
    case CADPAGE_SHOW_ELEMENT:
        return p ? EnterViewportView(reinterpret_cast<void*>(p->element)) : 0;
    case CADPAGE_GET_KIND:
        return p && IsPageNumber(page) ? GetPageRecordFlag(page) : 0;
    case CADPAGE_GET_SCALE:
        return p ? GetPagePlacement(page, reinterpret_cast<int32_t*>(&p->point1), p->double1, p->double2) : 0;
    case CADPAGE_SET_SCALE:
        return p ? SetPagePlacement(page, reinterpret_cast<const int32_t*>(&p->point1), p->double1, p->double2)
                 : 0;
    case CADPAGE_FIND_FRAME: {
        if (p == nullptr) return 0;
        void* first = nullptr;
        const int count = FindViewportElements(&first);
        p->element = reinterpret_cast<INT_PTR>(first);
        return count;
    }
    case CADPAGE_TEST_VIEW_WINDOW:
        return IsDrawingViewWindow(reinterpret_cast<HWND>(lParam));
    default:
        return 0;
    }
}
