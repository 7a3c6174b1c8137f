// The drawing tables of the document model that the PDF import reads and writes: line widths,
// colour records, the drawing scale, and copies of elements in another colour.
#include "QmCadDocument.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"

namespace {

constexpr int kElementReadBytes = 238;
constexpr int kElementRecordBytes = 174;
constexpr int kElementColorOffset = 11;

}  // namespace

bool QmCadDocument::HasDrawingInformation() const
{
    return database != nullptr && ZUriGetDbInfoPtr(0, database) != nullptr;
}

bool QmCadDocument::GetLinewidthMm(int number, double* widthMm) const
{
    if (database == nullptr || number < 0 || number >= kLineWidthCount) return false;
    const auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return false;
    if (widthMm) *widthMm = info->lineWidthsMm[number];
    return true;
}

bool QmCadDocument::GetColorRecord(int number, int* red, int* green, int* blue) const
{
    if (database == nullptr || number < 0 || number >= kColourCount) return false;
    const auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return false;
    const ColourRecord& record = info->colours[number];
    if (red) *red = record.red & 0xFF;
    if (green) *green = record.green & 0xFF;
    if (blue) *blue = record.blue & 0xFF;
    return true;
}

bool QmCadDocument::SetColorRecord(int number, int red, int green, int blue)
{
    if (database == nullptr || number < 0 || number >= kColourCount) return false;
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    if (info == nullptr) return false;
    ColourRecord& record = info->colours[number];
    record.red = red;
    record.green = green;
    record.blue = blue;
    return true;
}

double QmCadDocument::GetDrawingScale() const
{
    if (database == nullptr) return 0;
    const auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, database));
    return info ? info->record.scale : 0;
}

CadElement QmCadDocument::CopyElementWithColor(CadElement element, int color)
{
    if (database == nullptr || element == nullptr) return nullptr;
    uint8_t buffer[kElementReadBytes] = {};
    if (ZUriReadElement(element, 0, buffer, database) == nullptr) return nullptr;
    uint8_t record[kElementRecordBytes];
    std::memcpy(record, buffer, sizeof record);
    if (color > 0) {
        const uint16_t number = static_cast<uint16_t>(color);
        std::memcpy(record + kElementColorOffset, &number, sizeof number);
    }
    return ZUriAppendElement(record, database);
}
