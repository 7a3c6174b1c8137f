// A hidden main window for the host-service tests: its messages are answered by a real
// host-service object, the command host writes every step into a list of lines, and a scripted
// message lets a test act inside a running wait the way views and panels do.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/CommandCatalog.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceDispatch.h"
#include "commands/SystemCommandDispatcher.h"

// Posted to the window: runs the script with its wParam.
constexpr UINT kScriptMessage = WM_APP + 10;

class HostServiceTestWindow : public CCommandHost {
public:
    HostServiceTestWindow();
    ~HostServiceTestWindow() override;

    HWND MainWindow() override { return window; }
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    int ShowErrorMessage(const char* text) override;
    void WriteLog(int level, const char* title, const char* text) override;
    int HasActiveView() override { return activeView; }
    long ActiveElementCount() override { return elementCount; }
    void FocusActiveView() override { Add("FocusActiveView"); }
    void SetRightClickEnterMode(int mode) override { Add("RightClickEnterMode " + std::to_string(mode)); }
    void SetRightMenuHideMask(int a, int b) override
    {
        Add("RightMenuHideMask " + std::to_string(a) + " " + std::to_string(b));
    }
    void CloseRightMenu() override {}
    void SendStatus(int code, LPARAM value) override;
    const char* ApplicationTitle() override { return "Voltrane"; }

    // Posts the script message; the script runs when the wait dispatches it.
    void PostScript(WPARAM step) { PostMessageA(window, kScriptMessage, step, 0); }
    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(window, msg, wParam, lParam); }
    // Drops every message still queued for this thread.
    static void DrainQueue();

    void Add(const std::string& line) { lines.push_back(line); }
    size_t Count(const std::string& line) const;
    bool Has(const std::string& line) const { return Count(line) > 0; }

    HWND window = nullptr;
    CLumbraCmd catalog;
    CSystemCommandDispatcher dispatcher{&catalog};
    CCadSysCmd services{&dispatcher};
    std::function<void(WPARAM)> script;
    std::vector<std::string> lines;
    int activeView = 1;
    long elementCount = 42;
    int messageBoxAnswer = IDOK;
};
