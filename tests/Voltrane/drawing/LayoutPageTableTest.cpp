// The page table of the page-layout cells over an engine database behind a hidden view.
#include "GTest.h"

#include <cstring>
#include <string>

#include "DravikDb.h"
#include "PageTestSupport.h"
#include "core/CadSystem.h"
#include "drawing/LayoutPageTable.h"
#include "drawing/PageOperations.h"

namespace {

class LayoutPageTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view = site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
        savedLanguage = GetCadSystem().config.LANGUAGE;
    }
    void TearDown() override
    {
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
        GetCadSystem().config.LANGUAGE = savedLanguage;
    }
    void* db() { return drawing.db(); }
    PDBINFO* block() { return site.ViewBlock(view); }
    std::string Caption(int n)
    {
        char text[300];
        std::memset(text, 'x', sizeof text);
        GetLayoutCellCaption(block(), n, text, sizeof text);
        return text;
    }
    void SetTitle(int page, const char* title)
    {
        auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, db()));
        ASSERT_NE(info, nullptr);
        std::strcpy(info->record.title, title);
    }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
    HWND view = nullptr;
    int savedLanguage = 0;
};

// Ten pages (the drawing and nine more) fill one group of nine cells and one cell of the
// second group: cell numbers 9..17 of the second group leave only cell 9 with a page.
TEST_F(LayoutPageTableTest, TenPagesFillNineCellsAndOneOfTheNextGroup)
{
    for (int page = 1; page <= 9; ++page) ASSERT_EQ(AddPage(page * 3, 0), 1) << page;
    SetTitle(27, "盤図");
    block()->pageLayout = 1;
    ASSERT_EQ(BuildLayoutPageTable(block()), 10);
    EXPECT_EQ(CountDrawingPages(db()), 10);
    const struct {
        int n, valid, page;
        const char* caption;
    } cells[] = {{0, 1, 0, "  "}, {1, 1, 3, "  "}, {8, 1, 24, "  "}, {9, 1, 27, " 盤図 "},
                 {10, 0, 0, ""},  {17, 0, 0, ""},  {-1, 0, 0, ""}};
    for (const auto& c : cells) {
        EXPECT_EQ(IsLayoutCellValid(block(), c.n), c.valid) << c.n;
        EXPECT_EQ(GetLayoutCellPage(block(), c.n), c.page) << c.n;
        EXPECT_EQ(Caption(c.n), c.caption) << c.n;
        // Pages show no layers: those belong to layout mode 2.
        EXPECT_EQ(GetLayoutCellLayer(block(), c.n), -1) << c.n;
    }
    EXPECT_EQ(GetLayoutPageTable().entries[9].page, 27);
    EXPECT_STREQ(GetLayoutPageTable().entries[9].pageText, "27");
    EXPECT_EQ(CountLayoutCellLayers(block(), 0), 0);
}

// The layers of one page: those its elements use and those it names, in layer order.
TEST_F(LayoutPageTableTest, LayerCellsShowTheUsedAndNamedLayersOfTheLayoutPage)
{
    ASSERT_EQ(AddPage(3, 0), 1);
    AppendTestElement(db(), kElementLine, 5, 3);
    AppendTestElement(db(), kElementLine, 2, 3);
    AppendTestElement(db(), kElementLine, 9, 0);  // page 0's layer, not page 3's
    ASSERT_EQ(ZUriSetLayerName(3, 40, "照明", db()), 1);
    block()->pageLayout = 2;
    block()->layoutPage = 3;
    ASSERT_EQ(BuildLayoutPageTable(block()), 2);
    EXPECT_EQ(CountLayoutCellLayers(block(), 1), 3);
    const LayoutPageEntry& drawingEntry = GetLayoutPageTable().entries[0];
    EXPECT_EQ(drawingEntry.usedLayers[0] & ((1u << 9) | (1u << 5) | (1u << 2)), 1u << 9);
    const struct {
        int n, layer, valid;
        const char* caption;
    } cells[] = {{0, 2, 1, "ﾚｲﾔ 3"}, {1, 5, 1, "ﾚｲﾔ 6"}, {2, 40, 1, "照明"}, {3, -1, 0, ""}};
    for (const auto& c : cells) {
        EXPECT_EQ(GetLayoutCellLayer(block(), c.n), c.layer) << c.n;
        EXPECT_EQ(IsLayoutCellValid(block(), c.n), c.valid) << c.n;
        EXPECT_EQ(Caption(c.n), c.caption) << c.n;
    }
    GetCadSystem().config.LANGUAGE = 1;
    EXPECT_EQ(Caption(1), "Layer 6");

    // A layout page that is not in the table has no layer cells.
    block()->layoutPage = 4;
    EXPECT_EQ(GetLayoutCellLayer(block(), 0), -1);
    EXPECT_EQ(IsLayoutCellValid(block(), 0), 0);
    EXPECT_EQ(Caption(0), "");
}

TEST_F(LayoutPageTableTest, WithoutADrawingTheTableIsEmpty)
{
    PDBINFO empty;
    std::memset(&empty, 0, sizeof empty);
    empty.pageLayout = 1;
    EXPECT_EQ(BuildLayoutPageTable(&empty), 0);
    EXPECT_EQ(BuildLayoutPageTable(nullptr), 0);
    EXPECT_EQ(IsLayoutCellValid(&empty, 0), 0);
    EXPECT_EQ(GetLayoutCellPage(&empty, 0), 0);
    // Outside the two layout modes every cell counts as valid.
    empty.pageLayout = 0;
    EXPECT_EQ(IsLayoutCellValid(&empty, 5), 1);
}

}  // namespace
