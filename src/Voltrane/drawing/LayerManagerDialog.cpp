#include "drawing/LayerManagerDialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "dialogs/DialogBase.h"
#include "drawing/AddLayerDialog.h"
#include "drawing/LayerPatternDialog.h"
#include "drawing/PageOperations.h"
#include "view/ViewServices.h"

namespace {

constexpr int kPageList = 1136, kTree = 1131, kLegendBox = 1153;
constexpr int kAddLayer = 200, kEditLayer = 204, kDelete = 1000, kPatterns = 202, kAllOn = 203, kAllOff = 207;
constexpr int kSplit = 1803;
constexpr int kEditorId = 5000;
constexpr int kImageWidth = 42, kImageHeight = 18, kLegendWidth = 16;
constexpr int kGroupEditorWidth = 90;
// The legend texts in the order of their pictures.
constexpr int kLegendTexts[] = {510, 511, 509, 508, 512, 513, 514, 516};
// The controls the legend moves with the bottom edge.
constexpr int kLegendControls[] = {kLegendBox, 508, 509, 510, 511, 512, 513, 514, 516};
constexpr int kButtonColumn[] = {IDOK, IDCANCEL, kAddLayer, kEditLayer, kDelete, kAllOn, kAllOff, kPatterns, kSplit};
const char kDeleteCaption[] = "削除";
const UINT kEditDone = WM_USER;

LayerManagerSlot g_slot;

// The program folder's "Images\LayIcon" folder.
std::string LayerIconFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    if (slash != nullptr) slash[1] = '\0';
    return std::string(path) + "Images\\LayIcon";
}

}  // namespace

HIMAGELIST LoadLayerPictures(const std::string& folder, int width, int count, const char* format)
{
    HIMAGELIST list = ImageList_Create(width, kImageHeight, ILC_COLOR24 | ILC_MASK, count, 0);
    HICON standIn = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(216), IMAGE_ICON, width, kImageHeight, 0));
    for (int n = 0; n < count; ++n) {
        char path[MAX_PATH];
        std::snprintf(path, sizeof path, format, folder.c_str(), n);
        auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (bitmap != nullptr && ImageList_AddMasked(list, bitmap, RGB(255, 255, 255)) >= 0) {
            DeleteObject(bitmap);
            continue;
        }
        if (bitmap != nullptr) DeleteObject(bitmap);
        ImageList_AddIcon(list, standIn);
    }
    if (standIn != nullptr) DestroyIcon(standIn);
    return list;
}

namespace {

class CLayerManagerDlg;
CLayerManagerDlg* g_manager = nullptr;

class CLayerManagerDlg : public CDialogBase<CLayerManagerDlg> {
public:
    enum { IDD = 225 };

    CLayerManagerDlg() : m_list(&g_slot.tree) {}

    WK_BEGIN_MSG_MAP(CLayerManagerDlg)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
        WK_MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kAddLayer, OnAddLayer)
        WK_COMMAND_ID_HANDLER(kPatterns, OnPatterns)
        WK_COMMAND_ID_HANDLER(kAllOn, OnAllOnOff)
        WK_COMMAND_ID_HANDLER(kEditLayer, OnEditLayer)
        WK_COMMAND_ID_HANDLER(kAllOff, OnAllOnOff)
        WK_COMMAND_ID_HANDLER(kDelete, OnDelete)
        WK_COMMAND_ID_HANDLER(kPageList, OnPageList)
        WK_COMMAND_ID_HANDLER(kSplit, OnSplit)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CLayerManagerDlg>)
    WK_END_MSG_MAP()

    // ---- the tree control ----
    static LRESULT CALLBACK LayerTreeProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LayerNameEditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    HWND Tree() { return GetDlgItem(kTree); }
    LayerTreeInfo& TreeInfo() { return g_slot.tree; }

    // ---- opening ----
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        if (HICON icon = ::LoadIconA(instance, MAKEINTRESOURCEA(247))) {
            ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
            ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        }
        OSVERSIONINFOA version = {sizeof version};
        if (::GetVersionExA(&version) && version.dwMajorVersion >= 6) {
            ::SendMessageA(Tree(), TVM_SETEXTENDEDSTYLE, TVS_EX_MULTISELECT, TVS_EX_MULTISELECT);
            m_multiSelect = 1;
        }
        RecordLayout();
        g_slot.shownRow = 0;
        g_slot.dialog = m_hWnd;
        g_slot.oldTreeProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(Tree(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerTreeProc)));
        BuildLayerPageTree(TreeInfo());
        m_list.SetOwner(m_hWnd);
        m_list.SaveLayerBlocks();
        GetPageState(&m_savedPageState);
        g_slot.lastClicked = nullptr;
        m_list.shownRow = 0;
        m_list.refill = [this](int row, int group, int layer) { Refill(row, group, layer); };

        m_stateImages = LoadLayerPictures(LayerIconFolder(), kImageWidth, 30, "%s\\%03d.bmp");
        m_legendImages = LoadLayerPictures(LayerIconFolder(), kLegendWidth, 8, "%s\\S%03d.bmp");
        TreeView_SetImageList(Tree(), m_stateImages, TVSIL_NORMAL);
        MeasureNumberWidth();

        const int currentRow = m_list.RowOfCurrentItem();
        const int currentGroup = m_list.GroupOfCurrentItem();
        const int openGroups = GetCadSystem().config.LAYDLG_GRPOPNFG != 0;
        for (int row = 0; row < TreeInfo().PageCount(); ++row) {
            LayerTreePageInfo& page = TreeInfo().pages[row];
            page.expanded = 1;
            for (LayerTreeGroupInfo& g : page.groups) g.expanded = openGroups;
        }
        if (LayerTreeGroupInfo* g = HasCurrentItem() ? m_list.Group(currentRow, currentGroup) : nullptr) g->expanded = 1;

        FillPageList();
        ::SendMessageA(GetDlgItem(kPageList), LB_SETCURSEL, 0, 0);
        FillLayerTree(0);
        HTREEITEM select = TreeInfo().PageCount() > 0 ? TreeInfo().pages[0].item : nullptr;
        if (HasCurrentItem() && currentRow == 0 && currentGroup < static_cast<int>(TreeInfo().pages[0].groups.size()))
            select = TreeInfo().pages[0].groups[currentGroup].item;
        if (select != nullptr) TreeView_SelectItem(Tree(), select);
        handled = FALSE;
        return TRUE;
    }

    bool HasCurrentItem()
    {
        for (const LayerTreePageInfo& p : TreeInfo().pages)
            for (const LayerTreeGroupInfo& g : p.groups)
                for (const LayerTreeLayerInfo& l : g.layers)
                    if (l.itemId == TreeInfo().currentItemId && IsInput(p, l)) return true;
        return false;
    }

    void RecordLayout()
    {
        RECT window, client;
        ::GetWindowRect(m_hWnd, &window);
        ::GetClientRect(m_hWnd, &client);
        m_initialWidth = window.right - window.left;
        m_initialHeight = window.bottom - window.top;
        RECT ok = ChildRect(IDOK), tree = ChildRect(kTree);
        m_okRight = client.right - ok.right;
        m_treeRight = client.right - tree.right;
        m_treeBottom = client.bottom - tree.bottom;
        for (size_t i = 0; i < std::size(kLegendControls); ++i) {
            RECT r = ChildRect(kLegendControls[i]);
            m_legendLeft[i] = r.left;
            m_legendBottom[i] = client.bottom - r.top;
        }
    }

    RECT ChildRect(int id)
    {
        RECT r = {};
        ::GetWindowRect(GetDlgItem(id), &r);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    void MeasureNumberWidth()
    {
        HDC dc = ::GetDC(Tree());
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(Tree(), WM_GETFONT, 0, 0)));
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, "1024 ", 5, &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(Tree(), dc);
        m_numberWidth = size.cx;
    }

    // ---- the page list and the tree control ----
    void FillPageList()
    {
        HWND list = GetDlgItem(kPageList);
        ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
        int widest = 0;
        HDC dc = ::GetDC(list);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        for (int row = 0; row < TreeInfo().PageCount(); ++row) {
            const LayerTreePageInfo& p = TreeInfo().pages[row];
            char text[kLayerNameSize + 32];
            // Pages that follow page 0 stand indented in parentheses.
            if (row == 0 || p.independentLayers) {
                std::snprintf(text, sizeof text, "%s", p.name);
            } else {
                std::snprintf(text, sizeof text, "   (%s)         ", p.name);
            }
            ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
            SIZE size = {};
            ::GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
        ::SendMessageA(list, LB_SETHORIZONTALEXTENT, widest + ::GetSystemMetrics(SM_CXVSCROLL), 0);
    }

    bool IsInput(const LayerTreePageInfo& page, const LayerTreeLayerInfo& layer)
    {
        return page.page == TreeInfo().currentPage && layer.number == TreeInfo().currentLayer;
    }

    int ImageOf(const LayerTreePageInfo& page, const LayerTreeLayerInfo& layer)
    {
        const int usage = IsInput(page, layer) ? 2 : layer.used ? 1 : 0;
        return LayerIconIndex(layer.display, layer.detect, usage, layer.lock);
    }

    void SetImage(HTREEITEM item, int image)
    {
        if (item == nullptr) return;
        TVITEMA tv = {};
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.hItem = item;
        tv.iImage = tv.iSelectedImage = image;
        ::SendMessageA(Tree(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    }

    void SetText(HTREEITEM item, const char* text)
    {
        if (item == nullptr) return;
        TVITEMA tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = const_cast<char*>(text);
        ::SendMessageA(Tree(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    }

    HTREEITEM Insert(HTREEITEM parent, const char* text, int image)
    {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.iImage = insert.item.iSelectedImage = image;
        return reinterpret_cast<HTREEITEM>(::SendMessageA(Tree(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }

    static void LayerText(const LayerTreeLayerInfo& l, char* out, size_t size)
    {
        std::snprintf(out, size, "%3d %s　　", l.number + 1, l.name);
    }

    void FillLayerTree(int row)
    {
        for (LayerTreePageInfo& p : TreeInfo().pages) {
            p.item = nullptr;
            for (LayerTreeGroupInfo& g : p.groups) {
                g.item = nullptr;
                for (LayerTreeLayerInfo& l : g.layers) l.item = nullptr;
            }
        }
        if (row < 0 || row >= TreeInfo().PageCount()) return;
        LayerTreePageInfo& p = TreeInfo().pages[row];
        p.item = Insert(TVI_ROOT, p.name, PageIconIndex(p.display, p.detect));
        for (LayerTreeGroupInfo& g : p.groups) {
            g.item = Insert(p.item, g.name, GroupIconIndex(g));
            for (LayerTreeLayerInfo& l : g.layers) {
                char text[kLayerNameSize + 16];
                LayerText(l, text, sizeof text);
                l.item = Insert(g.item, text, ImageOf(p, l));
            }
        }
        for (LayerTreeGroupInfo& g : p.groups)
            if (g.expanded) TreeView_Expand(Tree(), g.item, TVE_EXPAND);
        if (p.expanded) TreeView_Expand(Tree(), p.item, TVE_EXPAND);
    }

    // Refills the control for the row and selects a record (group or layer -1: the page's).
    void Refill(int row, int group, int layer)
    {
        if (row != g_slot.shownRow) return;
        TreeView_DeleteAllItems(Tree());
        FillLayerTree(row);
        const LayerTreePageInfo& p = TreeInfo().pages[row];
        HTREEITEM select = p.item;
        if (group >= 0 && group < static_cast<int>(p.groups.size())) {
            const LayerTreeGroupInfo& g = p.groups[group];
            select = g.item;
            if (layer >= 0 && layer < static_cast<int>(g.layers.size())) select = g.layers[layer].item;
        }
        if (select != nullptr) TreeView_SelectItem(Tree(), select);
    }

    LRESULT OnPageList(WORD code, WORD, HWND, BOOL&)
    {
        if (code != LBN_SELCHANGE) return 0;
        const int row = static_cast<int>(::SendMessageA(GetDlgItem(kPageList), LB_GETCURSEL, 0, 0));
        if (row < 0 || row >= TreeInfo().PageCount()) return 0;
        CloseEditor();
        g_slot.shownRow = m_list.shownRow = row;
        Refill(row, -1, -1);
        return 0;
    }

    // ---- toggles ----
    void Repaint()
    {
        CHostServiceSite& site = GetHostServiceSite();
        HWND view = site.ActiveView();
        if (view == nullptr) return;
        ::InvalidateRect(view, nullptr, TRUE);
        RepaintLayoutCells(view, site.ViewBlock(view));
    }

    // The page after a group or layer of it became shown: a detectable result switches the page on.
    void FollowLayerResult(LayerTreePageInfo& page, int display, int detect)
    {
        if (display && detect) page.display = page.detect = 1;
        if (display) SetImage(page.item, PageIconIndex(page.display, page.detect));
    }

    void WriteLayer(int row, int group, int layer)
    {
        if (m_list.WriteLayerFlags(row, group, layer, -1)) m_wrote = true;
    }

  public:
    void Toggle(HTREEITEM item, int kind, int button)
    {
        int row = 0, group = 0, layer = 0;
        const int level = m_list.FindItem(item, &row, &group, &layer);
        if (level == kLayerItemNone) return;
        m_wrote = false;
        LayerTreePageInfo& page = TreeInfo().pages[row];
        std::vector<int> others;
        for (int r : m_list.RowsSharingLayoutWith(row))
            if (TreeInfo().pages[r].page != page.page) others.push_back(r);
        if (level == kLayerItemPage) {
            if (kind != kLayerHitState) return;
            ToggleDisplayDetect(&page.display, &page.detect, button);
            SetImage(page.item, PageIconIndex(page.display, page.detect));
            SetPageDisplayed(page.page, page.display);
            SetPageDetectable(page.page, page.detect);
            m_wrote = true;
        } else if (level == kLayerItemGroup) {
            ToggleGroup(row, group, kind, button, others);
        } else {
            ToggleLayer(row, group, layer, kind, button, others);
        }
        if (m_wrote) Repaint();
    }

  private:
    void ToggleGroup(int row, int group, int kind, int button, const std::vector<int>& others)
    {
        LayerTreePageInfo& page = TreeInfo().pages[row];
        LayerTreeGroupInfo& g = page.groups[group];
        if (kind == kLayerHitInput || g.layers.empty()) return;
        int display = 0, detect = 0, lock = 0;
        if (kind == kLayerHitState) {
            bool allShown = true, allDetect = true, noneDetect = true;
            for (const LayerTreeLayerInfo& l : g.layers) {
                allShown = allShown && l.display;
                allDetect = allDetect && l.detect;
                noneDetect = noneDetect && !l.detect;
            }
            if (button == 0) {
                display = detect = (allShown && allDetect) ? 0 : 1;
            } else {
                display = (allShown && noneDetect) ? 0 : 1;
                detect = 0;
            }
        } else {
            bool allLocked = true;
            for (const LayerTreeLayerInfo& l : g.layers) allLocked = allLocked && l.lock;
            lock = allLocked ? 0 : 1;
        }
        auto apply = [&](int r, int gi, bool write) {
            LayerTreePageInfo& p = TreeInfo().pages[r];
            if (gi >= static_cast<int>(p.groups.size())) return;
            LayerTreeGroupInfo& target = p.groups[gi];
            for (int li = 0; li < static_cast<int>(target.layers.size()); ++li) {
                LayerTreeLayerInfo& l = target.layers[li];
                if (kind == kLayerHitState) {
                    l.display = display, l.detect = detect;
                } else {
                    l.lock = lock;
                }
                SetImage(l.item, ImageOf(p, l));
                if (write) WriteLayer(r, gi, li);
            }
            SetImage(target.item, GroupIconIndex(target));
            if (kind == kLayerHitState) FollowLayerResult(p, display, detect);
        };
        apply(row, group, true);
        for (int r : others) apply(r, group, false);
    }

    void ToggleLayer(int row, int group, int layer, int kind, int button, const std::vector<int>& others)
    {
        LayerTreePageInfo& page = TreeInfo().pages[row];
        LayerTreeGroupInfo& g = page.groups[group];
        LayerTreeLayerInfo& l = g.layers[layer];
        if (kind == kLayerHitState) {
            ToggleDisplayDetect(&l.display, &l.detect, button);
        } else if (kind == kLayerHitLock) {
            l.lock = !l.lock;
        } else if (kind == kLayerHitInput) {
            LayerTreeInfo& tree = TreeInfo();
            const int previousRow = m_list.RowOfPage(tree.currentPage);
            tree.currentPage = page.page;
            tree.currentLayer = l.number;
            if (l.itemId == 0) l.itemId = tree.idCounter++;
            tree.currentItemId = l.itemId;
            // The previous input layer shows its own state again.
            if (previousRow >= 0 && previousRow < tree.PageCount()) {
                LayerTreePageInfo& p = tree.pages[previousRow];
                for (LayerTreeGroupInfo& og : p.groups)
                    for (LayerTreeLayerInfo& ol : og.layers) SetImage(ol.item, ImageOf(p, ol));
            }
        }
        SetImage(l.item, ImageOf(page, l));
        WriteLayer(row, group, layer);
        SetImage(g.item, GroupIconIndex(g));
        if (kind != kLayerHitState) return;
        FollowLayerResult(page, l.display, l.detect);
        for (int r : others) {
            LayerTreePageInfo& p = TreeInfo().pages[r];
            if (group >= static_cast<int>(p.groups.size()) || layer >= static_cast<int>(p.groups[group].layers.size()))
                continue;
            LayerTreeLayerInfo& other = p.groups[group].layers[layer];
            ToggleDisplayDetect(&other.display, &other.detect, button);
            SetImage(other.item, ImageOf(p, other));
            SetImage(p.groups[group].item, GroupIconIndex(p.groups[group]));
            FollowLayerResult(p, other.display, other.detect);
        }
    }

    // ---- the in-place name editor ----
  public:
    void CloseEditor()
    {
        HWND editor = g_slot.editor;
        if (editor == nullptr) return;
        g_slot.editor = nullptr;
        ::DestroyWindow(editor);
    }

    void StartEdit(HTREEITEM item)
    {
        CloseEditor();
        int row = 0, group = 0, layer = 0;
        const int level = m_list.FindItem(item, &row, &group, &layer);
        if (level != kLayerItemGroup && level != kLayerItemLayer) return;
        LayerManagerSlot::EditRecord& e = g_slot.edit;
        e = LayerManagerSlot::EditRecord();
        e.item = item;
        e.row = row;
        e.group = group;
        const LayerTreeGroupInfo& g = TreeInfo().pages[row].groups[group];
        if (level == kLayerItemLayer) {
            e.index = layer;
            e.layer = g.layers[layer].number;
            DbcsCopy(e.text, sizeof e.text, g.layers[layer].name);
        } else {
            e.index = -1;
            DbcsCopy(e.text, sizeof e.text, g.name);
        }
        RECT label = {};
        std::memcpy(&label, &item, sizeof item);
        if (!::SendMessageA(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) return;
        RECT client;
        ::GetClientRect(Tree(), &client);
        int left = label.left, right = label.left + kGroupEditorWidth;
        if (level == kLayerItemLayer) left = label.left + m_numberWidth, right = client.right;
        left = std::max(0, left);
        right = std::min(static_cast<int>(client.right), right);
        HWND edit = ::CreateWindowExA(0, "EDIT", e.text, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, left,
                                      label.top, std::max(right - left, 20), 20, Tree(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditorId)),
                                      GetModuleHandleA(nullptr), nullptr);
        if (edit == nullptr) return;
        ::SendMessageA(edit, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), 0);
        ::SendMessageA(edit, EM_LIMITTEXT, level == kLayerItemGroup ? kGroupNameSize - 1 : 256, 0);
        m_editorProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerNameEditProc)));
        g_slot.editor = edit;
        ::SetFocus(edit);
    }

    WNDPROC EditorProc() const { return m_editorProc; }

    void FinishEdit(const LayerManagerSlot::EditRecord& e)
    {
        LayerTreePageInfo* page = m_list.Page(e.row);
        LayerTreeGroupInfo* g = page ? m_list.Group(e.row, e.group) : nullptr;
        if (g == nullptr) return;
        const std::vector<int> rows = m_list.RowsSharingLayoutWith(e.row);
        if (e.index >= 0) {
            if (e.text[0] == '\0') {
                GetCommandHost().ShowMessageBox(m_hWnd, "レイヤ名称に空白は設定できません。", "レイヤ設定",
                                                MB_OK | MB_ICONWARNING);
                return;
            }
            const std::string group = g->name;
            for (int r : rows) SetLayerInTree(m_list, r, e.layer, group.c_str(), e.text, true);
            return;
        }
        char name[kGroupNameSize];
        DbcsCopy(name, sizeof name, e.text);
        if (std::strcmp(name, g->name) == 0) return;
        for (int r : rows) {
            LayerTreeGroupInfo* target = m_list.Group(r, e.group);
            if (target == nullptr) continue;
            std::vector<std::pair<int, std::string>> layers;
            for (const LayerTreeLayerInfo& l : target->layers) layers.emplace_back(l.number, l.name);
            for (size_t i = 0; i < layers.size(); ++i)
                SetLayerInTree(m_list, r, layers[i].first, name, layers[i].second.c_str(), i + 1 == layers.size());
        }
    }

    // ---- clicks ----
    int HitTest(POINT point, HTREEITEM* item)
    {
        TVHITTESTINFO hit = {};
        hit.pt = point;
        *item = reinterpret_cast<HTREEITEM>(::SendMessageA(Tree(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (*item == nullptr) return kLayerHitGap;
        const int level = m_list.GetLayerTreeItemLevel(*item);
        if (level == kLayerItemNone) return kLayerHitGap;
        RECT label = {};
        std::memcpy(&label, item, sizeof *item);
        if (!::SendMessageA(Tree(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) return kLayerHitGap;
        return LayerTreeHitCodeAt(level, point.x, label.left - kImageWidth, label.left, m_numberWidth);
    }

    // Every item of the tree, parents before their children, in the order shown.
    static std::vector<HTREEITEM> AllItems(HWND tree)
    {
        std::vector<HTREEITEM> items, stack;
        for (HTREEITEM root = TreeView_GetRoot(tree); root != nullptr; root = TreeView_GetNextSibling(tree, root))
            stack.insert(stack.begin(), root);
        while (!stack.empty() && items.size() < 65536) {
            HTREEITEM item = stack.back();
            stack.pop_back();
            items.push_back(item);
            std::vector<HTREEITEM> children;
            for (HTREEITEM child = TreeView_GetChild(tree, item); child != nullptr; child = TreeView_GetNextSibling(tree, child))
                children.push_back(child);
            stack.insert(stack.end(), children.rbegin(), children.rend());
        }
        return items;
    }

    // The caret item, then each further marked item in the order shown.
    static std::vector<HTREEITEM> SelectedItems(HWND tree)
    {
        std::vector<HTREEITEM> selected;
        HTREEITEM caret = TreeView_GetSelection(tree);
        if (caret != nullptr) selected.push_back(caret);
        for (HTREEITEM item : AllItems(tree))
            if (item != caret && (TreeView_GetItemState(tree, item, TVIS_SELECTED) & TVIS_SELECTED)) selected.push_back(item);
        return selected;
    }

    static void UnmarkFurtherItems(HWND tree)
    {
        HTREEITEM caret = TreeView_GetSelection(tree);
        for (HTREEITEM item : AllItems(tree))
            if (item != caret && (TreeView_GetItemState(tree, item, TVIS_SELECTED) & TVIS_SELECTED))
                TreeView_SetItemState(tree, item, 0, TVIS_SELECTED);
    }

    // The tree's mouse and key messages; true when the control must not see the message.
    bool TreeMessage(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        HTREEITEM item = nullptr;
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            const int button = msg == WM_LBUTTONDOWN ? 0 : 1;
            const int code = HitTest(point, &item);
            if (m_multiSelect && button == 0 && (wParam & MK_CONTROL) && code == kLayerHitName) {
                // The platform's tree keeps one selected item only: a Ctrl+click on a name marks
                // or unmarks further items here.
                CloseEditor();
                if (item != TreeView_GetSelection(tree)) {
                    const bool marked = (TreeView_GetItemState(tree, item, TVIS_SELECTED) & TVIS_SELECTED) != 0;
                    TreeView_SetItemState(tree, item, marked ? 0 : TVIS_SELECTED, TVIS_SELECTED);
                }
                g_slot.lastClicked = nullptr;
                return true;
            }
            if (m_multiSelect) UnmarkFurtherItems(tree);
            if (code == kLayerHitName) {
                CloseEditor();
                if (item == g_slot.lastClicked) {
                    g_slot.lastClicked = nullptr;
                    if (m_list.GetLayerTreeItemLevel(item) == kLayerItemPage) return true;
                    TreeView_SelectItem(tree, item);
                    StartEdit(item);
                    return true;
                }
                if (button == 1) TreeView_SelectItem(tree, item);
                g_slot.lastClicked = item;
                return false;
            }
            if (code == kLayerHitState || code == kLayerHitInput || code == kLayerHitLock) {
                if (button == 1) TreeView_SelectItem(tree, item);
                Toggle(item, code, button);
                return false;
            }
            if (item != nullptr) TreeView_SelectItem(tree, item);
            g_slot.lastClicked = nullptr;
            return false;
        }
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK: {
            const int button = msg == WM_LBUTTONDBLCLK ? 0 : 1;
            const int code = HitTest(point, &item);
            if (code == kLayerHitState || code == kLayerHitInput || code == kLayerHitLock) {
                // The double click's second click toggles back.
                Toggle(item, code, button);
                return true;
            }
            if (code == kLayerHitName) {
                g_slot.lastClicked = nullptr;
                return false;
            }
            if (button == 1 && item != nullptr) TreeView_SelectItem(tree, item);
            return false;
        }
        case WM_KEYDOWN:
            if (wParam != VK_F2) return false;
            if (HTREEITEM selected = TreeView_GetSelection(tree)) StartEdit(selected);
            return true;
        case WM_VSCROLL:
            if (LOWORD(wParam) < 8) CloseEditor();
            return false;
        case WM_MOUSEWHEEL:
            CloseEditor();
            return false;
        case kEditDone:
            FinishEdit(*reinterpret_cast<const LayerManagerSlot::EditRecord*>(lParam));
            return true;
        default:
            return false;
        }
    }

  private:
    // ---- buttons ----
    LRESULT OnAddLayer(WORD, WORD, HWND, BOOL&)
    {
        CloseEditor();
        g_slot.addEditMode = 0;
        RunAddEditLayerDialog(Tree(), g_slot.addEditMode, m_list);
        return 0;
    }

    LRESULT OnEditLayer(WORD, WORD, HWND, BOOL&)
    {
        CloseEditor();
        std::vector<HTREEITEM> selected;
        if (m_multiSelect) selected = SelectedItems(Tree());
        if (selected.size() <= 1) {
            g_slot.addEditMode = 1;
            RunAddEditLayerDialog(Tree(), g_slot.addEditMode, m_list);
        } else {
            EditSelectedLayers(Tree(), selected, m_list);
        }
        return 0;
    }

    int Warn(const char* text)
    {
        return GetCommandHost().ShowMessageBox(m_hWnd, text, kDeleteCaption, MB_OK | MB_ICONWARNING);
    }

    // The used-layer question, asked once per opening; false when the deletion is abandoned.
    bool ConfirmUsed(const LayerTreeLayerInfo& l)
    {
        if (!l.used || m_deleteConfirmed) return true;
        if (GetCommandHost().ShowMessageBox(m_hWnd, "レイヤを削除すると要素も削除されますがよろしいですか？", kDeleteCaption,
                                            MB_OKCANCEL | MB_ICONWARNING) != IDOK)
            return false;
        m_deleteConfirmed = 1;
        return true;
    }

    LRESULT OnDelete(WORD, WORD, HWND, BOOL&)
    {
        CloseEditor();
        HTREEITEM item = TreeView_GetSelection(Tree());
        if (item == nullptr) return 0;
        int row = 0, group = 0, layer = 0;
        const int level = m_list.FindItem(item, &row, &group, &layer);
        if (level == kLayerItemNone) return 0;
        if (level == kLayerItemPage) {
            Warn("ページは削除できません。");
            return 0;
        }
        const std::vector<int> rows = m_list.RowsSharingLayoutWith(row);
        const int number = TreeInfo().pages[row].groups[group].layers[level == kLayerItemLayer ? layer : 0].number;
        // Every check on every page before the first removal.
        for (int r : rows) {
            const LayerTreePageInfo& p = TreeInfo().pages[r];
            if (group >= static_cast<int>(p.groups.size())) return 0;
            const LayerTreeGroupInfo& g = p.groups[group];
            if (level == kLayerItemGroup) {
                if (p.groups.size() == 1) {
                    Warn("レイヤ数が0になるため削除できません。");
                    return 0;
                }
                for (const LayerTreeLayerInfo& l : g.layers) {
                    if (IsInput(p, l)) {
                        Warn("入力レイヤを含むグループは削除できません。");
                        return 0;
                    }
                }
                for (const LayerTreeLayerInfo& l : g.layers)
                    if (!ConfirmUsed(l)) return 0;
            } else {
                int gi = 0, li = 0;
                if (!m_list.FindLayer(r, number, &gi, &li)) continue;
                const LayerTreeLayerInfo& l = p.groups[gi].layers[li];
                if (IsInput(p, l)) {
                    Warn("入力レイヤは削除できません。");
                    return 0;
                }
                if (!ConfirmUsed(l)) return 0;
                if (p.groups.size() == 1 && p.groups[0].layers.size() == 1) {
                    Warn("レイヤ数が0になるため削除できません。");
                    return 0;
                }
            }
        }
        for (int r : rows) {
            if (level == kLayerItemGroup) {
                std::vector<int> numbers;
                for (const LayerTreeLayerInfo& l : TreeInfo().pages[r].groups[group].layers) numbers.push_back(l.number);
                for (size_t i = numbers.size(); i-- > 0;) RemoveLayerFromTree(m_list, r, numbers[i], i == 0);
            } else {
                int gi = 0, li = 0;
                if (!m_list.FindLayer(r, number, &gi, &li)) continue;
                m_list.WriteLayerFlags(r, gi, li, 0);
                RemoveLayerFromTree(m_list, r, number, true);
            }
        }
        if (level == kLayerItemLayer) Repaint();
        return 0;
    }

    LRESULT OnAllOnOff(WORD, WORD id, HWND, BOOL&)
    {
        CloseEditor();
        const int on = id == kAllOn ? 1 : 0;
        bool wrote = false;
        for (int r = 0; r < TreeInfo().PageCount(); ++r) {
            LayerTreePageInfo& p = TreeInfo().pages[r];
            p.display = p.detect = on;
            for (int gi = 0; gi < static_cast<int>(p.groups.size()); ++gi) {
                LayerTreeGroupInfo& g = p.groups[gi];
                for (int li = 0; li < static_cast<int>(g.layers.size()); ++li) {
                    g.layers[li].display = g.layers[li].detect = on;
                    SetImage(g.layers[li].item, ImageOf(p, g.layers[li]));
                    wrote = m_list.WriteLayerFlags(r, gi, li, -1) != 0;
                }
                SetImage(g.item, GroupIconIndex(g));
            }
            SetImage(p.item, on ? 2 : 0);
        }
        if (wrote) Repaint();
        return 0;
    }

    LRESULT OnPatterns(WORD, WORD, HWND, BOOL&)
    {
        CloseEditor();
        if (RunLayerPatternDialog(m_hWnd, m_list) == 1) Refill(g_slot.shownRow, -1, -1);
        return 0;
    }

    LRESULT OnSplit(WORD, WORD, HWND, BOOL&)
    {
        if (HWND panel = GetToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, 3314, 0);
        return 0;
    }

    // ---- ending ----
    void ApplyChanges()
    {
        CloseEditor();
        LayerTreeInfo& tree = TreeInfo();
        if (GetCadSystem().config.LAYDLG_INPLAYFG != 0) {
            int g = 0, l = 0;
            const int row = m_list.RowOfPage(tree.currentPage);
            if (m_list.FindLayer(row, tree.currentLayer, &g, &l))
                tree.pages[row].groups[g].layers[l].display = tree.pages[row].groups[g].layers[l].detect = 1;
        }
        WriteLayerTreeToDb(tree);
        if (HWND panel = GetToolPanelWindow()) {
            ::SendMessageA(panel, WM_USER + 2, tree.currentPage, tree.currentLayer);
            ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(200, 100), 0);
            ::SendMessageA(panel, WM_USER, 0, 0);
        }
        GetCadSystem().SetCurrentLayer(tree.currentPage, tree.currentLayer);
        CHostServiceSite& site = GetHostServiceSite();
        if (HWND main = site.MainWindow()) ::SendMessageA(main, WM_CAD_REDRAW_VIEW, 0, 0);
        HWND view = site.ActiveView();
        site.SetDrawingModified(view);
        RepaintLayoutCells(view, site.ViewBlock(view));
    }

    bool EditorHasFocus()
    {
        return g_slot.editor != nullptr && ::GetFocus() == g_slot.editor && ::IsWindowVisible(g_slot.editor);
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        if (EditorHasFocus()) {
            ::SendMessageA(g_slot.editor, WM_KEYDOWN, VK_RETURN, 0);
            return 0;
        }
        if (::GetFocus() != GetDlgItem(IDOK)) return 0;
        ApplyChanges();
        EndDialog(1);
        return 0;
    }

    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&)
    {
        // The close box keeps every change, as OK does.
        ApplyChanges();
        EndDialog(1);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        HWND focus = ::GetFocus();
        bool ends = false;
        for (int id : {static_cast<int>(IDOK), static_cast<int>(IDCANCEL), kTree, kAllOn, kDelete, kAllOff, kPatterns})
            ends = ends || focus == GetDlgItem(id);
        if (!ends) {
            // Escape in the name editor or the page list only leaves them.
            CloseEditor();
            ::SetFocus(Tree());
            return 0;
        }
        CloseEditor();
        m_list.RestoreLayerBlocks();
        // The page bits a page toggle wrote go back too.
        PageStateInfo now;
        if (GetPageState(&now)) {
            std::memcpy(now.displayMask, m_savedPageState.displayMask, sizeof now.displayMask);
            std::memcpy(now.detectMask, m_savedPageState.detectMask, sizeof now.detectMask);
            SetPageState(&now);
        }
        Repaint();
        EndDialog(2);
        return 0;
    }

    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        CloseEditor();
        if (g_slot.oldTreeProc != nullptr)
            ::SetWindowLongPtrA(Tree(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_slot.oldTreeProc));
        TreeView_SetImageList(Tree(), nullptr, TVSIL_NORMAL);
        if (m_stateImages != nullptr) ImageList_Destroy(m_stateImages);
        if (m_legendImages != nullptr) ImageList_Destroy(m_legendImages);
        m_stateImages = m_legendImages = nullptr;
        FreeLayerPageTree(TreeInfo());
        g_slot.dialog = nullptr;
        g_slot.oldTreeProc = nullptr;
        g_slot.lastClicked = nullptr;
        handled = FALSE;
        return 0;
    }

    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

    // ---- size and legend ----
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (m_initialWidth == 0) return 0;
        info->ptMinTrackSize.x = info->ptMaxTrackSize.x = m_initialWidth;
        info->ptMinTrackSize.y = m_initialHeight;
        info->ptMaxTrackSize.y = std::max(m_initialHeight, ::GetSystemMetrics(SM_CYFULLSCREEN));
        return 0;
    }

    LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        if (m_initialWidth == 0) return 0;
        const int width = LOWORD(lParam), height = HIWORD(lParam);
        for (int id : kButtonColumn) {
            RECT r = ChildRect(id);
            ::SetWindowPos(GetDlgItem(id), nullptr, width - m_okRight - (r.right - r.left), r.top, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER);
        }
        RECT tree = ChildRect(kTree);
        ::SetWindowPos(Tree(), nullptr, 0, 0, width - m_treeRight - tree.left, height - m_treeBottom - tree.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        for (size_t i = 0; i < std::size(kLegendControls); ++i)
            ::SetWindowPos(GetDlgItem(kLegendControls[i]), nullptr, m_legendLeft[i], height - m_legendBottom[i], 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        return 0;
    }

    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&)
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        RECT box = ChildRect(kLegendBox);
        box.top += 6;
        ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        HFONT font = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
        HGDIOBJ old = ::SelectObject(dc, font);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        for (size_t i = 0; i < std::size(kLegendTexts); ++i) {
            RECT r = ChildRect(kLegendTexts[i]);
            if (m_legendImages != nullptr)
                ImageList_Draw(m_legendImages, static_cast<int>(i), dc, r.left - 20, r.top - 1, ILD_TRANSPARENT);
            char text[64] = "";
            ::GetDlgItemTextA(m_hWnd, kLegendTexts[i], text, sizeof text);
            ::TextOutA(dc, r.left, r.top + 2, text, static_cast<int>(std::strlen(text)));
        }
        ::SelectObject(dc, old);
        ::DeleteObject(font);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }

    CLayerPageList m_list;
    HIMAGELIST m_stateImages = nullptr, m_legendImages = nullptr;
    int m_initialWidth = 0, m_initialHeight = 0;
    int m_okRight = 0, m_treeRight = 0, m_treeBottom = 0;
    int m_legendLeft[std::size(kLegendControls)] = {};
    int m_legendBottom[std::size(kLegendControls)] = {};
    int m_multiSelect = 0;
    int m_deleteConfirmed = 0;
    int m_numberWidth = 30;
    bool m_wrote = false;
    WNDPROC m_editorProc = nullptr;
    PageStateInfo m_savedPageState{};
};

LRESULT CALLBACK CLayerManagerDlg::LayerTreeProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = g_slot.oldTreeProc;
    if (g_manager != nullptr && g_manager->TreeMessage(tree, msg, wParam, lParam)) return 0;
    return old != nullptr ? ::CallWindowProcA(old, tree, msg, wParam, lParam) : ::DefWindowProcA(tree, msg, wParam, lParam);
}

LRESULT CALLBACK CLayerManagerDlg::LayerNameEditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = g_manager != nullptr ? g_manager->EditorProc() : nullptr;
    auto call = [&] { return old != nullptr ? ::CallWindowProcA(old, edit, msg, wParam, lParam) : ::DefWindowProcA(edit, msg, wParam, lParam); };
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | call();
    case WM_SETFOCUS: {
        const LRESULT result = call();
        ::SendMessageA(edit, EM_SETSEL, 0, -1);
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = call();
        if (g_slot.editor == edit && g_manager != nullptr) g_manager->CloseEditor();
        return result;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            ::GetWindowTextA(edit, g_slot.edit.text, sizeof g_slot.edit.text);
            ::PostMessageA(::GetParent(edit), kEditDone, 0, reinterpret_cast<LPARAM>(&g_slot.edit));
            HWND tree = ::GetParent(edit);
            if (g_manager != nullptr) g_manager->CloseEditor();
            ::SetFocus(tree);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            HWND tree = ::GetParent(edit);
            if (g_manager != nullptr) g_manager->CloseEditor();
            ::SetFocus(tree);
            return 0;
        }
        return call();
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
        return call();
    case WM_DESTROY:
        if (::GetCapture() == edit) ::ReleaseCapture();
        return call();
    default:
        return call();
    }
}

}  // namespace

LayerManagerSlot& GetLayerManagerSlot() { return g_slot; }

int LayerIconIndex(int display, int detect, int usage, int lock)
{
    if (usage < 0 || usage > 2) usage = 0;
    int base = 0;
    if (!display && !detect) base = 4;
    else if (display && !detect) base = 7;
    else if (display && detect) base = 10;
    else return 0;
    return base + usage + (lock ? 9 : 0);
}

int GroupIconIndex(const LayerTreeGroupInfo& group)
{
    int shown = 0, detectable = 0, locked = 0;
    for (const LayerTreeLayerInfo& l : group.layers) {
        shown += l.display != 0;
        detectable += l.detect != 0;
        locked += l.lock != 0;
    }
    const int count = static_cast<int>(group.layers.size());
    const int lockOffset = count > 0 && locked == count ? 4 : 0;
    int image = 25;
    if (shown == 0 && detectable == 0) image = 22;
    else if (shown == count && detectable == 0) image = 23;
    else if (shown == count && detectable == count) image = 24;
    return image + lockOffset;
}

int PageIconIndex(int display, int detect) { return !display ? 0 : detect ? 2 : 1; }

int LayerTreeHitCodeAt(int level, int x, int imageLeft, int labelLeft, int numberWidth)
{
    const int at = x - imageLeft;
    if (at < 0) return kLayerHitIndent;
    switch (level) {
    case kLayerItemPage:
        if (at < 26) return kLayerHitState;
        break;
    case kLayerItemGroup:
        if (at < 14) return kLayerHitState;
        if (at < 35) return kLayerHitLock;
        break;
    case kLayerItemLayer:
        if (at < 14) return kLayerHitInput;
        if (at < 28) return kLayerHitState;
        if (at < kImageWidth) return kLayerHitLock;
        if (x >= labelLeft && x < labelLeft + numberWidth) return kLayerHitNumber;
        break;
    default:
        return kLayerHitGap;
    }
    return x < labelLeft ? kLayerHitGap : kLayerHitName;
}

void ToggleDisplayDetect(int* display, int* detect, int button)
{
    if (button == 0) {
        const int on = (*display && *detect) ? 0 : 1;
        *display = *detect = on;
    } else {
        *display = (*display && !*detect) ? 0 : 1;
        *detect = 0;
    }
}

INT_PTR ShowLayerManagerDialog(HWND owner)
{
    if (g_manager != nullptr) return 2;
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    if (block == nullptr || block->engineDb == nullptr) return 2;
    CLayerManagerDlg dialog;
    g_manager = &dialog;
    const INT_PTR result = dialog.DoModal(owner);
    g_manager = nullptr;
    return result;
}
