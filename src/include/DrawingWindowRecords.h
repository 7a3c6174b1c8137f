// Records of a drawing window that cross the boundary between the program, its plug-ins and the
// engine: the per-window drawing block `PDBINFO` (window long 0 of every drawing view), the
// drawing surface whose address the view paint hands to the engine, and the raster attachment
// hung on an engine database record. Plug-ins read and write fields by offset, so every offset
// is pinned below.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One view setting: the negated world point shown at the client centre, and pixels per world unit.
struct ViewModeInfo {
    double offsetX;
    double offsetY;
    double scale;
};
static_assert(sizeof(ViewModeInfo) == 24, "ViewModeInfo size");

// Default text attributes of a drawing window, copied whole from the settings.
struct TextStyleBlock {
    uint8_t reserved0[2];   // 0
    char fontName[32];      // 2
    double height;          // 34
    double charRatio;       // 42
    double interval;        // 50
    uint8_t reserved58;     // 58
    int16_t colour;         // 59
};
static_assert(sizeof(TextStyleBlock) == 61, "TextStyleBlock size");

constexpr int kViewLayerMaskWords = 64;  // 1024 layers, bit n % 16 of word n / 16

struct PDBINFO {
    HGLOBAL dbMemory;                     // 0: movable memory of the 397-byte engine record
    uint8_t reserved4[16];                // 4
    void* engineDb;                       // 20: the locked record, the engine's database handle
    int32_t dbState;                      // 24: 3 once the database is made
    uint8_t reserved28[12];               // 28
    ViewModeInfo mode0;                   // 40: model space
    ViewModeInfo mode1;                   // 64: paper space
    int32_t colour;                       // 88: 0..256
    int32_t lineType;                     // 92: 0..31
    int32_t lineWidth;                    // 96: 0..15
    int32_t startMark;                    // 100: 0..15
    int32_t endMark;                      // 104: 0..15
    int16_t currentLayer;                 // 108: 0..1023, written by plug-ins too
    uint16_t layerDisplayMask[kViewLayerMaskWords];  // 110
    uint16_t layerDetectMask[kViewLayerMaskWords];   // 238
    TextStyleBlock textStyle;             // 366
    int32_t modified;                     // 427
    char fileName[260];                   // 431
    int32_t viewNumber;                   // 691
    int32_t severalViews;                 // 695
    int32_t untitledNumber;               // 699
    int32_t drawingId;                    // 703
    int32_t referenceMode;                // 707
    int32_t pageLayout;                   // 711: 0 normal, 1 pages, 2 layers
    int32_t fileLocked;                   // 715
    HANDLE lockHandle;                    // 719
    int32_t clientWidth;                  // 723
    int32_t clientHeight;                 // 727
    uint8_t reserved731[12];              // 731
    int32_t layoutGroup;                  // 743
    int32_t layoutPage;                   // 747
    int32_t saveOption;                   // 751
    ViewModeInfo mode0Backup;             // 755
    ViewModeInfo mode1Backup;             // 779
    int32_t viewMode;                     // 803: 0 model, 1 paper, 2 viewport
    int32_t viewportEditA;                // 807
    int32_t viewportEditB;                // 811
    ViewModeInfo mode2;                   // 815
    ViewModeInfo mode2Backup;             // 839
    int32_t reserved863;                  // 863
    int32_t reserved867;                  // 867
};
static_assert(sizeof(PDBINFO) == 871, "PDBINFO size");
static_assert(offsetof(PDBINFO, engineDb) == 20 && offsetof(PDBINFO, dbState) == 24 &&
                  offsetof(PDBINFO, mode0) == 40 && offsetof(PDBINFO, mode1) == 64 &&
                  offsetof(PDBINFO, colour) == 88 && offsetof(PDBINFO, endMark) == 104 &&
                  offsetof(PDBINFO, currentLayer) == 108 && offsetof(PDBINFO, layerDisplayMask) == 110 &&
                  offsetof(PDBINFO, layerDetectMask) == 238 && offsetof(PDBINFO, textStyle) == 366 &&
                  offsetof(PDBINFO, textStyle) + offsetof(TextStyleBlock, fontName) == 368 &&
                  offsetof(PDBINFO, textStyle) + offsetof(TextStyleBlock, height) == 400 &&
                  offsetof(PDBINFO, textStyle) + offsetof(TextStyleBlock, colour) == 425 &&
                  offsetof(PDBINFO, modified) == 427 && offsetof(PDBINFO, fileName) == 431 &&
                  offsetof(PDBINFO, viewNumber) == 691 && offsetof(PDBINFO, severalViews) == 695 &&
                  offsetof(PDBINFO, untitledNumber) == 699 && offsetof(PDBINFO, drawingId) == 703 &&
                  offsetof(PDBINFO, referenceMode) == 707 && offsetof(PDBINFO, pageLayout) == 711 &&
                  offsetof(PDBINFO, fileLocked) == 715 && offsetof(PDBINFO, lockHandle) == 719 &&
                  offsetof(PDBINFO, clientWidth) == 723 && offsetof(PDBINFO, clientHeight) == 727 &&
                  offsetof(PDBINFO, layoutGroup) == 743 && offsetof(PDBINFO, layoutPage) == 747 &&
                  offsetof(PDBINFO, saveOption) == 751 && offsetof(PDBINFO, mode0Backup) == 755 &&
                  offsetof(PDBINFO, mode1Backup) == 779 && offsetof(PDBINFO, viewMode) == 803 &&
                  offsetof(PDBINFO, viewportEditA) == 807 && offsetof(PDBINFO, viewportEditB) == 811 &&
                  offsetof(PDBINFO, mode2) == 815 && offsetof(PDBINFO, mode2Backup) == 839 &&
                  offsetof(PDBINFO, reserved863) == 863 && offsetof(PDBINFO, reserved867) == 867,
              "PDBINFO layout");

// The view setting of the block's current view mode (0 model, 1 paper, any other value 2) and
// the backup of that mode.
inline ViewModeInfo& CurrentViewMode(PDBINFO& block)
{
    return block.viewMode == 0 ? block.mode0 : block.viewMode == 1 ? block.mode1 : block.mode2;
}
inline ViewModeInfo& CurrentViewModeBackup(PDBINFO& block)
{
    return block.viewMode == 0 ? block.mode0Backup : block.viewMode == 1 ? block.mode1Backup : block.mode2Backup;
}

// The raster picture attached to an engine database record (record offset 56).
struct RasterAttachment {
    int32_t reserved0;          // 0
    void* tiffCopy;             // 4: locked global memory, a private copy of the picture file
    void* attachedDb;           // 8: handle of an attached second database, 0 = none
    void* bits;                 // 12: locked global memory, the 1-bit picture
    uint8_t reserved16[8];      // 16
    int32_t tiffLength;         // 24
    uint8_t reserved28[12];     // 28
    HBITMAP displayBitmap;      // 40
    int32_t reserved44;         // 44
    uint32_t bitmapWidth;       // 48: pixels
    uint32_t bitmapHeight;      // 52
    uint8_t reserved56[8];      // 56
    double widthMm;             // 64
    double heightMm;            // 72
    double factorX;             // 80: world units per millimetre of the picture
    double factorY;             // 88
    double left;                // 96: world x of the top-left corner
    double top;                 // 104
};
static_assert(sizeof(RasterAttachment) == 112, "RasterAttachment size");
static_assert(offsetof(RasterAttachment, tiffCopy) == 4 && offsetof(RasterAttachment, attachedDb) == 8 &&
                  offsetof(RasterAttachment, bits) == 12 && offsetof(RasterAttachment, tiffLength) == 24 &&
                  offsetof(RasterAttachment, displayBitmap) == 40 &&
                  offsetof(RasterAttachment, bitmapWidth) == 48 && offsetof(RasterAttachment, widthMm) == 64 &&
                  offsetof(RasterAttachment, factorX) == 80 && offsetof(RasterAttachment, top) == 104,
              "RasterAttachment layout");

// The object a drawing view renders through. The view asks for the automatic mode, which
// chooses GDI: the engine draws into the device context of the draw block, and the surface
// records the window and its client rectangle. The Direct2D fields stay empty.
struct CDrawSurface {
    static constexpr int kModeAuto = -1;
    static constexpr int kModeGdi = 0;
    static constexpr int kBrushSlots = 20;

    // (window, three unused integers, mode, flag, own-DC flag); the view passes
    // (view, 0, 0, 0, -1, 1, 1).
    CDrawSurface(HWND window, int unused1, int unused2, int unused3, int mode, int flag, int ownDc);
    ~CDrawSurface();
    CDrawSurface(const CDrawSurface&) = delete;
    CDrawSurface& operator=(const CDrawSurface&) = delete;

    void InitGdi();
    void Resize();
    void Release();

    uint8_t ownDcFlag;          // 0
    int32_t mode;               // 1: 0 or 1 GDI, 2 Direct2D
    uint8_t constructionFlag;   // 5
    HWND window;                // 6
    HDC drawDc;                 // 10
    HDC windowDc;               // 14
    void* comObject1;           // 18
    void* comObject2;           // 22
    uint8_t dcHeld;             // 26
    uint8_t flag27;             // 27
    uint8_t releaseComObject1;  // 28
    HBITMAP bitmap;             // 29
    RECT client;                // 33
    HMODULE dwriteModule;       // 49
    uint8_t reserved53[4];      // 53
    void* d2dFactory;           // 57
    void* imagingFactory;       // 61
    void* dwriteFactory;        // 65
    void* renderTarget;         // 69
    void* brushes[kBrushSlots]; // 73
};
static_assert(sizeof(CDrawSurface) == 153, "CDrawSurface size");

#pragma pack(pop)

static_assert(offsetof(CDrawSurface, mode) == 1 && offsetof(CDrawSurface, window) == 6 &&
                  offsetof(CDrawSurface, drawDc) == 10 && offsetof(CDrawSurface, windowDc) == 14 &&
                  offsetof(CDrawSurface, dcHeld) == 26 && offsetof(CDrawSurface, bitmap) == 29 &&
                  offsetof(CDrawSurface, client) == 33 && offsetof(CDrawSurface, dwriteModule) == 49 &&
                  offsetof(CDrawSurface, d2dFactory) == 57 && offsetof(CDrawSurface, renderTarget) == 69 &&
                  offsetof(CDrawSurface, brushes) == 73,
              "CDrawSurface layout");
