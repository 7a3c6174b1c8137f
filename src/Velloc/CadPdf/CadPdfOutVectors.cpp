// Lines, curves, composite lines and the line attributes every element writer applies first.
#include "CadPdf/CadPdfOut.h"

#include <cmath>
#include <cstring>

#include "CadPdf/ElementOverlay.h"
#include "CadPdf/LineEndGeometry.h"
#include "CadPdf/PdfOutSettings.h"
#include "DravikDb.h"
#include "GeoShapes.h"
#include "GeometryRoutines.h"
#include "QmCadDocument.h"
#include "NumericFormat.h"

namespace {

constexpr double kTiny = 1e-8;
constexpr double kPi = 3.14159265358979323846;
constexpr unsigned kLibraryDashLimit = 8;  // libharu keeps at most 8 lengths

double Degrees(double radians) { return radians * 180.0 / kPi; }

}  // namespace

// ---- Attributes -------------------------------------------------------------------------------

int CadPdfOut::IsLayerHidden(ElementRecord* record)
{
    if (Database() == nullptr) return 0;
    const DbInfoBlock* info = InfoOfPage(m_document->page);
    if (info == nullptr) return 0;
    const int layer = record->layer;
    if (layer >= kLayerCount) return 0;
    const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
    if (m_settings.hideOffLayers != 0 && (info->layers.displayMask[layer / 16] & bit) == 0) return -1;
    if ((info->layers.lockMask[layer / 16] & bit) != 0)
        record->colour = static_cast<uint16_t>(m_settings.lockLayerColor);
    return 0;
}

int CadPdfOut::SetElementStyle(ElementRecord* record)
{
    SelectLayerGroup(record->layer);
    if (IsLayerHidden(record) == -1) return -1;
    SetDash(record->lineType);
    const std::vector<double>& widths = m_settings.widths;
    const double width = record->lineWidth < widths.size() ? widths[record->lineWidth] : 0.0;
    m_pdf.Call(HPDF_Page_SetLineWidth, m_page, MmToPoint(width));
    SetColor(record->colour, false);
    return 0;
}

void CadPdfOut::PrepareDashPatterns()
{
    m_dashes.clear();
    if (m_document == nullptr) return;
    for (int n = 0; n < kLineTypeCount; ++n) {
        std::vector<double> millimetres;
        PdfDashEntry entry;
        if (m_document->GetLinetypeDashes(millimetres, n, entry.name) != 0) break;
        for (double mm : millimetres) {
            double points = RoundToStep(static_cast<float>(mm * 72.0 / 25.4), 1, kTiny);
            if (!(points >= kTiny)) points = 1;
            if (points > 100) points = 100;
            entry.lengths.push_back(static_cast<uint16_t>(points));
        }
        if (entry.lengths.size() > 1 && entry.lengths.size() % 2 != 0) {
            entry.lengths.front() = static_cast<uint16_t>(entry.lengths.front() + entry.lengths.back());
            entry.lengths.pop_back();
        }
        m_dashes.push_back(std::move(entry));
    }
}

void CadPdfOut::SetDash(int lineType)
{
    if (lineType < 0 || lineType >= static_cast<int>(m_dashes.size()) || m_dashes[lineType].lengths.empty()) {
        m_pdf.Call(HPDF_Page_SetDash, m_page, static_cast<const HPDF_UINT16*>(nullptr), 0u, 0u);
        return;
    }
    const std::vector<uint16_t>& lengths = m_dashes[lineType].lengths;
    if (lengths.size() <= kLibraryDashLimit) {
        m_pdf.Call(HPDF_Page_SetDash, m_page, lengths.data(), static_cast<HPDF_UINT>(lengths.size()), 0u);
        return;
    }
    // libharu's dash state holds eight lengths and does not check the count: a longer pattern
    // goes into the content stream as it is.
    std::string op = "[";
    for (size_t i = 0; i < lengths.size(); ++i) {
        if (i > 0) op += ' ';
        op += std::to_string(lengths[i]);
    }
    op += "] 0 d\n";
    m_pdf.WriteRaw(m_page, op.c_str());
}

void CadPdfOut::SetColor(int colourNumber, bool fill)
{
    int red = 255, green = 255, blue = 255;
    if (colourNumber >= 0) {
        red = green = blue = 0;  // a number outside the table is black
        m_settings.GetColor(colourNumber, &red, &green, &blue);
    }
    if (red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 || blue > 255) return;
    if (fill)
        m_pdf.Call(HPDF_Page_SetRGBFill, m_page, red / 255.0f, green / 255.0f, blue / 255.0f);
    else
        m_pdf.Call(HPDF_Page_SetRGBStroke, m_page, red / 255.0f, green / 255.0f, blue / 255.0f);
}

// ---- Painters -----------------------------------------------------------------------------------

template <typename BuildPath>
int CadPdfOut::PaintPath(BuildPath build, bool setFillColour)
{
    BeginMarkedContent();
    // Colours cannot be set inside a path: the fill colour goes first.
    if (m_fillState.fill && setFillColour) SetColor(m_fillState.colour, true);
    if (!build()) {
        EndMarkedContent();
        return -1;
    }
    m_pdf.Call(m_fillState.fill ? HPDF_Page_FillStroke : HPDF_Page_Stroke, m_page);
    EndMarkedContent();
    return 0;
}

int CadPdfOut::DrawLine(double x1, double y1, double x2, double y2)
{
    return PaintPath(
        [&] {
            if (std::fabs(x2 - x1) < kTiny && std::fabs(y2 - y1) < kTiny) return false;
            if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
            m_pdf.Call(HPDF_Page_MoveTo, m_page, PageX(x1), PageY(y1));
            m_pdf.Call(HPDF_Page_LineTo, m_page, PageX(x2), PageY(y2));
            return true;
        },
        false);
}

int CadPdfOut::DrawCircle(double x, double y, double radius)
{
    return PaintPath(
        [&] {
            if (!(std::fabs(radius) >= kTiny) || !std::isfinite(radius)) return false;
            m_pdf.Call(HPDF_Page_Circle, m_page, PageX(x), PageY(y), MmToPoint(std::fabs(radius)));
            return true;
        },
        true);
}

int CadPdfOut::DrawArc(double x, double y, double radius, double startDegrees, double sweepDegrees)
{
    return PaintPath(
        [&] {
            if (!(std::fabs(radius) >= kTiny) || !std::isfinite(radius)) return false;
            if (!std::isfinite(startDegrees) || !std::isfinite(sweepDegrees)) return false;
            // libharu measures clockwise from the y axis.
            double f = 450.0 - startDegrees;
            while (f > 360.0 && std::fabs(f - 360.0) > kTiny) f -= 360.0;
            const float g = static_cast<float>(f);
            const float h = static_cast<float>(sweepDegrees + g);
            const float r = MmToPoint(std::fabs(radius));
            if (std::fabs(g - h) < kTiny || g > h || std::fabs(h - g - 360.0f) < kTiny || h - g > 360.0f)
                m_pdf.Call(HPDF_Page_Circle, m_page, PageX(x), PageY(y), r);
            else
                m_pdf.Call(HPDF_Page_Arc, m_page, PageX(x), PageY(y), r, static_cast<float>(f), h);
            return true;
        },
        true);
}

void CadPdfOut::AddPolylinePath(const std::vector<MarkPoint>& points)
{
    m_pdf.Call(HPDF_Page_MoveTo, m_page, PageX(points[0].x), PageY(points[0].y));
    for (size_t i = 1; i < points.size(); ++i) {
        if (std::fabs(points[i].x - points[i - 1].x) < kTiny && std::fabs(points[i].y - points[i - 1].y) < kTiny)
            continue;
        m_pdf.Call(HPDF_Page_LineTo, m_page, PageX(points[i].x), PageY(points[i].y));
    }
}

int CadPdfOut::DrawPolyline(const std::vector<MarkPoint>& points)
{
    return PaintPath(
        [&] {
            if (points.empty()) return false;
            for (const MarkPoint& p : points)
                if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
            AddPolylinePath(points);
            return true;
        },
        true);
}

int CadPdfOut::DrawEllipse(double x, double y, double radiusA, double radiusB, double rotationDegrees,
                           double startDegrees, double endDegrees)
{
    return PaintPath(
        [&] {
            if (!(std::fabs(radiusA) >= kTiny) || !(std::fabs(radiusB) >= kTiny)) return false;
            if (!std::isfinite(radiusA) || !std::isfinite(radiusB) || !std::isfinite(rotationDegrees)) return false;
            GeoEllipseArc arc;
            arc.centre = GeoVector(x, y, 0);
            arc.radiusA = radiusA;
            arc.radiusB = radiusB;
            arc.rotationDegrees = rotationDegrees;
            arc.startDegrees = startDegrees;
            arc.endDegrees = endDegrees;
            arc.clockwise = 0;
            std::vector<GeoVector> sampled;
            arc.ToPolyline(sampled);
            if (sampled.empty()) return false;
            std::vector<MarkPoint> points;
            points.reserve(sampled.size());
            for (const GeoVector& p : sampled) points.push_back({p.x, p.y});
            AddPolylinePath(points);
            return true;
        },
        true);
}

int CadPdfOut::DrawEllipticArc(const ElementRecord* record, double scale)
{
    const EllipticArcRecord arc = ElementOverlay<EllipticArcRecord>(record);
    return PaintPath(
        [&] {
            const double vx = arc.ax - arc.cx;
            const double vy = arc.ay - arc.cy;
            const double length = std::hypot(vx, vy);
            if (!(length * scale >= kTiny) || !(std::fabs(length * scale * arc.ratio) >= kTiny)) return false;
            // Angles are brought into one turn first, so a huge or infinite angle can neither
            // make the sampling endless nor draw garbage.
            if (!std::isfinite(arc.startAngle) || !std::isfinite(arc.endAngle) || !std::isfinite(arc.ratio))
                return false;
            const double cx = arc.cx * scale, cy = arc.cy * scale;
            const double ax = arc.ax * scale, ay = arc.ay * scale;
            const double start = NormalizeAngle(arc.startAngle);
            double end = NormalizeAngle(arc.endAngle);
            const bool clockwise = arc.swapped != 0;
            std::vector<MarkPoint> points;
            EllipticArcRecord scaled = arc;
            scaled.cx = cx, scaled.cy = cy, scaled.ax = ax, scaled.ay = ay;
            auto add = [&](double t) {
                const GeoVector p = GetEllipsePointAt(&scaled, GeoVector(std::cos(t), std::sin(t)));
                points.push_back({p.x, p.y});
            };
            double t = start;
            if (!clockwise) {
                if (start > end - kTiny) end += 2 * kPi;
                for (; t <= end; t += 0.01) add(t);
            } else {
                if (start < end + kTiny) end -= 2 * kPi;
                for (; t >= end; t -= 0.01) add(t);
            }
            if (std::fabs(t - end) >= kTiny) add(end);
            AddPolylinePath(points);
            return true;
        },
        true);
}

// ---- Element operations -----------------------------------------------------------------------

void CadPdfOut::DrawLineEnds(ExportElement element, const ElementRecord* record)
{
    if (record->lineEndStart != 0) DrawLineEnd(element, record, 0);
    if (record->lineEndEnd != 0) DrawLineEnd(element, record, 1);
}

int CadPdfOut::ExportLine(ExportElement element, const ElementRecord* record)
{
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    const LineRecord line = ElementOverlay<LineRecord>(record);
    const double s = m_scale;
    const int result = DrawLine(line.x1 * s, line.y1 * s, line.x2 * s, line.y2 * s);
    DrawLineEnds(element, record);
    return result;
}

int CadPdfOut::ExportCircle(ExportElement, const ElementRecord* record)
{
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    const CircleRecord circle = ElementOverlay<CircleRecord>(record);
    const double s = m_scale;
    return DrawCircle(circle.cx * s, circle.cy * s, circle.radius * s);
}

int CadPdfOut::ExportArc(ExportElement element, const ElementRecord* record)
{
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    const ArcRecord arc = ElementOverlay<ArcRecord>(record);
    const double s = m_scale;
    const double a1 = Degrees(NormalizeAngle(arc.startAngle));
    const double a2 = Degrees(NormalizeAngle(arc.endAngle));
    const bool clockwise = arc.clockwise == 1;
    const double x = clockwise ? a1 : a2;
    const double y = clockwise ? a2 : a1;
    const double sweep = x > y ? x - y : x - y + 360.0;
    const int result = DrawArc(arc.cx * s, arc.cy * s, arc.radius * s, x, sweep);
    DrawLineEnds(element, record);
    return result;
}

int CadPdfOut::ExportEllipse(ExportElement, const ElementRecord* record)
{
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    const EllipseRecord ellipse = ElementOverlay<EllipseRecord>(record);
    const double s = m_scale;
    const GeoVector axis(ellipse.ax - ellipse.cx, ellipse.ay - ellipse.cy, 0);
    const double a = std::hypot(axis.x, axis.y) * s;
    const double b = a * ellipse.ratio;
    return DrawEllipse(ellipse.cx * s, ellipse.cy * s, a, b, Degrees(axis.Angle()), 0, 360);
}

int CadPdfOut::ExportEllipticArc(ExportElement element, const ElementRecord* record)
{
    ElementRecord styled = *record;
    if (SetElementStyle(&styled) == -1) return 0;
    const int result = DrawEllipticArc(record, m_scale);
    DrawLineEnds(element, record);
    return result;
}

int CadPdfOut::ExportComposite900(ExportElement element, const ElementRecord*)
{
    void* db = Database();
    if (db == nullptr) return 0;
    int result = 0;
    ElementRecord member{};
    for (void* m = ZUriReadNextMember2(element, nullptr); m != nullptr; m = ZUriReadNextMember2(element, m)) {
        if (ZUriReadElement(m, 0, &member, db) == nullptr || member.type != kElementLine) continue;
        if (SetElementStyle(&member) == -1) continue;
        const LineRecord line = ElementOverlay<LineRecord>(&member);
        const double s = m_scale;
        if (DrawLine(line.x1 * s, line.y1 * s, line.x2 * s, line.y2 * s) == -1) result = -1;
    }
    return result;
}

int CadPdfOut::ExportComposite9(ExportElement element, const ElementRecord* record)
{
    return ExportComposite900(element, record);
}
