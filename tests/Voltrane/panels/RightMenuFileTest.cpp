#include "GTest.h"

#include <string>
#include <vector>

#include "TempFolder.h"
#include "panels/RightMenuFile.h"

namespace {

// The parsed form as its strings, up to the closing empty string.
std::vector<std::string> Strings(const char* form, size_t size)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < size && form[pos] != '\0') {
        out.emplace_back(form + pos);
        pos += out.back().size() + 1;
    }
    return out;
}

std::vector<std::string> Parse(const std::string& text, int* result = nullptr, size_t size = kRightMenuBufferSize)
{
    std::vector<char> buffer(size, 'x');
    const int r = ParseRightMenuText(text, buffer.data(), size);
    if (result != nullptr) *result = r;
    return Strings(buffer.data(), size);
}

using Form = std::vector<std::string>;

TEST(RightMenuFileTest, LinesBecomeTheParsedForm)
{
    const struct {
        const char* name;
        std::string text;
        Form form;
    } cases[] = {
        {"entry", "全体表示,1334\n", {"1334", "全体表示"}},
        {"crlf and third field", "前画面, 1333 ,7\r\n", {"1333", "前画面"}},
        {"blanks and tabs before", " \t設定,\t1229\n", {"1229", "設定"}},
        {"comment", "; 元に戻す,1209\n  ;x,1\n", {}},
        {"double slash is no comment", "//,5\n", {"5", "//"}},
        {"short lines", "\n\r\na\n \t\n", {}},
        {"two characters and a line feed", "ab\n", {"0", "ab"}},
        {"no line feed at the end", "ab", {}},
        {"missing comma", "表示だけ\n", {"0", "表示だけ"}},
        {"no digits", "x, y\n", {"0", "x"}},
        {"disabled", "------,99999\n", {"99999", "------"}},
        {"separator", "SEPARATOR\nSEPARATORX\n", {"SEPARATOR", "SEPARATOR"}},
        {"control character ends the caption", "a\tb,3\n", {"0", "a"}},
        // "ソ" is 0x83 0x5C and "表" 0x95 0x5C: taken whole.
        {"double-byte caption", "ソ表,12\n", {"12", "ソ表"}},
        {"group", "[POPUP]検出\nA,1\n[END]\nB,2\n", {"[POPUP]", "検出", "1", "A", "[END]", "2", "B"}},
        {"nested groups", "[POPUP] a\n[POPUP]b\nc,3\n[END]\n[END]\n",
         {"[POPUP]", "a", "[POPUP]", "b", "3", "c", "[END]", "[END]"}},
        {"group open at the end is closed", "[POPUP]g\nA,1\n", {"[POPUP]", "g", "1", "A", "[END]"}},
        {"end outside a group is an entry", "[END]\n", {"0", "[END]"}},
    };
    for (const auto& c : cases) {
        int result = 0;
        EXPECT_EQ(Parse(c.text, &result), c.form) << c.name;
        EXPECT_EQ(result, 1) << c.name;
    }
}

TEST(RightMenuFileTest, TheRestOfAnOverlongLineIsDropped)
{
    const std::string longCaption(300, 'a');
    const Form form = Parse(longCaption + ",5\nB,2\n");
    ASSERT_EQ(form.size(), 4u);
    EXPECT_EQ(form[0], "0");
    EXPECT_EQ(form[1].size(), kRightMenuLineBytes);
    EXPECT_EQ(form[2], "2");
    EXPECT_EQ(form[3], "B");
}

TEST(RightMenuFileTest, AFileThatDoesNotFitKeepsWhatFitsClosesItsGroupsAndIsReported)
{
    std::string text = "[POPUP]g\n";
    for (int i = 0; i < 2000; ++i) text += "entry" + std::to_string(i) + "," + std::to_string(i) + "\n";
    int result = 1;
    std::vector<char> buffer(200, 'x');
    result = ParseRightMenuText(text, buffer.data(), buffer.size());
    EXPECT_EQ(result, 0);
    const Form form = Strings(buffer.data(), buffer.size());
    ASSERT_GE(form.size(), 5u);
    EXPECT_EQ(form[0], "[POPUP]");
    EXPECT_EQ(form.back(), "[END]");
    // Whole entries only: an id and its caption.
    EXPECT_EQ((form.size() - 3) % 2, 0u);
    size_t used = 0;
    for (const std::string& s : form) used += s.size() + 1;
    ASSERT_LT(used, buffer.size());
    EXPECT_EQ(buffer[used], '\0');
}

TEST(RightMenuFileTest, LoadingReadsTheFileAndAnswersZeroForAMissingOrDamagedOne)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("rightmenu.ini", "A,1\r\nSEPARATOR\r\n"));
    std::string damaged;
    for (int i = 0; i < 9000; ++i) damaged += "長い項目の名前です,1234\n";
    ASSERT_TRUE(folder.Write("damaged.ini", damaged));

    EXPECT_EQ(LoadRightMenuFile(folder.File("rightmenu.ini").c_str()), 0) << "no buffer yet";
    ASSERT_EQ(AllocRightMenuBuffer(), 1);
    EXPECT_EQ(LoadRightMenuFile(folder.File("rightmenu.ini").c_str()), 1);
    EXPECT_EQ(Strings(RightMenuParsedForm(), kRightMenuBufferSize), (Form{"1", "A", "SEPARATOR"}));
    EXPECT_EQ(LoadRightMenuFile(folder.File("missing.ini").c_str()), 0);
    EXPECT_TRUE(Strings(RightMenuParsedForm(), kRightMenuBufferSize).empty());
    EXPECT_EQ(LoadRightMenuFile(folder.File("damaged.ini").c_str()), 0);
    const Form kept = Strings(RightMenuParsedForm(), kRightMenuBufferSize);
    EXPECT_GT(kept.size(), 100u);
    EXPECT_EQ(kept.size() % 2, 0u);
    FreeRightMenuBuffer();
    EXPECT_EQ(RightMenuParsedForm(), nullptr);
}

struct Recorder : RightMenuFileVisitor {
    std::vector<std::string> calls;
    void Entry(long id, const char* caption) override { calls.push_back(std::to_string(id) + " " + caption); }
    void Separator() override { calls.push_back("-"); }
    void GroupBegin(const char* caption) override { calls.push_back("> " + std::string(caption)); }
    void GroupEnd() override { calls.push_back("<"); }
};

TEST(RightMenuFileTest, TheWalkVisitsItemsInOrderAndStopsAtTheBufferEnd)
{
    std::vector<char> buffer(kRightMenuBufferSize);
    ParseRightMenuText("A,1\nSEPARATOR\n[POPUP]G\n,99999\n[END]\n", buffer.data(), buffer.size());
    Recorder walk;
    WalkRightMenuForm(buffer.data(), buffer.size(), walk);
    EXPECT_EQ(walk.calls, (std::vector<std::string>{"1 A", "-", "> G", "99999 ", "<"}));

    // A form without its closing string (a caller's damaged buffer) ends at the buffer's end.
    const char unterminated[] = {'7', '\0', 'B', '\0', '8', '\0', 'C'};
    Recorder cut;
    WalkRightMenuForm(unterminated, sizeof unterminated, cut);
    EXPECT_EQ(cut.calls, (std::vector<std::string>{"7 B"}));
}

}  // namespace
