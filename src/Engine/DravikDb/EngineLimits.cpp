// Start and end of the engine: limits, modes and the release of everything at exit.
#include "DravikDb.h"
#include "EngineDatabase.h"
#include "EngineSettings.h"

#include <cmath>
#include <cstring>

namespace dravikdb {

EngineSettings& Settings()
{
    static EngineSettings settings = [] {
        EngineSettings s;
        s.search.mode = 3;
        s.search.typeMask = 0;
        s.search.word2 = -1;
        return s;
    }();
    return settings;
}

}  // namespace dravikdb

using dravikdb::Settings;

DRAVIKDB_API void WINAPI ZUriSetMaxCoord(int flag, double value)
{
    Settings().maxCoordFlag = flag;
    if (std::isfinite(value) && value > 0.0) Settings().maxCoordValue = value;
}

DRAVIKDB_API void WINAPI ZUriAllFreeEBuffer(void)
{
    // Element buffers belong to their databases; the databases themselves stay usable until the
    // program deletes them, so there is nothing shared to release here.
}

DRAVIKDB_API int WINAPI QmSetHighlightColor(int colour)
{
    int previous = Settings().highlightColour;
    if (colour >= 1 && colour <= 256) Settings().highlightColour = colour;
    return previous;
}

DRAVIKDB_API int WINAPI ZUriSetElementCheckMode(int mode)
{
    int previous = Settings().elementCheckMode;
    Settings().elementCheckMode = mode;
    return previous;
}

DRAVIKDB_API int WINAPI ZUriSetSettingsDataInt(const char* name, int value)
{
    size_t n = dravikdb::SafeTextLength(name, 256);
    if (n == 0) return 0;
    Settings().namedInts[std::string(name, n)] = value;
    return 1;
}

DRAVIKDB_API int WINAPI QmCreateMemPools(void* db)
{
    // Memory comes from the process heap; a static record needs nothing prepared.
    (void)db;
    return 1;
}

DRAVIKDB_API void WINAPI ZUriSetEps(double length, double angle)
{
    if (std::isfinite(length) && length >= 0.0) Settings().lengthEps = length;
    if (std::isfinite(angle) && angle >= 0.0) Settings().angleEps = angle;
}

DRAVIKDB_API void WINAPI ZUriFastAccessOn(void)
{
    Settings().fastAccess = 1;
}

DRAVIKDB_API void WINAPI ZUriFastAccessOff(void)
{
    Settings().fastAccess = 0;
}

DRAVIKDB_API int WINAPI ZUriSetTransFg(int flag)
{
    int previous = Settings().transferFlag;
    Settings().transferFlag = flag;
    return previous;
}
