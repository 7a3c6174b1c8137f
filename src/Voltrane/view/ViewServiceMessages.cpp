#include "view/ViewServiceMessages.h"

#include "HostMessages.h"
#include "view/InputScale.h"
#include "view/ToleranceService.h"

BOOL CViewServiceMessages::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                LRESULT& lResult, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (uMsg) {
    case WM_CAD_INPUT_SCALE:
        lResult = HandleInputScaleMessage(wParam, lParam);
        return TRUE;
    case WM_CADDB_TOLERANCE:
        lResult = HandleToleranceRequest(reinterpret_cast<CmdParamRecord*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}
