#include "mainframe/FrameServices.h"

#include <cstdarg>
#include <cstdio>

#include "core/ConfigIo.h"
#include "core/SystemLog.h"


FrameServices& GetFrameServices()
{
    static FrameServices services;
    return services;
}

void FrameTrace(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA(text);
    WriteSystemLogText(3, "MainFrame", text);
}

HWND FrameActiveView()
{
    auto fn = GetFrameServices().getActiveView;
    return fn ? fn() : nullptr;
}

HWND FrameCreateDrawingWindow(HWND mainWnd)
{
    if (auto fn = GetFrameServices().createDrawingWindow) return fn(mainWnd);
    FrameTrace("new drawing window: not served\n");
    return nullptr;
}

int FrameIsLockedView(HWND view)
{
    auto fn = GetFrameServices().isLockedView;
    return fn && view ? fn(view) : 0;
}

int FrameExecuteServiceCommand(HWND mainWnd, WPARAM wParam, LPARAM lParam)
{
    if (auto fn = GetFrameServices().executeServiceCommand) return fn(mainWnd, wParam, lParam);
    FrameTrace("service command %u: not served\n", static_cast<unsigned>(LOWORD(wParam)));
    return 0;
}

int FrameExecuteViewCommand(HWND mainWnd, WPARAM wParam, LPARAM lParam)
{
    if (auto fn = GetFrameServices().executeViewCommand) return fn(mainWnd, wParam, lParam);
    FrameTrace("view command %u: not served\n", static_cast<unsigned>(LOWORD(wParam)));
    return 0;
}

int FrameAppendTypedKeyName(HWND window, int virtualKey)
{
    if (auto fn = GetFrameServices().appendTypedKeyName) return fn(window, virtualKey);
    FrameTrace("typed key %d: not served\n", virtualKey);
    return 0;
}

int FrameIsPluginCommandRunning()
{
    auto fn = GetFrameServices().isPluginCommandRunning;
    return fn ? fn() : 0;
}

void FrameRestartBackupTimer()
{
    if (auto fn = GetFrameServices().restartBackupTimer) fn();
}

void FrameCheckTimedBackup()
{
    if (auto fn = GetFrameServices().checkTimedBackup) fn();
}

int FrameCloseRightMenu()
{
    auto fn = GetFrameServices().closeRightMenu;
    return fn ? fn() : 0;
}

void FrameRestoreInputFocus()
{
    if (auto fn = GetFrameServices().restoreInputFocus) fn();
}

int FramePreTranslateKey(HWND mainWnd, MSG* msg, void* accelerator)
{
    auto fn = GetFrameServices().preTranslateKey;
    return fn ? fn(mainWnd, msg, accelerator) : 0;
}

const char* FrameBootOptionKey()
{
    auto fn = GetFrameServices().bootOptionKey;
    const char* key = fn ? fn() : nullptr;
    return key ? key : "";
}

const char* FrameBootOptionText()
{
    auto fn = GetFrameServices().bootOptionText;
    const char* text = fn ? fn() : nullptr;
    return text ? text : "";
}

int FrameDrawingWasSaved()
{
    auto fn = GetFrameServices().drawingWasSaved;
    return fn ? fn() : 0;
}

int FrameReadConfigText(const char* section, const char* key, char* out, int size)
{
    if (out == nullptr || size <= 0) return -1;
    out[0] = '\0';
    if (auto fn = GetFrameServices().readConfigText) return fn(section, key, out, size);
    return ReadConfigValue(out, 5, size, section, key, "");
}

std::string FrameUserDataFilePath(const char* name)
{
    if (auto fn = GetFrameServices().userDataFilePath) return fn(name);
    std::string path;
    ResolveVirtualProfilePath((std::string("%USER_LOCAL_APPDATA%") + (name ? name : "")).c_str(), &path);
    return path;
}

std::string FrameProgramIniPath()
{
    if (auto fn = GetFrameServices().programIniPath) return fn();
    return GetProgramIniPath();
}
