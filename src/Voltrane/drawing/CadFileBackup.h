// Automatic backups of modified drawings and the recovery after a run that did not end
// cleanly. A pass writes every modified drawing once into the backup folder as
// "$<id>_<name>.tcf" and keeps a rotating stock of numbered copies; the list of the last
// pass's files is stored at once, so that after a crash the next start can offer exactly
// those files. The crash mark is "FatalError" in "Brisco.ini" with one running mark per live
// instance, so a second start that only handed over its command line cannot hide a crash.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct CadFileBackupSettings;

// What a backup pass and the recovery need of the program; tests hand in their own.
class CadFileBackupHost {
public:
    struct Drawing {
        HWND view;
        int drawingId;
        std::string fileName;  // empty for an untitled drawing
    };
    virtual ~CadFileBackupHost() = default;
    virtual int64_t Now();                                   // seconds since 1970
    virtual std::vector<Drawing> ModifiedDrawings();         // active first, then the view table
    virtual int WriteBackup(HWND view, const std::string& path);  // 1 written
    virtual void StoreFileList();                            // "LocalSettings.xml"
    // Opens a backup through the drawing-open message; the view that shows it, or null.
    virtual HWND OpenBackup(HWND mainFrame, const std::string& path);
    // The recovered drawing: no name, no lock, modified, no attached database.
    virtual void MarkRecovered(HWND view);
    virtual int AskRecovery(HWND mainFrame);                 // IDYES to reopen
    virtual void TileWindows(HWND mainFrame);
    virtual int StockMode();                                 // "iBackupStock"
    virtual int StockCount();                                // "nBackupStockNum"
};

class CCadFileBackup {
public:
    explicit CCadFileBackup(CadFileBackupSettings& settings);
    virtual ~CCadFileBackup();
    CCadFileBackup(const CCadFileBackup&) = delete;
    CCadFileBackup& operator=(const CCadFileBackup&) = delete;

    void SetHost(CadFileBackupHost* host);   // null: the program's own
    void SetBackupFolder(const std::string& folder);  // with the trailing separator

    // Start-up: crash detection, the running mark, the purge after a clean run.
    void Start();
    // The clean end of this process's run.
    void End();
    int Started() const { return m_started; }
    int CrashMode() const { return m_crashMode; }

    // 0 when backups were reopened (no other start action runs), -1 otherwise.
    int OfferRecovery(HWND mainFrame, int ask);
    void RestartTimer();
    void CheckTimedBackup();
    void CountCommand();
    int BackupModifiedDrawings();
    int PurgeBackups();
    // Copies the backup file into the stock of its base: the number of copies, 0 when stocking
    // is off, -2 when the backup file does not exist.
    int StoreNumberedCopy(const std::string& base, const std::string& backupFile, int unused);

    // "$%04d_%s.tcf" ("$%04d.tcf" for an empty name) in the backup folder; id -1 gives the
    // purge pattern "$*.tcf".
    std::string MakeBackupName(int drawingId, const std::string& name) const;
    static std::string MakeNumberedCopyName(int number, const std::string& folderAndBase, const char* extension);
    static std::string MakeStockPattern(const std::string& folder, const std::string& base);
    // The number of a numbered copy from its name, -1 when it has none.
    static int NumberOfCopy(const std::string& fileName);

    // The files the previous, crashed run left for recovery.
    const std::vector<std::string>& OfferedFiles() const { return m_offered; }

private:
    CadFileBackupHost& Host();

    CadFileBackupSettings& m_settings;
    CadFileBackupHost* m_host = nullptr;
    std::string m_backupFolder;
    std::string m_stockFolder;
    int m_crashMode = 0;
    int m_started = 0;
    int64_t m_interval = 7200;
    int64_t m_intervalStart = 0;
    int m_commandCounter = 0;
    std::vector<std::string> m_offered;
};

// The program's one backup manager.
CCadFileBackup& GetCadFileBackup();
