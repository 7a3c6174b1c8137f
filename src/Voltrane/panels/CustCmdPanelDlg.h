// The command-menu editing dialog (238): the first command panel's types rearranged in a
// preview grid with the commands of the factory catalogue, written to "CmdPanel.def" on OK.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "dialogs/DialogBase.h"
#include "panels/CmdPanelContent.h"
#include "panels/CustCmdPanelModel.h"

class CCustCmdPanelDlg : public CDialogBase<CCustCmdPanelDlg> {
public:
    enum { IDD = 238 };

    WK_BEGIN_MSG_MAP(CCustCmdPanelDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CCustCmdPanelDlg>)
    WK_END_MSG_MAP()

    std::vector<std::unique_ptr<CustCmdPanelModel>> models;
    CmdPanelContent* content = nullptr;
    int modified = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    void ShowModel(size_t index, WPARAM repaint);
    void FillCommandList();
    // The catalogue line chosen in the command list, or null.
    const std::string* ChosenLine() const;
    void Edit(WORD gridCommand, const char* line);
    void Reset();
    void Finish();

    HWND m_grid = nullptr;
    HWND m_types = nullptr;
    HWND m_categories = nullptr;
    HWND m_commands = nullptr;
};

// Runs the dialog modally over the owner; 1 after OK, 2 after Cancel.
INT_PTR ShowCustCmdPanelDlg(HWND owner);

// The confirmation both customisation dialogs ask before they write; true on OK.
bool ConfirmCommandMenuChange(HWND owner);
// Ends the running command (button 1000 of the customisation dialogs).
void CancelRunningCommand();

// The first command panel's model as the main frame's panel answers it; null without one.
CmdPanelContent* GetFirstCommandPanelContent();
// The catalogue type whose name is the text, or null.
const CCmdPanelData* FindCatalogueType(const CmdPanelContent& catalogue, const std::string& name);
// Fills the list box with "%-15s：%s" of caption and tooltip of every line of the type that is
// not a row break, each entry's data the line's index; nothing for a null type.
void FillCatalogueCommandList(HWND list, const CCmdPanelData* type);
