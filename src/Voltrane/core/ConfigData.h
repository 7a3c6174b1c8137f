// The system settings record of "ConfigData.xml" (root "SYSTEM") with its three sub-records.
// The host library keeps the address of the application object's record for the whole run.
#pragma once

#include <windows.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

#include "core/SettingsTypes.h"

constexpr int kFileTypeTableSize = 20;

// File and folder names and the file-type tables of the open and save dialogs ("File").
struct ConfigDataFile {
    std::string HELPFILE;
    std::string AUTOZ;
    std::string helpFilePath;      // run-time: HELPFILE in the program folder
    std::string autoOpenPath;      // run-time: AUTOZ resolved against ZUMENDIR
    std::string BACKUPDIR{"TEMP"};
    std::string ZUMENDIR;
    std::string WAV;
    std::string backupFolderPath;  // run-time: BACKUPDIR expanded, one separator at the end
    std::string LOGDIR;
    std::string COMMAND{"com.ini"};
    std::string MENU{"menubar.ini"};
    std::string RMENU{"rightmenu.ini"};
    std::string KEY{"keyboard.ini"};
    std::string REG{"REG.INI"};
    std::string TOOLBMP{"toolbar.bmp"};
    std::string TITLEBMP{"start.bmp"};
    // run-time: the seven definition files as full paths in the "SETTEI" data folder
    std::string commandPath, menuPath, rmenuPath, keyPath, regPath, toolBmpPath, titleBmpPath;
    int RDONLY = 0;
    std::string OPEN_EXT0_N[kFileTypeTableSize];
    std::string OPEN_EXT0_E[kFileTypeTableSize];
    std::string OPEN_EXT0_C[kFileTypeTableSize];
    std::string OPEN_EXT1_N[kFileTypeTableSize];
    std::string OPEN_EXT1_E[kFileTypeTableSize];
    std::string OPEN_EXT1_C[kFileTypeTableSize];
    std::string OPEN_EXT2_N[kFileTypeTableSize];
    std::string OPEN_EXT2_E[kFileTypeTableSize];
    std::string OPEN_EXT2_C[kFileTypeTableSize];
    std::string SAVE_EXT0_N[kFileTypeTableSize];
    std::string SAVE_EXT0_E[kFileTypeTableSize];

    ConfigDataFile();

    // A file-dialog filter: name, zero, pattern, zero for each entry up to the first empty
    // name, then one more zero. Pairs that do not fit the buffer are left out whole; returns
    // false when one was left out.
    static bool BuildFilterString(char* out, std::size_t outSize,
                                  const std::string (&names)[kFileTypeTableSize],
                                  const std::string (&patterns)[kFileTypeTableSize]);

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        SerializeText(ar, "BACKUPDIR", BACKUPDIR);
        SerializeText(ar, "LOGDIR", LOGDIR);
        SerializeText(ar, "ZUMENDIR", ZUMENDIR);
        SerializeText(ar, "WAV", WAV);
        SerializeText(ar, "AUTOZ", AUTOZ);
        ar& make_nvp("RDONLY", RDONLY);
        SerializeText(ar, "HELPFILE", HELPFILE);
        SerializeTextArray(ar, "OPEN_EXT0_N", OPEN_EXT0_N);
        SerializeTextArray(ar, "OPEN_EXT0_E", OPEN_EXT0_E);
        SerializeTextArray(ar, "OPEN_EXT0_C", OPEN_EXT0_C);
        SerializeTextArray(ar, "OPEN_EXT1_N", OPEN_EXT1_N);
        SerializeTextArray(ar, "OPEN_EXT1_E", OPEN_EXT1_E);
        SerializeTextArray(ar, "OPEN_EXT1_C", OPEN_EXT1_C);
        SerializeTextArray(ar, "OPEN_EXT2_N", OPEN_EXT2_N);
        SerializeTextArray(ar, "OPEN_EXT2_E", OPEN_EXT2_E);
        SerializeTextArray(ar, "OPEN_EXT2_C", OPEN_EXT2_C);
        SerializeTextArray(ar, "SAVE_EXT0_N", SAVE_EXT0_N);
        SerializeTextArray(ar, "SAVE_EXT0_E", SAVE_EXT0_E);
        SerializeText(ar, "COMMAND", COMMAND);
        SerializeText(ar, "MENU", MENU);
        SerializeText(ar, "RMENU", RMENU);
        SerializeText(ar, "KEY", KEY);
        SerializeText(ar, "REG", REG);
        SerializeText(ar, "TOOLBMP", TOOLBMP);
        SerializeText(ar, "TITLEBMP", TITLEBMP);
    }
};

// Menu, window and panel layout ("Menu").
struct ConfigDataMenu {
    int TMENU_SIZEX = 20;
    int TMENU_SIZEY = 20;
    int TMENU_BSIZE = 35;
    int TMENU_TMENUDSP = 1;
    int TMENU_TMENULASTPOS = 0;
    int PANEL_RDSP = 0;
    RectEx WIMDOW_RECT;
    RectEx WINDOW_RECT_SIZE;
    long WINDOW_LAYOUTVIEW_WIDTH = 300;
    long WINDOW_LAYOUTVIEW_HEIGHT = 270;
    int FullDragMode = 0;
    int RightMenuMode = 1;
    int AppPanelType = 1;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("TMENU_SIZEX", TMENU_SIZEX);
        ar& make_nvp("TMENU_SIZEY", TMENU_SIZEY);
        ar& make_nvp("TMENU_BSIZE", TMENU_BSIZE);
        ar& make_nvp("TMENU_TMENUDSP", TMENU_TMENUDSP);
        ar& make_nvp("TMENU_TMENULASTPOS", TMENU_TMENULASTPOS);
        ar& make_nvp("PANEL_RDSP", PANEL_RDSP);
        ar& make_nvp("WINDOW_LAYOUTVIEW_WIDTH", WINDOW_LAYOUTVIEW_WIDTH);
        ar& make_nvp("WINDOW_LAYOUTVIEW_HEIGHT", WINDOW_LAYOUTVIEW_HEIGHT);
        ar& make_nvp("WIMDOW_RECT", WIMDOW_RECT);
        ar& make_nvp("WINDOW_RECT_SIZE", WINDOW_RECT_SIZE);
        ar& make_nvp("FullDragMode", FullDragMode);
        ar& make_nvp("RightMenuMode", RightMenuMode);
        ar& make_nvp("AppPanelType", AppPanelType);
    }
};

// System colours and the colours of coloured buttons ("SystemColor").
struct ConfigDataColor {
    int reserved = 0;  // in memory only
    int RUBBERCOL = 3;
    int INIT_COLOR = 4;
    ColorRefEx COLOR_SYS_BK{"#C0C0C0"};
    ColorRefEx COLOR_PANEL{"#FFFFB5"};
    ColorRefEx COLOR_DLG_BK{"#FFFFB5"};
    ColorBtnAttrEx COLOR_BTN_ATTR[20];

    ConfigDataColor();

    // Publishes the palette, the rubber-band colour and the colours (ConfigDataRuntime).
    void Apply();

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("RUBBERCOL", RUBBERCOL);
        ar& make_nvp("INIT_COLOR", INIT_COLOR);
        ar& make_nvp("COLOR_SYS_BK", COLOR_SYS_BK);
        ar& make_nvp("COLOR_PANEL", COLOR_PANEL);
        ar& make_nvp("COLOR_DLG_BK", COLOR_DLG_BK);
        ar& make_nvp("COLOR_BTN_ATTR", COLOR_BTN_ATTR);
    }
};

// Attributes of new texts, laid out as its users read it (61 bytes, no gaps).
#pragma pack(push, 1)
struct TextAttributesRecord {
    BYTE reserved[2];
    char fontName[32];
    double height;
    double charRatio;
    double interval;
    BYTE mode;
    BYTE color;
    BYTE extra;
};
#pragma pack(pop)
static_assert(sizeof(TextAttributesRecord) == 61, "text attributes record is 61 bytes");

struct ConfigData {
    ConfigDataFile file;    // "File"
    ConfigDataMenu menu;    // "Menu"
    ConfigDataColor color;  // "SystemColor"
    std::string fullVersion;  // run-time: Version, a blank and the build text
    std::string Version{"0.xx"};
    std::string USERNAME{"?????"};
    std::string COMPANY;
    std::string COPYRIGHT;
    std::string TT{"??"};
    std::string YESNOMSG;
    int YNCMSG = 0;
    std::string STRINFO_FONTNAME;
    TextAttributesRecord textAttributes;  // run-time default text attributes
    int VCFNT = 0;
    std::string SYSTEMFONT;
    std::string ERRFONT;
    std::string DSPDEFFONT;
    std::string GRID_OFF;
    std::string GRID_ON1;
    std::string GRID_ON2;
    int GRIDCOLOR_B = 7;
    int GRIDCOLOR_B5 = 1;
    int GRIDCOLOR_W = 1;
    int GRIDCOLOR_W5 = 9;
    int POINTSCALEFG = 0;
    int NEWZUMENMODE = 0;
    int DSPSLOW = 0;
    int TPOS = 0;
    int INPUTLAYERLOAD = 1;
    int RMENU_SNAP = 0;
    int TEMPOLDMODE = 0;
    int CURMOVE_FIND = 0;
    int WAKUDSPMODE = 0;
    int CMDFILEOPN_NOZUMEN = 0;
    int ON3D = 0;
    int VIEWSTRSIZE = 2;
    int EXTDIC = 0;
    int bNoLoadErrMsg = 0;
    long RMOUSE = 1;
    int SHARE = 1;
    int CMDLOG = 0;
    int WRITECHK = 1;
    int SAVENAME = 0;
    int DEGIT = 4;
    int WAITTIME = -2000;
    int LPOSCOL = 7;
    int RPOSFMT = 1;
    unsigned int AUTOCMD = 0;
    int MULTIBOOT = 1;
    int WINSIZE = 0;
    int PAPERLINEDSPOFF = 0;
    int VIEWSCALEFIX = 0;
    int SAFE = 1;
    int LANGUAGE = 0;
    int LAYDLG_INPLAYFG = 0;
    int LAYDLG_GRPOPNFG = 1;
    int CURSOR00TYPE = 1;
    int CURSOR01TYPE = 0;
    int CURSOR02TYPE = 1;
    int WINSHOW_MAXIMIZE = 0;
    int TITLE_PENCOLOR = 0;
    long TITLE_POSX = 144;
    long TITLE_POSY = 102;
    long TITLE_SIZE = 10;
    long TITLE_POSX_2 = 144;
    long TITLE_POSY_2 = 142;
    long TITLE_SIZE_2 = 10;
    int CURMOVE_CTRL = 1;
    int RSTRVIEW = 1;
    int RASTRSPLIT = 20;
    int LOG = 0;
    unsigned int TIMESTEP = 170;
    int TYUTEN = 1;
    int MSG_BAR_MODE = 0;
    int PANEL_BUTTON_TYPE = 0;
    int ScrollBarMode = 1;
    double CURSORD = 600.0;
    int MOUSEMOVECMD[10] = {1204, 1210, 1333, 0, 1004, 1005, 1005, 1004, 0, 0};
    std::vector<std::string> SCALE;
    int INIT_PARAMETER[10] = {};

    // Text attributes of new texts, kept in the file as separate elements.
    double STRINFO_HEIGHT = 3.0;
    double STRINFO_CHARRATIO = 1.0;
    double STRINFO_INTERVAL = 0.0;
    unsigned char STRINFO_COLOR = 7;

    ConfigData();

    // Publishes the record to its users (ConfigDataRuntime, the resolved paths, the menu and
    // colour values).
    void Apply();

    template <class Archive>
    void serialize(Archive& ar, const unsigned int version);
};

// The values that ConfigData::Apply publishes, in the fixed buffers their users read.
struct ConfigDataRuntime {
    char fullVersion[257];
    char userName[200];
    char company[200];
    char copyright[260];
    char title[257];
    char yesNoCaption[30];
    char systemFont[50];
    char errorFont[64];
    char displayFont[31];
    char gridOff[20];
    char gridOn1[20];
    char gridOn2[20];
    TextAttributesRecord textAttributes;  // live attributes of new texts
    COLORREF palette[257];                // drawing palette from the engine's style table
    int rubberBandColor;
    COLORREF customBackColor;
    COLORREF panelBackColor;
    COLORREF dialogBackColor;
    COLORREF buttonTextColor[20];  // entries 1, 6, 7 and 8 are published
    COLORREF buttonBackColor[20];  // entries 1, 4, 5, 6, 7 and 8 are published
    double keyCursorStep;
    int mouseMoveCommand[2][4];    // gesture sets 1 and 2
    int initialParameters[10];
    int panelButtonType;
    int textCutCount;              // texts cut to their buffers by the last apply
};
ConfigDataRuntime& GetConfigDataRuntime();

// The rubber band and drag previews are drawn with XOR in a palette colour 1-15. Entry 0 is the
// view's background, and XOR with it changes no pixel: a 0 (as a settings file written before the
// colours were read holds) would leave every band and preview unseen.
constexpr int kDefaultRubberBandColor = 3;
inline bool IsRubberBandColor(int colour) { return colour >= 1 && colour <= 15; }
// The keyboard cursor's step in drawing units: a step of 0 (or not a number) would not move it.
inline bool IsKeyCursorStep(double step) { return step > 0.0 && std::isfinite(step); }

// The drawing background: 0 black, 1 white, otherwise the published custom colour.
COLORREF GetDrawingBackColor();
// The background setting (bBkColor) that GetDrawingBackColor follows.
void SetDrawingBackgroundMode(int mode);
int GetDrawingBackgroundMode();

// The build text joined to Version in the full version text.
extern const char kBuildText[];

template <class Archive>
void ConfigData::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    SerializeText(ar, "Version", Version);
    SerializeText(ar, "DSPDEFFONT", DSPDEFFONT);
    SerializeText(ar, "TT", TT);
    SerializeText(ar, "YESNOMSG", YESNOMSG);
    SerializeText(ar, "USERNAME", USERNAME);
    SerializeText(ar, "COMPANY", COMPANY);
    SerializeText(ar, "SYSTEMFONT", SYSTEMFONT);
    SerializeText(ar, "ERRFONT", ERRFONT);
    SerializeText(ar, "COPYRIGHT", COPYRIGHT);
    SerializeText(ar, "GRID_OFF", GRID_OFF);
    SerializeText(ar, "GRID_ON1", GRID_ON1);
    SerializeText(ar, "GRID_ON2", GRID_ON2);
    ar& make_nvp("GRIDCOLOR_B", GRIDCOLOR_B);
    ar& make_nvp("GRIDCOLOR_B5", GRIDCOLOR_B5);
    ar& make_nvp("GRIDCOLOR_W", GRIDCOLOR_W);
    ar& make_nvp("GRIDCOLOR_W5", GRIDCOLOR_W5);
    ar& make_nvp("POINTSCALEFG", POINTSCALEFG);
    ar& make_nvp("NEWZUMENMODE", NEWZUMENMODE);
    ar& make_nvp("DSPSLOW", DSPSLOW);
    ar& make_nvp("TPOS", TPOS);
    ar& make_nvp("INPUTLAYERLOAD", INPUTLAYERLOAD);
    ar& make_nvp("RMENU_SNAP", RMENU_SNAP);
    ar& make_nvp("TEMPOLDMODE", TEMPOLDMODE);
    ar& make_nvp("CURMOVE_CTRL", CURMOVE_CTRL);
    ar& make_nvp("CURMOVE_FIND", CURMOVE_FIND);
    ar& make_nvp("WAKUDSPMODE", WAKUDSPMODE);
    ar& make_nvp("CMDFILEOPN_NOZUMEN", CMDFILEOPN_NOZUMEN);
    ar& make_nvp("ON3D", ON3D);
    ar& make_nvp("RSTRVIEW", RSTRVIEW);
    ar& make_nvp("YNCMSG", YNCMSG);
    ar& make_nvp("VIEWSTRSIZE", VIEWSTRSIZE);
    ar& make_nvp("EXTDIC", EXTDIC);
    ar& make_nvp("bNoLoadErrMsg", bNoLoadErrMsg);
    ar& make_nvp("RASTRSPLIT", RASTRSPLIT);
    ar& make_nvp("SHARE", SHARE);
    ar& make_nvp("RMOUSE", RMOUSE);
    ar& make_nvp("LOG", LOG);
    ar& make_nvp("CMDLOG", CMDLOG);
    ar& make_nvp("VCFNT", VCFNT);
    ar& make_nvp("WRITECHK", WRITECHK);
    ar& make_nvp("SAVENAME", SAVENAME);
    ar& make_nvp("DEGIT", DEGIT);
    ar& make_nvp("WAITTIME", WAITTIME);
    ar& make_nvp("LPOSCOL", LPOSCOL);
    ar& make_nvp("RPOSFMT", RPOSFMT);
    ar& make_nvp("AUTOCMD", AUTOCMD);
    ar& make_nvp("MULTIBOOT", MULTIBOOT);
    ar& make_nvp("WINSIZE", WINSIZE);
    ar& make_nvp("PAPERLINEDSPOFF", PAPERLINEDSPOFF);
    ar& make_nvp("TIMESTEP", TIMESTEP);
    ar& make_nvp("VIEWSCALEFIX", VIEWSCALEFIX);
    ar& make_nvp("SAFE", SAFE);
    ar& make_nvp("TYUTEN", TYUTEN);
    ar& make_nvp("CURSORD", CURSORD);
    ar& make_nvp("LANGUAGE", LANGUAGE);
    ar& make_nvp("LAYDLG_INPLAYFG", LAYDLG_INPLAYFG);
    ar& make_nvp("LAYDLG_GRPOPNFG", LAYDLG_GRPOPNFG);
    ar& make_nvp("CURSOR00TYPE", CURSOR00TYPE);
    ar& make_nvp("CURSOR01TYPE", CURSOR01TYPE);
    ar& make_nvp("CURSOR02TYPE", CURSOR02TYPE);
    ar& make_nvp("WINSHOW_MAXIMIZE", WINSHOW_MAXIMIZE);
    ar& make_nvp("MSG_BAR_MODE", MSG_BAR_MODE);
    ar& make_nvp("PANEL_BUTTON_TYPE", PANEL_BUTTON_TYPE);
    ar& make_nvp("ScrollBarMode", ScrollBarMode);
    ar& make_nvp("TITLE_POSX", TITLE_POSX);
    ar& make_nvp("TITLE_POSY", TITLE_POSY);
    ar& make_nvp("TITLE_SIZE", TITLE_SIZE);
    ar& make_nvp("TITLE_POSX_2", TITLE_POSX_2);
    ar& make_nvp("TITLE_POSY_2", TITLE_POSY_2);
    ar& make_nvp("TITLE_SIZE_2", TITLE_SIZE_2);
    ar& make_nvp("TITLE_PENCOLOR", TITLE_PENCOLOR);
    SerializeText(ar, "STRINFO_FONTNAME", STRINFO_FONTNAME);
    ar& make_nvp("STRINFO_HEIGHT", STRINFO_HEIGHT);
    ar& make_nvp("STRINFO_CHARRATIO", STRINFO_CHARRATIO);
    ar& make_nvp("STRINFO_INTERVAL", STRINFO_INTERVAL);
    ar& make_nvp("STRINFO_COLOR", STRINFO_COLOR);
    ar& make_nvp("MOUSEMOVECMD", MOUSEMOVECMD);
    static const char* const kInitParameterNames[10] = {
        "INIT_PARAMETER_00", "INIT_PARAMETER_01", "INIT_PARAMETER_02", "INIT_PARAMETER_03",
        "INIT_PARAMETER_04", "INIT_PARAMETER_05", "INIT_PARAMETER_06", "INIT_PARAMETER_07",
        "INIT_PARAMETER_08", "INIT_PARAMETER_09"};
    for (int i = 0; i < 10; ++i) ar& make_nvp(kInitParameterNames[i], INIT_PARAMETER[i]);
    SerializeTextList(ar, "SCALE", SCALE);
    ar& make_nvp("File", file);
    ar& make_nvp("Menu", menu);
    ar& make_nvp("SystemColor", color);
}
