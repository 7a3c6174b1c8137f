#include "drawing/LayoutPageTable.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "drawing/PageOperations.h"

namespace {

LayoutPageTable& Table()
{
    static LayoutPageTable table;
    return table;
}

int LayerBit(const uint16_t* mask, int layer) { return (mask[layer / 16] >> (layer % 16)) & 1; }

int CountBits(const uint16_t* mask)
{
    int count = 0;
    for (int layer = 0; layer < kLayerCount; ++layer) count += LayerBit(mask, layer);
    return count;
}

// The entry of the view's layout page; null when none matches.
const LayoutPageEntry* LayoutPageEntryOf(const PDBINFO* block)
{
    const LayoutPageTable& t = Table();
    for (int i = 0; i < t.count; ++i)
        if (t.entries[i].page == block->layoutPage) return &t.entries[i];
    return nullptr;
}

}  // namespace

const LayoutPageTable& GetLayoutPageTable() { return Table(); }

int BuildLayoutPageTable(const PDBINFO* block)
{
    LayoutPageTable& t = Table();
    t.count = 0;
    void* db = block ? block->engineDb : nullptr;
    if (db == nullptr) return 0;
    std::vector<uint16_t> masks((kMaxPage + 1) * kLayerMaskWords, 0);
    auto* perPage = reinterpret_cast<uint16_t(*)[kLayerMaskWords]>(masks.data());
    CollectDrawingLayerUsage(db, perPage);
    for (int page = 0; page <= kMaxPage; ++page) {
        if (page != 0 && !ZUriChkPage(page, db)) continue;
        auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
        if (info == nullptr) continue;
        LayoutPageEntry& e = t.entries[t.count++];
        std::memset(&e, 0, sizeof e);
        std::memcpy(e.usedLayers, perPage[page], sizeof e.usedLayers);
        for (int layer = 0; layer < kLayerCount; ++layer) {
            const char* name = info->layers.names[layer];
            if (name != nullptr && name[0] != '\0') e.usedLayers[layer / 16] |= static_cast<uint16_t>(1u << (layer % 16));
        }
        e.page = page;
        std::snprintf(e.pageText, sizeof e.pageText, "%ld", static_cast<long>(page));
        DbcsCopyN(e.title, sizeof e.title, info->record.title, sizeof info->record.title);
    }
    return t.count;
}

int CountLayoutCellLayers(const PDBINFO* block, int entry)
{
    const LayoutPageTable& t = Table();
    if (block == nullptr || block->pageLayout != 2 || entry < 0 || entry >= t.count) return 0;
    return CountBits(t.entries[entry].usedLayers);
}

int GetLayoutCellLayer(const PDBINFO* block, int n)
{
    if (block == nullptr || block->pageLayout != 2 || Table().count == 0 || n < 0) return -1;
    const LayoutPageEntry* e = LayoutPageEntryOf(block);
    if (e == nullptr) return -1;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        if (!LayerBit(e->usedLayers, layer)) continue;
        if (n-- == 0) return layer;
    }
    return -1;
}

int IsLayoutCellValid(const PDBINFO* block, int n)
{
    if (block == nullptr) return 0;
    if (block->pageLayout == 1) return n >= 0 && n < Table().count ? 1 : 0;
    if (block->pageLayout == 2) {
        const LayoutPageEntry* e = LayoutPageEntryOf(block);
        return e != nullptr && n >= 0 && n < CountBits(e->usedLayers) ? 1 : 0;
    }
    return 1;
}

void GetLayoutCellCaption(const PDBINFO* block, int n, char* out, size_t size)
{
    if (out == nullptr || size == 0) return;
    out[0] = '\0';
    if (block == nullptr) return;
    const LayoutPageTable& t = Table();
    if (block->pageLayout == 1) {
        if (n >= 0 && n < t.count) std::snprintf(out, size, " %s ", t.entries[n].title);
        return;
    }
    if (block->pageLayout != 2) return;
    const int layer = GetLayoutCellLayer(block, n);
    if (layer < 0) return;
    char name[260] = "";
    if (block->engineDb != nullptr) ZUriGetLayerName(block->layoutPage, layer, 1, name, block->engineDb);
    if (name[0] != '\0') {
        DbcsCopy(out, size, name);
    } else {
        const char* format = GetCadSystem().config.LANGUAGE != 0 ? "Layer %ld" : "ﾚｲﾔ %ld";
        std::snprintf(out, size, format, static_cast<long>(layer) + 1);
    }
}

int GetLayoutCellPage(const PDBINFO* block, int n)
{
    const LayoutPageTable& t = Table();
    if (block == nullptr || n < 0 || n >= t.count) return 0;
    return t.entries[n].page;
}
