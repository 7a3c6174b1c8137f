#include "view/RubberBand.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "view/DragPreview.h"
#include "view/ElementDrawing.h"
#include "view/ViewTable.h"

namespace {

EngineDbRecord g_newDb;
EngineDbRecord g_shownDb;
bool g_created = false;
// The views the shown set is drawn in, so that a view painted afresh can draw it again.
std::vector<HWND> g_shownIn;

// Drops everything a database holds and starts it afresh.
void Recreate(EngineDbRecord& db)
{
    ZUriDeleteDB(&db);
    std::memset(&db, 0, sizeof db);
    ZUriCreateDB(&db);
}

std::vector<HWND> DrawSet(HWND view, PDBINFO* block, EngineDbRecord& db)
{
    std::vector<HWND> drawn;
    ForEachSiblingView(view, block, true, [&](HWND target, PDBINFO* targetBlock) {
        DrawScratchDbInView(target, targetBlock, &db);
        drawn.push_back(target);
    });
    return drawn;
}

}  // namespace

int CreateRubberBandDbs()
{
    QmCreateMemPools(&g_newDb);
    QmCreateMemPools(&g_shownDb);
    std::memset(&g_newDb, 0, sizeof g_newDb);
    std::memset(&g_shownDb, 0, sizeof g_shownDb);
    int result = ZUriCreateDB(&g_newDb);
    if (result) result = ZUriCreateDB(&g_shownDb);
    g_created = result != 0;
    return result;
}

int DeleteRubberBandDbs()
{
    ZUriDeleteDB(&g_shownDb);
    std::memset(&g_shownDb, 0, sizeof g_shownDb);
    ZUriDeleteDB(&g_newDb);
    std::memset(&g_newDb, 0, sizeof g_newDb);
    g_created = false;
    return 1;
}

int AppendRubberBandElement(const void* record)
{
    if (!g_created || !record) return 0;
    return ZUriAppendElement(record, &g_newDb) ? 1 : 0;
}

long CountRubberBandElements(int shown)
{
    if (!g_created) return 0;
    EngineDbRecord* db = shown ? &g_shownDb : &g_newDb;
    long count = 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db); e; e = ZUriReadElement(e, 1, nullptr, db)) ++count;
    return count;
}

int UpdateRubberBand(HWND view, int, int, int mode)
{
    if (mode == 2) {
        if (g_created) {
            Recreate(g_shownDb);
            Recreate(g_newDb);
        }
        g_shownIn.clear();
        return 1;
    }
    // A pending transform preview is all the step erases.
    if (ErasePendingTransformPreview()) return 1;
    PDBINFO* block = GetViewBlock(view);
    if (!block) return 0;
    if (!g_created) return 1;
    if (mode == 0) {
        Recreate(g_shownDb);
        unsigned char buffer[kElementRecordSize];
        for (void* e = ZUriReadElement(nullptr, 0, buffer, &g_newDb); e;
             e = ZUriReadElement(e, 1, buffer, &g_newDb)) {
            ZUriAppendElement(buffer, &g_shownDb);
        }
        g_shownIn = DrawSet(view, block, g_newDb);
        Recreate(g_newDb);
    } else if (mode == 1) {
        DrawSet(view, block, g_shownDb);
        Recreate(g_shownDb);
        g_shownIn.clear();
    } else {
        DrawSet(view, block, g_shownDb);
    }
    return 1;
}

bool IsRubberBandShownIn(HWND view)
{
    return g_created && view != nullptr && std::find(g_shownIn.begin(), g_shownIn.end(), view) != g_shownIn.end() &&
           CountRubberBandElements(1) > 0;
}

void RedrawShownRubberBand(HWND view)
{
    if (!IsRubberBandShownIn(view)) return;
    if (PDBINFO* block = GetViewBlock(view)) DrawScratchDbInView(view, block, &g_shownDb);
}

LRESULT HandleAddTempElement(const CmdParamRecord* param)
{
    if (param && param->view) AppendRubberBandElement(param->elementRecord);
    return 1;
}

LRESULT HandleDrawTemp(const CmdParamRecord* param)
{
    if (param && param->view) UpdateRubberBand(param->view, 0, 0, 0);
    return 1;
}
