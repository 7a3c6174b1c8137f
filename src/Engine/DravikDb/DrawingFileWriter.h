// Writes a database as the bytes of a drawing file.
#pragma once

#include <cstdint>
#include <vector>

#include "DrawingFileFormat.h"
#include "EngineDatabase.h"

namespace dravikdb {
namespace drawingfile {

// Thrown when members are nested deeper than a reader takes.
struct NestingTooDeep {};

// The whole file in memory (preview may be null). Throws std::bad_alloc when memory runs out
// and NestingTooDeep for a drawing no reader could take back.
void WriteDrawing(const Database& db, FileKind kind, const PreviewPixels* preview, std::vector<uint8_t>& out);

}  // namespace drawingfile
}  // namespace dravikdb
