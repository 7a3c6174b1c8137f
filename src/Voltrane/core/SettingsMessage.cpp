#include "core/SettingsMessage.h"

namespace {
SettingsMessageHook g_hook = nullptr;
}  // namespace

int ShowSettingsMessage(HWND owner, const char* text, const char* caption, UINT flags)
{
    if (g_hook != nullptr) return g_hook(owner, text, caption, flags);
    return MessageBoxA(owner, text, caption, flags);
}

SettingsMessageHook SetSettingsMessageHook(SettingsMessageHook hook)
{
    SettingsMessageHook previous = g_hook;
    g_hook = hook;
    return previous;
}
