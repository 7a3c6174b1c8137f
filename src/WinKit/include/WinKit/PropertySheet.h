// Property sheets and pages. A sheet object gathers page handles and runs PropertySheetA
// modally; once the control has made its window, T's message map sees the sheet's messages
// before the control's own procedure. A page is a dialog object bound to its window at the
// page's WM_INITDIALOG (the sheet, not the page, is the first window a sheet creates).
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "WinKit/Dialog.h"
#include "WinKit/Window.h"

namespace WinKit {

template <class T>
class CPropertySheetImpl : public CWindowImplRoot {
public:
    explicit CPropertySheetImpl(const char* title = nullptr, UINT startPage = 0, HWND parent = nullptr)
        : m_title(title != nullptr ? title : "")
    {
        m_header.dwSize = sizeof m_header;
        m_header.dwFlags = PSH_USECALLBACK;
        m_header.hInstance = ::GetModuleHandleA(nullptr);
        m_header.hwndParent = parent;
        m_header.nStartPage = startPage;
        m_header.pfnCallback = &CPropertySheetImpl::SheetCallback;
    }

    // False (and the page left out) for a page whose handle could not be made.
    bool AddPage(HPROPSHEETPAGE page)
    {
        if (page == nullptr) return false;
        m_pages.push_back(page);
        return true;
    }
    int PageCount() const { return static_cast<int>(m_pages.size()); }

    // Runs the sheet modally; the parent is used when the constructor got none. The result of
    // PropertySheetA, -1 when the sheet cannot be shown.
    INT_PTR DoModal(HWND parent = nullptr)
    {
        if (m_header.hwndParent == nullptr) m_header.hwndParent = parent;
        m_header.pszCaption = m_title.c_str();
        m_header.nPages = static_cast<UINT>(m_pages.size());
        m_header.phpage = m_pages.empty() ? nullptr : m_pages.data();
        if (m_pages.empty()) return -1;
        Starting() = this;
        const INT_PTR result = ::PropertySheetA(&m_header);
        Starting() = nullptr;
        m_pages.clear();  // the control destroyed the pages it was given
        return result;
    }

protected:
    PROPSHEETHEADERA m_header = {};

private:
    static CPropertySheetImpl*& Starting()
    {
        static CPropertySheetImpl* starting = nullptr;
        return starting;
    }
    static int CALLBACK SheetCallback(HWND hWnd, UINT msg, LPARAM)
    {
        if (msg == PSCB_INITIALIZED && Starting() != nullptr && hWnd != nullptr) {
            Starting()->SubclassWindow(hWnd);
            Starting() = nullptr;
        }
        return 0;
    }

    std::string m_title;
    std::vector<HPROPSHEETPAGE> m_pages;
};

// The page part of a dialog class: its page handle and the binding of the object to the page
// window. TDialog is the dialog class the page derives from (a CDialogImpl).
template <class T, class TDialog>
class CPropertyPageImpl : public TDialog {
public:
    // The page handle for a sheet; the object must outlive the sheet.
    HPROPSHEETPAGE CreatePage(const char* title = nullptr)
    {
        PROPSHEETPAGEA page = {};
        page.dwSize = sizeof page;
        page.dwFlags = title != nullptr ? PSP_USETITLE : PSP_DEFAULT;
        page.hInstance = ::GetModuleHandleA(nullptr);
        page.pszTemplate = MAKEINTRESOURCEA(T::IDD);
        page.pszTitle = title;
        page.pfnDlgProc = &CPropertyPageImpl::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(static_cast<T*>(this));
        return ::CreatePropertySheetPageA(&page);
    }

    // The sheet window the page stands in.
    HWND Sheet() const { return ::GetParent(this->m_hWnd); }

private:
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_INITDIALOG && lParam != 0) {
            auto* self = reinterpret_cast<T*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
            if (self != nullptr) static_cast<CPropertyPageImpl*>(self)->BindPage(hWnd);
        }
        return CDialogImplRoot::DialogProc(hWnd, msg, wParam, lParam);
    }
    void BindPage(HWND hWnd) { this->Bind(hWnd); }
};

}  // namespace WinKit
