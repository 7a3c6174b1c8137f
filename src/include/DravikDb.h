// Calls of the drawing engine DravikDb, as the program and the plug-ins use them.
// Every call is exported by name (see src/Engine/DravikDb/DravikDb.spec) with the
// stdcall convention; records are those of EngineRecords.h.
#pragma once

#include <windows.h>

#define DRAVIKDB_API extern "C"

// Start and end.
DRAVIKDB_API void WINAPI ZUriSetMaxCoord(int flag, double value);
DRAVIKDB_API void WINAPI ZUriAllFreeEBuffer(void);
