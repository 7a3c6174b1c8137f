// Every end-to-end test starts as after a clean run of the program: no instance of it still
// running and no crash on record. A test whose program did not end in time (a slow machine can
// do that) would otherwise leave a crash mark, and every later start would open with the
// recovery offer instead of the window its test expects.
#include "GTest.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "UserSettingsFiles.h"

namespace {

// "Voltrane.exe", or the Winelib file name "Voltrane.exe.so", in any case.
bool IsProgramFile(const char* exeFile)
{
    char head[13] = {};
    lstrcpynA(head, exeFile, sizeof head);
    return lstrcmpiA(head, "Voltrane.exe") == 0;
}

// The processes of the program still running: their ids.
std::vector<DWORD> RunningPrograms()
{
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry = {sizeof(entry)};
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (IsProgramFile(entry.szExeFile)) ids.push_back(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}

class CleanStart : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        for (DWORD id : RunningPrograms()) {
            HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
            if (process == nullptr) continue;
            // An earlier test's program that is still ending gets its time first.
            if (WaitForSingleObject(process, 20000) == WAIT_TIMEOUT) {
                std::printf("a program of an earlier test was still running: ended\n");
                TerminateProcess(process, 98);
                WaitForSingleObject(process, 30000);
            }
            CloseHandle(process);
        }
        const std::string ini = UserSettingsFolder() + "Brisco.ini";
        WritePrivateProfileStringA("System", "FatalError", "0", ini.c_str());
        WritePrivateProfileStringA("RunningInstances", nullptr, nullptr, ini.c_str());
    }
};

const bool registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new CleanStart);
    return true;
}();

}  // namespace
