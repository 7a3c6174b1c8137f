// Path building of the import converter: every straight segment becomes a line element, every
// cubic curve a run of twelve lines, four curves that draw a full circle one circle element.
// Filled paths are drawn as their outlines (grouped with the setting modeFillDraw).
#include "PdfImportConverter.h"

#include <cmath>

namespace {

const double kPointTolerance = 1e-6;
const double kCircleTolerance = 0.001;

}  // namespace

// Paths take the stroking colour (RG, G, K, SC, SCN) and texts the non-stroking one; when no
// stroking colour was ever set, paths take the non-stroking colour. The document's colour is
// only borrowed for the time of one path operation.
class PathColourScope
{
public:
    PathColourScope(PdfImportConverter& converter, int strokingColour, bool useStroking)
        : m_converter(converter), m_previous(-1)
    {
        const int chosen = useStroking ? strokingColour : converter.DocumentColour();
        if (chosen < 0) return;
        m_previous = converter.DocumentColour();
        m_active = true;
        converter.DocumentSetColour(chosen);
    }
    ~PathColourScope()
    {
        if (m_active && m_previous >= 0) m_converter.DocumentSetColour(m_previous);
    }

private:
    PdfImportConverter& m_converter;
    int m_previous;
    bool m_active = false;
};

void PdfImportConverter::OpMoveTo(const PdfOperandStack& op)
{
    op.GetPoint(0, m_currentX, m_currentY);
    m_subpathX = m_currentX;
    m_subpathY = m_currentY;
}

void PdfImportConverter::OpLineTo(const PdfOperandStack& op)
{
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    double x, y;
    op.GetPoint(0, x, y);
    LineTo(x, y);
}

void PdfImportConverter::OpClosePath()
{
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    LineTo(m_subpathX, m_subpathY);
}

void PdfImportConverter::OpRectangle(const PdfOperandStack& op)
{
    double x, y, w, h;
    if (!op.Number(0, x) || !op.Number(1, y) || !op.Number(2, w) || !op.Number(3, h)) return;
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    m_currentX = x;
    m_currentY = y;
    LineTo(x + w, y);
    LineTo(x + w, y + h);
    LineTo(x, y + h);
    LineTo(x, y);
}

void PdfImportConverter::OpCurveTo(const PdfOperandStack& op)
{
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    double x1, y1, x2, y2, x3, y3;
    op.GetPoint(0, x1, y1);
    op.GetPoint(1, x2, y2);
    op.GetPoint(2, x3, y3);
    AppendBezierPath(x1, y1, x2, y2, x3, y3);
}

// "v": the first control point is the current point.
void PdfImportConverter::OpCurveToV(const PdfOperandStack& op)
{
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    double x2, y2, x3, y3;
    op.GetPoint(0, x2, y2);
    op.GetPoint(1, x3, y3);
    AppendBezierPath(m_currentX, m_currentY, x2, y2, x3, y3);
}

// "y": the second control point is the end point.
void PdfImportConverter::OpCurveToY(const PdfOperandStack& op)
{
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    double x1, y1, x3, y3;
    op.GetPoint(0, x1, y1);
    op.GetPoint(1, x3, y3);
    AppendBezierPath(x1, y1, x3, y3, x3, y3);
}

void PdfImportConverter::LineTo(double x, double y)
{
    if (std::fabs(x - m_currentX) < kPointTolerance && std::fabs(y - m_currentY) < kPointTolerance) return;
    AppendSegment(m_currentX, m_currentY, x, y);
    m_currentX = x;
    m_currentY = y;
}

void PdfImportConverter::AppendSegment(double ax, double ay, double bx, double by)
{
    double x1, y1, x2, y2;
    ToDrawingPoint(ax, ay, x1, y1);
    ToDrawingPoint(bx, by, x2, y2);
    OutputLine(x1, y1, x2, y2);
}

void PdfImportConverter::AppendBezierPath(double x1, double y1, double x2, double y2, double x3, double y3)
{
    double xs[13], ys[13];
    SampleBezier(m_currentX, m_currentY, x1, y1, x2, y2, x3, y3, xs, ys);
    for (int i = 0; i < 12; ++i) AppendSegment(xs[i], ys[i], xs[i + 1], ys[i + 1]);
    m_currentX = xs[12];
    m_currentY = ys[12];
}

int PdfImportConverter::TryCircle(const std::vector<PdfOperandStack>& operations, size_t& position)
{
    if (position + 1 >= operations.size()) return 0;
    if (position + 4 > operations.size()) return 0;
    double p[4][3][2];
    for (size_t i = 0; i < 4; ++i) {
        const PdfOperandStack& op = operations[position + i];
        if (op.code != PdfOperator::CurveTo) return 0;
        for (size_t j = 0; j < 3; ++j) op.GetPoint(j, p[i][j][0], p[i][j][1]);
    }
    double cx = 0, cy = 0;
    for (int i = 0; i < 4; ++i) {
        cx += p[i][2][0] / 4;
        cy += p[i][2][1] / 4;
    }
    double rx = std::fabs(cx - p[3][2][0]), ry = std::fabs(cy - p[3][2][1]);
    for (int i = 0; i < 4; ++i)
        if (std::fabs(cx - p[i][2][0]) > kCircleTolerance) { rx = std::fabs(cx - p[i][2][0]); break; }
    for (int i = 0; i < 4; ++i)
        if (std::fabs(cy - p[i][2][1]) >= kCircleTolerance) { ry = std::fabs(cy - p[i][2][1]); break; }
    if (!(std::fabs(rx - ry) < kCircleTolerance)) return 0;
    const double r = rx, k = 0.552 * r;
    // From the leftmost point through the top, curve by curve: p1; p2; p3.
    const double expected[4][3][2] = {
        {{cx - r, cy + k}, {cx - k, cy + r}, {cx, cy + r}},
        {{cx + k, cy + r}, {cx + r, cy + k}, {cx + r, cy}},
        {{cx + r, cy - k}, {cx + k, cy - r}, {cx, cy - r}},
        {{cx - k, cy - r}, {cx - r, cy - k}, {cx - r, cy}},
    };
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 3; ++j)
            if (!(std::fabs(p[i][j][0] - expected[i][j][0]) < kCircleTolerance) ||
                !(std::fabs(p[i][j][1] - expected[i][j][1]) < kCircleTolerance))
                return 0;
    PathColourScope colour(*this, m_strokingColour, m_useStrokingColour);
    AppendCircleAt(r, cx, cy);
    position += 3;
    return 1;
}

void PdfImportConverter::AppendCircleAt(double r, double cx, double cy)
{
    double x, y, ex, ey;
    ToDrawingPoint(cx, cy, x, y);
    ToDrawingPoint(cx + r, cy, ex, ey);
    OutputCircle(x, y, std::sqrt((ex - x) * (ex - x) + (ey - y) * (ey - y)));
}

void PdfImportConverter::FillPendingPath(bool stroke)
{
    const bool useStroking = m_useStrokingColour;
    m_useStrokingColour = false;  // the outline takes the fill colour
    DocumentOpenGroup();
    ExecutePendingOperations();
    std::vector<void*> members;
    if (stroke) DocumentCollectGroupMembers(members);
    DocumentCloseGroup();
    m_useStrokingColour = useStroking;
    if (!members.empty()) {
        std::vector<void*> curves;
        DocumentFilterCurveElements(members, curves);
        CopyWithStrokeColour(curves);
    }
}
