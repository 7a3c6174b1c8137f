#include "view/ViewHostMessages.h"

#include "commands/InterruptCommands.h"

#include "HostMessages.h"
#include "commands/HostServiceDispatch.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"
#include "view/DrawingWindowCreation.h"
#include "view/ViewCommands.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace {

void RepaintActiveView()
{
    if (HWND view = GetActiveView()) {
        InvalidateRect(view, nullptr, TRUE);
        UpdateWindow(view);
    }
}

}  // namespace

BOOL CViewHostMessages::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM, LRESULT& lResult, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (uMsg) {
    case WM_CAD_ACTIVE_VIEW:
        if (wParam != 0) {
            HWND view = reinterpret_cast<HWND>(wParam);
            // A handle that is no view of the table activates nothing.
            lResult = FindViewSlot(view) >= 0 ? reinterpret_cast<LRESULT>(ActivateView(view)) : 0;
        } else {
            lResult = reinterpret_cast<LRESULT>(GetActiveView());
        }
        return TRUE;
    case WM_CAD_ACTIVE_DB:
        lResult = reinterpret_cast<LRESULT>(GetActiveDb());
        return TRUE;
    case WM_CAD_REDRAW_VIEW:
        RepaintActiveView();
        lResult = 1;
        return TRUE;
    case WM_CAD_REFIT_VIEW:
        FitViewToPaper();
        RepaintActiveView();
        lResult = 1;
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL CDrawingHostMessages::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM, LPARAM, LRESULT& lResult, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (uMsg) {
    case WM_CADDB_NEW_WINDOW:
        lResult = OpenEmptyDrawingWindow(hWnd);
        return TRUE;
    case WM_CADDB_NEW_WINDOW_DB: {
        OpenEmptyDrawingWindow(hWnd);
        HWND view = GetActiveView();
        lResult = SetDrawingModified(view) ? reinterpret_cast<LRESULT>(GetViewDb(view)) : 0;
        return TRUE;
    }
    case WM_CADDB_CAPTURE_VIEW:
        LockActiveView();
        lResult = 1;
        return TRUE;
    case WM_CADDB_RELEASE_VIEW:
        UnlockView();
        lResult = 1;
        return TRUE;
    default:
        return FALSE;
    }
}

namespace {

int IsLockedViewService(HWND view) { return IsLockedView(view); }

HWND CreateEmptyDrawingWindow(HWND mainWnd) { return CreateRovOdidov(mainWnd, 0, nullptr, nullptr); }

}  // namespace

void ConnectDrawingViews(CMainFrame&)
{
    static CViewHostMessages viewMessages;
    static CDrawingHostMessages drawingMessages;
    CCadSysCmd& services = GetCadSysCmd();
    services.AddFamilyEntries(CCadSysCmd::kViewMessages, &viewMessages);
    services.AddFamilyEntries(CCadSysCmd::kDatabaseMember, &drawingMessages);
    FrameServices& frameServices = GetFrameServices();
    frameServices.getActiveView = GetActiveView;
    frameServices.isLockedView = IsLockedViewService;
    frameServices.createDrawingWindow = CreateEmptyDrawingWindow;
    frameServices.executeViewCommand = ExecuteViewCommandNotified;
}
