#include "Dravik.h"

namespace {
void* g_configData = nullptr;
HWND g_mainFrame = nullptr;
}  // namespace

DRAVIK_API void WINAPI Dader_SetTheConfigDataPtr(void* configData)
{
    g_configData = configData;
}

DRAVIK_API void WINAPI Dader_InitCadApi(HWND mainFrame)
{
    g_mainFrame = mainFrame;
}
