#include "TiffDecoder.h"

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <vector>

#include <tiffio.h>

namespace TiffDecoder {

namespace {

// A side longer than this is refused before anything is allocated for it.
constexpr uint32_t kMaxSide = 1u << 20;
// Bound of one colour chunk of the fallback path (32-bit pixels).
constexpr size_t kChunkBytes = 16u * 1024 * 1024;

struct MemoryStream {
    const unsigned char* data;
    uint64_t size;
    uint64_t position;
};

tmsize_t ReadProc(thandle_t handle, void* buffer, tmsize_t size)
{
    MemoryStream* s = static_cast<MemoryStream*>(handle);
    if (size <= 0 || s->position >= s->size) return 0;
    uint64_t left = s->size - s->position;
    uint64_t n = static_cast<uint64_t>(size) < left ? static_cast<uint64_t>(size) : left;
    std::memcpy(buffer, s->data + s->position, static_cast<size_t>(n));
    s->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekProc(thandle_t handle, toff_t offset, int whence)
{
    MemoryStream* s = static_cast<MemoryStream*>(handle);
    uint64_t base = 0;
    if (whence == SEEK_CUR) base = s->position;
    else if (whence == SEEK_END) base = s->size;
    else if (whence != SEEK_SET) return static_cast<toff_t>(-1);
    uint64_t target = base + offset;
    if (target < base) return static_cast<toff_t>(-1);  // wrapped
    s->position = target;
    return target;
}

int CloseProc(thandle_t) { return 0; }
toff_t SizeProc(thandle_t handle) { return static_cast<MemoryStream*>(handle)->size; }
// The block is handed to libtiff as a read-only mapping: its reader of unmapped tiles
// refuses valid tiles, and a mapping spares the copies.
int MapProc(thandle_t handle, void** base, toff_t* size)
{
    MemoryStream* s = static_cast<MemoryStream*>(handle);
    *base = const_cast<unsigned char*>(s->data);
    *size = s->size;
    return 1;
}
void UnmapProc(thandle_t, void*, toff_t) {}

int QuietHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// An open TIFF over a memory block, with libtiff's messages kept quiet.
class MemoryTiff {
public:
    MemoryTiff(const void* bytes, size_t length)
        : m_stream{static_cast<const unsigned char*>(bytes), length, 0}
    {
        if (bytes == nullptr || length < 8) return;
        m_options = TIFFOpenOptionsAlloc();
        if (m_options == nullptr) return;
        TIFFOpenOptionsSetErrorHandlerExtR(m_options, QuietHandler, nullptr);
        TIFFOpenOptionsSetWarningHandlerExtR(m_options, QuietHandler, nullptr);
        TIFFOpenOptionsSetMaxSingleMemAlloc(m_options, static_cast<tmsize_t>(kMaxBitsBytes));
        m_tiff = TIFFClientOpenExt("memory", "r", static_cast<thandle_t>(&m_stream), ReadProc,
                                   WriteProc, SeekProc, CloseProc, SizeProc, MapProc, UnmapProc,
                                   m_options);
    }
    ~MemoryTiff()
    {
        if (m_tiff != nullptr) TIFFClose(m_tiff);
        if (m_options != nullptr) TIFFOpenOptionsFree(m_options);
    }
    MemoryTiff(const MemoryTiff&) = delete;
    MemoryTiff& operator=(const MemoryTiff&) = delete;

    TIFF* Get() const { return m_tiff; }

private:
    MemoryStream m_stream;
    TIFFOpenOptions* m_options = nullptr;
    TIFF* m_tiff = nullptr;
};

bool ToRational(float value, uint32_t* num, uint32_t* den)
{
    if (!std::isfinite(value) || value <= 0.0f || value > 4.0e6f) return false;
    double v = value;
    double whole = std::floor(v + 0.5);
    if (std::fabs(v - whole) < 1e-3 && whole >= 1.0) {
        *num = static_cast<uint32_t>(whole);
        *den = 1;
    } else {
        *num = static_cast<uint32_t>(std::floor(v * 1000.0 + 0.5));
        *den = 1000;
        if (*num == 0) return false;
    }
    return true;
}

bool FillHead(TIFF* tiff, Head* head)
{
    *head = Head();
    uint32_t width = 0, height = 0;
    if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) || !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height))
        return false;
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) return false;
    head->width = width;
    head->height = height;
    uint16_t value = 0;
    if (TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &value)) head->bitsPerSample = value;
    if (TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &value)) head->samplesPerPixel = value;
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &value)) head->photometric = value;
    float xres = 0.0f, yres = 0.0f;
    bool hasX = TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &xres) &&
                ToRational(xres, &head->xResolutionNum, &head->xResolutionDen);
    bool hasY = TIFFGetField(tiff, TIFFTAG_YRESOLUTION, &yres) &&
                ToRational(yres, &head->yResolutionNum, &head->yResolutionDen);
    if (hasX && !hasY) {
        head->yResolutionNum = head->xResolutionNum;
        head->yResolutionDen = head->xResolutionDen;
        hasY = true;
    } else if (hasY && !hasX) {
        head->xResolutionNum = head->yResolutionNum;
        head->xResolutionDen = head->yResolutionDen;
        hasX = true;
    }
    uint16_t unit = RESUNIT_INCH;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (!hasX || (unit != RESUNIT_INCH && unit != RESUNIT_CENTIMETER)) {
        // Without a usable resolution the picture is measured in pixels.
        head->resolutionUnit = RESUNIT_NONE;
        if (!hasX) {
            head->xResolutionNum = head->yResolutionNum = 0;
            head->xResolutionDen = head->yResolutionDen = 1;
        }
    } else {
        head->resolutionUnit = unit;
    }
    return true;
}

bool DecodeBilevel(TIFF* tiff, const Head& head, unsigned char* out)
{
    size_t rowBytes = RowBytes(head.width);
    size_t usedBytes = (head.width + 7) / 8;
    tmsize_t lineSize = TIFFScanlineSize(tiff);
    if (lineSize <= 0 || static_cast<size_t>(lineSize) < usedBytes) return false;
    std::vector<unsigned char> line(static_cast<size_t>(lineSize));
    bool invert = head.photometric == PHOTOMETRIC_MINISBLACK;
    unsigned char lastMask = (head.width % 8) == 0 ? 0xFF : static_cast<unsigned char>(0xFF << (8 - head.width % 8));
    for (uint32_t row = 0; row < head.height; ++row) {
        if (TIFFReadScanline(tiff, line.data(), row, 0) < 0) return false;
        unsigned char* dst = out + static_cast<size_t>(row) * rowBytes;
        for (size_t i = 0; i < usedBytes; ++i) dst[i] = invert ? static_cast<unsigned char>(~line[i]) : line[i];
        dst[usedBytes - 1] &= lastMask;
    }
    return true;
}

bool DecodeThroughRgba(TIFF* tiff, const Head& head, unsigned char* out)
{
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff, message)) return false;
    TIFFRGBAImage image;
    if (!TIFFRGBAImageBegin(&image, tiff, 0, message)) return false;
    image.req_orientation = ORIENTATION_TOPLEFT;
    size_t rowBytes = RowBytes(head.width);
    size_t pixelRow = static_cast<size_t>(head.width) * 4;
    uint32_t chunk = static_cast<uint32_t>(kChunkBytes / pixelRow);
    if (chunk == 0) chunk = 1;
    if (chunk > head.height) chunk = head.height;
    bool ok = true;
    try {
        std::vector<uint32_t> raster(static_cast<size_t>(head.width) * chunk);
        for (uint32_t row = 0; ok && row < head.height; row += chunk) {
            uint32_t rows = head.height - row < chunk ? head.height - row : chunk;
            image.row_offset = static_cast<int>(row);
            image.col_offset = 0;
            if (!TIFFRGBAImageGet(&image, raster.data(), head.width, rows)) {
                ok = false;
                break;
            }
            for (uint32_t r = 0; r < rows; ++r) {
                unsigned char* dst = out + static_cast<size_t>(row + r) * rowBytes;
                const uint32_t* src = raster.data() + static_cast<size_t>(r) * head.width;
                for (uint32_t c = 0; c < head.width; ++c) {
                    uint32_t p = src[c];
                    unsigned lum = (TIFFGetR(p) * 299u + TIFFGetG(p) * 587u + TIFFGetB(p) * 114u) / 1000u;
                    // A transparent pixel counts as paper.
                    if (TIFFGetA(p) >= 128 && lum < 128) dst[c / 8] |= static_cast<unsigned char>(0x80 >> (c % 8));
                }
            }
        }
    } catch (...) {
        ok = false;
    }
    TIFFRGBAImageEnd(&image);
    return ok;
}

}  // namespace

size_t RowBytes(uint32_t width)
{
    return ((static_cast<size_t>(width) + 15) / 16) * 2;
}

bool ReadHead(const void* bytes, size_t length, Head* head)
{
    if (head == nullptr) return false;
    *head = Head();
    MemoryTiff tiff(bytes, length);
    if (tiff.Get() == nullptr) return false;
    if (!FillHead(tiff.Get(), head)) {
        *head = Head();
        return false;
    }
    return true;
}

unsigned char* DecodeBits(const void* bytes, size_t length, uint32_t* width, uint32_t* height,
                          Allocator allocate, Releaser release, void* context)
{
    if (width != nullptr) *width = 0;
    if (height != nullptr) *height = 0;
    if (allocate == nullptr || release == nullptr) return nullptr;
    MemoryTiff tiff(bytes, length);
    if (tiff.Get() == nullptr) return nullptr;
    Head head;
    if (!FillHead(tiff.Get(), &head)) return nullptr;
    uint64_t total = static_cast<uint64_t>(RowBytes(head.width)) * head.height;
    if (total == 0 || total > kMaxBitsBytes) return nullptr;
    unsigned char* out = allocate(static_cast<size_t>(total), context);
    if (out == nullptr) return nullptr;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(tiff.Get(), TIFFTAG_ORIENTATION, &orientation);
    // The direct path copies rows as stored; pictures stored in another order go through
    // libtiff's reader, which turns them upright.
    bool bilevel = head.bitsPerSample == 1 && head.samplesPerPixel == 1 && !TIFFIsTiled(tiff.Get()) &&
                   orientation == ORIENTATION_TOPLEFT &&
                   (head.photometric == PHOTOMETRIC_MINISWHITE || head.photometric == PHOTOMETRIC_MINISBLACK);
    bool ok = false;
    try {
        ok = bilevel ? DecodeBilevel(tiff.Get(), head, out) : DecodeThroughRgba(tiff.Get(), head, out);
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        release(out, context);
        return nullptr;
    }
    if (width != nullptr) *width = head.width;
    if (height != nullptr) *height = head.height;
    return out;
}

}  // namespace TiffDecoder
