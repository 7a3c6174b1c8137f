// The toolbar settings dialog "ツールバー設定": which of the ten toolbar groups show, their order
// (a drag list, or the buttons "上" and "下") and the button size. It edits its own copy of the
// toolbar settings and saves it at OK; the caller then has the main window rebuild its toolbars.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/DragList.h"
#include "dialogs/DialogBase.h"
#include "mainframe/MainToolBars.h"

class CSetToolBarDlg : public CDialogBase<CSetToolBarDlg> {
public:
    enum { IDD = 258 };
    using Base = CDialogBase<CSetToolBarDlg>;

    static constexpr int kGroupCount = 10;

    WK_BEGIN_MSG_MAP(CSetToolBarDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(1803, OnUp)
        WK_COMMAND_ID_HANDLER(1003, OnDown)
        WK_COMMAND_ID_HANDLER(1804, OnReset)
        WK_CHAIN_DIALOG_BASE(Base)
        WK_MESSAGE_HANDLER(WinKit::DragListMessage(), OnDragList)
    WK_END_MSG_MAP()

    // The check box of a group name; 0 for a name that is none of the ten.
    static int GroupCheckBox(const std::string& name);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnUp(WORD, WORD, HWND, BOOL&);
    LRESULT OnDown(WORD, WORD, HWND, BOOL&);
    LRESULT OnReset(WORD, WORD, HWND, BOOL&);
    LRESULT OnDragList(UINT, WPARAM, LPARAM lParam, BOOL&);

    void ShowDefaults();
    // Moves a line to another index and selects it; false when its text cannot be read.
    bool MoveLine(int from, int to);
    std::string LineText(int index) const;
    // Builds the new settings from the list; false (nothing changed) unless the list holds
    // each of the ten groups once.
    bool Apply();

    HWND m_list = nullptr;
    ToolBarSettings m_settings;
};

// Tells the main window to rebuild its toolbars from the saved settings.
void NotifyToolbarsChanged();
// Runs the toolbar dialog over the active window and has the toolbars rebuilt when it saved.
// The dialog's result: 1 saved, 2 nothing saved, -1 not shown.
int RunToolbarDialog();
