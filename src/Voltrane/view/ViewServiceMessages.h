// The host messages of the drawing view services: the input scale (2667) and the tolerances
// (2619).
#pragma once

#include "commands/CadCmd.h"

class CViewServiceMessages : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};
