// MDI frame and child window bases. The frame answers unhandled messages through
// DefFrameProc with its MDI client; a child through DefMDIChildProc.
#pragma once

#include <windows.h>

#include "WinKit/Window.h"

namespace WinKit {

class CMDIFrameRoot : public CWindowImplRoot {
public:
    HWND m_hWndMDIClient = nullptr;

    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, msg, wParam, lParam);
    }

    // Creates the MDI client filling the frame (control id and first child id as given).
    HWND CreateMDIClient(HMENU windowMenu = nullptr, UINT clientId = 0xE900,
                         UINT firstChildId = 0xFF00, DWORD exStyle = WS_EX_CLIENTEDGE);

    HWND MDIGetActive(BOOL* maximized = nullptr) const
    {
        return reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                     reinterpret_cast<LPARAM>(maximized)));
    }
};

template <class T>
class CMDIFrameWindowImpl : public CWindowImpl<T, CMDIFrameRoot> {
};

class CMDIChildRoot : public CWindowImplRoot {
public:
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        return ::DefMDIChildProcA(m_hWnd, msg, wParam, lParam);
    }
};

template <class T>
class CMDIChildWindowImpl : public CWindowImpl<T, CMDIChildRoot> {
public:
    // Creates the child inside the MDI client.
    HWND CreateChild(HWND mdiClient, const RECT* rect = nullptr, const char* title = nullptr,
                     DWORD style = 0, DWORD exStyle = 0, void* createParam = nullptr)
    {
        style |= WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        return this->Create(mdiClient, rect, title, style, exStyle | WS_EX_MDICHILD, nullptr,
                            createParam);
    }
};

}  // namespace WinKit
