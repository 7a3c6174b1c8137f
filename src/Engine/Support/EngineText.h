// Shift-JIS (code page 932) text as the engine libraries scan it.
#pragma once

#include <cstddef>

namespace EngineSupport {

// True for a lead byte of a double-byte character (0x81-0x9F, 0xE0-0xFC).
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// The longest length, at most n, of a prefix of text that ends on a character boundary.
size_t WholeCharactersIn(const char* text, size_t n);

}  // namespace EngineSupport
