#include "GTest.h"

#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "drawing/CadDatabase.h"

namespace {

struct AttributeCase {
    int input[5];
    int expected[5];
};

TEST(CadDatabase, EachOutOfRangeAttributeTakesItsOwnDefault)
{
    const AttributeCase cases[] = {
        {{-1, 32, 16, 16, 16}, {4, 0, 0, 0, 0}},
        {{257, 5, 3, 2, 1}, {4, 5, 3, 2, 1}},
        {{256, 31, 15, 15, 15}, {256, 31, 15, 15, 15}},
        {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        {{7, -1, -1, 16, -5}, {7, 0, 0, 0, 0}},
    };
    for (const AttributeCase& c : cases) {
        CCadDatabase database;
        database.Create(0, nullptr, nullptr, nullptr, nullptr, c.input);
        const int actual[5] = {database.colour, database.lineType, database.lineWidth, database.startMark,
                               database.endMark};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(actual[i], c.expected[i]) << "attribute " << i << " of " << c.input[i];
    }
}

TEST(CadDatabase, WithoutAttributesAllTakeTheirDefaults)
{
    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(database.colour, 4);
    EXPECT_EQ(database.lineType, 0);
    EXPECT_EQ(database.endMark, 0);
}

TEST(CadDatabase, FreshDrawingShowsPageZeroAllLayersAndScaleOne)
{
    CCadDatabase database;
    const int drawingId = 7, undo = 5;
    TextStyleBlock style = {};
    std::strcpy(style.fontName, "ＭＳ ゴシック");
    style.height = 3.5;
    database.Create(0, &drawingId, nullptr, &undo, &style, nullptr);
    ASSERT_NE(database.engineDb, nullptr);
    EXPECT_EQ(database.dbState, 3);
    EXPECT_EQ(database.drawingId, 7);
    EXPECT_EQ(database.viewNumber, 1);
    EXPECT_EQ(database.untitledNumber, 0);
    EXPECT_EQ(database.fileName[0], '\0');
    for (const ViewModeInfo* mode : {&database.mode0, &database.mode1, &database.mode2}) {
        EXPECT_DOUBLE_EQ(mode->scale, 1.0);
        EXPECT_DOUBLE_EQ(mode->offsetX, 0.0);
    }
    for (int i = 0; i < kViewLayerMaskWords; ++i) {
        EXPECT_EQ(database.layerDisplayMask[i], 0xFFFF);
        EXPECT_EQ(database.layerDetectMask[i], 0xFFFF);
    }
    EXPECT_STREQ(database.textStyle.fontName, "ＭＳ ゴシック");
    EXPECT_DOUBLE_EQ(database.textStyle.height, 3.5);
    auto* record = static_cast<EngineDbRecord*>(database.engineDb);
    EXPECT_EQ(record->pageState.displayMask[0] & 1u, 1u);
    EXPECT_EQ(record->pageState.detectMask[0] & 1u, 1u);
    EXPECT_EQ(ZUriGetElmNum(database.engineDb), 0);
}

TEST(CadDatabase, SecondViewFlagTakesTheCounterPlusOne)
{
    CCadDatabase database;
    const int counter = 4;
    database.Create(1, nullptr, &counter, nullptr, nullptr, nullptr);
    EXPECT_EQ(database.untitledNumber, 5);
}

TEST(CadDatabase, CreateAgainReplacesTheDatabaseAndFreeTwiceIsSafe)
{
    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(database.engineDb, nullptr);
    EXPECT_EQ(ZUriGetElmNum(database.engineDb), 0);
    database.Free();
    EXPECT_EQ(database.engineDb, nullptr);
    EXPECT_EQ(database.dbMemory, nullptr);
    database.Free();
}

TEST(CadDatabase, FreeReleasesTheRasterAttachmentsBuffers)
{
    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    static RasterAttachment attachment;  // the block itself is not the database's to free
    std::memset(&attachment, 0, sizeof attachment);
    attachment.tiffCopy = GlobalLock(GlobalAlloc(GMEM_MOVEABLE, 64));
    attachment.bits = GlobalLock(GlobalAlloc(GMEM_MOVEABLE, 64));
    attachment.displayBitmap = CreateBitmap(4, 4, 1, 1, nullptr);
    static_cast<EngineDbRecord*>(database.engineDb)->rasterAttachment = &attachment;
    database.Free();
    EXPECT_EQ(attachment.tiffCopy, nullptr);
    EXPECT_EQ(attachment.bits, nullptr);
    EXPECT_EQ(attachment.displayBitmap, nullptr);
}

TEST(CadDatabase, SharedDatabaseOutlivesTheDestroyedWindow)
{
    auto* first = new CCadDatabase;
    first->Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    void* db = first->engineDb;
    HGLOBAL memory = first->dbMemory;
    first->severalViews = 1;
    delete first;
    EXPECT_EQ(ZUriGetElmNum(db), 0) << "a shared database was deleted";
    ZUriDeleteDB(db);
    GlobalUnlock(memory);
    GlobalFree(memory);
}

}  // namespace
