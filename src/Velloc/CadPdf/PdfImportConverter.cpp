#include "PdfImportConverter.h"

#include "NumericFormat.h"
#include "core/Dbcs.h"
#include "PdfLibrary.h"

#include <podofo/doc/PdfMemDocument.h>
#include <podofo/doc/PdfPage.h>

#include <cmath>
#include <cstdlib>

using namespace PoDoFo;

int PdfImportConverter::modeGrStateClear = -1;
int PdfImportConverter::modeFillDraw = 0;
bool PdfImportConverter::imageWarningShown = false;

namespace {

const double kPi = 3.141592653589793;


// Largest PDF file the import reads into memory.
const size_t kMaxPdfFileBytes = 512u * 1024u * 1024u;

// The /Parent chain followed for inherited page attributes.
const int kMaxPageTreeDepth = 64;

}  // namespace

PdfImportConverter::PdfImportConverter(QmCadDocument* document, PdfImportServices& services)
    : m_document(document), m_services(services), m_nextNewColour(&m_ownNextNewColour),
      m_formPaints(&m_ownFormPaints)
{
    // The library prints its debug and log lines to standard output unless told not to.
    PdfError::EnableDebug(false);
    PdfError::EnableLogging(false);
    m_textState.reset(new PdfTextState(document, this, &currentMatrix, services));
    CopyDrawingTables();
    ReadSettings();
}

PdfImportConverter::~PdfImportConverter() = default;

void PdfImportConverter::ReadSettings()
{
    auto read = [this](const char* key, const char* def) {
        return std::atoi(m_services.settings->ReadSystemValue(key, def).c_str());
    };
    modeGrStateClear = read("modeGrStateClear", "-1");
    m_textState->modeAddText = read("modeAddText", "0");
    modeFillDraw = read("modeFillDraw", "0");
    bezierToCircle = read("BezierToCircle", "1");
    posRoundDigits = read("posRoundDigits", "-1");
    if (posRoundDigits > 15) posRoundDigits = 15;
}

const PdfVecObjects* PdfImportConverter::Objects() const
{
    if (m_objects) return m_objects;
    return m_pdf ? &m_pdf->GetObjects() : nullptr;
}

int PdfImportConverter::ShowPdfError(const PdfError& error)
{
    m_services.messages->Show(PdfErrorText(error), "エラー", IPdfMessages::Error);
    return static_cast<int>(error.GetError());
}

int PdfImportConverter::OpenPdf(const std::string& path)
{
    std::string bytes;
    if (!m_services.dataFiles->ReadWholeFile(path, bytes, kMaxPdfFileBytes)) {
        PdfError error(ePdfError_FileNotFound, __FILE__, __LINE__);
        return ShowPdfError(error);
    }
    return OpenPdfFromMemory(bytes, path);
}

namespace {

// The drawing's path beside the PDF: the PDF's folder and stem with ".tcf", numbered "_1",
// "_2" ... when that file exists.
std::string UniqueTcfPath(const std::string& pdfPath, IPdfDataFiles& files)
{
    size_t separator = std::string::npos;
    size_t dot = std::string::npos;
    for (size_t i = 0; i < pdfPath.size(); ++i) {
        const char c = pdfPath[i];
        if (IsSjisLeadByte(static_cast<unsigned char>(c)) && i + 1 < pdfPath.size()) {
            ++i;
            continue;
        }
        if (c == '\\' || c == '/' || c == ':') {
            separator = i;
            dot = std::string::npos;
        } else if (c == '.') {
            dot = i;
        }
    }
    const std::string folder = (separator == std::string::npos) ? std::string() : pdfPath.substr(0, separator + 1);
    const size_t stemStart = (separator == std::string::npos) ? 0 : separator + 1;
    const std::string stem = pdfPath.substr(stemStart, (dot == std::string::npos ? pdfPath.size() : dot) - stemStart);
    std::string candidate = folder + stem + ".tcf";
    for (int n = 1; n < 100000 && files.FileExists(candidate); ++n)
        candidate = folder + stem + "_" + std::to_string(n) + ".tcf";
    return candidate;
}

}  // namespace

int PdfImportConverter::OpenPdfFromMemory(const std::string& bytes, const std::string& path)
{
    m_pdf.reset();
    m_pageTable.clear();
    // The library reads objects from this buffer on demand: it lives as long as the document.
    m_fileBytes = bytes;
    try {
        std::unique_ptr<PdfMemDocument> pdf(new PdfMemDocument());
        pdf->LoadFromBuffer(m_fileBytes.data(), static_cast<long>(m_fileBytes.size()));
        if (pdf->GetEncrypted() || pdf->GetTrailer()->GetDictionary().HasKey(PdfName("Encrypt")))
            PODOFO_RAISE_ERROR_INFO(ePdfError_InvalidPassword, "encrypted documents are not read");
        m_pdf = std::move(pdf);
        if (m_pdf->GetPageCount() < 1) return -1;
    } catch (const PdfError& error) {
        m_pdf.reset();
        return ShowPdfError(error);
    }
    int result = BuildPageTable();
    if (result != 0) return result;
    result = SelectPage(0);
    if (result != 0) return result;
    if (m_document != nullptr) {
        const std::string tcf = UniqueTcfPath(path, *m_services.dataFiles);
        DocumentSetFileInfo(tcf);
        if (!m_pageTable.empty()) DocumentSetPaper(m_pageTable[0].width, m_pageTable[0].height);
    }
    return 0;
}

int PdfImportConverter::PageCount() const
{
    try {
        return m_pdf ? m_pdf->GetPageCount() : 0;
    } catch (const PdfError&) {
        return 0;
    }
}

PdfPage* PdfImportConverter::Page(int n) const
{
    return m_pdf ? m_pdf->GetPage(n) : nullptr;
}

int PdfImportConverter::BuildPageTable()
{
    const int count = PageCount();
    if (count < 1) return -1;
    m_pageTable.clear();
    try {
        for (int i = 0; i < count; ++i) {
            PdfPage* page = Page(i);
            if (page == nullptr) PODOFO_RAISE_ERROR(ePdfError_PageNotFound);
            const PdfRect box = page->GetMediaBox();
            PdfPageInfo info;
            info.width = box.GetWidth() / pointsPerMm;
            info.height = box.GetHeight() / pointsPerMm;
            if (!std::isfinite(info.width) || !std::isfinite(info.height)) info.width = info.height = 0;
            const int r = page->GetRotation();
            info.angle = (r != 0) ? -r : 0;
            info.rotated = (r != 0) ? 1 : 0;
            if (r % 180 != 0 && r % 90 == 0) std::swap(info.width, info.height);
            info.defaultScale = 0.02;
            m_pageTable.push_back(info);
        }
    } catch (const PdfError& error) {
        m_pageTable.clear();
        return ShowPdfError(error);
    }
    return 0;
}

int PdfImportConverter::SelectPage(int n)
{
    const int count = PageCount();
    if (count < 1 || n < 0 || n >= count) return -1;
    m_pending.clear();
    m_properties.clear();
    m_xobjects.clear();
    m_textState->ResetTextState();
    if (m_pageTable.empty() && BuildPageTable() != 0) return -1;
    if (n < static_cast<int>(m_pageTable.size())) {
        pageAngle = m_pageTable[static_cast<size_t>(n)].angle;
        pageRotated = m_pageTable[static_cast<size_t>(n)].rotated != 0;
    }
    try {
        const PdfObject* pageObject = Page(n)->GetObject();
        LoadFontResources(pageObject);
        LoadPropertyResources(pageObject);
        NameLayersFromOcgs();
    } catch (const PdfError&) {
        // A page whose resources cannot be read is converted without them.
    }
    DocumentResetCurrentLayer();
    return 0;
}

int PdfImportConverter::ConvertPage(int n)
{
    const int count = PageCount();
    if (count < 1 || n >= count) return -1;
    try {
        PdfPage* page = Page(n < 0 ? 0 : n);
        if (page == nullptr) PODOFO_RAISE_ERROR(ePdfError_PageNotFound);
        // The page's centre (not the corner of its box) becomes the drawing origin.
        const PdfRect box = page->GetMediaBox();
        originX = -(box.GetLeft() + box.GetWidth() / 2);
        originY = -(box.GetBottom() + box.GetHeight() / 2);
        if (!std::isfinite(originX) || !std::isfinite(originY)) originX = originY = 0;
        const PdfObject* pageObject = page->GetObject();
        *m_formPaints = 0;
        LoadXObjectResources(pageObject);
        std::string content;
        const PdfObject* contents = PdfDictionaryValue(pageObject, "Contents", Objects());
        if (contents != nullptr && contents->IsArray()) {
            for (const PdfObject& part : contents->GetArray()) {
                std::string bytes;
                if (!PdfDecodedStream(PdfResolve(&part, Objects()), bytes, kMaxDecodedStreamBytes - content.size()))
                    continue;
                content += bytes;
                content += '\n';  // a token never runs on from one part into the next
            }
        } else if (contents != nullptr) {
            PdfDecodedStream(contents, content, kMaxDecodedStreamBytes);
        }
        RunContentStream(content.data(), content.size());
    } catch (const PdfError& error) {
        return ShowPdfError(error);
    }
    return 0;
}

// The resources of a page or of one of its parents (a page inherits /Resources).
const PdfObject* PdfImportConverter::PageResources(const PdfObject* pageObject) const
{
    const PdfObject* node = pageObject;
    for (int depth = 0; node != nullptr && depth < kMaxPageTreeDepth; ++depth) {
        const PdfObject* resources = PdfDictionaryValue(node, "Resources", Objects());
        if (resources != nullptr) return resources->IsDictionary() ? resources : nullptr;
        node = PdfDictionaryValue(node, "Parent", Objects());
    }
    return nullptr;
}

void PdfImportConverter::ToDrawingPoint(double x, double y, double& outX, double& outY) const
{
    double x1, y1;
    currentMatrix.Apply(x, y, x1, y1);
    double x2 = (x1 + originX) * unitFactor;
    double y2 = (y1 + originY) * unitFactor;
    if (pageRotated) {
        const double t = pageAngle * kPi / 180.0;
        const double rx = x2 * std::cos(t) - y2 * std::sin(t);
        const double ry = x2 * std::sin(t) + y2 * std::cos(t);
        x2 = rx;
        y2 = ry;
    }
    if (posRoundDigits >= 0) {
        const double step = std::pow(10.0, -posRoundDigits);
        x2 = RoundToStep(x2, step, 1e-8);
        y2 = RoundToStep(y2, step, 1e-8);
    }
    outX = x2;
    outY = y2;
}

PdfMatrix PdfImportConverter::PageMatrix() const
{
    PdfMatrix m{unitFactor, 0, 0, unitFactor, originX * unitFactor, originY * unitFactor};
    if (pageRotated) m = m * PdfMatrix::Rotation(pageAngle);
    return m;
}
