// Whether memory a caller handed over may be read or written, found out by touching it under an
// exception guard. The program and the engine libraries ask this of every record, buffer and text
// a plug-in passes in, so that a bad pointer gets a refusal instead of a fault.
#pragma once

#include <cstddef>

// True when some byte of size bytes at pointer cannot be read. Size 0 is never bad.
bool IsBadReadMemory(const void* pointer, size_t size);
// True when some byte of size bytes at pointer cannot be written. Size 0 is never bad.
bool IsBadWriteMemory(void* pointer, size_t size);
// True when text cannot be read up to its terminator or up to max bytes, whichever comes first.
bool IsBadStringMemory(const char* text, size_t max);
