// Every call of the plug-in into the host library Dravik goes through CallHostLibrary.
//
// The host library may abandon the running command from inside one of its calls by a long
// jump to the jump buffer of the plug-in's parameter block. CallHostLibrary arms that buffer
// in its own frame for the length of the one call, so the jump lands right there and no C++
// frame of the plug-in is jumped over; there it becomes a CommandAbandoned exception, which
// unwinds the command (destructors run, the command object is freed) up to the entry, which
// answers 0. Between calls the buffer is not armed, so the library has nowhere to jump.
//
// A C++ exception must not cross a window procedure: procedures of the plug-in's windows and
// dialogs run their bodies through GuardWindowProcedure / GuardDialogProcedure, which note the
// abandonment (a dialog is ended), and the code that ran the window's modal loop calls
// RethrowNotedAbandonment once the loop is over (the HostLib wrapper of CwGetCmdDialog does).
#pragma once

#include <windows.h>

#include <setjmp.h>

#include <cstring>
#include <exception>
#include <type_traits>
#include <utility>

#include "Dravik.h"
#include "VellocModule.h"

// The host library abandoned the running command.
class CommandAbandoned : public std::exception {
public:
    const char* what() const noexcept override { return "the host library abandoned the command"; }
};

// An abandonment caught inside a window procedure, waiting for the end of the modal loop.
void NoteAbandonment();
bool AbandonmentNoted();
void ClearNotedAbandonment();
// Throws CommandAbandoned (once) when an abandonment was noted.
void RethrowNotedAbandonment();

namespace host_call_detail {
// Saves and restores the buffer of an enclosing armed call (a dialog procedure's call inside
// the modal call that runs the dialog), so each jump lands in the innermost armed frame.
struct SavedJump {
    jmp_buf buffer;
};
void Save(SavedJump& saved);
void Restore(const SavedJump& saved);
}  // namespace host_call_detail

// Runs one call of the host library with the jump buffer armed in this frame. Not inlined
// (a frame that calls setjmp never is), so the jump target stays valid for the whole call.
template <class Call>
auto CallHostLibrary(Call&& call) -> decltype(call())
{
    using Result = decltype(call());
    host_call_detail::SavedJump saved;
    host_call_detail::Save(saved);
    if (setjmp(VellocHostBlock().jump) != 0) {
        host_call_detail::Restore(saved);
        throw CommandAbandoned();
    }
    if constexpr (std::is_void_v<Result>) {
        call();
        host_call_detail::Restore(saved);
    } else {
        Result result = call();
        host_call_detail::Restore(saved);
        return result;
    }
}

// The body of a window procedure, kept from letting an exception out: an abandonment is noted
// and `fallback` answered; any other exception is answered with `fallback` too.
template <class Body>
LRESULT GuardWindowProcedure(LRESULT fallback, Body&& body) noexcept
{
    try {
        return body();
    } catch (const CommandAbandoned&) {
        NoteAbandonment();
    } catch (...) {
    }
    return fallback;
}

// The body of a dialog procedure: on an abandonment (or any other exception) the dialog is
// ended with IDCANCEL and the abandonment noted for the code that ran the dialog.
template <class Body>
INT_PTR GuardDialogProcedure(HWND dialog, Body&& body) noexcept
{
    try {
        return body();
    } catch (const CommandAbandoned&) {
        NoteAbandonment();
    } catch (...) {
    }
    EndDialog(dialog, IDCANCEL);
    return TRUE;
}

// The host library's calls as the plug-in makes them: each through CallHostLibrary.
namespace HostLib {

inline int VySetPara2(HWND owner, HostParamBlock* block)
{
    return CallHostLibrary([&] { return ::VySetPara2(owner, block); });
}
// Runs the dialog; after the modal loop an abandonment noted by the dialog procedure is thrown.
inline INT_PTR CwGetCmdDialog(HINSTANCE module, int templateId, void* context, DLGPROC procedure)
{
    INT_PTR result = CallHostLibrary([&] { return ::CwGetCmdDialog(module, templateId, context, procedure); });
    RethrowNotedAbandonment();
    return result;
}
inline void QmCadApi_SetAppProductName(const char* name)
{
    CallHostLibrary([&] { ::QmCadApi_SetAppProductName(name); });
}
inline int QmCadApi_SetColor(int index, const COLORREF* values)
{
    return CallHostLibrary([&] { return ::QmCadApi_SetColor(index, values); });
}
inline DWORD QmCadApi_GetPrivateProfileString(const char* section, const char* key,
                                              const char* defaultText, char* out, DWORD outSize,
                                              const char* fileName)
{
    return CallHostLibrary([&] {
        return ::QmCadApi_GetPrivateProfileString(section, key, defaultText, out, outSize, fileName);
    });
}
inline BOOL QmCadApi_WritePrivateProfileString(const char* section, const char* key,
                                               const char* value, const char* fileName)
{
    return CallHostLibrary([&] { return ::QmCadApi_WritePrivateProfileString(section, key, value, fileName); });
}
inline int Dader_GetDataPath(int kind, char* out, const char* fileName, int withProgramFolder)
{
    return CallHostLibrary([&] { return ::Dader_GetDataPath(kind, out, fileName, withProgramFolder); });
}
inline int VyDSP_MSG(const char* text)
{
    return CallHostLibrary([&] { return ::VyDSP_MSG(text); });
}
inline int VyGetEPS(double* out)
{
    return CallHostLibrary([&] { return ::VyGetEPS(out); });
}
inline int VyGetEPSANGLE(double* out)
{
    return CallHostLibrary([&] { return ::VyGetEPSANGLE(out); });
}
inline void* VyGET_NOWDB() { return CallHostLibrary([] { return ::VyGET_NOWDB(); }); }
inline short VyGetCurrentPage() { return CallHostLibrary([] { return ::VyGetCurrentPage(); }); }
inline HWND VyGetActiveCadWnd() { return CallHostLibrary([] { return ::VyGetActiveCadWnd(); }); }
inline void* VyMAKE_DB() { return CallHostLibrary([] { return ::VyMAKE_DB(); }); }
inline int VyINIT_DB(void* database)
{
    return CallHostLibrary([&] { return ::VyINIT_DB(database); });
}
inline int VyGET_DB_HEAD(void* header)
{
    return CallHostLibrary([&] { return ::VyGET_DB_HEAD(header); });
}
inline int VySET_DB_HEAD(const void* header)
{
    return CallHostLibrary([&] { return ::VySET_DB_HEAD(header); });
}
inline int VySTOP_UNDO() { return CallHostLibrary([] { return ::VySTOP_UNDO(); }); }
inline int VySTART_UNDO() { return CallHostLibrary([] { return ::VySTART_UNDO(); }); }
inline int VySetZumenFg(int flag)
{
    return CallHostLibrary([&] { return ::VySetZumenFg(flag); });
}
inline int VyUNLOCK_DB() { return CallHostLibrary([] { return ::VyUNLOCK_DB(); }); }
inline int VyCmdParaSave() { return CallHostLibrary([] { return ::VyCmdParaSave(); }); }
inline int VyCHG_GCHKOFF() { return CallHostLibrary([] { return ::VyCHG_GCHKOFF(); }); }
inline int VyCHG_ELEMENT(void* element, int mode, const void* record)
{
    return CallHostLibrary([&] { return ::VyCHG_ELEMENT(element, mode, record); });
}
inline int VyGET_SYS_ATR(void* attributes)
{
    return CallHostLibrary([&] { return ::VyGET_SYS_ATR(attributes); });
}
inline int VySET_SYS_ATR(const void* attributes)
{
    return CallHostLibrary([&] { return ::VySET_SYS_ATR(attributes); });
}
inline LRESULT Dader_OnEraseBkgnd(HWND window, HDC dc)
{
    return CallHostLibrary([&] { return ::Dader_OnEraseBkgnd(window, dc); });
}
inline HBRUSH Dader_OnCtlColor(HWND window, HDC dc, HWND control, int kind)
{
    return CallHostLibrary([&] { return ::Dader_OnCtlColor(window, dc, control, kind); });
}
inline int Dader_ChgBtnStyleOwnerDraw(HWND dialog, int controlId)
{
    return CallHostLibrary([&] { return ::Dader_ChgBtnStyleOwnerDraw(dialog, controlId); });
}
inline int Dader_wParamToCtrlID(WPARAM wParam)
{
    return CallHostLibrary([&] { return ::Dader_wParamToCtrlID(wParam); });
}
inline int Dader_ColorBtn_DrawItem_OkBtn(const DRAWITEMSTRUCT* item)
{
    return CallHostLibrary([&] { return ::Dader_ColorBtn_DrawItem_OkBtn(item); });
}
inline void QmCadApi_ColorBtn_DrawItem(const DRAWITEMSTRUCT* item, COLORREF background,
                                       COLORREF text, COLORREF disabledText)
{
    CallHostLibrary([&] { ::QmCadApi_ColorBtn_DrawItem(item, background, text, disabledText); });
}
inline int Dader_ColorBtn_DrawItem_Btn(const DRAWITEMSTRUCT* item, int kind)
{
    return CallHostLibrary([&] { return ::Dader_ColorBtn_DrawItem_Btn(item, kind); });
}
inline int Dader_PnlSetPaperSelect() { return CallHostLibrary([] { return ::Dader_PnlSetPaperSelect(); }); }
inline COLORREF Dader_GetPanelColor() { return CallHostLibrary([] { return ::Dader_GetPanelColor(); }); }

}  // namespace HostLib
