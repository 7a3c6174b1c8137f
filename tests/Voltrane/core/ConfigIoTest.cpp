// Single settings through the configuration I/O service: every kind of store.
#include "GTest.h"

#include <cstring>

#include "SettingsSandbox.h"
#include "core/ConfigIo.h"
#include "core/SettingsFiles.h"

namespace {

// A sandbox with the installed settings files in the program folder and their per-user copies.
struct ConfigIoSandbox : SettingsSandbox {
    ConfigIoSandbox()
    {
        ConfigData config;
        LocalSettingsRecords local;
        SaveConfigDataFile(ProgramFile("ConfigData.xml"), config, nullptr);
        SaveLocalSettingsFile(ProgramFile("LocalSettings.xml"), local, nullptr);
        SettingsSandbox::WriteFile(ProgramFile("LocalSettings.ini"), "[System]\r\n");
        SetFileAge(ProgramFile("ConfigData.xml"), -3600);
        SetFileAge(ProgramFile("LocalSettings.xml"), -3600);
        SetFileAge(ProgramFile("LocalSettings.ini"), -3600);
        GetCadSystem().config = ConfigData();
        GetCadSystem().setup = LocalSettingsSetup();
        ReadConfigDataXml(true);
        ReadLocalSettingsXml(true);
        Messages().clear();
    }
};

std::string Get(const char* section, const char* key, const char* def, const char* fileSpec, int* result = nullptr)
{
    char out[257] = "untouched";
    int r = VirtualGetPrivateProfileString(section, key, def, out, sizeof out, fileSpec);
    if (result) *result = r;
    return out;
}

}  // namespace

TEST(ConfigIo, FileSpecKinds)
{
    ConfigIoSandbox sandbox;
    const std::string other = sandbox.Folder().File("ConfigData.xml");
    ASSERT_TRUE(SettingsSandbox::WriteFile(other, "x"));
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("plain.ini"), "[a]\r\nb=1\r\n"));
    std::string path;
    EXPECT_EQ(ResolveVirtualProfilePath("%USER_LOCAL_APPDATA%ConfigData.xml", &path), 1);
    EXPECT_EQ(path, sandbox.UserFile("ConfigData.xml"));
    EXPECT_EQ(ResolveVirtualProfilePath("%USER_LOCAL_APPDATA%LocalSettings.xml", &path), 2);
    EXPECT_EQ(ResolveVirtualProfilePath("%EXE_DIR%plain.ini", &path), 0);
    EXPECT_EQ(path, sandbox.ProgramFile("plain.ini"));
    EXPECT_EQ(ResolveVirtualProfilePath("%EXE_DIR%missing.ini", &path), -1);
    EXPECT_EQ(ResolveVirtualProfilePath(other.c_str(), &path), 1);
    EXPECT_EQ(ResolveVirtualProfilePath("%SYSTEM_MEMORY%ConfigData.xml", &path), 11);
    EXPECT_EQ(path, "%SYSTEM_MEMORY%ConfigData.xml");
    EXPECT_EQ(ResolveVirtualProfilePath("%SYSTEM_MEMORY%x.ini", &path), 10);
    // A bare "ConfigData.xml" has no character before the name: an ini file.
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    SetCurrentDirectoryA(sandbox.Folder().Path().c_str());
    EXPECT_EQ(ResolveVirtualProfilePath("ConfigData.xml", &path), 0);
    SetCurrentDirectoryA(saved);
}

TEST(ConfigIo, ReadsFromEveryStore)
{
    ConfigIoSandbox sandbox;
    int result = -1;
    EXPECT_EQ(Get("SYSTEM", "TIMESTEP", "0", "%USER_LOCAL_APPDATA%ConfigData.xml", &result), "170");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Get("SYSTEM", "File/BACKUPDIR", "", "%USER_LOCAL_APPDATA%ConfigData.xml"), "TEMP");
    EXPECT_EQ(Get("SYSTEM", "NOPE", "dflt", "%USER_LOCAL_APPDATA%ConfigData.xml", &result), "dflt");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Get("SYSTEM", "DSPDEFFONT", "", "%USER_LOCAL_APPDATA%ConfigData.xml"), "ＭＳ ゴシック");
    EXPECT_EQ(Get("Setup", "iUndoCount", "", "%USER_LOCAL_APPDATA%LocalSettings.xml"), "10");
    EXPECT_EQ(Get("SYSTEM", "Menu/AppPanelType", "0", "%SYSTEM_MEMORY%ConfigData.xml", &result), "1");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(Get("SYSTEM", "Menu/Other", "0", "%SYSTEM_MEMORY%ConfigData.xml"), "0");
    EXPECT_EQ(Get("X", "Menu/AppPanelType", "d", "%SYSTEM_MEMORY%LocalSettings.xml"), "d");
    EXPECT_EQ(Get("a", "b", "", "%EXE_DIR%none.ini", &result), "untouched");
    EXPECT_EQ(result, 0);

    // A settings file that does not parse answers the default and no success.
    const std::string broken = sandbox.Folder().File("b\\ConfigData.xml");
    CreateDirectoryTree(sandbox.Folder().File("b"));
    ASSERT_TRUE(SettingsSandbox::WriteFile(broken, "<SYSTEM><TIMESTEP>1"));
    EXPECT_EQ(Get("SYSTEM", "TIMESTEP", "d", broken.c_str(), &result), "d");
    EXPECT_EQ(result, 0);

    // A long value is cut to the buffer on a character boundary.
    char tiny[6];
    VirtualGetPrivateProfileString("SYSTEM", "DSPDEFFONT", "", tiny, sizeof tiny, "%USER_LOCAL_APPDATA%ConfigData.xml");
    EXPECT_STREQ(tiny, "ＭＳ ");
    char tinier[5];
    VirtualGetPrivateProfileString("SYSTEM", "DSPDEFFONT", "", tinier, sizeof tinier, "%USER_LOCAL_APPDATA%ConfigData.xml");
    EXPECT_STREQ(tinier, "ＭＳ");
}

TEST(ConfigIo, TypedValuesAndComments)
{
    ConfigIoSandbox sandbox;
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("Voltrane.ini"),
                                           "[CONFIG]\r\nA=12 // note\r\nB=表示//x\r\nC=kept  \r\nD=1.5\t// t\r\n"));
    int number = 0;
    EXPECT_EQ(ReadConfigValue(&number, 1, 257, "CONFIG", "A", "0"), 0);
    EXPECT_EQ(number, 12);
    char text[257];
    EXPECT_EQ(ReadConfigValue(text, 5, sizeof text, "CONFIG", "B", ""), 0);
    EXPECT_STREQ(text, "表示");
    ReadConfigValue(text, 5, sizeof text, "CONFIG", "C", "");
    EXPECT_STREQ(text, "kept");
    double real = 0;
    ReadConfigValue(&real, 4, 257, "CONFIG", "D", "0");
    EXPECT_EQ(real, 1.5);
    long wide = 0;
    ReadConfigValue(&wide, 2, 257, "CONFIG", "MISSING", "77");
    EXPECT_EQ(wide, 77);
    EXPECT_EQ(ReadConfigValue(&real, 4, 257, "SYSTEM", "CURSORD", "0"), 0);
    EXPECT_EQ(real, 600.0);
    EXPECT_EQ(ReadConfigValue(&real, 6, 257, "SYSTEM", "CURSORD", "0"), -1);

    char out[257];
    EXPECT_EQ(ReadConfigString("SYSTEM", "SYSTEMDIR", "", out), 1);
    EXPECT_EQ(std::string(out), sandbox.ProgramDir() + "\\");
    ReadConfigString("CONFIG", "A", "", out);
    EXPECT_STREQ(out, "12");

    const struct {
        const char* text;
        const char* stripped;
    } comments[] = {{"値 // 注 // more", "値"}, {"kept  ", "kept  "}, {"a\t\t//", "a"}, {"//", ""}, {"a/b", "a/b"}};
    for (const auto& c : comments) {
        char buffer[64];
        std::strcpy(buffer, c.text);
        StripConfigComment(buffer);
        EXPECT_STREQ(buffer, c.stripped) << c.text;
    }
}

TEST(ConfigIo, WritesToTheSystemSettings)
{
    ConfigIoSandbox sandbox;
    GetCadSystem().config.USERNAME = "メモリ上";  // written to the file first
    EXPECT_EQ(WriteConfigString("SYSTEM", "TIMESTEP", "250"), 1);
    EXPECT_EQ(GetCadSystem().config.TIMESTEP, 250u);
    EXPECT_EQ(GetCadSystem().config.USERNAME, "メモリ上");
    ConfigData stored;
    ASSERT_EQ(LoadConfigDataFile(sandbox.UserFile("ConfigData.xml"), stored, nullptr), 0);
    EXPECT_EQ(stored.TIMESTEP, 250u);
    EXPECT_EQ(stored.USERNAME, "メモリ上");

    EXPECT_EQ(WriteConfigString("SYSTEM", "File/BACKUPDIR", "退避"), 1);
    EXPECT_EQ(GetCadSystem().config.file.BACKUPDIR, "退避");

    // Writes that cannot take effect answer 0 and change nothing.
    EXPECT_EQ(WriteConfigString("SYSTEM", "NOPE", "1"), 0);           // no such key
    EXPECT_EQ(WriteConfigString("SYSTEM", "Menu", "1"), 0);           // an element of elements
    EXPECT_EQ(WriteConfigString("SYSTEM", "TIMESTEP", "<bad>"), 0);   // file would not read back
    ConfigData after;
    ASSERT_EQ(LoadConfigDataFile(sandbox.UserFile("ConfigData.xml"), after, nullptr), 0);
    EXPECT_EQ(after.TIMESTEP, 250u);

    // An element whose text is empty takes the value, and the value is in force.
    EXPECT_EQ(WriteConfigString("SYSTEM", "File/LOGDIR", "ログ"), 1);
    EXPECT_EQ(GetCadSystem().config.file.LOGDIR, "ログ");
    EXPECT_EQ(GetCadSystem().config.TIMESTEP, 250u);
    EXPECT_EQ(VirtualWritePrivateProfileString("SYSTEM", "Menu/AppPanelType", "2", "%SYSTEM_MEMORY%ConfigData.xml"), 0);
    EXPECT_EQ(VirtualWritePrivateProfileString("a", "b", "c", "%EXE_DIR%none.ini"), 0);

    // Other sections go to the program's ini file.
    EXPECT_EQ(WriteConfigString("CONFIG", "K", "v"), 1);
    char out[257];
    ReadConfigString("CONFIG", "K", "", out);
    EXPECT_STREQ(out, "v");
}

TEST(ConfigIo, LocalSettingsWriteSurvivesTheExitSave)
{
    ConfigIoSandbox sandbox;
    EXPECT_EQ(VirtualWritePrivateProfileString("Setup", "iUndoCount", "33", "%USER_LOCAL_APPDATA%LocalSettings.xml"), 1);
    EXPECT_EQ(GetCadSystem().setup.iUndoCount, 33);
    EXPECT_EQ(GetLocalSettingsLive().setup.iUndoCount, 33);
    ASSERT_EQ(GetCadSystem().SaveLocalSettings(), 0);
    LocalSettingsRecords stored;
    ASSERT_EQ(LoadLocalSettingsFile(sandbox.UserFile("LocalSettings.xml"), stored, nullptr), 0);
    EXPECT_EQ(stored.setup.iUndoCount, 33);
}

TEST(ConfigIo, AuxiliaryFilesAndDataPaths)
{
    ConfigIoSandbox sandbox;
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("sonota.ini"), "[S]\r\nk=installed\r\n"));
    char out[257];
    EXPECT_EQ(ReadSonotaString("S", "k", "", out), 1);
    EXPECT_STREQ(out, "installed");
    EXPECT_TRUE(SettingsSandbox::Exists(sandbox.UserFile("sonota.ini")));
    EXPECT_EQ(WriteSonotaString("S", "k", "mine"), 1);
    ReadSonotaString("S", "k", "", out);
    EXPECT_STREQ(out, "mine");
    EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.ProgramFile("sonota.ini")), "[S]\r\nk=installed\r\n");

    CreateDirectoryTree(sandbox.ProgramFile("SETTEI"));
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("SETTEI\\rirekimoji.ini"), "[H]\r\n1=線\r\n"));
    EXPECT_EQ(ReadInputHistoryString("H", "1", "", out), 1);
    EXPECT_STREQ(out, "線");
    EXPECT_TRUE(SettingsSandbox::Exists(sandbox.UserFile("SETTEI\\rirekimoji.ini")));
    EXPECT_TRUE(SettingsSandbox::Messages().empty());

    // A missing installed copy is reported and the user path given all the same.
    char path[MAX_PATH];
    EXPECT_EQ(GetUserDataFilePath(path, sizeof path, "none.ini", 7), 0);
    EXPECT_EQ(std::string(path), sandbox.UserFile("SETTEI\\none.ini"));
    ASSERT_EQ(SettingsSandbox::Messages().size(), 1u);
    EXPECT_EQ(SettingsSandbox::Messages()[0].text,
              "設定ファイル " + sandbox.ProgramFile("SETTEI\\none.ini") +
                  " がありません。正しくインストールされているか確認してください。");

    // A key beginning with ';' is the path itself.
    EXPECT_EQ(GetConfiguredFilePath(path, sizeof path, "CONFIG", ";%USER_MYDOCUMENTS%f.ini", "x"), 1);
    EXPECT_EQ(std::string(path), sandbox.DocumentsDir() + "\\f.ini");
    // A configured name that is not an ini file lives in the program folder.
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("Voltrane.ini"), "[CONFIG]\r\nCMDINI=cmd.dat\r\nDATSTR=h.dat\r\n"));
    GetConfiguredFilePath(path, sizeof path, "CONFIG", "CMDINI", "sonota.ini");
    EXPECT_EQ(std::string(path), sandbox.ProgramFile("cmd.dat"));
    GetConfiguredDataFilePath(path, sizeof path, "CONFIG", "DATSTR", "rirekimoji.ini");
    EXPECT_EQ(std::string(path), sandbox.ProgramFile("SETTEI\\h.dat"));

    std::vector<std::string> scales;
    GetScaleList(scales);
    ASSERT_EQ(scales.size(), 16u);
    EXPECT_EQ(scales[8], "1/100");
}
