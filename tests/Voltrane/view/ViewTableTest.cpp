#include "GTest.h"

#include <cstring>
#include <string>

#include "drawing/CadDatabase.h"
#include "view/ViewTable.h"

namespace {

struct CaptionCase {
    const char* title;
    int number;
    const char* fileName;
    int reference;
    const char* expected;
};

TEST(ViewTable, CaptionForms)
{
    const CaptionCase cases[] = {
        {"無題1", 0, "", 0, "無題1"},
        {"無題1", 2, "", 0, "無題1 : 2"},
        {"図面", 0, "C:\\a\\b.tcf", 0, "図面 -[C:\\a\\b.tcf]"},
        {"図面", 3, "C:\\a\\b.tcf", 0, "図面 : 3 -[C:\\a\\b.tcf]"},
        {"図面", 0, "C:\\a\\b.tcf", 1, "図面 -[C:\\a\\b.tcf] (参照)"},
        {"図面", 1, "", 1, "図面 : 1 (参照)"},
        {"図面", 0, nullptr, 1, "図面 (参照)"},
    };
    for (const CaptionCase& c : cases) {
        char caption[600];
        FormatViewCaption(caption, sizeof caption, c.title, c.number, c.fileName, c.reference);
        EXPECT_STREQ(caption, c.expected);
    }
}

TEST(ViewTable, CaptionIsCutOnACharacterBoundary)
{
    char caption[8];
    FormatViewCaption(caption, sizeof caption, "無題無題", 0, "", 0);
    EXPECT_STREQ(caption, "無題無");
}

TEST(ViewTable, ActiveSlotIsTheAnsweredViewElseTheFirstUsedSlot)
{
    HWND a = reinterpret_cast<HWND>(0x100), b = reinterpret_cast<HWND>(0x200), c = reinterpret_cast<HWND>(0x300);
    const HWND slots[4] = {nullptr, a, b, c};
    EXPECT_EQ(ChooseActiveViewSlot(slots, 4, c), 3);
    EXPECT_EQ(ChooseActiveViewSlot(slots, 4, nullptr), 1) << "a child that answers 3524 with 0";
    EXPECT_EQ(ChooseActiveViewSlot(slots, 4, reinterpret_cast<HWND>(0x999)), 1) << "a view that is in no slot";
    const HWND empty[2] = {nullptr, nullptr};
    EXPECT_EQ(ChooseActiveViewSlot(empty, 2, a), -1);
}

TEST(ViewTable, SavePromptDecision)
{
    ClearSavePromptList();
    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    database.drawingId = 11;
    EXPECT_EQ(DecideSavePrompt(nullptr, 1, 0), 0);
    EXPECT_EQ(DecideSavePrompt(&database, 1, 0), 0) << "not modified";
    database.modified = 1;
    EXPECT_EQ(DecideSavePrompt(&database, 1, 0), 1);
    EXPECT_EQ(DecideSavePrompt(&database, 2, 0), 0) << "only the last view of a drawing asks";
    // Closing all windows: one question per drawing, whatever its number of views.
    EXPECT_EQ(DecideSavePrompt(&database, 3, 1), 1);
    EXPECT_EQ(DecideSavePrompt(&database, 3, 1), 0);
    EXPECT_EQ(DecideSavePrompt(&database, 3, 1), 0);
    database.drawingId = 12;
    EXPECT_EQ(DecideSavePrompt(&database, 1, 1), 1);
    ClearSavePromptList();
    database.drawingId = 11;
    EXPECT_EQ(DecideSavePrompt(&database, 3, 1), 1) << "a cancelled close empties the list";
    ClearSavePromptList();
    PDBINFO noDatabase = {};
    noDatabase.modified = 1;
    EXPECT_EQ(DecideSavePrompt(&noDatabase, 1, 0), 0);
}

// Plain windows standing for views, each with a drawing block in window long 0.
class ViewTableWindows : public ::testing::Test {
protected:
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcA(w, m, wp, lp); }

    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.cbWndExtra = 8;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ViewTableTestView";
        RegisterClassA(&wc);
        ClearViewTable();
        for (int i = 0; i < 3; ++i) {
            views[i] = CreateWindowA("ViewTableTestView", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
            blocks[i].drawingId = 5;
            blocks[i].viewNumber = i + 1;
            blocks[i].severalViews = 1;
            SetWindowLongPtrA(views[i], 0, reinterpret_cast<LONG_PTR>(&blocks[i]));
            ASSERT_EQ(AddViewToTable(views[i]), 1);
        }
    }

    void TearDown() override
    {
        ClearViewTable();
        for (HWND v : views) DestroyWindow(v);
    }

    HWND views[3] = {};
    PDBINFO blocks[3] = {};
};

TEST_F(ViewTableWindows, ClosingTheMiddleOfThreeViewsRenumbersAndShiftsTheTable)
{
    ReleaseDrawingView(views[1]);
    EXPECT_EQ(GetViewInSlot(0), views[0]);
    EXPECT_EQ(GetViewInSlot(1), views[2]);
    EXPECT_EQ(GetViewInSlot(2), nullptr);
    EXPECT_EQ(GetWindowLongPtrA(views[1], 0), 0);
    EXPECT_EQ(blocks[0].viewNumber, 1);
    EXPECT_EQ(blocks[2].viewNumber, 2);
    EXPECT_EQ(GetViewBlock(views[1]), nullptr) << "a view no longer in the table";
}

TEST_F(ViewTableWindows, ClosingOneOfTwoViewsLeavesASingleView)
{
    ReleaseDrawingView(views[2]);
    ReleaseDrawingView(views[1]);
    EXPECT_EQ(blocks[0].severalViews, 0);
    EXPECT_EQ(blocks[0].viewNumber, 1);
    EXPECT_EQ(CountTableViews(), 1);
}

TEST_F(ViewTableWindows, LookupsAndWalks)
{
    EXPECT_EQ(GetNextView(views[0]), views[1]);
    EXPECT_EQ(GetNextView(views[2]), nullptr);
    EXPECT_EQ(GetNextView(reinterpret_cast<HWND>(0x1234)), nullptr) << "a view that is not in the table";
    EXPECT_EQ(GetViewBlock(reinterpret_cast<HWND>(0x1234)), nullptr);
    EXPECT_EQ(GetViewDb(nullptr), nullptr);
    // A view whose window long 0 is 0 is never read.
    SetWindowLongPtrA(views[1], 0, 0);
    EXPECT_EQ(GetViewBlock(views[1]), nullptr);
    EXPECT_EQ(SetDrawingModified(views[1]), 0);
}

TEST_F(ViewTableWindows, ViewLock)
{
    EXPECT_EQ(IsViewLocked(), 0);
    UnlockView();
    EXPECT_EQ(IsLockedView(views[0]), 0);
}

TEST(ViewTableFull, TheTwoHundredFiftySeventhViewIsRefused)
{
    ClearViewTable();
    for (int i = 1; i <= kViewTableSize; ++i) ASSERT_EQ(AddViewToTable(reinterpret_cast<HWND>(static_cast<INT_PTR>(i * 4))), 1);
    EXPECT_EQ(IsViewTableFull(), 1);
    EXPECT_EQ(AddViewToTable(reinterpret_cast<HWND>(0x9999)), 0);
    ClearViewTable();
    EXPECT_EQ(IsViewTableFull(), 0);
}

}  // namespace
