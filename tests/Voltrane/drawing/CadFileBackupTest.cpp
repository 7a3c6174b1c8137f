// The backup manager on a test clock and a test host: names, the numbered stock, the count
// and time triggers, one backup per drawing, the offered files of a crashed run kept and
// reopened once.
#include "GTest.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/LocalSettings.h"
#include "core/ProgramPaths.h"
#include "drawing/CadFileBackup.h"

namespace {

class TestHost : public CadFileBackupHost {
public:
    int64_t now = 1000;
    std::vector<Drawing> drawings;
    std::vector<std::string> written, opened;
    std::vector<HWND> marked;
    std::string unopenable;  // a backup whose open fails
    int listsStored = 0;
    int answer = IDYES;
    int stockMode = 1, stockCount = 5;

    int64_t Now() override { return now; }
    std::vector<Drawing> ModifiedDrawings() override { return drawings; }
    int WriteBackup(HWND, const std::string& path) override
    {
        written.push_back(path);
        HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return 0;
        CloseHandle(f);
        return 1;
    }
    void StoreFileList() override { ++listsStored; }
    HWND OpenBackup(HWND, const std::string& path) override
    {
        opened.push_back(path);
        if (path == unopenable) return nullptr;
        return reinterpret_cast<HWND>(opened.size());
    }
    void MarkRecovered(HWND view) override { marked.push_back(view); }
    int AskRecovery(HWND) override { return answer; }
    void TileWindows(HWND) override {}
    int StockMode() override { return stockMode; }
    int StockCount() override { return stockCount; }
};

class CadFileBackupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        backup.SetHost(&host);
        backup.SetBackupFolder(folder.Path());
    }
    TempFolder folder;
    CadFileBackupSettings settings;
    TestHost host;
    CCadFileBackup backup{settings};
};

TEST_F(CadFileBackupTest, Names)
{
    EXPECT_EQ(backup.MakeBackupName(2, "plan"), folder.File("$0002_plan.tcf"));
    EXPECT_EQ(backup.MakeBackupName(302, "plan"), folder.File("$0302_plan.tcf"));
    EXPECT_EQ(backup.MakeBackupName(7, ""), folder.File("$0007.tcf"));
    EXPECT_EQ(backup.MakeBackupName(-1, ""), folder.File("$*.tcf"));
    EXPECT_EQ(CCadFileBackup::MakeNumberedCopyName(3, "C:\\b\\plan", ".tcf"), "C:\\b\\plan_$003$.tcf");
    EXPECT_EQ(CCadFileBackup::MakeNumberedCopyName(1000, "C:\\b\\plan", ".tcf"), "C:\\b\\plan_$000$.tcf");
    EXPECT_EQ(CCadFileBackup::MakeStockPattern("C:\\b\\", "plan"), "C:\\b\\plan_$???$.tcf");
    EXPECT_EQ(CCadFileBackup::NumberOfCopy("plan_$012$.tcf"), 12);
    EXPECT_EQ(CCadFileBackup::NumberOfCopy("plan.tcf"), -1);
}

TEST_F(CadFileBackupTest, CountTriggerEveryThirdCommand)
{
    settings.bCountBakup = 1;
    settings.nBackupCountSpan = 3;
    host.drawings = {{nullptr, 1, "C:\\d\\plan.tcf"}};
    int passes = 0;
    for (int command = 1; command <= 9; ++command) {
        const int before = host.listsStored;
        backup.CountCommand();
        if (host.listsStored != before) {
            ++passes;
            EXPECT_EQ(command % 3, 0) << command;
        }
    }
    EXPECT_EQ(passes, 3);
}

TEST_F(CadFileBackupTest, TimedTriggerNeedsAQuietInterval)
{
    settings.bTimeBackup = 1;
    settings.nBackupTimeSpanSec = 120;
    backup.Start();
    host.drawings = {{nullptr, 1, ""}};
    for (int second = 0; second < 600; second += 30) {
        host.now += 30;
        backup.RestartTimer();  // a command every 30 seconds
        backup.CheckTimedBackup();
    }
    EXPECT_EQ(host.listsStored, 0) << "continuous commands never trigger";
    host.now += 119;
    backup.CheckTimedBackup();
    EXPECT_EQ(host.listsStored, 0);
    host.now += 1;
    backup.CheckTimedBackup();
    EXPECT_EQ(host.listsStored, 1);
    host.now += 120;
    backup.CheckTimedBackup();
    EXPECT_EQ(host.listsStored, 2) << "and again after each further interval";
    backup.End();
}

TEST_F(CadFileBackupTest, OneBackupPerDrawingAndTheListStoredAtOnce)
{
    host.stockMode = 0;
    host.drawings = {{nullptr, 2, "C:\\d\\plan.tcf"}, {nullptr, 2, "C:\\d\\plan.tcf"}, {nullptr, 3, ""}};
    backup.BackupModifiedDrawings();
    EXPECT_EQ(host.written, (std::vector<std::string>{folder.File("$0002_plan.tcf"), folder.File("$0003.tcf")}));
    EXPECT_EQ(settings.BakupFnames, host.written);
    EXPECT_EQ(host.listsStored, 1);
}

std::vector<int> CopyNumbers(const std::string& folder, const std::string& base)
{
    std::vector<int> numbers;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(CCadFileBackup::MakeStockPattern(folder, base).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return numbers;
    do numbers.push_back(CCadFileBackup::NumberOfCopy(data.cFileName));
    while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

TEST_F(CadFileBackupTest, NumberedCopiesRotateWithinTheStockLimit)
{
    const std::string file = folder.File("$0002_plan.tcf");
    EXPECT_EQ(backup.StoreNumberedCopy("plan", file, 5), -2) << "no backup file";
    for (int pass = 0; pass < 6; ++pass) {
        // Each pass writes the backup anew: the copies differ in their write times.
        ASSERT_TRUE(folder.Write("$0002_plan.tcf", "pass " + std::to_string(pass)));
        SYSTEMTIME time = {};
        GetSystemTime(&time);
        time.wYear = static_cast<WORD>(2020 + pass);
        FILETIME stamp;
        SystemTimeToFileTime(&time, &stamp);
        HANDLE h = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(h, nullptr, nullptr, &stamp);
        CloseHandle(h);
        EXPECT_EQ(backup.StoreNumberedCopy("plan", file, 5), pass < 5 ? pass + 1 : 5) << pass;
    }
    EXPECT_EQ(CopyNumbers(folder.Path(), "plan"), (std::vector<int>{1, 2, 3, 4, 5})) << "the oldest went";

    // After copy 999 the next number is 000.
    TempFolder wrap;
    backup.SetBackupFolder(wrap.Path());
    ASSERT_TRUE(wrap.Write("plan_$999$.tcf", "x"));
    ASSERT_TRUE(wrap.Write("$0002_plan.tcf", "b"));
    EXPECT_EQ(backup.StoreNumberedCopy("plan", wrap.File("$0002_plan.tcf"), 5), 2);
    EXPECT_EQ(CopyNumbers(wrap.Path(), "plan"), (std::vector<int>{0, 999}));
    host.stockMode = 0;
    EXPECT_EQ(backup.StoreNumberedCopy("plan", wrap.File("$0002_plan.tcf"), 5), 0) << "stocking off";
}

TEST_F(CadFileBackupTest, UntitledDrawingsStockUnderANewDrawingName)
{
    host.drawings = {{nullptr, 4, ""}};
    backup.BackupModifiedDrawings();
    EXPECT_NE(GetFileAttributesA(folder.File("#新規図面#0004_$000$.tcf").c_str()), INVALID_FILE_ATTRIBUTES);
}

// A crashed run: its offered backups exist, are reopened once, and no pass writes over them.
TEST_F(CadFileBackupTest, CrashedRunOffersItsExistingBackupsAndKeepsThem)
{
    const std::string ini = GetUserIniPath();
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    ASSERT_TRUE(folder.Write("$0002_plan.tcf", "crashed run"));
    ASSERT_TRUE(folder.Write("$0302_plan.tcf", "crashed run, second start"));
    settings.BakupFnames = {folder.File("$0002_plan.tcf"), folder.File("$0302_plan.tcf"), folder.File("$0009.tcf")};
    backup.Start();
    EXPECT_EQ(backup.CrashMode(), 1);
    EXPECT_EQ(backup.OfferedFiles(), (std::vector<std::string>{folder.File("$0002_plan.tcf"), folder.File("$0302_plan.tcf")}));

    host.stockMode = 0;
    host.drawings = {{nullptr, 2, "C:\\d\\plan.tcf"}};
    backup.BackupModifiedDrawings();
    EXPECT_EQ(host.written, std::vector<std::string>{folder.File("$0602_plan.tcf")});
    EXPECT_EQ(folder.Read("$0002_plan.tcf"), "crashed run");
    EXPECT_EQ(folder.Read("$0302_plan.tcf"), "crashed run, second start");

    host.answer = IDNO;
    EXPECT_EQ(backup.OfferRecovery(nullptr, 1), -1);
    EXPECT_TRUE(host.opened.empty());
    host.answer = IDYES;
    EXPECT_EQ(backup.OfferRecovery(nullptr, 1), 0);
    EXPECT_EQ(host.opened, backup.OfferedFiles());
    EXPECT_EQ(host.marked, (std::vector<HWND>{reinterpret_cast<HWND>(1), reinterpret_cast<HWND>(2)}));
    backup.End();
    EXPECT_EQ(GetPrivateProfileIntA("System", "FatalError", -1, ini.c_str()), 0);
}

// A backup that fails to open leaves every other window as it is: only the windows that show
// a reopened backup lose their name.
TEST_F(CadFileBackupTest, RecoveryMarksOnlyTheWindowsItOpened)
{
    const std::string ini = GetUserIniPath();
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    ASSERT_TRUE(folder.Write("$0002_plan.tcf", "damaged"));
    ASSERT_TRUE(folder.Write("$0003.tcf", "good"));
    settings.BakupFnames = {folder.File("$0002_plan.tcf"), folder.File("$0003.tcf")};
    backup.Start();
    host.unopenable = folder.File("$0002_plan.tcf");
    EXPECT_EQ(backup.OfferRecovery(nullptr, 1), 0);
    EXPECT_EQ(host.opened, (std::vector<std::string>{folder.File("$0002_plan.tcf"), folder.File("$0003.tcf")}));
    EXPECT_EQ(host.marked, std::vector<HWND>{reinterpret_cast<HWND>(2)});
    backup.End();
}

TEST_F(CadFileBackupTest, CleanStartPurgesAndOffersNothing)
{
    const std::string ini = GetUserIniPath();
    WritePrivateProfileStringA("System", "FatalError", "0", ini.c_str());
    ASSERT_TRUE(folder.Write("$0002_plan.tcf", "old"));
    ASSERT_TRUE(folder.Write("plan.tcf", "a drawing"));
    settings.BakupFnames = {folder.File("$0002_plan.tcf")};
    backup.Start();
    EXPECT_EQ(backup.CrashMode(), 0);
    EXPECT_EQ(GetFileAttributesA(folder.File("$0002_plan.tcf").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(folder.Read("plan.tcf"), "a drawing");
    EXPECT_TRUE(settings.BakupFnames.empty());
    EXPECT_EQ(backup.OfferRecovery(nullptr, 1), -1);
    EXPECT_EQ(GetPrivateProfileIntA("System", "FatalError", -1, ini.c_str()), 1);
    backup.End();
}

}  // namespace
