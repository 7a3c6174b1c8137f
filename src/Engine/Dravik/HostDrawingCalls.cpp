// Calls of plug-ins that act on the program's drawing windows and views. Each turns into one
// host message to the main frame of Dader_InitCadApi (none: 0) or reads the active view's
// drawing block.
#include "Dravik.h"
#include "DrawingWindowRecords.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "HostRecords.h"
#include "HostState.h"

namespace {

// The drawing block of the program's active view, or null (window long 0 = 0: a closing view).
PDBINFO* ActiveBlock()
{
    HWND view = VyGetActiveCadWnd();
    return view != nullptr ? reinterpret_cast<PDBINFO*>(GetWindowLongPtrA(view, 0)) : nullptr;
}

}  // namespace

DRAVIK_API HWND WINAPI VyGetActiveCadWnd(void)
{
    HWND main = HostState::Instance().MainFrame();
    if (main == nullptr || !IsWindow(main)) return nullptr;
    HWND view = reinterpret_cast<HWND>(SendMessageA(main, WM_CAD_ACTIVE_VIEW, 0, 0));
    return view != nullptr && IsWindow(view) ? view : nullptr;
}

DRAVIK_API void* WINAPI VyGET_NOWDB(void)
{
    PDBINFO* block = ActiveBlock();
    return block != nullptr ? block->engineDb : nullptr;
}

DRAVIK_API short WINAPI VyGetCurrentPage(void)
{
    auto* record = static_cast<EngineDbRecord*>(VyGET_NOWDB());
    return record != nullptr ? static_cast<short>(record->pageState.currentPage) : 0;
}

DRAVIK_API int WINAPI VyGetSpace(void)
{
    PDBINFO* block = ActiveBlock();
    return block != nullptr && block->viewMode == 1 ? 1 : 0;
}
namespace {

// One host message to the main frame of the host library; 0 without a frame.
LRESULT SendToFrame(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND main = HostState::Instance().MainFrame();
    if (main == nullptr || !IsWindow(main)) return 0;
    return SendMessageA(main, message, wParam, lParam);
}

template <class T>
LPARAM Address(T* pointer)
{
    return reinterpret_cast<LPARAM>(pointer);
}

// An element read or change on the active view: view at +36, element at +40, switch at +44,
// the element record at +108.
int ElementOnActiveView(UINT message, void* element, int mode, const void* record)
{
    if (record == nullptr) return 0;
    CmdParamRecord p = {};
    p.view = VyGetActiveCadWnd();
    if (p.view == nullptr) return 0;
    p.element = reinterpret_cast<INT_PTR>(element);
    p.record = mode;
    p.value1 = reinterpret_cast<INT_PTR>(record);
    return static_cast<int>(SendToFrame(message, 0, Address(&p)));
}

// The calls whose effect the program does not define: they succeed on a drawing and change
// nothing.
int AcceptedOnActiveDrawing() { return VyGET_NOWDB() != nullptr ? 1 : 0; }

}  // namespace

DRAVIK_API void* WINAPI VyMAKE_DB(void)
{
    return reinterpret_cast<void*>(SendToFrame(WM_CADDB_NEW_WINDOW_DB, 0, 0));
}
DRAVIK_API int WINAPI VyINIT_DB(void* database) { return database != nullptr ? 1 : 0; }
DRAVIK_API int WINAPI VyGET_DB_HEAD(void* header)
{
    return header != nullptr ? static_cast<int>(SendToFrame(WM_CADDB_GET_DB_INFO, 0, Address(header))) : 0;
}
DRAVIK_API int WINAPI VySET_DB_HEAD(const void* header)
{
    return header != nullptr ? static_cast<int>(SendToFrame(WM_CADDB_SET_DB_INFO, 0, Address(header))) : 0;
}
DRAVIK_API int WINAPI VySTOP_UNDO(void) { return static_cast<int>(SendToFrame(WM_CAD_BEGIN_BATCH_EDIT, 0, 0)); }
DRAVIK_API int WINAPI VySTART_UNDO(void) { return static_cast<int>(SendToFrame(WM_CAD_END_BATCH_EDIT, 0, 0)); }
DRAVIK_API int WINAPI VySetZumenFg(int) { return AcceptedOnActiveDrawing(); }
DRAVIK_API int WINAPI VyUNLOCK_DB(void) { return static_cast<int>(SendToFrame(WM_CADDB_RELEASE_VIEW, 0, 0)); }
DRAVIK_API int WINAPI VyCmdParaSave(void) { return AcceptedOnActiveDrawing(); }
DRAVIK_API int WINAPI VyCHG_GCHKOFF(void) { return AcceptedOnActiveDrawing(); }
DRAVIK_API int WINAPI VyCHG_ELEMENT(void* element, int mode, const void* record)
{
    return ElementOnActiveView(WM_CADDB_CHANGE_ELEMENT, element, mode, record);
}
DRAVIK_API int WINAPI VyGET_ELEMENT(void* element, int mode, void* record)
{
    return ElementOnActiveView(WM_CADDB_READ_ELEMENT, element, mode, record);
}
DRAVIK_API int WINAPI VyGET_HILIGHT_COLOR(void) { return static_cast<int>(SendToFrame(WM_CADDB_HIGHLIGHT_COLOR, 1, 0)); }
DRAVIK_API int WINAPI VyLAYER_CHK(WORD* layerMask64)
{
    return layerMask64 != nullptr ? static_cast<int>(SendToFrame(WM_CADDB_SET_LAYER_TABLE, 0, Address(layerMask64))) : 0;
}
DRAVIK_API int WINAPI VyGetDrawColor(int* colors257)
{
    return colors257 != nullptr ? static_cast<int>(SendToFrame(WM_CAD_GET_COLOR_TABLE, 1, Address(colors257))) : 0;
}
DRAVIK_API int WINAPI VyGET_SYS_ATR(void* attributes339)
{
    return attributes339 != nullptr ? static_cast<int>(SendToFrame(WM_CAD_GET_VIEW_SETTINGS, 0, Address(attributes339))) : 0;
}
DRAVIK_API int WINAPI VySET_SYS_ATR(const void* attributes339)
{
    return attributes339 != nullptr ? static_cast<int>(SendToFrame(WM_CAD_SET_VIEW_SETTINGS, 0, Address(attributes339))) : 0;
}
DRAVIK_API int WINAPI VyLayerSplit(int) { return AcceptedOnActiveDrawing(); }

// The message line is the main frame's status bar prompt.
DRAVIK_API int WINAPI VyDSP_MSG(const char* text)
{
    HWND frame = HostState::Instance().MainFrame();
    if (frame == nullptr || !IsWindow(frame)) return 0;
    SendMessageA(frame, WM_CAD_SET_MESSAGE, 0, reinterpret_cast<LPARAM>(text ? text : ""));
    return 1;
}
DRAVIK_API int WINAPI Dader_PnlSetPaperSelect(void) { return AcceptedOnActiveDrawing(); }
