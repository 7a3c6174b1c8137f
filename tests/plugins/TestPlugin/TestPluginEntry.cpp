// Test plug-in: the commands are chosen by the text after "/C:" (or "/c:"). Every call leaves a
// trace the host side can see: the host window's caption becomes the text the call was given.
//   Echo    returns 1.
//   Fault   writes through a null pointer.
//   Wait    pumps the host's messages until the host window carries the property
//           "TestPluginCancel" (or 20 seconds pass); removes it; returns 0.
//   WaitPoint, WaitKey, WaitCancel: see WaitCommands.cpp; AddLineCircle: DrawingCommands.cpp.
//   other   returns -1 (the command did not run).
#include <windows.h>

#include <cstring>
#include <string>

#include "PluginEntry.h"
#include "DrawingCommands.h"
#include "WaitCommands.h"

namespace {

// The command name in the text, or the text itself when it has no "/C:".
const char* CommandName(const char* text)
{
    if (text == nullptr) return "";
    const char* mark = std::strstr(text, "/C:");
    if (mark == nullptr) mark = std::strstr(text, "/c:");
    return mark ? mark + 3 : text;
}

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 &&
           (name[length] == '\0' || name[length] == ' ');
}

int WaitForCancel(HWND host)
{
    const DWORD start = GetTickCount();
    while (GetPropA(host, "TestPluginCancel") == nullptr && GetTickCount() - start < 20000) {
        // Like the host's input wait, the command ends as soon as it is cancelled: messages
        // that arrive after the cancel run once the command has returned.
        MSG msg;
        while (GetPropA(host, "TestPluginCancel") == nullptr &&
               PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetPropA(host, "TestPluginCancel") != nullptr) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    RemovePropA(host, "TestPluginCancel");
    return 0;
}

void Trace(HWND host, const std::string& text)
{
    if (host != nullptr) SetWindowTextA(host, text.c_str());
}

}  // namespace

extern "C" int WINAPI StartCmd(HWND host, const char* commandText)
{
    Trace(host, commandText ? commandText : "");
    const char* name = CommandName(commandText);
    if (Is(name, "Echo")) return 1;
    if (Is(name, "Fault")) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 1;
    }
    if (Is(name, "Wait")) return WaitForCancel(host);
    if (int result = RunWaitCommand(host, name); result != -2) return result;
    if (int result = RunDrawingCommand(host, name); result != -2) return result;
    return -1;
}

extern "C" int WINAPI CwCmdSaveFg(void) { return 1; }

extern "C" int WINAPI CwCmdVer(void) { return 800; }

// File loaders: the caption names the entry and the path; the path "fault" faults.
extern "C" int WINAPI LoadingDB(HWND host, const char* path, void* /*database*/)
{
    if (path != nullptr && std::strcmp(path, "fault") == 0) *static_cast<volatile int*>(nullptr) = 1;
    Trace(host, std::string("LoadingDB ") + (path ? path : ""));
    return 1;
}

extern "C" int WINAPI Jwc_LoadingDB(HWND host, const char* path, void* /*database*/)
{
    Trace(host, std::string("Jwc_LoadingDB ") + (path ? path : ""));
    return 1;
}

extern "C" int WINAPI LoadingDB_Info(HWND host, const char* path, void* /*database*/,
                                     void* /*info1*/, void* /*info2*/)
{
    Trace(host, std::string("LoadingDB_Info ") + (path ? path : ""));
    return 1;
}
