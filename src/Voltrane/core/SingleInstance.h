// The named semaphore that tells whether another instance of the program is running.
#pragma once

#include <windows.h>

#include <string>

class CMySemaphore {
public:
    // With no name, the base name of the program file (at most 255 characters).
    explicit CMySemaphore(const char* name = nullptr);
    virtual ~CMySemaphore();
    CMySemaphore(const CMySemaphore&) = delete;
    CMySemaphore& operator=(const CMySemaphore&) = delete;

    // 0: created (first instance); 1: it already existed; -1: neither opened nor created.
    // The handle is held until the object is destroyed.
    int Open();
    const std::string& Name() const { return m_name; }

private:
    HANDLE m_handle = nullptr;
    std::string m_name;
};

// The program file's name without folder and extension.
std::string ProgramBaseName();

// The process-wide instance.
CMySemaphore& GetInstanceSemaphore();
