#include "EngineText.h"

namespace EngineSupport {

size_t WholeCharactersIn(const char* text, size_t n)
{
    size_t whole = 0;
    while (whole < n) {
        const size_t step = IsLeadByte(static_cast<unsigned char>(text[whole])) ? 2 : 1;
        if (whole + step > n) break;
        whole += step;
    }
    return whole;
}

}  // namespace EngineSupport
