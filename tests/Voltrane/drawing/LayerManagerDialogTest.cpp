// The layer manager: its state pictures and hit regions as tables, and the dialog driven as a
// user drives it, by clicks on the tree's icons and names, keys in the name editor and its
// buttons, over an engine database behind a hidden view.
#include "GTest.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "TempFolder.h"
#include "PageTestSupport.h"
#include "drawing/LayerManagerDialog.h"
#include "drawing/LayerPatternFile.h"
#include "drawing/LayerPageTree.h"
#include "drawing/PageOperations.h"

namespace {

TEST(LayerManagerPictures, LayerImagesByStateUsageAndLock)
{
    const struct {
        int display, detect, usage, lock, image;
    } cases[] = {{0, 0, 0, 0, 4},  {0, 0, 2, 0, 6},  {1, 0, 1, 0, 8},  {1, 1, 0, 0, 10}, {1, 1, 2, 0, 12},
                 {0, 0, 0, 1, 13}, {1, 0, 2, 1, 18}, {1, 1, 1, 1, 20}, {0, 1, 1, 0, 0},  {0, 1, 0, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LayerIconIndex(c.display, c.detect, c.usage, c.lock), c.image)
            << c.display << c.detect << c.usage << c.lock;
    EXPECT_EQ(PageIconIndex(0, 0), 0);
    EXPECT_EQ(PageIconIndex(0, 1), 0);
    EXPECT_EQ(PageIconIndex(1, 0), 1);
    EXPECT_EQ(PageIconIndex(1, 1), 2);
}

TEST(LayerManagerPictures, GroupImagesFromItsLayers)
{
    // Each layer as "display detect lock".
    const struct {
        std::vector<const char*> layers;
        int image;
    } cases[] = {{{"000", "000"}, 22}, {{"100", "100"}, 23}, {{"110", "110"}, 24}, {{"100", "000"}, 25},
                 {{"110", "100"}, 25}, {{"001", "001"}, 26}, {{"111", "111"}, 28}, {{"111", "110"}, 24},
                 {{"101", "011"}, 29}};
    for (const auto& c : cases) {
        LayerTreeGroupInfo g;
        for (const char* l : c.layers) {
            LayerTreeLayerInfo layer;
            layer.display = l[0] == '1', layer.detect = l[1] == '1', layer.lock = l[2] == '1';
            g.layers.push_back(layer);
        }
        EXPECT_EQ(GroupIconIndex(g), c.image) << c.layers[0] << " " << c.layers[1];
    }
}

TEST(LayerManagerPictures, HitRegionsOfEachLevel)
{
    // A row whose picture starts at 100 and whose label starts at 145, numbers 30 wide.
    const struct {
        int level, x, code;
    } cases[] = {{0, 99, kLayerHitIndent}, {0, 100, kLayerHitState}, {0, 125, kLayerHitState}, {0, 130, kLayerHitGap},
                 {0, 145, kLayerHitName},  {1, 50, kLayerHitIndent},  {1, 105, kLayerHitState}, {1, 115, kLayerHitLock},
                 {1, 140, kLayerHitGap},   {1, 200, kLayerHitName},   {2, 100, kLayerHitInput}, {2, 113, kLayerHitInput},
                 {2, 114, kLayerHitState}, {2, 127, kLayerHitState},  {2, 128, kLayerHitLock},  {2, 141, kLayerHitLock},
                 {2, 143, kLayerHitGap},   {2, 150, kLayerHitNumber}, {2, 175, kLayerHitName},  {-1, 120, kLayerHitGap}};
    for (const auto& c : cases)
        EXPECT_EQ(LayerTreeHitCodeAt(c.level, c.x, 100, 145, 30), c.code) << c.level << " " << c.x;
}

TEST(LayerManagerPictures, DisplayToggleOfEachButton)
{
    const struct {
        int display, detect, button, display2, detect2;
    } cases[] = {{1, 1, 0, 0, 0}, {0, 0, 0, 1, 1}, {1, 0, 0, 1, 1}, {1, 0, 1, 0, 0},
                 {0, 0, 1, 1, 0}, {1, 1, 1, 1, 0}, {0, 1, 0, 1, 1}};
    for (const auto& c : cases) {
        int display = c.display, detect = c.detect;
        ToggleDisplayDetect(&display, &detect, c.button);
        EXPECT_EQ(display, c.display2) << c.display << c.detect << c.button;
        EXPECT_EQ(detect, c.detect2) << c.display << c.detect << c.button;
    }
}

TEST(LayerManagerPictures, AMissingPictureIsTheStandInIconAndKeepsEveryIndex)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string installed = program;
    installed = installed.substr(0, installed.rfind('\\') + 1) + "Images\\LayIcon\\";
    TempFolder folder;
    ASSERT_TRUE(CopyFileA((installed + "001.bmp").c_str(), folder.File("001.bmp").c_str(), FALSE)) << installed;
    std::string path = folder.Path();
    path.pop_back();
    HIMAGELIST list = LoadLayerPictures(path, 42, 30, "%s\\%03d.bmp");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 30);
    // The middle of the sheet: yellow in the page picture shown only, white in the stand-in.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 100, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ImageList_Draw(list, 0, dc, 0, 0, ILD_NORMAL);
    ImageList_Draw(list, 1, dc, 50, 0, ILD_NORMAL);
    const COLORREF standIn = GetPixel(dc, 30, 12), loaded = GetPixel(dc, 60, 12);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    ImageList_Destroy(list);
    EXPECT_EQ(loaded, RGB(0xF0, 0xC0, 0x20));
    EXPECT_EQ(standIn, RGB(255, 255, 255));
}

// ---- the dialog as a user drives it ----

const char kCaption[] = "レイヤ選択（指定後 [OK] ｸﾘｯｸしてください。）";
INT_PTR RunManager(std::function<void(HWND)> script)
{
    INT_PTR result = -1;
    EXPECT_TRUE(RunDialogScript(kCaption, std::move(script), [&] { result = ShowLayerManagerDialog(nullptr); }))
        << "the manager never showed";
    return result;
}

HWND TreeOf(HWND dialog) { return GetDlgItem(dialog, 1131); }

// Where a part of an item lies: its state picture starts where its label starts less the
// picture's width.
POINT PointOn(HWND tree, HTREEITEM item, int fromPicture)
{
    RECT label = {};
    std::memcpy(&label, &item, sizeof item);
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
    return {label.left - 42 + fromPicture, (label.top + label.bottom) / 2};
}

POINT LabelPoint(HWND tree, HTREEITEM item, int fromLabel)
{
    RECT label = {};
    std::memcpy(&label, &item, sizeof item);
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
    return {label.left + fromLabel, (label.top + label.bottom) / 2};
}

enum Click { kLeft, kRight, kDoubleLeft };

void ClickAt(HWND tree, POINT p, Click click)
{
    const LPARAM at = MAKELPARAM(p.x, p.y);
    if (click == kRight) {
        PostMessageA(tree, WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageA(tree, WM_RBUTTONUP, 0, at);
    } else {
        PostMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(tree, WM_LBUTTONUP, 0, at);
        if (click == kDoubleLeft) {
            PostMessageA(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            PostMessageA(tree, WM_LBUTTONUP, 0, at);
        }
    }
    DrainMessages();
}

void Press(HWND window, int id)
{
    SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0);
    DrainMessages();
}

// A user's click on a line of the page list.
void ShowPageRow(HWND dialog, int row)
{
    HWND list = GetDlgItem(dialog, 1136);
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    DrainMessages();
}

class LayerManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The tree follows a pressed button's real pointer to tell a click from a drag: keep the
        // pointer off the dialog, so the posted clicks are the only mouse input it sees.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
    }
    void TearDown() override
    {
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
    void SetState(int page, int layer, int display, int detect)
    {
        LayerInfoBlock& b = Info(page)->layers;
        const uint16_t bit = static_cast<uint16_t>(1u << (layer % 16));
        b.displayMask[layer / 16] = display ? (b.displayMask[layer / 16] | bit) : (b.displayMask[layer / 16] & ~bit);
        b.detectMask[layer / 16] = detect ? (b.detectMask[layer / 16] | bit) : (b.detectMask[layer / 16] & ~bit);
    }
    // "display detect" of a layer in the engine.
    std::string Engine(int page, int layer)
    {
        const LayerInfoBlock& b = Info(page)->layers;
        auto bit = [&](const uint16_t* m) { return ((m[layer / 16] >> (layer % 16)) & 1u) ? '1' : '0'; };
        return std::string{bit(b.displayMask), bit(b.detectMask)};
    }
    std::string EngineName(int page, int layer)
    {
        char name[260] = "";
        ZUriGetLayerName(page, layer, 1, name, db());
        return name;
    }
    void MakeIndependent(int page)
    {
        auto record = std::make_unique<EnginePageRecord>();
        ASSERT_EQ(ZUriGetPage(page, record.get(), db()), 1);
        record->externalReference = 1;
        ASSERT_EQ(ZUriChgPage(page, record.get(), db()), 1);
    }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
};

// The record of a layer in the manager's tree, null when it is not there.
LayerTreeLayerInfo* TreeLayer(int row, int number)
{
    LayerTreeInfo& tree = GetLayerManagerSlot().tree;
    if (row >= tree.PageCount()) return nullptr;
    for (LayerTreeGroupInfo& g : tree.pages[row].groups)
        for (LayerTreeLayerInfo& l : g.layers)
            if (l.number == number) return &l;
    return nullptr;
}

std::string TreeState(int row, int number)
{
    LayerTreeLayerInfo* l = TreeLayer(row, number);
    return l == nullptr ? "none" : std::string{l->display ? '1' : '0', l->detect ? '1' : '0'};
}

TEST_F(LayerManagerTest, IconClicksToggleAtOnceAndADoubleClickUndoesItsFirstClick)
{
    Name(0, 3, "基本", "A");
    Name(0, 5, "照明", "A");
    Info(0)->layers.currentLayer = 3;
    std::vector<std::string> seen;
    bool onIcon = false;
    const INT_PTR result = RunManager([&](HWND dialog) {
        HWND tree = TreeOf(dialog);
        HTREEITEM item = TreeLayer(0, 5)->item;
        ASSERT_NE(item, nullptr);
        // The state picture's part lies on the control's own icon.
        TVHITTESTINFO hit = {};
        hit.pt = PointOn(tree, item, 20);
        SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        onIcon = hit.hItem == item && (hit.flags & TVHT_ONITEMICON) != 0;
        for (Click click : {kLeft, kLeft, kRight, kRight, kRight, kRight, kDoubleLeft}) {
            ClickAt(tree, PointOn(tree, item, 20), click);
            seen.push_back(TreeState(0, 5) + "/" + Engine(0, 5));
        }
        // The input picture makes the layer the input layer; the lock picture locks it.
        ClickAt(tree, PointOn(tree, item, 5), kLeft);
        ClickAt(tree, PointOn(tree, item, 35), kLeft);
        EXPECT_EQ(GetLayerManagerSlot().tree.currentLayer, 5);
        EXPECT_EQ(TreeLayer(0, 5)->lock, 1);
        EXPECT_TRUE((Info(0)->layers.lockMask[0] >> 5) & 1u) << "the lock is written at once";
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(onIcon);
    EXPECT_EQ(seen, (std::vector<std::string>{"00/00", "11/11", "10/10", "00/00", "10/10", "00/00", "00/00"}));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Info(0)->layers.currentLayer, 5) << "OK makes the chosen input layer current";
    EXPECT_EQ(Engine(0, 5), "00");
    EXPECT_EQ(GetLayerManagerSlot().dialog, nullptr);
    EXPECT_EQ(GetLayerManagerSlot().tree.PageCount(), 0) << "the tree is freed";
}

TEST_F(LayerManagerTest, GroupClicksSwitchAllItsLayers)
{
    Name(0, 3, "a", "A");
    Name(0, 4, "b", "A");
    SetState(0, 4, 1, 0);
    std::vector<std::string> seen;
    RunManager([&](HWND dialog) {
        HWND tree = TreeOf(dialog);
        HTREEITEM group = GetLayerManagerSlot().tree.pages[0].groups[0].item;
        for (Click click : {kRight, kRight, kLeft, kLeft}) {
            ClickAt(tree, PointOn(tree, group, 5), click);
            seen.push_back(Engine(0, 3) + Engine(0, 4));
        }
        ClickAt(tree, PointOn(tree, group, 20), kLeft);
        EXPECT_EQ(TreeLayer(0, 3)->lock + TreeLayer(0, 4)->lock, 2);
        Press(dialog, IDCANCEL);
    });
    // Mixed → shown only; all shown only → hidden; → shown and detectable; → hidden.
    EXPECT_EQ(seen, (std::vector<std::string>{"1010", "0000", "1111", "0000"}));
    EXPECT_EQ(Engine(0, 4), "10") << "Cancel puts the masks back";
    EXPECT_EQ(Info(0)->layers.lockMask[0], 0);
}

TEST_F(LayerManagerTest, ToggleReachesThePagesThatFollowPageZeroWhenTheyShareTheLayout)
{
    for (bool shared : {true, false}) {
        SCOPED_TRACE(shared ? "shared layout" : "different layouts");
        TestDrawing other;
        TestViewSite otherSite;
        otherSite.AddView(other);
        SetHostServiceSite(&otherSite);
        auto info = [&](int page) { return static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, other.db())); };
        ASSERT_EQ(AddPage(1, 0), 1);
        ASSERT_EQ(AddPage(2, 0), 1);
        for (int page : {0, 1, 2}) {
            for (int layer : {3, 4}) {
                ASSERT_EQ(ZUriSetLayerName(page, layer, "n", other.db()), 1);
                std::strcpy(info(page)->layers.groupNames[layer], "A");
                info(page)->layers.displayMask[0] |= 0x18;
                info(page)->layers.detectMask[0] |= 0x18;
            }
        }
        info(2)->layers.detectMask[0] &= ~0x10;  // page 2: layer 4 shown only
        if (!shared) {
            ASSERT_EQ(ZUriSetLayerName(2, 9, "extra", other.db()), 1);
        }
        std::string page1, page2;
        ASSERT_EQ(RunManager([&](HWND dialog) {
                      ShowPageRow(dialog, 1);
                      EXPECT_EQ(GetLayerManagerSlot().shownRow, 1);
                      HWND tree = TreeOf(dialog);
                      ClickAt(tree, PointOn(tree, TreeLayer(1, 4)->item, 20), kLeft);
                      page1 = TreeState(1, 4);
                      page2 = TreeState(2, 4);
                      EXPECT_EQ(TreeState(0, 4), "11") << "page 0 keeps its own";
                      EXPECT_EQ((info(2)->layers.detectMask[0] >> 4) & 1u, 0u) << "other pages wait for OK";
                      Press(dialog, IDOK);
                  }),
                  1);
        EXPECT_EQ(page1, "00");
        // Page 2's layer is toggled by its own state: shown only → shown and detectable.
        EXPECT_EQ(page2, shared ? "11" : "10");
        EXPECT_EQ((info(2)->layers.detectMask[0] >> 4) & 1u, shared ? 1u : 0u);
        EXPECT_EQ((info(1)->layers.displayMask[0] >> 4) & 1u, 0u);
        SetHostServiceSite(&site);
    }
}

TEST_F(LayerManagerTest, DeletionsAreRefusedWhereTheyWouldBreakThePage)
{
    Name(0, 3, "入力", "A");
    Name(0, 5, "b", "A");
    Name(0, 7, "c", "B");
    Name(0, 8, "d", "B");
    AppendTestElement(db(), kElementLine, 7, 0);
    AppendTestElement(db(), kElementLine, 8, 0);
    Info(0)->layers.currentLayer = 3;
    ASSERT_EQ(AddPage(1, 0), 1);
    MakeIndependent(1);
    Name(1, 2, "only", "");
    std::vector<std::string> questions;
    ASSERT_EQ(RunManager([&](HWND dialog) {
                  HWND tree = TreeOf(dialog);
                  LayerTreeInfo& t = GetLayerManagerSlot().tree;
                  auto deleteItem = [&](HTREEITEM item) {
                      host.messages.clear();
                      TreeView_SelectItem(tree, item);
                      Press(dialog, 1000);
                      return host.messages.empty() ? std::string() : host.messages[0];
                  };
                  EXPECT_EQ(deleteItem(t.pages[0].item), "ページは削除できません。");
                  EXPECT_EQ(deleteItem(t.pages[0].groups[0].item), "入力レイヤを含むグループは削除できません。");
                  EXPECT_EQ(deleteItem(TreeLayer(0, 3)->item), "入力レイヤは削除できません。");
                  // The used-layer question: Cancel abandons, OK is remembered for the opening.
                  host.answer = IDCANCEL;
                  questions.push_back(deleteItem(TreeLayer(0, 7)->item));
                  EXPECT_NE(TreeLayer(0, 7), nullptr);
                  host.answer = IDOK;
                  questions.push_back(deleteItem(TreeLayer(0, 7)->item));
                  EXPECT_EQ(TreeLayer(0, 7), nullptr);
                  EXPECT_EQ(Engine(0, 7), "00") << "a deleted layer is hidden at once";
                  questions.push_back(deleteItem(TreeLayer(0, 8)->item));
                  EXPECT_EQ(t.pages[0].groups.size(), 1u) << "its group went with its last layer";
                  // A page left without layers.
                  ShowPageRow(dialog, 1);
                  EXPECT_EQ(deleteItem(TreeLayer(1, 2)->item), "レイヤ数が0になるため削除できません。");
                  EXPECT_EQ(deleteItem(t.pages[1].groups[0].item), "レイヤ数が0になるため削除できません。");
                  EXPECT_EQ(host.captions.back(), "削除");
                  Press(dialog, IDOK);
              }),
              1);
    const std::string question = "レイヤを削除すると要素も削除されますがよろしいですか？";
    EXPECT_EQ(questions, (std::vector<std::string>{question, question, ""}));
    EXPECT_EQ(EngineName(0, 7), "");
    EXPECT_EQ(EngineName(0, 3), "入力");
    EXPECT_EQ(EngineName(1, 2), "only");
    int left = 0;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db()); e; e = ZUriReadElement(e, 1, nullptr, db())) ++left;
    EXPECT_EQ(left, 0) << "the elements of the deleted layers went on OK";
}

TEST_F(LayerManagerTest, NameEditorTakesEnterAndEscapeWithoutClosingTheDialog)
{
    Name(0, 3, "a", "A");
    Name(0, 5, "照明", "A");
    Info(0)->layers.currentLayer = 3;
    ASSERT_EQ(RunManager([&](HWND dialog) {
                  HWND tree = TreeOf(dialog);
                  LayerManagerSlot& slot = GetLayerManagerSlot();
                  // Two clicks on the name: the second starts the editor.
                  HTREEITEM item = TreeLayer(0, 5)->item;
                  ClickAt(tree, LabelPoint(tree, item, 60), kLeft);
                  EXPECT_EQ(slot.editor, nullptr);
                  ClickAt(tree, LabelPoint(tree, item, 60), kLeft);
                  ASSERT_NE(slot.editor, nullptr);
                  char text[64] = "";
                  GetWindowTextA(slot.editor, text, sizeof text);
                  EXPECT_STREQ(text, "照明");
                  SetWindowTextA(slot.editor, "動力");
                  PostMessageA(slot.editor, WM_KEYDOWN, VK_RETURN, 0);
                  DrainMessages();
                  EXPECT_EQ(slot.editor, nullptr);
                  EXPECT_STREQ(TreeLayer(0, 5)->name, "動力");
                  EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter does not close the dialog";

                  // F2 edits the selected layer; Escape leaves the name as it was.
                  TreeView_SelectItem(tree, TreeLayer(0, 5)->item);
                  PostMessageA(tree, WM_KEYDOWN, VK_F2, 0);
                  DrainMessages();
                  ASSERT_NE(slot.editor, nullptr);
                  SetWindowTextA(slot.editor, "捨てる");
                  PostMessageA(slot.editor, WM_KEYDOWN, VK_ESCAPE, 0);
                  DrainMessages();
                  EXPECT_EQ(slot.editor, nullptr);
                  EXPECT_STREQ(TreeLayer(0, 5)->name, "動力");
                  EXPECT_EQ(GetFocus(), tree);
                  EXPECT_TRUE(IsWindowVisible(dialog));

                  // An empty name is refused.
                  PostMessageA(tree, WM_KEYDOWN, VK_F2, 0);
                  DrainMessages();
                  ASSERT_NE(slot.editor, nullptr);
                  SetWindowTextA(slot.editor, "");
                  PostMessageA(slot.editor, WM_KEYDOWN, VK_RETURN, 0);
                  DrainMessages();
                  EXPECT_STREQ(TreeLayer(0, 5)->name, "動力");
                  ASSERT_FALSE(host.messages.empty());
                  EXPECT_EQ(host.messages.back(), "レイヤ名称に空白は設定できません。");
                  EXPECT_EQ(host.captions.back(), "レイヤ設定");

                  // A group takes a new name for all its layers.
                  TreeView_SelectItem(tree, slot.tree.pages[0].groups[0].item);
                  PostMessageA(tree, WM_KEYDOWN, VK_F2, 0);
                  DrainMessages();
                  ASSERT_NE(slot.editor, nullptr);
                  SetWindowTextA(slot.editor, "幹線");
                  PostMessageA(slot.editor, WM_KEYDOWN, VK_RETURN, 0);
                  DrainMessages();
                  ASSERT_EQ(slot.tree.pages[0].groups.size(), 1u);
                  EXPECT_STREQ(slot.tree.pages[0].groups[0].name, "幹線");
                  Press(dialog, IDOK);
              }),
              1);
    EXPECT_EQ(EngineName(0, 5), "動力");
    EXPECT_STREQ(Info(0)->layers.groupNames[3], "幹線");
}

TEST_F(LayerManagerTest, CancelPutsBackMasksAndPageBitsAndTheCloseBoxApplies)
{
    Name(0, 3, "a", "A");
    Name(0, 5, "b", "A");
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(IsPageDisplayed(0), 1);
    ASSERT_EQ(RunManager([&](HWND dialog) {
                  HWND tree = TreeOf(dialog);
                  LayerManagerSlot& slot = GetLayerManagerSlot();
                  ClickAt(tree, PointOn(tree, slot.tree.pages[0].item, 10), kLeft);
                  EXPECT_EQ(IsPageDisplayed(0) + IsPageDetectable(0), 0) << "a page toggle is written at once";
                  ClickAt(tree, PointOn(tree, TreeLayer(0, 5)->item, 20), kLeft);
                  EXPECT_EQ(Engine(0, 5), "00");
                  Press(dialog, 203);  // all on
                  Press(dialog, 207);  // all off
                  EXPECT_EQ(Engine(0, 3), "00");
                  Press(dialog, IDCANCEL);
              }),
              2);
    EXPECT_EQ(Engine(0, 3), "11");
    EXPECT_EQ(Engine(0, 5), "11");
    EXPECT_EQ(IsPageDisplayed(0), 1);
    EXPECT_EQ(IsPageDisplayed(1), 1) << "All OFF reached the other page only in the tree";

    // The close box keeps the changes, as OK does.
    EXPECT_EQ(RunManager([&](HWND dialog) {
                  HWND tree = TreeOf(dialog);
                  ClickAt(tree, PointOn(tree, TreeLayer(0, 5)->item, 20), kRight);
                  SendMessageA(dialog, WM_CLOSE, 0, 0);
              }),
              1);
    EXPECT_EQ(Engine(0, 5), "10");
    EXPECT_EQ(site.ViewBlock(site.active)->modified, 1);
}

// ---- the dialogs the manager opens ----

// Presses a button of the manager that opens a dialog, which the script then answers.
void PressAndAnswer(HWND manager, int id, const char* caption, std::function<void(HWND)> script)
{
    EXPECT_TRUE(RunDialogScript(caption, std::move(script), [&] { Press(manager, id); })) << caption << " never showed";
}

std::string Layout(int row)
{
    std::string out;
    for (const LayerTreeGroupInfo& g : GetLayerManagerSlot().tree.pages[row].groups) {
        if (!out.empty()) out += " | ";
        out += std::string(g.name) + ":";
        for (const LayerTreeLayerInfo& l : g.layers) out += " " + std::to_string(l.number);
    }
    return out;
}

const char kAddCaption[] = "レイヤ追加（指定後 [OK] ｸﾘｯｸしてください。）";

TEST_F(LayerManagerTest, AddAndEditButtonsChangeTheTreeAndOkWritesIt)
{
    Name(0, 3, "a", "A");
    Name(0, 5, "b", "A");
    Info(0)->layers.currentLayer = 3;
    std::string proposed;
    ASSERT_EQ(RunManager([&](HWND dialog) {
                  HWND tree = TreeOf(dialog);
                  TreeView_SelectItem(tree, TreeLayer(0, 3)->item);
                  PressAndAnswer(dialog, 200, kAddCaption, [&](HWND add) {
                      char text[32] = "";
                      GetDlgItemTextA(add, 300, text, sizeof text);
                      proposed = text;
                      // A number already on the page is refused and the dialog stays.
                      SetDlgItemTextA(add, 300, "   6");
                      Press(add, IDOK);
                      EXPECT_TRUE(IsWindowVisible(add));
                      EXPECT_EQ(host.messages.back(), "指定のレイヤ番号は存在しています。");
                      SetDlgItemTextA(add, 300, "  10");
                      SetDlgItemTextA(add, 303, "B");
                      SetDlgItemTextA(add, 302, "十");
                      Press(add, IDOK);
                  });
                  EXPECT_EQ(Layout(0), "A: 3 5 | B: 9");
                  // Editing a layer: its name and group; the number stays.
                  TreeView_SelectItem(tree, TreeLayer(0, 5)->item);
                  PressAndAnswer(dialog, 204, "レイヤ編集", [&](HWND edit) {
                      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(edit, 300)));
                      SetDlgItemTextA(edit, 303, "B");
                      SetDlgItemTextA(edit, 302, "五番");
                      Press(edit, IDOK);
                  });
                  EXPECT_EQ(Layout(0), "A: 3 | B: 5 9");
                  EXPECT_STREQ(TreeLayer(0, 5)->name, "五番");
                  Press(dialog, IDOK);
              }),
              1);
    EXPECT_EQ(proposed, "   5") << "the first free number after the selected layer";
    EXPECT_EQ(EngineName(0, 9), "十");
    EXPECT_STREQ(Info(0)->layers.groupNames[5], "B");
    EXPECT_EQ(EngineName(0, 5), "五番");
}

// A Ctrl+click on further names selects several layers; the edit button then moves all of them
// into one group. A plain click drops the further ones again.
TEST_F(LayerManagerTest, CtrlClicksSelectSeveralLayersAndTheEditMovesThemTogether)
{
    Name(0, 3, "a", "A");
    Name(0, 5, "b", "A");
    Name(0, 7, "c", "A");
    auto clickName = [](HWND tree, HTREEITEM item, WPARAM keys) {
        RECT label = {};
        std::memcpy(&label, &item, sizeof item);
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
        const LPARAM at = MAKELPARAM(label.right - 3, (label.top + label.bottom) / 2);
        SendMessageA(tree, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageA(tree, WM_LBUTTONUP, keys, at);
        DrainMessages();
    };
    bool groupOnly = false;
    ASSERT_EQ(RunManager([&](HWND dialog) {
                  HWND tree = TreeOf(dialog);
                  TreeView_SelectItem(tree, TreeLayer(0, 3)->item);
                  clickName(tree, TreeLayer(0, 7)->item, MK_CONTROL);
                  EXPECT_TRUE(TreeView_GetItemState(tree, TreeLayer(0, 7)->item, TVIS_SELECTED) & TVIS_SELECTED);
                  // A plain click drops the further selection.
                  clickName(tree, TreeLayer(0, 5)->item, 0);
                  if (TreeView_GetSelection(tree) != TreeLayer(0, 7)->item)
                      EXPECT_FALSE(TreeView_GetItemState(tree, TreeLayer(0, 7)->item, TVIS_SELECTED) & TVIS_SELECTED);
                  TreeView_SelectItem(tree, TreeLayer(0, 3)->item);
                  clickName(tree, TreeLayer(0, 7)->item, MK_CONTROL);
                  EXPECT_EQ(TreeView_GetSelection(tree), TreeLayer(0, 3)->item) << "the caret stays";
                  PressAndAnswer(dialog, 204, "レイヤ編集", [&](HWND edit) {
                      groupOnly = !IsWindowEnabled(GetDlgItem(edit, 302));
                      SetDlgItemTextA(edit, 303, "B");
                      Press(edit, IDOK);
                  });
                  EXPECT_EQ(Layout(0), "B: 3 7 | A: 5");
                  Press(dialog, IDCANCEL);
              }),
              2);
    EXPECT_TRUE(groupOnly) << "several layers edit only their group";
}

TEST_F(LayerManagerTest, PatternListSavesThePageAndLoadsItBack)
{
    TempFolder folder;
    SetLayerPatternFilePath(folder.File("LayerPtn.ini"));
    Name(0, 3, "a", "A");
    Name(0, 5, "b", "B");
    Name(0, 7, "c", "B");
    Info(0)->layers.currentLayer = 3;
    std::string preview;
    ASSERT_EQ(RunManager([&](HWND dialog) {
                  PressAndAnswer(dialog, 202, "パターン一覧", [&](HWND list) {
                      SetDlgItemTextA(list, 404, "二群");
                      Press(list, 401);
                      EXPECT_EQ(SendMessageA(GetDlgItem(list, 403), LB_GETCOUNT, 0, 0), 1);
                  });
                  // The page changes, then the pattern brings it back.
                  TreeView_SelectItem(TreeOf(dialog), TreeLayer(0, 7)->item);
                  Press(dialog, 1000);
                  EXPECT_EQ(Layout(0), "A: 3 | B: 5");
                  PressAndAnswer(dialog, 202, "パターン一覧", [&](HWND list) {
                      HWND names = GetDlgItem(list, 403);
                      SendMessageA(names, LB_SETCURSEL, 0, 0);
                      SendMessageA(list, WM_COMMAND, MAKEWPARAM(403, LBN_SELCHANGE), reinterpret_cast<LPARAM>(names));
                      char text[256] = "";
                      GetDlgItemTextA(list, 407, text, sizeof text);
                      preview = text;
                      Press(list, 400);
                  });
                  EXPECT_EQ(Layout(0), "A: 3 | B: 5 7");
                  EXPECT_NE(TreeLayer(0, 7)->item, nullptr) << "the tree control is filled again";
                  Press(dialog, IDOK);
              }),
              1);
    EXPECT_EQ(preview, "   4 a\r\n   6 b\r\n   8 c\r\n");
    EXPECT_EQ(EngineName(0, 7), "c");
    SetLayerPatternFilePath("");
}

}  // namespace
