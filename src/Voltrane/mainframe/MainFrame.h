// The MDI main frame: the program's main window and the hub of its messages.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/Mdi.h"
#include "WinKit/MessageLoop.h"
#include "WinKit/UpdateUI.h"
#include "core/CadSystem.h"
#include "mainframe/FrameMessages.h"
#include "resources/resource.h"

class CMainFrame : public WinKit::CMDIFrameWindowImpl<CMainFrame>,
                   public WinKit::CUpdateUI<CMainFrame>,
                   public WinKit::CMessageFilter,
                   public WinKit::CIdleHandler {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();

    // Default styles of a normal start; the hand-off modes pass their own.
    static constexpr DWORD kDefaultStyle = 0x06CF0000;    // overlapped window, clip children and siblings
    static constexpr DWORD kDefaultExStyle = 0x00040100;  // app window, window edge

    // Loads the title and menu resource 128 and creates the frame window.
    HWND CreateEx(HWND parent = nullptr, const RECT* rect = nullptr, DWORD style = 0,
                  DWORD exStyle = 0, void* createParam = nullptr);

    void SetCommandLine(const char* commandLine) { m_commandLine = commandLine ? commandLine : ""; }
    void SetShowCommand(int showCommand) { m_showCommand = showCommand; }
    int GetShowCommand() const { return m_showCommand; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override;

    WK_BEGIN_MSG_MAP(CMainFrame)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_CAD_FRAME_STARTUP, OnFrameStartup)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_COMMAND_ID_HANDLER(ID_APP_EXIT, OnFileExit)
        WK_CHAIN_MSG_MAP(WinKit::CUpdateUIBase)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFrameStartup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFileExit(WORD, WORD, HWND, BOOL&);

    std::string m_commandLine;
    int m_showCommand = SW_SHOWNORMAL;
};

// The MDI client window of the main frame.
HWND GetMdiClientWnd();
