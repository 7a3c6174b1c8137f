#include "core/StartupSeams.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "commands/CommandCatalog.h"
#include "commands/CommandRunState.h"
#include "commands/DdeClient.h"
#include "commands/DdeServer.h"
#include "commands/HelpFiles.h"
#include "commands/InputHistory.h"
#include "commands/InterruptCommands.h"
#include "commands/RecentCommands.h"
#include "commands/VisibleAgainstBackground.h"
#include "controls/ColorPicker.h"
#include "controls/KitButtons.h"
#include "controls/LayerPicker.h"
#include "controls/LineEndPickers.h"
#include "controls/LineTypePicker.h"
#include "controls/LineWidthPicker.h"
#include "controls/PickerHost.h"
#include "controls/PointMarkerPicker.h"
#include "core/CadSystem.h"
#include "core/ProgramPaths.h"
#include "core/SystemLog.h"
#include "dialogs/Calculator.h"
#include "drawing/CadFileBackup.h"
#include "drawing/DrawingFileType.h"
#include "drawing/PageDialogRecords.h"
#include "drawing/PaperTable.h"
#include "drawing/PasteDatabase.h"
#include "mainframe/FrameServices.h"
#include "panels/CustomRightMenu.h"
#include "panels/DrawingAttributes.h"
#include "panels/RightMenu.h"
#include "panels/RightMenuFile.h"
#include "panels/SnapModes.h"
#include "panels/PanelFonts.h"
#include "panels/ButtonImageSets.h"
#include "panels/CmdPanelContent.h"
#include "view/InputScale.h"
#include "view/LayoutCells.h"
#include "view/LayoutOverview.h"
#include "view/LoupeView.h"
#include "view/RasterRotation.h"
#include "view/RubberBand.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace seam {

namespace {

HWND g_layoutView = nullptr;
HWND g_loupeView = nullptr;

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
int RegisterInputScaleWindowClass(HINSTANCE instance, HWND mainFrame)
{
    return ::RegisterInputScaleWindowClass(instance, mainFrame);
}
void DestroyInputScaleWindow() { ::DestroyInputScaleWindow(); }
int AllocRasterBuffers() { return ::AllocRasterBuffers(); }
void FreeRasterBuffers() { ::FreeRasterBuffers(); }
int CreateRubberBandDbs() { return ::CreateRubberBandDbs(); }
void DeleteRubberBandDbs() { ::DeleteRubberBandDbs(); }
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
void SetNoDrawingToolColor(int color) { DefaultDrawingAttributes().colour = color; }
int CreatePanelFonts() { return ::CreatePanelFonts(); }
void DeletePanelFont() { ::DeletePanelFont(); }
int AllocRightMenuBuffer() { return ::AllocRightMenuBuffer(); }
void FreeRightMenuBuffer() { ::FreeRightMenuBuffer(); }
int LoadRightMenuFile(const char* path) { return ::LoadRightMenuFile(path); }
int CreateRightMenuPopup(HWND mainFrame, HINSTANCE instance) { return ::CreateRightMenuPopup(mainFrame, instance); }
void SyncSnapButtons() { ::SyncSnapButtons(); }
int RegisterCalculatorClass(HINSTANCE instance) { return ::RegisterCalculatorClass(instance); }
int UnregisterCalculatorClass(HINSTANCE instance) { return ::UnregisterCalculatorClass(instance); }
void LoadButtonImageSets() { ::LoadButtonImageSets(); }
void FreeButtonImageSets() { ::FreeButtonImageSets(); }
void FreeCommandPanelCatalogues() { ::FreeCommandPanelCatalogues(); }

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
      panelClasses(RegisterPanelWindowClasses),
      layerPicker(RegisterLayerPickerClasses),
      colorPicker(RegisterColorPickerClasses),
      lineTypePicker(RegisterLineTypePickerClasses),
      pointMarkPicker(RegisterPointMarkPickerClasses),
      lineWidthPicker(RegisterLineWidthPickerClasses),
      startMarkPicker(RegisterLineStartMarkPickerClasses),
      endMarkPicker(RegisterLineEndMarkPickerClasses),
      rightMenuPopup(RegisterRightMenuPopupClasses)
{
}

ControlClassRegistrations& GetControlClassRegistrations()
{
    static ControlClassRegistrations registrations;
    return registrations;
}

// The kit's buttons first, then the panels' classes, the seven pickers and the right-click
// popup's classes. A failed registration is logged and start-up goes on: windows of that class
// cannot be made.
void RegisterControlClasses(HINSTANCE instance)
{
    InstallPickerHostCalls();
    const ControlClassRegistrations& r = GetControlClassRegistrations();
    if (r.kitButtons(instance) == 0) WriteSystemLog(0, "Error", "コントロールクラスの登録に失敗しました (ボタン)");
    if (r.panelClasses != nullptr && r.panelClasses(instance) == 0)
        WriteSystemLog(0, "Error", "コントロールクラスの登録に失敗しました (パネル)");
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
    if (r.rightMenuPopup(instance) == 0)
        WriteSystemLog(0, "Error", "コントロールクラスの登録に失敗しました (MyRPitem)");
    GetFrameServices().closeRightMenu = CloseRightMenu;
}

void UnregisterControlClasses(HINSTANCE instance)
{
    UnregisterKitButtonClasses(instance);
    UnregisterPanelWindowClasses(instance);
    UnregisterColorPickerClasses(instance);
    UnregisterLineStartMarkPickerClass(instance);
    UnregisterLineEndMarkPickerClass(instance);
    UnregisterLineTypePickerClass(instance);
    UnregisterLineWidthPickerClass(instance);
    UnregisterLayerPickerClasses(instance);
    UnregisterPointMarkPickerClass(instance);
    DestroyRightMenuPopup();
    UnregisterRightMenuPopupClasses(instance);
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
int LoadRecentCommands() { return ::LoadRecentCommands(); }
void SaveRecentCommands() { ::SaveRecentCommands(); }
void LoadInputHistory() { ::LoadInputHistory(); }
void SaveInputHistory() { ::SaveInputHistory(); }
int StartDdeServer() { return ::StartDdeServer(); }
int InitDdeClient() { return ::InitDdeClient(); }
void StopDdeServer(HWND) { ::StopDdeServer(); }
void TermDdeClient(HWND) { ::TermDdeClient(); }
void CloseHelpViewers() { DestroyCadIntHelp(); }

// ---- drawings, files and backups ----
void InitPaperTable() { ::InitPaperTable(); }
void FreePageDialogRecords() { ::FreePageDialogRecords(); }
void FreePasteDb() { ::FreePasteDb(); }

int GetDrawingFileType(const char* path) { return ::GetDrawingFileType(path); }
int FindFirstFileExists(const char* path) { return ::FindFirstFileExists(path); }

// The backup manager keeps the running marks and the crash flag.
void StartBackupManager() { GetCadFileBackup().Start(); }
void EndBackupManager() { GetCadFileBackup().End(); }
int BackupManagerStarted() { return GetCadFileBackup().Started(); }
int PreviousRunCrashed() { return GetCadFileBackup().CrashMode(); }
int OfferBackupRecovery(HWND mainFrame, int ask) { return GetCadFileBackup().OfferRecovery(mainFrame, ask); }

}  // namespace seam
