// System information: the Windows description from injected version records, the program
// folder and the lead-byte test.
#include "GTest.h"

#include <cstring>
#include <string>

#include "core/SystemInfo.h"

namespace {

OsVersionFacts Facts(DWORD platform, DWORD major, DWORD minor, DWORD build, BYTE productType, WORD suite,
                     int architecture, const char* servicePack = "")
{
    OsVersionFacts f = {};
    f.version.dwOSVersionInfoSize = sizeof(f.version);
    f.version.dwPlatformId = platform;
    f.version.dwMajorVersion = major;
    f.version.dwMinorVersion = minor;
    f.version.dwBuildNumber = build;
    f.version.wProductType = productType;
    f.version.wSuiteMask = suite;
    std::strcpy(f.version.szCSDVersion, servicePack);
    f.architecture = architecture;
    return f;
}

constexpr DWORD NT = VER_PLATFORM_WIN32_NT;
constexpr DWORD W95 = VER_PLATFORM_WIN32_WINDOWS;
constexpr DWORD CE = 3;
constexpr BYTE WS = VER_NT_WORKSTATION;
constexpr BYTE SRV = VER_NT_SERVER;

}  // namespace

TEST(GetOsDescription, DescribesVersionRecords)
{
    struct Case {
        OsVersionFacts facts;
        const char* text;
    };
    std::vector<Case> cases;
    auto add = [&](OsVersionFacts f, const char* text) { cases.push_back({f, text}); };

    OsVersionFacts win7 = Facts(NT, 6, 1, 7601, WS, 0, 9, "Service Pack 1");
    win7.productType = 48;
    add(win7, "Microsoft Windows 7 Professional Service Pack 1 (build 7601), 64-bit");
    add(Facts(NT, 10, 0, 19045, WS, 0, 0), "Microsoft Windows 10  (build 19045), 32-bit");
    add(Facts(NT, 10, 0, 14393, SRV, 0, 9), "Microsoft Windows Server 2016  (build 14393), 64-bit");
    add(Facts(NT, 6, 4, 9841, WS, 0, 0), "Microsoft 不明のバージョン  (build 9841), 32-bit");
    OsVersionFacts vista = Facts(NT, 6, 0, 6002, SRV, 0, 6);
    vista.productType = 15;
    add(vista, "Microsoft Windows Server 2008 Enterprise Edition for Itanium-based Systems (build 6002)");
    OsVersionFacts eight = Facts(NT, 6, 3, 9600, WS, 0, 0);
    eight.productType = 5;  // no text for this type
    add(eight, "Microsoft Windows 8.1  (build 9600), 32-bit");
    OsVersionFacts xpmc = Facts(NT, 5, 1, 2600, WS, 0, 0, "Service Pack 3");
    xpmc.mediaCenter = 1;
    xpmc.tabletPc = 1;
    add(xpmc, "Microsoft Windows XP ProfessionalMedia Center Edition Service Pack 3 (build 2600)");
    add(Facts(NT, 5, 1, 2600, WS, VER_SUITE_PERSONAL, 0), "Microsoft Windows XP Home Edition (build 2600)");
    OsVersionFacts r2 = Facts(NT, 5, 2, 3790, SRV, VER_SUITE_ENTERPRISE, 0);
    r2.serverR2 = 1;
    add(r2, "Microsoft Windows Server 2003 R2, Enterprise Edition (build 3790)");
    add(Facts(NT, 5, 2, 3790, SRV, 0x4000 | VER_SUITE_DATACENTER, 0),
        "Microsoft Windows Server 2003, Compute Cluster Edition (build 3790)");
    add(Facts(NT, 5, 2, 3790, SRV, VER_SUITE_BLADE, 0), "Microsoft Windows Server 2003, Web Edition (build 3790)");
    add(Facts(NT, 5, 2, 3790, SRV, 0, 9), "Microsoft Windows Server 2003, Standard x64 Edition (build 3790)");
    add(Facts(NT, 5, 2, 3790, SRV, 0, 6), "Microsoft Windows Server 2003,  (build 3790)");
    add(Facts(NT, 5, 2, 3790, WS, 0, 9), "Microsoft Windows XP Professional x64 Edition (build 3790)");
    add(Facts(NT, 5, 2, 3790, SRV, VER_SUITE_STORAGE_SERVER, 0),
        "Microsoft Windows Storage Server 2003Standard Edition (build 3790)");
    add(Facts(NT, 5, 0, 2195, SRV, VER_SUITE_ENTERPRISE, 0), "Microsoft Windows 2000 Advanced Server (build 2195)");
    add(Facts(NT, 5, 0, 2195, WS, 0, 0), "Microsoft Windows 2000 Professional (build 2195)");
    add(Facts(NT, 4, 0, 1381, WS, 0, 0, "Service Pack 6"), "Windows NT4 ");
    add(Facts(NT, 3, 51, 1057, WS, 0, 0), "Windows NT 3.51 ");
    add(Facts(NT, 3, 10, 528, WS, 0, 0), "");
    add(Facts(W95, 4, 90, 3000, 0, 0, 0), "Windows Millennium Edition");
    add(Facts(W95, 4, 10, 0x040A0000 | 2222, 0, 0, 0), "Windows 98 Second Edition");
    add(Facts(W95, 4, 10, 1998, 0, 0, 0), "Windows 98");
    add(Facts(W95, 4, 0, 1111, 0, 0, 0), "Windows 95 OEM Service Release 2");
    add(Facts(W95, 4, 0, 950, 0, 0, 0), "Windows 95");
    add(Facts(CE, 4, 21, 0, 0, 0, 0), "Windows CE 4.21");
    add(Facts(CE, 2, 11, 0, 0, 0, 0), "Windows CE 2.11");
    add(Facts(CE, 7, 0, 0, 0, 0, 0), "");
    add(Facts(99, 5, 0, 0, 0, 0, 0), "");
    for (const auto& c : cases)
        EXPECT_EQ(c.text, CGetOsVersion::Describe(c.facts))
            << c.facts.version.dwMajorVersion << "." << c.facts.version.dwMinorVersion;
}

TEST(GetOsDescription, DescribesTheRunningSystemWithinTheBuffer)
{
    char text[256] = {};
    CGetOsVersion().GetOsDescription(text, sizeof text);
    EXPECT_EQ(0, std::strncmp(text, "Microsoft Windows", 17)) << text;
    EXPECT_NE(nullptr, std::strstr(text, "(build ")) << text;

    char narrow[12];
    std::memset(narrow, 'Z', sizeof narrow);
    CGetOsVersion().GetOsDescription(narrow, 10);
    EXPECT_STREQ("Microsoft", narrow);
    EXPECT_EQ('Z', narrow[10]);
}

TEST(SystemInfo, ModuleDirIsTheProgramFolder)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    char dir[MAX_PATH] = {};
    GetModuleDir(dir, sizeof dir);
    const size_t n = std::strlen(dir);
    ASSERT_GT(n, 2u);
    EXPECT_NE('\\', dir[n - 1]);
    EXPECT_EQ(0, std::strncmp(path, dir, n));
    EXPECT_EQ('\\', path[n]);
    EXPECT_EQ(nullptr, std::strchr(path + n + 1, '\\'));
}

TEST(SystemInfo, IsSjisLeadByte)
{
    for (int c : {0x80, 0xA0, 0xDF, 0xFD, 0x00, 0x41, 0x5C, 0xFF, 0x100})
        EXPECT_EQ(0, IsSjisLeadByte(c)) << std::hex << c;
    for (int c : {0x81, 0x9F, 0xE0, 0xFC, 0x181, 0x88, -127 /* 0x81 as a signed char */})
        EXPECT_EQ(1, IsSjisLeadByte(c)) << std::hex << c;
}
