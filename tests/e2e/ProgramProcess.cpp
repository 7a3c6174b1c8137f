#include "ProgramProcess.h"

#include "EngineBinding.h"

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (processId != search->processId || !IsWindowVisible(hWnd)) return TRUE;
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
    std::string exe = ProgramFolder() + "Voltrane.exe.so";
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup = {sizeof(startup)};
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          ProgramFolder().c_str(), &startup, &m_info) != FALSE;
}

HWND ProgramProcess::WaitForWindow(const char* className, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search = {m_info.dwProcessId, className, nullptr};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (GetTickCount() - start > timeoutMs) return nullptr;
        if (WaitForSingleObject(m_info.hProcess, 100) == WAIT_OBJECT_0) return nullptr;
    }
}

bool ProgramProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(m_info.hProcess, exitCode);
    return true;
}

void ProgramProcess::Kill()
{
    if (m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}
