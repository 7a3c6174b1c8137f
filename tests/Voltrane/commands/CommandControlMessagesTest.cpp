// The host messages of command control, prompts and status, one table per family, sent to a
// window whose map is the host-service object.
#include "GTest.h"

#include <string>
#include <vector>

#include "HostServiceTestWindow.h"
#include "commands/CommandRunState.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/MessageCatalog.h"

namespace {

class FakeServices : public CCommandControlServices {
public:
    int AskYesNo(WPARAM wParam, INT_PTR placement, const char* question) override
    {
        Add("AskYesNo " + std::to_string(wParam) + " " + std::to_string(placement) + " " + question);
        return answer;
    }
    int AskYesNoCancel(WPARAM wParam, INT_PTR placement, const char* question) override
    {
        Add("AskYesNoCancel " + std::to_string(wParam) + " " + std::to_string(placement) + " " + question);
        return answer;
    }
    int ClearRightMenuPickList() override
    {
        Add("ClearRightMenuPickList");
        return 1;
    }
    LRESULT EnableRightMenuPickList(WPARAM wParam, LPARAM lParam) override
    {
        Add("EnableRightMenuPickList " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 5;
    }
    LRESULT AddRightMenuPickItem(WPARAM wParam, const char* text, INT_PTR kind, INT_PTR value) override
    {
        Add("AddRightMenuPickItem " + std::to_string(wParam) + " " + (text ? text : "") + " " +
            std::to_string(kind) + " " + std::to_string(value));
        return 6;
    }
    LRESULT PboxItemUserData(WPARAM selector, LPARAM) override
    {
        Add("PboxItemUserData " + std::to_string(static_cast<int>(selector)));
        return 7;
    }
    INT_PTR TakeKeptMark() override { return 0x1234; }
    LRESULT DdeMessage(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        Add("Dde " + std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 9;
    }
    HWND AppPanelDialogInUse() override { return appPanel; }

    void Add(const std::string& line) { lines.push_back(line); }
    bool Has(const std::string& line) const
    {
        for (const std::string& each : lines)
            if (each == line) return true;
        return false;
    }
    std::vector<std::string> lines;
    int answer = 1;
    HWND appPanel = nullptr;
};

class CommandControlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCommandRunState() = CommandRunState();
        GetInputEventRecord() = InputEventRecord();
        GetCadSystem().currentCommandId = 0;
        SetCommandControlServices(&services);
    }
    void TearDown() override
    {
        SetCommandControlServices(nullptr);
        GetCommandRunState() = CommandRunState();
        GetInputEventRecord() = InputEventRecord();
        GetCadSystem().currentCommandId = 0;
    }

    FakeServices services;
    HostServiceTestWindow test;
};

TEST_F(CommandControlTest, CancelEndsTheWaitAndClearsTheStatusBarByTheStateFlag)
{
    struct Row { LPARAM flag; LRESULT result; bool statusCleared; };
    const Row rows[] = {{1, 1, true}, {0, 0, false}, {5, 1, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.flag);
        test.lines.clear();
        GetInputEventRecord().code = kEventNone;
        ASSERT_EQ(test.Send(WM_CAD_CMD_STATE, 0, row.flag), 1);
        EXPECT_EQ(test.Send(WM_CAD_CANCEL_COMMAND), row.result);
        EXPECT_EQ(PendingInputEvent(), kEventCancel) << "the waiting command ends either way";
        EXPECT_EQ(test.Has("Status 1 [ ]"), row.statusCleared);
        EXPECT_EQ(test.Has("Status 2 0"), row.statusCleared);
    }
}

TEST_F(CommandControlTest, CommandStateFamily)
{
    struct Row { UINT msg; WPARAM wParam; LPARAM lParam; LRESULT result; };
    GetCadSystem().currentCommandId = 5990;
    GetCadSystem().config.LANGUAGE = 1;
    const Row rows[] = {
        {WM_CAD_CURRENT_COMMAND, 0, 0, 5990},
        {WM_CAD_SET_CMD_OPTION, 0, 5, 1},
        {WM_CAD_SET_CMD_OPTION, 0, 0, 0},
        {WM_CAD_SET_LAYER_PICK_MODE, 0, 3, 0},
        {WM_CAD_SET_UNDO_TAG, 0, 1, 1},
        {WM_CAD_CMD_STATE, 1, 0, 1},   // read: 1 at construction
        {WM_CAD_CMD_STATE, 0, 0, 1},   // write 0
        {WM_CAD_CMD_STATE, 1, 0, 0},   // read back
        {WM_CAD_CMD_STATE, 2, 9, 1},   // any word but 1 writes
        {WM_CAD_CMD_STATE, 1, 0, 9},
        {WM_CAD_GET_LANGUAGE, 0, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.msg);
        EXPECT_EQ(test.Send(row.msg, row.wParam, row.lParam), row.result);
    }
    EXPECT_EQ(GetCommandRunState().layerPickMode, 3);
    EXPECT_EQ(GetCommandRunState().undoBeginSuppressed, 1);
    EXPECT_EQ(*test.services.StateFlagAddress(), 9);
    GetCadSystem().config.LANGUAGE = 0;
}

TEST_F(CommandControlTest, PromptStatusAndLogFamily)
{
    struct Row { UINT msg; WPARAM wParam; LPARAM lParam; LRESULT result; const char* line; };
    const char* prompt = "始点を指示してください";
    // A plug-in's text with conversion characters is logged as it stands.
    const char* logText = "%s%n%d 100%";
    const Row rows[] = {
        {WM_CAD_SET_MESSAGE, 0, reinterpret_cast<LPARAM>(prompt), 0, "Status 2 [始点を指示してください]"},
        {WM_CAD_SET_MESSAGE, 0, 0, 0, "Status 2 0"},
        {WM_CAD_SHOW_ELEMENT_COUNT, 0, 0, 1, "Status 5 42"},
        {WM_CAD_GET_ELEMENT_COUNT, 0, 0, 42, nullptr},
        {WM_CAD_WRITE_LOG, 3, reinterpret_cast<LPARAM>(logText), 1, "Log 3 - %s%n%d 100%"},
        {WM_CAD_WRITE_LOG, 1, 0, 1, "Log 1 - "},
        {WM_CAD_FOCUS_INPUT, 0, 0, 1, "FocusActiveView"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.msg);
        EXPECT_EQ(test.Send(row.msg, row.wParam, row.lParam), row.result);
        if (row.line) {
            EXPECT_TRUE(test.Has(row.line)) << row.line;
        }
    }
    test.activeView = 0;
    EXPECT_EQ(test.Send(WM_CAD_GET_ELEMENT_COUNT), 0) << "no open drawing";
}

TEST_F(CommandControlTest, MessageTextOfTheCatalogue)
{
    const auto* known = reinterpret_cast<const char*>(test.Send(WM_CAD_GET_MESSAGE_TEXT, 0, 5000));
    ASSERT_NE(known, nullptr);
    EXPECT_STREQ(known, GetMessageText(5000));
    const auto* unknown = reinterpret_cast<const char*>(test.Send(WM_CAD_GET_MESSAGE_TEXT, 0, 1));
    ASSERT_NE(unknown, nullptr);
    EXPECT_STREQ(unknown, "?ERROR?");
}

TEST_F(CommandControlTest, FocusGoesToTheApplicationPanelDialogWhenInUse)
{
    services.appPanel = test.window;
    EXPECT_EQ(test.Send(WM_CAD_FOCUS_INPUT), 1);
    EXPECT_FALSE(test.Has("FocusActiveView"));
}

TEST_F(CommandControlTest, QuestionFamily)
{
    CmdParamRecord record = {};
    record.value1 = 1;
    record.value2 = reinterpret_cast<INT_PTR>("保存しますか？");
    struct Row { UINT msg; int answer; LRESULT result; const char* line; };
    const Row rows[] = {
        {WM_CAD_ASK_YESNO, 1, 1, "AskYesNo 4 1 保存しますか？"},
        {WM_CAD_ASK_YESNO, 0, 0, "AskYesNo 4 1 保存しますか？"},
        {WM_CAD_ASK_YESNOCANCEL, 2, 2, "AskYesNoCancel 4 1 保存しますか？"},
        {WM_CAD_ASK_YESNOCANCEL, 0, 0, "AskYesNoCancel 4 1 保存しますか？"},
    };
    for (const Row& row : rows) {
        services.answer = row.answer;
        EXPECT_EQ(test.Send(row.msg, 4, reinterpret_cast<LPARAM>(&record)), row.result);
        EXPECT_TRUE(services.Has(row.line));
    }
    // Without a record nothing is asked and nothing is agreed to.
    services.lines.clear();
    EXPECT_EQ(test.Send(WM_CAD_ASK_YESNO, 0, 0), 0);
    EXPECT_EQ(test.Send(WM_CAD_ASK_YESNOCANCEL, 0, 0), 2);
    EXPECT_TRUE(services.lines.empty());
}

// The default services ask the prompts at the pointer. This test program carries no prompt
// templates, so no prompt can be shown: the answers are the ones that change nothing, never a
// Yes nobody gave.
TEST_F(CommandControlTest, DefaultQuestionsThatCannotBeShownAgreeToNothing)
{
    SetCommandControlServices(nullptr);
    CmdParamRecord record = {};
    record.value2 = reinterpret_cast<INT_PTR>("削除しますか？");
    EXPECT_EQ(test.Send(WM_CAD_ASK_YESNO, 0, reinterpret_cast<LPARAM>(&record)), 0);
    EXPECT_EQ(test.Send(WM_CAD_ASK_YESNOCANCEL, 0, reinterpret_cast<LPARAM>(&record)), 2);
}

TEST_F(CommandControlTest, RightMenuFamily)
{
    CmdParamRecord item = {};
    char text[] = "円弧";
    item.text = text;
    item.element = 1;  // kind: an item
    item.record = 33;  // value
    struct Row { UINT msg; WPARAM wParam; LPARAM lParam; LRESULT result; const char* line; };
    const Row rows[] = {
        {WM_CAD_RMENU_CLEAR, 0, 0, 1, nullptr},
        {WM_CAD_RMENU_MODE, 2, 1, 5, nullptr},
        {WM_CAD_RMENU_ADD, 3, reinterpret_cast<LPARAM>(&item), 6, nullptr},
        {WM_CAD_RMENU_ADD, 3, 0, 0, nullptr},
        {WM_CAD_RMENU_CLICK_FINISHES, 0, 1, 1, "RightClickEnterMode 1"},
        {WM_CAD_RMENU_SET_EXTRA, 4, 8, 1, "RightMenuHideMask 4 8"},
        {WM_CAD_PBOX_QUERY, static_cast<WPARAM>(-100), 0, 7, nullptr},
        {WM_CAD_TAKE_MARK, 0, 0, 0x1234, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.msg);
        EXPECT_EQ(test.Send(row.msg, row.wParam, row.lParam), row.result);
        if (row.line) {
            EXPECT_TRUE(test.Has(row.line)) << row.line;
        }
    }
    EXPECT_TRUE(services.Has("ClearRightMenuPickList"));
    EXPECT_TRUE(services.Has("EnableRightMenuPickList 2 1"));
    EXPECT_TRUE(services.Has("AddRightMenuPickItem 3 円弧 1 33"));
    EXPECT_TRUE(services.Has("PboxItemUserData -100"));
}

TEST_F(CommandControlTest, DdeFamilyPassesItsParametersOn)
{
    const UINT messages[] = {WM_CAD_DDE_EXECUTE, WM_CAD_DDE_CONNECT, WM_CAD_DDE_DISCONNECT,
                             WM_CAD_DDE_SEND, WM_CAD_DDE_INIT, WM_CAD_DDE_EXIT,
                             WM_CAD_DDE_CONNECT_TOPIC, WM_CAD_DDE_DISCONNECT_TOPIC, WM_CAD_DDE_SEND_TOPIC};
    for (UINT msg : messages) {
        EXPECT_EQ(test.Send(msg, 11, 22), 9);
        EXPECT_TRUE(services.Has("Dde " + std::to_string(msg) + " 11 22"));
    }
}

}  // namespace
