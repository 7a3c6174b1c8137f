// The element, mark, placement and undo services reached by a real plug-in command in the real
// program: one command works on an engine database of its own, another on a drawing window.
#include "GTest.h"

#include "CatalogueSwap.h"
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
    ASSERT_NE(SendToProgram(frame, WM_CAD_ACTIVE_VIEW), 0);
    PostMessageA(frame, WM_COMMAND, 5996, 0);
    EXPECT_TRUE(WaitForCaption(frame, "CopyUndo 2 4 2 4", 10000)) << Caption(frame);

    // Saved under a typed name after the redo, the drawing holds the lines and their copies.
    TempFolder folder;
    const std::string path = folder.File("copied.tcf");
    ASSERT_TRUE(SaveActiveDrawingAs(program, frame, path)) << "no save dialog";
    int elements = -1;
    for (DWORD start = GetTickCount(); elements < 0 && GetTickCount() - start < 20000; Sleep(100))
        elements = ElementsOfFile(path);
    EXPECT_EQ(4, elements);
}

}  // namespace
