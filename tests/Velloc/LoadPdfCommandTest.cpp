#include "GTest.h"

#include "CadPdf/LoadPdf.h"
#include "DravikDb.h"
#include "PdfFixture.h"
#include "PdfImportFakes.h"
#include "MessageBoxAnswerer.h"
#include "TempFolder.h"

#include <climits>

namespace {

struct TestDatabase
{
    EngineDbRecord record{};
    bool created = ZUriCreateDB(&record) == 1;
    ~TestDatabase()
    {
        if (created) ZUriDeleteDB(&record);
    }
};

}  // namespace

TEST(LoadPdfCommand, TakePageOption)
{
    struct Case { const char* text; int page; const char* rest; };
    const Case cases[] = {
        {"/PG:2 /OD C:\\a.pdf", 2, "/OD C:\\a.pdf"},
        {"/PG:1x2 C:\\a.pdf", 12, "C:\\a.pdf"},
        {"C:\\a.pdf", 0, "C:\\a.pdf"},
        {"/PG: C:\\a.pdf", 0, "C:\\a.pdf"},
        {"C:\\a.pdf /PG:0", 0, "C:\\a.pdf"},
        {"/PG:99999999999999 a.pdf", INT_MAX, "a.pdf"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(c.page, TakePageOption(text)) << c.text;
        EXPECT_EQ(c.rest, text) << c.text;
    }
}

TEST(LoadPdfCommand, BatchImportIntoTheCallersDatabase)
{
    StartCmdExFn start = LoadVellocStartCmdEx();
    ASSERT_NE(nullptr, start);
    TempFolder folder;
    PdfFixture pdf(595.2756, 841.8898);
    pdf.AddPage(595.2756, 841.8898);
    pdf.SetContent("0 0 m 100 0 l S", 0);
    pdf.SetContent("10 10 30 40 re S 1 0 0 RG 0 0 m 50 50 l S", 1);
    ASSERT_TRUE(folder.Write("two pages.pdf", pdf.Bytes()));

    struct Case { std::string line; int result; int elements; };
    const Case cases[] = {
        {folder.File("two pages.pdf") + " /c:PDF読込", 2, 1},
        {"/PG:1 " + folder.File("two pages.pdf") + " /c:PDF読込", 2, 5},
    };
    for (const Case& c : cases) {
        TestDatabase db;
        ASSERT_TRUE(db.created);
        MessageBoxAnswerer answer;
        EXPECT_EQ(c.result, start(nullptr, c.line.c_str(), &db.record)) << c.line;
        EXPECT_EQ(c.elements, ZUriGetElmNum(&db.record)) << c.line;
        EXPECT_EQ(0, answer.Count()) << answer.LastText();
    }
}

TEST(LoadPdfCommand, BadFilesGiveMinusOneAndAMessage)
{
    StartCmdExFn start = LoadVellocStartCmdEx();
    ASSERT_NE(nullptr, start);
    TempFolder folder;
    PdfFixture pdf;
    pdf.SetContent("0 0 m 100 0 l S");
    const std::string good = pdf.Bytes();
    folder.Write("empty.pdf", "");
    folder.Write("text.pdf", "hello");
    folder.Write("half.pdf", good.substr(0, good.size() / 2));
    folder.Write("good.pdf", good);
    struct Case { std::string line; int result; };
    const Case cases[] = {
        {folder.File("empty.pdf") + " /c:PDF読込", -1},
        {folder.File("text.pdf") + " /c:PDF読込", -1},
        {folder.File("half.pdf") + " /c:PDF読込", -1},
        {folder.File("missing.pdf") + " /c:PDF読込", -1},
        {"/PG:5 " + folder.File("good.pdf") + " /c:PDF読込", -1},  // no such page
        {std::string(300, 'x') + ".pdf /c:PDF読込", -1},           // longer than a path can be
    };
    for (const Case& c : cases) {
        TestDatabase db;
        MessageBoxAnswerer answer;
        EXPECT_EQ(c.result, start(nullptr, c.line.c_str(), &db.record)) << c.line;
        EXPECT_GE(answer.Count(), 1) << c.line;
        EXPECT_EQ(0, ZUriGetElmNum(&db.record));
    }
}
