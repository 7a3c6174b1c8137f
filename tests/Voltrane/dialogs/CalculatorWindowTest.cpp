// The pop-up calculator as a user meets it: ShowCalculator runs its own loop while a timer of
// the test posts keys and clicks to the "DENTAKU" window and answers its message boxes.
#include "GTest.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ModalScript.h"
#include "OwnWindows.h"
#include "core/MessageCatalog.h"
#include "dialogs/Calculator.h"
#include "dialogs/CalculatorState.h"

namespace {

// The calculator's part of a script: a step that acts on the open calculator window.
using CalculatorStep = std::function<bool(HWND calculator)>;

// Plays calculator steps while ShowCalculator runs.
class CalculatorScript {
public:
    explicit CalculatorScript(std::vector<CalculatorStep> steps) : m_script(Wrap(steps)) {}
    int Run(HWND owner, int mode, const char* caption, char* output)
    {
        return static_cast<int>(m_script.Run([&] { return ShowCalculator(owner, mode, caption, output); }));
    }
    size_t Pending() const { return m_script.Pending(); }
    bool TimedOut() const { return m_script.TimedOut(); }

private:
    static std::vector<ModalScript::Step> Wrap(const std::vector<CalculatorStep>& steps)
    {
        std::vector<ModalScript::Step> wrapped;
        for (const CalculatorStep& step : steps) {
            wrapped.push_back([step] {
                HWND calculator = FindOwnWindow("DENTAKU", nullptr);
                return calculator != nullptr && step(calculator);
            });
        }
        return wrapped;
    }
    ModalScript m_script;
};

POINT KeyCentre(int id)
{
    const RECT& r = CalculatorKeys()[CalculatorKeyIndexOf(id)].rect;
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Clicks on the keys with the mouse, one step.
CalculatorStep Click(std::vector<int> ids)
{
    return [ids](HWND calculator) {
        for (int id : ids) {
            const POINT p = KeyCentre(id);
            PostMessageA(calculator, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            PostMessageA(calculator, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        }
        return true;
    };
}

// Types on the keyboard: digits as key presses, operator characters as characters, '\r' Enter,
// '\x1b' Escape.
CalculatorStep Type(std::string keys)
{
    return [keys](HWND calculator) {
        for (char c : keys) {
            if ((c >= '0' && c <= '9') || c == 'C' || c == '\r' || c == '\x1b') {
                const WPARAM vk = c == '\r' ? VK_RETURN : c == '\x1b' ? VK_ESCAPE : static_cast<WPARAM>(c);
                PostMessageA(calculator, WM_KEYDOWN, vk, 1);
                PostMessageA(calculator, WM_KEYUP, vk, 0xC0000001);
            } else {
                PostMessageA(calculator, WM_CHAR, static_cast<WPARAM>(c), 1);
                // Any key released lets the next operator through.
                PostMessageA(calculator, WM_KEYUP, VK_SHIFT, 0xC0000001);
            }
        }
        return true;
    };
}

std::string DisplayText(HWND calculator)
{
    char text[64] = "";
    GetDlgItemTextA(calculator, kCalcDisplayId, text, sizeof text);
    return text;
}

// Waits until the display shows the text.
CalculatorStep ExpectDisplay(std::string text)
{
    return [text](HWND calculator) { return DisplayText(calculator) == text; };
}

// Waits for the calculator's message box with the text and answers it.
CalculatorStep AnswerBox(std::string text, std::string* seenCaption = nullptr)
{
    return [text, seenCaption](HWND calculator) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
            if (GetWindow(box, GW_OWNER) != calculator) continue;
            char shown[256] = "";
            HWND label = GetDlgItem(box, 0xFFFF);
            if (label != nullptr) GetWindowTextA(label, shown, sizeof shown);
            if (text != shown) continue;
            if (seenCaption != nullptr) {
                char caption[64] = "";
                GetWindowTextA(box, caption, sizeof caption);
                *seenCaption = caption;
            }
            PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        }
        return false;
    };
}

// The message texts with their "\n" as the box shows them.
std::string Catalogue(int id) { return GetMessageText(id); }

class CalculatorWindow : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegisterCalculatorClass(GetModuleHandleA(nullptr)), 1);
        m_owner = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 10, 10, 100, 60, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_owner, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
        UnregisterCalculatorClass(GetModuleHandleA(nullptr));
    }
    HWND m_owner = nullptr;
};

TEST_F(CalculatorWindow, ClickedSumIsReturnedOnOk)
{
    bool ownerDisabled = false, openWhileShown = false;
    CalculatorScript script({[&](HWND) {
                                 ownerDisabled = !IsWindowEnabled(m_owner);
                                 openWhileShown = IsCalculatorOpen() == 1;
                                 return true;
                             },
                             Click({2005, kCalcKeyAdd, 2003, kCalcKeyEquals}), ExpectDisplay("8"),
                             Click({kCalcKeyOk})});
    char output[260] = "untouched";
    EXPECT_EQ(script.Run(m_owner, 1, "X の入力", output), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_STREQ(output, "8");
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(openWhileShown);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(IsCalculatorOpen(), 0);
    EXPECT_EQ(FindOwnWindow("DENTAKU", nullptr), nullptr);
}

TEST_F(CalculatorWindow, KeyboardEnterTakesTheDisplayAsItStands)
{
    CalculatorScript script({Type("5+3"), ExpectDisplay("3"), Type("\r")});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 4, nullptr, output), 1);
    EXPECT_STREQ(output, "3");
}

TEST_F(CalculatorWindow, HeldOperatorIsTakenOnce)
{
    // "=" typed while "*" is still held is the same key held: ignored. After a release the
    // next "=" counts, so 2 * (=) 3 = gives 6 (taking the held "=" would give 3).
    CalculatorScript script({[](HWND calculator) {
                                 PostMessageA(calculator, WM_KEYDOWN, '2', 1);
                                 PostMessageA(calculator, WM_KEYUP, '2', 0xC0000001);
                                 PostMessageA(calculator, WM_CHAR, '*', 1);
                                 PostMessageA(calculator, WM_CHAR, '=', 1);
                                 PostMessageA(calculator, WM_KEYUP, VK_SHIFT, 0xC0000001);
                                 PostMessageA(calculator, WM_KEYDOWN, '3', 1);
                                 PostMessageA(calculator, WM_KEYUP, '3', 0xC0000001);
                                 PostMessageA(calculator, WM_CHAR, '=', 1);
                                 return true;
                             },
                             ExpectDisplay("6"), Type("\x1b")});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 0);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_STREQ(output, "6");
}

TEST_F(CalculatorWindow, DivisionByZeroIsToldAndTheCalculatorGoesOn)
{
    std::string caption;
    CalculatorScript script({Type("7/0="), AnswerBox(Catalogue(7115), &caption), ExpectDisplay("7"),
                             Type("+1="), ExpectDisplay("8"), Type("\r")});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(caption, Catalogue(7618));
    EXPECT_STREQ(output, "8");
}

TEST_F(CalculatorWindow, SignRuleRefusalKeepsTheCalculatorOpen)
{
    std::string caption;
    CalculatorScript script({Click({kCalcKeyOk}), AnswerBox(Catalogue(7116), &caption),
                             [](HWND) { return IsCalculatorOpen() == 1; }, Click({2002, kCalcKeyOk})});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 3, "幅", output), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(caption, "幅");
    EXPECT_STREQ(output, "2");

    CalculatorScript negative({Type("-1="), Click({kCalcKeyOk}), AnswerBox(Catalogue(7118)), Type("\x1b")});
    EXPECT_EQ(negative.Run(m_owner, 5, nullptr, output), 0);
    EXPECT_FALSE(negative.TimedOut());
    EXPECT_STREQ(output, "-1");
}

TEST_F(CalculatorWindow, CancelStillCopiesTheDisplay)
{
    CalculatorScript script({Click({2004, 2002}), Click({kCalcKeyCancel})});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 0);
    EXPECT_STREQ(output, "42");
}

TEST_F(CalculatorWindow, PressOnOneKeyReleasedOnAnotherPostsNothing)
{
    CalculatorScript script({[](HWND calculator) {
                                 const POINT down = KeyCentre(2009), up = KeyCentre(2001);
                                 PostMessageA(calculator, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
                                 PostMessageA(calculator, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
                                 return true;
                             },
                             Click({2006}), ExpectDisplay("6"), Click({kCalcKeyOk})});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 1);
    EXPECT_STREQ(output, "6");
}

TEST_F(CalculatorWindow, SystemCloseCountsAsCancel)
{
    // A first use confirmed; closing the next one by the system gives no stale 1.
    CalculatorScript first({Click({2001, kCalcKeyOk})});
    char output[260] = "";
    ASSERT_EQ(first.Run(m_owner, 1, nullptr, output), 1);
    CalculatorScript script({Click({2009}), ExpectDisplay("9"), [](HWND calculator) {
                                 PostMessageA(calculator, WM_SYSCOMMAND, SC_CLOSE, 0);
                                 return true;
                             }});
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 0);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_STREQ(output, "9");
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(IsCalculatorOpen(), 0);
}

TEST_F(CalculatorWindow, LongCaptionIsCut)
{
    std::string longCaption;
    for (int i = 0; i < 31; ++i) longCaption += "長";
    std::string shown;
    CalculatorScript script({[&](HWND calculator) {
                                 char text[128] = "";
                                 GetWindowTextA(calculator, text, sizeof text);
                                 shown = text;
                                 return true;
                             },
                             Type("\x1b")});
    char output[260] = "";
    script.Run(m_owner, 1, longCaption.c_str(), output);
    EXPECT_EQ(shown, longCaption.substr(0, 30));
}

TEST_F(CalculatorWindow, HugeResultFitsTheDisplay)
{
    CalculatorScript script({Type("99999999999999*99999999999999*99999999999999="),
                             ExpectDisplay("9.9999999999997e+41"), Type("\r")});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 1);
    EXPECT_STREQ(output, "9.9999999999997e+41");
}

TEST_F(CalculatorWindow, TextModesOpenNothing)
{
    for (int mode : {0, 7}) {
        char output[8] = "keep";
        EXPECT_EQ(ShowCalculator(m_owner, mode, nullptr, output), 0);
        EXPECT_STREQ(output, "keep");
        EXPECT_TRUE(IsWindowEnabled(m_owner));
    }
}

TEST_F(CalculatorWindow, CreationFailureGivesBackTheOwner)
{
    UnregisterCalculatorClass(GetModuleHandleA(nullptr));
    char output[8] = "keep";
    EXPECT_EQ(ShowCalculator(m_owner, 1, nullptr, output), 0);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    EXPECT_EQ(IsCalculatorOpen(), 0);
    EXPECT_STREQ(output, "keep");
}

TEST_F(CalculatorWindow, ProgramQuitEndsTheCalculatorAndReachesTheProgramLoop)
{
    CalculatorScript script({Click({2005}), ExpectDisplay("5"), [](HWND) {
                                 PostQuitMessage(3);
                                 return true;
                             }});
    char output[260] = "";
    EXPECT_EQ(script.Run(m_owner, 1, nullptr, output), 0);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(FindOwnWindow("DENTAKU", nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(m_owner));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

}  // namespace
