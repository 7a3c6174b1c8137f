#include "commands/MarkServices.h"

#include <cstring>

#include "DravikDb.h"
#include "commands/CommandRunState.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "core/LocalSettings.h"
#include "MemoryProbe.h"

namespace {

struct PickState {
    SearchBlock search{};
    int aperture = 8;
    int filterFlags = 0;
    void* lastPickMark = nullptr;
};

PickState& State()
{
    static PickState state;
    return state;
}

CElementServiceSite& Site() { return GetElementServiceSite(); }

bool IsMark(void* mark) { return mark != nullptr && !IsBadReadMemory(mark, sizeof(void*)); }

}  // namespace

void* CadCreateMark(void* database) { return ZUriCreateMark(database); }
int CadDestroyMark(void* mark) { return ZUriDestroyMark(mark); }
int CadSetMark(void* mark, void* element) { return ZUriSetMark(element, mark); }
int CadRemoveFromMark(void* mark, void* element) { return ZUriDelMark(element, mark); }
void* CadGetNextMark(void* mark, void* previous) { return ZUriGetNextMark(previous, mark); }
void* CadGetNextMarkMember(void* mark, void* previous) { return ZUriGetExtNextMark(previous, mark); }
void* CadGetPrevMark(void* mark, void* previous) { return ZUriGetBackMark(previous, mark); }
int CadCheckMark(void* mark, void* element) { return ZUriChkMark(element, mark); }
int CadGetMarkCount(void* mark) { return ZUriGetMarkNum(mark); }

int SetMarkHighlight(int set, void* mark)
{
    if (!IsMark(mark)) return 0;
    // The engine counts only marks it knows: an empty or unknown one leaves every database alone.
    if (ZUriGetMarkNum(mark) <= 0) return 1;
    auto* db = *static_cast<EngineDbRecord**>(mark);
    if (db != nullptr && !IsBadWriteMemory(db, sizeof *db)) db->modified = 1;
    const int colour = GetCommandRunState().highlightColor;
    auto change = [&](EngineNode* node) {
        if (set) {
            node->flags |= kNodeHighlighted;
            node->highlightColour = colour;
        } else {
            node->flags &= ~kNodeHighlighted;
        }
    };
    for (void* e = ZUriGetExtNextMark(nullptr, mark); e != nullptr; e = ZUriGetExtNextMark(e, mark)) {
        auto* node = static_cast<EngineNode*>(e);
        change(node);
        if (IsHighlightComposite(node->record.type, true)) ForEachCompositeMember(node, true, change);
    }
    return 1;
}

int SetSearchSettings(int operation, INT_PTR value)
{
    switch (operation) {
    case 0: {
        auto* block = reinterpret_cast<const SearchBlock*>(value);
        if (block == nullptr || IsBadReadMemory(block, sizeof *block)) return 0;
        State().search = *block;
        ZUriDbSetSerch(&State().search);
        return 1;
    }
    case 100: QmSetLockLaySearchMode(1); return 1;
    case 101: {
        auto* pair = reinterpret_cast<int*>(value);
        if (pair == nullptr || IsBadWriteMemory(pair, 2 * sizeof(int))) return 0;
        pair[1] = ZUriDbSetSerchOption(pair[0]);
        return 1;
    }
    default: return 1;
    }
}

int GetSearchSettings(int operation, void* out)
{
    if (operation == 0) {
        if (out == nullptr || IsBadWriteMemory(out, sizeof(SearchBlock))) return 0;
        std::memcpy(out, &State().search, sizeof(SearchBlock));
    } else if (operation == 100) {
        if (out == nullptr || IsBadWriteMemory(out, sizeof(int))) return 0;
        *static_cast<int*>(out) = QmGetLockLaySearchMode();
    }
    return 1;
}

const SearchBlock& CurrentSearchBlock() { return State().search; }

SearchBlock MakeProgramSearchBlock(uint32_t typeMask, uint32_t word4)
{
    SearchBlock block{};
    block.mode = 3;
    block.typeMask = typeMask;
    block.word2 = -1;
    block.word3 = 0xffff;
    block.word4 = word4;
    block.word5 = 255;
    block.word6 = 255;
    return block;
}

int GetPickAperture() { return State().aperture; }

int SetPickAperture(int pixels)
{
    if (pixels < 1 || pixels > 998) return 0;
    const int previous = State().aperture;
    State().aperture = pixels;
    return previous;
}

double GetPickApertureInDrawingUnits()
{
    const double scale = Site().ViewModeScale(Site().ActiveView());
    return scale > 0.0 ? State().aperture / scale : State().aperture;
}

void SetPickFilterFlags(int flags) { State().filterFlags = flags; }

void* FindFrameElement(const SearchBox* condition)
{
    HWND view = Site().ActiveView();
    void* db = Site().ViewDatabase(view);
    if (view == nullptr || db == nullptr) return nullptr;
    ZUriDbSetSerch(&State().search);
    return ZUriGetWakuElement(condition, db, Site().ViewDataBlock(view));
}

namespace {
SearchBox BoxAround(double x, double y)
{
    const double a = GetPickApertureInDrawingUnits();
    return SearchBox{x - a, y + a, x + a, y - a};
}

int KeepIfFound(void* found, void** mark)
{
    if (found != nullptr && ZUriGetMarkNum(found) > 0) {
        State().lastPickMark = found;
        if (mark) *mark = found;
        return 1;
    }
    if (found != nullptr) ZUriDestroyMark(found);
    if (mark) *mark = nullptr;
    return 0;
}

int SearchAtCursor(void** mark, bool extended)
{
    HWND view = Site().ActiveView();
    void* db = Site().ViewDatabase(view);
    if (view == nullptr || db == nullptr) {
        if (mark) *mark = nullptr;
        return 0;
    }
    const HostPoint at = Site().CursorWorldPoint();
    const SearchBox box = BoxAround(at.x, at.y);
    if (extended) Site().FocusView(view);
    ZUriDbSetSerch(&State().search);
    void* found = extended ? ZUriGetWakuElementEx(&box, db, Site().ViewDataBlock(view), 100)
                           : ZUriGetWakuElement(&box, db, Site().ViewDataBlock(view));
    return KeepIfFound(found, mark);
}
}  // namespace

int SetSearchBoxAtCursor(void** mark) { return SearchAtCursor(mark, false); }

void* SearchAllKindsAtCursor()
{
    HWND view = Site().ActiveView();
    void* db = Site().ViewDatabase(view);
    if (view == nullptr || db == nullptr) return nullptr;
    const HostPoint at = Site().CursorWorldPoint();
    const SearchBox box = BoxAround(at.x, at.y);
    SearchBlock saved{};
    ZUriDbGetSerch(&saved);
    const SearchBlock all = MakeProgramSearchBlock(0, 0xffffff);
    ZUriDbSetSerch(&all);
    void* found = ZUriGetWakuElement(&box, db, Site().ViewDataBlock(view));
    ZUriDbSetSerch(&saved);
    if (found != nullptr && ZUriGetMarkNum(found) <= 0) {
        ZUriDestroyMark(found);
        found = nullptr;
    }
    return found;
}
int FindFrameElementsAtCursor(void** mark) { return SearchAtCursor(mark, true); }

namespace {
// The host library's element read and highlight colour come back to this program as messages;
// the program reads the same values directly.
bool IsPickable(void* element, void* db)
{
    if ((State().filterFlags & 1) == 0) return true;
    ElementRecord record{};
    if (ZUriReadElement(element, 0, &record, db) != element) return false;
    return !(record.type == kElementPoint && record.colour == 0);
}

struct Candidates {
    void* mark;
    bool groupMode;
    bool forward;

    void* First() const { return Next(nullptr); }
    void* Next(void* previous) const
    {
        if (groupMode) return CadGetNextMarkMember(mark, previous);
        return forward ? CadGetNextMark(mark, previous) : CadGetPrevMark(mark, previous);
    }
};
}  // namespace

int PickElementAtPoint(void** element, double x, double y, int groupMode)
{
    if (element) *element = nullptr;
    HWND view = Site().ActiveView();
    void* db = Site().ViewDatabase(view);
    if (view == nullptr || db == nullptr) return 0;
    ZUriSerchSetGrpFind(groupMode ? 1 : 0);
    POINT savedCursor{};
    GetCursorPos(&savedCursor);

    const SearchBox box = BoxAround(x, y);
    ZUriDbSetSerch(&State().search);
    void* mark = ZUriGetWakuElement(&box, db, Site().ViewDataBlock(view));
    const Candidates walk{mark, groupMode != 0, Site().Settings().elementHitForward != 0};
    const bool lockMode = QmGetLockLaySearchMode() == 1;
    auto usable = [&](void* e) {
        if (lockMode && QmIsLockLayer(e, db, nullptr)) return false;
        return !walk.groupMode || IsPickable(e, db);
    };

    void* chosen = nullptr;
    const int count = mark != nullptr ? ZUriGetMarkNum(mark) : 0;
    if (count == 1) {
        void* only = walk.First();
        if (only != nullptr && (!walk.groupMode || IsPickable(only, db))) chosen = only;
    } else if (count > 1) {
        int usableCount = 0;
        for (void* e = walk.First(); e != nullptr; e = walk.Next(e))
            if (usable(e)) ++usableCount;
        const bool ask = usableCount > 1;
        CommandRunState& run = GetCommandRunState();
        for (void* e = walk.First(); e != nullptr && usableCount > 0; e = walk.Next(e)) {
            if (!usable(e)) continue;
            if (!ask) {
                chosen = e;
                break;
            }
            uint32_t savedFlags = 0;
            int savedColour = 0;
            GetElementHighlight(e, &savedFlags, &savedColour);
            Site().RedrawElementInViews(view, 2, e);
            const int savedValue = run.highlightColor;
            run.highlightColor = GetLocalSettingsLive().iHighlightColor + 257;
            HighlightElement(nullptr, e);
            run.highlightColor = savedValue;
            const int answer = Site().AskYesNoCancel(Site().Settings().yesNoText.c_str());
            SetElementHighlight(nullptr, e, savedFlags, savedColour);
            if (answer == IDYES) {
                chosen = e;
                break;
            }
            if (answer == IDCANCEL) break;
        }
    }
    ZUriSerchSetGrpFind(0);
    SetCursorPos(savedCursor.x, savedCursor.y);
    if (mark != nullptr) ZUriDestroyMark(mark);
    if (element) *element = chosen;
    return chosen != nullptr ? 1 : 0;
}
