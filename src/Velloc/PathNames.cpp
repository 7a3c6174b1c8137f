#include "PathNames.h"

#include <windows.h>

#include <shlwapi.h>

void StripPath(char* path)
{
    if (path != nullptr) PathStripPathA(path);
}

std::string StripPath(const std::string& path)
{
    std::string copy = path;
    StripPath(&copy[0]);
    return copy.c_str();
}

void RemoveExtension(char* path)
{
    if (path != nullptr) PathRemoveExtensionA(path);
}
