#include "core/LocalSettings.h"

#include <cmath>
#include <cstdio>

#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/StartupSeams.h"
#include "core/ProgramPaths.h"
#include "core/SettingsHostCalls.h"

namespace {

CadFileBackupSettings g_backupSettings;
LocalSettingsLive g_live;

}  // namespace

CadFileBackupSettings& GetCadFileBackupSettings() { return g_backupSettings; }
LocalSettingsLive& GetLocalSettingsLive() { return g_live; }

LocalSettingsSetup::LocalSettingsSetup()
{
    paper_margin.left = 25.0;
    paper_margin.right = 20.0;
    paper_margin.top = 20.0;
    paper_margin.bottom = 20.0;
    paper_margin.left2 = 20.0;
    paper_margin.right2 = 20.0;
    paper_margin.top2 = 25.0;
    paper_margin.bottom2 = 25.0;
    paper_margin.color = 0;
    paper_margin.papercolor = 1;
    grid.x = 910.0;
    grid.y = 910.0;
    grid.z = 0.0;
}

void LocalSettingsSetup::GetDefaultEpsDigits(int* lengthDigits, int* angleDigits)
{
    if (lengthDigits != nullptr) {
        lengthDigits[0] = 5;
        lengthDigits[1] = 2;
        lengthDigits[2] = 5;
    }
    if (angleDigits != nullptr) {
        angleDigits[0] = 3;
        angleDigits[1] = 2;
        angleDigits[2] = 5;
    }
}

void LocalSettingsSetup::UpdateEpsValues(bool reset)
{
    if (reset) {
        iDigit_dEps = 0;
        iDigit_dEpsAngle = 0;
    }
    if (iDigit_dEps < 2 || iDigit_dEps > 5) iDigit_dEps = 5;
    if (iDigit_dEpsAngle < 2 || iDigit_dEpsAngle > 5) iDigit_dEpsAngle = 3;
    lengthTolerance = std::pow(10.0, -(iDigit_dEps + 1));
    angleTolerance = std::pow(10.0, -(iDigit_dEpsAngle + 1));
}

void LocalSettingsSetup::ApplyAll()
{
    ConfigDataRuntime& configLive = GetConfigDataRuntime();
    UpdateEpsValues(false);
    LocalSettingsSetup& live = g_live.setup;
    live = *this;
    // A stored colour that cannot show keeps the configured one, so that bands stay visible.
    if (IsRubberBandColor(iRubberCol)) configLive.rubberBandColor = iRubberCol;
    else if (!IsRubberBandColor(configLive.rubberBandColor)) configLive.rubberBandColor = kDefaultRubberBandColor;
    live.iRubberCol = configLive.rubberBandColor;
    SetDrawingBackgroundMode(bBkColor);
    // Likewise a stored step that moves nothing keeps the configured step.
    if (IsKeyCursorStep(CursorRate)) configLive.keyCursorStep = CursorRate;
    if (IsKeyCursorStep(configLive.keyCursorStep)) live.CursorRate = configLive.keyCursorStep;
    if (live.LMsFg & 1) live.LMsFg = (live.LMsFg & ~1L) | 0x20 | 0x40;
    GetCadSystem().Subsystems().SyncSnapButtons();
    if (live.iGridCutFg == 0) live.iGridNoDetFlg = 0;
    live.iRMenuFg = 1;
    if (GetMenuSettingsRuntime().tmenuLastPos == 0) {
        lMenuMode = 0;
        live.lMenuMode = 0;
    }
}

void LocalSettingsSetup::Gather()
{
    const LocalSettingsSetup& live = g_live.setup;
    // The tolerances are derived; they stay as this record holds them.
    double length = lengthTolerance, angle = angleTolerance;
    *this = live;
    lengthTolerance = length;
    angleTolerance = angle;
    bBkColor = GetDrawingBackgroundMode();
    // Before the colours are read the live colour is 0: the record keeps the one it holds.
    if (IsRubberBandColor(GetConfigDataRuntime().rubberBandColor)) iRubberCol = GetConfigDataRuntime().rubberBandColor;
    if (IsKeyCursorStep(GetConfigDataRuntime().keyCursorStep)) CursorRate = GetConfigDataRuntime().keyCursorStep;
}

void LocalSettingsSetup::ReadIniValues(const std::string& iniPath)
{
    const char* path = iniPath.c_str();
    auto readInt = [path](const char* section, const char* key, int defaultValue) {
        return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path));
    };
    LocalSettingsLive& live = g_live;
    live.iMouseWheelZoomType = readInt("Mouse", "iMouseWheelZoomType", 0);
    live.iDispDrawMode = readInt("System", "iDispDrawMode", 1);
    live.iDrawColorMode = readInt("System", "iDrawColorMode", 0);
    live.iDrawColor = readInt("System", "iDrawColor", 4);
    live.iHighlightColor = readInt("System", "iHighlightColor", 2);
    EngineSetHighlightColor(live.iHighlightColor);
    live.iEpsMode = readInt("System", "iEpsMode", -1);
    if (live.iEpsMode == -1) {
        UpdateEpsValues(true);
        live.setup.iDigit_dEps = iDigit_dEps;
        live.setup.iDigit_dEpsAngle = iDigit_dEpsAngle;
        live.setup.lengthTolerance = lengthTolerance;
        live.setup.angleTolerance = angleTolerance;
    }
    live.iBackupStock = readInt("System", "iBackupStock", 1);
    live.nBackupStockNum = readInt("System", "nBackupStockNum", 5);
    live.nLogKeepDays = readInt("System", "nLogKeepDays", 7);
    live.iSnap2TenkanMode = readInt("System", "iSnap2TenkanMode", 1);
    int aperture = readInt("Mouse", "iCursorFindArea", 8);
    // The pick aperture takes 1 to 998 pixels; other values leave it as it was.
    if (aperture >= 1 && aperture <= 998) live.iCursorFindArea = aperture;
    live.iElementCheckMode = readInt("System", "iElementCheckMode", 1);
    EngineSetElementCheckMode(live.iElementCheckMode);
    live.iVectFontWidth = readInt("System", "iVectFontWidth", 1);
    EngineSetSettingsDataInt("iVectFontWidth", live.iVectFontWidth);
    live.iLockBtnSnapNINNITEN = readInt("System", "iLockBtnSnapNINNITEN", 0);
    live.iPanelCaption = readInt("System", "iPanelCaption", 3);
    if (live.iPanelCaption > 15) live.iPanelCaption = 3;
    live.iLockPanelSliding = readInt("System", "iLockPanelSliding", 0);
    live.iCmdPanelTypeLowResoH = readInt("System", "iCmdPanelTypeLowResoH", 0);
    live.iCmdPanelTypeLowResoW = readInt("System", "iCmdPanelTypeLowResoW", 0);
    live.iCmdPanelFloatingMode = readInt("System", "iCmdPanelFloatingMode", 0);
    live.iCmdPanelTypeSelBtn = readInt("System", "iCmdPanelTypeSelBtn", 1);
    live.iDispDrawLevel = readInt("System", "iDispDrawLevel", 1);
}

void LocalSettingsSetup::WriteIniValues(const std::string& iniPath)
{
    LocalSettingsLive& live = g_live;
    char number[32];
    if (live.iDrawColorMode == 1) {
        std::snprintf(number, sizeof number, "%d", live.iDrawColor);
        WritePrivateProfileStringA("System", "iDrawColor", number, iniPath.c_str());
    }
    if (live.iEpsMode == -1) {
        live.iEpsMode = 0;
        WritePrivateProfileStringA("System", "iEpsMode", "0", iniPath.c_str());
    }
    std::snprintf(number, sizeof number, "%d", live.iPanelCaption);
    WritePrivateProfileStringA("System", "iPanelCaption", number, iniPath.c_str());
}

int LocalSettingsSetup::WriteHighlightColor(const std::string& iniPath, bool apply)
{
    if (apply) {
        char number[32];
        std::snprintf(number, sizeof number, "%d", g_live.iHighlightColor);
        WritePrivateProfileStringA("System", "iHighlightColor", number, iniPath.c_str());
        EngineSetHighlightColor(g_live.iHighlightColor);
    }
    return 0;
}

LocalSettingsWindow::LocalSettingsWindow()
{
    Screen.right = GetSystemMetrics(SM_CXSCREEN) - 2;
    Screen.bottom = GetSystemMetrics(SM_CYSCREEN) - 2;
}

void LocalSettingsWindow::Apply()
{
    const long width = GetSystemMetrics(SM_CXSCREEN);
    const long height = GetSystemMetrics(SM_CYSCREEN);
    if (Screen.top > height - 10 || Screen.top < 0) Screen.top = 0;
    if (Screen.left > width - 10 || Screen.left < 0) Screen.left = 0;
    if (Screen.bottom < 100) Screen.bottom = 100;
    if (Screen.right < 100) Screen.right = 100;
    if (Screen.bottom > height) Screen.bottom = height;
    if (Screen.right > width) Screen.right = width;
    GetMenuSettingsRuntime().mainWindowRect = {Screen.left, Screen.top, Screen.right, Screen.bottom};
    g_live.mouseMode = MOUSE;
    if (TbarDisp.empty()) {
        TbarDisp = {"0,1,2,7",  "0,1,2,14", "0,2,0,16", "0,1,1,6",  "0,1,1,3",  "0,1,0,0",
                    "0,1,0,5",  "0,1,1,13", "0,1,1,14", "0,1,0,2",  "0,1,0,11", "0,1,0,12",
                    "0,1,0,9",  "0,1,1,10", "0,1,0,8",  "0,1,0,1",  "0,1,1,6"};
    }
}

void LocalSettingsWindow::Gather()
{
    const RECT& rect = GetMenuSettingsRuntime().mainWindowRect;
    Screen.left = rect.left;
    Screen.top = rect.top;
    Screen.right = rect.right;
    Screen.bottom = rect.bottom;
    MOUSE = g_live.mouseMode;
}
