// Imports an A1 page of 50,000 paths (lines, rectangles and curves in changing colours and
// widths) into an engine database, in process, and prints the time. The file is left for the
// reference converter: scripts/pdf-import-benchmark times `mutool convert -F svg` on it in the
// same run and prints both with their ratio.
//   PdfImportBenchmark.exe OUTPUT.pdf [paths]

#include <podofo/base/PdfOutputDevice.h>
#include <podofo/base/PdfRefCountedBuffer.h>
#include <podofo/base/PdfStream.h>
#include <podofo/doc/PdfMemDocument.h>
#include <podofo/doc/PdfPage.h>

// The PDF library first: the window system's headers define GetObject as a macro.
#include "CadPdf/LoadPdf.h"
#include "CadPdf/PdfImportConverter.h"
#include "CadPdf/PdfImportHost.h"
#include "QmCadDocument.h"
#include "DravikDb.h"
#include "EngineBinding.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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

double Seconds()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: PdfImportBenchmark OUTPUT.pdf [paths]\n");
        return 2;
    }
    char failed[MAX_PATH] = {};
    if (!BindEngineLibraries(failed, sizeof failed)) {
        std::fprintf(stderr, "cannot bind %s\n", failed);
        return 1;
    }
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

    double best = 1e30;
    int elements = 0, result = 0;
    for (int run = 0; run < 3; ++run) {
        EngineDbRecord record{};
        if (ZUriCreateDB(&record) != 1) return 1;
        CLoadPdf command;
        command.SetParam(windowsPath.c_str(), &record);
        const double start = Seconds();
        result = command.Run();
        const double elapsed = Seconds() - start;
        elements = ZUriGetElmNum(&record);
        ZUriDeleteDB(&record);
        if (elapsed < best) best = elapsed;
    }
    // The reading and interpreting alone: a document without database appends nothing.
    double reading = 1e30;
    for (int run = 0; run < 3; ++run) {
        QmCadDocument document;
        PdfImportHost host;
        PdfImportConverter converter(&document, host.Services());
        const double start = Seconds();
        if (converter.OpenPdf(windowsPath) != 0 || converter.ConvertPage(0) != 0) return 1;
        const double elapsed = Seconds() - start;
        if (elapsed < reading) reading = elapsed;
    }
    std::printf("reading and interpreting alone: %.3f s\n", reading);
    std::printf("import: %d paths, %d elements, result %d, best of 3: %.3f s\n", paths, elements, result, best);
    return result == 1 ? 0 : 1;
}
