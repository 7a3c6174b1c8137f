#include "DrawingFileReader.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

#include "DrawingFileBytes.h"

namespace dravikdb {
namespace drawingfile {

namespace {

constexpr size_t kMaxTextBytes = 65535;
constexpr size_t kMaxImageBytes = 64u * 1024 * 1024;
constexpr size_t kMaxTagStringBytes = 1u << 20;
constexpr size_t kMaxLayerNameBytes = 512;
// The smallest element as stored: the record and every count and flag after it.
constexpr size_t kMinElementBytes = kElementRecordSize + 4 * 8 + 2;

uint32_t FlagOfSection(uint32_t tag)
{
    switch (tag) {
    case kTagInfo:
    case kTagLayerNames:
    case kTagPage:
        return kLoadInfoBad;
    case kTagFigureGroups:
        return kLoadGroupBad;
    case kTagElements:
        return kLoadElementBad;
    default:
        return 0;
    }
}

void Terminate(char* text, size_t size) { text[size - 1] = '\0'; }

bool Finite(double v) { return std::isfinite(v); }

// Makes a stored information block safe to use; false when its values cannot be trusted.
bool SanitiseInfo(DbInfoBlock& info)
{
    DbInfoRecord& rec = info.record;
    Terminate(rec.fileName, sizeof rec.fileName);
    Terminate(rec.fileType, sizeof rec.fileType);
    Terminate(rec.title, sizeof rec.title);
    Terminate(rec.drawingNumberText, sizeof rec.drawingNumberText);
    Terminate(rec.author, sizeof rec.author);
    Terminate(rec.remarks, sizeof rec.remarks);
    for (auto& name : info.layers.names) name = nullptr;
    for (auto& group : info.layers.groupNames) Terminate(group, sizeof group);
    for (auto& type : info.lineTypes) {
        Terminate(type.name, sizeof type.name);
        if (type.dashCount < 0 || type.dashCount > 16) return false;
    }
    for (auto& colour : info.colours) Terminate(colour.name, sizeof colour.name);
    if (info.layers.currentLayer < 0 || info.layers.currentLayer >= kLayerCount) return false;
    const double values[] = {rec.drawingWidth, rec.drawingHeight, rec.paperWidthMm, rec.paperHeightMm, rec.scale,
                             info.lengthTolerance, info.cosAngleTolerance, info.sinAngleTolerance};
    for (double v : values)
        if (!Finite(v)) return false;
    for (double w : info.lineWidthsMm)
        if (!Finite(w)) return false;
    return true;
}

class DrawingReader {
public:
    DrawingReader(FileKind kind, uint32_t inFlags, bool infoOnly, Database& into, PreviewPixels* preview)
        : m_kind(kind), m_inFlags(inFlags), m_infoOnly(infoOnly), m_db(into), m_preview(preview)
    {
    }

    ReadResult Read(const uint8_t* data, size_t size);

private:
    enum class Place { Top, FigureHeader, Member, Skip };

    bool ReadHeader(ByteReader& file, uint32_t* sectionCount, uint32_t* fileLength, size_t* headerSize);
    bool Expand(uint32_t flags, const uint8_t* stored, uint32_t storedSize, uint32_t rawSize, std::vector<uint8_t>& raw);
    void Section(uint32_t tag, const std::vector<uint8_t>& raw);
    void ReadInfo(const std::vector<uint8_t>& raw);
    void ReadPreview(const std::vector<uint8_t>& raw);
    void ReadLayerNames(const std::vector<uint8_t>& raw);
    void ReadPage(const std::vector<uint8_t>& raw);
    void ReadElements(const std::vector<uint8_t>& raw, bool figureGroups);
    bool ReadElement(ByteReader& r, Place place, Element* head, int depth, uint32_t badFlag);
    void Finish();

    FileKind m_kind;
    uint32_t m_inFlags;
    bool m_infoOnly;
    Database& m_db;
    PreviewPixels* m_preview;
    ReadResult m_result;
    bool m_sawInfo = false, m_sawPreview = false, m_sawGroups = false, m_sawElements = false, m_sawEnd = false;
    std::vector<std::pair<std::pair<int, int>, std::string>> m_names;
    std::vector<std::pair<int, int>> m_parents;
};

bool DrawingReader::ReadHeader(ByteReader& file, uint32_t* sectionCount, uint32_t* fileLength, size_t* headerSize)
{
    uint8_t header[kHeaderSize];
    if (!file.Raw(header, sizeof header) || std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        m_result.flags = kLoadNotDrawing;
        return false;
    }
    uint32_t storedCrc = 0;
    std::memcpy(&storedCrc, header + 28, 4);
    if (storedCrc != static_cast<uint32_t>(crc32(0L, header, 28))) {
        m_result.flags = kLoadNotDrawing;
        return false;
    }
    uint16_t kind = 0, major = 0, size16 = 0;
    std::memcpy(&kind, header + 8, 2);
    std::memcpy(&major, header + 10, 2);
    std::memcpy(&size16, header + 14, 2);
    std::memcpy(sectionCount, header + 16, 4);
    std::memcpy(fileLength, header + 20, 4);
    if (major == 0 || size16 < kHeaderSize) {
        m_result.flags = kLoadNotDrawing;
        return false;
    }
    if (kind != static_cast<uint16_t>(m_kind)) {
        m_result.flags = kLoadFormat;
        return false;
    }
    if (major > kMajorVersion && (m_inFlags & kLoadNewerVersion) == 0) {
        m_result.flags = kLoadNewerVersion;
        return false;
    }
    *headerSize = size16;
    return file.Skip(size16 - kHeaderSize) || (m_result.flags = kLoadNotDrawing, false);
}

bool DrawingReader::Expand(uint32_t flags, const uint8_t* stored, uint32_t storedSize, uint32_t rawSize,
                           std::vector<uint8_t>& raw)
{
    if ((flags & kSectionCompressed) == 0) {
        if (storedSize != rawSize) return false;
        raw.assign(stored, stored + storedSize);
        return true;
    }
    // zlib never packs better than about 1032 to 1: a larger claim is a damaged header, and
    // must not make the reader reserve memory for it.
    if (rawSize > kMaxSectionBytes || rawSize > static_cast<uint64_t>(storedSize) * 1032u + 1024u) return false;
    raw.resize(rawSize);
    uLongf got = rawSize;
    int result = uncompress(raw.data(), &got, stored, storedSize);
    if (result == Z_MEM_ERROR) throw std::bad_alloc();
    return result == Z_OK && got == rawSize;
}

ReadResult DrawingReader::Read(const uint8_t* data, size_t size)
{
    ByteReader file(data, size);
    uint32_t sectionCount = 0, fileLength = 0;
    size_t headerSize = 0;
    if (!ReadHeader(file, &sectionCount, &fileLength, &headerSize)) return m_result;
    std::vector<uint8_t> raw;
    for (uint32_t i = 0; i < sectionCount && !m_sawEnd; ++i) {
        uint32_t tag = file.U32(), flags = file.U32(), stored = file.U32(), rawSize = file.U32(), crc = file.U32();
        if (!file.Ok() || stored > file.Left()) break;  // cut short: what follows is lost
        const uint8_t* bytes = file.Here();
        file.Skip(stored);
        bool wanted = !m_infoOnly || tag == kTagInfo || tag == kTagPreview || tag == kTagEnd;
        if (!wanted) continue;
        if ((flags & ~kSectionCompressed) != 0) {
            // A packing this reader does not know: nothing of the file can be trusted.
            m_result.flags = kLoadCompression;
            m_result.loaded = false;
            return m_result;
        }
        if (crc != static_cast<uint32_t>(crc32(0L, bytes, stored)) || !Expand(flags, bytes, stored, rawSize, raw)) {
            m_result.flags |= FlagOfSection(tag);
            if (tag == kTagInfo) m_sawInfo = true;
            if (tag == kTagFigureGroups) m_sawGroups = true;
            if (tag == kTagElements) m_sawElements = true;
            continue;
        }
        Section(tag, raw);
        if (m_infoOnly && m_sawInfo && m_sawPreview) break;
    }
    Finish();
    m_result.loaded = true;
    return m_result;
}

void DrawingReader::Section(uint32_t tag, const std::vector<uint8_t>& raw)
{
    switch (tag) {
    case kTagInfo:
        ReadInfo(raw);
        break;
    case kTagPreview:
        ReadPreview(raw);
        break;
    case kTagPageState:
        if (raw.size() >= sizeof(PageStateInfo)) {
            std::memcpy(&m_result.pageState, raw.data(), sizeof(PageStateInfo));
            int page = m_result.pageState.currentPage;
            m_result.hasPageState = page >= 0 && page < kPageNumberLimit;
        }
        break;
    case kTagLayerNames:
        ReadLayerNames(raw);
        break;
    case kTagPage:
        ReadPage(raw);
        break;
    case kTagFigureGroups:
        ReadElements(raw, true);
        break;
    case kTagElements:
        ReadElements(raw, false);
        break;
    case kTagEnd:
        m_sawEnd = true;
        break;
    default:
        break;  // a section of a newer version
    }
}

void DrawingReader::ReadInfo(const std::vector<uint8_t>& raw)
{
    m_sawInfo = true;
    if (raw.size() < sizeof(DbInfoBlock)) {
        m_result.flags |= kLoadInfoBad;
        return;
    }
    auto info = std::make_unique<DbInfoBlock>();
    std::memcpy(info.get(), raw.data(), sizeof *info);
    if (!SanitiseInfo(*info)) {
        m_result.flags |= kLoadInfoBad;
        return;
    }
    std::memcpy(m_db.info.get(), info.get(), sizeof *info);
}

void DrawingReader::ReadPreview(const std::vector<uint8_t>& raw)
{
    m_sawPreview = true;
    if (m_preview == nullptr) return;
    ByteReader r(raw.data(), raw.size());
    PreviewPixels pixels;
    pixels.width = r.U32();
    pixels.height = r.U32();
    if (!r.Ok() || pixels.width == 0 || pixels.height == 0 || pixels.width > kMaxPreviewSide ||
        pixels.height > kMaxPreviewSide || r.Left() != pixels.Stride() * pixels.height)
        return;
    pixels.bits.assign(r.Here(), r.Here() + r.Left());
    *m_preview = std::move(pixels);
}

void DrawingReader::ReadLayerNames(const std::vector<uint8_t>& raw)
{
    ByteReader r(raw.data(), raw.size());
    uint32_t count = r.U32();
    if (!r.Ok() || count > r.Left() / 8) {
        m_result.flags |= kLoadInfoBad;
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        int page = r.U16();
        int layer = r.U16();
        std::string name;
        if (!r.Bytes(name, kMaxLayerNameBytes)) {
            m_result.flags |= kLoadInfoBad;
            return;
        }
        if (page > kMaxPage || !IsValidLayer(layer) || name.find('\0') != std::string::npos) {
            m_result.flags |= kLoadInfoBad;
            continue;
        }
        // Pages come later in the file: the names are set once every page exists.
        m_names.push_back({{page, layer}, std::move(name)});
    }
}

void DrawingReader::ReadPage(const std::vector<uint8_t>& raw)
{
    ByteReader r(raw.data(), raw.size());
    int page = r.U16();
    if (!r.Ok() || page < 1 || page > kMaxPage || m_db.pages[page] || r.Left() < sizeof(EnginePageRecord)) {
        m_result.flags |= kLoadInfoBad;
        return;
    }
    auto record = std::make_unique<EnginePageRecord>();
    r.Raw(record.get(), sizeof *record);
    record->fileType[sizeof record->fileType - 1] = '\0';
    if (!SanitiseInfo(record->info)) {
        m_result.flags |= kLoadInfoBad;
        return;
    }
    int parent = record->parentPage;
    if (!AddPage(m_db, page, record.get())) {
        m_result.flags |= kLoadInfoBad;
        return;
    }
    // A parent may come later in the file than its child.
    m_parents.push_back({page, parent});
}

void DrawingReader::ReadElements(const std::vector<uint8_t>& raw, bool figureGroups)
{
    (figureGroups ? m_sawGroups : m_sawElements) = true;
    uint32_t badFlag = figureGroups ? kLoadGroupBad : kLoadElementBad;
    ByteReader r(raw.data(), raw.size());
    uint32_t count = r.U32();
    if (!r.Ok() || count > r.Left() / kMinElementBytes) {
        m_result.flags |= badFlag;
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        if (!ReadElement(r, figureGroups ? Place::FigureHeader : Place::Top, nullptr, 0, badFlag)) {
            m_result.flags |= badFlag;
            return;
        }
    }
}

// Reads one stored element with its members and adds it where `place` says. False when the
// stored bytes are not well formed (the rest of the section is then lost); an element that is
// well formed but refused is left out with the section's flag.
bool DrawingReader::ReadElement(ByteReader& r, Place place, Element* head, int depth, uint32_t badFlag)
{
    if (depth > kMaxMemberDepth) return false;
    ElementRecord record;
    if (!r.Raw(&record, sizeof record)) return false;
    uint32_t headerIndex = r.U32();
    std::string text, image;
    if (!r.Bytes(text, kMaxTextBytes) || !r.Bytes(image, kMaxImageBytes)) return false;
    uint32_t tagCount = r.U32();
    if (!r.Ok() || tagCount > r.Left() / 8) return false;
    std::vector<std::pair<int32_t, int32_t>> tags(tagCount);
    for (auto& tag : tags) {
        tag.first = r.I32();
        tag.second = r.I32();
    }
    bool hasTagString = r.U8() != 0;
    std::string tagString;
    if (!r.Bytes(tagString, kMaxTagStringBytes)) return false;
    bool hasUserData = r.U8() != 0;
    std::array<uint8_t, kUserDataSize> userData{};
    if (hasUserData && !r.Raw(userData.data(), userData.size())) return false;
    uint32_t extraCount = r.U32();
    if (!r.Ok() || extraCount > r.Left() / 8) return false;
    std::vector<std::pair<int32_t, std::vector<uint8_t>>> extra;
    bool extraBad = false;
    for (uint32_t i = 0; i < extraCount; ++i) {
        int32_t slot = r.I32();
        uint32_t size = r.U32();
        if (!r.Ok() || size > r.Left()) return false;
        if (slot < 0 || slot > kMaxExtraDataSlot || size > kMaxExtraDataSize) {
            extraBad = true;
            r.Skip(size);
            continue;
        }
        extra.push_back({slot, std::vector<uint8_t>(r.Here(), r.Here() + size)});
        r.Skip(size);
    }
    uint32_t ffTag = r.U32();
    uint32_t memberCount = r.U32();
    if (!r.Ok() || memberCount > r.Left() / kMinElementBytes) return false;

    Element* element = nullptr;
    if (place != Place::Skip) {
        auto* bytes = reinterpret_cast<uint8_t*>(&record);
        const char* textPointer = record.type == kElementText ? text.c_str() : nullptr;
        if (record.type == kElementText) std::memcpy(bytes + offsetof(TextRecord, text), &textPointer, 4);
        HGLOBAL dib = nullptr;
        if (record.type == kElementImage && !image.empty()) {
            dib = GlobalAlloc(GMEM_MOVEABLE, image.size());
            void* target = dib != nullptr ? GlobalLock(dib) : nullptr;
            if (target == nullptr) {
                if (dib != nullptr) GlobalFree(dib);
                throw std::bad_alloc();
            }
            std::memcpy(target, image.data(), image.size());
            GlobalUnlock(dib);
        }
        if (record.type == kElementImage) std::memcpy(bytes + offsetof(ImageRecord, dib), &dib, 4);
        bool rasterBad = false;
        if (record.type == kElementRaster) {
            // Bits are taken only when they are exactly what the pixel counts give; an element
            // without them (older files) keeps its place and size without a picture.
            std::memset(bytes + offsetof(RasterRecord, compressed), 0, 4);
            const void* bits = nullptr;
            if (!image.empty()) {
                if (RasterBitsSize(record) == image.size())
                    bits = image.data();
                else
                    rasterBad = true;
            }
            std::memcpy(bytes + offsetof(RasterRecord, bits), &bits, 4);
            if (bits == nullptr) bytes[offsetof(RasterRecord, expanded)] = 0;
        }
        uint32_t refusedFlag = badFlag;
        switch (rasterBad ? Place::Skip : place) {
        case Place::FigureHeader:
            element = CreateFigureHeader(m_db, record);
            break;
        case Place::Member: {
            // An instance among members draws the header its index names (a later header is
            // not known yet); one that leads back to its own header is refused.
            Element* referenced = headerIndex < m_db.headers.size() ? m_db.headers[headerIndex] : nullptr;
            element = AppendMember(m_db, head, record, nullptr, false, referenced);
            if (record.type == kElementFigureReference) refusedFlag = badFlag | kLoadElementBad;
            break;
        }
        case Place::Top:
            if (record.type == kElementFigureReference) {
                refusedFlag = kLoadGroupBad;
                if (headerIndex < m_db.headers.size())
                    element = AppendFigureReference(m_db, m_db.headers[headerIndex], record, false);
            } else {
                element = AppendElement(m_db, record, false);
            }
            break;
        case Place::Skip:
            break;
        }
        if (dib != nullptr) GlobalFree(dib);
        if (element == nullptr) m_result.flags |= refusedFlag;
    }
    if (element != nullptr) {
        for (const auto& tag : tags) element->tags[tag.first] = tag.second;
        element->hasTagString = hasTagString;
        if (hasTagString) element->tagString = tagString.substr(0, kMaxTagStringLength);
        if (hasUserData) element->userData = std::make_unique<std::array<uint8_t, kUserDataSize>>(userData);
        for (auto& slot : extra) element->extraData[slot.first] = std::move(slot.second);
        element->ffTag = ffTag;
        if (extraBad) m_result.flags |= badFlag;
    }
    for (uint32_t i = 0; i < memberCount; ++i) {
        if (!ReadElement(r, element != nullptr ? Place::Member : Place::Skip, element, depth + 1, badFlag)) return false;
    }
    return true;
}

void DrawingReader::Finish()
{
    if (!m_sawInfo) m_result.flags |= kLoadInfoBad;
    if (m_infoOnly) return;
    for (const auto& parent : m_parents) {
        int page = parent.first, up = parent.second;
        if (up != page && up >= 0 && up <= kMaxPage && (up == 0 || m_db.pages[up]))
            m_db.pages[page]->parentPage = up;
    }
    for (const auto& entry : m_names) {
        if (!SetLayerName(m_db, entry.first.first, entry.first.second, entry.second.c_str()))
            m_result.flags |= kLoadInfoBad;
    }
    for (int page = 0; page <= kMaxPage; ++page)
        if (page == 0 || m_db.pages[page]) RefreshLayerNamePointers(m_db, page);
    if (!m_sawGroups) m_result.flags |= kLoadGroupBad;
    if (!m_sawElements) m_result.flags |= kLoadElementBad;
    // A file cut short loses what followed the last whole section.
    if (!m_sawEnd && (m_result.flags & (kLoadElementBad | kLoadGroupBad | kLoadInfoBad)) == 0)
        m_result.flags |= kLoadElementBad;
    RefreshLinks(m_db);
}

}  // namespace

ReadResult ReadDrawing(const uint8_t* data, size_t size, FileKind kind, uint32_t inFlags, bool infoOnly,
                       Database& into, PreviewPixels* preview)
{
    try {
        DrawingReader reader(kind, inFlags, infoOnly, into, preview);
        return reader.Read(data, size);
    } catch (const std::bad_alloc&) {
        ReadResult result;
        result.flags = kLoadMemory;
        return result;
    } catch (...) {
        ReadResult result;
        result.flags = kLoadNotDrawing;
        return result;
    }
}

}  // namespace drawingfile
}  // namespace dravikdb
