#include "core/SystemInfo.h"

#include <shlwapi.h>

#include <cstdio>

namespace {

constexpr WORD kArchX64 = 9;
constexpr WORD kArchItanium = 6;
constexpr WORD kArchX86 = 0;

const char* EditionText(DWORD productType)
{
    switch (productType) {
    case 1: return "Ultimate Edition";
    case 2: return "Home Basic Edition";
    case 3: return "Home Premium Edition";
    case 4: return "Enterprise Edition";
    case 6: return "Business Edition";
    case 7: return "Standard Edition";
    case 8: return "Datacenter Edition";
    case 9: return "Small Business Server";
    case 10: return "Enterprise Edition";
    case 11: return "Starter Edition";
    case 12: return "Datacenter Edition (core installation)";
    case 13: return "Standard Edition (core installation)";
    case 14: return "Enterprise Edition (core installation)";
    case 15: return "Enterprise Edition for Itanium-based Systems";
    case 17: return "Web Server Edition";
    case 18: return "HPC Server Edition";
    case 25: return "Small Business Server Premium Edition";
    case 48: return "Professional";
    default: return "";
    }
}

std::string ServerEdition2003(const OsVersionFacts& f)
{
    const WORD suite = f.version.wSuiteMask;
    if (f.architecture == kArchItanium) {
        if (suite & VER_SUITE_DATACENTER)
            return "Datacenter Edition for Itanium-based Systems";
        if (suite & VER_SUITE_ENTERPRISE)
            return "Enterprise Edition for Itanium-based Systems";
        return "";
    }
    if (f.architecture == kArchX64) {
        if (suite & VER_SUITE_DATACENTER)
            return "Datacenter x64 Edition";
        if (suite & VER_SUITE_ENTERPRISE)
            return "Enterprise x64 Edition";
        return "Standard x64 Edition";
    }
    if (suite & 0x4000) // compute server
        return "Compute Cluster Edition";
    if (suite & VER_SUITE_DATACENTER)
        return "Datacenter Edition";
    if (suite & VER_SUITE_ENTERPRISE)
        return "Enterprise Edition";
    if (suite & VER_SUITE_BLADE)
        return "Web Edition";
    return "Standard Edition";
}

std::string DescribeNt(const OsVersionFacts& f)
{
    const OSVERSIONINFOEXA& v = f.version;
    const bool workstation = v.wProductType == VER_NT_WORKSTATION;
    const WORD suite = v.wSuiteMask;
    if (v.dwMajorVersion <= 4) {
        if (v.dwMajorVersion == 4 && v.dwMinorVersion == 0)
            return "Windows NT4 ";
        if (v.dwMajorVersion == 3 && v.dwMinorVersion == 51)
            return "Windows NT 3.51 ";
        return "";
    }
    std::string text = "Microsoft ";
    if (v.dwMajorVersion == 10 && v.dwMinorVersion == 0) {
        text += workstation ? "Windows 10 " : "Windows Server 2016 ";
    } else if (v.dwMajorVersion == 6) {
        switch (v.dwMinorVersion) {
        case 0: text += workstation ? "Windows Vista " : "Windows Server 2008 "; break;
        case 1: text += workstation ? "Windows 7 " : "Windows Server 2008 R2 "; break;
        case 2: text += workstation ? "Windows 8 " : "Windows Server 2012 "; break;
        case 3: text += workstation ? "Windows 8.1 " : "Windows Server 2012 R2 "; break;
        default: text += "不明のバージョン "; break;
        }
        if (v.dwMinorVersion <= 3)
            text += EditionText(f.productType);
    } else if (v.dwMajorVersion == 5 && v.dwMinorVersion == 2) {
        if (f.serverR2)
            text += "Windows Server 2003 R2, ";
        else if (suite & VER_SUITE_STORAGE_SERVER)
            text += "Windows Storage Server 2003";
        else if (suite & 0x8000) // home server
            text += "Windows Home Server 2003";
        else if (workstation && f.architecture == kArchX64)
            text += "Windows XP Professional x64 Edition";
        else
            text += "Windows Server 2003, ";
        if (!workstation)
            text += ServerEdition2003(f);
    } else if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1) {
        text += "Windows XP ";
        text += (suite & VER_SUITE_PERSONAL) ? "Home Edition" : "Professional";
        if (f.mediaCenter)
            text += "Media Center Edition";
        else if (f.starter)
            text += "Starter Edition";
        else if (f.tabletPc)
            text += "Tablet PC Edition";
    } else if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0) {
        text += "Windows 2000 ";
        if (workstation)
            text += "Professional";
        else if (suite & VER_SUITE_DATACENTER)
            text += "Datacenter Server";
        else if (suite & VER_SUITE_ENTERPRISE)
            text += "Advanced Server";
        else
            text += "Server";
    }
    if (v.szCSDVersion[0]) {
        text += ' ';
        text.append(v.szCSDVersion, strnlen(v.szCSDVersion, sizeof(v.szCSDVersion)));
    }
    char build[40];
    std::snprintf(build, sizeof(build), " (build %d)", static_cast<int>(v.dwBuildNumber));
    text += build;
    if (v.dwMajorVersion >= 6) {
        if (f.architecture == kArchX64)
            text += ", 64-bit";
        else if (f.architecture == kArchX86)
            text += ", 32-bit";
    }
    return text;
}

std::string Describe95(const OsVersionFacts& f)
{
    const OSVERSIONINFOEXA& v = f.version;
    // The low word holds the build number on this family.
    const DWORD build = LOWORD(v.dwBuildNumber);
    if (v.dwMajorVersion != 4)
        return "";
    if (v.dwMinorVersion == 90)
        return "Windows Millennium Edition";
    if (v.dwMinorVersion == 10)
        return build >= 2183 ? "Windows 98 Second Edition" : "Windows 98";
    if (v.dwMinorVersion < 10 && build > 1080)
        return "Windows 95 OEM Service Release 2";
    if (v.dwMinorVersion == 0)
        return "Windows 95";
    return "";
}

std::string DescribeCe(const OsVersionFacts& f)
{
    static const struct {
        DWORD major, minor;
        const char* text;
    } kNames[] = {
        {1, 0, "Windows CE 1.0"},  {2, 0, "Windows CE 2.0"},  {2, 1, "Windows CE 2.1"},  {2, 11, "Windows CE 2.11"},
        {2, 12, "Windows CE 2.12"}, {3, 0, "Windows CE 3.0"}, {4, 0, "Windows CE 4.0"},  {4, 1, "Windows CE 4.1"},
        {4, 2, "Windows CE 4.2"},  {4, 21, "Windows CE 4.21"}, {5, 0, "Windows CE 5.0"}, {5, 1, "Windows CE 5.1"},
        {5, 2, "Windows CE 5.2"},  {6, 0, "Windows CE 6.0"},
    };
    for (const auto& n : kNames)
        if (n.major == f.version.dwMajorVersion && n.minor == f.version.dwMinorVersion)
            return n.text;
    return "";
}

} // namespace

std::string CGetOsVersion::Describe(const OsVersionFacts& facts)
{
    switch (facts.version.dwPlatformId) {
    case VER_PLATFORM_WIN32_NT: return DescribeNt(facts);
    case VER_PLATFORM_WIN32_WINDOWS: return Describe95(facts);
    case 3: return DescribeCe(facts); // VER_PLATFORM_WIN32_CE
    default: return "";
    }
}

void CGetOsVersion::GetOsDescription(char* out, size_t outSize)
{
    OsVersionFacts facts = {};
    facts.version.dwOSVersionInfoSize = sizeof(facts.version);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&facts.version)))
        return;

    SYSTEM_INFO si = {};
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    auto native = kernel ? reinterpret_cast<NativeInfoFn>(GetProcAddress(kernel, "GetNativeSystemInfo")) : nullptr;
    if (native)
        native(&si);
    else
        GetSystemInfo(&si);
    facts.architecture = si.wProcessorArchitecture;

    const OSVERSIONINFOEXA& v = facts.version;
    if (v.dwPlatformId == VER_PLATFORM_WIN32_NT && v.dwMajorVersion == 6 && v.dwMinorVersion <= 3) {
        using ProductInfoFn = BOOL(WINAPI*)(DWORD, DWORD, DWORD, DWORD, PDWORD);
        auto product = kernel ? reinterpret_cast<ProductInfoFn>(GetProcAddress(kernel, "GetProductInfo")) : nullptr;
        DWORD type = 0;
        if (product && product(v.dwMajorVersion, v.dwMinorVersion, 0, 0, &type))
            facts.productType = type;
    }
    facts.serverR2 = GetSystemMetrics(SM_SERVERR2);
    facts.mediaCenter = GetSystemMetrics(SM_MEDIACENTER);
    facts.starter = GetSystemMetrics(SM_STARTER);
    facts.tabletPc = GetSystemMetrics(SM_TABLETPC);

    DbcsCopy(out, outSize, Describe(facts).c_str());
}

void GetModuleDir(char* out, size_t outSize)
{
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        path[n == 0 ? 0 : sizeof(path) - 1] = '\0';
    PathRemoveFileSpecA(path);
    DbcsCopy(out, outSize, path);
}
