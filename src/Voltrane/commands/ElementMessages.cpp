#include "commands/ElementMessages.h"

#include "DravikDb.h"
#include "HostMessages.h"
#include "HostRecords.h"
#include "commands/ElementExtents.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "commands/HostServiceDispatch.h"
#include "commands/LinkTags.h"
#include "commands/MarkServices.h"
#include "commands/PlacementCopy.h"
#include "commands/TempDatabase.h"
#include "commands/UndoServices.h"
#include "view/ViewServices.h"
#include "MemoryProbe.h"

namespace {

template <typename T>
T* Ptr(LPARAM value)
{
    return reinterpret_cast<T*>(value);
}

LRESULT AsResult(void* pointer) { return reinterpret_cast<LRESULT>(pointer); }

void* VoidOf(INT_PTR value) { return reinterpret_cast<void*>(value); }

// A record the plug-in hands in: null, or too short to read, answers 0 before any field is read.
CmdParamRecord* Param(LPARAM lParam)
{
    auto* param = reinterpret_cast<CmdParamRecord*>(lParam);
    return param != nullptr && !IsBadReadMemory(param, sizeof *param) ? param : nullptr;
}

LRESULT MessageOfElements(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    CmdParamRecord* p = Param(lParam);
    ElementServiceState& state = GetElementServiceState();
    switch (uMsg) {
    case WM_CADDB_READ_ELEMENT: return ReadElementService(p);
    case WM_CADDB_ADD_ELEMENT: return AsResult(AddElementToActiveDrawing(Ptr<const ElementRecord>(lParam)));
    case WM_CADDB_APPEND_ELEMENT: return AsResult(AppendElementService(p));
    case WM_CADDB_CHANGE_ELEMENT: return ChangeElementService(p);
    case WM_CADDB_DELETE_ELEMENT: return DeleteElementChecked(static_cast<int>(wParam), p);
    case WM_CADDB_DELETE_MARKED: return DeleteMarkedElements(Ptr<void>(lParam));
    case WM_CADDB_GET_TAG: return wParam == 0 ? 0 : ZUriGetTag(Ptr<void>(lParam), static_cast<int>(wParam));
    case WM_CADDB_SET_TAG:
        if (wParam == 0 || p == nullptr) return 0;
        GetElementServiceSite().SetActiveDrawingModified();
        return ZUriSetTag(VoidOf(p->value1), static_cast<int>(wParam), static_cast<int>(p->value2));
    case WM_CADDB_GET_TAG_STRING: {
        if (p == nullptr) return 0;
        // A buffer too small for the text is refused instead of written past.
        const int needed = ZUriGetTagString(VoidOf(p->element), nullptr);
        if (p->text != nullptr && needed > 0 && IsBadWriteMemory(p->text, needed)) return 0;
        return ZUriGetTagString(VoidOf(p->element), p->text);
    }
    case WM_CADDB_SET_TAG_STRING:
        if (p == nullptr || (p->text != nullptr && IsBadStringMemory(p->text, 1024))) return 0;
        GetElementServiceSite().SetActiveDrawingModified();
        return ZUriSetTagString(VoidOf(p->element), p->text);
    case WM_CAD_GET_USERDATA:
        if (lParam == 0 || IsBadWriteMemory(Ptr<void>(lParam), 256)) return 0;
        return ZUriGet256UserData(VoidOf(wParam), Ptr<void>(lParam));
    case WM_CAD_SET_USERDATA:
        if (lParam == 0 || IsBadReadMemory(Ptr<void>(lParam), 256)) return 0;
        GetElementServiceSite().SetActiveDrawingModified();
        return ZUriSet256UserData(VoidOf(wParam), Ptr<const void>(lParam));
    case WM_CADDB_FF_TAG: {
        void* db = GetElementServiceSite().ViewDatabase(GetElementServiceSite().ActiveView());
        return wParam != 0 ? ZUriFFTagFasHeader(Ptr<void>(lParam), state.ffTagData, db)
                           : ZUriFFTagElement(Ptr<void>(lParam), state.ffTagData, db);
    }
    case WM_CADDB_SET_FF_TAG_DATA: state.ffTagData = Ptr<void>(lParam); return 1;
    case WM_CAD_SET_APPEND_KEEP_FIELDS:
        if (wParam != 0 && wParam != 1) return 0;
        state.keepFields = static_cast<int>(wParam);
        return 1;
    case WM_CAD_HIGHLIGHT_ELEMENT: return HighlightElement(nullptr, Ptr<void>(lParam));
    case WM_CAD_CLEAR_ELEMENT_HIGHLIGHT:
        return ClearElementHighlight(GetElementServiceSite().ActiveView(), Ptr<void>(lParam));
    case WM_CAD_CLEAR_ALL_HIGHLIGHTS: {
        void* db = lParam != 0 ? Ptr<void>(lParam)
                               : GetElementServiceSite().ViewDatabase(GetElementServiceSite().ActiveView());
        return ClearAllHighlights(db);
    }
    case WM_CADDB_MARK_MEMBERS: return SetMarkHighlight(static_cast<int>(wParam), Ptr<void>(lParam));
    case WM_CADDB_GROUP_HEADER: return AsResult(GroupHeaderService(p));
    case WM_CADDB_FIRST_MEMBER: return AsResult(FirstMemberService(p));
    case WM_CADDB_NEXT_MEMBER: return AsResult(NextMemberService(p));
    case WM_CADDB_APPEND_FGROUP: return AsResult(AppendFgroupService(p));
    case WM_CADDB_MAKE_GROUP: return AsResult(MakeGroupFromMark(p));
    case WM_CADDB_ADD_MEMBER: return AddMarkToGroup(p);
    case WM_CADDB_REPLACE_GROUP: return ExplodeGroupInstance(p);
    case WM_CADDB_COPY_MEMBERS: return ExplodeComposite(p);
    case WM_CAD_OPEN_DRAWING: return p ? OpenDrawingByName(p->text) : 0;
    case WM_CAD_CLOSE_DRAWING: return p ? CloseDrawingByName(p->text) : 0;
    case WM_CAD_CLEAR_KEEP_CMD_ON_CLOSE: SetKeepCommandOnClose(0); return 1;
    default: handled = false; return 0;
    }
}

LRESULT MessageOfMarksAndUndo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    CmdParamRecord* p = Param(lParam);
    switch (uMsg) {
    case WM_CADDB_UNDO_BEGIN: return BeginUndoStep();
    case WM_CADDB_UNDO: return UndoLastStep();
    case WM_CADDB_REDO: return RedoLastStep();
    case WM_CADDB_UNDO_CLEAR: return ClearUndo(Ptr<void>(lParam));
    case WM_CADDB_CREATE_MARK: return AsResult(CadCreateMark(Ptr<void>(lParam)));
    case WM_CADDB_DESTROY_MARK: return CadDestroyMark(Ptr<void>(lParam));
    case WM_CADDB_SET_MARK: return p ? CadSetMark(VoidOf(p->value1), VoidOf(p->value2)) : 0;
    case WM_CADDB_DEL_MARK: return p ? CadRemoveFromMark(VoidOf(p->value1), VoidOf(p->value2)) : 0;
    case WM_CADDB_NEXT_MARK: return p ? AsResult(CadGetNextMark(VoidOf(p->value1), VoidOf(p->value2))) : 0;
    case WM_CADDB_NEXT_MARK_EXT: return p ? AsResult(CadGetNextMarkMember(VoidOf(p->value1), VoidOf(p->value2))) : 0;
    case WM_CADDB_CHECK_MARK: return p ? CadCheckMark(VoidOf(p->record), VoidOf(p->element)) : 0;
    case WM_CADDB_MARK_COUNT: return CadGetMarkCount(Ptr<void>(lParam));
    case WM_CADDB_SET_SEARCH: return SetSearchSettings(static_cast<int>(wParam), lParam);
    case WM_CADDB_GET_SEARCH: return GetSearchSettings(static_cast<int>(wParam), Ptr<void>(lParam));
    case WM_CAD_SET_GROUP_SEARCH: ZUriSerchSetGrpFind(static_cast<int>(lParam)); return 0;
    case WM_CADDB_GET_FRAME_ELEMENT: {
        static SearchBox condition;
        const SearchBox* given = Ptr<const SearchBox>(lParam);
        if (given != nullptr) {
            if (IsBadReadMemory(given, sizeof *given)) return 0;
            condition = *given;
        }
        return AsResult(FindFrameElement(given != nullptr ? &condition : nullptr));
    }
    default: handled = false; return 0;
    }
}

LRESULT MessageOfLinksAndPlacement(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    CmdParamRecord* p = Param(lParam);
    switch (uMsg) {
    case WM_CAD_LINK_SET: return SetLinkEntry(p);
    case WM_CAD_LINK_GET: return GetLinkEntry(p);
    case WM_CAD_LINK_ENTRY_COUNT: return GetLinkEntryCount(p);
    case WM_CAD_LINK_UPDATE: return UpdateLinkEntry(p);
    case WM_CAD_LINK_REMOVE: return RemoveLink(p);
    case WM_CADDB_LINK_SEARCH: return AsResult(SearchLinks(p));
    case WM_CAD_ELEMENT_EXTENT:
        return p ? GetElementExtent(p->view, VoidOf(p->value1), VoidOf(p->element), Ptr<SearchBox>(p->record)) : 0;
    case WM_CAD_TEMP_DB: return TempDbOperation(wParam, p);
    case WM_CAD_GET_TEMP_DB: return AsResult(GetTempDb());
    case WM_CADDB_SET_PLACEMENT:
        return SetPlacementTransform(static_cast<int>(wParam), Ptr<const PlacementTransformRecord>(lParam));
    case WM_CADDB_APPEND: return AsResult(AppendMarkPlaced(Ptr<void>(lParam), -1));
    case WM_CADDB_CHANGE: return AsResult(ChangeMarkPlaced(static_cast<int>(wParam), Ptr<void>(lParam), -1));
    case WM_CADDB_APPEND_EX:
    case WM_CADDB_CHANGE_EX: {
        const bool change = uMsg == WM_CADDB_CHANGE_EX;
        if (p == nullptr || wParam > 1) return 0;
        void* mark = VoidOf(p->transform);
        const int layer = static_cast<int>(p->value1);
        if (wParam == 0) return AsResult(change ? ChangeMarkPlaced(0, mark, layer) : AppendMarkPlaced(mark, layer));
        const int page = static_cast<int>(p->value2), value = static_cast<int>(p->value3);
        return AsResult(change ? ChangeElementsOnPage(0, mark, layer, page, value)
                               : AppendElementsToPage(0, mark, layer, page, value));
    }
    case WM_CADDB_MEM_CHANGE: return TransformMarkedElements(VoidOf(wParam), Ptr<void>(lParam), -1);
    case WM_CADDB_APPEND_MEMBERS: {
        ZUriFastAccessOn();
        void* head = MakeCompositeFromMark(p, kElementGroup, 0);
        ZUriFastAccessOff();
        return AsResult(head);
    }
    default: handled = false; return 0;
    }
}

}  // namespace

LRESULT CCadSysCmdElement::Answer(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    handled = true;
    LRESULT result = MessageOfElements(uMsg, wParam, lParam, handled);
    if (handled) return result;
    handled = true;
    result = MessageOfMarksAndUndo(uMsg, wParam, lParam, handled);
    if (handled) return result;
    handled = true;
    return MessageOfLinksAndPlacement(uMsg, wParam, lParam, handled);
}

BOOL CCadSysCmdElement::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                             DWORD mapId)
{
    if (mapId != 0) return FALSE;
    bool handled = false;
    const LRESULT result = Answer(uMsg, wParam, lParam, handled);
    if (handled) lResult = result;
    return handled ? TRUE : FALSE;
}

void InstallElementMessages(CCadSysCmd& services)
{
    static CCadSysCmdElement family;
    services.SetFamily(CCadSysCmd::kElementMember, &family);
}
