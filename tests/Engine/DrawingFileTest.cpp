// The engine's drawing files: save and load round trips of every element kind with their
// data, pages and layers, the information-only loaders, every kind of damaged file, and saves
// that fail without harming the old file.
#include "GTest.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "TempFolder.h"

namespace {

constexpr uint32_t kElementBad = 0x02, kNotDrawing = 0x10, kInfoBad = 0x80, kGroupBad = 0x100,
                   kCompression = 0x400, kFormat = 0x800;

// A database record owned by the test, created and deleted as the program does.
class Db {
public:
    Db()
    {
        std::memset(&m_record, 0, sizeof m_record);
        m_ok = ZUriCreateDB(&m_record) != 0;
    }
    ~Db()
    {
        if (m_record.preview != nullptr) DeleteObject(m_record.preview);
        m_record.preview = nullptr;
        ZUriDeleteDB(&m_record);
    }
    bool Ok() const { return m_ok; }
    EngineDbRecord* operator&() { return &m_record; }
    EngineDbRecord& Record() { return m_record; }

private:
    EngineDbRecord m_record;
    bool m_ok = false;
};

ElementRecord Base(uint16_t type, uint16_t layer = 3, uint16_t colour = 7)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.type = type;
    r.layer = layer;
    r.colour = colour;
    r.lineType = 2;
    r.lineWidth = 1;
    return r;
}

template <typename T>
T& As(ElementRecord& r)
{
    return reinterpret_cast<T&>(r);
}

ElementRecord Line(double x1, double y1, double x2, double y2)
{
    ElementRecord r = Base(kElementLine);
    auto& l = As<LineRecord>(r);
    l.x1 = x1;
    l.y1 = y1;
    l.x2 = x2;
    l.y2 = y2;
    return r;
}

HGLOBAL MakeDib()
{
    // A 2 x 2, 24-bit packed DIB.
    const size_t size = sizeof(BITMAPINFOHEADER) + 2 * 8;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    std::memset(bytes, 0, size);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = 2;
    header->biHeight = 2;
    header->biPlanes = 1;
    header->biBitCount = 24;
    for (size_t i = sizeof(BITMAPINFOHEADER); i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
    GlobalUnlock(block);
    return block;
}

std::string GlobalBytes(HGLOBAL block)
{
    if (block == nullptr) return std::string();
    SIZE_T size = GlobalSize(block);
    const char* data = static_cast<const char*>(GlobalLock(block));
    std::string bytes(data, size);
    GlobalUnlock(block);
    return bytes;
}

HBITMAP MakePreview()
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 176, 126);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 176, 126};
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    FillRect(dc, &all, green);
    DeleteObject(green);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Fills a database with one element of every kind and the data that goes with elements.
// The bits of a 21 x 3 raster: rows of 4 bytes (padded to 16 bits).
std::vector<uint8_t> RasterPattern()
{
    std::vector<uint8_t> bits;
    for (int i = 0; i < 12; ++i) bits.push_back(static_cast<uint8_t>(0x81 + i * 7));
    return bits;
}

ElementRecord Raster(const void* bits, int32_t pixelsX = 21, int32_t pixelsY = 3)
{
    ElementRecord r = Base(kElementRaster);
    auto& raster = As<RasterRecord>(r);
    raster.cx = 50;
    raster.cy = 60;
    raster.width = 21;
    raster.height = 3;
    raster.cosAngle = 1;
    raster.pixelsX = pixelsX;
    raster.pixelsY = pixelsY;
    raster.resolutionX = raster.resolutionY = 200;
    raster.resolutionUnit = 2;
    raster.bits = const_cast<void*>(bits);
    raster.expanded = 1;
    return r;
}

std::vector<uint8_t> RasterBitsOf(const ElementRecord& r, size_t size)
{
    const auto* bits = static_cast<const uint8_t*>(reinterpret_cast<const RasterRecord&>(r).bits);
    return bits == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(bits, bits + size);
}

void FillDrawing(EngineDbRecord* db)
{
    DbInfoRecord info;
    ASSERT_EQ(1, ZUriGetDBInfo(&info, db));
    std::strcpy(info.title, "配電盤図");
    std::strcpy(info.author, "表示テスト");
    info.paperWidthMm = 594.0;
    info.paperHeightMm = 420.0;
    info.scale = 0.01;
    info.paperCode = kPaperCodeA + 2;
    ASSERT_NE(0, ZUriSetDBInfo(&info, db));
    ASSERT_NE(0, ZUriSetLayerName(0, 3, "電源", db));
    ASSERT_NE(0, ZUriSetLayerName(0, 1023, "last", db));

    void* line = ZUriAppendElement(&static_cast<const ElementRecord&>(Line(1, 2, 3, 4)), db);
    ASSERT_NE(nullptr, line);
    ASSERT_NE(0, ZUriSetTag(line, 210, 1));
    ASSERT_NE(0, ZUriSetTag(line, 7, -42));
    ASSERT_NE(0, ZUriSetTagString(line, "リンク先\\file.tcf"));
    uint8_t user[256];
    for (int i = 0; i < 256; ++i) user[i] = static_cast<uint8_t>(255 - i);
    ASSERT_NE(0, ZUriSet256UserData(line, user));
    ASSERT_NE(0, ZUriSetExtrData(line, 38, 0, 5, "abcde"));

    ElementRecord point = Base(kElementPoint);
    As<PointRecord>(point).x = 10;
    ASSERT_NE(nullptr, ZUriAppendElement(&point, db));
    ElementRecord circle = Base(kElementCircle);
    As<CircleRecord>(circle).radius = 5;
    As<CircleRecord>(circle).nz = 1;
    ASSERT_NE(nullptr, ZUriAppendElement(&circle, db));
    ElementRecord arc = Base(kElementArc);
    As<ArcRecord>(arc).radius = 2;
    As<ArcRecord>(arc).endAngle = 1.5;
    As<ArcRecord>(arc).clockwise = 1;
    ASSERT_NE(nullptr, ZUriAppendElement(&arc, db));
    ElementRecord text = Base(kElementText);
    As<TextRecord>(text).height = 3.5;
    std::strcpy(As<TextRecord>(text).font, "ＭＳ ゴシック");
    As<TextRecord>(text).text = "表題　配線";
    ASSERT_NE(nullptr, ZUriAppendElement(&text, db));
    ElementRecord ellipse = Base(kElementEllipse);
    As<EllipseRecord>(ellipse).ax = 4;
    As<EllipseRecord>(ellipse).ratio = 0.5;
    ASSERT_NE(nullptr, ZUriAppendElement(&ellipse, db));
    ElementRecord ellipticArc = Base(kElementEllipticArc);
    As<EllipticArcRecord>(ellipticArc).ax = 4;
    As<EllipticArcRecord>(ellipticArc).ratio = 0.25;
    As<EllipticArcRecord>(ellipticArc).endAngle = 2;
    ASSERT_NE(nullptr, ZUriAppendElement(&ellipticArc, db));
    ElementRecord viewport = Base(kElementViewport);
    As<ViewportRecord>(viewport).x2 = 100;
    As<ViewportRecord>(viewport).scale = 0.5;
    ASSERT_NE(nullptr, ZUriAppendElement(&viewport, db));
    ElementRecord image = Base(kElementImage);
    HGLOBAL dib = MakeDib();
    As<ImageRecord>(image).dib = dib;
    As<ImageRecord>(image).x2 = 20;
    ASSERT_NE(nullptr, ZUriAppendElement(&image, db));
    GlobalFree(dib);
    {
        // A raster whose bits the caller frees right after the append.
        std::vector<uint8_t> bits = RasterPattern();
        ElementRecord raster = Raster(bits.data());
        ASSERT_NE(nullptr, ZUriAppendElement(&raster, db));
    }

    // A group of two members, the second a composite with a member of its own.
    ElementRecord group = Base(kElementGroup);
    void* head = ZUriAppendElement(&group, db);
    ASSERT_NE(nullptr, head);
    ASSERT_NE(nullptr, ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(0, 0, 1, 1)), head, db));
    ElementRecord inner = Base(kElementComposite);
    void* innerHead = ZUriAppendMemberElement(&inner, head, db);
    ASSERT_NE(nullptr, innerHead);
    ASSERT_NE(nullptr, ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(5, 5, 6, 6)), innerHead, db));

    // A figure group with one member and an instance of it.
    ElementRecord headerRecord = Base(kElementFigureHeader, 1030);
    As<FigureHeaderRecord>(headerRecord).originX = 12;
    void* header = ZUriCreateFgroupHead(&headerRecord, db);
    ASSERT_NE(nullptr, header);
    ASSERT_NE(nullptr, ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(7, 7, 8, 8)), header, db));
    ElementRecord instance = Base(kElementFigureReference);
    As<FigureReferenceRecord>(instance).scaleX = 2;
    As<FigureReferenceRecord>(instance).x = 30;
    ASSERT_NE(nullptr, ZUriAppendFgroup(header, &instance, db));

    // A page with its own layer name.
    auto page = std::make_unique<EnginePageRecord>();
    std::memset(page.get(), 0, sizeof *page);
    page->externalReference = 1;
    std::strcpy(page->info.record.title, "ページ2");
    page->placement.scaleX = page->placement.scaleY = 1.0;
    page->info.record.scale = 1.0;
    page->info.lineWidthsMm[0] = 0.13;
    ASSERT_NE(0, ZUriAddPage(2, page.get(), db));
    ASSERT_NE(0, ZUriSetLayerName(2, 5, "ページ層", db));
    ElementRecord onPage = Line(9, 9, 10, 10);
    onPage.page = 2;
    ASSERT_NE(nullptr, ZUriAppendElement(&onPage, db));
}

struct ReadBack {
    ElementRecord record;
    void* element;
};

std::vector<ReadBack> TopLevel(EngineDbRecord* db)
{
    std::vector<ReadBack> all;
    ReadBack item;
    void* element = ZUriReadElement(nullptr, 0, &item.record, db);
    while (element != nullptr) {
        item.element = element;
        all.push_back(item);
        element = ZUriReadElement(element, 1, &item.record, db);
    }
    return all;
}

// Compares two records, leaving out the pointer fields of the element's own storage.
bool SameRecord(ElementRecord a, ElementRecord b)
{
    for (ElementRecord* r : {&a, &b}) {
        auto* bytes = reinterpret_cast<uint8_t*>(r);
        if (r->type == kElementText) std::memset(bytes + offsetof(TextRecord, text), 0, 4);
        if (r->type == kElementImage) std::memset(bytes + offsetof(ImageRecord, dib), 0, 4);
        if (r->type == kElementRaster) std::memset(bytes + offsetof(RasterRecord, bits), 0, 4);
    }
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The sections of a file written by the engine, for the damage tests.
struct Section {
    uint32_t tag;
    size_t headerAt;  // where its 20-byte header starts
    size_t dataAt;
    uint32_t stored;
};

uint32_t TagOf(const char* name)
{
    uint32_t tag = 0;
    std::memcpy(&tag, name, 4);
    return tag;
}

std::vector<Section> Sections(const std::string& file)
{
    std::vector<Section> all;
    size_t at = 32;
    while (at + 20 <= file.size()) {
        Section s;
        std::memcpy(&s.tag, &file[at], 4);
        std::memcpy(&s.stored, &file[at + 8], 4);
        s.headerAt = at;
        s.dataAt = at + 20;
        all.push_back(s);
        at = s.dataAt + s.stored;
    }
    return all;
}

const Section* Find(const std::vector<Section>& sections, const char* name)
{
    for (const Section& s : sections)
        if (s.tag == TagOf(name)) return &s;
    return nullptr;
}

void RewriteHeaderCrc(std::string& file)
{
    uint32_t crc = static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(file.data()), 28));
    std::memcpy(&file[28], &crc, 4);
}

// Replaces a section's content by `raw`, stored uncompressed with a valid check sum.
std::string ReplaceSection(const std::string& file, const Section& s, const std::string& raw)
{
    std::string out = file.substr(0, s.headerAt);
    uint32_t words[5] = {s.tag, 0, static_cast<uint32_t>(raw.size()), static_cast<uint32_t>(raw.size()),
                         static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(raw.data()),
                                                     static_cast<uInt>(raw.size())))};
    out.append(reinterpret_cast<const char*>(words), sizeof words);
    out += raw;
    out += file.substr(s.dataAt + s.stored);
    uint32_t length = static_cast<uint32_t>(out.size());
    std::memcpy(&out[20], &length, 4);
    RewriteHeaderCrc(out);
    return out;
}

std::string Expanded(const std::string& file, const Section& s)
{
    uint32_t flags = 0, rawSize = 0;
    std::memcpy(&flags, &file[s.headerAt + 4], 4);
    std::memcpy(&rawSize, &file[s.headerAt + 12], 4);
    if ((flags & 1) == 0) return file.substr(s.dataAt, s.stored);
    std::string raw(rawSize, '\0');
    uLongf got = rawSize;
    uncompress(reinterpret_cast<Bytef*>(&raw[0]), &got, reinterpret_cast<const Bytef*>(&file[s.dataAt]), s.stored);
    return raw;
}

class DrawingFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_source.Ok());
        FillDrawing(&m_source);
        if (HasFatalFailure()) return;
        m_source.Record().preview = MakePreview();
        // Page 2 shown and pickable, page 2 current.
        m_source.Record().pageState.displayMask[0] |= 1u << 2;
        m_source.Record().pageState.detectMask[0] |= 1u << 2;
        m_source.Record().pageState.currentPage = 2;
        uint32_t flags = 0xFFFF;
        ASSERT_EQ(1, ZUriSaveFileOfCWX(m_folder.File("plan.tcf").c_str(), &m_source, &flags));
        EXPECT_EQ(0u, flags);
        m_file = m_folder.Read("plan.tcf");
        ASSERT_GT(m_file.size(), 32u);
    }

    // Loads bytes written to a file; the result and the flags.
    std::pair<int, uint32_t> Load(const std::string& bytes, uint32_t inFlags = 0, bool cwu = false)
    {
        const char* name = cwu ? "case.otcf" : "case.tcf";
        m_folder.Write(name, bytes);
        Db db;
        uint32_t flags = inFlags;
        int result = cwu ? ZUriLoadFileOfCWU(m_folder.File(name).c_str(), &db, &flags)
                         : ZUriLoadFileOfCWX(m_folder.File(name).c_str(), &db, &flags);
        m_lastCount = ZUriGetElmNum(&db);
        return {result, flags};
    }

    TempFolder m_folder;
    Db m_source;
    std::string m_file;
    int m_lastCount = 0;
};

}  // namespace

TEST_F(DrawingFileTest, RoundTripKeepsEveryElementAndItsData)
{
    Db loaded;
    uint32_t flags = 0;
    loaded.Record().drawingBlock = &flags;  // a window block during the load, as the program does
    ASSERT_EQ(1, ZUriLoadFileOfCWX(m_folder.File("plan.tcf").c_str(), &loaded, &flags));
    EXPECT_EQ(0u, flags);
    EXPECT_EQ(nullptr, loaded.Record().drawingBlock);

    std::vector<ReadBack> before = TopLevel(&m_source), after = TopLevel(&loaded);
    ASSERT_EQ(before.size(), after.size());
    ASSERT_EQ(ZUriGetElmNum(&m_source), ZUriGetElmNum(&loaded));
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_TRUE(SameRecord(before[i].record, after[i].record)) << "element " << i << " type " << before[i].record.type;
        ASSERT_EQ(ZUriGetMemberNum(before[i].element, &m_source), ZUriGetMemberNum(after[i].element, &loaded));
    }
    // Text, image and raster payloads.
    int rasters = 0;
    for (size_t i = 0; i < after.size(); ++i) {
        const ElementRecord& r = after[i].record;
        if (r.type == kElementText) {
            EXPECT_STREQ("表題　配線", reinterpret_cast<const TextRecord&>(r).text);
        }
        if (r.type == kElementImage) {
            EXPECT_EQ(GlobalBytes(reinterpret_cast<const ImageRecord&>(before[i].record).dib),
                      GlobalBytes(reinterpret_cast<const ImageRecord&>(r).dib));
            EXPECT_FALSE(GlobalBytes(reinterpret_cast<const ImageRecord&>(r).dib).empty());
        }
        if (r.type == kElementRaster) {
            ++rasters;
            EXPECT_EQ(RasterPattern(), RasterBitsOf(r, 12));
            EXPECT_NE(reinterpret_cast<const RasterRecord&>(before[i].record).bits,
                      reinterpret_cast<const RasterRecord&>(r).bits);
            EXPECT_EQ(1, reinterpret_cast<const RasterRecord&>(r).expanded);
        }
    }
    EXPECT_EQ(1, rasters);
    // Tags, tag string, user data and extra data of the first element.
    void* line = after[0].element;
    EXPECT_EQ(1, ZUriGetTag(line, 210));
    EXPECT_EQ(-42, ZUriGetTag(line, 7));
    char tagText[700] = {};
    ZUriGetTagString(line, tagText);
    EXPECT_STREQ("リンク先\\file.tcf", tagText);
    uint8_t user[256] = {};
    EXPECT_NE(0, ZUriGet256UserData(line, user));
    EXPECT_EQ(255, user[0]);
    EXPECT_EQ(0, user[255]);
    char extra[8] = {};
    EXPECT_EQ(5, ZUriGetExtrData(line, 38, 0, 5, extra));
    EXPECT_STREQ("abcde", extra);

    // Members of the group, in order, the nested composite's member included.
    void* group = nullptr;
    for (const ReadBack& item : after)
        if (item.record.type == kElementGroup) group = item.element;
    ASSERT_NE(nullptr, group);
    ElementRecord member;
    void* m = ZUriReadFirstMember(group, &member, &loaded);
    std::vector<double> xs;
    while (m != nullptr) {
        if (member.type == kElementLine) xs.push_back(reinterpret_cast<LineRecord&>(member).x2);
        m = ZUriReadNextMember(m, &member, &loaded);
    }
    EXPECT_EQ((std::vector<double>{1, 6}), xs);

    // The figure instance still names its header, whose member survived.
    for (const ReadBack& item : after) {
        if (item.record.type != kElementFigureReference) continue;
        void* header = ZUriGetFgroupHeaderIdx(item.element, &loaded);
        ASSERT_NE(nullptr, header);
        EXPECT_EQ(12.0, reinterpret_cast<FigureHeaderRecord*>(header)->originX);
        EXPECT_EQ(1, ZUriGetMemberNum(header, &loaded));
    }

    // Information, layer names and pages.
    DbInfoRecord info;
    ZUriGetDBInfo(&info, &loaded);
    EXPECT_STREQ("配電盤図", info.title);
    EXPECT_STREQ("表示テスト", info.author);
    EXPECT_EQ(0.01, info.scale);
    EXPECT_EQ(kPaperCodeA + 2, info.paperCode);
    char name[258] = {};
    EXPECT_NE(0, ZUriGetLayerName(0, 3, 0, name, &loaded));
    EXPECT_STREQ("電源", name);
    EXPECT_NE(0, ZUriGetLayerName(0, 1023, 0, name, &loaded));
    EXPECT_STREQ("last", name);
    EXPECT_EQ(0, ZUriGetLayerName(0, 4, 0, name, &loaded));
    EXPECT_EQ(1, ZUriGetPageCount(&loaded));
    auto page = std::make_unique<EnginePageRecord>();
    ASSERT_NE(0, ZUriGetPage(2, page.get(), &loaded));
    EXPECT_STREQ("ページ2", page->info.record.title);
    EXPECT_EQ(1, page->externalReference);
    EXPECT_EQ(0.13, page->info.lineWidthsMm[0]);
    EXPECT_EQ(2, loaded.Record().pageState.currentPage);
    EXPECT_EQ(0x5u, loaded.Record().pageState.displayMask[0]);
    EXPECT_EQ(0x5u, loaded.Record().pageState.detectMask[0]);
    EXPECT_NE(0, ZUriGetLayerName(2, 5, 0, name, &loaded));
    EXPECT_STREQ("ページ層", name);
}

TEST_F(DrawingFileTest, LoadReplacesWhatTheDatabaseHeld)
{
    Db target;
    ASSERT_NE(nullptr, ZUriAppendElement(&static_cast<const ElementRecord&>(Line(100, 100, 200, 200)), &target));
    uint32_t flags = 0;
    ASSERT_EQ(1, ZUriLoadFileOfCWX(m_folder.File("plan.tcf").c_str(), &target, &flags));
    EXPECT_EQ(ZUriGetElmNum(&m_source), ZUriGetElmNum(&target));
    ElementRecord first;
    ZUriReadElement(nullptr, 0, &first, &target);
    EXPECT_EQ(3.0, reinterpret_cast<LineRecord&>(first).x2);
}

TEST_F(DrawingFileTest, TheTwoKindsAreKeptApart)
{
    uint32_t flags = 0xFFFF;
    ASSERT_EQ(1, ZUriSaveFileOfCWU(m_folder.File("plan.otcf").c_str(), &m_source, &flags));
    EXPECT_EQ(0u, flags);
    std::string otcf = m_folder.Read("plan.otcf");
    auto result = Load(otcf, 0, true);
    EXPECT_EQ(1, result.first);
    EXPECT_EQ(0u, result.second);
    EXPECT_EQ(ZUriGetElmNum(&m_source), m_lastCount);
    // Each loader refuses the other kind as a format it does not know.
    result = Load(otcf, 0, false);
    EXPECT_EQ(0, result.first);
    EXPECT_EQ(kFormat, result.second);
    result = Load(m_file, 0, true);
    EXPECT_EQ(0, result.first);
    EXPECT_EQ(kFormat, result.second);
}

TEST_F(DrawingFileTest, InformationOnlyLoadGivesHeaderCountAndThumbnail)
{
    EngineDbRecord record;
    std::memset(&record, 0, sizeof record);
    uint32_t flags = 1;
    ASSERT_EQ(1, ZUriLoadInfoOfCWX(m_folder.File("plan.tcf").c_str(), &record, &flags));
    EXPECT_EQ(0u, flags);
    ASSERT_NE(nullptr, record.info);
    const auto* info = static_cast<const DbInfoBlock*>(record.info);
    EXPECT_STREQ("配電盤図", info->record.title);
    EXPECT_EQ(ZUriGetElmNum(&m_source), info->elementCount);
    ASSERT_NE(nullptr, record.preview);
    BITMAP bitmap = {};
    GetObjectA(record.preview, sizeof bitmap, &bitmap);
    EXPECT_EQ(176, bitmap.bmWidth);
    EXPECT_EQ(124, bitmap.bmHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, record.preview);
    COLORREF pixel = GetPixel(dc, 88, 62);
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_NEAR(200, GetGValue(pixel), 8);
    EXPECT_EQ(0, GetRValue(pixel));
    DbInfoRecord copy;
    EXPECT_NE(0, ZUriGetDBInfo(&copy, &record));
    EXPECT_STREQ("表示テスト", copy.author);
    EXPECT_EQ(ZUriGetElmNum(&m_source), info->elementCount);
    DeleteObject(record.preview);
    record.preview = nullptr;
    ZUriDeleteDB(&record);

    // A file that is not a drawing leaves a zeroed record without information.
    m_folder.Write("junk.tcf", "not a drawing at all, not even close to one");
    std::memset(&record, 0, sizeof record);
    EXPECT_EQ(0, ZUriLoadInfoOfCWX(m_folder.File("junk.tcf").c_str(), &record, &flags));
    EXPECT_EQ(kNotDrawing, flags);
    EXPECT_EQ(nullptr, record.info);
    EXPECT_EQ(nullptr, record.preview);
}

TEST_F(DrawingFileTest, DamagedFilesGiveTheirFlagsAndNeverCrash)
{
    std::vector<Section> sections = Sections(m_file);
    const Section* info = Find(sections, "INFO");
    const Section* groups = Find(sections, "FGRP");
    const Section* elements = Find(sections, "ELEM");
    ASSERT_TRUE(info && groups && elements);

    auto flipped = [&](size_t at) {
        std::string bad = m_file;
        bad[at] = static_cast<char>(bad[at] ^ 0x5A);
        return bad;
    };
    std::string newer = m_file;
    newer[10] = 2;
    RewriteHeaderCrc(newer);
    std::string unknownPacking = m_file;
    unknownPacking[elements->headerAt + 4] |= 0x40;

    struct Case {
        const char* name;
        std::string bytes;
        int result;
        uint32_t flags;  // expected bits (all of them for a failed load, at least these otherwise)
    };
    const Case cases[] = {
        {"empty file", std::string(), 0, kNotDrawing},
        {"foreign file", std::string("PK\x03\x04 some archive bytes that go on and on", 40), 0, kNotDrawing},
        {"header cut short", m_file.substr(0, 20), 0, kNotDrawing},
        {"header damaged", flipped(9), 0, kNotDrawing},
        {"newer version", newer, 0, 1},
        {"unknown packing", unknownPacking, 0, kCompression},
        {"information damaged", flipped(info->dataAt + info->stored / 2), 1, kInfoBad},
        {"figure groups damaged", flipped(groups->dataAt + groups->stored / 2), 1, kGroupBad},
        {"elements damaged", flipped(elements->dataAt + elements->stored / 2), 1, kElementBad},
        {"cut inside the elements", m_file.substr(0, elements->dataAt + elements->stored / 2), 1, kElementBad},
        {"cut before the end", m_file.substr(0, m_file.size() - 10), 1, kElementBad},
    };
    for (const Case& c : cases) {
        auto result = Load(c.bytes);
        EXPECT_EQ(c.result, result.first) << c.name;
        if (c.result == 0)
            EXPECT_EQ(c.flags, result.second) << c.name;
        else
            EXPECT_EQ(c.flags, result.second & c.flags) << c.name;
    }
    // A damaged element section loses its elements but not the drawing's information.
    auto result = Load(flipped(elements->dataAt + 3));
    EXPECT_EQ(1, result.first);
    EXPECT_EQ(0, m_lastCount);
    // A newer version is read when the caller asks for it.
    result = Load(newer, 1);
    EXPECT_EQ(1, result.first);
    EXPECT_EQ(ZUriGetElmNum(&m_source), m_lastCount);
}

TEST_F(DrawingFileTest, ABadElementIsLeftOutAndTheRestIsKept)
{
    std::vector<Section> sections = Sections(m_file);
    const Section* elements = Find(sections, "ELEM");
    ASSERT_NE(nullptr, elements);
    std::string raw = Expanded(m_file, *elements);
    // The first element (after the count) gets layer 5000, which the engine refuses.
    uint16_t layer = 5000;
    std::memcpy(&raw[4 + 4], &layer, 2);
    auto result = Load(ReplaceSection(m_file, *elements, raw));
    EXPECT_EQ(1, result.first);
    EXPECT_EQ(kElementBad, result.second);
    EXPECT_EQ(ZUriGetElmNum(&m_source) - 1, m_lastCount);

    // A member count far beyond the data is refused without reading past it.
    raw = Expanded(m_file, *elements);
    uint32_t count = 0xFFFFFFF0u;
    std::memcpy(&raw[0], &count, 4);
    result = Load(ReplaceSection(m_file, *elements, raw));
    EXPECT_EQ(1, result.first);
    EXPECT_EQ(kElementBad, result.second & kElementBad);
}

TEST_F(DrawingFileTest, ADamagedRasterPictureIsRefused)
{
    // A drawing of one raster element: its ELEM section holds the count, the record, the
    // header index, the empty text and then the picture's length and bytes.
    Db single;
    std::vector<uint8_t> bits = RasterPattern();
    ElementRecord raster = Raster(bits.data());
    ASSERT_NE(nullptr, ZUriAppendElement(&raster, &single));
    uint32_t flags = 0;
    ASSERT_EQ(1, ZUriSaveFileOfCWX(m_folder.File("raster.tcf").c_str(), &single, &flags));
    const std::string file = m_folder.Read("raster.tcf");
    ASSERT_GT(file.size(), 14u);
    uint16_t minor = 0;
    std::memcpy(&minor, &file[12], 2);
    EXPECT_EQ(1, minor);  // files that may carry raster bits
    const Section* elements = Find(Sections(file), "ELEM");
    ASSERT_NE(nullptr, elements);
    const std::string raw = Expanded(file, *elements);
    const size_t lengthAt = 4 + sizeof(ElementRecord) + 4 + 4;
    const size_t bitsAt = lengthAt + 4;
    uint32_t length = 0;
    std::memcpy(&length, &raw[lengthAt], 4);
    ASSERT_EQ(12u, length);
    ASSERT_EQ(std::string(bits.begin(), bits.end()), raw.substr(bitsAt, 12));
    auto result = Load(file);
    EXPECT_EQ(1, result.first);
    EXPECT_EQ(0u, result.second);
    EXPECT_EQ(1, m_lastCount);

    auto withLength = [&](std::string bytes, uint32_t value) {
        std::memcpy(&bytes[lengthAt], &value, 4);
        return bytes;
    };
    auto withPixelsY = [&](std::string bytes, int32_t value) {
        std::memcpy(&bytes[4 + offsetof(RasterRecord, pixelsY)], &value, 4);
        return bytes;
    };
    std::string shorter = withLength(raw, 11);
    shorter.erase(bitsAt + 11, 1);
    const struct {
        const char* what;
        std::string raw;
    } cases[] = {
        {"one byte short", shorter},
        {"length beyond the section", withLength(raw, 0x7FFFFFF0u)},
        {"section cut inside the bits", raw.substr(0, bitsAt + 5)},
        {"more rows than bits", withPixelsY(raw, 4)},
        {"no rows", withPixelsY(raw, 0)},
        {"negative rows", withPixelsY(raw, -3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        result = Load(ReplaceSection(file, *elements, c.raw));
        EXPECT_EQ(1, result.first);
        EXPECT_EQ(kElementBad, result.second);
        EXPECT_EQ(0, m_lastCount);
    }

    // A raster stored without a picture (as older files hold it) loads without bits.
    std::string bare = withLength(raw, 0);
    bare.erase(bitsAt, 12);
    m_folder.Write("bare.tcf", ReplaceSection(file, *elements, bare));
    Db loaded;
    flags = 0;
    ASSERT_EQ(1, ZUriLoadFileOfCWX(m_folder.File("bare.tcf").c_str(), &loaded, &flags));
    EXPECT_EQ(0u, flags);
    ElementRecord back;
    ASSERT_NE(nullptr, ZUriReadElement(nullptr, 0, &back, &loaded));
    EXPECT_EQ(kElementRaster, back.type);
    EXPECT_EQ(nullptr, reinterpret_cast<const RasterRecord&>(back).bits);
    EXPECT_EQ(0, reinterpret_cast<const RasterRecord&>(back).expanded);
}

TEST_F(DrawingFileTest, EveryCutAndFlippedByteIsSurvived)
{
    for (size_t cut = 0; cut < m_file.size(); cut += 1 + m_file.size() / 97) {
        auto result = Load(m_file.substr(0, cut));
        if (result.first == 0) EXPECT_NE(0u, result.second) << cut;
        if (result.first != 0) EXPECT_NE(0u, result.second) << cut;  // a cut file always reports a loss
    }
    for (size_t at = 0; at < m_file.size(); at += 1 + m_file.size() / 211) {
        std::string bad = m_file;
        bad[at] = static_cast<char>(bad[at] ^ 0xFF);
        auto result = Load(bad);
        if (result.first == 0) EXPECT_NE(0u, result.second) << at;
    }
}

TEST_F(DrawingFileTest, AFailedSaveKeepsTheOldFile)
{
    const std::string target = m_folder.File("kept.tcf");
    ASSERT_TRUE(m_folder.Write("kept.tcf", "old contents"));
    // Another program holds the old file open and lets nobody replace it.
    HANDLE holder = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    uint32_t flags = 0;
    EXPECT_EQ(0, ZUriSaveFileOfCWX(target.c_str(), &m_source, &flags));
    EXPECT_NE(0u, flags);
    CloseHandle(holder);
    EXPECT_EQ("old contents", m_folder.Read("kept.tcf"));
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(m_folder.File("*.tmp").c_str(), &data);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);

    // No database, no folder: nothing written, a reason given.
    EngineDbRecord none;
    std::memset(&none, 0, sizeof none);
    EXPECT_EQ(0, ZUriSaveFileOfCWX(target.c_str(), &none, &flags));
    EXPECT_EQ(0x40u, flags);
    EXPECT_EQ(0, ZUriSaveFileOfCWX(m_folder.File("no\\such\\folder.tcf").c_str(), &m_source, &flags));
    EXPECT_NE(0u, flags);
    EXPECT_EQ("old contents", m_folder.Read("kept.tcf"));

    // A successful save replaces the file whole.
    ASSERT_EQ(1, ZUriSaveFileOfCWX(target.c_str(), &m_source, &flags));
    EXPECT_TRUE(m_file == m_folder.Read("kept.tcf"));
}

TEST(DrawingFileOtherFormats, AnswerAnHonestFailure)
{
    Db db;
    uint32_t flags = 0;
    EXPECT_EQ(0, ZUriLoadFileOfCW2("x.cw2", &db, &flags));
    EXPECT_EQ(kFormat, flags);
    EXPECT_EQ(0, ZUriLoadFileOfFDA("x", &db, &flags));
    EXPECT_EQ(0, ZUriLoadFileOfCAD("x", &db, &flags));
    EXPECT_EQ(0, ZUriSaveFileOfCW2("x", &db, &flags));
    EXPECT_EQ(0, ZUriSaveFileOfEDS("x", &db, &flags));
    EXPECT_EQ(0, ZUriSaveFileOfFDA("x", &db, &flags));
    EXPECT_NE(0u, flags);
    // A missing file, no flags word, no path: refused without harm.
    EXPECT_EQ(0, ZUriLoadFileOfCWX("C:\\no\\such\\drawing.tcf", &db, &flags));
    EXPECT_EQ(kNotDrawing, flags);
    EXPECT_EQ(0, ZUriLoadFileOfCWX("C:\\no\\such\\drawing.tcf", &db, nullptr));
    EXPECT_EQ(0, ZUriLoadFileOfCWU(nullptr, &db, &flags));
    EXPECT_EQ(0, ZUriLoadInfoOfCWX(nullptr, nullptr, &flags));
    EXPECT_EQ(0, ZUriSaveFileOfCWX(nullptr, &db, &flags));
    EXPECT_EQ(0, ZUriGetElmNum(&db));
}

TEST(DrawingFileNesting, DeepGroupsRoundTripUntilTheReadersLimit)
{
    TempFolder folder;
    struct Case {
        int depth;
        int saved;
    };
    for (const Case& c : {Case{100, 1}, Case{140, 0}}) {
        Db db;
        ElementRecord composite = Base(kElementComposite);
        void* head = ZUriAppendElement(&composite, &db);
        ASSERT_NE(nullptr, head);
        for (int level = 1; level < c.depth; ++level) {
            head = ZUriAppendMemberElement(&composite, head, &db);
            ASSERT_NE(nullptr, head) << level;
        }
        ASSERT_NE(nullptr, ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(0, 0, 1, 1)), head, &db));
        ASSERT_TRUE(folder.Write("deep.tcf", "previous"));
        uint32_t flags = 0;
        EXPECT_EQ(c.saved, ZUriSaveFileOfCWX(folder.File("deep.tcf").c_str(), &db, &flags)) << c.depth;
        if (c.saved == 0) {
            EXPECT_EQ(0x80u, flags);
            EXPECT_EQ("previous", folder.Read("deep.tcf"));
            continue;
        }
        Db loaded;
        ASSERT_EQ(1, ZUriLoadFileOfCWX(folder.File("deep.tcf").c_str(), &loaded, &flags));
        EXPECT_EQ(0u, flags);
        // Walk down to the innermost line.
        ElementRecord record;
        void* element = ZUriReadElement(nullptr, 0, &record, &loaded);
        int levels = 0;
        while (element != nullptr && record.type == kElementComposite) {
            ++levels;
            element = ZUriReadFirstMember(element, &record, &loaded);
        }
        EXPECT_EQ(c.depth, levels);
        ASSERT_NE(nullptr, element);
        EXPECT_EQ(kElementLine, record.type);
    }
}

namespace {

// Bytes of an element as stored without text, picture, tags, user data or extra data: the
// record, the header index, two empty strings, the counts and flags, the FF tag and the
// member count.
constexpr size_t kPlainElementBytes = sizeof(ElementRecord) + 4 + 4 + 4 + 4 + 1 + 4 + 1 + 4 + 4 + 4;

// Overwrites the stored element at `at` with an instance record naming header `index`.
void MakeStoredInstance(std::string& raw, size_t at, const ElementRecord& instance, uint32_t index)
{
    std::memcpy(&raw[at], &instance, sizeof instance);
    std::memcpy(&raw[at + sizeof(ElementRecord)], &index, 4);
}

// Paints the whole database into a memory bitmap with a world window.
int PaintInMemory(EngineDbRecord* db, double left, double top, double right, double bottom, double scale)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 64, 64);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto block = std::make_unique<DrawParamBlock>();
    std::memset(block.get(), 0, sizeof *block);
    block->size = sizeof *block;
    block->outputKind = 2;
    block->dc = dc;
    block->scale = scale;
    block->drawingScale = 1.0;
    block->offsetX = -left;
    block->offsetY = -top;
    block->worldLeft = left;
    block->worldTop = top;
    block->worldRight = right;
    block->worldBottom = bottom;
    int result = ZUriDraw(db, block.get());
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return result;
}

// A drawing of one figure-group header with one line and one instance of it; `stored` gets the
// file and `groups` the expanded figure-group section.
void SaveOneFigureGroup(TempFolder& folder, std::string& stored, std::string& groups)
{
    Db db;
    ElementRecord headerRecord = Base(kElementFigureHeader, 1030);
    void* header = ZUriCreateFgroupHead(&headerRecord, &db);
    ASSERT_NE(nullptr, header);
    ASSERT_NE(nullptr, ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(0, 0, 10, 10)), header, &db));
    ElementRecord instance = Base(kElementFigureReference);
    As<FigureReferenceRecord>(instance).scaleX = 1;
    ASSERT_NE(nullptr, ZUriAppendFgroup(header, &instance, &db));
    uint32_t flags = 0;
    ASSERT_EQ(1, ZUriSaveFileOfCWX(folder.File("group.tcf").c_str(), &db, &flags));
    stored = folder.Read("group.tcf");
    const Section* section = Find(Sections(stored), "FGRP");
    ASSERT_NE(nullptr, section);
    groups = Expanded(stored, *section);
    ASSERT_EQ(4 + 2 * kPlainElementBytes, groups.size());
}

}  // namespace

TEST(DrawingFileFigureCycles, AnInstanceLeadingBackToItsOwnHeaderIsLeftOut)
{
    TempFolder folder;
    std::string stored, groups;
    SaveOneFigureGroup(folder, stored, groups);
    if (HasFatalFailure()) return;
    // The header's line becomes an instance: of no header (its header link then names the
    // header holding it) and of header 0, itself.
    for (uint32_t index : {0xFFFFFFFFu, 0u}) {
        std::string raw = groups;
        MakeStoredInstance(raw, 4 + kPlainElementBytes, Base(kElementFigureReference), index);
        folder.Write("cycle.tcf", ReplaceSection(stored, *Find(Sections(stored), "FGRP"), raw));
        Db loaded;
        uint32_t flags = 0;
        ASSERT_EQ(1, ZUriLoadFileOfCWX(folder.File("cycle.tcf").c_str(), &loaded, &flags));
        EXPECT_EQ(kElementBad, flags & kElementBad) << index;
        ElementRecord record;
        void* instance = ZUriReadElement(nullptr, 0, &record, &loaded);
        ASSERT_NE(nullptr, instance);
        ASSERT_EQ(kElementFigureReference, record.type);
        EXPECT_EQ(0, ZUriGetMemberNum(instance, &loaded));
        // Every walk over the drawing ends: a paint, a frame search, a point search.
        EXPECT_EQ(1, PaintInMemory(&loaded, -20, 20, 20, -20, 1.0));
        SearchBox frame{-20, 20, 20, -20};
        EXPECT_NE(nullptr, ZUriGetWakuElement(&frame, &loaded, nullptr));
        int count = 0;
        ZUriGetElementMarkByPointWithMark(1, 1, 0, 5, &count, &loaded, nullptr, nullptr);
        // What is left saves and loads again.
        ASSERT_EQ(1, ZUriSaveFileOfCWX(folder.File("again.tcf").c_str(), &loaded, &flags));
        Db again;
        EXPECT_EQ(1, ZUriLoadFileOfCWX(folder.File("again.tcf").c_str(), &again, &flags));
    }
}

TEST(DrawingFileFigureCycles, CallsRefuseAnInstanceLeadingBackToItsHeader)
{
    Db db;
    ElementRecord headerRecord = Base(kElementFigureHeader, 1030);
    void* header = ZUriCreateFgroupHead(&headerRecord, &db);
    ASSERT_NE(nullptr, header);
    void* line = ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(0, 0, 1, 1)), header, &db);
    ASSERT_NE(nullptr, line);
    ElementRecord instance = Base(kElementFigureReference);
    // Straight into the header, into a composite inside it, and a member changed into one.
    EXPECT_EQ(nullptr, ZUriAppendMemberElement(&instance, header, &db));
    ElementRecord composite = Base(kElementComposite);
    void* inner = ZUriAppendMemberElement(&composite, header, &db);
    ASSERT_NE(nullptr, inner);
    EXPECT_EQ(nullptr, ZUriAppendMemberElement(&instance, inner, &db));
    EXPECT_EQ(nullptr, ZUriChangeElement(line, &instance, &db));
    EXPECT_EQ(2, ZUriGetMemberNum(header, &db));
    // An instance at the top, or inside a top-level composite, is no cycle.
    EXPECT_NE(nullptr, ZUriAppendFgroup(header, &instance, &db));
    ElementRecord group = Base(kElementGroup);
    void* top = ZUriAppendElement(&group, &db);
    EXPECT_NE(nullptr, ZUriAppendMemberElement(&instance, top, &db));
    EXPECT_EQ(1, PaintInMemory(&db, -5, 5, 5, -5, 1.0));
}

TEST(DrawingFileFigureCycles, DeepLegalNestingPaintsWhatTheWindowShows)
{
    // Sixteen headers: the first holds four lines, every other one four instances of the one
    // before at half size in its four quarters, so the last one draws 4^15 lines in a unit
    // square. A paint of a small corner and a frame search must not visit them all.
    constexpr int kHeaders = 16;
    TempFolder folder;
    Db db;
    void* first = nullptr;
    for (int h = 0; h < kHeaders; ++h) {
        ElementRecord headerRecord = Base(kElementFigureHeader, 1030);
        void* header = ZUriCreateFgroupHead(&headerRecord, &db);
        ASSERT_NE(nullptr, header);
        if (first == nullptr) first = header;
        for (int k = 0; k < 4; ++k)
            ASSERT_NE(nullptr, ZUriAppendMemberElement(&static_cast<const ElementRecord&>(Line(0, 0, 1, 1)), header, &db));
    }
    // The instance at the top draws the last header; it is made an instance of the right one
    // in the file below.
    ElementRecord top = Base(kElementFigureReference);
    As<FigureReferenceRecord>(top).scaleX = 1;
    ASSERT_NE(nullptr, ZUriAppendFgroup(first, &top, &db));
    uint32_t flags = 0;
    ASSERT_EQ(1, ZUriSaveFileOfCWX(folder.File("nest.tcf").c_str(), &db, &flags));
    std::string stored = folder.Read("nest.tcf");
    const Section* section = Find(Sections(stored), "FGRP");
    ASSERT_NE(nullptr, section);
    std::string raw = Expanded(stored, *section);
    ASSERT_EQ(4 + kHeaders * 5 * kPlainElementBytes, raw.size());
    for (int h = 1; h < kHeaders; ++h) {
        size_t at = 4 + h * 5 * kPlainElementBytes;
        for (int k = 0; k < 4; ++k) {
            ElementRecord quarter = Base(kElementFigureReference);
            As<FigureReferenceRecord>(quarter).scaleX = 0.5;
            As<FigureReferenceRecord>(quarter).x = 0.5 * (k % 2);
            As<FigureReferenceRecord>(quarter).y = 0.5 * (k / 2);
            MakeStoredInstance(raw, at + (k + 1) * kPlainElementBytes, quarter, static_cast<uint32_t>(h - 1));
        }
    }
    stored = ReplaceSection(stored, *section, raw);
    // The top instance names header 0 in the file: point it at the last header.
    const Section* elements = Find(Sections(stored), "ELEM");
    ASSERT_NE(nullptr, elements);
    std::string topRaw = Expanded(stored, *elements);
    uint32_t last = kHeaders - 1;
    std::memcpy(&topRaw[4 + sizeof(ElementRecord)], &last, 4);
    stored = ReplaceSection(stored, *elements, topRaw);
    folder.Write("nest.tcf", stored);

    Db loaded;
    ASSERT_EQ(1, ZUriLoadFileOfCWX(folder.File("nest.tcf").c_str(), &loaded, &flags));
    EXPECT_EQ(0u, flags);
    ElementRecord record;
    void* instance = ZUriReadElement(nullptr, 0, &record, &loaded);
    ASSERT_NE(nullptr, instance);
    EXPECT_EQ(4, ZUriGetMemberNum(instance, &loaded));
    // A corner of a quarter of a thousandth: some hundred lines of the billion.
    EXPECT_EQ(1, PaintInMemory(&loaded, 0, 0.00025, 0.00025, 0, 256000.0));
    SearchBox frame{-1, 2, 2, -1};
    EXPECT_NE(nullptr, ZUriGetWakuElement(&frame, &loaded, nullptr));
}
