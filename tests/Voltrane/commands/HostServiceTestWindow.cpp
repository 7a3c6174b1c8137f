#include "GTest.h"

#include "HostServiceTestWindow.h"

namespace {

const char kWindowClass[] = "HostServiceTestMainWindow";

LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* test = reinterpret_cast<HostServiceTestWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (test == nullptr) return DefWindowProcA(hWnd, msg, wParam, lParam);
    if (msg == kScriptMessage) {
        if (test->script) test->script(wParam);
        return 0;
    }
    LRESULT result = 0;
    if (test->services.ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0)) return result;
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

HostServiceTestWindow::HostServiceTestWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);  // a second registration fails harmlessly
    window = CreateWindowA(kWindowClass, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetCommandHost(this);
}

HostServiceTestWindow::~HostServiceTestWindow()
{
    SetCommandHost(nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    DrainQueue();
}

void HostServiceTestWindow::DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

int HostServiceTestWindow::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    Add(std::string("Box ") + (owner == window ? "main" : "other") + " " + (caption ? caption : "") + " " +
        std::to_string(type) + " " + (text ? text : ""));
    return messageBoxAnswer;
}

int HostServiceTestWindow::ShowErrorMessage(const char* text)
{
    Add(std::string("Error ") + (text ? text : ""));
    return IDOK;
}

void HostServiceTestWindow::WriteLog(int level, const char* title, const char* text)
{
    Add("Log " + std::to_string(level) + " " + (title ? title : "-") + " " + (text ? text : ""));
}

void HostServiceTestWindow::SendStatus(int code, LPARAM value)
{
    std::string line = "Status " + std::to_string(code);
    if (code == 1 || code == 2) {
        const char* text = reinterpret_cast<const char*>(value);
        line += text ? std::string(" [") + text + "]" : " 0";
    } else {
        line += " " + std::to_string(value);
    }
    Add(line);
}

size_t HostServiceTestWindow::Count(const std::string& line) const
{
    size_t count = 0;
    for (const std::string& each : lines) count += each == line;
    return count;
}
