#include "drawing/AddLayerDialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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

}  // namespace

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
