// The service commands: command ids 1200 to 1500 that the host carries out itself (window
// arrangement, view aids, snap presets, memo data, settings, the hand-off of a second start,
// help and the picks of the right-click menu). They run inside whatever is going on, also
// while a plug-in command waits for input; nine of them take input of their own through the
// interrupt wait (the interactive service commands).
//
// Everything the commands do to the rest of the program goes through one site object, so that
// tests can record each action and script the interrupt wait's answers.
#pragma once

#include <windows.h>

#include <climits>
#include <cstdint>
#include <string>

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"
#include "HostRecords.h"

// A word of the service search block that a command leaves as the last command left it.
constexpr int32_t kKeepSearchWord = INT32_MIN;

class CServiceCommandSite {
public:
    virtual ~CServiceCommandSite() = default;

    virtual HWND MainWindow();
    virtual HWND ActiveView();
    // Level-2 log line under the title "Service Cmd".
    virtual void Log(const char* text);

    // ---- window, view and event actions ----
    virtual void PostRightMenuPick(int index);
    // Erases the active view's rubber band when the accepted-event mask reports moves.
    virtual void EraseRubberBand();
    virtual void ArrangeWindows(UINT mdiMessage);
    // A further view of the active drawing: variant 'A' (1203) or 'B' (1213).
    virtual void OpenFurtherView(char variant);
    virtual LRESULT SendMain(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void PostMain(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void RaiseEvent(int32_t code);
    virtual void RaisePanelEvent(int32_t kind, int32_t item, int32_t value);
    virtual void OpenHelp(LPARAM fileName);
    virtual void SetSnapBits(long bits);
    // The id of the last "OK", "完了" or "Ok" button of a parameter panel; 0 when none.
    virtual int ParameterPanelOkButton();
    virtual void ReceiveHandedOverCommandLine(LPARAM atom);
    virtual void ReceiveHandedOverEmptyLine();
    virtual void RunSettingsSheet();
    virtual int TogglePageLayoutView();
    virtual LRESULT SendStatusBar(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void TogglePatternSave();
    // 0 when the memo data was deleted, else 1.
    virtual int DeleteMemo();
    virtual void ChooseMemoFile();
    virtual void RepaintActiveView(BOOL erase);
    virtual void SetDisplaySelector(int selector);
    virtual void RunMemoDialog(HWND owner);
    virtual void RotateRasterElement();
    virtual void PreviousView();
    virtual void ZoomToAllElements();
    virtual void ToggleInputScaleWindow();
    virtual void RunToolbarSettings();
    virtual void ToolPanelCommand(WPARAM command, LPARAM lParam);

    // ---- what the interactive commands use ----
    // The interrupt wait (WM_CAD_INTERRUPT_WAIT to the main window) with the given record.
    virtual int InterruptWait(InputWaitRecord* record);
    virtual const char* MessageText(int id);
    virtual int Language();            // LANGUAGE: 0 Japanese
    virtual int ZoomIn();
    virtual int ZoomOut();
    virtual int CenterAtCursor();
    virtual void SetLoupeState(int state);
    // The rubber box of two-point commands: four temporary lines in the box view.
    virtual void DrawRubberBox(HWND boxView, const HostPoint& first, const HostPoint& corner);
    virtual int ZoomViewToArea(const HostPoint& a, const HostPoint& b);
    virtual void ResetRubberBand();    // UpdateRubberBand mode 2 on the active view
    virtual void RepaintLayoutView();
    virtual int IsKeyCursorMode();
    virtual int AreaZoomEndsAfterOne();   // WAKUDSPMODE
    virtual int CurModeCheck();           // bCurModeChk
    virtual int SnapShowMode();
    virtual void SetSnapShowMode(int mode);
    virtual void SetInterruptFreePoint(int on);
    virtual int MidpointRepeats();        // iSnap2TenkanMode == 1
    virtual int IsToolPanelButtonDown();
    virtual void PressToolPanelButton(int id);
    virtual void SetGroupFind(int on);
    virtual void SetGridCentre(const HostPoint& point);
    // Attribute get: copies the element's style into the current drawing attributes; 1 done.
    virtual int ImportElementAttributes(INT_PTR element);
    // Element erase: 1 when the element carries a link; deletes it with undo.
    virtual int IsLinkedElement(INT_PTR element);
    virtual void DeleteElement(INT_PTR element);
    virtual int AskYesNo(const char* text, const char* caption, UINT type);
    virtual void SaveSearchSettings();
    virtual void RestoreSearchSettings();
    // Sets the first count words of the service search block (words equal to kKeepSearchWord
    // keep what the last command left) and hands the block to the engine.
    virtual void SetServiceSearch(const int32_t* words, int count);
    virtual int HasDrawingBlock();
    // The pick filter flags of the element pick (bit 0: attribute word 0 is not pickable).
    virtual void SetPickFilter(int flags);
    // Box selection: the elements inside the box added to the kept mark; 1 when some were.
    virtual int SelectBoxIntoKeptMark(double left, double top, double right, double bottom);
    // Clears the kept mark's highlight, redraws it and destroys it (destroy 1) or keeps it.
    virtual void DropKeptMark(int destroy);
    virtual int HasKeptMark();

protected:
    // A service whose owner is not built yet: the request is logged, nothing is done.
    void NotAvailable(const char* what);

private:
    HWND m_selectionView = nullptr;  // the view of the last box selection
};

CServiceCommandSite& GetServiceCommandSite();
// Tests install their own site; null puts the program's back.
void SetServiceCommandSite(CServiceCommandSite* site);

// The dispatch of a service command id: 1 when handled. The long parameter carries a value
// for 1210, 1212 and 1227; window owns the memo dialog.
int ExecuteServiceCommand(int id, LPARAM lParam, HWND window);
// The router's entry: the command bracketed by WM_CAD_CMD_NOTIFY; 1 when handled, any other
// answer leaves the id to the frame's own entries.
int ExecuteServiceCommandNotified(HWND window, WPARAM wParam, LPARAM lParam);

// 1 while an interactive service command waits in its loop.
int IsHostCommandRunning();
void SetHostCommandRunning(int running);
// The two-point midpoint handed to the waiting command with event 0x1000000.
HostPoint ServiceMidpoint();

// Attribute get: the style of an element of types 1 to 7 into the drawing block's current
// attributes (text sizes times the drawing scale and page factor); 0 for other types.
int CopyElementStyle(const ElementRecord& element, double drawingScale, double pageFactor, PDBINFO& block);

// The interactive service commands (1205, 1206, 1210, 1235, 1300, 1304, 1332, 1336, 1350).
bool IsInteractiveServiceCommand(int id);
int RunInteractiveServiceCommand(int id, LPARAM lParam);

// The memo's second file: its name with the extension of the last path part replaced by
// "mem"; empty when that part has no extension (then only the named file is deleted).
std::string MemoCompanionName(const char* name);
// Deletes the memo file and its second file where they exist; 0 when one that exists could not
// be deleted.
int DeleteMemoFiles(const char* name);

// The extents of one element: 1 with the box set.
using ElementExtentFn = int (*)(void* database, void* element, SearchBox* box);
// Zoom to all (1334): the box of all elements that have extents; 0 when none has.
int AllElementsBox(void* database, ElementExtentFn extent, SearchBox* out);

// Sets the frame's service-command entry. Called once at start.
void InstallServiceCommands();
