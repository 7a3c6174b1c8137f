#include "Dravik.h"
#include "HostState.h"
#include "HostText.h"

#include <cstring>

HostState& HostState::Instance()
{
    static HostState state;
    return state;
}

HostState::HostState()
{
    HostText::CopyBounded(m_productName, sizeof m_productName, "VoltraneV8");
}

void HostState::SetProductName(const char* name)
{
    // An empty name or one that cannot be a folder name keeps the current one.
    if (name == nullptr || name[0] == '\0') return;
    if (std::strpbrk(name, "\\/:*?\"<>|") != nullptr) return;
    HostText::CopyBounded(m_productName, sizeof m_productName, name);
}

DRAVIK_API void WINAPI Dader_SetTheConfigDataPtr(void* configData)
{
    HostState::Instance().SetConfigData(configData);
}

DRAVIK_API void WINAPI Dader_InitCadApi(HWND mainFrame)
{
    HostState::Instance().SetMainFrame(mainFrame);
}

DRAVIK_API void WINAPI Dader_SetCmdPanelType(int lowResolution)
{
    HostState::Instance().SetCmdPanelType(lowResolution != 0 ? 1 : 0);
}

DRAVIK_API void WINAPI QmCadApi_SetAppProductName(const char* name)
{
    HostState::Instance().SetProductName(name);
}
