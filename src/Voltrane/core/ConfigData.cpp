#include "core/ConfigData.h"

#include <cstring>

#include "controls/LineEndTypes.h"
#include "core/CadSystem.h"
#include "core/ProgramPaths.h"
#include "core/StartupSeams.h"
#include "core/SettingsHostCalls.h"

const char kBuildText[] = "Build 942";

namespace {

ConfigDataRuntime g_runtime = {};
int g_backgroundMode = 0;

const char* const kOpenNames[] = {"図面ファイル", "sfc / p21", "DWG", "DXF", "JWC", "JWW", "PDF", "すべてのファイル"};
const char* const kOpenPatterns[] = {"*.tcf;*.DXF;*.JWC;*.DWG;*.SFC;*.P21;*.JWW;*.PDF",
                                     "*.SFC;*.P21", "*.DWG", "*.DXF", "*.JWC", "*.JWW", "*.PDF", "*.*"};

}  // namespace

ConfigDataFile::ConfigDataFile()
{
    for (int i = 0; i < 8; ++i) {
        OPEN_EXT0_N[i] = kOpenNames[i];
        OPEN_EXT0_E[i] = kOpenPatterns[i];
    }
    for (int i = 0; i < 7; ++i) {
        OPEN_EXT1_N[i] = kOpenNames[i];
        OPEN_EXT1_E[i] = kOpenPatterns[i];
    }
    OPEN_EXT2_N[0] = "図面ファイル";
    OPEN_EXT2_N[1] = "DWG";
    OPEN_EXT2_E[0] = "*.DWG";
    OPEN_EXT2_E[1] = "*.DWG";
    SAVE_EXT0_N[0] = "Voltrane for Windows V1(*.tcf)";
    SAVE_EXT0_N[1] = "DWGﾌｧｲﾙ(*.DWG)";
    SAVE_EXT0_N[2] = "DXFﾌｧｲﾙ(*.DXF)";
    SAVE_EXT0_E[0] = "*.tcf";
    SAVE_EXT0_E[1] = "*.DWG";
    SAVE_EXT0_E[2] = "*.DXF";
}

bool ConfigDataFile::BuildFilterString(char* out, std::size_t outSize,
                                       const std::string (&names)[kFileTypeTableSize],
                                       const std::string (&patterns)[kFileTypeTableSize])
{
    if (out == nullptr || outSize < 2) return false;
    std::memset(out, 0, outSize);
    std::size_t used = 0;
    for (int i = 0; i < kFileTypeTableSize; ++i) {
        if (names[i].empty()) break;
        std::size_t need = names[i].size() + 1 + patterns[i].size() + 1;
        // Keep room for the closing zero of the list.
        if (used + need + 1 > outSize) return false;
        std::memcpy(out + used, names[i].data(), names[i].size());
        used += names[i].size() + 1;
        std::memcpy(out + used, patterns[i].data(), patterns[i].size());
        used += patterns[i].size() + 1;
    }
    return true;
}

ConfigDataColor::ConfigDataColor()
{
    // Entries 9 to 19 stay empty (colour values 0).
    static const char* const kDefaults[9][3] = {
        // Text, Bkgnd, Disabled
        {"#FFFFFF", "#6464FF", "#808080"},
        {"#FFFFFF", "#F46358", "#808080"},
        {"#000000", "#FFFF00", "#808080"},
        {"#000000", "COLOR_3DFACE", "#808080"},
        {"#000000", "COLOR_3DFACE", "#000000"},
        {"#000000", "#FF0000", "#000000"},
        {"#000000", "#F2F7B7", "#000000"},
        {"#000000", "#FFD877", "#000000"},
        {"#000000", "#F2F7B7", "#000000"},
    };
    for (int i = 0; i < 9; ++i)
        COLOR_BTN_ATTR[i] = ColorBtnAttrEx(kDefaults[i][0], kDefaults[i][1], kDefaults[i][2]);
}

void ConfigDataColor::Apply()
{
    ConfigDataRuntime& rt = g_runtime;
    EngineReadPalette(rt.palette);
    rt.rubberBandColor = IsRubberBandColor(RUBBERCOL) ? RUBBERCOL : kDefaultRubberBandColor;
    rt.customBackColor = COLOR_SYS_BK.value;
    rt.panelBackColor = COLOR_PANEL.value;
    rt.dialogBackColor = COLOR_DLG_BK.value;
    for (int entry : {1, 6, 7, 8}) {
        rt.buttonTextColor[entry] = COLOR_BTN_ATTR[entry].textColor;
        rt.buttonBackColor[entry] = COLOR_BTN_ATTR[entry].bkColor;
    }
    for (int entry : {4, 5}) rt.buttonBackColor[entry] = COLOR_BTN_ATTR[entry].bkColor;
}

ConfigData::ConfigData()
{
    DSPDEFFONT = "ＭＳ ゴシック";
    SYSTEMFONT = "ＭＳ ゴシック";
    ERRFONT = "ＭＳ ゴシック";
    STRINFO_FONTNAME = "ＭＳ ゴシック";
    COPYRIGHT = "Copyright (C) Ostrel";
    GRID_OFF = "ｸﾞﾘｯﾄﾞ";
    GRID_ON1 = "ｸﾞﾘ/表";
    GRID_ON2 = "ｸﾞﾘ/検";
    std::memset(&textAttributes, 0, sizeof textAttributes);
    textAttributes.height = STRINFO_HEIGHT;
    textAttributes.charRatio = STRINFO_CHARRATIO;
    textAttributes.interval = STRINFO_INTERVAL;
    textAttributes.mode = 3;
    textAttributes.color = STRINFO_COLOR;
    for (int i = 0; i < 15; ++i) LineEndTypeEnableMask[i] = 1;
}

namespace {

void CopyCounted(char* out, std::size_t size, const std::string& text, int* cutCount)
{
    if (!CopySettingsText(out, size, text.c_str())) ++*cutCount;
}

}  // namespace

void ConfigData::Apply()
{
    static const char* const kDefaultScales[] = {"1",     "1/2",   "1/3",   "1/5",   "1/10",  "1/20",
                                                 "1/35",  "1/50",  "1/100", "1/150", "1/200", "1/250",
                                                 "1/300", "1/350", "1/500", "1/1000"};
    if (SCALE.empty()) SCALE.assign(std::begin(kDefaultScales), std::end(kDefaultScales));

    ResolveFilePaths(file);
    ApplyMenuSettings(menu);
    color.Apply();

    ConfigDataRuntime& rt = g_runtime;
    rt.keyCursorStep = CURSORD;
    GetCadSystem().Subsystems().SyncSnapButtons();

    fullVersion = Version + " " + kBuildText;

    textAttributes.height = STRINFO_HEIGHT;
    textAttributes.charRatio = STRINFO_CHARRATIO;
    textAttributes.interval = STRINFO_INTERVAL;
    textAttributes.color = STRINFO_COLOR;
    TextAttributesRecord& live = rt.textAttributes;
    rt.textCutCount = 0;
    CopyCounted(live.fontName, sizeof live.fontName, STRINFO_FONTNAME, &rt.textCutCount);
    live.height = STRINFO_HEIGHT;
    live.charRatio = STRINFO_CHARRATIO;
    live.interval = STRINFO_INTERVAL;
    live.color = STRINFO_COLOR;
    live.extra = textAttributes.extra;
    if (live.mode == 0) live.mode = textAttributes.mode;

    // Over-long texts are cut on a character boundary to the buffers their users read.
    CopyCounted(rt.fullVersion, sizeof rt.fullVersion, fullVersion, &rt.textCutCount);
    CopyCounted(rt.userName, sizeof rt.userName, USERNAME, &rt.textCutCount);
    CopyCounted(rt.company, sizeof rt.company, COMPANY, &rt.textCutCount);
    CopyCounted(rt.copyright, sizeof rt.copyright, COPYRIGHT, &rt.textCutCount);
    CopyCounted(rt.title, sizeof rt.title, TT, &rt.textCutCount);
    CopyCounted(rt.yesNoCaption, sizeof rt.yesNoCaption, YESNOMSG, &rt.textCutCount);
    CopyCounted(rt.systemFont, sizeof rt.systemFont, SYSTEMFONT, &rt.textCutCount);
    CopyCounted(rt.errorFont, sizeof rt.errorFont, ERRFONT, &rt.textCutCount);
    CopyCounted(rt.displayFont, sizeof rt.displayFont, DSPDEFFONT, &rt.textCutCount);
    CopyCounted(rt.gridOff, sizeof rt.gridOff, GRID_OFF, &rt.textCutCount);
    CopyCounted(rt.gridOn1, sizeof rt.gridOn1, GRID_ON1, &rt.textCutCount);
    CopyCounted(rt.gridOn2, sizeof rt.gridOn2, GRID_ON2, &rt.textCutCount);

    rt.panelButtonType = PANEL_BUTTON_TYPE;
    // Entries 8 and 9 stay in the record and drive no gesture.
    // A gesture runs a service or view command (1000-1339); any other id drives nothing.
    auto gestureCommand = [](int id) { return id >= 1000 && id <= 1339 ? id : 0; };
    for (int i = 0; i < 4; ++i) {
        rt.mouseMoveCommand[0][i] = gestureCommand(MOUSEMOVECMD[i]);
        rt.mouseMoveCommand[1][i] = gestureCommand(MOUSEMOVECMD[4 + i]);
    }
    for (int i = 0; i < 10; ++i) rt.initialParameters[i] = INIT_PARAMETER[i];
}

ConfigDataRuntime& GetConfigDataRuntime() { return g_runtime; }

void SetDrawingBackgroundMode(int mode) { g_backgroundMode = mode; }
int GetDrawingBackgroundMode() { return g_backgroundMode; }

COLORREF GetDrawingBackColor()
{
    if (g_backgroundMode == 0) return RGB(0, 0, 0);
    if (g_backgroundMode == 1) return RGB(0xFF, 0xFF, 0xFF);
    return g_runtime.customBackColor;
}
