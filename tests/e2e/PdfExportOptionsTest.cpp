// "PDF保存設定" in the program, as a new user reaches it: the menu command opens the options
// dialog over the active drawing, and both of its sub-dialogs open from it with the program's
// own line-end picker.
#include "GTest.h"

#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "WindowText.h"

namespace {

constexpr int kSavePdfOptionCommand = 7807;

// The plug-in's settings command as the installed catalogue names it, and the test plug-in's
// echo with which a drawing window is opened.
const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>SavePdfOption;PDF保存設定,7807,Velloc.dll,</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

HWND WaitForDialog(const char* caption)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 15000) {
        HWND found = FindWindowA("#32770", caption);
        if (found != nullptr && IsWindowVisible(found)) return found;
        Sleep(20);
    }
    return nullptr;
}

// A control's text in the program's process: asked of the control itself.
std::string ControlText(HWND dialog, int id)
{
    char text[64] = {};
    SendMessageA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

bool WaitUntilGone(HWND window)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > 15000) return false;
        Sleep(20);
    }
    return true;
}

TEST(PdfExportOptions, MenuCommandOpensTheOptionsAndBothSubDialogs)
{
    CatalogueSwap catalogue{kCatalogue};
    ASSERT_TRUE(catalogue.Written());
    ProgramProcess program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr);
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr);

    PostMessageA(frame, WM_CAD_RUN_COMMAND, kSavePdfOptionCommand, 0);
    HWND options = WaitForDialog("PDF保存設定");
    ASSERT_NE(options, nullptr);

    PostMessageA(GetDlgItem(options, 1018), BM_CLICK, 0, 0);
    HWND lineEnds = WaitForDialog("線端の設定");
    ASSERT_NE(lineEnds, nullptr);
    char className[64] = {};
    GetClassNameA(GetDlgItem(lineEnds, 1011), className, sizeof className);
    EXPECT_STREQ("cmdltermsclass", className);
    EXPECT_EQ(1, SendMessageA(GetDlgItem(lineEnds, 1011), WM_USER + 3, 0, 0));  // type 0 is not offered
    EXPECT_EQ("7.5", ControlText(lineEnds, 1009));
    PostMessageA(GetDlgItem(lineEnds, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilGone(lineEnds));

    PostMessageA(GetDlgItem(options, 1017), BM_CLICK, 0, 0);
    HWND colours = WaitForDialog("色の設定");
    ASSERT_NE(colours, nullptr);
    // Row 0 of page 0 stands for colour number 1.
    EXPECT_EQ("1", ControlText(colours, 1041));
    PostMessageA(GetDlgItem(colours, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilGone(colours));

    PostMessageA(GetDlgItem(options, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntilGone(options));
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

}  // namespace
