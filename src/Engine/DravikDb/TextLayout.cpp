// Text layout: the box of a text from its font, height, width ratio, spacing and writing
// direction, its basis point and rotation; TrueType advances are measured through GDI.
//
// Horizontal text: the characters follow each other with the spacing between them; a
// double-byte character of a vector font is height x ratio wide, a single-byte one half that;
// a TrueType character is as wide as the face makes it at that height, times the ratio. The box
// is as high as a character. Vertical text: one character under the other, each a character
// height tall with the spacing between them, in a column height x ratio wide.
#include "TextLayout.h"

#include "EngineDatabase.h"
#include "StrokeFont.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace dravikdb {

namespace {

constexpr double kMaxLength = 1.0e12;  // lengths beyond this are refused as nonsense
constexpr int kReferenceHeight = 1000; // cell height at which TrueType advances are measured

template <typename T>
T Overlay(const ElementRecord& record)
{
    T value;
    std::memcpy(&value, &record, sizeof value);
    return value;
}

bool Finite(double v)
{
    return std::isfinite(v) && std::fabs(v) <= kMaxLength;
}

// Characters that turn with the column in vertical writing (the long vowel mark and dashes).
bool TurnsInColumn(uint16_t code)
{
    return code == 0x815B || code == 0x815C || code == 0x815D || code == 0x817C || code == 0x8160;
}

// Advances of TrueType faces, measured once per character at the reference height.
class TrueTypeMetrics {
public:
    ~TrueTypeMetrics()
    {
        for (auto& entry : faces_) DeleteObject(entry.second->font);
        if (dc_ != nullptr) DeleteDC(dc_);
    }

    double Advance(const char* face, uint16_t code, bool doubleByte)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Face* f = FindFace(face);
        if (f == nullptr) return doubleByte ? 1.0 : 0.5;
        if (!doubleByte) {
            double& cached = f->single[code & 0xFF];
            if (cached < 0) cached = Measure(*f, code, false);
            return cached;
        }
        auto it = f->dbcs.find(code);
        if (it != f->dbcs.end()) return it->second;
        const double advance = Measure(*f, code, true);
        f->dbcs.emplace(code, advance);
        return advance;
    }

private:
    struct Face {
        HFONT font = nullptr;
        double single[256];
        std::unordered_map<uint16_t, double> dbcs;
    };

    Face* FindFace(const char* name)
    {
        // Texts come face by face: the last face is found without building a key.
        if (last_ != nullptr && lastName_ == name) return last_;
        auto it = faces_.find(name);
        if (it != faces_.end()) {
            lastName_ = name;
            return last_ = it->second.get();
        }
        if (dc_ == nullptr) dc_ = CreateCompatibleDC(nullptr);
        if (dc_ == nullptr) return nullptr;
        LOGFONTA font{};
        font.lfHeight = kReferenceHeight;
        font.lfCharSet = SHIFTJIS_CHARSET;
        std::memcpy(font.lfFaceName, name, strnlen(name, LF_FACESIZE - 1));
        auto face = std::make_unique<Face>();
        face->font = CreateFontIndirectA(&font);
        if (face->font == nullptr) return nullptr;
        std::fill(std::begin(face->single), std::end(face->single), -1.0);
        Face* result = face.get();
        faces_.emplace(name, std::move(face));
        lastName_ = name;
        return last_ = result;
    }

    double Measure(Face& face, uint16_t code, bool doubleByte)
    {
        char bytes[2] = {static_cast<char>(doubleByte ? code >> 8 : code), static_cast<char>(code & 0xFF)};
        HGDIOBJ old = SelectObject(dc_, face.font);
        SIZE size{};
        BOOL ok = GetTextExtentPoint32A(dc_, doubleByte ? bytes : bytes + 1, doubleByte ? 2 : 1, &size);
        SelectObject(dc_, old);
        if (!ok || size.cx <= 0) return doubleByte ? 1.0 : 0.5;
        return static_cast<double>(size.cx) / kReferenceHeight;
    }

    std::mutex mutex_;
    HDC dc_ = nullptr;
    std::unordered_map<std::string, std::unique_ptr<Face>> faces_;
    std::string lastName_;
    Face* last_ = nullptr;
};

TrueTypeMetrics& Metrics()
{
    static TrueTypeMetrics metrics;
    return metrics;
}

void PlaceBasis(TextLayout& out, int basis)
{
    const double W = out.width, H = out.boxHeight, w = out.charWidth, h = out.height;
    double bx = 0, by = 0;
    if (basis >= 1 && basis <= 9) {
        const int column = (basis - 1) / 3;  // 0 left, 1 centre, 2 right
        const int row = (basis - 1) % 3;     // 0 top, 1 middle, 2 bottom
        bx = W * column / 2.0;
        by = H * (2 - row) / 2.0;
    } else if (basis == 10) {  // the middle of the first character
        if (out.vertical) bx = W / 2, by = H - h / 2;
        else bx = w / 2, by = H / 2;
    } else if (basis == 11) {  // the middle of the last character
        if (out.vertical) bx = W / 2, by = h / 2;
        else bx = W - w / 2, by = H / 2;
    } else if (out.vertical) {
        by = H;  // the top of the column
    }
    out.basisX = bx;
    out.basisY = by;
}

}  // namespace

TextPoint TextLayout::ToWorld(double localX, double localY) const
{
    const double c = cosAngle, s = sinAngle;
    const double dx = localX - basisX, dy = localY - basisY;
    return {x + c * dx - s * dy, y + s * dx + c * dy};
}

double TrueTypeAdvance(const char* face, uint16_t code, bool doubleByte)
{
    return Metrics().Advance(face, code, doubleByte);
}

bool LayOutText(const ElementRecord& record, const char* text, size_t length, TextLayout& out)
{
    if (record.type != kElementText) return false;
    auto t = Overlay<TextRecord>(record);
    if (!Finite(t.height) || t.height <= 0 || !Finite(t.widthRatio) || t.widthRatio <= 0 || !Finite(t.angle) ||
        !Finite(t.spacing) || !Finite(t.x) || !Finite(t.y)) {
        return false;
    }
    const size_t faceLength = strnlen(t.font, sizeof t.font);
    if (faceLength == sizeof t.font) return false;
    TextLayout layout;
    layout.vertical = (t.flags & kTextVertical) != 0;
    layout.vectorFont = IsVectorFontName(t.font);
    const char* face = t.font[0] == '@' ? t.font + 1 : t.font;
    std::memcpy(layout.face, face, strnlen(face, sizeof layout.face - 1));
    layout.height = t.height;
    layout.ratio = t.widthRatio;
    layout.charWidth = t.height * t.widthRatio;
    layout.spacing = t.spacing;
    layout.angle = t.angle;
    layout.cosAngle = std::cos(t.angle);
    layout.sinAngle = std::sin(t.angle);
    layout.x = t.x;
    layout.y = t.y;
    if (text != nullptr) layout.text.assign(text, length);
    layout.cells.reserve(layout.text.size());

    const double h = layout.height, w = layout.charWidth, c = layout.spacing;
    double run = 0;  // along the writing direction
    for (size_t at = 0; at < layout.text.size();) {
        TextCell cell{};
        cell.offset = static_cast<uint32_t>(at);
        const auto first = static_cast<unsigned char>(layout.text[at]);
        const bool doubleByte = IsLeadByte(first) && at + 1 < layout.text.size();
        cell.bytes = doubleByte ? 2 : 1;
        cell.code = doubleByte ? static_cast<uint16_t>(first << 8 | static_cast<unsigned char>(layout.text[at + 1]))
                               : first;
        at += cell.bytes;
        double glyphWidth = doubleByte ? w : w / 2;
        if (!layout.vectorFont) glyphWidth = TrueTypeAdvance(layout.face, cell.code, doubleByte) * h * layout.ratio;
        if (layout.vertical) {
            cell.width = std::min(glyphWidth, w);
            cell.height = h;
            cell.left = (w - cell.width) / 2;
            cell.bottom = -run - h;  // shifted up by the column height below
            run += h + c;
        } else {
            cell.width = glyphWidth;
            cell.height = h;
            cell.left = run;
            cell.bottom = 0;
            run += glyphWidth + c;
        }
        layout.cells.push_back(cell);
    }
    const double length_ = layout.cells.empty() ? 0.0 : std::max(0.0, run - c);
    if (layout.vertical) {
        layout.width = w;
        layout.boxHeight = length_;
        for (TextCell& cell : layout.cells) cell.bottom += length_;
    } else {
        layout.width = length_;
        layout.boxHeight = h;
    }
    PlaceBasis(layout, t.header[13]);
    out = std::move(layout);
    return true;
}

bool LayOutCallerText(const ElementRecord& record, TextLayout& out)
{
    auto t = Overlay<TextRecord>(record);
    const size_t length = SafeTextLength(t.text, kMaxElementText);
    return LayOutText(record, length != 0 ? t.text : nullptr, length, out);
}

void TextOutline(const TextLayout& layout, TextPoint corners[4])
{
    corners[0] = layout.ToWorld(0, 0);
    corners[1] = layout.ToWorld(layout.width, 0);
    corners[2] = layout.ToWorld(layout.width, layout.boxHeight);
    corners[3] = layout.ToWorld(0, layout.boxHeight);
}

void VectorTextStrokes(const TextLayout& layout, std::vector<TextSegment>& out)
{
    for (const TextCell& cell : layout.cells) {
        const Glyph* glyph = FindGlyph(cell.code, cell.bytes == 2);
        const bool turn = layout.vertical && TurnsInColumn(cell.code);
        for (const auto& stroke : glyph->strokes) {
            TextPoint previous{};
            for (size_t i = 0; i < stroke.size(); ++i) {
                double gx = stroke[i].x, gy = stroke[i].y;
                if (turn) {
                    const double swap = gx;
                    gx = gy;
                    gy = 1.0 - swap;
                }
                TextPoint p = layout.ToWorld(cell.left + gx * cell.width, cell.bottom + gy * cell.height);
                if (i > 0) out.push_back({previous.x, previous.y, p.x, p.y});
                previous = p;
            }
        }
    }
}

namespace {

// A drawing's texts use few faces, heights and angles: their fonts are kept from one text (and
// one paint) to the next instead of being made and deleted for every text. A paint may leave the
// font it used last selected, but that one is the cache's most recent and eviction takes the
// oldest, so an evicted font is never selected and can be deleted at once. The caller holds the
// cache's lock for as long as it uses the font.
class PaintFontCache {
public:
    // The fonts go with the cache when the engine is unloaded, not with the process.
    ~PaintFontCache()
    {
        for (const Entry& e : entries_) DeleteObject(e.font);
    }

    std::mutex& Lock() { return mutex_; }

    // The font of the description, its width set from the face's natural average width for a
    // width ratio other than 1.
    HFONT Get(HDC dc, LOGFONTA font, double ratio)
    {
        if (std::fabs(ratio - 1.0) > 1e-9) {
            // The width ratio narrows or widens the glyphs through the face's average width.
            font.lfWidth = 0;
            const Entry& natural = Find(dc, font);
            font.lfWidth = std::max<LONG>(1, static_cast<LONG>(std::lround(natural.averageWidth * ratio)));
        }
        return Find(dc, font).font;
    }

private:
    struct Entry {
        LOGFONTA key;
        HFONT font;
        LONG averageWidth;
    };
    static constexpr size_t kCapacity = 64;

    const Entry& Find(HDC dc, const LOGFONTA& key)
    {
        for (size_t i = 0; i < entries_.size(); ++i) {
            if (std::memcmp(&entries_[i].key, &key, sizeof key) == 0) {
                if (i != 0) std::swap(entries_[i], entries_[0]);  // recent ones are found first
                return entries_[0];
            }
        }
        if (entries_.size() >= kCapacity) {
            DeleteObject(entries_.back().font);
            entries_.pop_back();
        }
        Entry e{key, CreateFontIndirectA(&key), 0};
        if (key.lfWidth == 0 && e.font != nullptr) {
            HGDIOBJ old = SelectObject(dc, e.font);
            TEXTMETRICA metrics{};
            if (GetTextMetricsA(dc, &metrics)) e.averageWidth = metrics.tmAveCharWidth;
            SelectObject(dc, old);
        }
        entries_.insert(entries_.begin(), e);
        return entries_[0];
    }

    std::mutex mutex_;
    std::vector<Entry> entries_;
};

PaintFontCache& PaintFonts()
{
    static PaintFontCache cache;
    return cache;
}

}  // namespace

void TextDcState::Restore(HDC dc)
{
    if (!saved) return;
    SelectObject(dc, ownFont);
    SetTextColor(dc, ownColour);
    SetTextAlign(dc, ownAlign);
    *this = TextDcState{};
}

void PaintTrueTypeText(HDC dc, const TextLayout& layout, double pixelsPerUnit, COLORREF colour,
                       const std::vector<POINT>& cellCorners, TextDcState* state)
{
    const double cellPixels = layout.height * pixelsPerUnit;
    if (!std::isfinite(cellPixels) || cellPixels < 1.0 || layout.cells.empty()) return;
    LOGFONTA font{};
    font.lfHeight = static_cast<LONG>(std::lround(std::min(cellPixels, 10000.0)));
    font.lfCharSet = SHIFTJIS_CHARSET;
    std::memcpy(font.lfFaceName, layout.face, sizeof font.lfFaceName);
    const LONG escapement = static_cast<LONG>(std::lround(layout.angle * 1800.0 / 3.14159265358979323846)) % 3600;
    font.lfEscapement = font.lfOrientation = escapement;
    PaintFontCache& fonts = PaintFonts();
    std::lock_guard<std::mutex> lock(fonts.Lock());
    HFONT handle = fonts.Get(dc, font, layout.ratio);
    HGDIOBJ old = nullptr;
    COLORREF oldColour = 0;
    UINT oldAlign = 0;
    if (state == nullptr) {
        old = SelectObject(dc, handle);
        oldColour = SetTextColor(dc, colour);
        oldAlign = SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    } else {
        // The font left selected is the cache's most recent one, so the cache never deletes it
        // while it is selected: it evicts from the other end.
        if (!state->saved) {
            state->ownFont = GetCurrentObject(dc, OBJ_FONT);
            state->ownColour = GetTextColor(dc);
            state->ownAlign = GetTextAlign(dc);
            state->saved = true;
        }
        if (handle != state->font) SelectObject(dc, handle), state->font = handle;
        if (colour != state->colour) SetTextColor(dc, colour), state->colour = colour;
        if (!state->aligned) SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP), state->aligned = true;
    }
    // Cells that follow one another on one row are drawn with one call, each character placed
    // at its own cell by the advances; other texts cell by cell.
    const size_t count = std::min(layout.cells.size(), cellCorners.size());
    bool oneRow = escapement == 0 && count > 1;
    for (size_t i = 1; oneRow && i < count; ++i) {
        const TextCell& previous = layout.cells[i - 1];
        oneRow = cellCorners[i].y == cellCorners[0].y && cellCorners[i].x >= cellCorners[i - 1].x &&
                 layout.cells[i].offset == previous.offset + previous.bytes;
    }
    if (oneRow) {
        const TextCell& first = layout.cells[0];
        const TextCell& last = layout.cells[count - 1];
        const size_t bytes = last.offset + last.bytes - first.offset;
        std::vector<INT> advances(bytes, 0);  // a trail byte's own advance is 0
        size_t at = 0;
        for (size_t i = 0; i < count; ++i) {
            advances[at] = i + 1 < count ? cellCorners[i + 1].x - cellCorners[i].x : 0;
            at += layout.cells[i].bytes;
        }
        ExtTextOutA(dc, cellCorners[0].x, cellCorners[0].y, 0, nullptr, layout.text.data() + first.offset,
                    static_cast<UINT>(bytes), advances.data());
    } else {
        for (size_t i = 0; i < count; ++i) {
            const TextCell& cell = layout.cells[i];
            ExtTextOutA(dc, cellCorners[i].x, cellCorners[i].y, 0, nullptr, layout.text.data() + cell.offset,
                        cell.bytes, nullptr);
        }
    }
    if (state != nullptr) return;
    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldColour);
    SelectObject(dc, old);
}

}  // namespace dravikdb
