#include "VellocEntry.h"

#include <cstring>
#include <string>

namespace {

HWND g_ownerWindow = nullptr;

// The command named after "/c:" (either case) up to the next blank; empty when absent.
std::string CommandNameOf(const char* line)
{
    if (line == nullptr) return std::string();
    const char* mark = std::strstr(line, "/c:");
    if (mark == nullptr) mark = std::strstr(line, "/C:");
    if (mark == nullptr) return std::string();
    const char* name = mark + 3;
    size_t length = std::strcspn(name, " \t");
    return std::string(name, length);
}

}  // namespace

extern "C" int WINAPI StartCmdEx(HWND host, const char* commandLine, void* /*context*/)
{
    g_ownerWindow = host;
    std::string name = CommandNameOf(commandLine);
    // The commands register themselves in the command registry as they are built; a name
    // that no command answers cannot be started.
    (void)name;
    MessageBoxA(g_ownerWindow,
                "コマンドが起動できません。\nシステムが正しくインストールされているか確認してください。",
                "エラー", MB_OK | MB_ICONWARNING);
    return -1;
}

extern "C" int WINAPI StartCmd(HWND host, const char* commandLine)
{
    return StartCmdEx(host, commandLine, nullptr);
}

extern "C" int WINAPI StartProduct(const char* /*productName*/) { return 0; }

extern "C" int WINAPI EndProduct(void) { return 0; }

extern "C" int WINAPI CwCmdSaveFg(void) { return 1; }
