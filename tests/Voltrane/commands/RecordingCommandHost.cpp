#include "GTest.h"

#include "RecordingCommandHost.h"

namespace {

const char kWindowClass[] = "CommandTestMainWindow";

LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<RecordingCommandHost*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (host == nullptr) return DefWindowProcA(hWnd, msg, wParam, lParam);
    switch (msg) {
    case WM_CAD_CMD_NOTIFY:
        host->Add("CmdNotify " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        host->Add("Notify " + std::to_string(header->code) + " " + std::to_string(header->idFrom) +
                  (header->hwndFrom == hWnd ? " main" : " other"));
        return 0;
    }
    case WM_CAD_CANCEL_COMMAND:
        host->Add("Cancel");
        if (host->cancelEndsWaitingCommand) SetPropA(hWnd, "TestPluginCancel", reinterpret_cast<HANDLE>(1));
        return 0;
    case WM_APP:
        if (host->onApp) host->onApp();
        return 0;
    case WM_CAD_CMD_STATE:
        host->Add("CmdState " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 0;
    case WM_CADDB_OPEN_FILE:
        host->Add(std::string("OpenFile ") + reinterpret_cast<const char*>(lParam));
        return 1;
    default:
        break;
    }
    if (host->dispatcher != nullptr) {
        if (msg == WM_CAD_RUN_COMMAND) {
            const char* text = reinterpret_cast<const char*>(lParam);
            host->Add("Run " + std::to_string(LOWORD(wParam)) + (text ? std::string(" ") + text : ""));
        }
        LRESULT result = 0;
        if (host->dispatcher->ProcessWindowMessage(hWnd, msg, wParam, lParam, result)) return result;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

RecordingCommandHost::RecordingCommandHost()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kWindowClass;
    RegisterClassA(&wc);  // a second registration fails harmlessly
    window = CreateWindowA(kWindowClass, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetCommandHost(this);
}

RecordingCommandHost::~RecordingCommandHost()
{
    SetCommandHost(nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    RemovePropA(window, "TestPluginCancel");
    DestroyWindow(window);
    // Messages still posted to the window are dropped with it.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

int RecordingCommandHost::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    Add(std::string("Box ") + (owner == window ? "main" : owner ? "other" : "none") + " " +
        (caption ? caption : "") + " " + std::to_string(type) + " " + (text ? text : ""));
    return IDOK;
}

int RecordingCommandHost::ShowErrorMessage(const char* text)
{
    Add(std::string("Error ") + (text ? text : ""));
    return IDOK;
}

void RecordingCommandHost::WriteLog(int level, const char* title, const char* text)
{
    Add("Log " + std::to_string(level) + " " + (title ? title : "") + " " + (text ? text : ""));
}

void RecordingCommandHost::SendStatus(int code, LPARAM value)
{
    std::string line = "Status " + std::to_string(code);
    if (code == 1 || code == 2) {
        const char* text = reinterpret_cast<const char*>(value);
        line += text ? std::string(" ") + text : " 0";
    } else {
        line += " " + std::to_string(value);
    }
    Add(line);
}

std::vector<std::string> RecordingCommandHost::Lines(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    }
    return found;
}

int RecordingCommandHost::Find(const std::string& text, size_t from) const
{
    for (size_t i = from; i < lines.size(); ++i) {
        if (lines[i] == text) return static_cast<int>(i);
    }
    return -1;
}

void RecordingCommandHost::PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
