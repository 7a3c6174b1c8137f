#include "commands/ElementServices.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/CommandRunState.h"
#include "commands/ElementServiceSite.h"
#include "commands/CommandCatalog.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/Dbcs.h"
#include "mainframe/MainFrame.h"
#include "view/ViewTable.h"
#include "MemoryProbe.h"

namespace {

CElementServiceSite& Site() { return GetElementServiceSite(); }

EngineNode* NodeOf(void* element) { return static_cast<EngineNode*>(element); }

// An element handle a plug-in handed in, confirmed by the engine: in the database when it is
// known, otherwise among all the engine's elements (a copy of an element's parameters onto itself
// answers 1 for a live element and changes nothing).
bool IsUsableElement(void* element, void* database)
{
    if (element == nullptr) return false;
    if (database != nullptr) return ZUriReadElement(element, 0, nullptr, database) == element;
    return ZUriElementParamCopy(element, element) == 1;
}

void SetDouble(ElementRecord& record, int offset, double value)
{
    std::memcpy(reinterpret_cast<uint8_t*>(&record) + offset, &value, sizeof value);
}


void ZeroThenUnit(ElementRecord& record, std::initializer_list<int> zeroes, int unit)
{
    for (int offset : zeroes) SetDouble(record, offset, 0.0);
    SetDouble(record, unit, 1.0);
}

int PageDetectBit(const EngineDbRecord& db, int page)
{
    return (db.pageState.detectMask[page / 32] >> (page % 32)) & 1;
}

HWND ViewOrActive(HWND view) { return view != nullptr ? view : Site().ActiveView(); }

}  // namespace

ElementServiceState& GetElementServiceState()
{
    static ElementServiceState state;
    return state;
}

void RequestAuxViewRefresh() { GetFrameFlags().auxViewRefresh = 1; }

void* ParamViewDatabase(const CmdParamRecord& param) { return Site().ViewDatabase(param.view); }

int CheckPageEditable(int page, void* database)
{
    CElementServiceSite& site = Site();
    // Negative pages are refused as well as pages above 511: both lie outside the page masks.
    if (page < 0 || page / 32 > 15) {
        char text[96];
        std::snprintf(text, sizeof text, "現在のページ[%d]は不適切です。", page);
        site.ShowMessage(text, "エラー", MB_OK);
        return 0;
    }
    if (database == nullptr) database = site.ViewDatabase(site.ActiveView());
    if (database == nullptr) return 1;
    if (PageDetectBit(*static_cast<EngineDbRecord*>(database), page)) return 1;
    CommandRunState& run = GetCommandRunState();
    if (run.pageCheckMessage == 1) {
        if (site.Settings().language)
            site.ShowMessage("Read Only.", "Check", MB_OK);
        else
            site.ShowMessage("現在のページは参照のため要素の編集はできません。", "要素チェック", MB_OK);
    }
    run.pageCheckMessage = 0;
    return 0;
}

void FlattenElementRecord(ElementRecord& r)
{
    switch (r.type) {
    case kElementLine:
    case kElementImage:
        SetDouble(r, 49, 0.0);
        SetDouble(r, 73, 0.0);
        break;
    case kElementFigureReference: SetDouble(r, 73, 0.0); break;
    case kElementPoint: SetDouble(r, 49, 0.0); break;
    case kElementCircle: ZeroThenUnit(r, {49, 65, 73}, 81); break;
    case kElementArc: ZeroThenUnit(r, {49, 83, 91}, 99); break;
    case kElementText: ZeroThenUnit(r, {128, 140, 148}, 156); break;
    case kElementEllipse: ZeroThenUnit(r, {49, 73, 89, 97}, 105); break;
    case kElementEllipticArc: ZeroThenUnit(r, {49, 73, 107, 115}, 123); break;
    default: break;
    }
}

void PlayAlertSound(int kind) { Site().AlertSound(kind); }

// ---- reading, adding, changing, deleting ----

LRESULT ReadElementService(CmdParamRecord* param)
{
    if (param == nullptr) return 0;
    Site().RefreshPlacementFlag(param->view);
    void* db = ParamViewDatabase(*param);
    void* out = reinterpret_cast<void*>(param->value1);
    if (db == nullptr || (out != nullptr && IsBadWriteMemory(out, kElementRecordSize))) return 0;
    return reinterpret_cast<LRESULT>(ZUriReadElement(reinterpret_cast<void*>(param->element),
                                                     static_cast<int>(param->record),
                                                     reinterpret_cast<void*>(param->value1), db));
}

namespace {
void* StoreNewElement(const ElementRecord* record, void* db)
{
    ElementRecord copy;
    std::memcpy(&copy, record, sizeof copy);
    if (!CheckPageEditable(copy.page, db)) return nullptr;
    if (!GetElementServiceState().keepFields) FlattenElementRecord(copy);
    return ZUriAppendElement(&copy, db);
}
}  // namespace

void* AddElementToActiveDrawing(const ElementRecord* record)
{
    CElementServiceSite& site = Site();
    if (record == nullptr || IsBadReadMemory(record, sizeof *record)) return nullptr;
    site.SetActiveDrawingModified();
    HWND view = site.ActiveView();
    void* db = site.ViewDatabase(view);
    if (view == nullptr || db == nullptr) return nullptr;
    void* element = StoreNewElement(record, db);
    if (element != nullptr) site.SetViewModified(view);
    return element;
}

void* AppendElementService(CmdParamRecord* param)
{
    if (param == nullptr) return nullptr;
    auto* record = reinterpret_cast<const ElementRecord*>(param->value1);
    void* db = ParamViewDatabase(*param);
    if (db == nullptr || record == nullptr || IsBadReadMemory(record, sizeof *record)) return nullptr;
    void* element = StoreNewElement(record, db);
    if (element != nullptr) Site().SetViewModified(param->view);
    return element;
}

LRESULT ChangeElementService(CmdParamRecord* param)
{
    if (param == nullptr) return 0;
    auto* record = reinterpret_cast<const ElementRecord*>(param->value1);
    void* db = ParamViewDatabase(*param);
    if (db == nullptr || record == nullptr || IsBadReadMemory(record, sizeof *record)) return 0;
    void* element = ZUriReadElement(reinterpret_cast<void*>(param->element), static_cast<int>(param->record),
                                    nullptr, db);
    if (element == nullptr) return 0;
    EngineNode image;
    std::memcpy(&image, element, sizeof image);
    const HGLOBAL ownImage = NodeOf(element)->record.type == kElementImage
                                 ? reinterpret_cast<const ImageRecord*>(element)->dib
                                 : nullptr;
    std::memcpy(&image.record, record, sizeof image.record);
    if (!CheckPageEditable(image.record.page, db)) return 0;
    if (!GetElementServiceState().keepFields) FlattenElementRecord(image.record);
    void* changed = ZUriChangeElement(element, &image, db);
    // The engine keeps its own copy of an image block; the caller's block is released here,
    // but never the element's own block that a read handed out.
    if (changed != nullptr && image.record.type == kElementImage) {
        const HGLOBAL given = reinterpret_cast<const ImageRecord*>(&image.record)->dib;
        if (given != nullptr && given != ownImage) GlobalFree(given);
    }
    Site().SetViewModified(param->view);
    return changed != nullptr ? 1 : 0;
}

LRESULT DeleteElementChecked(int switches, CmdParamRecord* param)
{
    RequestAuxViewRefresh();
    if (param == nullptr) return 0;
    void* db = ParamViewDatabase(*param);
    void* element = reinterpret_cast<void*>(param->element);
    ElementRecord record;
    if (db == nullptr || element == nullptr || ZUriReadElement(element, 0, &record, db) != element) return 0;
    // Checked before the element leaves the screen, so a refused element stays visible.
    if (!CheckPageEditable(record.page, db)) return 0;
    if ((switches & 1) == 0) Site().RedrawElementInViews(param->view, 0, element);
    Site().SetViewModified(param->view);
    return ZUriDeleteElement(element, db);
}

int DeleteMarkedElements(void* mark)
{
    RequestAuxViewRefresh();
    if (mark == nullptr || IsBadReadMemory(mark, sizeof(void*))) return 0;
    CElementServiceSite& site = Site();
    void* db = *static_cast<void**>(mark);
    void* working = ZUriCreateMark(db);
    if (working == nullptr) return 0;
    site.RedrawMarkInViews(site.ActiveView(), 0, mark);
    int deleted = 0;
    int result = 1;
    for (void* element = ZUriGetNextMark(nullptr, mark); element != nullptr;) {
        void* next = ZUriGetNextMark(element, mark);
        ElementRecord record;
        if (ZUriReadElement(element, 0, &record, db) == element) {
            if (!CheckPageEditable(record.page, db)) {
                result = 0;
                break;
            }
            if (ZUriDeleteElement(element, db)) ++deleted;
        }
        element = next;
    }
    if (result == 1 || deleted > 0) site.SetActiveDrawingModified();
    ZUriDestroyMark(working);
    return result;
}

void DeleteElementWithUndo(void* element, INT_PTR value, int startStep)
{
    HWND main = Site().MainWindow();
    if (main == nullptr) return;
    if (startStep != 0) SendMessageA(main, 2514, 0, 0);
    CmdParamRecord param{};
    param.view = reinterpret_cast<HWND>(SendMessageA(main, 2429, 0, 0));
    param.element = reinterpret_cast<INT_PTR>(element);
    param.record = value;
    DeleteElementChecked(0, &param);
}

// ---- highlights ----

namespace {
void* DatabaseOfView(HWND view) { return Site().ViewDatabase(ViewOrActive(view)); }

void MarkDatabaseChanged(HWND view)
{
    if (auto* db = static_cast<EngineDbRecord*>(DatabaseOfView(view))) db->modified = 1;
}

void Highlight(EngineNode* node, uint32_t flags, int colour, bool wholeWord)
{
    if (wholeWord) {
        node->flags = flags;
    } else {
        node->flags |= kNodeHighlighted;
    }
    node->highlightColour = colour;
}
}  // namespace

int SetElementHighlight(HWND view, void* element, uint32_t flags, int colour)
{
    RequestAuxViewRefresh();
    if (!IsUsableElement(element, DatabaseOfView(view))) return 0;
    EngineNode* node = NodeOf(element);
    Highlight(node, flags, colour, true);
    if (IsHighlightComposite(node->record.type, true))
        ForEachCompositeMember(node, true, [&](EngineNode* m) { Highlight(m, flags, colour, true); });
    MarkDatabaseChanged(view);
    Site().RedrawElementInViews(ViewOrActive(view), -2, element);
    return 1;
}

int HighlightElement(HWND view, void* element)
{
    RequestAuxViewRefresh();
    if (!IsUsableElement(element, DatabaseOfView(view))) return 0;
    const int colour = GetCommandRunState().highlightColor;
    EngineNode* node = NodeOf(element);
    Highlight(node, 0, colour, false);
    if (IsHighlightComposite(node->record.type, true))
        ForEachCompositeMember(node, true, [&](EngineNode* m) { Highlight(m, 0, colour, false); });
    MarkDatabaseChanged(view);
    Site().RedrawElementInViews(ViewOrActive(view), -2, element);
    return 1;
}

int GetElementHighlight(void* element, uint32_t* flags, int* colour)
{
    if (!IsUsableElement(element, nullptr)) return 0;
    if (flags) *flags = NodeOf(element)->flags;
    if (colour) *colour = NodeOf(element)->highlightColour;
    return 1;
}

int ClearElementHighlight(HWND view, void* element)
{
    RequestAuxViewRefresh();
    if (!IsUsableElement(element, DatabaseOfView(view))) return 0;
    EngineNode* node = NodeOf(element);
    node->flags &= ~kNodeHighlighted;
    if (IsHighlightComposite(node->record.type, false))
        ForEachCompositeMember(node, false, [](EngineNode* m) { m->flags &= ~kNodeHighlighted; });
    if (view != nullptr) Site().RedrawElementInViews(view, -2, element);
    return 1;
}

int ClearAllHighlights(void* database)
{
    RequestAuxViewRefresh();
    if (database == nullptr) return 1;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, database); e != nullptr;
         e = ZUriReadElement(e, 1, nullptr, database)) {
        EngineNode* node = NodeOf(e);
        node->flags &= ~kNodeHighlighted;
        for (EngineNode* m = node->nextMember; m != nullptr; m = m->nextMember) m->flags &= ~kNodeHighlighted;
    }
    return 1;
}

// ---- groups and composites ----

void* GroupHeaderService(CmdParamRecord* param)
{
    if (param == nullptr) return nullptr;
    void* db = param->view != nullptr ? ParamViewDatabase(*param) : reinterpret_cast<void*>(param->value1);
    if (db == nullptr) return nullptr;
    return ZUriGetFgroupHeaderIdx(reinterpret_cast<void*>(param->element), db);
}

void* FirstMemberService(CmdParamRecord* param)
{
    if (param == nullptr) return nullptr;
    void* db = ParamViewDatabase(*param);
    if (db == nullptr) return nullptr;
    ElementRecord scratch;
    return ZUriReadFirstMember(reinterpret_cast<void*>(param->element), &scratch, db);
}

void* NextMemberService(CmdParamRecord* param)
{
    if (param == nullptr || param->mode != 1) return nullptr;
    void* db = ParamViewDatabase(*param);
    if (db == nullptr) return nullptr;
    ElementRecord scratch;
    return ZUriReadNextMember(param->elementRecord, &scratch, db);
}

void* AppendFgroupService(CmdParamRecord* param)
{
    if (param == nullptr) return nullptr;
    void* db = ParamViewDatabase(*param);
    auto* given = static_cast<const ElementRecord*>(param->elementRecord);
    if (db == nullptr || given == nullptr || IsBadReadMemory(given, sizeof *given)) return nullptr;
    ElementRecord record = *given;
    if (!CheckPageEditable(record.page, db)) return nullptr;
    if (!GetElementServiceState().keepFields && record.type == kElementFigureReference) SetDouble(record, 73, 0.0);
    void* instance = ZUriAppendFgroup(reinterpret_cast<void*>(param->element), &record, db);
    if (instance != nullptr) Site().SetViewModified(param->view);
    return instance;
}

namespace {
// Moves the marked elements into the group head as members. A source is deleted only after its
// copy was stored; a refused copy stops the walk and keeps that source.
int MoveMarkIntoGroup(HWND view, void* db, void* head, void* mark)
{
    Site().RedrawMarkInViews(Site().FindViewByDatabase(db), 0, mark);
    int result = 1;
    for (void* element = ZUriGetNextMark(nullptr, mark); element != nullptr;) {
        ElementRecord record;
        void* next = ZUriGetNextMark(element, mark);
        if (ZUriReadElement(element, 0, &record, db) != element) {
            element = next;
            continue;
        }
        ZUriSetTransFg(0);
        void* member = ZUriAppendMemberElement(&record, head, db);
        ZUriSetTransFg(1);
        if (member == nullptr) {
            result = 0;
            break;
        }
        ZUriElementParamCopy(element, member);
        NodeOf(member)->groupHeader = static_cast<EngineNode*>(head);
        ZUriDeleteElement(element, db);
        element = next;
    }
    Site().SetViewModified(view);
    return result;
}

const ElementRecord* ParamRecord52(const CmdParamRecord& param)
{
    auto* record = static_cast<const ElementRecord*>(param.elementRecord);
    return record != nullptr && !IsBadReadMemory(record, sizeof *record) ? record : nullptr;
}
}  // namespace

void* MakeGroupFromMark(CmdParamRecord* param)
{
    RequestAuxViewRefresh();
    if (param == nullptr) return nullptr;
    void* db = ParamViewDatabase(*param);
    const ElementRecord* headRecord = ParamRecord52(*param);
    void* mark = reinterpret_cast<void*>(param->transform);
    if (db == nullptr || headRecord == nullptr || mark == nullptr) return nullptr;
    if (!CheckPageEditable(headRecord->page, db)) return nullptr;
    void* head = ZUriCreateFgroupHead(headRecord, db);
    if (head == nullptr) return nullptr;
    return MoveMarkIntoGroup(param->view, db, head, mark) ? head : nullptr;
}

int AddMarkToGroup(CmdParamRecord* param)
{
    RequestAuxViewRefresh();
    if (param == nullptr) return 0;
    void* db = ParamViewDatabase(*param);
    const ElementRecord* record = ParamRecord52(*param);
    void* mark = reinterpret_cast<void*>(param->transform);
    void* head = reinterpret_cast<void*>(param->element);
    if (db == nullptr || record == nullptr || mark == nullptr || head == nullptr) return 0;
    if (!CheckPageEditable(record->page, db)) return 0;
    return MoveMarkIntoGroup(param->view, db, head, mark);
}

void PlaceMemberRecord(ElementRecord& record, double angle, double scaleX, double scaleY, double dx, double dy,
                       double ox, double oy);

int ExplodeGroupInstance(CmdParamRecord* param)
{
    if (param == nullptr) return 0;
    void* db = ParamViewDatabase(*param);
    void* instance = param->elementRecord;
    FigureReferenceRecord ref;
    if (db == nullptr || instance == nullptr ||
        ZUriReadElement(instance, 0, &ref, db) != instance || ref.header[0] != kElementFigureReference)
        return 0;
    ElementRecord asRecord;
    std::memcpy(&asRecord, &ref, sizeof asRecord);
    if (!CheckPageEditable(asRecord.page, db)) return 0;
    RequestAuxViewRefresh();
    void* header = ZUriGetFgroupHeaderIdx(instance, db);
    if (header == nullptr) return 0;
    Site().RedrawElementInViews(param->view, 0, instance);
    const auto* headerRecord = reinterpret_cast<const FigureHeaderRecord*>(header);
    const int count = ZUriGetMemberNum(header, db);
    void* from = header;
    for (int i = 0; i < count; ++i) {
        ElementRecord member;
        void* next = ZUriReadFirstMember(from, &member, db);
        if (next == nullptr) break;
        from = next;
        PlaceMemberRecord(member, ref.angle, ref.scaleX, ref.scaleX, ref.x, ref.y, headerRecord->originX,
                          headerRecord->originY);
        void* added = ZUriAppendElement(&member, db);
        // The instance stays when a member cannot be stored: nothing of the drawing is lost.
        if (added == nullptr) return 0;
        Site().RedrawElementInViews(param->view, -2, added);
    }
    ZUriDeleteElement(instance, db);
    Site().SetViewModified(param->view);
    return 1;
}

void ClearElementExtraData(void* element, int flags);

int ExplodeComposite(CmdParamRecord* param)
{
    RequestAuxViewRefresh();
    if (param == nullptr) return 0;
    ElementServiceState& state = GetElementServiceState();
    void* db = ParamViewDatabase(*param);
    void* composite = param->elementRecord;
    ElementRecord head;
    if (db == nullptr || composite == nullptr || ZUriReadElement(composite, 0, &head, db) != composite) return 0;
    const int savedAppendMode = state.appendMode;
    state.appendMode = 1;
    struct Restore {
        ElementServiceState& s;
        int v;
        ~Restore() { s.appendMode = v; }
    } restore{state, savedAppendMode};
    if (!CheckPageEditable(head.page, db)) return 0;
    void* result = ZUriCreateMark(db);
    if (result == nullptr) return 0;
    int ok = 1;
    ElementRecord member;
    for (void* m = ZUriReadFirstMember(composite, &member, db); m != nullptr;
         m = ZUriReadNextMember(m, &member, db)) {
        if (member.type == kElementGroup || member.type == kElementComposite) continue;
        if (member.type >= kElementLine && member.type <= kElementEllipticArc && member.colour == 0) continue;
        void* added = ZUriAppendElement(&member, db);
        if (added == nullptr) {
            ok = 0;
            break;
        }
        ZUriElementParamCopy(m, added);
        ClearElementExtraData(added, 3);
        ZUriSetMark(added, result);
        EngineNode* node = NodeOf(added);
        node->memberCount = 0;
        node->groupHeader = nullptr;
        node->nextMember = nullptr;
    }
    // The composite goes only when every member was stored beside it.
    if (ok) ZUriDeleteElement(composite, db);
    Site().RedrawMarkInViews(param->view, -1, result);
    ZUriDestroyMark(result);
    return ok;
}

namespace {
bool CopyDirectMembers(void* sourceHead, void* targetHead, void* targetDb)
{
    void* previous = nullptr;
    for (void* m = ZUriReadNextMember2(sourceHead, nullptr); m != nullptr; m = ZUriReadNextMember2(sourceHead, m)) {
        const ElementRecord& record = NodeOf(m)->record;
        void* added = previous != nullptr ? ZUriAppendMemberElementExt(&record, targetHead, targetDb, previous)
                                          : ZUriAppendMemberElement(&record, targetHead, targetDb);
        if (added == nullptr) return false;
        ZUriElementParamCopy(m, added);
        if (IsCompositeType(record.type) && !CopyDirectMembers(m, added, targetDb)) return false;
        previous = added;
    }
    return true;
}
}  // namespace

void* CopyGroupToDb(void* sourceDb, void* targetDb, void* head)
{
    if (sourceDb == nullptr || targetDb == nullptr || head == nullptr) return nullptr;
    ElementRecord headRecord;
    if (ZUriReadFgroupElement(head, &headRecord, sourceDb) == nullptr) return nullptr;
    void* copy = ZUriCreateFgroupHead(&headRecord, targetDb);
    if (copy == nullptr) return nullptr;
    return CopyDirectMembers(head, copy, targetDb) ? copy : nullptr;
}

// ---- drawing event commands ----

namespace {
LRESULT RunEventCommand(int id, LPARAM argument)
{
    return ExecuteSystemCommandNotified(Site().ActiveView(), static_cast<WPARAM>(id), argument);
}
}  // namespace

LRESULT RunDrawingEventCommand(void* block, int kind)
{
    ElementServiceState& state = GetElementServiceState();
    if (GetFrameFlags().frameClosing) state.eventSwitch = 1;
    switch (kind) {
    case 0: return RunEventCommand(state.eventSwitch == 1 ? 6201 : 6200, 0);
    case 1: {
        auto* own = static_cast<PDBINFO*>(block);
        if (own == nullptr) return 0;
        // Every view of the same drawing, found by its drawing id.
        for (int slot = 0; slot < kViewTableSize; ++slot) {
            PDBINFO* other = GetViewBlock(GetViewInSlot(slot));
            if (other != nullptr && other != own && other->drawingId == own->drawingId) {
                other->saveOption = 0;
            }
        }
        own->saveOption = 0;
        return 1;
    }
    case 3: {
        char line[MAX_PATH * 2];
        if (!GetLumbraCmd().GetCommandLineById(6202, line, sizeof line)) return 1;
        return RunEventCommand(6202, 0);
    }
    case 4: {
        static const char kNoArgument[] = "";
        if (HWND main = Site().MainWindow())
            SetWindowPos(main, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return RunEventCommand(6203, reinterpret_cast<LPARAM>(kNoArgument));
    }
    default: return 1;
    }
}

// ---- drawings by file name ----

namespace {
std::string InDrawingFolder(const std::string& name)
{
    std::string folder = Site().Settings().drawingFolder;
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + name;
}
}  // namespace

int OpenDrawingByName(const char* name)
{
    RequestAuxViewRefresh();
    CElementServiceSite& site = Site();
    if (name == nullptr || IsBadStringMemory(name, MAX_PATH)) return 0;
    std::string path = name;
    if (path.size() < 4 || (path[1] != ':' && path[0] != '\\')) path = InDrawingFolder(path);
    // A name that does not fit a path with the drawing folder is refused, not cut.
    if (path.size() >= MAX_PATH) return 0;
    if (HWND view = site.FindViewByFileName(path.c_str())) {
        site.ActivateView(view);
        return 1;
    }
    // With the setting, the views nobody touched close behind the new one, and the running
    // command survives their closing until the posted 2670 clears the switch again.
    const bool closeUntouched = site.Settings().openClosesUntouched != 0;
    if (closeUntouched) site.SetKeepCommandOnClose(1);
    const int result = site.OpenDrawingFile(path.c_str());
    if (closeUntouched) {
        site.CloseUntouchedViews();
        if (HWND main = site.MainWindow()) PostMessageA(main, WM_CAD_CLEAR_KEEP_CMD_ON_CLOSE, 0, 0);
    }
    return result;
}

int CloseDrawingByName(const char* name)
{
    RequestAuxViewRefresh();
    CElementServiceSite& site = Site();
    if (name == nullptr || IsBadStringMemory(name, MAX_PATH)) return 0;
    std::string path = name;
    bool hasBackslash = false;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\') hasBackslash = true;
    }
    if (!hasBackslash) path = InDrawingFolder(path);
    if (path.size() >= MAX_PATH) return 0;
    if (HWND view = site.FindViewByFileName(path.c_str())) site.CloseViewByCommand(view);
    return 1;
}
