// Element links kept as tag texts of real engine elements.
#include "ElementServiceFixture.h"

#include <cstring>

#include "HostMessages.h"
#include "commands/LinkTags.h"

namespace {

class LinkTest : public ElementServiceTest {
protected:
    void* element = nullptr;
    char key[64] = {};
    char value[700] = {};

    void SetUp() override
    {
        ElementServiceTest::SetUp();
        element = Append(MakeLine(0, 0, 1, 1));
    }
    CmdParamRecord Param(const char* k, const char* v, int index = 0, void* on = nullptr)
    {
        CmdParamRecord p = ViewParam();
        p.element = reinterpret_cast<INT_PTR>(on != nullptr ? on : element);
        if (k) std::strcpy(key, k);
        if (v) std::strcpy(value, v);
        p.text = k ? key : nullptr;
        p.key = v ? reinterpret_cast<INT_PTR>(value) : 0;
        p.mode = index;
        return p;
    }
    LRESULT Set(const char* k, const char* v, void* on = nullptr)
    {
        CmdParamRecord p = Param(k, v, 0, on);
        return Send(WM_CAD_LINK_SET, 0, p);
    }
    std::string Text(void* on = nullptr)
    {
        char buffer[1024] = {};
        ZUriGetTagString(on ? on : element, buffer);
        return buffer;
    }
    std::pair<std::string, std::string> Get(int index)
    {
        CmdParamRecord p = Param(nullptr, nullptr, index);
        char k[32], v[32];
        std::memset(k, 'x', sizeof k);
        std::memset(v, 'x', sizeof v);
        k[31] = v[31] = 0;
        p.text = k;
        p.key = reinterpret_cast<INT_PTR>(v);
        EXPECT_EQ(Send(WM_CAD_LINK_GET, 0, p), 1);
        return {k, v};
    }
    int Count()
    {
        CmdParamRecord p = Param(nullptr, nullptr);
        return static_cast<int>(Send(WM_CAD_LINK_ENTRY_COUNT, 0, p));
    }
};

struct EntryCase {
    const char* name;
    const char* key;
    const char* value;
    std::string stored;
};

class LinkEntryTest : public LinkTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(LinkEntryTest, FirstEntryIsStoredInItsFixedForm)
{
    const EntryCase& c = GetParam();
    EXPECT_EQ(Set(c.key, c.value), 1);
    EXPECT_EQ(Text(), "Korva21000" + c.stored);
    EXPECT_EQ(ZUriGetTag(element, kLinkTag), 1);
    EXPECT_EQ(Count(), 1);
    EXPECT_FALSE(site.modifiedViews.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Entries, LinkEntryTest,
    ::testing::Values(EntryCase{"PartA1", "PART", "A1", "PART    A1              "},
                      EntryCase{"LongKeyCut", "ABCDEFGHIJKL", "v", "ABCDEFGHv               "},
                      EntryCase{"LongValueCut", "K", "12345678901234567890", "K       1234567890123456"},
                      EntryCase{"AnchorValueRuns", "Z01LINK", "12345678901234567890", "Z01LINK 12345678901234567890"}),
    [](const ::testing::TestParamInfo<EntryCase>& info) { return std::string(info.param.name); });

TEST_F(LinkTest, ReadCutsAtTheFirstBlankAndLeavesBuffersOfElementsWithoutLink)
{
    Set("A B", "x y");
    EXPECT_EQ(Get(0), std::make_pair(std::string("A"), std::string("x")));
    void* plain = Append(MakePoint(0, 0));
    CmdParamRecord p = Param(nullptr, nullptr, 0, plain);
    char k[8] = "keep", v[8] = "keep";
    p.text = k;
    p.key = reinterpret_cast<INT_PTR>(v);
    EXPECT_EQ(Send(WM_CAD_LINK_GET, 0, p), 1);
    EXPECT_STREQ(k, "keep");
    EXPECT_EQ(Send(WM_CAD_LINK_ENTRY_COUNT, 0, p), 0);
    EXPECT_EQ(Send(WM_CAD_LINK_REMOVE, 0, p), 1) << "removing a missing link still answers 1";
}

TEST_F(LinkTest, IndexOutsideTheEntriesAnswersZeroAndTouchesNothing)
{
    Set("ONE", "1");
    const std::string before = Text();
    for (int index : {-1, 1, 9}) {
        CmdParamRecord p = Param("NEW", "2", index);
        EXPECT_EQ(Send(WM_CAD_LINK_UPDATE, 0, p), 0) << index;
        char k[32] = "keep", v[32] = "keep";
        p.text = k;
        p.key = reinterpret_cast<INT_PTR>(v);
        EXPECT_EQ(Send(WM_CAD_LINK_GET, 0, p), 0) << index;
        EXPECT_STREQ(k, "keep");
    }
    EXPECT_EQ(Text(), before);
}

TEST_F(LinkTest, TenthEntryAndEntriesBehindALongAnchorAreRefused)
{
    for (int i = 0; i < 9; ++i) EXPECT_EQ(Set("K", "v"), 1);
    const std::string nine = Text();
    EXPECT_EQ(Set("K", "v"), 0);
    EXPECT_EQ(Text(), nine);

    void* other = Append(MakePoint(1, 1));
    EXPECT_EQ(Set("Z01LINK", "a-value-longer-than-sixteen", other), 1);
    const std::string anchored = Text(other);
    EXPECT_EQ(Set("AFTER", "x", other), 0);
    EXPECT_EQ(Text(other), anchored);
}

TEST_F(LinkTest, UpdateRewritesOneEntryAndKeepsTheOthers)
{
    Set("FIRST", "1");
    Set("SECOND", "2");
    CmdParamRecord p = Param("CHANGED", "3", 1);
    EXPECT_EQ(Send(WM_CAD_LINK_UPDATE, 0, p), 1);
    EXPECT_EQ(Get(0).first, "FIRST");
    EXPECT_EQ(Get(1), std::make_pair(std::string("CHANGED"), std::string("3")));
    EXPECT_EQ(Count(), 2);
}

TEST_F(LinkTest, AppendPastTheWorkBufferIsRefused)
{
    ASSERT_EQ(ZUriSetTagString(element, ("Korva11000" + std::string(580, 'k')).c_str()), 1);
    ZUriSetTag(element, kLinkTag, 1);
    const std::string before = Text();
    EXPECT_EQ(Set("K", "v"), 0);
    EXPECT_EQ(Text(), before);
}

TEST_F(LinkTest, SearchFindsByKeyValueOrAnyLink)
{
    void* a = element;
    void* b = Append(MakePoint(1, 1));
    void* c = Append(MakePoint(2, 2));
    Set("Z01LINK", "target", a);
    Set("PART", "A1", b);
    Set("Z01LINK", "x", b);
    ZUriSetTagString(c, "Korva20000");
    ZUriSetTag(c, kLinkTag, 1);
    Append(MakePoint(3, 3));

    auto search = [&](const char* k, const char* v) {
        CmdParamRecord p = Param(k, v);
        void* mark = reinterpret_cast<void*>(Send(WM_CADDB_LINK_SEARCH, 0, p));
        std::vector<void*> found;
        if (mark == nullptr) return found;
        for (void* e = ZUriGetNextMark(nullptr, mark); e; e = ZUriGetNextMark(e, mark)) found.push_back(e);
        ZUriDestroyMark(mark);
        return found;
    };
    EXPECT_EQ(search("Z01LINK", nullptr), (std::vector<void*>{a, b}));
    EXPECT_EQ(search(nullptr, "A1"), (std::vector<void*>{b}));
    EXPECT_EQ(search("PART", "A1"), (std::vector<void*>{b}));
    EXPECT_EQ(search("", ""), (std::vector<void*>{a, b, c})) << "also the link without entries";
    EXPECT_EQ(search(nullptr, nullptr), (std::vector<void*>{a, b, c}));
    EXPECT_TRUE(search("NONE", nullptr).empty());
    EXPECT_TRUE(search("part", nullptr).empty()) << "case counts";
}

TEST_F(LinkTest, RemoveClearsTextAndTag)
{
    Set("PART", "A1");
    CmdParamRecord p = Param(nullptr, nullptr);
    EXPECT_EQ(Send(WM_CAD_LINK_REMOVE, 0, p), 1);
    EXPECT_EQ(ZUriGetTag(element, kLinkTag), 0);
    EXPECT_EQ(ZUriGetTagString(element, nullptr), 0);
    EXPECT_EQ(Count(), 0);
}

}  // namespace

namespace {

TEST_F(LinkTest, ClickOnAnElementWithAnAnchorLinkIsTaken)
{
    void* anchored = Append(MakePoint(50, 50));
    Set("Z01LINK", "CMDEXEC:5990", anchored);
    void* other = Append(MakePoint(80, 80));
    Set("PART", "A1", other);
    SearchBlock before{};
    before.typeMask = 0x2;
    ZUriDbSetSerch(&before);
    EXPECT_EQ(FindLinkAtPoint(view, 50, 50, 0, 1), 1);
    EXPECT_EQ(FindLinkAtPoint(view, 80, 80, 0, 1), 0) << "a link without the anchor key";
    EXPECT_EQ(FindLinkAtPoint(view, 300, 300, 0, 1), 0) << "nothing under the point";
    EXPECT_EQ(FindLinkAtPoint(FakeView(9), 50, 50, 0, 1), 0) << "no drawing block";
    SearchBlock after{};
    ZUriDbGetSerch(&after);
    EXPECT_EQ(after.typeMask, 0x2u) << "the engine's search block is put back";
}

}  // namespace
