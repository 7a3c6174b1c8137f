// Calls of plug-ins that act on the program's drawing windows and views. Each turns into a
// host message to the main frame or reads the active view's drawing block; those whose
// messages the program does not answer yet report "not done" (0 or null) and change nothing.
#include "Dravik.h"
#include "HostMessages.h"
#include "HostState.h"

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"
#include "HostMessages.h"
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
DRAVIK_API void* WINAPI VyMAKE_DB(void) { return nullptr; }
DRAVIK_API int WINAPI VyINIT_DB(void*) { return 0; }
DRAVIK_API int WINAPI VyGET_DB_HEAD(void*) { return 0; }
DRAVIK_API int WINAPI VySET_DB_HEAD(const void*) { return 0; }
DRAVIK_API int WINAPI VySTOP_UNDO(void) { return 0; }
DRAVIK_API int WINAPI VySTART_UNDO(void) { return 0; }
DRAVIK_API int WINAPI VySetZumenFg(int) { return 0; }
DRAVIK_API int WINAPI VyUNLOCK_DB(void) { return 0; }
DRAVIK_API int WINAPI VyCmdParaSave(void) { return 0; }
DRAVIK_API int WINAPI VyCHG_GCHKOFF(void) { return 0; }
DRAVIK_API int WINAPI VyCHG_ELEMENT(void*, int, const void*) { return 0; }
DRAVIK_API int WINAPI VyGET_ELEMENT(void*, int, void*) { return 0; }
DRAVIK_API int WINAPI VyGET_HILIGHT_COLOR(void) { return 0; }
DRAVIK_API int WINAPI VyLAYER_CHK(WORD*) { return 0; }
DRAVIK_API int WINAPI VyGetDrawColor(int*) { return 0; }
DRAVIK_API int WINAPI VyGET_SYS_ATR(void*) { return 0; }
DRAVIK_API int WINAPI VySET_SYS_ATR(const void*) { return 0; }
DRAVIK_API int WINAPI VyLayerSplit(int) { return 0; }

// The message line is the main frame's status bar prompt.
DRAVIK_API int WINAPI VyDSP_MSG(const char* text)
{
    HWND frame = HostState::Instance().MainFrame();
    if (frame == nullptr || !IsWindow(frame)) return 0;
    SendMessageA(frame, WM_CAD_SET_MESSAGE, 0, reinterpret_cast<LPARAM>(text ? text : ""));
    return 1;
}
DRAVIK_API int WINAPI Dader_PnlSetPaperSelect(void) { return 0; }
