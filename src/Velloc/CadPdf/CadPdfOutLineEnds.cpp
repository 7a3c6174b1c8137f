// Line-end marks of lines, arcs and elliptic arcs, drawn in the element's layer, colour and width.
#include "CadPdf/CadPdfOut.h"

#include <cmath>
#include <cstring>

#include "CadPdf/ElementOverlay.h"
#include "CadPdf/LineEndGeometry.h"
#include "CadPdf/PdfOutSettings.h"
#include "DravikDb.h"
#include "GeometryRoutines.h"
#include "QmCadDocument.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// End point and outward direction of an element's end; false when it cannot be computed.
bool EndOfElement(const ElementRecord* record, int end, MarkPoint* p, double* phi)
{
    switch (record->type) {
    case kElementLine: {
        const LineRecord line = ElementOverlay<LineRecord>(record);
        LineEndOfSegment(line.x1, line.y1, line.x2, line.y2, end, p, phi);
        return std::isfinite(p->x) && std::isfinite(p->y);
    }
    case kElementArc: {
        const ArcRecord arc = ElementOverlay<ArcRecord>(record);
        const double start = NormalizeAngle(arc.startAngle);
        const double finish = NormalizeAngle(arc.endAngle);
        double startPoint[3] = {};
        double endPoint[3] = {};
        if (VyCAL2PAR(arc.cx, arc.cy, 0.0, arc.radius, start, finish, startPoint, endPoint) != 1) return false;
        const bool clockwise = arc.clockwise == 1;
        *p = end == 0 ? MarkPoint{startPoint[0], startPoint[1]} : MarkPoint{endPoint[0], endPoint[1]};
        *phi = ArcEndDirection(end == 0 ? start : finish, end, clockwise);
        return true;
    }
    case kElementEllipticArc: {
        const EllipticArcRecord arc = ElementOverlay<EllipticArcRecord>(record);
        if (!std::isfinite(arc.startAngle) || !std::isfinite(arc.endAngle)) return false;
        return LineEndOfEllipticArc(arc.cx, arc.cy, arc.ax, arc.ay, arc.ratio, NormalizeAngle(arc.startAngle),
                                    NormalizeAngle(arc.endAngle), arc.swapped != 0, end, p, phi);
    }
    default:
        return false;
    }
}

}  // namespace

int CadPdfOut::DrawLineEnd(ExportElement, const ElementRecord* record, int end)
{
    if (m_document == nullptr || Database() == nullptr) return -1;
    const DbInfoBlock* info = InfoOfPage(CurrentPage());
    if (info == nullptr) return -1;
    const double drawingScale = info->record.scale;
    if (!(drawingScale > 0) || !std::isfinite(drawingScale)) return -1;

    const int kind = end == 0 ? record->lineEndStart : record->lineEndEnd;
    double factor = end == 0 ? record->lineEndSizeStart : record->lineEndSizeEnd;
    if (!(factor > 1e-8) || !std::isfinite(factor)) factor = 1.0;
    const LineEndShapeTable table = BuildLineEndShapeTable(m_settings.lineTerms, factor / drawingScale);

    MarkPoint p;
    double phi = 0;
    if (!EndOfElement(record, end, &p, &phi)) return -1;
    const std::vector<LineEndMarkPart> parts = MakeLineEndMark(kind, table, p, phi, end);
    if (parts.empty()) return 0;

    // The mark takes the element's layer and attributes, drawn solid and without marks itself.
    ElementRecord mark;
    std::memset(&mark, 0, sizeof mark);
    mark.layer = record->layer;
    mark.page = record->page;
    std::memcpy(reinterpret_cast<uint8_t*>(&mark) + 11, reinterpret_cast<const uint8_t*>(record) + 11, 22);
    mark.lineType = 0;
    mark.lineEndStart = 0;
    mark.lineEndEnd = 0;

    const double s = m_scale;
    int result = 0;
    for (const LineEndMarkPart& part : parts) {
        ElementRecord styled = mark;
        if (SetElementStyle(&styled) == -1) return 0;
        m_savedFillStates.push_back(m_fillState);
        // Filled marks take the colour their outline is drawn in (a locked layer's colour too).
        m_fillState.fill = part.filled;
        m_fillState.colour = part.filled ? styled.colour : -1;
        int drawn = 0;
        switch (part.kind) {
        case LineEndMarkPart::Polyline: {
            std::vector<MarkPoint> points = part.points;
            for (MarkPoint& point : points) point = {point.x * s, point.y * s};
            drawn = DrawPolyline(points);
            break;
        }
        case LineEndMarkPart::Line:
            // A segment mark is a line of its own: stroked, never filled.
            m_fillState.fill = false;
            drawn = DrawLine(part.points[0].x * s, part.points[0].y * s, part.points[1].x * s, part.points[1].y * s);
            break;
        case LineEndMarkPart::Circle:
            drawn = DrawCircle(part.centre.x * s, part.centre.y * s, part.radius * s);
            break;
        case LineEndMarkPart::Arc: {
            const double a1 = part.startAngle * 180.0 / kPi;
            const double a2 = part.endAngle * 180.0 / kPi;
            const double sweep = a2 > a1 ? a2 - a1 : a2 - a1 + 360.0;
            m_fillState.fill = false;
            drawn = DrawArc(part.centre.x * s, part.centre.y * s, part.radius * s, a2, sweep);
            break;
        }
        }
        m_fillState = m_savedFillStates.back();
        m_savedFillStates.pop_back();
        if (drawn == -1) result = -1;
    }
    return result;
}
