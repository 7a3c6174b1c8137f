#include "commands/DdeExecute.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "HostMessages.h"
#include "InputCodes.h"
#include "commands/CommandHost.h"
#include "commands/InputEvent.h"
#include "commands/ServiceCommands.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/Dbcs.h"
#include "drawing/DrawingOpen.h"
#include "mainframe/MainFrame.h"
#include "view/ViewTable.h"

namespace {

CDdeExecuteSite g_defaultSite;
CDdeExecuteSite* g_site = &g_defaultSite;

char g_ddeText[kDdeTextSize] = {};
int g_ddeTextPending = 0;
char g_fileName[kDdeFileNameSize] = {};

void Log(int level, const char* text) { GetCommandHost().WriteLog(level, "DDE", text); }

// Refuses a text that does not fit its buffer: nothing is copied and the execute fails.
int Refuse(const char* what)
{
    char line[160];
    std::snprintf(line, sizeof line, "DDE %s: too long or malformed, refused", what);
    GetCommandHost().WriteLog(0, "Error", line);
    return 0;
}

void BringForwardAndActivate(CDdeExecuteSite& site, HWND view)
{
    SetWindowPos(site.MainWindow(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    // The MDI client activates the view's child frame.
    HWND frame = GetParent(view);
    if (HWND client = site.MdiClient()) PostMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame ? frame : view), 0);
}

// "{Open(" file ")}" or "{Open(\"" file "\")}": the name ends at the first double quote or at
// the first ")" directly followed by "}", scanning double-byte characters as units.
int OpenDrawingEntry(const char* text)
{
    CDdeExecuteSite& site = GetDdeExecuteSite();
    const char* name = text + std::strlen("{Open(");
    if (*name == '"') ++name;
    size_t length = 0;
    for (; name[length] != '\0'; ++length) {
        const unsigned char c = static_cast<unsigned char>(name[length]);
        if (IsSjisLeadByte(c) && name[length + 1] != '\0') {
            ++length;
            continue;
        }
        if (c == '"' || (c == ')' && name[length + 1] == '}')) break;
    }
    if (length >= kDdeFileNameSize) return Refuse("{Open( file name");
    std::memset(g_fileName, 0, sizeof g_fileName);
    std::memcpy(g_fileName, name, length);

    HWND view = site.FindView(g_fileName);
    HWND mainWindow = site.MainWindow();
    SendMessageA(mainWindow, WM_CAD_CANCEL_COMMAND, 0, 0);
    if (view != nullptr)
        BringForwardAndActivate(site, view);
    else
        SendMessageA(mainWindow, WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(g_fileName));
    return 1;
}

int PostToMain(UINT message)
{
    PostMessageA(GetDdeExecuteSite().MainWindow(), message, 0, 0);
    return 1;
}

int MaximizeViewEntry(const char*) { return PostToMain(WM_CAD_MAXIMIZE_VIEW); }
int MinimizeMainEntry(const char*) { return PostToMain(WM_CAD_MINIMIZE_MAIN); }
int RefitViewEntry(const char*) { return PostToMain(WM_CAD_REFIT_VIEW); }
int RaiseMainEntry(const char*) { return PostToMain(WM_CAD_RAISE_MAIN); }

// "{ExecCmd(" number ")}" or "{ExecCmd(" number "," argument ")}".
int ExecCommandEntry(const char* text)
{
    const char* digits = text + std::strlen("{ExecCmd(");
    const long id = std::atol(digits);
    if (id < 4000 || id > 39999) return 0;
    std::string argument;
    const char* comma = std::strchr(text + 9, ',');
    if (comma != nullptr) {
        const char* close = std::strrchr(comma, ')');
        if (close == nullptr) return Refuse("{ExecCmd( argument");
        argument.assign(comma + 1, close);
        if (argument.size() >= kDdeCommandArgumentSize) return Refuse("{ExecCmd( argument");
    }
    GetDdeExecuteSite().PostRunCommand(static_cast<int>(id), argument.c_str());
    return 1;
}

// The whole string, prefix included, for the command that waits for a DDE text.
int PutTextEntry(const char* text)
{
    const size_t length = std::strlen(text);
    if (length >= kDdeTextSize) return Refuse("{DDEPUT( text");
    std::memcpy(g_ddeText, text, length + 1);
    g_ddeTextPending = 1;
    RaiseInputEvent(kEventDdeText);
    return 1;
}

// "{FM9002(" file ")}": opens the drawing (or activates its view) and runs command 9002 on it.
int OpenForCommand9002Entry(const char* text)
{
    CDdeExecuteSite& site = GetDdeExecuteSite();
    const size_t prefix = std::strlen("{FM9002(");
    const size_t length = std::strlen(text);
    if (length < prefix + 2) return Refuse("{FM9002( string");
    const size_t nameLength = length - prefix - 2;
    if (nameLength >= kDdeFileNameSize) return Refuse("{FM9002( file name");

    HWND mainWindow = site.MainWindow();
    SendMessageA(mainWindow, WM_CAD_CMD_STATE, 0, 0);
    SetHostCommandRunning(0);
    std::memset(g_fileName, 0, sizeof g_fileName);
    std::memcpy(g_fileName, text + prefix, nameLength);

    if (HWND view = site.FindView(g_fileName))
        BringForwardAndActivate(site, view);
    else
        site.OpenDrawing(mainWindow, g_fileName);
    if (HWND active = site.ActiveView()) {
        ShowWindow(mainWindow, SW_RESTORE);
        HWND frame = GetParent(active);
        ShowWindow(frame ? frame : active, SW_SHOWMAXIMIZED);
    }
    site.Pause(100);
    site.PostRunCommand(9002, "");
    SendMessageA(mainWindow, WM_CAD_CMD_STATE, 0, 1);
    return 1;
}

struct DdeExecuteEntry {
    const char* prefix;
    int (*handler)(const char* text);
};

const DdeExecuteEntry kEntries[] = {
    {"{Open(", OpenDrawingEntry},
    {"{ZWinMaxDsp}", MaximizeViewEntry},
    {"{ExecCmd(", ExecCommandEntry},
    {"{ShowIcon}", MinimizeMainEntry},
    {"{ShowQ}", RefitViewEntry},
    {"{ShowWin}", RaiseMainEntry},
    {"{DDEPUT(", PutTextEntry},
    {"{FM9002(", OpenForCommand9002Entry},
};

}  // namespace

HWND CDdeExecuteSite::MainWindow() { return GetCommandHost().MainWindow(); }
HWND CDdeExecuteSite::MdiClient() { return GetMdiClientWnd(); }
HWND CDdeExecuteSite::FindView(const char* fileName) { return FindViewByFileName(fileName, nullptr); }
HWND CDdeExecuteSite::ActiveView() { return GetActiveView(); }
void CDdeExecuteSite::OpenDrawing(HWND mainWindow, const char* fileName) { OpenDrawingFile(mainWindow, fileName); }
void CDdeExecuteSite::PostRunCommand(int id, const char* argument)
{
    GetSystemCommandDispatcher().PostRunCommandWithText(static_cast<WPARAM>(id), argument);
}
void CDdeExecuteSite::Pause(DWORD milliseconds) { Sleep(milliseconds); }

CDdeExecuteSite& GetDdeExecuteSite() { return *g_site; }
void SetDdeExecuteSite(CDdeExecuteSite* site) { g_site = site ? site : &g_defaultSite; }

int RunDdeExecute(const char* text)
{
    if (text == nullptr) return 0;
    // A long string is logged cut on a character boundary.
    char line[320];
    char shown[280];
    DbcsCopy(shown, sizeof shown, text);
    std::snprintf(line, sizeof line, "Execute Message (%s)", shown);
    Log(2, line);
    for (const DdeExecuteEntry& entry : kEntries) {
        if (std::strncmp(text, entry.prefix, std::strlen(entry.prefix)) == 0) return entry.handler(text);
    }
    return 0;
}

int IsDdeTextPending() { return g_ddeTextPending; }
void ClearDdeTextPending() { g_ddeTextPending = 0; }
const char* GetDdeText() { return g_ddeText; }
const char* GetDdeFileName() { return g_fileName; }
