#include "drawing/LayerPageTree.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "DravikDb.h"
#include "commands/CommandHost.h"
#include "commands/ElementServices.h"
#include "commands/HostServiceSite.h"
#include "core/Dbcs.h"
#include "drawing/InitialLayer.h"
#include "drawing/PageOperations.h"

namespace {

EngineDbRecord* ActiveDatabase()
{
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    return block ? static_cast<EngineDbRecord*>(block->engineDb) : nullptr;
}

HWND ActiveViewWindow() { return GetHostServiceSite().ActiveView(); }

bool Bit(const uint16_t* mask, int n) { return (mask[n / 16] >> (n % 16)) & 1u; }

void SetBit(uint16_t* mask, int n, bool on)
{
    const uint16_t bit = static_cast<uint16_t>(1u << (n % 16));
    if (on)
        mask[n / 16] |= bit;
    else
        mask[n / 16] &= static_cast<uint16_t>(~bit);
}

void DefaultLayerName(char* out, int layer) { std::snprintf(out, kLayerNameSize, "レイヤ %d", layer + 1); }

// The page's caption: its title, else its remarks, else its file name.
void PageCaption(const DbInfoRecord& info, char* out)
{
    const char* text = info.title[0] ? info.title : info.remarks[0] ? info.remarks : info.fileName;
    DbcsCopy(out, kLayerNameSize, text);
}

LayerTreeLayerInfo NewLayer(int number, const char* name)
{
    LayerTreeLayerInfo layer;
    layer.number = number;
    layer.display = layer.detect = 1;
    DbcsCopy(layer.name, sizeof layer.name, name ? name : "");
    return layer;
}

// Groups of one page from the listed layers, in order of first appearance of their names.
void BuildGroups(LayerTreeInfo& tree, LayerTreePageInfo& page, const DbInfoBlock& info, const uint16_t* usage,
                 bool currentPage)
{
    struct Listed {
        int number, display, detect, used, lock;
        char name[kLayerNameSize];
    };
    std::vector<Listed> listed;
    for (int n = 0; n < kLayerCount; ++n) {
        Listed l;
        l.number = n;
        if (GetLayerState(info, n, usage, &l.display, &l.detect, &l.used, &l.lock, l.name)) listed.push_back(l);
    }
    std::vector<std::string> names;
    for (const Listed& l : listed) {
        const std::string group(info.layers.groupNames[l.number], strnlen(info.layers.groupNames[l.number], 10));
        bool seen = false;
        for (const std::string& g : names) seen = seen || g == group;
        if (!seen) names.push_back(group);
    }
    for (const std::string& groupName : names) {
        LayerTreeGroupInfo group;
        group.itemId = tree.idCounter++;
        DbcsCopy(group.name, sizeof group.name, groupName.c_str());
        for (const Listed& l : listed) {
            if (groupName != std::string(info.layers.groupNames[l.number],
                                         strnlen(info.layers.groupNames[l.number], 10)))
                continue;
            LayerTreeLayerInfo layer;
            layer.number = l.number;
            layer.itemId = tree.idCounter++;
            layer.used = l.used, layer.display = l.display, layer.detect = l.detect, layer.lock = l.lock;
            std::memcpy(layer.name, l.name, sizeof layer.name);
            if (currentPage && l.number == tree.currentLayer) tree.currentItemId = layer.itemId;
            group.layers.push_back(layer);
        }
        group.firstLayer = group.layers.front().number;
        page.groups.push_back(std::move(group));
    }
}

}  // namespace

// ---- building ----

int GetLayerState(const DbInfoBlock& info, int layer, const uint16_t* usage, int* display, int* detect, int* used,
                  int* lock, char* name)
{
    if (!IsLayerNumber(layer)) return 0;
    const LayerInfoBlock& b = info.layers;
    *display = Bit(b.displayMask, layer);
    *detect = Bit(b.detectMask, layer);
    *lock = Bit(b.lockMask, layer);
    *used = usage != nullptr && Bit(usage, layer);
    const char* own = b.names[layer];
    DbcsCopy(name, kLayerNameSize, own ? own : "");
    if (name[0] != '\0') return 1;
    if (!*used) return 0;
    DefaultLayerName(name, layer);
    return 1;
}

void FreeLayerPageTree(LayerTreeInfo& tree) { tree = LayerTreeInfo(); }

void BuildLayerPageTree(LayerTreeInfo& tree)
{
    FreeLayerPageTree(tree);
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr) return;
    tree.currentPage = db->pageState.currentPage;
    auto record = std::make_unique<EnginePageRecord>();
    int page = 0;
    do {
        auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
        if (info == nullptr) break;
        LayerTreePageInfo p;
        p.page = page;
        p.itemId = tree.idCounter++;
        p.display = PageMaskBit(db->pageState.displayMask, page);
        p.detect = PageMaskBit(db->pageState.detectMask, page);
        p.independentLayers = page == 0 ? 0 : record->externalReference;
        PageCaption(info->record, p.name);
        const bool current = page == tree.currentPage;
        if (current) {
            // A current layer read from a file may be anything: outside the layers it becomes
            // the layer a freshly opened drawing would start on.
            tree.currentLayer = info->layers.currentLayer;
            if (!IsLayerNumber(tree.currentLayer)) tree.currentLayer = ChooseInitialCurrentLayer(db);
        }
        uint16_t usage[kLayerMaskWords] = {};
        CollectPageLayerUsage(nullptr, usage, page);
        BuildGroups(tree, p, *info, usage, current);
        if (p.groups.empty()) {
            LayerTreeGroupInfo group;
            group.itemId = tree.idCounter++;
            LayerTreeLayerInfo layer;
            int display, detect, used, lock;
            GetLayerState(*info, 0, usage, &display, &detect, &used, &lock, layer.name);
            layer.display = display, layer.detect = detect, layer.used = used, layer.lock = lock;
            layer.itemId = tree.idCounter++;
            DefaultLayerName(layer.name, 0);
            if (current) {
                tree.currentItemId = layer.itemId;
                ZUriSetLayerName(page, 0, layer.name, db);
            }
            group.layers.push_back(layer);
            p.groups.push_back(std::move(group));
        }
        tree.pages.push_back(std::move(p));
        page = ZUriGetNextPage(page, record.get(), db);
    } while (page > 0);
}

void BuildLayerPageTreeFromTable(LayerTreeInfo& tree, const LayerInfoBlock& table)
{
    FreeLayerPageTree(tree);
    EngineDbRecord* db = ActiveDatabase();
    LayerTreePageInfo p;
    p.display = 1;
    if (db != nullptr) {
        if (auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, db))) {
            PageCaption(info->record, p.name);
            tree.currentLayer = info->layers.currentLayer;
        }
    }
    std::vector<std::string> names;
    for (int n = 0; n < kLayerCount; ++n) {
        if (table.names[n] == nullptr || table.names[n][0] == '\0') continue;
        const std::string group(table.groupNames[n], strnlen(table.groupNames[n], 10));
        LayerTreeGroupInfo* target = nullptr;
        for (size_t g = 0; g < names.size(); ++g)
            if (names[g] == group) target = &p.groups[g];
        if (target == nullptr) {
            names.push_back(group);
            p.groups.emplace_back();
            target = &p.groups.back();
            DbcsCopy(target->name, sizeof target->name, group.c_str());
            target->firstLayer = n;
        }
        LayerTreeLayerInfo layer = NewLayer(n, table.names[n]);
        layer.used = 1;
        target->layers.push_back(layer);
    }
    if (p.groups.empty()) p.groups.emplace_back();
    // Item ids number the rows as a built tree's do: the page, then each group and its layers.
    p.itemId = tree.idCounter++;
    for (LayerTreeGroupInfo& group : p.groups) {
        group.itemId = tree.idCounter++;
        for (LayerTreeLayerInfo& layer : group.layers) {
            layer.itemId = tree.idCounter++;
            if (layer.number == tree.currentLayer) tree.currentItemId = layer.itemId;
        }
    }
    tree.pages.push_back(std::move(p));
}

void EnsureLayerPageTree(LayerTreeInfo& tree)
{
    if (tree.pages.empty()) return;
    for (const LayerTreePageInfo& page : tree.pages) {
        bool incomplete = page.groups.empty();
        for (const LayerTreeGroupInfo& group : page.groups) incomplete = incomplete || group.layers.empty();
        if (incomplete) {
            BuildLayerPageTree(tree);
            return;
        }
    }
}

// ---- checked access ----

void CLayerPageList::Report(int kind)
{
    static const char* const texts[] = {"", "レイヤ情報に問題が発生しました。(ページ)",
                                        "レイヤ情報に問題が発生しました。(グループ)",
                                        "レイヤ情報に問題が発生しました。(レイヤ)"};
    m_lastError = kind;
    GetCommandHost().ShowMessageBox(m_owner, texts[kind], "異常", MB_OK | MB_ICONWARNING);
}

LayerTreePageInfo* CLayerPageList::Page(int row)
{
    if (m_tree == nullptr || row < 0 || row >= m_tree->PageCount()) {
        Report(1);
        return nullptr;
    }
    return &m_tree->pages[row];
}

LayerTreeGroupInfo* CLayerPageList::Group(int row, int group)
{
    LayerTreePageInfo* page = Page(row);
    if (page == nullptr) return nullptr;
    if (group < 0 || group >= static_cast<int>(page->groups.size())) {
        Report(2);
        return nullptr;
    }
    return &page->groups[group];
}

LayerTreeLayerInfo* CLayerPageList::Layer(int row, int group, int layer)
{
    LayerTreeGroupInfo* g = Group(row, group);
    if (g == nullptr) return nullptr;
    if (layer < 0 || layer >= static_cast<int>(g->layers.size())) {
        Report(3);
        return nullptr;
    }
    return &g->layers[layer];
}

int CLayerPageList::RowOfPage(int page) const
{
    if (m_tree == nullptr) return 0;
    for (int row = 0; row < m_tree->PageCount(); ++row)
        if (m_tree->pages[row].page == page) return row;
    return 0;
}

int CLayerPageList::FindItem(HTREEITEM item, int* row, int* group, int* layer) const
{
    if (m_tree == nullptr || item == nullptr) return kLayerItemNone;
    for (int r = 0; r < m_tree->PageCount(); ++r) {
        const LayerTreePageInfo& p = m_tree->pages[r];
        if (p.item == item) {
            if (row) *row = r;
            return kLayerItemPage;
        }
        for (int g = 0; g < static_cast<int>(p.groups.size()); ++g) {
            const LayerTreeGroupInfo& gr = p.groups[g];
            if (gr.item == item) {
                if (row) *row = r;
                if (group) *group = g;
                return kLayerItemGroup;
            }
            for (int l = 0; l < static_cast<int>(gr.layers.size()); ++l) {
                if (gr.layers[l].item != item) continue;
                if (row) *row = r;
                if (group) *group = g;
                if (layer) *layer = l;
                return kLayerItemLayer;
            }
        }
    }
    return kLayerItemNone;
}

int CLayerPageList::GetLayerTreeItemLevel(HTREEITEM item) const { return FindItem(item, nullptr, nullptr, nullptr); }

int CLayerPageList::FindLayer(int row, int number, int* group, int* layer)
{
    LayerTreePageInfo* page = Page(row);
    if (page == nullptr) return 0;
    int found = 0;
    for (int g = 0; g < static_cast<int>(page->groups.size()); ++g) {
        for (int l = 0; l < static_cast<int>(page->groups[g].layers.size()); ++l) {
            if (page->groups[g].layers[l].number != number) continue;
            if (group) *group = g;
            if (layer) *layer = l;
            found = 1;
        }
    }
    return found;
}

int CLayerPageList::HasLayer(int row, int number) { return FindLayer(row, number, nullptr, nullptr); }

int CLayerPageList::AllPagesShareLayout() const
{
    if (m_tree == nullptr || m_tree->PageCount() <= 1) return 1;
    const LayerTreePageInfo& first = m_tree->pages[0];
    for (const LayerTreePageInfo& page : m_tree->pages) {
        if (page.groups.size() != first.groups.size()) return 0;
        for (size_t g = 0; g < page.groups.size(); ++g) {
            const auto& a = page.groups[g].layers;
            const auto& b = first.groups[g].layers;
            if (a.size() != b.size()) return 0;
            for (size_t l = 0; l < a.size(); ++l)
                if (a[l].number != b[l].number) return 0;
        }
    }
    return 1;
}

std::vector<int> CLayerPageList::RowsSharingLayoutWith(int row) const
{
    std::vector<int> rows;
    if (m_tree == nullptr || row < 0 || row >= m_tree->PageCount()) return rows;
    if (!FollowsPageZero(m_tree->pages[row]) || !AllPagesShareLayout()) return {row};
    for (int r = 0; r < m_tree->PageCount(); ++r)
        if (FollowsPageZero(m_tree->pages[r])) rows.push_back(r);
    return rows;
}

int CLayerPageList::RowOfCurrentItem() const
{
    if (m_tree == nullptr) return 0;
    for (int r = 0; r < m_tree->PageCount(); ++r)
        for (const LayerTreeGroupInfo& g : m_tree->pages[r].groups)
            for (const LayerTreeLayerInfo& l : g.layers)
                if (l.itemId == m_tree->currentItemId) return r;
    return 0;
}

int CLayerPageList::GroupOfCurrentItem() const
{
    if (m_tree == nullptr) return 0;
    for (const LayerTreePageInfo& p : m_tree->pages)
        for (int g = 0; g < static_cast<int>(p.groups.size()); ++g)
            for (const LayerTreeLayerInfo& l : p.groups[g].layers)
                if (l.itemId == m_tree->currentItemId) return g;
    return 0;
}

int CLayerPageList::WriteLayerFlags(int row, int group, int layer, int mode)
{
    LayerTreePageInfo* page = Page(row);
    LayerTreeLayerInfo* record = page ? Layer(row, group, layer) : nullptr;
    EngineDbRecord* db = ActiveDatabase();
    if (record == nullptr || db == nullptr) return 0;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page->page, db));
    if (info == nullptr) return 0;
    LayerInfoBlock& b = info->layers;
    const int n = record->number;
    if (mode == -1) {
        SetBit(b.displayMask, n, record->display != 0);
        SetBit(b.detectMask, n, record->detect != 0);
        SetBit(b.lockMask, n, record->lock != 0);
    } else {
        SetBit(b.displayMask, n, mode == 1);
        SetBit(b.detectMask, n, mode == 1);
    }
    return 1;
}

int CLayerPageList::SaveLayerBlocks()
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr || m_tree == nullptr) return 0;
    for (const LayerTreePageInfo& page : m_tree->pages) {
        LayerInfoBlock block;
        if (!ZUriGetLayerInfo(page.page, &block, db)) std::memset(&block, 0, sizeof block);
        m_saved.push_back(block);
    }
    return 1;
}

int CLayerPageList::RestoreLayerBlocks()
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr || m_tree == nullptr || static_cast<int>(m_saved.size()) != m_tree->PageCount()) return 0;
    for (int row = 0; row < m_tree->PageCount(); ++row) {
        auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(m_tree->pages[row].page, db));
        if (info == nullptr) continue;
        // The masks, current layer and group slots go back as they were; the names through the
        // engine, whose strings the saved pointers may no longer be.
        LayerInfoBlock& live = info->layers;
        const LayerInfoBlock& saved = m_saved[row];
        live.currentLayer = saved.currentLayer;
        std::memcpy(live.displayMask, saved.displayMask, sizeof live.displayMask);
        std::memcpy(live.detectMask, saved.detectMask, sizeof live.detectMask);
        std::memcpy(live.lockMask, saved.lockMask, sizeof live.lockMask);
        std::memcpy(live.groupNames, saved.groupNames, sizeof live.groupNames);
    }
    return 1;
}

// ---- editing ----

namespace {

void Refill(CLayerPageList& list, int row, int group, int layer)
{
    if (list.refill && row == list.shownRow) list.refill(row, group, layer);
}

int FindGroupNamed(const LayerTreePageInfo& page, const char* name)
{
    for (int g = 0; g < static_cast<int>(page.groups.size()); ++g)
        if (std::strcmp(page.groups[g].name, name) == 0) return g;
    return -1;
}

// Inserts into one page; the group and layer index of the new record through the outs.
void InsertIntoPage(LayerTreePageInfo& page, int groupIndex, int number, const char* group, const char* name,
                    int* outGroup, int* outLayer)
{
    LayerTreeLayerInfo layer = NewLayer(number, name);
    if (groupIndex >= 0 && groupIndex < static_cast<int>(page.groups.size())) {
        LayerTreeGroupInfo& g = page.groups[groupIndex];
        size_t at = 0;
        while (at < g.layers.size() && g.layers[at].number <= number) ++at;
        g.layers.insert(g.layers.begin() + at, layer);
        g.firstLayer = g.layers.front().number;
        g.expanded = 1;
        *outGroup = groupIndex;
        *outLayer = static_cast<int>(at);
        return;
    }
    LayerTreeGroupInfo g;
    DbcsCopy(g.name, sizeof g.name, group);
    g.firstLayer = number;
    g.expanded = 1;
    g.layers.push_back(layer);
    size_t at = 0;
    while (at < page.groups.size() && page.groups[at].firstLayer <= number) ++at;
    page.groups.insert(page.groups.begin() + at, std::move(g));
    page.expanded = 1;
    *outGroup = static_cast<int>(at);
    *outLayer = 0;
}

}  // namespace

int InsertLayerIntoTree(CLayerPageList& list, int row, int number, const char* group, const char* name, bool refresh,
                        bool allPages)
{
    LayerTreePageInfo* page = list.Page(row);
    if (page == nullptr || !IsLayerNumber(number)) return 0;
    char groupName[kGroupNameSize];
    DbcsCopy(groupName, sizeof groupName, group ? group : "");
    const int groupIndex = FindGroupNamed(*page, groupName);
    LayerTreeInfo& tree = *list.Tree();
    const std::vector<int> rows = allPages ? list.RowsSharingLayoutWith(row) : std::vector<int>{row};
    // A number already on one of the pages would be listed twice.
    for (int r : rows)
        if (list.HasLayer(r, number)) return 0;
    int newGroup = 0, newLayer = 0;
    for (int r : rows) {
        int g = 0, l = 0;
        InsertIntoPage(tree.pages[r], groupIndex, number, groupName, name, &g, &l);
        if (r == row) newGroup = g, newLayer = l;
    }
    if (refresh) Refill(list, row, newGroup, newLayer);
    return 1;
}

int RemoveLayerFromTree(CLayerPageList& list, int row, int number, bool refresh)
{
    int g = 0, l = 0;
    if (!list.FindLayer(row, number, &g, &l)) return 0;
    LayerTreePageInfo& page = list.Tree()->pages[row];
    LayerTreeGroupInfo& group = page.groups[g];
    int selectGroup = -1, selectLayer = -1;
    if (group.layers.size() == 1) {
        page.groups.erase(page.groups.begin() + g);
        page.expanded = 1;
        const int count = static_cast<int>(page.groups.size());
        if (count > 0) selectGroup = g < count ? g : count - 1;
    } else {
        group.layers.erase(group.layers.begin() + l);
        group.firstLayer = group.layers.front().number;
        const int count = static_cast<int>(group.layers.size());
        selectGroup = g;
        selectLayer = l < count ? l : count - 1;
    }
    if (refresh) Refill(list, row, selectGroup, selectLayer);
    return 1;
}

int SetLayerInTree(CLayerPageList& list, int row, int number, const char* group, const char* name, bool refresh)
{
    int g = 0, l = 0;
    if (!list.FindLayer(row, number, &g, &l)) return 0;
    char groupName[kGroupNameSize];
    DbcsCopy(groupName, sizeof groupName, group ? group : "");
    LayerTreePageInfo& page = list.Tree()->pages[row];
    LayerTreeLayerInfo& layer = page.groups[g].layers[l];
    if (std::strcmp(page.groups[g].name, groupName) == 0) {
        DbcsCopy(layer.name, sizeof layer.name, name ? name : "");
        if (row == list.shownRow && layer.item != nullptr) Refill(list, row, g, l);
        return 1;
    }
    if (page.groups.size() == 1 && page.groups[0].layers.size() == 1) {
        std::memcpy(page.groups[0].name, groupName, sizeof groupName);
        DbcsCopy(layer.name, sizeof layer.name, name ? name : "");
        if (row == list.shownRow) Refill(list, row, 0, 0);
        return 1;
    }
    const LayerTreeLayerInfo kept = layer;
    RemoveLayerFromTree(list, row, number, false);
    InsertLayerIntoTree(list, row, number, groupName, name, false, false);
    int ng = 0, nl = 0;
    if (!list.FindLayer(row, number, &ng, &nl)) return 0;
    LayerTreeLayerInfo& moved = list.Tree()->pages[row].groups[ng].layers[nl];
    moved.used = kept.used, moved.display = kept.display, moved.detect = kept.detect, moved.lock = kept.lock;
    moved.itemId = kept.itemId;
    if (refresh) Refill(list, row, ng, nl);
    return 1;
}

// ---- engine ----

int WriteLayerTreeToDb(LayerTreeInfo& tree)
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr || tree.pages.empty()) return 0;
    // Layers that had a name before: those no longer in the tree lose their elements.
    std::vector<std::vector<char>> hadName(tree.PageCount(), std::vector<char>(kLayerCount, 0));
    for (int row = 0; row < tree.PageCount(); ++row) {
        const int page = tree.pages[row].page;
        auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
        if (info == nullptr) continue;
        LayerInfoBlock& b = info->layers;
        std::memset(b.displayMask, 0xFF, sizeof b.displayMask);
        std::memset(b.detectMask, 0xFF, sizeof b.detectMask);
        std::memset(b.lockMask, 0, sizeof b.lockMask);
        for (int n = 0; n < kLayerCount; ++n) {
            if (b.names[n] == nullptr || b.names[n][0] == '\0') continue;
            ZUriSetLayerName(page, n, "", db);
            hadName[row][n] = 1;
        }
        std::memset(b.groupNames, 0, sizeof b.groupNames);
    }
    for (int row = 0; row < tree.PageCount(); ++row) {
        const LayerTreePageInfo& p = tree.pages[row];
        auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(p.page, db));
        if (info == nullptr) continue;
        LayerInfoBlock& b = info->layers;
        for (const LayerTreeGroupInfo& g : p.groups) {
            for (const LayerTreeLayerInfo& l : g.layers) {
                if (!IsLayerNumber(l.number)) continue;
                hadName[row][l.number] = 0;
                ZUriSetLayerName(p.page, l.number, l.name, db);
                std::memcpy(b.groupNames[l.number], g.name, kGroupNameSize);
                if (!l.display) SetBit(b.displayMask, l.number, false);
                if (!l.detect) SetBit(b.detectMask, l.number, false);
                if (l.lock) SetBit(b.lockMask, l.number, true);
            }
        }
    }
    if (IsPageNumber(tree.currentPage)) {
        db->pageState.currentPage = tree.currentPage;
        if (auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(tree.currentPage, db)))
            info->layers.currentLayer = tree.currentLayer;
    }
    for (const LayerTreePageInfo& p : tree.pages) {
        SetPageDisplayed(p.page, p.display ? 1 : 0);
        SetPageDetectable(p.page, p.detect ? 1 : 0);
    }
    for (int row = 0; row < tree.PageCount(); ++row)
        for (int n = 0; n < kLayerCount; ++n)
            if (hadName[row][n]) DeleteLayerElements(tree.pages[row].page, n);
    return 1;
}

int DeleteLayerElements(int page, int layer)
{
    EngineDbRecord* db = ActiveDatabase();
    if (db == nullptr) return 0;
    // The elements go through the element services' delete, which refuses a page that is not
    // editable (a reference page) before anything goes.
    void* mark = ZUriCreateMark(db);
    if (mark == nullptr) return 0;
    int marked = 0;
    ElementRecord r;
    for (void* e = ZUriReadElement(nullptr, 0, &r, db); e != nullptr;) {
        bool remove = false;
        if (IsCompositeType(r.type)) {
            ElementRecord m;
            for (void* member = ZUriReadFirstMember(e, &m, db); member != nullptr;
                 member = ZUriReadNextMember(member, &m, db)) {
                if (m.type == kElementGroup || m.type == kElementCompositeOther) continue;
                remove = m.layer == layer && m.page == page;
                break;
            }
        } else {
            // Every kind of element on the layer goes with it: images, rasters and page frames too.
            remove = r.layer == layer && r.page == page;
        }
        if (remove && ZUriSetMark(e, mark)) ++marked;
        void* next = ZUriReadElement(e, 1, nullptr, db);
        e = next != nullptr ? ZUriReadElement(next, 0, &r, db) : nullptr;
    }
    const int deleted = marked > 0 && DeleteMarkedElements(mark) == 1 ? marked : 0;
    ZUriDestroyMark(mark);
    if (deleted > 0) GetHostServiceSite().SetDrawingModified(ActiveViewWindow());
    return deleted;
}
