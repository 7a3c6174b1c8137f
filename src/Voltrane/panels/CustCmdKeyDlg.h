// The shortcut-key editing dialog (244): commands of the key catalogue assigned to the keys of
// the main window's accelerator table, written to the key file on OK.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/DialogBase.h"
#include "panels/CmdPanelContent.h"

class CMainAccelerator;

// The catalogue types offered as categories: those before the first one named "建築図面", then
// for every type of the command panel every catalogue type of the same name.
std::vector<int> KeyCategoryTypes(const CmdPanelContent& catalogue, const CmdPanelContent* panel);
// Command id to caption of every catalogue line with an id above 0 (a later line wins).
std::map<int, std::string> KeyCatalogueCaptions(const CmdPanelContent& catalogue);
// "%-12s%s" of the key column and the caption.
std::string KeyRowText(const std::string& keyColumn, const std::string& caption);
// The rows of the keys whose flags (FNOINVERT aside) equal the modifiers, each with its index
// in the table; an id the map lacks shows an empty caption and is entered with it.
std::vector<std::pair<std::string, int>> KeyListRows(const std::vector<ACCEL>& table, BYTE modifiers,
                                                     std::map<int, std::string>& captions);

class CCustCmdKeyDlg : public CDialogBase<CCustCmdKeyDlg> {
public:
    enum { IDD = 244 };

    WK_BEGIN_MSG_MAP(CCustCmdKeyDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CCustCmdKeyDlg>)
    WK_END_MSG_MAP()

    // Puts the caption into the selected key row and the id into its table entry. 1 when the
    // table entry changed.
    int SetKeyCommand(int id, const std::string& caption);

    std::vector<ACCEL> table;
    std::map<int, std::string> captions;
    CmdPanelContent* content = nullptr;
    CMainAccelerator* accelerator = nullptr;
    int modified = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    void FillKeyList();
    void FillCommandList();
    const std::string* ChosenLine() const;
    void Reset();
    void Finish();

    HWND m_keys = nullptr;
    HWND m_categories = nullptr;
    HWND m_commands = nullptr;
};

// Runs the dialog modally over the owner; 1 after OK, 2 after Cancel.
INT_PTR ShowCustCmdKeyDlg(HWND owner);
