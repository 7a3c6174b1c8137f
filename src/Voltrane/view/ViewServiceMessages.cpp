#include "view/ViewServiceMessages.h"

#include "HostMessages.h"
#include "mainframe/MainFrame.h"
#include "view/ViewTable.h"
#include "view/DragPreview.h"
#include "view/ElementDrawing.h"
#include "view/InputScale.h"
#include "view/LayoutCells.h"
#include "view/LayoutOverview.h"
#include "view/LoupeView.h"
#include "view/RasterService.h"
#include "view/RubberBand.h"
#include "view/ToleranceService.h"

namespace {

CmdParamRecord* Record(LPARAM lParam) { return reinterpret_cast<CmdParamRecord*>(lParam); }

}  // namespace

BOOL CViewServiceMessages::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                LRESULT& lResult, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (uMsg) {
    case WM_CAD_INPUT_SCALE:
        lResult = HandleInputScaleMessage(wParam, lParam);
        return TRUE;
    case WM_CAD_ADD_TEMP_ELEMENT:
        lResult = HandleAddTempElement(Record(lParam));
        return TRUE;
    case WM_CAD_DRAW_TEMP:
        lResult = HandleDrawTemp(Record(lParam));
        return TRUE;
    case WM_CAD_DRAG_PREVIEW:
        lResult = HandleDragPreview(Record(lParam));
        return TRUE;
    case WM_CAD_REDRAW_ELEMENT: {
        const CmdParamRecord* p = Record(lParam);
        lResult = p ? RedrawElementInViews(p->view, -2, reinterpret_cast<void*>(p->element)) : 0;
        return TRUE;
    }
    case WM_CAD_REDRAW_MARK: {
        const CmdParamRecord* p = Record(lParam);
        if (p) RedrawMarkInViews(p->view, p->mode, reinterpret_cast<void*>(p->element));
        lResult = 1;
        return TRUE;
    }
    case WM_CAD_REDRAW_MARK_ACTIVE:
    case WM_CAD_REDRAW_MARK_ACTIVE2:
        GetFrameFlags().auxViewRefresh = 1;
        if (GetActiveView()) RedrawMarkInViews(nullptr, kOwnColours, reinterpret_cast<void*>(lParam));
        lResult = 1;
        return TRUE;
    case WM_CAD_DRAW_TO_RECT:
        lResult = DrawToDevice(Record(lParam), kDrawMark);
        return TRUE;
    case WM_CAD_DRAW_TO_RECT_EX:
        lResult = DrawToDevice(Record(lParam), wParam == 1 ? -1 : kDrawElement);
        return TRUE;
    case WM_CAD_LOUPE_TOGGLE:
    case WM_CAD_LOUPE_TOGGLE2:
    case WM_CAD_LOUPE_TOGGLE3:
        SetLoupeState(1);
        lResult = 1;
        return TRUE;
    case WM_CAD_LAYOUT_VIEW_TOGGLE:
        lResult = ToggleLayoutViewWindow();
        return TRUE;
    case WM_CAD_LAYOUT_VIEW_SHOW:
        lResult = ShowLayoutViewWindow();
        return TRUE;
    case WM_CAD_LAYOUT_VIEW_HIDE:
        lResult = HideLayoutViewWindow();
        return TRUE;
    case WM_CAD_SET_PAGE_LAYOUT_VIEW: {
        const CmdParamRecord* p = Record(lParam);
        lResult = p ? SetPageLayoutView(p->view, p->mode) : 0;
        return TRUE;
    }
    case WM_CAD_WORLD_TO_CLIENT:
        lResult = WorldRectToClientRect(Record(lParam));
        return TRUE;
    case WM_CAD_RASTER:
        lResult = HandleRasterRequest(reinterpret_cast<RasterRequest*>(lParam));
        return TRUE;
    case WM_CADDB_TOLERANCE:
        lResult = HandleToleranceRequest(reinterpret_cast<CmdParamRecord*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}
