// Pages 1..256 beside page 0, the page tree, and the layers of each page.
#include "EngineCalls.h"

#include <cstring>
#include "MemoryProbe.h"

using namespace dravikdb;

namespace {

bool Exists(Database& db, int page)
{
    return page == 0 || (page >= 1 && page <= kMaxPage && db.pages[page] != nullptr);
}

void CopyPageOut(Database& db, int page, void* out)
{
    if (out == nullptr || page < 1 || page > kMaxPage || !db.pages[page]) return;
    db.pages[page]->info.elementCount = ElementCount(db);
    std::memcpy(out, db.pages[page].get(), sizeof(EnginePageRecord));
}

int ParentOf(Database& db, int page)
{
    if (page < 1 || page > kMaxPage || !db.pages[page]) return -1;
    int parent = db.pages[page]->parentPage;
    return Exists(db, parent) && parent != page ? parent : 0;
}

// Children of a page in number order, after `after` (0: from the first).
int NextChild(Database& db, int parent, int after)
{
    for (int p = after + 1; p <= kMaxPage; ++p) {
        if (db.pages[p] && ParentOf(db, p) == parent) return p;
    }
    return 0;
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriChkPage(int page, void* db)
{
    Database* d = Resolve(db);
    return d != nullptr && Exists(*d, page) ? 1 : 0;
}

DRAVIKDB_API int WINAPI ZUriGetPage(int page, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || out == nullptr || page < 1 || page > kMaxPage || !d->pages[page]) return 0;
    CopyPageOut(*d, page, out);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriChgPage(int page, const void* record, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || record == nullptr || page < 1 || page > kMaxPage || !d->pages[page]) return 0;
    if (IsBadReadMemory(record, sizeof(EnginePageRecord))) return 0;
    return Guarded(0, [&] {
        auto copy = std::make_unique<EnginePageRecord>();
        std::memcpy(copy.get(), record, sizeof *copy);
        EnginePageRecord& target = *d->pages[page];
        LayerInfoBlock layers;
        std::memcpy(&layers, &copy->info.layers, sizeof layers);
        int parent = copy->parentPage;
        std::memcpy(&target, copy.get(), sizeof target);
        target.pageNumber = page;
        // A parent that does not exist, or one below the page itself, would break the tree.
        bool cycle = false;
        for (int p = parent, guard = 0; p != 0 && guard <= kMaxPage; ++guard) {
            if (p == page) {
                cycle = true;
                break;
            }
            p = ParentOf(*d, p);
            if (p < 0) break;
        }
        if (!Exists(*d, parent) || parent == page || cycle) target.parentPage = 0;
        RefreshLayerNamePointers(*d, page);
        ApplyLayerBlock(*d, page, layers);
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriAddPage(int page, const void* record, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    if (record != nullptr && IsBadReadMemory(record, sizeof(EnginePageRecord))) return 0;
    return Guarded(0, [&] {
        return AddPage(*d, page, static_cast<const EnginePageRecord*>(record)) ? 1 : 0;
    });
}

DRAVIKDB_API int WINAPI ZUriDelPage(int page, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    return DeletePage(*d, page) ? 1 : 0;
}

DRAVIKDB_API int WINAPI ZUriGetNextPage(int page, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || page < 0 || page >= kMaxPage) return 0;
    for (int p = page + 1; p <= kMaxPage; ++p) {
        if (d->pages[p]) {
            CopyPageOut(*d, p, out);
            return p;
        }
    }
    return 0;
}

DRAVIKDB_API int WINAPI ZUriGetDownNextPage(int page, void* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || !Exists(*d, page)) return 0;
    // Depth first: the first child, else the next sibling of the page or of an ancestor.
    int next = NextChild(*d, page, 0);
    int current = page;
    int guard = 0;
    while (next == 0 && current != 0 && guard++ <= kMaxPage) {
        int parent = ParentOf(*d, current);
        if (parent < 0) break;
        next = NextChild(*d, parent, current);
        current = parent;
    }
    if (next != 0) CopyPageOut(*d, next, out);
    return next;
}

DRAVIKDB_API void* WINAPI ZUriGetPtPage(int page, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || page < 1 || page > kMaxPage || !d->pages[page]) return nullptr;
    return d->pages[page].get();
}

DRAVIKDB_API int WINAPI ZUriGetPageCount(void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return -1;
    int count = 0;
    for (int p = 1; p <= kMaxPage; ++p) {
        if (d->pages[p]) ++count;
    }
    return count;
}

DRAVIKDB_API int WINAPI ZUriGetPageLv(int page, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || !Exists(*d, page)) return -1;
    int level = 0;
    for (int p = page; p != 0 && level <= kMaxPage; ++level) {
        p = ParentOf(*d, p);
        if (p < 0) break;
    }
    return level;
}

DRAVIKDB_API int WINAPI ZUriGetLayerName(int page, int layer, int flag, char* out, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || out == nullptr || !Exists(*d, page) || !IsValidLayer(layer)) return 0;
    const char* name = LayerName(*d, page, layer);
    CopyBoundedText(out, 258, name != nullptr ? name : "");
    if (flag == 0 && (name == nullptr || name[0] == '\0')) return 0;
    return 1;
}

DRAVIKDB_API int WINAPI ZUriSetLayerName(int page, int layer, const char* name, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr) return 0;
    return Guarded(0, [&] { return SetLayerName(*d, page, layer, name) ? 1 : 0; });
}

DRAVIKDB_API int WINAPI ZUriGetLayerInfo(int page, void* block, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || block == nullptr) return 0;
    DbInfoBlock* info = InfoBlock(*d, page);
    if (info == nullptr) return 0;
    std::memcpy(block, &info->layers, sizeof(LayerInfoBlock));
    return 1;
}

DRAVIKDB_API int WINAPI ZUriSetLayerInfo(int page, const void* block, void* db)
{
    Database* d = Resolve(db);
    if (d == nullptr || block == nullptr || InfoBlock(*d, page) == nullptr) return 0;
    if (IsBadReadMemory(block, sizeof(LayerInfoBlock))) return 0;
    return Guarded(0, [&] {
        LayerInfoBlock incoming;
        std::memcpy(&incoming, block, sizeof incoming);
        ApplyLayerBlock(*d, page, incoming);
        return 1;
    });
}
