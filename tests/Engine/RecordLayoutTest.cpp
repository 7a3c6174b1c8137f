#include "GTest.h"

#include "EngineFixture.h"

#include <cstddef>

TEST(RecordLayout, SizesOfTheSharedRecords)
{
    EXPECT_EQ(397u, sizeof(EngineDbRecord));
    EXPECT_EQ(196u, sizeof(PageStateInfo));
    EXPECT_EQ(4223u, sizeof(DbInfoRecord));
    EXPECT_EQ(105862u, sizeof(DbInfoBlock));
    EXPECT_EQ(19844u, sizeof(LayerInfoBlock));
    EXPECT_EQ(106349u, sizeof(EnginePageRecord));
    EXPECT_EQ(174u, sizeof(ElementRecord));
    EXPECT_EQ(238u, sizeof(EngineNode));
    EXPECT_EQ(60u, sizeof(SearchBlock));
    EXPECT_EQ(64u, sizeof(UndoRecord));
    EXPECT_EQ(2372u, sizeof(DrawParamBlock));
}

TEST(RecordLayout, OffsetsTheCallersRead)
{
    struct Case {
        size_t actual;
        size_t expected;
    } cases[] = {
        {offsetof(DbInfoBlock, layers), 4309},
        {offsetof(DbInfoBlock, lineTypes), 24153},
        {offsetof(DbInfoBlock, colours), 36601},
        {offsetof(DbInfoBlock, lineWidthsMm), 105734},
        {offsetof(EnginePageRecord, info), 28},
        {offsetof(EnginePageRecord, placement), 106155},
        {offsetof(EngineNode, nextElement), 174},
        {offsetof(EngineNode, nextMember), 182},
        {offsetof(EngineNode, groupHeader), 190},
        {offsetof(EngineNode, memberCount), 198},
        {offsetof(EngineNode, flags), 210},
        {offsetof(EngineNode, highlightColour), 214},
        {offsetof(UndoRecord, newer), 56},
        {offsetof(UndoRecord, older), 60},
        {offsetof(DrawParamBlock, drawKind), 476},
        {offsetof(DrawParamBlock, faceName), 500},
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, c.actual);
}

TEST(RecordLayout, NewDatabaseShowsPageZeroAndEveryLayer)
{
    TestDb t;
    ASSERT_TRUE(t.created);
    EXPECT_EQ(1u, t.record.pageState.displayMask[0]);
    EXPECT_EQ(1u, t.record.pageState.detectMask[0]);
    ASSERT_NE(nullptr, t.record.info);
    auto* info = static_cast<DbInfoBlock*>(t.record.info);
    EXPECT_EQ(info, ZUriGetDbInfoPtr(0, t.db()));
    // Layer 1023 is bit 15 of word 63 of each mask.
    EXPECT_EQ(0x8000, info->layers.displayMask[63] & 0x8000);
    EXPECT_EQ(0x8000, info->layers.detectMask[63] & 0x8000);
    EXPECT_EQ(0, info->layers.lockMask[63]);
}

TEST(RecordLayout, StyleTablesFillTheInformationLayouts)
{
    static ColourRecord colours[kColourCount];
    static LineTypeRecord lineTypes[kLineTypeCount];
    double widths[kLineWidthCount] = {};
    EXPECT_EQ(1, ZuriStyleGet(colours, nullptr, nullptr));
    EXPECT_EQ(1, ZuriStyleGet(nullptr, lineTypes, widths));
    EXPECT_EQ(255, colours[1].red & 0xFF);
    EXPECT_NE('\0', colours[2].name[0]);
    EXPECT_EQ(0, lineTypes[0].dashCount);
    EXPECT_GT(lineTypes[1].dashCount, 0);
    for (double w : widths) EXPECT_GT(w, 0.0);
    EXPECT_EQ(1, ZuriStyleGet(nullptr, nullptr, nullptr));
}
