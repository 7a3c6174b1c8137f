// Test plug-in: the commands are chosen by the text after "/C:" (or "/c:").
#include <windows.h>

#include <cstring>

#include "PluginEntry.h"

namespace {

// The command name in the text, or the text itself when it has no "/C:".
const char* CommandName(const char* text)
{
    if (text == nullptr) return "";
    const char* mark = std::strstr(text, "/C:");
    if (mark == nullptr) mark = std::strstr(text, "/c:");
    return mark ? mark + 3 : text;
}

}  // namespace

extern "C" int WINAPI StartCmd(HWND /*host*/, const char* commandText)
{
    const char* name = CommandName(commandText);
    if (std::strncmp(name, "Echo", 4) == 0) return 1;
    return -1;
}

extern "C" int WINAPI CwCmdSaveFg(void) { return 1; }

extern "C" int WINAPI CwCmdVer(void) { return 800; }
