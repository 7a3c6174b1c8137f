#include "core/CodePage932.h"

#include <windows.h>

namespace {
constexpr UINT kSjis = 932;

std::u16string ToUtf16(UINT codePage, const std::string& text)
{
    if (text.empty())
        return std::u16string();
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (n <= 0)
        return std::u16string();
    std::u16string out(static_cast<size_t>(n), u'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                        reinterpret_cast<WCHAR*>(&out[0]), n);
    return out;
}

std::string FromUtf16(UINT codePage, const std::u16string& text)
{
    if (text.empty())
        return std::string();
    const WCHAR* w = reinterpret_cast<const WCHAR*>(text.data());
    const int n = WideCharToMultiByte(codePage, 0, w, static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w, static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}
} // namespace

std::string SjisToUtf8(const std::string& sjis) { return FromUtf16(CP_UTF8, ToUtf16(kSjis, sjis)); }
std::string Utf8ToSjis(const std::string& utf8) { return FromUtf16(kSjis, ToUtf16(CP_UTF8, utf8)); }
std::u16string SjisToUtf16(const std::string& sjis) { return ToUtf16(kSjis, sjis); }
std::string Utf16ToSjis(const std::u16string& utf16) { return FromUtf16(kSjis, utf16); }
