#include "panels/CustCmdPanelDlg.h"

#include <cstdio>

#include "CommandIds.h"
#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/CsvParser.h"
#include "panels/CmdPanelItemLine.h"
#include "panels/CustCmdPanelList.h"

namespace {

constexpr int kGridId = 1809;
constexpr int kTypeListId = 1400;
constexpr int kCategoryListId = 1401;
constexpr int kCommandListId = 1136;
constexpr WORD kMoveUpId = 1803;
constexpr WORD kMoveDownId = 1003;
constexpr WORD kDeleteId = 1804;
constexpr WORD kChangeId = 1805;
constexpr WORD kInsertId = 1806;
constexpr WORD kResetId = 1807;
constexpr WORD kCancelCommandId = 1000;
const char kConfirm[] = "確認";

std::string ComboText(HWND combo)
{
    const LRESULT at = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (at < 0) return std::string();
    const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, at, 0);
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    ::SendMessageA(combo, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

}  // namespace

bool ConfirmCommandMenuChange(HWND owner)
{
    return ::MessageBoxA(owner, "コマンドメニューを変更します。\n次回ＣＡＤ起動時から有効になります。", kConfirm,
                         MB_ICONQUESTION | MB_OKCANCEL) == IDOK;
}

void CancelRunningCommand()
{
    if (HWND frame = GetMainFrameWnd()) ::SendMessageA(frame, WM_CAD_CANCEL_COMMAND, 0, 0);
}

CmdPanelContent* GetFirstCommandPanelContent()
{
    HWND frame = GetMainFrameWnd();
    if (frame == nullptr) return nullptr;
    HWND panel = reinterpret_cast<HWND>(::SendMessageA(frame, WM_CAD_GET_PANEL_WINDOW, 0, 0));
    if (panel == nullptr) return nullptr;
    return reinterpret_cast<CmdPanelContent*>(::SendMessageA(panel, WM_COMMAND, kCmdPanelGetContent, 0));
}

const CCmdPanelData* FindCatalogueType(const CmdPanelContent& catalogue, const std::string& name)
{
    for (const auto& type : catalogue.data)
        if (type->name == name) return type.get();
    return nullptr;
}

void FillCatalogueCommandList(HWND list, const CCmdPanelData* type)
{
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    if (type == nullptr) return;
    for (size_t i = 0; i < type->itemLines.size(); ++i) {
        const std::string& line = type->itemLines[i];
        if (line == kCmdPanelRowBreak) continue;
        CCsvParser fields(line);
        char text[1024];
        std::snprintf(text, sizeof text, "%-15s：%s", fields.GetAt(0), fields.GetAt(2));
        const LRESULT at = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (at >= 0) ::SendMessageA(list, LB_SETITEMDATA, at, static_cast<LPARAM>(i));
    }
}

LRESULT CCustCmdPanelDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    m_grid = ::GetDlgItem(m_hWnd, kGridId);
    m_types = ::GetDlgItem(m_hWnd, kTypeListId);
    m_categories = ::GetDlgItem(m_hWnd, kCategoryListId);
    m_commands = ::GetDlgItem(m_hWnd, kCommandListId);

    CmdPanelContent& catalogue = GetPanelCatalogue();
    if (catalogue.data.empty()) {
        std::string path;
        ResolveVirtualProfilePath("%EXE_DIR%CmdPanelBase.def", &path);
        catalogue.Load(path.c_str(), "PanelInfo");
    }
    content = GetFirstCommandPanelContent();
    if (content != nullptr) {
        for (const auto& type : content->data) {
            auto model = std::make_unique<CustCmdPanelModel>();
            model->Build(type->name, type.get());
            models.push_back(std::move(model));
        }
        for (const std::string& name : content->typeNames)
            ::SendMessageA(m_types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    if (!models.empty()) ShowModel(0, 0);
    for (const std::string& name : catalogue.typeNames)
        ::SendMessageA(m_categories, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::SendMessageA(m_types, CB_SETCURSEL, 0, 0);
    ::SendMessageA(m_categories, CB_SETCURSEL, 0, 0);
    FillCommandList();
    ::SendMessageA(m_commands, LB_SETCURSEL, 0, 0);
    // The base centres the dialog on its owner.
    handled = FALSE;
    return TRUE;
}

void CCustCmdPanelDlg::ShowModel(size_t index, WPARAM repaint)
{
    if (m_grid == nullptr || index >= models.size()) return;
    SetWindowLongPtrA(m_grid, kCustListModelLong, reinterpret_cast<LONG_PTR>(models[index].get()));
    ::SendMessageA(m_grid, WM_CUSTLIST_REFRESH, repaint, 0);
}

void CCustCmdPanelDlg::FillCommandList()
{
    FillCatalogueCommandList(m_commands, FindCatalogueType(GetPanelCatalogue(), ComboText(m_categories)));
}

const std::string* CCustCmdPanelDlg::ChosenLine() const
{
    const LRESULT at = ::SendMessageA(m_commands, LB_GETCURSEL, 0, 0);
    if (at < 0) return nullptr;
    const LRESULT index = ::SendMessageA(m_commands, LB_GETITEMDATA, at, 0);
    const CCmdPanelData* type = FindCatalogueType(GetPanelCatalogue(), ComboText(m_categories));
    if (type == nullptr || index < 0 || static_cast<size_t>(index) >= type->itemLines.size()) return nullptr;
    return &type->itemLines[static_cast<size_t>(index)];
}

void CCustCmdPanelDlg::Edit(WORD gridCommand, const char* line)
{
    if (::SendMessageA(m_grid, WM_COMMAND, gridCommand, reinterpret_cast<LPARAM>(line)) == 0) modified = 1;
}

void CCustCmdPanelDlg::Reset()
{
    const LRESULT chosen = ::SendMessageA(m_types, CB_GETCURSEL, 0, 0);
    const CmdPanelContent& catalogue = GetPanelCatalogue();
    if (chosen < 0 || static_cast<size_t>(chosen) >= models.size() || static_cast<size_t>(chosen) >= catalogue.data.size())
        return;
    const size_t i = static_cast<size_t>(chosen);
    char text[512];
    std::snprintf(text, sizeof text, "[%s] メニューを初期状態に戻します", content->typeNames[i].c_str());
    if (::MessageBoxA(m_hWnd, text, kConfirm, MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return;
    // The catalogue type of the same place, whatever its name.
    auto model = std::make_unique<CustCmdPanelModel>();
    model->Build(catalogue.data[i]->name, catalogue.data[i].get());
    models[i] = std::move(model);
    ShowModel(i, 1);
    modified = 1;
}

void CCustCmdPanelDlg::Finish()
{
    if (!modified) {
        ::EndDialog(m_hWnd, IDOK);
        return;
    }
    if (!ConfirmCommandMenuChange(m_hWnd)) return;
    if (content != nullptr) {
        for (size_t i = 0; i < models.size() && i < content->data.size(); ++i) models[i]->SaveTo(content->data[i].get());
        // A failed write has shown its box; the dialog ends all the same.
        content->Save();
    }
    ::EndDialog(m_hWnd, IDOK);
}

LRESULT CCustCmdPanelDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    const WORD id = LOWORD(wParam), code = HIWORD(wParam);
    switch (id) {
    case kCancelCommandId:
        CancelRunningCommand();
        handled = FALSE;
        return 0;
    case kTypeListId:
        if (code == CBN_SELCHANGE) {
            const LRESULT chosen = ::SendMessageA(m_types, CB_GETCURSEL, 0, 0);
            if (chosen >= 0) ShowModel(static_cast<size_t>(chosen), 1);
        }
        return 0;
    case kCategoryListId:
        if (code == CBN_SELCHANGE) {
            FillCommandList();
            ::SetFocus(m_commands);
            ::SendMessageA(m_commands, LB_SETCURSEL, 0, 0);
        }
        return 0;
    case kMoveUpId: Edit(kCustListMoveUp, nullptr); return 0;
    case kMoveDownId: Edit(kCustListMoveDown, nullptr); return 0;
    case kDeleteId: Edit(kCustListDelete, nullptr); return 0;
    case kChangeId:
    case kInsertId: {
        const std::string* line = ChosenLine();
        if (line == nullptr) {
            ::MessageBoxA(m_hWnd,
                        id == kChangeId ? "設定コマンド一覧から変更するコマンドを選択してください"
                                        : "設定コマンド一覧から挿入するコマンドを選択してください",
                        kConfirm, MB_ICONINFORMATION);
            return 0;
        }
        Edit(id == kChangeId ? kCustListChange : kCustListInsert, line->c_str());
        return 0;
    }
    case kResetId: Reset(); return 0;
    case IDOK: Finish(); return 0;
    case IDCANCEL: ::EndDialog(m_hWnd, IDCANCEL); return 0;
    default: handled = FALSE; return 0;
    }
}

INT_PTR ShowCustCmdPanelDlg(HWND owner)
{
    CCustCmdPanelDlg dialog;
    return dialog.DoModal(owner);
}
