// A service-command site that writes every action into a list of lines and answers the
// interrupt wait from a script, so the service commands run without windows.
#pragma once

#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "commands/InputEvent.h"
#include "commands/ServiceCommands.h"

// One scripted answer of the interrupt wait: the result, the point and the element it leaves
// in the wait record, and what happens in the program during the wait.
struct ScriptedWait {
    int result;
    double x = 0, y = 0;
    INT_PTR element = 0;
    std::function<void()> during = nullptr;
};

class RecordingServiceSite : public CServiceCommandSite {
public:
    RecordingServiceSite() { SetServiceCommandSite(this); }
    ~RecordingServiceSite() override
    {
        SetServiceCommandSite(nullptr);
        SetHostCommandRunning(0);
    }

    HWND MainWindow() override { return nullptr; }
    HWND ActiveView() override { return activeView; }
    void Log(const char* text) override { Add(std::string("Log ") + text); }
    void PostRightMenuPick(int index) override { Add("RightMenuPick " + std::to_string(index)); }
    void EraseRubberBand() override { Add("EraseRubberBand"); }
    void ArrangeWindows(UINT message) override { Add("Arrange " + std::to_string(message)); }
    void OpenFurtherView(char variant) override { Add(std::string("FurtherView ") + variant); }
    LRESULT SendMain(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Add("Send " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
        return message == 2429 ? reinterpret_cast<LRESULT>(activeView) : 0;
    }
    void PostMain(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Add("Post " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
    }
    void RaiseEvent(int32_t code) override
    {
        Add("Event " + std::to_string(code));
        RaiseInputEvent(code);
    }
    void RaisePanelEvent(int32_t kind, int32_t item, int32_t) override
    {
        Add("PanelEvent " + std::to_string(kind) + " " + std::to_string(item));
    }
    void OpenHelp(LPARAM name) override { Add("Help " + std::to_string(name)); }
    void SetSnapBits(long bits) override { Add("SnapBits " + std::to_string(bits)); }
    int ParameterPanelOkButton() override { return okButton; }
    void ReceiveHandedOverCommandLine(LPARAM atom) override { Add("HandOver " + std::to_string(atom)); }
    void ReceiveHandedOverEmptyLine() override { Add("HandOverEmpty"); }
    void RunSettingsSheet() override { Add("SettingsSheet"); }
    int TogglePageLayoutView() override
    {
        Add("PageLayoutView");
        return 7;
    }
    LRESULT SendStatusBar(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND) {
            Add("StatusCommand " + std::to_string(wParam));
            return 0;
        }
        std::string line = "Status " + std::to_string(message - WM_USER) + " " + std::to_string(wParam);
        if (message == WM_USER && (wParam == 1 || wParam == 2)) line += std::string(" '") + reinterpret_cast<const char*>(lParam) + "'";
        Add(line);
        return 0;
    }
    void TogglePatternSave() override { Add("PatternSave"); }
    int DeleteMemo() override
    {
        Add("DeleteMemo");
        return 0;
    }
    void ChooseMemoFile() override { Add("ChooseMemoFile"); }
    void RepaintActiveView(BOOL erase) override { Add("Repaint " + std::to_string(erase)); }
    void SetDisplaySelector(int selector) override { Add("DisplaySelector " + std::to_string(selector)); }
    void RunMemoDialog(HWND) override { Add("MemoDialog"); }
    void RotateRasterElement() override { Add("RotateRaster"); }
    void PreviousView() override { Add("PreviousView"); }
    void ZoomToAllElements() override { Add("ZoomToAll"); }
    void ToggleInputScaleWindow() override { Add("InputScale"); }
    void RunToolbarSettings() override { Add("ToolbarSettings"); }
    void ToolPanelCommand(WPARAM command, LPARAM) override { Add("ToolPanel " + std::to_string(command)); }

    int InterruptWait(InputWaitRecord* record) override
    {
        ++waits;
        if (script.empty() || waits > 50) return 0;
        ScriptedWait next = script.front();
        script.pop_front();
        record->point.x = next.x;
        record->point.y = next.y;
        record->result = next.element;
        if (next.during) next.during();
        return next.result;
    }
    const char* MessageText(int id) override
    {
        texts.push_back("m" + std::to_string(id));
        return texts.back().c_str();
    }
    int Language() override { return 0; }
    int ZoomIn() override { Add("ZoomIn"); return 1; }
    int ZoomOut() override { Add("ZoomOut"); return 1; }
    int CenterAtCursor() override { Add("Centre"); return 1; }
    void SetLoupeState(int state) override { Add("Loupe " + std::to_string(state)); }
    void DrawRubberBox(HWND, const HostPoint& a, const HostPoint& b) override
    {
        Add("Box " + Point(a) + " " + Point(b));
    }
    int ZoomViewToArea(const HostPoint& a, const HostPoint& b) override
    {
        Add("ZoomArea " + Point(a) + " " + Point(b));
        return 1;
    }
    void ResetRubberBand() override { Add("ResetRubberBand"); }
    void RepaintLayoutView() override { Add("RepaintLayout"); }
    int IsKeyCursorMode() override { return 0; }
    int AreaZoomEndsAfterOne() override { return areaZoomOnce; }
    int CurModeCheck() override { return 1; }
    int SnapShowMode() override { return 3; }
    void SetSnapShowMode(int mode) override { Add("SnapShowMode " + std::to_string(mode)); }
    void SetInterruptFreePoint(int on) override { Add("FreePoint " + std::to_string(on)); }
    int MidpointRepeats() override { return midpointRepeats; }
    int IsToolPanelButtonDown() override { return 1; }
    void PressToolPanelButton(int id) override { Add("Press " + std::to_string(id)); }
    void SetGroupFind(int on) override { Add("GroupFind " + std::to_string(on)); }
    void SetGridCentre(const HostPoint& p) override { Add("GridCentre " + Point(p)); }
    int ImportElementAttributes(INT_PTR element) override
    {
        Add("ImportAttributes " + std::to_string(element));
        return 1;
    }
    int IsLinkedElement(INT_PTR element) override { return element == linkedElement; }
    void DeleteElement(INT_PTR element) override { Add("Delete " + std::to_string(element)); }
    int AskYesNo(const char*, const char* caption, UINT) override
    {
        Add(std::string("Ask ") + caption);
        return askAnswer;
    }
    void SaveSearchSettings() override { Add("SaveSearch"); }
    void RestoreSearchSettings() override { Add("RestoreSearch"); }
    void SetServiceSearch(const int32_t* words, int) override { Add("Search " + std::to_string(words[0])); }
    int HasDrawingBlock() override { return hasBlock; }
    void SetPickFilter(int flags) override { Add("PickFilter " + std::to_string(flags)); }
    int SelectBoxIntoKeptMark(double left, double top, double right, double bottom) override
    {
        Add("Select " + std::to_string(int(left)) + "," + std::to_string(int(top)) + "," + std::to_string(int(right)) +
            "," + std::to_string(int(bottom)));
        ++keptBoxes;
        return 1;
    }
    void DropKeptMark(int destroy) override
    {
        if (keptBoxes == 0) return;
        Add("DropKept " + std::to_string(destroy));
        if (destroy) keptBoxes = 0;
    }
    int HasKeptMark() override { return keptBoxes > 0; }

    static std::string Point(const HostPoint& p)
    {
        return "(" + std::to_string(int(p.x)) + "," + std::to_string(int(p.y)) + ")";
    }
    void Add(const std::string& line) { lines.push_back(line); }
    bool Has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
    size_t Count(const std::string& line) const { return std::count(lines.begin(), lines.end(), line); }

    HWND activeView = reinterpret_cast<HWND>(0x1234);
    std::vector<std::string> lines;
    std::deque<std::string> texts;
    std::deque<ScriptedWait> script;
    int waits = 0;
    int okButton = 0;
    int areaZoomOnce = 0;
    int midpointRepeats = 0;
    int hasBlock = 1;
    INT_PTR linkedElement = -1;
    int askAnswer = IDNO;
    int keptBoxes = 0;
};
