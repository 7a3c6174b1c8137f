// Typed ini values with their "_FLG" companions, and the writer of "LocalSettings.ini".
#include "GTest.h"

#include "SettingsSandbox.h"
#include "core/ConfigIo.h"
#include "core/IniValue.h"
#include "core/SettingsFiles.h"

TEST(IniValue, MaxCoordValueAndItsFlag)
{
    SettingsSandbox sandbox;
    const std::string ini = sandbox.ProgramFile("Voltrane.ini");
    EXPECT_EQ(GetProgramIniPath(), ini);

    CIniValueDouble missing("CONFIG", "MAX_COORD_VALUE", 1e100);
    missing.Load("1.0e100");
    EXPECT_EQ(missing.flag, 0);
    EXPECT_EQ(missing.value, 1e100);

    ASSERT_TRUE(SettingsSandbox::WriteFile(ini, "[CONFIG]\r\nMAX_COORD_VALUE=5.0e6 // limit\r\nMAX_COORD_VALUE_FLG=1\r\n"));
    CIniValueDouble set("CONFIG", "MAX_COORD_VALUE", 1e100);
    set.Load("1.0e100");
    EXPECT_EQ(set.flag, 1);
    EXPECT_EQ(set.value, 5.0e6);

    // A flag that is on stays on when its key is missing.
    ASSERT_TRUE(SettingsSandbox::WriteFile(ini, "[CONFIG]\r\nMAX_COORD_VALUE=7\r\n"));
    set.Load("1.0e100");
    EXPECT_EQ(set.flag, 1);
    EXPECT_EQ(set.value, 7.0);
}

TEST(IniValue, SaveWithAndWithoutTheFlag)
{
    SettingsSandbox sandbox;
    const std::string ini = sandbox.ProgramFile("Voltrane.ini");
    CIniValueInt value("TOOLBAR", "COUNT", -12);
    EXPECT_EQ(value.Save(false), 1);
    char text[64];
    GetPrivateProfileStringA("TOOLBAR", "COUNT", "", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "-12");
    GetPrivateProfileStringA("TOOLBAR", "COUNT_FLG", "none", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "none");

    value.flag = 1;
    value.value = 3;
    EXPECT_EQ(value.Save(true), 1);
    GetPrivateProfileStringA("TOOLBAR", "COUNT_FLG", "none", text, sizeof text, ini.c_str());
    EXPECT_STREQ(text, "1");

    CIniValueInt loaded("TOOLBAR", "COUNT", 0);
    loaded.Load("0");
    EXPECT_EQ(loaded.value, 3);
    EXPECT_EQ(loaded.flag, 1);

    CIniValueString name("TOOLBAR", "NAME", "標準");
    EXPECT_EQ(name.Save(true), 1);
    CIniValueString again("TOOLBAR", "NAME", "");
    again.Load("既定");
    EXPECT_EQ(again.value, "標準");
    EXPECT_EQ(again.flag, 0);
    CIniValueString absent("TOOLBAR", "OTHER", "");
    absent.Load("既定");
    EXPECT_EQ(absent.value, "既定");
}

TEST(IniValue, SystemSectionReadsTheSettingsFile)
{
    SettingsSandbox sandbox;
    CreateDirectoryTree(sandbox.UserDir());
    ConfigData record;
    record.TIMESTEP = 250;
    ASSERT_EQ(SaveConfigDataFile(sandbox.ProgramFile("ConfigData.xml"), record, nullptr), 0);
    CIniValueInt timestep("SYSTEM", "TIMESTEP", 0);
    timestep.Load("0");
    EXPECT_EQ(timestep.value, 250);
    EXPECT_EQ(timestep.flag, 0);
}

TEST(IniValue, LocalSettingsIniPath)
{
    SettingsSandbox sandbox;
    GetLocalSettingsLive().iHighlightColor = 4;
    const struct {
        std::string given;
        std::string written;
    } cases[] = {
        {sandbox.Folder().File("A.INI"), sandbox.Folder().File("A.INI")},
        {sandbox.Folder().File("B.xml"), sandbox.Folder().File("B.ini")},
        {sandbox.Folder().File("C"), sandbox.Folder().File("C.ini")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetCadSystem().WriteLocalSettingsIni(c.given.c_str()), 0);
        EXPECT_EQ(GetPrivateProfileIntA("System", "iHighlightColor", 99, c.written.c_str()), 4u) << c.given;
    }
    CreateDirectoryTree(sandbox.UserDir());
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("LocalSettings.ini"), "[System]\r\n"));
    EXPECT_EQ(GetCadSystem().WriteLocalSettingsIni(nullptr), 0);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iHighlightColor", 99, sandbox.UserFile("LocalSettings.ini").c_str()), 4u);
}
