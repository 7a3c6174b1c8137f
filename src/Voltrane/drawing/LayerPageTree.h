// The layer page tree: the picture of a drawing's layers that the layer dialogs edit. Every
// page of the active drawing with its layer groups, and in each group its layers with their
// display, detect, lock and usage state. Built from the engine's per-page layer blocks and the
// page state, edited in memory, and written back whole.
//
// CLayerPageList is the checked access to a tree: an index outside the tree is reported to the
// user and answered with null, so the operation asking stops and nothing is changed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "EngineRecords.h"

constexpr int kLayerNameSize = 257;
constexpr int kGroupNameSize = kLayerGroupNameSize;  // 10 bytes and the terminator

struct LayerTreeLayerInfo {
    int number = 0;  // 0..1023
    int itemId = 0;  // 0 for layers made after the build
    int used = 0;
    int display = 0;
    int detect = 0;
    int lock = 0;
    HTREEITEM item = nullptr;
    char name[kLayerNameSize] = "";
};

struct LayerTreeGroupInfo {
    int firstLayer = 0;
    int itemId = 0;
    char name[kGroupNameSize] = "";
    int expanded = 0;
    HTREEITEM item = nullptr;
    std::vector<LayerTreeLayerInfo> layers;  // ascending numbers
};

struct LayerTreePageInfo {
    int page = 0;
    int spare = 0;
    int itemId = 0;
    int display = 0;
    int detect = 0;
    char name[kLayerNameSize] = "";
    int expanded = 0;
    HTREEITEM item = nullptr;
    std::vector<LayerTreeGroupInfo> groups;
    // 1: the page keeps its own layer set; 0: it follows page 0 (page 0 itself has 0).
    int independentLayers = 0;
};

// A page other than page 0 that keeps no layer set of its own: its layers follow page 0's.
inline bool FollowsPageZero(const LayerTreePageInfo& page) { return page.page != 0 && page.independentLayers == 0; }

struct LayerTreeInfo {
    int currentPage = 0;
    int currentLayer = 0;
    int currentItemId = 0;
    int idCounter = 0;
    std::vector<LayerTreePageInfo> pages;  // page 0 first, then the engine's page order

    int PageCount() const { return static_cast<int>(pages.size()); }
};

// ---- building ----
// Frees the tree and builds it from every page of the active drawing (empty without one).
void BuildLayerPageTree(LayerTreeInfo& tree);
// A one-page tree (page 0) from a caller's table laid out like a LayerInfoBlock.
void BuildLayerPageTreeFromTable(LayerTreeInfo& tree, const LayerInfoBlock& table);
// Rebuilds a built tree when a page has no groups or a group no layers.
void EnsureLayerPageTree(LayerTreeInfo& tree);
void FreeLayerPageTree(LayerTreeInfo& tree);
// The state of a layer in a page's information; 1 when it is listed (named or used). An
// unnamed used layer is named "レイヤ n" with n counted from 1.
int GetLayerState(const DbInfoBlock& info, int layer, const uint16_t* usage, int* display, int* detect, int* used,
                  int* lock, char* name /* kLayerNameSize */);

// The kind of a tree item: 0 page, 1 group, 2 layer, -1 not found.
enum LayerTreeItemKind { kLayerItemNone = -1, kLayerItemPage = 0, kLayerItemGroup = 1, kLayerItemLayer = 2 };

class CLayerPageList {
public:
    explicit CLayerPageList(LayerTreeInfo* tree = nullptr, HWND owner = nullptr) : m_tree(tree), m_owner(owner) {}
    virtual ~CLayerPageList() = default;

    void SetTree(LayerTreeInfo* tree) { m_tree = tree; }
    LayerTreeInfo* Tree() { return m_tree; }
    void SetOwner(HWND owner) { m_owner = owner; }
    // 0 none, 1 page, 2 group, 3 layer: the level of the last index outside the tree.
    int LastError() const { return m_lastError; }

    // Checked access: the record, or null after the message of its level.
    LayerTreePageInfo* Page(int row);
    LayerTreeGroupInfo* Group(int row, int group);
    LayerTreeLayerInfo* Layer(int row, int group, int layer);

    // The row of the page number, 0 when absent.
    int RowOfPage(int page) const;
    // The kind of the item and where it lies.
    int FindItem(HTREEITEM item, int* row, int* group, int* layer) const;
    int GetLayerTreeItemLevel(HTREEITEM item) const;
    // 1 when the number is on the page (the last match), its group and index; 0 otherwise.
    int FindLayer(int row, int number, int* group, int* layer);
    int HasLayer(int row, int number);
    // 1 when every page has the groups and layer numbers of page row 0 (names not compared).
    int AllPagesShareLayout() const;
    // The rows an edit of the row reaches: every page that follows page 0 when the row's page
    // does and all pages share one layout, else the row alone (none for a bad row).
    std::vector<int> RowsSharingLayoutWith(int row) const;
    int RowOfCurrentItem() const;
    int GroupOfCurrentItem() const;

    // Writes a layer's flags into its page's masks: mode -1 the layer's own display, detect
    // and lock; 0 clears display and detect; 1 sets both.
    int WriteLayerFlags(int row, int group, int layer, int mode);
    // Copies of every page's layer block, for a Cancel; restored only when the number of
    // copies equals the page count.
    int SaveLayerBlocks();
    int RestoreLayerBlocks();
    void DiscardSavedLayerBlocks() { m_saved.clear(); }
    size_t SavedBlockCount() const { return m_saved.size(); }

    // The layer manager's tree control: the row it shows and how to refill it, selecting a
    // record (group or layer index -1: none) afterwards.
    int shownRow = -1;
    std::function<void(int row, int group, int layer)> refill;

private:
    void Report(int kind);

    LayerTreeInfo* m_tree;
    HWND m_owner;
    int m_lastError = 0;
    std::vector<LayerInfoBlock> m_saved;
};

// ---- editing ----
// Inserts a layer into the group of that name (made when missing) on the row, or on every page
// that follows page 0 when allPages is set, the row follows page 0 and all pages share one
// layout. 1 done, 0 refused (a bad row, or the number already on a page).
int InsertLayerIntoTree(CLayerPageList& list, int row, int number, const char* group, const char* name, bool refresh,
                        bool allPages);
// Removes the layer; a group left empty goes with it. 1 removed, 0 not on the page.
int RemoveLayerFromTree(CLayerPageList& list, int row, int number, bool refresh);
// Gives the layer a group and a name. 1 done, 0 not on the page.
int SetLayerInTree(CLayerPageList& list, int row, int number, const char* group, const char* name, bool refresh);

// ---- engine ----
// Writes the whole tree into the active drawing; layers that were named and are no longer in
// the tree lose their names and elements. 1, or 0 without a drawing or pages.
int WriteLayerTreeToDb(LayerTreeInfo& tree);
// Deletes every element of the layer on the page, composites by their first plain member.
// The number deleted.
int DeleteLayerElements(int page, int layer);
