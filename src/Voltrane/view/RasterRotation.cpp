#include "view/RasterRotation.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "EngineRecords.h"
#include "MemoryProbe.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/SystemLog.h"
#include "view/RasterGeometry.h"
#include "view/RasterService.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace {

struct WorkBuffers {
    int cx = 0, cy = 0;
    uint8_t* plane = nullptr;
    uint8_t* columns = nullptr;
    uint8_t* rows = nullptr;
};

WorkBuffers& Buffers()
{
    static WorkBuffers buffers;
    return buffers;
}

uint8_t* Reserve(size_t size)
{
    return static_cast<uint8_t*>(::VirtualAlloc(nullptr, size, MEM_COMMIT, PAGE_READWRITE));
}

void Release(uint8_t*& block)
{
    if (block) ::VirtualFree(block, 0, MEM_RELEASE);
    block = nullptr;
}

// Larger sources than this many pixels a side are no picture a plug-in could hold.
const long kMaxSourcePixels = 100000;

size_t PlaneSize(int width, int height) { return static_cast<size_t>(width / 8 + 1) * (height + 1); }

double Seconds(const LARGE_INTEGER& start, const LARGE_INTEGER& frequency)
{
    LARGE_INTEGER end;
    ::QueryPerformanceCounter(&end);
    return frequency.QuadPart ? static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart : 0.0;
}

int g_rotationChoice = 0;

INT_PTR CALLBACK RotationDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case 2: g_rotationChoice = 0; break;
    case 1000: g_rotationChoice = kRasterTurnRight; break;
    case 1001: g_rotationChoice = kRasterTurnLeft; break;
    case 1002: g_rotationChoice = kRasterTurnHalf; break;
    default: return FALSE;
    }
    ::EndDialog(dialog, 1);
    return TRUE;
}

}  // namespace

bool IsRasterInkClearedBits()
{
    const int background = GetLocalSettingsLive().setup.bBkColor;
    return background == 1 || background == 2;
}

int AllocRasterBuffers()
{
    WorkBuffers& b = Buffers();
    b.cx = ::GetSystemMetrics(SM_CXSCREEN) + 10;
    b.cy = ::GetSystemMetrics(SM_CYSCREEN) + 10;
    const char* const failures[] = {"01 ラスターのメモリが確保できません", "02 ラスターのメモリが確保できません",
                                    "03 ラスターのメモリが確保できません"};
    uint8_t** blocks[] = {&b.plane, &b.columns, &b.rows};
    const size_t sizes[] = {PlaneSize(b.cx, b.cy) + 1, static_cast<size_t>(b.cx) * 200 + 4,
                            static_cast<size_t>(b.cy) * 200 + 4};
    for (int i = 0; i < 3; ++i) {
        if (*blocks[i]) continue;
        *blocks[i] = Reserve(sizes[i]);
        if (!*blocks[i]) {
            WriteSystemLogText(0, "Error", failures[i]);
            return 0;
        }
    }
    return 1;
}

int FreeRasterBuffers()
{
    WorkBuffers& b = Buffers();
    Release(b.plane);
    Release(b.columns);
    Release(b.rows);
    return 1;
}

HBITMAP RenderRasterRotated(const RasterRenderParams* params)
{
    if (!params) return nullptr;
    LARGE_INTEGER frequency = {}, start = {};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const RasterRenderParams p = *params;
    const WorkBuffers& b = Buffers();
    const long width = std::labs(static_cast<long>(p.x2) - p.x1);
    const long height = std::labs(static_cast<long>(p.y2) - p.y1);
    const long rowBytes = static_cast<long>(RasterRowBytes(static_cast<uint32_t>(width)));
    const bool callerPlane = p.callerBuffer != nullptr;
    // The size is checked before anything of the caller's is touched.
    if (callerPlane) {
        if (width > 50L * b.cx || height > 50L * b.cy) {
            ::MessageBoxA(GetMainFrameWnd(), GetMessageText(7456), "Error!", MB_OK);
            return nullptr;
        }
    } else if (!b.plane || width > b.cx || height > b.cy) {
        return nullptr;
    }
    const long srcW = p.sourceWidth, srcH = p.sourceHeight;
    // The source's pixel counts come from the caller: its bits must really hold that many rows.
    const bool sourceGiven = p.sourceBits && srcW > 0 && srcH > 0;
    if (sourceGiven && (srcW > kMaxSourcePixels || srcH > kMaxSourcePixels ||
                        ::IsBadReadMemory(p.sourceBits, static_cast<size_t>(RasterRowBytes(srcW)) * srcH)))
        return nullptr;
    uint8_t* plane = callerPlane ? p.callerBuffer : b.plane;
    const bool light = !callerPlane && IsRasterInkClearedBits();
    const size_t planeBytes = callerPlane ? PlaneSize(width, height) : PlaneSize(b.cx, b.cy);
    std::memset(plane, light ? 0xFF : 0x00, std::max<size_t>(planeBytes, static_cast<size_t>(rowBytes) * height));

    const bool sourceUsable = sourceGiven && p.scaleX != 0 && p.scaleY != 0 && std::isfinite(p.size) &&
                              std::isfinite(p.angle);
    if (sourceUsable) {
        const long srcRow = static_cast<long>(RasterRowBytes(static_cast<uint32_t>(srcW)));
        const double fx = p.size / p.scaleX, fy = p.size / p.scaleY;
        const long columns = std::max(1L, std::min(32L, static_cast<long>(std::trunc(fx))));
        const long extraRows = std::max(0L, static_cast<long>(std::trunc(fy)));
        // The setting is read, never written back.
        int split = GetCadSystem().config.RASTRSPLIT;
        if (split < 2) split = 1;
        const double c = std::cos(p.angle), s = std::sin(p.angle);
        for (long r = 0; r < height; ++r) {
            for (long col = 0; col < width; ++col) {
                const double X = static_cast<double>(p.x1) - p.offsetX + col;
                const double Y = static_cast<double>(p.y1) - p.offsetY + r;
                const double u = std::trunc((X * c - Y * s) * fx), v = std::trunc((X * s + Y * c) * fy);
                if (!std::isfinite(u) || !std::isfinite(v) || std::fabs(u) > 1e9 || std::fabs(v) > 1e9) continue;
                const long sx = srcW / 2 + static_cast<long>(u), sy = srcH / 2 + static_cast<long>(v);
                if (sx < 0 || sy < 0 || sx >= srcW || sy >= srcH) continue;
                // The block under the mask: up to 24 bits from the column's byte, inside the row.
                const long lastColumn = std::min({sx + columns, srcW, (sx / 8) * 8 + 24});
                long rowsToTest = light ? std::min(extraRows + 1, srcH - sy) : std::max(1L, std::min(extraRows, srcH - sy));
                const long step = light ? 1 : (rowsToTest - 1) / split + 1;
                bool ink = false;
                for (long k = 0; k < rowsToTest && !ink; k += step) {
                    const uint8_t* row = p.sourceBits + (sy + k) * srcRow;
                    for (long x = sx; x < lastColumn; ++x) {
                        if ((row[x / 8] >> (7 - x % 8)) & 1) {
                            ink = true;
                            break;
                        }
                    }
                }
                if (!ink) continue;
                uint8_t& byte = plane[r * rowBytes + col / 8];
                const uint8_t bit = static_cast<uint8_t>(0x80 >> (col % 8));
                byte = light ? static_cast<uint8_t>(byte & ~bit) : static_cast<uint8_t>(byte | bit);
            }
        }
    }
    HBITMAP bitmap = callerPlane || width == 0 || height == 0
                         ? nullptr
                         : ::CreateBitmap(static_cast<int>(width), static_cast<int>(height), 1, 1, plane);
    WriteSystemLog(2, "Bmp Rotation", "処理時間 %lf(sec)", Seconds(start, frequency));
    return bitmap;
}

int ApplyRasterTurn(RasterAttachment* a, int turn)
{
    if (!a || !a->bits) return 0;
    if (turn == 0) return 1;
    const uint32_t w = a->bitmapWidth, h = a->bitmapHeight;
    HGLOBAL handle = ::GlobalHandle(a->bits);
    const size_t blockSize = handle ? ::GlobalSize(handle) : static_cast<size_t>(RasterRowBytes(w)) * h;
    std::vector<uint8_t> turned;
    uint32_t nw = 0, nh = 0;
    try {
        if (!RotateRasterBits(static_cast<const uint8_t*>(a->bits), blockSize, w, h, turn, &turned, &nw, &nh))
            return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (turned.size() > blockSize) {
        void* larger = NewLockedBlock(turned.size());
        if (!larger) return 0;
        if (handle) {
            ::GlobalUnlock(handle);
            ::GlobalFree(handle);
        }
        a->bits = larger;
    }
    std::memcpy(a->bits, turned.data(), turned.size());
    a->bitmapWidth = nw;
    a->bitmapHeight = nh;
    if (turn != kRasterTurnHalf) {
        // A picture that is not square turns about its centre, not its corner.
        const double centreX = a->left + a->widthMm / 2, centreY = a->top - a->heightMm / 2;
        std::swap(a->widthMm, a->heightMm);
        std::swap(a->factorX, a->factorY);
        a->left = centreX - a->widthMm / 2;
        a->top = centreY + a->heightMm / 2;
    }
    return 1;
}

int RotateRasterAttachment(HWND owner)
{
    HWND view = GetActiveView();
    void* db = GetViewDb(view);
    auto* a = db ? static_cast<RasterAttachment*>(static_cast<EngineDbRecord*>(db)->rasterAttachment) : nullptr;
    if (!a || !a->bits) {
        ::MessageBoxA(owner, GetMessageText(7227), "Error!", MB_OK);
        return 1;
    }
    g_rotationChoice = 0;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(GetMainFrameWnd(), GWLP_HINSTANCE));
    ::DialogBoxParamA(instance, "ROTDIALOG", owner, RotationDialogProc, 0);
    static HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    HCURSOR previous = ::SetCursor(wait);
    LARGE_INTEGER frequency = {}, start = {};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    int result = 1;
    if (!ApplyRasterTurn(a, g_rotationChoice)) {
        WriteSystemLogText(0, "Error", "ラスター回転処理で、メモリが確保できません");
        ::MessageBoxA(owner, GetMessageText(7456), "Error!", MB_OK);
        result = 0;
    }
    WriteSystemLog(2, "Ras Rotation", "処理時間 %lf(sec)", Seconds(start, frequency));
    ::SetCursor(previous);
    ::InvalidateRect(view, nullptr, TRUE);
    ::UpdateWindow(view);
    return result;
}

int DrawRasterAttachment(HDC dc, const DrawParamBlock& block, void* db)
{
    auto* a = db ? static_cast<RasterAttachment*>(static_cast<EngineDbRecord*>(db)->rasterAttachment) : nullptr;
    if (!dc || !a || !a->bits || a->bitmapWidth == 0 || a->bitmapHeight == 0) return 0;
    const double s = GetDrawingScale(db);
    // The picture's size and the world origin in the view's pixels.
    const double width = std::fabs(block.scale * a->factorX * a->widthMm / s);
    const double height = std::fabs(block.scale * a->factorY * a->heightMm / s);
    const double centreX = block.centreX + block.scale * block.offsetX;
    const double centreY = block.centreY - block.scale * block.offsetY;
    if (!(width >= 1 && height >= 1 && width < 1e9 && height < 1e9) || !(std::fabs(centreX) < 1e9) ||
        !(std::fabs(centreY) < 1e9))
        return 0;
    const long x1 = std::max<long>(block.targetRect[0], static_cast<long>(std::floor(centreX - width / 2)));
    const long x2 = std::min<long>(block.targetRect[2], static_cast<long>(std::ceil(centreX + width / 2)));
    const long y1 = std::max<long>(block.targetRect[1], static_cast<long>(std::floor(centreY - height / 2)));
    const long y2 = std::min<long>(block.targetRect[3], static_cast<long>(std::ceil(centreY + height / 2)));
    if (x2 <= x1 || y2 <= y1) return 0;
    RasterRenderParams p;
    std::memset(&p, 0, sizeof p);
    p.x1 = x1, p.y1 = y1, p.x2 = x2, p.y2 = y2;
    p.offsetX = static_cast<int32_t>(std::lround(centreX));
    p.offsetY = static_cast<int32_t>(std::lround(centreY));
    p.sourceWidth = static_cast<int32_t>(a->bitmapWidth);
    p.sourceHeight = static_cast<int32_t>(a->bitmapHeight);
    p.sourceBits = static_cast<const uint8_t*>(a->bits);
    // Source pixels per view pixel: size / scale across, size / scale down.
    p.size = a->bitmapWidth;
    p.scaleX = width;
    p.scaleY = height * a->bitmapWidth / a->bitmapHeight;
    HBITMAP picture = RenderRasterRotated(&p);
    if (!picture) return 0;
    HDC memory = ::CreateCompatibleDC(dc);
    if (!memory) {
        ::DeleteObject(picture);
        return 0;
    }
    HGDIOBJ old = ::SelectObject(memory, picture);
    // Copied into colour, a one-bit picture's 0 bits take the text colour and its 1 bits the
    // background colour.
    const COLORREF background = static_cast<COLORREF>(block.backgroundRgb) & 0xFFFFFF;
    const bool light = IsRasterInkClearedBits();
    const COLORREF ink = light ? RGB(0, 0, 0) : RGB(255, 255, 255);
    const COLORREF oldText = ::SetTextColor(dc, light ? ink : background);
    const COLORREF oldBack = ::SetBkColor(dc, light ? background : ink);
    ::BitBlt(dc, x1, y1, x2 - x1, y2 - y1, memory, 0, 0, SRCCOPY);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBack);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
    ::DeleteObject(picture);
    return 1;
}
