// The host-service object: the search order of its maps, the default map only, the command run
// through the dispatcher and the fall-through of messages no map lists.
#include "GTest.h"

#include <string>
#include <vector>

#include "HostServiceTestWindow.h"
#include "commands/CommandRunState.h"
#include "commands/CommandSystemConnection.h"
#include "commands/InputEvent.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"

namespace {

// A family map that answers the messages it is given and notes every message it is asked.
class FamilyMap : public WinKit::CMessageMap {
public:
    FamilyMap(const char* name, std::vector<std::string>& asked, std::vector<UINT> answers)
        : m_name(name), m_asked(asked), m_answers(std::move(answers))
    {
    }
    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM, LPARAM, LRESULT& lResult, DWORD mapId) override
    {
        m_asked.push_back(m_name + " " + std::to_string(uMsg));
        if (mapId != 0) return FALSE;
        for (UINT answer : m_answers) {
            if (answer == uMsg) {
                lResult = 100 + static_cast<LRESULT>(m_asked.size());
                return TRUE;
            }
        }
        return FALSE;
    }

private:
    std::string m_name;
    std::vector<std::string>& m_asked;
    std::vector<UINT> m_answers;
};

class HostServiceDispatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCommandRunState() = CommandRunState();
        GetInputEventRecord() = InputEventRecord();
    }
    void TearDown() override
    {
        GetCommandRunState() = CommandRunState();
        GetInputEventRecord() = InputEventRecord();
    }
    HostServiceTestWindow test;
};

TEST_F(HostServiceDispatchTest, OnlyTheDefaultMapIsSearched)
{
    LRESULT result = 0;
    EXPECT_FALSE(test.services.ProcessWindowMessage(test.window, WM_CAD_CMD_STATE, 1, 0, result, 1));
    EXPECT_TRUE(test.services.ProcessWindowMessage(test.window, WM_CAD_CMD_STATE, 1, 0, result, 0));
    EXPECT_EQ(result, 1);
}

TEST_F(HostServiceDispatchTest, FamiliesAreSearchedInOrderAfterTheOwnMessages)
{
    std::vector<std::string> asked;
    const UINT kFamilyMessage = 2700;
    FamilyMap view("view", asked, {}), drawing("drawing", asked, {}), font("font", asked, {});
    FamilyMap db("db", asked, {}), pbox("pbox", asked, {}), page("page", asked, {kFamilyMessage});
    FamilyMap config("config", asked, {kFamilyMessage});
    test.services.SetFamily(CCadSysCmd::kViewMessages, &view);
    test.services.SetFamily(CCadSysCmd::kDrawingMessages, &drawing);
    test.services.SetFamily(CCadSysCmd::kFontMessages, &font);
    test.services.SetFamily(CCadSysCmd::kDatabaseMember, &db);
    test.services.SetFamily(CCadSysCmd::kPboxMember, &pbox);
    test.services.SetFamily(CCadSysCmd::kPageMember, &page);
    test.services.SetFamily(CCadSysCmd::kConfigMember, &config);

    LRESULT result = 0;
    ASSERT_TRUE(test.services.ProcessWindowMessage(test.window, kFamilyMessage, 0, 0, result, 0));
    const std::vector<std::string> expected = {"view 2700", "drawing 2700", "font 2700", "db 2700",
                                               "pbox 2700", "page 2700"};
    EXPECT_EQ(asked, expected) << "the first map that lists the message answers it";

    // An own message never reaches the families.
    asked.clear();
    ASSERT_TRUE(test.services.ProcessWindowMessage(test.window, WM_CAD_CMD_STATE, 1, 0, result, 0));
    EXPECT_TRUE(asked.empty());

    // The input wait comes after the three own families and before the members.
    asked.clear();
    test.PostScript(0);
    test.script = [](WPARAM) { RaiseInputEvent(kEventEscape); };
    GetInputEventRecord().acceptMask = kAcceptEscape;
    InputWaitRecord record = {};
    ASSERT_TRUE(test.services.ProcessWindowMessage(test.window, WM_CAD_WAIT_INPUT, 0,
                                                   reinterpret_cast<LPARAM>(&record), result, 0));
    EXPECT_EQ(result, 2);
    std::vector<std::string> waitAsked;
    for (const std::string& line : asked)
        if (line.find(" 2051") != std::string::npos) waitAsked.push_back(line);
    const std::vector<std::string> beforeWait = {"view 2051", "drawing 2051", "font 2051"};
    EXPECT_EQ(waitAsked, beforeWait);
}

TEST_F(HostServiceDispatchTest, UnlistedMessageFallsThroughToTheDefaultProcedure)
{
    LRESULT result = 0;
    EXPECT_FALSE(test.services.ProcessWindowMessage(test.window, 2999, 0, 0, result, 0));
    EXPECT_EQ(test.Send(2999), 0);
    EXPECT_FALSE(test.services.ProcessWindowMessage(test.window, WM_CAD_INTERRUPT_WAIT, 0, 0, result, 0))
        << "the interrupt wait belongs to the interrupt-command object";
}

TEST_F(HostServiceDispatchTest, RunCommandReachesTheDispatcher)
{
    // 5005 is answered 1 by the dispatcher and by nothing else.
    EXPECT_EQ(test.Send(WM_CAD_RUN_COMMAND, 5005, 0), 1);
    EXPECT_EQ(GetCommandRunState().pageCheckMessage, 1);
    EXPECT_EQ(IsWaitCancelled(), 0);
}

TEST_F(HostServiceDispatchTest, MainFrameChainsTheHostServicesAfterItsOwnEntries)
{
    CMainFrame frame;
    ConnectCommandSystem(frame);
    ConnectHostServices(frame);
    LRESULT result = 0;
    EXPECT_TRUE(frame.ProcessWindowMessage(nullptr, WM_CAD_ADD_EVENT_MASK, 0, kAcceptEscape, result));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(GetInputEventRecord().acceptMask, kAcceptEscape);
    EXPECT_TRUE(frame.ProcessWindowMessage(nullptr, WM_CAD_RUN_COMMAND, 5005, 0, result));
    EXPECT_EQ(result, 1) << "the dispatcher is reached through the host-service object";
    EXPECT_TRUE(frame.ProcessWindowMessage(nullptr, WM_CAD_CMD_STATE, 1, 0, result));
    EXPECT_EQ(result, *GetCadSysCmd().StateFlagAddress());
    EXPECT_EQ(GetFrameServices().restoreInputFocus, &RestoreInputFocus);
    GetFrameServices().restoreInputFocus = nullptr;
    GetFrameServices().isPluginCommandRunning = nullptr;
}

}  // namespace
