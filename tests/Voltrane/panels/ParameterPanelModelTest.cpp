// The panel table through the real panel messages: the records are built here as a plug-in would
// build them and handed to the host-service object that answers the messages.
#include "GTest.h"

#include <cstring>
#include <initializer_list>
#include <string>

#include "HostMessages.h"
#include "HostRecords.h"
#include "TempFolder.h"
#include "commands/CommandControlMessages.h"
#include "commands/HostServiceFamilies.h"
#include "commands/InputWaitLoop.h"
#include "dialogs/Calculator.h"
#include "panels/AppPanel.h"
#include "panels/ParameterPanelItems.h"
#include "panels/ParameterPanelModel.h"

namespace {

LRESULT Send(UINT message, const void* record)
{
    CCadSysCmdPbox pbox;
    LRESULT result = -12345;
    EXPECT_TRUE(pbox.ProcessWindowMessage(nullptr, message, 0, reinterpret_cast<LPARAM>(record), result));
    return result;
}

LRESULT SendValue(UINT message, INT_PTR value)
{
    CCadSysCmdPbox pbox;
    LRESULT result = -12345;
    EXPECT_TRUE(pbox.ProcessWindowMessage(nullptr, message, 0, value, result));
    return result;
}

PboxAddRequest Add(int panel, int id, const char* text, INT_PTR extra = 0, int extra2 = 0)
{
    PboxAddRequest r = {};
    r.panel = panel;
    r.id = id;
    r.text = reinterpret_cast<INT_PTR>(text);
    r.x = 4;
    r.y = 40;
    r.width = 80;
    r.height = 20;
    r.extra = extra;
    r.extra2 = extra2;
    return r;
}

PboxItemRequest Item(int panel, int id, char* text = nullptr, int selector = 0, INT_PTR value = 0, int value40 = 0)
{
    PboxItemRequest r = {};
    r.panel = panel;
    r.id = id;
    r.text = text;
    r.selector = selector;
    r.value = value;
    r.value40 = value40;
    return r;
}

LRESULT UserData(const PboxItemRequest& r)
{
    return GetCommandControlServices().PboxItemUserData(0, reinterpret_cast<LPARAM>(&r));
}

// A colour file of the test's own behind the button colour lookup.
class FileColors : public CPboxColorSource {
public:
    explicit FileColors(std::string path) : m_path(std::move(path)) {}
    int commandId = 5123;
    int RunningCommandId() override { return commandId; }
    void Read(const char* section, const char* key, char* out) override
    {
        GetPrivateProfileStringA(section, key, "", out, 256, m_path.c_str());
    }

private:
    std::string m_path;
};

// No colour file at all: the program's own would look for the user's settings folder.
class NoColors : public CPboxColorSource {
public:
    int RunningCommandId() override { return 0; }
    void Read(const char*, const char*, char* out) override { out[0] = '\0'; }
};

class ParameterPanelModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        PboxCloseAllPanels();
        PboxSetColorSource(&noColors);
    }
    void TearDown() override
    {
        PboxCloseAllPanels();
        PboxSetColorSource(nullptr);
        PboxSetApplicationPanel(nullptr);
    }
    NoColors noColors;
    // Radio items of two choices with these ids, in slot order.
    static void AddRadios(int panel, std::initializer_list<int> ids)
    {
        for (int id : ids) {
            PboxAddRequest r = Add(panel, id, "X,Y", 2);
            ASSERT_EQ(Send(WM_PBOX_ADD_RADIO, &r), 1) << id;
        }
    }
    int Create(const char* caption = "テスト") { return static_cast<int>(SendValue(WM_PBOX_CREATE, reinterpret_cast<INT_PTR>(caption))); }
};

TEST_F(ParameterPanelModelTest, CreateHandsOutPanelsOneToFourThenNone)
{
    EXPECT_EQ(Create(), 1);
    EXPECT_EQ(Create(), 2);
    EXPECT_EQ(Create(), 3);
    EXPECT_EQ(Create(), 4);
    EXPECT_EQ(Create(), 0) << "a fifth panel while four are busy";
    EXPECT_EQ(SendValue(WM_PBOX_DESTROY, 2), 1);
    EXPECT_EQ(Create(), 2) << "a destroyed panel is free again";
}

TEST_F(ParameterPanelModelTest, CaptionIsKeptToSixtyThreeCharactersAndNullLeavesItEmpty)
{
    Create(std::string(70, 'c').c_str());
    EXPECT_EQ(std::string(PboxCaption()), std::string(63, 'c'));
    PboxCloseAllPanels();
    Create(nullptr);
    EXPECT_STREQ(PboxCaption(), "");
}

TEST_F(ParameterPanelModelTest, EveryAddMessageStoresItsType)
{
    const int panel = Create();
    char initial[] = "初期";
    const struct {
        UINT message;
        int type;
        INT_PTR extra;
        int extra2;
        int value;
        int value2;
    } cases[] = {
        {WM_PBOX_ADD_BUTTON, kPboxPushButton, 0, 0, 0, 0},
        {WM_PBOX_ADD_RADIO, kPboxRadioButton, 3, 0, 0, 3},
        {WM_PBOX_ADD_CHECK, kPboxCheckButton, 1, 0, 0, 1},
        {WM_PBOX_ADD_LIST, kPboxList, 2, 0, 2, 0},
        {WM_PBOX_ADD_LIST2, kPboxList, 1, 77, 1, 77},
        {WM_PBOX_ADD_EDIT, kPboxEdit, 0, 0, 0, 0},
        {WM_PBOX_ADD_TEXT, kPboxText, 0, 0, 0, 0},
        {WM_PBOX_ADD_COMBO, kPboxCombo, reinterpret_cast<INT_PTR>(initial), 0, 0, 0},
    };
    int id = 100;
    for (const auto& c : cases) {
        PboxAddRequest r = Add(panel, ++id, "A,B,C", c.extra, c.extra2);
        EXPECT_EQ(Send(c.message, &r), 1) << c.message;
        PboxItem* item = PboxFindItem(panel, id);
        ASSERT_NE(item, nullptr) << c.message;
        EXPECT_EQ(item->type, c.type) << c.message;
        EXPECT_STREQ(item->text, "A,B,C") << c.message;
        EXPECT_EQ(item->value, c.value) << c.message;
        EXPECT_EQ(item->value2, c.value2) << c.message;
        EXPECT_EQ(item->y, 40);
        EXPECT_EQ(item->enabled, 1);
        EXPECT_GE(item->textSize, kPboxMinTextBlock);
    }
    EXPECT_STREQ(PboxFindItem(panel, id)->text2, "初期");
}

TEST_F(ParameterPanelModelTest, TheFiftyFirstAddAndBadPanelsAreRefused)
{
    const int panel = Create();
    for (int id = 0; id < kPboxItemCount; ++id) {
        PboxAddRequest r = Add(panel, id, "x");
        ASSERT_EQ(Send(WM_PBOX_ADD_TEXT, &r), 1);
    }
    PboxAddRequest more = Add(panel, 999, "x");
    EXPECT_EQ(Send(WM_PBOX_ADD_BUTTON, &more), 0);
    EXPECT_EQ(PboxFindItem(panel, 999), nullptr);
    for (int bad : {-1, 5, 100}) {
        PboxAddRequest r = Add(bad, 1, "x");
        EXPECT_EQ(Send(WM_PBOX_ADD_BUTTON, &r), 0) << bad;
        int value = 0;
        PboxItemRequest get = Item(bad, 1, nullptr, 0, reinterpret_cast<INT_PTR>(&value));
        EXPECT_EQ(Send(WM_PBOX_VALUE, &get), 0) << bad;
        EXPECT_EQ(SendValue(WM_PBOX_DESTROY, bad), 0) << bad;
    }
}

TEST_F(ParameterPanelModelTest, ListPrefixIsStoredWithALongText)
{
    const int panel = Create();
    const std::string text(300, 'L');
    PboxAddRequest r = Add(panel, 7, text.c_str(), 1, 12);
    ASSERT_EQ(Send(WM_PBOX_ADD_LIST, &r), 1);
    PboxItem* item = PboxFindItem(panel, 7);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(std::string(item->text), "\n12\n" + text);
    EXPECT_GE(item->textSize, std::strlen(item->text) + 1);
    char back[512] = {};
    PboxItemRequest get = Item(panel, 7, back);
    EXPECT_EQ(Send(WM_PBOX_GET_TEXT, &get), 1);
    EXPECT_EQ(std::string(back), "\n12\n" + text);
}

TEST_F(ParameterPanelModelTest, LongTextsAreCutAtEveryField)
{
    const int panel = Create();
    const std::string longText(400, 'T');
    const std::string added300(300, 'a');
    PboxAddRequest shortItem = Add(panel, 1, "短い");
    PboxAddRequest longItem = Add(panel, 2, added300.c_str());
    ASSERT_EQ(Send(WM_PBOX_ADD_EDIT, &shortItem), 1);
    ASSERT_EQ(Send(WM_PBOX_ADD_EDIT, &longItem), 1);
    EXPECT_EQ(PboxFindItem(panel, 2)->textSize, 301u);

    std::string source = longText;
    PboxItemRequest set1 = Item(panel, 1, &source[0]);
    PboxItemRequest set2 = Item(panel, 2, &source[0]);
    EXPECT_EQ(Send(WM_PBOX_SET_TEXT, &set1), 1);
    EXPECT_EQ(Send(WM_PBOX_SET_TEXT, &set2), 1);
    EXPECT_EQ(std::strlen(PboxFindItem(panel, 1)->text), 256u);
    EXPECT_EQ(std::strlen(PboxFindItem(panel, 2)->text), 300u);

    EXPECT_EQ(Send(WM_PBOX_SET_TEXT2, &set1), 1);
    EXPECT_EQ(std::strlen(PboxFindItem(panel, 1)->text2), 255u);

    // Double-byte characters are never cut in half: 31 characters (62 bytes) fit 63 bytes.
    std::string kana;
    for (int i = 0; i < 40; ++i) kana += "あ";
    PboxItemRequest label = Item(panel, 1, &kana[0], 0);
    EXPECT_EQ(Send(WM_PBOX_ITEM_STRING, &label), 1);
    EXPECT_EQ(std::strlen(PboxFindItem(panel, 1)->label), 62u);
    PboxItemRequest labelCut = Item(panel, 1, &source[0], 1);
    EXPECT_EQ(Send(WM_PBOX_ITEM_STRING, &labelCut), 1);
    EXPECT_EQ(std::strlen(PboxFindItem(panel, 1)->label), 63u);

    PboxItemRequest user = Item(panel, 1, &source[0], 1, 0, 42);
    EXPECT_EQ(UserData(user), 1);
    EXPECT_EQ(std::strlen(PboxFindItem(panel, 1)->userText), 63u);
    PboxItemRequest userGet = Item(panel, 1, nullptr, 0);
    EXPECT_EQ(UserData(userGet), 42);
}

TEST_F(ParameterPanelModelTest, GettersSettersAndMissingItems)
{
    const int panel = Create();
    PboxAddRequest list = Add(panel, 5, "A,B,C", 1);
    PboxAddRequest combo = Add(panel, 6, "x,y", reinterpret_cast<INT_PTR>("y"));
    ASSERT_EQ(Send(WM_PBOX_ADD_LIST, &list), 1);
    ASSERT_EQ(Send(WM_PBOX_ADD_COMBO, &combo), 1);

    PboxItemRequest setValue = Item(panel, 5, nullptr, 1, 7);
    EXPECT_EQ(Send(WM_PBOX_VALUE, &setValue), 1);
    EXPECT_EQ(PboxFindItem(panel, 5)->value, 7) << "2556 set takes the value itself";
    int out = 0;
    PboxItemRequest getValue = Item(panel, 5, nullptr, 0, reinterpret_cast<INT_PTR>(&out));
    EXPECT_EQ(Send(WM_PBOX_VALUE, &getValue), 1);
    EXPECT_EQ(out, 7);

    int seven = 9;
    PboxItemRequest setValue2 = Item(panel, 5, nullptr, 1, reinterpret_cast<INT_PTR>(&seven));
    EXPECT_EQ(Send(WM_PBOX_VALUE2, &setValue2), 1);
    EXPECT_EQ(PboxFindItem(panel, 5)->value2, 9) << "2557 set reads through the pointer";
    int two = 2;
    PboxItemRequest select = Item(panel, 5, nullptr, 1, reinterpret_cast<INT_PTR>(&two));
    EXPECT_EQ(Send(WM_PBOX_COMBO_SELECT, &select), 1);
    EXPECT_EQ(PboxFindItem(panel, 5)->value, 2);

    PboxItemRequest disable = Item(panel, 5, nullptr, 0);
    EXPECT_EQ(Send(WM_PBOX_ENABLE, &disable), 1) << "the previous state";
    EXPECT_EQ(Send(WM_PBOX_ENABLE, &disable), 0);

    char text2[300] = {};
    PboxItemRequest get2 = Item(panel, 6, text2);
    EXPECT_EQ(Send(WM_PBOX_GET_ITEM_STRING, &get2), 1);
    EXPECT_STREQ(text2, "y");

    // A missing item changes nothing and says so.
    int untouched = -7;
    const struct {
        UINT message;
        PboxItemRequest request;
    } missing[] = {
        {WM_PBOX_GET_TEXT, Item(panel, 99, text2)},
        {WM_PBOX_SET_TEXT, Item(panel, 99, text2)},
        {WM_PBOX_SET_TEXT2, Item(panel, 99, text2)},
        {WM_PBOX_GET_ITEM_STRING, Item(panel, 99, text2)},
        {WM_PBOX_VALUE, Item(panel, 99, nullptr, 0, reinterpret_cast<INT_PTR>(&untouched))},
        {WM_PBOX_VALUE2, Item(panel, 99, nullptr, 0, reinterpret_cast<INT_PTR>(&untouched))},
        {WM_PBOX_COMBO_SELECT, Item(panel, 99, nullptr, 0, reinterpret_cast<INT_PTR>(&untouched))},
        {WM_PBOX_ENABLE, Item(panel, 99, nullptr, 1)},
        {WM_PBOX_SET_COLORS, Item(panel, 99, nullptr, 1, 0, 1)},
        {WM_PBOX_PRESS, Item(panel, 99)},
        {WM_PBOX_ITEM_STRING, Item(panel, 99, text2)},
    };
    for (const auto& m : missing) EXPECT_EQ(Send(m.message, &m.request), 0) << m.message;
    EXPECT_EQ(untouched, -7);
    EXPECT_EQ(UserData(Item(panel, 99, nullptr, 0)), -1) << "2646 get of a missing item";
    EXPECT_EQ(UserData(Item(panel, 99, nullptr, 1)), 0) << "2646 set of a missing item";
    EXPECT_EQ(UserData(Item(7, 5, nullptr, 0)), -1) << "2646 get on a bad panel";
    EXPECT_EQ(UserData(Item(kPboxNumericPadQuery, 5, nullptr, 1)), IsNumericPadEnabled());
    EXPECT_EQ(SendValue(WM_PBOX_NOP, 0), 1);
    EXPECT_EQ(SendValue(WM_PBOX_NOP2, 0), 1);
}

TEST_F(ParameterPanelModelTest, TheWaitReadsTheOffsetItemsOfPanelZeroAsNumbers)
{
    // Panel 0 is never handed out, but takes items like the others.
    const std::string longOffset = "7.25" + std::string(296, ' ');
    PboxAddRequest x = Add(0, 333, "12.5");
    PboxAddRequest y = Add(0, 444, longOffset.c_str());
    ASSERT_EQ(Send(WM_PBOX_ADD_EDIT, &x), 1);
    ASSERT_EQ(Send(WM_PBOX_ADD_EDIT, &y), 1);
    CInputWaitSite site;
    double number = 0;
    ASSERT_EQ(site.PanelItemNumber(333, &number), 1);
    EXPECT_DOUBLE_EQ(number, 12.5);
    ASSERT_EQ(site.PanelItemNumber(444, &number), 1);
    EXPECT_DOUBLE_EQ(number, 7.25);
    number = 99;
    EXPECT_EQ(site.PanelItemNumber(555, &number), 0);
    EXPECT_DOUBLE_EQ(number, 99);
    PboxReleaseItems(0);
}

TEST_F(ParameterPanelModelTest, ColourNumbersOutsideTheTableBecomeDefault)
{
    const int panel = Create();
    PboxAddRequest r = Add(panel, 3, "x");
    ASSERT_EQ(Send(WM_PBOX_ADD_TEXT, &r), 1);
    const struct {
        int text, back, wantText, wantBack;
    } cases[] = {{257, 5, -1, 5}, {256, 0, 256, 0}, {-5, 300, -1, -1}};
    for (const auto& c : cases) {
        PboxItemRequest colors = Item(panel, 3, nullptr, c.text, 0, c.back);
        EXPECT_EQ(Send(WM_PBOX_SET_COLORS, &colors), 1);
        EXPECT_EQ(PboxFindItem(panel, 3)->textColor, c.wantText);
        EXPECT_EQ(PboxFindItem(panel, 3)->backColor, c.wantBack);
    }
}

// The setters write panel 4's item of the same slot too: while panel 4 is free, or holds the
// right-click copy of the panel addressed. A panel 4 that a command created for itself is not
// written: that would change another panel's values.
TEST_F(ParameterPanelModelTest, SettersAlsoWriteTheSameSlotOfPanelFourUnlessItHoldsAPanelOfItsOwn)
{
    Create();
    const int source = Create();
    ASSERT_EQ(source, 2);
    PboxAddRequest filler = Add(source, 10, "x");
    PboxAddRequest a = Add(source, 11, "A,B", 2);
    ASSERT_EQ(Send(WM_PBOX_ADD_BUTTON, &filler), 1);
    ASSERT_EQ(Send(WM_PBOX_ADD_RADIO, &a), 1);
    PboxItem& menuSlot = PboxGetPanel(kPboxMenuPanel)->items[1];

    // Panel 4 free: slot 1 of panel 2 and slot 1 of panel 4 change together.
    ASSERT_EQ(PboxIsPanelFree(kPboxMenuPanel), 1);
    PboxItemRequest set = Item(source, 11, nullptr, 1, 1);
    EXPECT_EQ(Send(WM_PBOX_VALUE, &set), 1);
    EXPECT_EQ(menuSlot.value, 1);
    int three = 3;
    PboxItemRequest set2 = Item(source, 11, nullptr, 1, reinterpret_cast<INT_PTR>(&three));
    EXPECT_EQ(Send(WM_PBOX_VALUE2, &set2), 1);
    EXPECT_EQ(menuSlot.value2, 3);
    PboxItemRequest disable = Item(source, 11, nullptr, 0);
    EXPECT_EQ(Send(WM_PBOX_ENABLE, &disable), 1);
    EXPECT_EQ(menuSlot.enabled, 0);
    PboxItemRequest colors = Item(source, 11, nullptr, 3, 0, 4);
    EXPECT_EQ(Send(WM_PBOX_SET_COLORS, &colors), 1);
    EXPECT_EQ(menuSlot.textColor, 3);
    EXPECT_EQ(menuSlot.backColor, 4);

    // Panel 4 created by the command for itself is left alone.
    Create();
    const int ordinary = Create();
    ASSERT_EQ(ordinary, kPboxMenuPanel);
    AddRadios(ordinary, {44, 45});
    PboxItemRequest again = Item(source, 11, nullptr, 1, 1);
    EXPECT_EQ(Send(WM_PBOX_VALUE, &again), 1);
    EXPECT_EQ(PboxFindItem(ordinary, 45)->value, 0) << "an ordinary panel 4 is not written";
    SendValue(WM_PBOX_DESTROY, ordinary);

    // Panel 4 as the right-click copy of panel 2 follows panel 2 only; a set addressed to the
    // copy itself changes only the copy.
    PboxCopyItems(source);
    PboxItemRequest back = Item(source, 11, nullptr, 1, 0);
    EXPECT_EQ(Send(WM_PBOX_VALUE, &back), 1);
    EXPECT_EQ(PboxFindItem(kPboxMenuPanel, 11)->value, 0);
    const int third = 3;
    AddRadios(third, {31, 32});
    PboxItemRequest elsewhere = Item(third, 32, nullptr, 1, 1);
    EXPECT_EQ(Send(WM_PBOX_VALUE, &elsewhere), 1);
    EXPECT_EQ(PboxFindItem(kPboxMenuPanel, 11)->value, 0) << "the copy of panel 2 does not follow panel 3";
    PboxItemRequest fromCopy = Item(kPboxMenuPanel, 11, nullptr, 1, 1);
    EXPECT_EQ(Send(WM_PBOX_VALUE, &fromCopy), 1);
    EXPECT_EQ(PboxFindItem(kPboxMenuPanel, 11)->value, 1);
    EXPECT_EQ(PboxFindItem(source, 11)->value, 0) << "a set on the copy stays in the copy";
    EXPECT_EQ(PboxFindItem(kPboxMenuPanel, 11)->text, PboxFindItem(source, 11)->text) << "texts are shared";

    // Releasing the copy leaves the source's texts alone; panel 4 then owns texts again.
    EXPECT_EQ(PboxDestroyPanel(kPboxMenuPanel, 1), 1);
    EXPECT_STREQ(PboxFindItem(source, 11)->text, "A,B");
    EXPECT_EQ(PboxGetPanel(kPboxMenuPanel)->textsBorrowed, 0);
}

TEST_F(ParameterPanelModelTest, ButtonColoursComeFromTheColourFile)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("bottoncolor.ini",
                             "[5123_SELECT ELEM]\r\n実行_TextColor=3\r\n実行_BakColor=7\r\n"
                             "[SELECT ELEM]\r\n戻る_TextColor=9\r\n戻る_BakColor=300\r\n"
                             "[5123]\r\n実行_TextColor=1\r\n実行_BakColor=2\r\n片方_TextColor=4\r\n"));
    FileColors colors(folder.File("bottoncolor.ini"));
    PboxSetColorSource(&colors);

    const int select = Create("SELECT ELEM");
    PboxAddRequest run = Add(select, 1, "実行");
    PboxAddRequest back = Add(select, 2, "戻る");
    ASSERT_EQ(Send(WM_PBOX_ADD_BUTTON, &run), 1);
    ASSERT_EQ(Send(WM_PBOX_ADD_CHECK, &back), 1);
    EXPECT_EQ(PboxFindItem(select, 1)->textColor, 3);
    EXPECT_EQ(PboxFindItem(select, 1)->backColor, 7);
    EXPECT_EQ(PboxFindItem(select, 2)->textColor, 9) << "the caption's own section";
    EXPECT_EQ(PboxFindItem(select, 2)->backColor, -1) << "300 is no colour number";

    const int plain = Create("other");
    PboxAddRequest run2 = Add(plain, 1, "実行");
    PboxAddRequest half = Add(plain, 2, "片方");
    ASSERT_EQ(Send(WM_PBOX_ADD_RADIO, &run2), 1);
    ASSERT_EQ(Send(WM_PBOX_ADD_BUTTON, &half), 1);
    EXPECT_EQ(PboxFindItem(plain, 1)->textColor, 1);
    EXPECT_EQ(PboxFindItem(plain, 1)->backColor, 2);
    EXPECT_EQ(PboxFindItem(plain, 2)->textColor, -1) << "one key alone changes nothing";
    EXPECT_EQ(PboxFindItem(plain, 2)->backColor, -1);
}

TEST_F(ParameterPanelModelTest, CloseAllPanelsFreesThemForTheNextCommand)
{
    for (int i = 0; i < 4; ++i) {
        const int panel = Create();
        PboxAddRequest r = Add(panel, 1, "x");
        Send(WM_PBOX_ADD_BUTTON, &r);
    }
    EXPECT_EQ(Create(), 0);
    PboxShownPanel() = 3;
    PboxDefaultButton().set = 1;
    PboxCloseAllPanels();
    EXPECT_EQ(PboxShownPanel(), -1);
    EXPECT_EQ(PboxDefaultButton().set, 0);
    EXPECT_EQ(PboxFindItem(1, 1), nullptr);
    EXPECT_EQ(Create(), 1) << "a command that ended by a fault leaves no panel busy";
}

// The docked show in a hidden application panel: item windows, the default-button mark and
// the destroy that leaves the application panel alive.
TEST_F(ParameterPanelModelTest, DockedShowBuildsItemWindowsAndMarksTheDefaultButton)
{
    CAppPanel appPanel;
    RECT rc = {0, 0, 300, 400};
    ASSERT_NE(appPanel.Create(nullptr, &rc, "", WS_POPUP, 0), nullptr);
    PboxSetApplicationPanel(appPanel.m_hWnd);

    const struct {
        const char* text;
        int marks;
    } cases[] = {{"OK", 1}, {"完了", 1}, {"Ok", 1}, {"ok", 0}, {" OK", 0}};
    for (const auto& c : cases) {
        const int panel = Create();
        PboxAddRequest button = Add(panel, 21, c.text);
        PboxAddRequest radio = Add(panel, 22, "A,B,C", 3);
        ASSERT_EQ(Send(WM_PBOX_ADD_BUTTON, &button), 1);
        ASSERT_EQ(Send(WM_PBOX_ADD_RADIO, &radio), 1);
        PboxAddRequest show = {};
        show.panel = panel;
        show.id = 200;
        show.text = 79;
        EXPECT_EQ(Send(WM_PBOX_BUILD, &show), 1);
        EXPECT_EQ(PboxShownPanel(), panel);
        EXPECT_EQ(PboxGetPanel(panel)->host, appPanel.m_hWnd);
        ASSERT_NE(PboxGetPanel(panel)->itemWindows[0], nullptr);
        HWND window = PboxGetPanel(panel)->itemWindows[0]->ItemWindow();
        EXPECT_EQ(GetParent(window), appPanel.m_hWnd);
        EXPECT_EQ(GetDlgCtrlID(window), 21);
        EXPECT_EQ(PboxDefaultButton().set, c.marks) << c.text;
        if (c.marks) EXPECT_EQ(PboxDefaultButton().id, 21);
        EXPECT_EQ(SendValue(WM_PBOX_DESTROY, panel), 1);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(PboxShownPanel(), -1);
        EXPECT_EQ(PboxDefaultButton().set, 0);
        EXPECT_TRUE(IsWindow(appPanel.m_hWnd));
    }
    DestroyWindow(appPanel.m_hWnd);
}

TEST_F(ParameterPanelModelTest, ShowingAPanelTwiceReplacesItsWindowsAndKeepsY)
{
    CAppPanel appPanel;
    RECT rc = {0, 0, 300, 400};
    ASSERT_NE(appPanel.Create(nullptr, &rc, "", WS_POPUP, 0), nullptr);
    PboxSetApplicationPanel(appPanel.m_hWnd);
    const int panel = Create();
    PboxAddRequest button = Add(panel, 1, "実行");
    ASSERT_EQ(Send(WM_PBOX_ADD_BUTTON, &button), 1);
    PboxAddRequest show = {};
    show.panel = panel;
    show.text = 40;
    ASSERT_EQ(Send(WM_PBOX_BUILD, &show), 1);
    ASSERT_EQ(Send(WM_PBOX_BUILD, &show), 1);
    int children = 0;
    for (HWND child = GetWindow(appPanel.m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, 1);
    EXPECT_EQ(PboxFindItem(panel, 1)->y, 40);
    DestroyWindow(appPanel.m_hWnd);
}

TEST_F(ParameterPanelModelTest, DockedShowWithoutAnApplicationPanelFails)
{
    const int panel = Create();
    PboxAddRequest show = {};
    show.panel = panel;
    show.text = 10;
    EXPECT_EQ(Send(WM_PBOX_BUILD, &show), 0);
    PboxShownPanel() = -1;
    EXPECT_EQ(PboxBuildItemWindows(nullptr, nullptr, 1), 0) << "no docked panel to copy";
}

}  // namespace
