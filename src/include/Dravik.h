// Calls of the host library Dravik (the engine's command and environment library).
// Exported by name (src/Engine/Dravik/Dravik.spec), stdcall.
#pragma once

#include <windows.h>

#define DRAVIK_API extern "C"

DRAVIK_API void WINAPI Dader_SetTheConfigDataPtr(void* configData);
DRAVIK_API void WINAPI Dader_InitCadApi(HWND mainFrame);

// Paints an owner-drawn colour push button from its draw-item record.
DRAVIK_API void WINAPI QmCadApi_ColorBtn_DrawItem(const DRAWITEMSTRUCT* item, COLORREF background,
                                                  COLORREF text, COLORREF disabledText);
