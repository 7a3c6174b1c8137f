// The PDF export of a large drawing beside the limit: 100,000 elements (mostly lines, with
// circles, arcs and Japanese texts on several layers) on A1, exported by the writer, and a plain
// libharu program emitting the same operators for the same elements, marked-content brackets
// included, in the same run.
//   scripts/run-test-exe <build folder> PdfExportBenchmark [element count]
#include <windows.h>

#include <hpdf.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BenchmarkSupport.h"
#include "CadPdf/CadPdfOut.h"
#include "CadPdf/ExportMessages.h"
#include "Dravik.h"
#include "DravikDb.h"
#include "QmCadDocument.h"

using benchmark::Seconds;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLayers = 8;
const char* const kTexts[] = {"電源", "制御盤", "ブレーカ", "モータ", "リレー", "端子台", "スイッチ", "接地"};

class SilentMessages : public ExportMessages {
public:
    void Show(const char* text, const char*, UINT) override { std::fprintf(stderr, "message: %s\n", text); }
};

// Element i of the drawing: what it is and where (drawing units = mm at scale 1, A1 centred).
struct Shape {
    int kind;  // 0 line, 1 circle, 2 arc, 3 text
    int layer;
    double x, y, a, b;
};

Shape ShapeOf(int i)
{
    const double x = (i * 37 % 800) - 400.0, y = (i * 53 % 560) - 280.0;
    const int kind = i % 50 == 0 ? 3 : i % 25 == 1 ? 1 : i % 25 == 2 ? 2 : 0;
    return {kind, i % kLayers, x, y, 5.0 + i % 7, 3.0 + i % 5};
}

ElementRecord RecordOf(const Shape& s, int index)
{
    uint8_t bytes[174] = {};
    ElementRecord header{};
    header.type = static_cast<uint16_t>(s.kind == 0 ? kElementLine : s.kind == 1 ? kElementCircle
                                        : s.kind == 2 ? kElementArc : kElementText);
    header.layer = static_cast<uint16_t>(s.layer);
    header.colour = static_cast<uint16_t>(1 + s.layer);
    std::memcpy(bytes, &header, 33);
    if (s.kind == 0) {
        LineRecord r;
        std::memcpy(&r, bytes, sizeof r);
        r.x1 = s.x, r.y1 = s.y, r.x2 = s.x + s.a, r.y2 = s.y + s.b;
        std::memcpy(bytes, &r, sizeof r);
    } else if (s.kind == 1) {
        CircleRecord r;
        std::memcpy(&r, bytes, sizeof r);
        r.cx = s.x, r.cy = s.y, r.radius = s.a, r.nz = 1;
        std::memcpy(bytes, &r, sizeof r);
    } else if (s.kind == 2) {
        ArcRecord r;
        std::memcpy(&r, bytes, sizeof r);
        r.cx = s.x, r.cy = s.y, r.radius = s.a, r.startAngle = 0.3, r.endAngle = 2.0, r.nz = 1;
        std::memcpy(bytes, &r, sizeof r);
    } else {
        TextRecord r;
        std::memcpy(&r, bytes, sizeof r);
        r.header[13] = 3;
        r.height = 3.5, r.widthRatio = 1.0;
        std::strncpy(r.font, "ＭＳ ゴシック", sizeof r.font - 1);
        r.x = s.x, r.y = s.y;
        r.text = kTexts[index / 50 % 8];
        std::memcpy(bytes, &r, sizeof r);
    }
    ElementRecord out;
    std::memcpy(&out, bytes, sizeof out);
    return out;
}

float Pt(double mm) { return static_cast<float>(mm * 72.0 / 25.4); }

void Raw(HPDF_Page page, const char* text)
{
    HPDF_Stream_WriteStr(static_cast<HPDF_PageAttr>(page->attr)->stream, text);
}

// The same operators through libharu alone: no engine, no settings, no walk.
double ReferenceSeconds(int count, size_t* bytes)
{
    const double start = Seconds();
    HPDF_Doc pdf = HPDF_New(nullptr, nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
    HPDF_UseJPFonts(pdf);
    HPDF_UseJPEncodings(pdf);
    HPDF_Font font = HPDF_GetFont(pdf, "MS-Gothic", "90ms-RKSJ-H");
    HPDF_Page page = HPDF_AddPage(pdf);
    HPDF_Page_SetWidth(page, Pt(841));
    HPDF_Page_SetHeight(page, Pt(594));
    const double ox = 841 / 2.0, oy = 594 / 2.0;
    char bracket[32];
    for (int i = 0; i < count; ++i) {
        const Shape s = ShapeOf(i);
        std::snprintf(bracket, sizeof bracket, "/OC /oc%d BDC\n", s.layer);
        if (s.kind != 3) {
            HPDF_Page_SetDash(page, nullptr, 0, 0);
            HPDF_Page_SetLineWidth(page, Pt(0.13));
            HPDF_Page_SetRGBStroke(page, 0, 0, 1);
        }
        Raw(page, bracket);
        if (s.kind == 0) {
            HPDF_Page_MoveTo(page, Pt(ox + s.x), Pt(oy + s.y));
            HPDF_Page_LineTo(page, Pt(ox + s.x + s.a), Pt(oy + s.y + s.b));
            HPDF_Page_Stroke(page);
        } else if (s.kind == 1) {
            HPDF_Page_Circle(page, Pt(ox + s.x), Pt(oy + s.y), Pt(s.a));
            HPDF_Page_Stroke(page);
        } else if (s.kind == 2) {
            HPDF_Page_Arc(page, Pt(ox + s.x), Pt(oy + s.y), Pt(s.a), 450 - 114.6f, 450 - 114.6f + 97.4f);
            HPDF_Page_Stroke(page);
        } else {
            HPDF_Page_SetFontAndSize(page, font, Pt(3.5));
            HPDF_Page_BeginText(page);
            HPDF_Page_SetRGBFill(page, 0, 0, 1);
            HPDF_Page_SetHorizontalScalling(page, 100);
            HPDF_Page_MoveTextPos(page, Pt(ox + s.x), Pt(oy + s.y));
            HPDF_Page_ShowText(page, kTexts[i / 50 % 8]);
            HPDF_Page_EndText(page);
        }
        Raw(page, "EMC\n");
    }
    HPDF_SaveToStream(pdf);
    *bytes = HPDF_GetStreamSize(pdf);
    HPDF_Free(pdf);
    return Seconds() - start;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!benchmark::BindEngine()) return 2;
    const int count = benchmark::CountArgument(argc, argv, 100000);
    char product[64];
    std::snprintf(product, sizeof product, "VellocExportBenchmark%lu", GetCurrentProcessId());
    QmCadApi_SetAppProductName(product);

    EngineDbRecord record{};
    if (ZUriCreateDB(&record) != 1) return 2;
    DbInfoBlock* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &record));
    info->record.paperWidthMm = 841;
    info->record.paperHeightMm = 594;
    info->record.scale = 1.0;
    for (int n = 0; n < kLayers; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "レイヤ%d", n + 1);
        ZUriSetLayerName(0, n, name, &record);
    }
    for (int w = 0; w < kLayerMaskWords; ++w) info->layers.displayMask[w] = 0xFFFF;
    for (int i = 0; i < count; ++i) {
        const ElementRecord r = RecordOf(ShapeOf(i), i);
        ZUriAppendElement(&r, &record);
    }

    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    const std::string path = std::string(folder) + "velloc-benchmark.pdf";

    size_t referenceBytes = 0;
    const double reference = ReferenceSeconds(count, &referenceBytes);

    const double start = Seconds();
    int result;
    {
        QmCadDocument document(nullptr);
        document.database = &record;
        SilentMessages messages;
        CadPdfOut writer(&document, &messages);
        result = writer.Export(path.c_str());
    }
    const double exported = Seconds() - start;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes);
    DeleteFileA(path.c_str());
    ZUriDeleteDB(&record);

    std::printf("elements: %d on A1, %d layers\n", count, kLayers);
    std::printf("libharu alone (same operators, in memory): %.3f s, %zu bytes\n", reference, referenceBytes);
    std::printf("export (walk, writers, save to file):      %.3f s, %lu bytes, result %d\n", exported,
                static_cast<unsigned long>(attributes.nFileSizeLow), result);
    std::printf("ratio: %.2f\n", exported / reference);
    return result == 0 ? 0 : 1;
}
