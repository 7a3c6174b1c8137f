#include "EngineDatabase.h"

#include <cstring>

namespace dravikdb {

namespace {

constexpr size_t kLayerNameLimit = 256;

bool PageExists(const Database& db, int page)
{
    if (page == 0) return true;
    return page >= 1 && page <= kMaxPage && db.pages[page] != nullptr;
}

}  // namespace

DbInfoBlock* InfoBlock(Database& db, int page)
{
    if (page == 0) return db.info.get();
    if (page < 1 || page > kMaxPage || !db.pages[page]) return nullptr;
    return &db.pages[page]->info;
}

const char* LayerName(Database& db, int page, int layer)
{
    if (!PageExists(db, page) || !IsValidLayer(layer) || !db.layerNames[page]) return nullptr;
    return db.layerNames[page]->names[layer].get();
}

bool SetLayerName(Database& db, int page, int layer, const char* name)
{
    if (!PageExists(db, page) || !IsValidLayer(layer)) return false;
    if (!db.layerNames[page]) db.layerNames[page] = std::make_unique<LayerNames>();
    auto& slot = db.layerNames[page]->names[layer];
    size_t n = SafeTextLength(name, kLayerNameLimit * 2);
    if (n == 0) {
        slot.reset();
    } else {
        std::string source(name, n);
        auto copy = std::make_unique<char[]>(kLayerNameLimit + 1);
        CopyBoundedText(copy.get(), kLayerNameLimit + 1, source.c_str());
        slot = std::move(copy);
    }
    DbInfoBlock* info = InfoBlock(db, page);
    if (info != nullptr) info->layers.names[layer] = slot.get();
    return true;
}

void RefreshLayerNamePointers(Database& db, int page)
{
    DbInfoBlock* info = InfoBlock(db, page);
    if (info == nullptr) return;
    if (!db.layerNames[page]) db.layerNames[page] = std::make_unique<LayerNames>();
    for (int i = 0; i < kLayerCount; ++i) info->layers.names[i] = db.layerNames[page]->names[i].get();
}

bool IsLayerDisplayed(Database& db, int page, int layer)
{
    DbInfoBlock* info = InfoBlock(db, page);
    if (info == nullptr) info = db.info.get();
    if (!IsValidLayer(layer)) return false;
    return (info->layers.displayMask[layer / 16] >> (layer % 16)) & 1;
}

bool IsLayerLocked(Database& db, const ElementRecord& record)
{
    DbInfoBlock* info = InfoBlock(db, record.page);
    if (info == nullptr) info = db.info.get();
    int layer = record.layer;
    if (!IsValidLayer(layer)) return false;
    return (info->layers.lockMask[layer / 16] >> (layer % 16)) & 1;
}

// Takes the names a caller's layer block points at: the engine's own strings stay as they are,
// any other pointer is read as a new name.
void ApplyLayerBlock(Database& db, int page, const LayerInfoBlock& incoming)
{
    DbInfoBlock* info = InfoBlock(db, page);
    if (info == nullptr) return;
    if (!db.layerNames[page]) db.layerNames[page] = std::make_unique<LayerNames>();
    // Read every foreign name before anything of ours changes.
    std::vector<std::pair<int, std::string>> renamed;
    for (int i = 0; i < kLayerCount; ++i) {
        const char* given = incoming.names[i];
        const char* own = db.layerNames[page]->names[i].get();
        if (given == own) continue;
        size_t n = SafeTextLength(given, kLayerNameLimit * 2);
        renamed.emplace_back(i, std::string(given != nullptr ? given : "", n));
    }
    int32_t current = info->layers.currentLayer;
    std::memcpy(&info->layers, &incoming, sizeof incoming);
    if (!IsValidLayer(info->layers.currentLayer)) info->layers.currentLayer = IsValidLayer(current) ? current : 0;
    RefreshLayerNamePointers(db, page);
    for (auto& entry : renamed) SetLayerName(db, page, entry.first, entry.second.c_str());
}

bool AddPage(Database& db, int page, const EnginePageRecord* record)
{
    if (page < 1 || page > kMaxPage || db.pages[page]) return false;
    auto created = std::make_unique<EnginePageRecord>();
    if (record != nullptr) {
        std::memcpy(created.get(), record, sizeof *created);
    } else {
        std::memset(created.get(), 0, sizeof *created);
        FillDefaultInfo(created->info);
        created->placement.scaleX = created->placement.scaleY = 1.0;
        created->placement.cosAngle = 1.0;
        created->composed = created->placement;
    }
    created->pageNumber = page;
    int parent = created->parentPage;
    if (parent == page || !PageExists(db, parent)) created->parentPage = 0;
    LayerInfoBlock incoming;
    std::memcpy(&incoming, &created->info.layers, sizeof incoming);
    for (int i = 0; i < kLayerCount; ++i) created->info.layers.names[i] = nullptr;
    db.pages[page] = std::move(created);
    db.layerNames[page] = std::make_unique<LayerNames>();
    ApplyLayerBlock(db, page, incoming);
    return true;
}

bool DeletePage(Database& db, int page)
{
    if (page < 1 || page > kMaxPage || !db.pages[page]) return false;
    int parent = db.pages[page]->parentPage;
    for (int p = 1; p <= kMaxPage; ++p) {
        if (db.pages[p] && db.pages[p]->parentPage == page) db.pages[p]->parentPage = parent;
    }
    db.pages[page].reset();
    db.layerNames[page].reset();
    return true;
}

}  // namespace dravikdb
