#include "core/Dbcs.h"

#include <cstring>

size_t DbcsFitLength(const char* text, size_t length, size_t limit)
{
    if (!text || length <= limit)
        return text ? length : 0;
    size_t i = 0;
    while (i < length) {
        const size_t width = (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length) ? 2 : 1;
        if (i + width > limit)
            break;
        i += width;
    }
    return i;
}

int DbcsIsTrailByte(const char* text, size_t index)
{
    if (!text)
        return 0;
    size_t i = 0;
    while (i < index) {
        if (text[i] == '\0')
            return 0;
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') {
            if (i + 1 == index)
                return 1;
            i += 2;
        } else {
            i += 1;
        }
    }
    return 0;
}

size_t DbcsCopyN(char* dest, size_t destSize, const char* src, size_t srcLength)
{
    if (!dest || destSize == 0)
        return 0;
    if (!src)
        srcLength = 0;
    const size_t n = DbcsFitLength(src, srcLength, destSize - 1);
    if (n > 0)
        std::memmove(dest, src, n);
    dest[n] = '\0';
    return n;
}

size_t DbcsCopy(char* dest, size_t destSize, const char* src)
{
    return DbcsCopyN(dest, destSize, src, src ? std::strlen(src) : 0);
}

size_t DbcsAppend(char* dest, size_t destSize, const char* src)
{
    if (!dest || destSize == 0)
        return 0;
    const size_t used = strnlen(dest, destSize - 1);
    return used + DbcsCopy(dest + used, destSize - used, src);
}

size_t DbcsTrimSeparators(const char* text, size_t length)
{
    if (!text)
        return 0;
    size_t kept = 0; // end of the last character that is not a separator
    size_t i = 0;
    while (i < length) {
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length) {
            i += 2;
            kept = i;
            continue;
        }
        if (text[i] != '\\' && text[i] != '/')
            kept = i + 1;
        ++i;
    }
    return kept;
}

size_t DbcsFindLastSeparator(const char* text, size_t length)
{
    size_t found = static_cast<size_t>(-1);
    if (!text)
        return found;
    for (size_t i = 0; i < length; ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < length) {
            ++i;
            continue;
        }
        if (text[i] == '\\' || text[i] == '/')
            found = i;
    }
    return found;
}
