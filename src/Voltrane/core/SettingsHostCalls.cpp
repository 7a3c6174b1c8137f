#include "core/SettingsHostCalls.h"

#include <vector>

#include "Dravik.h"
#include "DravikDb.h"
#include "core/ProgramPaths.h"
#include "core/SettingsTypes.h"

bool EngineReadPalette(COLORREF* palette257)
{
    if (palette257 == nullptr) return false;
    std::vector<ColourRecord> table(kColourCount);
    if (ZuriStyleGet(table.data(), nullptr, nullptr) == 0) return false;
    for (int i = 0; i < 257 && i < kColourCount; ++i)
        palette257[i] = RGB(table[i].red & 0xFF, table[i].green & 0xFF, table[i].blue & 0xFF);
    return true;
}

void EngineSetHighlightColor(int color) { QmSetHighlightColor(color); }

void EngineSetElementCheckMode(int mode) { ZUriSetElementCheckMode(mode); }

void EngineSetSettingsDataInt(const char* name, int value) { ZUriSetSettingsDataInt(name, value); }

void HostGetDataPath(int kind, char* out, size_t outSize, const char* fileName)
{
    if (out == nullptr || outSize == 0) return;
    out[0] = '\0';
    char buffer[MAX_PATH] = {};
    if (Dader_GetDataPath(kind, buffer, fileName, 0) == 0) {
        CopySettingsText(out, outSize, buffer);
        return;
    }
    GetDataFolderPath(kind, out, outSize, fileName, false);
}
