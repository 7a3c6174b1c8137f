#include "DialogDriver.h"

#include <vector>

namespace {

constexpr DWORD kPatienceMs = 10000;

struct Search {
    DWORD processId;
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char className[16] = {}, caption[256] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, caption, sizeof caption);
    if (processId == search->processId && std::string(className) == "#32770" && IsWindowVisible(window) &&
        search->caption == caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM data)
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

DialogDriver::DialogDriver(std::function<void(DialogDriver&)> script) : m_script(std::move(script))
{
    m_thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

DialogDriver::~DialogDriver()
{
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
}

DWORD WINAPI DialogDriver::Run(void* self)
{
    auto* driver = static_cast<DialogDriver*>(self);
    driver->m_script(*driver);
    return 0;
}

bool DialogDriver::WaitFor(const std::function<bool()>& condition)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > kPatienceMs) return false;
        Sleep(10);
    }
    return true;
}

HWND DialogDriver::WaitForDialog(const std::string& caption)
{
    Search search{GetCurrentProcessId(), caption};
    WaitFor([&] {
        EnumWindows(FindByCaption, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    if (search.found == nullptr && failure.empty()) failure = "no dialog \"" + caption + "\"";
    return search.found;
}

bool DialogDriver::WaitUntilClosed(HWND dialog)
{
    const bool closed = WaitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    if (!closed && failure.empty()) failure = "a dialog stayed open";
    return closed;
}

void DialogDriver::Click(HWND dialog, int id)
{
    PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void DialogDriver::ClickNow(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool DialogDriver::IsChecked(HWND dialog, int id)
{
    return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string DialogDriver::Text(HWND dialog, int id)
{
    char text[512] = {};
    GetWindowTextA(GetDlgItem(dialog, id), text, sizeof text);
    return text;
}

void DialogDriver::SetText(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string DialogDriver::StaticTexts(HWND dialog)
{
    std::string text;
    EnumChildWindows(dialog, AppendStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

HWND DialogDriver::FocusOf(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}
