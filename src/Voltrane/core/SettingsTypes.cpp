#include "core/SettingsTypes.h"

#include <cstring>

#include "core/Dbcs.h"

std::wstring SettingsTextToWide(const std::string& text)
{
    if (text.empty()) return std::wstring();
    int length = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) throw SettingsValueError("text conversion failed");
    std::vector<WCHAR> utf16(static_cast<size_t>(length));
    MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), utf16.data(), length);
    // wchar_t is four bytes here: join surrogate pairs into one code point.
    std::wstring wide;
    wide.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        unsigned int unit = utf16[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < utf16.size()) {
            unsigned int low = utf16[i + 1];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                wide.push_back(static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                ++i;
                continue;
            }
        }
        wide.push_back(static_cast<wchar_t>(unit));
    }
    return wide;
}

std::string WideToSettingsText(const std::wstring& text)
{
    if (text.empty()) return std::string();
    std::vector<WCHAR> utf16;
    utf16.reserve(text.size());
    for (wchar_t ch : text) {
        unsigned int code = static_cast<unsigned int>(ch);
        if (code >= 0x10000 && code <= 0x10FFFF) {
            code -= 0x10000;
            utf16.push_back(static_cast<WCHAR>(0xD800 + (code >> 10)));
            utf16.push_back(static_cast<WCHAR>(0xDC00 + (code & 0x3FF)));
        } else {
            utf16.push_back(static_cast<WCHAR>(code > 0xFFFF ? 0xFFFD : code));
        }
    }
    int length = WideCharToMultiByte(932, 0, utf16.data(), static_cast<int>(utf16.size()), nullptr, 0,
                                     nullptr, nullptr);
    if (length <= 0) throw SettingsValueError("text conversion failed");
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(932, 0, utf16.data(), static_cast<int>(utf16.size()), &narrow[0], length, nullptr,
                        nullptr);
    return narrow;
}

namespace {

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return -1;
}

// The value of up to two hexadecimal digits at a position; reading stops at the first
// character that is not a digit (none gives 0).
int HexPair(const std::string& text, size_t pos)
{
    int value = 0;
    for (size_t i = pos; i < pos + 2 && i < text.size(); ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

bool TryParseColorText(const std::string& text, COLORREF* value)
{
    COLORREF result = 0;
    bool ok = true;
    if (text.empty()) {
        result = 0;
    } else if (text == "COLOR_3DFACE") {
        result = GetSysColor(COLOR_3DFACE);
    } else if (text[0] == '#') {
        if (text.size() < 5) {
            ok = false;
        } else {
            result = RGB(HexPair(text, 1), HexPair(text, 3), HexPair(text, 5));
        }
    }
    if (value != nullptr) *value = result;
    return ok;
}

COLORREF ParseColorText(const std::string& text)
{
    COLORREF value = 0;
    TryParseColorText(text, &value);
    return value;
}

namespace {

COLORREF ParseOrThrow(const std::string& text)
{
    COLORREF value = 0;
    if (!TryParseColorText(text, &value)) throw SettingsValueError("invalid colour text: " + text);
    return value;
}

}  // namespace

ColorRefEx::ColorRefEx(const char* text) : Color(text ? text : "") { Recompute(); }

void ColorRefEx::Recompute() { value = ParseColorText(Color); }

void ColorRefEx::RecomputeOrThrow() { value = ParseOrThrow(Color); }

ColorBtnAttrEx::ColorBtnAttrEx(const char* text, const char* bkgnd, const char* disabled)
    : Text(text ? text : ""), Bkgnd(bkgnd ? bkgnd : ""), Disabled(disabled ? disabled : "")
{
    Recompute();
}

void ColorBtnAttrEx::Recompute()
{
    textColor = ParseColorText(Text);
    bkColor = ParseColorText(Bkgnd);
    disabledColor = ParseColorText(Disabled);
}

void ColorBtnAttrEx::RecomputeOrThrow()
{
    textColor = ParseOrThrow(Text);
    bkColor = ParseOrThrow(Bkgnd);
    disabledColor = ParseOrThrow(Disabled);
}

bool CopySettingsText(char* out, std::size_t size, const char* text)
{
    if (out == nullptr || size == 0) return false;
    const char* source = text != nullptr ? text : "";
    return DbcsCopy(out, size, source) == std::strlen(source);
}
