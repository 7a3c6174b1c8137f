// The yes/no prompts at the pointer: placement beside the pointer and at the monitor's edges,
// the answers of the end codes, and the prompts answered by mouse and keyboard.
#include "GTest.h"

#include <windows.h>

#include <string>

#include "ModalScript.h"
#include "OwnWindows.h"
#include "controls/KitButtons.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/Dbcs.h"
#include "dialogs/YesNoDialogs.h"
#include "dialogs/YesNoPrompt.h"

namespace {

TEST(YesNoPlacement, YesNo0BesideThePointer)
{
    const int W = 1024;
    const struct {
        POINT pointer;
        POINT at;
    } cases[] = {
        {{W - 100, 150}, {W - 250, 200}},  // right edge, near the top: left of the pointer, lower
        {{100, 400}, {150, 300}},
        {{100, 50}, {150, 100}},           // y - 100 below 0 starts at 0
        {{W - 150, 500}, {W - 100, 400}},  // exactly at W - 150 is still "not past"
        {{W - 149, 300}, {W - 299, 350}},
    };
    for (const auto& c : cases) {
        POINT remembered = {-1, -1};
        const POINT at = PlaceYesNo0(c.pointer, 0, &remembered, W);
        EXPECT_EQ(at.x, c.at.x) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(at.y, c.at.y) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(remembered.x, c.pointer.x);
        EXPECT_EQ(remembered.y, c.pointer.y);
    }
}

TEST(YesNoPlacement, YesNo0ReusesThePreviousPlace)
{
    POINT remembered = {0, 0};
    const POINT first = PlaceYesNo0(POINT{300, 500}, 0, &remembered, 1024);
    const POINT second = PlaceYesNo0(POINT{900, 20}, 1, &remembered, 1024);
    EXPECT_EQ(second.x, first.x);
    EXPECT_EQ(second.y, first.y);
    EXPECT_EQ(remembered.x, 300);
}

TEST(YesNoPlacement, PromptsAtTheCursorStayOnTheMonitor)
{
    const int W = 1024, H = 768;
    const struct {
        POINT pointer;
        POINT at;
    } cases[] = {
        {{200, 300}, {250, 250}},
        {{1000, 300}, {850, 250}},   // past the right edge: left of the pointer
        {{200, 800}, {250, 550}},    // y - 100 past H - 100: above
        {{200, 760}, {250, 710}},    // y - 100 not yet past
        {{200, 40}, {250, 50}},
        {{1000, 800}, {850, 550}},
    };
    for (const auto& c : cases) {
        int useSaved = 0;
        POINT saved = {0, 0};
        const POINT at = PlacePromptAtCursor(c.pointer, &useSaved, &saved, W, H);
        EXPECT_EQ(at.x, c.at.x) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(at.y, c.at.y) << c.pointer.x << "," << c.pointer.y;
        EXPECT_EQ(useSaved, 1);
        EXPECT_EQ(saved.x, at.x);
        EXPECT_EQ(saved.y, at.y);
    }
    int useSaved = 1;
    POINT saved = {12, 34};
    const POINT at = PlacePromptAtCursor(POINT{500, 500}, &useSaved, &saved, W, H);
    EXPECT_EQ(at.x, 12);
    EXPECT_EQ(at.y, 34);
}

TEST(YesNoAnswers, EndCodesMapToTheMessageResults)
{
    const struct {
        INT_PTR code;
        int yesNo;
        int yesNoCancel;
    } cases[] = {
        {IDYES, 1, 1},     {IDNO, 0, 0},       {IDCANCEL, 1, 2}, {kYesNoCanNoButton, 1, 0},
        {kYesNoKeyNo, 1, 0},
        // A prompt that could not be shown answers the choice that changes nothing.
        {-1, 0, 2},        {0, 0, 2},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(YesNoAnswerOf(c.code), c.yesNo) << c.code;
        EXPECT_EQ(YesNoCancelAnswerOf(c.code), c.yesNoCancel) << c.code;
    }
}

// The prompts under a stand-in main frame, with the kit buttons registered.
class YesNoPromptWindow : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterKitButtonClasses(GetModuleHandleA(nullptr));
        m_frame = CreateWindowA("STATIC", "frame", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_frame, nullptr);
        SetMainFrameWnd(m_frame);
        m_savedYesNo = GetCadSystem().config.YESNOMSG;
        m_savedYnc = GetCadSystem().config.YNCMSG;
        SetYesNoCaption("");
        GetYesNoPromptState() = YesNoPromptState{};
    }
    void TearDown() override
    {
        SetYesNoCaption(m_savedYesNo);
        GetCadSystem().config.YNCMSG = m_savedYnc;
        SetMainFrameWnd(nullptr);
        DestroyWindow(m_frame);
    }
    static void SetYesNoCaption(const std::string& caption)
    {
        GetCadSystem().config.YESNOMSG = caption;
        ConfigDataRuntime& rt = GetConfigDataRuntime();
        DbcsCopy(rt.yesNoCaption, sizeof rt.yesNoCaption, caption.c_str());
    }
    static HWND Prompt() { return FindOwnWindow("#32770", nullptr); }
    static POINT Pointer()
    {
        POINT p = {0, 0};
        GetCursorPos(&p);
        return p;
    }
    HWND m_frame = nullptr;
    std::string m_savedYesNo;
    int m_savedYnc = 0;
};

// A click of the left (or right) mouse button on a control of the open prompt.
ModalScript::Step ClickControl(int id, bool right = false, RECT* promptRect = nullptr)
{
    return [=] {
        HWND prompt = FindOwnWindow("#32770", nullptr);
        HWND control = prompt != nullptr ? GetDlgItem(prompt, id) : nullptr;
        if (control == nullptr || !IsWindowVisible(prompt)) return false;
        if (promptRect != nullptr) GetWindowRect(prompt, promptRect);
        PostMessageA(control, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                     MAKELPARAM(5, 5));
        PostMessageA(control, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        return true;
    };
}

TEST_F(YesNoPromptWindow, YesNoAnsweredByMouseAndPointerPutBack)
{
    for (int id : {100, 102}) {
        SetCursorPos(400, 300);
        POINT pointerOnPrompt = {0, 0};
        ModalScript script({[&] {
                                if (Prompt() == nullptr) return false;
                                pointerOnPrompt = Pointer();
                                return true;
                            },
                            ClickControl(id)});
        const INT_PTR answer = script.Run([] { return AskYesNoAtCursor(0, "消しますか？"); });
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(answer, id == 100 ? 1 : 0) << id;
        EXPECT_NE(pointerOnPrompt.x, 400) << "the pointer moves onto Yes";
        EXPECT_EQ(Pointer().x, 400);
        EXPECT_EQ(Pointer().y, 300);
        EXPECT_TRUE(IsWindowEnabled(m_frame));
    }
}

TEST_F(YesNoPromptWindow, YesNoReuseKeepsThePlace)
{
    RECT first = {}, second = {};
    SetCursorPos(300, 400);
    ModalScript one({ClickControl(100, false, &first)});
    one.Run([] { return AskYesNoAtCursor(0, "a"); });
    SetCursorPos(700, 100);
    ModalScript two({ClickControl(100, false, &second)});
    two.Run([] { return AskYesNoAtCursor(1, "b"); });
    EXPECT_FALSE(one.TimedOut() || two.TimedOut());
    EXPECT_EQ(first.left, 350);
    EXPECT_EQ(first.top, 300);
    EXPECT_EQ(second.left, first.left);
    EXPECT_EQ(second.top, first.top);
}

TEST_F(YesNoPromptWindow, LongPromptCaptionStillAnswersByMouse)
{
    std::string caption;
    for (int i = 0; i < 25; ++i) caption += "確";
    SetYesNoCaption(caption);
    // The frame is disabled under the modal prompt: its kit buttons take a press only in a
    // prompt that they recognise by its caption.
    ModalScript script({ClickControl(100)});
    const INT_PTR answer = script.Run([] { return AskYesNoAtCursor(0, "q"); });
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(answer, 1);
}

// Presses a key on the keyboard (the prompt's thread hook sees real key input only).
void PressKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

ModalScript::Step KeyWhenActive(WORD key)
{
    return [key] {
        HWND prompt = FindOwnWindow("#32770", nullptr);
        if (prompt == nullptr || !IsWindowVisible(prompt)) return false;
        if (GetForegroundWindow() != prompt) {
            SetForegroundWindow(prompt);
            return false;
        }
        PressKey(key);
        return true;
    };
}

TEST_F(YesNoPromptWindow, YesNoCancelByKeyboard)
{
    GetCadSystem().config.YNCMSG = 0;
    const struct {
        WORD key;
        int code;
        int answer;
        int keepsPlace;
    } cases[] = {{'Y', IDYES, 1, 0}, {'N', kYesNoKeyNo, 0, 1}, {VK_ESCAPE, IDCANCEL, 2, 0}};
    for (const auto& c : cases) {
        int useSaved = 0;
        int position[2] = {0, 0};
        SetCursorPos(500, 400);
        ModalScript script({KeyWhenActive(c.key)});
        const INT_PTR code = script.Run([&] { return AskYesNoCancelAtCursor(&useSaved, position, "確認"); });
        EXPECT_FALSE(script.TimedOut()) << c.key;
        EXPECT_EQ(code, c.code) << c.key;
        EXPECT_EQ(YesNoCancelAnswerOf(code), c.answer) << c.key;
        EXPECT_EQ(useSaved, c.keepsPlace) << c.key;
        EXPECT_EQ(position[0], 550);
        EXPECT_EQ(position[1], 350);
    }
}

TEST_F(YesNoPromptWindow, SpaceDoesNothingInTheYesNoCancelPrompt)
{
    GetCadSystem().config.YNCMSG = 0;
    int useSaved = 0;
    int position[2] = {0, 0};
    bool stillOpen = false;
    ModalScript script({KeyWhenActive(VK_SPACE), [&] {
                            // The space bar is swallowed: Yes, the focused button, is not pressed.
                            stillOpen = Prompt() != nullptr;
                            return true;
                        },
                        ClickControl(kYesNoCanNoButton)});
    const INT_PTR code = script.Run([&] { return AskYesNoCancelAtCursor(&useSaved, position, nullptr); });
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(code, kYesNoCanNoButton);
}

TEST_F(YesNoPromptWindow, YesNoCancelQuestionByMouseAndPointerPutBack)
{
    GetCadSystem().config.YNCMSG = 0;
    const struct {
        int id;
        int answer;
    } cases[] = {{IDYES, 1}, {kYesNoCanNoButton, 0}, {IDCANCEL, 2}};
    for (const auto& c : cases) {
        SetCursorPos(321, 432);
        ModalScript script({[&] {
                                HWND prompt = Prompt();
                                if (prompt == nullptr) return false;
                                SendDlgItemMessageA(prompt, c.id, BM_CLICK, 0, 0);
                                return true;
                            }});
        const INT_PTR answer = script.Run([] { return AskYesNoCancelQuestion(0, "保存しますか？"); });
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(answer, c.answer) << c.id;
        EXPECT_EQ(Pointer().x, 321);
        EXPECT_EQ(Pointer().y, 432);
    }
}

TEST_F(YesNoPromptWindow, OneButtonPromptAnswersByMouseButton)
{
    GetCadSystem().config.YNCMSG = 1;
    const struct {
        bool right;
        INT_PTR code;
    } cases[] = {{false, IDYES}, {true, IDNO}};
    for (const auto& c : cases) {
        int useSaved = 0;
        int position[2] = {0, 0};
        std::string buttonClass;
        ModalScript script({[&] {
                                HWND prompt = Prompt();
                                HWND button = prompt ? GetDlgItem(prompt, kYesNoKeyNo) : nullptr;
                                if (button == nullptr) return false;
                                char name[64] = "";
                                GetClassNameA(button, name, sizeof name);
                                buttonClass = name;
                                // A release without a press on the button answers nothing.
                                PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
                                return true;
                            },
                            [] { return Prompt() != nullptr; }, ClickControl(kYesNoKeyNo, c.right)});
        const INT_PTR code = script.Run([&] { return AskYesNoCancelAtCursor(&useSaved, position, nullptr); });
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(code, c.code);
        EXPECT_EQ(buttonClass, "AppPanelButton");
        EXPECT_EQ(useSaved, c.right ? 1 : 0);
    }
}

}  // namespace
