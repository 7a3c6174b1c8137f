#include "drawing/CadFileBackup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>

#include "DravikDb.h"
#include "DrawingWindowRecords.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/ProgramPaths.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "drawing/DrawingSave.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

constexpr int kCrashIdShift = 300;
constexpr int kCopyNumbers = 1000;
constexpr int kMessageCrashQuestion = 7241;
constexpr int kMessageCrashAdvice = 7310;
constexpr int kMessageSystemCaption = 7617;
constexpr WPARAM kTileWindowsCommand = 1201;
const char kRunningSection[] = "RunningInstances";
const char kUntitledBase[] = "#新規図面#";

// A running mark names a process by its id and its creation time: process ids are reused,
// and a mark left by a crashed run must not be taken for a live instance that got its id.
struct RunningMark {
    DWORD pid;
    std::string stamp;
};

std::string CreationStamp(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::string();
    unsigned long long value = (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    return std::to_string(value);
}

std::string OwnStamp() { return CreationStamp(GetCurrentProcess()); }

bool ProcessAlive(const RunningMark& mark)
{
    if (mark.pid == 0) return false;
    if (mark.pid == GetCurrentProcessId()) return true;
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, mark.pid);
    if (process == nullptr) return false;
    bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT && CreationStamp(process) == mark.stamp;
    CloseHandle(process);
    return alive;
}

std::vector<RunningMark> RunningMarks(const std::string& ini)
{
    std::vector<char> keys(32768);
    DWORD n = GetPrivateProfileStringA(kRunningSection, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                                       ini.c_str());
    std::vector<RunningMark> marks;
    for (DWORD i = 0; i < n;) {
        const char* key = keys.data() + i;
        size_t len = std::strlen(key);
        if (len == 0) break;
        char stamp[64] = {};
        GetPrivateProfileStringA(kRunningSection, key, "", stamp, sizeof stamp, ini.c_str());
        marks.push_back({static_cast<DWORD>(std::strtoul(key, nullptr, 10)), stamp});
        i += static_cast<DWORD>(len) + 1;
    }
    return marks;
}

std::string PidKey(DWORD pid) { return std::to_string(pid); }

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string BareName(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool SameFile(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

// The drawings' program-side services.
class ProgramBackupHost : public CadFileBackupHost {};

}  // namespace

int64_t CadFileBackupHost::Now() { return static_cast<int64_t>(std::time(nullptr)); }

std::vector<CadFileBackupHost::Drawing> CadFileBackupHost::ModifiedDrawings()
{
    std::vector<Drawing> drawings;
    for (HWND v = GetActiveView(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block == nullptr || block->modified != 1) continue;
        drawings.push_back({v, block->drawingId, block->fileName});
    }
    return drawings;
}

int CadFileBackupHost::WriteBackup(HWND view, const std::string& path) { return WriteBackupDrawing(view, path.c_str()); }

void CadFileBackupHost::StoreFileList() { GetCadSystem().SaveLocalSettings(); }

HWND CadFileBackupHost::OpenBackup(HWND mainFrame, const std::string& path)
{
    SendMessageA(mainFrame, WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(path.c_str()));
    return FindViewByFileName(path.c_str(), nullptr);
}

void CadFileBackupHost::MarkRecovered(HWND view)
{
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return;
    // The backup file is no drawing of the user's: it is neither held nor saved over.
    UnlockDrawingFile(block);
    SetDrawingFileName(view, "");
    SetDrawingModified(view);
    auto* record = static_cast<EngineDbRecord*>(block->engineDb);
    if (record != nullptr && record->rasterAttachment != nullptr) {
        auto* raster = static_cast<RasterAttachment*>(record->rasterAttachment);
        raster->attachedDb = nullptr;
    }
}

int CadFileBackupHost::AskRecovery(HWND mainFrame)
{
    std::string text = std::string(GetMessageText(kMessageCrashQuestion)) + GetMessageText(kMessageCrashAdvice);
    return ShowSettingsMessage(mainFrame, text.c_str(), GetMessageText(kMessageSystemCaption), MB_YESNO | MB_ICONWARNING);
}

void CadFileBackupHost::TileWindows(HWND mainFrame) { PostMessageA(mainFrame, WM_COMMAND, kTileWindowsCommand, 0); }
int CadFileBackupHost::StockMode() { return GetLocalSettingsLive().iBackupStock; }
int CadFileBackupHost::StockCount() { return GetLocalSettingsLive().nBackupStockNum; }

CCadFileBackup::CCadFileBackup(CadFileBackupSettings& settings) : m_settings(settings) {}

CCadFileBackup::~CCadFileBackup() { End(); }

CadFileBackupHost& CCadFileBackup::Host()
{
    static ProgramBackupHost program;
    return m_host != nullptr ? *m_host : program;
}

void CCadFileBackup::SetHost(CadFileBackupHost* host) { m_host = host; }
void CCadFileBackup::SetBackupFolder(const std::string& folder)
{
    m_backupFolder = folder;
    m_stockFolder.clear();
}

void CCadFileBackup::Start()
{
    if (m_backupFolder.empty()) m_backupFolder = GetResolvedFilePaths().backupDir;
    m_interval = m_settings.nBackupTimeSpanSec;
    // Every command restarts the interval; the first one starts with the run.
    m_intervalStart = Host().Now();

    std::string ini = GetUserIniPath();
    int flag = static_cast<int>(GetPrivateProfileIntA("System", "FatalError", 0, ini.c_str()));
    // A mark of a process that is gone is a run that did not end normally; a mark of a live
    // process is another instance, whose flag says nothing about a crash.
    bool otherAlive = false;
    bool staleMark = false;
    for (const RunningMark& mark : RunningMarks(ini)) {
        if (mark.pid != GetCurrentProcessId() && ProcessAlive(mark)) {
            otherAlive = true;
        } else {
            staleMark = true;
            WritePrivateProfileStringA(kRunningSection, PidKey(mark.pid).c_str(), nullptr, ini.c_str());
        }
    }
    m_crashMode = staleMark || (flag != 0 && !otherAlive) ? 1 : 0;
    GetLocalSettingsLive().setup.bErrDown = m_crashMode;
    m_offered.clear();
    if (m_crashMode) {
        for (const std::string& name : m_settings.BakupFnames)
            if (FileExists(name)) m_offered.push_back(name);
    } else if (!otherAlive) {
        // The backups of a running instance are its own.
        PurgeBackups();
    }
    WritePrivateProfileStringA(kRunningSection, PidKey(GetCurrentProcessId()).c_str(), OwnStamp().c_str(), ini.c_str());
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    m_started = 1;
}

void CCadFileBackup::End()
{
    if (!m_started) return;
    std::string ini = GetUserIniPath();
    WritePrivateProfileStringA(kRunningSection, PidKey(GetCurrentProcessId()).c_str(), nullptr, ini.c_str());
    bool otherAlive = false;
    for (const RunningMark& mark : RunningMarks(ini))
        if (ProcessAlive(mark)) otherAlive = true;
    if (!otherAlive) WritePrivateProfileStringA("System", "FatalError", "0", ini.c_str());
    m_started = 0;
}

int CCadFileBackup::OfferRecovery(HWND mainFrame, int)
{
    std::vector<std::string> offered;
    for (const std::string& name : m_offered)
        if (FileExists(name)) offered.push_back(name);
    if (offered.empty()) return -1;
    if (Host().AskRecovery(mainFrame) != IDYES) return -1;
    for (const std::string& name : offered) {
        // Only the window that shows the backup becomes the recovered drawing.
        if (HWND view = Host().OpenBackup(mainFrame, name)) Host().MarkRecovered(view);
    }
    Host().TileWindows(mainFrame);
    return 0;
}

void CCadFileBackup::RestartTimer() { m_intervalStart = Host().Now(); }

void CCadFileBackup::CheckTimedBackup()
{
    if (!m_settings.bTimeBackup) return;
    const int64_t now = Host().Now();
    if (now - m_intervalStart < m_interval) return;
    m_intervalStart = now;
    BackupModifiedDrawings();
}

void CCadFileBackup::CountCommand()
{
    if (!m_settings.bCountBakup || m_settings.nBackupCountSpan <= 0) return;
    if (++m_commandCounter < m_settings.nBackupCountSpan) return;
    m_commandCounter = 0;
    BackupModifiedDrawings();
}

int CCadFileBackup::BackupModifiedDrawings()
{
    m_settings.BakupFnames.clear();
    std::set<int> done;
    for (const CadFileBackupHost::Drawing& drawing : Host().ModifiedDrawings()) {
        // The windows of one drawing share its database: one backup for all of them.
        if (!done.insert(drawing.drawingId).second) continue;
        int id = drawing.drawingId + (m_crashMode ? kCrashIdShift : 0);
        const std::string base = drawing.fileName.empty() ? std::string() : BareName(drawing.fileName);
        std::string file = MakeBackupName(id, base);
        // The files offered for recovery stay as the crashed run left them.
        for (int guard = 0; guard < 30; ++guard) {
            bool offered = false;
            for (const std::string& name : m_offered) offered = offered || SameFile(name, file);
            if (!offered) break;
            id += kCrashIdShift;
            file = MakeBackupName(id, base);
        }
        Host().WriteBackup(drawing.view, file);
        const std::string owner = drawing.fileName.empty() ? m_backupFolder : FolderOf(drawing.fileName);
        m_stockFolder = Host().StockMode() == 2 ? owner : m_backupFolder;
        StoreNumberedCopy(base, file, 5);
        m_settings.BakupFnames.push_back(file);
    }
    // Stored at once: after a crash the next start offers what this pass wrote.
    Host().StoreFileList();
    return 0;
}

int CCadFileBackup::PurgeBackups()
{
    int deleted = 0;
    if (!m_backupFolder.empty()) {
        const std::string pattern = MakeBackupName(-1, "");
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                if (DeleteFileA((m_backupFolder + data.cFileName).c_str())) ++deleted;
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
    }
    m_settings.BakupFnames.clear();
    return deleted;
}

int CCadFileBackup::StoreNumberedCopy(const std::string& baseName, const std::string& backupFile, int)
{
    if (Host().StockMode() == 0 || Host().StockCount() < 1) return 0;
    std::string base = baseName;
    if (base.empty()) {
        std::string name = BareName(backupFile);
        if (!name.empty() && name[0] == '$') name.erase(0, 1);
        base = kUntitledBase + name;
    }
    if (!FileExists(backupFile)) return -2;
    // Before the first pass the copies go beside the backups.
    if (m_stockFolder.empty()) m_stockFolder = m_backupFolder;
    if (m_stockFolder.empty()) return 0;
    struct Copy {
        std::string path;
        FILETIME written;
        int number;
    };
    std::vector<Copy> copies;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(MakeStockPattern(m_stockFolder, base).c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            copies.push_back({m_stockFolder + data.cFileName, data.ftLastWriteTime, NumberOfCopy(data.cFileName)});
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    const std::string folderAndBase = m_stockFolder + base;
    int count = static_cast<int>(copies.size());
    if (copies.empty()) {
        if (CopyFileA(backupFile.c_str(), MakeNumberedCopyName(0, folderAndBase, ".tcf").c_str(), FALSE)) ++count;
        return count;
    }
    size_t oldest = 0, newest = 0;
    for (size_t i = 1; i < copies.size(); ++i) {
        if (CompareFileTime(&copies[i].written, &copies[oldest].written) < 0) oldest = i;
        if (CompareFileTime(&copies[i].written, &copies[newest].written) > 0) newest = i;
    }
    if (count >= Host().StockCount()) {
        if (DeleteFileA(copies[oldest].path.c_str())) --count;
        else WriteSystemLog(0, "Error", "%s を削除できません", copies[oldest].path.c_str());
    }
    const int next = (copies[newest].number + 1) % kCopyNumbers;
    const std::string target = MakeNumberedCopyName(next < 0 ? 0 : next, folderAndBase, ".tcf");
    if (CopyFileA(backupFile.c_str(), target.c_str(), FALSE)) ++count;
    else WriteSystemLog(0, "Error", "%s に複写できません", target.c_str());
    return count;
}

std::string CCadFileBackup::MakeBackupName(int drawingId, const std::string& name) const
{
    char text[MAX_PATH + 32];
    if (drawingId < 0) std::snprintf(text, sizeof text, "$*");
    else if (name.empty()) std::snprintf(text, sizeof text, "$%04d", drawingId);
    else std::snprintf(text, sizeof text, "$%04d_%s", drawingId, name.c_str());
    return m_backupFolder + text + ".tcf";
}

std::string CCadFileBackup::MakeNumberedCopyName(int number, const std::string& folderAndBase, const char* extension)
{
    char text[16];
    std::snprintf(text, sizeof text, "_$%03d$", ((number % kCopyNumbers) + kCopyNumbers) % kCopyNumbers);
    return folderAndBase + text + extension;
}

std::string CCadFileBackup::MakeStockPattern(const std::string& folder, const std::string& base)
{
    return folder + base + "_$???$.tcf";
}

int CCadFileBackup::NumberOfCopy(const std::string& fileName)
{
    const std::string name = BareName(fileName);
    if (name.size() < 4 || name.back() != '$') return -1;
    return std::atoi(name.substr(name.size() - 4, 3).c_str());
}

CCadFileBackup& GetCadFileBackup()
{
    static CCadFileBackup backup(GetCadFileBackupSettings());
    return backup;
}
