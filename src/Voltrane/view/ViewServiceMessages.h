// The host messages of the drawing view services: the rubber band (2383, 2384), the transform
// preview (2385), element and mark redraws (2326, 2379, 2380, 2638), the world-to-client
// conversion (2642), device draws (2640, 2641), rasters (2610), the loupe (2602-2604), the overview (2584,
// 2588, 2589), page layout (2624), the input scale (2667) and the tolerances (2619).
#pragma once

#include "commands/CadCmd.h"

class CViewServiceMessages : public CCadCmd {
public:
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override;
};
