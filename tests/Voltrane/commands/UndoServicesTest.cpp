// Undo and redo of the active drawing on a real engine database.
#include "ElementServiceFixture.h"

#include "HostMessages.h"
#include "commands/UndoServices.h"

namespace {

class UndoTest : public ElementServiceTest {
protected:
    void SetUp() override
    {
        ElementServiceTest::SetUp();
        ZUriUndoFgSet(drawing.db(), 10);
        site.settings.undoDepth = 5;
        GetInputEventRecord() = InputEventRecord{};
    }

    // One step of three appended lines (the step closed by the next begin).
    std::vector<void*> AddThreeInOneStep()
    {
        Send(WM_CADDB_UNDO_BEGIN, 0, 0);
        std::vector<void*> added;
        for (int i = 0; i < 3; ++i) {
            ElementRecord line = MakeLine(i, 0, i, 1);
            added.push_back(reinterpret_cast<void*>(Send(WM_CADDB_ADD_ELEMENT, 0, reinterpret_cast<LPARAM>(&line))));
        }
        return added;
    }
};

TEST_F(UndoTest, AStepOfThreeIsUndoneInOneCallAndRedoneInOne)
{
    Append(MakePoint(9, 9));
    AddThreeInOneStep();
    ASSERT_EQ(ElementCount(), 4);
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_EQ(GetInputEventRecord().code, kEventUndo);
    EXPECT_EQ(site.repaints, 1);
    EXPECT_TRUE(site.sounds.empty());
    EXPECT_EQ(Send(WM_CADDB_REDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 4);
    EXPECT_EQ(GetInputEventRecord().code, kEventRedo);
    EXPECT_EQ(Send(WM_CADDB_REDO, 0, 0), 1);
    EXPECT_EQ(site.sounds, std::vector<int>{2}) << "nothing to redo: the error sound";
    EXPECT_EQ(ElementCount(), 4);
}

TEST_F(UndoTest, DepthZeroKeepsOnlyTheChangesSinceTheStepStart)
{
    site.settings.undoDepth = 0;
    AddThreeInOneStep();
    Send(WM_CADDB_UNDO_BEGIN, 0, 0);  // clears the history
    ElementRecord line = MakeLine(0, 5, 1, 5);
    Send(WM_CADDB_ADD_ELEMENT, 0, reinterpret_cast<LPARAM>(&line));
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 3);
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 3);
    EXPECT_EQ(site.sounds, std::vector<int>{2});
}

TEST_F(UndoTest, WhileRecordingIsOffUndoAndRedoAnswerOneAndChangeNothing)
{
    AddThreeInOneStep();
    GetCommandRunState().undoRecording = 0;
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 3);
    EXPECT_EQ(GetInputEventRecord().code, 0);
    GetCommandRunState().undoRecording = 1;  // the dispatcher after the command
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 0);
}

TEST_F(UndoTest, BeginIsSuppressedByTheUndoTagAndUndoNeedsAView)
{
    AddThreeInOneStep();
    GetCommandRunState().undoBeginSuppressed = 1;
    ElementRecord line = MakeLine(0, 5, 1, 5);
    Send(WM_CADDB_UNDO_BEGIN, 0, 0);
    Send(WM_CADDB_ADD_ELEMENT, 0, reinterpret_cast<LPARAM>(&line));
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 0) << "no step was closed between the two additions";
    site.active = nullptr;
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 0);
    EXPECT_EQ(Send(WM_CADDB_UNDO_CLEAR, 0, 0), 1) << "no active drawing either";
}

TEST_F(UndoTest, CanUndoFollowsTheList)
{
    EXPECT_EQ(CanUndo(), 0);
    AddThreeInOneStep();
    EXPECT_EQ(CanUndo(), 1);
    EXPECT_EQ(CanRedo(), 0);
    Send(WM_CADDB_UNDO, 0, 0);
    EXPECT_EQ(CanRedo(), 1);
    EXPECT_EQ(Send(WM_CADDB_UNDO_CLEAR, 0, reinterpret_cast<LPARAM>(drawing.db())), 1);
    EXPECT_EQ(CanRedo(), 0);
}

}  // namespace

namespace {

TEST_F(UndoTest, AChangeIsUndoneToTheOldRecordAndRedoneToTheNew)
{
    void* line = Append(MakeLine(0, 0, 1, 1));
    Send(WM_CADDB_UNDO_BEGIN, 0, 0);
    ElementRecord moved = MakeLine(7, 7, 8, 8);
    CmdParamRecord p = ViewParam();
    p.element = reinterpret_cast<INT_PTR>(line);
    p.value1 = reinterpret_cast<INT_PTR>(&moved);
    ASSERT_EQ(Send(WM_CADDB_CHANGE_ELEMENT, 0, p), 1);
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(Typed<LineRecord>(Node(line)->record).x1, 0.0);
    EXPECT_EQ(Send(WM_CADDB_REDO, 0, 0), 1);
    EXPECT_EQ(Typed<LineRecord>(Node(line)->record).x1, 7.0);
}

TEST_F(UndoTest, ADeleteIsUndoneBackIntoTheDrawing)
{
    void* line = Append(MakeLine(0, 0, 1, 1));
    Send(WM_CADDB_UNDO_BEGIN, 0, 0);
    CmdParamRecord p = ViewParam();
    p.element = reinterpret_cast<INT_PTR>(line);
    ASSERT_EQ(Send(WM_CADDB_DELETE_ELEMENT, 0, p), 1);
    EXPECT_EQ(ElementCount(), 0);
    EXPECT_EQ(Send(WM_CADDB_UNDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_EQ(Send(WM_CADDB_REDO, 0, 0), 1);
    EXPECT_EQ(ElementCount(), 0);
}

}  // namespace
