// The input wait of a running command, driven with scripted messages and event writes: which
// event under which mask gives which result and record fields, the DDE priority, the snap
// choices, the quit message, the lock-layer search mode and the cancel of a waiting command.
#include "GTest.h"

#include "../../Engine/EngineFixture.h"

#include <map>
#include <string>
#include <vector>

#include "../core/SettingsSandbox.h"
#include "HostServiceTestWindow.h"
#include "commands/CommandRunState.h"
#include "commands/InputEvent.h"
#include "commands/InputWaitLoop.h"
#include "commands/InterruptCommands.h"
#include "commands/PluginModules.h"
#include "core/StartupSeams.h"
#include "mainframe/MainAccelerator.h"

namespace {

HostPoint Point(double x, double y, int v1 = 0, int v2 = 0) { return HostPoint{x, y, v1, v2}; }

// A drawing view and its services with scripted answers.
class FakeSite : public CInputWaitSite {
public:
    int HasActiveView() override { return activeView; }
    int IsCursorOverLoupe() override { return overLoupe; }
    void ClearOverLoupe() override { overLoupe = 0; }
    int IsGridSnapOn() override { return gridOn; }
    int IsKeyCursorMode() override { return keyCursor; }
    HostPoint LoupePoint() override { return loupe; }
    HostPoint GridPoint() override { return grid; }
    HostPoint CursorPoint() override { return cursor; }
    HostPoint ViewGridPoint(int* snapped) override
    {
        if (snapped) *snapped = viewGridSnapped;
        return viewGrid;
    }
    void EraseRubberBand() override { ++erased; }
    void UnlockView() override { ++unlocked; }
    void SetLastInputPoint(const HostPoint& point) override { lastPoint = point, ++lastPointSet; }
    void ScalePointInputToDrawing(HostPoint* point) override
    {
        point->x *= scale;
        point->y *= scale;
    }
    int ScreenCursorPosition(POINT* position) override
    {
        *position = screen;
        return 1;
    }
    int LayoutCellLayer() override { return 6; }
    int LayoutCellPage() override { return 3; }
    int DetectRasterPoint(const HostPoint&, HostPoint* found) override
    {
        if (!raster) return 0;
        *found = Point(50, 50);
        return 1;
    }
    void ShowSnapName(int index) override { shownName = index; }
    int IsPanelEditActive() override { return panelEdit; }
    int IsRightMenuShown() override { return 0; }
    int PanelItemNumber(int id, double* number) override
    {
        panelItemsRead.push_back(id);
        auto found = panelNumbers.find(id);
        if (found == panelNumbers.end()) return 0;
        *number = found->second;
        return 1;
    }
    int IsTemporaryPointPending() override { return temporaryPending; }
    void ClearTemporaryPointPending() override { temporaryPending = 0; }
    HostPoint TemporaryPoint() override { return Point(7, 8); }
    HostPoint Midpoint() override { return Point(2.5, 3.5, 11, 12); }
    int IsDdeTextPending() override { return ddePending; }
    void ClearDdeTextPending() override { ddePending = 0; }
    const char* DdeText() override { return ddeText.c_str(); }
    int SearchPoint(SnapSearch kind, const HostPoint&, void* mark, HostPoint* found) override
    {
        searches.push_back(kind);
        marksSeen.push_back(mark);
        auto it = hits.find(kind);
        if (it == hits.end()) return 0;
        *found = it->second;
        return 1;
    }
    int PickElementAtPoint(const HostPoint&, int, INT_PTR* element) override
    {
        pickLockMode = lockMode;
        if (!pickElement) return 0;
        *element = pickElement;
        return 1;
    }
    int SelectInPickBox(INT_PTR* mark) override
    {
        if (!boxMark) return 0;
        *mark = boxMark;
        return 1;
    }
    void* ClickSearchMark() override { return clickMark; }
    void* CreateEmptyMark() override { return emptyMark; }
    void DestroyMark(void* mark) override { destroyed.push_back(mark); }
    int LockLayerSearchMode() override { return lockMode; }
    void SetLockLayerSearchMode(int mode) override { lockMode = mode; }
    int PageDetectFlag() override { return pageDetect; }
    void SetPageDetectFlag(int flag) override { pageDetect = flag; }
    void SetGroupFind(int) override {}
    long SnapModeBits() override { return snapBits; }
    int SnapShowMode() override { return snapShow; }
    int GridNoDetectFlag() override { return gridNoDetect; }
    int TemporaryOldMode() override { return 0; }
    long RightMouseMode() override { return rightMouse; }
    int NewerInterface() override { return newer; }

    int activeView = 1, overLoupe = 0, gridOn = 0, keyCursor = 0, viewGridSnapped = 0;
    HostPoint loupe = Point(-1, -1), grid = Point(-2, -2), cursor = Point(1, 2), viewGrid = Point(3, 4);
    double scale = 10;
    POINT screen = {100, 100};
    int erased = 0, unlocked = 0, lastPointSet = 0, shownName = -1, panelEdit = 0, temporaryPending = 0;
    int ddePending = 0, raster = 0, lockMode = 0, pickLockMode = -1, pageDetect = 0, snapShow = 0;
    std::string ddeText = "[Hello]";
    int gridNoDetect = 0, newer = 0;
    long snapBits = kSnapEndPoint | kSnapFreePoint, rightMouse = 1;
    HostPoint lastPoint = {};
    std::map<int, double> panelNumbers;
    std::vector<int> panelItemsRead;
    std::map<SnapSearch, HostPoint> hits;
    std::vector<SnapSearch> searches;
    std::vector<void*> marksSeen, destroyed;
    INT_PTR pickElement = 0, boxMark = 0;
    void* clickMark = reinterpret_cast<void*>(0x5000);
    void* emptyMark = reinterpret_cast<void*>(0x6000);
};

// Script steps: raise an event (the step is the code); 0xF001: raise a panel event;
// 0xF002: a DDE text arrives; 0xF003: raise two events in one message.
constexpr WPARAM kPanelStep = 0xF001;
constexpr WPARAM kDdeStep = 0xF002;
constexpr WPARAM kTwoEventsStep = 0xF003;
constexpr WPARAM kEditEscapeStep = 0xF004;

class InputWaitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCommandRunState() = CommandRunState();
        GetInputEventRecord() = InputEventRecord();
        SetInputWaitSite(&site);
        test.script = [this](WPARAM step) {
            if (step == kPanelStep) {
                RaisePanelEvent(kItemCheckBox, 1201, 1);
            } else if (step == kEditEscapeStep) {
                RaisePanelEvent(kItemEdit, 1207, 0);
                GetInputEventRecord().code = kEventEditEscape;
            } else if (step == kDdeStep) {
                site.ddePending = 1;
            } else if (step == kTwoEventsStep) {
                RaiseInputEvent(kEventUndo);
                RaiseInputEvent(kEventEscape);
            } else {
                RaiseInputEvent(static_cast<int32_t>(step));
            }
        };
    }
    void TearDown() override
    {
        SetInputWaitSite(nullptr);
        GetInputEventRecord() = InputEventRecord();
        HostServiceTestWindow::DrainQueue();
    }

    // Sets the mask through the host messages, as a command does, and waits.
    LRESULT Wait(uint32_t mask)
    {
        test.Send(WM_CAD_CLEAR_EVENT_MASK);
        test.Send(WM_CAD_ADD_EVENT_MASK, 0, static_cast<LPARAM>(mask));
        return test.Send(WM_CAD_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&record));
    }

    FakeSite site;
    HostServiceTestWindow test;
    InputWaitRecord record = {};
};

struct EventCase {
    const char* name;
    WPARAM step;        // the event raised
    uint32_t mask;
    int result;         // 0: ignored (the cancel that follows ends the wait)
    double x, y;        // expected point for results that carry one
};

TEST_F(InputWaitTest, EventUnderMaskGivesResultAndPoint)
{
    const EventCase cases[] = {
        {"escape accepted", kEventEscape, kAcceptEscape, 2, 0, 0},
        {"escape not accepted", kEventEscape, 0, 0, 0, 0},
        {"picture change with rubber band", kEventPictureChanged, kAcceptRubberBand, 0x20, 10, 20},
        {"picture change without", kEventPictureChanged, kAcceptPlainPoint, 0, 0, 0},
        {"cursor move with rubber band", kEventCursorMoved, kAcceptRubberBand, 0x20, 30, 40},
        {"undo whatever the mask", kEventUndo, 0, 0x80, 0, 0},
        {"redo whatever the mask", kEventRedo, 0, 0x800, 0, 0},
        {"attributes whatever the mask", kEventAttributesChanged, 0, 0x8000, 0, 0},
        {"state save whatever the mask", kEventSaveState, 0, 0x200000, 0, 0},
        {"edit escape whatever the mask", kEventEditEscape, 0, 0x400000, 0, 0},
        {"midpoint whatever the mask", kEventMidpointReady, 0, 0x200, 25, 35},
        {"plain point", kEventPoint, kAcceptPlainPoint, 0x100, 30, 40},
        {"point not accepted", kEventPoint, kAcceptEscape, 0, 0, 0},
        {"secondary click as point", kEventSecondaryClick, kAcceptSecondaryPoint, 0x400, 10, 20},
        {"secondary click not accepted", kEventSecondaryClick, kAcceptPlainPoint, 0, 0, 0},
        {"view activation is never returned", kEventViewActivated, 0xFFFFFFFFu & ~kAcceptLockLayerSearch, 0, 0, 0},
        {"layout cell", kEventLayoutCell, kAcceptLayoutCell, 0x40000, 0, 0},
        {"layout cell not accepted", kEventLayoutCell, 0, 0, 0, 0},
    };
    for (const EventCase& c : cases) {
        SCOPED_TRACE(c.name);
        site.screen.x += 1;  // every move is a new position
        record = {};
        test.PostScript(c.step);
        test.PostScript(kEventCancel);
        const LRESULT result = Wait(c.mask);
        EXPECT_EQ(result, c.result);
        if (c.x != 0 || c.y != 0) {
            EXPECT_DOUBLE_EQ(record.point.x, c.x);
            EXPECT_DOUBLE_EQ(record.point.y, c.y);
        }
        EXPECT_EQ(GetInputEventRecord().code, 0) << "a returned event is consumed";
        HostServiceTestWindow::DrainQueue();
    }
}

TEST_F(InputWaitTest, PanelEventFillsKindValueAndItem)
{
    test.PostScript(kPanelStep);
    ASSERT_EQ(Wait(kAcceptPanelItem), 0x2000);
    EXPECT_EQ(record.kind, kItemCheckBox);
    EXPECT_EQ(record.item, 1201);
    EXPECT_EQ(record.value, 1);

    // Without the panel bit the press is dropped and the wait goes on.
    record = {};
    test.PostScript(kPanelStep);
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 0);
    EXPECT_EQ(record.item, 0);
}

TEST_F(InputWaitTest, EditEscapeNamesItsKindAndItem)
{
    record.value = 55;
    test.PostScript(kEditEscapeStep);
    ASSERT_EQ(Wait(0), 0x400000);
    EXPECT_EQ(record.kind, kItemEdit);
    EXPECT_EQ(record.item, 1207);
    EXPECT_EQ(record.value, 55) << "an escape carries no value";
}

TEST_F(InputWaitTest, TemporaryPointPanelEventReadsTheOffsetItemsOfPanelZero)
{
    site.panelNumbers = {{333, 12.5}, {444, -3}};
    GetInputEventRecord().offsetInput = 1;
    test.PostScript(kPanelStep);
    ASSERT_EQ(Wait(kAcceptPanelItem), 0x2000);
    EXPECT_EQ(site.panelItemsRead, (std::vector<int>{333, 444}));
    EXPECT_DOUBLE_EQ(GetInputEventRecord().temporaryOffsetX, 12.5);
    EXPECT_DOUBLE_EQ(GetInputEventRecord().temporaryOffsetY, -3);

    // A missing item leaves its offset as it was; without the flag nothing is read.
    site.panelNumbers = {{444, 9}};
    test.PostScript(kPanelStep);
    ASSERT_EQ(Wait(kAcceptPanelItem), 0x2000);
    EXPECT_DOUBLE_EQ(GetInputEventRecord().temporaryOffsetX, 12.5);
    EXPECT_DOUBLE_EQ(GetInputEventRecord().temporaryOffsetY, 9);
    GetInputEventRecord().offsetInput = 0;
    site.panelItemsRead.clear();
    test.PostScript(kPanelStep);
    ASSERT_EQ(Wait(kAcceptPanelItem), 0x2000);
    EXPECT_TRUE(site.panelItemsRead.empty());
}

TEST_F(InputWaitTest, LayoutCellFillsLayerAndPage)
{
    test.PostScript(kEventLayoutCell);
    ASSERT_EQ(Wait(kAcceptLayoutCell), 0x40000);
    EXPECT_EQ(record.result, 6);
    EXPECT_EQ(record.item, 3);
}

TEST_F(InputWaitTest, MidpointCarriesItsTwoValues)
{
    test.PostScript(kEventMidpointReady);
    ASSERT_EQ(Wait(0), 0x200);
    EXPECT_EQ(record.point.value1, 11);
    EXPECT_EQ(record.point.value2, 12);
}

TEST_F(InputWaitTest, DdeTextWinsOverAnEventOfTheSamePass)
{
    test.script = [this](WPARAM) {
        RaiseInputEvent(kEventPoint);
        site.ddePending = 1;
    };
    test.PostScript(0);
    ASSERT_EQ(Wait(kAcceptDdeText | kAcceptPlainPoint), 0x4000);
    EXPECT_STREQ(reinterpret_cast<const char*>(record.result), "[Hello]");
    EXPECT_EQ(site.ddePending, 0);
    EXPECT_TRUE(test.Has("Log 2 Cmd Event [Hello] DDEメッセージ"));
}

TEST_F(InputWaitTest, LongDdeTextIsLoggedCutOnACharacterBoundary)
{
    // The log keeps 1000 bytes of the text; the limit falls inside the last character.
    const std::string kept(999, 'a');
    site.ddeText = kept + "表zz";
    site.ddePending = 1;
    ASSERT_EQ(Wait(kAcceptDdeText), 0x4000);
    EXPECT_EQ(reinterpret_cast<const char*>(record.result), site.ddeText) << "the command gets all of it";
    EXPECT_TRUE(test.Has("Log 2 Cmd Event " + kept + " DDEメッセージ"));
}

TEST_F(InputWaitTest, DdeTextPendingAtTheStartIsReturnedWithoutAMessage)
{
    site.ddePending = 1;
    EXPECT_EQ(Wait(kAcceptDdeText), 0x4000);
}

TEST_F(InputWaitTest, DdeTextNotAcceptedIsDropped)
{
    test.PostScript(kDdeStep);
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 0);
    EXPECT_EQ(site.ddePending, 0);
}

TEST_F(InputWaitTest, OnlyTheLastOfTwoEventsOfOneMessageRemains)
{
    test.PostScript(kTwoEventsStep);
    EXPECT_EQ(Wait(kAcceptEscape), 2);
}

TEST_F(InputWaitTest, SameMousePositionIsNotReportedTwiceExceptWithKeyboardCursor)
{
    site.screen = {500, 500};
    test.PostScript(kEventCursorMoved);
    ASSERT_EQ(Wait(kAcceptRubberBand), 0x20);
    test.PostScript(kEventCursorMoved);
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptRubberBand), 0) << "the same position again";
    site.keyCursor = 1;
    test.PostScript(kEventCursorMoved);
    EXPECT_EQ(Wait(kAcceptRubberBand), 0x20);
}

TEST_F(InputWaitTest, PointsFollowLoupeThenGridThenViewGrid)
{
    site.overLoupe = 1;
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptPlainPoint), 0x100);
    EXPECT_DOUBLE_EQ(record.point.x, -10);
    EXPECT_EQ(site.overLoupe, 0) << "the over-loupe flag is cleared";
    site.gridOn = 1;
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptPlainPoint), 0x100);
    EXPECT_DOUBLE_EQ(record.point.x, -20);
}

TEST_F(InputWaitTest, ClickWithoutViewOrDuringPanelEditIsIgnored)
{
    site.activeView = 0;
    test.PostScript(kEventPoint);
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 0);
    site.activeView = 1;
    site.panelEdit = 1;
    test.PostScript(kEventPoint);
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 0);
}

TEST_F(InputWaitTest, FreePointIsUnscaledAndLeavesTheClickPending)
{
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptFreePoint | kAcceptSnappedPoint), 0x100000);
    EXPECT_DOUBLE_EQ(record.point.x, 3);
    EXPECT_EQ(GetInputEventRecord().code, kEventPoint);
    EXPECT_TRUE(test.Has("Log 2 Cmd Event 座標 任意点(3,4)"));
}

TEST_F(InputWaitTest, ElementPickAndBoxSelect)
{
    site.pickElement = 77;
    site.lockMode = 5;
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptElementPick), 0x1000);
    EXPECT_EQ(record.result, 77);
    EXPECT_EQ(site.pickLockMode, 0) << "the pick looks at locked layers too";
    EXPECT_EQ(site.lockMode, 5);
    EXPECT_TRUE(test.Has("Log 2 Cmd Event 77 要素検出"));

    site.boxMark = 88;
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptBoxSelect), 0x20000);
    EXPECT_EQ(record.result, 88);

    site.boxMark = 0;
    test.PostScript(kEventPoint);
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptBoxSelect), 0);
    EXPECT_TRUE(test.Has("Log 2 Cmd Event 選択要素検出なし"));
}

struct SnapCase {
    const char* name;
    long bits;
    int filterByte;
    int newer;
    std::map<SnapSearch, HostPoint> hits;
    int raster;
    int result;
    double x;
    int nameIndex;
};

TEST_F(InputWaitTest, SnappedClickChoosesTheSnapKind)
{
    const SnapCase cases[] = {
        {"end point", kSnapEndPoint, 0, 0, {{SnapSearch::EndPoint, Point(5, 0)}}, 0, 0x200, 50, 1},
        {"end point nearer than intersection", kSnapEndAndIntersection, 0, 0,
         {{SnapSearch::EndPoint, Point(3.5, 4)}, {SnapSearch::Intersection, Point(9, 9)}}, 0, 0x200, 35, 1},
        {"equal distance: intersection", kSnapEndAndIntersection, 0, 0,
         {{SnapSearch::EndPoint, Point(4, 4)}, {SnapSearch::Intersection, Point(2, 4)}}, 0, 0x200, 20, 2},
        {"raster when neither", kSnapEndPoint, 0, 0, {}, 1, 0x200, 500, -1},
        {"centre", kSnapCentre, 0, 0, {{SnapSearch::Centre, Point(6, 0)}}, 0, 0x200, 60, 5},
        {"mid point", kSnapMidPoint, 0, 0, {{SnapSearch::MidPoint, Point(7, 0)}}, 0, 0x200, 70, 4},
        {"on-line ignores the filter", kSnapOnLine, 0x20, 1, {{SnapSearch::OnLine, Point(8, 0)}}, 0, 0x200, 80, 3},
        {"free point", kSnapFreePoint, 0, 0, {}, 0, 0x200, 30, 0},
        {"nothing to snap", kSnapEndPoint, 0, 0, {}, 0, 0, 0, -1},
        {"filter without the free point", kSnapEndPoint | kSnapFreePoint, 0x40, 1,
         {{SnapSearch::EndPoint, Point(5, 0)}}, 0, 0, 0, -1},
        {"newer library filter excludes end point", kSnapEndPoint | kSnapFreePoint, 0x48, 1,
         {{SnapSearch::EndPoint, Point(5, 0)}}, 0, 0x200, 30, 0},
        {"older library: byte 7 not read", kSnapEndPoint, 0x40, 0, {{SnapSearch::EndPoint, Point(5, 0)}}, 0, 0x200, 50, 1},
        {"newer library byte 7 zero: all kinds", kSnapEndPoint, 0, 1, {{SnapSearch::EndPoint, Point(5, 0)}}, 0, 0x200, 50, 1},
    };
    for (const SnapCase& c : cases) {
        SCOPED_TRACE(c.name);
        site.snapBits = c.bits;
        site.hits = c.hits;
        site.raster = c.raster;
        site.newer = c.newer;
        site.snapShow = 1;
        site.shownName = -1;
        site.destroyed.clear();
        record = {};
        record.snapFilter = static_cast<uint8_t>(c.filterByte);
        test.PostScript(kEventPoint);
        test.PostScript(kEventCancel);
        EXPECT_EQ(Wait(kAcceptSnappedPoint), c.result);
        if (c.result) {
            EXPECT_DOUBLE_EQ(record.point.x, c.x);
            EXPECT_EQ(site.shownName, c.nameIndex);
        }
        ASSERT_EQ(site.destroyed.size(), 1u) << "the search mark is destroyed";
        EXPECT_EQ(site.destroyed[0], site.clickMark);
        HostServiceTestWindow::DrainQueue();
    }
}

TEST_F(InputWaitTest, SnappedClickLogsAndSetsTheLastPoint)
{
    site.hits = {{SnapSearch::EndPoint, Point(5, 6, 1, 2)}};
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptSnappedPoint), 0x200);
    EXPECT_TRUE(test.Has("Log 2 Cmd Event 座標 端点(5,6)"));
    EXPECT_EQ(site.lastPointSet, 1);
    EXPECT_DOUBLE_EQ(site.lastPoint.x, 5) << "the last point is the unscaled input point";
    EXPECT_EQ(record.point.value1, 1);
    EXPECT_EQ(record.point.value2, 2);
    EXPECT_EQ(site.marksSeen[0], site.clickMark);
}

TEST_F(InputWaitTest, EmptyMarkWhenThePickBoxFoundNothing)
{
    site.clickMark = nullptr;
    site.hits = {{SnapSearch::EndPoint, Point(5, 6)}};
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptSnappedPoint), 0x200);
    EXPECT_EQ(site.marksSeen[0], site.emptyMark);
}

TEST_F(InputWaitTest, GridSnapLeavesOnlyTheFreePoint)
{
    site.hits = {{SnapSearch::EndPoint, Point(5, 6)}};
    site.viewGridSnapped = 1;
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptSnappedPoint), 0x200);
    EXPECT_DOUBLE_EQ(record.point.x, 30) << "the view-grid point";
    EXPECT_TRUE(site.searches.empty());

    site.viewGridSnapped = 0;
    site.gridOn = 1;
    site.gridNoDetect = 0;
    test.PostScript(kEventPoint);
    ASSERT_EQ(Wait(kAcceptSnappedPoint), 0x200);
    EXPECT_DOUBLE_EQ(record.point.x, -20) << "the grid point";
    EXPECT_TRUE(site.searches.empty());
}

TEST_F(InputWaitTest, SecondaryClickByRightButtonMode)
{
    struct Row { long mode; int found; int result; };
    const Row rows[] = {{8, 0, 0x200}, {1, 1, 0x200}, {1, 0, 0}, {255, 0, 0x200}, {3, 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        site.rightMouse = row.mode;
        site.hits.clear();
        if (row.found) site.hits[SnapSearch::EndPoint] = Point(9, 9);
        test.PostScript(kEventSecondaryClick);
        test.PostScript(kEventCancel);
        EXPECT_EQ(Wait(kAcceptSnappedPoint), row.result);
        HostServiceTestWindow::DrainQueue();
    }
}

TEST_F(InputWaitTest, TemporaryPointIsReturnedUnscaled)
{
    site.temporaryPending = 0;
    test.script = [this](WPARAM) { site.temporaryPending = 1; };
    test.PostScript(0);
    ASSERT_EQ(Wait(kAcceptSnappedPoint), 0x200);
    EXPECT_DOUBLE_EQ(record.point.x, 7);
    EXPECT_DOUBLE_EQ(record.point.y, 8);
}

TEST_F(InputWaitTest, LockLayerSearchModeIsSetWhileWaitingAndPutBack)
{
    site.lockMode = 0;
    int during = -1;
    test.script = [&](WPARAM) {
        during = site.lockMode;
        RaiseInputEvent(kEventEscape);
    };
    test.PostScript(0);
    ASSERT_EQ(Wait(kAcceptEscape | kAcceptLockLayerSearch), 2);
    EXPECT_EQ(during, 1);
    EXPECT_EQ(site.lockMode, 0);
}

TEST_F(InputWaitTest, CancelEndsTheWaitAndUnlocksTheView)
{
    test.PostScript(kEventCancel);
    EXPECT_EQ(Wait(kAcceptRubberBand), 0);
    EXPECT_EQ(site.unlocked, 1);
    EXPECT_GE(site.erased, 1);
}

void CALLBACK CancelOnTimer(HWND, UINT, UINT_PTR, DWORD) { RaiseInputEvent(kEventCancel); }

TEST_F(InputWaitTest, QuitIsPutBackWithItsCodeAndEndsEveryWait)
{
    // An inner wait runs inside a message dispatched by the outer one.
    LRESULT inner = -1;
    InputWaitRecord innerRecord = {};
    test.script = [&](WPARAM step) {
        if (step == 1) {
            PostQuitMessage(7);
            inner = test.Send(WM_CAD_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&innerRecord));
        }
    };
    test.PostScript(1);
    // Should the quit be lost, the outer wait is ended by a later cancel instead of hanging; a
    // timer comes only after a pending quit.
    const UINT_PTR timer = SetTimer(nullptr, 0, 2000, CancelOnTimer);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 1);
    KillTimer(nullptr, timer);
    EXPECT_EQ(inner, 1);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit message is back";
    EXPECT_EQ(msg.wParam, 7u);
}


// The snapped click through the engine's own point searches on a small drawing: the pick box
// around the click gathers the candidates with the click search settings, and the searches
// look only at them.
class EngineSite : public FakeSite {
public:
    struct ViewBlock {
        uint8_t head[20] = {};
        void* db = nullptr;
        uint8_t rest[64] = {};
    };
    explicit EngineSite(void* database) : db(database) { view.db = database; }

    void* ClickSearchMark() override
    {
        SearchBlock saved{}, click{};
        ZUriDbGetSerch(&saved);
        click = saved;
        click.mode = 3;
        click.typeMask = 0xE7FFF;
        click.word2 = -1;
        click.word3 = 0xFFFF;
        click.word4 = 0xFFFFFF;
        click.word5 = 255;
        click.word6 = 255;
        ZUriDbSetSerch(&click);
        const SearchBox box = {cursor.x - 3, cursor.y + 3, cursor.x + 3, cursor.y - 3};
        void* mark = ZUriGetWakuElement(&box, db, &view);
        ZUriDbSetSerch(&saved);
        return mark;
    }
    void* CreateEmptyMark() override { return ZUriCreateMark(db); }
    void DestroyMark(void* mark) override
    {
        destroyed.push_back(mark);
        if (mark) ZUriDestroyMark(mark);
    }
    int SearchPoint(SnapSearch kind, const HostPoint& at, void* mark, HostPoint* found) override
    {
        searches.push_back(kind);
        SearchPointRecord point{at.x, at.y, 0, 0}, out{};
        int hit = 0;
        switch (kind) {
        case SnapSearch::EndPoint: hit = ZUriSerchPoint(point, &out, 0.5, db, nullptr, &view, mark); break;
        case SnapSearch::Intersection: hit = ZUriSerchPoint3(point, &out, 0.5, &view, mark); break;
        case SnapSearch::Centre: hit = ZUriSerchPoint2_2(point, &out, 0.5, &view, mark); break;
        case SnapSearch::MidPoint: hit = ZUriSerchPoint2(point, &out, 0.5, &view, 0, mark); break;
        case SnapSearch::OnLine: hit = ZUriSerchPoint4(point, &out, 0.5, &view, mark); break;
        }
        if (!hit) return 0;
        *found = HostPoint{out.x, out.y, out.value1, out.value2};
        return 1;
    }

    void* db;
    ViewBlock view;
};

TEST(InputWaitEngineSearch, SnappedClickFindsTheDrawingsPoints)
{
    GetInputEventRecord() = InputEventRecord();
    TestDb drawing;
    ASSERT_TRUE(drawing.created);
    ElementRecord horizontal = MakeLine(0, 0, 10, 0), vertical = MakeLine(5, -5, 5, 5);
    ElementRecord circle = MakeCircle(20, 20, 2);
    ZUriAppendElement(&horizontal, drawing.db());
    ZUriAppendElement(&vertical, drawing.db());
    ZUriAppendElement(&circle, drawing.db());

    EngineSite site(drawing.db());
    site.scale = 1;
    site.snapShow = 1;
    SetInputWaitSite(&site);
    HostServiceTestWindow test;
    test.script = [](WPARAM step) { RaiseInputEvent(static_cast<int32_t>(step)); };

    struct Row { const char* name; double x, y; long bits; int result; double fx, fy; int nameIndex; };
    const Row rows[] = {
        {"end point", 9.6, 0.3, kSnapEndPoint, 0x200, 10, 0, kSnapNameEndPoint},
        {"intersection", 5.2, 0.2, kSnapEndAndIntersection, 0x200, 5, 0, kSnapNameIntersection},
        {"mid point", 4.8, 0.1, kSnapMidPoint, 0x200, 5, 0, kSnapNameMidPoint},
        {"centre", 20.3, 19.8, kSnapCentre, 0x200, 20, 20, kSnapNameCentre},
        {"nothing near", 3, 3, kSnapEndPoint | kSnapMidPoint, 0, 0, 0, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        site.cursor = site.viewGrid = Point(row.x, row.y);
        site.snapBits = row.bits;
        site.shownName = -1;
        InputWaitRecord record = {};
        test.PostScript(kEventPoint);
        test.PostScript(kEventCancel);
        test.Send(WM_CAD_CLEAR_EVENT_MASK);
        test.Send(WM_CAD_ADD_EVENT_MASK, 0, kAcceptSnappedPoint);
        EXPECT_EQ(test.Send(WM_CAD_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&record)), row.result);
        if (row.result) {
            EXPECT_NEAR(record.point.x, row.fx, 1e-9);
            EXPECT_NEAR(record.point.y, row.fy, 1e-9);
            EXPECT_EQ(site.shownName, row.nameIndex);
        }
        HostServiceTestWindow::DrainQueue();
    }
    SetInputWaitSite(nullptr);
    GetInputEventRecord() = InputEventRecord();
}

TEST_F(InputWaitTest, DetectAtCursorShowsTheSnapNameWithoutWaitingOrLogging)
{
    site.panelEdit = 1;
    EXPECT_EQ(DetectAtCursor(), 1);
    site.panelEdit = 0;
    GetInputEventRecord().offsetInput = 1;
    site.snapBits = kSnapEndPoint;
    site.hits = {{SnapSearch::EndPoint, Point(5, 6)}};
    EXPECT_EQ(DetectAtCursor(), 0x200);
    EXPECT_EQ(site.shownName, kSnapNameEndPoint);
    EXPECT_EQ(site.lastPointSet, 0);
    EXPECT_EQ(GetInputEventRecord().offsetInput, 1) << "put back after the search";
    site.hits.clear();
    EXPECT_EQ(DetectAtCursor(), 1);
    EXPECT_TRUE(test.lines.empty()) << "the preview writes no log";
    EXPECT_EQ(site.destroyed.size(), 2u);
}

TEST(SnapKindFilter, ByInterfaceAndByte)
{
    struct Row { int newer; uint8_t byte; int filter; };
    const Row rows[] = {{0, 0, 255}, {0, 0x20, 255}, {1, 0, 255}, {1, 0x20, 0x20}, {1, 255, 255}};
    for (const Row& row : rows) {
        InputWaitRecord record = {};
        record.snapFilter = row.byte;
        EXPECT_EQ(SnapKindFilter(record, row.newer), row.filter);
    }
}

// A cancel (2044) sent by the dispatcher while a command waits ends that command before the
// re-posted command runs, and a command that waits again afterwards is answered "end" at once.
TEST_F(InputWaitTest, CancelledCommandThatWaitsAgainDoesNotRunTheRepostedCommand)
{
    NoteCommandRunBegin();  // the old command runs (inside its own WM_CAD_RUN_COMMAND)
    GetCommandRunState().pluginCommandRunning = 1;
    PostMessageA(test.window, WM_CAD_RUN_COMMAND, 5990, 0);  // a new command picked meanwhile

    EXPECT_EQ(Wait(kAcceptPlainPoint), 0) << "the cancel ends the wait";
    EXPECT_TRUE(test.Has("Status 1 [ ]"));
    MSG queued = {};
    ASSERT_TRUE(PeekMessageA(&queued, test.window, WM_CAD_RUN_COMMAND, WM_CAD_RUN_COMMAND, PM_NOREMOVE))
        << "the new command was re-posted";

    // The command ignores the end and waits again: it is told to end at once, and the re-posted
    // command stays queued instead of running inside it.
    test.PostScript(kEventPoint);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 0);
    EXPECT_TRUE(PeekMessageA(&queued, test.window, WM_CAD_RUN_COMMAND, WM_CAD_RUN_COMMAND, PM_NOREMOVE));
    NoteCommandRunEnd();  // the old command returns

    // Afterwards waits take messages again.
    EXPECT_EQ(IsWaitCancelled(), 0);
    HostServiceTestWindow::DrainQueue();
    test.PostScript(kEventEscape);
    EXPECT_EQ(Wait(kAcceptEscape), 2);
}

// A command in its own loop (or dialog) when a new one is picked: the pick cancels it and is
// re-posted; the command, waiting afterwards, is told to end at once, and the new command runs
// only after the old one has returned, even when the old one's loop hands it the re-post.
TEST_F(InputWaitTest, CommandInItsOwnLoopIsCancelledBeforeTheNewOneRuns)
{
    CommandRunScope oldCommand;
    GetCommandRunState().pluginCommandRunning = 1;
    EXPECT_EQ(test.Send(WM_CAD_RUN_COMMAND, 5990, 0), 1);  // the pick, handed on by its own loop
    MSG queued = {};
    ASSERT_TRUE(PeekMessageA(&queued, test.window, WM_CAD_RUN_COMMAND, WM_CAD_RUN_COMMAND, PM_REMOVE))
        << "the new command was re-posted";
    EXPECT_EQ(IsWaitCancelled(), 1);
    // Its own loop dispatches the re-post: the dispatcher holds it back.
    EXPECT_EQ(test.Send(WM_CAD_RUN_COMMAND, queued.wParam, queued.lParam), 1);
    EXPECT_FALSE(PeekMessageA(&queued, test.window, WM_CAD_RUN_COMMAND, WM_CAD_RUN_COMMAND, PM_NOREMOVE));

    // It waits now: "end" at once, whatever comes.
    test.PostScript(kEventPoint);
    EXPECT_EQ(Wait(kAcceptPlainPoint), kWaitEnd);
    EXPECT_EQ(GetInputEventRecord().code, 0);
}

// A cancelled command that keeps asking for input does not freeze the program: each answer
// "end" comes after what is queued was handled, except the command runs.
TEST_F(InputWaitTest, CancelledCommandThatKeepsWaitingLetsTheProgramWork)
{
    NoteCommandRunBegin();
    NoteCommandCancelled();
    int handled = 0;
    test.script = [&handled](WPARAM) { ++handled; };
    PostMessageA(test.window, WM_CAD_RUN_COMMAND, 5990, 0);
    test.PostScript(0);
    test.PostScript(0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Wait(kAcceptPlainPoint), kWaitEnd);
    EXPECT_EQ(handled, 2);
    MSG queued = {};
    EXPECT_TRUE(PeekMessageA(&queued, test.window, WM_CAD_RUN_COMMAND, WM_CAD_RUN_COMMAND, PM_NOREMOVE))
        << "the command run stays queued";
    NoteCommandRunEnd();
    EXPECT_EQ(IsWaitCancelled(), 0);
}

namespace {

HWND g_faultHost = nullptr;

// A plug-in command that waits with the lock-layer search mode and faults inside its wait.
int WINAPI FaultingWaitCommand(HWND host, const char*)
{
    g_faultHost = host;
    InputWaitRecord record = {};
    SendMessageA(host, WM_CAD_CLEAR_EVENT_MASK, 0, 0);
    SendMessageA(host, WM_CAD_ADD_EVENT_MASK, 0, static_cast<LPARAM>(kAcceptPlainPoint | kAcceptLockLayerSearch));
    return static_cast<int>(SendMessageA(host, WM_CAD_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&record)));
}

}  // namespace

// A guarded fault raised while a wait is on the stack jumps over the wait's scopes: the guard
// puts the wait depth, the runs and the lock-layer search mode back.
TEST_F(InputWaitTest, AGuardedFaultInsideAWaitPutsTheWaitStateBack)
{
    // The fault guard saves the user's settings: they go to a folder of the test's own.
    SettingsSandbox settings;
    site.lockMode = 0;
    int modeInsideTheWait = -1;
    int depthInsideTheWait = -1;
    test.script = [&](WPARAM) {
        modeInsideTheWait = site.lockMode;
        depthInsideTheWait = InputWaitDepth();
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    };
    test.PostScript(0);
    CommandRunScope run;
    EXPECT_EQ(CallStartCmd(FaultingWaitCommand, "", 1), -1);
    EXPECT_EQ(modeInsideTheWait, 1);
    EXPECT_EQ(depthInsideTheWait, 1);
    EXPECT_EQ(InputWaitDepth(), 0);
    EXPECT_EQ(site.lockMode, 0);
    // A later wait is an ordinary one again.
    test.script = [](WPARAM step) { RaiseInputEvent(static_cast<int32_t>(step)); };
    test.PostScript(kEventEscape);
    EXPECT_EQ(Wait(kAcceptEscape), kWaitEscape);
}

TEST_F(InputWaitTest, CancelWhileTheStateFlagIsZeroStillEndsTheWait)
{
    test.Send(WM_CAD_CMD_STATE, 0, 0);
    test.script = [this](WPARAM) { test.Send(WM_CAD_CANCEL_COMMAND); };
    test.PostScript(0);
    EXPECT_EQ(Wait(kAcceptPlainPoint), 0);
    EXPECT_FALSE(test.Has("Status 1 [ ]"));
}

TEST_F(InputWaitTest, InterruptWaitReportsMovesAsCursorMovesAndKeepsPanelEvents)
{
    // The interrupt wait answers through its own map, which the frame chains after the services.
    CCadInterruptCmd interruptMap;
    auto interrupt = [&](uint32_t mask) {
        GetInputEventRecord().acceptMask = mask;
        LRESULT result = -1;
        EXPECT_TRUE(interruptMap.ProcessWindowMessage(test.window, WM_CAD_INTERRUPT_WAIT, 0,
                                                      reinterpret_cast<LPARAM>(&record), result, 0));
        return result;
    };
    test.script = [](WPARAM step) {
        if (step == kPanelStep) RaisePanelEvent(kItemPushButton, 7, 0);
        else RaiseInputEvent(static_cast<int32_t>(step));
    };
    test.PostScript(kEventCursorMoved);
    EXPECT_EQ(interrupt(kAcceptRubberBand), 0x10);

    test.PostScript(kPanelStep);
    EXPECT_EQ(interrupt(kAcceptPanelItem), 0x2000);
    EXPECT_EQ(GetInputEventRecord().code, kEventPanelItem) << "left for the service command to hand on";
    EXPECT_EQ(record.item, 7);

    // Undo ends it only with the undo bit.
    test.PostScript(kEventUndo);
    test.PostScript(kEventCancel);
    EXPECT_EQ(interrupt(0), 0);
    test.PostScript(kEventUndo);
    EXPECT_EQ(interrupt(kAcceptUndo), 0x80);
}

namespace {

CMainAccelerator* g_accelerator = nullptr;
std::vector<WORD> g_fired;

// A main window that hands out the program's accelerator table and keeps the commands fired.
LRESULT CALLBACK AcceleratorFrameProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CAD_GET_ACCELERATOR) return reinterpret_cast<LRESULT>(g_accelerator);
    if (msg == WM_COMMAND) {
        g_fired.push_back(LOWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

// A value typed into a parameter panel's edit field is no shortcut: the input wait leaves the
// accelerators to the application object, which keeps them away from that field.
TEST_F(InputWaitTest, AcceleratorsDoNotFireInAParameterPanelEditField)
{
    CMainAccelerator accelerator;
    ASSERT_GE(accelerator.Load("RovOdidov.key"), 0);
    ASSERT_NE(accelerator.Table(), nullptr);
    g_accelerator = &accelerator;
    g_fired.clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = AcceleratorFrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VtAcceleratorFrame";
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, "VtAcceleratorFrame", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    HWND editField = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(editField, nullptr);
    seam::GetParameterPanelHandles().editField = editField;
    InputEventRecord& events = GetInputEventRecord();
    events.acceptMask = kAcceptPlainPoint;

    // F5 (command 1314 in the installed key file) typed into the edit field.
    PostMessageA(editField, WM_KEYDOWN, VK_F5, 1);
    test.PostScript(kEventCancel);
    EXPECT_EQ(WaitUserInput(frame, &record), kWaitEnd);
    EXPECT_TRUE(g_fired.empty()) << "the shortcut fired while a value was typed";

    // Anywhere else the key is the shortcut.
    PostMessageA(frame, WM_KEYDOWN, VK_F5, 1);
    test.PostScript(kEventCancel);
    EXPECT_EQ(WaitUserInput(frame, &record), kWaitEnd);
    EXPECT_EQ(g_fired, std::vector<WORD>{1314});

    seam::GetParameterPanelHandles().editField = nullptr;
    g_accelerator = nullptr;
    DestroyWindow(editField);
    DestroyWindow(frame);
}

TEST_F(InputWaitTest, InterruptWaitPutsQuitBack)
{
    PostQuitMessage(3);
    EXPECT_EQ(InterruptWaitInput(test.window, &record), 1);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
