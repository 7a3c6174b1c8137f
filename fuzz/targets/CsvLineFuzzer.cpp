// One line of the shared CSV parser (menu, key and catalogue lines pass through it).
#include <cstdint>
#include <cstring>
#include <string>

#include "core/CsvParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CCsvParser parser;
    parser.Parse(std::string(reinterpret_cast<const char*>(data), size));
    size_t total = 0;
    for (int i = -1; i <= parser.GetSize(); ++i) total += std::strlen(parser.GetAt(i));
    // A second parse replaces the fields of the first.
    CCsvParser again(std::string(reinterpret_cast<const char*>(data), size / 2));
    if (again.GetSize() < 0 || total > size * 2 + 16) __builtin_trap();
    return 0;
}
