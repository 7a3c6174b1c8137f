#include "GTest.h"

#include "controls/KitButtons.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "panels/CustomRightMenu.h"
#include "panels/RightMenu.h"
#include "panels/SnapModes.h"

namespace {

TEST(SnapModesTest, ToggleKeepsTheLastModeAndBitOneStandsForEndPointsAndIntersections)
{
    const struct {
        int word, bit, toggled;
    } toggles[] = {{0x68, 0x08, 0x60}, {0x08, 0x08, 0x08}, {0x60, 0x20, 0x40}, {0x40, 0x04, 0x44}, {0x00, 0x10, 0x10}};
    for (const auto& t : toggles) EXPECT_EQ(ToggleSnapWord(t.word, t.bit), t.toggled) << t.word << " " << t.bit;
    EXPECT_EQ(NormalizeSnapWord(0x01), 0x60);
    EXPECT_EQ(NormalizeSnapWord(0x09), 0x68);
    EXPECT_EQ(NormalizeSnapWord(0x44), 0x44);
    const struct {
        int id, bit;
    } buttons[] = {{3402, 1}, {3403, 2}, {3407, 2}, {3404, 4}, {3405, 8}, {3418, 0x10}, {3410, 0x20}, {3411, 0x40},
                   {3412, 0x80}, {3406, 0}};
    for (const auto& b : buttons) EXPECT_EQ(SnapBitOfButton(b.id), b.bit) << b.id;
}

class SnapModesWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instance = GetModuleHandleA(nullptr);
        RegisterKitButtonClasses(instance);
        ASSERT_EQ(CreateRightMenuPopup(nullptr, instance), 1);
        saved = GetLocalSettingsLive();
        GetCadSystem().config.RMENU_SNAP = 1;
    }
    void TearDown() override
    {
        CloseRightMenu();
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        DestroyRightMenuPopup();
        GetCadSystem().config.RMENU_SNAP = 0;
        GetLocalSettingsLive() = saved;
    }
    LONG Checked(int id) { return GetWindowLongA(GetDlgItem(GetRightMenuContainer(), id), kKitCheckedWord); }

    HINSTANCE instance = nullptr;
    LocalSettingsLive saved;
};

TEST_F(SnapModesWindowTest, ThePopupsSnapButtonsShowAndToggleTheWord)
{
    GetLocalSettingsLive().setup.LMsFg = 0x01;
    GetLocalSettingsLive().iLockBtnSnapNINNITEN = 0;
    SyncSnapButtons();
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 0x60);
    ShowCustomRightMenu(nullptr);
    HWND popup = GetRightMenuContainer();
    ASSERT_NE(GetDlgItem(popup, 3410), nullptr);
    EXPECT_EQ(Checked(3410), 1);
    EXPECT_EQ(Checked(3411), 1);
    EXPECT_EQ(Checked(3405), 0);

    SendMessageA(popup, WM_COMMAND, 3410, 0);
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 0x40);
    EXPECT_EQ(Checked(3410), 0);
    SendMessageA(popup, WM_COMMAND, 3411, 0);
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 0x40) << "the only active mode stays";
    EXPECT_EQ(Checked(3411), 1);

    GetLocalSettingsLive().iLockBtnSnapNINNITEN = 1;
    SyncSnapButtons();
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 0x48);
    EXPECT_EQ(Checked(3405), 1);
}

}  // namespace
