// The host's fonts as one flat list of names: the engine's text fonts, "VectorFont", and one
// "VectorPF(%-4s:%-4s)" name per pair of the engine's two vector-font lists. The questions go
// to the owner window as WM_CAD_FONT_SERVICE (2671) with a DicFunctionRecord.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Sub-codes of WM_CAD_FONT_SERVICE used here.
constexpr int kFontServiceVectorLists = 21;  // kinds 1/2: list sizes; 3/4: entry names
constexpr int kFontServiceTextFontCount = 23;
constexpr int kFontServiceTextFontName = 24;

int GetHostTextFontCount();
// The host writes the name of text font `index` (at most 32 bytes with its terminator) into
// the buffer, which should hold MAX_PATH bytes so that a longer name is kept whole.
void GetHostTextFontName(int index, char* name);
int GetHostFontListACount();
int GetHostFontListBCount();
// The name of entry `index` of the first / second vector list; 1 when it is not empty.
int GetHostFontListAEntry(int index, std::string& name);
int GetHostFontListBEntry(int index, std::string& name);

// The whole list, in the order above. Names are kept whole, however long.
std::vector<std::string> BuildHostFontList();
