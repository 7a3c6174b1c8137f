#include "commands/HelpFiles.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/Dbcs.h"
#include "core/ProgramPaths.h"

namespace {

CHelpLauncher g_realLauncher;
CHelpLauncher* g_launcher = &g_realLauncher;
std::unique_ptr<CCadIntHelp> g_help;

// Lower-cases the single-byte letters; the bytes of double-byte characters are left alone.
std::string LowerCase(const char* text)
{
    std::string out(text ? text : "");
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsSjisLeadByte(c) && i + 1 < out.size()) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// Whether name occurs in text starting on a character boundary.
bool ContainsOnBoundary(const std::string& text, const std::string& name)
{
    if (name.empty()) return false;
    for (size_t i = 0; i + name.size() <= text.size(); ++i) {
        if (text.compare(i, name.size(), name) == 0) return true;
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i]))) ++i;
    }
    return false;
}

struct CloseSearch {
    const CCadIntHelp* help;
    const std::vector<DWORD>* processes;
};

BOOL CALLBACK CloseIfHelpWindow(HWND window, LPARAM data)
{
    const auto* search = reinterpret_cast<const CloseSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (std::find(search->processes->begin(), search->processes->end(), process) == search->processes->end())
        return TRUE;
    char title[260] = {};
    if (GetWindowTextA(window, title, sizeof title) > 0 && search->help->IsHelpWindowTitle(title))
        SendMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
}

}  // namespace

INT_PTR CHelpLauncher::ShellOpen(const char* path, DWORD* process)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = path;
    info.nShow = SW_SHOWNORMAL;
    const BOOL opened = ShellExecuteExA(&info);
    if (process != nullptr) *process = 0;
    if (info.hProcess != nullptr) {
        if (process != nullptr) *process = GetProcessId(info.hProcess);
        CloseHandle(info.hProcess);
    }
    const INT_PTR code = reinterpret_cast<INT_PTR>(info.hInstApp);
    if (!opened) return (code > 32 || code < 0) ? SE_ERR_NOASSOC : code;
    return code;
}

UINT CHelpLauncher::RunProgram(const char* commandLine) { return WinExec(commandLine, SW_SHOW); }

BOOL CHelpLauncher::ShowHelpContents(HWND owner, const char* path) { return WinHelpA(owner, path, HELP_CONTENTS, 0); }

CHelpLauncher& GetHelpLauncher() { return *g_launcher; }

void SetHelpLauncher(CHelpLauncher* launcher) { g_launcher = launcher ? launcher : &g_realLauncher; }

CCadIntHelp::~CCadIntHelp()
{
    if (!m_names.empty() && !m_processes.empty()) CloseHelpWindows();
}

void CCadIntHelp::CloseHelpWindows()
{
    CloseSearch search = {this, &m_processes};
    EnumWindows(CloseIfHelpWindow, reinterpret_cast<LPARAM>(&search));
}

INT_PTR CCadIntHelp::Open(const char* path, BOOL remember)
{
    DWORD process = 0;
    const INT_PTR result = GetHelpLauncher().ShellOpen(path ? path : "", &process);
    if (result <= 32 || !remember) return result;
    if (process != 0 && std::find(m_processes.begin(), m_processes.end(), process) == m_processes.end())
        m_processes.push_back(process);
    const std::string name = LowerCase(PathFindFileNameA(path));
    if (name.empty()) return result;
    if (std::find(m_names.begin(), m_names.end(), name) == m_names.end()) m_names.push_back(name);
    return result;
}

int CCadIntHelp::IsHelpWindowTitle(const char* title) const
{
    const std::string lower = LowerCase(title);
    for (const std::string& name : m_names)
        if (ContainsOnBoundary(lower, name)) return 1;
    return 0;
}

CCadIntHelp& GetCadIntHelp()
{
    if (!g_help) g_help.reset(new CCadIntHelp());
    return *g_help;
}

void DestroyCadIntHelp() { g_help.reset(); }

INT_PTR OpenHelpFile(const char* path, BOOL remember) { return GetCadIntHelp().Open(path, remember); }

int RunHelpCommand(HWND mainWindow, const char* path)
{
    const char* file = path != nullptr ? path : GetResolvedFilePaths().helpFile;
    if (file == nullptr || file[0] == '\0' || !PathFileExistsA(file)) return 1;
    if (lstrcmpiA(PathFindExtensionA(file), ".hlp") == 0) {
        char system[MAX_PATH] = {};
        char viewer[MAX_PATH] = {};
        GetSystemDirectoryA(system, sizeof system);
        PathCombineA(viewer, system, "winhlp32.exe");
        if (PathFileExistsA(viewer)) {
            char commandLine[MAX_PATH * 3];
            std::snprintf(commandLine, sizeof commandLine, "%s \"%s\"", viewer, file);
            GetHelpLauncher().RunProgram(commandLine);
        } else {
            GetHelpLauncher().ShowHelpContents(mainWindow, file);
        }
        return 1;
    }
    OpenHelpFile(file, TRUE);
    return 1;
}
