#include "CatalogueSwap.h"

#include <windows.h>

#include "ProgramProcess.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

}  // namespace

CatalogueSwap::CatalogueSwap(const std::string& xml) : m_path(ProgramFolder() + "LumbraCmd.def")
{
    m_hadFile = ReadWholeFile(m_path, m_saved);
    m_written = WriteWholeFile(m_path, xml);
}

CatalogueSwap::~CatalogueSwap()
{
    if (m_hadFile) {
        WriteWholeFile(m_path, m_saved);
    } else {
        DeleteFileA(m_path.c_str());
    }
}

const char kEchoOnlyCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";
