#include "VellocModule.h"

#include <shlwapi.h>

#include <cstring>

namespace {

HostParamBlock g_hostBlock;
HWND g_ownerWindow = nullptr;
std::string g_parameterText;

}  // namespace

HostParamBlock& VellocHostBlock() { return g_hostBlock; }

void AttachVellocModule(HINSTANCE instance)
{
    g_hostBlock.words[kHostParamPluginModuleWord] =
        static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(instance));
}

HINSTANCE VellocInstance()
{
    return reinterpret_cast<HINSTANCE>(
        static_cast<UINT_PTR>(g_hostBlock.words[kHostParamPluginModuleWord]));
}

HWND OwnerWindow() { return g_ownerWindow; }

void SetOwnerWindow(HWND window) { g_ownerWindow = window; }

const std::string& CommandParameterText() { return g_parameterText; }

void SetCommandParameterText(const std::string& text) { g_parameterText = text; }

std::string GetModuleRelativePath(const char* relativePath)
{
    char folder[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileNameA(VellocInstance(), folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    PathRemoveFileSpecA(folder);
    char joined[MAX_PATH] = {};
    if (PathCombineA(joined, folder, relativePath ? relativePath : "") == nullptr) return std::string();
    return joined;
}
