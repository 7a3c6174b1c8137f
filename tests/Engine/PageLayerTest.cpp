#include "GTest.h"

#include "EngineFixture.h"

#include <memory>
#include <vector>

namespace {

std::unique_ptr<uint8_t[]> PageBuffer()
{
    auto buffer = std::make_unique<uint8_t[]>(kPageBufferSize);
    std::memset(buffer.get(), 0, kPageBufferSize);
    return buffer;
}

EnginePageRecord* AsPage(std::unique_ptr<uint8_t[]>& buffer)
{
    return reinterpret_cast<EnginePageRecord*>(buffer.get());
}

void AddChild(TestDb& t, int page, int parent)
{
    auto buffer = PageBuffer();
    AsPage(buffer)->parentPage = parent;
    ASSERT_EQ(1, ZUriAddPage(page, buffer.get(), t.db())) << page;
}

}  // namespace

TEST(PageLayer, PagesAreNumberedOneTo256)
{
    TestDb t;
    auto buffer = PageBuffer();
    EXPECT_EQ(1, ZUriChkPage(0, t.db()));
    EXPECT_EQ(0, ZUriGetPageCount(t.db()));
    EXPECT_EQ(0, ZUriGetPage(0, buffer.get(), t.db()));
    const int refused[] = {0, -1, 257, 511, 512};
    for (int page : refused) EXPECT_EQ(0, ZUriAddPage(page, buffer.get(), t.db())) << page;
    EXPECT_EQ(1, ZUriAddPage(256, buffer.get(), t.db()));
    EXPECT_EQ(0, ZUriAddPage(256, buffer.get(), t.db()));
    EXPECT_EQ(1, ZUriAddPage(3, nullptr, t.db()));
    EXPECT_EQ(2, ZUriGetPageCount(t.db()));
    EXPECT_EQ(1, ZUriChkPage(256, t.db()));
    EXPECT_EQ(0, ZUriChkPage(5, t.db()));
    EXPECT_EQ(1, ZUriGetPage(3, buffer.get(), t.db()));
    EXPECT_EQ(3, AsPage(buffer)->pageNumber);
    EXPECT_NE(nullptr, ZUriGetDbInfoPtr(3, t.db()));
    EXPECT_EQ(nullptr, ZUriGetDbInfoPtr(4, t.db()));
    EXPECT_EQ(nullptr, ZUriGetDbInfoPtr(600, t.db()));
    EXPECT_EQ(1, ZUriDelPage(3, t.db()));
    EXPECT_EQ(0, ZUriDelPage(3, t.db()));
    EXPECT_EQ(nullptr, ZUriGetPtPage(3, t.db()));
    EXPECT_NE(nullptr, ZUriGetPtPage(256, t.db()));
}

TEST(PageLayer, ChangedPageKeepsEveryOtherByte)
{
    TestDb t;
    ASSERT_EQ(1, ZUriAddPage(2, nullptr, t.db()));
    ASSERT_EQ(1, ZUriSetLayerName(2, 5, "電気", t.db()));
    auto first = PageBuffer(), second = PageBuffer();
    ASSERT_EQ(1, ZUriGetPage(2, first.get(), t.db()));
    AsPage(first)->externalReference = 1;
    ASSERT_EQ(1, ZUriChgPage(2, first.get(), t.db()));
    ASSERT_EQ(1, ZUriGetPage(2, second.get(), t.db()));
    EXPECT_EQ(0, std::memcmp(first.get(), second.get(), sizeof(EnginePageRecord)));
    char name[258];
    EXPECT_EQ(1, ZUriGetLayerName(2, 5, 0, name, t.db()));
    EXPECT_STREQ("電気", name);
}

TEST(PageLayer, WalksOverThePageTree)
{
    TestDb t;
    AddChild(t, 1, 0);
    AddChild(t, 2, 1);
    AddChild(t, 3, 0);
    AddChild(t, 4, 2);
    AddChild(t, 5, 1);
    auto buffer = PageBuffer();

    std::vector<int> byNumber;
    for (int p = ZUriGetNextPage(0, buffer.get(), t.db()); p != 0; p = ZUriGetNextPage(p, buffer.get(), t.db())) {
        byNumber.push_back(p);
        EXPECT_EQ(p, AsPage(buffer)->pageNumber);
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 5}), byNumber);

    std::vector<int> depthFirst;
    for (int p = ZUriGetDownNextPage(0, nullptr, t.db()); p != 0; p = ZUriGetDownNextPage(p, nullptr, t.db())) {
        depthFirst.push_back(p);
        ASSERT_LT(depthFirst.size(), 10u);
    }
    EXPECT_EQ((std::vector<int>{1, 2, 4, 5, 3}), depthFirst);

    EXPECT_EQ(0, ZUriGetPageLv(0, t.db()));
    EXPECT_EQ(1, ZUriGetPageLv(1, t.db()));
    EXPECT_EQ(3, ZUriGetPageLv(4, t.db()));
    EXPECT_EQ(-1, ZUriGetPageLv(9, t.db()));

    // A page that names itself or a child of its own as parent is put under page 0.
    ASSERT_EQ(1, ZUriGetPage(1, buffer.get(), t.db()));
    AsPage(buffer)->parentPage = 4;
    ASSERT_EQ(1, ZUriChgPage(1, buffer.get(), t.db()));
    EXPECT_EQ(1, ZUriGetPageLv(1, t.db()));
}

TEST(PageLayer, LayerNamesAndBlocks)
{
    TestDb t;
    char name[258];
    EXPECT_EQ(0, ZUriGetLayerName(0, 3, 0, name, t.db()));
    EXPECT_EQ(1, ZUriGetLayerName(0, 3, 1, name, t.db()));
    EXPECT_STREQ("", name);
    EXPECT_EQ(1, ZUriSetLayerName(0, 3, "レイヤ 4", t.db()));
    EXPECT_EQ(1, ZUriGetLayerName(0, 3, 0, name, t.db()));
    EXPECT_STREQ("レイヤ 4", name);
    EXPECT_EQ(0, ZUriSetLayerName(0, 1024, "x", t.db()));
    EXPECT_EQ(0, ZUriGetLayerName(0, 1024, 1, name, t.db()));
    EXPECT_EQ(0, ZUriSetLayerName(0, -1, "x", t.db()));
    EXPECT_EQ(0, ZUriSetLayerName(7, 0, "x", t.db()));
    EXPECT_EQ(1, ZUriSetLayerName(0, 1023, "last", t.db()));

    // A long name is cut to 256 bytes on a character boundary.
    std::string longName;
    for (int i = 0; i < 200; ++i) longName += "表";
    EXPECT_EQ(1, ZUriSetLayerName(0, 10, longName.c_str(), t.db()));
    ZUriGetLayerName(0, 10, 0, name, t.db());
    EXPECT_EQ(256u, std::strlen(name));

    auto block = std::make_unique<LayerInfoBlock>();
    ASSERT_EQ(1, ZUriGetLayerInfo(0, block.get(), t.db()));
    EXPECT_STREQ("レイヤ 4", block->names[3]);
    block->currentLayer = 12;
    block->lockMask[63] = 0x8000;
    const char* renamed = "改名";
    block->names[3] = renamed;
    ASSERT_EQ(1, ZUriSetLayerInfo(0, block.get(), t.db()));
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, t.db()));
    EXPECT_EQ(12, info->layers.currentLayer);
    EXPECT_NE(renamed, info->layers.names[3]);
    EXPECT_STREQ("改名", info->layers.names[3]);
    EXPECT_STREQ("last", info->layers.names[1023]);

    // Locked layer 1023 is seen by the lock test.
    ElementRecord line = MakeLine(0, 0, 1, 1, 1023);
    void* e = ZUriAppendElement(&line, t.db());
    ElementRecord copy;
    EXPECT_EQ(1, QmIsLockLayer(e, t.db(), &copy));
    EXPECT_EQ(1023, copy.layer);
    line.layer = 5;
    EXPECT_EQ(0, QmIsLockLayer(nullptr, t.db(), &line));

    EXPECT_EQ(0, ZUriGetLayerInfo(9, block.get(), t.db()));
}

TEST(PageLayer, InformationRecordCopies)
{
    TestDb t;
    auto info = std::make_unique<DbInfoRecord>();
    ASSERT_EQ(1, ZUriGetDBInfo(info.get(), t.db()));
    std::strcpy(info->title, "配電盤");
    info->scale = 0.01;
    ASSERT_EQ(1, ZUriSetDBInfo(info.get(), t.db()));
    auto* live = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, t.db()));
    EXPECT_STREQ("配電盤", live->record.title);
    EXPECT_DOUBLE_EQ(0.01, live->record.scale);
    EngineDbRecord zeroed{};
    EXPECT_EQ(0, ZUriGetDBInfo(info.get(), &zeroed));
    EXPECT_EQ(0, ZUriSetDBInfo(nullptr, t.db()));
}
