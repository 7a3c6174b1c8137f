// The per-user settings records of "LocalSettings.xml" (roots "Setup", "Window",
// "CadFileBackup", "StackCmd") and the keys of "LocalSettings.ini". The records are gathered
// from the live settings before every save and published to them after every load.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/SettingsTypes.h"

struct LocalSettingsSetup {
    PaperMarginEx paper_margin;
    DPointEx grid;
    int bToolHlp = 1;
    int bWindowSz = 0;
    int bBkColor = 0;
    int iRubberCol = 3;
    int bLastPosViewFg = 0;
    int bCurModeChk = 1;
    int iUndoCount = 10;
    int bElmHit = 0;
    int bBeepFind = 1;
    int iSnapShowMode = 3;
    long LMsFg = 104;
    int iDigit = 5;
    int bZero = 1;
    int iRMenuFg = 1;
    int bTmpOnece = 1;
    int bErrDown = 0;
    int bDspNumDlgFg = 1;
    int bDispLastPosFg = 0;
    int bGridDspModeExtr = 0;
    int bScTestBtn = 1;
    int iDefPaperType = 3;
    double dDefPaperScale = 0.02;
    double dDelPaperCx = 420.0;
    double dDelPaperCy = 297.0;
    int MsgFg = 0;
    int bPaperOrg = 0;
    int iGridNoDetFlg = 0;
    int iGridCutFg = 1;
    int bTermDrawFg = 0;
    int bCurSorAreaDsp = 1;
    int iDigit_dEpsAngle = 3;
    int iDigit_dEps = 7;
    int bPointSize = 0;
    int bLineWidthSize = 1;
    int bColorMode = 2;
    int lMenuMode = 0;
    double CursorRate = 600.0;
    int iStartOpenDlgFg = 0;
    std::string SysZumenDir;
    std::string szLayDefPat;
    std::string szDefPaperStr1;
    std::string szDefPaperStr2;
    std::string szDefPaperStr3;
    std::string szDefPaperPtn;
    std::string szLPatRd;
    double angleTolerance = 0.0001;  // not in the file
    double lengthTolerance = 1e-7;   // not in the file
    int iCmdPanelCurrPage[5] = {};

    LocalSettingsSetup();

    // Digit counts (2 to 5) and the tolerances derived from them; reset starts both again.
    void UpdateEpsValues(bool reset);
    void Gather();
    void ApplyAll();
    void ReadIniValues(const std::string& iniPath);
    void WriteIniValues(const std::string& iniPath);
    int WriteHighlightColor(const std::string& iniPath, bool apply);

    // Default, minimum and maximum digit counts of the length and angle tolerances.
    static void GetDefaultEpsDigits(int* lengthDigits, int* angleDigits);

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("paper_margin", paper_margin);
        ar& make_nvp("grid", grid);
        ar& make_nvp("bToolHlp", bToolHlp);
        ar& make_nvp("bWindowSz", bWindowSz);
        ar& make_nvp("bBkColor", bBkColor);
        ar& make_nvp("iRubberCol", iRubberCol);
        ar& make_nvp("bLastPosViewFg", bLastPosViewFg);
        ar& make_nvp("bCurModeChk", bCurModeChk);
        ar& make_nvp("iUndoCount", iUndoCount);
        ar& make_nvp("bElmHit", bElmHit);
        ar& make_nvp("bBeepFind", bBeepFind);
        ar& make_nvp("iSnapShowMode", iSnapShowMode);
        ar& make_nvp("LMsFg", LMsFg);
        ar& make_nvp("iDigit", iDigit);
        ar& make_nvp("bZero", bZero);
        ar& make_nvp("iRMenuFg", iRMenuFg);
        ar& make_nvp("bTmpOnece", bTmpOnece);
        ar& make_nvp("bErrDown", bErrDown);
        ar& make_nvp("bDspNumDlgFg", bDspNumDlgFg);
        ar& make_nvp("bDispLastPosFg", bDispLastPosFg);
        ar& make_nvp("bGridDspModeExtr", bGridDspModeExtr);
        ar& make_nvp("bScTestBtn", bScTestBtn);
        ar& make_nvp("iDefPaperType", iDefPaperType);
        ar& make_nvp("dDefPaperScale", dDefPaperScale);
        ar& make_nvp("dDelPaperCx", dDelPaperCx);
        ar& make_nvp("dDelPaperCy", dDelPaperCy);
        ar& make_nvp("MsgFg", MsgFg);
        ar& make_nvp("bPaperOrg", bPaperOrg);
        ar& make_nvp("iGridNoDetFlg", iGridNoDetFlg);
        ar& make_nvp("iGridCutFg", iGridCutFg);
        ar& make_nvp("bTermDrawFg", bTermDrawFg);
        ar& make_nvp("bCurSorAreaDsp", bCurSorAreaDsp);
        ar& make_nvp("iDigit_dEpsAngle", iDigit_dEpsAngle);
        ar& make_nvp("iDigit_dEps", iDigit_dEps);
        ar& make_nvp("bPointSize", bPointSize);
        ar& make_nvp("bLineWidthSize", bLineWidthSize);
        ar& make_nvp("bColorMode", bColorMode);
        ar& make_nvp("lMenuMode", lMenuMode);
        ar& make_nvp("CursorRate", CursorRate);
        ar& make_nvp("iStartOpenDlgFg", iStartOpenDlgFg);
        SerializeText(ar, "SysZumenDir", SysZumenDir);
        SerializeText(ar, "szLayDefPat", szLayDefPat);
        SerializeText(ar, "szDefPaperStr1", szDefPaperStr1);
        SerializeText(ar, "szDefPaperStr2", szDefPaperStr2);
        SerializeText(ar, "szDefPaperStr3", szDefPaperStr3);
        SerializeText(ar, "szDefPaperPtn", szDefPaperPtn);
        SerializeText(ar, "szLPatRd", szLPatRd);
        ar& make_nvp("iCmdPanelCurrPage", iCmdPanelCurrPage);
    }
};

struct LocalSettingsWindow {
    RectEx Screen;
    int MOUSE = 0;
    int PNL_MAIN = 1;
    int PNL_CMD = 1;
    std::vector<std::string> TbarDisp;
    int ToolPanelDispMode = 0;

    LocalSettingsWindow();

    void Gather();
    void Apply();

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("Screen", Screen);
        ar& make_nvp("MOUSE", MOUSE);
        ar& make_nvp("PNL_MAIN", PNL_MAIN);
        ar& make_nvp("PNL_CMD", PNL_CMD);
        SerializeTextList(ar, "TbarDisp", TbarDisp);
        ar& make_nvp("ToolPanelDispMode", ToolPanelDispMode);
    }
};

// The content of the backup manager's element "CadFileBackup".
struct CadFileBackupSettings {
    int nBackupCountSpan = 3;
    int bCountBakup = 0;
    int bTimeBackup = 0;
    int nBackupTimeSpanSec = 120;
    std::vector<std::string> BakupFnames;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("nBackupCountSpan", nBackupCountSpan);
        ar& make_nvp("bCountBakup", bCountBakup);
        ar& make_nvp("bTimeBackup", bTimeBackup);
        ar& make_nvp("nBackupTimeSpanSec", nBackupTimeSpanSec);
        SerializeTextList(ar, "BakupFnames", BakupFnames);
    }
};
// The backup settings the program loads and saves; the backup manager reads them.
CadFileBackupSettings& GetCadFileBackupSettings();

struct LocalSettingsStackCmd {
    std::vector<int> CmdId;
    std::vector<std::string> CmdName;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        using boost::serialization::make_nvp;
        ar& make_nvp("CmdId", CmdId);
        SerializeTextList(ar, "CmdName", CmdName);
    }
};

// The live values the records are published to and gathered from. Their users read them
// here.
struct LocalSettingsLive {
    LocalSettingsSetup setup;  // every value of the Setup record as the program uses it
    int mouseMode = 0;
    // "LocalSettings.ini"
    int iMouseWheelZoomType = 0;
    int iDispDrawMode = 1;
    int iDrawColorMode = 0;
    int iDrawColor = 4;
    int iHighlightColor = 2;
    int iEpsMode = -1;
    int iBackupStock = 1;
    int nBackupStockNum = 5;
    int nLogKeepDays = 7;
    int iSnap2TenkanMode = 1;
    int iCursorFindArea = 8;
    int iElementCheckMode = 1;
    int iVectFontWidth = 1;
    int iLockBtnSnapNINNITEN = 0;
    int iPanelCaption = 3;
    int iLockPanelSliding = 0;
    int iCmdPanelTypeLowResoH = 0;
    int iCmdPanelTypeLowResoW = 0;
    int iCmdPanelFloatingMode = 0;
    int iCmdPanelTypeSelBtn = 1;
    int iDispDrawLevel = 1;
};
LocalSettingsLive& GetLocalSettingsLive();
