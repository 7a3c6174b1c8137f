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
