#include "commands/TempDatabase.h"

#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "commands/ElementServiceSite.h"
#include "commands/MarkServices.h"
#include "MemoryProbe.h"

namespace {

struct Binding {
    void* database;
    HWND window;
};

struct TempDbState {
    EngineDbRecord record{};
    int created = 0;
    HWND baseWindow = nullptr;
    std::vector<Binding> bindings;
    int bindingsPresent = 0;
    size_t cursor = 0;
    DbInfoRecord info{};
};

TempDbState& State()
{
    static TempDbState state;
    return state;
}

CElementServiceSite& Site() { return GetElementServiceSite(); }

bool Created() { return State().created == 1; }

void* AsDb() { return &State().record; }

ElementRecord* WritableRecord(void* pointer)
{
    auto* record = static_cast<ElementRecord*>(pointer);
    return record != nullptr && !IsBadWriteMemory(record, sizeof *record) ? record : nullptr;
}

// The drawing answers whether the base window really drew the elements.
int DrawAllInBase(int colour)
{
    void* mark = CadCreateMark(AsDb());
    if (mark == nullptr) return 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, AsDb()); e != nullptr; e = ZUriReadElement(e, 1, nullptr, AsDb()))
        CadSetMark(mark, e);
    const int drawn = Site().DrawMarkInView(State().baseWindow, colour, mark);
    CadDestroyMark(mark);
    return drawn;
}

int DrawOneInBase(void* element, int colour)
{
    void* mark = CadCreateMark(AsDb());
    if (mark == nullptr) return 0;
    const int drawn = CadSetMark(mark, element) ? Site().DrawMarkInView(State().baseWindow, colour, mark) : 0;
    CadDestroyMark(mark);
    return drawn;
}

LRESULT BindingOperation(WPARAM wParam, CmdParamRecord* param)
{
    void* database = reinterpret_cast<void*>(param->element);
    switch (wParam) {
    case 0: return AddTempDbBinding(database, param->view);
    case 1: return RemoveTempDbBinding(database);
    case 2: return ClearTempDbBindings();
    case 3: State().bindingsPresent = database != nullptr ? 1 : 0; return 1;
    default: return 0;
    }
}

}  // namespace

EngineDbRecord* GetTempDb() { return &State().record; }
int IsTempDbCreated() { return State().created; }
HWND TempDbBaseWindow() { return State().baseWindow; }

int CreateTempDb(HWND window)
{
    TempDbState& s = State();
    // The window is checked before anything is cleared, so a bad window leaves an existing
    // temporary database alone.
    auto* base = static_cast<EngineDbRecord*>(Site().ViewDatabase(window));
    if (window == nullptr || base == nullptr) {
        Site().WriteLog(0, "Error", "仮DB作成時に、基準ウィンドウが見つかりません");
        return 0;
    }
    DeleteTempDb();
    std::memset(&s.record, 0, sizeof s.record);
    ZUriGetDBInfo(&s.info, base);
    if (ZUriCreateDB(&s.record) == 0) {
        Site().WriteLog(0, "Error", "仮DB作成に失敗しました");
        return 0;
    }
    s.record.transformActive = base->transformActive;
    std::memcpy(&s.record.placement, &base->placement, sizeof s.record.placement);
    ZUriSetDBInfo(&s.info, &s.record);
    if (auto* block = static_cast<DbInfoBlock*>(s.record.info)) {
        // The copy must not share the base drawing's layer names.
        std::memset(block->layers.names, 0, sizeof block->layers.names);
    }
    s.baseWindow = window;
    s.created = 1;
    return 1;
}

int DeleteTempDb()
{
    TempDbState& s = State();
    if (s.created == 1) {
        ZUriDeleteDB(&s.record);
        s.created = 0;
        s.baseWindow = nullptr;
    }
    return 1;
}

int IsTempDbBaseDb(void* database)
{
    const TempDbState& s = State();
    if (s.baseWindow == nullptr || database == nullptr) return 0;
    return Site().ViewDatabase(s.baseWindow) == database ? 1 : 0;
}

int AddTempDbBinding(void* database, HWND window)
{
    State().bindings.push_back(Binding{database, window});
    State().bindingsPresent = 1;
    return static_cast<int>(State().bindings.size());
}

int RemoveTempDbBinding(void* database)
{
    TempDbState& s = State();
    if (s.bindings.empty()) return 0;
    for (auto it = s.bindings.begin(); it != s.bindings.end(); ++it) {
        if (it->database == database) {
            s.bindings.erase(it);
            break;
        }
    }
    s.bindingsPresent = s.bindings.empty() ? 0 : 1;
    s.cursor = 0;
    return static_cast<int>(s.bindings.size());
}

int ClearTempDbBindings()
{
    State().bindings.clear();
    State().bindingsPresent = 0;
    State().cursor = 0;
    return 1;
}

void* FindTempDbBindingNext(void* database)
{
    TempDbState& s = State();
    if (s.bindingsPresent == 0) return nullptr;
    for (size_t i = s.cursor; i < s.bindings.size(); ++i) {
        if (Site().ViewDatabase(s.bindings[i].window) == database) {
            s.cursor = i + 1;
            return s.bindings[i].database;
        }
    }
    s.cursor = 0;
    return nullptr;
}

void* FindTempDbBindingFirst(void* database)
{
    if (State().bindingsPresent == 0) return nullptr;
    State().cursor = 0;
    return FindTempDbBindingNext(database);
}

void OnDrawingWindowClosed(HWND window)
{
    TempDbState& s = State();
    if (window == nullptr) return;
    if (s.created == 1 && s.baseWindow == window) DeleteTempDb();
    for (auto it = s.bindings.begin(); it != s.bindings.end();) it = it->window == window ? s.bindings.erase(it) : it + 1;
    if (s.bindings.empty()) s.bindingsPresent = 0;
    s.cursor = 0;
}

void ReleaseTempDb()
{
    DeleteTempDb();
    ClearTempDbBindings();
}

LRESULT TempDbOperation(WPARAM wParam, CmdParamRecord* param)
{
    if (param == nullptr) return 0;
    const int code = param->mode;
    if (code == 100) return BindingOperation(wParam, param);
    if (code == 1) return wParam == 1 ? State().created : CreateTempDb(param->view);
    if (code == 2) return DeleteTempDb();
    // The element operations need the temporary database; without one the engine is not asked.
    if (code < 3 || code > 9 || !Created()) return 0;
    void* db = AsDb();
    const int colour = static_cast<int>(reinterpret_cast<INT_PTR>(param->second));
    switch (code) {
    case 3: {
        ElementRecord* record = WritableRecord(reinterpret_cast<void*>(param->element));
        if (record == nullptr) return 0;
        record->page = 0;
        return reinterpret_cast<LRESULT>(ZUriAppendElement(record, db));
    }
    case 4: return ZUriAllDeleteElement(db);
    case 5: return ZUriDeleteElement(reinterpret_cast<void*>(param->element), db);
    case 6:
        if (wParam == 1) return Site().DrawMarkInView(param->view, colour, reinterpret_cast<void*>(param->transform));
        return DrawAllInBase(colour);
    case 7:
        if (param->elementRecord != nullptr && IsBadWriteMemory(param->elementRecord, kElementRecordSize)) return 0;
        return reinterpret_cast<LRESULT>(ZUriReadElement(reinterpret_cast<void*>(param->element),
                                                         static_cast<int>(param->record), param->elementRecord, db));
    case 8: return DrawOneInBase(reinterpret_cast<void*>(param->element), colour);
    case 9: {
        ElementRecord* record = WritableRecord(param->elementRecord);
        if (record == nullptr) return 0;
        record->page = 0;
        return reinterpret_cast<LRESULT>(ZUriChangeElement(reinterpret_cast<void*>(param->element), record, db));
    }
    default: return 0;
    }
}
