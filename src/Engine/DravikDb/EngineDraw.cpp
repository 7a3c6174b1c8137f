// Drawing of a database into a window or device context with GDI, as a DrawParamBlock says:
// world window and scale, page and layer masks and filters, XOR, colour override, frames and
// the last-point marker.
#include "EngineCalls.h"
#include "EngineGeometry.h"
#include "EngineMark.h"
#include "EngineSettings.h"
#include "FigureReferences.h"
#include "StrokeFont.h"
#include "TextLayout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>
#include <vector>
#include "MemoryProbe.h"

using namespace dravikdb;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCurveSegments = 72;
constexpr int kMaxRecursion = 16;
constexpr double kMaxPixel = 1.0e7;   // GDI coordinates beyond this are cut back

template <typename T>
T Overlay(const ElementRecord& record)
{
    T value;
    std::memcpy(&value, &record, sizeof value);
    return value;
}

// True when a packed DIB of `size` bytes holds its colour table and every pixel row its header
// promises: an image read from a file may claim more than it carries.
bool PixelsFit(const BITMAPINFOHEADER& header, SIZE_T size)
{
    const uint64_t width = header.biWidth > 0 ? static_cast<uint64_t>(header.biWidth) : 0;
    const uint64_t height = header.biHeight < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(header.biHeight))
                                                : static_cast<uint64_t>(header.biHeight);
    if (width == 0 || height == 0 || width > (1u << 24) || height > (1u << 24)) return false;
    const unsigned bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    uint64_t colours = header.biClrUsed != 0 ? header.biClrUsed : (bits <= 8 ? (1u << bits) : 0);
    if (header.biCompression == BI_BITFIELDS) colours = 3;
    const uint64_t offset = static_cast<uint64_t>(header.biSize) + colours * sizeof(RGBQUAD);
    uint64_t pixels = 0;
    if (header.biCompression == BI_RGB || header.biCompression == BI_BITFIELDS) {
        pixels = (width * bits + 31) / 32 * 4 * height;
    } else if (header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4) {
        pixels = header.biSizeImage;
        if (pixels == 0) return false;
    } else {
        return false;
    }
    return offset <= size && pixels <= size - offset;
}

struct Transform2 {
    // world -> world, applied before the view transform (figure group instances)
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    void Apply(double& x, double& y) const
    {
        double nx = a * x + b * y + tx;
        double ny = c * x + d * y + ty;
        x = nx;
        y = ny;
    }
    bool IsIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0; }
    double Scale() const { return std::sqrt(std::fabs(a * d - b * c)); }
    double Rotation() const { return std::atan2(c, a); }
};

class Painter {
public:
    Painter(Database& db, const DrawParamBlock& block, HDC dc) : db_(db), block_(block), dc_(dc)
    {
        info_ = db.info.get();
        pixelsPerMm_ = block.drawingScale > 0.0 ? block.scale / block.drawingScale
                                                : (info_->record.scale > 0.0 ? block.scale / info_->record.scale : block.scale);
        if (!std::isfinite(pixelsPerMm_) || pixelsPerMm_ <= 0.0) pixelsPerMm_ = 1.0;
        previousRop_ = SetROP2(dc_, block.xorDraw ? R2_XORPEN : R2_COPYPEN);
        previousBk_ = SetBkMode(dc_, TRANSPARENT);
        world_ = {std::min(block.worldLeft, block.worldRight), std::max(block.worldTop, block.worldBottom),
                  std::max(block.worldLeft, block.worldRight), std::min(block.worldTop, block.worldBottom)};
        hasWorld_ = world_.right > world_.left && world_.top > world_.bottom;
        // XOR pens are taken against the background, so a drawn element shows in its colour and
        // a second draw erases it. Colour 0 holds the background when the block names none.
        const ColourRecord& c = info_->colours[0];
        background_ = block.backgroundRgb != 0 ? static_cast<COLORREF>(block.backgroundRgb) & 0xFFFFFF
                                               : RGB(c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF);
    }

    ~Painter()
    {
        text_.Restore(dc_);
        if (penSelected_) SelectObject(dc_, originalPen_);
        SetROP2(dc_, previousRop_);
        SetBkMode(dc_, previousBk_);
        for (auto& entry : pens_) DeleteObject(entry.second);
    }

    void DrawDatabase()
    {
        for (auto& entry : db_.chain) DrawTop(*entry.second);
    }

    void DrawTop(Element& element)
    {
        if (!Visible(element.node.record)) return;
        if (hasWorld_) {
            SearchBox box{};
            if (ElementExtents(element, box, extents_) &&
                (box.right < world_.left || box.left > world_.right || box.top < world_.bottom || box.bottom > world_.top)) {
                return;
            }
        }
        DrawElement(element, Transform2{}, HighlightOf(element), 0);
    }

    void DrawRecord(const ElementRecord& record)
    {
        if (!Visible(record)) return;
        DrawGeometry(record, nullptr, Transform2{}, -1);
    }

    void DrawFrames()
    {
        if (block_.paperFrame) {
            DrawBox(block_.paperLeft, block_.paperTop, block_.paperRight, block_.paperBottom, block_.paperFrameColour);
        }
        if (block_.marginFrame) {
            DrawBox(block_.marginLeft, block_.marginTop, block_.marginRight, block_.marginBottom,
                    block_.marginFrameColour);
        }
    }

    void DrawMarker()
    {
        if (!block_.lastPointMarker) return;
        POINT p = ToPixel(block_.markerX, block_.markerY);
        HPEN pen = CreatePen(PS_SOLID, 1, ColourRef(1));
        HGDIOBJ old = SelectObject(dc_, pen);
        MoveToEx(dc_, p.x - 6, p.y, nullptr);
        LineTo(dc_, p.x + 7, p.y);
        MoveToEx(dc_, p.x, p.y - 6, nullptr);
        LineTo(dc_, p.x, p.y + 7);
        SelectObject(dc_, old);
        DeleteObject(pen);
    }

private:
    bool Visible(const ElementRecord& record) const
    {
        int page = record.page, layer = record.layer;
        if (!IsValidPageNumber(page) || !IsValidLayer(layer)) return false;
        if (block_.filterPageLayer && page != block_.filterPage) return false;
        if (block_.filterByLayer && layer != block_.filterLayer) return false;
        if (db_.record != nullptr && ((db_.record->pageState.displayMask[page / 32] >> (page % 32)) & 1) == 0) {
            return false;
        }
        return IsLayerDisplayed(db_, page, layer);
    }

    int HighlightOf(const Element& element) const
    {
        if ((element.node.flags & kNodeHighlighted) == 0) return -1;
        int colour = element.node.highlightColour;
        if (colour > 257) colour -= 257;
        if (colour < 1 || colour > 256) colour = Settings().highlightColour;
        return colour;
    }

    COLORREF ColourRef(int index) const
    {
        if (block_.colourOverride) index = block_.overrideColour;
        if (index < 0 || index >= kColourCount) index = 1;
        const ColourRecord& c = info_->colours[index];
        COLORREF colour = RGB(c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF);
        if (block_.xorDraw) colour ^= background_;
        return colour;
    }

    POINT ToPixel(double x, double y) const
    {
        double px = block_.centreX + block_.scale * (x + block_.offsetX);
        double py = block_.centreY - block_.scale * (y + block_.offsetY);
        px = std::clamp(std::isfinite(px) ? px : 0.0, -kMaxPixel, kMaxPixel);
        py = std::clamp(std::isfinite(py) ? py : 0.0, -kMaxPixel, kMaxPixel);
        return {static_cast<LONG>(std::lround(px)), static_cast<LONG>(std::lround(py))};
    }

    // ToPixel for a point known to be finite and far inside the pixel limit, where its checks
    // change nothing.
    POINT ToPixelInRange(double x, double y) const
    {
        const double px = block_.centreX + block_.scale * (x + block_.offsetX);
        const double py = block_.centreY - block_.scale * (y + block_.offsetY);
        return {static_cast<LONG>(std::lround(px)), static_cast<LONG>(std::lround(py))};
    }

    // Whether every point of a curve about (cx, cy) reaching at most `reach` from it maps to a
    // pixel far inside the limit, with a margin for the steps' rounding.
    bool CurveInRange(double cx, double cy, double reach) const
    {
        const double r = std::fabs(reach) * 1.001 + 1.0;
        const double bounds[4] = {block_.centreX + block_.scale * (cx - r + block_.offsetX),
                                  block_.centreX + block_.scale * (cx + r + block_.offsetX),
                                  block_.centreY - block_.scale * (cy - r + block_.offsetY),
                                  block_.centreY - block_.scale * (cy + r + block_.offsetY)};
        for (double b : bounds) {
            if (!std::isfinite(b) || std::fabs(b) > kMaxPixel / 2) return false;
        }
        return true;
    }

    // The pen of an element's colour, width and line type. A drawing has few distinct pens:
    // they are made once per paint and kept until the painter ends, instead of once per element.
    HPEN PenFor(const ElementRecord& record, int colourIndex)
    {
        const int64_t key = (static_cast<int64_t>(static_cast<uint32_t>(colourIndex)) << 32) | (static_cast<int64_t>(record.lineWidth) << 8) |
                            static_cast<int64_t>(record.lineType);
        // Neighbouring elements mostly share their pen.
        if (lastPen_ != nullptr && key == lastPenKey_) return lastPen_;
        auto found = pens_.find(key);
        HPEN pen = nullptr;
        if (found != pens_.end()) {
            pen = found->second;
        } else {
            pen = MakePen(record, colourIndex);
            if (pen != nullptr) pens_.emplace(key, pen);
        }
        if (pen != nullptr) lastPenKey_ = key, lastPen_ = pen;
        return pen;
    }

    // Selects a kept pen and leaves it selected for the elements after it: a pen is selected
    // again only when it changes, and the device context gets its own pen back when the painter
    // ends (before the kept pens are deleted).
    void UsePen(HPEN pen)
    {
        if (pen == nullptr || pen == selectedPen_) return;
        HGDIOBJ previous = SelectObject(dc_, pen);
        if (previous == nullptr) return;
        if (!penSelected_) originalPen_ = previous, penSelected_ = true;
        selectedPen_ = pen;
    }

    HPEN MakePen(const ElementRecord& record, int colourIndex) const
    {
        COLORREF colour = ColourRef(colourIndex);
        int width = 1;
        int widthIndex = record.lineWidth;
        if (record.type != kElementText && widthIndex < kLineWidthCount && block_.lineWidthSize != 0) {
            width = std::max(1, static_cast<int>(std::lround(info_->lineWidthsMm[widthIndex] * pixelsPerMm_)));
        }
        int typeIndex = record.type == kElementText ? 0 : record.lineType;
        if (typeIndex > 0 && typeIndex < kLineTypeCount) {
            const LineTypeRecord& lt = info_->lineTypes[typeIndex];
            int n = std::clamp(lt.dashCount, 0, 16);
            if (n >= 2) {
                DWORD dashes[16];
                for (int i = 0; i < n; ++i) {
                    double px = lt.dashMm[i] * pixelsPerMm_;
                    dashes[i] = static_cast<DWORD>(std::clamp(std::isfinite(px) ? px : 1.0, 1.0, 10000.0));
                }
                LOGBRUSH brush = {BS_SOLID, colour, 0};
                HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT, width, &brush, n, dashes);
                if (pen != nullptr) return pen;
            }
        }
        return CreatePen(PS_SOLID, width, colour);
    }

    // `inRange`: the points are known finite and far inside the pixel limit when untransformed.
    void Polyline(const std::vector<std::pair<double, double>>& points, const Transform2& t, bool inRange = false)
    {
        std::vector<POINT>& pixels = pixels_;  // one buffer for the whole paint
        pixels.clear();
        // Elements outside figure groups are drawn untransformed; applying the identity would
        // change nothing but a point with a coordinate that is not finite.
        const bool identity = t.IsIdentity();
        if (identity && inRange) {
            for (auto p : points) pixels.push_back(ToPixelInRange(p.first, p.second));
            if (pixels.size() >= 2) ::Polyline(dc_, pixels.data(), static_cast<int>(pixels.size()));
            return;
        }
        for (auto p : points) {
            double x = p.first, y = p.second;
            if (!identity || !std::isfinite(x) || !std::isfinite(y)) t.Apply(x, y);
            pixels.push_back(ToPixel(x, y));
        }
        if (pixels.size() >= 2) ::Polyline(dc_, pixels.data(), static_cast<int>(pixels.size()));
    }

    void ArcPoints(double cx, double cy, double major, double minor, double rotation, double start, double sweep,
                   std::vector<std::pair<double, double>>& out) const
    {
        // The points follow each other by one turn of a fixed step, so a curve costs a few
        // cosines and sines rather than two per point; the last point is taken exactly.
        const double cr = std::cos(rotation), sr = std::sin(rotation);
        const double step = sweep / kCurveSegments;
        const double cs = std::cos(step), ss = std::sin(step);
        double c = std::cos(start), s = std::sin(start);
        // Circles and arcs are not turned; the turn by 0 would leave every finite point as it is.
        const bool turned = rotation != 0.0 || !std::isfinite(major) || !std::isfinite(minor);
        for (int i = 0; i <= kCurveSegments; ++i) {
            if (i == kCurveSegments) c = std::cos(start + sweep), s = std::sin(start + sweep);
            const double ex = major * c, ey = minor * s;
            if (turned) out.emplace_back(cx + ex * cr - ey * sr, cy + ex * sr + ey * cr);
            else out.emplace_back(cx + ex, cy + ey);
            const double next = c * cs - s * ss;
            s = s * cs + c * ss;
            c = next;
        }
    }

    static double Sweep(double start, double end)
    {
        double sweep = std::fmod(end - start, 2.0 * kPi);
        if (sweep <= 0.0) sweep += 2.0 * kPi;
        return sweep;
    }

    void DrawText(const ElementRecord& record, const Element* element, const Transform2& t, int colourIndex)
    {
        // A text inside a figure reference is placed as the reference places it: position,
        // rotation and the lengths follow the transform.
        ElementRecord placed = record;
        auto text = Overlay<TextRecord>(record);
        t.Apply(text.x, text.y);
        text.angle += t.Rotation();
        text.height *= t.Scale();
        text.spacing *= t.Scale();
        const size_t blockFace = strnlen(block_.faceName, sizeof block_.faceName);
        if (blockFace > 0 && blockFace < sizeof text.font && !IsVectorFontName(text.font)) {
            // The block's face stands in for the texts' TrueType faces (measured with it too); a
            // face too long for a text's font field is not used rather than cut to another name.
            std::memset(text.font, 0, sizeof text.font);
            std::memcpy(text.font, block_.faceName, blockFace);
        }
        std::memcpy(&placed, &text, sizeof placed);
        TextLayout layout;
        bool laidOut = element != nullptr ? LayOutText(placed, element->text.data(), element->text.size(), layout)
                                          : LayOutCallerText(placed, layout);
        if (!laidOut) return;
        PaintText(dc_, layout, block_.scale, ColourRef(colourIndex), [this](double x, double y) { return ToPixel(x, y); },
                  &text_);
    }

    void DrawImage(const ElementRecord& record, const Transform2& t)
    {
        auto image = Overlay<ImageRecord>(record);
        if (image.dib == nullptr) return;
        SIZE_T size = GlobalSize(image.dib);
        auto* bytes = static_cast<const uint8_t*>(size >= sizeof(BITMAPINFOHEADER) ? GlobalLock(image.dib) : nullptr);
        if (bytes == nullptr) return;
        auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
        size_t colours = header->biClrUsed != 0 ? header->biClrUsed : (header->biBitCount <= 8 ? (1u << header->biBitCount) : 0);
        if (header->biCompression == BI_BITFIELDS) colours = 3;
        size_t offset = header->biSize + colours * sizeof(RGBQUAD);
        if (header->biSize >= sizeof(BITMAPINFOHEADER) && offset < size && header->biWidth > 0 && header->biHeight != 0 &&
            PixelsFit(*header, size)) {
            double x1 = image.x1, y1 = image.y1, x2 = image.x2, y2 = image.y2;
            t.Apply(x1, y1);
            t.Apply(x2, y2);
            POINT a = ToPixel(std::min(x1, x2), std::max(y1, y2));
            POINT b = ToPixel(std::max(x1, x2), std::min(y1, y2));
            StretchDIBits(dc_, a.x, a.y, b.x - a.x, b.y - a.y, 0, 0, header->biWidth, std::abs(header->biHeight),
                          bytes + offset, reinterpret_cast<const BITMAPINFO*>(bytes), DIB_RGB_COLORS, SRCCOPY);
        }
        GlobalUnlock(image.dib);
    }

    void DrawBox(double left, double top, double right, double bottom, int colourIndex)
    {
        HPEN pen = CreatePen(PS_SOLID, 1, ColourRef(colourIndex));
        HGDIOBJ old = SelectObject(dc_, pen);
        Polyline({{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}}, Transform2{});
        SelectObject(dc_, old);
        DeleteObject(pen);
    }

    void DrawGeometry(const ElementRecord& record, const Element* element, const Transform2& t, int highlight)
    {
        int colourIndex = highlight >= 0 ? highlight : record.colour;
        if (record.type == kElementText) {
            DrawText(record, element, t, colourIndex);
            return;
        }
        if (record.type == kElementImage) {
            DrawImage(record, t);
            return;
        }
        UsePen(PenFor(record, colourIndex));
        std::vector<std::pair<double, double>>& points = points_;  // one buffer for the whole paint
        points.clear();
        bool inRange = false;
        switch (record.type) {
        case kElementLine: {
            auto r = Overlay<LineRecord>(record);
            points = {{r.x1, r.y1}, {r.x2, r.y2}};
            break;
        }
        case kElementPoint: {
            auto r = Overlay<PointRecord>(record);
            double x = r.x, y = r.y;
            t.Apply(x, y);
            POINT p = ToPixel(x, y);
            int size = block_.pointSize ? 3 : 1;
            MoveToEx(dc_, p.x - size, p.y, nullptr);
            LineTo(dc_, p.x + size + 1, p.y);
            MoveToEx(dc_, p.x, p.y - size, nullptr);
            LineTo(dc_, p.x, p.y + size + 1);
            break;
        }
        case kElementCircle: {
            auto r = Overlay<CircleRecord>(record);
            ArcPoints(r.cx, r.cy, r.radius, r.radius, 0.0, 0.0, 2.0 * kPi, points);
            inRange = CurveInRange(r.cx, r.cy, r.radius);
            break;
        }
        case kElementArc: {
            auto r = Overlay<ArcRecord>(record);
            double start = r.clockwise ? r.endAngle : r.startAngle;
            double end = r.clockwise ? r.startAngle : r.endAngle;
            ArcPoints(r.cx, r.cy, r.radius, r.radius, 0.0, start, Sweep(start, end), points);
            inRange = std::isfinite(start) && std::isfinite(end) && CurveInRange(r.cx, r.cy, r.radius);
            break;
        }
        case kElementEllipse: {
            auto r = Overlay<EllipseRecord>(record);
            double major = std::hypot(r.ax - r.cx, r.ay - r.cy);
            ArcPoints(r.cx, r.cy, major, major * r.ratio, std::atan2(r.ay - r.cy, r.ax - r.cx), 0.0, 2.0 * kPi, points);
            break;
        }
        case kElementEllipticArc: {
            auto r = Overlay<EllipticArcRecord>(record);
            double major = std::hypot(r.ax - r.cx, r.ay - r.cy);
            double start = r.swapped == 1 ? r.endAngle : r.startAngle;
            double end = r.swapped == 1 ? r.startAngle : r.endAngle;
            ArcPoints(r.cx, r.cy, major, major * r.ratio, std::atan2(r.ay - r.cy, r.ax - r.cx), start,
                      Sweep(start, end), points);
            break;
        }
        case kElementViewport: {
            auto r = Overlay<ViewportRecord>(record);
            points = {{r.x1, r.y1}, {r.x2, r.y1}, {r.x2, r.y2}, {r.x1, r.y2}, {r.x1, r.y1}};
            break;
        }
        case kElementRaster: {
            auto r = Overlay<RasterRecord>(record);
            double hw = r.width / 2.0, hh = r.height / 2.0, c = std::cos(r.angle), s = std::sin(r.angle);
            const double corners[5][2] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}, {-hw, -hh}};
            for (auto& k : corners) points.emplace_back(r.cx + k[0] * c - k[1] * s, r.cy + k[0] * s + k[1] * c);
            break;
        }
        default:
            break;
        }
        Polyline(points, t, inRange);
    }

    void DrawElement(const Element& element, const Transform2& t, int highlight, int depth)
    {
        if (depth > kMaxRecursion) return;
        const ElementRecord& record = element.node.record;
        if (element.type() == kElementFigureReference) {
            const Element* header = ReferencedHeader(element);
            // A header already being drawn further up would draw itself again without end.
            if (header == nullptr || std::find(open_.begin(), open_.end(), header) != open_.end()) return;
            auto ref = Overlay<FigureReferenceRecord>(record);
            auto h = Overlay<FigureHeaderRecord>(header->node.record);
            double sx = ref.scaleX != 0.0 ? ref.scaleX : 1.0, sy = ref.scaleY != 0.0 ? ref.scaleY : sx;
            double c = std::cos(ref.angle), s = std::sin(ref.angle);
            Transform2 local;
            local.a = c * sx, local.b = -s * sy, local.c = s * sx, local.d = c * sy;
            local.tx = ref.x - (local.a * h.originX + local.b * h.originY);
            local.ty = ref.y - (local.c * h.originX + local.d * h.originY);
            Transform2 combined;
            combined.a = t.a * local.a + t.b * local.c;
            combined.b = t.a * local.b + t.b * local.d;
            combined.c = t.c * local.a + t.d * local.c;
            combined.d = t.c * local.b + t.d * local.d;
            combined.tx = t.a * local.tx + t.b * local.ty + t.tx;
            combined.ty = t.c * local.tx + t.d * local.ty + t.ty;
            if (hasWorld_ && OutsideWorld(*header, combined)) return;
            open_.push_back(header);
            for (const Element* member : header->members) DrawElement(*member, combined, highlight, depth + 1);
            open_.pop_back();
            return;
        }
        if (!element.members.empty()) {
            for (const Element* member : element.members) DrawElement(*member, t, highlight, depth + 1);
            return;
        }
        DrawGeometry(record, &element, t, highlight);
    }

    // Whether an instance drawn with `t` lies wholly outside the world window: its members
    // need not be visited at all.
    bool OutsideWorld(const Element& header, const Transform2& t)
    {
        SearchBox local{};
        if (!HeaderExtents(header, local, extents_)) return true;
        SearchBox box{};
        bool any = false;
        for (double x : {local.left, local.right}) {
            for (double y : {local.bottom, local.top}) {
                double wx = x, wy = y;
                t.Apply(wx, wy);
                if (!any) box = {wx, wy, wx, wy};
                box.left = std::min(box.left, wx), box.right = std::max(box.right, wx);
                box.top = std::max(box.top, wy), box.bottom = std::min(box.bottom, wy);
                any = true;
            }
        }
        return box.right < world_.left || box.left > world_.right || box.top < world_.bottom || box.bottom > world_.top;
    }

    Database& db_;
    const DrawParamBlock& block_;
    HDC dc_;
    DbInfoBlock* info_ = nullptr;
    double pixelsPerMm_ = 1.0;
    int previousRop_ = R2_COPYPEN;
    int previousBk_ = OPAQUE;
    SearchBox world_{};
    bool hasWorld_ = false;
    COLORREF background_ = 0;
    ExtentCache extents_;
    std::vector<const Element*> open_;   // headers of the instances being drawn, outermost first
    std::unordered_map<int64_t, HPEN> pens_;
    int64_t lastPenKey_ = 0;
    HPEN lastPen_ = nullptr;
    HPEN selectedPen_ = nullptr;     // the kept pen left selected, if any
    HGDIOBJ originalPen_ = nullptr;  // the device context's pen before the first kept one
    bool penSelected_ = false;
    TextDcState text_;  // what the texts of this paint left selected
    std::vector<POINT> pixels_;
    std::vector<std::pair<double, double>> points_;
};

bool ReadBlock(void* block, DrawParamBlock& out)
{
    if (block == nullptr || IsBadReadMemory(block, sizeof out)) return false;
    std::memcpy(&out, block, sizeof out);
    return std::isfinite(out.scale) && out.scale > 0.0 && std::isfinite(out.offsetX) && std::isfinite(out.offsetY);
}

// The target a drawing surface gives: the block's own device context or window when it names
// one, else the surface's drawing DC or window; the surface's client rectangle clips. False for a
// surface that cannot be read or that asks for Direct2D, which this engine does not draw with.
bool ApplySurface(const void* surface, DrawParamBlock& block, RECT& clip)
{
    if (surface == nullptr) return true;
    if (IsBadReadMemory(surface, sizeof(DrawSurfaceRecord))) return false;
    DrawSurfaceRecord s;
    std::memcpy(&s, surface, sizeof s);
    if (s.mode == kSurfaceDirect2D) return false;
    const bool blockTarget = (block.outputKind == 2 && block.dc != nullptr) || (block.outputKind == 1 && IsWindow(block.window));
    if (!blockTarget) {
        if (s.drawDc != nullptr) {
            block.outputKind = 2;
            block.dc = s.drawDc;
        } else if (IsWindow(s.window)) {
            block.outputKind = 1;
            block.window = s.window;
        }
    }
    if (s.client.right > s.client.left && s.client.bottom > s.client.top) clip = s.client;
    return true;
}

// Runs the painter on the block's device context or window, within `clip` when it is not empty.
template <typename F>
int WithDc(const DrawParamBlock& block, F paint, const RECT& clip = RECT{})
{
    HDC dc = nullptr;
    bool release = false;
    if (block.outputKind == 2) {
        dc = block.dc;
    } else if (block.outputKind == 1 && IsWindow(block.window)) {
        dc = GetDC(block.window);
        release = true;
    }
    if (dc == nullptr) return 0;
    int saved = SaveDC(dc);
    if (clip.right > clip.left && clip.bottom > clip.top) IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    paint(dc);
    RestoreDC(dc, saved);
    if (release) ReleaseDC(block.window, dc);
    return 1;
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriDrawPre(void* db, void* block)
{
    // Nothing is kept between the preparation and the draw: the block is checked here so that a
    // caller learns of a block the draw would refuse.
    Database* d = Resolve(db);
    DrawParamBlock b;
    return d != nullptr && ReadBlock(block, b) ? 1 : 0;
}

DRAVIKDB_API int WINAPI ZUriDrawAll(void* db, void* block, void* surface)
{
    Database* d = Resolve(db);
    DrawParamBlock b;
    RECT clip{};
    if (d == nullptr || !ReadBlock(block, b) || !ApplySurface(surface, b, clip)) return 0;
    return Guarded(0, [&] {
        return WithDc(
            b,
            [&](HDC dc) {
                Painter painter(*d, b, dc);
                painter.DrawFrames();
                painter.DrawDatabase();
                painter.DrawMarker();
            },
            clip);
    });
}

DRAVIKDB_API int WINAPI ZUriDraw(void* db, void* block)
{
    Database* d = Resolve(db);
    DrawParamBlock b;
    if (d == nullptr || !ReadBlock(block, b)) return 0;
    return Guarded(0, [&] {
        return WithDc(b, [&](HDC dc) {
            Painter painter(*d, b, dc);
            switch (b.drawKind) {
            case 0:
                painter.DrawFrames();
                painter.DrawDatabase();
                painter.DrawMarker();
                break;
            case 1: {
                Element* e = FindElement(b.drawElement, d);
                if (e != nullptr) {
                    painter.DrawTop(*e);
                } else if (b.drawElement != nullptr && !IsBadReadMemory(b.drawElement, sizeof(ElementRecord))) {
                    ElementRecord record;
                    std::memcpy(&record, b.drawElement, sizeof record);
                    painter.DrawRecord(record);
                }
                break;
            }
            case 2: {
                Mark* mark = FindMark(b.drawMark);
                if (mark == nullptr || mark->db != d) break;
                for (Element* e = MarkNext(*mark, nullptr); e != nullptr; e = MarkNext(*mark, e)) painter.DrawTop(*e);
                break;
            }
            case 3:
            case 4: {
                int count = std::clamp(b.drawCount, 0, 1000000);
                if (b.drawKind == 3) {
                    auto* records = static_cast<const ElementRecord*>(b.drawArray);
                    if (records == nullptr || IsBadReadMemory(records, count * sizeof(ElementRecord))) break;
                    for (int i = 0; i < count; ++i) painter.DrawRecord(records[i]);
                } else {
                    auto* pointers = static_cast<void* const*>(b.drawArray2);
                    if (pointers == nullptr || IsBadReadMemory(pointers, count * sizeof(void*))) break;
                    for (int i = 0; i < count; ++i) {
                        if (Element* e = FindElement(pointers[i], d)) painter.DrawTop(*e);
                    }
                }
                painter.DrawMarker();
                break;
            }
            default:
                break;
            }
        });
    });
}

DRAVIKDB_API int WINAPI QmGetDrawElementsAll(void* db, void* list)
{
    Database* d = Resolve(db);
    if (d == nullptr || list == nullptr || IsBadWriteMemory(list, sizeof(DrawElementList))) return 0;
    auto* out = static_cast<DrawElementList*>(list);
    int capacity = out->capacity;
    if (capacity > 0 && (out->handles == nullptr ||
                         IsBadWriteMemory(out->handles, static_cast<UINT_PTR>(capacity) * sizeof(void*)))) {
        return 0;
    }
    int count = 0;
    for (auto& entry : d->chain) {
        if (count < capacity) out->handles[count] = entry.second->handle();
        ++count;
    }
    out->count = count;
    return count <= capacity ? 1 : 0;
}
