// Imports an A1 page of 50,000 paths (lines, rectangles and curves in changing colours and
// widths) into an engine database, in process, and prints the time. The file is left for the
// reference converter: scripts/pdf-import-benchmark times `mutool convert -F svg` on it in the
// same run and prints both with their ratio. Beside the whole import it times its stages: the
// opening of the file, the import's content lexer alone (and the library's tokenizer it replaced,
// for comparison), the interpreting and converting with the elements only collected, and the
// appending of the collected elements to the engine.
//   PdfImportBenchmark.exe OUTPUT.pdf [paths]

#include <podofo/base/PdfOutputDevice.h>
#include <podofo/base/PdfRefCountedBuffer.h>
#include <podofo/base/PdfStream.h>
#include <podofo/doc/PdfMemDocument.h>
#include <podofo/doc/PdfPage.h>

// The PDF library first: the window system's headers define GetObject as a macro.
#include "CadPdf/LoadPdf.h"
#include "CadPdf/PdfContentLexer.h"
#include "CadPdf/PdfImportConverter.h"
#include "CadPdf/PdfImportHost.h"
#include "QmCadDocument.h"
#include "DravikDb.h"
#include "BenchmarkSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace PoDoFo;

namespace {

std::string MakeContent(int paths)
{
    std::string content;
    content.reserve(static_cast<size_t>(paths) * 48);
    char op[160];
    for (int i = 0; i < paths; ++i) {
        const double x = (i * 37) % 2300 + 20, y = (i * 53) % 1600 + 20;
        if (i % 50 == 0) {
            std::snprintf(op, sizeof op, "%.3f %.3f %.3f RG %.2f w ", (i % 7) / 7.0, (i % 11) / 11.0,
                          (i % 13) / 13.0, 0.25 + (i % 8) * 0.25);
            content += op;
        }
        switch (i % 4) {
        case 0:
        case 1:
            std::snprintf(op, sizeof op, "%.2f %.2f m %.2f %.2f l S\n", x, y, x + 40, y + (i % 30));
            break;
        case 2:
            std::snprintf(op, sizeof op, "%.2f %.2f 30 20 re S\n", x, y);
            break;
        default:
            std::snprintf(op, sizeof op, "%.2f %.2f m %.2f %.2f %.2f %.2f %.2f %.2f c S\n", x, y, x + 10, y + 20,
                          x + 30, y + 20, x + 40, y);
            break;
        }
        content += op;
    }
    return content;
}

bool WritePdf(const char* unixPath, int paths)
{
    PdfMemDocument document;
    PdfPage* page = document.CreatePage(PdfRect(0, 0, 2383.94, 1683.78));  // A1 landscape
    PdfObject* stream = document.GetObjects().CreateObject();
    const std::string content = MakeContent(paths);
    stream->GetStream()->Set(content.data(), static_cast<pdf_long>(content.size()));
    page->GetObject()->GetDictionary().AddKey(PdfName("Contents"), stream->Reference());
    PdfRefCountedBuffer buffer;
    PdfOutputDevice device(&buffer);
    document.Write(&device);
    FILE* file = std::fopen(unixPath, "wb");
    if (file == nullptr) return false;
    const bool ok = std::fwrite(buffer.GetBuffer(), 1, device.GetLength(), file) == device.GetLength();
    return std::fclose(file) == 0 && ok;
}

using benchmark::Seconds;

// A document on a real database that only collects the lines the converter asks for, with the
// attributes each would be stored with, so that converting and appending can be timed apart.
class CollectingDocument : public QmCadDocument
{
public:
    struct Line {
        GeoVectorPair points;
        uint16_t colour;
        uint8_t lineType, lineWidth;
        int16_t layer;
    };

    CadElement AppendLine(const GeoVectorPair& line) override
    {
        lines.push_back(Line{line, color, lineType, lineWidth, currentLayer});
        return nullptr;
    }

    // Appends the collected lines to the database as the import would.
    void AppendCollected()
    {
        for (const Line& line : lines) {
            color = line.colour;
            lineType = line.lineType;
            lineWidth = line.lineWidth;
            currentLayer = line.layer;
            QmCadDocument::AppendLine(line.points);
        }
    }

    std::vector<Line> lines;
};

// The shortest of three runs of `stage`.
template <typename Stage>
double BestOfThree(Stage stage)
{
    double best = 1e30;
    for (int run = 0; run < 3; ++run) best = std::min(best, stage());
    return best;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: PdfImportBenchmark OUTPUT.pdf [paths]\n");
        return 2;
    }
    if (!benchmark::BindEngine()) return 1;
    const int paths = argc > 2 ? std::atoi(argv[2]) : 50000;
    try {
        if (!WritePdf(argv[1], paths)) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const PdfError&) {
        std::fprintf(stderr, "cannot make the PDF\n");
        return 1;
    }
    // The same file by its Windows name (Z: is the root of the Unix file system).
    std::string windowsPath = std::string("Z:") + argv[1];
    for (char& c : windowsPath)
        if (c == '/') c = '\\';

    int elements = 0, result = 0;
    const double whole = BestOfThree([&] {
        EngineDbRecord record{};
        if (ZUriCreateDB(&record) != 1) std::exit(1);
        CLoadPdf command;
        command.SetParam(windowsPath.c_str(), &record);
        const double begin = Seconds();
        result = command.Run();
        const double elapsed = Seconds() - begin;
        elements = ZUriGetElmNum(&record);
        ZUriDeleteDB(&record);
        return elapsed;
    });

    // The stages one by one.
    const double opening = BestOfThree([&] {
        QmCadDocument document;
        PdfImportHost host;
        PdfImportConverter converter(&document, host.Services());
        const double begin = Seconds();
        if (converter.OpenPdf(windowsPath) != 0) std::exit(1);
        return Seconds() - begin;
    });
    const std::string content = MakeContent(paths);
    const double tokenizing = BestOfThree([&] {
        const double begin = Seconds();
        PdfContentLexer lexer(content.data(), content.size());
        EPdfContentsType type;
        const char* keyword = nullptr;
        size_t keywordLength = 0;
        PdfVariant value;
        long tokens = 0;
        while (lexer.ReadNext(type, keyword, keywordLength, value)) ++tokens;
        const double elapsed = Seconds() - begin;
        if (tokens == 0) std::exit(1);
        return elapsed;
    });
    const double libraryTokenizing = BestOfThree([&] {
        const double begin = Seconds();
        PdfContentsTokenizer tokenizer(content.data(), static_cast<long>(content.size()));
        EPdfContentsType type;
        const char* keyword = nullptr;
        PdfVariant value;
        long tokens = 0;
        while (tokenizer.ReadNext(type, keyword, value)) ++tokens;
        const double elapsed = Seconds() - begin;
        if (tokens == 0) std::exit(1);
        return elapsed;
    });
    size_t collected = 0;
    double appending = 1e30;
    const double converting = BestOfThree([&] {
        EngineDbRecord record{};
        if (ZUriCreateDB(&record) != 1) std::exit(1);
        CollectingDocument document;
        document.database = &record;
        PdfImportHost host;
        PdfImportConverter converter(&document, host.Services());
        if (converter.OpenPdf(windowsPath) != 0) std::exit(1);
        const double begin = Seconds();
        if (converter.ConvertPage(0) != 0) std::exit(1);
        const double elapsed = Seconds() - begin;
        collected = document.lines.size();
        const double appendBegin = Seconds();
        document.AppendCollected();
        appending = std::min(appending, Seconds() - appendBegin);
        ZUriDeleteDB(&record);
        return elapsed;
    });

    std::printf("stages, best of 3 each: opening %.3f s, content lexer alone %.3f s (the library's tokenizer "
                "%.3f s), interpreting and converting %.3f s (%zu lines collected), appending to the engine %.3f s\n",
                opening, tokenizing, libraryTokenizing, converting, collected, appending);
    std::printf("import: %d paths, %d elements, result %d, best of 3: %.3f s\n", paths, elements, result, whole);
    return result == 1 ? 0 : 1;
}
