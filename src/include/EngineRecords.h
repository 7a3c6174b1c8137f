// Binary records exchanged between the drawing engine (DravikDb), the program and the plug-ins.
//
// Every record is byte-packed, little-endian, with 4-byte pointers and handles (the program and
// every plug-in are 32-bit x86). Offsets are part of the contract with plug-ins written against
// the engine, so each stated offset is checked below. Fields named engine* belong to the engine:
// callers keep them as they were when they copy a record out and back.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

static_assert(sizeof(void*) == 4, "the engine records assume a 32-bit build");

#pragma pack(push, 1)

// ---- Small parts ------------------------------------------------------------------------------

// Placement of a page relative to its parent (also the database's own placement transform).
struct PlacementTransform {
    double scaleX;        // 0
    double scaleY;        // 8: the y scale when separateY is set
    double angle;         // 16: radians
    double reserved24;    // 24
    double reserved32;    // 32
    double engine40;      // 40
    double originX;       // 48
    double originY;       // 56
    double originZ;       // 64
    double cosAngle;      // 72
    double sinAngle;      // 80
    double engine88;      // 88
    uint8_t separateY;    // 96
};
static_assert(sizeof(PlacementTransform) == 97, "placement transform size");
static_assert(offsetof(PlacementTransform, originX) == 48, "placement origin");
static_assert(offsetof(PlacementTransform, cosAngle) == 72, "placement cosine");
static_assert(offsetof(PlacementTransform, separateY) == 96, "placement flag");

constexpr int kPageMaskWords = 16;  // 512 pages, 32 per word

// Page state kept in the database record: current page and the page display and detect masks.
struct PageStateInfo {
    int32_t currentPage;                     // 0
    uint32_t engineWords[16];                // 4
    uint32_t displayMask[kPageMaskWords];    // 68: bit p of word p / 32 = page p shown
    uint32_t detectMask[kPageMaskWords];     // 132: bit p = page p's elements can be picked
};
static_assert(sizeof(PageStateInfo) == 196, "PageStateInfo size");
static_assert(offsetof(PageStateInfo, displayMask) == 68, "page display mask");
static_assert(offsetof(PageStateInfo, detectMask) == 132, "page detect mask");

// ---- Database record (caller-owned, the handle of every engine call) --------------------------

struct EngineDbRecord {
    void* drawingBlock;            // 0: the window's PDBINFO during a load or save of a drawing file
    uint32_t engineDatabase;       // 4: the engine's database behind this record
    uint32_t engineCheck;          // 8: check word of the engine
    void* firstElement;            // 12: first element of the element chain
    void* firstGroupHeader;        // 16: first figure-group header
    uint8_t engine20[8];           // 20
    HBITMAP preview;               // 28: preview bitmap (owner deletes it before ZUriDeleteDB)
    uint8_t engine32[24];          // 32
    void* rasterAttachment;        // 56: RasterAttachment* of the owner, or null
    int32_t modified;              // 60: blink word / modified flag
    int32_t engine64;              // 64
    int32_t marksExist;            // 68: non-zero while marks of this database exist
    void* undoOldest;              // 72: oldest undo record
    void* undoCurrent;             // 76: newest applied undo record (0: everything undone)
    uint8_t engine80[12];          // 80
    void* info;                    // 92: drawing information block of page 0
    PageStateInfo pageState;       // 96
    uint32_t engine292;            // 292
    int32_t transformActive;       // 296
    PlacementTransform placement;  // 300
};
static_assert(sizeof(EngineDbRecord) == 397, "database record size");
static_assert(offsetof(EngineDbRecord, firstElement) == 12, "db first element");
static_assert(offsetof(EngineDbRecord, firstGroupHeader) == 16, "db first group header");
static_assert(offsetof(EngineDbRecord, preview) == 28, "db preview bitmap");
static_assert(offsetof(EngineDbRecord, rasterAttachment) == 56, "db raster attachment");
static_assert(offsetof(EngineDbRecord, modified) == 60, "db modified / blink word");
static_assert(offsetof(EngineDbRecord, marksExist) == 68, "db marks word");
static_assert(offsetof(EngineDbRecord, undoOldest) == 72, "db oldest undo");
static_assert(offsetof(EngineDbRecord, undoCurrent) == 76, "db current undo");
static_assert(offsetof(EngineDbRecord, info) == 92, "db information block");
static_assert(offsetof(EngineDbRecord, pageState) == 96, "db page state");
static_assert(offsetof(EngineDbRecord, pageState) + offsetof(PageStateInfo, displayMask) == 164,
              "db page display mask");
static_assert(offsetof(EngineDbRecord, pageState) + offsetof(PageStateInfo, detectMask) == 228,
              "db page detect mask");
static_assert(offsetof(EngineDbRecord, transformActive) == 296, "db transform flag");
static_assert(offsetof(EngineDbRecord, placement) == 300, "db placement");

// ---- Drawing information --------------------------------------------------------------------

struct DrawingDate {  // year, month, day, day of week (0 = Sunday), hour, minute, second
    uint16_t year, month, day, dayOfWeek, hour, minute, second;
};
static_assert(sizeof(DrawingDate) == 14, "date size");

// Paper codes (the 16-bit field at 3960): 0x10 + n = An, 0x20 + n = Bn, bit 15 = portrait.
constexpr uint16_t kPaperCodeA = 0x10;
constexpr uint16_t kPaperCodeB = 0x20;
constexpr uint16_t kPaperPortrait = 0x8000;

struct DbInfoRecord {
    uint16_t engine0;               // 0
    char fileName[260];             // 2
    char fileType[32];              // 262: without the dot
    uint8_t engine294[771];         // 294
    char title[257];                // 1065
    uint8_t engine1322[771];        // 1322
    DrawingDate created;            // 2093
    DrawingDate updated;            // 2107
    uint8_t engine2121[771];        // 2121
    char drawingNumberText[257];    // 2892: begins with the drawing number
    char author[257];               // 3149
    uint8_t engine3406[257];        // 3406
    char remarks[257];              // 3663
    double drawingWidth;            // 3920: world units
    double drawingHeight;           // 3928
    double paperWidthMm;            // 3936
    double paperHeightMm;           // 3944
    double scale;                   // 3952: paper millimetres per world unit
    uint16_t paperCode;             // 3960
    uint8_t engine3962[257];        // 3962
    int32_t originMode;             // 4219: non-zero = origin at the lower-left paper corner
};
static_assert(sizeof(DbInfoRecord) == 4223, "DbInfoRecord size");
static_assert(offsetof(DbInfoRecord, fileName) == 2, "info file name");
static_assert(offsetof(DbInfoRecord, fileType) == 262, "info file type");
static_assert(offsetof(DbInfoRecord, title) == 1065, "info title");
static_assert(offsetof(DbInfoRecord, created) == 2093, "info created");
static_assert(offsetof(DbInfoRecord, updated) == 2107, "info updated");
static_assert(offsetof(DbInfoRecord, drawingNumberText) == 2892, "info number text");
static_assert(offsetof(DbInfoRecord, author) == 3149, "info author");
static_assert(offsetof(DbInfoRecord, remarks) == 3663, "info remarks");
static_assert(offsetof(DbInfoRecord, drawingWidth) == 3920, "info drawing width");
static_assert(offsetof(DbInfoRecord, drawingHeight) == 3928, "info drawing height");
static_assert(offsetof(DbInfoRecord, paperWidthMm) == 3936, "info paper width");
static_assert(offsetof(DbInfoRecord, paperHeightMm) == 3944, "info paper height");
static_assert(offsetof(DbInfoRecord, scale) == 3952, "info scale");
static_assert(offsetof(DbInfoRecord, paperCode) == 3960, "info paper code");
static_assert(offsetof(DbInfoRecord, originMode) == 4219, "info origin mode");

constexpr int kLayerCount = 1024;      // layers 0..1023 on every page
constexpr int kLayerMaskWords = 64;    // 16 layers per 16-bit word
constexpr int kLayerGroupNameSize = 11;

struct LayerInfoBlock {
    int32_t currentLayer;                          // 0
    uint16_t displayMask[kLayerMaskWords];         // 4: layer n = bit n % 16 of word n / 16
    uint16_t detectMask[kLayerMaskWords];          // 132
    uint16_t lockMask[kLayerMaskWords];            // 260: bit set = locked
    const char* names[kLayerCount];                // 388: engine strings; null = unnamed
    char groupNames[kLayerCount][kLayerGroupNameSize];  // 4484
    uint8_t engine15748[4096];                     // 15748
};
static_assert(sizeof(LayerInfoBlock) == 19844, "LayerInfoBlock size");
static_assert(offsetof(LayerInfoBlock, displayMask) == 4, "layer display mask");
static_assert(offsetof(LayerInfoBlock, detectMask) == 132, "layer detect mask");
static_assert(offsetof(LayerInfoBlock, lockMask) == 260, "layer lock mask");
static_assert(offsetof(LayerInfoBlock, names) == 388, "layer names");
static_assert(offsetof(LayerInfoBlock, groupNames) == 4484, "layer group names");
static_assert(offsetof(LayerInfoBlock, engine15748) == 15748, "layer engine bytes");

constexpr int kLineTypeCount = 32;
constexpr int kColourCount = 257;      // 0..256, colour 0 = background
constexpr int kLineWidthCount = 16;

struct LineTypeRecord {
    char name[257];       // 0
    int32_t dashCount;    // 257
    double dashMm[16];    // 261
};
static_assert(sizeof(LineTypeRecord) == 389, "line type size");
static_assert(offsetof(LineTypeRecord, dashCount) == 257, "line type count");
static_assert(offsetof(LineTypeRecord, dashMm) == 261, "line type dashes");

struct ColourRecord {
    char name[257];   // 0
    int32_t red;      // 257: low byte counts
    int32_t green;    // 261
    int32_t blue;     // 265
};
static_assert(sizeof(ColourRecord) == 269, "colour size");
static_assert(offsetof(ColourRecord, red) == 257, "colour red");

// The drawing information block of one page (the engine's; ZUriGetDbInfoPtr gives it).
struct DbInfoBlock {
    DbInfoRecord record;                        // 0
    int32_t elementCount;                       // 4223
    uint8_t engine4227[8];                      // 4227
    double lengthTolerance;                     // 4235
    double cosAngleTolerance;                   // 4243
    double sinAngleTolerance;                   // 4251
    uint8_t engine4259[50];                     // 4259
    LayerInfoBlock layers;                      // 4309
    LineTypeRecord lineTypes[kLineTypeCount];   // 24153
    ColourRecord colours[kColourCount];         // 36601
    double lineWidthsMm[kLineWidthCount];       // 105734
};
static_assert(sizeof(DbInfoBlock) == 105862, "information block size");
static_assert(offsetof(DbInfoBlock, elementCount) == 4223, "info element count");
static_assert(offsetof(DbInfoBlock, lengthTolerance) == 4235, "info length tolerance");
static_assert(offsetof(DbInfoBlock, cosAngleTolerance) == 4243, "info angle tolerance cos");
static_assert(offsetof(DbInfoBlock, sinAngleTolerance) == 4251, "info angle tolerance sin");
static_assert(offsetof(DbInfoBlock, layers) == 4309, "info layer block");
static_assert(offsetof(DbInfoBlock, layers) + offsetof(LayerInfoBlock, displayMask) == 4313,
              "info layer display mask");
static_assert(offsetof(DbInfoBlock, layers) + offsetof(LayerInfoBlock, lockMask) == 4569,
              "info layer lock mask");
static_assert(offsetof(DbInfoBlock, layers) + offsetof(LayerInfoBlock, names) == 4697,
              "info layer names");
static_assert(offsetof(DbInfoBlock, layers) + offsetof(LayerInfoBlock, groupNames) == 8793,
              "info layer group names");
static_assert(offsetof(DbInfoBlock, lineTypes) == 24153, "info line types");
static_assert(offsetof(DbInfoBlock, colours) == 36601, "info colours");
static_assert(offsetof(DbInfoBlock, colours) + sizeof(ColourRecord) + 257 == 37127,
              "info colour 1 red");
static_assert(offsetof(DbInfoBlock, colours) + offsetof(ColourRecord, red) == 36858,
              "info background red");
static_assert(offsetof(DbInfoBlock, lineWidthsMm) == 105734, "info line widths");

// ---- Page record ----------------------------------------------------------------------------

constexpr int kMaxPage = 256;           // pages 1..256 besides page 0
constexpr int kPageNumberLimit = 512;   // page numbers of elements and masks: 0..511
constexpr int kPageBufferSize = 106352; // what callers allocate for one page record

struct EnginePageRecord {
    int32_t word0;                    // 0: the engine's (0 for a new page)
    int32_t externalReference;        // 4: word 1, 1 = the page names a drawing file (own layers)
    int32_t changed;                  // 8: word 2
    int32_t kind;                     // 12: word 3, the engine's
    int32_t geodeticNote;             // 16: word 4
    int32_t parentPage;               // 20: word 5
    int32_t pageNumber;               // 24: word 6
    DbInfoBlock info;                 // 28
    char fileType[5];                 // 105890
    uint8_t engine105895[260];        // 105895
    PlacementTransform placement;     // 106155: relative to the parent page
    PlacementTransform composed;      // 106252: relative to page 0
};
static_assert(sizeof(EnginePageRecord) == 106349, "page record size");
static_assert(offsetof(EnginePageRecord, pageNumber) == 24, "page number word");
static_assert(offsetof(EnginePageRecord, info) == 28, "page information");
static_assert(offsetof(EnginePageRecord, fileType) == 105890, "page file type");
static_assert(offsetof(EnginePageRecord, placement) == 106155, "page placement");
static_assert(offsetof(EnginePageRecord, composed) == 106252, "page composed placement");
static_assert(sizeof(EnginePageRecord) <= kPageBufferSize, "page buffer");

// ---- Elements -------------------------------------------------------------------------------

enum ElementType : uint16_t {
    kElementLine = 1,
    kElementPoint = 2,
    kElementCircle = 3,
    kElementArc = 4,
    kElementText = 5,
    kElementEllipse = 6,
    kElementEllipticArc = 7,
    kElementGroup = 21,
    kElementComposite = 22,
    kElementFigureHeader = 31,
    kElementFigureReference = 32,
    kElementImage = 50,
    kElementRaster = 55,
    kElementViewport = 60,
    kElementCompositeOther = 70,
};

inline bool IsCompositeType(int type)
{
    return type == kElementGroup || type == kElementComposite || type == kElementCompositeOther;
}

constexpr int kElementRecordSize = 174;

// The element record as callers build, copy and append it. The common header is typed; the
// geometry from byte 33 depends on the type (see the overlays below).
struct ElementRecord {
    uint16_t type;          // 0
    uint16_t subKind;       // 2
    uint16_t layer;         // 4: 0..1023
    uint8_t space;          // 6: 1 = paper space
    int32_t page;           // 7: 0..511
    uint16_t colour;        // 11: 0..256 (also the attribute word of the pick filter)
    uint8_t lineType;       // 13: 0..31 (text: basis point)
    uint8_t lineWidth;      // 14: 0..15
    uint8_t lineEndStart;   // 15
    uint8_t lineEndEnd;     // 16
    double lineEndSizeStart;  // 17
    double lineEndSizeEnd;    // 25
    uint8_t geometry[141];  // 33
};
static_assert(sizeof(ElementRecord) == kElementRecordSize, "ElementRecord size");
static_assert(offsetof(ElementRecord, layer) == 4, "element layer");
static_assert(offsetof(ElementRecord, space) == 6, "element space");
static_assert(offsetof(ElementRecord, page) == 7, "element page");
static_assert(offsetof(ElementRecord, colour) == 11, "element colour");
static_assert(offsetof(ElementRecord, lineType) == 13, "element line type");
static_assert(offsetof(ElementRecord, lineWidth) == 14, "element width");
static_assert(offsetof(ElementRecord, lineEndSizeStart) == 17, "element line end size");
static_assert(offsetof(ElementRecord, lineEndSizeEnd) == 25, "element line end size 2");
static_assert(offsetof(ElementRecord, geometry) == 33, "element geometry");

// Geometry overlays: each covers the whole 174-byte record.
struct ElementHeaderPart {
    uint16_t type;
    uint16_t subKind;
    uint16_t layer;
    uint8_t space;
    int32_t page;
};
static_assert(sizeof(ElementHeaderPart) == 11, "element header part");

struct LineRecord {  // type 1 (also the corners of an image, type 50)
    uint8_t header[33];
    double x1, y1, z1;    // 33, 41, 49
    double x2, y2, z2;    // 57, 65, 73
    uint8_t rest[93];
};
static_assert(sizeof(LineRecord) == 174 && offsetof(LineRecord, x2) == 57, "line layout");

struct PointRecord {  // type 2
    uint8_t header[33];
    double x, y, z;       // 33, 41, 49
    uint8_t rest[117];
};
static_assert(sizeof(PointRecord) == 174, "point layout");

struct CircleRecord {  // type 3
    uint8_t header[33];
    double cx, cy, cz;            // 33, 41, 49
    double radius;                // 57
    double nx, ny, nz;            // 65, 73, 81: normal
    uint8_t rest[85];
};
static_assert(sizeof(CircleRecord) == 174 && offsetof(CircleRecord, nz) == 81, "circle layout");

struct ArcRecord {  // type 4
    uint8_t header[33];
    double cx, cy, cz;            // 33, 41, 49
    double radius;                // 57
    double startAngle, endAngle;  // 65, 73: radians
    uint16_t clockwise;           // 81: non-zero = clockwise from start to end
    double nx, ny, nz;            // 83, 91, 99
    uint8_t rest[67];
};
static_assert(sizeof(ArcRecord) == 174 && offsetof(ArcRecord, clockwise) == 81 &&
                  offsetof(ArcRecord, nz) == 99,
              "arc layout");

struct TextRecord {  // type 5
    uint8_t header[14];
    double length1;        // 14
    double length2;        // 22
    double angle;          // 30: radians
    double engine38;       // 38
    double height;         // 46
    double widthRatio;     // 54
    double spacing;        // 62
    char font[32];         // 70
    uint16_t flags;        // 102: bit 5 = vertical
    double secondAngle;    // 104
    double x, y;           // 112, 120
    double z;              // 128
    const char* text;      // 136
    double nx, ny, nz;     // 140, 148, 156
    uint8_t rest[10];
};
static_assert(sizeof(TextRecord) == 174, "text size");
static_assert(offsetof(TextRecord, angle) == 30 && offsetof(TextRecord, height) == 46 &&
                  offsetof(TextRecord, font) == 70 && offsetof(TextRecord, flags) == 102 &&
                  offsetof(TextRecord, secondAngle) == 104 && offsetof(TextRecord, x) == 112 &&
                  offsetof(TextRecord, z) == 128 && offsetof(TextRecord, text) == 136 &&
                  offsetof(TextRecord, nx) == 140 && offsetof(TextRecord, nz) == 156,
              "text layout");
constexpr uint16_t kTextVertical = 0x20;

struct EllipseRecord {  // type 6
    uint8_t header[33];
    double cx, cy, cz;     // 33, 41, 49
    double ax, ay, az;     // 57, 65, 73: end point of the major axis
    double ratio;          // 81: minor / major
    double nx, ny, nz;     // 89, 97, 105
    uint8_t rest[61];
};
static_assert(sizeof(EllipseRecord) == 174 && offsetof(EllipseRecord, ratio) == 81 &&
                  offsetof(EllipseRecord, nz) == 105,
              "ellipse layout");

struct EllipticArcRecord {  // type 7
    uint8_t header[33];
    double cx, cy, cz;            // 33, 41, 49
    double ax, ay, az;            // 57, 65, 73
    double ratio;                 // 81
    double startAngle, endAngle;  // 89, 97
    uint16_t swapped;             // 105: 1 swaps start and end
    double nx, ny, nz;            // 107, 115, 123
    uint8_t rest[43];
};
static_assert(sizeof(EllipticArcRecord) == 174 && offsetof(EllipticArcRecord, startAngle) == 89 &&
                  offsetof(EllipticArcRecord, swapped) == 105 &&
                  offsetof(EllipticArcRecord, nz) == 123,
              "elliptic arc layout");

struct FigureReferenceRecord {  // type 32
    uint8_t header[33];
    double scaleX, scaleY;     // 33, 41
    double angle;              // 49
    double x, y, z;            // 57, 65, 73
    uint8_t rest[93];
};
static_assert(sizeof(FigureReferenceRecord) == 174 && offsetof(FigureReferenceRecord, x) == 57,
              "figure reference layout");

struct FigureHeaderRecord {  // type 31: a figure group's header
    uint8_t header[11];
    double originX, originY;            // 11, 19
    uint8_t engine27[8];                // 27
    double left, top, right, bottom;    // 35, 43, 51, 59
    uint8_t rest[107];
};
static_assert(sizeof(FigureHeaderRecord) == 174 && offsetof(FigureHeaderRecord, left) == 35 &&
                  offsetof(FigureHeaderRecord, right) == 51,
              "figure header layout");

struct ImageRecord {  // type 50
    uint8_t header[33];
    double x1, y1, z1;      // 33, 41, 49
    double x2, y2, z2;      // 57, 65, 73
    uint8_t engine81[32];   // 81
    HGLOBAL dib;            // 113: packed DIB in global memory
    uint8_t engine117[8];   // 117
    uint32_t dibSize;       // 125
    uint8_t rest[45];
};
static_assert(sizeof(ImageRecord) == 174 && offsetof(ImageRecord, dib) == 113 &&
                  offsetof(ImageRecord, dibSize) == 125,
              "image layout");

struct RasterRecord {  // type 55
    uint8_t header[33];
    double cx, cy;            // 33, 41
    double engine49;          // 49
    double width, height;     // 57, 65
    double angle;             // 73
    double sinAngle;          // 81
    double cosAngle;          // 89
    double pixelFactorX;      // 97: as the PDF export reads them (the 32-bit factors are at 149, 157)
    double pixelFactorY;      // 105
    uint8_t engine113[2];     // 113
    void* compressed;         // 115: the compressed bits (ZUriCompRstrData), or null
    uint32_t compressedSize;  // 119: their size in bytes
    void* bits;               // 123: 1-bit rows (expanded)
    uint32_t bitsSize;        // 127
    int32_t pixelsX;          // 131
    int32_t pixelsY;          // 135
    uint8_t engine139[6];     // 139
    int32_t resolutionX;      // 145
    int32_t factorX;          // 149
    int32_t resolutionY;      // 153
    int32_t factorY;          // 157
    uint16_t resolutionUnit;  // 161: 2 = inch
    uint8_t engine163[4];     // 163
    int32_t colour;           // 167: 0x00BBGGRR
    uint8_t engine171[2];     // 171
    uint8_t expanded;         // 173
};
static_assert(sizeof(RasterRecord) == 174, "raster size");
static_assert(offsetof(RasterRecord, width) == 57 && offsetof(RasterRecord, height) == 65,
              "raster size fields");
static_assert(offsetof(RasterRecord, angle) == 73 && offsetof(RasterRecord, sinAngle) == 81 &&
                  offsetof(RasterRecord, compressed) == 115 &&
                  offsetof(RasterRecord, compressedSize) == 119 && offsetof(RasterRecord, bits) == 123 &&
                  offsetof(RasterRecord, bitsSize) == 127 && offsetof(RasterRecord, pixelsX) == 131 &&
                  offsetof(RasterRecord, resolutionX) == 145 && offsetof(RasterRecord, factorX) == 149 &&
                  offsetof(RasterRecord, resolutionY) == 153 && offsetof(RasterRecord, factorY) == 157 &&
                  offsetof(RasterRecord, resolutionUnit) == 161 && offsetof(RasterRecord, expanded) == 173 &&
                  offsetof(RasterRecord, pixelFactorX) == 97 && offsetof(RasterRecord, pixelFactorY) == 105 &&
                  offsetof(RasterRecord, colour) == 167,
              "raster layout");

struct ViewportRecord {  // type 60
    uint8_t header[33];
    double x1, y1;             // 33, 41
    double engine49;           // 49
    double x2, y2;             // 57, 65
    double engine73;           // 73
    double scale;              // 81
    double engine89;           // 89
    double rotation;           // 97
    double modelX, modelY;     // 105, 113
    uint8_t rest[53];
};
static_assert(sizeof(ViewportRecord) == 174 && offsetof(ViewportRecord, scale) == 81 &&
                  offsetof(ViewportRecord, rotation) == 97 && offsetof(ViewportRecord, modelY) == 113,
              "viewport layout");

// The engine's node: the element record followed by its links. An element handle is the
// address of its node.
//
// One size, 238 bytes, for every reader and writer: the links sit at 174, 182 and 190 and the
// counts and flags follow up to the owner value at 214, and 238 is the image size that the
// change services build and the one callers read into. Readers of 240 bytes or writers of 176
// bytes would run past the record or over the first link; the engine allocates two spare bytes
// behind every node so such a stray read stays inside memory, but the contract is 238.
constexpr int kEngineNodeSize = 238;

struct EngineNode {
    ElementRecord record;       // 0
    EngineNode* nextElement;    // 174: next element of the database chain
    EngineNode* prevElement;    // 178: the engine's
    EngineNode* nextMember;     // 182: next member (members follow their head in one chain)
    EngineNode* memberOwner;    // 186: the engine's: the head a member belongs to
    EngineNode* groupHeader;    // 190: figure-group header of an instance or member
    uint32_t engine194;         // 194
    int32_t memberCount;        // 198: direct members of a head; header index of an instance
    uint32_t engine202;         // 202
    uint32_t engine206;         // 206
    uint32_t flags;             // 210: bit 0 = highlighted / blinking
    int32_t highlightColour;    // 214: highlight colour / owner value
    uint8_t engine218[20];      // 218
};
static_assert(sizeof(EngineNode) == kEngineNodeSize, "engine node size");
static_assert(offsetof(EngineNode, nextElement) == 174, "node next element");
static_assert(offsetof(EngineNode, nextMember) == 182, "node next member");
static_assert(offsetof(EngineNode, groupHeader) == 190, "node group header");
static_assert(offsetof(EngineNode, memberCount) == 198, "node member count");
static_assert(offsetof(EngineNode, flags) == 210, "node flags");
static_assert(offsetof(EngineNode, highlightColour) == 214, "node highlight colour");
constexpr uint32_t kNodeHighlighted = 0x1;

// ---- Search block ---------------------------------------------------------------------------

// Fifteen words handed to ZUriDbSetSerch. The engine reads word 1 (typeMask), the element
// classes a search finds (0 = all): bits 0..14 types 1..15, bit 15 viewport frames (60), bit 17
// images (50), bit 18 rasters (55), bit 19 composites (21, 22, 70) and figure references (32).
// So 0x87FFF finds drawn geometry and groups, 0xE7FFF adds images and rasters, 0x40000 finds
// rasters only. The other words are kept as given.
struct SearchBlock {
    int32_t mode;        // 0
    uint32_t typeMask;   // 1
    int32_t word2;       // 2
    uint32_t word3;      // 3
    uint32_t word4;      // 4
    int32_t word5;       // 5
    int32_t word6;       // 6
    int32_t rest[8];     // 7..14
};
static_assert(sizeof(SearchBlock) == 60, "search block size");

// A point handed to the point searches by value and filled as their output.
struct SearchPointRecord {
    double x;
    double y;
    int32_t value1;   // the element the point was found on
    int32_t value2;   // the kind of point (SearchPointKind)
};
static_assert(sizeof(SearchPointRecord) == 24, "search point size");

enum SearchPointKind : int32_t {
    kSearchEndPoint = 1,
    kSearchMidPoint = 2,
    kSearchCentre = 3,
    kSearchIntersection = 4,
    kSearchOnLine = 5,
};

// A box of the frame searches: left, top, right, bottom (top > bottom).
struct SearchBox {
    double left, top, right, bottom;
};
static_assert(sizeof(SearchBox) == 32, "search box size");

// ---- Undo record ----------------------------------------------------------------------------

enum UndoKind : int32_t {
    kUndoAdded = 300,
    kUndoDeleted = 301,
    kUndoChanged = 302,
    kUndoReserved303 = 303,
    kUndoMemberAdded = 304,
    kUndoMemberDeleted = 305,
};

struct UndoRecord {
    int32_t kind;              // 0
    uint32_t engine4;          // 4
    uint32_t engine8;          // 8
    int32_t stepMark;          // 12: 1 on the newest record of each step
    uint8_t engine16[12];      // 16
    EngineNode* element;       // 28
    int32_t value;             // 32: passed back when the element is re-added
    uint32_t engine36;         // 36
    EngineNode* groupHead;     // 40: head of a member
    uint32_t engine44;         // 44
    void* savedState;          // 48: the other state of a changed element
    int32_t memberValue;       // 52: passed back when a member is removed or re-added
    UndoRecord* newer;         // 56
    UndoRecord* older;         // 60
};
static_assert(sizeof(UndoRecord) == 64, "undo record size");
static_assert(offsetof(UndoRecord, stepMark) == 12 && offsetof(UndoRecord, element) == 28 &&
                  offsetof(UndoRecord, value) == 32 && offsetof(UndoRecord, groupHead) == 40 &&
                  offsetof(UndoRecord, savedState) == 48 && offsetof(UndoRecord, memberValue) == 52 &&
                  offsetof(UndoRecord, newer) == 56 && offsetof(UndoRecord, older) == 60,
              "undo record layout");

// ---- Draw parameter block -------------------------------------------------------------------

struct DrawParamBlock {
    int32_t size;                    // 0: 2372
    int32_t paperSpace;              // 4
    int32_t wholeRubberBand;         // 8
    int32_t engine12[2];             // 12
    int32_t colourOverride;          // 20
    int32_t overrideColour;          // 24
    int32_t deviceDraw;              // 28
    int32_t colourMode;              // 32
    int32_t xorDraw;                 // 36
    int32_t filterPageLayer;         // 40
    int32_t filterPage;              // 44
    int32_t filterByLayer;           // 48
    int32_t filterLayer;             // 52
    int32_t termDraw;                // 56
    int32_t pointSize;               // 60
    int32_t lineWidthSize;           // 64
    int32_t engine68[2];             // 68
    int32_t deviceDraw2;             // 76
    int32_t engine80[9];             // 80
    int32_t outputKind;              // 116: 1 window, 2 device context
    HWND window;                     // 120
    HDC dc;                          // 124
    int32_t paperFrame;              // 128
    double paperLeft, paperTop, paperRight, paperBottom;     // 132..163
    int32_t paperFrameColour;        // 164
    int32_t marginFrame;             // 168
    double marginLeft, marginTop, marginRight, marginBottom; // 172..203
    int32_t marginFrameColour;       // 204
    int32_t viewPaint;               // 208
    double engine212;                // 212
    double engine220;                // 220
    int32_t engine228[5];            // 228
    int32_t lastPointMarker;         // 248
    int32_t markerKind;              // 252
    double markerX, markerY, markerZ;  // 256, 264, 272
    int32_t targetRect[4];           // 280
    int32_t centreX, centreY;        // 296, 300
    double scale;                    // 304: pixels per world unit
    double drawingScale;             // 312
    double scaleRatio;               // 320
    double worldLeft, worldTop, worldRight, worldBottom;  // 328..359
    double offsetX, offsetY;         // 360, 368
    double engine376;                // 376
    int32_t engine384;               // 384
    double world2[4];                // 388
    double world3Left, world3Top, world3Z1;               // 420, 428, 436
    double world3Right, world3Bottom, world3Z2;           // 444, 452, 460
    int32_t fittedPage;              // 468
    int32_t backgroundRgb;           // 472
    int32_t drawKind;                // 476: 0 database, 1 element, 2 mark, 3 and 4 arrays
    void* drawElement;               // 480
    void* drawMark;                  // 484
    void* drawArray;                 // 488
    void* drawArray2;                // 492
    int32_t drawCount;               // 496
    char faceName[64];               // 500
    uint8_t engine564[376];          // 564
    int32_t optionWord;              // 940
    uint8_t engine944[1428];         // 944
};
static_assert(sizeof(DrawParamBlock) == 2372, "DrawParamBlock size");
static_assert(offsetof(DrawParamBlock, colourOverride) == 20 && offsetof(DrawParamBlock, xorDraw) == 36 &&
                  offsetof(DrawParamBlock, filterLayer) == 52 && offsetof(DrawParamBlock, lineWidthSize) == 64 &&
                  offsetof(DrawParamBlock, deviceDraw2) == 76 && offsetof(DrawParamBlock, outputKind) == 116 &&
                  offsetof(DrawParamBlock, dc) == 124 && offsetof(DrawParamBlock, paperLeft) == 132 &&
                  offsetof(DrawParamBlock, paperFrameColour) == 164 &&
                  offsetof(DrawParamBlock, marginLeft) == 172 &&
                  offsetof(DrawParamBlock, marginFrameColour) == 204 &&
                  offsetof(DrawParamBlock, viewPaint) == 208 && offsetof(DrawParamBlock, engine220) == 220 &&
                  offsetof(DrawParamBlock, lastPointMarker) == 248 &&
                  offsetof(DrawParamBlock, markerX) == 256 && offsetof(DrawParamBlock, markerZ) == 272 &&
                  offsetof(DrawParamBlock, targetRect) == 280 && offsetof(DrawParamBlock, centreX) == 296 &&
                  offsetof(DrawParamBlock, scale) == 304 && offsetof(DrawParamBlock, drawingScale) == 312 &&
                  offsetof(DrawParamBlock, scaleRatio) == 320 && offsetof(DrawParamBlock, worldLeft) == 328 &&
                  offsetof(DrawParamBlock, worldBottom) == 352 && offsetof(DrawParamBlock, offsetX) == 360 &&
                  offsetof(DrawParamBlock, offsetY) == 368 && offsetof(DrawParamBlock, world2) == 388 &&
                  offsetof(DrawParamBlock, world3Left) == 420 && offsetof(DrawParamBlock, world3Z1) == 436 &&
                  offsetof(DrawParamBlock, world3Right) == 444 && offsetof(DrawParamBlock, world3Z2) == 460 &&
                  offsetof(DrawParamBlock, fittedPage) == 468 &&
                  offsetof(DrawParamBlock, backgroundRgb) == 472 && offsetof(DrawParamBlock, drawKind) == 476 &&
                  offsetof(DrawParamBlock, drawElement) == 480 && offsetof(DrawParamBlock, drawMark) == 484 &&
                  offsetof(DrawParamBlock, drawArray) == 488 && offsetof(DrawParamBlock, drawArray2) == 492 &&
                  offsetof(DrawParamBlock, drawCount) == 496 && offsetof(DrawParamBlock, faceName) == 500 &&
                  offsetof(DrawParamBlock, optionWord) == 940,
              "DrawParamBlock layout");

// ---- Font dictionary requests (ZUriDicFunction) ----------------------------------------------

// The parameter block of the dictionary function: 360 bytes, zeroed and filled by the caller for
// one request. Which fields a code reads and writes is listed with the codes below; bytes not
// named carry nothing.
struct DicParamBlock {
    uint8_t engine0[8];      // 0
    int32_t arg8;            // 8: sub-code, kind or phase
    int32_t arg12;           // 12: index or counter
    int32_t arg16;           // 16
    uint8_t engine20[274];   // 20
    double real294;          // 294
    double real302;          // 302
    double real310;          // 310: engine output
    double real318;          // 318
    uint8_t engine326[8];    // 326
    void* pointer334;        // 334
    void* pointer338;        // 338
    int32_t arg342;          // 342
    uint8_t engine346[14];   // 346
};
static_assert(sizeof(DicParamBlock) == 360, "DicParamBlock size");
static_assert(offsetof(DicParamBlock, arg8) == 8 && offsetof(DicParamBlock, arg12) == 12 &&
                  offsetof(DicParamBlock, arg16) == 16 && offsetof(DicParamBlock, real294) == 294 &&
                  offsetof(DicParamBlock, real302) == 302 && offsetof(DicParamBlock, real310) == 310 &&
                  offsetof(DicParamBlock, real318) == 318 && offsetof(DicParamBlock, pointer334) == 334 &&
                  offsetof(DicParamBlock, pointer338) == 338 && offsetof(DicParamBlock, arg342) == 342,
              "DicParamBlock layout");

// Codes of ZUriDicFunction the engine answers; every other code answers 0 and writes nothing.
//
// kDicTextExtent (15): pointer334 = a text ElementRecord (type 5). Out: real294 = width,
//   real302 = height of the text's box in drawing units. Answers 1, or 0 (nothing written) for
//   a record that is not a measurable text.
// kDicTextOutline (18): pointer334 = a text ElementRecord, pointer338 = four TextOutlineCorner.
//   The engine writes the four corners of the text's box into them (x and y only). Answers 1, or 0
//   when a pointer is null or the text cannot be measured.
// kDicFontName (21): arg8 = kind (3: the single-byte vector-font list, 4: the double-byte list),
//   arg12 = index, pointer334 = a name buffer of kDicFontNameSize bytes. Answers 1 and writes the
//   name, or 0 (nothing written) when there is no such entry.
// kDicTextStrokes (25): the strokes of a text in a vector font, one segment a call.
//   Phase 0 (arg8 = kStrokePhaseStart): pointer334 = the text ElementRecord; the engine keeps the
//     strokes and puts its handle into pointer338; arg12 (the stroke counter) is set to 0.
//     Answers 1, or 0 when the text is not in a vector font or cannot be stroked.
//   Phase 1 (kStrokePhaseNext): pointer338 = the handle, arg12 = the number of the segment to
//     give (the caller counts up by 1 after each). Writes x1, y1, x2, y2 (drawing units) into
//     real294, real302, real310, real318 and answers 1; 0 after the last segment.
//   Phase 10 (kStrokePhaseEnd): pointer338 = the handle; the strokes are released, pointer338 is
//     cleared. Answers 1, or 0 for a handle the engine does not hold.
constexpr int kDicTextExtent = 15;
constexpr int kDicTextOutline = 18;
constexpr int kDicFontName = 21;
constexpr int kDicTextStrokes = 25;
constexpr int kStrokePhaseStart = 0;
constexpr int kStrokePhaseNext = 1;
constexpr int kStrokePhaseEnd = 10;
constexpr int kDicFontNameSize = 262;

// Font kinds of ZUriGetFontNum / ZUriGetFontNm: the system's text families, the single-byte and
// the double-byte vector-font lists (their names pair up as "VectorPF(single:double)").
constexpr int kFontKindText = 0;
constexpr int kFontKindVectorSingle = 1;
constexpr int kFontKindVectorDouble = 2;

// One corner of a text outline, as code 18 writes it (x, y and eight bytes left alone); the four
// come in the order lower left, lower right, upper right, upper left of the unrotated box.
struct TextOutlineCorner {
    double x;               // 0
    double y;               // 8
    uint8_t engine16[8];    // 16
};
static_assert(sizeof(TextOutlineCorner) == 24, "outline corner size");


// ---- Drawing surface ------------------------------------------------------------------------

// The fields of a view's drawing surface that the engine reads in ZUriDrawAll (the surface is the
// program's record; the engine never writes it).
struct DrawSurfaceRecord {
    uint8_t ownDc;          // 0
    int32_t mode;           // 1: 0 or 1 GDI, 2 Direct2D
    uint8_t flag;           // 5
    HWND window;            // 6
    HDC drawDc;             // 10
    HDC windowDc;           // 14
    uint8_t program18[15];  // 18
    RECT client;            // 33: client rectangle of the window
};
static_assert(sizeof(DrawSurfaceRecord) == 49 && offsetof(DrawSurfaceRecord, mode) == 1 &&
                  offsetof(DrawSurfaceRecord, window) == 6 && offsetof(DrawSurfaceRecord, drawDc) == 10 &&
                  offsetof(DrawSurfaceRecord, client) == 33,
              "DrawSurfaceRecord layout");
constexpr int32_t kSurfaceDirect2D = 2;

// ---- Element list of QmGetDrawElementsAll ---------------------------------------------------

// The caller gives room for `capacity` handles; the engine writes `count` (all drawable elements,
// also when they do not fit) and fills up to `capacity` of them.
struct DrawElementList {
    int32_t count;
    int32_t capacity;
    void** handles;
};

#pragma pack(pop)
