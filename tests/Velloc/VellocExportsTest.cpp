// The plug-in library as a host loads it: Velloc.dll bound by name, its five exports looked up
// by name and called.
#include "GTest.h"

#include <shlobj.h>

#include <string>

#include "Dravik.h"
#include "EngineBinding.h"
#include "MessageBoxAnswerer.h"

namespace {

typedef int(WINAPI* StartCmdExProc)(HWND, const char*, void*);
typedef int(WINAPI* StartCmdProc)(HWND, const char*);
typedef int(WINAPI* StartProductProc)(const char*);
typedef int(WINAPI* NoArgumentProc)(void);

class LoadedVelloc : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char folder[MAX_PATH] = {};
        GetProgramFolder(folder, sizeof folder);
        s_module = LoadLibraryA((std::string(folder) + "Velloc.dll.so").c_str());
    }

    void SetUp() override
    {
        ASSERT_NE(s_module, nullptr) << "Velloc.dll.so beside the tests";
        startCmdEx = reinterpret_cast<StartCmdExProc>(GetProcAddress(s_module, "StartCmdEx"));
        startCmd = reinterpret_cast<StartCmdProc>(GetProcAddress(s_module, "StartCmd"));
        startProduct = reinterpret_cast<StartProductProc>(GetProcAddress(s_module, "StartProduct"));
        endProduct = reinterpret_cast<NoArgumentProc>(GetProcAddress(s_module, "EndProduct"));
        saveFlag = reinterpret_cast<NoArgumentProc>(GetProcAddress(s_module, "CwCmdSaveFg"));
        ASSERT_TRUE(startCmdEx && startCmd && startProduct && endProduct && saveFlag);
        host = CreateWindowA("STATIC", "host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(host); }

    static HMODULE s_module;
    StartCmdExProc startCmdEx = nullptr;
    StartCmdProc startCmd = nullptr;
    StartProductProc startProduct = nullptr;
    NoArgumentProc endProduct = nullptr;
    NoArgumentProc saveFlag = nullptr;
    HWND host = nullptr;
};

HMODULE LoadedVelloc::s_module = nullptr;

bool ClassRegistered(HMODULE module, const char* name)
{
    WNDCLASSA info = {};
    return GetClassInfoA(module, name, &info) != 0;
}

// Whether the host library's per-user settings folder is the product's: a probe file written
// through the library lands there.
bool ProductFolderIs(const char* product)
{
    const char* probe = "%USER_LOCAL_APPDATA%SETTEI\\VellocProbe.ini";
    if (!QmCadApi_WritePrivateProfileString("Probe", "Key", "1", probe)) return false;
    char base[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, base, CSIDL_LOCAL_APPDATA, FALSE);
    const std::string folder = std::string(base) + "\\Ostrel\\" + product + "\\";
    const bool there = DeleteFileA((folder + "SETTEI\\VellocProbe.ini").c_str()) != 0;
    RemoveDirectoryA((folder + "SETTEI").c_str());
    RemoveDirectoryA(folder.c_str());
    return there;
}

// One test: the classes depend on whether a host has called StartCmdEx in this process yet.
TEST_F(LoadedVelloc, StandAloneProductThenCommandsAsTheProgramCallsThem)
{
    EXPECT_EQ(saveFlag(), 1);

    // Before any host program: the product gets its name and colours and the picker classes.
    EXPECT_EQ(startProduct(nullptr), 0);
    EXPECT_EQ(Dader_GetPanelColor(), 0xB5FFFFu);
    EXPECT_TRUE(ProductFolderIs("DaDirovedov"));
    EXPECT_TRUE(ClassRegistered(s_module, "cmdltypeclass"));
    EXPECT_TRUE(ClassRegistered(s_module, "vyltypewndclass"));
    EXPECT_EQ(endProduct(), 0);
    EXPECT_FALSE(ClassRegistered(s_module, "cmdltypeclass"));
    EXPECT_TRUE(ClassRegistered(s_module, "vyltypewndclass"));

    // Unknown or miscased names, or no name at all: -1 and the box, answered as a user would.
    for (const char* line : {"/c:pdf保存", "/C:Nothing", "PDF保存"}) {
        MessageBoxAnswerer boxes;
        EXPECT_EQ(startCmdEx(host, line, nullptr), -1) << line;
        EXPECT_EQ(boxes.Count(), 1) << line;
        EXPECT_EQ(boxes.LastCaption(), "エラー");
        EXPECT_EQ(boxes.LastOwner(), host);
    }
    {
        MessageBoxAnswerer boxes;
        EXPECT_EQ(startCmd(host, "/c:NotACommand"), -1);
        EXPECT_EQ(boxes.Count(), 1);
    }

    // The settings dialog's answer is not looked at.
    {
        MessageBoxAnswerer dialogs;
        EXPECT_EQ(startCmdEx(host, "/C:SavePdfOption", nullptr), 0);
    }

    // After a host program has called, the classes are the program's business.
    EXPECT_EQ(startProduct("VellocExportsTest"), 0);
    EXPECT_TRUE(ProductFolderIs("VellocExportsTest"));
    EXPECT_FALSE(ClassRegistered(s_module, "cmdltypeclass"));
    UnregisterClassA("vyltypewndclass", s_module);
    EXPECT_EQ(endProduct(), 0);
    EXPECT_FALSE(ClassRegistered(s_module, "vyltypewndclass"));
    QmCadApi_SetAppProductName("VoltraneV8");
}

}  // namespace
