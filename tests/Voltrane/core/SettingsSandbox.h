// A program folder, a per-user settings folder and a documents folder in a temporary folder,
// with the settings records of the application object saved and put back around a test, and
// the settings message boxes answered and recorded instead of shown.
#pragma once

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "core/ProgramPaths.h"
#include "core/SettingsMessage.h"

struct RecordedMessage {
    std::string text;
    std::string caption;
    UINT flags;
};

class SettingsSandbox {
public:
    SettingsSandbox()
        : m_config(GetCadSystem().config),
          m_setup(GetCadSystem().setup),
          m_window(GetCadSystem().localWindow),
          m_stack(GetCadSystem().stackCmd),
          m_backup(GetCadFileBackupSettings()),
          m_live(GetLocalSettingsLive()),
          m_runtime(GetConfigDataRuntime()),
          m_menu(GetMenuSettingsRuntime())
    {
        CreateDirectoryA(ProgramDir().c_str(), nullptr);
        CreateDirectoryA((m_folder.Path() + "appdata").c_str(), nullptr);
        CreateDirectoryA((m_folder.Path() + "documents").c_str(), nullptr);
        OverrideProgramFolders(ProgramDir() + "\\Voltrane.exe", m_folder.Path() + "appdata",
                               m_folder.Path() + "documents");
        Messages().clear();
        s_answer = IDOK;
        m_previousHook = SetSettingsMessageHook(&SettingsSandbox::Hook);
    }

    ~SettingsSandbox()
    {
        SetSettingsMessageHook(m_previousHook);
        OverrideProgramFolders("", "", "");
        CCadSystem& system = GetCadSystem();
        system.config = m_config;
        system.setup = m_setup;
        system.localWindow = m_window;
        system.stackCmd = m_stack;
        GetCadFileBackupSettings() = m_backup;
        GetLocalSettingsLive() = m_live;
        GetConfigDataRuntime() = m_runtime;
        GetMenuSettingsRuntime() = m_menu;
    }

    std::string ProgramDir() const { return m_folder.Path() + "program"; }
    std::string ProgramFile(const std::string& name) const { return ProgramDir() + "\\" + name; }
    std::string UserDir() const { return m_folder.Path() + "appdata\\Ostrel\\VoltraneV8"; }
    std::string UserFile(const std::string& name) const { return UserDir() + "\\" + name; }
    std::string DocumentsDir() const { return m_folder.Path() + "documents\\Ostrel\\VoltraneV8"; }
    const TempFolder& Folder() const { return m_folder; }

    static bool WriteFile(const std::string& path, const std::string& bytes)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return ok && written == bytes.size();
    }

    static std::string ReadFile(const std::string& path)
    {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::string();
        std::string bytes;
        char buffer[4096];
        DWORD got = 0;
        while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }

    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    // Sets a file's last-write time to the current whole second plus an offset in seconds.
    static bool SetFileAge(const std::string& path, double offsetSeconds)
    {
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER value;
        value.LowPart = now.dwLowDateTime;
        value.HighPart = now.dwHighDateTime;
        value.QuadPart -= value.QuadPart % 10000000ULL;
        value.QuadPart = static_cast<ULONGLONG>(static_cast<long long>(value.QuadPart) +
                                                static_cast<long long>(offsetSeconds * 10000000.0));
        FILETIME when = {value.LowPart, value.HighPart};
        bool ok = SetFileTime(file, nullptr, nullptr, &when) != 0;
        CloseHandle(file);
        return ok;
    }

    static std::vector<RecordedMessage>& Messages()
    {
        static std::vector<RecordedMessage> messages;
        return messages;
    }
    static void Answer(int button) { s_answer = button; }

private:
    static int Hook(HWND, const char* text, const char* caption, UINT flags)
    {
        Messages().push_back({text ? text : "", caption ? caption : "", flags});
        return s_answer;
    }
    static inline int s_answer = IDOK;

    TempFolder m_folder;
    ConfigData m_config;
    LocalSettingsSetup m_setup;
    LocalSettingsWindow m_window;
    LocalSettingsStackCmd m_stack;
    CadFileBackupSettings m_backup;
    LocalSettingsLive m_live;
    ConfigDataRuntime m_runtime;
    MenuSettingsRuntime m_menu;
    SettingsMessageHook m_previousHook = nullptr;
};
