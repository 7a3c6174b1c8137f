#include "UserSettingsFiles.h"

#include <windows.h>

#include "ProgramProcess.h"

std::string ReadAll(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

bool WriteAll(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string XmlElementText(const std::string& xml, const std::string& tag, size_t from)
{
    const size_t start = xml.find("<" + tag + ">", from);
    const size_t end = xml.find("</" + tag + ">", from);
    if (start == std::string::npos || end == std::string::npos || end < start) return std::string();
    return xml.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}

std::string UserSettingsFolder()
{
    char local[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local) == 0) return std::string();
    CreateDirectoryA((std::string(local) + "\\Ostrel").c_str(), nullptr);
    CreateDirectoryA((std::string(local) + "\\Ostrel\\VoltraneV8").c_str(), nullptr);
    return std::string(local) + "\\Ostrel\\VoltraneV8\\";
}

SettingsFileSwap::SettingsFileSwap(const std::string& fileName,
                                   const std::vector<std::pair<std::string, std::string>>& values)
{
    m_path = UserSettingsFolder() + fileName;
    m_saved = ReadAll(m_path);
    m_existed = !m_saved.empty();
    std::string bytes = m_existed ? m_saved : ReadAll(ProgramFolder() + fileName);
    m_ready = !bytes.empty();
    for (const auto& value : values) {
        const std::string open = "<" + value.first + ">", close = "</" + value.first + ">";
        const size_t at = bytes.find(open);
        const size_t end = at == std::string::npos ? at : bytes.find(close, at);
        if (end == std::string::npos) m_ready = false;
        else bytes.replace(at + open.size(), end - at - open.size(), value.second);
    }
    m_ready = m_ready && WriteAll(m_path, bytes);
}

SettingsFileSwap::~SettingsFileSwap()
{
    if (m_existed) WriteAll(m_path, m_saved);
    else DeleteFileA(m_path.c_str());
}

UserFileAside::UserFileAside(const std::string& fileName) : m_path(UserSettingsFolder() + fileName)
{
    m_existed = GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (m_existed) m_saved = ReadAll(m_path);
    DeleteFileA(m_path.c_str());
}

UserFileAside::~UserFileAside()
{
    if (m_existed) WriteAll(m_path, m_saved);
    else DeleteFileA(m_path.c_str());
}
