// The file-progress line goes to the host's message line (the main frame handed to the host
// library), and the module-relative paths of the plug-in.
#include "GTest.h"

#include <string>
#include <vector>

#include "Dravik.h"
#include "HostMessages.h"
#include "PathNames.h"
#include "ProgressLine.h"
#include "VellocModule.h"

namespace {

std::vector<std::string> g_shown;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAD_SET_MESSAGE) {
        g_shown.push_back(reinterpret_cast<const char*>(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(ProgressLineTest, ShowsTheFileNameWithFullWidthParenthesesAndClears)
{
    WNDCLASSA frameClass = {};
    frameClass.lpfnWndProc = FrameProc;
    frameClass.hInstance = GetModuleHandleA(nullptr);
    frameClass.lpszClassName = "VellocProgressFrame";
    RegisterClassA(&frameClass);
    HWND frame = CreateWindowA("VellocProgressFrame", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    Dader_InitCadApi(frame);
    g_shown.clear();

    BeginProgress("読込中", "C:\\図面\\表(1).pdf");
    EXPECT_EQ(ProgressFileName(), "表(1).pdf");
    BeginProgress("保存中", nullptr);
    ShowProgress("");
    const std::vector<std::string> expected = {"表（1）.pdf 読込中", "保存中", ""};
    EXPECT_EQ(g_shown, expected);
    EXPECT_EQ(ProgressFileName(), "表(1).pdf");

    Dader_InitCadApi(nullptr);
    DestroyWindow(frame);
}

TEST(PathNamesTest, StripPathAndRemoveExtension)
{
    EXPECT_EQ(StripPath(std::string("C:\\a\\b\\ソ.tcf")), "ソ.tcf");
    EXPECT_EQ(StripPath(std::string("name.pdf")), "name.pdf");
    EXPECT_EQ(StripPath(std::string("")), "");
    char path[] = "C:\\a\\drawing.v2.tcf";
    RemoveExtension(path);
    EXPECT_STREQ(path, "C:\\a\\drawing.v2");
}

TEST(ModulePathTest, RelativePathsBesideTheModule)
{
    AttachVellocModule(GetModuleHandleA(nullptr));
    char file[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, file, MAX_PATH);
    std::string folder(file);
    folder.erase(folder.find_last_of('\\') + 1);
    EXPECT_EQ(GetModuleRelativePath("VellocData\\Pdf\\CidToUnicode.dat"), folder + "VellocData\\Pdf\\CidToUnicode.dat");
}

}  // namespace
