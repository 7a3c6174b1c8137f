// The command-line scanner: words, quoting, options and the boot key, bounds, and what
// ProcessCommandLine asks of the frame.
#include "GTest.h"

#include <set>
#include <string>
#include <vector>

#include "core/CommandLine.h"

namespace {

using Words = std::vector<std::string>;

// Files that "exist" in these tests.
const std::set<std::string> kFiles = {"C:\\d\\a.tcf", "C:\\my docs\\plan.tcf", "C:\\x\\y"};

bool MayEnd(const std::string& word)
{
    bool drawing = word.size() > 4 && word.compare(word.size() - 4, 4, ".tcf") == 0;
    return drawing || kFiles.count(word) != 0;
}

}  // namespace

TEST(CommandLineScan, WordsOptionsAndBootKey)
{
    const struct {
        const char* text;
        Words words;
        Words options;
        const char* raw;
    } cases[] = {
        {"C:\\d\\a.tcf", {"C:\\d\\a.tcf"}, {}, ""},
        {"  C:\\d\\a.tcf   /7", {"C:\\d\\a.tcf"}, {"/NUM"}, "/7"},
        {"\"C:\\my docs\\plan.tcf\" /7", {"C:\\my docs\\plan.tcf"}, {"/NUM"}, "/7"},
        {"-a /7", {}, {"/A", "/NUM"}, "-a/7"},
        {"/X1Y", {}, {"/XY"}, "/X1Y"},
        {"/b", {}, {"/B"}, "/b"},
        {"/a/b", {}, {"/A/B"}, "/a/b"},
        // An unquoted path with a blank becomes one word without the blank unless the part
        // before the blank may end there.
        {"C:\\my docs\\other.dat", {"C:\\mydocs\\other.dat"}, {}, ""},
        {"C:\\x\\y z", {"C:\\x\\y", "z"}, {}, ""},
        // Double-byte characters are kept whole; 0x5C trail bytes are not separators.
        {"C:\\図面\\表.tcf", {"C:\\図面\\表.tcf"}, {}, ""},
        {"/表1", {}, {"/表"}, "/表1"},
    };
    for (const auto& c : cases) {
        CommandLineScan scan = ScanCommandLine(c.text, MayEnd);
        EXPECT_EQ(scan.words, c.words) << c.text;
        EXPECT_EQ(scan.options, c.options) << c.text;
        EXPECT_EQ(scan.rawOptions, c.raw) << c.text;
        EXPECT_TRUE(scan.refused.empty()) << c.text;
    }
}

TEST(CommandLineScan, OnlyTenOptionsEnterTheKeyButAllTheRawText)
{
    CommandLineScan scan = ScanCommandLine("/a /b /c /d /e /f /g /h /i /j /k /l", MayEnd);
    EXPECT_EQ(scan.options.size(), 10u);
    EXPECT_EQ(scan.BootKey(), "/A/B/C/D/E/F/G/H/I/J");
    EXPECT_EQ(scan.rawOptions, "/a/b/c/d/e/f/g/h/i/j/k/l");
}

TEST(CommandLineScan, OverlongWordsAndOptionsAreRefusedNotCut)
{
    std::string longPath = "C:\\" + std::string(300, 'p') + ".tcf";
    CommandLineScan scan = ScanCommandLine((longPath + " C:\\d\\a.tcf").c_str(), MayEnd);
    EXPECT_EQ(scan.words, Words{"C:\\d\\a.tcf"});
    ASSERT_EQ(scan.refused.size(), 1u);
    EXPECT_EQ(scan.refused[0], longPath);

    std::string manyOptions;
    for (int i = 0; i < 9; ++i) manyOptions += "/" + std::string(40, static_cast<char>('a' + i)) + " ";
    scan = ScanCommandLine(manyOptions.c_str(), MayEnd);
    EXPECT_LT(scan.rawOptions.size(), kCommandLineTextSize);
    EXPECT_LT(scan.BootKey().size(), kCommandLineTextSize);
    EXPECT_TRUE(scan.optionsTruncated);
    EXPECT_FALSE(scan.refused.empty());
}

namespace {

struct Recorder {
    std::vector<std::string> opened, errors, bootKeys;
    std::vector<std::pair<UINT, WPARAM>> posts;
    std::string bootValue;
    bool startDialog = false;
    LRESULT openAnswer = 1;

    CommandLineHost Host()
    {
        CommandLineHost host;
        host.isDrawingFile = [](const std::string& w) { return MayEnd(w) && w.find(".tcf") != std::string::npos; };
        host.fileExists = [](const std::string& w) { return kFiles.count(w) != 0; };
        host.openFile = [this](HWND, const std::string& w) { opened.push_back(w); return openAnswer; };
        host.showError = [this](HWND, const std::string& w) { errors.push_back(w); };
        host.readBootCommand = [this](const std::string& key) { bootKeys.push_back(key); return bootValue; };
        host.startOpenDialogWanted = [this] { return startDialog; };
        host.bringForward = [](HWND) {};
        host.post = [this](HWND, UINT msg, WPARAM w, LPARAM) { posts.push_back({msg, w}); };
        return host;
    }
};

}  // namespace

TEST(ProcessCommandLine, OpensFilesReportsMissingOnesAndPostsTheBootCommand)
{
    Recorder r;
    r.bootValue = "21220";
    CommandLineState state;
    ProcessCommandLine(nullptr, "\"C:\\my docs\\plan.tcf\" C:\\none.tcf /7", -1, r.Host(), state);
    EXPECT_EQ(r.opened, Words{"C:\\my docs\\plan.tcf"});
    EXPECT_EQ(r.errors, Words{"C:\\none.tcf"});
    EXPECT_EQ(r.bootKeys, Words{"/NUM"});
    ASSERT_EQ(r.posts.size(), 1u);
    EXPECT_EQ(r.posts[0].first, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(r.posts[0].second, 21220u);
    EXPECT_STREQ(state.bootOptionText, "/7");
    EXPECT_EQ(state.fileFound, 1);
    EXPECT_EQ(state.fileOpened, 1);
    EXPECT_EQ(state.startActionDone, 1);
    EXPECT_EQ(state.bootKey, "/NUM");
}

TEST(ProcessCommandLine, NothingOpenedAsksForANewDrawingWindow)
{
    const struct {
        const char* text;
        bool startDialog;
        const char* bootValue;
        std::vector<std::pair<UINT, WPARAM>> posts;
    } cases[] = {
        // Empty text: a new window only when the start dialog setting asks for it.
        {"", false, "", {}},
        {"", true, "", {{2424u, 0u}}},
        // Options only: the new-window message, and the boot command when its value is > 0.
        {"/b", false, "0", {{2424u, 0u}}},
        {"/b", false, "-3", {{2424u, 0u}}},
        {"/b", false, "4050", {{2424u, 0u}, {static_cast<UINT>(WM_COMMAND), 4050u}}},
    };
    for (const auto& c : cases) {
        Recorder r;
        r.startDialog = c.startDialog;
        r.bootValue = c.bootValue;
        CommandLineState state;
        ProcessCommandLine(nullptr, c.text, -1, r.Host(), state);
        EXPECT_EQ(r.posts, c.posts) << "'" << c.text << "' boot " << c.bootValue;
        EXPECT_EQ(state.startActionDone, c.posts.size() == 2 ? 1 : 0);
    }
}

TEST(ProcessCommandLine, EarlierOpenedDrawingSuppressesTheNewWindow)
{
    Recorder r;
    CommandLineState state;
    ProcessCommandLine(nullptr, "C:\\d\\a.tcf", -1, r.Host(), state);
    EXPECT_TRUE(r.posts.empty());
    r.openAnswer = 0;
    ProcessCommandLine(nullptr, "C:\\x\\y", -1, r.Host(), state);  // fails to open
    EXPECT_TRUE(r.posts.empty());
    EXPECT_EQ(state.fileOpened, 1);
}

TEST(ProcessCommandLine, FileNotFoundMessageFitsItsBuffer)
{
    EXPECT_EQ(FormatFileNotFoundMessage("C:\\無い.tcf"), "ファイル C:\\無い.tcf が見つかりません");
    // An overlong word is cut on a character boundary so that the text fits 400 bytes.
    std::string word = "C:\\" + std::string(600, 'w');
    std::string text = FormatFileNotFoundMessage(word);
    EXPECT_LT(text.size(), 400u);
    EXPECT_NE(text.find("C:\\www"), std::string::npos);
    EXPECT_NE(text.find(" が見つかりません"), std::string::npos);
}
