#include "view/ViewTable.h"

#include <cstdio>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "core/Dbcs.h"
#include "core/SystemLog.h"
#include "mainframe/MainFrame.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"

namespace {

HWND g_views[kViewTableSize] = {};
int g_lockFlag = 0;
HWND g_lockedView = nullptr;
int g_drawingIdCounter = 0;

struct SavePromptEntry {
    int inUse;
    int drawingId;
    char fileName[257];
};
SavePromptEntry g_savePrompts[kViewTableSize] = {};

bool SameText(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

}  // namespace

// ---- the table ----

void ClearViewTable()
{
    for (HWND& slot : g_views) slot = nullptr;
}

int AddViewToTable(HWND view)
{
    for (HWND& slot : g_views) {
        if (slot == nullptr) {
            slot = view;
            return 1;
        }
    }
    return 0;
}

int IsViewTableFull() { return CountTableViews() >= kViewTableSize; }

int FindViewSlot(HWND view)
{
    if (view == nullptr) return -1;
    for (int i = 0; i < kViewTableSize; ++i) {
        if (g_views[i] == view) return i;
    }
    return -1;
}

HWND GetViewInSlot(int slot) { return slot >= 0 && slot < kViewTableSize ? g_views[slot] : nullptr; }

int CountTableViews()
{
    int count = 0;
    for (HWND slot : g_views) count += slot != nullptr;
    return count;
}

PDBINFO* GetOwnViewBlock(HWND view)
{
    if (view == nullptr || !IsWindow(view)) return nullptr;
    return reinterpret_cast<PDBINFO*>(GetWindowLongPtrA(view, 0));
}

PDBINFO* GetViewBlock(HWND view)
{
    if (FindViewSlot(view) < 0) return nullptr;
    return GetOwnViewBlock(view);
}

int ChooseActiveViewSlot(const HWND* slots, int count, HWND answered)
{
    int candidate = -1;
    for (int i = 0; i < count; ++i) {
        if (slots[i] == nullptr) continue;
        if (answered != nullptr && slots[i] == answered) return i;
        if (candidate < 0) candidate = i;
    }
    return candidate;
}

HWND GetActiveView()
{
    HWND client = GetMdiClientWnd();
    if (client == nullptr || !IsWindow(client)) return nullptr;
    HWND child = reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
    HWND answered = child ? reinterpret_cast<HWND>(SendMessageA(child, WM_CAD_FRAME_VIEW, 0, 0)) : nullptr;
    int slot = ChooseActiveViewSlot(g_views, kViewTableSize, answered);
    if (slot < 0) return nullptr;
    HWND result = g_views[slot];
    if (!IsWindow(result)) return nullptr;
    g_views[slot] = g_views[0];
    g_views[0] = result;
    return result;
}

// Every walk over the views starts at the active view (which the lookup moves to slot 0);
// without an MDI client to ask, at slot 0.
HWND WalkStart()
{
    HWND active = GetActiveView();
    return active != nullptr ? active : g_views[0];
}

HWND GetNextView(HWND view)
{
    int slot = FindViewSlot(view);
    if (slot < 0) return nullptr;
    for (int i = slot + 1; i < kViewTableSize; ++i) {
        if (g_views[i] != nullptr) return g_views[i];
    }
    return nullptr;
}

void* GetViewDb(HWND view)
{
    PDBINFO* block = GetViewBlock(view);
    return block ? block->engineDb : nullptr;
}

void* GetActiveDb() { return GetViewDb(GetActiveView()); }

HWND ActivateView(HWND view)
{
    HWND before = GetActiveView();
    HWND client = GetMdiClientWnd();
    HWND frame = view && IsWindow(view) ? GetParent(view) : nullptr;
    if (client != nullptr && frame != nullptr) SendMessageA(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(frame), 0);
    return before;
}

HWND FindViewByDb(void* db)
{
    for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block == nullptr) return nullptr;
        if (block->engineDb == db) return v;
    }
    return nullptr;
}

int CountDrawingViews(HWND view)
{
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr) return 0;
    int count = 0;
    for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block != nullptr && block->drawingId == own->drawingId) ++count;
    }
    return count;
}

HWND FindViewByFileName(const char* fileName, HWND view)
{
    HWND best = nullptr;
    int bestNumber = 0;
    if (fileName != nullptr && fileName[0] != '\0') {
        for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
            PDBINFO* block = GetViewBlock(v);
            if (block == nullptr || !SameText(block->fileName, fileName)) continue;
            if (best == nullptr || block->viewNumber > bestNumber) best = v, bestNumber = block->viewNumber;
        }
        return best;
    }
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr) return nullptr;
    for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block == nullptr) break;
        if (block->drawingId != own->drawingId) continue;
        if (best == nullptr || block->viewNumber > bestNumber) best = v, bestNumber = block->viewNumber;
    }
    return best;
}

void InvalidateDrawingViews(HWND view)
{
    if (PDBINFO* own = GetViewBlock(view)) {
        for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
            PDBINFO* block = GetViewBlock(v);
            if (block == nullptr) break;
            if (block->drawingId == own->drawingId) InvalidateRect(v, nullptr, TRUE);
        }
    }
    if (view != nullptr && IsWindow(view)) InvalidateRect(view, nullptr, TRUE);
}

void InvalidateAllViews()
{
    for (HWND v : g_views) {
        if (v != nullptr && IsWindow(v)) InvalidateRect(v, nullptr, FALSE);
    }
}

int SetDrawingModified(HWND view)
{
    if (view == nullptr) view = GetActiveView();
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr) return 0;
    for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block != nullptr && block->drawingId == own->drawingId) block->modified = 1;
    }
    own->modified = 1;
    return 1;
}

int ClearDrawingModified()
{
    HWND active = GetActiveView();
    PDBINFO* own = GetViewBlock(active);
    if (own == nullptr) return 1;
    for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block == nullptr) return 1;
        if (block->drawingId == own->drawingId) block->modified = 0;
    }
    own->modified = 0;
    WriteSystemLogText(2, "Undo clear", "");
    return 1;
}

int SetDrawingFileName(HWND view, const char* name)
{
    if (view == nullptr) view = GetActiveView();
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr) return 0;
    const int drawing = own->drawingId;
    for (int i = FindViewSlot(view); i >= 0 && i < kViewTableSize; ++i) {
        PDBINFO* block = GetViewBlock(g_views[i]);
        if (block == nullptr || block->drawingId != drawing) continue;
        DbcsCopy(block->fileName, sizeof block->fileName, name ? name : "");
        UpdateViewTitle(g_views[i], block->engineDb, block->severalViews == 1 ? block->viewNumber : 0);
    }
    return 1;
}

long GetViewElementCount(HWND view)
{
    if (view == nullptr) view = GetActiveView();
    void* db = GetViewDb(view);
    if (db == nullptr) return 0;
    int count = ZUriGetElmNum(db);
    return count > 0 ? count : 0;
}

void RefreshDrawingViews(HWND view)
{
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr) return;
    SetDrawingModified(view);
    if (CountDrawingViews(view) > 1) {
        for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
            PDBINFO* block = GetViewBlock(v);
            if (block != nullptr && block->drawingId == own->drawingId) {
                UpdateViewTitle(v, block->engineDb, block->viewNumber);
            }
        }
    } else {
        UpdateViewTitle(view, own->engineDb, 0);
    }
    own->untitledNumber = 0;
    FitViewToPaper();
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
}

void CloseUntouchedViews()
{
    for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block == nullptr) break;
        if (block->fileName[0] != '\0' || block->modified != 0) continue;
        if (block->engineDb == nullptr || ZUriGetElmNum(block->engineDb) <= 0) {
            PostMessageA(GetParent(v), WM_CLOSE, 0, 0);
        }
    }
}

void CenterViewScrollBars(HWND view)
{
    if (GetViewBlock(view) == nullptr && GetOwnViewBlock(view) == nullptr) return;
    SetScrollPos(view, SB_HORZ, 50, TRUE);
    SetScrollPos(view, SB_VERT, 50, TRUE);
}

int HasAttachedDb(HWND view, void* db)
{
    void* record = view != nullptr ? GetViewDb(view) : db;
    if (record == nullptr) return 0;
    auto* attachment = static_cast<RasterAttachment*>(static_cast<EngineDbRecord*>(record)->rasterAttachment);
    return attachment != nullptr && attachment->attachedDb != nullptr ? 1 : 0;
}

void* ReadAttachedDbElement(HWND view, void* element, int mode, void* out)
{
    void* record = GetViewDb(view);
    if (record == nullptr) return nullptr;
    auto* attachment = static_cast<RasterAttachment*>(static_cast<EngineDbRecord*>(record)->rasterAttachment);
    if (attachment == nullptr || attachment->attachedDb == nullptr) return nullptr;
    return ZUriReadElement(element, mode, out, attachment->attachedDb);
}

namespace {

bool IsLayoutCell(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "SCBTN") != 0;
}

}  // namespace

HWND GetFirstLayoutCell(HWND view)
{
    if (view == nullptr) return nullptr;
    HWND child = GetWindow(view, GW_CHILD);
    while (child != nullptr && !IsLayoutCell(child)) child = GetWindow(child, GW_HWNDNEXT);
    return child;
}

HWND GetNextLayoutCell(HWND cell)
{
    if (cell == nullptr) return nullptr;
    HWND next = GetWindow(cell, GW_HWNDNEXT);
    while (next != nullptr && !IsLayoutCell(next)) next = GetWindow(next, GW_HWNDNEXT);
    return next;
}

// ---- captions ----

void FormatViewCaption(char* out, size_t size, const char* title, int number, const char* fileName,
                       int referenceMode)
{
    if (out == nullptr || size == 0) return;
    char text[1024];
    const char* name = title ? title : "";
    if (fileName != nullptr && fileName[0] != '\0') {
        if (number != 0) std::snprintf(text, sizeof text, "%s : %d -[%s]", name, number, fileName);
        else std::snprintf(text, sizeof text, "%s -[%s]", name, fileName);
    } else {
        if (number != 0) std::snprintf(text, sizeof text, "%s : %d", name, number);
        else std::snprintf(text, sizeof text, "%s", name);
    }
    if (referenceMode) DbcsAppend(text, sizeof text, " (参照)");
    DbcsCopy(out, size, text);
}

void UpdateViewTitle(HWND view, void* db, int number)
{
    PDBINFO* block = GetViewBlock(FindViewByDb(db));
    if (block == nullptr) return;
    static DbInfoRecord info;  // 4 KB: kept off the stack of the window procedures
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    info.title[sizeof info.title - 1] = '\0';
    PDBINFO* own = GetViewBlock(view);
    const PDBINFO* shown = own ? own : block;
    char caption[1024];
    FormatViewCaption(caption, sizeof caption, info.title, number, shown->fileName, shown->referenceMode);
    if (view != nullptr && IsWindow(view)) SetWindowTextA(GetParent(view), caption);
    if (HWND client = GetMdiClientWnd()) SendMessageA(client, WM_MDIREFRESHMENU, 0, 0);
}

// ---- the view lock ----

void LockActiveView()
{
    g_lockFlag = 1;
    g_lockedView = GetActiveView();
}

void UnlockView()
{
    g_lockFlag = 0;
    g_lockedView = nullptr;
}

int IsViewLocked() { return g_lockFlag; }
int IsLockedView(HWND view) { return view != nullptr && view == g_lockedView ? 1 : 0; }
HWND GetLockedView() { return g_lockedView; }

// ---- the drawing-id counter ----

int NextDrawingId() { return ++g_drawingIdCounter; }
int CurrentDrawingId() { return g_drawingIdCounter; }

// ---- closing ----

int DecideSavePrompt(const PDBINFO* block, int views, int closingAll)
{
    if (block == nullptr || block->engineDb == nullptr || block->modified == 0) return 0;
    if (!closingAll) return views > 1 ? 0 : 1;
    for (SavePromptEntry& entry : g_savePrompts) {
        if (entry.inUse != 1) {
            entry.inUse = 1;
            entry.drawingId = block->drawingId;
            DbcsCopy(entry.fileName, sizeof entry.fileName, block->fileName);
            return 1;
        }
        if (entry.drawingId == block->drawingId) return 0;
    }
    return 1;
}

int IsSavePromptNeeded(HWND view, int closingAll)
{
    return DecideSavePrompt(GetViewBlock(view), CountDrawingViews(view), closingAll);
}

void ClearSavePromptList() { std::memset(g_savePrompts, 0, sizeof g_savePrompts); }

void ReleaseDrawingView(HWND view)
{
    if (IsKeyCursorMode()) ToggleCursorMode();
    if (!IsKeepCommandOnClose()) {
        if (HWND main = GetMainFrameWnd()) SendMessageA(main, WM_CAD_CANCEL_COMMAND, 0, 0);
    }
    PDBINFO* own = GetViewBlock(view);
    if (own == nullptr) {
        WriteSystemLogText(0, "Error", "Windowデータが読み取れません");
        return;
    }
    WriteSystemLog(3, "Window Exit", "HANDLE=%ld", static_cast<long>(reinterpret_cast<LONG_PTR>(view)));
    const int views = own->severalViews == 1 ? CountDrawingViews(view) : 0;
    if (views == 2) {
        for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
            PDBINFO* block = GetViewBlock(v);
            if (block == nullptr || v == view || block->drawingId != own->drawingId) continue;
            if (!SameText(block->fileName, own->fileName)) continue;
            UpdateViewTitle(v, block->engineDb, 0);
            block->severalViews = 0;
            block->viewNumber = 1;
        }
    } else if (views > 2) {
        int number = 0;
        for (HWND v = WalkStart(); v != nullptr; v = GetNextView(v)) {
            PDBINFO* block = GetViewBlock(v);
            if (block == nullptr || v == view || block->drawingId != own->drawingId) continue;
            block->viewNumber = ++number;
            UpdateViewTitle(v, block->engineDb, number);
        }
    } else if (own->engineDb != nullptr) {
        UnlockDrawingFile(own);
    }
    SetWindowLongPtrA(view, 0, 0);
    NotifyToolPanelDrawingChanged();
    int slot = FindViewSlot(view);
    if (slot >= 0) {
        for (int i = slot; i < kViewTableSize - 1; ++i) g_views[i] = g_views[i + 1];
        g_views[kViewTableSize - 1] = nullptr;
    }
    if (g_lockedView == view) UnlockView();
    WriteSystemLogText(3, "Window Exit", "End");
}
