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
    // Scanned by characters: the second byte of a double-byte character may be 0x5C or 0x7C.
    for (size_t i = 0; name[i] != '\0'; ++i) {
        if (HostText::IsLeadByte(static_cast<unsigned char>(name[i])) && name[i + 1] != '\0') {
            ++i;
            continue;
        }
        if (std::strchr("\\/:*?\"<>|", name[i]) != nullptr) return;
    }
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
