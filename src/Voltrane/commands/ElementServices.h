// The services through which plug-in commands (and a few parts of the program) read, add,
// change and delete single elements of a drawing, tag them, highlight them, build and break up
// groups and open or close drawings by file name. Every changing service guards the pages of
// the drawing with the page edit check, marks the drawing modified and asks the auxiliary views
// to repaint.
#pragma once

#include <windows.h>

#include "EngineRecords.h"
#include "HostRecords.h"

// Switches of the element services that live for the whole process (those reset by the
// dispatcher after each command are in CommandRunState).
struct ElementServiceState {
    int keepFields = 0;          // 1: appended and changed records are stored as given
    void* ffTagData = nullptr;   // the FF tag data of WM_CADDB_FF_TAG
    int appendMode = 0;          // 1 during the append services of the placement copy
    int eventSwitch = 0;         // the drawing event commands run their closing form
};
ElementServiceState& GetElementServiceState();

// The auxiliary views (layout, loupe) rebuild their picture at the frame's next timer tick.
void RequestAuxViewRefresh();

// 1 when elements of the page may be edited in the database (null: the active drawing's), else
// 0 after telling the user why: a page outside 0-511 every time, a reference page once per
// command.
int CheckPageEditable(int page, void* database = nullptr);

// Puts the element into the drawing plane: its z values 0 and its normal (0, 0, 1).
void FlattenElementRecord(ElementRecord& record);

// kind 2: the error sound; other kinds the default sound.
void PlayAlertSound(int kind);

// The database of the view at P+36 (null: none).
void* ParamViewDatabase(const CmdParamRecord& param);

// Element services (the messages' answers).
LRESULT ReadElementService(CmdParamRecord* param);
void* AddElementToActiveDrawing(const ElementRecord* record);
void* AppendElementService(CmdParamRecord* param);
LRESULT ChangeElementService(CmdParamRecord* param);
// switches bit 0: the element is already erased from the views.
LRESULT DeleteElementChecked(int switches, CmdParamRecord* param);
int DeleteMarkedElements(void* mark);
void DeleteElementWithUndo(void* element, INT_PTR value, int startStep);

// Highlights of single elements; view may be null (then the active view's database is marked).
int HighlightElement(HWND view, void* element);
int SetElementHighlight(HWND view, void* element, uint32_t flags, int colour);
int GetElementHighlight(void* element, uint32_t* flags, int* colour);
int ClearElementHighlight(HWND view, void* element);
int ClearAllHighlights(void* database);
// Applies a highlight change to the members of a composite head, counting nested composites'
// own members; withOther70: type 70 counts as a composite too.
template <typename Change>
void ForEachCompositeMember(EngineNode* head, bool withOther70, Change change);

// Groups and composites.
void* GroupHeaderService(CmdParamRecord* param);
void* FirstMemberService(CmdParamRecord* param);
void* NextMemberService(CmdParamRecord* param);
void* AppendFgroupService(CmdParamRecord* param);
void* MakeGroupFromMark(CmdParamRecord* param);
int AddMarkToGroup(CmdParamRecord* param);
int ExplodeGroupInstance(CmdParamRecord* param);
int ExplodeComposite(CmdParamRecord* param);
void* CopyGroupToDb(void* sourceDb, void* targetDb, void* head);

// Drawing event commands: kind 0 the drawing's event command (6200, or 6201 while closing),
// 1 clears the save option of the drawing's views (block: a view's drawing block), 3 the close
// command 6202 when the catalogue has one, 4 command 6203 with the main window on top.
LRESULT RunDrawingEventCommand(void* block, int kind);

// Drawings by file name.
int OpenDrawingByName(const char* name);
int CloseDrawingByName(const char* name);

// ---- template definitions ----

inline bool IsHighlightComposite(int type, bool withOther70)
{
    return type == kElementGroup || type == kElementComposite || (withOther70 && type == kElementCompositeOther);
}

template <typename Change>
void ForEachCompositeMember(EngineNode* head, bool withOther70, Change change)
{
    if (head == nullptr) return;
    long long remaining = head->memberCount;
    for (EngineNode* member = head->nextMember; member != nullptr && remaining > 0; member = member->nextMember) {
        change(member);
        --remaining;
        if (IsHighlightComposite(member->record.type, withOther70)) remaining += member->memberCount;
    }
}
