// Compressed raster bits: a caller's raster record can hand its 1-bit rows to the engine to be
// kept compressed, and have them expanded again. The compressed form is a small header (a mark,
// the pixel counts and the size of the rows) followed by the rows deflated with zlib, whose
// check sum makes a damaged block fail instead of expanding into wrong pixels.
//
// Both buffers are allocated with VirtualAlloc; the record's owner releases the blocks its record
// names with VirtualFree (MEM_RELEASE). Compressing a record again replaces (and frees) the
// compressed block the engine made for it before. The engine's own raster elements keep their
// bits expanded and never hand them out to be compressed.
#include "EngineCalls.h"

#include <zlib.h>

#include <cstring>
#include "MemoryProbe.h"

using namespace dravikdb;

namespace {

constexpr uint32_t kCompressedMark = 0x5A315256;  // "VR1Z"

struct CompressedHeader {
    uint32_t mark;
    int32_t pixelsX;
    int32_t pixelsY;
    uint32_t rowsSize;
};
static_assert(sizeof(CompressedHeader) == 16, "compressed raster header");

// A caller's raster record, copied in; false when it cannot be read and written back.
bool ReadRasterRecord(void* record, RasterRecord& out)
{
    if (record == nullptr || IsBadWriteMemory(record, sizeof out)) return false;
    std::memcpy(&out, record, sizeof out);
    return out.header[0] == kElementRaster && out.header[1] == 0;
}

uint64_t RowsSize(const RasterRecord& raster)
{
    ElementRecord record;
    std::memcpy(&record, &raster, sizeof record);
    return RasterBitsSize(record);
}

// True for a block this engine made: the start of its own allocation, beginning with the mark.
bool IsEngineBlock(const void* block)
{
    MEMORY_BASIC_INFORMATION region{};
    if (block == nullptr || VirtualQuery(block, &region, sizeof region) != sizeof region) return false;
    if (region.AllocationBase != block || region.State != MEM_COMMIT || IsBadReadMemory(block, sizeof(uint32_t))) {
        return false;
    }
    uint32_t mark;
    std::memcpy(&mark, block, sizeof mark);
    return mark == kCompressedMark;
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriCompRstrData(void* db, void* element, int mode, void* out)
{
    (void)mode;
    Database* d = Resolve(db);
    if (d == nullptr || element == nullptr) return 0;
    // The engine's elements keep their own bits: a compressed answer would have the caller free
    // the element's rows.
    if (FindElement(element, d) != nullptr) return 0;
    RasterRecord raster;
    if (!ReadRasterRecord(element, raster) || raster.bits == nullptr) return 0;
    const uint64_t size = RowsSize(raster);
    // The rows must be exactly what the pixel counts give.
    if (size == 0 || raster.bitsSize != size || IsBadReadMemory(raster.bits, static_cast<UINT_PTR>(size))) return 0;
    return Guarded(0, [&] {
        const uLong bound = compressBound(static_cast<uLong>(size));
        auto* block = static_cast<uint8_t*>(
            VirtualAlloc(nullptr, sizeof(CompressedHeader) + bound, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        if (block == nullptr) return 0;
        uLongf packed = bound;
        if (compress2(block + sizeof(CompressedHeader), &packed, static_cast<const Bytef*>(raster.bits),
                      static_cast<uLong>(size), Z_DEFAULT_COMPRESSION) != Z_OK) {
            VirtualFree(block, 0, MEM_RELEASE);
            return 0;
        }
        const CompressedHeader header{kCompressedMark, raster.pixelsX, raster.pixelsY, static_cast<uint32_t>(size)};
        std::memcpy(block, &header, sizeof header);
        const uint32_t total = static_cast<uint32_t>(sizeof header + packed);
        WriteAt(element, offsetof(RasterRecord, compressed), static_cast<void*>(block));
        WriteAt(element, offsetof(RasterRecord, compressedSize), total);
        // The record names one compressed block: an older one the engine made is replaced.
        if (IsEngineBlock(raster.compressed)) VirtualFree(raster.compressed, 0, MEM_RELEASE);
        if (out != nullptr && !IsBadWriteMemory(out, sizeof total)) std::memcpy(out, &total, sizeof total);
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriExpandRstrData(void* db, void* record, int mode)
{
    (void)mode;
    Database* d = Resolve(db);
    if (d == nullptr || record == nullptr) return 0;
    if (Element* element = FindElement(record, d)) return element->raster.empty() ? 0 : 1;
    RasterRecord raster;
    if (!ReadRasterRecord(record, raster)) return 0;
    const uint64_t size = RowsSize(raster);
    if (raster.bits != nullptr && (raster.compressed == nullptr || raster.bitsSize == size)) return 1;  // expanded
    if (raster.compressed == nullptr || size == 0) return 0;
    const uint32_t packedSize = raster.compressedSize;
    if (packedSize <= sizeof(CompressedHeader) || IsBadReadMemory(raster.compressed, packedSize)) return 0;
    const auto* packed = static_cast<const uint8_t*>(raster.compressed);
    CompressedHeader header;
    std::memcpy(&header, packed, sizeof header);
    // A block made for other pixel counts is refused: its rows would not be this raster's.
    if (header.mark != kCompressedMark || header.pixelsX != raster.pixelsX || header.pixelsY != raster.pixelsY ||
        header.rowsSize != size) {
        return 0;
    }
    return Guarded(0, [&] {
        void* rows = VirtualAlloc(nullptr, static_cast<SIZE_T>(size), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (rows == nullptr) return 0;
        uLongf rowsSize = static_cast<uLongf>(size);
        if (uncompress(static_cast<Bytef*>(rows), &rowsSize, packed + sizeof header, packedSize - sizeof header) != Z_OK ||
            rowsSize != size) {
            VirtualFree(rows, 0, MEM_RELEASE);
            return 0;
        }
        WriteAt(record, offsetof(RasterRecord, bits), rows);
        WriteAt(record, offsetof(RasterRecord, bitsSize), static_cast<uint32_t>(size));
        WriteAt(record, offsetof(RasterRecord, expanded), uint8_t{1});
        return 1;
    });
}
