// Conversions between the program's Shift-JIS texts (code page 932) and UTF-8 / UTF-16, used
// only where text crosses into a library that speaks Unicode.
#pragma once

#include <string>

// Characters that cannot be converted become the platform's default character; an empty
// result for non-empty input means the conversion failed.
std::string SjisToUtf8(const std::string& sjis);
std::string Utf8ToSjis(const std::string& utf8);
std::u16string SjisToUtf16(const std::string& sjis);
std::string Utf16ToSjis(const std::u16string& utf16);
