#include "HostText.h"

#include <cstring>

namespace HostText {

bool CopyBounded(char* out, size_t outSize, const char* text)
{
    if (out == nullptr || outSize == 0) return false;
    if (text == nullptr) text = "";
    size_t i = 0;
    while (text[i] != '\0') {
        size_t step = (IsLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') ? 2 : 1;
        if (i + step >= outSize) {
            out[i] = '\0';
            return false;
        }
        std::memcpy(out + i, text + i, step);
        i += step;
    }
    out[i] = '\0';
    return true;
}

}  // namespace HostText
