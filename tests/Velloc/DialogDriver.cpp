#include "DialogDriver.h"

#include "ProcessDialogs.h"

namespace {

constexpr DWORD kPatienceMs = 10000;

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
    if (!driver->failure.empty()) driver->CloseLeftDialogs();
    return 0;
}

// A script that stopped early leaves the command's modal loops running: without this the test
// would hang until ctest kills the whole executable instead of failing by itself.
void DialogDriver::CloseLeftDialogs()
{
    for (const int button : {IDCANCEL, IDOK}) {
        for (HWND dialog : VisibleProcessDialogs()) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        if (WaitFor([] { return VisibleProcessDialogs().empty(); })) return;
    }
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
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND dialog : VisibleProcessDialogs()) {
            char text[256] = {};
            GetWindowTextA(dialog, text, sizeof text);
            if (caption == text) found = dialog;
        }
        return found != nullptr;
    });
    if (found == nullptr && failure.empty()) failure = "no dialog \"" + caption + "\"";
    return found;
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
    return StaticTextsOf(dialog);
}

HWND DialogDriver::FocusOf(HWND dialog)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}
