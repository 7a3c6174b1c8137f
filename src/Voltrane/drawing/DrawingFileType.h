// What kind of drawing file a path names, by its extension, and the messages of the flags word
// that the engine's load calls fill.
#pragma once

#include <windows.h>

#include <cstdint>

// The file-type codes of drawing paths.
enum DrawingFileType : int {
    kFileTypeNone = 0,    // no, an unknown or an over-long extension: refused
    kFileTypeOtcf = 1,    // ".otcf", the engine's CWU loader
    kFileTypeDxf = 4,     // ".DXF", import command 5103
    kFileTypeJwc = 5,     // ".JWC", ".JWK", import command 5104
    kFileTypeDwg = 7,     // ".DWG", import command 5105
    kFileTypeTif = 8,     // ".TIF", raster open
    kFileTypeTcf = 12,    // ".tcf", the engine's CWX loader
    kFileTypeSfc = 13,    // ".SFC", ".P21", import command 5107
    kFileTypeJww = 15,    // ".JWW", import command 5112
    kFileTypePdf = 16,    // ".PDF", import command 5992
};

// The type of the path, compared case-insensitively from its last "."; 0 for null.
int GetDrawingFileType(const char* path);
// 1 when FindFirstFileA finds the path.
int FindFirstFileExists(const char* path);
// 1 when the file opens for reading with shared read.
int IsFileReadable(const char* path);
// The engine's own formats, which the program loads and saves itself.
inline bool IsEngineFileType(int type) { return type == kFileTypeOtcf || type == kFileTypeTcf; }

// Output bits of the engine's load flags word (input 1 reads a newer format version anyway).
constexpr uint32_t kLoadFlagElement = 0x02;
constexpr uint32_t kLoadFlagNotDrawing = 0x10;
constexpr uint32_t kLoadFlagInfo = 0x80;
constexpr uint32_t kLoadFlagGroup = 0x100;
constexpr uint32_t kLoadFlagMemory = 0x200;
constexpr uint32_t kLoadFlagCompression = 0x400;
constexpr uint32_t kLoadFlagFormat = 0x800;
constexpr uint32_t kLoadFlagNewerVersion = 0x01;  // exactly this word after a failed load

// The order in which the bits of one flags word are looked at: the first set bit names the
// message.
enum class LoadMessageOrder {
    OpenLoaded,   // a successful open: 0x80 0x200 0x100 0x02 0x400 0x800 0x10
    OpenFailed,   // a failed open: 0x80 0x200 0x100 0x02 0x10 0x400 0x800
    PasteLoaded,  // a successful paste load: 0x80 0x100 0x02 0x10, then for tcf 0x400 0x800
};

// The message of the first set bit in the order, or null when none of them is set. Paste
// loads name the group bit "シンボル情報が異常です"; formatBitsCount says whether the two format bits
// count for a paste load.
const char* LoadFlagMessage(uint32_t flags, LoadMessageOrder order, bool formatBitsCount = true);
