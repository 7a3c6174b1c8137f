// The host messages of single elements, undo and redo, marks and the pick, links, extents, the
// temporary database and the placement copy: a family of the host-service object of its own,
// searched after the database member.
#pragma once

#include <windows.h>

#include "commands/CadCmd.h"

class CCadSysCmd;

class CCadSysCmdElement : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
    // The answer of one message; handled false for a number this family does not serve.
    static LRESULT Answer(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
};

// Puts the family into the host-service object's slot.
void InstallElementMessages(CCadSysCmd& services);
