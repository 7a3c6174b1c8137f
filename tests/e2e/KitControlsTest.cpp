// The program's kit controls in a plug-in's own dialog: the test plug-in shows a template that
// places the kit buttons and picker fields by class name; a colour row picked in the dropped
// list reaches the plug-in through the field's notice.
#include "GTest.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "CatalogueSwap.h"
#include "DravikDb.h"
#include "DrawingWindows.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "TempFolder.h"
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

// The test plug-in's kit dialog once it shows; null when it did not within the time.
HWND ShownKitDialog(int timeoutMs)
{
    return WaitForWindowOf([] {
        HWND found = FindWindowA(nullptr, "KitDialog");
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }, timeoutMs);
}

// Clicks a picker field as the user does and waits for its list to drop; the dropped list, or
// null.
HWND DropList(HWND field)
{
    PostMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(field, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    return WaitForWindowOf([] {
        HWND found = FindWindowA("ComboLBox", nullptr);
        return found != nullptr && IsWindowVisible(found) ? found : nullptr;
    }, 10000);
}

// The program started with the kit dialog's catalogue.
class KitControlsTest : public ::testing::Test {
protected:
    void SetUp() override { Begin(); }
    void Begin(const std::string& arguments = std::string())
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start(arguments));
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

// The plug-in's own colour rows load only while a drawing view is open: without one the field
// takes nothing and answers 0.
TEST_F(KitControlsTest, PluginDialogPlacesKitControlsByNameAndGetsThePickedColourRow)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5993, 0);
    ASSERT_TRUE(WaitForCaption(frame, "KitDialog shown 0 row 0", 15000)) << Caption(frame);
    HWND empty = ShownKitDialog(5000);
    ASSERT_NE(empty, nullptr);
    PostMessageA(empty, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitForCaption(frame, "KitDialog cancel", 10000)) << Caption(frame);
    ASSERT_TRUE(WaitUntilGone(empty, 10000));

    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr);
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5993, 0);
    ASSERT_TRUE(WaitForCaption(frame, "KitDialog shown 1 row 0", 15000)) << Caption(frame);
    // The trace comes from the dialog's initialisation, before the dialog shows.
    HWND dialog = ShownKitDialog(5000);
    ASSERT_NE(dialog, nullptr);
    char className[64];
    for (int id : {IDOK, IDCANCEL, 101, 102, 103}) {
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr) << id;
        GetClassNameA(control, className, sizeof className);
        EXPECT_TRUE(IsWindowVisible(control)) << className;
    }

    HWND field = GetDlgItem(dialog, 101);
    HWND list = DropList(field);
    ASSERT_NE(list, nullptr) << "the colour list did not drop";
    RECT listRect, fieldRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(field, &fieldRect);
    EXPECT_EQ(listRect.top, fieldRect.bottom);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_TRUE(ClickScreen({listRect.left + 20, listRect.top + (4 - top) * rowHeight + rowHeight / 2}));
    EXPECT_TRUE(WaitForCaption(frame, "KitDialog colour 4", 10000)) << Caption(frame);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
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
    HWND dialog = ShownKitDialog(5000);
    ASSERT_NE(dialog, nullptr);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitForCaption(frame, "KitDialog cancel", 10000)) << Caption(frame);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

// A drawing whose page 0 has group A with layers 3 and 7 and group B with layer 5, the
// current layer 7; the program starts with it open.
class KitLayerFieldTest : public KitControlsTest {
protected:
    void SetUp() override
    {
        path = folder.File("layers.tcf");
        ASSERT_TRUE(WriteLayeredDrawing(path));
        Begin(path);
        for (DWORD start = GetTickCount(); ActiveView() == nullptr && GetTickCount() - start < 20000;) Sleep(50);
        ASSERT_NE(ActiveView(), nullptr);
    }
    HWND ActiveView() { return reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW)); }
    static bool WriteLayeredDrawing(const std::string& file)
    {
        EngineDbRecord record;
        std::memset(&record, 0, sizeof record);
        if (ZUriCreateDB(&record) != 1) return false;
        auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &record));
        const struct {
            int layer;
            const char* name;
            const char* group;
        } layers[] = {{3, "幹線3", "A"}, {7, "幹線7", "A"}, {5, "照明", "B"}};
        bool named = info != nullptr;
        for (const auto& l : layers) {
            named = named && ZUriSetLayerName(0, l.layer, l.name, &record) == 1;
            if (named) std::strcpy(info->layers.groupNames[l.layer], l.group);
        }
        if (named) info->layers.currentLayer = 7;
        uint32_t flags = 0;
        const bool saved = named && ZUriSaveFileOfCWX(file.c_str(), &record, &flags) == 1;
        ZUriDeleteDB(&record);
        return saved;
    }

    TempFolder folder;
    std::string path;
};

// The layer field of the plug-in's dialog drops the drawing's page, group and layer tree under
// itself; a group row picked with the mouse reaches the plug-in as the group's first layer.
TEST_F(KitLayerFieldTest, LayerListShowsTheDrawingsTreeAndAPickedGroupGivesItsFirstLayer)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
    HWND dialog = ShownKitDialog(15000);
    ASSERT_NE(dialog, nullptr) << Caption(frame);
    HWND field = GetDlgItem(dialog, 103);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(SendMessageA(field, WM_USER + 3, 0, 0), 7) << "the drawing's current layer";
    EXPECT_EQ(SendMessageA(field, WM_USER + 4, 0, 0), 0);

    // The pointer on the dialog's corner, away from where the list drops, and taken in by the
    // program: a dropped list's selection follows it, and a loaded machine can hand the program an
    // earlier position late.
    RECT dialogRect;
    GetWindowRect(dialog, &dialogRect);
    ASSERT_TRUE(SettlePointer(dialog, {dialogRect.left + 5, dialogRect.top + 5}));
    HWND list = DropList(field);
    ASSERT_NE(list, nullptr) << "the layer list did not drop";
    RECT listRect, fieldRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(field, &fieldRect);
    EXPECT_EQ(listRect.top, fieldRect.bottom);
    EXPECT_EQ(listRect.right - listRect.left, 250);
    // The page, group A, layers 3 and 7, group B, layer 5; layer 7 selected.
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 6);
    // The field's chosen row is the current layer's. (The dropped list's own highlight follows
    // wherever the display last reported the pointer, so it is not read here.)
    constexpr int kLayerComboId = 1;  // the picker field's combo inside its "vylayerwndclass" child
    HWND combo = GetDlgItem(FindWindowExA(field, nullptr, "vylayerwndclass", nullptr), kLayerComboId);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(rowHeight, 16);
    ASSERT_TRUE(ClickScreen({listRect.left + 80, listRect.top + (4 - top) * rowHeight + rowHeight / 2}));
    EXPECT_TRUE(WaitForCaption(frame, "KitDialog layer 0 5", 10000)) << Caption(frame);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

}  // namespace
