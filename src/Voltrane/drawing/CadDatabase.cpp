#include "drawing/CadDatabase.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"

const DrawingAttributeRange kDrawingAttributeRanges[5] = {
    {0, 256, 4},  // colour
    {0, 31, 0},   // line type
    {0, 15, 0},   // line width
    {0, 15, 0},   // start mark
    {0, 15, 0},   // end mark
};

int ClampDrawingAttribute(int index, int value)
{
    if (index < 0 || index >= 5) return 0;
    const DrawingAttributeRange& range = kDrawingAttributeRanges[index];
    return value >= range.low && value <= range.high ? value : range.fallback;
}

CCadDatabase::CCadDatabase()
{
    std::memset(static_cast<PDBINFO*>(this), 0, sizeof(PDBINFO));
}

CCadDatabase::~CCadDatabase()
{
    // A database shared with another view of the drawing is freed by its last view.
    if (!severalViews) Free();
}

int CCadDatabase::Create(int secondView, const int* drawingIdIn, const int* untitledCounter, const int* undoCount,
                         const TextStyleBlock* style, const int* attributes)
{
    viewMode = 0;
    mode0 = mode1 = mode2 = ViewModeInfo{0.0, 0.0, 1.0};
    viewNumber = 1;
    severalViews = 0;
    referenceMode = 0;
    pageLayout = 0;
    fileLocked = 0;
    lockHandle = nullptr;
    clientWidth = clientHeight = 0;
    reserved731[0] = 0;
    layoutGroup = 0;
    saveOption = 0;
    viewportEditA = viewportEditB = 0;
    reserved863 = reserved867 = 0;

    untitledNumber = 0;
    drawingId = drawingIdIn ? *drawingIdIn : 0;
    if (secondView) untitledNumber = (untitledCounter ? *untitledCounter : 0) + 1;
    fileName[0] = '\0';

    int32_t* current[5] = {&colour, &lineType, &lineWidth, &startMark, &endMark};
    for (int i = 0; i < 5; ++i) {
        *current[i] = ClampDrawingAttribute(i, attributes ? attributes[i] : kDrawingAttributeRanges[i].fallback);
    }
    std::memset(layerDisplayMask, 0xFF, sizeof layerDisplayMask);
    std::memset(layerDetectMask, 0xFF, sizeof layerDetectMask);
    if (style != nullptr) std::memcpy(&textStyle, style, sizeof textStyle);
    modified = 0;

    if (dbMemory != nullptr) Free();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(EngineDbRecord));
    if (memory == nullptr) return 0;
    void* record = GlobalLock(memory);
    if (record == nullptr) {
        GlobalFree(memory);
        return 0;
    }
    if (!ZUriCreateDB(record)) {
        // An empty record is no database: the window then has none.
        GlobalUnlock(memory);
        GlobalFree(memory);
        return 0;
    }
    dbMemory = memory;
    engineDb = record;
    dbState = 3;
    ZUriUndoFgSet(record, undoCount ? *undoCount : 0);
    auto* engineRecord = static_cast<EngineDbRecord*>(record);
    engineRecord->pageState.displayMask[0] |= 1u;
    engineRecord->pageState.detectMask[0] |= 1u;
    return 0;
}

namespace {

void FreeLockedGlobal(void*& pointer)
{
    if (pointer == nullptr) return;
    if (HGLOBAL handle = GlobalHandle(pointer)) {
        GlobalUnlock(handle);
        GlobalFree(handle);
    }
    pointer = nullptr;
}

}  // namespace

void CCadDatabase::Free()
{
    if (dbMemory == nullptr || engineDb == nullptr) return;
    auto* record = static_cast<EngineDbRecord*>(engineDb);
    if (auto* raster = static_cast<RasterAttachment*>(record->rasterAttachment)) {
        if (raster->displayBitmap != nullptr) DeleteObject(raster->displayBitmap);
        raster->displayBitmap = nullptr;
        FreeLockedGlobal(raster->tiffCopy);
        FreeLockedGlobal(raster->bits);
    }
    ZUriDeleteDB(engineDb);
    GlobalUnlock(dbMemory);
    GlobalFree(dbMemory);
    engineDb = nullptr;
    dbMemory = nullptr;
    dbState = 0;
}
