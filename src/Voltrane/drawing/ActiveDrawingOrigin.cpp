#include "drawing/ActiveDrawingOrigin.h"

#include <cstring>

#include "DravikDb.h"
#include "DrawingWindowRecords.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

PDBINFO* ActiveDrawingBlock()
{
    PDBINFO* block = GetViewBlock(GetActiveView());
    return block != nullptr && block->engineDb != nullptr ? block : nullptr;
}

}  // namespace

int GetActiveDrawingOriginMode(int* mode)
{
    PDBINFO* block = ActiveDrawingBlock();
    if (block == nullptr) return -1;
    static DbInfoRecord info;  // large: kept out of the stack
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block->engineDb);
    *mode = info.originMode;
    return 0;
}

int SetActiveDrawingOriginMode(int mode)
{
    PDBINFO* block = ActiveDrawingBlock();
    if (block == nullptr) return -1;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block->engineDb);
    info.originMode = mode;
    ZUriSetDBInfo(&info, block->engineDb);
    SetDrawingModified(GetActiveView());
    RefreshToolPanelPaperAndScale();
    FitViewToPaper();
    return 0;
}
