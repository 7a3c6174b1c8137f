// Double-byte (code page 932) helpers: the lead-byte test and bounded copies that never cut a
// character in two. Every fixed text buffer of the program is filled through these.
#pragma once

#include <cstddef>

// 1 for a Shift-JIS lead byte (0x81-0x9F, 0xE0-0xFC), else 0; only the low 8 bits are tested.
inline int IsSjisLeadByte(int c)
{
    const unsigned b = static_cast<unsigned>(c) & 0xFFu;
    return ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) ? 1 : 0;
}

// The longest length, at most limit, of a prefix of text[0..length) that ends on a character
// boundary. A lead byte at the very end of the text counts as a character of its own.
size_t DbcsFitLength(const char* text, size_t length, size_t limit);

// 1 when text[index] is the second byte of a double-byte character (scanning from text[0]).
int DbcsIsTrailByte(const char* text, size_t index);

// Copies src into dest of destSize bytes, cutting on a character boundary so that the result
// and its terminating zero fit. Returns the number of bytes copied (without the zero).
// With destSize 0 nothing is written. A null src copies an empty text.
size_t DbcsCopy(char* dest, size_t destSize, const char* src);

// As DbcsCopy for the first srcLength bytes of src (which need not be zero-terminated).
size_t DbcsCopyN(char* dest, size_t destSize, const char* src, size_t srcLength);

// Appends src to the zero-terminated text in dest as far as it fits. Returns the new length.
size_t DbcsAppend(char* dest, size_t destSize, const char* src);

// The length of text[0..length) without the path separators ('\\' and '/') at its end. A 0x5C
// that is the second byte of a double-byte character is part of that character, not a separator.
size_t DbcsTrimSeparators(const char* text, size_t length);

// The index of the last path separator ('\\' or '/') of text[0..length), scanning double-byte
// characters as units; (size_t)-1 when there is none.
size_t DbcsFindLastSeparator(const char* text, size_t length);
