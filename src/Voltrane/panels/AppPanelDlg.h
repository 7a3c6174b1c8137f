// The floating form of a parameter panel: a child dialog of the main frame over the top-left
// corner of the drawing area, which the user drags inside the frame and whose context menu
// ends the running command.
#pragma once

#include <windows.h>

#include "WinKit/Dialog.h"
#include "WinKit/MessageLoop.h"

// The context menu's entry that ends the running command.
constexpr UINT kAppPanelDlgEndCommand = 1000;
constexpr UINT kAppPanelDlgTemplate = 230;
constexpr UINT kAppPanelDlgIcon = 247;

class CAppPanelDlg : public WinKit::CDialogImplRoot, public WinKit::CMessageFilter, public WinKit::CIdleHandler {
public:
    // Makes the dialog from its template (239 x 14 dialog units, no controls) as a child of parent.
    HWND Create(HWND parent);

    // 1 when a dragged rectangle may stay where it is inside the frame's window rectangle:
    // at most 5 pixels past either side, never above the top or below the bottom.
    static int DragRectAllowed(const RECT& moved, const RECT& frame);

    // Tab and the dialog keys between the items of the dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override { return FALSE; }

    WK_BEGIN_MSG_MAP(CAppPanelDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&);
    void DrawDragFrame();

    int dragging = 0;
    RECT m_dragRect = {0, 0, 0, 0};
    POINT m_cursor = {0, 0};
    POINT m_offset = {0, 0};
};
