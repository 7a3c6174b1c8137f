#include "WinKit/Dialog.h"

namespace WinKit {

namespace {

// Messages whose answer is the dialog procedure's return value itself rather than
// DWLP_MSGRESULT.
bool AnswersDirectly(UINT msg)
{
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

}  // namespace

CDialogImplRoot* CDialogImplRoot::FromHandle(HWND hWnd)
{
    return dynamic_cast<CDialogImplRoot*>(CMessageTarget::FromHandle(hWnd));
}

INT_PTR CDialogImplRoot::DoModalNamed(HINSTANCE instance, const char* templateName, HWND parent, LPARAM initParam)
{
    m_modal = true;
    CreationScope creating(this);
    return ::DialogBoxParamA(instance, templateName, parent, &CDialogImplRoot::DialogProc, initParam);
}

INT_PTR CDialogImplRoot::DoModalFrom(HINSTANCE instance, UINT templateId, HWND parent,
                                     LPARAM initParam)
{
    m_modal = true;
    CreationScope creating(this);
    return ::DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent, &CDialogImplRoot::DialogProc,
                             initParam);
}

HWND CDialogImplRoot::CreateFrom(HINSTANCE instance, UINT templateId, HWND parent,
                                 LPARAM initParam)
{
    m_modal = false;
    CreationScope creating(this);
    return ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, &CDialogImplRoot::DialogProc,
                                initParam);
}

HWND CDialogImplRoot::CreateIndirectFrom(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND parent,
                                         LPARAM initParam)
{
    m_modal = false;
    CreationScope creating(this);
    return ::CreateDialogIndirectParamA(instance, dialogTemplate, parent, &CDialogImplRoot::DialogProc, initParam);
}

BOOL CDialogImplRoot::EndDialog(INT_PTR result)
{
    if (m_modal) return ::EndDialog(m_hWnd, result);
    return ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialogImplRoot::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialogImplRoot* self = FromHandle(hWnd);
    if (self == nullptr) return FALSE;

    LRESULT result = 0;
    const BOOL handled = self->Dispatch(hWnd, msg, wParam, lParam, result);

    if (msg == WM_NCDESTROY) {
        self->Unbind();
        self->Finish(hWnd);
        return handled ? TRUE : FALSE;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace WinKit
