#include "drawing/AddLayerDialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"
#include "core/Dbcs.h"
#include "dialogs/DialogBase.h"
#include "drawing/PageOperations.h"

namespace {

constexpr int kNumber = 300, kName = 302, kGroup = 303;
const char kCaption[] = "レイヤ追加";

void SetLayerOnPage(void* db, int page, int layer, const char* name, const char* group)
{
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
    if (info == nullptr) return;
    ZUriSetLayerName(page, layer, name, db);
    DbcsCopy(info->layers.groupNames[layer], kGroupNameSize, group);
    const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
    info->layers.displayMask[layer / 16] |= bit;
    info->layers.detectMask[layer / 16] |= bit;
}

class CAddLayerDlg : public CDialogBase<CAddLayerDlg> {
public:
    enum { IDD = 226 };
    explicit CAddLayerDlg(LayerTreeInfo* tree) : m_own(tree ? nullptr : new LayerTreeInfo), m_list(tree ? tree : m_own.get()) {}

    WK_BEGIN_MSG_MAP(CAddLayerDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CAddLayerDlg>)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        LayerTreeInfo& tree = *m_list.Tree();
        BuildLayerPageTree(tree);
        const int row = m_list.RowOfPage(tree.currentPage);
        int first = 0;
        HWND numbers = GetDlgItem(kNumber);
        for (int n = 1; n <= kLayerCount && tree.PageCount() > 0; ++n) {
            if (m_list.HasLayer(row, n - 1)) continue;
            char text[16];
            std::snprintf(text, sizeof text, "%4d", n);
            ::SendMessageA(numbers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            if (first == 0) first = n;
        }
        HWND groups = GetDlgItem(kGroup);
        if (row < tree.PageCount())
            for (const LayerTreeGroupInfo& g : tree.pages[row].groups)
                ::SendMessageA(groups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g.name));
        ::SendMessageA(numbers, CB_LIMITTEXT, 4, 0);
        ::SendMessageA(groups, CB_LIMITTEXT, kGroupNameSize - 1, 0);
        ::SendMessageA(GetDlgItem(kName), EM_LIMITTEXT, 256, 0);
        char text[32];
        std::snprintf(text, sizeof text, "%4d", first);
        SetDlgItemTextA(m_hWnd, kNumber, text);
        std::snprintf(text, sizeof text, "レイヤ %d", first);
        SetDlgItemTextA(m_hWnd, kName, text);
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        FreeLayerPageTree(*m_list.Tree());
        handled = FALSE;
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        char number[257] = "", name[257] = "", group[257] = "";
        GetDlgItemTextA(m_hWnd, kNumber, number, sizeof number);
        GetDlgItemTextA(m_hWnd, kName, name, sizeof name);
        GetDlgItemTextA(m_hWnd, kGroup, group, sizeof group);
        int refusal = 0;
        if (AddLayerToActiveDrawing(std::atoi(number) - 1, name, group, &refusal)) {
            EndDialog(1);
        } else if (refusal != 0) {
            GetCommandHost().ShowMessageBox(m_hWnd, AddLayerRefusalText(refusal), kCaption, MB_OK | MB_ICONWARNING);
        }
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(2);
        return 0;
    }

    std::unique_ptr<LayerTreeInfo> m_own;
    CLayerPageList m_list;
};

// The manager's add and edit dialog: it only returns what was typed.
class CAddLayerDlg2 : public CDialogBase<CAddLayerDlg2> {
public:
    enum { IDD = 226 };
    CAddLayerDlg2(int mode, HWND treeWindow, CLayerPageList& list) : m_list(list), m_tree(treeWindow), m_mode(mode) {}

    WK_BEGIN_MSG_MAP(CAddLayerDlg2)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CAddLayerDlg2>)
    WK_END_MSG_MAP()

    int Mode() const { return m_mode; }
    int Row() const { return m_row; }
    int GroupIndex() const { return m_group; }
    int SelectedLayer() const { return m_selectedLayer; }
    const char* GroupName() const { return m_groupName; }
    const char* LayerName() const { return m_layerName; }
    int Number() const { return m_number; }
    int sameGroupCheck = 1;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        LayerTreeInfo& tree = *m_list.Tree();
        HTREEITEM caret = m_tree ? TreeView_GetSelection(m_tree) : nullptr;
        int row = 0, group = 0, layer = 0;
        const int level = m_list.FindItem(caret, &row, &group, &layer);
        if (level == kLayerItemPage) group = layer = 0;
        if (level == kLayerItemGroup) {
            layer = 0;
            if (m_mode == 1) m_mode = 2;
        }
        m_row = row, m_group = group, m_layer = layer;
        char selectedGroup[kGroupNameSize] = "", selectedName[kLayerNameSize] = "";
        if (LayerTreeLayerInfo* l = tree.PageCount() > 0 ? m_list.Layer(row, group, layer) : nullptr) {
            DbcsCopy(selectedGroup, sizeof selectedGroup, tree.pages[row].groups[group].name);
            DbcsCopy(selectedName, sizeof selectedName, l->name);
            m_selectedLayer = l->number;
        }
        HWND numbers = GetDlgItem(kNumber);
        int proposed = -1;
        for (int n = 0; n < kLayerCount && tree.PageCount() > 0; ++n) {
            if (m_list.HasLayer(row, n)) continue;
            char text[16];
            std::snprintf(text, sizeof text, "%4d", n + 1);
            ::SendMessageA(numbers, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            if (proposed < 0 && n > m_selectedLayer) proposed = n;
        }
        HWND groups = GetDlgItem(kGroup);
        const int currentRow = m_list.RowOfPage(tree.currentPage);
        if (currentRow < tree.PageCount())
            for (const LayerTreeGroupInfo& g : tree.pages[currentRow].groups)
                ::SendMessageA(groups, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g.name));
        ::SendMessageA(numbers, CB_LIMITTEXT, 4, 0);
        ::SendMessageA(groups, CB_LIMITTEXT, kGroupNameSize - 1, 0);
        ::SendMessageA(GetDlgItem(kName), EM_LIMITTEXT, 256, 0);
        char text[kLayerNameSize + 16];
        SetDlgItemTextA(m_hWnd, kGroup, selectedGroup);
        if (m_mode == 0) {
            if (proposed >= 0) {
                std::snprintf(text, sizeof text, "%4d", proposed + 1);
                SetDlgItemTextA(m_hWnd, kNumber, text);
                std::snprintf(text, sizeof text, "レイヤ %d", proposed + 1);
                SetDlgItemTextA(m_hWnd, kName, text);
            }
        } else {
            ::SetWindowTextA(m_hWnd, "レイヤ編集");
            ::EnableWindow(numbers, FALSE);
            if (m_mode == 1) {
                std::snprintf(text, sizeof text, "%4d", m_selectedLayer + 1);
                SetDlgItemTextA(m_hWnd, kNumber, text);
                SetDlgItemTextA(m_hWnd, kName, selectedName);
            } else {
                SetDlgItemTextA(m_hWnd, kNumber, "");
                SetDlgItemTextA(m_hWnd, kName, "");
                ::EnableWindow(GetDlgItem(kName), FALSE);
            }
        }
        HWND focus = GetDlgItem(m_mode == 2 ? kGroup : kName);
        ::SetFocus(focus);
        if (m_mode != 2) ::SendMessageA(focus, EM_SETSEL, 0, -1);
        handled = FALSE;
        return FALSE;  // the focus is set
    }

    void Refuse(const char* text, int field)
    {
        GetCommandHost().ShowMessageBox(m_hWnd, text, kCaption, MB_OK | MB_ICONWARNING);
        ::SetFocus(GetDlgItem(field));
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        char number[257] = "", group[257] = "", name[257] = "";
        GetDlgItemTextA(m_hWnd, kNumber, number, sizeof number);
        GetDlgItemTextA(m_hWnd, kGroup, group, sizeof group);
        GetDlgItemTextA(m_hWnd, kName, name, sizeof name);
        // A group name is cut to its slot on a character boundary.
        char groupName[kGroupNameSize];
        DbcsCopy(groupName, sizeof groupName, group);
        const int n = std::atoi(number) - 1;
        if (m_mode == 0 && (!IsLayerNumber(n) || m_list.HasLayer(m_row, n))) {
            Refuse(AddLayerRefusalText(IsLayerNumber(n) ? 2 : 1), kNumber);
            return 0;
        }
        if (m_mode != 2 && name[0] == '\0') {
            Refuse("レイヤ名称に空白は設定できません。", kName);
            return 0;
        }
        if (m_mode == 2 && sameGroupCheck) {
            LayerTreeGroupInfo* g = m_list.Group(m_row, m_group);
            if (g != nullptr && std::strcmp(g->name, groupName) == 0) {
                EndDialog(2);
                return 0;
            }
        }
        std::strcpy(m_groupName, groupName);
        DbcsCopy(m_layerName, sizeof m_layerName, name);
        m_number = m_mode == 0 ? n : m_selectedLayer;
        EndDialog(1);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(2);
        return 0;
    }

    CLayerPageList& m_list;
    HWND m_tree;
    int m_mode;
    int m_row = 0, m_group = 0, m_layer = 0;
    int m_selectedLayer = -1;
    int m_number = 0;
    char m_groupName[kGroupNameSize] = "";
    char m_layerName[kLayerNameSize] = "";
};

}  // namespace

int RunAddEditLayerDialog(HWND treeWindow, int mode, CLayerPageList& list)
{
    CAddLayerDlg2 dialog(mode, treeWindow, list);
    if (dialog.DoModal(::GetParent(treeWindow)) != 1) return 0;
    const int row = dialog.Row();
    if (dialog.Mode() == 0) {
        InsertLayerIntoTree(list, row, dialog.Number(), dialog.GroupName(), dialog.LayerName(), true, true);
        return 1;
    }
    const std::vector<int> rows = list.RowsSharingLayoutWith(row);
    if (dialog.Mode() == 1) {
        for (int r : rows) SetLayerInTree(list, r, dialog.Number(), dialog.GroupName(), dialog.LayerName(), true);
        return 1;
    }
    for (int r : rows) {
        LayerTreeGroupInfo* g = list.Group(r, dialog.GroupIndex());
        if (g == nullptr) continue;
        std::vector<std::pair<int, std::string>> layers;
        for (const LayerTreeLayerInfo& l : g->layers) layers.emplace_back(l.number, l.name);
        for (size_t i = 0; i < layers.size(); ++i)
            SetLayerInTree(list, r, layers[i].first, dialog.GroupName(), layers[i].second.c_str(), i + 1 == layers.size());
    }
    return 1;
}

int EditSelectedLayers(HWND treeWindow, const std::vector<HTREEITEM>& selected, CLayerPageList& list)
{
    struct Picked {
        int row, number;
        std::string name;
    };
    std::vector<Picked> picked;
    for (HTREEITEM item : selected) {
        int row = 0, group = 0, layer = 0;
        if (list.FindItem(item, &row, &group, &layer) != kLayerItemLayer) continue;
        const LayerTreeLayerInfo& l = list.Tree()->pages[row].groups[group].layers[layer];
        picked.push_back({row, l.number, l.name});
    }
    if (picked.empty()) return RunAddEditLayerDialog(treeWindow, 1, list);
    CAddLayerDlg2 dialog(2, treeWindow, list);
    dialog.sameGroupCheck = 0;
    if (dialog.DoModal(::GetParent(treeWindow)) != 1) return 0;
    for (const Picked& p : picked) SetLayerInTree(list, p.row, p.number, dialog.GroupName(), p.name.c_str(), true);
    return 1;
}

const char* AddLayerRefusalText(int refusal)
{
    switch (refusal) {
    case 1: {
        static char range[96];
        std::snprintf(range, sizeof range, "レイヤ番号は %d ～ %d の範囲で設定してください。", 1, kLayerCount);
        return range;
    }
    case 2: return "指定のレイヤ番号は存在しています。";
    case 3: return "レイヤ名称を設定してください。";
    default: return "";
    }
}

int AddLayerToActiveDrawing(int layer, const char* name, const char* group, int* refusal)
{
    *refusal = 0;
    if (!IsLayerNumber(layer)) {
        *refusal = 1;
        return 0;
    }
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    auto* db = block ? static_cast<EngineDbRecord*>(block->engineDb) : nullptr;
    if (db == nullptr) return 0;
    const int page = db->pageState.currentPage;
    auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
    if (info == nullptr) return 0;
    // A layer counts as present when the page lists it: named, or holding elements.
    uint16_t usage[kLayerMaskWords] = {};
    CollectPageLayerUsage(nullptr, usage, page);
    const char* own = info->layers.names[layer];
    if ((own != nullptr && own[0] != '\0') || ((usage[layer / 16] >> (layer % 16)) & 1u)) {
        *refusal = 2;
        return 0;
    }
    if (name == nullptr || name[0] == '\0') {
        *refusal = 3;
        return 0;
    }
    char groupName[kGroupNameSize];
    DbcsCopy(groupName, sizeof groupName, group ? group : "");
    auto record = std::make_unique<EnginePageRecord>();
    const bool independent = page != 0 && ZUriGetPage(page, record.get(), db) && record->externalReference == 1;
    if (independent) {
        SetLayerOnPage(db, page, layer, name, groupName);
    } else {
        SetLayerOnPage(db, 0, layer, name, groupName);
        for (int p = ZUriGetNextPage(0, record.get(), db); p > 0; p = ZUriGetNextPage(p, record.get(), db))
            if (record->externalReference == 0) SetLayerOnPage(db, p, layer, name, groupName);
    }
    site.SetDrawingModified(site.ActiveView());
    site.NotifyDrawingAttributesChanged();
    return 1;
}

INT_PTR ShowAddLayerDialog(HWND owner, LayerTreeInfo* tree)
{
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    if (block == nullptr || block->engineDb == nullptr) return 2;
    CAddLayerDlg dialog(tree);
    return dialog.DoModal(owner);
}
