#include "ProcessDialogs.h"

namespace {

struct Search {
    DWORD processId;
    std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (processId == search->processId && std::string(className) == "#32770" && IsWindowVisible(window))
        search->dialogs.push_back(window);
    return TRUE;
}

BOOL CALLBACK AppendStaticText(HWND child, LPARAM data)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "Static") {
        char text[1024] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(data) += text;
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleProcessDialogs()
{
    Search search = {GetCurrentProcessId(), {}};
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&search));
    return search.dialogs;
}

std::string StaticTextsOf(HWND window)
{
    std::string text;
    EnumChildWindows(window, AppendStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}
