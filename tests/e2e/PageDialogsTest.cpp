// The page commands in the real program on a drawing whose pages a plug-in made through the
// host's page message: the page settings (4038) and the page manager (4037) answered from the
// menu as a user would, and the paper and model spaces (4039, 4040).
#include "GTest.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>PagesMake;ページ作成,5991,TestPlugin.dll /C:PagesMake</item>\n"
    "<item>PagesList;ページ一覧,5992,TestPlugin.dll /C:PagesList</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// Runs a plug-in command and returns the caption it left (it begins with the command's name).
std::string RunAndRead(HWND frame, int id, const std::string& name)
{
    SetWindowTextA(frame, "Voltrane");
    PostMessageA(frame, WM_CAD_RUN_COMMAND, id, 0);
    std::string caption;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50)) {
        caption = Caption(frame);
        if (caption.rfind(name + " ", 0) == 0) break;
    }
    return caption;
}

class PageDialogsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        view = OpenEmptyDrawingWindow(frame);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(RunAndRead(frame, 5991, "PagesMake"), "PagesMake 1 1 1 bad 0");
    }
    void TearDown() override
    {
        if (frame != nullptr) EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
    HWND view = nullptr;
};

TEST_F(PageDialogsEndToEnd, SpacesSwitchFromTheMenu)
{
    EXPECT_EQ(RunAndRead(frame, 5992, "PagesList"), "PagesList 1:一 2:二 3:三 current 0 space 0");
    PostMessageA(frame, WM_COMMAND, 4039, 0);
    EXPECT_EQ(RunAndRead(frame, 5992, "PagesList"), "PagesList 1:一 2:二 3:三 current 0 space 1");
    // The view inside the drawing window keeps the drawing block.
    HWND drawingView = FindWindowExA(view, nullptr, "RiririView", nullptr);
    ASSERT_NE(drawingView, nullptr);
    PDBINFO block;
    ASSERT_TRUE(ReadViewBlock(program.ProcessId(), drawingView, &block));
    EXPECT_EQ(block.viewMode, 1);
    PostMessageA(frame, WM_COMMAND, 4040, 0);
    EXPECT_EQ(RunAndRead(frame, 5992, "PagesList"), "PagesList 1:一 2:二 3:三 current 0 space 0");
    ASSERT_TRUE(ReadViewBlock(program.ProcessId(), drawingView, &block));
    EXPECT_EQ(block.viewMode, 0);
}

TEST_F(PageDialogsEndToEnd, PageSettingsAndPageManagerFromTheMenu)
{
    // Page settings: the third page gets a new title.
    PostMessageA(frame, WM_COMMAND, 4038, 0);
    HWND settings = WaitForDialog(program, "ページ情報設定", 20000);
    ASSERT_NE(settings, nullptr);
    HWND tree = GetDlgItem(settings, 1131);
    EXPECT_EQ(SendToProgram(tree, TVM_GETCOUNT), 4);
    const LRESULT root = SendToProgram(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const LRESULT first = SendToProgram(tree, TVM_GETNEXTITEM, TVGN_CHILD, root);
    const LRESULT third = SendToProgram(tree, TVM_GETNEXTITEM, TVGN_NEXT, first);
    ASSERT_NE(third, 0) << "page 3 beside page 1 under the drawing";
    SendToProgram(tree, TVM_SELECTITEM, TVGN_CARET, third);
    char title[64] = "";
    GetDlgItemTextA(settings, 101, title, sizeof title);
    EXPECT_STREQ(title, "三");
    SetDlgItemTextA(settings, 101, "三階");
    PostMessageA(settings, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(settings, 10000));
    EXPECT_EQ(RunAndRead(frame, 5992, "PagesList"), "PagesList 1:一 2:二 3:三階 current 0 space 0");

    // Page manager: the first page goes with its sub-page; the third stays.
    PostMessageA(frame, WM_COMMAND, 4037, 0);
    HWND manager = WaitForDialog(program, "ページ管理（指定後 [OK] ｸﾘｯｸしてください。）", 20000);
    ASSERT_NE(manager, nullptr);
    HWND list = GetDlgItem(manager, 1146);
    EXPECT_EQ(SendToProgram(list, LB_GETCOUNT), 3);
    SendToProgram(list, LB_SETSEL, TRUE, 0);
    PostMessageA(manager, WM_COMMAND, MAKEWPARAM(15, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(manager, 15)));
    HWND question = WaitForDialog(program, "ページ削除", 10000);
    ASSERT_NE(question, nullptr);
    EXPECT_NE(StaticTexts(question).find("ページを削除します。"), std::string::npos);
    PostMessageA(question, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(question, 10000));
    EXPECT_EQ(SendToProgram(list, LB_GETCOUNT), 1);
    PostMessageA(manager, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntilGone(manager, 10000));
    EXPECT_EQ(RunAndRead(frame, 5992, "PagesList"), "PagesList 3:三階 current 0 space 0");
}

}  // namespace
