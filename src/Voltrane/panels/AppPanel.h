// The application panel: the window of the right-hand pane that running commands show their
// parameter panels in. It paints only its background; the item windows paint themselves.
#pragma once

#include <windows.h>

#include "WinKit/Window.h"

// The notices the panel display sends the application panel after a build.
constexpr UINT kAppPanelBuiltNotice = 33025;
constexpr UINT kAppPanelSecondNotice = 33026;
// The command a right click on an empty application panel sends its pane.
constexpr UINT kAppPanelPaneMenu = 1000;

class CAppPanel : public WinKit::CWindowImpl<CAppPanel> {
public:
    WK_DECLARE_WND_CLASS_EX("AppPanel", CS_HREDRAW | CS_VREDRAW, COLOR_BTNFACE)

    ~CAppPanel() override;

    HFONT Font(int index) const { return index >= 0 && index < 3 ? m_fonts[index] : nullptr; }

    WK_BEGIN_MSG_MAP(CAppPanel)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    void DeleteResources();

    HFONT m_fonts[3] = {};
    int m_flags = 0;
    COLORREF m_backColor = 0;
    HBRUSH m_backBrush = nullptr;
};
