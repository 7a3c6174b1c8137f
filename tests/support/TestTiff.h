// Small TIFF pictures written by the tests themselves.
#pragma once

#include <cstdint>
#include <vector>

// A one-bit uncompressed TIFF: width x height pixels, every pixel of the first darkRows rows
// dark, the resolution num/den per unit.
std::vector<unsigned char> MakeTiff(uint32_t width, uint32_t height, uint32_t num, uint32_t den, uint16_t unit,
                                    uint32_t darkRows = 1);
