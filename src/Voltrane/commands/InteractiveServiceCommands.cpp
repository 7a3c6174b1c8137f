// The nine service commands that take input of their own. Each reads its input through the
// interrupt wait with a wait record of its own; since the waiting plug-in command and these
// loops share the one input event record, each saves the record when it starts and puts it back
// when it ends, so the waiting command sees nothing of them unless they hand it an event.
#include "commands/ServiceCommands.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/HostServiceFamilies.h"
#include "commands/ElementExtents.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "commands/HostServiceSite.h"
#include "commands/LinkTags.h"
#include "commands/MarkServices.h"
#include "commands/InputEvent.h"
#include "commands/InterruptCommands.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/StartupSeams.h"
#include "core/SystemLog.h"
#include "mainframe/MainFrame.h"
#include "panels/AttributeImport.h"
#include "view/ViewCommands.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

int g_hostCommandRunning = 0;
HostPoint g_midpoint{};

}  // namespace

int IsHostCommandRunning() { return g_hostCommandRunning; }
void SetHostCommandRunning(int running) { g_hostCommandRunning = running; }
HostPoint ServiceMidpoint() { return g_midpoint; }

// ---- the program's site: what the interactive commands use ----
// (The engine's search block is 60 bytes: fifteen 32-bit words.)

int CServiceCommandSite::InterruptWait(InputWaitRecord* record) { return SendInterruptWait(0, record); }
const char* CServiceCommandSite::MessageText(int id) { return GetMessageText(id); }
int CServiceCommandSite::Language() { return GetCadSystem().config.LANGUAGE; }
int CServiceCommandSite::ZoomIn() { return ZoomActiveViewIn(0, 0.0); }
int CServiceCommandSite::ZoomOut() { return ZoomActiveViewOut(0, 0.0); }
int CServiceCommandSite::CenterAtCursor() { return CenterActiveViewAtCursor(0); }
void CServiceCommandSite::SetLoupeState(int state)
{
    if (state == 0) HideLoupeWindow();
    else NotAvailable("loupe window");
}
namespace {

// The third value of a point as the wait record carries it (the 8 bytes after x and y).
double ThirdValue(const HostPoint& point)
{
    double z = 0;
    std::memcpy(&z, &point.value1, sizeof z);
    return std::isfinite(z) ? z : 0.0;
}

}  // namespace

void CServiceCommandSite::DrawRubberBox(HWND boxView, const HostPoint& first, const HostPoint& corner)
{
    // F -> (Fx, Py) -> P -> (Px, Fy) -> F; the corners take their third value from F, then P.
    const double xs[5] = {first.x, first.x, corner.x, corner.x, first.x};
    const double ys[5] = {first.y, corner.y, corner.y, first.y, first.y};
    const double zs[5] = {ThirdValue(first), ThirdValue(first), ThirdValue(corner), ThirdValue(corner), ThirdValue(first)};
    for (int edge = 0; edge < 4; ++edge) {
        LineRecord line{};
        const uint16_t type = 1;
        std::memcpy(line.header, &type, sizeof type);
        line.x1 = xs[edge], line.y1 = ys[edge], line.z1 = zs[edge];
        line.x2 = xs[edge + 1], line.y2 = ys[edge + 1], line.z2 = zs[edge + 1];
        CmdParamRecord record{};
        record.view = boxView;
        record.mode = edge;
        record.elementRecord = &line;
        SendMain(WM_CAD_ADD_TEMP_ELEMENT, 0, reinterpret_cast<LPARAM>(&record));
    }
    CmdParamRecord show{};
    show.view = boxView;
    show.mode = 4;
    SendMain(WM_CAD_DRAW_TEMP, 0, reinterpret_cast<LPARAM>(&show));
}
int CServiceCommandSite::ZoomViewToArea(const HostPoint& a, const HostPoint& b) { return ::ZoomViewToArea(a, b); }
void CServiceCommandSite::ResetRubberBand()
{
    if (HWND view = ActiveView()) UpdateRubberBand(view, 0, 0, 2);
}
void CServiceCommandSite::RepaintLayoutView() { RepaintWindow(seam::GetLayoutViewWindow()); }
int CServiceCommandSite::IsKeyCursorMode() { return ::IsKeyCursorMode(); }
int CServiceCommandSite::AreaZoomEndsAfterOne() { return GetCadSystem().config.WAKUDSPMODE; }
int CServiceCommandSite::CurModeCheck() { return GetLocalSettingsLive().setup.bCurModeChk; }
int CServiceCommandSite::SnapShowMode() { return GetLocalSettingsLive().setup.iSnapShowMode; }
void CServiceCommandSite::SetSnapShowMode(int mode) { GetLocalSettingsLive().setup.iSnapShowMode = mode; }
void CServiceCommandSite::SetInterruptFreePoint(int on) { ::SetInterruptFreePoint(on); }
int CServiceCommandSite::MidpointRepeats() { return GetLocalSettingsLive().iSnap2TenkanMode == 1; }
int CServiceCommandSite::IsToolPanelButtonDown() { return ::IsToolPanelButtonDown(); }
void CServiceCommandSite::PressToolPanelButton(int id) { ::PressToolPanelButton(id); }
void CServiceCommandSite::SetGroupFind(int on) { ZUriSerchSetGrpFind(on); }
void CServiceCommandSite::SetGridCentre(const HostPoint& point)
{
    SetGridOrigin(point.x, point.y);
    if (HWND panel = GetToolPanelWindow()) {
        if (HWND button = GetDlgItem(panel, 3516)) {
            SetWindowLongPtrA(button, 4, 1);
            InvalidateRect(button, nullptr, FALSE);
            UpdateWindow(button);
        }
    }
    SetGridOn(1);
    InvalidateDrawingViews(ActiveView());
}
int CopyElementStyle(const ElementRecord& element, double drawingScale, double pageFactor, PDBINFO& block)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(&element);
    switch (element.type) {
    case 1: case 4: case 7:
        block.colour = element.colour;
        block.lineType = element.lineType;
        block.lineWidth = element.lineWidth;
        block.startMark = element.lineEndStart;
        block.endMark = element.lineEndEnd;
        return 1;
    case 3: case 6:
        block.colour = element.colour;
        block.lineType = element.lineType;
        block.lineWidth = element.lineWidth;
        return 1;
    case 2:
        if (element.colour != 0) block.colour = element.colour;
        return 1;
    case 5: {
        double height = 0, ratio = 0, spacing = 0;
        std::memcpy(&height, bytes + 46, sizeof height);
        std::memcpy(&ratio, bytes + 54, sizeof ratio);
        std::memcpy(&spacing, bytes + 62, sizeof spacing);
        block.colour = element.colour;
        block.textStyle.colour = static_cast<int16_t>(element.colour);
        block.textStyle.height = height * drawingScale * pageFactor;
        block.textStyle.charRatio = ratio;
        block.textStyle.interval = spacing * drawingScale * pageFactor;
        char font[33] = {};
        std::memcpy(font, bytes + 70, 32);
        DbcsCopy(block.textStyle.fontName, sizeof block.textStyle.fontName, font);
        return 1;
    }
    default:
        return 0;
    }
}

int CServiceCommandSite::ImportElementAttributes(INT_PTR element)
{
    HWND view = ActiveView();
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr || block->engineDb == nullptr || element == 0) return 0;
    ElementRecord record{};
    if (ZUriReadElement(reinterpret_cast<void*>(element), 0, &record, block->engineDb) == nullptr) return 0;
    int setLayer = 0;
    if (::ImportElementAttributes(&record, &setLayer) == 0) return 0;
    // Elements on pages keep the page factor 1 until the page services of the drawing side exist.
    if (!CopyElementStyle(record, GetDrawingScale(block->engineDb), 1.0, *block)) return 0;
    if (setLayer) GetCadSystem().SetCurrentLayer(record.page, record.layer);
    RaiseInputStateChange(kEventAttributesChanged);
    GetHostServiceSite().NotifyDrawingAttributesChanged();
    return 1;
}
int CServiceCommandSite::IsLinkedElement(INT_PTR element)
{
    void* linked = SearchLinkedElements(nullptr, nullptr);
    if (linked == nullptr) return 0;
    int found = 0;
    for (void* e = CadGetNextMark(linked, nullptr); e != nullptr && !found; e = CadGetNextMark(linked, e))
        found = reinterpret_cast<INT_PTR>(e) == element;
    CadDestroyMark(linked);
    return found;
}
void CServiceCommandSite::DeleteElement(INT_PTR element)
{
    DeleteElementWithUndo(reinterpret_cast<void*>(element), 0, 1);
}
int CServiceCommandSite::AskYesNo(const char* text, const char* caption, UINT type)
{
    return MessageBoxA(MainWindow(), text, caption, type);
}
namespace {
SearchBlock g_savedSearch{};
SearchBlock g_serviceSearch{};  // the service search block: zero at start
}
void CServiceCommandSite::SaveSearchSettings() { GetSearchSettings(0, &g_savedSearch); }
void CServiceCommandSite::RestoreSearchSettings() { SetSearchSettings(0, reinterpret_cast<INT_PTR>(&g_savedSearch)); }
void CServiceCommandSite::SetServiceSearch(const int32_t* words, int count)
{
    // Each command sets the words it names; the others stay as the last command left them.
    auto* block = reinterpret_cast<int32_t*>(&g_serviceSearch);
    for (int i = 0; i < count && i < static_cast<int>(sizeof g_serviceSearch / 4); ++i) {
        if (words[i] != kKeepSearchWord) block[i] = words[i];
    }
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&g_serviceSearch));
}
void CServiceCommandSite::SetPickFilter(int flags) { SetPickFilterFlags(flags); }
int CServiceCommandSite::HasDrawingBlock()
{
    HWND view = ActiveView();
    return view && GetViewBlock(view) ? 1 : 0;
}
int CServiceCommandSite::SelectBoxIntoKeptMark(double left, double top, double right, double bottom)
{
    HWND view = ActiveView();
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr || block->engineDb == nullptr) return 0;
    const SearchBox box{left, top, right, bottom};
    void* found = FindFrameElement(&box);
    GetFrameFlags().auxViewRefresh = 1;
    if (found == nullptr) return 0;
    void* kept = KeptMark();
    if (kept == nullptr) {
        kept = CadCreateMark(block->engineDb);
        SetKeptMark(kept);
    }
    int added = 0;
    for (void* element = CadGetNextMark(found, nullptr); element != nullptr; element = CadGetNextMark(found, element)) {
        if (kept != nullptr) CadSetMark(kept, element);
        ++added;
    }
    if (kept != nullptr) SetMarkHighlight(1, kept);
    GetElementServiceSite().RedrawMarkInViews(view, 2, found);
    CadDestroyMark(found);
    m_selectionView = view;
    return added > 0 ? 1 : 0;
}
void CServiceCommandSite::DropKeptMark(int destroy)
{
    void* kept = KeptMark();
    if (kept == nullptr) return;
    // The highlight goes in the view of the selection, even when no view is active now.
    SetMarkHighlight(0, kept);
    GetElementServiceSite().RedrawMarkInViews(m_selectionView, -1, kept);
    if (destroy) ReleaseKeptMark(1);
}
int CServiceCommandSite::HasKeptMark() { return KeptMark() != nullptr ? 1 : 0; }

// ---- the loops ----

namespace {

constexpr int kStatusKeep = WM_USER + 1;
constexpr int kStatusBack = WM_USER + 2;

// The saved part of the event record: all but the offset-input switch.
struct SavedEvents {
    int32_t code, kind, item, value;
    uint32_t acceptMask;
};

class ServiceLoop {
public:
    ServiceLoop(CServiceCommandSite& site) : m_site(site) {}

    void Start(const char* name, const char* prompt, uint32_t mask)
    {
        InputEventRecord& events = GetInputEventRecord();
        m_site.EraseRubberBand();
        Save();
        m_site.SendStatusBar(kStatusKeep, 0, 0);
        m_site.SendStatusBar(WM_USER, 1, reinterpret_cast<LPARAM>(name));
        m_site.SendStatusBar(WM_USER, 2, reinterpret_cast<LPARAM>(prompt));
        events.acceptMask = mask;
        SetHostCommandRunning(1);
    }

    // One wait: the result, or -1 when the loop ends (0, the quit answer 1, or a panel event
    // that is kept for the waiting command).
    int Wait()
    {
        const int result = m_site.InterruptWait(&record);
        if (result == kWaitEnd || result == kWaitQuit) return -1;
        if (result == kWaitPanelItem) {
            KeepPanelEvent();
            return -1;
        }
        return result;
    }

    // The panel event survives the restore at the end: the waiting command receives it.
    void KeepPanelEvent() { Save(); }

    void Prompt(const char* text) { m_site.SendStatusBar(WM_USER, 2, reinterpret_cast<LPARAM>(text)); }
    void SetMask(uint32_t mask) { GetInputEventRecord().acceptMask = mask; }
    uint32_t Mask() const { return GetInputEventRecord().acceptMask; }

    void End(bool logEnd)
    {
        m_site.SendStatusBar(kStatusBack, 0, 0);
        Restore();
        SetHostCommandRunning(0);
        if (logEnd) m_site.Log("End");
    }

    void Restore()
    {
        InputEventRecord& events = GetInputEventRecord();
        events.code = m_saved.code == kEventPanelItem ? m_saved.code : 0;
        events.kind = m_saved.kind;
        events.item = m_saved.item;
        events.value = m_saved.value;
        events.acceptMask = m_saved.acceptMask;
    }

    InputWaitRecord record{};

private:
    void Save()
    {
        const InputEventRecord& events = GetInputEventRecord();
        m_saved = SavedEvents{events.code, events.kind, events.item, events.value, events.acceptMask};
    }

    CServiceCommandSite& m_site;
    SavedEvents m_saved{};
};

// The texts of a command: the Japanese one, or the second when LANGUAGE is not 0.
const char* Text(CServiceCommandSite& site, const char* japanese, const char* english)
{
    return site.Language() != 0 ? english : japanese;
}

void ClearStatusTexts(CServiceCommandSite& site)
{
    site.SendStatusBar(WM_USER, 1, reinterpret_cast<LPARAM>(""));
    site.SendStatusBar(WM_USER, 2, reinterpret_cast<LPARAM>(""));
}

// Another interactive command waits: the start is refused, the other loop ended and, for the
// commands that restart, the same command posted to run once the other loop has ended.
bool RefuseWhileRunning(CServiceCommandSite& site, int id, LPARAM lParam, bool restart)
{
    ClearStatusTexts(site);
    site.SendMain(WM_CAD_CANCEL_COMMAND, 0, 0);
    if (restart) site.PostMain(WM_COMMAND, static_cast<WPARAM>(id), id == 1210 ? lParam : 0);
    return true;
}

int RunSimple(CServiceCommandSite& site, int id)
{
    ServiceLoop loop(site);
    if (id == 1205) loop.Start(site.MessageText(4000), site.MessageText(4001), 0x2502);
    else if (id == 1206) loop.Start(site.MessageText(4002), site.MessageText(4003), 0x2102);
    else {
        site.SetLoupeState(0);
        loop.Start(Text(site, "ルーペ", "Roupe"),
                   Text(site, "中心の位置を指定してください", "Please order a center point. "), 0x2502);
    }
    for (;;) {
        const int result = loop.Wait();
        if (result < 0 || result == kWaitEscape) break;
        if (result == kWaitPoint) {
            if (id == 1205) site.ZoomIn();
            else if (id == 1206) site.CenterAtCursor();
            else site.SetLoupeState(3);
        } else if (result == kWaitSecondaryPoint && id == 1205) {
            site.ZoomOut();
        }
    }
    loop.End(id != 1206);
    return 1;
}

// Area zoom (1210) and the box selection that keeps its mark (1235): two corners with a
// rubber box.
int RunTwoCorners(CServiceCommandSite& site, int id, LPARAM lParam)
{
    const bool boxSelect = id == 1235;
    if (boxSelect) site.DropKeptMark(1);
    if (site.ActiveView() == nullptr) return 1;
    const int savedShowMode = site.SnapShowMode();
    if (!boxSelect && site.CurModeCheck() != 0) {
        site.SetInterruptFreePoint(1);
        site.SetSnapShowMode(0);
    }
    ServiceLoop loop(site);
    if (boxSelect) loop.Start("", site.MessageText(5000), 0x2202);
    else loop.Start(site.MessageText(4004), site.MessageText(4005), 0x2202);
    int phase = 0;
    HostPoint first{}, corner{};
    HWND boxView = nullptr;
    auto drawTo = [&](const HostPoint& to) {
        site.DrawRubberBox(boxView, first, to);
        corner = to;
    };
    for (;;) {
        const int result = site.InterruptWait(&loop.record);
        const bool moves = (loop.Mask() & kAcceptRubberBand) != 0;
        if (result == kWaitEnd || result == kWaitQuit) break;
        if (result == kWaitPanelItem) {
            if (moves) drawTo(loop.record.point);
            loop.KeepPanelEvent();
            break;
        }
        if (result == kWaitCursorMoved && moves) {
            boxView = reinterpret_cast<HWND>(site.SendMain(WM_CAD_ACTIVE_VIEW, 0, 0));
            drawTo(loop.record.point);
        } else if (result == kWaitRubberBand && moves) {
            drawTo(loop.record.point);
        } else if (result == kWaitSnappedPoint && phase == 0) {
            first = corner = loop.record.point;
            boxView = reinterpret_cast<HWND>(site.SendMain(WM_CAD_ACTIVE_VIEW, 0, 0));
            site.SendMain(WM_CADDB_CAPTURE_VIEW, 0, 0);
            if (!boxSelect) loop.Prompt(site.MessageText(4006));
            loop.SetMask(0x2212);
            phase = 1;
        } else if (result == kWaitSnappedPoint) {
            const HostPoint second = loop.record.point;
            loop.SetMask(0x2202);
            phase = 0;
            if (boxSelect) {
                const int32_t words[5] = {1, 0x87FFF, -1, kKeepSearchWord, 0xFFFFFF};
                site.SetServiceSearch(words, 5);
                site.SelectBoxIntoKeptMark(std::fmin(first.x, second.x), std::fmax(first.y, second.y),
                                           std::fmax(first.x, second.x), std::fmin(first.y, second.y));
                if (!site.HasKeptMark()) site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
            } else {
                site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
                loop.Prompt(site.MessageText(4005));
                site.ZoomViewToArea(first, second);
                if (site.AreaZoomEndsAfterOne() != 0 || lParam == 1) break;
            }
        } else if (result == kWaitEscape) {
            if (phase == 1) {
                if (!boxSelect) {
                    site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
                    loop.Prompt(site.MessageText(4005));
                }
                loop.SetMask(0x2202);
                phase = 0;
            } else if (boxSelect) {
                site.DropKeptMark(1);
                site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
            } else {
                break;
            }
        } else if (moves && phase == 1) {
            drawTo(corner);
        }
    }
    if (boxSelect) {
        site.DropKeptMark(0);  // the highlight goes, the mark stays for the next command
        SetHostCommandRunning(0);
        site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
        loop.End(true);
        site.ResetRubberBand();
        return 1;
    }
    loop.End(true);
    site.SetSnapShowMode(savedShowMode);
    site.SetInterruptFreePoint(0);
    site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
    site.RepaintLayoutView();
    site.ResetRubberBand();
    if (!site.IsKeyCursorMode()) site.SendMain(WM_COMMAND, 1314, 0);
    return 1;
}

int RunMidpoint(CServiceCommandSite& site)
{
    if (site.ActiveView() == nullptr) {
        site.PressToolPanelButton(3999);
        return 1;
    }
    ServiceLoop loop(site);
    loop.Start(Text(site, "２点間", "MidPoint"), site.MessageText(4005), 0x2202);
    site.SetGroupFind(1);
    int phase = 0;
    HostPoint first{};
    for (;;) {
        const int result = loop.Wait();
        if (result < 0) break;
        if (result == kWaitSnappedPoint && phase == 0) {
            first = loop.record.point;
            site.SendMain(WM_CAD_ACTIVE_VIEW, 0, 0);
            site.SendMain(WM_CADDB_CAPTURE_VIEW, 0, 0);
            loop.Prompt(site.MessageText(4006));
            loop.SetMask(0x2212);
            phase = 1;
        } else if (result == kWaitSnappedPoint) {
            const HostPoint second = loop.record.point;
            site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
            loop.Prompt(site.MessageText(4005));
            SetHostCommandRunning(0);
            site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
            site.SendStatusBar(kStatusBack, 0, 0);
            loop.Restore();
            g_midpoint = HostPoint{};
            g_midpoint.x = (first.x + second.x) * 0.5;
            g_midpoint.y = (first.y + second.y) * 0.5;
            GetInputEventRecord().code = kEventMidpointReady;
            site.Log("End");
            site.RepaintLayoutView();
            site.ResetRubberBand();
            if (site.MidpointRepeats()) site.PostMain(WM_COMMAND, 1332, 0);
            else site.PressToolPanelButton(3999);
            return 1;
        } else if (result == kWaitEscape) {
            if (phase == 0) break;
            site.SendMain(WM_CADDB_RELEASE_VIEW, 0, 0);
            loop.SetMask(0x2202);
            loop.Prompt(site.MessageText(4005));
            phase = 0;
        }
    }
    loop.End(true);
    site.RepaintLayoutView();
    site.ResetRubberBand();
    site.PressToolPanelButton(3999);
    return 1;
}

// Attribute get (1304) and element erase (1336): picks with the search settings of their own.
int RunPicks(CServiceCommandSite& site, int id)
{
    const bool erase = id == 1336;
    if (site.ActiveView() == nullptr) {
        if (!erase) site.PressToolPanelButton(3408);
        return 1;
    }
    site.SaveSearchSettings();
    ServiceLoop loop(site);
    if (erase) loop.Start("要素消去", "消去する要素を指定してください。(ESC=取消)", 0x80003002);
    else
        loop.Start(Text(site, "属性GET", "Attr GET"),
                   Text(site, "属性を取得したい要素を選択してください( ESC=取消 )",
                        "Please select the element to want to acquire the attribute. ( ESC=Cancel )"),
                   0x803002);
    if (!site.HasDrawingBlock()) {
        loop.End(false);
        site.RestoreSearchSettings();
        return 0;
    }
    if (erase) {
        const int32_t words[7] = {19, 0x87FFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
        site.SetServiceSearch(words, 7);
    } else {
        const int32_t words[5] = {3, 127, -1, kKeepSearchWord, 0xFFFFFF};
        site.SetServiceSearch(words, 5);
    }
    int taken = 0;
    // A point whose attribute word is 0 cannot be picked by the first pick of attribute get.
    if (!erase) site.SetPickFilter(1);
    for (;;) {
        const int result = loop.Wait();
        if (!erase) site.SetPickFilter(0);
        if (result < 0 || result == kWaitEscape) break;
        if (result != kWaitElement) continue;
        const INT_PTR element = loop.record.result;
        if (!erase) {
            taken = 1;
            site.ImportElementAttributes(element);
            break;
        }
        if (element == 0) continue;
        if (!site.IsLinkedElement(element)) {
            site.DeleteElement(element);
            site.RepaintActiveView(FALSE);
        } else if (site.AskYesNo("連携情報が含まれている要素を削除しようとしています。\n本当に削除してよろしいですか？",
                                 "Delete Check", MB_YESNO | MB_ICONEXCLAMATION) == IDYES) {
            site.DeleteElement(element);
        }
    }
    site.RestoreSearchSettings();
    loop.End(false);
    if (taken) GetInputEventRecord().code = kEventAttributesChanged;
    if (!erase) site.PressToolPanelButton(3408);
    return 1;
}

int RunGridCentre(CServiceCommandSite& site)
{
    ServiceLoop loop(site);
    loop.Start(Text(site, "グリッド", "Grid"),
               Text(site, "グリッド中心点を指示(ESC=取消)", "A grid center point is instructed. (ESC=Cancel)"), 0x2202);
    for (;;) {
        const int result = loop.Wait();
        if (result < 0 || result == kWaitEscape) break;
        if (result == kWaitSnappedPoint) {
            site.SetGridCentre(loop.record.point);
            break;
        }
    }
    loop.End(true);
    return 1;
}

}  // namespace

bool IsInteractiveServiceCommand(int id)
{
    switch (id) {
    case 1205: case 1206: case 1210: case 1235: case 1300: case 1304: case 1332: case 1336: case 1350:
        return true;
    default:
        return false;
    }
}

int RunInteractiveServiceCommand(int id, LPARAM lParam)
{
    CServiceCommandSite& site = GetServiceCommandSite();
    if (id == 1332 && site.MidpointRepeats() && !site.IsToolPanelButtonDown()) {
        ClearStatusTexts(site);
        site.SendMain(WM_CAD_CANCEL_COMMAND, 0, 0);
        return 1;
    }
    if (IsHostCommandRunning() && id != 1235) {
        const bool restart = id != 1304 && id != 1336;
        RefuseWhileRunning(site, id, lParam, restart);
        if (id == 1304) site.PressToolPanelButton(3408);
        return 1;
    }
    if (IsHostCommandRunning()) ClearStatusTexts(site);
    switch (id) {
    case 1210: case 1235: return RunTwoCorners(site, id, lParam);
    case 1304: case 1336: return RunPicks(site, id);
    case 1332: return RunMidpoint(site);
    }
    if (site.ActiveView() == nullptr) return 1;
    switch (id) {
    case 1350: return RunGridCentre(site);
    default: return RunSimple(site, id);
    }
}
