// The operation log: file names, header, thresholds, the record line and old logs.
#include "GTest.h"

#include <cstring>

#include "SettingsSandbox.h"
#include "core/SystemLog.h"

namespace {

SYSTEMTIME g_now = {2024, 1, 2, 2, 13, 5, 9, 0};  // Tuesday 2 January 2024, 13:05:09

void FixedClock(SYSTEMTIME* now) { *now = g_now; }

// Log settings in a temporary folder with a fixed clock.
struct LogSandbox : SettingsSandbox {
    explicit LogSandbox(int log, int cmdLog = 0)
    {
        ResetSystemLog();
        SetSystemLogClock(&FixedClock);
        ConfigData& config = GetCadSystem().config;
        config.LOG = log;
        config.CMDLOG = cmdLog;
        config.file.LOGDIR = LogDir();
        ResolveFilePaths(config.file);
        GetLocalSettingsLive().nLogKeepDays = -1;
        Messages().clear();
    }
    ~LogSandbox()
    {
        ResetSystemLog();
        SetSystemLogClock(nullptr);
    }
    std::string LogDir() const { return Folder().File("logs"); }
    std::string LogFile(const char* name) const { return LogDir() + "\\" + name; }
};

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

}  // namespace

TEST(SystemLog, NothingAtTheDefaultThresholds)
{
    LogSandbox sandbox(0, 3);
    EXPECT_EQ(OpenSystemLog(), 1);
    EXPECT_STREQ(GetSystemLogPath(), "");
    WriteSystemLog(0, "Error", "x");
    WriteSystemLog(0, nullptr, "y");
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((sandbox.LogDir() + "\\*.LOG").c_str(), &entry);
    EXPECT_EQ(find, INVALID_HANDLE_VALUE);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

TEST(SystemLog, HeaderAndRecordLines)
{
    LogSandbox sandbox(2);
    ASSERT_EQ(OpenSystemLog(), 1);
    const std::string path = sandbox.LogFile("@20240102_00.LOG");
    EXPECT_EQ(std::string(GetSystemLogPath()), path);
    WriteSystemLog(2, "Cmd End", "OK");
    WriteSystemLog(3, "Drawing Time", "too detailed");
    WriteSystemLog(0, nullptr, "untitled, CMDLOG 0");
    WriteSystemLog(2, "System", "Korva %d 件\n次の行", 3);
    WriteSystemLogText(2, "Cmd Event", "100% %s %n");
    const std::vector<std::string> lines = Lines(SettingsSandbox::ReadFile(path));
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], ";システム動作記録 by Ostrel VoltraneV8");
    EXPECT_EQ(lines[1], ";" + std::string(60, '-'));
    EXPECT_EQ(lines[2], ";@起動日時: 2024年01月02日(火) 13時05分09秒");
    EXPECT_EQ(lines[3], ";@編集ファイル名: " + path);
    EXPECT_TRUE(StartsWith(lines[4], ";@ユーザー名: \\\\")) << lines[4];
    EXPECT_TRUE(StartsWith(lines[5], ";@プロセッサの種類: ")) << lines[5];
    EXPECT_TRUE(StartsWith(lines[6], ";@OS: ")) << lines[6];
    std::size_t i = 7;
    while (i < lines.size() && lines[i] != ";" + std::string(60, '-')) ++i;
    ASSERT_LT(i + 4, lines.size());
    EXPECT_TRUE(StartsWith(lines[i - 1], ";@ページングファイル 空き: ")) << lines[i - 1];
    EXPECT_EQ(lines[i + 1], "13:05:09, Cmd End         ,\"OK\"");
    EXPECT_EQ(lines[i + 2], "13:05:09, System          ,\"VoltraneV8 3 件");
    EXPECT_EQ(lines[i + 3], "次の行\"");
    EXPECT_EQ(lines[i + 4], "13:05:09, Cmd Event       ,\"100% %s %n\"");
    EXPECT_EQ(lines.size(), i + 5);
}

TEST(SystemLog, FirstFreeNumberOfTheDay)
{
    LogSandbox sandbox(1);
    CreateDirectoryTree(sandbox.LogDir());
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.LogFile("@20240102_00.LOG"), "a"));
    ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.LogFile("@20240102_01.LOG"), "b"));
    ASSERT_EQ(OpenSystemLog(), 1);
    EXPECT_EQ(std::string(GetSystemLogPath()), sandbox.LogFile("@20240102_02.LOG"));
    for (int n = 2; n < 10; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "@20240102_%02X.LOG", n);
        SettingsSandbox::WriteFile(sandbox.LogFile(name), "x");
    }
    ResetSystemLog();
    ASSERT_EQ(OpenSystemLog(), 1);
    EXPECT_EQ(std::string(GetSystemLogPath()), sandbox.LogFile("@20240102_0A.LOG"));
}

TEST(SystemLog, AllNamesTakenContinuesTheLastLog)
{
    LogSandbox sandbox(1);
    CreateDirectoryTree(sandbox.LogDir());
    for (int n = 0; n < 100; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "@20240102_%02X.LOG", n);
        ASSERT_TRUE(SettingsSandbox::WriteFile(sandbox.LogFile(name), "earlier\r\n"));
    }
    ASSERT_EQ(OpenSystemLog(), 1);
    EXPECT_EQ(std::string(GetSystemLogPath()), sandbox.LogFile("@20240102_63.LOG"));
    WriteSystemLog(0, "Error", "e");
    const std::string text = SettingsSandbox::ReadFile(sandbox.LogFile("@20240102_63.LOG"));
    EXPECT_EQ(text.compare(0, 9, "earlier\r\n"), 0);
    EXPECT_NE(text.find("13:05:09, Error           ,\"e\""), std::string::npos);
}

TEST(SystemLog, OverLongLogPathIsRefused)
{
    LogSandbox sandbox(1);
    ConfigData& config = GetCadSystem().config;
    config.file.LOGDIR = sandbox.Folder().File(std::string(240, 'd'));
    ResolveFilePaths(config.file);
    EXPECT_EQ(OpenSystemLog(), 0);
    EXPECT_STREQ(GetSystemLogPath(), "");
    WriteSystemLog(0, "Error", "nowhere");  // no file, no crash
}

TEST(SystemLog, LogFolderEndingInTrailByte5CIsKept)
{
    LogSandbox sandbox(1);
    // "表" is 95 5C: its second byte is no separator to strip from the folder.
    const std::string folder = sandbox.Folder().File("ログ表");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ConfigData& config = GetCadSystem().config;
    const struct {
        std::string dir;
        const char* name;  // the first free number of the day
    } cases[] = {{folder, "@20240102_00.LOG"}, {folder + "\\", "@20240102_01.LOG"}};
    for (const auto& c : cases) {
        ResetSystemLog();
        config.file.LOGDIR = c.dir;
        ResolveFilePaths(config.file);
        ASSERT_EQ(OpenSystemLog(), 1) << c.dir;
        EXPECT_EQ(std::string(GetSystemLogPath()), folder + "\\" + c.name) << c.dir;
    }
}

TEST(SystemLog, Thresholds)
{
    const struct {
        int log, cmdLog, level;
        bool titled;
        bool written;
    } cases[] = {
        {1, 0, 0, true, true},  {1, 0, 2, true, false}, {2, 0, 2, true, true},  {2, 0, 3, true, false},
        {3, 0, 3, true, true},  {2, 0, 0, false, false}, {2, 2, 2, false, true}, {2, 1, 2, false, false},
    };
    for (const auto& c : cases) {
        LogSandbox sandbox(c.log, c.cmdLog);
        ASSERT_EQ(OpenSystemLog(), 1);
        WriteSystemLog(c.level, c.titled ? "T" : nullptr, "marker");
        const std::string text = SettingsSandbox::ReadFile(GetSystemLogPath());
        EXPECT_EQ(text.find("marker") != std::string::npos, c.written)
            << c.log << " " << c.cmdLog << " " << c.level << " " << c.titled;
    }
}

TEST(SystemLog, LongRecordsAreCut)
{
    LogSandbox sandbox(1);
    ASSERT_EQ(OpenSystemLog(), 1);
    std::string message = std::string(600, 'a') + std::string(300, 'b');
    for (int i = 0; i < 100; ++i) message += "表";
    WriteSystemLogText(0, std::string(300, 'T').c_str(), message.c_str());
    const std::vector<std::string> lines = Lines(SettingsSandbox::ReadFile(GetSystemLogPath()));
    const std::string& record = lines.back();
    // title cut to 255 bytes, message to 1023 bytes on a character boundary
    EXPECT_EQ(record.size(), std::string("13:05:09, ").size() + 255 + 2 + 1022 + 1);
}

TEST(SystemLog, OldLogsAreDeleted)
{
    const struct {
        int keepDays;
        bool oldKept;
    } cases[] = {{0, false}, {-1, true}, {5, true}};
    for (const auto& c : cases) {
        LogSandbox sandbox(1);
        SetSystemLogClock(nullptr);  // file ages are compared with the real clock
        CreateDirectoryTree(sandbox.LogDir());
        const std::string old = sandbox.LogFile("@20200101_00.LOG");
        const std::string odd = sandbox.LogFile("@x.LOG");
        ASSERT_TRUE(SettingsSandbox::WriteFile(old, "old"));
        ASSERT_TRUE(SettingsSandbox::WriteFile(odd, "odd"));
        ASSERT_TRUE(SettingsSandbox::SetFileAge(old, -2 * 86400));
        ASSERT_TRUE(SettingsSandbox::SetFileAge(odd, -30 * 86400));
        GetLocalSettingsLive().nLogKeepDays = c.keepDays;
        ASSERT_EQ(OpenSystemLog(), 1);
        EXPECT_EQ(SettingsSandbox::Exists(old), c.oldKept) << c.keepDays;
        EXPECT_TRUE(SettingsSandbox::Exists(odd));
    }
}

TEST(SystemLog, ViewerWindowGetsEveryRecord)
{
    LogSandbox sandbox(2);
    RegisterSystemLogMessage();
    const UINT message = RegisterWindowMessageA("CwVyLogMsg");
    HWND viewer = CreateWindowExA(0, "STATIC", "Korva_LOGVIEWER", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(viewer, nullptr);
    ASSERT_EQ(OpenSystemLog(), 1);
    // Level 3 is above LOG 2, but a running viewer lets the record through to the file too.
    WriteSystemLog(3, "Drawing Time", "slow");
    WriteSystemLog(0, nullptr, "Korva untitled");  // CMDLOG 0: posted only
    WriteSystemLogText(0, nullptr, std::string(300, 'x').c_str());

    std::vector<std::string> posted;
    MSG msg;
    while (PeekMessageA(&msg, viewer, message, message, PM_REMOVE)) {
        char text[256] = {};
        if (msg.lParam != 0) {
            GlobalGetAtomNameA(static_cast<ATOM>(msg.lParam), text, sizeof text);
            GlobalDeleteAtom(static_cast<ATOM>(msg.lParam));
        }
        EXPECT_EQ(msg.wParam, 0u);
        posted.push_back(text);
    }
    DestroyWindow(viewer);
    ASSERT_EQ(posted.size(), 3u);
    EXPECT_EQ(posted[0], "Drawing Time    ,\"slow\"");
    EXPECT_EQ(posted[1], "VoltraneV8 untitled");
    EXPECT_EQ(posted[2], "");  // too long for an atom
    const std::string text = SettingsSandbox::ReadFile(GetSystemLogPath());
    EXPECT_NE(text.find("13:05:09, Drawing Time    ,\"slow\""), std::string::npos);
    EXPECT_EQ(text.find("untitled"), std::string::npos);
}

TEST(SystemLog, ByteSizes)
{
    const struct {
        double value;
        double scaled;
        const char* unit;
    } cases[] = {{1024, 1024, "byte"}, {1536, 1.5, "KB"}, {0, 0, "byte"},
                 {3.0 * 1024 * 1024, 3, "MB"}, {5.0 * 1024 * 1024 * 1024 * 1024, 5120, "GB"}};
    for (const auto& c : cases) {
        double value = c.value;
        char unit[8];
        ScaleByteSize(&value, unit);
        EXPECT_DOUBLE_EQ(value, c.scaled) << c.value;
        EXPECT_STREQ(unit, c.unit) << c.value;
    }
}

TEST(SystemLog, Clocks)
{
    SetSystemLogClock(&FixedClock);
    char time[16];
    FormatLogTime(time);
    EXPECT_STREQ(time, "13:05:09");
    EXPECT_EQ(GetSecondsOfMonth(), 9 + 60 * 5 + 3600 * 13 + 86400 * 2);
    SetSystemLogClock(nullptr);
    const double first = GetMonotonicMilliseconds();
    Sleep(20);
    const double second = GetMonotonicMilliseconds();
    EXPECT_GE(second - first, 15.0);
    EXPECT_GT(GetMillisecondsOfMonth(), 86400000.0);
}
