// The exported calls of Tifmora: the decoder's results in the records and memory blocks the
// callers free.
#include <windows.h>

#include <cstring>

#include "Tifmora.h"
#include "TiffDecoder.h"

namespace {

unsigned char* AllocateLockedBlock(size_t size, void*)
{
    // A fixed block: its handle and its locked address are the same, so the caller may free
    // it by either.
    HGLOBAL block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size);
    if (block == nullptr) return nullptr;
    return static_cast<unsigned char*>(GlobalLock(block));
}

void ReleaseLockedBlock(unsigned char* bits, void*)
{
    if (bits == nullptr) return;
    HGLOBAL block = GlobalHandle(bits);
    if (block == nullptr) return;
    GlobalUnlock(block);
    GlobalFree(block);
}

}  // namespace

TIFMORA_API int WINAPI GetHeadfromTIFF(const void* bytes, DWORD length, TiffHeadRecord* header)
{
    if (header == nullptr) return 0;
    std::memset(header, 0, sizeof *header);
    TiffDecoder::Head head;
    if (!TiffDecoder::ReadHead(bytes, length, &head)) return 0;
    header->width = head.width;
    header->height = head.height;
    header->bitsPerSample = head.bitsPerSample;
    header->samplesPerPixel = head.samplesPerPixel;
    header->photometric = head.photometric;
    header->xResolutionNum = head.xResolutionNum;
    header->xResolutionDen = head.xResolutionDen;
    header->yResolutionNum = head.yResolutionNum;
    header->yResolutionDen = head.yResolutionDen;
    header->resolutionUnit = head.resolutionUnit;
    return 1;
}

TIFMORA_API void* WINAPI GetBMPfromTIFF(const void* bytes, DWORD length, DWORD* width, DWORD* height)
{
    if (width != nullptr) *width = 0;
    if (height != nullptr) *height = 0;
    uint32_t w = 0, h = 0;
    unsigned char* bits = TiffDecoder::DecodeBits(bytes, length, &w, &h, AllocateLockedBlock,
                                                  ReleaseLockedBlock, nullptr);
    if (bits == nullptr) return nullptr;
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
    return bits;
}
