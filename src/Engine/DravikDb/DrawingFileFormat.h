// The engine's own drawing files (".tcf" and ".otcf"): a versioned container of checked
// sections.
//
// File header (32 bytes, little-endian): magic "DVKDRAW\x1A"; u16 kind (1 ".tcf", 2 ".otcf");
// u16 major and u16 minor version; u16 header size (32); u32 section count; u32 file length;
// u32 reserved (0); u32 CRC-32 of the 28 bytes before it.
//
// Each section: u32 tag, u32 flags (bit 0: the bytes are zlib-compressed; other bits unknown),
// u32 stored size, u32 size once expanded, u32 CRC-32 of the stored bytes, then the bytes.
// Sections in file order: INFO (the page-0 information block), PREV (the preview), PGST (the
// current page and the page display and detect masks), LNAM (layer names of every page), PAGE
// (one per page), FGRP (figure-group headers with their members), ELEM (the element chain
// with members), END.
//
// Each stored element is its record (pointers cleared), then the figure-header index, the
// text, the picture (an image element's DIB; since minor version 1 also a raster element's
// 1-bit rows, exactly as many bytes as its pixel counts give, or none), tags, tag string, user
// data, extra data, FF tag and members. Files of minor version 0 carry no raster bits.
//
// A reader of a major version takes every file of that major version (unknown sections of a
// newer minor version are skipped); a newer major version is read only when the caller asks
// for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dravikdb {
namespace drawingfile {

constexpr char kMagic[8] = {'D', 'V', 'K', 'D', 'R', 'A', 'W', '\x1A'};
constexpr uint16_t kMajorVersion = 1;
constexpr uint16_t kMinorVersion = 1;
constexpr size_t kHeaderSize = 32;
constexpr size_t kSectionHeaderSize = 20;

enum class FileKind : uint16_t {
    Cwx = 1,  // ".tcf"
    Cwu = 2,  // ".otcf"
};

constexpr uint32_t Tag(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}
constexpr uint32_t kTagInfo = Tag('I', 'N', 'F', 'O');
constexpr uint32_t kTagPreview = Tag('P', 'R', 'E', 'V');
constexpr uint32_t kTagLayerNames = Tag('L', 'N', 'A', 'M');
constexpr uint32_t kTagPageState = Tag('P', 'G', 'S', 'T');
constexpr uint32_t kTagPage = Tag('P', 'A', 'G', 'E');
constexpr uint32_t kTagFigureGroups = Tag('F', 'G', 'R', 'P');
constexpr uint32_t kTagElements = Tag('E', 'L', 'E', 'M');
constexpr uint32_t kTagEnd = Tag('E', 'N', 'D', ' ');

constexpr uint32_t kSectionCompressed = 0x1;

// Bounds a reader holds every file to.
constexpr uint32_t kMaxSectionBytes = 512u * 1024 * 1024;
constexpr int kMaxMemberDepth = 128;
constexpr uint32_t kMaxPreviewSide = 2048;

// Flags of the load calls (in: kLoadNewerVersion; out: the bits below; a failed load of a
// newer version answers exactly kLoadNewerVersion).
constexpr uint32_t kLoadNewerVersion = 0x1;
constexpr uint32_t kLoadElementBad = 0x02;
constexpr uint32_t kLoadNotDrawing = 0x10;
constexpr uint32_t kLoadInfoBad = 0x80;
constexpr uint32_t kLoadGroupBad = 0x100;
constexpr uint32_t kLoadMemory = 0x200;
constexpr uint32_t kLoadCompression = 0x400;
constexpr uint32_t kLoadFormat = 0x800;

// Flags of the save calls.
constexpr uint32_t kSaveDiskFull = 0x10;
constexpr uint32_t kSaveWriteFailed = 0x20;
constexpr uint32_t kSaveNoDatabase = 0x40;
constexpr uint32_t kSaveTooDeep = 0x80;  // groups nested deeper than a reader takes
constexpr uint32_t kSaveMemory = 0x200;
constexpr uint32_t kSaveFormat = 0x800;  // a format this engine does not write

// Results of the save calls.
constexpr int kSaved = 1;
constexpr int kNotSaved = 0;

// The preview picture kept with a drawing: rows top-down, blue-green-red, each row padded
// to 4 bytes.
struct PreviewPixels {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> bits;
    std::size_t Stride() const { return (static_cast<std::size_t>(width) * 3 + 3) & ~static_cast<std::size_t>(3); }
};

}  // namespace drawingfile
}  // namespace dravikdb
