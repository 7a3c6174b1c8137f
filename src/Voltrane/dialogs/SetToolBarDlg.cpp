#include "dialogs/SetToolBarDlg.h"

#include <commctrl.h>

#include <vector>

#include "core/CadSystem.h"
#include "core/SettingsMessage.h"
#include "dialogs/ButtonStates.h"

namespace {

struct GroupBox {
    const char* name;
    int checkBox;
};

// The built-in group order of the main window, each with its box.
const GroupBox kGroupBoxes[CSetToolBarDlg::kGroupCount] = {
    {"ファイル", 1808}, {"設定", 1101}, {"ウィンドウ", 1809}, {"ラスター", 1810}, {"計測", 1811},
    {"表示", 1812},     {"編集", 1813}, {"作図", 1814},       {"文字", 1815},     {"寸法", 1816},
};

constexpr int kFirstSizeRadio = 1860;

}  // namespace

int CSetToolBarDlg::GroupCheckBox(const std::string& name)
{
    for (const GroupBox& group : kGroupBoxes)
        if (name == group.name) return group.checkBox;
    return 0;
}

LRESULT CSetToolBarDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    HANDLE bigIcon = ::LoadImageA(instance, MAKEINTRESOURCEA(128), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0);
    HANDLE smallIcon = ::LoadImageA(instance, MAKEINTRESOURCEA(128), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0);
    if (bigIcon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    if (smallIcon) ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    m_settings.Load(nullptr);
    m_list = ::GetDlgItem(m_hWnd, 1136);
    ::MakeDragList(m_list);
    for (const GroupBox& group : kGroupBoxes) SetButtonCheck(m_hWnd, group.checkBox, false);
    if (static_cast<int>(m_settings.entries.size()) == kGroupCount) {
        for (const ToolbarGroupEntry& entry : m_settings.entries) {
            ::SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.name.c_str()));
            if (int box = GroupCheckBox(entry.name)) SetButtonCheck(m_hWnd, box, entry.visible != 0);
        }
        ::SendMessageA(m_list, LB_SETCURSEL, 0, 0);
        for (int i = 0; i < 4; ++i) SetButtonCheck(m_hWnd, kFirstSizeRadio + i, m_settings.sizeMode + 1 == i);
    } else {
        ShowDefaults();
    }
    handled = FALSE;
    return 0;
}

void CSetToolBarDlg::ShowDefaults()
{
    for (const GroupBox& group : kGroupBoxes) SetButtonCheck(m_hWnd, group.checkBox, true);
    ::CheckRadioButton(m_hWnd, kFirstSizeRadio, kFirstSizeRadio + 3, kFirstSizeRadio + 2);
    ::SendMessageA(m_list, LB_RESETCONTENT, 0, 0);
    for (const GroupBox& group : kGroupBoxes) ::SendMessageA(m_list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(group.name));
    ::SendMessageA(m_list, LB_SETCURSEL, 0, 0);
}

std::string CSetToolBarDlg::LineText(int index) const
{
    const LRESULT length = ::SendMessageA(m_list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length > 255) return std::string();
    char text[256] = {};
    if (::SendMessageA(m_list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text)) == LB_ERR) return std::string();
    return text;
}

bool CSetToolBarDlg::MoveLine(int from, int to)
{
    const std::string text = LineText(from);
    if (text.empty()) return false;
    ::SendMessageA(m_list, LB_DELETESTRING, from, 0);
    const LRESULT at = ::SendMessageA(m_list, LB_INSERTSTRING, to, reinterpret_cast<LPARAM>(text.c_str()));
    ::SendMessageA(m_list, LB_SETCURSEL, at, 0);
    return true;
}

LRESULT CSetToolBarDlg::OnUp(WORD, WORD, HWND, BOOL&)
{
    const int selected = static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0));
    if (selected > 0) MoveLine(selected, selected - 1);
    return 0;
}

LRESULT CSetToolBarDlg::OnDown(WORD, WORD, HWND, BOOL&)
{
    const int selected = static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0));
    const int count = static_cast<int>(::SendMessageA(m_list, LB_GETCOUNT, 0, 0));
    if (selected >= 0 && selected < count - 1) MoveLine(selected, selected + 1);
    return 0;
}

LRESULT CSetToolBarDlg::OnReset(WORD, WORD, HWND, BOOL&)
{
    if (ShowSettingsMessage(m_hWnd, "初期状態に戻します。よろしいですか？", "確認", MB_OKCANCEL | MB_ICONQUESTION) == IDOK)
        ShowDefaults();
    return 0;
}

LRESULT CSetToolBarDlg::OnDragList(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    const auto* info = reinterpret_cast<const DRAGLISTINFO*>(lParam);
    if (info == nullptr) return 0;
    switch (info->uNotification) {
    case DL_BEGINDRAG:
        ::DrawInsert(m_hWnd, m_list, ::LBItemFromPt(m_list, info->ptCursor, TRUE));
        return 1;
    case DL_DRAGGING:
        ::DrawInsert(m_hWnd, m_list, ::LBItemFromPt(m_list, info->ptCursor, TRUE));
        return 0;
    case DL_CANCELDRAG:
        ::DrawInsert(m_hWnd, m_list, -1);
        return 0;
    case DL_DROPPED: {
        ::DrawInsert(m_hWnd, m_list, -1);
        const int source = static_cast<int>(::SendMessageA(m_list, LB_GETCURSEL, 0, 0));
        const int target = ::LBItemFromPt(m_list, info->ptCursor, TRUE);
        if (source >= 0 && target >= 0 && source != target) MoveLine(source, target);
        return 0;
    }
    default:
        return 0;
    }
}

bool CSetToolBarDlg::Apply()
{
    if (::SendMessageA(m_list, LB_GETCOUNT, 0, 0) != kGroupCount) return false;
    std::vector<ToolbarGroupEntry> entries;
    for (int line = 0; line < kGroupCount; ++line) {
        ToolbarGroupEntry entry;
        entry.name = LineText(line);
        const int box = GroupCheckBox(entry.name);
        if (box == 0) return false;
        for (const ToolbarGroupEntry& earlier : entries)
            if (earlier.name == entry.name) return false;
        entry.visible = IsButtonChecked(m_hWnd, box) ? 1 : 0;
        entries.push_back(entry);
    }
    int size = -2;
    for (int i = 0; i < 4 && size == -2; ++i)
        if (IsButtonChecked(m_hWnd, kFirstSizeRadio + i)) size = i - 1;
    m_settings.sizeMode = size;
    m_settings.entries = entries;
    m_settings.Save();
    return true;
}

LRESULT CSetToolBarDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    // OK ends with OK also when the list could not be saved: the caller's rebuild then shows
    // the settings as they are saved.
    Apply();
    EndDialog(IDOK);
    return 0;
}

LRESULT CSetToolBarDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

void NotifyToolbarsChanged()
{
    HWND main = GetMainFrameWnd();
    if (main == nullptr) return;
    NMHDR header = {};
    header.hwndFrom = main;
    header.idFrom = 0;
    header.code = 1002;
    ::SendMessageA(main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

int RunToolbarDialog()
{
    CSetToolBarDlg dialog;
    const INT_PTR result = dialog.DoModal(::GetActiveWindow());
    if (result == IDOK) NotifyToolbarsChanged();
    return static_cast<int>(result);
}
