// The import converter's road into the document model: the drawing tables it matches against,
// the attributes of the next element, and lines, circles, texts, groups and layers.
#include "PdfImportConverter.h"

#include "GeoShapes.h"
#include "QmCadDocument.h"

#include <cmath>
#include <iterator>

namespace {

// Whole points, the unit of the dash lengths compared with a PDF dash array.
int WholePoints(double mm)
{
    const double points = std::floor(mm * 72.0 / 25.4 + 0.5 + 1e-8);
    if (!(points > -1e9)) return 0;
    return points > 1e9 ? 1000000000 : static_cast<int>(points);
}

}  // namespace

void SampleBezier(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3,
                  double* xs, double* ys)
{
    const GeoBezierCurve curve(GeoVector(x0, y0), GeoVector(x1, y1), GeoVector(x2, y2), GeoVector(x3, y3));
    int i = 0;
    for (const GeoVector& p : curve.Samples()) {
        if (i == GeoBezierCurve::kSampleCount) break;
        xs[i] = p.x;
        ys[i] = p.y;
        ++i;
    }
    for (; i < GeoBezierCurve::kSampleCount; ++i) {
        xs[i] = x3;
        ys[i] = y3;
    }
}

void PdfImportConverter::CopyDrawingTables()
{
    m_widthCount = 0;
    m_colours.clear();
    m_lineTypes.clear();
    if (m_document == nullptr || !m_document->HasDrawingInformation()) return;
    for (int n = 0; n < 16; ++n)
        if (m_document->GetLinewidthMm(n, &m_widths[n])) m_widthCount = n + 1;
    for (int n = 0; n < 257; ++n) {
        int r = 0, g = 0, b = 0;
        m_document->GetColorRecord(n, &r, &g, &b);
        m_colours.push_back(r + 256 * g + 65536 * b);
    }
    for (int n = 0; n < 32; ++n) {
        LineTypeRecord record = {};
        std::vector<double> dashes;
        std::string name;
        if (m_document->GetLinetypeDashes(dashes, n, name) == 0) {
            record.count = static_cast<int>(std::min<size_t>(dashes.size(), 16));
            for (int i = 0; i < record.count; ++i) record.dashes[i] = WholePoints(dashes[static_cast<size_t>(i)]);
        }
        m_lineTypes.push_back(record);
    }
}

void* PdfImportConverter::OutputLine(double x1, double y1, double x2, double y2)
{
    if (m_document == nullptr) return nullptr;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return nullptr;
    return m_document->AppendLine(GeoVectorPair(GeoVector(x1, y1), GeoVector(x2, y2)));
}

void* PdfImportConverter::OutputCircle(double cx, double cy, double r)
{
    if (m_document == nullptr) return nullptr;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(r)) return nullptr;
    return m_document->AppendCircle(GeoVector(cx, cy), r);
}

void* PdfImportConverter::WriteText(const PdfTextAttributes& a, double x, double y, const std::string& text)
{
    if (m_document == nullptr || text.empty()) return nullptr;
    if (!std::isfinite(x) || !std::isfinite(y)) return nullptr;
    m_document->SetTextSize(a.characterWidth, a.characterHeight);
    m_document->SetTextAngles(a.angleDegrees, m_document->secondAngleDegrees);
    m_document->SetTextSpacing(a.characterSpacing);
    m_document->SetTextFont(a.fontName.c_str());
    m_document->SetTextMode(a.vertical ? 4 : 3);
    m_document->SetTextVertical(a.vertical ? 1 : 0);
    return m_document->AppendText(GeoVector(x, y), text.c_str());
}

void PdfImportConverter::CopyWithStrokeColour(const std::vector<void*>& handles)
{
    if (m_document == nullptr) return;
    std::vector<CadElement> copies;
    for (void* handle : handles) {
        CadElement copy = m_document->CopyElementWithColor(handle, m_strokingColour);
        if (copy != nullptr) copies.push_back(copy);
    }
    if (!copies.empty()) m_document->MakeCurveGroup(copies, 0);
}

void PdfImportConverter::DocumentSetFileInfo(const std::string& tcfPath)
{
    m_document->SetFileInfo(tcfPath.c_str(), tcfPath.c_str());
}

void SetPaperWithDefaultScale(QmCadDocument& document, double widthMm, double heightMm)
{
    document.SetPaperSize(widthMm, heightMm);
    int series = -1, size = -1;
    document.GetPaperKind(&series, &size);
    double scale;
    if (series == 0 || series == 1) {
        scale = (size >= 0 && size <= 2) ? 0.01 : 0.02;
    } else {
        // A paper of no standard size: 1/100 above A2 (594 x 420 mm), else 1/50.
        const double longer = std::max(widthMm, heightMm), shorter = std::min(widthMm, heightMm);
        scale = (longer > 594 + 2 || shorter > 420 + 2) ? 0.01 : 0.02;
    }
    document.SetScale(scale);
}

void PdfImportConverter::DocumentSetPaper(double widthMm, double heightMm)
{
    SetPaperWithDefaultScale(*m_document, widthMm, heightMm);
}

void PdfImportConverter::DocumentResetCurrentLayer()
{
    if (m_document) m_document->ResetCurrentLayer();
}

int PdfImportConverter::DocumentColour() const { return m_document ? m_document->color : -1; }
void PdfImportConverter::DocumentSetColour(int colour)
{
    if (m_document && colour >= 0) m_document->SetElementColor(colour);
}
int PdfImportConverter::DocumentLineType() const { return m_document ? m_document->lineType : -1; }
void PdfImportConverter::DocumentSetLineType(int lineType)
{
    if (m_document && lineType >= 0) m_document->SetElementLinetype(lineType);
}
int PdfImportConverter::DocumentLineWidth() const { return m_document ? m_document->lineWidth : -1; }
void PdfImportConverter::DocumentSetLineWidth(int lineWidth)
{
    if (m_document && lineWidth >= 0) m_document->SetElementLinewidth(lineWidth);
}
int PdfImportConverter::DocumentLayer() const { return m_document ? m_document->currentLayer : -1; }
void PdfImportConverter::DocumentSetLayer(int layer)
{
    if (m_document && layer >= 0) m_document->SetElementLayer(layer);
}

bool PdfImportConverter::DocumentWriteColourRecord(int index, int red, int green, int blue)
{
    return m_document && m_document->SetColorRecord(index, red, green, blue);
}

void PdfImportConverter::DocumentNameLayer(int layer, const std::string& name)
{
    if (m_document) m_document->SetLayer(layer, name.c_str());
}

int PdfImportConverter::DocumentFindLayerByName(const std::string& name) const
{
    return m_document ? m_document->FindLayerByName(name.c_str(), -1) : -1;
}

void PdfImportConverter::DocumentOpenGroup()
{
    if (m_document) m_document->OpenGroup();
}

void PdfImportConverter::DocumentCollectGroupMembers(std::vector<void*>& handles)
{
    if (m_document) m_document->CollectGroupMembers(handles);
}

void PdfImportConverter::DocumentCloseGroup()
{
    if (m_document) m_document->CloseGroup();
}

void PdfImportConverter::DocumentFilterCurveElements(const std::vector<void*>& handles, std::vector<void*>& curves)
{
    if (m_document) m_document->FilterCurveElements(handles, curves);
}
