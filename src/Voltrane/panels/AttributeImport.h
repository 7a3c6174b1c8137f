// Taking the attributes of a picked element as the current drawing attributes: the element's
// values are checked first, and the settings of "AttrSettings" decide whether the user confirms
// and whether the element's layer becomes current too.
#pragma once

#include <cstddef>
#include <string>

#include "EngineRecords.h"

// Bits of the values that cannot be taken.
constexpr int kBadLayer = 1, kBadColour = 2, kBadLineType = 4, kBadWidth = 8;

// The bad bits of the element's values; list receives "レイヤ:%d 色:%d ..." for them, trimmed.
int CheckImportedAttributes(const ElementRecord& element, std::string* list);

// 1 when the caller is to copy the element's attributes, 0 when it is to stop. setLayer, when
// given, receives 1 when the element's page and layer are to become current as well. The
// settings are read from (and the check box written back to) the ini file given; an empty path
// means the user's "LocalSettings.ini".
int ImportElementAttributes(const ElementRecord* element, int* setLayer, const std::string& iniPath = std::string());
