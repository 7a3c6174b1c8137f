#include "commands/InputWaitLoop.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DravikDb.h"
#include "commands/CommandHost.h"
#include "commands/CommandRunState.h"
#include "commands/DdeExecute.h"
#include "commands/InputEvent.h"
#include "commands/MarkServices.h"
#include "panels/ParameterPanelDisplay.h"
#include "panels/ParameterPanelModel.h"
#include "panels/RightMenu.h"
#include "commands/PointSearch.h"
#include "commands/ServiceCommands.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "dialogs/PointInput.h"
#include "core/StartupSeams.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainAccelerator.h"
#include "mainframe/MainFrame.h"
#include "view/CursorMessageWindows.h"
#include "view/ElementDrawing.h"
#include "view/InputScale.h"
#include "view/LayoutCells.h"
#include "view/LoupeView.h"
#include "view/RasterService.h"
#include "view/RubberBand.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

// ---- the default site: the program's own services ----
//
// The drawing views, the panels, the temporary-point dialog, the DDE server and the point
// searches are not part of the program yet; until they are, the default site answers as the
// program without an open drawing does: no view, points at 0, nothing found, nothing pending.

int CInputWaitSite::HasActiveView() { return ::GetActiveView() != nullptr ? 1 : 0; }
int CInputWaitSite::IsCursorOverLoupe() { return ::IsCursorOverLoupe(); }
void CInputWaitSite::ClearOverLoupe() { ::ClearOverLoupe(); }
int CInputWaitSite::IsGridSnapOn() { return IsGridOn(); }
int CInputWaitSite::IsKeyCursorMode() { return ::IsKeyCursorMode(); }
HostPoint CInputWaitSite::LoupePoint()
{
    HostPoint point = {};
    GetLoupePoint(&point.x, &point.y);
    return point;
}
HostPoint CInputWaitSite::GridPoint()
{
    HostPoint point{};
    GetGridCursorPoint(&point.x, &point.y, nullptr);
    return point;
}
HostPoint CInputWaitSite::CursorPoint()
{
    HostPoint point{};
    GetCursorWorldPoint(&point.x, &point.y);
    return point;
}
HostPoint CInputWaitSite::ViewGridPoint(int* snapped)
{
    double xyz[3] = {};
    int done = 0;
    SnapCursorToViewGrid(xyz, &done);
    if (snapped) *snapped = done;
    HostPoint point{};
    point.x = xyz[0];
    point.y = xyz[1];
    return point;
}
void CInputWaitSite::EraseRubberBand()
{
    if (HWND view = GetActiveView()) UpdateRubberBand(view, 0, 0, 1);
}
void CInputWaitSite::UnlockView() { ::UnlockView(); }
void CInputWaitSite::SetLastInputPoint(const HostPoint& point)
{
    DrawLastPointCursor(0, 0, 0);
    // The point searches and the last-point marker each keep the point.
    SetSearchLastInputPoint(point);
    ::SetLastInputPoint(point.x, point.y, 0.0);
    DrawLastPointCursor(0, 0, 3);
}
void CInputWaitSite::ScalePointInputToDrawing(HostPoint* point)
{
    double xyz[3] = {point->x, point->y, 0.0};
    ::ScalePointInputToDrawing(xyz);
    point->x = xyz[0];
    point->y = xyz[1];
}
int CInputWaitSite::ScreenCursorPosition(POINT* position) { return GetCursorPos(position) ? 1 : 0; }
int CInputWaitSite::LayoutCellLayer() { return GetPickedLayoutLayer(); }
int CInputWaitSite::LayoutCellPage() { return GetPickedLayoutPage(); }
int CInputWaitSite::DetectRasterPoint(const HostPoint& at, HostPoint* found)
{
    const double point[2] = {at.x, at.y};
    double out[2] = {0, 0};
    if (!found || !::DetectRasterPoint(point, out)) return 0;
    found->x = out[0];
    found->y = out[1];
    return 1;
}
void CInputWaitSite::ShowSnapName(int nameIndex) { GetSnapWin().ShowSnapName(nameIndex, nullptr); }
int CInputWaitSite::IsPanelEditActive() { return seam::GetParameterPanelHandles().editField != nullptr ? 1 : 0; }
int CInputWaitSite::IsRightMenuShown() { return RightMenuPopupShown(); }
int CInputWaitSite::PanelItemNumber(int id, double* number)
{
    PboxItem* item = PboxFindItem(0, id);
    if (item == nullptr || item->text == nullptr || number == nullptr) return 0;
    // The whole text block, however long, so read through the panel's own getter.
    std::string text(item->textSize + 1, '\0');
    PboxItemRequest request{};
    request.panel = 0;
    request.id = id;
    request.text = &text[0];
    if (!PboxGetItemText(&request)) return 0;
    *number = std::atof(text.c_str());
    return 1;
}
int CInputWaitSite::IsTemporaryPointPending() { return GetTemporaryPointInput().pending != 0 ? 1 : 0; }
void CInputWaitSite::ClearTemporaryPointPending() { GetTemporaryPointInput().pending = 0; }
HostPoint CInputWaitSite::TemporaryPoint()
{
    HostPoint point{};
    point.x = GetTemporaryPointInput().pointX;
    point.y = GetTemporaryPointInput().pointY;
    return point;
}
void CInputWaitSite::InputPointOffset(HostPoint* point)
{
    if (point == nullptr) return;
    double xy[2] = {point->x, point->y};
    if (::InputPointOffset(xy)) {
        point->x = xy[0];
        point->y = xy[1];
    }
}
HostPoint CInputWaitSite::Midpoint() { return ServiceMidpoint(); }
int CInputWaitSite::IsRecheckRequested() { return IsLayoutRecheckRequested(); }
void CInputWaitSite::ClearRecheckRequest() { ClearLayoutRecheckRequest(); }
int CInputWaitSite::IsDdeTextPending() { return ::IsDdeTextPending(); }
void CInputWaitSite::ClearDdeTextPending() { ::ClearDdeTextPending(); }
const char* CInputWaitSite::DdeText() { return GetDdeText(); }
int CInputWaitSite::SearchPoint(SnapSearch kind, const HostPoint& at, void* mark, HostPoint* found)
{
    SearchPointRecord point{at.x, at.y, at.value1, at.value2};
    SearchPointRecord out = point;
    int hit = 0;
    switch (kind) {
    case SnapSearch::EndPoint: hit = ::SearchPoint(point, &out, mark); break;
    case SnapSearch::Intersection: hit = SearchPoint3(point, &out, mark); break;
    case SnapSearch::Centre: hit = SearchPoint2Ex(point, &out, mark); break;
    case SnapSearch::MidPoint: hit = SearchPoint2(point, &out, mark); break;
    case SnapSearch::OnLine: hit = SearchPoint4(point, &out, mark); break;
    }
    if (hit && found) {
        found->x = out.x;
        found->y = out.y;
        found->value1 = out.value1;
        found->value2 = out.value2;
    }
    return hit;
}
int CInputWaitSite::PickElementAtPoint(const HostPoint& at, int groups, INT_PTR* element)
{
    void* picked = nullptr;
    const int found = ::PickElementAtPoint(&picked, at.x, at.y, groups);
    if (element) *element = reinterpret_cast<INT_PTR>(picked);
    return found;
}
int CInputWaitSite::SelectInPickBox(INT_PTR* mark)
{
    void* found = nullptr;
    const int result = SetSearchBoxAtCursor(&found);
    if (mark) *mark = reinterpret_cast<INT_PTR>(found);
    return result;
}
void* CInputWaitSite::ClickSearchMark() { return SearchAllKindsAtCursor(); }
void* CInputWaitSite::CreateEmptyMark()
{
    void* database = GetCommandHost().ActiveDatabase();
    return database ? ZUriCreateMark(database) : nullptr;
}
void CInputWaitSite::DestroyMark(void* mark)
{
    if (mark) ZUriDestroyMark(mark);
}
int CInputWaitSite::LockLayerSearchMode() { return QmGetLockLaySearchMode(); }
void CInputWaitSite::SetLockLayerSearchMode(int mode) { QmSetLockLaySearchMode(mode); }
int CInputWaitSite::PageDetectFlag() { return ZUriGetPageDetFlag(); }
void CInputWaitSite::SetPageDetectFlag(int flag) { ZUriSetPageDetFlag(flag); }
void CInputWaitSite::SetGroupFind(int on) { ZUriSerchSetGrpFind(on); }
long CInputWaitSite::SnapModeBits() { return GetLocalSettingsLive().setup.LMsFg; }
int CInputWaitSite::SnapShowMode() { return GetLocalSettingsLive().setup.iSnapShowMode; }
int CInputWaitSite::GridNoDetectFlag() { return GetLocalSettingsLive().setup.iGridNoDetFlg; }
int CInputWaitSite::TemporaryOldMode() { return GetCadSystem().config.TEMPOLDMODE; }
long CInputWaitSite::RightMouseMode() { return GetCadSystem().config.RMOUSE; }
int CInputWaitSite::NewerInterface() { return GetCommandRunState().newerInterface; }

namespace {

CInputWaitSite g_defaultSite;
CInputWaitSite* g_site = &g_defaultSite;

// Module state of the waits.
struct WaitState {
    InputWaitRecord* record = nullptr;       // the wait in progress
    int snapFilter = 255;
    POINT lastCursor = {-1000000, -1000000};  // last reported mouse move of the input wait
    POINT lastInterruptCursor = {-1000000, -1000000};
    int interruptFreePoint = 0;
    int waitDepth = 0;
    int runDepth = 0;            // command runs started through the host-service object
    int innermostWaitRun = 0;    // the run depth of the innermost wait in progress
    int cancelledRun = 0;        // run depth whose command was cancelled; 0 = none
};

WaitState& State()
{
    static WaitState state;
    return state;
}

void LogEvent(const char* text) { GetCommandHost().WriteLog(2, "Cmd Event", text); }

void LogPoint(const char* format, const HostPoint& point)
{
    char text[160];
    std::snprintf(text, sizeof text, format, point.x, point.y);
    LogEvent(text);
}

// Puts the engine's lock-layer search mode back on every way out of a wait.
class LockModeScope {
public:
    LockModeScope(CInputWaitSite& site, uint32_t mask) : m_site(site), m_saved(site.LockLayerSearchMode())
    {
        if (mask & kAcceptLockLayerSearch) m_site.SetLockLayerSearchMode(1);
    }
    ~LockModeScope() { m_site.SetLockLayerSearchMode(m_saved); }
    int Saved() const { return m_saved; }

private:
    CInputWaitSite& m_site;
    int m_saved;
};

// Keeps the wait depth and the run the innermost wait belongs to.
class WaitScope {
public:
    explicit WaitScope(InputWaitRecord* record)
        : m_savedRecord(State().record), m_savedRun(State().innermostWaitRun), m_savedFilter(State().snapFilter)
    {
        WaitState& state = State();
        ++state.waitDepth;
        state.innermostWaitRun = state.runDepth;
        state.record = record;
    }
    ~WaitScope()
    {
        WaitState& state = State();
        --state.waitDepth;
        state.innermostWaitRun = m_savedRun;
        state.record = m_savedRecord;
        state.snapFilter = m_savedFilter;  // a nested wait leaves the outer one's filter alone
    }

private:
    InputWaitRecord* m_savedRecord;
    int m_savedRun;
    int m_savedFilter;
};

// Gives a value for a scope and puts the old one back on every way out.
template <class T>
class ValueScope {
public:
    ValueScope(T& value, T scoped) : m_value(value), m_saved(value) { m_value = scoped; }
    ~ValueScope() { m_value = m_saved; }
    ValueScope(const ValueScope&) = delete;
    ValueScope& operator=(const ValueScope&) = delete;

private:
    T& m_value;
    T m_saved;
};

bool Has(uint32_t mask, uint32_t bit) { return (mask & bit) != 0; }

// The quit message ends every waiting loop: it is put back so that each loop around this one,
// and finally the main loop, sees it too.
int QuitWait(const MSG& msg)
{
    PostQuitMessage(static_cast<int>(msg.wParam));
    return kWaitQuit;
}

// The key and accelerator filter of the input wait; true when it consumed the message.
bool FilterMessage(HWND mainWindow, MSG& msg)
{
    // The floating parameter panel's filter comes first, as it does in the program's loop.
    if (PboxFloatingDialogMessage(&msg)) return true;
    auto* accelerator = reinterpret_cast<CMainAccelerator*>(
        mainWindow ? SendMessageA(mainWindow, WM_CAD_GET_ACCELERATOR, 0, 0) : 0);
    const int key = FramePreTranslateKey(mainWindow, &msg, accelerator);
    if (key == 1) return true;
    if (key == -1) return false;  // the key belongs to an open panel list: straight to it
    // The application object keeps the accelerators away from a parameter panel's edit field.
    if (accelerator != nullptr && accelerator->Table() != nullptr &&
        GetCadSystem().TranslateAccel(mainWindow, accelerator->Table(), &msg)) {
        return true;
    }
    HWND client = GetMdiClientWnd();
    return client != nullptr && TranslateMDISysAccel(client, &msg);
}

void EraseIfRubberBand(CInputWaitSite& site, uint32_t mask)
{
    if (Has(mask, kAcceptRubberBand)) site.EraseRubberBand();
}

// The loupe point, else the grid point when grid snapping is on, else the fallback.
HostPoint LoupeOrGrid(CInputWaitSite& site, bool viewGrid, int* snappedToGrid = nullptr)
{
    if (snappedToGrid) *snappedToGrid = 0;
    if (site.IsCursorOverLoupe()) return site.LoupePoint();
    if (site.IsGridSnapOn()) return site.GridPoint();
    return viewGrid ? site.ViewGridPoint(snappedToGrid) : site.CursorPoint();
}

void SetPoint(InputWaitRecord* record, const HostPoint& point) { record->point = point; }

double Distance(const HostPoint& a, const HostPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// What the snap search found.
enum class SnapFound { None, EndPoint, Intersection, Raster, Centre, MidPoint, OnLine, Free };

// The snap-name index of a found kind (-1: no name is shown) and its log text.
int SnapNameOf(SnapFound found)
{
    switch (found) {
    case SnapFound::EndPoint: return kSnapNameEndPoint;
    case SnapFound::Intersection: return kSnapNameIntersection;
    case SnapFound::Centre: return kSnapNameCentre;
    case SnapFound::MidPoint: return kSnapNameMidPoint;
    case SnapFound::OnLine: return kSnapNameOnLine;
    case SnapFound::Free: return kSnapNameFree;
    default: return -1;
    }
}

const char* SnapLogFormatOf(SnapFound found)
{
    switch (found) {
    case SnapFound::EndPoint: return "座標 端点(%g,%g)";
    case SnapFound::Intersection: return "座標 交点(%g,%g)";
    case SnapFound::Raster: return "座標 ラスター点(%g,%g)";
    case SnapFound::Centre: return "座標 中心(%g,%g)";
    case SnapFound::MidPoint: return "座標 中点(%g,%g)";
    case SnapFound::OnLine: return "座標 線上(%g,%g)";
    default: return "座標 任意(%g,%g)";
    }
}

// How a snap search runs where the waits differ.
struct SnapRules {
    long bits = 0;                    // the snap mode bits (LMsFg)
    int filter = 255;                 // the snap kinds this wait allows
    bool keyCursor = false;           // with the keyboard cursor only lines and the free point snap
    bool gridOnly = false;            // the point is on the grid: only the free point
    bool nearerOfEndAndCross = true;  // else an end point is taken before any intersection
    bool rasterPoints = true;         // a raster point when no end point or intersection is found
    bool groupFindForCross = false;   // the intersection search finds groups as a whole
    void* mark = nullptr;             // the candidates around the point
};

// The one snap search: end points and intersections, a raster point, the centre, the
// midpoint, a point on a line, and last the free point, each kind only where the rules allow
// it. *found is the point of the kind found (the input for the free point).
SnapFound SearchSnap(CInputWaitSite& site, const HostPoint& input, const SnapRules& rules, HostPoint* found)
{
    auto applies = [&](long bit) { return (rules.bits & bit) && !rules.keyCursor && (rules.filter & bit); };
    *found = input;
    if (!rules.gridOnly) {
        const bool endApplies = applies(kSnapEndAndIntersection) || applies(kSnapEndPoint);
        const bool crossApplies = applies(kSnapEndAndIntersection) || applies(kSnapIntersection);
        HostPoint endPoint = input, cross = input;
        const bool endFound = endApplies && site.SearchPoint(SnapSearch::EndPoint, input, rules.mark, &endPoint);
        bool crossFound = false;
        if (crossApplies && (rules.nearerOfEndAndCross || !endFound)) {
            if (rules.groupFindForCross) site.SetGroupFind(1);
            crossFound = site.SearchPoint(SnapSearch::Intersection, input, rules.mark, &cross) != 0;
            if (rules.groupFindForCross) site.SetGroupFind(0);
        }
        // At equal distance the intersection wins.
        if (endFound && (!crossFound || Distance(endPoint, input) < Distance(cross, input))) {
            *found = endPoint;
            return SnapFound::EndPoint;
        }
        if (crossFound) {
            *found = cross;
            return SnapFound::Intersection;
        }
        if ((endApplies || crossApplies) && rules.rasterPoints && site.DetectRasterPoint(input, found))
            return SnapFound::Raster;
        if (applies(kSnapCentre) && site.SearchPoint(SnapSearch::Centre, input, rules.mark, found))
            return SnapFound::Centre;
        if (applies(kSnapMidPoint) && site.SearchPoint(SnapSearch::MidPoint, input, rules.mark, found))
            return SnapFound::MidPoint;
        if ((rules.bits & kSnapOnLine) && site.SearchPoint(SnapSearch::OnLine, input, rules.mark, found))
            return SnapFound::OnLine;
    }
    *found = input;
    if ((rules.bits & kSnapFreePoint) && (rules.filter & kSnapFreePoint)) return SnapFound::Free;
    return SnapFound::None;
}

// The candidates around the point, found with the click search settings (all pages, groups as
// a whole); an empty mark when the pick box found nothing.
void* ClickCandidates(CInputWaitSite& site)
{
    const int pageDetect = site.PageDetectFlag();
    site.SetPageDetectFlag(1);
    site.SetGroupFind(1);
    void* mark = site.ClickSearchMark();
    site.SetGroupFind(0);
    site.SetPageDetectFlag(pageDetect);
    return mark != nullptr ? mark : site.CreateEmptyMark();
}

// The element pick of a click: it looks through locked layers too unless the command asked
// for the lock-layer search mode, which is put back afterwards. 1 when an element was found.
int PickThroughLockedLayers(CInputWaitSite& site, const HostPoint& at, uint32_t mask, INT_PTR* element)
{
    const int saved = site.LockLayerSearchMode();
    if (saved == 1) return site.PickElementAtPoint(at, Has(mask, kAcceptGroupPick) ? 1 : 0, element);
    site.SetLockLayerSearchMode(0);
    const int found = site.PickElementAtPoint(at, Has(mask, kAcceptGroupPick) ? 1 : 0, element);
    site.SetLockLayerSearchMode(saved);
    return found;
}

// The logged element pick of a click: the record holds the element.
int ElementPicked(CInputWaitSite& site, InputWaitRecord* record, INT_PTR element)
{
    record->result = element;
    char text[64];
    std::snprintf(text, sizeof text, "%ld 要素検出", static_cast<long>(element));
    LogEvent(text);
    site.ClearOverLoupe();
    return kWaitElement;
}

// The snapped click (mask 0x200): a result code, or 0 when the click is ignored.
int SnappedClick(CInputWaitSite& site, InputWaitRecord* record, uint32_t mask)
{
    const int showName = site.SnapShowMode() > 0;
    int viewGridSnapped = 0;
    const HostPoint input = LoupeOrGrid(site, true, &viewGridSnapped);
    SetPoint(record, input);

    if (Has(mask, kAcceptElementPick)) {
        LogPoint("座標 要素点(%g,%g)", input);
        INT_PTR element = 0;
        if (site.PickElementAtPoint(input, Has(mask, kAcceptGroupPick) ? 1 : 0, &element))
            return ElementPicked(site, record, element);
    }

    SnapRules rules;
    rules.mark = ClickCandidates(site);
    rules.bits = site.SnapModeBits();
    rules.filter = State().snapFilter;
    rules.keyCursor = site.IsKeyCursorMode() != 0;
    rules.gridOnly = viewGridSnapped || (site.IsGridSnapOn() && site.GridNoDetectFlag() != 1);
    HostPoint point = input;
    const SnapFound found = SearchSnap(site, input, rules, &point);
    if (found == SnapFound::None) {
        site.DestroyMark(rules.mark);
        return 0;
    }

    SetPoint(record, point);
    site.SetLastInputPoint(record->point);
    site.ClearOverLoupe();
    const bool offset = GetInputEventRecord().offsetInput != 0 &&
                        (found != SnapFound::Free || site.TemporaryOldMode() == 0);
    if (offset) site.InputPointOffset(&record->point);
    LogPoint(SnapLogFormatOf(found), record->point);
    site.DestroyMark(rules.mark);
    if (showName && SnapNameOf(found) >= 0) site.ShowSnapName(SnapNameOf(found));
    return kWaitSnappedPoint;
}

// A point click (event 0x100): a result code, or 0 when the click is ignored.
int PointClick(CInputWaitSite& site, InputWaitRecord* record, uint32_t mask)
{
    if (site.IsPanelEditActive() || !site.HasActiveView()) return 0;
    if (Has(mask, kAcceptFreePoint)) {
        SetPoint(record, site.IsCursorOverLoupe() ? site.LoupePoint() : site.ViewGridPoint(nullptr));
        LogPoint("座標 任意点(%g,%g)", record->point);
        return kWaitFreePoint;
    }
    EraseIfRubberBand(site, mask);
    if (Has(mask, kAcceptSnappedPoint)) return SnappedClick(site, record, mask);
    if (Has(mask, kAcceptElementPick)) {
        SetPoint(record, LoupeOrGrid(site, true));
        LogPoint("座標 要素点(%g,%g)", record->point);
        INT_PTR element = 0;
        if (PickThroughLockedLayers(site, record->point, mask, &element)) return ElementPicked(site, record, element);
        LogEvent("要素検出なし");
        return 0;
    }
    if (Has(mask, kAcceptPlainPoint)) {
        SetPoint(record, LoupeOrGrid(site, true));
        LogPoint("座標 (%g,%g)", record->point);
        site.ClearOverLoupe();
        return kWaitPoint;
    }
    if (Has(mask, kAcceptBoxSelect)) {
        INT_PTR mark = 0;
        if (site.SelectInPickBox(&mark) == 1) {
            record->result = mark;
            SetPoint(record, LoupeOrGrid(site, true));
            char text[64];
            std::snprintf(text, sizeof text, "%ld 要素検出", static_cast<long>(mark));
            LogEvent(text);
            site.ClearOverLoupe();
            return kWaitBoxSelect;
        }
        LogEvent("選択要素検出なし");
    }
    return 0;
}

// A secondary click under the snapped-point mask, by the right-button mode.
int SecondaryClick(CInputWaitSite& site, InputWaitRecord* record)
{
    const long mode = site.RightMouseMode();
    if (mode == 8) {
        SetPoint(record, site.CursorPoint());
        return kWaitSnappedPoint;
    }
    if (mode == 1 || mode == 255) {
        SetPoint(record, site.CursorPoint());
        HostPoint found = record->point;
        if (site.SearchPoint(SnapSearch::EndPoint, record->point, nullptr, &found)) {
            SetPoint(record, found);
            return kWaitSnappedPoint;
        }
        return mode == 255 ? kWaitSnappedPoint : 0;
    }
    return 0;
}

// A mouse move while the rubber band is drawn: false when it is no move to report (the right-
// click menu is open, or the mouse stands where it stood at the last report); else the band is
// erased and the record holds the point.
bool CursorMoved(CInputWaitSite& site, InputWaitRecord* record, POINT& last, bool viewGrid)
{
    if (site.IsRightMenuShown()) return false;
    POINT position = {};
    site.ScreenCursorPosition(&position);
    if (!site.IsKeyCursorMode() && position.x == last.x && position.y == last.y) return false;
    last = position;
    site.EraseRubberBand();
    SetPoint(record, LoupeOrGrid(site, viewGrid));
    site.ClearOverLoupe();
    return true;
}

// A secondary click: a snapped point by the right-button mode, or the plain point; -1 when the
// mask takes neither.
int SecondaryClickEvent(CInputWaitSite& site, InputWaitRecord* record, uint32_t mask)
{
    if (Has(mask, kAcceptSnappedPoint)) {
        const int result = SecondaryClick(site, record);
        return result ? result : -1;
    }
    if (Has(mask, kAcceptSecondaryPoint)) {
        SetPoint(record, site.CursorPoint());
        return kWaitSecondaryPoint;
    }
    return -1;
}

// The items of panel 0 that hold the offsets of the temporary point.
constexpr int kPanelOffsetItemX = 333;
constexpr int kPanelOffsetItemY = 444;

void TakePanelItem(CInputWaitSite& site, InputEventRecord& events, InputWaitRecord* record)
{
    record->kind = events.kind;
    record->item = events.item;
    record->value = events.value;
    if (events.offsetInput == 0) return;
    double number = 0;
    if (site.PanelItemNumber(kPanelOffsetItemX, &number)) events.temporaryOffsetX = number;
    if (site.PanelItemNumber(kPanelOffsetItemY, &number)) events.temporaryOffsetY = number;
}

// An edit field cancelled with Esc names its kind and item, never a value.
void TakeEscapedItem(const InputEventRecord& events, InputWaitRecord* record)
{
    record->kind = events.kind;
    record->item = events.item;
}

// Handles the pending event of the input wait: a result code, or -1 when it is ignored.
int HandleWaitEvent(CInputWaitSite& site, HWND /*mainWindow*/, InputWaitRecord* record)
{
    InputEventRecord& events = GetInputEventRecord();
    const uint32_t mask = events.acceptMask;
    switch (events.code) {
    case kEventCancel:
        EraseIfRubberBand(site, mask);
        site.UnlockView();
        return kWaitEnd;
    case kEventEscape:
        EraseIfRubberBand(site, mask);
        if (!Has(mask, kAcceptEscape)) return -1;
        LogEvent("ESC");
        return kWaitEscape;
    case kEventPictureChanged:
        if (!Has(mask, kAcceptRubberBand)) return -1;
        SetPoint(record, LoupeOrGrid(site, false));
        site.ClearOverLoupe();
        return kWaitRubberBand;
    case kEventCursorMoved:
        if (!Has(mask, kAcceptRubberBand) || !CursorMoved(site, record, State().lastCursor, true)) return -1;
        return kWaitRubberBand;
    case kEventUndo:
        EraseIfRubberBand(site, mask);
        LogEvent("Undo");
        return kWaitUndo;
    case kEventRedo:
        EraseIfRubberBand(site, mask);
        LogEvent("Redo");
        return kWaitRedo;
    case kEventPoint: {
        const int result = PointClick(site, record, mask);
        return result ? result : -1;
    }
    case kEventSecondaryClick:
        return SecondaryClickEvent(site, record, mask);
    case kEventPanelItem:
        EraseIfRubberBand(site, mask);
        if (!Has(mask, kAcceptPanelItem)) return -1;
        TakePanelItem(site, events, record);
        return kWaitPanelItem;
    case kEventDdeText: {
        site.ClearDdeTextPending();
        if (!Has(mask, kAcceptDdeText)) return -1;  // the text is dropped
        const char* text = site.DdeText();
        if (text == nullptr) text = "";
        // A long text is logged cut on a character boundary.
        const int shown = static_cast<int>(DbcsFitLength(text, strnlen(text, 1001), 1000));
        char line[1100];
        std::snprintf(line, sizeof line, "%.*s DDEメッセージ", shown, text);
        LogEvent(line);
        record->result = reinterpret_cast<INT_PTR>(text);
        return kWaitDdeText;
    }
    case kEventAttributesChanged:
        EraseIfRubberBand(site, mask);
        LogEvent("作図情報の変更");
        return kWaitAttributesChanged;
    case kEventLayoutCell:
        if (!Has(mask, kAcceptLayoutCell)) return -1;
        record->result = site.LayoutCellLayer();
        record->item = site.LayoutCellPage();
        return kWaitLayoutCell;
    case kEventSaveState:
        LogEvent("コマンド状態保存要求");
        return kWaitSaveState;
    case kEventEditEscape:
        LogEvent("ESC");
        TakeEscapedItem(events, record);
        return kWaitEditEscape;
    case kEventMidpointReady:
        SetPoint(record, site.Midpoint());
        return kWaitSnappedPoint;
    default:
        return -1;
    }
}

bool ReturnsScaledPoint(int result)
{
    return result == kWaitRubberBand || result == kWaitPoint || result == kWaitSnappedPoint || result == kWaitSecondaryPoint ||
           result == kWaitElement || result == kWaitBoxSelect;
}

}  // namespace

CInputWaitSite& GetInputWaitSite() { return *g_site; }

void SetInputWaitSite(CInputWaitSite* site) { g_site = site ? site : &g_defaultSite; }

int SnapKindFilter(const InputWaitRecord& record, int newerInterface)
{
    if (!newerInterface || record.snapFilter == 0) return 255;
    return record.snapFilter;
}

void SetInterruptFreePoint(int on) { State().interruptFreePoint = on; }

void NoteCommandRunBegin() { ++State().runDepth; }

void NoteCommandRunEnd()
{
    WaitState& state = State();
    if (state.runDepth > 0) --state.runDepth;
    if (state.cancelledRun > state.runDepth) state.cancelledRun = 0;
}

void NoteCommandCancelled()
{
    WaitState& state = State();
    // The command being cancelled is the one whose input is waited for; without a wait, the
    // innermost command run.
    const int run = state.waitDepth > 0 ? state.innermostWaitRun : state.runDepth;
    if (run <= 0) return;
    if (state.cancelledRun == 0 || run < state.cancelledRun) state.cancelledRun = run;
}

int IsWaitCancelled()
{
    const WaitState& state = State();
    return state.cancelledRun != 0 && state.runDepth >= state.cancelledRun ? 1 : 0;
}

int InputWaitDepth() { return State().waitDepth; }

WaitStateMark MarkWaitState()
{
    const WaitState& state = State();
    return {state.waitDepth,  state.runDepth, state.innermostWaitRun,
            state.snapFilter, state.record,   GetInputWaitSite().LockLayerSearchMode()};
}

void RestoreWaitState(const WaitStateMark& mark)
{
    WaitState& state = State();
    state.waitDepth = mark.waitDepth;
    state.runDepth = mark.runDepth;
    state.innermostWaitRun = mark.innermostWaitRun;
    state.snapFilter = mark.snapFilter;
    state.record = mark.record;
    if (state.cancelledRun > state.runDepth) state.cancelledRun = 0;
    GetInputWaitSite().SetLockLayerSearchMode(mark.lockLayerSearchMode);
}

namespace {

// What is queued, except the command runs, which wait until the cancelled command has
// returned. A bounded number per call, so that a flood of messages cannot hold the command.
void HandleQueuedExceptCommandRuns()
{
    for (int handled = 0; handled < 256; ++handled) {
        MSG msg = {};
        if (!PeekMessageA(&msg, nullptr, 0, WM_CAD_RUN_COMMAND - 1, PM_REMOVE) &&
            !PeekMessageA(&msg, nullptr, WM_CAD_RUN_COMMAND + 1, 0xFFFFFFFFu, PM_REMOVE))
            return;
        if (msg.message == WM_QUIT) {
            QuitWait(msg);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int WaitUserInput(HWND mainWindow, InputWaitRecord* record)
{
    // A cancelled command gets "end" again at once; the program goes on working meanwhile.
    if (IsWaitCancelled()) {
        HandleQueuedExceptCommandRuns();
        ConsumeInputEvent();
        return kWaitEnd;
    }
    if (record == nullptr) return kWaitEnd;

    CInputWaitSite& site = GetInputWaitSite();
    InputEventRecord& events = GetInputEventRecord();
    LockModeScope lockMode(site, events.acceptMask);
    WaitScope scope(record);

    site.ClearTemporaryPointPending();
    events.code = kEventNone;
    State().snapFilter = SnapKindFilter(*record, site.NewerInterface());

    for (;;) {
        MSG msg = {};
        bool took = false;
        if (events.code == kEventNone && !site.IsTemporaryPointPending() && !site.IsRecheckRequested() &&
            !site.IsDdeTextPending()) {
            const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
            if (got == 0) return QuitWait(msg);
            if (got == -1) {
                ConsumeInputEvent();
                return kWaitEnd;
            }
            took = true;
        }
        site.ClearRecheckRequest();

        bool ddeFirst = false;
        if (!site.IsTemporaryPointPending() && events.code == kEventNone) {
            if (site.IsDdeTextPending()) {
                events.code = kEventDdeText;
                ddeFirst = true;
            } else if (took && FilterMessage(mainWindow, msg)) {
                continue;
            }
        }
        if (!ddeFirst) {
            if (!site.IsDdeTextPending() && took) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            // A DDE text wins over any event raised in the same pass.
            if (site.IsDdeTextPending()) events.code = kEventDdeText;

            if (site.IsTemporaryPointPending()) {
                site.ClearTemporaryPointPending();
                EraseIfRubberBand(site, events.acceptMask);
                if (Has(events.acceptMask, kAcceptSnappedPoint)) {
                    SetPoint(record, site.TemporaryPoint());
                    site.SetLastInputPoint(record->point);
                    site.ClearOverLoupe();
                    LogPoint("座標 (%g,%g)", record->point);
                    ConsumeInputEvent();
                    return kWaitSnappedPoint;
                }
                ConsumeInputEvent();
                continue;
            }
        }

        if (events.code == kEventNone) continue;
        const int result = HandleWaitEvent(site, mainWindow, record);
        if (result < 0) {
            ConsumeInputEvent();
            continue;
        }
        // The free point leaves the click pending until the next wait starts.
        if (result != kWaitFreePoint) ConsumeInputEvent();
        if (ReturnsScaledPoint(result)) site.ScalePointInputToDrawing(&record->point);
        return result;
    }
}

namespace {

// A point click in the interrupt wait: a result code, or -1 when it is ignored.
int InterruptPointClick(CInputWaitSite& site, InputWaitRecord* record, uint32_t mask)
{
    SetPoint(record, LoupeOrGrid(site, false));
    EraseIfRubberBand(site, mask);
    if (Has(mask, kAcceptFreePoint)) {
        SetPoint(record, site.IsCursorOverLoupe() ? site.LoupePoint() : site.CursorPoint());
        return kWaitFreePoint;  // the event stays pending
    }
    if (Has(mask, kAcceptSnappedPoint)) {
        const HostPoint input = LoupeOrGrid(site, false);
        SetPoint(record, input);
        HostPoint found = input;
        bool hit = true;
        if (!State().interruptFreePoint) {
            // The interrupt wait takes an end point before any intersection, and no raster point.
            SnapRules rules;
            rules.bits = site.SnapModeBits();
            rules.nearerOfEndAndCross = false;
            rules.rasterPoints = false;
            rules.groupFindForCross = true;
            hit = SearchSnap(site, input, rules, &found) != SnapFound::None;
        }
        if (!hit) return -1;
        SetPoint(record, found);
        site.SetLastInputPoint(record->point);
        site.ClearOverLoupe();
        ConsumeInputEvent();
        return kWaitSnappedPoint;
    }
    if (Has(mask, kAcceptElementPick)) {
        INT_PTR element = 0;
        if (!PickThroughLockedLayers(site, record->point, mask, &element)) return -1;
        record->result = element;
        ConsumeInputEvent();
        return kWaitElement;
    }
    if (Has(mask, kAcceptPlainPoint)) {
        SetPoint(record, site.CursorPoint());
        ConsumeInputEvent();
        return kWaitPoint;
    }
    return -1;
}

// The pending event of the interrupt wait: a result code, or -1 when it is ignored. Each
// returning row says itself whether the event stays pending.
int HandleInterruptEvent(CInputWaitSite& site, InputWaitRecord* record)
{
    InputEventRecord& events = GetInputEventRecord();
    const uint32_t mask = events.acceptMask;
    switch (events.code) {
    case kEventCancel:
        EraseIfRubberBand(site, mask);
        site.UnlockView();
        ConsumeInputEvent();
        return kWaitEnd;
    case kEventEscape:
        EraseIfRubberBand(site, mask);
        if (!Has(mask, kAcceptEscape)) return -1;
        ConsumeInputEvent();
        return kWaitEscape;
    case kEventPictureChanged:
        if (!Has(mask, kAcceptRubberBand)) return -1;
        SetPoint(record, LoupeOrGrid(site, false));
        site.ClearOverLoupe();
        ConsumeInputEvent();
        return kWaitRubberBand;
    case kEventCursorMoved:
        if (!Has(mask, kAcceptRubberBand) || !CursorMoved(site, record, State().lastInterruptCursor, false))
            return -1;
        ConsumeInputEvent();
        return kWaitCursorMoved;
    case kEventUndo:
        if (!Has(mask, kAcceptUndo)) return -1;
        ConsumeInputEvent();
        return kWaitUndo;
    case kEventPoint:
        return InterruptPointClick(site, record, mask);
    case kEventSecondaryClick:
        return SecondaryClickEvent(site, record, mask);
    case kEventPanelItem:
        if (!Has(mask, kAcceptPanelItem)) return -1;
        TakePanelItem(site, events, record);
        return kWaitPanelItem;  // stays pending: the service command hands it on
    case kEventLayoutCell:
        if (!Has(mask, kAcceptLayoutCell)) return -1;
        record->result = site.LayoutCellLayer();
        record->item = site.LayoutCellPage();
        ConsumeInputEvent();
        return kWaitLayoutCell;
    case kEventSaveState:
        GetCommandHost().WriteLog(2, "Service Cmd Event", "コマンド状態保存要求");
        ConsumeInputEvent();
        return kWaitSaveState;
    case kEventEditEscape:
        GetCommandHost().WriteLog(2, "Service Cmd Event", "ESC");
        TakeEscapedItem(events, record);
        ConsumeInputEvent();
        return kWaitEditEscape;
    case kEventMidpointReady:
        SetPoint(record, site.Midpoint());
        return kWaitSnappedPoint;
    default:
        return -1;
    }
}

}  // namespace

int InterruptWaitInput(HWND mainWindow, InputWaitRecord* record)
{
    if (record == nullptr) return kWaitEnd;
    CInputWaitSite& site = GetInputWaitSite();
    InputEventRecord& events = GetInputEventRecord();
    LockModeScope lockMode(site, events.acceptMask);

    events.code = kEventNone;
    for (;;) {
        MSG msg = {};
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) return QuitWait(msg);
        if (got == -1) return kWaitEnd;

        auto* accelerator = reinterpret_cast<CMainAccelerator*>(
            mainWindow ? SendMessageA(mainWindow, WM_CAD_GET_ACCELERATOR, 0, 0) : 0);
        if (accelerator != nullptr && accelerator->Table() != nullptr &&
            GetCadSystem().TranslateAccel(mainWindow, accelerator->Table(), &msg)) {
            continue;  // its event is looked at after the next dispatch
        }
        HWND client = GetMdiClientWnd();
        if (client != nullptr && TranslateMDISysAccel(client, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);

        if (events.code == kEventNone) continue;
        const int result = HandleInterruptEvent(site, record);
        if (result < 0) {
            ConsumeInputEvent();
            continue;
        }
        return result;
    }
}

int DetectAtCursor()
{
    CInputWaitSite& site = GetInputWaitSite();
    if (site.IsPanelEditActive()) return 1;
    InputEventRecord& events = GetInputEventRecord();
    LockModeScope lockMode(site, events.acceptMask);
    // The preview runs on every hover: it neither beeps nor asks for an offset, and it allows
    // every snap kind.
    ValueScope<int> noOffset(events.offsetInput, 0);
    ValueScope<int> noBeep(GetLocalSettingsLive().setup.bBeepFind, 0);
    ValueScope<int> allKinds(State().snapFilter, 255);

    // Detection without waiting: no log, no last point, the name always shown.
    const HostPoint input = site.IsGridSnapOn() ? site.GridPoint() : site.CursorPoint();
    SnapRules rules;
    rules.mark = ClickCandidates(site);
    rules.bits = site.SnapModeBits();
    rules.keyCursor = site.IsKeyCursorMode() != 0;
    HostPoint found = input;
    const SnapFound kind = SearchSnap(site, input, rules, &found);
    site.DestroyMark(rules.mark);
    if (SnapNameOf(kind) >= 0) site.ShowSnapName(SnapNameOf(kind));
    return kind != SnapFound::None ? kWaitSnappedPoint : 1;
}
