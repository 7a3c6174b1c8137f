// Fonts: the text fonts the engine offers are the system's font families; the engine has no
// vector-font dictionaries, and the dictionary function itself is not part of this engine yet.
#include "EngineCalls.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace dravikdb;

namespace {

constexpr int kTextFonts = 0;

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

}  // namespace

DRAVIKDB_API int WINAPI ZUriDicFunction(int code, void* block)
{
    (void)code;
    (void)block;
    return 0;
}

DRAVIKDB_API int WINAPI ZUriGetFontNum(int kind)
{
    if (kind != kTextFonts) return 0;
    return Guarded(0, [] { return static_cast<int>(TextFonts().size()); });
}

// Copies the name of text font `index` (at most LF_FACESIZE bytes with the terminator); 1 when
// there is such a font.
DRAVIKDB_API int WINAPI ZUriGetFontNm(int kind, int index, char* out)
{
    if (out == nullptr) return 0;
    out[0] = '\0';
    if (kind != kTextFonts || index < 0) return 0;
    return Guarded(0, [&] {
        std::vector<std::string> names = TextFonts();
        if (index >= static_cast<int>(names.size())) return 0;
        CopyBoundedText(out, LF_FACESIZE, names[index].c_str());
        return 1;
    });
}
