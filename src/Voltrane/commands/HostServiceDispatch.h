// The host-service object: the message map through which the main window answers the host
// messages that plug-in commands send it. A message is looked for first among the object's own
// families (command control and the command run, then views, drawings and fonts), then in its
// members in this order: the input wait, the database, parameter-panel, page and configuration
// services. A message number belongs to one map only, so the order decides only the search time.
// Only the default map (id 0) is searched.
#pragma once

#include <windows.h>

#include "HostMessages.h"
#include "WinKit/MessageMap.h"
#include "commands/CadCmd.h"
#include "commands/CommandControlMessages.h"
#include "commands/InputWaitLoop.h"
#include "commands/InterruptCommands.h"

class CMainFrame;
class CSystemCommandDispatcher;

class CCadSysCmd : public CCadCmd {
public:
    // The families served by other parts of the program, placed into the search order as they
    // come: the own-message families first, then the members.
    enum Family {
        kViewMessages,      // views, windows and colours
        kDrawingMessages,   // drawings, elements and files
        kFontMessages,      // fonts and dictionaries
        kDatabaseMember,    // databases, elements and marks
        kElementMember,     // single elements, undo, marks, links, extents, temporary database, placement
        kPboxMember,        // parameter panels
        kPageMember,        // pages
        kConfigMember,      // configuration
        kFamilyCount
    };

    // The dispatcher that runs WM_CAD_RUN_COMMAND; null takes the program's.
    explicit CCadSysCmd(CSystemCommandDispatcher* dispatcher = nullptr);
    ~CCadSysCmd() override;

    void SetFamily(Family family, WinKit::CMessageMap* map);
    // Entries another part of the program adds to a family: searched before the family's own
    // map, in the order they were added.
    void AddFamilyEntries(Family family, WinKit::CMessageMap* map);

    // The state flag of WM_CAD_CMD_STATE, for the main frame's command enabling.
    const int* StateFlagAddress() const { return &m_control.stateFlag; }
    CCommandControlMessages& Control() { return m_control; }

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;

private:
    BOOL Chain(WinKit::CMessageMap* map, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
               LRESULT& lResult);
    BOOL RunCommand(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    CSystemCommandDispatcher* m_dispatcher;
    CCommandControlMessages m_control;
    CCadSysCmdWait m_wait;
    BOOL ChainFamily(Family family, HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    static constexpr int kMaxFamilyEntries = 4;
    WinKit::CMessageMap* m_families[kFamilyCount] = {};
    WinKit::CMessageMap* m_entries[kFamilyCount][kMaxFamilyEntries] = {};
};

// The program's host-service object and interrupt wait.
CCadSysCmd& GetCadSysCmd();
CCadInterruptCmd& GetCadInterruptCmd();

// Chains the host-service object, with its families of host messages, and the interrupt-command
// object into the main frame's map, hands the frame the state flag and gives the frame the input
// focus and service-command entries. Called once before the frame window is created.
void ConnectHostServices(CMainFrame& frame);
