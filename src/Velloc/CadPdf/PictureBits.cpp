#include "CadPdf/PictureBits.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "QmCadImage.h"

namespace {

// Pictures beyond this many bytes of bits are not written (the limit keeps a damaged record
// from asking for gigabytes).
constexpr unsigned long long kMaxRasterBytes = 256ull * 1024 * 1024;

unsigned long long DibRowBytes(long long width, int bitCount)
{
    return ((static_cast<unsigned long long>(width) * static_cast<unsigned>(bitCount) + 31) / 32) * 4;
}

bool ReadWholeFile(const std::string& path, std::string* out)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1ll << 30);
    if (ok) {
        out->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = ReadFile(file, &(*out)[0], static_cast<DWORD>(out->size()), &read, nullptr) && read == out->size();
    }
    CloseHandle(file);
    return ok;
}

}  // namespace

// ---- Temporary JPEG file ---------------------------------------------------------------------

TempJpegImage::TempJpegImage()
{
    char folder[MAX_PATH + 1] = {};
    char path[MAX_PATH + 16] = {};
    const DWORD length = GetTempPathA(sizeof folder, folder);
    if (length == 0 || length > MAX_PATH) return;
    // A name of its own for every picture: two exports (or two programs) never share a file.
    if (GetTempFileNameA(folder, "qpj", 0, path) == 0) return;
    m_path = path;
}

TempJpegImage::~TempJpegImage()
{
    if (!m_path.empty() && GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(m_path.c_str());
}

int TempJpegImage::Encode(HBITMAP bitmap, std::string* jpeg)
{
    if (m_path.empty() || bitmap == nullptr || jpeg == nullptr) return -1;
    QmCadImage image;
    image.AttachBitmap(bitmap);
    if (image.Save(m_path.c_str()) == -1) return -1;
    return ReadWholeFile(m_path, jpeg) ? 0 : -1;
}

// ---- Image elements --------------------------------------------------------------------------

long long DibColorTableSize(const BITMAPINFOHEADER* header, size_t blockSize)
{
    if (header == nullptr || blockSize < sizeof(DWORD)) return -1;
    const DWORD headerSize = header->biSize;
    if (headerSize > blockSize) return -1;
    long long bytes = 0;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
        const int bits = core->bcBitCount;
        bytes = 3ll * (bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0);
    } else {
        if (headerSize < sizeof(BITMAPINFOHEADER)) return -1;
        const int bits = header->biBitCount;
        const long long used = header->biClrUsed;  // all 32 bits of it
        bytes = 4ll * (used != 0 ? used : bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0);
        // The three channel masks follow a plain information header.
        if (header->biCompression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER)) bytes += 12;
    }
    if (static_cast<unsigned long long>(headerSize) + static_cast<unsigned long long>(bytes) > blockSize) return -1;
    return bytes;
}

HBITMAP DibToBitmap(HGLOBAL block)
{
    if (block == nullptr) return nullptr;
    const SIZE_T blockSize = GlobalSize(block);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(block));
    if (header == nullptr) return nullptr;
    HBITMAP bitmap = nullptr;
    const long long table = DibColorTableSize(header, blockSize);
    if (table >= 0) {
        const unsigned long long bitsOffset = header->biSize + static_cast<unsigned long long>(table);
        unsigned long long bitsSize = 0;
        if (header->biSize == sizeof(BITMAPCOREHEADER)) {
            const auto* core = reinterpret_cast<const BITMAPCOREHEADER*>(header);
            bitsSize = DibRowBytes(core->bcWidth, core->bcBitCount) * core->bcHeight;
        } else if (header->biCompression == BI_RGB || header->biCompression == BI_BITFIELDS) {
            bitsSize = DibRowBytes(std::llabs(header->biWidth), header->biBitCount) *
                       static_cast<unsigned long long>(std::llabs(header->biHeight));
        } else {
            bitsSize = header->biSizeImage;
        }
        if (bitsSize > 0 && bitsOffset + bitsSize <= blockSize) {
            HDC screen = GetDC(nullptr);
            if (screen != nullptr) {
                const BYTE* bits = reinterpret_cast<const BYTE*>(header) + bitsOffset;
                bitmap = CreateDIBitmap(screen, header, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(header),
                                        DIB_RGB_COLORS);
                ReleaseDC(nullptr, screen);
            }
        }
    }
    GlobalUnlock(block);
    return bitmap;
}

int SaveBitmapAsJpeg(HBITMAP bitmap, std::string* jpeg)
{
    TempJpegImage temp;
    return temp.Encode(bitmap, jpeg);
}

int SaveDibAsJpeg(HGLOBAL block, std::string* jpeg)
{
    if (block == nullptr) return -1;
    HBITMAP bitmap = DibToBitmap(block);
    if (bitmap == nullptr) return -1;
    const int result = SaveBitmapAsJpeg(bitmap, jpeg);
    DeleteObject(bitmap);
    return result;
}

// ---- Raster elements -------------------------------------------------------------------------

uint8_t* RotateRasterBits(int width, int height, int halfWidth, int halfHeight, uint32_t srcW, uint32_t srcH,
                          const uint8_t* src, double angle, double magnification, double fx, double fy)
{
    if (src == nullptr || width <= 0 || height <= 0) return nullptr;
    const float kx = static_cast<float>(magnification) / static_cast<float>(fx);
    const float ky = static_cast<float>(magnification) / static_cast<float>(fy);
    if (!std::isfinite(kx) || !std::isfinite(ky)) return nullptr;
    const int nx = static_cast<int>(std::fmax(std::fmin(kx, 1e6f), -1e6f));
    const int ny = static_cast<int>(std::fmax(std::fmin(ky, 1e6f), -1e6f));
    const float sa = static_cast<float>(std::sin(angle));
    const float ca = static_cast<float>(std::cos(angle));
    const int v = std::max(1, TheRasterExportDefaults().sampleRows);

    const unsigned long long srcRow = ((static_cast<unsigned long long>(srcW) + 15) / 16) * 2;
    const unsigned long long dstRow = ((static_cast<unsigned long long>(width) + 31) / 32) * 4;
    const unsigned long long dstBytes = dstRow * static_cast<unsigned long long>(height) + 16;
    if (dstBytes > kMaxRasterBytes) return nullptr;
    auto* dst = static_cast<uint8_t*>(VirtualAlloc(nullptr, static_cast<SIZE_T>(dstBytes), MEM_COMMIT, PAGE_READWRITE));
    if (dst == nullptr) return nullptr;

    const int window = nx <= 1 ? 1 : nx < 32 ? nx : 32;
    const long long halfSrcW = srcW / 2;
    const long long halfSrcH = srcH / 2;
    auto rowHits = [&](unsigned long long row, long long sx) {
        const uint8_t* line = src + row * srcRow;
        const unsigned long long first = static_cast<unsigned long long>(sx) / 8;
        uint32_t bytes = 0;
        for (unsigned k = 0; k < 3; ++k) {
            bytes <<= 8;
            if (first + k < srcRow) bytes |= line[first + k];
        }
        const int offset = static_cast<int>(sx % 8);
        const int count = std::min(window, 24 - offset);
        const uint32_t mask = ((count >= 32 ? 0xFFFFFFFFu : ((1u << count) - 1)) << (24 - offset - count));
        return (bytes & mask) != 0;
    };
    for (int i = 0; i < width; ++i) {
        for (int j = 0; j < height; ++j) {
            const float xx = static_cast<float>(i - halfWidth);
            const float yy = static_cast<float>(j - halfHeight);
            const double fsx = halfSrcW + (xx * ca - yy * sa) * kx;
            const double fsy = halfSrcH + (xx * sa + yy * ca) * ky;
            if (!(fsx > -1.0 && fsx < static_cast<double>(srcW)) || !(fsy > -1.0 && fsy < static_cast<double>(srcH)))
                continue;
            const long long sx = static_cast<long long>(fsx);
            const long long sy = static_cast<long long>(fsy);
            if (sx < 0 || sy < 0) continue;
            const long long n = std::min<long long>(ny, static_cast<long long>(srcH) - sy);
            const long long step = (n - 1) / v + 1;
            bool hit = rowHits(static_cast<unsigned long long>(sy), sx);
            for (long long k = 1; !hit && step > 0 && k * step <= n; ++k) {
                const long long row = sy + k * step;
                if (row >= static_cast<long long>(srcH)) break;
                hit = rowHits(static_cast<unsigned long long>(row), sx);
            }
            if (hit) dst[static_cast<unsigned long long>(j) * dstRow + i / 8] |= static_cast<uint8_t>(0x80u >> (i % 8));
        }
    }
    return dst;
}

int MakeRasterBitmap(HBITMAP* out, double magnification, const ElementRecord* record)
{
    *out = nullptr;
    void* db = TheRasterExportDefaults().database;
    if (db == nullptr || record == nullptr || ZUriGetDbInfoPtr(record->page, db) == nullptr) return -1;
    RasterRecord raster;
    std::memcpy(&raster, record, sizeof raster);
    if (raster.compressed != nullptr && raster.expanded == 0) ZUriExpandRstrData(db, &raster, 1);
    if (raster.bits == nullptr || raster.expanded == 0 || raster.pixelFactorX == 0 || raster.pixelFactorY == 0)
        return -1;
    if (raster.pixelsX <= 0 || raster.pixelsY <= 0) return -1;
    const uint32_t srcW = static_cast<uint32_t>(raster.pixelsX);
    const uint32_t srcH = static_cast<uint32_t>(raster.pixelsY);
    // The bits must hold every row the sampling may read.
    const unsigned long long needed = ((static_cast<unsigned long long>(srcW) + 15) / 16) * 2 * srcH;
    if (needed > kMaxRasterBytes || (raster.bitsSize != 0 && needed > raster.bitsSize)) return -1;

    const double c = std::fabs(std::cos(raster.angle));
    const double s = std::fabs(std::sin(raster.angle));
    if (!std::isfinite(c) || !std::isfinite(s)) return -1;
    const double boundsW = srcW * c + srcH * s;
    const double boundsH = srcW * s + srcH * c;
    if (!(boundsW >= 1 && boundsH >= 1) || boundsW > 1e6 || boundsH > 1e6) return -1;
    const int width = static_cast<int>(boundsW + 1e-9);
    const int height = static_cast<int>(boundsH + 1e-9);

    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return -1;
    uint8_t* bits = RotateRasterBits(width, height, static_cast<int>(width * 0.5), static_cast<int>(height * 0.5), srcW,
                                     srcH, static_cast<const uint8_t*>(raster.bits), raster.angle, magnification,
                                     raster.pixelFactorX, raster.pixelFactorY);
    if (bits == nullptr) {
        ReleaseDC(nullptr, screen);
        return -1;
    }
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    // Set pixels in the raster's colour on white paper (black for a white raster).
    info.colours[0] = {255, 255, 255, 0};
    const uint32_t colour = static_cast<uint32_t>(raster.colour) & 0xFFFFFF;
    if (colour == 0xFFFFFF)
        info.colours[1] = {0, 0, 0, 0};
    else
        info.colours[1] = {static_cast<BYTE>((colour >> 16) & 0xFF), static_cast<BYTE>((colour >> 8) & 0xFF),
                           static_cast<BYTE>(colour & 0xFF), 0};
    *out = CreateDIBitmap(screen, &info.header, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    VirtualFree(bits, 0, MEM_RELEASE);
    ReleaseDC(nullptr, screen);
    return *out != nullptr ? 0 : -1;
}
