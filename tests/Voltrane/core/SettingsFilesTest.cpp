// "ConfigData.xml" and "LocalSettings.xml": the archive form, round trips of every member,
// Japanese texts, damaged files and the installed defaults.
#include "GTest.h"

#include <cstdio>
#include <cstdlib>

#include "SettingsSandbox.h"
#include "core/SettingsFiles.h"

namespace {

// Names of the child elements of the first element named parent, in order.
std::vector<std::string> ChildElements(const std::string& xml, const std::string& parent)
{
    std::vector<std::string> names;
    std::size_t start = xml.find("<" + parent);
    if (start == std::string::npos) return names;
    start = xml.find('>', start) + 1;
    int depth = 0;
    for (std::size_t i = start; i < xml.size(); ++i) {
        if (xml[i] != '<') continue;
        if (xml[i + 1] == '/') {
            if (depth == 0) break;
            --depth;
            continue;
        }
        std::size_t end = xml.find_first_of(" />", i + 1);
        std::size_t close = xml.find('>', i);
        if (depth == 0) names.push_back(xml.substr(i + 1, end - i - 1));
        if (xml[close - 1] != '/') ++depth;
    }
    return names;
}

std::string SaveToText(ConfigData record)
{
    TempFolder folder;
    std::string error;
    EXPECT_EQ(SaveConfigDataFile(folder.File("c.xml"), record, &error), 0) << error;
    return SettingsSandbox::ReadFile(folder.File("c.xml"));
}

std::string SaveToText(LocalSettingsRecords records)
{
    TempFolder folder;
    std::string error;
    EXPECT_EQ(SaveLocalSettingsFile(folder.File("l.xml"), records, &error), 0) << error;
    return SettingsSandbox::ReadFile(folder.File("l.xml"));
}

// Every member of the record changed from its default.
void ChangeEveryMember(ConfigData& c)
{
    c.Version = "8.12";
    c.DSPDEFFONT = "ＭＳ 明朝";
    c.TT = "電気設備 CAD";
    c.YESNOMSG = "確認";
    c.USERNAME = "山田 太郎";
    c.COMPANY = "株式会社サンプル";
    c.SYSTEMFONT = "MS UI Gothic";
    c.ERRFONT = "ＭＳ Ｐゴシック";
    c.COPYRIGHT = "(C) 表示 ソ 能 ～ －";
    c.GRID_OFF = "off";
    c.GRID_ON1 = "on1";
    c.GRID_ON2 = "on2";
    int* ints[] = {&c.GRIDCOLOR_B, &c.GRIDCOLOR_B5, &c.GRIDCOLOR_W, &c.GRIDCOLOR_W5, &c.POINTSCALEFG,
                   &c.NEWZUMENMODE, &c.DSPSLOW, &c.TPOS, &c.INPUTLAYERLOAD, &c.RMENU_SNAP, &c.TEMPOLDMODE,
                   &c.CURMOVE_CTRL, &c.CURMOVE_FIND, &c.WAKUDSPMODE, &c.CMDFILEOPN_NOZUMEN, &c.ON3D,
                   &c.RSTRVIEW, &c.YNCMSG, &c.VIEWSTRSIZE, &c.EXTDIC, &c.bNoLoadErrMsg, &c.RASTRSPLIT,
                   &c.SHARE, &c.LOG, &c.CMDLOG, &c.VCFNT, &c.WRITECHK, &c.SAVENAME, &c.DEGIT, &c.WAITTIME,
                   &c.LPOSCOL, &c.RPOSFMT, &c.MULTIBOOT, &c.WINSIZE, &c.PAPERLINEDSPOFF, &c.VIEWSCALEFIX,
                   &c.SAFE, &c.TYUTEN, &c.LANGUAGE, &c.LAYDLG_INPLAYFG, &c.LAYDLG_GRPOPNFG, &c.CURSOR00TYPE,
                   &c.CURSOR01TYPE, &c.CURSOR02TYPE, &c.WINSHOW_MAXIMIZE, &c.MSG_BAR_MODE,
                   &c.PANEL_BUTTON_TYPE, &c.ScrollBarMode, &c.TITLE_PENCOLOR};
    int n = 100;
    for (int* value : ints) *value = n++;
    long* longs[] = {&c.RMOUSE, &c.TITLE_POSX, &c.TITLE_POSY, &c.TITLE_SIZE, &c.TITLE_POSX_2, &c.TITLE_POSY_2,
                     &c.TITLE_SIZE_2};
    for (long* value : longs) *value = n++;
    c.AUTOCMD = 4050u;
    c.TIMESTEP = 4000000000u;
    c.CURSORD = 123.456789012345678;
    c.STRINFO_FONTNAME = "ＭＳ Ｐ明朝";
    c.STRINFO_HEIGHT = 2.5;
    c.STRINFO_CHARRATIO = 0.75;
    c.STRINFO_INTERVAL = 0.1;
    c.STRINFO_COLOR = 200;
    for (int i = 0; i < 10; ++i) c.MOUSEMOVECMD[i] = 3000 + i;
    for (int i = 0; i < 10; ++i) c.INIT_PARAMETER[i] = -i - 1;
    c.SCALE = {"1/7", "1/77"};
    ConfigDataFile& f = c.file;
    f.BACKUPDIR = "%USER_LOCAL_APPDATA%バックアップ";
    f.LOGDIR = "ログ";
    f.ZUMENDIR = "C:\\図面";
    f.WAV = "a.wav";
    f.AUTOZ = "auto.tcf";
    f.RDONLY = 1;
    f.HELPFILE = "help.chm";
    std::string* tables[] = {f.OPEN_EXT0_N, f.OPEN_EXT0_E, f.OPEN_EXT0_C, f.OPEN_EXT1_N, f.OPEN_EXT1_E, f.OPEN_EXT1_C,
                             f.OPEN_EXT2_N, f.OPEN_EXT2_E, f.OPEN_EXT2_C, f.SAVE_EXT0_N, f.SAVE_EXT0_E};
    int t = 0;
    for (std::string* table : tables) {
        for (int i = 0; i < kFileTypeTableSize; ++i) table[i] = "表" + std::to_string(t) + "_" + std::to_string(i);
        ++t;
    }
    f.COMMAND = "c.ini";
    f.MENU = "m.ini";
    f.RMENU = "r.ini";
    f.KEY = "k.ini";
    f.REG = "g.ini";
    f.TOOLBMP = "t.bmp";
    f.TITLEBMP = "s.bmp";
    ConfigDataMenu& m = c.menu;
    int* menuInts[] = {&m.TMENU_SIZEX, &m.TMENU_SIZEY, &m.TMENU_BSIZE, &m.TMENU_TMENUDSP, &m.TMENU_TMENULASTPOS,
                       &m.PANEL_RDSP, &m.FullDragMode, &m.RightMenuMode, &m.AppPanelType};
    for (int* value : menuInts) *value = n++;
    m.WINDOW_LAYOUTVIEW_WIDTH = 640;
    m.WINDOW_LAYOUTVIEW_HEIGHT = 480;
    m.WIMDOW_RECT = RectEx{1, 2, 3, 4};
    m.WINDOW_RECT_SIZE = RectEx{5, 6, 7, 8};
    ConfigDataColor& col = c.color;
    col.RUBBERCOL = 12;
    col.INIT_COLOR = 9;
    col.COLOR_SYS_BK = ColorRefEx("#010203");
    col.COLOR_PANEL = ColorRefEx("#040506");
    col.COLOR_DLG_BK = ColorRefEx("COLOR_3DFACE");
    for (int i = 0; i < 20; ++i) {
        char text[8], back[8];
        std::snprintf(text, sizeof text, "#1010%02X", i);
        std::snprintf(back, sizeof back, "#2020%02X", i);
        col.COLOR_BTN_ATTR[i] = ColorBtnAttrEx(text, back, i % 2 ? "#303030" : "");
    }
}

void ChangeEveryMember(LocalSettingsRecords& r)
{
    LocalSettingsSetup& s = r.setup;
    s.paper_margin = PaperMarginEx{1.5, 2.5, 3.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9, 10};
    s.grid = DPointEx{11.25, 12.5, 13.75};
    int* ints[] = {&s.bToolHlp, &s.bWindowSz, &s.bBkColor, &s.iRubberCol, &s.bLastPosViewFg, &s.bCurModeChk,
                   &s.iUndoCount, &s.bElmHit, &s.bBeepFind, &s.iSnapShowMode, &s.iDigit, &s.bZero, &s.iRMenuFg,
                   &s.bTmpOnece, &s.bErrDown, &s.bDspNumDlgFg, &s.bDispLastPosFg, &s.bGridDspModeExtr,
                   &s.bScTestBtn, &s.iDefPaperType, &s.MsgFg, &s.bPaperOrg, &s.iGridNoDetFlg, &s.iGridCutFg,
                   &s.bTermDrawFg, &s.bCurSorAreaDsp, &s.iDigit_dEpsAngle, &s.iDigit_dEps, &s.bPointSize,
                   &s.bLineWidthSize, &s.bColorMode, &s.lMenuMode, &s.iStartOpenDlgFg};
    int n = 200;
    for (int* value : ints) *value = n++;
    s.LMsFg = 0x7F;
    s.dDefPaperScale = 0.125;
    s.dDelPaperCx = 841.0;
    s.dDelPaperCy = 594.0;
    s.CursorRate = 33.3;
    s.SysZumenDir = "図面";
    s.szLayDefPat = "標準";
    s.szDefPaperStr1 = "A1";
    s.szDefPaperStr2 = "A2";
    s.szDefPaperStr3 = "A3";
    s.szDefPaperPtn = "枠";
    s.szLPatRd = "rd";
    for (int i = 0; i < 5; ++i) s.iCmdPanelCurrPage[i] = i + 1;
    r.window.Screen = RectEx{10, 20, 800, 600};
    r.window.MOUSE = 2;
    r.window.PNL_MAIN = 0;
    r.window.PNL_CMD = 0;
    r.window.TbarDisp = {"1,2,3,4"};
    r.window.ToolPanelDispMode = 3;
    r.backup.nBackupCountSpan = 9;
    r.backup.bCountBakup = 1;
    r.backup.bTimeBackup = 1;
    r.backup.nBackupTimeSpanSec = 600;
    r.backup.BakupFnames = {"C:\\図面\\a.tcf", "b.tcf"};
    r.stackCmd.CmdId = {4001, 5002};
    r.stackCmd.CmdName = {"線", "円"};
}

}  // namespace

TEST(SettingsFiles, ConfigDataElementsInTheirOrder)
{
    std::string xml = SaveToText(ConfigData());
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?>\n";
    EXPECT_EQ(xml.compare(0, declaration.size(), declaration), 0) << xml.substr(0, 80);
    EXPECT_NE(xml.find("<!DOCTYPE boost_serialization>"), std::string::npos);
    EXPECT_NE(xml.find("<boost_serialization signature=\"serialization::archive\""), std::string::npos);
    EXPECT_NE(xml.find("<SYSTEM class_id=\"0\" tracking_level=\"0\" version=\"0\">"), std::string::npos);
    const std::vector<std::string> expected = {
        "Version", "DSPDEFFONT", "TT", "YESNOMSG", "USERNAME", "COMPANY", "SYSTEMFONT", "ERRFONT", "COPYRIGHT",
        "GRID_OFF", "GRID_ON1", "GRID_ON2", "GRIDCOLOR_B", "GRIDCOLOR_B5", "GRIDCOLOR_W", "GRIDCOLOR_W5",
        "POINTSCALEFG", "NEWZUMENMODE", "DSPSLOW", "TPOS", "INPUTLAYERLOAD", "RMENU_SNAP", "TEMPOLDMODE",
        "CURMOVE_CTRL", "CURMOVE_FIND", "WAKUDSPMODE", "CMDFILEOPN_NOZUMEN", "ON3D", "RSTRVIEW", "YNCMSG",
        "VIEWSTRSIZE", "EXTDIC", "bNoLoadErrMsg", "RASTRSPLIT", "SHARE", "RMOUSE", "LOG", "CMDLOG", "VCFNT",
        "WRITECHK", "SAVENAME", "DEGIT", "WAITTIME", "LPOSCOL", "RPOSFMT", "AUTOCMD", "MULTIBOOT", "WINSIZE",
        "PAPERLINEDSPOFF", "TIMESTEP", "VIEWSCALEFIX", "SAFE", "TYUTEN", "CURSORD", "LANGUAGE", "LAYDLG_INPLAYFG",
        "LAYDLG_GRPOPNFG", "CURSOR00TYPE", "CURSOR01TYPE", "CURSOR02TYPE", "WINSHOW_MAXIMIZE", "MSG_BAR_MODE",
        "PANEL_BUTTON_TYPE", "ScrollBarMode", "TITLE_POSX", "TITLE_POSY", "TITLE_SIZE", "TITLE_POSX_2",
        "TITLE_POSY_2", "TITLE_SIZE_2", "TITLE_PENCOLOR", "STRINFO_FONTNAME", "STRINFO_HEIGHT",
        "STRINFO_CHARRATIO", "STRINFO_INTERVAL", "STRINFO_COLOR", "MOUSEMOVECMD", "INIT_PARAMETER_00",
        "INIT_PARAMETER_01", "INIT_PARAMETER_02", "INIT_PARAMETER_03", "INIT_PARAMETER_04", "INIT_PARAMETER_05",
        "INIT_PARAMETER_06", "INIT_PARAMETER_07", "INIT_PARAMETER_08", "INIT_PARAMETER_09", "SCALE", "File",
        "Menu", "SystemColor"};
    EXPECT_EQ(ChildElements(xml, "SYSTEM"), expected);
    EXPECT_EQ(ChildElements(xml, "File"),
              (std::vector<std::string>{"BACKUPDIR", "LOGDIR", "ZUMENDIR", "WAV", "AUTOZ", "RDONLY", "HELPFILE",
                                        "OPEN_EXT0_N", "OPEN_EXT0_E", "OPEN_EXT0_C", "OPEN_EXT1_N", "OPEN_EXT1_E",
                                        "OPEN_EXT1_C", "OPEN_EXT2_N", "OPEN_EXT2_E", "OPEN_EXT2_C", "SAVE_EXT0_N",
                                        "SAVE_EXT0_E", "COMMAND", "MENU", "RMENU", "KEY", "REG", "TOOLBMP",
                                        "TITLEBMP"}));
    EXPECT_EQ(ChildElements(xml, "Menu"),
              (std::vector<std::string>{"TMENU_SIZEX", "TMENU_SIZEY", "TMENU_BSIZE", "TMENU_TMENUDSP",
                                        "TMENU_TMENULASTPOS", "PANEL_RDSP", "WINDOW_LAYOUTVIEW_WIDTH",
                                        "WINDOW_LAYOUTVIEW_HEIGHT", "WIMDOW_RECT", "WINDOW_RECT_SIZE",
                                        "FullDragMode", "RightMenuMode", "AppPanelType"}));
    EXPECT_EQ(ChildElements(xml, "SystemColor"),
              (std::vector<std::string>{"RUBBERCOL", "INIT_COLOR", "COLOR_SYS_BK", "COLOR_PANEL", "COLOR_DLG_BK",
                                        "COLOR_BTN_ATTR"}));
    // Fixed tables: a count, then the items.
    std::vector<std::string> table = ChildElements(xml, "OPEN_EXT0_N");
    ASSERT_EQ(table.size(), 21u);
    EXPECT_EQ(table[0], "count");
    EXPECT_NE(xml.find("<TIMESTEP>170</TIMESTEP>"), std::string::npos);
    EXPECT_NE(xml.find("<STRINFO_COLOR>7</STRINFO_COLOR>"), std::string::npos);
    EXPECT_NE(xml.find(u8"<DSPDEFFONT>ＭＳ ゴシック</DSPDEFFONT>"), std::string::npos);
}

TEST(SettingsFiles, ConfigDataRoundTripKeepsEveryMember)
{
    ConfigData changed;
    ChangeEveryMember(changed);
    const std::string written = SaveToText(changed);
    ASSERT_NE(written, SaveToText(ConfigData()));

    TempFolder folder;
    ASSERT_TRUE(folder.Write("c.xml", written));
    ConfigData loaded;
    std::string error;
    ASSERT_EQ(LoadConfigDataFile(folder.File("c.xml"), loaded, &error), 0) << error;
    EXPECT_EQ(SaveToText(loaded), written);
    // Spot checks that the values themselves came back.
    EXPECT_EQ(loaded.USERNAME, "山田 太郎");
    EXPECT_EQ(loaded.TIMESTEP, 4000000000u);
    EXPECT_EQ(loaded.CURSORD, changed.CURSORD);
    EXPECT_EQ(loaded.STRINFO_COLOR, 200);
    EXPECT_EQ(loaded.MOUSEMOVECMD[9], 3009);
    EXPECT_EQ(loaded.INIT_PARAMETER[9], -10);
    EXPECT_EQ(loaded.SCALE, (std::vector<std::string>{"1/7", "1/77"}));
    EXPECT_EQ(loaded.file.SAVE_EXT0_E[19], "表10_19");
    EXPECT_EQ(loaded.menu.WINDOW_LAYOUTVIEW_WIDTH, 640);
    EXPECT_EQ(loaded.menu.WINDOW_LAYOUTVIEW_HEIGHT, 480);
    EXPECT_EQ(loaded.color.COLOR_SYS_BK.value, RGB(1, 2, 3));
    EXPECT_EQ(loaded.color.COLOR_DLG_BK.value, GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(loaded.color.COLOR_BTN_ATTR[1].disabledColor, RGB(0x30, 0x30, 0x30));
}

TEST(SettingsFiles, JapaneseTextsSurviveAndAreStoredAsUtf8)
{
    ConfigData record;
    // Trail bytes 0x5C and 0x7C, the wave dash and the full-width minus of code page 932.
    record.TT = "表示ソ能～－①ｱｲｳ";
    const std::string xml = SaveToText(record);
    EXPECT_NE(xml.find(u8"<TT>表示ソ能～－①ｱｲｳ</TT>"), std::string::npos);
    TempFolder folder;
    ASSERT_TRUE(folder.Write("c.xml", xml));
    ConfigData loaded;
    ASSERT_EQ(LoadConfigDataFile(folder.File("c.xml"), loaded, nullptr), 0);
    EXPECT_EQ(loaded.TT, record.TT);
}

TEST(SettingsFiles, LocalSettingsRoundTripKeepsEveryMember)
{
    LocalSettingsRecords changed;
    ChangeEveryMember(changed);
    const std::string written = SaveToText(changed);
    EXPECT_EQ(ChildElements(written, "boost_serialization"),
              (std::vector<std::string>{"Setup", "Window", "CadFileBackup", "StackCmd"}));
    EXPECT_EQ(ChildElements(written, "Window"),
              (std::vector<std::string>{"Screen", "MOUSE", "PNL_MAIN", "PNL_CMD", "TbarDisp", "ToolPanelDispMode"}));
    EXPECT_EQ(ChildElements(written, "StackCmd"), (std::vector<std::string>{"CmdId", "CmdName"}));
    std::vector<std::string> setup = ChildElements(written, "Setup");
    ASSERT_EQ(setup.size(), 48u);
    EXPECT_EQ(setup.front(), "paper_margin");
    EXPECT_EQ(setup[39], "iStartOpenDlgFg");
    EXPECT_EQ(setup.back(), "iCmdPanelCurrPage");

    TempFolder folder;
    ASSERT_TRUE(folder.Write("l.xml", written));
    LocalSettingsRecords loaded;
    std::string error;
    ASSERT_EQ(LoadLocalSettingsFile(folder.File("l.xml"), loaded, &error), 0) << error;
    EXPECT_EQ(SaveToText(loaded), written);
    EXPECT_EQ(loaded.setup.paper_margin.bottom2, 8.5);
    EXPECT_EQ(loaded.setup.szDefPaperPtn, "枠");
    EXPECT_EQ(loaded.window.TbarDisp, (std::vector<std::string>{"1,2,3,4"}));
    EXPECT_EQ(loaded.backup.BakupFnames[0], "C:\\図面\\a.tcf");
    EXPECT_EQ(loaded.stackCmd.CmdId, (std::vector<int>{4001, 5002}));
    EXPECT_EQ(loaded.stackCmd.CmdName[1], "円");
}

TEST(SettingsFiles, FixedTableCounts)
{
    const std::string xml = SaveToText(ConfigData());
    const std::size_t tag = xml.find("<OPEN_EXT0_C>");
    ASSERT_NE(tag, std::string::npos);
    const std::size_t count = xml.find("<count>20</count>", tag);
    ASSERT_NE(count, std::string::npos);
    EXPECT_NE(xml.find("<count>10</count>", xml.find("<MOUSEMOVECMD>")), std::string::npos);
    TempFolder folder;
    ConfigData loaded;

    // A count above the table's size fails the load.
    std::string tooMany = xml;
    tooMany.replace(count, 17, "<count>21</count>");
    ASSERT_TRUE(folder.Write("21.xml", tooMany));
    std::string error;
    EXPECT_EQ(LoadConfigDataFile(folder.File("21.xml"), loaded, &error), -1);
    EXPECT_FALSE(error.empty());

    // A smaller count reads that many items and leaves the rest as they were.
    const std::string fewer = xml.substr(0, tag) +
                              "<OPEN_EXT0_C><count>2</count><item>a</item><item>b</item></OPEN_EXT0_C>\n" +
                              xml.substr(xml.find("<OPEN_EXT1_N>", tag));
    ASSERT_TRUE(folder.Write("2.xml", fewer));
    ConfigData partly;
    partly.file.OPEN_EXT0_C[2] = "kept";
    ASSERT_EQ(LoadConfigDataFile(folder.File("2.xml"), partly, &error), 0) << error;
    EXPECT_EQ(partly.file.OPEN_EXT0_C[0], "a");
    EXPECT_EQ(partly.file.OPEN_EXT0_C[1], "b");
    EXPECT_EQ(partly.file.OPEN_EXT0_C[2], "kept");
}

TEST(SettingsFiles, DamagedOrReorderedFilesFailToLoad)
{
    const std::string xml = SaveToText(ConfigData());
    std::string swapped = xml;
    // Two elements in the other order.
    const std::string a = "<GRIDCOLOR_B>7</GRIDCOLOR_B>", b = "<GRIDCOLOR_B5>1</GRIDCOLOR_B5>";
    const std::size_t at = swapped.find(a);
    ASSERT_NE(at, std::string::npos);
    swapped.replace(at, a.size() + 3 + b.size(), b + "\n\t\t" + a);
    std::string shortColour = xml;
    shortColour.replace(shortColour.find("#C0C0C0"), 7, "#C0C");
    const std::string cases[] = {xml.substr(0, xml.size() / 2), swapped, shortColour, "", "<?xml version=\"1.0\"?>",
                                 std::string("\xFF\xFE<", 3)};
    for (const std::string& text : cases) {
        TempFolder folder;
        ASSERT_TRUE(folder.Write("c.xml", text));
        ConfigData loaded;
        std::string error;
        EXPECT_EQ(LoadConfigDataFile(folder.File("c.xml"), loaded, &error), -1) << text.substr(0, 60);
        EXPECT_FALSE(error.empty());
    }
}

TEST(SettingsFiles, DamagedUserCopyIsSetAsideAndTheInstalledCopyRead)
{
    SettingsSandbox sandbox;
    ConfigData installed;
    installed.TT = "インストール版";
    std::string error;
    ASSERT_EQ(SaveConfigDataFile(sandbox.ProgramFile("ConfigData.xml"), installed, &error), 0);
    ASSERT_TRUE(SettingsSandbox::SetFileAge(sandbox.ProgramFile("ConfigData.xml"), -3600));
    CreateDirectoryTree(sandbox.UserDir());
    const std::string damaged = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><boost_serialization";
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("ConfigData.xml"), damaged));
    // A backup of a replaced copy that must survive.
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("ConfigData.bak"), "previous user settings"));

    GetCadSystem().config.TT = "before";
    EXPECT_EQ(ReadConfigDataXml(false), 0);
    EXPECT_EQ(GetCadSystem().config.TT, "インストール版");
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
    EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.UserFile("ConfigData.damaged.bak")), damaged);
    EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.UserFile("ConfigData.bak")), "previous user settings");
}

TEST(SettingsFiles, SecondFailureShowsTheMessageAndKeepsTheRecord)
{
    SettingsSandbox sandbox;
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("ConfigData.xml"), "<broken"));
    CreateDirectoryTree(sandbox.UserDir());
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("ConfigData.xml"), "<also broken"));
    GetCadSystem().config.TT = "unchanged";
    EXPECT_EQ(ReadConfigDataXml(true), -1);
    EXPECT_EQ(GetCadSystem().config.TT, "unchanged");
    ASSERT_EQ(SettingsSandbox::Messages().size(), 1u);
    const RecordedMessage& message = SettingsSandbox::Messages()[0];
    const std::string expectedStart = "設定ファイル " + sandbox.UserFile("ConfigData.xml") + " の読込みに失敗しました。(";
    EXPECT_EQ(message.text.compare(0, expectedStart.size(), expectedStart), 0) << message.text;
    EXPECT_EQ(message.text.back(), ')');
    EXPECT_EQ(message.caption, "確認");
    EXPECT_EQ(message.flags, static_cast<UINT>(MB_ICONERROR));
}

TEST(SettingsFiles, ExplicitPathThatFailsOnceGivesNoMessage)
{
    SettingsSandbox sandbox;
    const std::string path = sandbox.Folder().File("mine.xml");
    ASSERT_TRUE(SettingsSandbox::WriteFile(path, "not xml"));
    EXPECT_EQ(ReadConfigDataXml(false, path.c_str()), -1);
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
    EXPECT_FALSE(SettingsSandbox::Exists(path));
    EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.Folder().File("mine.damaged.bak")), "not xml");
    // A missing file: -1 without a message, and a write does not create it.
    EXPECT_EQ(ReadConfigDataXml(false, path.c_str()), -1);
    EXPECT_EQ(WriteConfigDataXml(path.c_str()), -1);
    EXPECT_FALSE(SettingsSandbox::Exists(path));
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
}

TEST(SettingsFiles, WriteReplacesTheFileWhole)
{
    SettingsSandbox sandbox;
    const std::string path = sandbox.Folder().File("ConfigData.xml");
    ASSERT_TRUE(SettingsSandbox::WriteFile(path, "old"));
    GetCadSystem().config.USERNAME = "書き出し";
    ASSERT_EQ(WriteConfigDataXml(path.c_str()), 0);
    EXPECT_FALSE(SettingsSandbox::Exists(path + ".tmp$"));
    ConfigData loaded;
    ASSERT_EQ(LoadConfigDataFile(path, loaded, nullptr), 0);
    EXPECT_EQ(loaded.USERNAME, "書き出し");

    // A target that cannot be replaced (a folder of that name) fails with the message and
    // leaves no temporary file behind.
    const std::string folderPath = sandbox.Folder().File("blocked.xml");
    ASSERT_TRUE(CreateDirectoryA(folderPath.c_str(), nullptr));
    ConfigData record;
    std::string error;
    EXPECT_EQ(SaveConfigDataFile(folderPath, record, &error), -1);
    EXPECT_FALSE(SettingsSandbox::Exists(folderPath + ".tmp$"));
}

TEST(SettingsFiles, LocalSettingsReadAppliesRecordsAndIniValues)
{
    SettingsSandbox sandbox;
    CreateDirectoryTree(sandbox.UserDir());
    LocalSettingsRecords records;
    records.setup.bBkColor = 1;
    records.setup.LMsFg = 105;
    records.stackCmd.CmdId = {7};
    records.stackCmd.CmdName = {"線"};
    records.backup.nBackupTimeSpanSec = 300;
    const std::string path = sandbox.UserFile("LocalSettings.xml");
    ASSERT_EQ(SaveLocalSettingsFile(path, records, nullptr), 0);
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("LocalSettings.ini"),
                                           "[System]\r\niPanelCaption=16\r\nnLogKeepDays=3\r\n"));
    EXPECT_EQ(ReadLocalSettingsXml(true, path.c_str()), 0);
    EXPECT_EQ(GetCadSystem().stackCmd.CmdName, (std::vector<std::string>{"線"}));
    EXPECT_EQ(GetCadFileBackupSettings().nBackupTimeSpanSec, 300);
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 104 | 0x20 | 0x40);
    EXPECT_EQ(GetDrawingBackColor(), RGB(255, 255, 255));
    EXPECT_EQ(GetLocalSettingsLive().iPanelCaption, 3);
    EXPECT_EQ(GetLocalSettingsLive().nLogKeepDays, 3);
    // iEpsMode missing: both digit counts start again.
    EXPECT_EQ(GetCadSystem().setup.iDigit_dEps, 5);
    EXPECT_EQ(GetCadSystem().setup.iDigit_dEpsAngle, 3);
}

TEST(SettingsFiles, MissingLocalSettingsStillReadsTheIniValues)
{
    SettingsSandbox sandbox;
    const std::string path = sandbox.Folder().File("LocalSettings.xml");
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.Folder().File("LocalSettings.ini"), "[System]\r\nnLogKeepDays=-1\r\n"));
    EXPECT_EQ(ReadLocalSettingsXml(true, path.c_str()), -1);
    EXPECT_EQ(GetLocalSettingsLive().nLogKeepDays, -1);
}

TEST(SettingsFiles, LocalSettingsWriteGathersTheLiveValuesAndWritesTheIni)
{
    SettingsSandbox sandbox;
    const std::string path = sandbox.Folder().File("LocalSettings.xml");
    ASSERT_TRUE(SettingsSandbox::WriteFile(path, "x"));
    GetLocalSettingsLive().setup.iUndoCount = 42;
    GetLocalSettingsLive().iEpsMode = -1;
    GetLocalSettingsLive().iPanelCaption = 5;
    GetConfigDataRuntime().rubberBandColor = 6;
    ASSERT_EQ(WriteLocalSettingsXml(path.c_str()), 0);
    LocalSettingsRecords loaded;
    ASSERT_EQ(LoadLocalSettingsFile(path, loaded, nullptr), 0);
    EXPECT_EQ(loaded.setup.iUndoCount, 42);
    EXPECT_EQ(loaded.setup.iRubberCol, 6);
    const std::string ini = sandbox.Folder().File("LocalSettings.ini");
    EXPECT_EQ(GetPrivateProfileIntA("System", "iEpsMode", 99, ini.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iPanelCaption", 99, ini.c_str()), 5u);
    EXPECT_EQ(GetPrivateProfileIntA("System", "iDrawColor", 99, ini.c_str()), 99u);  // draw colour mode 0
}

TEST(SettingsFiles, SaveConfigDataAsksFirst)
{
    SettingsSandbox sandbox;
    const std::string path = sandbox.ProgramFile("ConfigData.xml");
    ASSERT_TRUE(SettingsSandbox::WriteFile(path, "old"));
    GetCadSystem().config.COMPANY = "保存";

    SettingsSandbox::Answer(IDCANCEL);
    EXPECT_EQ(GetCadSystem().SaveConfigData(3800), 0);
    EXPECT_EQ(SettingsSandbox::ReadFile(path), "old");
    ASSERT_EQ(SettingsSandbox::Messages().size(), 1u);
    const std::string question = path + " を更新します。";
    EXPECT_EQ(SettingsSandbox::Messages()[0].text.compare(0, question.size(), question), 0);
    EXPECT_NE(SettingsSandbox::Messages()[0].text.find("\n前回更新日時 "), std::string::npos);
    EXPECT_EQ(SettingsSandbox::Messages()[0].flags, static_cast<UINT>(MB_ICONQUESTION | MB_OKCANCEL));

    SettingsSandbox::Answer(IDOK);
    EXPECT_EQ(GetCadSystem().SaveConfigData(3800), 0);
    ConfigData loaded;
    ASSERT_EQ(LoadConfigDataFile(path, loaded, nullptr), 0);
    EXPECT_EQ(loaded.COMPANY, "保存");

    // Other ids do nothing; a missing program-folder file gives only the error box.
    SettingsSandbox::Messages().clear();
    EXPECT_EQ(GetCadSystem().SaveConfigData(3801), 0);
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
    DeleteFileA(path.c_str());
    EXPECT_EQ(GetCadSystem().SaveConfigData(3800), 0);
    ASSERT_EQ(SettingsSandbox::Messages().size(), 2u);
    EXPECT_NE(SettingsSandbox::Messages()[0].text.find("前回更新日時 0/0/0 0:0:0"), std::string::npos);
    EXPECT_EQ(SettingsSandbox::Messages()[1].text, "CCadSystem::SaveConfigData() エラー");
    EXPECT_EQ(SettingsSandbox::Messages()[1].caption, "エラー");
}

TEST(SettingsFiles, LoadStepAppliesBothRecords)
{
    SettingsSandbox sandbox;
    ConfigData config;
    config.file.AUTOZ = "C:\\x.tcf";
    config.TT = "題名";
    ASSERT_EQ(SaveConfigDataFile(sandbox.ProgramFile("ConfigData.xml"), config, nullptr), 0);
    LocalSettingsRecords local;
    local.setup.iRubberCol = 9;
    local.window.Screen = RectEx{5, 6, 700, 500};
    ASSERT_EQ(SaveLocalSettingsFile(sandbox.ProgramFile("LocalSettings.xml"), local, nullptr), 0);
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("LocalSettings.ini"), "[System]\r\n"));
    // The right-click menu file is read by the same step; a missing one would be reported.
    CreateDirectoryA(sandbox.ProgramFile("SETTEI").c_str(), nullptr);
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.ProgramFile("SETTEI\\rightmenu.ini"), "A,1\r\n"));

    CCadSystem& system = GetCadSystem();
    ASSERT_EQ(ReadConfigDataXml(false), 0);
    ASSERT_EQ(ReadLocalSettingsXml(false), 0);
    // Read without applying: nothing is published yet.
    EXPECT_STRNE(GetResolvedFilePaths().autoOpenPath, "C:\\x.tcf");
    EXPECT_EQ(system.LoadSettings(), 1);
    EXPECT_STREQ(GetResolvedFilePaths().autoOpenPath, "C:\\x.tcf");
    EXPECT_STREQ(GetConfigDataRuntime().title, "題名");
    // The local record is applied after the system one and wins.
    EXPECT_EQ(GetConfigDataRuntime().rubberBandColor, 9);
    EXPECT_EQ(GetMenuSettingsRuntime().mainWindowRect.right, 700);
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
}

// The installed copies are exactly what the program writes for its default records; with
// VT_WRITE_INSTALLED_DEFAULTS set to the data folder (a Windows path) they are written anew.
TEST(SettingsFiles, InstalledDefaultsAreWhatTheProgramWrites)
{
    const char* target = std::getenv("VT_WRITE_INSTALLED_DEFAULTS");
    if (target != nullptr && target[0] != '\0') {
        ConfigData config;
        ASSERT_EQ(SaveConfigDataFile(std::string(target) + "\\ConfigData.xml", config, nullptr), 0);
        LocalSettingsRecords local;
        local.window.ToolPanelDispMode = 15;
        ASSERT_EQ(SaveLocalSettingsFile(std::string(target) + "\\LocalSettings.xml", local, nullptr), 0);
    }
    std::string folder = GetExeDir();
    EXPECT_EQ(SettingsSandbox::ReadFile(folder + "\\ConfigData.xml"), SaveToText(ConfigData()));
    LocalSettingsRecords installed;
    std::string error;
    ASSERT_EQ(LoadLocalSettingsFile(folder + "\\LocalSettings.xml", installed, &error), 0) << error;
    // The window rectangle is the screen the defaults were made on; the tool panel is installed
    // with all four groups, as a panel showing nothing at the first start helps nobody; the rest
    // are the defaults.
    LocalSettingsRecords defaults;
    installed.window.Screen = defaults.window.Screen;
    EXPECT_EQ(installed.window.ToolPanelDispMode, 15);
    installed.window.ToolPanelDispMode = defaults.window.ToolPanelDispMode;
    EXPECT_EQ(SaveToText(installed), SaveToText(defaults));
}

// The closing tag of a whole file cut short, damaged or left out: what a crash while writing or
// an editor leaves behind.
static std::vector<std::string> DamagedEndings(const std::string& xml)
{
    const std::string tag = "</boost_serialization>";
    const std::size_t at = xml.rfind(tag);
    EXPECT_NE(at, std::string::npos);
    const std::string body = xml.substr(0, at);
    return {body + "</boost_serialization-", body + "</boost_ser", body, body + "</boost_serialization",
            body + "</other>", body + tag + "<more/>"};
}

TEST(SettingsFiles, DamagedClosingTagFailsToLoadInsteadOfEndingTheProgram)
{
    for (const std::string& text : DamagedEndings(SaveToText(ConfigData()))) {
        TempFolder folder;
        ASSERT_TRUE(folder.Write("c.xml", text));
        ConfigData loaded;
        std::string error;
        EXPECT_EQ(LoadConfigDataFile(folder.File("c.xml"), loaded, &error), -1) << text.substr(text.size() - 40);
        EXPECT_FALSE(error.empty());
    }
    for (const std::string& text : DamagedEndings(SaveToText(LocalSettingsRecords()))) {
        TempFolder folder;
        ASSERT_TRUE(folder.Write("l.xml", text));
        LocalSettingsRecords loaded;
        std::string error;
        EXPECT_EQ(LoadLocalSettingsFile(folder.File("l.xml"), loaded, &error), -1) << text.substr(text.size() - 40);
        EXPECT_FALSE(error.empty());
    }
}

TEST(SettingsFiles, UserCopyWithDamagedClosingTagIsSetAsideAtStart)
{
    ConfigData installed;
    installed.TT = "インストール版";
    const std::string configText = SaveToText(ConfigData());
    const std::string localText = SaveToText(LocalSettingsRecords());
    for (size_t i = 0; i < DamagedEndings(configText).size(); ++i) {
        SettingsSandbox sandbox;
        std::string error;
        ASSERT_EQ(SaveConfigDataFile(sandbox.ProgramFile("ConfigData.xml"), installed, &error), 0);
        ASSERT_TRUE(SettingsSandbox::SetFileAge(sandbox.ProgramFile("ConfigData.xml"), -3600));
        CreateDirectoryTree(sandbox.UserDir());
        const std::string damaged = DamagedEndings(configText)[i];
        ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.UserFile("ConfigData.xml"), damaged));
        GetCadSystem().config.TT = "before";
        EXPECT_EQ(ReadConfigDataXml(false), 0);
        EXPECT_EQ(GetCadSystem().config.TT, "インストール版");
        EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.UserFile("ConfigData.damaged.bak")), damaged);

        const std::string local = sandbox.Folder().File("LocalSettings.xml");
        const std::string damagedLocal = DamagedEndings(localText)[i];
        ASSERT_TRUE(SettingsSandbox::WriteFile(local, damagedLocal));
        EXPECT_EQ(ReadLocalSettingsXml(false, local.c_str()), -1);
        EXPECT_FALSE(SettingsSandbox::Exists(local));
        EXPECT_EQ(SettingsSandbox::ReadFile(sandbox.Folder().File("LocalSettings.damaged.bak")), damagedLocal);
        EXPECT_TRUE(SettingsSandbox::Messages().empty());
    }
}
