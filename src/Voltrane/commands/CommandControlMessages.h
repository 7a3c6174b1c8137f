// The host messages of command control, prompts and status: a running command ends itself or
// is ended, chooses the input events it accepts, learns which command runs, keeps per-command
// switches, asks yes/no questions, writes the status bar and the operation log, fills the
// right-click pick list and drives the DDE client.
#pragma once

#include <windows.h>

#include "HostMessages.h"
#include "HostRecords.h"
#include "commands/CadCmd.h"

// The services behind some of the messages that belong to the panels, the dialogs, the
// interrupt commands and the DDE client. The default answers as those services do while they
// are missing: nothing done (0); the questions are asked by the prompts at the pointer.
class CCommandControlServices {
public:
    virtual ~CCommandControlServices() = default;
    // Yes/no question at the cursor: 1 yes, 0 no.
    virtual int AskYesNo(WPARAM wParam, INT_PTR placement, const char* question);
    // Yes/no/cancel question: 1 yes, 2 cancel, 0 no.
    virtual int AskYesNoCancel(WPARAM wParam, INT_PTR placement, const char* question);
    virtual int ClearRightMenuPickList();
    virtual LRESULT EnableRightMenuPickList(WPARAM wParam, LPARAM lParam);
    virtual LRESULT AddRightMenuPickItem(WPARAM wParam, const char* text, INT_PTR kind, INT_PTR value);
    virtual LRESULT PboxItemUserData(WPARAM selector, LPARAM record);
    virtual INT_PTR TakeKeptMark();
    // The DDE execute string and the DDE client messages, parameters passed on unchanged.
    virtual LRESULT DdeMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The application panel's dialog while it is in use; null otherwise.
    virtual HWND AppPanelDialogInUse();
};

CCommandControlServices& GetCommandControlServices();
void SetCommandControlServices(CCommandControlServices* services);

// Keyboard focus to the application panel's dialog when it is in use, else to the active view.
void RestoreInputFocus();

// The answers of the command-control messages. It keeps the state flag of WM_CAD_CMD_STATE.
class CCommandControlMessages : public CCadCmd {
public:
    // The state flag: while it is 0, a cancel leaves the status bar alone and answers 0.
    int stateFlag = 1;

    WK_BEGIN_MSG_MAP(CCommandControlMessages)
        if (uMsg == WM_CAD_CANCEL_COMMAND) {
            lResult = OnCancelCommand(hWnd);
            return TRUE;
        }
        WK_MESSAGE_HANDLER(WM_CAD_CLEAR_EVENT_MASK, OnClearEventMask)
        WK_MESSAGE_HANDLER(WM_CAD_ADD_EVENT_MASK, OnAddEventMask)
        WK_MESSAGE_HANDLER(WM_CAD_POST_DDE_EVENT, OnPostDdeEvent)
        WK_MESSAGE_HANDLER(WM_CAD_CURRENT_COMMAND, OnCurrentCommand)
        WK_MESSAGE_HANDLER(WM_CAD_SET_CMD_OPTION, OnSetCommandOption)
        WK_MESSAGE_HANDLER(WM_CAD_SET_LAYER_PICK_MODE, OnSetLayerPickMode)
        WK_MESSAGE_HANDLER(WM_CAD_SET_UNDO_TAG, OnSetUndoTag)
        WK_MESSAGE_HANDLER(WM_CAD_CMD_STATE, OnCommandState)
        WK_MESSAGE_HANDLER(WM_CAD_GET_LANGUAGE, OnGetLanguage)
        WK_MESSAGE_HANDLER(WM_CAD_WRITE_LOG, OnWriteLog)
        WK_MESSAGE_HANDLER(WM_CAD_GET_MESSAGE_TEXT, OnGetMessageText)
        WK_MESSAGE_HANDLER(WM_CAD_SET_MESSAGE, OnSetMessage)
        WK_MESSAGE_HANDLER(WM_CAD_SHOW_ELEMENT_COUNT, OnShowElementCount)
        WK_MESSAGE_HANDLER(WM_CAD_GET_ELEMENT_COUNT, OnGetElementCount)
        WK_MESSAGE_HANDLER(WM_CAD_FOCUS_INPUT, OnFocusInput)
        WK_MESSAGE_HANDLER(WM_CAD_ASK_YESNO, OnAskYesNo)
        WK_MESSAGE_HANDLER(WM_CAD_ASK_YESNOCANCEL, OnAskYesNo)
        WK_MESSAGE_HANDLER(WM_CAD_RMENU_CLEAR, OnRightMenuClear)
        WK_MESSAGE_HANDLER(WM_CAD_RMENU_MODE, OnRightMenuMode)
        WK_MESSAGE_HANDLER(WM_CAD_RMENU_ADD, OnRightMenuAdd)
        WK_MESSAGE_HANDLER(WM_CAD_RMENU_CLICK_FINISHES, OnRightClickFinishes)
        WK_MESSAGE_HANDLER(WM_CAD_RMENU_SET_EXTRA, OnRightMenuSetExtra)
        WK_MESSAGE_HANDLER(WM_CAD_PBOX_QUERY, OnPboxQuery)
        WK_MESSAGE_HANDLER(WM_CAD_TAKE_MARK, OnTakeMark)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_EXECUTE, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_CONNECT, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_DISCONNECT, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_SEND, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_INIT, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_EXIT, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_CONNECT_TOPIC, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_DISCONNECT_TOPIC, OnDdeMessage)
        WK_MESSAGE_HANDLER(WM_CAD_DDE_SEND_TOPIC, OnDdeMessage)
    WK_END_MSG_MAP()

    // Ends the running command's input wait; 1, or 0 while the state flag is 0.
    LRESULT OnCancelCommand(HWND mainWindow);

private:
    LRESULT OnClearEventMask(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAddEventMask(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPostDdeEvent(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCurrentCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetCommandOption(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetLayerPickMode(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetUndoTag(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandState(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetLanguage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnWriteLog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMessageText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetMessage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnShowElementCount(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetElementCount(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFocusInput(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAskYesNo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightMenuClear(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightMenuMode(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightMenuAdd(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightClickFinishes(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightMenuSetExtra(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPboxQuery(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTakeMark(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDdeMessage(UINT, WPARAM, LPARAM, BOOL&);
};
