// The calls into the drawing engine and its host library that the settings make, in one place.
#pragma once

#include <windows.h>

#include <cstddef>

// The engine's colour table (257 entries): the drawing palette, red in the low byte.
// Returns false when the engine does not answer.
bool EngineReadPalette(COLORREF* palette257);
// Highlight colour number of the engine.
void EngineSetHighlightColor(int color);
// Element check mode of the engine.
void EngineSetElementCheckMode(int mode);
// One named integer setting of the engine.
void EngineSetSettingsDataInt(const char* name, int value);
// The host library's path of a data sub-folder of a kind, with the file name appended when
// given (relative to the program folder). When the library refuses, the program's own folder
// table is used.
void HostGetDataPath(int kind, char* out, size_t outSize, const char* fileName);
