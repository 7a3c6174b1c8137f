#include "view/ViewPaperSize.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "view/ViewTable.h"

int GetViewPaperSize(HWND view, double* width, double* height)
{
    const PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || block->engineDb == nullptr) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    if (ZUriGetDBInfo(&info, block->engineDb) == 0) return 0;
    if (!(info.paperWidthMm > 0) || !(info.paperHeightMm > 0)) return 0;
    if (width != nullptr) *width = info.paperWidthMm;
    if (height != nullptr) *height = info.paperHeightMm;
    return 1;
}
