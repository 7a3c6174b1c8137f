// XML definition files: load, values by path, stores, pruning and the Shift_JIS write.
#include "GTest.h"

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/DefFile.h"

namespace {

using Texts = std::vector<std::string>;

// Literals here are code page 932, so this fixture is written in Shift_JIS bytes.
const char kFixture[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<Root>\r\n"
    "  <!-- kept only by SaveRaw -->\r\n"
    "  <Section>\r\n"
    "    <Key>値</Key>\r\n"
    "    <Inner><A>1</A></Inner>\r\n"
    "    <Mixed><E>x</E>tail</Mixed>\r\n"
    "    <Empty></Empty>\r\n"
    "    <Item>one</Item>\r\n"
    "    <Item>two</Item>\r\n"
    "    <Attr name=\"n1\">v</Attr>\r\n"
    "    <Path>C:\\表\\ソフト</Path>\r\n"
    "  </Section>\r\n"
    "</Root>\r\n";

std::string g_boxText;
std::string g_boxCaption;
UINT g_boxType = 0;
int g_boxCount = 0;

int WINAPI FakeBox(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    g_boxText = text ? text : "";
    g_boxCaption = caption ? caption : "";
    g_boxType = type;
    ++g_boxCount;
    return IDOK;
}

class XmlFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_boxCount = 0;
        g_boxText.clear();
        CXMLFile::errorBox = FakeBox;
        ASSERT_TRUE(folder.Write("def.xml", kFixture));
        ASSERT_EQ(1, file.Load(folder.File("def.xml").c_str())) << file.lastError;
    }
    void TearDown() override { CXMLFile::errorBox = MessageBoxA; }

    TempFolder folder;
    CDefFile file;
};

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

TEST_F(XmlFileTest, LoadFailuresLeaveNoDocumentAndAReason)
{
    EXPECT_TRUE(file.lastError.empty());
    const struct {
        const char* name;
        const char* bytes;  // null: the file does not exist
    } cases[] = {
        {"missing.xml", nullptr},
        {"broken.xml", "<Root><a></Root>"},
        {"empty.xml", ""},
        {"badsjis.xml", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><Root>\x81\x20</Root>"},
    };
    for (const auto& c : cases) {
        if (c.bytes) {
            ASSERT_TRUE(folder.Write(c.name, c.bytes));
        }
        CXMLFile xml;
        ASSERT_EQ(1, xml.Load(folder.File("def.xml").c_str()));
        EXPECT_EQ(0, xml.Load(folder.File(c.name).c_str())) << c.name;
        EXPECT_FALSE(xml.document) << c.name;  // the earlier document is released too
        EXPECT_TRUE(StartsWith(xml.lastError, "設定ファイル処理でエラーが発生しました。\n")) << c.name;
        EXPECT_GT(xml.lastError.size(), std::string("設定ファイル処理でエラーが発生しました。\n").size()) << c.name;
    }
    CDefFile byPath(folder.File("def.xml").c_str());
    EXPECT_TRUE(byPath.document);
    CDefFile missing(folder.File("missing.xml").c_str());
    EXPECT_FALSE(missing.document);
}

TEST_F(XmlFileTest, GetStringByTwoPartPath)
{
    const struct {
        const char* section;
        const char* key;
        const char* def;
        int result;
        const char* out;
    } cases[] = {
        {"Section", "Key", "d", 0, "値"},
        {"Section", "Inner", "d", 1, "d"},  // only child elements: no value
        {"Section", "Mixed", "d", 0, "tail"},
        {"Section", "Missing", nullptr, 1, ""},
        {"Section", "Empty", "d", 1, "d"},
        {"Section", "Item", "d", 0, "one"},
        {"Section", "Item[2]", "d", 0, "two"},
        {"Section/Inner", "A", "d", 0, "1"},
        {"Section", "Attr/@name", "d", 0, "n1"},
        {"Section", "Path", "d", 0, "C:\\表\\ソフト"},
        {"/Root/Section", "Key", "d", 0, "値"},
    };
    for (const auto& c : cases) {
        std::string out = "unchanged";
        EXPECT_EQ(c.result, file.GetString(c.section, c.key, c.def, out)) << c.section << "/" << c.key;
        EXPECT_EQ(c.out, out) << c.section << "/" << c.key;
    }
    char narrow[5];
    EXPECT_EQ(0, file.GetString("Section", "Path", "", narrow, sizeof narrow));
    EXPECT_STREQ("C:\\", narrow);  // "表" does not fit whole
}

TEST_F(XmlFileTest, ReadFailuresSetLastErrorAndLeaveOutput)
{
    std::string out = "unchanged";
    EXPECT_EQ(-1, file.GetString("Section", "[bad", "d", out));
    EXPECT_EQ("unchanged", out);
    EXPECT_TRUE(StartsWith(file.lastError, "設定ファイルの読込みに失敗しました。\nError: 80004005: ")) << file.lastError;
    EXPECT_EQ('\n', file.lastError.back());

    Texts names;
    file.lastError.clear();
    EXPECT_EQ(-1, file.GetChildNames("Section/Nope", names));
    EXPECT_TRUE(StartsWith(file.lastError, "設定ファイルの読込みに失敗しました。\nError: 80004003: ")) << file.lastError;
    EXPECT_TRUE(names.empty());

    CDefFile none;
    EXPECT_EQ(-1, none.GetString("a", "b", "d", out));
    EXPECT_EQ(-1, none.GetStringList("a", "b", names));
    EXPECT_EQ(-1, none.SetString("a", "b", "v", 1));
    EXPECT_EQ(-1, none.SetStringAt("a", "b", "v", 0));
    none.RemoveEmptyElements();
    none.SaveRaw(folder.File("none.xml").c_str());
    EXPECT_EQ(0, none.Save(folder.File("none.xml").c_str()));
    EXPECT_EQ(1, g_boxCount);
}

TEST_F(XmlFileTest, StringListsAndChildNames)
{
    Texts list;
    EXPECT_EQ(0, file.GetStringList("Section", "Item", list));
    EXPECT_EQ((Texts{"one", "two"}), list);
    EXPECT_EQ(0, file.GetStringList("Section", "Mixed", list));  // appended, all text below joined
    EXPECT_EQ((Texts{"one", "two", "xtail"}), list);
    EXPECT_EQ(-1, file.GetStringList("Section", "Nope", list));
    EXPECT_EQ(3u, list.size());

    const struct {
        const char* path;
        int result;
        Texts names;
    } cases[] = {
        {"Section/Inner", 0, {"A"}},
        {".", 0, {"#comment", "Section"}},
        {"Section/Mixed", 0, {"E", "#text"}},
        {"Section", 0, {"Key", "Inner", "Mixed", "Empty", "Item", "Item", "Attr", "Path"}},
        {"Section/Empty", -1, {}},
    };
    for (const auto& c : cases) {
        Texts names;
        EXPECT_EQ(c.result, file.GetChildNames(c.path, names)) << c.path;
        EXPECT_EQ(c.names, names) << c.path;
    }
}

TEST_F(XmlFileTest, SetStringWalk)
{
    std::string out;
    // Switch off: replaces an existing text only.
    EXPECT_EQ(0, file.SetString("Section", "Key", "新しい値", 0));
    EXPECT_EQ(0, file.GetString("Section", "Key", "", out));
    EXPECT_EQ("新しい値", out);

    // Switch on over an existing text: a second element beside the first.
    EXPECT_EQ(0, file.SetString("Section", "Key", "二つ目", 1));
    Texts keys;
    EXPECT_EQ(0, file.GetStringList("Section", "Key", keys));
    EXPECT_EQ((Texts{"新しい値", "二つ目"}), keys);
    EXPECT_EQ(0, file.GetString("Section", "Key", "", out));
    EXPECT_EQ("新しい値", out);

    // Missing inner steps: nothing with the switch off, everything made with it on.
    Texts before, after;
    file.GetChildNames(".", before);
    EXPECT_EQ(-1, file.SetString("New/Inner", "Leaf", "v", 0));
    file.GetChildNames(".", after);
    EXPECT_EQ(before, after);
    EXPECT_EQ(0, file.SetString("New/Inner", "Leaf", "v", 1));
    EXPECT_EQ(0, file.GetString("New/Inner", "Leaf", "", out));
    EXPECT_EQ("v", out);

    // An empty element at the end of the path takes the value.
    EXPECT_EQ(0, file.SetString("Section", "Empty", "入った", 0));
    EXPECT_EQ(0, file.GetString("Section", "Empty", "", out));
    EXPECT_EQ("入った", out);
    // An element holding only elements does not.
    EXPECT_EQ(-1, file.SetString("Section", "Inner", "x", 0));

    // Attributes are values too.
    EXPECT_EQ(0, file.SetStringAt("Section", "Attr/@name", "n2", 0));
    EXPECT_EQ(0, file.GetString("Section", "Attr/@name", "", out));
    EXPECT_EQ("n2", out);

    // A name no element can have fails with the write text.
    file.lastError.clear();
    EXPECT_EQ(-1, file.SetString("Section", "1bad", "x", 1));
    EXPECT_TRUE(StartsWith(file.lastError, "設定ファイルの書き込みに失敗しました。\nError: 80004005: ")) << file.lastError;
    file.lastError.clear();
    EXPECT_EQ(-1, file.SetString("Section", "[oops", "x", 0));
    EXPECT_FALSE(file.lastError.empty());
}

TEST_F(XmlFileTest, SetStringAtByIndex)
{
    std::string out;
    EXPECT_EQ(-1, file.SetStringAt("Section", "Item", "x", 2));
    Texts items;
    file.GetStringList("Section", "Item", items);
    EXPECT_EQ((Texts{"one", "two"}), items);

    EXPECT_EQ(0, file.SetStringAt("Section", "Item", "二", 1));
    items.clear();
    file.GetStringList("Section", "Item", items);
    EXPECT_EQ((Texts{"one", "二"}), items);

    // The whole content goes, child elements included.
    EXPECT_EQ(0, file.SetStringAt("Section", "Inner", "flat", 0));
    Texts names;
    EXPECT_EQ(0, file.GetChildNames("Section/Inner", names));
    EXPECT_EQ((Texts{"#text"}), names);
    EXPECT_EQ(0, file.GetString("Section", "Inner", "", out));
    EXPECT_EQ("flat", out);

    // A negative index stores as SetString with the switch on.
    EXPECT_EQ(0, file.SetStringAt("Other", "Leaf", "w", -1));
    EXPECT_EQ(0, file.GetString("Other", "Leaf", "", out));
    EXPECT_EQ("w", out);
}

TEST_F(XmlFileTest, RemoveEmptyElementsPrunesToContent)
{
    ASSERT_TRUE(folder.Write("prune.xml",
                             "<Root><a/><b></b><!--c--><?pi x?><c><d/></c><e x='1'/>"
                             "<f><g>t</g><h/></f><i><![CDATA[data]]></i><j> </j></Root>"));
    CDefFile prune(folder.File("prune.xml").c_str());
    ASSERT_TRUE(prune.document);
    prune.RemoveEmptyElements();
    Texts names;
    EXPECT_EQ(0, prune.GetChildNames(".", names));
    EXPECT_EQ((Texts{"f", "i", "j"}), names);  // a blank that is the whole content is a value
    std::string blank;
    EXPECT_EQ(0, prune.GetString("j", ".", "d", blank));
    EXPECT_EQ(" ", blank);
    names.clear();
    EXPECT_EQ(0, prune.GetChildNames("f", names));
    EXPECT_EQ((Texts{"g"}), names);

    ASSERT_TRUE(folder.Write("bare.xml", "<Root><a/><!--c--><b><c></c></b></Root>"));
    CDefFile bare(folder.File("bare.xml").c_str());
    bare.RemoveEmptyElements();
    names.clear();
    EXPECT_EQ(-1, bare.GetChildNames(".", names));
    ASSERT_EQ(1, bare.Save(folder.File("bare.xml").c_str()));
    CDefFile reloaded(folder.File("bare.xml").c_str());
    ASSERT_TRUE(reloaded.document);
    EXPECT_STREQ("Root", reloaded.document->document_element().name());
}

TEST_F(XmlFileTest, SaveWritesIndentedShiftJisWithoutComments)
{
    ASSERT_EQ(0, file.SetString("Section", "Key", "日本語～－", 0));
    const std::string path = folder.File("out.xml");
    ASSERT_EQ(1, file.Save(path.c_str()));
    EXPECT_EQ(0, g_boxCount);

    const std::string bytes = folder.Read("out.xml");
    EXPECT_TRUE(StartsWith(bytes, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>")) << bytes;
    EXPECT_NE(std::string::npos, bytes.find("<Key>日本語～－</Key>"));
    EXPECT_NE(std::string::npos, bytes.find("\x81\x60\x81\x7C"));  // "～－" as code page 932 bytes
    EXPECT_NE(std::string::npos, bytes.find("\n\t\t<Key>"));
    EXPECT_EQ(std::string::npos, bytes.find("<!--"));
    EXPECT_EQ(std::string::npos, bytes.find("<?xml", 5));

    CDefFile again(path.c_str());
    ASSERT_TRUE(again.document) << again.lastError;
    std::string out;
    EXPECT_EQ(0, again.GetString("Section", "Key", "", out));
    EXPECT_EQ("日本語～－", out);
    EXPECT_EQ(0, again.GetString("Section", "Path", "", out));
    EXPECT_EQ("C:\\表\\ソフト", out);

    // Only the target is left in the folder: the temporary file was renamed over it.
    WIN32_FIND_DATAA found;
    int count = 0;
    HANDLE h = FindFirstFileA(folder.File("*.tmp").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do
            ++count;
        while (FindNextFileA(h, &found));
        FindClose(h);
    }
    EXPECT_EQ(0, count);
}

TEST_F(XmlFileTest, SaveReplacesAnExistingFile)
{
    ASSERT_TRUE(folder.Write("old.xml", std::string(5000, 'x')));
    ASSERT_EQ(1, file.Save(folder.File("old.xml").c_str()));
    const std::string bytes = folder.Read("old.xml");
    EXPECT_TRUE(StartsWith(bytes, "<?xml"));
    EXPECT_EQ(std::string::npos, bytes.find("xxxx"));
}

TEST_F(XmlFileTest, SaveToANameEndingInTrailByte5C)
{
    // "表" is 95 5C: its second byte is no separator, so the temporary file goes beside the
    // target and the save succeeds.
    for (const char* name : {"表", "ソ.xml"}) {
        ASSERT_EQ(1, file.Save(folder.File(name).c_str())) << name << " " << g_boxText;
        EXPECT_TRUE(StartsWith(folder.Read(name), "<?xml")) << name;
    }
    EXPECT_EQ(0, g_boxCount);
}

TEST_F(XmlFileTest, SaveIntoMissingFolderShowsTheErrorBox)
{
    EXPECT_EQ(0, file.Save(folder.File("no\\such\\folder\\out.xml").c_str()));
    EXPECT_EQ(1, g_boxCount);
    EXPECT_EQ("エラー", g_boxCaption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), g_boxType & MB_ICONMASK);
    EXPECT_TRUE(StartsWith(g_boxText, "設定ファイルの書き込みに失敗しました。\nError: 8007")) << g_boxText;
    EXPECT_TRUE(file.document);  // nothing in memory is lost
}

TEST_F(XmlFileTest, SaveRawKeepsTheDocumentAsItIs)
{
    const std::string path = folder.File("raw.xml");
    file.SaveRaw(path.c_str());
    const std::string bytes = folder.Read("raw.xml");
    EXPECT_TRUE(StartsWith(bytes, "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>")) << bytes;
    EXPECT_NE(std::string::npos, bytes.find("<!-- kept only by SaveRaw -->"));
    EXPECT_NE(std::string::npos, bytes.find("<Key>値</Key>"));
    CDefFile again(path.c_str());
    ASSERT_TRUE(again.document) << again.lastError;
}

TEST_F(XmlFileTest, Utf8FilesAndCharactersOutsideCodePage932)
{
    // UTF-8 bytes written directly: "値" is E5 80 A4, U+1F600 is F0 9F 98 80.
    ASSERT_TRUE(folder.Write("utf8.xml", "<Root><K>\xE5\x80\xA4</K><E>a\xF0\x9F\x98\x80z</E></Root>"));
    CDefFile utf8(folder.File("utf8.xml").c_str());
    ASSERT_TRUE(utf8.document) << utf8.lastError;
    std::string out;
    EXPECT_EQ(0, utf8.GetString("K", ".", "", out));
    EXPECT_EQ("値", out);
    // What code page 932 cannot hold is written as a character reference, so it is not lost.
    ASSERT_EQ(1, utf8.Save(folder.File("sjis.xml").c_str()));
    EXPECT_NE(std::string::npos, folder.Read("sjis.xml").find("a&#x1F600;z"));
    CDefFile back(folder.File("sjis.xml").c_str());
    ASSERT_TRUE(back.document) << back.lastError;
    EXPECT_STREQ("a\xF0\x9F\x98\x80z", back.document->document_element().child("E").child_value());
}

TEST_F(XmlFileTest, NamesOutsideCodePage932AreNotWrittenAsAFileThatCannotBeRead)
{
    // An element, an attribute and a processing-instruction name with U+1F600 (F0 9F 98 80):
    // a character reference cannot stand in a name, so the save is refused and the old file
    // stays.
    const std::string cases[] = {"<Root><E\xF0\x9F\x98\x80>1</E\xF0\x9F\x98\x80></Root>",
                                 "<Root><E a\xF0\x9F\x98\x80=\"1\">2</E></Root>",
                                 "<?p\xF0\x9F\x98\x80 x?><Root><E>2</E></Root>"};
    for (const std::string& text : cases) {
        g_boxCount = 0;
        ASSERT_TRUE(folder.Write("odd.xml", text));
        CDefFile odd(folder.File("odd.xml").c_str());
        ASSERT_TRUE(odd.document) << odd.lastError;
        ASSERT_TRUE(folder.Write("out.xml", "old"));
        EXPECT_EQ(0, odd.Save(folder.File("out.xml").c_str()));
        EXPECT_EQ(1, g_boxCount);
        EXPECT_TRUE(StartsWith(g_boxText, "設定ファイルの書き込みに失敗しました。\nError: 8007")) << g_boxText;
        EXPECT_EQ("old", folder.Read("out.xml"));
    }
}
