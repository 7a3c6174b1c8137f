// The host library's calls that the PDF export makes besides those of HostLibrary.h, each
// through CallHostLibrary like the others.
#pragma once

#include <windows.h>

#include "Dravik.h"
#include "HostLibrary.h"

namespace ExportHost {

inline int VyGetSpace() { return CallHostLibrary([] { return ::VyGetSpace(); }); }
inline int VyLAYER_CHK(WORD* mask64) { return CallHostLibrary([&] { return ::VyLAYER_CHK(mask64); }); }
inline int VyGetDrawColor(int* colors257) { return CallHostLibrary([&] { return ::VyGetDrawColor(colors257); }); }

}  // namespace ExportHost
