#include "ProgramProcess.h"

#include "CommandIds.h"
#include "EngineBinding.h"
#include "WindowText.h"

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
    bool visibleOnly;
};

BOOL CALLBACK FindProcessWindow(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId != search->processId || (search->visibleOnly && !IsWindowVisible(hWnd))) return TRUE;
    char name[256] = {};
    GetClassNameA(hWnd, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    search->found = hWnd;
    return FALSE;
}

}  // namespace

std::string ProgramFolder()
{
    char folder[MAX_PATH];
    GetProgramFolder(folder, sizeof folder);
    return folder;
}

ProgramProcess::~ProgramProcess()
{
    Kill();
    if (m_info.hProcess) CloseHandle(m_info.hProcess);
    if (m_info.hThread) CloseHandle(m_info.hThread);
}

bool ProgramProcess::Start(const std::string& arguments)
{
    return StartIn(ProgramFolder(), "Voltrane.exe.so", arguments);
}

bool ProgramProcess::StartIn(const std::string& folder, const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + folder + program + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {sizeof(startup)};
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &m_info) != FALSE;
}

HWND ProgramProcess::WaitForWindow(const char* className, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {m_info.dwProcessId, className, nullptr, true};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        if (WaitForSingleObject(m_info.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
    }
}

HWND ProgramProcess::AnyWindow(const char* className) const
{
    WindowSearch search = {m_info.dwProcessId, className, nullptr, false};
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ProgramProcess::StatusBarField(HWND statusBar, int index) const
{
    const SIZE_T size = 1024;  // the buffer size the status bar writes into
    void* remote = VirtualAllocEx(m_info.hProcess, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    if (remote == nullptr) return "(no buffer in the program)";
    DWORD_PTR result = 0;
    SendMessageTimeoutA(statusBar, WM_COMMAND, MAKEWPARAM(kStatusBarGetFieldText, index), reinterpret_cast<LPARAM>(remote),
                        SMTO_BLOCK, 10000, &result);
    char text[size] = {};
    SIZE_T read = 0;
    ReadProcessMemory(m_info.hProcess, remote, text, size - 1, &read);
    VirtualFreeEx(m_info.hProcess, remote, 0, MEM_RELEASE);
    return text;
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(m_info.hProcess, exitCode);
    return true;
}

bool ProgramProcess::Kill()
{
    if (m_info.hProcess == nullptr) return true;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(m_info.hProcess, 99);
    // A loaded machine can take seconds to tear a process down.
    return WaitForSingleObject(m_info.hProcess, 30000) == WAIT_OBJECT_0;
}

HWND WaitForDialog(const ProgramProcess& program, const std::string& caption, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        HWND dialog = program.WaitForWindow("#32770", 100);
        if (dialog != nullptr && Caption(dialog) == caption) return dialog;
    }
    return nullptr;
}

bool WaitUntilGone(HWND window, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); IsWindow(window) && GetTickCount() - start < timeoutMs;) Sleep(20);
    return !IsWindow(window);
}
