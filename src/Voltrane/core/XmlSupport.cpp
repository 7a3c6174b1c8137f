#include "core/XmlSupport.h"

#include <algorithm>
#include <cstdio>

#include "core/Dbcs.h"

std::string FormatSystemText(DWORD code)
{
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string out;
    if (n && text)
        out.assign(text, n);
    if (text)
        LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' '))
        out.pop_back();
    return out;
}

std::string FormatXmlError(const char* format, DWORD code, const std::string& reason)
{
    char buffer[1024];
    std::snprintf(buffer, sizeof(buffer), format, static_cast<unsigned>(code), reason.c_str());
    return buffer;
}

std::string Utf8ToSjisForXml(const std::string& utf8)
{
    std::u16string wide;
    {
        const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
        if (n <= 0)
            return std::string();
        wide.assign(static_cast<size_t>(n), u'\0');
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), reinterpret_cast<WCHAR*>(&wide[0]), n);
    }
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < wide.size();) {
        // One character (a surrogate pair counts as one).
        size_t len = 1;
        unsigned cp = wide[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            len = 2;
        }
        char bytes[8];
        BOOL usedDefault = FALSE;
        const int n = len == 1
            ? WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const WCHAR*>(&wide[i]), 1, bytes,
                                  sizeof(bytes), nullptr, &usedDefault)
            : 0;
        if (n > 0 && !usedDefault) {
            out.append(bytes, static_cast<size_t>(n));
        } else {
            // Not in code page 932: written as a character reference so nothing is lost.
            char ref[16];
            std::snprintf(ref, sizeof(ref), "&#x%X;", cp);
            out += ref;
        }
        i += len;
    }
    return out;
}

