#include "DrawingFileWriter.h"

#include <cstring>
#include <map>
#include <memory>
#include <new>

#include <zlib.h>

#include "DrawingFileBytes.h"

namespace dravikdb {
namespace drawingfile {

namespace {

// Sections smaller than this are stored as they are.
constexpr size_t kCompressFrom = 256;

// The record as stored: the pointers into memory are cleared (their contents follow the
// record).
ElementRecord StoredRecord(const Element& element)
{
    ElementRecord record;
    std::memcpy(&record, &element.node.record, sizeof record);
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    auto clear = [&](size_t offset) { std::memset(bytes + offset, 0, 4); };
    if (record.type == kElementText) clear(offsetof(TextRecord, text));
    if (record.type == kElementImage) clear(offsetof(ImageRecord, dib));
    if (record.type == kElementRaster) {
        clear(offsetof(RasterRecord, compressed));
        clear(offsetof(RasterRecord, bits));
        if (element.raster.empty()) bytes[offsetof(RasterRecord, expanded)] = 0;
    }
    return record;
}

// The picture that follows the record: an image element's DIB or a raster element's bits.
std::string PictureBytes(const Element& element)
{
    if (element.type() == kElementRaster)
        return std::string(element.raster.begin(), element.raster.end());
    if (element.type() != kElementImage || element.image == nullptr) return std::string();
    SIZE_T size = GlobalSize(element.image);
    const void* data = size != 0 ? GlobalLock(element.image) : nullptr;
    if (data == nullptr) return std::string();
    std::string bytes(static_cast<const char*>(data), size);
    GlobalUnlock(element.image);
    return bytes;
}

void WriteElement(ByteWriter& w, const Element& element, const std::map<const void*, uint32_t>& headerIndex,
                  int depth)
{
    // Readers refuse deeper nesting, so such a drawing is not written at all.
    if (depth > kMaxMemberDepth) throw NestingTooDeep();
    ElementRecord record = StoredRecord(element);
    w.Raw(&record, sizeof record);
    uint32_t header = 0xFFFFFFFFu;
    if (element.type() == kElementFigureReference) {
        auto found = headerIndex.find(element.node.groupHeader);
        if (found != headerIndex.end()) header = found->second;
    }
    w.U32(header);
    w.Bytes(element.type() == kElementText ? element.text : std::string());
    w.Bytes(PictureBytes(element));
    w.U32(static_cast<uint32_t>(element.tags.size()));
    for (const auto& tag : element.tags) {
        w.I32(tag.first);
        w.I32(tag.second);
    }
    w.U8(element.hasTagString ? 1 : 0);
    w.Bytes(element.hasTagString ? element.tagString : std::string());
    w.U8(element.userData ? 1 : 0);
    if (element.userData) w.Raw(element.userData->data(), element.userData->size());
    w.U32(static_cast<uint32_t>(element.extraData.size()));
    for (const auto& slot : element.extraData) {
        w.I32(slot.first);
        w.U32(static_cast<uint32_t>(slot.second.size()));
        w.Raw(slot.second.data(), slot.second.size());
    }
    w.U32(static_cast<uint32_t>(element.ffTag));
    w.U32(static_cast<uint32_t>(element.members.size()));
    for (const Element* member : element.members) WriteElement(w, *member, headerIndex, depth + 1);
}

void AppendSection(std::vector<uint8_t>& file, uint32_t tag, const std::vector<uint8_t>& raw)
{
    const std::vector<uint8_t>* stored = &raw;
    std::vector<uint8_t> packed;
    uint32_t flags = 0;
    if (raw.size() >= kCompressFrom) {
        uLongf size = compressBound(static_cast<uLong>(raw.size()));
        packed.resize(size);
        int result = compress2(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
        if (result == Z_MEM_ERROR) throw std::bad_alloc();
        if (result == Z_OK && size < raw.size()) {
            packed.resize(size);
            stored = &packed;
            flags = kSectionCompressed;
        }
    }
    ByteWriter w(file);
    w.U32(tag);
    w.U32(flags);
    w.U32(static_cast<uint32_t>(stored->size()));
    w.U32(static_cast<uint32_t>(raw.size()));
    w.U32(static_cast<uint32_t>(crc32(0L, stored->data(), static_cast<uInt>(stored->size()))));
    w.Raw(stored->data(), stored->size());
}

}  // namespace

void WriteDrawing(const Database& db, FileKind kind, const PreviewPixels* preview, std::vector<uint8_t>& out)
{
    out.clear();
    out.resize(kHeaderSize, 0);
    uint32_t sections = 0;
    std::vector<uint8_t> raw;

    // The page-0 information, its name pointers cleared (the names follow in LNAM).
    {
        auto info = std::make_unique<DbInfoBlock>();
        std::memcpy(info.get(), db.info.get(), sizeof *info);
        for (auto& name : info->layers.names) name = nullptr;
        info->elementCount = static_cast<int32_t>(db.chain.size());
        raw.assign(reinterpret_cast<const uint8_t*>(info.get()),
                   reinterpret_cast<const uint8_t*>(info.get()) + sizeof *info);
        AppendSection(out, kTagInfo, raw);
        ++sections;
    }
    if (preview != nullptr && preview->width > 0 && preview->height > 0 &&
        preview->bits.size() == preview->Stride() * preview->height) {
        raw.clear();
        ByteWriter w(raw);
        w.U32(preview->width);
        w.U32(preview->height);
        w.Raw(preview->bits.data(), preview->bits.size());
        AppendSection(out, kTagPreview, raw);
        ++sections;
    }
    if (db.record != nullptr) {
        const PageStateInfo& state = db.record->pageState;
        raw.assign(reinterpret_cast<const uint8_t*>(&state), reinterpret_cast<const uint8_t*>(&state) + sizeof state);
        AppendSection(out, kTagPageState, raw);
        ++sections;
    }
    {
        raw.clear();
        ByteWriter w(raw);
        size_t countAt = w.Size();
        w.U32(0);
        uint32_t count = 0;
        for (int page = 0; page <= kMaxPage; ++page) {
            if (page != 0 && !db.pages[page]) continue;
            if (!db.layerNames[page]) continue;
            for (int layer = 0; layer < kLayerCount; ++layer) {
                const char* name = db.layerNames[page]->names[layer].get();
                if (name == nullptr || name[0] == '\0') continue;
                w.U16(static_cast<uint16_t>(page));
                w.U16(static_cast<uint16_t>(layer));
                w.Bytes(name);
                ++count;
            }
        }
        w.PatchU32(countAt, count);
        AppendSection(out, kTagLayerNames, raw);
        ++sections;
    }
    for (int page = 1; page <= kMaxPage; ++page) {
        if (!db.pages[page]) continue;
        auto record = std::make_unique<EnginePageRecord>();
        std::memcpy(record.get(), db.pages[page].get(), sizeof *record);
        for (auto& name : record->info.layers.names) name = nullptr;
        raw.clear();
        ByteWriter w(raw);
        w.U16(static_cast<uint16_t>(page));
        w.Raw(record.get(), sizeof *record);
        AppendSection(out, kTagPage, raw);
        ++sections;
    }
    std::map<const void*, uint32_t> headerIndex;
    {
        raw.clear();
        ByteWriter w(raw);
        w.U32(static_cast<uint32_t>(db.headers.size()));
        for (size_t i = 0; i < db.headers.size(); ++i) headerIndex[&db.headers[i]->node] = static_cast<uint32_t>(i);
        for (const Element* header : db.headers) WriteElement(w, *header, headerIndex, 0);
        AppendSection(out, kTagFigureGroups, raw);
        ++sections;
    }
    {
        raw.clear();
        ByteWriter w(raw);
        w.U32(static_cast<uint32_t>(db.chain.size()));
        for (const auto& entry : db.chain) WriteElement(w, *entry.second, headerIndex, 0);
        AppendSection(out, kTagElements, raw);
        ++sections;
    }
    raw.clear();
    AppendSection(out, kTagEnd, raw);
    ++sections;

    std::vector<uint8_t> header;
    ByteWriter h(header);
    h.Raw(kMagic, sizeof kMagic);
    h.U16(static_cast<uint16_t>(kind));
    h.U16(kMajorVersion);
    h.U16(kMinorVersion);
    h.U16(static_cast<uint16_t>(kHeaderSize));
    h.U32(sections);
    h.U32(static_cast<uint32_t>(out.size()));
    h.U32(0);
    h.U32(static_cast<uint32_t>(crc32(0L, header.data(), static_cast<uInt>(header.size()))));
    std::memcpy(out.data(), header.data(), kHeaderSize);
}

}  // namespace drawingfile
}  // namespace dravikdb
