// Calls of plug-ins that act on the program's drawing windows and views. Each turns into a
// host message to the main frame; until the program answers those messages they report
// "not done" (0 or null) and change nothing.
#include "Dravik.h"
#include "HostMessages.h"
#include "HostState.h"

DRAVIK_API void* WINAPI VyGET_NOWDB(void) { return nullptr; }
DRAVIK_API short WINAPI VyGetCurrentPage(void) { return 0; }
DRAVIK_API int WINAPI VyGetSpace(void) { return 0; }
DRAVIK_API HWND WINAPI VyGetActiveCadWnd(void) { return nullptr; }
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
