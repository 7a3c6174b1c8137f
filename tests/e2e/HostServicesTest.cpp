// Plug-in commands use the host's services in the real program: a setting written and read
// back, the font list and the pattern-save answer; a drawing made through the host library,
// titled, its colours read and cleared after the program asked.
#include "GTest.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "EngineBinding.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "TempFolder.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Settings;設定,5995,TestPlugin.dll /C:Settings</item>\n"
    "<item>MakeDrawing;図面作成,5996,TestPlugin.dll /C:MakeDrawing</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// Waits until the caption begins with the text; the caption then, or the last one seen.
std::string WaitForCaptionStart(HWND window, const std::string& start, DWORD timeoutMs)
{
    std::string caption;
    for (DWORD begin = GetTickCount(); GetTickCount() - begin < timeoutMs; Sleep(50)) {
        caption = Caption(window);
        if (caption.rfind(start, 0) == 0) break;
    }
    return caption;
}

class HostServicesTest : public ::testing::Test {
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
        // A modified drawing asks first: "No" lets the program end.
        if (frame != nullptr) EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(HostServicesTest, SettingFontsAndPatternSaveReachAPluginCommand)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5995, 0);
    const std::string caption = WaitForCaptionStart(frame, "Settings wrote", 10000);
    char wrote[64] = {}, read[64] = {}, first[128] = {};
    int fonts = -1;
    long patternSave = -1;
    ASSERT_EQ(std::sscanf(caption.c_str(), "Settings wrote %63s read %63s fonts %d first [%127[^]]] ptnsave %ld", wrote,
                          read, &fonts, first, &patternSave),
              5)
        << caption;
    EXPECT_STREQ(wrote, read) << "the setting written is read back";
    EXPECT_GT(fonts, 0) << "the program lists the system's text fonts";
    EXPECT_GT(std::strlen(first), 0u) << "the first font has a name";
    EXPECT_EQ(patternSave, 1) << "a library with the save flag and no entry answers the default";
    // The program's ini file beside the program keeps no trace of the test.
    char folder[MAX_PATH] = {};
    GetProgramFolder(folder, sizeof folder);
    WritePrivateProfileStringA("TestPlugin", nullptr, nullptr, (std::string(folder) + "Voltrane.ini").c_str());
}

TEST_F(HostServicesTest, DrawingMadeTitledAndClearedThroughTheHostLibrary)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5996, 0);
    // The clear asks first, in a box owned by the new drawing's view.
    HWND box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << Caption(frame);
    EXPECT_EQ(Caption(box), "全消去設定");
    EXPECT_NE(StaticTexts(box).find("全要素を全消去してもいいですか？"), std::string::npos) << StaticTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    const std::string caption = WaitForCaptionStart(frame, "MakeDrawing", 10000);
    EXPECT_EQ(caption, "MakeDrawing title E2E title colours 1 cleared 1 elements 0");
    EXPECT_NE(SendMessageA(frame, WM_CAD_ACTIVE_VIEW, 0, 0), 0) << "the drawing window stays open";

    // Saved under a typed name, the drawing keeps the title the command gave it.
    TempFolder folder;
    const std::string path = folder.File("titled.tcf");
    ASSERT_TRUE(SaveActiveDrawingAs(program, frame, path)) << "no save dialog";
    std::string title;
    for (DWORD start = GetTickCount(); title.empty() && GetTickCount() - start < 20000; Sleep(100))
        title = TitleOfFile(path);
    EXPECT_EQ("E2E title", title);
}

}  // namespace
