// New drawings: scales written as fractions, the paper and drawing sizes of a choice, and the
// dialog run with its fields filled as a user would.
#include "GTest.h"

#include <windows.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "EngineRecords.h"
#include "OwnWindows.h"
#include "commands/InputHistory.h"
#include "core/ConfigIo.h"
#include "core/LocalSettings.h"
#include "core/SettingsMessage.h"
#include "drawing/NewDrawingDialog.h"
#include "drawing/PaperTable.h"
#include "drawing/ScaleText.h"

namespace {

TEST(ScaleText, FractionsAndPlainNumbers)
{
    const struct {
        double scale;
        const char* text;
    } cases[] = {{0.01, "1/100"}, {0.0125, "1/80"}, {2.5, "2.5"}, {1, "1"}, {0.02, "1/50"}, {2.0 / 3, "2/3"},
                 {0, "0"}, {-0.5, "-0.5"}};
    char text[64];
    for (const auto& c : cases) {
        FormatScaleText(c.scale, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.scale;
    }
    FormatScaleText(std::numeric_limits<double>::infinity(), text, sizeof text);
    EXPECT_STREQ(text, "inf");
    FormatScaleText(std::numeric_limits<double>::quiet_NaN(), text, sizeof text);
    EXPECT_STREQ(text, "nan");
    long num = 0, den = 0;
    EXPECT_EQ(FindScaleFraction(0, &num, &den, 0), 0);
    EXPECT_EQ(FindScaleFraction(1.5, &num, &den, 0), 0);
}

TEST(NewDrawing, RecordOfAChoice)
{
    InitPaperTable();
    DbInfoRecord record;
    std::memset(&record, 0, sizeof record);
    NewDrawingChoice a3Portrait;
    a3Portrait.paperRow = 10;  // "A3 縦"
    a3Portrait.scale = 0.01;
    ASSERT_STREQ(GetPaperTable()[10].name, "A3 縦");
    EXPECT_EQ(ComputeNewDrawingRecord(a3Portrait, record), 0);
    EXPECT_EQ(record.paperWidthMm, 297);
    EXPECT_EQ(record.paperHeightMm, 420);
    EXPECT_NEAR(record.drawingWidth, 29700, 1e-9);
    EXPECT_NEAR(record.drawingHeight, 42000, 1e-9);
    EXPECT_EQ(record.paperCode, 0x8013);

    NewDrawingChoice free;
    free.paperRow = 28;
    free.scale = 0.5;
    free.freeWidth = 500, free.freeHeight = 300;
    EXPECT_EQ(ComputeNewDrawingRecord(free, record), 0);
    EXPECT_EQ(record.drawingWidth, 1000);
    EXPECT_EQ(record.drawingHeight, 600);
    EXPECT_EQ(record.paperCode, 0);

    NewDrawingChoice zeroScale = a3Portrait;
    zeroScale.scale = 0;
    EXPECT_EQ(ComputeNewDrawingRecord(zeroScale, record), 7490);
    free.freeHeight = 0;
    EXPECT_EQ(ComputeNewDrawingRecord(free, record), 7491);
}

// Fills the dialog as a user would once it shows, then presses OK.
struct DialogDriver {
    static const char*& Scale()
    {
        static const char* scale = "1/100";
        return scale;
    }
    static int& Boxes()
    {
        static int boxes = 0;
        return boxes;
    }
    static int CountBox(HWND, const char*, const char*, UINT)
    {
        ++Boxes();
        return IDOK;
    }
    static void CALLBACK Fill(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = FindOwnWindow("#32770", "新規図面を開く（各種設定後 [OK] ｸﾘｯｸしてください。）");
        if (dialog == nullptr) return;
        KillTimer(nullptr, id);
        SetDlgItemTextA(dialog, 1300, "一階平面図");
        SendMessageA(GetDlgItem(dialog, 1400), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("A3"));
        SendMessageA(GetDlgItem(dialog, 502), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("縦"));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1400, CBN_SELCHANGE), 0);
        SetDlgItemTextA(dialog, 1401, Scale());
        const int boxes = Boxes();
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        // A refused entry shows its message and keeps the dialog open: then cancel.
        if (Boxes() != boxes) SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};

TEST(NewDrawing, DialogTakesTheEntries)
{
    InitPaperTable();
    SettingsMessageHook previous = SetSettingsMessageHook(DialogDriver::CountBox);
    DbInfoRecord record;
    std::memset(&record, 0, sizeof record);
    DialogDriver::Scale() = "1/100";
    UINT_PTR timer = SetTimer(nullptr, 0, 50, DialogDriver::Fill);
    EXPECT_EQ(ShowCreateZumenDlg(&record), 0);
    KillTimer(nullptr, timer);
    EXPECT_STREQ(record.title, "一階平面図");
    EXPECT_EQ(record.paperCode, 0x8013);
    EXPECT_NEAR(record.drawingWidth, 29700, 1e-6);
    EXPECT_NEAR(record.drawingHeight, 42000, 1e-6);
    EXPECT_EQ(GetLocalSettingsLive().setup.iDefPaperType, 10) << "remembered for the next drawing";

    DialogDriver::Scale() = "0";
    DialogDriver::Boxes() = 0;
    timer = SetTimer(nullptr, 0, 50, DialogDriver::Fill);
    EXPECT_EQ(ShowCreateZumenDlg(&record), -1);
    KillTimer(nullptr, timer);
    EXPECT_EQ(DialogDriver::Boxes(), 1) << "a scale of 0 is refused with its message";
    SetSettingsMessageHook(previous);
}

// Picks the first entry of the name's history the way its menu would, then cancels.
struct HistoryPick {
    static std::string& Name()
    {
        static std::string name;
        return name;
    }
    static void CALLBACK Pick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = FindOwnWindow("#32770", "新規図面を開く（各種設定後 [OK] ｸﾘｯｸしてください。）");
        if (dialog == nullptr) return;
        KillTimer(nullptr, id);
        SetDlgItemTextA(dialog, 1300, "");
        DestroyMenu(BuildInputHistoryMenu("NZ_STR1"));  // the slots hold the name's history
        SendMessageA(dialog, WM_COMMAND, 1236, 0);
        char text[64] = {};
        GetDlgItemTextA(dialog, 1300, text, sizeof text);
        Name() = text;
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};

std::string HistoryEntry(const char* key, int slot)
{
    char out[257] = {};
    ReadInputHistoryString(key, std::to_string(slot).c_str(), "", out);
    return out;
}

TEST(NewDrawing, EntriesGoToTheirHistoriesAndAPickedEntryFillsItsField)
{
    InitPaperTable();
    SettingsMessageHook previous = SetSettingsMessageHook(DialogDriver::CountBox);
    DbInfoRecord record;
    std::memset(&record, 0, sizeof record);
    AddInputHistory("older", "NZ_STR1");
    DialogDriver::Scale() = "1/50";
    UINT_PTR timer = SetTimer(nullptr, 0, 50, DialogDriver::Fill);
    EXPECT_EQ(ShowCreateZumenDlg(&record), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ("一階平面図", HistoryEntry("NZ_STR1", 0));
    EXPECT_EQ("older", HistoryEntry("NZ_STR1", 1));
    EXPECT_EQ("1/50", HistoryEntry("NZ_STR4", 0));

    // A refused scale keeps the texts added but not the scale.
    DialogDriver::Scale() = "0";
    timer = SetTimer(nullptr, 0, 50, DialogDriver::Fill);
    EXPECT_EQ(ShowCreateZumenDlg(&record), -1);
    KillTimer(nullptr, timer);
    EXPECT_EQ("1/50", HistoryEntry("NZ_STR4", 0));

    timer = SetTimer(nullptr, 0, 50, HistoryPick::Pick);
    EXPECT_EQ(ShowCreateZumenDlg(&record), -1);
    KillTimer(nullptr, timer);
    EXPECT_EQ("一階平面図", HistoryPick::Name());
    SetSettingsMessageHook(previous);
}

}  // namespace
