// The layer page tree over an engine database behind a hidden view: building, the checked
// access, editing and writing back.
#include "GTest.h"

#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "OwnWindows.h"
#include "PageTestSupport.h"
#include "drawing/LayerPageTree.h"
#include "drawing/PageOperations.h"

namespace {

bool Bit(const uint16_t* mask, int n) { return (mask[n / 16] >> (n % 16)) & 1u; }

class LayerPageTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
    }
    void TearDown() override
    {
        FreeLayerPageTree(tree);
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
    }
    void* db() { return drawing.db(); }
    DbInfoBlock* Info(int page) { return static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, db())); }
    void Name(int page, int layer, const char* name, const char* group)
    {
        ASSERT_EQ(ZUriSetLayerName(page, layer, name, db()), 1);
        std::strcpy(Info(page)->layers.groupNames[layer], group);
    }
    // "group: n n | group: n" of a page row.
    std::string Layout(int row)
    {
        std::string out;
        for (const LayerTreeGroupInfo& g : tree.pages[row].groups) {
            if (!out.empty()) out += " | ";
            out += std::string(g.name) + ":";
            for (const LayerTreeLayerInfo& l : g.layers) out += " " + std::to_string(l.number);
        }
        return out;
    }
    std::string EngineName(int page, int layer)
    {
        char name[260] = "";
        ZUriGetLayerName(page, layer, 1, name, db());
        return name;
    }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
    LayerTreeInfo tree;
    CLayerPageList list{&tree};
};

TEST_F(LayerPageTreeTest, GroupsInOrderOfFirstAppearance)
{
    Name(0, 3, "幹線3", "A");
    Name(0, 7, "幹線7", "A");
    Name(0, 5, "照明", "B");
    drawing.record.pageState.displayMask[0] = 1;
    BuildLayerPageTree(tree);
    ASSERT_EQ(tree.PageCount(), 1);
    EXPECT_EQ(Layout(0), "A: 3 7 | B: 5");
    EXPECT_EQ(tree.pages[0].groups[0].firstLayer, 3);
    EXPECT_EQ(tree.pages[0].display, 1);
    EXPECT_STREQ(tree.pages[0].groups[1].layers[0].name, "照明");

    // Layer 4 into a new group C goes between A (first layer 3) and B (first layer 5).
    ASSERT_EQ(InsertLayerIntoTree(list, 0, 4, "C", "新", false, false), 1);
    EXPECT_EQ(Layout(0), "A: 3 7 | C: 4 | B: 5");
    EXPECT_EQ(tree.pages[0].groups[1].expanded, 1);
    // Into an existing group, in number order.
    ASSERT_EQ(InsertLayerIntoTree(list, 0, 6, "A", "x", false, false), 1);
    EXPECT_EQ(Layout(0), "A: 3 6 7 | C: 4 | B: 5");
    EXPECT_EQ(InsertLayerIntoTree(list, 0, 6, "B", "twice", false, false), 0) << "already on the page";
}

TEST_F(LayerPageTreeTest, UnnamedEmptyPageShowsLayerOneAndNamesItOnTheCurrentPage)
{
    BuildLayerPageTree(tree);
    ASSERT_EQ(tree.PageCount(), 1);
    EXPECT_EQ(Layout(0), ": 0");
    EXPECT_STREQ(tree.pages[0].groups[0].layers[0].name, "レイヤ 1");
    EXPECT_EQ(tree.currentItemId, tree.pages[0].groups[0].layers[0].itemId);
    EXPECT_EQ(EngineName(0, 0), "レイヤ 1");
}

TEST_F(LayerPageTreeTest, UsedUnnamedLayersAreListedWithTheirNumber)
{
    AppendTestElement(db(), kElementLine, 9, 0);
    BuildLayerPageTree(tree);
    ASSERT_EQ(Layout(0), ": 9");
    EXPECT_STREQ(tree.pages[0].groups[0].layers[0].name, "レイヤ 10");
    EXPECT_EQ(tree.pages[0].groups[0].layers[0].used, 1);
    EXPECT_EQ(EngineName(0, 9), "") << "named in the engine only when written back";
    ASSERT_EQ(WriteLayerTreeToDb(tree), 1);
    EXPECT_EQ(EngineName(0, 9), "レイヤ 10");
}

TEST_F(LayerPageTreeTest, PagesFollowInEngineOrderWithTheirCaptions)
{
    ASSERT_EQ(AddPage(2, 0), 1);
    ASSERT_EQ(AddPage(5, 0), 1);
    std::strcpy(Info(2)->record.title, "盤");
    std::strcpy(Info(5)->record.remarks, "備考");
    Name(5, 1, "x", "G");
    drawing.record.pageState.currentPage = 5;
    Info(5)->layers.currentLayer = 1;
    BuildLayerPageTree(tree);
    ASSERT_EQ(tree.PageCount(), 3);
    EXPECT_EQ(tree.pages[1].page, 2);
    EXPECT_STREQ(tree.pages[1].name, "盤");
    EXPECT_STREQ(tree.pages[2].name, "備考");
    EXPECT_EQ(tree.currentPage, 5);
    EXPECT_EQ(tree.currentLayer, 1);
    EXPECT_EQ(list.RowOfCurrentItem(), 2);
    EXPECT_EQ(list.RowOfPage(5), 2);
    EXPECT_EQ(list.RowOfPage(9), 0);
    EXPECT_EQ(EngineName(0, 0), "") << "only the current page gets the default name";
}

TEST_F(LayerPageTreeTest, CurrentLayerOutsideTheLayersBecomesTheInitialOne)
{
    Name(0, 2, "b", "");
    AppendTestElement(db(), kElementLine, 4, 0);
    Info(0)->layers.currentLayer = 5000;
    BuildLayerPageTree(tree);
    EXPECT_EQ(tree.currentLayer, 2);
    EXPECT_EQ(tree.currentItemId, tree.pages[0].groups[0].layers[0].itemId);
}

TEST_F(LayerPageTreeTest, RemovingTheLastLayerOfAGroupRemovesTheGroup)
{
    Name(0, 3, "a", "A");
    Name(0, 5, "b", "B");
    Name(0, 6, "c", "B");
    BuildLayerPageTree(tree);
    std::vector<std::string> refills;
    list.shownRow = 0;
    list.refill = [&](int row, int g, int l) {
        refills.push_back(std::to_string(row) + " " + std::to_string(g) + " " + std::to_string(l));
    };
    ASSERT_EQ(RemoveLayerFromTree(list, 0, 3, true), 1);
    EXPECT_EQ(Layout(0), "B: 5 6");
    EXPECT_EQ(refills.back(), "0 0 -1") << "the group now at the removed index";
    ASSERT_EQ(RemoveLayerFromTree(list, 0, 6, true), 1);
    EXPECT_EQ(Layout(0), "B: 5");
    EXPECT_EQ(refills.back(), "0 0 0") << "the last layer when the removed one was last";
    EXPECT_EQ(RemoveLayerFromTree(list, 0, 99, true), 0);
    EXPECT_EQ(Layout(0), "B: 5");
    EXPECT_EQ(refills.size(), 2u);
}

TEST_F(LayerPageTreeTest, MovingTheOnlyLayerRenamesItsGroup)
{
    Name(0, 2, "only", "A");
    BuildLayerPageTree(tree);
    ASSERT_EQ(SetLayerInTree(list, 0, 2, "Z", "renamed", false), 1);
    EXPECT_EQ(Layout(0), "Z: 2");
    EXPECT_STREQ(tree.pages[0].groups[0].layers[0].name, "renamed");

    // With another layer the moved layer keeps its flags in its new group.
    Name(0, 4, "other", "A");
    BuildLayerPageTree(tree);
    ASSERT_EQ(Layout(0), "A: 2 4") << "the rename above was the tree's only";
    int g = 0, l = 0;
    ASSERT_EQ(list.FindLayer(0, 4, &g, &l), 1);
    tree.pages[0].groups[g].layers[l].lock = 1;
    ASSERT_EQ(SetLayerInTree(list, 0, 4, "Z", "moved", false), 1);
    EXPECT_EQ(Layout(0), "A: 2 | Z: 4");
    ASSERT_EQ(list.FindLayer(0, 4, &g, &l), 1);
    EXPECT_STREQ(tree.pages[0].groups[g].name, "Z");
    EXPECT_EQ(tree.pages[0].groups[g].layers[l].lock, 1);
    EXPECT_EQ(SetLayerInTree(list, 0, 77, "Z", "none", false), 0);
}

TEST_F(LayerPageTreeTest, GroupNamesAreCutOnACharacterBoundary)
{
    Name(0, 1, "a", "A");
    BuildLayerPageTree(tree);
    ASSERT_EQ(InsertLayerIntoTree(list, 0, 8, "x電源電源電源", "n", false, false), 1);
    int g = 0;
    ASSERT_EQ(list.FindLayer(0, 8, &g, nullptr), 1);
    EXPECT_STREQ(tree.pages[0].groups[g].name, "x電源電源");
    ASSERT_EQ(InsertLayerIntoTree(list, 0, 9, "0123456789AB", "n", false, false), 1);
    ASSERT_EQ(list.FindLayer(0, 9, &g, nullptr), 1);
    EXPECT_STREQ(tree.pages[0].groups[g].name, "0123456789");
}

TEST_F(LayerPageTreeTest, IndexOutsideTheTreeIsReportedAndAnsweredWithNothing)
{
    Name(0, 1, "a", "A");
    BuildLayerPageTree(tree);
    const struct {
        int row, group, layer;
        int kind;
        const char* message;
    } cases[] = {{1, 0, 0, 1, "レイヤ情報に問題が発生しました。(ページ)"},
                 {-1, 0, 0, 1, "レイヤ情報に問題が発生しました。(ページ)"},
                 {0, 1, 0, 2, "レイヤ情報に問題が発生しました。(グループ)"},
                 {0, 0, 5, 3, "レイヤ情報に問題が発生しました。(レイヤ)"}};
    for (const auto& c : cases) {
        host.messages.clear();
        EXPECT_EQ(list.Layer(c.row, c.group, c.layer), nullptr) << c.row << c.group << c.layer;
        EXPECT_EQ(list.LastError(), c.kind);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0], c.message);
        EXPECT_EQ(host.captions[0], "異常");
        // Nothing changes through a bad index.
        EXPECT_EQ(list.WriteLayerFlags(c.row, c.group, c.layer, 0), 0);
    }
    EXPECT_EQ(Bit(Info(0)->layers.displayMask, 1), true);
    EXPECT_EQ(InsertLayerIntoTree(list, 4, 2, "A", "n", false, false), 0);
}

TEST_F(LayerPageTreeTest, WriteLayerFlagsChangesOnlyThatLayer)
{
    Name(0, 17, "a", "A");
    BuildLayerPageTree(tree);
    LayerInfoBlock& b = Info(0)->layers;
    std::memset(b.displayMask, 0xFF, sizeof b.displayMask);
    std::memset(b.detectMask, 0xFF, sizeof b.detectMask);
    ASSERT_EQ(list.WriteLayerFlags(0, 0, 0, 0), 1);
    EXPECT_EQ(b.displayMask[1], 0xFFFD);
    EXPECT_EQ(b.detectMask[1], 0xFFFD);
    tree.pages[0].groups[0].layers[0].display = 1;
    tree.pages[0].groups[0].layers[0].lock = 1;
    ASSERT_EQ(list.WriteLayerFlags(0, 0, 0, -1), 1);
    EXPECT_EQ(b.displayMask[1], 0xFFFF);
    EXPECT_TRUE(Bit(b.lockMask, 17));
}

TEST_F(LayerPageTreeTest, WriteBackDeletesOnlyLayersRemovedInTheDialog)
{
    Name(0, 1, "keep", "A");
    Name(0, 2, "gone", "A");
    void* kept = AppendTestElement(db(), kElementLine, 1, 0);
    AppendTestElement(db(), kElementLine, 2, 0);
    AppendTestElement(db(), kElementRaster, 2, 0);
    AppendTestElement(db(), kElementImage, 2, 0);
    void* otherPage = AppendTestElement(db(), kElementLine, 2, 3);
    BuildLayerPageTree(tree);
    ASSERT_EQ(RemoveLayerFromTree(list, 0, 2, false), 1);
    tree.pages[0].groups[0].layers[0].display = 0;
    ASSERT_EQ(WriteLayerTreeToDb(tree), 1);
    EXPECT_EQ(EngineName(0, 1), "keep");
    EXPECT_EQ(EngineName(0, 2), "");
    std::vector<void*> left;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db()); e; e = ZUriReadElement(e, 1, nullptr, db()))
        left.push_back(e);
    EXPECT_EQ(left, (std::vector<void*>{kept, otherPage}));
    const LayerInfoBlock& b = Info(0)->layers;
    EXPECT_FALSE(Bit(b.displayMask, 1));
    EXPECT_TRUE(Bit(b.detectMask, 1));
    EXPECT_TRUE(Bit(b.displayMask, 2)) << "layers outside the tree are shown";
    EXPECT_EQ(site.ViewBlock(site.active)->modified, 1);
}

// A layer removed on a page that cannot be edited keeps its elements: the element services
// refuse the delete, and the other page's layer still goes.
TEST_F(LayerPageTreeTest, ALayerOnAPageThatCannotBeEditedKeepsItsElements)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    void* onPage1 = AppendTestElement(db(), kElementLine, 2, 1);
    AppendTestElement(db(), kElementLine, 2, 0);
    ASSERT_EQ(SetPageDetectable(1, 0), 1);
    EXPECT_EQ(DeleteLayerElements(1, 2), 0);
    EXPECT_EQ(DeleteLayerElements(0, 2), 1);
    std::vector<void*> left;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db()); e; e = ZUriReadElement(e, 1, nullptr, db()))
        left.push_back(e);
    EXPECT_EQ(left, std::vector<void*>{onPage1});
}

TEST_F(LayerPageTreeTest, SharedLayoutComparesNumbersNotNames)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    Name(0, 3, "a", "A");
    Name(1, 3, "b", "Other");
    BuildLayerPageTree(tree);
    EXPECT_EQ(list.AllPagesShareLayout(), 1);
    Name(1, 4, "c", "Other");
    BuildLayerPageTree(tree);
    EXPECT_EQ(list.AllPagesShareLayout(), 0);
}

TEST_F(LayerPageTreeTest, InsertIntoAllPagesThatFollowPageZero)
{
    for (int page : {1, 2}) ASSERT_EQ(AddPage(page, 0), 1);
    for (int page : {0, 1, 2}) Name(page, 3, "a", "A");
    BuildLayerPageTree(tree);
    ASSERT_EQ(InsertLayerIntoTree(list, 1, 8, "A", "n", false, true), 1);
    EXPECT_EQ(Layout(0), "A: 3");
    EXPECT_EQ(Layout(1), "A: 3 8");
    EXPECT_EQ(Layout(2), "A: 3 8");
}

TEST_F(LayerPageTreeTest, SavedBlocksComeBackOnCancel)
{
    Name(0, 3, "a", "A");
    BuildLayerPageTree(tree);
    ASSERT_EQ(list.SaveLayerBlocks(), 1);
    LayerInfoBlock& b = Info(0)->layers;
    const uint16_t before = b.displayMask[0];
    ASSERT_EQ(list.WriteLayerFlags(0, 0, 0, 0), 1);
    EXPECT_NE(b.displayMask[0], before);
    ASSERT_EQ(list.RestoreLayerBlocks(), 1);
    EXPECT_EQ(b.displayMask[0], before);
}

TEST_F(LayerPageTreeTest, TreeFromATable)
{
    LayerInfoBlock table;
    std::memset(&table, 0, sizeof table);
    table.names[4] = "四";
    table.names[2] = "二";
    std::strcpy(table.groupNames[4], "G");
    BuildLayerPageTreeFromTable(tree, table);
    ASSERT_EQ(tree.PageCount(), 1);
    EXPECT_EQ(Layout(0), ": 2 | G: 4");
    EXPECT_EQ(tree.pages[0].groups[0].layers[0].used, 1);
    // The ids number the rows: page, group "", layer 2, group G, layer 4.
    const LayerTreePageInfo& page = tree.pages[0];
    EXPECT_EQ(page.itemId, 0);
    EXPECT_EQ(page.groups[0].itemId, 1);
    EXPECT_EQ(page.groups[0].layers[0].itemId, 2);
    EXPECT_EQ(page.groups[1].itemId, 3);
    EXPECT_EQ(page.groups[1].layers[0].itemId, 4);
    LayerInfoBlock empty;
    std::memset(&empty, 0, sizeof empty);
    BuildLayerPageTreeFromTable(tree, empty);
    EXPECT_EQ(Layout(0), ":");
}

TEST_F(LayerPageTreeTest, WithoutADrawingTheTreeStaysEmpty)
{
    site.active = nullptr;
    BuildLayerPageTree(tree);
    EXPECT_EQ(tree.PageCount(), 0);
    EXPECT_EQ(WriteLayerTreeToDb(tree), 0);
    EXPECT_EQ(DeleteLayerElements(0, 1), 0);
}

}  // namespace

// ---- the current-layer dialog ----
#include "core/CadSystem.h"
#include "drawing/CurrentLayerDialog.h"

namespace {

TEST_F(LayerPageTreeTest, CurrentLayerListWithoutNamesShowsLayerOne)
{
    std::vector<std::string> lines;
    int selected = -5;
    std::string caption;
    ASSERT_EQ(BuildCurrentLayerLines(db(), lines, &selected, &caption), 0);
    EXPECT_EQ(lines, (std::vector<std::string>{"1    レイヤ 1"}));
    EXPECT_EQ(selected, 0);
    EXPECT_EQ(caption, "ﾍﾟｰｼﾞ:0");
    EXPECT_EQ(BuildCurrentLayerLines(nullptr, lines, &selected, &caption), -1);
}

TEST_F(LayerPageTreeTest, CurrentLayerListTakesNamedAndUsedLayers)
{
    ASSERT_EQ(AddPage(2, 0), 1);
    drawing.record.pageState.currentPage = 2;
    std::strcpy(Info(2)->record.title, "二階");
    Name(2, 11, "照明", "");
    Name(2, 3, "", "");  // an existing but empty name
    AppendTestElement(db(), kElementLine, 20, 2);
    AppendTestElement(db(), kElementLine, 30, 0);
    Info(2)->layers.currentLayer = 11;
    std::vector<std::string> lines;
    int selected = -1;
    std::string caption;
    ASSERT_EQ(BuildCurrentLayerLines(db(), lines, &selected, &caption), 0);
    const bool emptyNameKept = Info(2)->layers.names[3] != nullptr;
    std::vector<std::string> expected;
    if (emptyNameKept) expected.push_back("4    レイヤ 4");
    expected.push_back("12   照明");
    expected.push_back("21   レイヤ 21");
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(selected, emptyNameKept ? 1 : 0);
    EXPECT_EQ(caption, "ﾍﾟｰｼﾞ:二階");
    EXPECT_EQ(LayerOfCurrentLayerLine("12   照明"), 11);
    EXPECT_EQ(LayerOfCurrentLayerLine("x"), -1);
}

TEST_F(LayerPageTreeTest, SetCurrentLayerIsTheProgramsInputLayer)
{
    ASSERT_EQ(AddPage(4, 0), 1);
    GetCadSystem().SetCurrentLayer(4, 11);
    EXPECT_EQ(drawing.record.pageState.currentPage, 4);
    EXPECT_EQ(Info(4)->layers.currentLayer, 11);
    EXPECT_EQ(site.ViewBlock(site.active)->currentLayer, 11);
    EXPECT_EQ(GetCadSystem().currentLayer, 11);
    for (auto [page, layer] : {std::make_pair(4, 1024), std::make_pair(4, -1), std::make_pair(257, 1), std::make_pair(9, 1)}) {
        GetCadSystem().SetCurrentLayer(page, layer);
        EXPECT_EQ(Info(4)->layers.currentLayer, 11) << page << " " << layer;
        EXPECT_EQ(drawing.record.pageState.currentPage, 4);
    }
}

// Waits until the condition holds while the dialog's messages are handled.
template <class Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs = 5000)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetTickCount() - start > timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

TEST_F(LayerPageTreeTest, CurrentLayerDialogAsAUserUsesIt)
{
    Name(0, 0, "基本", "");
    Name(0, 11, "照明", "");
    HWND dialog = ShowCurrentLayerDialog(nullptr);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    HWND list = GetDlgItem(dialog, 1136);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 2);

    // Clicking the second line makes layer 11 current at once; the dialog stays.
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(PumpUntil([&] { return Info(0)->layers.currentLayer == 11; }));
    EXPECT_TRUE(IsWindowVisible(dialog));

    // Escape hides it; showing it again refills the list.
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(dialog));
    Name(0, 40, "追加", "");
    EXPECT_EQ(ShowCurrentLayerDialog(nullptr), dialog);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);

    // Never lower than half its first size; the list keeps at least 100 pixels.
    MINMAXINFO limits = {};
    SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    RECT window;
    GetWindowRect(dialog, &window);
    EXPECT_EQ(limits.ptMinTrackSize.x, (window.right - window.left) / 2);
    SetWindowPos(dialog, nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y, SWP_NOMOVE | SWP_NOZORDER);
    RECT listRect;
    GetClientRect(list, &listRect);
    EXPECT_GE(listRect.bottom, 100 - 4);
    DestroyCurrentLayerDialog();
    EXPECT_EQ(GetCurrentLayerDialogWindow(), nullptr);
}

}  // namespace

// ---- the tool panel's add-layer dialog ----
#include "drawing/AddLayerDialog.h"

namespace {

TEST_F(LayerPageTreeTest, AddedLayerReachesPageZeroAndThePagesThatFollowIt)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(3, 0), 1);
    auto record = std::make_unique<EnginePageRecord>();
    ASSERT_EQ(ZUriGetPage(3, record.get(), db()), 1);
    record->externalReference = 1;  // page 3 keeps its own layers
    ASSERT_EQ(ZUriChgPage(3, record.get(), db()), 1);
    int refusal = -1;
    ASSERT_EQ(AddLayerToActiveDrawing(4, "五", "電気電気電気", &refusal), 1);
    EXPECT_EQ(refusal, 0);
    EXPECT_EQ(EngineName(0, 4), "五");
    EXPECT_EQ(EngineName(1, 4), "五");
    EXPECT_EQ(EngineName(3, 4), "");
    EXPECT_STREQ(Info(1)->layers.groupNames[4], "電気電気電");
    EXPECT_TRUE(Bit(Info(1)->layers.displayMask, 4));

    // On page 3 only page 3 changes.
    drawing.record.pageState.currentPage = 3;
    ASSERT_EQ(AddLayerToActiveDrawing(6, "六", "", &refusal), 1);
    EXPECT_EQ(EngineName(3, 6), "六");
    EXPECT_EQ(EngineName(0, 6), "");

    const struct {
        int layer;
        const char* name;
        int refusal;
    } refused[] = {{-1, "x", 1}, {1024, "x", 1}, {6, "x", 2}, {7, "", 3}};
    for (const auto& c : refused) {
        EXPECT_EQ(AddLayerToActiveDrawing(c.layer, c.name, "", &refusal), 0) << c.layer;
        EXPECT_EQ(refusal, c.refusal) << c.layer;
    }
    EXPECT_STREQ(AddLayerRefusalText(1), "レイヤ番号は 1 ～ 1024 の範囲で設定してください。");
}

HWND FindAddLayer() { return FindOwnWindow("#32770", "レイヤ追加（指定後 [OK] ｸﾘｯｸしてください。）"); }

std::string g_proposed;

void CALLBACK TypeAndAccept(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindAddLayer();
    if (dialog == nullptr) return;
    KillTimer(nullptr, id);
    char text[64] = "";
    GetDlgItemTextA(dialog, 300, text, sizeof text);
    g_proposed = text;
    // A number with leading blanks, as the list has them.
    SetDlgItemTextA(dialog, 300, "   9");
    SetDlgItemTextA(dialog, 302, "九");
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

TEST_F(LayerPageTreeTest, AddLayerDialogAsAUserUsesIt)
{
    Name(0, 0, "基本", "");
    UINT_PTR timer = SetTimer(nullptr, 0, 50, TypeAndAccept);
    EXPECT_EQ(ShowAddLayerDialog(nullptr, &tree), 1);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_proposed, "   2") << "the first free number";
    EXPECT_EQ(EngineName(0, 8), "九");
    EXPECT_EQ(tree.PageCount(), 0) << "the dialog frees its tree";
}

}  // namespace
