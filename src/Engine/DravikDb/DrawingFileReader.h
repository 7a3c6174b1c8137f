// Reads the bytes of a drawing file into a database, checking every part: a damaged part is
// reported by its flag bit and left out, never trusted.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DrawingFileFormat.h"
#include "EngineDatabase.h"

namespace dravikdb {
namespace drawingfile {

struct ReadResult {
    bool loaded = false;   // the file was recognised and read (flags may still report losses)
    uint32_t flags = 0;    // the load flags (see DrawingFileFormat.h)
    bool hasPageState = false;
    PageStateInfo pageState = {};  // current page and page masks as saved
};

// Reads a whole drawing into `into`, an empty database bound to no record. With infoOnly set
// only the information block and the preview are read. preview may be null.
ReadResult ReadDrawing(const uint8_t* data, size_t size, FileKind kind, uint32_t inFlags, bool infoOnly,
                       Database& into, PreviewPixels* preview);

}  // namespace drawingfile
}  // namespace dravikdb
