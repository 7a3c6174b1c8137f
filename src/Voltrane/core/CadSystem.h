// The program's one application object: the settings records, the command catalogue and the
// run-time values that every subsystem reads, with the start-up and shutdown stages.
#pragma once

#include <windows.h>

#include <functional>

#include "CommandIds.h"

#include "core/ConfigData.h"
#include "core/IniValue.h"
#include "core/LocalSettings.h"

class CMainAccelerator;
namespace seam {
class StartupSubsystems;
}

class CCadSystem {
public:
    // Members in construction order.
    int multiBoot = 0;             // MULTIBOOT taken at start: 0 refuses a second start
    HWND appPanelWnd = nullptr;    // the application panel, stored by the frame's second stage
    ConfigData config;             // "ConfigData.xml"; the host library keeps its address
    LocalSettingsSetup setup;      // "LocalSettings.xml": start-up and option settings
    LocalSettingsWindow localWindow;  // "LocalSettings.xml": window and panel layout
    LocalSettingsStackCmd stackCmd;   // "LocalSettings.xml": recent commands
    int keyCursorMode = 0;         // keyboard cursor mode of the drawing views
    CIniValueDouble maxCoordValue{"CONFIG", "MAX_COORD_VALUE", 1e100};  // handed to the engine
    int currentPage = 0;           // last page made current through SetCurrentLayer
    int currentLayer = 0;          // last layer made current through SetCurrentLayer
    int mdiMaximized = 0;          // drawing windows shown maximised
    HINSTANCE hInstance = nullptr;
    int lowResPanel = 0;           // command panels use their low-resolution layout
    int currentCommandId = 0;      // the command the dispatcher is running
    int initStatus = 0;            // start-up status: 0 ok, 1 ended in the first stage, -3, -555, -556

    // First stage, before any window: 0 go on; 1 this start ends; -3 settings not loaded.
    int Initialize(HINSTANCE instance, HINSTANCE previous, const char* commandLine, int showCommand);
    // Second stage, from the frame's posted start message: 0, or a negative failure code.
    int SubInitialize(HWND mainFrame, HWND statusBar, const char* commandLine);
    // Shutdown after the message loop; saves the per-user state only when initStatus is 0.
    int Terminate(HINSTANCE instance);

    // Makes the layer (0..1023) of the page (0..256) the program's input layer: the active
    // drawing's current page and that page's current layer, the active view's block and this
    // object. Nothing without an active drawing or with numbers out of range. (Defined with
    // the drawing's layers.)
    void SetCurrentLayer(int page, int layer);

    // The settings load step: hands the settings record to the host library and publishes
    // the settings. 1, or 0 when the step cannot go on.
    int LoadSettings();
    // View command 3800: writes the settings record into the program folder's
    // "ConfigData.xml" after a confirmation. 0.
    int SaveConfigData(int commandId);
    // Writes "LocalSettings.xml" in the per-user folder; 0 written, -1 not.
    int SaveLocalSettings();
    // Writes the highlight colour to "LocalSettings.ini" (the per-user one for null; another
    // extension is replaced by ".ini"). 0.
    int WriteLocalSettingsIni(const char* iniPath);

    // The key filter before translation: 1 handled, 0 not, -1 the key belongs to an open
    // parameter-panel list and must reach it untouched.
    int PreTranslateKey(HWND window, MSG* msg, CMainAccelerator* accelerator);
    // TranslateAcceleratorA, except for the in-place edit field of a parameter panel (0).
    int TranslateAccel(HWND window, HACCEL table, MSG* msg);

    // Switches the help texts of the first command panel's buttons on (mode not 0) or off.
    void SetCommandPanelButtonMode(WORD mode);

    // 1 for link modes 0 and 99, 2 for 1 to 5, 3 for 10, 0 otherwise (also without a
    // hand-off file).
    int GetStartMode() const;
    // Hides the main window in the hand-off link modes 1 to 5.
    void AdjustShowCommand(int* showCommand) const;

    // The subsystems the stages ask: the program's own, or a test's double (null gives the
    // program's own back).
    void SetStartupSubsystems(seam::StartupSubsystems* subsystems);
    seam::StartupSubsystems& Subsystems() const;

private:
    seam::StartupSubsystems* m_subsystems = nullptr;

    // Posts the one start action of the second stage.
    void PostStartAction(HWND mainFrame);

    friend CCadSystem& GetCadSystem();
    CCadSystem() = default;
    CCadSystem(const CCadSystem&) = delete;
    CCadSystem& operator=(const CCadSystem&) = delete;
};

CCadSystem& GetCadSystem();

// The main frame window (none before the second start stage) and the status bar window.
HWND GetMainFrameWnd();
// Stores the main frame handle, as the second start stage does (tests stand in a window).
void SetMainFrameWnd(HWND mainFrame);
HWND GetStatusBarWnd();

// The hand-off start mode read from "to_cad.atr"; -1 when there is no hand-off file.
int GetLinkMode();
void SetLinkMode(int linkMode);

// The link command posted as the start action in link modes 1 to 5; 0 for other modes.
int LinkCommandOf(int linkMode);

// What decides the one start action of the second start stage.
struct StartActionInput {
    int startMode = 0;
    int linkMode = -1;
    int previousRunCrashed = 0;   // the backup manager found a run that did not end normally
    int autoCommand = 0;          // AUTOCMD
    int startActionDone = 0;      // a boot command was already posted
    int commandLineFileFound = 0;
    int startOpenDialogSetting = 0;  // iStartOpenDlgFg
    int hasActiveView = 0;
    int newWindowPosted = 0;      // the command line asked for an empty drawing window
    // Offers to reopen the backups; 0 when they were reopened.
    std::function<int()> offerRecovery;
};

// The command posted as the start action (wParam of WM_COMMAND), or 0 for none; a link
// command sets *linkCommand.
WPARAM ChooseStartAction(const StartActionInput& input, bool* linkCommand);

// The start dialog command: 4050 with notification code 1.
constexpr WPARAM kStartDialogCommand = MAKEWPARAM(kCmdStartDialog, 1);

// Second-start search name and main frame window class.
extern const char kMainFrameClassName[];

// Set as the first step of Terminate.
bool IsTerminating();

// Colours of the coloured push buttons by button kind (settings COLOR_BTN_ATTR): kind 0
// uses entry 1, kind 1 entry 2, kind 2 entry 3, kind 4 entry 0, every other kind entry 19.
COLORREF GetDialogBackColor();
COLORREF GetColorButtonBkColor(int kind);
COLORREF GetColorButtonTextColor(int kind);
COLORREF GetColorButtonDisabledColor(int kind);
int ColorButtonEntryOfKind(int kind);
void DrawColorButton(const DRAWITEMSTRUCT* item);
void DrawColorButtonOfKind(const DRAWITEMSTRUCT* item, int kind);
