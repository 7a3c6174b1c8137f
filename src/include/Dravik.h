// Calls of the host library Dravik (the engine's command and environment library).
// Exported by name (src/Engine/Dravik/Dravik.spec), stdcall.
//
// Calls that must reach the program's windows or views (the drawing calls below) answer
// "not done" (0 or null) until the program answers the host messages they turn into.
#pragma once

#include <windows.h>

#include "HostParamBlock.h"

#define DRAVIK_API extern "C"

// ---- Set-up and data ----------------------------------------------------------------------

// Remembers the address of the program's settings record for the whole run.
DRAVIK_API void WINAPI Dader_SetTheConfigDataPtr(void* configData);
// The main frame window, to which the library sends its host messages.
DRAVIK_API void WINAPI Dader_InitCadApi(HWND mainFrame);
// Low-resolution command panel flag (1 = the panels use their compact layout).
DRAVIK_API void WINAPI Dader_SetCmdPanelType(int lowResolution);

// Data folder kinds of Dader_GetDataPath.
enum DataPathKind {
    kDataPathBase = 0,         // the base folder itself
    kDataPathCfg = 1,          // "CFG"
    kDataPathOptionMenu = 2,   // "SETTEI\OptionMenu"
    kDataPathHanyouC = 3,      // "HANYOUC"
    kDataPathKentikuC = 4,     // "KENTIKUC"
    kDataPathDenkiC = 5,       // "DENKIC"
    kDataPathKikaiC = 6,       // "KIKAIC"
    kDataPathSettei = 7,       // "SETTEI"
    kDataPathKentikuD = 8,     // "KENTIKUD"
    kDataPathHatch = 9,        // "KENTIKUD\HATCH"
    kDataPathDenkiD = 10,      // "DENKID"
    kDataPathKikaiD = 11,      // "KIKAID"
    kDataPathPrint = 12,       // "PRINT"
    kDataPathTemp = 13,        // "TEMP"
};

// Path of a data folder (and of a file in it) of the given kind, into out (MAX_PATH bytes).
// Without withProgramFolder the path is relative to the program folder ("SETTEI\name");
// with it, the program folder and '\' come first. Works before any other call.
// Returns 0, or -1 with an empty out for an unknown kind, a null out or a path too long.
DRAVIK_API int WINAPI Dader_GetDataPath(int kind, char* out, const char* fileName,
                                        int withProgramFolder);

// Product name used for the per-user settings folder ("VoltraneV8" until changed).
DRAVIK_API void WINAPI QmCadApi_SetAppProductName(const char* name);

// Colour sets of the library's dialogs: index -1 takes ten COLORREF values (dialog
// background, panel background, five control backgrounds, three text colours); index 0..3
// takes three (face, text, disabled text) for the button kind. Returns 1, 0 when refused.
DRAVIK_API int WINAPI QmCadApi_SetColor(int index, const COLORREF* values);

// Private-profile reads and writes with the path macros "%USER_LOCAL_APPDATA%" (the per-user
// settings folder) and "%EXE_DIR%" (the program folder) expanded; both expand to a folder
// ending in '\'. Results as GetPrivateProfileStringA / WritePrivateProfileStringA. A write
// creates the missing folders of the file first.
DRAVIK_API DWORD WINAPI QmCadApi_GetPrivateProfileString(const char* section, const char* key,
                                                         const char* defaultText, char* out,
                                                         DWORD outSize, const char* fileName);
DRAVIK_API BOOL WINAPI QmCadApi_WritePrivateProfileString(const char* section, const char* key,
                                                          const char* value, const char* fileName);

// ---- Commands -----------------------------------------------------------------------------

// Registers the owner window and parameter block of the command about to run. The library
// may later abandon the command by a long jump to the block's jump buffer. Returns 1, 0 for
// a null block.
DRAVIK_API int WINAPI VySetPara2(HWND owner, HostParamBlock* block);
// Runs a command's dialog template modally. ownerOrContext is the owner window when it is
// one (else the main frame owns the dialog); it is passed to the procedure as the init
// parameter. The dialog's end code, -1 when it could not be shown.
DRAVIK_API INT_PTR WINAPI CwGetCmdDialog(HINSTANCE module, int templateId, void* ownerOrContext,
                                         DLGPROC procedure);
// Enables (1) or disables (0) the library's current modeless window; the previous state
// (1 enabled, 0 disabled or no such window).
DRAVIK_API int WINAPI CwEnableCurModelessWindow(int enable);
// The host's message line (an empty text clears it). 1 shown, 0 not done.
DRAVIK_API int WINAPI VyDSP_MSG(const char* text);
// Length and angle tolerances. 1 with out filled, 0 for a null out.
DRAVIK_API int WINAPI VyGetEPS(double* out);
DRAVIK_API int WINAPI VyGetEPSANGLE(double* out);

// ---- Drawings (reach the program's windows) ----------------------------------------------

DRAVIK_API void* WINAPI VyGET_NOWDB(void);                 // current database or null
DRAVIK_API short WINAPI VyGetCurrentPage(void);             // current page number
DRAVIK_API int WINAPI VyGetSpace(void);                     // current space
DRAVIK_API HWND WINAPI VyGetActiveCadWnd(void);             // active drawing window or null
DRAVIK_API void* WINAPI VyMAKE_DB(void);                    // new drawing window's database or null
DRAVIK_API int WINAPI VyINIT_DB(void* database);
DRAVIK_API int WINAPI VyGET_DB_HEAD(void* header);
DRAVIK_API int WINAPI VySET_DB_HEAD(const void* header);
DRAVIK_API int WINAPI VySTOP_UNDO(void);
DRAVIK_API int WINAPI VySTART_UNDO(void);
DRAVIK_API int WINAPI VySetZumenFg(int flag);
DRAVIK_API int WINAPI VyUNLOCK_DB(void);
DRAVIK_API int WINAPI VyCmdParaSave(void);
DRAVIK_API int WINAPI VyCHG_GCHKOFF(void);
DRAVIK_API int WINAPI VyCHG_ELEMENT(void* element, int mode, const void* record);
DRAVIK_API int WINAPI VyGET_ELEMENT(void* element, int mode, void* record);
DRAVIK_API int WINAPI VyGET_HILIGHT_COLOR(void);
DRAVIK_API int WINAPI VyLAYER_CHK(WORD* layerMask64);
DRAVIK_API int WINAPI VyGetDrawColor(int* colors257);
DRAVIK_API int WINAPI VyGET_SYS_ATR(void* attributes339);
DRAVIK_API int WINAPI VySET_SYS_ATR(const void* attributes339);
DRAVIK_API int WINAPI VyLayerSplit(int flag);
DRAVIK_API int WINAPI Dader_PnlSetPaperSelect(void);

// ---- Dialog painting ----------------------------------------------------------------------

// WM_ERASEBKGND of a dialog in the library's colours; returns 1 (erased).
DRAVIK_API LRESULT WINAPI Dader_OnEraseBkgnd(HWND window, HDC dc);
// WM_CTLCOLORBTN (kind 3) and WM_CTLCOLORSTATIC (kind 6): the brush (owned by the library).
DRAVIK_API HBRUSH WINAPI Dader_OnCtlColor(HWND window, HDC dc, HWND control, int kind);
// WM_DRAWITEM of an owner-drawn button of a dialog; 1 when painted.
DRAVIK_API int WINAPI Dader_OnDrawItem(HWND window, const DRAWITEMSTRUCT* item);
// Makes the button id of the dialog (or the button window itself) owner-drawn; 1 done.
DRAVIK_API int WINAPI Dader_ChgBtnStyleOwnerDraw(HWND dialog, int controlId);
// Control id of a WM_COMMAND's wParam.
DRAVIK_API int WINAPI Dader_wParamToCtrlID(WPARAM wParam);
// Background colour of the library's panels.
DRAVIK_API COLORREF WINAPI Dader_GetPanelColor(void);
// Paints the OK button (button kind 0) / a button of the given kind 0..3; 1 when painted.
DRAVIK_API int WINAPI Dader_ColorBtn_DrawItem_OkBtn(const DRAWITEMSTRUCT* item);
DRAVIK_API int WINAPI Dader_ColorBtn_DrawItem_Btn(const DRAWITEMSTRUCT* item, int kind);
// Paints an owner-drawn colour push button from its draw-item record.
DRAVIK_API void WINAPI QmCadApi_ColorBtn_DrawItem(const DRAWITEMSTRUCT* item, COLORREF background,
                                                  COLORREF text, COLORREF disabledText);
