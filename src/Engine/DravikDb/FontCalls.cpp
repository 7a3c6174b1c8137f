// Fonts and the dictionary function: the text fonts the engine offers are the system's font
// families, the vector fonts are the engine's own stroke font. The dictionary function measures,
// outlines and strokes texts; codes it has no meaning for answer 0 and write nothing.
#include "EngineCalls.h"
#include "StrokeFont.h"
#include "TextLayout.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>
#include "MemoryProbe.h"

using namespace dravikdb;

namespace {

int CALLBACK CollectFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param)
{
    auto* names = reinterpret_cast<std::vector<std::string>*>(param);
    std::string name(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
    // Vertical faces ("@...") belong to their horizontal family.
    if (!name.empty() && name[0] != '@') names->push_back(name);
    return 1;
}

// The system's font families, sorted and without repeats.
std::vector<std::string> TextFonts()
{
    std::vector<std::string> names;
    HDC dc = GetDC(nullptr);
    if (dc == nullptr) return names;
    LOGFONTA query{};
    query.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &query, CollectFamily, reinterpret_cast<LPARAM>(&names), 0);
    ReleaseDC(nullptr, dc);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

// The block of a request, copied in; false when it cannot be read and written.
bool ReadBlock(void* block, DicParamBlock& out)
{
    if (block == nullptr || IsBadWriteMemory(block, sizeof out)) return false;
    std::memcpy(&out, block, sizeof out);
    return true;
}

// The text record a request points to, laid out.
bool LayOutRequestText(const void* record, TextLayout& layout)
{
    ElementRecord copy;
    return ReadRecord(record, copy) && LayOutCallerText(copy, layout);
}

int MeasureText(void* block)
{
    DicParamBlock b;
    TextLayout layout;
    if (!ReadBlock(block, b) || !LayOutRequestText(b.pointer334, layout)) return 0;
    WriteAt(block, offsetof(DicParamBlock, real294), layout.width);
    WriteAt(block, offsetof(DicParamBlock, real302), layout.boxHeight);
    return 1;
}

int OutlineText(void* block)
{
    DicParamBlock b;
    if (!ReadBlock(block, b)) return 0;
    auto* outline = static_cast<TextOutlineCorner*>(b.pointer338);
    if (outline == nullptr || IsBadWriteMemory(outline, 4 * sizeof(TextOutlineCorner))) return 0;
    TextLayout layout;
    if (!LayOutRequestText(b.pointer334, layout)) return 0;
    TextPoint corners[4];
    TextOutline(layout, corners);
    for (int i = 0; i < 4; ++i) {
        // Only x and y: the rest of each corner belongs to the caller.
        std::memcpy(&outline[i].x, &corners[i].x, sizeof(double));
        std::memcpy(&outline[i].y, &corners[i].y, sizeof(double));
    }
    return 1;
}

int ListVectorFont(void* block)
{
    DicParamBlock b;
    if (!ReadBlock(block, b)) return 0;
    const int kind = b.arg8 == 3 ? kFontKindVectorSingle : b.arg8 == 4 ? kFontKindVectorDouble : -1;
    const char* name = kind > 0 ? dravikdb::VectorFontName(kind, b.arg12) : nullptr;
    auto* out = static_cast<char*>(b.pointer334);
    if (name == nullptr || out == nullptr || IsBadWriteMemory(out, kDicFontNameSize)) return 0;
    CopyBoundedText(out, kDicFontNameSize, name);
    return 1;
}

// The strokes of one text between phase 0 and phase 10; the handle the caller keeps is its
// address, checked against the live ones before use.
struct StrokeRequest {
    std::vector<TextSegment> segments;
};

std::unordered_set<StrokeRequest*>& LiveStrokeRequests()
{
    static std::unordered_set<StrokeRequest*> live;
    return live;
}

std::mutex& StrokeRequestsLock()
{
    static std::mutex lock;
    return lock;
}

int StrokeText(void* block)
{
    DicParamBlock b;
    if (!ReadBlock(block, b)) return 0;
    std::lock_guard<std::mutex> hold(StrokeRequestsLock());
    auto& live = LiveStrokeRequests();
    auto* request = static_cast<StrokeRequest*>(b.pointer338);
    switch (b.arg8) {
    case kStrokePhaseStart: {
        TextLayout layout;
        if (!LayOutRequestText(b.pointer334, layout) || !layout.vectorFont) return 0;
        auto fresh = std::make_unique<StrokeRequest>();
        VectorTextStrokes(layout, fresh->segments);
        live.insert(fresh.get());
        WriteAt(block, offsetof(DicParamBlock, pointer338), static_cast<void*>(fresh.release()));
        WriteAt(block, offsetof(DicParamBlock, arg12), int32_t{0});
        return 1;
    }
    case kStrokePhaseNext: {
        if (live.count(request) == 0) return 0;
        if (b.arg12 < 0 || static_cast<size_t>(b.arg12) >= request->segments.size()) return 0;
        const TextSegment& s = request->segments[static_cast<size_t>(b.arg12)];
        WriteAt(block, offsetof(DicParamBlock, real294), s.x1);
        WriteAt(block, offsetof(DicParamBlock, real302), s.y1);
        WriteAt(block, offsetof(DicParamBlock, real310), s.x2);
        WriteAt(block, offsetof(DicParamBlock, real318), s.y2);
        return 1;
    }
    case kStrokePhaseEnd:
        if (live.erase(request) == 0) return 0;
        delete request;
        WriteAt(block, offsetof(DicParamBlock, pointer338), static_cast<void*>(nullptr));
        return 1;
    default:
        return 0;
    }
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriDicFunction(int code, void* block)
{
    return Guarded(0, [&] {
        switch (code) {
        case kDicTextExtent:
            return MeasureText(block);
        case kDicTextOutline:
            return OutlineText(block);
        case kDicFontName:
            return ListVectorFont(block);
        case kDicTextStrokes:
            return StrokeText(block);
        default:
            // The dictionaries behind the other codes (user characters, external dictionaries)
            // are not part of this engine.
            return 0;
        }
    });
}

DRAVIKDB_API int WINAPI ZUriGetFontNum(int kind)
{
    if (kind == kFontKindVectorSingle || kind == kFontKindVectorDouble) return VectorFontCount(kind);
    if (kind != kFontKindText) return 0;
    return Guarded(0, [] { return static_cast<int>(TextFonts().size()); });
}

// Copies the name of text font `index` (at most LF_FACESIZE bytes with the terminator); 1 when
// there is such a font.
DRAVIKDB_API int WINAPI ZUriGetFontNm(int kind, int index, char* out)
{
    if (out == nullptr) return 0;
    out[0] = '\0';
    if (kind == kFontKindVectorSingle || kind == kFontKindVectorDouble) {
        const char* name = VectorFontName(kind, index);
        if (name == nullptr) return 0;
        CopyBoundedText(out, LF_FACESIZE, name);
        return 1;
    }
    if (kind != kFontKindText || index < 0) return 0;
    return Guarded(0, [&] {
        std::vector<std::string> names = TextFonts();
        if (index >= static_cast<int>(names.size())) return 0;
        CopyBoundedText(out, LF_FACESIZE, names[index].c_str());
        return 1;
    });
}
