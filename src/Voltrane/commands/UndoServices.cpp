#include "commands/UndoServices.h"

#include <vector>

#include "DravikDb.h"
#include "commands/CommandRunState.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "commands/InputEvent.h"
#include "commands/MarkServices.h"

namespace {

CElementServiceSite& Site() { return GetElementServiceSite(); }

EngineDbRecord* ActiveDb() { return static_cast<EngineDbRecord*>(Site().ViewDatabase(Site().ActiveView())); }

bool IsShownKind(int type)
{
    return (type >= kElementLine && type <= kElementEllipticArc) || type == kElementGroup ||
           type == kElementComposite || type == kElementFigureReference || type == kElementImage ||
           type == kElementRaster || type == kElementViewport;
}

bool IsDisplayed(EngineNode* element, HWND view, void* db)
{
    if (element == nullptr || !IsShownKind(element->record.type)) return false;
    return ZUriChkDspElement(element->record.page, element->record.layer, element->record.space,
                             Site().ViewMode(view), db) != 0;
}

// The records whose elements leave the screen before a step is replayed.
bool IsErasedKind(int kind, bool redo)
{
    if (redo) return kind == 301 || kind == 302 || (kind >= 305 && kind <= 308);
    return kind == 300 || kind == 302 || kind == 303 || kind == 304 || kind == 306 || kind == 308;
}

RasterRecord* AsRaster(EngineNode* element)
{
    return element != nullptr && element->record.type == kElementRaster ? reinterpret_cast<RasterRecord*>(element)
                                                                        : nullptr;
}

void CompressRaster(void* db, EngineNode* element)
{
    RasterRecord* raster = AsRaster(element);
    if (raster == nullptr || raster->compressed == nullptr) return;
    uint32_t out = 0;
    if (ZUriCompRstrData(db, element, 0, &out) != 0 && raster->bits != nullptr) {
        VirtualFree(raster->bits, 0, MEM_RELEASE);
        raster->bits = nullptr;
        raster->bitsSize = 0;
        raster->expanded = 0;
    }
}

void ExpandRaster(void* db, EngineNode* element)
{
    RasterRecord* raster = AsRaster(element);
    if (raster != nullptr && raster->compressed != nullptr && raster->bits == nullptr)
        ZUriExpandRstrData(db, element, 1);
}

// The records of one step in replay order.
std::vector<UndoRecord*> StepRecords(EngineDbRecord* db, bool redo)
{
    std::vector<UndoRecord*> step;
    auto* current = static_cast<UndoRecord*>(db->undoCurrent);
    if (!redo) {
        for (UndoRecord* r = current; r != nullptr; r = r->older) {
            if (!step.empty() && r->stepMark == 1) break;
            step.push_back(r);
        }
    } else {
        UndoRecord* r = current != nullptr ? current->newer : static_cast<UndoRecord*>(db->undoOldest);
        for (; r != nullptr; r = r->newer) {
            step.push_back(r);
            if (r->stepMark == 1) break;
        }
    }
    return step;
}

int ReplayStep(bool redo)
{
    CommandRunState& run = GetCommandRunState();
    if (run.undoRecording == 0) return 1;
    CElementServiceSite& site = Site();
    HWND view = site.ActiveView();
    if (GetInputEventRecord().acceptMask & kAcceptRubberBand) site.EraseRubberBand(view);
    RequestAuxViewRefresh();
    EngineDbRecord* db = ActiveDb();
    if (db == nullptr || view == nullptr) return 0;
    const bool nothing = redo ? ZUriIsRedo(db) == 0 : db->undoCurrent == nullptr;
    if (nothing) {
        PlayAlertSound(2);
        return 1;
    }
    void* linkMark = ZUriCreateLinkMark(db);
    if (linkMark == nullptr) {
        site.WriteLog(0, "Error", "UNDO内でマークハンドラが獲得できません");
        PlayAlertSound(2);
        site.ShowMessage("Fatal error !\n一度図面を保存し、システムを起動し直してください", "UNDO ERROR", MB_OK);
        return 1;
    }
    const std::vector<UndoRecord*> step = StepRecords(db, redo);
    for (UndoRecord* r : step)
        if (IsErasedKind(r->kind, redo) && IsDisplayed(r->element, view, db)) ZUriSetMark(r, linkMark);
    site.RedrawMarkInViews(view, 0, linkMark);
    ZUriDestroyMark(linkMark);

    void* result = ZUriCreateMark(db);
    GetInputEventRecord().code = redo ? kEventRedo : kEventUndo;
    auto show = [&](EngineNode* e) {
        if (result != nullptr && IsDisplayed(e, view, db)) ZUriSetMark(e, result);
    };
    // An element added by the step is taken out by an undo and put back by a redo; a deleted
    // one the other way round; a changed one swaps with its saved state either way.
    auto takeOut = [&](EngineNode* e) {
        ZUriUndoDelElement(e, db);
        CompressRaster(db, e);
    };
    auto putBack = [&](UndoRecord* r) {
        ExpandRaster(db, r->element);
        ZUriUndoAddElement(r->element, db, 1, r->value);
        show(r->element);
    };
    for (UndoRecord* r : step) {
        EngineNode* e = r->element;
        switch (r->kind) {
        case 300:
            if (redo)
                putBack(r);
            else
                takeOut(e);
            break;
        case 301:
            if (redo)
                takeOut(e);
            else
                putBack(r);
            break;
        case 302:
            CompressRaster(db, e);
            ZUriUndoChgElement(e, r->savedState, db, 0);
            ExpandRaster(db, e);
            show(e);
            break;
        case 304:
            if (redo) {
                ZUriUndoAddMemberElement(e, r->groupHead, db, 0, r->memberValue);
                show(e);
            } else {
                ZUriUndoDelMemberElement(e, nullptr, db, 0, r->memberValue);
            }
            break;
        default: break;
        }
    }
    if (!step.empty()) db->undoCurrent = redo ? step.back() : step.back()->older;
    if (result != nullptr) {
        SetMarkHighlight(0, result);
        site.RedrawMarkInViews(view, -1, result);
        ZUriDestroyMark(result);
    }
    site.ShowElementCountAndRepaint(view);
    return 1;
}

}  // namespace

int BeginUndoStep()
{
    if (GetCommandRunState().undoBeginSuppressed == 1) return 1;
    EngineDbRecord* db = ActiveDb();
    if (db == nullptr) return 1;
    ZUriMakUndoPass(db);
    const int depth = Site().Settings().undoDepth;
    if (depth == 0)
        ZUriClearUndoElement(db);
    else if (depth > 0)
        ZUriCheckUndo(depth, 0, db);
    return 1;
}

int UndoLastStep() { return ReplayStep(false); }
int RedoLastStep() { return ReplayStep(true); }

int ClearUndo(void* database)
{
    if (database == nullptr) database = ActiveDb();
    if (database == nullptr) return 1;
    return ZUriClearUndoElement(database);
}

int CanUndo()
{
    EngineDbRecord* db = ActiveDb();
    return db != nullptr ? ZUriIsUndo(db) : 0;
}

int CanRedo()
{
    EngineDbRecord* db = ActiveDb();
    return db != nullptr ? ZUriIsRedo(db) : 0;
}
