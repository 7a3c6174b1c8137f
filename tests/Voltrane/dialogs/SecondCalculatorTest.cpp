// The second calculator: the same rules in a window of its own class, started from its
// creation data, with the differences from the pop-up calculator.
#include "GTest.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "OwnWindows.h"
#include "dialogs/CalculatorState.h"
#include "dialogs/SecondCalculator.h"

namespace {

class SecondCalculator : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = QmDentakuWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "QMDENTAKU";
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        ASSERT_NE(RegisterClassA(&wc), 0);
        m_owner = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
        UnregisterClassA("QMDENTAKU", GetModuleHandleA(nullptr));
    }

    // Creates the window with the parameters and runs a loop until it is gone.
    bool Run(QmDentakuCreateParams params, ModalScript& script)
    {
        return script.Run([&]() -> INT_PTR {
                   HWND window = CreateWindowExA(WS_EX_TOPMOST, "QMDENTAKU", "", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                                 100, 100, kCalcWindowWidth, kCalcWindowHeight, nullptr, nullptr,
                                                 GetModuleHandleA(nullptr), &params);
                   if (window == nullptr) return 0;
                   MSG msg;
                   while (IsWindow(window) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
                       TranslateMessage(&msg);
                       DispatchMessageA(&msg);
                   }
                   return 1;
               }) == 1;
    }
    static ModalScript::Step Post(std::vector<int> ids)
    {
        return [ids] {
            HWND window = FindOwnWindow("QMDENTAKU", nullptr);
            if (window == nullptr) return false;
            for (int id : ids) PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
            return true;
        };
    }
    static ModalScript::Step Answer(std::string text, std::string caption)
    {
        return [text, caption] {
            HWND box = FindOwnWindow("#32770", caption.c_str());
            if (box == nullptr) return false;
            char shown[128] = "";
            GetDlgItemTextA(box, 0xFFFF, shown, sizeof shown);
            if (text != shown) return false;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        };
    }
    HWND m_owner = nullptr;
};

TEST_F(SecondCalculator, OkCopiesIntoTheCreatorsBufferAndEndsWithoutQuit)
{
    char output[32] = "";
    bool ownerEnabled = false;
    std::string caption;
    ModalScript script({Post({2005, kCalcKeyAdd, 2003, kCalcKeyEquals}), [&] {
                            HWND window = FindOwnWindow("QMDENTAKU", nullptr);
                            char text[64] = "";
                            GetWindowTextA(window, text, sizeof text);
                            caption = text;
                            // The owner is left as it was while the calculator runs.
                            ownerEnabled = IsWindowEnabled(m_owner) != 0;
                            return true;
                        },
                        Post({kCalcKeyOk})});
    ASSERT_TRUE(Run({m_owner, 1, nullptr, output}, script));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_STREQ(output, "8");
    EXPECT_EQ(caption, "数値入力");
    EXPECT_TRUE(ownerEnabled);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(GetQmDentakuState().open, 0);
}

TEST_F(SecondCalculator, CancelCopiesNothing)
{
    char output[32] = "keep";
    ModalScript script({Post({2009, kCalcKeyCancel})});
    ASSERT_TRUE(Run({m_owner, 1, "幅", output}, script));
    EXPECT_STREQ(output, "keep");
}

TEST_F(SecondCalculator, FixedMessagesForRefusalsAndDivision)
{
    char output[32] = "";
    ModalScript script({Post({kCalcKeyOk}), Answer("０より大きい数値を\n入力してください", "高さ"),
                        Post({2007, kCalcKeyDivide, kCalcKey0, kCalcKeyEquals}),
                        Answer("０で割ることはできません", "割り算"), Post({kCalcKeyOk})});
    ASSERT_TRUE(Run({m_owner, 3, "高さ", output}, script));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_STREQ(output, "7");
    const char* caption = nullptr;
    EXPECT_STREQ(QmDentakuMessage(CalcOutcome::RefusedNegative, &caption), "０以上の数値を\n入力してください");
    EXPECT_EQ(QmDentakuMessage(CalcOutcome::None, &caption), nullptr);
}

TEST_F(SecondCalculator, WithoutCreationDataNothingIsReset)
{
    GetQmDentakuState().mode = 3;
    std::strcpy(GetQmDentakuState().display, "12");
    HWND window = CreateWindowExA(0, "QMDENTAKU", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetQmDentakuState().mode, 3);
    EXPECT_STREQ(GetQmDentakuState().display, "12");
    DestroyWindow(window);
}

}  // namespace
