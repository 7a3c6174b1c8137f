// A command panel: the buttons of one panel type of the per-user "CmdPanel.def", the list of
// types in its top right corner and the strip of type buttons. A click on a command button
// becomes a menu command of the main window; the buttons of a running command are highlighted.
#pragma once

#include <windows.h>

#include <memory>

#include "HostMessages.h"
#include "WinKit/MessageLoop.h"
#include "WinKit/Window.h"
#include "panels/CmdPanelContent.h"

class CCmdPanel : public WinKit::CWindowImpl<CCmdPanel>, public WinKit::CMessageFilter, public WinKit::CIdleHandler {
public:
    WK_DECLARE_WND_CLASS_EX("CmdPanel", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }

    CCmdPanel() = default;
    ~CCmdPanel() override;

    void SetPanelType(int index);
    int GetPanelType();
    // The model, null when the definition file could not be read.
    CmdPanelContent* Content() const { return m_content.get(); }

    BOOL PreTranslateMessage(MSG*) override { return 0; }
    BOOL OnIdle() override { return 0; }

    WK_BEGIN_MSG_MAP(CCmdPanel)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_USER, OnUser)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        WK_MESSAGE_HANDLER(WM_CMDPANEL_CLICK, OnClick)
        WK_MESSAGE_HANDLER(WM_CAD_CMD_NOTIFY, OnCommandNotify)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnUser(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClick(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);

    std::unique_ptr<CmdPanelContent> m_content;
    int m_panelType = 0;
};
