// The input wait of a running command (WM_CAD_WAIT_INPUT, 2051): a nested message loop on the
// GUI thread that keeps the whole program working until the input event record holds an event
// the command accepts, then turns it into a result code and fills the command's wait record.
// The interrupt wait (WM_CAD_INTERRUPT_WAIT, 33770) is the same kind of loop for the host's
// own service commands.
//
// What the loops need from the drawing views, the panels, the temporary-point dialog, the DDE
// server and the point searches reaches them through one site object, so the loops can be
// driven with scripted answers.
#pragma once

#include <windows.h>

#include <cstdint>

#include "HostMessages.h"
#include "HostRecords.h"
#include "InputCodes.h"
#include "commands/CadCmd.h"

// The searches of the snap kinds.
enum class SnapSearch {
    EndPoint,      // end points and frame corners
    Intersection,
    Centre,
    MidPoint,
    OnLine,
};

// Snap mode bits (the setting LMsFg).
constexpr long kSnapEndAndIntersection = 0x1;
constexpr long kSnapMidPoint = 0x4;
constexpr long kSnapFreePoint = 0x8;
constexpr long kSnapCentre = 0x10;
constexpr long kSnapEndPoint = 0x20;
constexpr long kSnapIntersection = 0x40;
constexpr long kSnapOnLine = 0x80;

// Name indices of the snap kinds for the snap-name tooltip.
constexpr int kSnapNameFree = 0;
constexpr int kSnapNameEndPoint = 1;
constexpr int kSnapNameIntersection = 2;
constexpr int kSnapNameOnLine = 3;
constexpr int kSnapNameMidPoint = 4;
constexpr int kSnapNameCentre = 5;

class CInputWaitSite {
public:
    virtual ~CInputWaitSite() = default;

    // The drawing views.
    virtual int HasActiveView();
    virtual int IsCursorOverLoupe();
    virtual void ClearOverLoupe();
    virtual int IsGridSnapOn();
    virtual int IsKeyCursorMode();
    virtual HostPoint LoupePoint();
    virtual HostPoint GridPoint();
    virtual HostPoint CursorPoint();
    // The cursor snapped to the grid drawn in the view; snapped tells whether it moved there.
    virtual HostPoint ViewGridPoint(int* snapped);
    virtual void EraseRubberBand();
    virtual void UnlockView();
    // Erases the last-point cursor, stores the point as the last input point and draws it.
    virtual void SetLastInputPoint(const HostPoint& point);
    virtual void ScalePointInputToDrawing(HostPoint* point);
    virtual int ScreenCursorPosition(POINT* position);
    virtual int LayoutCellLayer();
    virtual int LayoutCellPage();
    virtual int DetectRasterPoint(const HostPoint& at, HostPoint* found);
    virtual void ShowSnapName(int nameIndex);

    // The panels and the right-click menu.
    virtual int IsPanelEditActive();
    virtual int IsRightMenuShown();
    // The text of an item of parameter panel 0 read as a number; 0 when the item is missing.
    virtual int PanelItemNumber(int id, double* number);

    // The temporary point and the point offset dialog.
    virtual int IsTemporaryPointPending();
    virtual void ClearTemporaryPointPending();
    virtual HostPoint TemporaryPoint();
    virtual void InputPointOffset(HostPoint* point);
    // The two-point midpoint of the service command that raised kEventMidpointReady.
    virtual HostPoint Midpoint();

    // The re-check request of the page layout switch.
    virtual int IsRecheckRequested();
    virtual void ClearRecheckRequest();

    // The DDE server's text.
    virtual int IsDdeTextPending();
    virtual void ClearDdeTextPending();
    virtual const char* DdeText();

    // Searches.
    virtual int SearchPoint(SnapSearch kind, const HostPoint& at, void* mark, HostPoint* found);
    // One element at the point; groups: the pick finds groups as a whole.
    virtual int PickElementAtPoint(const HostPoint& at, int groups, INT_PTR* element);
    // The elements inside the pick box at the cursor, as a mark; 1 when some were found.
    virtual int SelectInPickBox(INT_PTR* mark);
    // The pick-box search around a click with the click search settings (all kinds, all
    // layers); the mark of what it found, or null.
    virtual void* ClickSearchMark();
    virtual void* CreateEmptyMark();
    virtual void DestroyMark(void* mark);

    // The engine's global search switches.
    virtual int LockLayerSearchMode();
    virtual void SetLockLayerSearchMode(int mode);
    virtual int PageDetectFlag();
    virtual void SetPageDetectFlag(int flag);
    virtual void SetGroupFind(int on);

    // Settings.
    virtual long SnapModeBits();      // LMsFg
    virtual int SnapShowMode();       // iSnapShowMode
    virtual int GridNoDetectFlag();   // iGridNoDetFlg
    virtual int TemporaryOldMode();   // TEMPOLDMODE
    virtual long RightMouseMode();    // RMOUSE
    virtual int NewerInterface();     // the running library declared the newer interface
};

// The site the loops use; tests install their own and restore the default with null.
CInputWaitSite& GetInputWaitSite();
void SetInputWaitSite(CInputWaitSite* site);

// The snap kinds a wait allows: byte 7 of the record for a newer-interface library (0 means
// all), 255 for an older one.
int SnapKindFilter(const InputWaitRecord& record, int newerInterface);

// The input wait of message 2051 (the main window filters keys and accelerators).
int WaitUserInput(HWND mainWindow, InputWaitRecord* record);
// The interrupt wait of message 33770.
int InterruptWaitInput(HWND mainWindow, InputWaitRecord* record);
// The view's snap-name preview at the cursor: 0x200 when a snap point was found, else 1.
int DetectAtCursor();

// The interrupt wait's free-point switch (the area zoom's clicks return the cursor point).
void SetInterruptFreePoint(int on);

// Command runs and cancels, as the dispatcher sees them: a cancel ends the command whose input
// is being waited for (without a wait, the innermost running command), and every later wait of
// that command answers "end" at once. Such a wait still handles what is queued, so a command
// that keeps waiting cannot freeze the program, but it leaves the command runs queued: a
// command re-posted by the dispatcher never runs inside the cancelled one.
void NoteCommandRunBegin();
void NoteCommandRunEnd();
void NoteCommandCancelled();
int IsWaitCancelled();
// Waits in progress (nested waits count each).
int InputWaitDepth();

// One command run, counted while the command really runs.
class CommandRunScope {
public:
    CommandRunScope() { NoteCommandRunBegin(); }
    ~CommandRunScope() { NoteCommandRunEnd(); }
    CommandRunScope(const CommandRunScope&) = delete;
    CommandRunScope& operator=(const CommandRunScope&) = delete;
};

// The waits' bookkeeping at one moment. A guarded plug-in fault long-jumps over the scopes of
// the waits on the stack, which then cannot put back the lock-layer search mode, the wait depth
// or the runs: the guard puts back what it marked before the call.
struct WaitStateMark {
    int waitDepth;
    int runDepth;
    int innermostWaitRun;
    int snapFilter;
    InputWaitRecord* record;
    int lockLayerSearchMode;
};
WaitStateMark MarkWaitState();
void RestoreWaitState(const WaitStateMark& mark);

// The input-wait member of the host-service object: answers WM_CAD_WAIT_INPUT.
class CCadSysCmdWait : public CCadCmd {
public:
    WK_BEGIN_MSG_MAP(CCadSysCmdWait)
        if (uMsg == WM_CAD_WAIT_INPUT) {
            lResult = WaitUserInput(hWnd, reinterpret_cast<InputWaitRecord*>(lParam));
            return TRUE;
        }
    WK_END_MSG_MAP()
};
