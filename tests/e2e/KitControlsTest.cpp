// The program's kit controls in a plug-in's own dialog: the test plug-in shows a template that
// places the kit buttons and picker fields by class name; a colour row picked in the dropped
// list reaches the plug-in through the field's notice.
#include "GTest.h"

#include <functional>
#include <string>
#include <vector>

#include "CatalogueSwap.h"
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
    "<item>KitDialog;キット,5993,TestPlugin.dll /C:KitDialog</item>\n"
    "<item>KitDialogDrawing;キット図面,5994,TestPlugin.dll /C:KitDialog drawing</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

HWND WaitForWindowOf(const std::function<HWND()>& find, int timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = find()) return found;
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return nullptr;
        Sleep(20);
    }
}

// The program started with the kit dialog's catalogue.
class KitControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(KitControlsTest, PluginDialogPlacesKitControlsByNameAndGetsThePickedColourRow)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5993, 0);
    ASSERT_TRUE(WaitForCaption(frame, "KitDialog shown 1 row 0", 15000)) << Caption(frame);
    // The trace comes from the dialog's initialisation, before the dialog shows.
    HWND dialog = WaitForWindowOf([] {
        HWND found = FindWindowA(nullptr, "KitDialog");
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }, 5000);
    ASSERT_NE(dialog, nullptr);
    char className[64];
    for (int id : {IDOK, IDCANCEL, 101, 102, 103}) {
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr) << id;
        GetClassNameA(control, className, sizeof className);
        EXPECT_TRUE(IsWindowVisible(control)) << className;
    }

    HWND field = GetDlgItem(dialog, 101);
    PostMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(field, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND list = WaitForWindowOf([] {
        HWND found = FindWindowA("ComboLBox", nullptr);
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }, 10000);
    ASSERT_NE(list, nullptr) << "the colour list did not drop";
    RECT listRect, fieldRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(field, &fieldRect);
    EXPECT_EQ(listRect.top, fieldRect.bottom);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    SetCursorPos(listRect.left + 20, listRect.top + (4 - top) * rowHeight + rowHeight / 2);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    EXPECT_TRUE(WaitForCaption(frame, "KitDialog colour 4", 10000)) << Caption(frame);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
}

// With a drawing open the colour field reloads from it: the rows of the drawing's colours and
// the view's current colour.
TEST_F(KitControlsTest, ColourFieldReloadsFromTheActiveDrawing)
{
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr);

    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
    // Loaded (1); the row is the view's current colour less one.
    const DWORD start = GetTickCount();
    while (Caption(frame).rfind("KitDialog shown", 0) != 0 && GetTickCount() - start < 15000) Sleep(50);
    ASSERT_EQ(Caption(frame).rfind("KitDialog shown 1 row ", 0), 0u) << Caption(frame);
    // The trace comes from the dialog's initialisation, before the dialog shows.
    HWND dialog = WaitForWindowOf([] {
        HWND found = FindWindowA(nullptr, "KitDialog");
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }, 5000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForCaption(frame, "KitDialog cancel", 10000)) << Caption(frame);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

}  // namespace
