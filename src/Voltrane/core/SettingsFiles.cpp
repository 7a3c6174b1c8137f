#include "core/SettingsFiles.h"

#include <shlwapi.h>

#include <cstdio>
#include <cwchar>
#include <locale>
#include <sstream>
#include <vector>

#include <boost/archive/detail/utf8_codecvt_facet.hpp>
#include <boost/archive/xml_wiarchive.hpp>
#include <boost/archive/xml_woarchive.hpp>

#include "core/CadSystem.h"
#include "core/ProgramPaths.h"
#include "core/WholeFileRead.h"
#include "core/ReplacingWrite.h"
#include "core/SettingsMessage.h"

namespace {

// ---- UTF-8 through the archive library's own conversion facet ----

const std::codecvt<wchar_t, char, std::mbstate_t>& Utf8Facet()
{
    static const std::locale locale(std::locale::classic(), new boost::archive::detail::utf8_codecvt_facet);
    return std::use_facet<std::codecvt<wchar_t, char, std::mbstate_t>>(locale);
}

bool WideToUtf8(const std::wstring& wide, std::string* utf8)
{
    const auto& facet = Utf8Facet();
    std::mbstate_t state{};
    std::vector<char> out(wide.size() * 4 + 16);
    const wchar_t* fromNext = nullptr;
    char* toNext = nullptr;
    auto result = facet.out(state, wide.data(), wide.data() + wide.size(), fromNext, out.data(),
                            out.data() + out.size(), toNext);
    if (result != std::codecvt_base::ok && !(result == std::codecvt_base::noconv)) return false;
    if (fromNext != wide.data() + wide.size()) return false;
    utf8->assign(out.data(), toNext);
    return true;
}

bool Utf8ToWide(const std::string& utf8, std::wstring* wide)
{
    const auto& facet = Utf8Facet();
    std::mbstate_t state{};
    std::vector<wchar_t> out(utf8.size() + 16);
    const char* fromNext = nullptr;
    wchar_t* toNext = nullptr;
    auto result = facet.in(state, utf8.data(), utf8.data() + utf8.size(), fromNext, out.data(),
                           out.data() + out.size(), toNext);
    if (result != std::codecvt_base::ok) return false;
    if (fromNext != utf8.data() + utf8.size()) return false;
    wide->assign(out.data(), toNext);
    return true;
}

// ---- Files through the platform, so Windows paths are used as they are ----

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool ReadSettingsFile(const std::string& path, std::string* bytes, std::string* error)
{
    const DWORD failure = ReadWholeFile(path.c_str(), bytes);
    if (failure == ERROR_FILE_NOT_FOUND || failure == ERROR_PATH_NOT_FOUND) *error = "cannot open the file";
    else if (failure != 0) *error = "cannot read the file";
    return failure == 0;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string* error)
{
    if (WriteFileReplacing(path.c_str(), bytes) == 0) return true;
    *error = "cannot write the file";
    return false;
}

// ---- Archives ----

template <class Body>
int SaveArchive(const std::string& path, Body body, std::string* error)
{
    std::string failure;
    try {
        std::wostringstream stream;
        {
            boost::archive::xml_woarchive archive(stream);
            body(archive);
        }
        std::string utf8;
        if (!WideToUtf8(stream.str(), &utf8)) {
            failure = "cannot convert the text to UTF-8";
        } else if (WriteFileAtomically(path, utf8, &failure)) {
            return 0;
        }
    } catch (const std::exception& e) {
        failure = e.what();
    } catch (...) {
        failure = "unknown error";
    }
    if (error) *error = failure;
    return -1;
}

// Whether the rest of the text after the archive's last record is its closing tag alone.
bool ClosingTagFollows(std::wistream& stream, const std::wstring& text)
{
    const std::streampos at = stream.tellg();
    if (at < 0) return false;
    const wchar_t* const kSpace = L" \t\r\n";
    const std::wstring kClosingTag = L"</boost_serialization>";
    size_t tag = text.find_first_not_of(kSpace, static_cast<size_t>(at));
    if (tag == std::wstring::npos || text.compare(tag, kClosingTag.size(), kClosingTag) != 0) return false;
    return text.find_first_not_of(kSpace, tag + kClosingTag.size()) == std::wstring::npos;
}

template <class Body>
int LoadArchive(const std::string& path, Body body, std::string* error)
{
    std::string failure;
    try {
        std::string bytes;
        std::wstring wide;
        if (!ReadSettingsFile(path, &bytes, &failure)) {
        } else if (!Utf8ToWide(bytes, &wide)) {
            failure = "the file is not UTF-8 text";
        } else {
            std::wistringstream stream(wide);
            boost::archive::xml_wiarchive archive(stream);
            body(archive);
            if (ClosingTagFollows(stream, wide)) return 0;
            // The archive's destructor reads the closing tag itself and throws from there
            // (ending the program) when it is cut or damaged; a failed stream makes it read
            // nothing.
            stream.setstate(std::ios::failbit);
            failure = "the closing tag of the file is missing or damaged";
        }
    } catch (const std::exception& e) {
        failure = e.what();
        if (failure.empty()) failure = "the file does not follow the settings form";
    } catch (...) {
        failure = "unknown error";
    }
    if (error) *error = failure;
    return -1;
}

void ShowFileFailure(const char* format, const std::string& path, const std::string& failure)
{
    std::vector<char> text(path.size() + failure.size() + 256);
    std::snprintf(text.data(), text.size(), format, path.c_str(), failure.c_str());
    ShowSettingsMessage(nullptr, text.data(), "確認", MB_ICONERROR);
}

// Sets a damaged file aside so that the next attempt reads the installed copy.
void SetDamagedFileAside(const std::string& path)
{
    std::string aside = DamagedSettingsPath(path);
    DeleteFileA(aside.c_str());
    MoveFileA(path.c_str(), aside.c_str());
}

const char kReadFailed[] = "設定ファイル %s の読込みに失敗しました。(%s)";
const char kWriteFailed[] = "設定ファイル %s の書き出しに失敗しました。(%s)";

}  // namespace

int LoadConfigDataFile(const std::string& path, ConfigData& record, std::string* error)
{
    return LoadArchive(path, [&record](auto& archive) { archive >> boost::serialization::make_nvp("SYSTEM", record); },
                       error);
}

int SaveConfigDataFile(const std::string& path, ConfigData& record, std::string* error)
{
    return SaveArchive(path, [&record](auto& archive) { archive << boost::serialization::make_nvp("SYSTEM", record); },
                       error);
}

int LoadLocalSettingsFile(const std::string& path, LocalSettingsRecords& records, std::string* error)
{
    return LoadArchive(
        path,
        [&records](auto& archive) {
            using boost::serialization::make_nvp;
            archive >> make_nvp("Setup", records.setup);
            archive >> make_nvp("Window", records.window);
            archive >> make_nvp("CadFileBackup", records.backup);
            archive >> make_nvp("StackCmd", records.stackCmd);
        },
        error);
}

int SaveLocalSettingsFile(const std::string& path, LocalSettingsRecords& records, std::string* error)
{
    return SaveArchive(
        path,
        [&records](auto& archive) {
            using boost::serialization::make_nvp;
            archive << make_nvp("Setup", records.setup);
            archive << make_nvp("Window", records.window);
            archive << make_nvp("CadFileBackup", records.backup);
            archive << make_nvp("StackCmd", records.stackCmd);
        },
        error);
}

std::string DamagedSettingsPath(const std::string& path)
{
    std::vector<char> base(path.begin(), path.end());
    base.resize(path.size() + MAX_PATH, '\0');
    PathRemoveExtensionA(base.data());
    return std::string(base.data()) + ".damaged.bak";
}

std::string LocalSettingsIniPathFor(const char* path)
{
    if (path == nullptr) return GetLocalSettingsIniPath(false, false);
    std::string ini = path;
    if (lstrcmpiA(GetPathExtension(ini).c_str(), ".ini") == 0) return ini;
    std::vector<char> base(ini.begin(), ini.end());
    base.resize(ini.size() + MAX_PATH, '\0');
    PathRemoveExtensionA(base.data());
    return std::string(base.data()) + ".ini";
}

int ReadConfigDataXml(bool apply, const char* path)
{
    CCadSystem& system = GetCadSystem();
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string file = path ? std::string(path) : GetConfigDataXmlPath(true, true);
        if (!FileExists(file)) return -1;
        // Read into a copy: the program's record changes only when the whole file was read.
        ConfigData loaded = system.config;
        std::string failure;
        if (LoadConfigDataFile(file, loaded, &failure) == 0) {
            system.config = loaded;
            if (apply) system.config.Apply();
            return 0;
        }
        if (attempt == 0) {
            SetDamagedFileAside(file);
        } else {
            ShowFileFailure(kReadFailed, file, failure);
        }
    }
    return -1;
}

int WriteConfigDataXml(const char* path)
{
    std::string file = path ? std::string(path) : GetConfigDataXmlPath(true, false);
    if (!FileExists(file)) return -1;
    std::string failure;
    ConfigData record = GetCadSystem().config;
    if (SaveConfigDataFile(file, record, &failure) == 0) return 0;
    ShowFileFailure(kWriteFailed, file, failure);
    return -1;
}

int ReadLocalSettingsXml(bool apply, const char* path)
{
    CCadSystem& system = GetCadSystem();
    int result = -1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::string file = path ? std::string(path) : GetLocalSettingsXmlPath(true, true);
        if (!FileExists(file)) break;
        LocalSettingsRecords loaded{system.setup, system.localWindow, GetCadFileBackupSettings(), system.stackCmd};
        std::string failure;
        if (LoadLocalSettingsFile(file, loaded, &failure) == 0) {
            system.setup = loaded.setup;
            system.localWindow = loaded.window;
            GetCadFileBackupSettings() = loaded.backup;
            system.stackCmd = loaded.stackCmd;
            if (apply) {
                system.setup.ApplyAll();
                system.localWindow.Apply();
            }
            result = 0;
            break;
        }
        if (attempt == 0) {
            SetDamagedFileAside(file);
        } else {
            ShowFileFailure(kReadFailed, file, failure);
        }
    }
    system.setup.ReadIniValues(LocalSettingsIniPathFor(path));
    return result;
}

int WriteLocalSettingsXml(const char* path)
{
    CCadSystem& system = GetCadSystem();
    int result = -1;
    std::string file = path ? std::string(path) : GetLocalSettingsXmlPath(true, false);
    if (FileExists(file)) {
        system.setup.Gather();
        system.localWindow.Gather();
        LocalSettingsRecords records{system.setup, system.localWindow, GetCadFileBackupSettings(), system.stackCmd};
        std::string failure;
        if (SaveLocalSettingsFile(file, records, &failure) == 0) {
            result = 0;
        } else {
            ShowFileFailure(kWriteFailed, file, failure);
        }
    }
    system.setup.WriteIniValues(LocalSettingsIniPathFor(path));
    return result;
}

int CCadSystem::SaveConfigData(int commandId)
{
    if (commandId != 3800) return 0;
    std::string file = JoinPath(GetExeDir(), "ConfigData.xml");
    SYSTEMTIME written = {};
    if (!GetFileLocalTime(file, &written)) written = SYSTEMTIME{};
    std::vector<char> question(file.size() + 256);
    std::snprintf(question.data(), question.size(), "%s を更新します。\n前回更新日時 %d/%d/%d %d:%d:%d", file.c_str(),
                  written.wYear, written.wMonth, written.wDay, written.wHour, written.wMinute, written.wSecond);
    if (ShowSettingsMessage(nullptr, question.data(), "確認", MB_ICONQUESTION | MB_OKCANCEL) != IDOK) return 0;
    if (WriteConfigDataXml(file.c_str()) == -1)
        ShowSettingsMessage(GetMainFrameWnd(), "CCadSystem::SaveConfigData() エラー", "エラー", MB_ICONERROR);
    return 0;
}

int CCadSystem::SaveLocalSettings() { return WriteLocalSettingsXml(GetLocalSettingsXmlPath(true, false).c_str()); }
