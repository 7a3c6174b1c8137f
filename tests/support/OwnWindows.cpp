#include "OwnWindows.h"

#include <cstring>

namespace {

struct Search {
    const char* className;
    const char* caption;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    char text[512] = {};
    if (search->className != nullptr) {
        GetClassNameA(window, text, sizeof text);
        if (std::strcmp(text, search->className) != 0) return TRUE;
    }
    if (search->caption != nullptr) {
        GetWindowTextA(window, text, sizeof text);
        if (std::strcmp(text, search->caption) != 0) return TRUE;
    }
    search->found = window;
    return FALSE;
}

}  // namespace

HWND FindOwnWindow(const char* className, const char* caption)
{
    Search search = {className, caption, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
