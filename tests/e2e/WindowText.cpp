#include "WindowText.h"

namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam)
{
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(lParam) += text;
    }
    return TRUE;
}

}  // namespace

std::string Caption(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool WaitForCaption(HWND window, const std::string& caption, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (Caption(window) == caption) return true;
        Sleep(50);
    }
    return false;
}

bool WaitUntilResponsive(HWND window, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, timeoutMs, &result) != 0;
}

std::string StaticTexts(HWND box)
{
    std::string text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}
