// Dialogs of plug-in commands and the library's current modeless window.
#include <windows.h>

#include "Dravik.h"
#include "HostState.h"

namespace {
// The library's modeless window of the moment (none until the library shows one).
HWND g_currentModeless = nullptr;
}  // namespace

DRAVIK_API INT_PTR WINAPI CwGetCmdDialog(HINSTANCE module, int templateId, void* ownerOrContext,
                                         DLGPROC procedure)
{
    if (procedure == nullptr) return -1;
    HWND owner = static_cast<HWND>(ownerOrContext);
    if (owner == nullptr || !IsWindow(owner)) owner = HostState::Instance().MainFrame();
    if (owner != nullptr && !IsWindow(owner)) owner = nullptr;
    return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, procedure,
                           reinterpret_cast<LPARAM>(ownerOrContext));
}

DRAVIK_API int WINAPI CwEnableCurModelessWindow(int enable)
{
    if (g_currentModeless == nullptr || !IsWindow(g_currentModeless)) {
        g_currentModeless = nullptr;
        return 0;
    }
    // EnableWindow answers whether the window was disabled before.
    BOOL wasDisabled = EnableWindow(g_currentModeless, enable != 0 ? TRUE : FALSE);
    return wasDisabled ? 0 : 1;
}
