// The status bar's texts, its input field and its message protocol.
#include "GTest.h"

#include <string>

#include "CommandIds.h"
#include "mainframe/CadStatusBar.h"

TEST(StatusBarRules, MessageTextsLoseTheirLastGroupInParentheses)
{
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"カーソルモード(任意点)", "カーソルモード"},
        {"実数部(短)", "実数部"},
        {"ｽﾀｲﾙ項目終了(縦書/横書ﾋﾞｯﾄﾃﾞｰﾀ無し", "ｽﾀｲﾙ項目終了(縦書/横書ﾋﾞｯﾄﾃﾞｰﾀ無し"},
        {"長さ(mm)を入力(F1:ヘルプ)", "長さ(mm)を入力"},
        {"終点を指示()", "終点を指示()"},
        {"終点(A)を指示()", "終点"},
        {"no groups", "no groups"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ApplyMessageTextRule(c.text), c.shown) << c.text;

    std::string longText(300, 'a');
    EXPECT_EQ(ApplyMessageTextRule(longText.c_str()).size(), 255u);
    std::string cut = std::string(254, 'a') + "表";  // the last character does not fit
    EXPECT_EQ(ApplyMessageTextRule(cut.c_str()), std::string(254, 'a'));
}

TEST(StatusBarRules, InputFieldKeystrokes)
{
    const struct {
        const char* before;
        int append;
        const char* keys;  // '\x01' stands for code 0
        const char* after;
    } cases[] = {
        {"7", 0, "12", "12"},
        {"7", 1, "12", "712"},
        {"712", 1, "-3", "-3"},
        {"1.5", 1, ".", "1.5"},
        {"1", 1, ".5.", "1.5"},
        {"7", 0, "\x01" "4", "4"},
        {"", 0, ".", "."},
    };
    for (const auto& c : cases) {
        StatusBarField field;
        field.text = c.before;
        field.append = c.append;
        for (const char* key = c.keys; *key; ++key) ApplyInputCharacter(field, *key == '\x01' ? 0 : *key);
        EXPECT_EQ(field.text, c.after) << c.before << " + " << c.keys;
        EXPECT_EQ(field.append, 1);
    }
}

namespace {

class StatusBarWindow : public testing::Test {
protected:
    void SetUp() override
    {
        m_parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                   nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_NE(m_bar.CreateBar(m_parent), nullptr);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    LRESULT User(WPARAM code, const char* text)
    {
        return SendMessageA(m_bar.m_hWnd, WM_USER, code, reinterpret_cast<LPARAM>(text));
    }
    void Type(char c) { SendMessageA(m_bar.m_hWnd, WM_USER, 3, static_cast<unsigned char>(c)); }
    std::string Text(int index)
    {
        char buffer[1024] = {};
        SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(kStatusBarGetFieldText, index), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    HWND m_parent = nullptr;
    CCadStatusBar m_bar;
};

}  // namespace

TEST_F(StatusBarWindow, StartsWithTheNothingSelectedMessage)
{
    char className[64] = {};
    GetClassNameA(m_bar.m_hWnd, className, sizeof className);
    EXPECT_STREQ(className, "CadStatusBar");
    EXPECT_EQ(Text(0), "何も選択されていません。");
    EXPECT_EQ(m_bar.Field(kStatusCommandField).width, 110);
    EXPECT_EQ(m_bar.Field(kStatusInputField).width, 70);
    EXPECT_EQ(m_bar.Field(kStatusMessageField).textColor, RGB(0, 0, 255));
    EXPECT_NE(m_bar.SizeGrip(), nullptr);
}

TEST_F(StatusBarWindow, MessageAndCommandFields)
{
    User(2, "カーソルモード(任意点)");
    EXPECT_EQ(Text(0), "カーソルモード");
    User(2, nullptr);
    EXPECT_EQ(Text(0), "何も選択されていません。");
    User(2, "");
    EXPECT_EQ(Text(0), "何も選択されていません。");

    User(1, "線分");
    EXPECT_EQ(Text(1), "線分");
    User(1, "");
    EXPECT_EQ(Text(1), "");

    // Saved texts come back; the input field is not saved.
    User(1, "線分");
    User(2, "始点を指示");
    Type('5');
    SendMessageA(m_bar.m_hWnd, WM_USER + 1, 0, 0);
    User(1, "円");
    User(2, "中心を指示");
    Type('6');
    SendMessageA(m_bar.m_hWnd, WM_USER + 2, 0, 0);
    EXPECT_EQ(Text(0), "始点を指示");
    EXPECT_EQ(Text(1), "線分");
    EXPECT_EQ(Text(2), "56");

    // Code 100 clears the command field and brings the message back.
    SendMessageA(m_bar.m_hWnd, WM_COMMAND, kStatusBarClearTexts, 0);
    EXPECT_EQ(Text(1), "");
    EXPECT_EQ(Text(0), "何も選択されていません。");
}

TEST_F(StatusBarWindow, InputFieldThroughMessagesAndItsGetters)
{
    EXPECT_EQ(GetStatusBarInputLong(m_bar.m_hWnd), -1);
    EXPECT_EQ(GetStatusBarInputDouble(m_bar.m_hWnd), 0.0);
    EXPECT_EQ(HasStatusBarInput(m_bar.m_hWnd), 0);

    Type('7');
    // The cursor-mode switch: input field visible, the next character replaces its text.
    SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(kStatusBarShowField, kStatusInputField), 1);
    SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(kStatusBarSetFieldAppend, kStatusInputField), 0);
    Type('1');
    Type('2');
    EXPECT_EQ(Text(2), "12");
    Type('.');
    Type('5');
    Type('.');
    EXPECT_EQ(Text(2), "12.5");
    EXPECT_EQ(GetStatusBarInputDouble(m_bar.m_hWnd), 12.5);
    EXPECT_EQ(GetStatusBarInputLong(m_bar.m_hWnd), 12);
    EXPECT_EQ(HasStatusBarInput(m_bar.m_hWnd), 1);

    User(6, nullptr);
    EXPECT_EQ(Text(2), "12.");
    User(6, nullptr);
    User(6, nullptr);
    User(6, nullptr);
    User(6, nullptr);
    EXPECT_EQ(Text(2), "");
    Type(0);
    Type('9');
    EXPECT_EQ(Text(2), "9");

    // Field indices outside 0-2 are ignored.
    char buffer[1024] = "unchanged";
    SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(kStatusBarGetFieldText, 3), reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, "unchanged");
    SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(2001, 0), 0);
    EXPECT_EQ(m_bar.Field(0).visible, 0);
    SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(2001, 7), 0);

    User(5, reinterpret_cast<const char*>(1234));
    EXPECT_STREQ(m_bar.ElementCountText(), "  1234");
}

TEST_F(StatusBarWindow, LaysItselfOutAtTheBottomOfItsParent)
{
    ShowWindow(m_parent, SW_SHOWNORMAL);
    SendMessageA(m_bar.m_hWnd, WM_SIZE, SIZE_RESTORED, 0);
    RECT parent, bar;
    GetClientRect(m_parent, &parent);
    GetWindowRect(m_bar.m_hWnd, &bar);
    MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&bar), 2);
    EXPECT_EQ(bar.bottom, parent.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 26);
    EXPECT_EQ(bar.right - bar.left, parent.right);
    RECT grip;
    GetWindowRect(m_bar.SizeGrip(), &grip);
    int gripWidth = grip.right - grip.left;
    EXPECT_TRUE(IsWindowVisible(m_bar.SizeGrip()));
    EXPECT_EQ(m_bar.Field(0).width, parent.right - 110 - 70 - gripWidth);
}
