// TIFF decoding from memory on libtiff, without any window-system call, so that it can be
// built natively (for fuzzing) as well as into the library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace TiffDecoder {

struct Head {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bitsPerSample = 0;
    uint16_t samplesPerPixel = 0;
    uint16_t photometric = 0;
    uint32_t xResolutionNum = 0;
    uint32_t xResolutionDen = 1;
    uint32_t yResolutionNum = 0;
    uint32_t yResolutionDen = 1;
    uint16_t resolutionUnit = 1;
};

// Largest picture decoded: the one-bit rows may take at most this many bytes.
constexpr uint64_t kMaxBitsBytes = 256ull * 1024 * 1024;

size_t RowBytes(uint32_t width);

bool ReadHead(const void* bytes, size_t length, Head* head);

// Gives a zero-filled block of the size asked for, or null.
typedef unsigned char* (*Allocator)(size_t size, void* context);
// Releases a block the allocator gave.
typedef void (*Releaser)(unsigned char* block, void* context);

// Decodes the first picture into one-bit rows (RowBytes(width) per row, 1 = dark) in a block
// from the allocator. Null on failure (any block is released again).
unsigned char* DecodeBits(const void* bytes, size_t length, uint32_t* width, uint32_t* height,
                          Allocator allocate, Releaser release, void* context);

}  // namespace TiffDecoder
