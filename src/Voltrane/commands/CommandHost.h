// What the command system needs from the rest of the program while it starts, runs and ends a
// command: messages to the user, the operation log, the settings it reads, the active drawing,
// the panels, the status bar and the engine's per-command state. One object answers all of it,
// so the command system reads as one road and tests can watch every step it takes.
//
// The default implementation calls the program's own services; those that do not exist yet in
// the program do nothing here, and each such place says so.
#pragma once

#include <windows.h>

class CCommandHost {
public:
    virtual ~CCommandHost() = default;

    // The main window: the owner of messages and the window plug-ins talk to.
    virtual HWND MainWindow();

    // User messages and the log.
    virtual int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
    // Logs the text under "Error Message", then shows it owned by the main window, caption "???".
    virtual int ShowErrorMessage(const char* text);
    virtual void WriteLog(int level, const char* title, const char* text);
    virtual const char* MessageText(int id);

    // Settings.
    virtual int SafeGuardSetting();    // SAFE: plug-in commands run inside an exception guard
    virtual int UndoSetting();         // UNDO: the engine's undo recording after a command
    virtual const char* ApplicationTitle();  // TT
    virtual int StartMode();           // 2 when started by a take-off link

    // The active drawing.
    virtual HWND ActiveViewFrame();    // the MDI child of the active view, or none
    virtual int HasActiveView();
    virtual void* ActiveDatabase();    // the engine database of the active drawing, or none
    virtual int IsActiveDrawingReadOnly();   // opened in reference mode
    virtual int ActiveDrawingHasSelectionMarks();
    virtual void FocusActiveView();
    virtual void EnableInputScaleCombo(int enable);
    virtual void SetInputScaleRefused(int refused);
    virtual long ActiveElementCount();

    // The engine's state of the active drawing after a command: undo recording back to the
    // setting, fast access off.
    virtual void ResetEngineAfterCommand(int undoSetting);

    // Panels and menus.
    virtual void CloseRightMenu();
    virtual void SetRightClickEnterMode(int mode);
    virtual void ResetRightMenuPickList(int value);
    virtual void SetRightMenuHideMask(int mask1, int mask2);
    virtual void CloseAllParameterPanels();

    // Files and history.
    virtual void BackupModifiedDrawings();
    virtual void CountCommandForBackup();
    virtual void AddRecentCommand(int id, const char* name);
    virtual void DestroyKeptElementMark();

    // The status bar: WM_USER with a field code (1 command field, 2 message field, 5 element
    // count) and a text or value.
    virtual void SendStatus(int code, LPARAM value);

    // The wait cursor around a command started on a file; returns the cursor shown before.
    virtual HCURSOR ShowWaitCursor();
    virtual void RestoreCursor(HCURSOR previous);
};

// The host the command system uses; tests install their own and restore the default with null.
CCommandHost& GetCommandHost();
void SetCommandHost(CCommandHost* host);
