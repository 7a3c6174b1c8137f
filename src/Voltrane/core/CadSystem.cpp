#include "core/CadSystem.h"

#include "Dravik.h"
#include "DravikDb.h"
#include "core/ProgramPaths.h"
#include "core/SettingsFiles.h"
#include "core/SystemLog.h"

const char kMainFrameClassName[] = "Brisco001";

namespace {

HWND g_mainFrameWnd = nullptr;
HWND g_statusBarWnd = nullptr;
int g_linkMode = -1;
bool g_isTerminating = false;

}  // namespace

CCadSystem& GetCadSystem()
{
    static CCadSystem system;
    return system;
}

HWND GetMainFrameWnd() { return g_mainFrameWnd; }
HWND GetStatusBarWnd() { return g_statusBarWnd; }
int GetLinkMode() { return g_linkMode; }
void SetLinkMode(int linkMode) { g_linkMode = linkMode; }
bool IsTerminating() { return g_isTerminating; }

int CCadSystem::Initialize(HINSTANCE instance, HINSTANCE /*previous*/,
                           const char* /*commandLine*/, int /*showCommand*/)
{
    hInstance = instance;
    g_isTerminating = false;
    RegisterSystemLogMessage();

    // Settings: the per-user copies are read here (each read asks for its path, which creates
    // the folder and seeds the copy from the program folder when that one is newer) and are
    // applied by the load step.
    ReadConfigDataXml(false);
    ReadLocalSettingsXml(false);
    multiBoot = config.MULTIBOOT;
    // The engine needs its coordinate limit before any database exists.
    maxCoordValue.Load("1.0e100");
    ZUriSetMaxCoord(maxCoordValue.flag, maxCoordValue.value);

    if (LoadSettings() == 0) {
        initStatus = -3;
        return -3;
    }
    OpenSystemLog();
    return 0;
}

int CCadSystem::LoadSettings()
{
    // The host library reads the settings through this address for the whole run.
    Dader_SetTheConfigDataPtr(&config);
    config.Apply();
    WriteSystemLog(2, "System", "システム初期化 OK");
    setup.ApplyAll();
    localWindow.Apply();
    return 1;
}

int CCadSystem::WriteLocalSettingsIni(const char* iniPath)
{
    std::string path = iniPath != nullptr ? std::string(iniPath) : GetLocalSettingsIniPath(false, false);
    path = LocalSettingsIniPathFor(path.c_str());
    setup.WriteHighlightColor(path, true);
    return 0;
}

int CCadSystem::SubInitialize(HWND mainFrame, HWND statusBar, const char* /*commandLine*/)
{
    g_mainFrameWnd = mainFrame;
    g_statusBarWnd = statusBar;
    // The host library sends its messages to the main frame from now on.
    Dader_InitCadApi(mainFrame);
    return 0;
}

int CCadSystem::Terminate(HINSTANCE /*instance*/)
{
    g_isTerminating = true;
    // The per-user state is saved only after a start that completed.
    if (initStatus == 0) SaveLocalSettings();
    ZUriAllFreeEBuffer();
    return 0;
}

int CCadSystem::GetStartMode() const
{
    switch (g_linkMode) {
    case 0:
    case 99:
        return 1;
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
        return 2;
    case 10:
        return 3;
    default:
        return 0;
    }
}

void CCadSystem::AdjustShowCommand(int* showCommand) const
{
    if (showCommand != nullptr && g_linkMode >= 1 && g_linkMode <= 5) *showCommand = SW_HIDE;
}

int ColorButtonEntryOfKind(int kind)
{
    switch (kind) {
    case 0: return 1;
    case 1: return 2;
    case 2: return 3;
    case 4: return 0;
    default: return 19;
    }
}

COLORREF GetDialogBackColor() { return GetCadSystem().config.color.COLOR_DLG_BK.value; }

COLORREF GetColorButtonBkColor(int kind)
{
    return GetCadSystem().config.color.COLOR_BTN_ATTR[ColorButtonEntryOfKind(kind)].bkColor;
}

COLORREF GetColorButtonTextColor(int kind)
{
    return GetCadSystem().config.color.COLOR_BTN_ATTR[ColorButtonEntryOfKind(kind)].textColor;
}

COLORREF GetColorButtonDisabledColor(int kind)
{
    return GetCadSystem().config.color.COLOR_BTN_ATTR[ColorButtonEntryOfKind(kind)].disabledColor;
}

void DrawColorButton(const DRAWITEMSTRUCT* item)
{
    const ColorBtnAttrEx& attr = GetCadSystem().config.color.COLOR_BTN_ATTR[0];
    QmCadApi_ColorBtn_DrawItem(item, attr.bkColor, attr.textColor, attr.disabledColor);
}

void DrawColorButtonOfKind(const DRAWITEMSTRUCT* item, int kind)
{
    const ColorBtnAttrEx& attr = GetCadSystem().config.color.COLOR_BTN_ATTR[ColorButtonEntryOfKind(kind)];
    QmCadApi_ColorBtn_DrawItem(item, attr.bkColor, attr.textColor, attr.disabledColor);
}
