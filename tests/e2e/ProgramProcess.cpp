#include "ProgramProcess.h"

#include <string>

#include "CommandIds.h"
#include "EngineBinding.h"

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

std::string ReadWhole(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes(GetFileSize(file, nullptr), '\0');
    DWORD got = 0;
    if (!bytes.empty()) ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    return bytes;
}

// Sets iStartOpenDlgFg of the user's "LocalSettings.xml" (seeded from the program folder when
// there is none yet): 1 starts without the start dialog.
void SetStartDialogSetting(bool shown)
{
    char local[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local) == 0) return;
    const std::string folder = std::string(local) + "\\Ostrel\\VoltraneV8\\";
    CreateDirectoryA((std::string(local) + "\\Ostrel").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "LocalSettings.xml";
    std::string bytes = ReadWhole(path);
    if (bytes.empty()) bytes = ReadWhole(ProgramFolder() + "LocalSettings.xml");
    const std::string from = shown ? "<iStartOpenDlgFg>1</iStartOpenDlgFg>" : "<iStartOpenDlgFg>0</iStartOpenDlgFg>";
    const std::string to = shown ? "<iStartOpenDlgFg>0</iStartOpenDlgFg>" : "<iStartOpenDlgFg>1</iStartOpenDlgFg>";
    const size_t at = bytes.find(from);
    if (at == std::string::npos) return;
    bytes.replace(at, from.size(), to);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
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
    SetStartDialogSetting(m_startDialog);
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

void ProgramProcess::Kill()
{
    if (m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
}
