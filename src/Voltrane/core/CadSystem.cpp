#include "core/CadSystem.h"

#include "CommandIds.h"
#include "Dravik.h"
#include "DravikDb.h"
#include "HostMessages.h"
#include "core/CommandLine.h"
#include "core/Dbcs.h"
#include "core/HandOffFiles.h"
#include "core/KeyPreTranslation.h"
#include "core/ProgramPaths.h"
#include "core/SecondStart.h"
#include "core/SettingsMessage.h"
#include "core/SingleInstance.h"
#include "core/StartupSeams.h"
#include "core/SettingsFiles.h"
#include "core/SystemLog.h"
#include "mainframe/FrameServices.h"

const char kMainFrameClassName[] = "Brisco001";

namespace {

HWND g_mainFrameWnd = nullptr;
HWND g_statusBarWnd = nullptr;
int g_linkMode = -1;
bool g_isTerminating = false;

bool IsLinkCommandMode(int linkMode) { return linkMode >= 1 && linkMode <= 5; }

}  // namespace

CCadSystem& GetCadSystem()
{
    static CCadSystem system;
    return system;
}

HWND GetMainFrameWnd() { return g_mainFrameWnd; }
void SetMainFrameWnd(HWND mainFrame) { g_mainFrameWnd = mainFrame; }
HWND GetStatusBarWnd() { return g_statusBarWnd; }
int GetLinkMode() { return g_linkMode; }
void SetLinkMode(int linkMode) { g_linkMode = linkMode; }
bool IsTerminating() { return g_isTerminating; }

int CCadSystem::Initialize(HINSTANCE instance, HINSTANCE /*previous*/,
                           const char* commandLine, int /*showCommand*/)
{
    hInstance = instance;
    g_isTerminating = false;
    g_linkMode = ReadLinkMode(2);
    RegisterSystemLogMessage();
    // The program brings its own windows to the front (a hand-over, a link command).
    DWORD version = GetVersion();
    if ((version & 0x80000000u) == 0 && LOBYTE(LOWORD(version)) > 4)
        SystemParametersInfoA(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);

    // Settings: the per-user copies are read here (each read asks for its path, which creates
    // the folder and seeds the copy from the program folder when that one is newer) and are
    // applied by the load step.
    ReadConfigDataXml(false);
    ReadLocalSettingsXml(false);
    multiBoot = config.MULTIBOOT;
    // The engine needs its coordinate limit before any database exists.
    maxCoordValue.Load("1.0e100");
    ZUriSetMaxCoord(maxCoordValue.flag, maxCoordValue.value);

    // A running instance takes the command line over, or this start is refused.
    if (CheckSecondStart(commandLine, multiBoot, GetInstanceSemaphore()) != 0) {
        initStatus = 1;
        return 1;
    }

    // The key filter and the start options are served to the main frame from here on.
    FrameServices& services = GetFrameServices();
    services.preTranslateKey = PreTranslateKeyService;
    services.bootOptionKey = GetBootOptionKey;
    services.bootOptionText = GetBootOptionText;

    UINT wheelMessage = RegisterWindowMessageA("MSH_WHEELSUPPORT_MSG");
    HWND wheelWindow = FindWindowA("MouseZ", "Magellan MSWHEEL");
    if (wheelWindow != nullptr && wheelMessage != 0) SendMessageA(wheelWindow, wheelMessage, 0, 0);
    seam::ClearViewTable();

    if (LoadSettings() == 0) {
        initStatus = -3;
        return -3;
    }
    seam::ReadCommandDefinitions();
    int lowResHeight = GetLocalSettingsLive().iCmdPanelTypeLowResoH;
    lowResPanel = lowResHeight >= 1 && GetSystemMetrics(SM_CYSCREEN) <= lowResHeight ? 1 : 0;
    Dader_SetCmdPanelType(lowResPanel);
    seam::RegisterCalculatorClass(instance);
    seam::SetNoDrawingToolColor(4);
    seam::LoadViewCursors(instance);
    seam::RegisterControlClasses(instance);
    seam::RegisterLayoutWindowClasses(instance);
    seam::LoadButtonImageSets();
    OpenSystemLog();

    // Without panel fonts the panels fall back to the system font; the remaining steps still
    // run, so that the input history read here is the one written back at exit.
    if (Subsystems().CreatePanelFonts() == 0) WriteSystemLog(0, "Error", "パネルフォントの作成に失敗しました");
    seam::InitPaperTable();
    std::string backupList = std::string(GetResolvedFilePaths().backupDir) + "backupfile.inf";
    if (GetResolvedFilePaths().backupDir[0] != '\0' && GetFileAttributesA(backupList.c_str()) != INVALID_FILE_ATTRIBUTES)
        DeleteFileA(backupList.c_str());
    if (!IsLinkCommandMode(g_linkMode)) seam::LoadInputHistory();
    seam::RegisterInputScaleWindowClass(instance, g_mainFrameWnd);
    seam::LoadViewArrowCursor();
    return 0;
}

void CCadSystem::SetStartupSubsystems(seam::StartupSubsystems* subsystems) { m_subsystems = subsystems; }

seam::StartupSubsystems& CCadSystem::Subsystems() const
{
    return m_subsystems != nullptr ? *m_subsystems : seam::ProgramSubsystems();
}

int CCadSystem::LoadSettings()
{
    // The host library reads the settings through this address for the whole run.
    Dader_SetTheConfigDataPtr(&config);
    config.Apply();
    if (Subsystems().AllocRightMenuBuffer() == 0) return 0;
    if (Subsystems().LoadRightMenuFile(config.file.rmenuPath.c_str()) == 0) {
        char text[400] = {};
        char path[MAX_PATH] = {};
        DbcsCopy(path, sizeof path, config.file.rmenuPath.c_str());
        wsprintfA(text, "%s ファイルが無いか異常です。", path);
        ShowSettingsMessage(g_mainFrameWnd, text, "エラー", MB_ICONERROR);
    }
    WriteSystemLog(2, "System", "システム初期化 OK");
    setup.ApplyAll();
    localWindow.Apply();
    seam::StartBackupManager();
    return 1;
}

int CCadSystem::WriteLocalSettingsIni(const char* iniPath)
{
    std::string path = iniPath != nullptr ? std::string(iniPath) : GetLocalSettingsIniPath(false, false);
    path = LocalSettingsIniPathFor(path.c_str());
    setup.WriteHighlightColor(path, true);
    return 0;
}

int CCadSystem::SubInitialize(HWND mainFrame, HWND statusBar, const char* commandLine)
{
    g_mainFrameWnd = mainFrame;
    g_statusBarWnd = statusBar;
    // The host library sends its messages to the main frame from now on.
    Dader_InitCadApi(mainFrame);
    seam::StartDdeServer();
    seam::InitDdeClient();
    seam::AllocRasterBuffers();

    ProcessCommandLine(mainFrame, commandLine, -1);
    const char* autoOpen = GetResolvedFilePaths().autoOpenPath;
    if (autoOpen[0] != '\0') PostMessageA(mainFrame, WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(autoOpen));
    seam::SyncSnapButtons();

    if (Subsystems().LoadRecentCommands() == 0) {
        WriteSystemLog(0, "Error", "システム StackCmd の初期化に失敗しました");
        initStatus = -555;
        return -555;
    }
    if (GetStartMode() == 2) ShowWindow(mainFrame, SW_MINIMIZE);

    int result = 0;
    if (Subsystems().CreateRubberBandDbs() == 0) {
        WriteSystemLog(0, "Error", "ラバーDBの初期化に失敗しました");
        initStatus = -556;
        result = -556;
    }
    g_isTerminating = false;

    HINSTANCE frameInstance =
        mainFrame != nullptr ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(mainFrame, GWLP_HINSTANCE)) : hInstance;
    const DWORD popupStyle = 0x80CC0000;  // popup with caption, system menu and sizing frame
    HWND layoutView = CreateWindowExA(0, "#LAYOUTVIEW#", "Layout View", popupStyle, 0, 0, 0, 0, mainFrame,
                                      nullptr, frameInstance, nullptr);
    HWND loupeView = CreateWindowExA(0, "#ROUPEVIEW#", "ルーペ表示", popupStyle, 0, 0, 0, 0, mainFrame,
                                     nullptr, frameInstance, nullptr);
    if (layoutView != nullptr) ShowWindow(layoutView, SW_HIDE);
    if (loupeView != nullptr) ShowWindow(loupeView, SW_HIDE);
    seam::SetLayoutViewWindows(layoutView, loupeView);

    SetActiveWindow(mainFrame);
    UpdateWindow(mainFrame);

    // The frame is about to close after a failed stage: it gets no start action.
    if (result == 0) PostStartAction(mainFrame);

    if (Subsystems().CreateRightMenuPopup(mainFrame, hInstance) == 0) result = -1;
    if (result < 0) {
        ShowSettingsMessage(mainFrame, "システムの初期化に失敗しました。(CMainFrame::SubInitialize)\n作業を中止します。",
                            "エラー", MB_ICONWARNING);
    }
    return result;
}

void CCadSystem::PostStartAction(HWND mainFrame)
{
    CommandLineState& commandLine = GetCommandLineState();
    StartActionInput input;
    input.startMode = GetStartMode();
    input.linkMode = g_linkMode;
    input.previousRunCrashed = seam::PreviousRunCrashed();
    input.autoCommand = config.AUTOCMD;
    input.startActionDone = commandLine.startActionDone;
    input.commandLineFileFound = commandLine.fileFound;
    input.startOpenDialogSetting = setup.iStartOpenDlgFg;
    input.hasActiveView = seam::GetActiveView() != nullptr ? 1 : 0;
    input.newWindowPosted = commandLine.newWindowPosted;
    input.offerRecovery = [this, mainFrame] { return Subsystems().OfferBackupRecovery(mainFrame, 1); };
    bool link = false;
    WPARAM command = ChooseStartAction(input, &link);
    if (command == 0) return;
    PostMessageA(mainFrame, WM_COMMAND, command, 0);
    if (link) commandLine.startActionDone = 1;
}

int CCadSystem::Terminate(HINSTANCE instance)
{
    g_isTerminating = true;
    // The per-user state is saved only after a start that completed. A linked run did not
    // read the input history, so it leaves the stored one as it was.
    if (initStatus == 0) {
        if (!IsLinkCommandMode(g_linkMode)) seam::SaveInputHistory();
        seam::SaveRecentCommands();
        seam::FreeRightMenuBuffer();
        SaveLocalSettings();
    }
    seam::StopDdeServer(g_mainFrameWnd);
    seam::TermDdeClient(g_mainFrameWnd);
    seam::CloseHelpViewers();
    ZUriAllFreeEBuffer();
    seam::DeletePanelFont();
    seam::FreeButtonImageSets();
    seam::FreeCommandPanelCatalogues();
    seam::DeleteRubberBandDbs();
    seam::FreeRasterBuffers();
    seam::FreePageDialogRecords();
    seam::FreePasteDb();
    seam::DestroyInputScaleWindow();

    seam::UnregisterControlClasses(instance);
    seam::UnregisterCalculatorClass(instance);
    seam::UnregisterLayoutWindowClasses(instance);
    // The clean end of the run: only the process that started the backups clears the mark.
    seam::EndBackupManager();
    return 0;
}

void CCadSystem::SetCommandPanelButtonMode(WORD mode)
{
    HWND frame = GetMainFrameWnd();
    if (frame == nullptr) return;
    HWND panel = reinterpret_cast<HWND>(SendMessageA(frame, WM_CAD_GET_PANEL_WINDOW, 0, 0));
    if (panel != nullptr) SendMessageA(panel, WM_COMMAND, MAKEWPARAM(kCmdPanelTooltipMode, mode), 0);
}

int LinkCommandOf(int linkMode)
{
    switch (linkMode) {
    case 1: return kCmdLinkMode1;
    case 2: return kCmdLinkMode2;
    case 3: return kCmdLinkMode3;
    case 4: return kCmdLinkMode4;
    case 5: return kCmdLinkMode5;
    default: return 0;
    }
}

WPARAM ChooseStartAction(const StartActionInput& input, bool* linkCommand)
{
    if (linkCommand != nullptr) *linkCommand = false;
    if (input.startMode == 2) {
        int command = LinkCommandOf(input.linkMode);
        if (command != 0 && linkCommand != nullptr) *linkCommand = true;
        return static_cast<WPARAM>(command);
    }
    if (input.previousRunCrashed && input.offerRecovery && input.offerRecovery() == 0) return 0;
    if (input.autoCommand != 0 && input.startActionDone == 0) return static_cast<WPARAM>(input.autoCommand);
    // A drawing window the command line asked for counts as the view that is there: the start
    // dialog would be a second start action beside it.
    if (input.commandLineFileFound == 0 && input.startOpenDialogSetting == 0 && input.hasActiveView == 0 &&
        input.newWindowPosted == 0 && input.startActionDone == 0)
        return kStartDialogCommand;
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
