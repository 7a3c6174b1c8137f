#include "WinKit/Dialog.h"

namespace WinKit {

namespace {

const char kDialogProperty[] = "WinKit.Dialog";
thread_local CDialogImplRoot* t_creatingDialog = nullptr;

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

CDialogImplRoot::~CDialogImplRoot()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::RemovePropA(m_hWnd, kDialogProperty);
}

CDialogImplRoot* CDialogImplRoot::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr) return nullptr;
    return reinterpret_cast<CDialogImplRoot*>(::GetPropA(hWnd, kDialogProperty));
}

INT_PTR CDialogImplRoot::DoModalFrom(HINSTANCE instance, UINT templateId, HWND parent,
                                     LPARAM initParam)
{
    m_modal = true;
    t_creatingDialog = this;
    INT_PTR result = ::DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), parent,
                                       &CDialogImplRoot::DialogProc, initParam);
    t_creatingDialog = nullptr;
    return result;
}

HWND CDialogImplRoot::CreateFrom(HINSTANCE instance, UINT templateId, HWND parent,
                                 LPARAM initParam)
{
    m_modal = false;
    t_creatingDialog = this;
    HWND hWnd = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent,
                                     &CDialogImplRoot::DialogProc, initParam);
    t_creatingDialog = nullptr;
    return hWnd;
}

BOOL CDialogImplRoot::EndDialog(INT_PTR result)
{
    if (m_modal) return ::EndDialog(m_hWnd, result);
    return ::DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialogImplRoot::DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CDialogImplRoot* self = FromHandle(hWnd);
    if (self == nullptr) {
        self = t_creatingDialog;
        if (self == nullptr) return FALSE;
        t_creatingDialog = nullptr;
        self->m_hWnd = hWnd;
        ::SetPropA(hWnd, kDialogProperty, reinterpret_cast<HANDLE>(self));
    }

    MSG current = {hWnd, msg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = self->m_currentMsg;
    self->m_currentMsg = &current;
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
    } catch (...) {
        // No exception may unwind through the system's frames: the message goes unhandled.
        handled = FALSE;
        result = 0;
    }
    self->m_currentMsg = outer;

    if (msg == WM_NCDESTROY) {
        ::RemovePropA(hWnd, kDialogProperty);
        self->m_hWnd = nullptr;
        try {
            self->OnFinalMessage(hWnd);
        } catch (...) {
        }
        return handled ? TRUE : FALSE;
    }
    if (!handled) return FALSE;
    if (AnswersDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace WinKit
