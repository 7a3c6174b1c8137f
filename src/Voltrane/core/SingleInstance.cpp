#include "core/SingleInstance.h"

#include <cstring>

std::string ProgramBaseName()
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "Voltrane";
    const char* base = std::strrchr(path, '\\');
    base = base ? base + 1 : path;
    std::string name = base;
    // Our Winelib builds are named "X.exe.so": the base name is the part before the first dot.
    size_t dot = name.find('.');
    if (dot != std::string::npos) name.erase(dot);
    if (name.size() > 255) name.resize(255);
    return name;
}

CMySemaphore::CMySemaphore(const char* name) : m_name(name ? name : "") {}

CMySemaphore::~CMySemaphore()
{
    if (m_handle != nullptr) CloseHandle(m_handle);
}

int CMySemaphore::Open()
{
    if (m_name.empty()) m_name = ProgramBaseName();
    if (m_handle != nullptr) {
        CloseHandle(m_handle);
        m_handle = nullptr;
    }
    m_handle = OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, m_name.c_str());
    if (m_handle != nullptr) return 1;
    m_handle = CreateSemaphoreA(nullptr, 0, 1, m_name.c_str());
    if (m_handle == nullptr) return -1;
    // Two starts at the same moment may both miss it on opening; creating tells them apart.
    return GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
}

CMySemaphore& GetInstanceSemaphore()
{
    static CMySemaphore semaphore;
    return semaphore;
}
