// Native fuzz target of the PDF import's reading core: a PDF is opened from memory and each of
// its first pages converted. The document model is replaced by a sink (this file defines the
// converter's output operations, in place of PdfConverterOutput.cpp) that checks every element:
// finite points, layer, colour, line type and width in range, texts without a zero byte. The
// input's bytes, and each stream of an input the import opens, are also read by the import's content lexer
// and the library's tokenizer side by side: they must give the same items and errors.
#include "CadPdf/PdfCodePage932.h"
#include "CadPdf/PdfDataFolderFiles.h"
#include "CadPdf/PdfImportConverter.h"
#include "ContentLexerComparison.h"

#include <podofo/doc/PdfMemDocument.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct SinkState
{
    int layer = 0, colour = 7, lineType = 0, lineWidth = 0;
    size_t elements = 0;
    int colours[257][3];
};
SinkState g_sink;

void Check(bool condition)
{
    if (!condition) std::abort();
}

bool Finite(double v) { return std::isfinite(v); }

class FuzzSettings : public IPdfImportSettings
{
public:
    int variant = 0;
    std::string ReadSystemValue(const char* key, const char* def) override
    {
        if (std::strcmp(key, "modeFillDraw") == 0) return (variant & 1) ? "1" : "0";
        if (std::strcmp(key, "modeAddText") == 0) return std::to_string((variant >> 1) & 3);
        if (std::strcmp(key, "modeGrStateClear") == 0) return (variant & 8) ? "0" : "-1";
        if (std::strcmp(key, "posRoundDigits") == 0) return (variant & 16) ? "2" : "-1";
        return def;
    }
};

class FuzzMeasure : public IPdfTextMeasure
{
public:
    bool MapToCadFont(const std::string&, std::string&) override { return false; }
    bool MoveDescent() override { return true; }
    bool MeasureTextExtent(const std::string&, const std::string& text, double& w, double& h) override
    {
        w = 500.0 * text.size();
        h = 1000;
        return true;
    }
    bool FontDescentRatio(const std::string&, double& ratio) override
    {
        ratio = 0.125;
        return true;
    }
};

class FuzzMessages : public IPdfMessages
{
public:
    void Show(const std::string& text, const std::string&, Kind) override { Check(text.find('\0') == std::string::npos); }
};

std::string DataFolder()
{
    const char* folder = std::getenv("VELLOC_DATA_FOLDER");
    return folder ? folder : "build/bin";
}

// Every stream of the document (content streams, Forms, CMaps ...) decoded, up to a few.
void CompareContentStreams(const std::string& bytes)
{
    using namespace PoDoFo;
    try {
        PdfMemDocument document;
        document.LoadFromBuffer(bytes.data(), static_cast<long>(bytes.size()));
        int compared = 0;
        for (const PdfObject* object : document.GetObjects()) {
            if (compared >= 16) break;
            std::string decoded;
            if (object == nullptr || !object->HasStream() || !PdfDecodedStream(object, decoded, 1u << 20)) continue;
            ++compared;
            Check(CompareContentLexerWithLibrary(decoded.data(), decoded.size()).empty());
        }
    } catch (const PdfError&) {
    }
}

}  // namespace

// ---- The converter's output, as the sink sees it ---------------------------------------------

void SampleBezier(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3,
                  double* xs, double* ys)
{
    for (int i = 0; i < 13; ++i) {
        const double t = i / 12.0, u = 1 - t;
        xs[i] = u * u * u * x0 + 3 * t * u * u * x1 + 3 * t * t * u * x2 + t * t * t * x3;
        ys[i] = u * u * u * y0 + 3 * t * u * u * y1 + 3 * t * t * u * y2 + t * t * t * y3;
    }
}

void PdfImportConverter::CopyDrawingTables()
{
    m_widthCount = 16;
    for (int i = 0; i < 16; ++i) m_widths[i] = 0.1 * (i + 1);
    m_colours.assign(257, 0);
    for (int i = 0; i < 257; ++i) m_colours[i] = (i * 0x010101) & 0xFFFFFF;
    m_lineTypes.assign(32, LineTypeRecord{});
    m_lineTypes[1].count = 2;
    m_lineTypes[1].dashes[0] = 3;
    m_lineTypes[1].dashes[1] = 2;
}

static void CheckAttributes()
{
    Check(g_sink.layer >= 0 && g_sink.layer <= 1023);
    Check(g_sink.colour >= 0 && g_sink.colour <= 256);
    Check(g_sink.lineType >= 0 && g_sink.lineType <= 31);
    Check(g_sink.lineWidth >= 0 && g_sink.lineWidth <= 15);
}

void* PdfImportConverter::OutputLine(double x1, double y1, double x2, double y2)
{
    Check(Finite(x1) && Finite(y1) && Finite(x2) && Finite(y2));
    CheckAttributes();
    return reinterpret_cast<void*>(++g_sink.elements);
}

void* PdfImportConverter::OutputCircle(double cx, double cy, double r)
{
    Check(Finite(cx) && Finite(cy) && Finite(r) && r >= 0);
    CheckAttributes();
    return reinterpret_cast<void*>(++g_sink.elements);
}

void* PdfImportConverter::WriteText(const PdfTextAttributes& a, double x, double y, const std::string& text)
{
    Check(!text.empty() && text.find('\0') == std::string::npos);
    Check(Finite(x) && Finite(y) && Finite(a.characterWidth) && Finite(a.characterHeight) && Finite(a.angleDegrees) &&
          Finite(a.characterSpacing));
    Check(a.angleDegrees >= 0 && a.angleDegrees <= 360);
    CheckAttributes();
    return reinterpret_cast<void*>(++g_sink.elements);
}

void PdfImportConverter::CopyWithStrokeColour(const std::vector<void*>& handles)
{
    for (void* h : handles) Check(reinterpret_cast<size_t>(h) <= g_sink.elements);
}

void PdfImportConverter::DocumentSetFileInfo(const std::string& path) { Check(!path.empty()); }
void PdfImportConverter::DocumentSetPaper(double w, double h) { Check(Finite(w) && Finite(h)); }
void PdfImportConverter::DocumentResetCurrentLayer() { g_sink.layer = 0; }
int PdfImportConverter::DocumentColour() const { return g_sink.colour; }
void PdfImportConverter::DocumentSetColour(int c) { Check(c >= 0 && c <= 256); g_sink.colour = c; }
int PdfImportConverter::DocumentLineType() const { return g_sink.lineType; }
void PdfImportConverter::DocumentSetLineType(int t) { Check(t >= 0 && t <= 31); g_sink.lineType = t; }
int PdfImportConverter::DocumentLineWidth() const { return g_sink.lineWidth; }
void PdfImportConverter::DocumentSetLineWidth(int w) { Check(w >= 0 && w <= 15); g_sink.lineWidth = w; }
int PdfImportConverter::DocumentLayer() const { return g_sink.layer; }
void PdfImportConverter::DocumentSetLayer(int layer) { Check(layer >= 0 && layer <= 1023); g_sink.layer = layer; }
bool PdfImportConverter::DocumentWriteColourRecord(int index, int r, int g, int b)
{
    Check(index >= 0 && index <= 256 && r >= 0 && r <= 255 && g >= 0 && g <= 255 && b >= 0 && b <= 255);
    return true;
}
void PdfImportConverter::DocumentNameLayer(int layer, const std::string& name)
{
    Check(layer >= 0 && layer <= 1023 && name.find('\0') == std::string::npos);
}
int PdfImportConverter::DocumentFindLayerByName(const std::string&) const { return 1; }
void PdfImportConverter::DocumentOpenGroup() {}
void PdfImportConverter::DocumentCollectGroupMembers(std::vector<void*>&) {}
void PdfImportConverter::DocumentCloseGroup() {}
void PdfImportConverter::DocumentFilterCurveElements(const std::vector<void*>& in, std::vector<void*>& out) { out = in; }

// ---- The target ------------------------------------------------------------------------------

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static PdfCodePage932 codePage;
    static FuzzSettings settings;
    static FuzzMeasure measure;
    static PdfDataFolderFiles files(DataFolder());
    static FuzzMessages messages;
    static PdfImportServices services{&codePage, &settings, &measure, &files, &messages};
    if (size < 1) return 0;
    settings.variant = data[0];
    g_sink = SinkState();
    PdfImportConverter converter(nullptr, services);
    converter.unitFactor = 1.0 / (0.02 * 72 / 25.4);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    Check(CompareContentLexerWithLibrary(bytes.data(), bytes.size()).empty());
    if (converter.OpenPdfFromMemory(bytes, "fuzz.pdf") != 0) return 0;
    CompareContentStreams(bytes);
    const int pages = converter.PageCount();
    for (int page = 0; page < pages && page < 3; ++page) {
        if (converter.SelectPage(page) == 0) converter.ConvertPage(page);
    }
    return 0;
}
