// Descriptions of the machine and the program's place on it: the Windows version text of the
// operation log's header and the program folder.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "core/Dbcs.h" // IsSjisLeadByte

// What the platform reports about itself, gathered once for the description.
struct OsVersionFacts {
    OSVERSIONINFOEXA version;   // the extended version record
    int architecture;           // processor architecture: 0 x86, 6 Itanium, 9 x64
    DWORD productType;          // GetProductInfo's product type, 0 when it is not available
    int serverR2;               // GetSystemMetrics(SM_SERVERR2)
    int mediaCenter;            // GetSystemMetrics(SM_MEDIACENTER)
    int starter;                // GetSystemMetrics(SM_STARTER)
    int tabletPc;               // GetSystemMetrics(SM_TABLETPC)
};

class CGetOsVersion {
public:
    CGetOsVersion() = default;
    virtual ~CGetOsVersion() = default;

    // Stores the description of the running Windows in out (cut to outSize); stores nothing
    // when the version cannot be read.
    void GetOsDescription(char* out, size_t outSize);

    // The description made from the given facts.
    static std::string Describe(const OsVersionFacts& facts);
};

// The program folder: the module path without its last component (no trailing '\' except at
// a drive root).
void GetModuleDir(char* out, size_t outSize);
