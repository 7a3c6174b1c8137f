// Dialogs from resource templates, modal (DoModal) or modeless (Create), whose messages go
// to the derived class's message map. T declares `enum { IDD = <template id> };`.
#pragma once

#include <windows.h>

#include "WinKit/Window.h"

namespace WinKit {

class CDialogImplRoot : public CMessageTarget {
public:
    CDialogImplRoot() = default;

    BOOL EndDialog(INT_PTR result);

    // The dialog object bound to a window, or null.
    static CDialogImplRoot* FromHandle(HWND hWnd);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    INT_PTR DoModalFrom(HINSTANCE instance, UINT templateId, HWND parent, LPARAM initParam);
    // The same for a template with a name instead of a number.
    INT_PTR DoModalNamed(HINSTANCE instance, const char* templateName, HWND parent, LPARAM initParam);
    HWND CreateFrom(HINSTANCE instance, UINT templateId, HWND parent, LPARAM initParam);
    // A modeless dialog from a template in memory.
    HWND CreateIndirectFrom(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND parent, LPARAM initParam);

    bool m_modal = false;
};

template <class T>
class CDialogImpl : public CDialogImplRoot {
public:
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0)
    {
        return DoModalFrom(GetModuleHandleA(nullptr), T::IDD, parent, initParam);
    }
    HWND Create(HWND parent, LPARAM initParam = 0)
    {
        return CreateFrom(GetModuleHandleA(nullptr), T::IDD, parent, initParam);
    }
};

}  // namespace WinKit
