// The per-user records: tolerances, the apply and gather steps and "LocalSettings.ini".
#include "GTest.h"

#include "SettingsSandbox.h"
#include "core/LocalSettings.h"

TEST(LocalSettings, ToleranceDigits)
{
    LocalSettingsSetup setup;
    EXPECT_EQ(setup.iDigit_dEps, 7);
    setup.UpdateEpsValues(false);
    EXPECT_EQ(setup.iDigit_dEps, 5);
    EXPECT_DOUBLE_EQ(setup.lengthTolerance, 0.000001);
    EXPECT_DOUBLE_EQ(setup.angleTolerance, 0.0001);
    const struct {
        int length, angle, lengthAfter, angleAfter;
    } cases[] = {{2, 5, 2, 5}, {1, 6, 5, 3}, {6, 1, 5, 3}, {3, 4, 3, 4}};
    for (const auto& c : cases) {
        setup.iDigit_dEps = c.length;
        setup.iDigit_dEpsAngle = c.angle;
        setup.UpdateEpsValues(false);
        EXPECT_EQ(setup.iDigit_dEps, c.lengthAfter);
        EXPECT_EQ(setup.iDigit_dEpsAngle, c.angleAfter);
    }
    setup.UpdateEpsValues(true);
    EXPECT_EQ(setup.iDigit_dEps, 5);
    EXPECT_EQ(setup.iDigit_dEpsAngle, 3);

    int length[3] = {}, angle[3] = {};
    LocalSettingsSetup::GetDefaultEpsDigits(length, angle);
    EXPECT_EQ(length[0], 5);
    EXPECT_EQ(length[1], 2);
    EXPECT_EQ(angle[0], 3);
    EXPECT_EQ(angle[2], 5);
    LocalSettingsSetup::GetDefaultEpsDigits(nullptr, nullptr);
}

TEST(LocalSettings, ApplyAndGather)
{
    SettingsSandbox sandbox;
    LocalSettingsSetup& setup = GetCadSystem().setup;
    setup = LocalSettingsSetup();
    setup.LMsFg = 105;
    setup.iGridCutFg = 0;
    setup.iGridNoDetFlg = 1;
    setup.iRMenuFg = 0;
    setup.lMenuMode = 4;
    setup.iRubberCol = 12;
    setup.CursorRate = 12.5;
    GetMenuSettingsRuntime().tmenuLastPos = 0;
    setup.ApplyAll();
    const LocalSettingsSetup& live = GetLocalSettingsLive().setup;
    EXPECT_EQ(live.LMsFg, 104 | 0x20 | 0x40);
    EXPECT_EQ(live.iGridNoDetFlg, 0);
    EXPECT_EQ(live.iRMenuFg, 1);
    EXPECT_EQ(setup.lMenuMode, 0);
    EXPECT_EQ(GetConfigDataRuntime().rubberBandColor, 12);
    EXPECT_EQ(GetConfigDataRuntime().keyCursorStep, 12.5);
    EXPECT_EQ(live.iDigit_dEps, 5);

    GetLocalSettingsLive().setup.iUndoCount = 99;
    GetConfigDataRuntime().keyCursorStep = 7.0;
    SetDrawingBackgroundMode(2);
    setup.Gather();
    SetDrawingBackgroundMode(0);
    EXPECT_EQ(setup.bBkColor, 2);
    EXPECT_EQ(setup.iUndoCount, 99);
    EXPECT_EQ(setup.CursorRate, 7.0);
    EXPECT_EQ(setup.LMsFg, 104 | 0x20 | 0x40);
}

TEST(LocalSettings, WindowIsClampedToTheScreen)
{
    SettingsSandbox sandbox;
    const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const struct {
        RectEx stored, applied;
    } cases[] = {
        {{5000, 20, 800, 600}, {0, 20, 800, 600}},
        {{-3, -1, 50, 60}, {0, 0, 100, 100}},
        {{10, height - 5, width + 50, height + 50}, {10, 0, width, height}},
        {{width - 10, height - 10, 500, 400}, {width - 10, height - 10, 500, 400}},
    };
    for (const auto& c : cases) {
        LocalSettingsWindow window;
        window.Screen = c.stored;
        window.MOUSE = 3;
        window.Apply();
        EXPECT_EQ(window.Screen.left, c.applied.left);
        EXPECT_EQ(window.Screen.top, c.applied.top);
        EXPECT_EQ(window.Screen.right, c.applied.right);
        EXPECT_EQ(window.Screen.bottom, c.applied.bottom);
        EXPECT_EQ(GetMenuSettingsRuntime().mainWindowRect.left, c.applied.left);
        EXPECT_EQ(GetLocalSettingsLive().mouseMode, 3);
    }
    LocalSettingsWindow fresh;
    EXPECT_EQ(fresh.Screen.right, width - 2);
    EXPECT_EQ(fresh.Screen.bottom, height - 2);
    fresh.Apply();
    ASSERT_EQ(fresh.TbarDisp.size(), 17u);
    EXPECT_EQ(fresh.TbarDisp[3], "0,1,1,6");
    EXPECT_EQ(fresh.TbarDisp[16], "0,1,1,6");
    LocalSettingsWindow one;
    one.TbarDisp = {"9,9,9,9"};
    one.Apply();
    EXPECT_EQ(one.TbarDisp.size(), 1u);
    GetMenuSettingsRuntime().mainWindowRect = {1, 2, 300, 400};
    GetLocalSettingsLive().mouseMode = 5;
    one.Gather();
    EXPECT_EQ(one.Screen.right, 300);
    EXPECT_EQ(one.MOUSE, 5);
}

TEST(LocalSettings, IniValues)
{
    SettingsSandbox sandbox;
    const std::string ini = sandbox.Folder().File("LocalSettings.ini");
    ASSERT_TRUE(SettingsSandbox::WriteFile(ini,
                                           "[System]\r\niPanelCaption=15\r\niEpsMode=0\r\niHighlightColor=6\r\n"
                                           "iDrawColorMode=1\r\niDrawColor=9\r\n[Mouse]\r\niCursorFindArea=999\r\n"
                                           "iMouseWheelZoomType=2\r\n"));
    LocalSettingsSetup& setup = GetCadSystem().setup;
    setup.iDigit_dEps = 4;
    setup.ReadIniValues(ini);
    const LocalSettingsLive& live = GetLocalSettingsLive();
    EXPECT_EQ(live.iPanelCaption, 15);
    EXPECT_EQ(live.iHighlightColor, 6);
    EXPECT_EQ(live.iMouseWheelZoomType, 2);
    EXPECT_EQ(live.iCursorFindArea, 8);  // 999 is refused
    EXPECT_EQ(live.nLogKeepDays, 7);
    EXPECT_EQ(live.iDispDrawLevel, 1);
    EXPECT_EQ(setup.iDigit_dEps, 4);  // iEpsMode set: no reset

    // iEpsMode is written once as "0" when it was never set.
    const std::string other = sandbox.Folder().File("Other.ini");
    GetLocalSettingsLive().iEpsMode = -1;
    GetLocalSettingsLive().iPanelCaption = 7;
    setup.WriteIniValues(other);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iEpsMode", 99, other.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iDrawColor", 99, other.c_str()), 9u);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iPanelCaption", 99, other.c_str()), 7u);
    WritePrivateProfileStringA("System", "iEpsMode", "3", other.c_str());
    setup.WriteIniValues(other);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iEpsMode", 99, other.c_str()), 3u);

    GetLocalSettingsLive().iHighlightColor = 11;
    EXPECT_EQ(setup.WriteHighlightColor(other, false), 0);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iHighlightColor", 99, other.c_str()), 99u);
    EXPECT_EQ(setup.WriteHighlightColor(other, true), 0);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iHighlightColor", 99, other.c_str()), 11u);
}
