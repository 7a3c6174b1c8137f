#include "DravikDb.h"

namespace {
int g_maxCoordFlag = 0;
double g_maxCoordValue = 1e100;
}  // namespace

DRAVIKDB_API void WINAPI ZUriSetMaxCoord(int flag, double value)
{
    g_maxCoordFlag = flag;
    g_maxCoordValue = value;
}

DRAVIKDB_API void WINAPI ZUriAllFreeEBuffer(void)
{
}
