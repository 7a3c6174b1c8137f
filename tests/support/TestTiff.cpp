#include "TestTiff.h"

#include <cstring>

std::vector<unsigned char> MakeTiff(uint32_t width, uint32_t height, uint32_t num, uint32_t den, uint16_t unit,
                                    uint32_t darkRows)
{
    const uint32_t rowBytes = (width + 7) / 8;
    std::vector<unsigned char> pixels(rowBytes * height, 0xFF);  // white is 1 with min-is-black
    for (uint32_t y = 0; y < darkRows && y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) pixels[y * rowBytes + x / 8] &= static_cast<unsigned char>(~(0x80 >> (x % 8)));
    std::vector<unsigned char> out;
    auto put16 = [&](uint16_t v) { out.push_back(v & 0xFF), out.push_back(v >> 8); };
    auto put32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) out.push_back((v >> (8 * i)) & 0xFF); };
    const uint16_t entries = 11;
    const uint32_t ifdOffset = 8;
    const uint32_t ifdSize = 2 + entries * 12 + 4;
    const uint32_t xResOffset = ifdOffset + ifdSize, yResOffset = xResOffset + 8, dataOffset = yResOffset + 8;
    out.push_back('I'), out.push_back('I');
    put16(42);
    put32(ifdOffset);
    put16(entries);
    auto entry = [&](uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
        put16(tag), put16(type), put32(count), put32(value);
    };
    entry(256, 4, 1, width);
    entry(257, 4, 1, height);
    entry(258, 3, 1, 1);
    entry(259, 3, 1, 1);
    entry(262, 3, 1, 1);  // min is black
    entry(273, 4, 1, dataOffset);
    entry(277, 3, 1, 1);
    entry(278, 4, 1, height);
    entry(279, 4, 1, static_cast<uint32_t>(pixels.size()));
    entry(282, 5, 1, xResOffset);
    entry(283, 5, 1, yResOffset);
    put32(0);
    // 11 entries listed; the unit goes in by patching the count to 12 below.
    put32(num), put32(den);
    put32(num), put32(den);
    out.insert(out.end(), pixels.begin(), pixels.end());
    // Rebuild with the resolution unit entry appended (tags stay ascending).
    std::vector<unsigned char> withUnit(out.begin(), out.begin() + 8);
    auto w16 = [&](uint16_t v) { withUnit.push_back(v & 0xFF), withUnit.push_back(v >> 8); };
    auto w32 = [&](uint32_t v) { for (int i = 0; i < 4; ++i) withUnit.push_back((v >> (8 * i)) & 0xFF); };
    const uint32_t shift = 12;
    w16(entries + 1);
    for (int i = 0; i < entries; ++i) {
        const unsigned char* e = out.data() + 10 + i * 12;
        uint16_t tag = e[0] | (e[1] << 8);
        uint32_t value;
        std::memcpy(&value, e + 8, 4);
        if (tag == 273 || tag == 282 || tag == 283) value += shift;
        withUnit.insert(withUnit.end(), e, e + 8);
        w32(value);
    }
    w16(296), w16(3), w32(1), w32(unit);
    w32(0);
    withUnit.insert(withUnit.end(), out.begin() + xResOffset, out.end());
    return withUnit;
}
