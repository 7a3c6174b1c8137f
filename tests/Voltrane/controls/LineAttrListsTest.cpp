// The line-attribute lists: the built-in table, CSV lines, an engine drawing and the defaults.
#include "GTest.h"

#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "controls/LineAttrLists.h"
#include "controls/PickerHost.h"

namespace {

// An engine database standing in for the active drawing while a test runs.
class ActiveDrawing {
public:
    ActiveDrawing()
    {
        memset(&m_record, 0, sizeof m_record);
        created = ZUriCreateDB(&m_record) == 1;
        s_db = &m_record;
        m_saved = GetPickerHostCalls();
        GetPickerHostCalls().activeDb = [] { return s_db; };
    }
    ~ActiveDrawing()
    {
        GetPickerHostCalls() = m_saved;
        s_db = nullptr;
        ZUriDeleteDB(&m_record);
    }
    DbInfoBlock* info() { return static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, &m_record)); }
    bool created = false;

private:
    static void* s_db;
    EngineDbRecord m_record;
    PickerHostCalls m_saved;
};
void* ActiveDrawing::s_db = nullptr;

TEST(LineEndTypeRowsTest, BuiltInTable)
{
    LineEndTypeList list;
    ParseLineEndTypeRows(list, nullptr, 0);
    ASSERT_EQ(list.rows.size(), 15u);
    for (int i = 0; i < 15; ++i) EXPECT_EQ(list.rows[static_cast<size_t>(i)].number, i);
    EXPECT_EQ(list.rows[7].name, "白丸");
    EXPECT_EQ(list.rows[7].kind, 7);
    EXPECT_EQ(list.rows[14].name, "無し");
    EXPECT_EQ(list.rows[14].kind, 0);
    EXPECT_EQ(list.rows[14].enabled, 1);
    // Parsing adds to what is there.
    ParseLineEndTypeRows(list, nullptr, 0);
    EXPECT_EQ(list.rows.size(), 30u);
    FreeLineEndTypeRows(list);
    EXPECT_TRUE(list.rows.empty());
}

TEST(LineTypeRowsTest, CsvLines)
{
    const char* lines[] = {"5,一点長鎖線, 4, 12.0, 1.5, 0.25, 1.5", "0,実線,0", "9,短い", nullptr,
                           "7,多い,20,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20"};
    LineTypeList list;
    ParseLineTypeRows(list, lines, 5);
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[0].number, 5);
    EXPECT_EQ(list.rows[0].name, "一点長鎖線");
    EXPECT_EQ(list.rows[0].dashCount, 4);
    const double expected[] = {12.0, 1.5, 0.25, 1.5};
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(list.rows[0].dashes[i], expected[i]);
    EXPECT_EQ(list.rows[1].dashCount, 0);
    EXPECT_EQ(list.rows[2].dashCount, 20);  // stored as given; only 16 dashes are kept
    EXPECT_DOUBLE_EQ(list.rows[2].dashes[15], 16.0);
}

TEST(LineTypeRowsTest, DrawingAndDefaults)
{
    LineTypeList defaults;
    ParseLineTypeRows(defaults, nullptr, 0);
    ASSERT_EQ(defaults.rows.size(), 32u);
    LineTypeRecord engine[kLineTypeCount] = {};
    ZuriStyleGet(nullptr, engine, nullptr);
    EXPECT_EQ(defaults.rows[3].name, std::string(engine[3].name));
    EXPECT_EQ(defaults.rows[3].dashCount, engine[3].dashCount);

    ActiveDrawing drawing;
    ASSERT_TRUE(drawing.created);
    LineTypeRecord& record = drawing.info()->lineTypes[2];
    // A name filling its whole field without a NUL is read to 256 bytes only.
    memset(record.name, 'A', sizeof record.name);
    record.dashCount = 40;
    for (int i = 0; i < 16; ++i) record.dashMm[i] = i + 1;
    LineTypeList list;
    list.rows.push_back({});
    ParseLineTypeRows(list, nullptr, 0);
    ASSERT_EQ(list.rows.size(), 32u);
    EXPECT_EQ(list.rows[2].name.size(), 256u);
    EXPECT_EQ(list.rows[2].dashCount, 40);
    EXPECT_DOUBLE_EQ(list.rows[2].dashes[15], 16.0);
}

TEST(LineColorListTest, PaletteUnboundAndDrawingBound)
{
    LineColorList list;
    FillLineColorRows(list);
    BindDrawingColorTable(list);
    EXPECT_EQ(list.drawingColours, nullptr);
    EXPECT_EQ(GetLineColorCount(list), 256);
    const struct {
        int row;
        COLORREF colour;
    } palette[] = {{0, 0xFF0000}, {1, 0x0000FF}, {6, 0xFFFFFF}, {15, 0x000000}, {255, 0xFFFFFF}, {256, 0}, {-1, 0}};
    for (const auto& p : palette) EXPECT_EQ(GetLineColor(list, p.row), p.colour) << p.row;

    ActiveDrawing drawing;
    ASSERT_TRUE(drawing.created);
    ColourRecord& one = drawing.info()->colours[1];
    one.red = 0x112;  // only the low byte counts
    one.green = 0x34;
    one.blue = 0x56;
    GetPickerHostCalls().visibleAgainstBackground = [](COLORREF c) { return c ^ 0x010101; };
    BindDrawingColorTable(list);
    ASSERT_NE(list.drawingColours, nullptr);
    EXPECT_EQ(GetLineColor(list, 0), RGB(0x12, 0x34, 0x56) ^ 0x010101);
    EXPECT_EQ(GetLineColor(list, 256), 0u);
}

TEST(LineWidthListTest, SixteenRowsAndTheirTexts)
{
    LineWidthList list;
    double engine[kLineWidthCount] = {};
    ZuriStyleGet(nullptr, nullptr, engine);
    int rows = 0;
    while (!GetLineWidthText(list, rows).empty()) ++rows;
    EXPECT_EQ(rows, 16);
    EXPECT_DOUBLE_EQ(GetLineWidthValue(list, 16), GetLineWidthValue(list, 0));
    EXPECT_DOUBLE_EQ(GetLineWidthValue(list, 5), engine[5]);

    ActiveDrawing drawing;
    ASSERT_TRUE(drawing.created);
    drawing.info()->lineWidthsMm[1] = 0.13;
    drawing.info()->lineWidthsMm[2] = 1.0;
    EXPECT_EQ(GetLineWidthText(list, 1), "0.13");
    EXPECT_EQ(GetLineWidthText(list, 2), "1");
    EXPECT_EQ(GetLineWidthText(list, -1), "");
}

}  // namespace
