// Writes the seed drawings of the drawing-file target: drawings made through the engine's own
// calls and saved by its own writer, each prefixed with the target's mode byte.
//   MakeDrawingSeeds FOLDER
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "EngineFixture.h"
#include "Win32Shim.h"

namespace {

// Records as the engine's tests build them, with a line type and width besides.
ElementRecord Base(uint16_t type, uint16_t layer = 3)
{
    ElementRecord r = MakeComposite(type);
    r.layer = layer;
    r.colour = 7;
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
    ElementRecord r = MakeLine(x1, y1, x2, y2, 3);
    r.colour = 7;
    r.lineType = 2;
    r.lineWidth = 1;
    return r;
}

// A few lines, one line with every kind of data, a group holding a composite, a figure group
// with two instances, and optionally every other element kind and a second page.
void Fill(EngineDbRecord* db, bool everything)
{
    for (int i = 0; i < 4; ++i) {
        ElementRecord line = Line(i * 10, 0, i * 10 + 5, 20);
        ZUriAppendElement(&line, db);
    }
    ElementRecord first = Line(-5, -5, 5, 5);
    void* line = ZUriAppendElement(&first, db);
    ZUriSetTag(line, 210, 1);
    ZUriSetTagString(line, "tag text");
    uint8_t user[256];
    for (int i = 0; i < 256; ++i) user[i] = static_cast<uint8_t>(i);
    ZUriSet256UserData(line, user);
    ZUriSetExtrData(line, 38, 0, 5, "abcde");

    ElementRecord group = Base(kElementGroup);
    void* head = ZUriAppendElement(&group, db);
    ElementRecord member = Line(0, 0, 1, 1);
    ZUriAppendMemberElement(&member, head, db);
    ElementRecord composite = Base(kElementComposite);
    void* inner = ZUriAppendMemberElement(&composite, head, db);
    ElementRecord innerLine = Line(5, 5, 6, 6);
    ZUriAppendMemberElement(&innerLine, inner, db);

    ElementRecord headerRecord = Base(kElementFigureHeader, 1030);
    As<FigureHeaderRecord>(headerRecord).originX = 2;
    void* header = ZUriCreateFgroupHead(&headerRecord, db);
    ElementRecord headerLine = Line(0, 0, 8, 8);
    ZUriAppendMemberElement(&headerLine, header, db);
    ElementRecord circle = Base(kElementCircle);
    As<CircleRecord>(circle).cx = 4, As<CircleRecord>(circle).radius = 3, As<CircleRecord>(circle).nz = 1;
    ZUriAppendMemberElement(&circle, header, db);
    for (int i = 0; i < 2; ++i) {
        ElementRecord instance = Base(kElementFigureReference);
        As<FigureReferenceRecord>(instance).scaleX = 1 + i;
        As<FigureReferenceRecord>(instance).x = 30 * i;
        As<FigureReferenceRecord>(instance).angle = 0.5 * i;
        ZUriAppendFgroup(header, &instance, db);
    }
    if (!everything) return;

    // A second figure group nesting an instance of the first (through a composite, the way the
    // calls let a header hold one), and an instance of it at the top.
    ElementRecord outerRecord = Base(kElementFigureHeader, 1030);
    void* outer = ZUriCreateFgroupHead(&outerRecord, db);
    ElementRecord holder = Base(kElementComposite);
    void* nest = ZUriAppendMemberElement(&holder, outer, db);
    ElementRecord nested = Base(kElementFigureReference);
    As<FigureReferenceRecord>(nested).scaleX = 0.5;
    As<FigureReferenceRecord>(nested).x = 4;
    ZUriAppendMemberElement(&nested, nest, db);
    ElementRecord outerLine = Line(0, 0, 3, 0);
    ZUriAppendMemberElement(&outerLine, outer, db);
    ElementRecord outerInstance = Base(kElementFigureReference);
    As<FigureReferenceRecord>(outerInstance).scaleX = 3;
    As<FigureReferenceRecord>(outerInstance).y = 40;
    ZUriAppendFgroup(outer, &outerInstance, db);

    ZUriAppendElement(&circle, db);
    ElementRecord arc = Base(kElementArc);
    As<ArcRecord>(arc).radius = 7, As<ArcRecord>(arc).endAngle = 2, As<ArcRecord>(arc).nz = 1;
    ZUriAppendElement(&arc, db);
    ElementRecord ellipse = Base(kElementEllipse);
    As<EllipseRecord>(ellipse).ax = 10, As<EllipseRecord>(ellipse).ratio = 0.5, As<EllipseRecord>(ellipse).nz = 1;
    ZUriAppendElement(&ellipse, db);
    ElementRecord ellipticArc = Base(kElementEllipticArc);
    As<EllipticArcRecord>(ellipticArc).ax = 6, As<EllipticArcRecord>(ellipticArc).ratio = 0.3;
    As<EllipticArcRecord>(ellipticArc).endAngle = 1;
    ZUriAppendElement(&ellipticArc, db);
    ElementRecord point = Base(kElementPoint);
    As<PointRecord>(point).x = 3;
    ZUriAppendElement(&point, db);
    // Text in code page 932: "配電盤" as its bytes.
    ElementRecord text = Base(kElementText);
    As<TextRecord>(text).height = 5, As<TextRecord>(text).widthRatio = 1, As<TextRecord>(text).x = 12;
    As<TextRecord>(text).text = "\x94\x7a\x93\x64\x94\xd5 text";
    std::strcpy(As<TextRecord>(text).font, "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e");
    ZUriAppendElement(&text, db);
    ElementRecord viewport = Base(kElementViewport);
    As<ViewportRecord>(viewport).x2 = 100, As<ViewportRecord>(viewport).y2 = 50, As<ViewportRecord>(viewport).scale = 0.5;
    ZUriAppendElement(&viewport, db);

    // A 2 x 2, 24-bit packed picture.
    const size_t dibSize = sizeof(BITMAPINFOHEADER) + 2 * 8;
    HGLOBAL dib = GlobalAlloc(GMEM_MOVEABLE, dibSize);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(dib));
    std::memset(bytes, 0x40, dibSize);
    BITMAPINFOHEADER info = {sizeof(BITMAPINFOHEADER), 2, 2, 1, 24, BI_RGB, 16, 0, 0, 0, 0};
    std::memcpy(bytes, &info, sizeof info);
    GlobalUnlock(dib);
    ElementRecord image = Base(kElementImage);
    As<ImageRecord>(image).dib = dib, As<ImageRecord>(image).x2 = 20, As<ImageRecord>(image).y2 = 20;
    ZUriAppendElement(&image, db);
    GlobalFree(dib);

    std::vector<uint8_t> bits(2 * 16, 0xA5);
    ElementRecord raster = Base(kElementRaster);
    auto& r = As<RasterRecord>(raster);
    r.cx = 50, r.width = 16, r.height = 16, r.cosAngle = 1, r.pixelsX = 16, r.pixelsY = 16, r.bits = bits.data();
    r.bitsSize = static_cast<uint32_t>(bits.size());
    ZUriAppendElement(&raster, db);

    std::vector<uint8_t> page(sizeof(EnginePageRecord), 0);
    auto* pageRecord = reinterpret_cast<EnginePageRecord*>(page.data());
    pageRecord->placement.scaleX = pageRecord->placement.scaleY = 1;
    pageRecord->info.record.scale = 1;
    pageRecord->info.lineWidthsMm[0] = 0.13;
    ZUriAddPage(2, pageRecord, db);
    ZUriSetLayerName(2, 5, "\x93\x64\x8c\xb9", db);
    ZUriSetLayerName(0, 3, "layer three", db);
    ElementRecord onPage = Line(9, 9, 10, 10);
    onPage.page = 2;
    ZUriAppendElement(&onPage, db);
}

bool WriteSeed(const std::string& folder, const std::string& name, uint8_t mode, const std::string& file)
{
    FILE* out = std::fopen((folder + "/" + name).c_str(), "wb");
    if (out == nullptr) return false;
    std::fputc(mode, out);
    std::fwrite(file.data(), 1, file.size(), out);
    return std::fclose(out) == 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDrawingSeeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    int written = 0;
    for (int everything = 0; everything < 2; ++everything) {
        for (int cwu = 0; cwu < 2; ++cwu) {
            EngineDbRecord db{};
            ZUriCreateDB(&db);
            Fill(&db, everything != 0);
            uint32_t flags = 0;
            const char* path = "C:\\seed.tcf";
            int saved = cwu ? ZUriSaveFileOfCWU(path, &db, &flags) : ZUriSaveFileOfCWX(path, &db, &flags);
            ZUriDeleteDB(&db);
            std::string file;
            if (saved != 1 || !shim::GetFile(path, file)) {
                std::fprintf(stderr, "MakeDrawingSeeds: the engine did not save seed %d/%d\n", everything, cwu);
                return 1;
            }
            // Every mode of the target: full and information-only, stored and rebuilt sums.
            for (uint8_t mode : {0, 2, 4, 6}) {
                std::string name = std::string(everything ? "all" : "basic") + (cwu ? "-cwu" : "-cwx") + "-mode" +
                                   std::to_string(mode | cwu);
                if (!WriteSeed(folder, name, static_cast<uint8_t>(mode | cwu), file)) return 1;
                ++written;
            }
        }
    }
    std::printf("MakeDrawingSeeds: %d seeds in %s\n", written, folder.c_str());
    return 0;
}
