#include "view/RasterService.h"

#include <cmath>
#include <cstring>
#include <string>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "EngineBinding.h"
#include "Tifmora.h"
#include "commands/MarkServices.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "view/ElementDrawing.h"
#include "view/RasterGeometry.h"
#include "view/RasterRotation.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"
#include "MemoryProbe.h"

namespace {

typedef int(WINAPI* GetHeadProc)(const void*, DWORD, TiffHeadRecord*);
typedef void*(WINAPI* GetBitsProc)(const void*, DWORD, DWORD*, DWORD*);

EngineDbRecord* Record(void* db) { return static_cast<EngineDbRecord*>(db); }

RasterAttachment* Attachment(void* db) { return db ? static_cast<RasterAttachment*>(Record(db)->rasterAttachment) : nullptr; }

bool GeometryOf(void* db, RasterPixelGeometry* g)
{
    RasterAttachment* a = Attachment(db);
    if (!a || !a->bits) return false;
    *g = {static_cast<double>(a->bitmapWidth), static_cast<double>(a->bitmapHeight), a->widthMm, a->heightMm,
          a->factorX, a->factorY, GetDrawingScale(db)};
    return true;
}

bool IsUsable(const RasterPixelGeometry& g)
{
    return g.pixelsW > 0 && g.pixelsH > 0 && g.widthMm != 0 && g.heightMm != 0 && g.factorX != 0 &&
           g.factorY != 0 && g.drawingScale != 0;
}

int SnapRectToRasterPixels(void* db, double* p1, double* p2)
{
    RasterPixelGeometry g;
    if (!p1 || !p2 || !GeometryOf(db, &g) || !IsUsable(g)) return 0;
    const double xmin = std::fmin(p1[0], p2[0]), xmax = std::fmax(p1[0], p2[0]);
    const double ymin = std::fmin(p1[1], p2[1]), ymax = std::fmax(p1[1], p2[1]);
    auto px = [&](double x) {
        double v = std::trunc(x * g.drawingScale / g.factorX * g.pixelsW / g.widthMm) - std::trunc(-g.pixelsW / 2);
        return std::fmin(std::fmax(v, 0.0), g.pixelsW);
    };
    auto py = [&](double y) {
        double v = std::trunc(g.pixelsH / 2) - std::trunc(y * g.drawingScale / g.factorY * g.pixelsH / g.heightMm);
        return std::fmin(std::fmax(v, 0.0), g.pixelsH);
    };
    double left = px(xmin), right = px(xmax), top = py(ymax), bottom = py(ymin);
    RasterPixelToWorld(g, &left, &top);
    RasterPixelToWorld(g, &right, &bottom);
    p1[0] = left, p1[1] = top;
    p2[0] = right, p2[1] = bottom;
    return 1;
}

}  // namespace

void FreeLockedBlock(void*& pointer)
{
    if (!pointer) return;
    if (HGLOBAL handle = ::GlobalHandle(pointer)) {
        ::GlobalUnlock(handle);
        ::GlobalFree(handle);
    }
    pointer = nullptr;
}

void* NewLockedBlock(size_t size)
{
    HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
    if (!handle) return nullptr;
    void* pointer = ::GlobalLock(handle);
    if (!pointer) ::GlobalFree(handle);
    return pointer;
}

int WorldToRasterPixel(const RasterPixelGeometry& g, double* x, double* y)
{
    if (!IsUsable(g)) return 0;
    const double px = *x * g.drawingScale / g.factorX * g.pixelsW / g.widthMm + g.pixelsW / 2;
    const double py = g.pixelsH / 2 - *y * g.drawingScale / g.factorY * g.pixelsH / g.heightMm;
    *x = std::floor(px);
    *y = std::floor(py);
    return 1;
}

int RasterPixelToWorld(const RasterPixelGeometry& g, double* x, double* y)
{
    if (!IsUsable(g)) return 0;
    const double px = std::trunc(*x), py = std::trunc(*y);
    *x = g.factorX * (px * g.widthMm / g.pixelsW - g.widthMm / 2) / g.drawingScale;
    *y = g.factorY * g.heightMm * (0.5 - py / g.pixelsH) / g.drawingScale;
    return 1;
}

void CCadDbRaster::FreeAttachment(RasterAttachment* a)
{
    if (!a) return;
    if (a->displayBitmap) ::DeleteObject(a->displayBitmap);
    a->displayBitmap = nullptr;
    FreeLockedBlock(a->tiffCopy);
    FreeLockedBlock(a->bits);
    void* block = a;
    FreeLockedBlock(block);
}

int CCadDbRaster::LoadTiffAttachment(void* db, const void* bytes, size_t length, double paperWidthMm,
                                     double paperHeightMm, const char* readerLibrary)
{
    if (!db || !bytes || length == 0 || length > 0x7FFFFFFF || !readerLibrary) return 0;
    // By name from the program folder; a Winelib build has it as "Tifmora.dll.so".
    char folder[MAX_PATH];
    GetProgramFolder(folder, sizeof folder);
    HMODULE library = LoadLibraryByName((std::string(folder) + readerLibrary).c_str());
    if (!library) {
        WriteSystemLogText(0, "Error", (std::string(readerLibrary) + " が読み込めません").c_str());
        return 0;
    }
    auto getHead = reinterpret_cast<GetHeadProc>(::GetProcAddress(library, "GetHeadfromTIFF"));
    auto getBits = reinterpret_cast<GetBitsProc>(::GetProcAddress(library, "GetBMPfromTIFF"));
    TiffHeadRecord header;
    std::memset(&header, 0, sizeof header);
    if (!getHead || !getBits || !getHead(bytes, static_cast<DWORD>(length), &header)) {
        ::FreeLibrary(library);
        return 0;
    }
    const RasterHeader resolution = {header.width, header.height, header.xResolutionNum, header.xResolutionDen,
                                     header.yResolutionNum, header.yResolutionDen, header.resolutionUnit};
    RasterPictureSize size;
    if (!ComputeRasterPictureSize(resolution, paperWidthMm, paperHeightMm, &size)) {
        ::FreeLibrary(library);
        return 0;
    }
    DWORD width = 0, height = 0;
    void* bits = getBits(bytes, static_cast<DWORD>(length), &width, &height);
    ::FreeLibrary(library);
    if (!bits || width != header.width || height != header.height) {
        FreeLockedBlock(bits);
        return 0;
    }
    auto* attachment = static_cast<RasterAttachment*>(NewLockedBlock(sizeof(RasterAttachment)));
    void* copy = NewLockedBlock(length);
    if (!attachment || !copy) {
        FreeLockedBlock(bits);
        FreeLockedBlock(copy);
        void* block = attachment;
        FreeLockedBlock(block);
        return 0;
    }
    std::memcpy(copy, bytes, length);
    attachment->tiffCopy = copy;
    attachment->tiffLength = static_cast<int32_t>(length);
    attachment->bits = bits;
    attachment->bitmapWidth = width;
    attachment->bitmapHeight = height;
    attachment->widthMm = size.widthMm;
    attachment->heightMm = size.heightMm;
    attachment->factorX = size.xFactor;
    attachment->factorY = size.yFactor;
    attachment->left = -size.widthMm / 2;
    attachment->top = size.heightMm / 2;
    // The earlier picture goes; an attached second database stays with the drawing.
    if (RasterAttachment* old = Attachment(db)) {
        attachment->attachedDb = old->attachedDb;
        FreeAttachment(old);
    }
    Record(db)->rasterAttachment = attachment;
    return 1;
}

int CCadDbRaster::DeleteRasterElements(HWND view, void* element)
{
    void* db = GetViewDb(view);
    if (!db) return 0;
    if (element) {
        RedrawElementInViews(view, 0, element);
        ZUriDeleteElement(element, db);
    } else {
        unsigned char record[kElementRecordSize];
        void* e = ZUriReadElement(nullptr, 0, record, db);
        while (e) {
            if (static_cast<EngineNode*>(e)->record.type == kElementRaster) {
                RedrawElementInViews(view, 0, e);
                ZUriDeleteElement(e, db);
                e = ZUriReadElement(nullptr, 0, record, db);
                continue;
            }
            e = ZUriReadElement(e, 1, record, db);
        }
    }
    SetDrawingModified(view);
    return 1;
}

long CCadDbRaster::CountRasterElements(HWND view)
{
    void* db = GetViewDb(view);
    if (!db) return 0;
    long count = 0;
    unsigned char record[kElementRecordSize];
    for (void* e = ZUriReadElement(nullptr, 0, record, db); e; e = ZUriReadElement(e, 1, record, db))
        if (static_cast<EngineNode*>(e)->record.type == kElementRaster) ++count;
    return count;
}

LRESULT CCadDbRaster::Handle(RasterRequest* r)
{
    if (!r) return 0;
    switch (r->operation) {
    case 1: {
        HWND view = GetActiveView();
        void* db = GetViewDb(view);
        if (!db || r->dataLength <= 0) return 0;
        DbInfoRecord info;
        std::memset(&info, 0, sizeof info);
        ZUriGetDBInfo(&info, db);
        if (!LoadTiffAttachment(db, r->data, static_cast<size_t>(r->dataLength), info.paperWidthMm, info.paperHeightMm))
            return 0;
        SetDrawingModified(view);
        if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_REDRAW_VIEW, 0, 0);
        return 1;
    }
    case 2:
        return DeleteRasterElements(r->view, r->data);
    case 5:
    case 6:
        return CountRasterElements(r->view);
    case 7: {
        RasterAttachment* a = Attachment(GetViewDb(r->view));
        auto* out = static_cast<unsigned char*>(r->point2);
        if (!a || !a->bits || !out) return 0;
        const uint16_t zero = 0, all = 0xFFFF;
        std::memcpy(out + 58, &a, 4);
        std::memcpy(out + 56, &zero, 2);
        std::memcpy(out + 54, &all, 2);
        std::memcpy(out + 30, &a->factorX, 8);
        std::memcpy(out + 38, &a->factorY, 8);
        std::memcpy(out + 6, &a->left, 8);
        std::memcpy(out + 14, &a->top, 8);
        return 1;
    }
    case 8:
        return 1;
    case 9:
        SnapRectToRasterPixels(GetActiveDb(), r->point1, static_cast<double*>(r->point2));
        return 1;
    case 10:
    case 11: {
        RasterPixelGeometry g;
        if (r->point1 && GeometryOf(GetActiveDb(), &g)) {
            if (r->operation == 10) WorldToRasterPixel(g, &r->point1[0], &r->point1[1]);
            else RasterPixelToWorld(g, &r->point1[0], &r->point1[1]);
        }
        return 1;
    }
    case 12: {
        void* db = GetViewDb(r->view);
        return db && r->data ? ZUriExpandRstrData(db, r->data, 1) : 0;
    }
    case 13: {
        void* db = GetViewDb(r->view);
        return db && r->data ? ZUriCompRstrData(db, r->data, 0, r->point2) : 0;
    }
    case 14:
        return reinterpret_cast<LRESULT>(RenderRasterRotated(static_cast<const RasterRenderParams*>(r->data)));
    default:
        return 0;
    }
}

int DetectRasterPoint(const double* point, double* out)
{
    if (!point || !out) return 0;
    SearchBlock saved;
    GetSearchSettings(0, &saved);
    SearchBlock search = saved;
    const int32_t words[7] = {3, 0x40000, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    std::memcpy(&search, words, sizeof words);
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&search));
    void* mark = nullptr;
    SetSearchBoxAtCursor(&mark);
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&saved));
    if (!mark) return 0;
    int found = 0;
    for (void* e = CadGetNextMark(mark, nullptr); e && !found; e = CadGetNextMark(mark, e)) {
        const auto* r = reinterpret_cast<const unsigned char*>(&static_cast<EngineNode*>(e)->record);
        double cx, cy, w, h, a;
        const uint8_t* bits;
        uint32_t pw, ph;
        std::memcpy(&cx, r + 33, 8), std::memcpy(&cy, r + 41, 8);
        std::memcpy(&w, r + 57, 8), std::memcpy(&h, r + 65, 8), std::memcpy(&a, r + 73, 8);
        std::memcpy(&bits, r + 123, 4);
        std::memcpy(&pw, r + 131, 4), std::memcpy(&ph, r + 135, 4);
        // The pixel counts come from plug-ins: the block must really hold that many rows.
        if (!bits || pw == 0 || ph == 0 || pw > 100000 || ph > 100000 || w == 0 || h == 0 ||
            ::IsBadReadMemory(bits, static_cast<size_t>(RasterRowBytes(pw)) * ph))
            continue;
        const double u = (point[0] - cx) / w * pw, v = (point[1] - cy) / h * ph;
        const double c = std::cos(a), s = std::sin(a);
        const double column = std::trunc(u * c + v * s + pw / 2.0), row = std::trunc(ph / 2.0 - (v * c - u * s));
        if (!(column >= 0 && column < pw && row >= 0 && row < ph)) continue;
        long px = 0, py = 0;
        if (!FindCharacteristicPixel(bits, pw, ph, static_cast<long>(column), static_cast<long>(row), &px, &py))
            continue;
        const double uu = w * (px - pw / 2.0 + 0.5) / pw, vv = h * (ph / 2.0 - py - 1) / ph;
        out[0] = uu * c - vv * s + cx;
        out[1] = uu * s + vv * c + cy;
        found = 1;
    }
    CadDestroyMark(mark);
    return found;
}

LRESULT HandleRasterRequest(RasterRequest* request)
{
    CCadDbRaster raster;
    return raster.Handle(request);
}
