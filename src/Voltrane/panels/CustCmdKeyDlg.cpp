#include "panels/CustCmdKeyDlg.h"

#include <cstdio>

#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/CsvParser.h"
#include "mainframe/MainAccelerator.h"
#include "panels/CmdPanelItemLine.h"
#include "panels/CustCmdPanelDlg.h"

namespace {

constexpr int kKeyListId = 1137;
constexpr int kCategoryListId = 1401;
constexpr int kCommandListId = 1136;
constexpr WORD kShiftId = 1808;
constexpr WORD kCtrlId = 1809;
constexpr WORD kClearId = 1804;
constexpr WORD kAssignId = 1805;
constexpr WORD kResetId = 1807;
constexpr WORD kCancelCommandId = 1000;
constexpr size_t kKeyColumn = 12;
const char kConfirm[] = "確認";
const char kStopCategory[] = "建築図面";

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string ListText(HWND list, LRESULT at)
{
    const LRESULT length = ::SendMessageA(list, LB_GETTEXTLEN, at, 0);
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

std::vector<int> KeyCategoryTypes(const CmdPanelContent& catalogue, const CmdPanelContent* panel)
{
    std::vector<int> types;
    for (size_t i = 0; i < catalogue.typeNames.size() && catalogue.typeNames[i] != kStopCategory; ++i)
        types.push_back(static_cast<int>(i));
    if (panel == nullptr) return types;
    for (const std::string& name : panel->typeNames)
        for (size_t i = 0; i < catalogue.typeNames.size(); ++i)
            if (catalogue.typeNames[i] == name) types.push_back(static_cast<int>(i));
    return types;
}

std::map<int, std::string> KeyCatalogueCaptions(const CmdPanelContent& catalogue)
{
    std::map<int, std::string> captions;
    for (const auto& type : catalogue.data)
        for (const std::string& line : type->itemLines) {
            if (line == kCmdPanelRowBreak) continue;
            CCsvParser fields(line);
            const int id = ParseCmdPanelNumber(fields.GetAt(1));
            if (id > 0) captions[id] = fields.GetAt(0);
        }
    return captions;
}

std::string KeyRowText(const std::string& keyColumn, const std::string& caption)
{
    char text[1024];
    std::snprintf(text, sizeof text, "%-12s%s", keyColumn.c_str(), caption.c_str());
    return text;
}

std::vector<std::pair<std::string, int>> KeyListRows(const std::vector<ACCEL>& table, BYTE modifiers,
                                                     std::map<int, std::string>& captions)
{
    std::vector<std::pair<std::string, int>> rows;
    for (size_t i = 0; i < table.size(); ++i) {
        if ((table[i].fVirt & ~FNOINVERT) != modifiers) continue;
        auto found = captions.find(table[i].cmd);
        if (found == captions.end()) found = captions.emplace(table[i].cmd, std::string()).first;
        rows.push_back({KeyRowText(CMainAccelerator::GetKeyName(table[i].key, 1), Trimmed(found->second)),
                        static_cast<int>(i)});
    }
    return rows;
}

LRESULT CCustCmdKeyDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    m_keys = ::GetDlgItem(m_hWnd, kKeyListId);
    m_categories = ::GetDlgItem(m_hWnd, kCategoryListId);
    m_commands = ::GetDlgItem(m_hWnd, kCommandListId);
    CmdPanelContent& catalogue = GetKeyCatalogue();
    if (catalogue.data.empty()) {
        std::string path;
        ResolveVirtualProfilePath("%EXE_DIR%CmdKeyBase.def", &path);
        catalogue.Load(path.c_str(), "KeyInfo");
    }
    content = GetFirstCommandPanelContent();
    for (int type : KeyCategoryTypes(catalogue, content))
        ::SendMessageA(m_categories, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(catalogue.typeNames[type].c_str()));
    ::SendMessageA(m_categories, CB_SETCURSEL, 0, 0);
    FillCommandList();
    ::SendMessageA(m_commands, LB_SETCURSEL, 0, 0);
    captions = KeyCatalogueCaptions(catalogue);
    if (HWND frame = GetMainFrameWnd())
        accelerator = reinterpret_cast<CMainAccelerator*>(::SendMessageA(frame, WM_CAD_GET_ACCELERATOR, 0, 0));
    if (accelerator != nullptr) accelerator->ReadKeyFile(nullptr, table, 1, 0);
    FillKeyList();
    ::SendMessageA(m_keys, LB_SETCURSEL, 0, 0);
    handled = FALSE;
    return TRUE;
}

void CCustCmdKeyDlg::FillKeyList()
{
    ::SendMessageA(m_keys, LB_RESETCONTENT, 0, 0);
    if (accelerator == nullptr) return;
    BYTE modifiers = FVIRTKEY;
    if (IsDlgButtonChecked(m_hWnd, kShiftId) == BST_CHECKED) modifiers |= FSHIFT;
    if (IsDlgButtonChecked(m_hWnd, kCtrlId) == BST_CHECKED) modifiers |= FCONTROL;
    for (const auto& row : KeyListRows(table, modifiers, captions)) {
        const LRESULT at = ::SendMessageA(m_keys, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.first.c_str()));
        if (at >= 0) ::SendMessageA(m_keys, LB_SETITEMDATA, at, row.second);
    }
}

void CCustCmdKeyDlg::FillCommandList()
{
    char name[512] = {};
    const LRESULT at = ::SendMessageA(m_categories, CB_GETCURSEL, 0, 0);
    if (at >= 0 && ::SendMessageA(m_categories, CB_GETLBTEXTLEN, at, 0) < static_cast<LRESULT>(sizeof name))
        ::SendMessageA(m_categories, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(name));
    FillCatalogueCommandList(m_commands, at >= 0 ? FindCatalogueType(GetKeyCatalogue(), name) : nullptr);
}

const std::string* CCustCmdKeyDlg::ChosenLine() const
{
    const LRESULT at = ::SendMessageA(m_commands, LB_GETCURSEL, 0, 0);
    const LRESULT category = ::SendMessageA(m_categories, CB_GETCURSEL, 0, 0);
    if (at < 0 || category < 0) return nullptr;
    char name[512] = {};
    if (::SendMessageA(m_categories, CB_GETLBTEXTLEN, category, 0) >= static_cast<LRESULT>(sizeof name)) return nullptr;
    ::SendMessageA(m_categories, CB_GETLBTEXT, category, reinterpret_cast<LPARAM>(name));
    const CCmdPanelData* type = FindCatalogueType(GetKeyCatalogue(), name);
    const LRESULT index = ::SendMessageA(m_commands, LB_GETITEMDATA, at, 0);
    if (type == nullptr || index < 0 || static_cast<size_t>(index) >= type->itemLines.size()) return nullptr;
    return &type->itemLines[static_cast<size_t>(index)];
}

int CCustCmdKeyDlg::SetKeyCommand(int id, const std::string& caption)
{
    const LRESULT at = ::SendMessageA(m_keys, LB_GETCURSEL, 0, 0);
    if (at < 0) return 0;
    const std::string old = ListText(m_keys, at);
    const LRESULT index = ::SendMessageA(m_keys, LB_GETITEMDATA, at, 0);
    const std::string row = KeyRowText(old.substr(0, std::min(old.size(), kKeyColumn)), caption);
    ::SendMessageA(m_keys, LB_DELETESTRING, at, 0);
    const LRESULT placed = ::SendMessageA(m_keys, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(row.c_str()));
    ::SendMessageA(m_keys, LB_SETITEMDATA, placed, index);
    ::SendMessageA(m_keys, LB_SETCURSEL, placed, 0);
    if (index < 0 || static_cast<size_t>(index) >= table.size()) return 0;
    table[static_cast<size_t>(index)].cmd = static_cast<WORD>(id);
    return 1;
}

void CCustCmdKeyDlg::Reset()
{
    if (accelerator == nullptr) return;
    if (::MessageBoxA(m_hWnd, "ショートカットキー設定を初期状態にもどします。よろしいですか？", kConfirm,
                      MB_ICONQUESTION | MB_OKCANCEL) != IDOK)
        return;
    const LRESULT selected = ::SendMessageA(m_keys, LB_GETCURSEL, 0, 0);
    table.clear();
    accelerator->ReadKeyFile(nullptr, table, 1, 1);
    FillKeyList();
    ::SendMessageA(m_keys, LB_SETCURSEL, selected, 0);
    modified = 1;
}

void CCustCmdKeyDlg::Finish()
{
    if (!modified) {
        ::EndDialog(m_hWnd, IDOK);
        return;
    }
    if (!ConfirmCommandMenuChange(m_hWnd)) return;
    if (accelerator != nullptr) accelerator->Save(nullptr, table);
    ::EndDialog(m_hWnd, IDOK);
}

LRESULT CCustCmdKeyDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    const WORD id = LOWORD(wParam), code = HIWORD(wParam);
    switch (id) {
    case kCancelCommandId:
        CancelRunningCommand();
        handled = FALSE;
        return 0;
    case kCategoryListId:
        if (code == CBN_SELCHANGE) {
            FillCommandList();
            ::SetFocus(m_commands);
            ::SendMessageA(m_commands, LB_SETCURSEL, 0, 0);
        }
        return 0;
    case kShiftId:
    case kCtrlId: FillKeyList(); return 0;
    case kClearId:
        if (SetKeyCommand(0, std::string()) == 1) modified = 1;
        return 0;
    case kAssignId: {
        const std::string* line = ChosenLine();
        if (line == nullptr) {
            ::MessageBoxA(m_hWnd, "設定コマンド一覧から挿入するコマンドを選択してください", kConfirm, MB_ICONINFORMATION);
            return 0;
        }
        CCsvParser fields(*line);
        if (SetKeyCommand(ParseCmdPanelNumber(fields.GetAt(1)), fields.GetAt(0)) == 1) modified = 1;
        return 0;
    }
    case kResetId: Reset(); return 0;
    case IDOK: Finish(); return 0;
    case IDCANCEL: ::EndDialog(m_hWnd, IDCANCEL); return 0;
    default: handled = FALSE; return 0;
    }
}

INT_PTR ShowCustCmdKeyDlg(HWND owner)
{
    CCustCmdKeyDlg dialog;
    return dialog.DoModal(owner);
}
