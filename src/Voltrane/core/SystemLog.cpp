#include "core/SystemLog.h"

#include <winnetwk.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/NumericInput.h"
#include "core/ProgramPaths.h"
#include "core/SystemInfo.h"

namespace {

CSystemLog g_systemLog;
char g_logPath[256] = {};
char g_datePrefix[32] = {};
UINT g_viewerMessage = 0;
SystemLogClock g_clock = nullptr;

constexpr std::size_t kMessageSize = 1024;
constexpr std::size_t kTitleSize = 256;

void Now(SYSTEMTIME* now)
{
    if (g_clock != nullptr) {
        g_clock(now);
    } else {
        GetLocalTime(now);
    }
}

// Writes text to the end of the log file, every line ending in a carriage return and a line
// feed. False when the file cannot be opened.
bool AppendToFile(const char* path, const std::string& text)
{
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string out;
    out.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
        out += text[i];
    }
    DWORD written = 0;
    bool ok = WriteFile(file, out.data(), static_cast<DWORD>(out.size()), &written, nullptr) && written == out.size();
    CloseHandle(file);
    return ok;
}

std::string Format(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

void DeleteOldLogs(const std::string& folder, int keepDays)
{
    SYSTEMTIME now = {};
    Now(&now);
    FILETIME nowFile = {};
    if (!SystemTimeToFileTime(&now, &nowFile)) return;
    ULARGE_INTEGER cutoff;
    cutoff.LowPart = nowFile.dwLowDateTime;
    cutoff.HighPart = nowFile.dwHighDateTime;
    cutoff.QuadPart -= static_cast<ULONGLONG>(keepDays) * 864000000000ULL;

    std::string pattern = JoinPath(folder, "@*.LOG");
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA(pattern.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (std::strlen(entry.cFileName) != 16) continue;
        FILETIME local = {};
        if (!FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local)) continue;
        ULARGE_INTEGER written;
        written.LowPart = local.dwLowDateTime;
        written.HighPart = local.dwHighDateTime;
        if (written.QuadPart < cutoff.QuadPart) DeleteFileA(JoinPath(folder, entry.cFileName).c_str());
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

std::string HeaderText()
{
    static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    SYSTEMTIME now = {};
    Now(&now);
    std::string started = Format("%04d年%02d月%02d日(%2s) %02d時%02d分%02d秒", now.wYear, now.wMonth, now.wDay,
                                 kWeekdays[now.wDayOfWeek % 7], now.wHour, now.wMinute, now.wSecond);
    const std::string rule = ";" + std::string(60, '-') + "\n";
    std::string text;
    text += Format(";システム動作記録 by %s %s\n", GetMakerFolderName(), GetProductFolderName());
    text += rule;
    text += Format(";@起動日時: %s\n", started.c_str());
    text += Format(";@編集ファイル名: %s\n", g_logPath);

    char computer[250] = {};
    DWORD computerSize = sizeof computer;
    if (!GetComputerNameA(computer, &computerSize)) computer[0] = '\0';
    char user[250] = {};
    DWORD userSize = sizeof user;
    if (WNetGetUserA(nullptr, user, &userSize) != NO_ERROR) user[0] = '\0';
    text += Format(";@ユーザー名: \\\\%s\\%s\n", computer, user);

    SYSTEM_INFO info = {};
    GetSystemInfo(&info);
    std::string processor;
    switch (info.dwProcessorType) {
    case 386: processor = "Intel 386"; break;
    case 486: processor = "Intel 486"; break;
    case 586: processor = "Intel Pentium"; break;
    default: processor = Format("Type %ld", static_cast<long>(info.dwProcessorType)); break;
    }
    text += Format(";@プロセッサの種類: %s\n", processor.c_str());

    char os[256] = {};
    CGetOsVersion().GetOsDescription(os, sizeof os);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    text += Format(";@OS: %s (v%ld.%ld)\n", os, static_cast<long>(version.dwMajorVersion),
                   static_cast<long>(version.dwMinorVersion));
    if (version.szCSDVersion[0] != '\0') text += Format(";@CSDのバージョン: %s\n", version.szCSDVersion);

    if (g_logPath[0] != '\\') {
        std::string drive = g_logPath[1] == ':' ? std::string(1, g_logPath[0]) : std::string();
        const char* colon = std::strchr(g_logPath, ':');
        std::string root = colon ? std::string(static_cast<const char*>(g_logPath), colon + 1) + "\\" : std::string();
        DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
        // A drive whose free space cannot be read is left out of the header.
        if (GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &sectors, &bytes, &freeClusters, &clusters)) {
            double space = static_cast<double>(sectors) * bytes * freeClusters;
            char unit[8];
            ScaleByteSize(&space, unit);
            text += Format(";@%sドライブの空き容量: %.2lf %s\n", drive.c_str(), space, unit);
        }
    }

    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    const struct {
        const char* label;
        DWORDLONG value;
    } lines[] = {{";@物理メモリ 合計: %.2lf %s\n", memory.ullTotalPhys},
                 {";@物理メモリ 空き: %.2lf %s\n", memory.ullAvailPhys},
                 {";@ページングファイル 合計: %.2lf %s\n", memory.ullTotalPageFile},
                 {";@ページングファイル 空き: %.2lf %s\n", memory.ullAvailPageFile}};
    for (const auto& line : lines) {
        double value = static_cast<double>(line.value);
        char unit[8];
        ScaleByteSize(&value, unit);
        text += Format(line.label, value, unit);
    }
    text += rule;
    return text;
}

// Replaces every "Korva" outside double-byte characters by the product folder name.
void ReplaceProductName(std::string& text)
{
    static const char kOld[] = "Korva";
    const std::string replacement = GetProductFolderName();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
            out.append(text, i, 2);
            i += 2;
            continue;
        }
        if (text.compare(i, 5, kOld) == 0) {
            out += replacement;
            i += 5;
            continue;
        }
        out += text[i++];
    }
    text.swap(out);
}

void WriteRecord(int level, const char* title, const char* message)
{
    const ConfigData& config = GetCadSystem().config;
    const int threshold = title != nullptr ? config.LOG : config.CMDLOG;
    HWND viewer = FindWindowA(nullptr, "Korva_LOGVIEWER");
    if (viewer == nullptr && (threshold < level || std::strlen(g_logPath) < 3)) return;

    std::string record;
    if (title != nullptr) {
        char boundedTitle[kTitleSize];
        DbcsCopy(boundedTitle, sizeof boundedTitle, title);
        char head[kTitleSize + 8];
        std::snprintf(head, sizeof head, "%-16s,\"", boundedTitle);
        record = std::string(head) + message + "\"";
    } else {
        record = message;
    }
    ReplaceProductName(record);

    if (threshold > 0 && g_logPath[0] != '\0') {
        char time[16];
        FormatLogTime(time);
        AppendToFile(g_logPath, std::string(time) + ", " + record + "\n");
    }
    if (viewer != nullptr) {
        ATOM atom = record.size() > 255 ? 0 : GlobalAddAtomA(record.c_str());
        if (PostMessageA(viewer, g_viewerMessage, 0, atom) != 1) {
            Sleep(50);
            if (PostMessageA(viewer, g_viewerMessage, 0, atom) != 1 && atom != 0) GlobalDeleteAtom(atom);
        }
    }
}

}  // namespace

void RegisterSystemLogMessage() { g_viewerMessage = RegisterWindowMessageA("CwVyLogMsg"); }

int OpenSystemLog()
{
    const ConfigData& config = GetCadSystem().config;
    if (config.LOG == 0) return 1;

    std::string folder = GetResolvedFilePaths().logDir;
    std::string base;
    if (folder.size() >= 2) {
        if (folder[0] == '\\' || (folder.size() > 2 && folder[2] == '\\')) {
            base = folder;
        } else {
            std::string module = GetExePath();
            base = module.substr(0, module.find_last_of('\\') + 1) + folder;
        }
        while (!base.empty() && base.back() == '\\' && !DbcsIsTrailByte(base.c_str(), base.size() - 1))
            base.pop_back();
        base += "\\dummy";
    } else {
        base = GetExePath();
    }
    const std::size_t slash = base.find_last_of('\\');
    const std::string directory = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);

    SYSTEMTIME today = {};
    Now(&today);
    std::snprintf(g_datePrefix, sizeof g_datePrefix, "@%04d%02d%02d_", today.wYear, today.wMonth, today.wDay);

    const int keepDays = GetLocalSettingsLive().nLogKeepDays;
    if (keepDays >= 0 && !directory.empty()) DeleteOldLogs(directory, keepDays);

    // The first free number of the day; when all are taken the last file is continued rather
    // than truncated.
    std::string path;
    bool append = true;
    for (int n = 0; n < 100; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%02X.LOG", g_datePrefix, n);
        path = directory + name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            append = false;
            break;
        }
    }
    if (path.size() >= sizeof g_logPath) {
        g_logPath[0] = '\0';
        return 0;
    }
    std::memcpy(g_logPath, path.c_str(), path.size() + 1);

    HANDLE file = CreateFileA(g_logPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(file);
    return AppendToFile(g_logPath, HeaderText()) ? 1 : 0;
}

void WriteSystemLog(int level, const char* title, const char* format, ...)
{
    char message[kMessageSize] = {};
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        FormatWithRealsV(message, sizeof message, format, args);
        va_end(args);
    }
    WriteRecord(level, title, message);
}

void WriteSystemLogText(int level, const char* title, const char* text)
{
    char message[kMessageSize] = {};
    DbcsCopy(message, sizeof message, text);
    WriteRecord(level, title, message);
}

void FormatLogTime(char* buffer)
{
    if (buffer == nullptr) return;
    SYSTEMTIME now = {};
    Now(&now);
    std::snprintf(buffer, 9, "%02d:%02d:%02d", now.wHour % 100, now.wMinute % 100, now.wSecond % 100);
}

int GetSecondsOfMonth()
{
    SYSTEMTIME now = {};
    Now(&now);
    return now.wSecond + 60 * now.wMinute + 3600 * now.wHour + 86400 * now.wDay;
}

double GetMillisecondsOfMonth()
{
    FILETIME utc = {}, local = {};
    GetSystemTimeAsFileTime(&utc);
    ULARGE_INTEGER ticks;
    ticks.LowPart = utc.dwLowDateTime;
    ticks.HighPart = utc.dwHighDateTime;
    const double milliseconds = static_cast<double>((ticks.QuadPart / 10000ULL) % 1000ULL);
    SYSTEMTIME now = {};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &now)) return milliseconds;
    const double seconds = now.wSecond + 60.0 * now.wMinute + 3600.0 * now.wHour + 86400.0 * now.wDay;
    return 1000.0 * seconds + milliseconds;
}

double GetMonotonicMilliseconds()
{
    LARGE_INTEGER frequency, counter;
    if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0 && QueryPerformanceCounter(&counter))
        return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    return static_cast<double>(GetTickCount64());
}

void ScaleByteSize(double* value, char* unit)
{
    static const char* const kUnits[] = {"KB", "MB", "GB"};
    if (unit != nullptr) std::strcpy(unit, "byte");
    if (value == nullptr) return;
    for (const char* next : kUnits) {
        double quotient = *value * 0.0009765625;
        if (quotient - 1.0 < 1e-8) break;
        *value = quotient;
        if (unit != nullptr) std::strcpy(unit, next);
    }
}

const char* GetSystemLogPath() { return g_logPath; }

void SetSystemLogClock(SystemLogClock clock) { g_clock = clock; }

void ResetSystemLog()
{
    g_logPath[0] = '\0';
    g_datePrefix[0] = '\0';
}
