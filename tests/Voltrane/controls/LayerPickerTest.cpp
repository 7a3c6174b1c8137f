// The layer picker over a drawing made through the engine: the names it shows, the tree its
// dropped list paints, and a pick answered through the picker messages.
#include "GTest.h"

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "../drawing/PageTestSupport.h"
#include "DravikDb.h"
#include "KitTestHost.h"
#include "PixelCanvas.h"
#include "controls/LayerPicker.h"
#include "controls/PickerField.h"
#include "controls/PickerHost.h"
#include "drawing/PageOperations.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

void* g_db = nullptr;
HWND g_view = nullptr;
int g_pickMode = 0;
int g_focusReturns = 0;

constexpr COLORREF kRed = RGB(255, 0, 0);

// A memory bitmap to paint rows into and read back.
class RowCanvas : public PixelCanvas {
public:
    using PixelCanvas::PixelCanvas;
    // Whether the pixels from x to the right edge equal those of another canvas.
    bool SameFrom(const RowCanvas& other, int x0) const
    {
        for (int y = 0; y < height(); ++y)
            for (int x = x0; x < width(); ++x)
                if (At(x, y) != other.At(x, y)) return false;
        return true;
    }
    bool AnyOtherThan(COLORREF colour, int x0) const { return !All(x0, 0, width(), height(), colour); }
};

class LayerPickerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterLayerPickerClasses(Instance()); }
    void SetUp() override
    {
        m_saved = GetPickerHostCalls();
        site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&commands);
        g_db = drawing.db();
        g_view = site.active;
        g_pickMode = 0;
        g_focusReturns = 0;
        PickerHostCalls& calls = GetPickerHostCalls();
        calls.activeDb = [] { return g_db; };
        calls.activeView = [] { return g_view; };
        calls.layerPickMode = [] { return g_pickMode; };
        calls.restoreInputFocus = [] { ++g_focusReturns; };
    }
    void TearDown() override
    {
        GetPickerHostCalls() = m_saved;
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
    }

    DbInfoBlock* Info(int page) { return static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, drawing.db())); }
    void Name(int page, int layer, const char* name, const char* group)
    {
        ASSERT_EQ(ZUriSetLayerName(page, layer, name, drawing.db()), 1);
        std::strcpy(Info(page)->layers.groupNames[layer], group);
    }
    // Page 0 "表紙": group A with layers 3 and 7, group B with layer 5; page 2 "盤" with
    // nothing named. The current layer is 7 on page 0.
    void MakeDrawing()
    {
        std::strcpy(Info(0)->record.title, "表紙");
        Name(0, 3, "幹線3", "A");
        Name(0, 7, "幹線7", "A");
        Name(0, 5, "照明", "B");
        Info(0)->layers.currentLayer = 7;
        ASSERT_EQ(AddPage(2, 0), 1);
        std::strcpy(Info(2)->record.title, "盤");
    }
    HWND Field(int id = 40, int w = 160, int h = 30)
    {
        return host.Child("cmdlayerclass", id, 20, 20, w, h);
    }
    HWND Drop(HWND field)
    {
        SetCursorPos(1, 1);
        SetForegroundWindow(host.window());
        SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND list = nullptr;
        KitTestHost::PumpUntil([&] { return (list = KitTestHost::DroppedList(field, "vylayerwndclass")) != nullptr; });
        return list;
    }
    static HWND Combo(HWND field)
    {
        return GetDlgItem(FindWindowExA(field, nullptr, "vylayerwndclass", nullptr), kPickerComboId);
    }
    // Picks a row of the dropped list with the mouse and waits for the list to go.
    void PickRow(HWND field, HWND list, int row)
    {
        RECT r;
        GetWindowRect(list, &r);
        const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
        const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        const size_t before = host.Notices(field);
        KitTestHost::Click({r.left + 80, r.top + (row - top) * height + height / 2});
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return host.Notices(field) == before + 1; })) << row;
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return GetWindow(field, GW_CHILD) == nullptr; })) << row;
    }
    // How many pixels of the field's text area on screen (inside the frame, left of the drop
    // button) have the colour.
    static int PixelsOf(HWND field, COLORREF colour)
    {
        UpdateWindow(field);
        RECT rc;
        GetClientRect(field, &rc);
        HDC dc = GetDC(field);
        int n = 0;
        for (int y = 2; y < rc.bottom - 2; ++y)
            for (int x = 2; x < rc.right - 17; ++x) n += GetPixel(dc, x, y) == colour ? 1 : 0;
        ReleaseDC(field, dc);
        return n;
    }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost commands;
    KitTestHost host;
    PickerHostCalls m_saved;
};

TEST_F(LayerPickerTest, TheListShowsTheDrawingsPagesGroupsAndLayersAsATree)
{
    MakeDrawing();
    HWND field = Field();
    LayerTreeInfo* tree = LayerPickerTree(field);
    ASSERT_NE(tree, nullptr);
    char group[kGroupNameSize], layer[kLayerNameSize];
    bool red = true;
    LayerFieldTexts(*tree, group, layer, &red);
    EXPECT_STREQ(group, "A");
    EXPECT_STREQ(layer, "幹線7");
    EXPECT_FALSE(red);

    HWND list = Drop(field);
    ASSERT_NE(list, nullptr);
    HWND combo = Combo(field);
    RECT listRect, fieldRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(field, &fieldRect);
    EXPECT_EQ(listRect.top, fieldRect.bottom);
    EXPECT_EQ(listRect.right - listRect.left, 250);  // a 160-pixel field gets the minimum width
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 16);

    // Row by row: what the record is, its name, where the text starts and the tree's lines. A
    // row is 16 high, so s = 8, c = 4, the middle at 8; the page stem runs at x = 9, the group
    // stem at 28.
    const struct {
        int kind;
        const char* name;
        int textX;
        std::vector<POINT> ink, blank;
    } rows[] = {
        {kLayerItemPage, "表紙", 18, {{5, 4}, {13, 12}, {9, 15}}, {{9, 2}}},
        {kLayerItemGroup, "A", 37, {{9, 0}, {9, 15}, {16, 8}, {24, 4}, {28, 15}}, {{28, 2}}},
        {kLayerItemLayer, "幹線3", 48, {{9, 0}, {9, 15}, {28, 0}, {28, 15}, {40, 8}}, {}},
        {kLayerItemLayer, "幹線7", 48, {{9, 15}, {28, 0}, {28, 8}, {40, 8}}, {{28, 12}}},
        {kLayerItemGroup, "B", 37, {{9, 0}, {9, 8}, {16, 8}}, {{9, 12}}},
        {kLayerItemLayer, "照明", 48, {{28, 0}, {40, 8}}, {{9, 0}, {9, 8}, {28, 12}}},
        {kLayerItemPage, "盤", 18, {{5, 4}, {9, 15}}, {}},
        {kLayerItemGroup, "", 37, {{9, 0}, {16, 8}}, {{9, 12}}},
        {kLayerItemLayer, "レイヤ 1", 48, {{28, 0}, {40, 8}}, {{9, 0}, {28, 12}}},
    };
    const int count = static_cast<int>(sizeof rows / sizeof rows[0]);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), count);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3) << "the field's layer is selected";

    HWND popup = GetParent(combo);
    HFONT font = CreateFontA(12, 0, 0, 0, FW_DONTCARE, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    const COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_WINDOWTEXT);
    for (int r = 0; r < count; ++r) {
        const auto& row = rows[r];
        const LayerTreeRow found = FindLayerTreeRow(*tree, r);
        EXPECT_EQ(found.kind, row.kind) << r;
        // The row painted by the list's own drawing message into a memory bitmap.
        RowCanvas painted(250, 16);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = kPickerComboId;
        item.itemID = static_cast<UINT>(r);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = combo;
        item.hDC = painted.dc();
        item.rcItem = {0, 0, 250, 16};
        SendMessageA(popup, WM_DRAWITEM, kPickerComboId, reinterpret_cast<LPARAM>(&item));
        // The text: the same name written alone at the row's text position.
        RowCanvas expected(250, 16);
        RECT all = {0, 0, 250, 16};
        FillRect(expected.dc(), &all, GetSysColorBrush(COLOR_WINDOW));
        HGDIOBJ old = SelectObject(expected.dc(), font);
        SetBkMode(expected.dc(), TRANSPARENT);
        SetTextColor(expected.dc(), text);
        TextOutA(expected.dc(), row.textX, 2, row.name, static_cast<int>(strlen(row.name)));
        SelectObject(expected.dc(), old);
        EXPECT_TRUE(painted.SameFrom(expected, row.textX)) << r << " " << row.name;
        EXPECT_EQ(painted.AnyOtherThan(window, row.textX), row.name[0] != '\0') << r;
        for (POINT p : row.ink) EXPECT_EQ(painted.At(p.x, p.y), text) << r << " at " << p.x << "," << p.y;
        for (POINT p : row.blank) EXPECT_EQ(painted.At(p.x, p.y), window) << r << " at " << p.x << "," << p.y;
    }
    DeleteObject(font);
    // A row beyond the tree paints only its background.
    RowCanvas beyond(250, 16);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = kPickerComboId;
    item.itemID = static_cast<UINT>(count);
    item.hDC = beyond.dc();
    item.rcItem = {0, 0, 250, 16};
    SendMessageA(popup, WM_DRAWITEM, kPickerComboId, reinterpret_cast<LPARAM>(&item));
    EXPECT_FALSE(beyond.AnyOtherThan(window, 0));

    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return GetWindow(field, GW_CHILD) == nullptr; }));
    EXPECT_EQ(g_focusReturns, 1) << "the closed list gives the keyboard back";
}

TEST_F(LayerPickerTest, APickedRowAnswersThroughThePickerMessages)
{
    MakeDrawing();
    HWND field = Field();
    // A page row takes the first layer of its first group, a group row its first layer.
    const struct {
        int row, page, layer;
        const char* group;
        const char* name;
    } picks[] = {
        {4, 0, 5, "B", "照明"},
        {0, 0, 3, "A", "幹線3"},
        {3, 0, 7, "A", "幹線7"},
        {6, 2, 0, "", "レイヤ 1"},
        {8, 2, 0, "", "レイヤ 1"},
    };
    for (const auto& pick : picks) {
        HWND list = Drop(field);
        ASSERT_NE(list, nullptr) << pick.row;
        PickRow(field, list, pick.row);
        EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), pick.layer) << pick.row;
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), pick.page) << pick.row;
        char group[kGroupNameSize], layer[kLayerNameSize];
        bool red = true;
        LayerFieldTexts(*LayerPickerTree(field), group, layer, &red);
        EXPECT_STREQ(group, pick.group) << pick.row;
        EXPECT_STREQ(layer, pick.name) << pick.row;
        EXPECT_FALSE(red) << pick.row;
    }
    // The next list selects the layer picked last.
    ASSERT_NE(Drop(field), nullptr);
    EXPECT_EQ(SendMessageA(Combo(field), CB_GETCURSEL, 0, 0), 8);
    // Closed with Esc: the layer stays and the parent is told all the same.
    const size_t before = host.Notices(field);
    KitTestHost::Key(VK_ESCAPE);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return host.Notices(field) == before + 1; }));
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 0);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), 2);
}

TEST_F(LayerPickerTest, SetValueFindsTheLayersRowOrKeepsTheOldOne)
{
    MakeDrawing();
    HWND field = Field();
    LayerTreeInfo* tree = LayerPickerTree(field);
    ASSERT_NE(tree, nullptr);
    const struct {
        int page, layer, itemId;
    } cases[] = {
        {0, 5, 5},   // 照明
        {0, 3, 2},   // 幹線3
        {0, 9, 2},   // not in the tree: numbers stored, row kept
        {4, 3, 2},   // no such page
        {2, 0, 8},   // レイヤ 1 of page 2
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, c.page, c.layer), 1);
        EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), c.layer);
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), c.page);
        EXPECT_EQ(tree->currentItemId, c.itemId) << c.page << "/" << c.layer;
    }
    // Reloaded from the drawing: the drawing's current page and layer again.
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, 0), 1);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 7);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), 0);
    // From a caller's table: one page of its named layers.
    LayerInfoBlock table;
    std::memset(&table, 0, sizeof table);
    table.names[6] = "六";
    std::strcpy(table.groupNames[6], "T");
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, reinterpret_cast<LPARAM>(&table)), 1);
    ASSERT_EQ(LayerTreeRowCount(*tree), 3);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, 0, 6), 1);
    EXPECT_EQ(tree->currentItemId, 2);
}

TEST_F(LayerPickerTest, AnUnnamedLayerShowsItsNumberInRed)
{
    MakeDrawing();
    HWND field = Field();
    SendMessageA(field, WM_PICKER_SET_VALUE, 0, 7);
    EXPECT_EQ(PixelsOf(field, kRed), 0);
    const int text = PixelsOf(field, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_GT(text, 0) << "group and layer names";
    // Layer 4 has neither name nor group: "レイヤ 5" in red.
    SendMessageA(field, WM_PICKER_SET_VALUE, 0, 4);
    char group[kGroupNameSize], layer[kLayerNameSize];
    bool red = false;
    LayerFieldTexts(*LayerPickerTree(field), group, layer, &red);
    EXPECT_STREQ(group, "");
    EXPECT_STREQ(layer, "レイヤ 5");
    EXPECT_TRUE(red);
    EXPECT_GT(PixelsOf(field, kRed), 0);
    // A negative layer shows nothing at all.
    SendMessageA(field, WM_PICKER_SET_VALUE, 0, -1);
    LayerFieldTexts(*LayerPickerTree(field), group, layer, &red);
    EXPECT_STREQ(layer, "");
    EXPECT_EQ(PixelsOf(field, kRed), 0);
}

// A field destroyed with its list open: the list's context no longer names the freed tree.
TEST_F(LayerPickerTest, AFieldDestroyedWithItsListOpenLeavesNoTreeToStoreInto)
{
    MakeDrawing();
    HWND field = Field();
    ASSERT_NE(Drop(field), nullptr);
    ASSERT_EQ(LayerPickerContext().state, LayerPickerTree(field));
    DestroyWindow(field);
    KitTestHost::Drain();
    EXPECT_EQ(LayerPickerContext().state, nullptr);
    EXPECT_EQ(LayerPickerContext().openMark, 0);
}

TEST_F(LayerPickerTest, NothingOpensInPickModeOrWithoutADrawing)
{
    MakeDrawing();
    HWND field = Field();
    UpdateWindow(field);
    g_pickMode = 1;
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KitTestHost::Drain();
    EXPECT_EQ(GetWindow(field, GW_CHILD), nullptr) << "pick mode";
    g_pickMode = 0;
    HWND list = Drop(field);
    ASSERT_NE(list, nullptr) << "after the pick mode";
    SendMessageA(Combo(field), CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return GetWindow(field, GW_CHILD) == nullptr; }));

    // Without a drawing a click opens nothing and the field paints no names.
    const int textBefore = PixelsOf(field, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_GT(textBefore, 0);
    g_db = nullptr;
    InvalidateRect(field, nullptr, TRUE);
    EXPECT_EQ(PixelsOf(field, GetSysColor(COLOR_WINDOWTEXT)), 0);
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KitTestHost::Drain();
    EXPECT_EQ(GetWindow(field, GW_CHILD), nullptr) << "no drawing";
}

TEST_F(LayerPickerTest, WithoutItsTreeTheFieldAnswersNone)
{
    MakeDrawing();
    HWND field = Field();
    LayerTreeInfo* tree = LayerPickerTree(field);
    ASSERT_NE(tree, nullptr);
    // The field as one whose allocation failed: word 4 empty.
    SetWindowLongPtrA(field, 4, 0);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, 0), 0);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, 0, 3), 0);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), -1);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), -1);
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KitTestHost::Drain();
    EXPECT_EQ(GetWindow(field, GW_CHILD), nullptr);
    EXPECT_EQ(PixelsOf(field, GetSysColor(COLOR_WINDOWTEXT)), 0) << "frame and button only";
    DestroyWindow(field);
    FreeLayerPageTree(*tree);
    delete tree;
}

}  // namespace
