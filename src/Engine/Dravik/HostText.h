// Bounded copies of Shift-JIS text: a copy that does not fit is cut on a character
// boundary, never inside a double-byte character.
#pragma once

#include <cstddef>

#include "EngineText.h"

namespace HostText {

using EngineSupport::IsLeadByte;
// Copies text into out (outSize bytes, always terminated when outSize > 0). Returns true
// when the whole text fit.
bool CopyBounded(char* out, size_t outSize, const char* text);

}  // namespace HostText
