// A typed view of an element record (the geometry of one element type), copied out so that
// the record's unaligned fields are read safely.
#pragma once

#include <cstring>

#include "EngineRecords.h"

template <typename T>
T ElementOverlay(const ElementRecord* record)
{
    static_assert(sizeof(T) == sizeof(ElementRecord), "overlay size");
    T typed;
    std::memcpy(&typed, record, sizeof typed);
    return typed;
}
