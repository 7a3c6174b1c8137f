// Folders, path macros, seeding of the per-user settings files and the derived paths.
#include "GTest.h"

#include "SettingsSandbox.h"
#include "core/ConfigData.h"
#include "core/ProgramPaths.h"

TEST(ProgramPaths, Folders)
{
    SettingsSandbox sandbox;
    EXPECT_EQ(GetExeDir(), sandbox.ProgramDir());
    char buffer[MAX_PATH];
    GetExeDirBuf(buffer);
    EXPECT_EQ(std::string(buffer), sandbox.ProgramDir());
    EXPECT_STREQ(GetMakerFolderName(), "Ostrel");
    EXPECT_STREQ(GetProductFolderName(), "VoltraneV8");
    EXPECT_FALSE(SettingsSandbox::Exists(sandbox.UserDir()));
    EXPECT_EQ(GetUserSettingsDir(true), sandbox.UserDir());
    EXPECT_TRUE(SettingsSandbox::Exists(sandbox.UserDir()));
    EXPECT_EQ(GetUserDocumentsDir(false), sandbox.DocumentsDir());
    EXPECT_EQ(GetUserIniPath(), sandbox.UserFile("Brisco.ini"));
}

TEST(ProgramPaths, PathParts)
{
    const struct {
        const char* path;
        const char* parent;
        const char* extension;
    } cases[] = {
        {"C:\\a\\b\\c.txt", "C:\\a\\b\\", ".txt"},
        {"C:\\a\\b\\", "C:\\a\\", ""},
        {"C:\\a\\b", "C:\\a\\", ""},
        {"name.tar.gz", "", ".gz"},
        {"C:\\表\\ソ.xml", "C:\\表\\", ".xml"},  // trail byte 0x5C is no separator
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetParentPath(c.path), c.parent) << c.path;
        EXPECT_EQ(GetPathExtension(c.path), c.extension) << c.path;
    }
    std::string drive, dir, name, ext;
    SplitPath("D:\\x\\y\\file.ini", &drive, &dir, &name, &ext);
    EXPECT_EQ(drive, "D:");
    EXPECT_EQ(dir, "\\x\\y\\");
    EXPECT_EQ(name, "file");
    EXPECT_EQ(ext, ".ini");
}

TEST(ProgramPaths, JoinKeepsAFolderEndingInTrailByte5C)
{
    const struct {
        const char* folder;
        const char* name;
        const char* joined;
    } cases[] = {
        {"C:\\部品表", "a.ini", "C:\\部品表\\a.ini"},   // 表 ends in 5C
        {"C:\\部品表\\", "a.ini", "C:\\部品表\\a.ini"},
        {"C:\\ソ\\\\", "\\a.ini", "C:\\ソ\\a.ini"},
        {"C:\\a/", "b", "C:\\a\\b"},
    };
    for (const auto& c : cases) EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder;
}

TEST(ProgramPaths, MacroExpansion)
{
    SettingsSandbox sandbox;
    const std::string docs = sandbox.DocumentsDir(), user = sandbox.UserDir(), exe = sandbox.ProgramDir();
    const struct {
        std::string path;
        std::string expanded;
    } cases[] = {
        {"%USER_LOCAL_APPDATA%\\file.ini", user + "\\\\file.ini"},
        {"%USER_LOCAL_APPDATA%file.ini", user + "\\file.ini"},
        {"%USER_MYDOCUMENTS%a\\%USER_MYDOCUMENTS%b", docs + "\\a\\" + docs + "\\b"},
        {"%USER_MYDOCUMENTS%x;%EXECDIR%y", docs + "\\x;%EXECDIR%y"},
        {"%EXECDIR%SETTEI", exe + "\\SETTEI"},
        {"plain.txt", docs + "\\plain.txt"},
        {"C:\\abs\\file.txt", "C:\\abs\\file.txt"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandPathMacros(c.path, false), c.expanded) << c.path;
    const std::string made = ExpandPathMacros("%USER_LOCAL_APPDATA%made\\deeper", true);
    EXPECT_TRUE(SettingsSandbox::Exists(made));
}

TEST(ProgramPaths, SeedingByFileTimes)
{
    const struct {
        double installedAge;  // seconds relative to now
        double userAge;
        bool userExists;
        bool copied;
    } cases[] = {
        {-10, -3600, true, true},    // installed newer: copied, old copy kept as .bak
        {-3600, -10, true, false},   // installed older
        {-100, -100, true, false},   // as old
        {-99.5, -100.0, true, false},   // newer by less than a second
        {-100, 0, false, true},      // no user copy: copied, no .bak
    };
    for (const auto& c : cases) {
        SettingsSandbox sandbox;
        ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("ConfigData.xml"), "installed"));
        ASSERT_TRUE(SettingsSandbox::SetFileAge(sandbox.ProgramFile("ConfigData.xml"), c.installedAge));
        CreateDirectoryTree(sandbox.UserDir());
        if (c.userExists) {
            ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("ConfigData.xml"), "user"));
            ASSERT_TRUE(SettingsSandbox::SetFileAge(sandbox.UserFile("ConfigData.xml"), c.userAge));
        }
        EXPECT_EQ(GetConfigDataXmlPath(true, true), sandbox.UserFile("ConfigData.xml"));
        EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.UserFile("ConfigData.xml")), c.copied ? "installed" : "user")
            << c.installedAge << " " << c.userAge;
        EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.UserFile("ConfigData.bak")),
                  c.copied && c.userExists ? "user" : "");
        EXPECT_FALSE(SettingsSandbox::Exists(sandbox.UserFile("ConfigData.xml.new$")));
        EXPECT_TRUE(SettingsSandbox::Messages().empty());
    }
}

TEST(ProgramPaths, MissingInstalledCopyIsReported)
{
    SettingsSandbox sandbox;
    EXPECT_EQ(GetLocalSettingsXmlPath(true, true), sandbox.UserFile("LocalSettings.xml"));
    ASSERT_EQ(SettingsSandbox::Messages().size(), 1u);
    EXPECT_EQ(SettingsSandbox::Messages()[0].text, "設定ファイル " + sandbox.ProgramFile("LocalSettings.xml") +
                                                       " がありません。正しくインストールされているか確認してください。");
    EXPECT_EQ(SettingsSandbox::Messages()[0].caption, "エラー");
    // Without the seed flag an existing user copy is not compared at all.
    SettingsSandbox::Messages().clear();
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("LocalSettings.ini"), "[System]\r\n"));
    EXPECT_EQ(GetLocalSettingsIniPath(false, false), sandbox.UserFile("LocalSettings.ini"));
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
}

TEST(ProgramPaths, DataFolders)
{
    SettingsSandbox sandbox;
    char out[MAX_PATH];
    EXPECT_EQ(GetDataFolderPath(7, out, sizeof out, "com.ini", true), 0);
    EXPECT_EQ(std::string(out), sandbox.ProgramDir() + "\\SETTEI\\com.ini");
    EXPECT_EQ(GetDataFolderPath(9, out, sizeof out, nullptr, false), 0);
    EXPECT_STREQ(out, "KENTIKUD\\HATCH\\");
    EXPECT_EQ(GetDataFolderPath(0, out, sizeof out, "x", false), 0);
    EXPECT_STREQ(out, "x");
    EXPECT_EQ(GetDataFolderPath(14, out, sizeof out, "x", true), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(GetDataFolderPath(-1, out, sizeof out, "x", true), -1);
}

TEST(ProgramPaths, ResolvedFilePaths)
{
    SettingsSandbox sandbox;
    ConfigDataFile file;
    file.BACKUPDIR = "%USER_LOCAL_APPDATA%BAK\\\\";
    file.LOGDIR = "";
    file.HELPFILE = "help.chm";
    file.WAV = "ding.wav";
    file.ZUMENDIR = "C:\\zumen";
    const struct {
        const char* autoz;
        std::string path;
    } cases[] = {{"D:\\x.tcf", "D:\\x.tcf"}, {"\\\\server\\x.tcf", "\\\\server\\x.tcf"}, {"x.tcf", "C:\\zumen\\x.tcf"},
                 {"", ""}};
    for (const auto& c : cases) {
        file.AUTOZ = c.autoz;
        ResolveFilePaths(file);
        EXPECT_EQ(std::string(GetResolvedFilePaths().autoOpenPath), c.path) << c.autoz;
    }
    const ResolvedFilePaths& rp = GetResolvedFilePaths();
    EXPECT_EQ(std::string(rp.backupDir), sandbox.UserDir() + "\\BAK\\");
    EXPECT_TRUE(SettingsSandbox::Exists(rp.backupDir));
    EXPECT_FALSE(SettingsSandbox::Exists(std::string(rp.backupDir) + "tmp$bootchk.tmp"));
    EXPECT_EQ(std::string(rp.logDir), sandbox.DocumentsDir() + "\\LOG\\");
    EXPECT_EQ(std::string(rp.helpFile), sandbox.ProgramDir() + "\\help.chm");
    EXPECT_EQ(std::string(rp.soundFile), sandbox.ProgramDir() + "\\ding.wav");
    EXPECT_EQ(file.rmenuPath, sandbox.ProgramDir() + "\\SETTEI\\rightmenu.ini");
    EXPECT_EQ(file.titleBmpPath, sandbox.ProgramDir() + "\\SETTEI\\start.bmp");
    EXPECT_EQ(std::string(rp.openFilter2, 13), std::string("図面ファイル\0", 13));
    EXPECT_TRUE(SettingsSandbox::Messages().empty());

    // A backup folder where nothing can be written: the check's message, and the start goes on.
    file.BACKUPDIR = sandbox.Folder().File("missing\\?<>");
    file.RDONLY = 1;
    ResolveFilePaths(file);
    ASSERT_FALSE(SettingsSandbox::Messages().empty());
    EXPECT_EQ(SettingsSandbox::Messages()[0].caption, "テンポラリチェックエラー");
    EXPECT_EQ(GetResolvedFilePaths().readOnly, 1);
}

TEST(ProgramPaths, MainWindowRectangle)
{
    SettingsSandbox sandbox;
    const long width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const RectEx defaults{0, 0, width - 2, height - 2};
    const struct {
        RectEx stored;  // WIMDOW_RECT
        RectEx size;    // WINDOW_RECT_SIZE
        RectEx result;
    } cases[] = {
        {{0, 0, width - 1, height}, {10, 10, 500, 400}, defaults},  // another screen
        {{0, 0, width, height}, {10, 20, 500, 400}, {10, 20, 500, 400}},
        {{0, 0, width, height}, {10, -6, 500, 400}, {10, 0, 500, 100}},
        {{0, 0, width, height}, {width, height, 500, 400}, {0, 0, 500, 400}},
        {{0, 0, width, height}, {10, 20, 99, 400}, defaults},
        {{0, 0, width, height}, {0, 0, 500, 50}, {0, 0, 500, 100}},
    };
    for (const auto& c : cases) {
        ConfigDataMenu menu;
        menu.WIMDOW_RECT = c.stored;
        menu.WINDOW_RECT_SIZE = c.size;
        menu.TMENU_TMENULASTPOS = 2;
        menu.FullDragMode = 1;
        ApplyMenuSettings(menu);
        EXPECT_EQ(menu.WIMDOW_RECT.left, c.result.left);
        EXPECT_EQ(menu.WIMDOW_RECT.top, c.result.top);
        EXPECT_EQ(menu.WIMDOW_RECT.right, c.result.right);
        EXPECT_EQ(menu.WIMDOW_RECT.bottom, c.result.bottom);
        const MenuSettingsRuntime& rt = GetMenuSettingsRuntime();
        EXPECT_EQ(rt.mainWindowRect.right, c.result.right);
        EXPECT_EQ(rt.tmenuLastPos, 2);
        EXPECT_EQ(rt.layoutViewWidth, 300);
        EXPECT_EQ(rt.layoutViewHeight, 270);
        EXPECT_EQ(rt.fullDragMode, 1);
    }
}
