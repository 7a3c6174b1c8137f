// The temporary database and the overlay bindings on real engine databases.
#include "ElementServiceFixture.h"

#include "HostMessages.h"
#include "commands/TempDatabase.h"

namespace {

class TempDbTest : public ElementServiceTest {
protected:
    TestDb second;
    HWND otherView = FakeView(2);

    void SetUp() override
    {
        ElementServiceTest::SetUp();
        site.databases[otherView] = second.db();
        ReleaseTempDb();
    }
    void TearDown() override
    {
        ReleaseTempDb();
        ElementServiceTest::TearDown();
    }
    LRESULT Temp(int code, WPARAM wParam, CmdParamRecord p = {})
    {
        p.mode = code;
        return Send(WM_CAD_TEMP_DB, wParam, p);
    }
    LRESULT Create(HWND window)
    {
        CmdParamRecord p{};
        p.view = window;
        return Temp(1, 0, p);
    }
};

TEST_F(TempDbTest, CreatedFlagFollowsCreateAndDelete)
{
    EXPECT_EQ(Temp(1, 1), 0);
    EXPECT_EQ(Create(view), 1);
    EXPECT_EQ(Temp(1, 1), 1);
    EXPECT_EQ(IsTempDbBaseDb(drawing.db()), 1);
    EXPECT_EQ(IsTempDbBaseDb(second.db()), 0);
    EXPECT_EQ(Temp(2, 0), 1);
    EXPECT_EQ(Temp(1, 1), 0);
    EXPECT_EQ(IsTempDbBaseDb(drawing.db()), 0);
    EXPECT_EQ(Temp(2, 0), 1) << "deleting twice";
    EXPECT_EQ(Send(WM_CAD_GET_TEMP_DB, 0, 0), reinterpret_cast<LRESULT>(GetTempDb()));
}

TEST_F(TempDbTest, ElementsGoToPageZeroAndTheCallersRecordSaysSo)
{
    ASSERT_EQ(Create(view), 1);
    ElementRecord line = MakeLine(0, 0, 1, 1, 0, 5);
    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(&line);
    void* element = reinterpret_cast<void*>(Temp(3, 0, p));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(line.page, 0);
    EXPECT_EQ(Node(element)->record.page, 0);
    EXPECT_EQ(ZUriGetElmNum(GetTempDb()), 1);
    EXPECT_EQ(ZUriGetElmNum(drawing.db()), 0) << "the base drawing is untouched";

    ElementRecord moved = MakeLine(3, 3, 4, 4, 0, 7);
    CmdParamRecord change{};
    change.element = reinterpret_cast<INT_PTR>(element);
    change.elementRecord = &moved;
    EXPECT_NE(Temp(9, 0, change), 0);
    EXPECT_EQ(Node(element)->record.page, 0);

    ElementRecord read{};
    CmdParamRecord r{};
    r.elementRecord = &read;
    EXPECT_EQ(reinterpret_cast<void*>(Temp(7, 0, r)), element);
    EXPECT_EQ(Typed<LineRecord>(read).x1, 3.0);
    CmdParamRecord draw{};
    draw.second = 5;
    EXPECT_EQ(Temp(6, 0, draw), 1);
    ASSERT_FALSE(site.redraws.empty());
    EXPECT_EQ(site.redraws.back().view, view);
    EXPECT_EQ(site.redraws.back().mode, 5);
    EXPECT_NE(Temp(4, 0), 0);
    EXPECT_EQ(ZUriGetElmNum(GetTempDb()), 0);
}

TEST_F(TempDbTest, ElementCodesWithoutATemporaryDatabaseAnswerZero)
{
    ElementRecord line = MakeLine(0, 0, 1, 1, 0, 5);
    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(&line);
    for (int code = 3; code <= 9; ++code) EXPECT_EQ(Temp(code, 0, p), 0) << code;
    EXPECT_EQ(line.page, 5) << "nothing was touched";
    EXPECT_EQ(Temp(42, 0), 0);
}

TEST_F(TempDbTest, ABadWindowLeavesTheExistingOneAndASecondCreateReplacesIt)
{
    ASSERT_EQ(Create(view), 1);
    ElementRecord line = MakeLine(0, 0, 1, 1);
    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(&line);
    Temp(3, 0, p);
    EXPECT_EQ(Create(FakeView(9)), 0);
    EXPECT_EQ(site.logs.back(), "仮DB作成時に、基準ウィンドウが見つかりません");
    EXPECT_EQ(Temp(1, 1), 1);
    EXPECT_EQ(ZUriGetElmNum(GetTempDb()), 1);
    EXPECT_EQ(Create(otherView), 1);
    EXPECT_EQ(ZUriGetElmNum(GetTempDb()), 0);
    EXPECT_EQ(TempDbBaseWindow(), otherView);
}

TEST_F(TempDbTest, ClosingTheBaseWindowDeletesItAndDropsItsBindings)
{
    ASSERT_EQ(Create(view), 1);
    TestDb overlay;
    AddTempDbBinding(overlay.db(), view);
    AddTempDbBinding(overlay.db(), otherView);
    OnDrawingWindowClosed(view);
    EXPECT_EQ(IsTempDbCreated(), 0);
    EXPECT_EQ(FindTempDbBindingFirst(drawing.db()), nullptr);
    EXPECT_EQ(FindTempDbBindingFirst(second.db()), overlay.db());
}

TEST_F(TempDbTest, BindingsAreSearchedByTheDatabaseTheirWindowShows)
{
    TestDb a, b;
    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(a.db());
    p.view = view;
    EXPECT_EQ(Temp(100, 0, p), 1);
    p.view = otherView;
    EXPECT_EQ(Temp(100, 0, p), 2) << "one database bound to two windows gives two pairs";
    p.element = reinterpret_cast<INT_PTR>(b.db());
    p.view = view;
    EXPECT_EQ(Temp(100, 0, p), 3);
    EXPECT_EQ(FindTempDbBindingFirst(drawing.db()), a.db());
    EXPECT_EQ(FindTempDbBindingNext(drawing.db()), b.db());
    EXPECT_EQ(FindTempDbBindingNext(drawing.db()), nullptr);
    TestDb unrelated;
    EXPECT_EQ(FindTempDbBindingFirst(unrelated.db()), nullptr);

    p.element = reinterpret_cast<INT_PTR>(a.db());
    EXPECT_EQ(Temp(100, 1, p), 2) << "only the first pair goes";
    EXPECT_EQ(FindTempDbBindingFirst(second.db()), a.db());
    EXPECT_EQ(FindTempDbBindingFirst(drawing.db()), b.db());

    p.element = 0;
    EXPECT_EQ(Temp(100, 3, p), 1);
    EXPECT_EQ(FindTempDbBindingFirst(drawing.db()), nullptr) << "searches off, pairs kept";
    EXPECT_EQ(Temp(100, 2, p), 1);
    p.element = 1;
    EXPECT_EQ(Temp(100, 3, p), 1);
    EXPECT_EQ(FindTempDbBindingFirst(drawing.db()), nullptr) << "on, but the list is empty";
    EXPECT_EQ(Temp(100, 1, p), 0);
    EXPECT_EQ(Temp(100, 7, p), 0);
}

}  // namespace
