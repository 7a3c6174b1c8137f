// The element, mark, placement and undo services reached by a real plug-in command in the real
// program: one command works on an engine database of its own, another on a drawing window.
#include "GTest.h"

#include "CatalogueSwap.h"
#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "TempFolder.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>ElementMarks;要素とマーク,5995,TestPlugin.dll /C:ElementMarks</item>\n"
    "<item>CopyUndo;複写と取消,5996,TestPlugin.dll /C:CopyUndo</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// The element count of a drawing file the program writes, once it is there (20 seconds at most);
// -1 when none came.
int SavedElements(const std::string& path)
{
    int elements = -1;
    for (DWORD start = GetTickCount(); elements < 0 && GetTickCount() - start < 20000; Sleep(100))
        elements = ElementsOfFile(path);
    return elements;
}

class ElementServicesEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
    }
    void TearDown() override
    {
        if (frame == nullptr) return;
        // A modified drawing asks first: "No" lets the program end.
        EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(ElementServicesEndToEnd, CommandWithItsOwnDatabaseDrivesMarksExtentsAndPlacement)
{
    // The router runs plug-in commands only while a drawing is open; the command leaves it alone.
    ASSERT_EQ(SendToProgram(frame, WM_CADDB_NEW_WINDOW), 1);
    PostMessageA(frame, WM_COMMAND, 5995, 0);
    EXPECT_TRUE(WaitForCaption(frame, "ElementMarks c3 k1 r1 n2 f1 x1 h0 m0 b10,11 d1", 10000))
        << Caption(frame);
}

TEST_F(ElementServicesEndToEnd, CopyTurnedThenUndoneAndRedoneInADrawingWindow)
{
    ASSERT_EQ(SendToProgram(frame, WM_CADDB_NEW_WINDOW), 1);
    HWND view = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW));
    ASSERT_NE(view, nullptr);
    PostMessageA(frame, WM_COMMAND, 5996, 0);
    EXPECT_TRUE(WaitForCaption(frame, "CopyUndo 2 4 2 4", 10000)) << Caption(frame);

    // The host's own undo and redo after the command take the copies out and put them back.
    PDBINFO block;
    ASSERT_TRUE(ReadViewBlock(program.ProcessId(), view, &block));
    EXPECT_EQ(SendToProgram(frame, WM_CADDB_UNDO), 1);
    EXPECT_EQ(2, DrawingElementCount(program.ProcessId(), block));
    EXPECT_EQ(SendToProgram(frame, WM_CADDB_REDO), 1);
    EXPECT_EQ(4, DrawingElementCount(program.ProcessId(), block));

    // Saved under a typed name after the redo, the drawing holds the lines and their copies.
    TempFolder folder;
    const std::string path = folder.File("copied.tcf");
    ASSERT_TRUE(SaveActiveDrawingAs(program, frame, path)) << "no save dialog";
    EXPECT_EQ(4, SavedElements(path));
    // Saving ends the undo history: an undo now has nothing to take out.
    EXPECT_EQ(SendToProgram(frame, WM_CADDB_UNDO), 1);
    EXPECT_EQ(4, DrawingElementCount(program.ProcessId(), block));
}

}  // namespace
