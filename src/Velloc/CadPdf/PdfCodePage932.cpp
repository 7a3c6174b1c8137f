#include "PdfCodePage932.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <vector>

#ifdef _WIN32

std::string PdfCodePage932::FromUtf16(const std::u16string& text)
{
    if (text.empty()) return std::string();
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(932, 0, wide, length, nullptr, 0, "?", nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(932, 0, wide, length, &out[0], size, "?", nullptr);
    return out;
}

#else

// One character at a time, so that a character without a CP932 form becomes "?" alone.
std::string PdfCodePage932::FromUtf16(const std::u16string& text)
{
    std::string out;
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return out;
    for (size_t i = 0; i < text.size(); ++i) {
        char in[4];
        size_t inLength = 2;
        in[0] = static_cast<char>(text[i] & 0xFF);
        in[1] = static_cast<char>(text[i] >> 8);
        if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) {
            ++i;
            in[2] = static_cast<char>(text[i] & 0xFF);
            in[3] = static_cast<char>(text[i] >> 8);
            inLength = 4;
        }
        char buffer[8];
        char* inPtr = in;
        char* outPtr = buffer;
        size_t outLeft = sizeof(buffer);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLength, &outPtr, &outLeft) == static_cast<size_t>(-1)) out.push_back('?');
        else out.append(buffer, sizeof(buffer) - outLeft);
    }
    iconv_close(cd);
    return out;
}

#endif
