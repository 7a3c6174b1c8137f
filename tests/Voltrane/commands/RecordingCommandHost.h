// A command host for the tests: every step the command system takes is written into one list
// of lines, and a real (hidden) main window answers the messages the dispatcher sends to it,
// chaining the dispatcher the way the main frame does.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "commands/CommandHost.h"
#include "commands/SystemCommandDispatcher.h"

class RecordingCommandHost : public CCommandHost {
public:
    RecordingCommandHost();
    ~RecordingCommandHost() override;

    HWND MainWindow() override { return window; }
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) override;
    int ShowErrorMessage(const char* text) override;
    void WriteLog(int level, const char* title, const char* text) override;
    int SafeGuardSetting() override { return safe; }
    int UndoSetting() override { return 1; }
    const char* ApplicationTitle() override { return "Voltrane"; }
    int StartMode() override { return startMode; }
    HWND ActiveViewFrame() override { return nullptr; }
    int HasActiveView() override { return activeView; }
    int IsActiveDrawingReadOnly() override { return readOnlyDrawing; }
    int ActiveDrawingHasSelectionMarks() override { return selectionMarks; }
    void FocusActiveView() override { Add("FocusActiveView"); }
    void EnableInputScaleCombo(int enable) override { Add("EnableInputScaleCombo " + std::to_string(enable)); }
    void SetInputScaleRefused(int refused) override { Add("SetInputScaleRefused " + std::to_string(refused)); }
    long ActiveElementCount() override { return 42; }
    void ResetEngineAfterCommand(int undo) override { Add("ResetEngineAfterCommand " + std::to_string(undo)); }
    void CloseRightMenu() override { Add("CloseRightMenu"); }
    void SetRightClickEnterMode(int mode) override { Add("SetRightClickEnterMode " + std::to_string(mode)); }
    void ResetRightMenuPickList(int value) override { Add("ResetRightMenuPickList " + std::to_string(value)); }
    void SetRightMenuHideMask(int a, int b) override
    {
        Add("SetRightMenuHideMask " + std::to_string(a) + " " + std::to_string(b));
    }
    void CloseAllParameterPanels() override { Add("CloseAllParameterPanels"); }
    void BackupModifiedDrawings() override { Add("BackupModifiedDrawings"); }
    void CountCommandForBackup() override { Add("CountCommandForBackup"); }
    void AddRecentCommand(int id, const char* name) override
    {
        Add("AddRecentCommand " + std::to_string(id) + " " + name);
    }
    void DestroyKeptElementMark() override { Add("DestroyKeptElementMark"); }
    void SendStatus(int code, LPARAM value) override;
    HCURSOR ShowWaitCursor() override { Add("ShowWaitCursor"); return nullptr; }
    void RestoreCursor(HCURSOR) override { Add("RestoreCursor"); }

    void Add(const std::string& line) { lines.push_back(line); }
    // Lines that begin with the prefix.
    std::vector<std::string> Lines(const std::string& prefix) const;
    size_t Count(const std::string& prefix) const { return Lines(prefix).size(); }
    // Index of the first line equal to text at or after from; -1 when none.
    int Find(const std::string& text, size_t from = 0) const;
    // Runs the window's posted messages until none is left.
    void PumpMessages();

    HWND window = nullptr;
    CSystemCommandDispatcher* dispatcher = nullptr;  // chained into the window's messages
    std::vector<std::string> lines;
    int safe = 1;
    int startMode = 0;
    int activeView = 1;
    int readOnlyDrawing = 0;
    int selectionMarks = 0;
    // WM_CAD_CANCEL_COMMAND also tells a waiting test plug-in command to end.
    bool cancelEndsWaitingCommand = true;
    // Runs when the window gets WM_APP (posted by a test to act inside a running command).
    std::function<void()> onApp;
};

// The text bytes (Shift-JIS) of a literal, as the program sees it.
inline std::string Sjis(const char* text) { return text; }
