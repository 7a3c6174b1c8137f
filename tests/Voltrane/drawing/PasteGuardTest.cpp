// The paste waits for the copy command's file: asked three times at most while it is written.
#include "GTest.h"

#include <deque>
#include <string>
#include <vector>

#include "core/ConfigIo.h"
#include "core/SettingsMessage.h"
#include "drawing/DrawingFileCommands.h"

namespace {

std::vector<std::string> g_shown;
std::deque<int> g_replies;

int Answer(HWND, const char* text, const char*, UINT)
{
    g_shown.push_back(text ? text : "");
    if (g_replies.empty()) return IDNO;
    const int reply = g_replies.front();
    g_replies.pop_front();
    return reply;
}

const char kAgain[] = "現在コピー選択中なので、貼り付けはできません。もう一度実行しますか？";
const char kGiveUp[] = "貼り付けに失敗しました。処理を中止します。";

}  // namespace

TEST(PasteGuard, WhileTheCopyIsWrittenTheUserIsAskedThreeTimesAtMost)
{
    SettingsMessageHook previous = SetSettingsMessageHook(Answer);
    struct Case {
        const char* writing;
        std::deque<int> replies;
        bool pasted;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {"0", {}, true, {}},
        {"1", {IDNO}, false, {kAgain}},
        {"1", {IDYES, IDNO}, false, {kAgain, kAgain}},
        {"1", {IDYES, IDYES, IDYES}, false, {kAgain, kAgain, kAgain, kGiveUp}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(1, WriteSonotaString("COPY_SELECT", "FileWriting", c.writing));
        g_shown.clear();
        g_replies = c.replies;
        EXPECT_EQ(c.pasted, WaitUntilCopyIsWritten(nullptr)) << c.writing << " " << c.replies.size();
        EXPECT_EQ(c.shown, g_shown) << c.writing << " " << c.replies.size();
    }
    WriteSonotaString("COPY_SELECT", "FileWriting", nullptr);
    g_shown.clear();
    EXPECT_TRUE(WaitUntilCopyIsWritten(nullptr)) << "no entry: nothing is being written";
    EXPECT_TRUE(g_shown.empty());
    SetSettingsMessageHook(previous);
}
