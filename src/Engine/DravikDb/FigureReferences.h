// Figure references (type 32) and the headers they draw. A header may hold instances of other
// headers, so the headers form a graph; a drawing file or a caller can make it loop back to a
// header, which no walk could ever finish. Cycles are refused where they would come in, and
// every walk is bounded besides.
#pragma once

#include "EngineDatabase.h"

namespace dravikdb {

// Deepest chain of instances inside instances a walk follows; deeper ones are not drawn or
// measured.
constexpr int kMaxReferenceDepth = 16;

// The header an instance draws: its header link when that is a live header of its database,
// else its header index; null for other types and for an instance without a header.
const Element* ReferencedHeader(const Element& instance);
// The figure-group header that holds an element among its members (at any depth), or null.
const Element* EnclosingHeader(const Element& element);
// Whether `instance`, held where its owner links say, would lead from its header back to that
// header through figure references.
bool MakesReferenceCycle(const Element& instance);

}  // namespace dravikdb
