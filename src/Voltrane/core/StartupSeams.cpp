#include "core/StartupSeams.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands/CommandCatalog.h"
#include "commands/CommandRunState.h"
#include "commands/InterruptCommands.h"
#include "commands/VisibleAgainstBackground.h"
#include "controls/ColorPicker.h"
#include "controls/KitButtons.h"
#include "controls/LineEndPickers.h"
#include "controls/LineTypePicker.h"
#include "controls/LineWidthPicker.h"
#include "controls/PickerHost.h"
#include "controls/PointLayerPickers.h"
#include "core/CadSystem.h"
#include "core/ProgramPaths.h"
#include "core/SystemLog.h"
#include "mainframe/FrameServices.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace seam {

namespace {

HWND g_layoutView = nullptr;
HWND g_loupeView = nullptr;
int g_backupStarted = 0;
int g_previousRunCrashed = 0;

const char kRunningSection[] = "RunningInstances";

// Window procedures of the view popups and the layout cells until the views answer them.
LRESULT CALLBACK LayoutCellWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
LRESULT CALLBACK LayoutViewWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }
LRESULT CALLBACK LoupeViewWndProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

// A running mark names a process by its id and its creation time: process ids are reused,
// and a mark left by a crashed run must not be taken for a live instance that got its id.
struct RunningMark {
    DWORD pid;
    std::string stamp;
};

std::string CreationStamp(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::string();
    unsigned long long value =
        (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return std::to_string(value);
}

std::string OwnStamp() { return CreationStamp(GetCurrentProcess()); }

bool ProcessAlive(const RunningMark& mark)
{
    if (mark.pid == 0) return false;
    if (mark.pid == GetCurrentProcessId()) return true;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, mark.pid);
    if (process == nullptr) return false;
    bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT && CreationStamp(process) == mark.stamp;
    CloseHandle(process);
    return alive;
}

// The running marks in the ini file.
std::vector<RunningMark> RunningMarks(const std::string& ini)
{
    std::vector<char> keys(32768);
    DWORD n = GetPrivateProfileStringA(kRunningSection, nullptr, "", keys.data(),
                                       static_cast<DWORD>(keys.size()), ini.c_str());
    std::vector<RunningMark> marks;
    for (DWORD i = 0; i < n;) {
        const char* key = keys.data() + i;
        size_t len = std::strlen(key);
        if (len == 0) break;
        char stamp[64] = {};
        GetPrivateProfileStringA(kRunningSection, key, "", stamp, sizeof stamp, ini.c_str());
        marks.push_back({static_cast<DWORD>(std::strtoul(key, nullptr, 10)), stamp});
        i += static_cast<DWORD>(len) + 1;
    }
    return marks;
}

std::string PidKey(DWORD pid) { return std::to_string(pid); }

}  // namespace

StartupSubsystems& ProgramSubsystems()
{
    static StartupSubsystems subsystems;
    return subsystems;
}

// ---- drawing views: nothing to hold until the views exist ----
void ClearViewTable() { ::ClearViewTable(); }
void LoadViewCursors(HINSTANCE instance) { ::LoadViewCursors(instance); }
void LoadViewArrowCursor() { ::LoadViewArrowCursor(); }
int RegisterInputScaleWindowClass(HINSTANCE, HWND) { return kNotAvailable; }
void DestroyInputScaleWindow() {}
int AllocRasterBuffers() { return kNotAvailable; }
void FreeRasterBuffers() {}
int CreateRubberBandDbs() { return kNotAvailable; }
void DeleteRubberBandDbs() {}
int IsKeyCursorMode() { return ::IsKeyCursorMode(); }
HWND GetActiveView() { return ::GetActiveView(); }

void SetLayoutViewWindows(HWND layoutView, HWND loupeView)
{
    g_layoutView = layoutView;
    g_loupeView = loupeView;
}
HWND GetLayoutViewWindow() { return g_layoutView; }
HWND GetLoupeViewWindow() { return g_loupeView; }

int RegisterLayoutWindowClasses(HINSTANCE instance)
{
    const struct {
        const char* name;
        WNDPROC proc;
        int extra;
        HBRUSH brush;
    } classes[] = {
        {"LAY_WND", LayoutCellWndProc, 8, nullptr},
        {"#LAYOUTVIEW#", LayoutViewWndProc, 4, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))},
        {"#ROUPEVIEW#", LoupeViewWndProc, 4, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))},
    };
    for (const auto& c : classes) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = c.proc;
        wc.cbWndExtra = c.extra;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = c.brush;
        wc.lpszClassName = c.name;
        if (RegisterClassA(&wc) == 0) return 0;
    }
    return 1;
}

int UnregisterLayoutWindowClasses(HINSTANCE instance)
{
    UnregisterClassA("LAY_WND", instance);
    UnregisterClassA("#LAYOUTVIEW#", instance);
    UnregisterClassA("#ROUPEVIEW#", instance);
    return 1;
}

// ---- panels, pickers and the control kit ----
void SetNoDrawingToolColor(int) {}
int CreatePanelFonts() { return kNotAvailable; }
void DeletePanelFont() {}
int AllocRightMenuBuffer() { return kNotAvailable; }
void FreeRightMenuBuffer() {}
// The menu file is read by the panels; until they exist nothing is read, so nothing can be
// reported missing or broken.
int LoadRightMenuFile(const char*) { return kNotAvailable; }
int CreateRightMenuPopup(HWND, HINSTANCE) { return kNotAvailable; }
void SyncSnapButtons() {}
int RegisterCalculatorClass(HINSTANCE) { return kNotAvailable; }
int UnregisterCalculatorClass(HINSTANCE) { return kNotAvailable; }
namespace {

// What the pickers read of the program: the active drawing view, its database and its
// current colour.
void InstallPickerHostCalls()
{
    PickerHostCalls& calls = GetPickerHostCalls();
    calls.activeView = [] { return ::GetActiveView(); };
    calls.activeDb = [] { return ::GetActiveDb(); };
    calls.viewColorNumber = [](HWND view) {
        const PDBINFO* block = GetViewBlock(view);
        return block != nullptr ? static_cast<int>(block->colour) : -1;
    };
    calls.visibleAgainstBackground = VisibleAgainstBackground;
    calls.restoreInputFocus = FrameRestoreInputFocus;
    calls.mainFrame = GetMainFrameWnd;
    calls.layerPickMode = [] { return GetCommandRunState().layerPickMode; };
}

}  // namespace

ControlClassRegistrations::ControlClassRegistrations()
    : kitButtons(RegisterKitButtonClasses),
      panelClasses(nullptr),
      layerPicker(RegisterLayerPickerClasses),
      colorPicker(RegisterColorPickerClasses),
      lineTypePicker(RegisterLineTypePickerClasses),
      pointMarkPicker(RegisterPointMarkPickerClasses),
      lineWidthPicker(RegisterLineWidthPickerClasses),
      startMarkPicker(RegisterLineStartMarkPickerClasses),
      endMarkPicker(RegisterLineEndMarkPickerClasses)
{
}

ControlClassRegistrations& GetControlClassRegistrations()
{
    static ControlClassRegistrations registrations;
    return registrations;
}

// The kit's buttons first, then the panels' classes, then the seven pickers. A failed
// registration is logged and start-up goes on: windows of that class cannot be made.
void RegisterControlClasses(HINSTANCE instance)
{
    InstallPickerHostCalls();
    const ControlClassRegistrations& r = GetControlClassRegistrations();
    if (r.kitButtons(instance) == 0) WriteSystemLog(0, "Error", "コントロールクラスの登録に失敗しました (ボタン)");
    if (r.panelClasses != nullptr) r.panelClasses(instance);
    const struct {
        int (*registration)(HINSTANCE);
        const char* name;
    } pickers[] = {
        {r.layerPicker, "cmdlayerclass"},      {r.colorPicker, "cmdcolorclass"},
        {r.lineTypePicker, "cmdltypeclass"},   {r.pointMarkPicker, "cmdpointclass"},
        {r.lineWidthPicker, "cmdlwidclass"},   {r.startMarkPicker, "cmdltermsclass"},
        {r.endMarkPicker, "cmdltermeclass"},
    };
    for (const auto& picker : pickers)
        if (picker.registration(instance) == 0)
            WriteSystemLog(0, "Error", "コントロールクラスの登録に失敗しました (%s)", picker.name);
}

void UnregisterControlClasses(HINSTANCE instance)
{
    UnregisterKitButtonClasses(instance);
    UnregisterColorPickerClasses(instance);
    UnregisterLineStartMarkPickerClass(instance);
    UnregisterLineEndMarkPickerClass(instance);
    UnregisterLineTypePickerClass(instance);
    UnregisterLineWidthPickerClass(instance);
    UnregisterLayerPickerClasses(instance);
    UnregisterPointMarkPickerClass(instance);
}

ParameterPanelHandles& GetParameterPanelHandles()
{
    static ParameterPanelHandles handles;
    return handles;
}

// ---- commands ----
int ReadCommandDefinitions() { return GetLumbraCmd().ReadCommandDefinitions(); }
int IsInterruptJumpModeArmed() { return ::IsInterruptJumpModeArmed(); }
void SetInterruptJumpModeArmed(int armed) { ::SetInterruptJumpModeArmed(armed); }
int LoadRecentCommands() { return kNotAvailable; }
void SaveRecentCommands() {}
void LoadInputHistory() {}
void SaveInputHistory() {}
int StartDdeServer() { return kNotAvailable; }
int InitDdeClient() { return kNotAvailable; }
void StopDdeServer(HWND) {}
void TermDdeClient(HWND) {}

// ---- drawings, files and backups ----
void InitPaperTable() {}
void FreePageDialogRecords() {}
void FreePasteDb() {}

int GetDrawingFileType(const char* path)
{
    if (path == nullptr) return 0;
    const char* dot = std::strrchr(path, '.');
    if (dot == nullptr || std::strchr(dot, '\\') != nullptr) return 0;
    size_t length = std::strlen(dot);
    if (length > 5) return 0;
    if (length == 5) return lstrcmpiA(dot, ".otcf") == 0 ? 1 : 0;
    if (lstrcmpiA(dot, ".tcf") == 0) return 12;
    const struct {
        const char* ext;
        int type;
    } types[] = {{".DXF", 4},  {".JWC", 5},  {".JWK", 5},  {".DWG", 7},  {".TIF", 8},
                 {".SFC", 13}, {".P21", 13}, {".JWW", 15}, {".PDF", 16}};
    for (const auto& t : types)
        if (lstrcmpiA(dot, t.ext) == 0) return t.type;
    return 0;
}

int FindFirstFileExists(const char* path)
{
    if (path == nullptr || *path == '\0') return 0;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path, &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    FindClose(find);
    return 1;
}

void StartBackupManager()
{
    std::string ini = GetUserIniPath();
    int flag = static_cast<int>(GetPrivateProfileIntA("System", "FatalError", 0, ini.c_str()));
    // A mark of a process that is gone is a run that did not end normally; a mark of a live
    // process is another instance, whose flag says nothing about a crash.
    bool otherAlive = false;
    bool staleMark = false;
    for (const RunningMark& mark : RunningMarks(ini)) {
        if (mark.pid != GetCurrentProcessId() && ProcessAlive(mark)) {
            otherAlive = true;
        } else {
            staleMark = true;
            WritePrivateProfileStringA(kRunningSection, PidKey(mark.pid).c_str(), nullptr, ini.c_str());
        }
    }
    g_previousRunCrashed = staleMark || (flag != 0 && !otherAlive) ? 1 : 0;
    WritePrivateProfileStringA(kRunningSection, PidKey(GetCurrentProcessId()).c_str(), OwnStamp().c_str(),
                               ini.c_str());
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    g_backupStarted = 1;
}

void EndBackupManager()
{
    if (!g_backupStarted) return;
    std::string ini = GetUserIniPath();
    WritePrivateProfileStringA(kRunningSection, PidKey(GetCurrentProcessId()).c_str(), nullptr, ini.c_str());
    bool otherAlive = false;
    for (const RunningMark& mark : RunningMarks(ini))
        if (ProcessAlive(mark)) otherAlive = true;
    if (!otherAlive) WritePrivateProfileStringA("System", "FatalError", "0", ini.c_str());
    g_backupStarted = 0;
}

int BackupManagerStarted() { return g_backupStarted; }
int PreviousRunCrashed() { return g_previousRunCrashed; }

// Reopening backups needs the drawing files; until then nothing is reopened, and the start
// goes on as after a declined offer.
int OfferBackupRecovery(HWND, int) { return -1; }

}  // namespace seam
