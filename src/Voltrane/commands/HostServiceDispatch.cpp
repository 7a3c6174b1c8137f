#include "commands/HostServiceDispatch.h"

#include "commands/ElementMessages.h"
#include "commands/HostServiceFamilies.h"
#include "commands/ServiceCommands.h"
#include "commands/SystemCommandDispatcher.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"

CCadSysCmd::CCadSysCmd(CSystemCommandDispatcher* dispatcher)
    : m_dispatcher(dispatcher ? dispatcher : &GetSystemCommandDispatcher())
{
}

CCadSysCmd::~CCadSysCmd() = default;

void CCadSysCmd::SetFamily(Family family, WinKit::CMessageMap* map)
{
    if (family >= 0 && family < kFamilyCount) m_families[family] = map;
}

void CCadSysCmd::AddFamilyEntries(Family family, WinKit::CMessageMap* map)
{
    if (family < 0 || family >= kFamilyCount || map == nullptr) return;
    for (WinKit::CMessageMap*& slot : m_entries[family]) {
        if (slot == map) return;
        if (slot == nullptr) {
            slot = map;
            return;
        }
    }
}

BOOL CCadSysCmd::ChainFamily(Family family, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    for (WinKit::CMessageMap* entries : m_entries[family])
        if (Chain(entries, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    return Chain(m_families[family], hWnd, uMsg, wParam, lParam, lResult);
}

BOOL CCadSysCmd::Chain(WinKit::CMessageMap* map, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                       LRESULT& lResult)
{
    return map != nullptr && map->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
}

BOOL CCadSysCmd::RunCommand(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult)
{
    return m_dispatcher->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
}

BOOL CCadSysCmd::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                      DWORD mapId)
{
    if (mapId != 0) return FALSE;
    if (m_control.ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) return TRUE;
    if (uMsg == WM_CAD_RUN_COMMAND && RunCommand(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (ChainFamily(kViewMessages, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (ChainFamily(kDrawingMessages, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (ChainFamily(kFontMessages, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (m_wait.ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0)) return TRUE;
    if (ChainFamily(kDatabaseMember, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (ChainFamily(kElementMember, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (ChainFamily(kPboxMember, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    if (ChainFamily(kPageMember, hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
    return ChainFamily(kConfigMember, hWnd, uMsg, wParam, lParam, lResult);
}

CCadSysCmd& GetCadSysCmd()
{
    static CCadSysCmd object;
    return object;
}

CCadInterruptCmd& GetCadInterruptCmd()
{
    static CCadInterruptCmd object;
    return object;
}

void ConnectHostServices(CMainFrame& frame)
{
    CCadSysCmd& services = GetCadSysCmd();
    InstallHostServiceFamilies(services);
    InstallElementMessages(services);
    frame.SetHostServices(&services, services.StateFlagAddress());
    frame.SetInterruptCommands(&GetCadInterruptCmd());
    GetFrameServices().restoreInputFocus = RestoreInputFocus;
    InstallServiceCommands();
}
