// The plug-in's own copies of the pop-up calculator and the symbol-file viewer: the calculator
// runs in the plug-in's library with its texts from the host's catalogue, or its own when no
// host answers; the plug-in module registers its own "DENTAKU" and carries the viewer's template.
#include "GTest.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostMessages.h"
#include "ModalScript.h"
#include "OwnWindows.h"
#include "PdfImportFakes.h"
#include "VellocModule.h"
#include "dialogs/Calculator.h"
#include "dialogs/CalculatorState.h"

namespace {

ModalScript::Step PressKeys(std::vector<int> ids)
{
    return [ids] {
        HWND calculator = FindOwnWindow("DENTAKU", nullptr);
        if (calculator == nullptr) return false;
        for (int id : ids) PostMessageA(calculator, WM_COMMAND, static_cast<WPARAM>(id), 0);
        return true;
    };
}

// Answers the calculator's message box; what it showed goes to text and caption.
ModalScript::Step AnswerBox(std::string* text, std::string* caption)
{
    return [=] {
        HWND calculator = FindOwnWindow("DENTAKU", nullptr);
        HWND box = nullptr;
        while (calculator != nullptr && (box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
            if (GetWindow(box, GW_OWNER) != calculator) continue;
            char shown[256] = "";
            if (HWND label = GetDlgItem(box, 0xFFFF)) GetWindowTextA(label, shown, sizeof shown);
            char title[64] = "";
            GetWindowTextA(box, title, sizeof title);
            *text = shown;
            *caption = title;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        }
        return false;
    };
}

// A host frame that answers the catalogue request with its own texts.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAD_GET_MESSAGE_TEXT) {
        static const char kDivide[] = "ホストの割り算";
        static const char kTitle[] = "ホスト";
        if (lParam == 7115) return reinterpret_cast<LRESULT>(kDivide);
        if (lParam == 7618) return reinterpret_cast<LRESULT>(kTitle);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class PluginCalculator : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegisterCalculatorClass(GetModuleHandleA(nullptr)), 1);
        SetOwnerWindow(nullptr);
    }
    void TearDown() override
    {
        SetOwnerWindow(nullptr);
        UnregisterCalculatorClass(GetModuleHandleA(nullptr));
    }
    static int Run(ModalScript& script, char* output)
    {
        return static_cast<int>(script.Run([&] { return ShowCalculator(nullptr, 1, "数値", output); }));
    }
};

TEST_F(PluginCalculator, AddsAndHandsBackTheDisplay)
{
    char output[32] = "";
    ModalScript script({PressKeys({kCalcKey0 + 5, kCalcKeyAdd, kCalcKey0 + 3, kCalcKeyEquals, kCalcKeyOk})});
    EXPECT_EQ(Run(script, output), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_STREQ(output, "8");
    EXPECT_EQ(IsCalculatorOpen(), 0);
}

TEST_F(PluginCalculator, DivisionByZeroTextsComeFromTheHostOrItsOwn)
{
    const struct {
        bool host;
        const char* text;
        const char* caption;
    } cases[] = {{false, "０で割ることはできません", "割り算"}, {true, "ホストの割り算", "ホスト"}};
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "InputHelpersTestHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowA("InputHelpersTestHost", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    for (const auto& c : cases) {
        SetOwnerWindow(c.host ? host : nullptr);
        std::string text, caption;
        char output[32] = "";
        ModalScript script({PressKeys({kCalcKey0 + 7, kCalcKeyDivide, kCalcKey0, kCalcKeyEquals}),
                            AnswerBox(&text, &caption), PressKeys({kCalcKeyCancel})});
        EXPECT_EQ(Run(script, output), 0) << c.host;
        EXPECT_FALSE(script.TimedOut()) << c.host;
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(caption, c.caption);
    }
    DestroyWindow(host);
    UnregisterClassA("InputHelpersTestHost", GetModuleHandleA(nullptr));
}

TEST(PluginModule, RegistersItsOwnCalculatorAndCarriesTheViewerTemplate)
{
    HMODULE plugin = LoadLibraryA((TestProgramFolder() + "Velloc.dll.so").c_str());
    ASSERT_NE(plugin, nullptr);
    WNDCLASSA info = {};
    EXPECT_TRUE(GetClassInfoA(plugin, "DENTAKU", &info));
    EXPECT_NE(FindResourceA(plugin, "SYMBOLVIEW", reinterpret_cast<LPCSTR>(RT_DIALOG)), nullptr);
    FreeLibrary(plugin);
}

}  // namespace
