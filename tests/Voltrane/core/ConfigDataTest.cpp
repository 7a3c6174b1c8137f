// The settings records' defaults, colour texts, file-dialog filters and the apply step.
#include "GTest.h"

#include <cstring>
#include <limits>
#include <vector>

#include "DravikDb.h"
#include "SettingsSandbox.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "core/StartupSeams.h"
#include "core/ProgramPaths.h"

TEST(ConfigData, ColourTexts)
{
    const struct {
        const char* text;
        COLORREF value;
        bool readable;
    } cases[] = {
        {"#FF0000", 0x0000FF, true},          {"#6464FF", RGB(100, 100, 255), true},
        {"#00ff80", RGB(0, 255, 128), true},  {"", 0, true},
        {"red", 0, true},                     {"FF0000", 0, true},
        {"#12345", RGB(0x12, 0x34, 5), true}, {"#1234", RGB(0x12, 0x34, 0), true},
        {"#123", 0, false},                   {"#GG0000", RGB(0, 0, 0), true},
        {"#", 0, false},                      {"#12345678", RGB(0x12, 0x34, 0x56), true},
    };
    for (const auto& c : cases) {
        COLORREF value = 0xFFFFFFFF;
        EXPECT_EQ(TryParseColorText(c.text, &value), c.readable) << c.text;
        if (c.readable) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    EXPECT_EQ(ParseColorText("COLOR_3DFACE"), GetSysColor(COLOR_3DFACE));
}

TEST(ConfigData, Defaults)
{
    ConfigData c;
    EXPECT_EQ(c.Version, "0.xx");
    EXPECT_EQ(c.DSPDEFFONT, "ＭＳ ゴシック");
    EXPECT_EQ(c.GRID_ON2, "ｸﾞﾘ/検");
    EXPECT_EQ(c.TIMESTEP, 170u);
    EXPECT_EQ(c.MULTIBOOT, 1);
    EXPECT_EQ(c.WAITTIME, -2000);
    EXPECT_EQ(c.CURSORD, 600.0);
    EXPECT_EQ(c.STRINFO_COLOR, 7);
    EXPECT_EQ(c.MOUSEMOVECMD[2], 1333);
    EXPECT_TRUE(c.SCALE.empty());
    EXPECT_EQ(c.file.BACKUPDIR, "TEMP");
    EXPECT_EQ(c.file.OPEN_EXT0_N[7], "すべてのファイル");
    EXPECT_EQ(c.file.OPEN_EXT1_N[7], "");
    EXPECT_EQ(c.file.SAVE_EXT0_N[1], "DWGﾌｧｲﾙ(*.DWG)");
    EXPECT_EQ(c.menu.WINDOW_LAYOUTVIEW_HEIGHT, 270);
    EXPECT_EQ(c.menu.AppPanelType, 1);
    EXPECT_EQ(c.color.COLOR_SYS_BK.value, RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(c.color.COLOR_BTN_ATTR[8].Bkgnd, "#F2F7B7");
    EXPECT_EQ(c.color.COLOR_BTN_ATTR[9].Bkgnd, "");
    EXPECT_EQ(c.textAttributes.mode, 3);
}

TEST(ConfigData, FilterStrings)
{
    ConfigDataFile file;
    char filter[512];
    ASSERT_TRUE(ConfigDataFile::BuildFilterString(filter, sizeof filter, file.OPEN_EXT2_N, file.OPEN_EXT2_E));
    const char expected[] = "図面ファイル\0*.DWG\0DWG\0*.DWG\0";
    EXPECT_EQ(std::memcmp(filter, expected, sizeof expected), 0);

    // A gap ends the list; a name with an empty pattern still enters it.
    file.OPEN_EXT0_N[3] = "";
    file.OPEN_EXT0_E[1] = "";
    ASSERT_TRUE(ConfigDataFile::BuildFilterString(filter, sizeof filter, file.OPEN_EXT0_N, file.OPEN_EXT0_E));
    const char three[] = "図面ファイル\0*.tcf;*.DXF;*.JWC;*.DWG;*.SFC;*.P21;*.JWW;*.PDF\0sfc / p21\0\0DWG\0*.DWG\0";
    EXPECT_EQ(std::memcmp(filter, three, sizeof three), 0);

    // Twenty long entries do not fit 260 bytes: whole pairs are left out, the end stays.
    for (int i = 0; i < kFileTypeTableSize; ++i) {
        file.SAVE_EXT0_N[i] = std::string(20, 'N');
        file.SAVE_EXT0_E[i] = std::string(20, 'E');
    }
    char tiny[260];
    EXPECT_FALSE(ConfigDataFile::BuildFilterString(tiny, sizeof tiny, file.SAVE_EXT0_N, file.SAVE_EXT0_E));
    // 6 pairs of 42 bytes fit, then two zeros.
    EXPECT_EQ(tiny[6 * 42], '\0');
    EXPECT_EQ(tiny[6 * 42 - 1], '\0');
    EXPECT_EQ(tiny[5 * 42], 'N');
}

TEST(ConfigData, ApplyPublishesTheRecord)
{
    SettingsSandbox sandbox;
    ConfigData& c = GetCadSystem().config;
    c = ConfigData();
    c.SCALE.clear();
    c.color.RUBBERCOL = 16;
    c.DSPDEFFONT = std::string(40, 'x');
    c.GRID_OFF = std::string(18, 'a') + "表";  // the double-byte character does not fit 19 bytes
    c.Version = "8.0";
    c.MOUSEMOVECMD[4] = 77;    // outside 1000-1339: drives nothing
    c.MOUSEMOVECMD[5] = 1339;
    c.MOUSEMOVECMD[6] = 1340;
    c.MOUSEMOVECMD[1] = 999;
    c.MOUSEMOVECMD[2] = 1000;
    c.MOUSEMOVECMD[8] = 88;
    c.INIT_PARAMETER[3] = 33;
    c.STRINFO_FONTNAME = "ＭＳ 明朝";
    c.file.AUTOZ = "a.tcf";
    c.file.ZUMENDIR = "C:\\zumen";
    c.Apply();
    const ConfigDataRuntime& rt = GetConfigDataRuntime();
    EXPECT_EQ(c.SCALE.size(), 16u);
    EXPECT_EQ(c.SCALE.front(), "1");
    EXPECT_EQ(c.SCALE.back(), "1/1000");
    EXPECT_EQ(rt.rubberBandColor, 3);
    EXPECT_STREQ(rt.displayFont, std::string(30, 'x').c_str());
    EXPECT_STREQ(rt.gridOff, std::string(18, 'a').c_str());
    EXPECT_STREQ(rt.fullVersion, "8.0 Build 942");
    EXPECT_EQ(rt.mouseMoveCommand[1][0], 0);
    EXPECT_EQ(rt.mouseMoveCommand[1][1], 1339);
    EXPECT_EQ(rt.mouseMoveCommand[1][2], 0);
    EXPECT_EQ(rt.mouseMoveCommand[0][0], 1204);
    EXPECT_EQ(rt.mouseMoveCommand[0][1], 0);
    EXPECT_EQ(rt.mouseMoveCommand[0][2], 1000);
    EXPECT_EQ(rt.initialParameters[3], 33);
    EXPECT_STREQ(rt.textAttributes.fontName, "ＭＳ 明朝");
    EXPECT_EQ(rt.textAttributes.color, 7);
    EXPECT_EQ(rt.textAttributes.height, 3.0);
    EXPECT_EQ(rt.keyCursorStep, 600.0);
    EXPECT_EQ(rt.customBackColor, RGB(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(rt.dialogBackColor, RGB(0xFF, 0xFF, 0xB5));
    EXPECT_EQ(rt.buttonBackColor[7], RGB(0xFF, 0xD8, 0x77));
    EXPECT_EQ(rt.buttonBackColor[5], RGB(0xFF, 0, 0));
    EXPECT_EQ(rt.textCutCount, 2);
    std::vector<ColourRecord> engineColours(kColourCount);
    ASSERT_EQ(ZuriStyleGet(engineColours.data(), nullptr, nullptr), 1);
    for (int i : {1, 7, 256})
        EXPECT_EQ(rt.palette[i], RGB(engineColours[i].red, engineColours[i].green, engineColours[i].blue)) << i;
    EXPECT_STREQ(GetResolvedFilePaths().autoOpenPath, "C:\\zumen\\a.tcf");

    // A file with one scale keeps exactly that one.
    c.SCALE = {"1/3"};
    c.color.RUBBERCOL = 0;
    c.Apply();
    EXPECT_EQ(c.SCALE, (std::vector<std::string>{"1/3"}));
    EXPECT_EQ(GetConfigDataRuntime().rubberBandColor, 3);
    c.color.RUBBERCOL = 15;
    c.Apply();
    EXPECT_EQ(GetConfigDataRuntime().rubberBandColor, 15);
}

TEST(ConfigData, DrawingBackground)
{
    SettingsSandbox sandbox;
    GetConfigDataRuntime().customBackColor = RGB(1, 2, 3);
    const struct {
        int mode;
        COLORREF colour;
    } cases[] = {{0, RGB(0, 0, 0)}, {1, RGB(255, 255, 255)}, {2, RGB(1, 2, 3)}, {7, RGB(1, 2, 3)}};
    for (const auto& c : cases) {
        SetDrawingBackgroundMode(c.mode);
        EXPECT_EQ(GetDrawingBackColor(), c.colour) << c.mode;
    }
    SetDrawingBackgroundMode(0);
}

namespace {

class CountingSnapButtons : public seam::StartupSubsystems {
public:
    void SyncSnapButtons() override { ++syncs; }
    int syncs = 0;
};

}  // namespace

// The snap buttons follow the snap bits after either settings record is applied.
TEST(ConfigData, BothApplyStepsSyncTheSnapButtons)
{
    SettingsSandbox sandbox;
    CountingSnapButtons buttons;
    GetCadSystem().SetStartupSubsystems(&buttons);
    GetCadSystem().config.Apply();
    EXPECT_EQ(buttons.syncs, 1);
    GetCadSystem().setup.ApplyAll();
    EXPECT_EQ(buttons.syncs, 2);
    GetCadSystem().SetStartupSubsystems(nullptr);
}

// The rubber band is drawn with XOR in its colour: a stored colour that inverts nothing (0, as a
// settings file written before the colours were read holds) must not replace the configured one.
TEST(ConfigData, AStoredRubberBandColourOutsideThePaletteKeepsTheConfiguredOne)
{
    SettingsSandbox sandbox;
    const struct {
        int stored, configured, shown;
    } cases[] = {{5, 7, 5}, {1, 7, 1}, {15, 7, 15}, {0, 7, 7}, {16, 7, 7}, {-1, 7, 7}, {0, 0, 3}};
    for (const auto& c : cases) {
        GetConfigDataRuntime().rubberBandColor = c.configured;
        LocalSettingsSetup setup = GetCadSystem().setup;
        setup.iRubberCol = c.stored;
        setup.ApplyAll();
        EXPECT_EQ(GetConfigDataRuntime().rubberBandColor, c.shown) << c.stored << " over " << c.configured;
        EXPECT_EQ(GetLocalSettingsLive().setup.iRubberCol, c.shown) << c.stored << " over " << c.configured;
    }
}

// Settings gathered before the colours are read (the live colour still 0) keep the record's
// colour instead of writing the 0 that a later start would take in.
TEST(ConfigData, SettingsGatheredBeforeTheColoursAreReadKeepTheirRubberBandColour)
{
    SettingsSandbox sandbox;
    GetConfigDataRuntime().rubberBandColor = 6;
    LocalSettingsSetup setup = GetCadSystem().setup;
    setup.iRubberCol = 6;
    setup.ApplyAll();
    GetConfigDataRuntime().rubberBandColor = 0;
    LocalSettingsSetup gathered;
    gathered.iRubberCol = 2;
    gathered.Gather();
    EXPECT_EQ(gathered.iRubberCol, 6);
    GetConfigDataRuntime().rubberBandColor = 9;
    gathered.Gather();
    EXPECT_EQ(gathered.iRubberCol, 9);
}

// The keyboard cursor's step follows the same rule: a stored step that would not move the cursor
// keeps the configured one, and settings gathered with no usable live step keep their own.
TEST(ConfigData, AStoredKeyCursorStepThatMovesNothingKeepsTheConfiguredOne)
{
    SettingsSandbox sandbox;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double stored, configured, used;
    } cases[] = {{250.0, 600.0, 250.0}, {0.5, 600.0, 0.5}, {0.0, 600.0, 600.0}, {-10.0, 600.0, 600.0}, {nan, 600.0, 600.0}};
    for (const auto& c : cases) {
        GetConfigDataRuntime().keyCursorStep = c.configured;
        LocalSettingsSetup setup = GetCadSystem().setup;
        setup.CursorRate = c.stored;
        setup.ApplyAll();
        EXPECT_EQ(GetConfigDataRuntime().keyCursorStep, c.used) << c.stored << " over " << c.configured;
    }
    GetConfigDataRuntime().keyCursorStep = 0.0;
    LocalSettingsSetup gathered;
    gathered.Gather();
    EXPECT_EQ(gathered.CursorRate, 600.0) << "the live record's own step, not the unset 0";
}
