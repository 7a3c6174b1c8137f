// What the start-up and shutdown stages call in subsystems that are not built yet: the
// drawing views, the panels and pickers, the backups, DDE, the histories and the dialogs.
// Each call has the name its subsystem will give it. A stand-in that cannot do the work of its
// call answers kNotAvailable, never "done": the stages go on without that subsystem, as they
// must until it exists. They live in one namespace so that the real functions can replace
// them one by one without a clash.
#pragma once

#include <windows.h>

#include <string>

namespace seam {

// The answer of a call whose subsystem is not built yet: neither made (1) nor failed (0).
constexpr int kNotAvailable = -2;

// ---- drawing views ----
void ClearViewTable();                              // the 256 view slots
void LoadViewCursors(HINSTANCE instance);           // "CURSOR1" and "CURNUL"
void LoadViewArrowCursor();
int RegisterInputScaleWindowClass(HINSTANCE instance, HWND mainFrame);  // 1, 0 failed
void DestroyInputScaleWindow();
int AllocRasterBuffers();                           // 1, 0 failed
void FreeRasterBuffers();
int CreateRubberBandDbs();                          // 1 made, 0 failed
void DeleteRubberBandDbs();
int IsKeyCursorMode();                              // the application object's flag
HWND GetActiveView();
// The two hidden popups of the views (layout overview and loupe), made by the second stage.
void SetLayoutViewWindows(HWND layoutView, HWND loupeView);
HWND GetLayoutViewWindow();
HWND GetLoupeViewWindow();
// "LAY_WND", "#LAYOUTVIEW#" and "#ROUPEVIEW#"; 1, or 0 at the first class that fails.
int RegisterLayoutWindowClasses(HINSTANCE instance);
int UnregisterLayoutWindowClasses(HINSTANCE instance);

// ---- panels, pickers and the control kit ----
void SetNoDrawingToolColor(int color);
int CreatePanelFonts();                              // 1 made, 0 failed
void DeletePanelFont();
int AllocRightMenuBuffer();                          // 1, 0 when not allocated
void FreeRightMenuBuffer();
int LoadRightMenuFile(const char* path);             // 1 read, 0 missing or broken
int CreateRightMenuPopup(HWND mainFrame, HINSTANCE instance);  // 1 made, 0 failed
void SyncSnapButtons();
// The command panels' button images, read before any window, and what the panels keep for the
// whole run (the images and the two command catalogues), freed at the end.
void LoadButtonImageSets();
void FreeButtonImageSets();
void FreeCommandPanelCatalogues();
int RegisterCalculatorClass(HINSTANCE instance);
int UnregisterCalculatorClass(HINSTANCE instance);
// The class registrations of the control kit, the panels, the pickers and the right-click
// popup, in start order.
void RegisterControlClasses(HINSTANCE instance);
void UnregisterControlClasses(HINSTANCE instance);
// The registration steps RegisterControlClasses runs, in order (a test may replace them to
// watch the order and a failure). The panels' classes are null until the panels exist.
struct ControlClassRegistrations {
    int (*kitButtons)(HINSTANCE);
    int (*panelClasses)(HINSTANCE);
    int (*layerPicker)(HINSTANCE);
    int (*colorPicker)(HINSTANCE);
    int (*lineTypePicker)(HINSTANCE);
    int (*pointMarkPicker)(HINSTANCE);
    int (*lineWidthPicker)(HINSTANCE);
    int (*startMarkPicker)(HINSTANCE);
    int (*endMarkPicker)(HINSTANCE);
    int (*rightMenuPopup)(HINSTANCE);
    ControlClassRegistrations();
};
ControlClassRegistrations& GetControlClassRegistrations();
// The open parameter-panel list box, the combo box whose list is dropped down and the
// in-place edit field; the panels set them while such a window is open.
struct ParameterPanelHandles {
    HWND openListBox = nullptr;
    HWND droppedComboBox = nullptr;
    HWND editField = nullptr;
};
ParameterPanelHandles& GetParameterPanelHandles();

// ---- commands ----
int ReadCommandDefinitions();                        // the command catalogue
int IsInterruptJumpModeArmed();
void SetInterruptJumpModeArmed(int armed);
int LoadRecentCommands();                            // 1 loaded, 0 failed
void SaveRecentCommands();
void LoadInputHistory();
void SaveInputHistory();
int StartDdeServer();
int InitDdeClient();
void StopDdeServer(HWND mainFrame);
void TermDdeClient(HWND mainFrame);
void CloseHelpViewers();                             // the help viewers the program started

// ---- drawings, files and backups ----
void InitPaperTable();
void FreePageDialogRecords();
void FreePasteDb();
// The drawing file type of a path by its extension; 0 when it is no drawing file.
int GetDrawingFileType(const char* path);
// 1 when FindFirstFileA finds the path.
int FindFirstFileExists(const char* path);

// The backup manager's running mark. Start reads the crash flag "FatalError" of "Brisco.ini"
// and sets it; only the process that started it clears it again at a clean end, and only
// when no other instance still runs, so a second start that merely handed over its command
// line cannot hide a crash of the running instance.
void StartBackupManager();
void EndBackupManager();
int BackupManagerStarted();
int PreviousRunCrashed();
// Offers to reopen the backups of a crashed run: 0 reopened (no other start action), else -1.
int OfferBackupRecovery(HWND mainFrame, int ask);

}  // namespace seam

namespace seam {

// The calls of the start-up stages whose answer decides how a stage goes on. The stages reach
// them through this interface, so that a test can hand the application object a double and
// drive every failure path; the program's own forwards to the functions above.
class StartupSubsystems {
public:
    virtual ~StartupSubsystems() = default;
    virtual int CreatePanelFonts() { return seam::CreatePanelFonts(); }
    virtual int AllocRightMenuBuffer() { return seam::AllocRightMenuBuffer(); }
    virtual int LoadRightMenuFile(const char* path) { return seam::LoadRightMenuFile(path); }
    virtual int LoadRecentCommands() { return seam::LoadRecentCommands(); }
    virtual int CreateRubberBandDbs() { return seam::CreateRubberBandDbs(); }
    virtual int CreateRightMenuPopup(HWND mainFrame, HINSTANCE instance)
    {
        return seam::CreateRightMenuPopup(mainFrame, instance);
    }
    virtual int OfferBackupRecovery(HWND mainFrame, int ask) { return seam::OfferBackupRecovery(mainFrame, ask); }
    // Asked by both settings apply steps, so that the snap buttons follow the snap bits.
    virtual void SyncSnapButtons() { seam::SyncSnapButtons(); }
};

// The program's own subsystems.
StartupSubsystems& ProgramSubsystems();

}  // namespace seam
