// Page layout in a real drawing view: nine "LAY_WND" cells over an engine database with pages,
// the scroll bar choosing the group, right clicks switching to the layers of a page and back.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/HostServiceSite.h"
#include "commands/InputEvent.h"
#include "core/LocalSettings.h"
#include "core/StartupSeams.h"
#include "drawing/CadDatabase.h"
#include "view/LayoutCells.h"
#include "view/RiririView.h"
#include "view/ViewTable.h"

namespace {

TEST(LayoutCells, GroupsAndCellNumbers)
{
    const struct {
        int items, groups;
    } groups[] = {{0, 1}, {1, 1}, {9, 1}, {10, 2}, {18, 2}, {19, 3}, {257, 29}};
    for (const auto& g : groups) EXPECT_EQ(LayoutGroupCount(g.items), g.groups) << g.items;
    const struct {
        int index, group, number;
    } cells[] = {{0, 0, 0}, {8, 1, 8}, {0, 2, 9}, {8, 2, 17}, {4, 3, 22}};
    for (const auto& c : cells) EXPECT_EQ(LayoutCellNumber(c.index, c.group), c.number) << c.index << " " << c.group;
}

class LayoutCellsView : public ::testing::Test {
protected:
    void SetUp() override
    {
        seam::RegisterLayoutWindowClasses(GetModuleHandleA(nullptr));
        savedEdgeButtons = GetLocalSettingsLive().setup.bScTestBtn;
        GetLocalSettingsLive().setup.bScTestBtn = 0;
        view.SetDatabase(&database);
        RECT rect = {0, 0, 600, 300};
        window = view.Create(nullptr, &rect, nullptr, WS_POPUP | WS_VISIBLE, 0);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(database.engineDb, nullptr);
        ClearViewTable();
        AddViewToTable(window);
        GetInputEventRecord() = InputEventRecord{};
    }
    void TearDown() override
    {
        ClearViewTable();
        if (window) DestroyWindow(window);
        GetLocalSettingsLive().setup.bScTestBtn = savedEdgeButtons;
        GetInputEventRecord() = InputEventRecord{};
    }

    void AddPages(std::initializer_list<int> pages)
    {
        for (int page : pages) {
            auto record = std::make_unique<EnginePageRecord>();
            std::memset(record.get(), 0, sizeof *record);
            record->placement.scaleX = 1.0;
            record->placement.cosAngle = 1.0;
            record->info.record.drawingWidth = record->info.record.paperWidthMm = 420;
            record->info.record.drawingHeight = record->info.record.paperHeightMm = 297;
            record->info.record.scale = 1.0;
            record->pageNumber = page;
            ASSERT_EQ(ZUriAddPage(page, record.get(), database.engineDb), 1) << page;
        }
    }

    std::vector<HWND> Cells()
    {
        std::vector<HWND> cells;
        for (HWND cell = GetFirstLayoutCell(window); cell; cell = GetNextLayoutCell(cell)) cells.push_back(cell);
        return cells;
    }
    HWND CellWithIndex(int index)
    {
        for (HWND cell : Cells())
            if (GetWindowLongPtrA(cell, 4) == index) return cell;
        return nullptr;
    }

    // Paints every cell now (cell 0 first: it rebuilds the page table).
    void PaintCells()
    {
        for (int index = 0; index < kLayoutCellCount; ++index) {
            HWND cell = CellWithIndex(index);
            if (cell == nullptr) continue;
            InvalidateRect(cell, nullptr, TRUE);
            UpdateWindow(cell);
        }
    }

    // The colour in the middle of a cell, from the cell's own device context.
    COLORREF MiddleOf(HWND cell)
    {
        RECT r;
        GetClientRect(cell, &r);
        HDC dc = GetDC(cell);
        const COLORREF colour = GetPixel(dc, r.right / 2, r.bottom / 3);
        ReleaseDC(cell, dc);
        return colour;
    }

    void Scroll(WPARAM code)
    {
        SendMessageA(window, WM_VSCROLL, code, 0);
    }

    int savedEdgeButtons = 1;
    CCadDatabase database;
    CRiririView view;
    HWND window = nullptr;
};

TEST_F(LayoutCellsView, TenPagesShowNineCellsAndScrollToTheSecondGroup)
{
    AddPages({1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_EQ(TogglePageLayoutView(window), 1);
    EXPECT_EQ(database.pageLayout, 1);
    const std::vector<HWND> cells = Cells();
    ASSERT_EQ(cells.size(), 9u);
    RECT client;
    GetClientRect(window, &client);
    for (int index = 0; index < 9; ++index) {
        HWND cell = CellWithIndex(index);
        ASSERT_NE(cell, nullptr) << index;
        EXPECT_TRUE(IsWindowVisible(cell));
        RECT r;
        GetWindowRect(cell, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, index % 3 * client.right / 3) << index;
        EXPECT_EQ(r.top, index / 3 * client.bottom / 3) << index;
        EXPECT_EQ(r.right - r.left, client.right / 3 + 1) << index;
    }
    int minimum = 0, maximum = 0;
    GetScrollRange(window, SB_VERT, &minimum, &maximum);
    EXPECT_EQ(minimum, 1);
    EXPECT_EQ(maximum, 2);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 1);
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_STYLE) & WS_HSCROLL, 0);

    // Every cell of the first group shows a page on the background; the second group has only
    // its first cell with a page, the other eight are grey.
    PaintCells();
    const COLORREF grey = RGB(0x80, 0x80, 0x80);
    for (int index = 0; index < 9; ++index) EXPECT_NE(MiddleOf(CellWithIndex(index)), grey) << index;
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(database.layoutGroup, 2);
    PaintCells();
    EXPECT_NE(MiddleOf(CellWithIndex(0)), grey);
    for (int index = 1; index < 9; ++index) EXPECT_EQ(MiddleOf(CellWithIndex(index)), grey) << index;
    Scroll(SB_LINEDOWN);
    EXPECT_EQ(database.layoutGroup, 2) << "the range ends at the second group";

    // Leaving page layout removes the cells and gives the view its scroll bars back.
    ASSERT_EQ(TogglePageLayoutView(window), 1);
    EXPECT_EQ(database.pageLayout, 0);
    EXPECT_TRUE(Cells().empty());
    EXPECT_NE(GetWindowLongPtrA(window, GWL_STYLE) & WS_HSCROLL, 0);
}

TEST_F(LayoutCellsView, RightClicksSwitchToTheLayersOfAPageAndBack)
{
    AddPages({3});
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    auto* header = reinterpret_cast<ElementRecord*>(&line);
    header->type = kElementLine;
    header->colour = 1;
    header->page = 3;
    for (int layer : {4, 11}) {
        header->layer = static_cast<uint16_t>(layer);
        line.x2 = 10;
        ASSERT_NE(ZUriAppendElement(&line, database.engineDb), nullptr);
    }
    ASSERT_EQ(TogglePageLayoutView(window), 1);
    PaintCells();
    // Cell 1 shows page 3 (cell 0 is the drawing itself).
    SendMessageA(CellWithIndex(1), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(database.pageLayout, 2);
    EXPECT_EQ(database.layoutPage, 3);
    EXPECT_EQ(GetPickedLayoutPage(), 3);
    PaintCells();

    // A left click on the second layer cell hands layer 11 with the page to the running command.
    SendMessageA(CellWithIndex(1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(PendingInputEvent(), kEventLayoutCell);
    EXPECT_EQ(GetPickedLayoutLayer(), 11);
    ConsumeInputEvent();
    // A cell without a layer reports nothing.
    SendMessageA(CellWithIndex(5), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(PendingInputEvent(), 0);

    SendMessageA(CellWithIndex(4), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(database.pageLayout, 1);
    EXPECT_EQ(database.layoutPage, 0);
    EXPECT_EQ(database.layoutGroup, 0);
    // A cell without a page stays in page layout.
    PaintCells();
    SendMessageA(CellWithIndex(7), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(database.pageLayout, 1);
}

TEST_F(LayoutCellsView, SwitchMessageAnswersWithoutToggleWhenTheStateIsAlreadyThere)
{
    ClearLayoutRecheckRequest();
    EXPECT_EQ(SetPageLayoutView(nullptr, 1), 0);
    ASSERT_EQ(TogglePageLayoutView(window), 1);
    EXPECT_EQ(SetPageLayoutView(window, 1), 1);
    EXPECT_EQ(database.pageLayout, 1);
    EXPECT_EQ(IsLayoutRecheckRequested(), 0);
    // Switching off asks the input wait to look at its events again.
    EXPECT_EQ(SetPageLayoutView(window, 0), 1);
    EXPECT_EQ(IsLayoutRecheckRequested(), 1);
    ClearLayoutRecheckRequest();
}

}  // namespace

namespace {

// The test's view is the active one without an MDI client around it.
class OneViewSite : public CHostServiceSite {
public:
    explicit OneViewSite(HWND view) : m_view(view) {}
    HWND ActiveView() override { return m_view; }

private:
    HWND m_view;
};

// The overview: a dragged rectangle becomes the view's area; a click afterwards re-centres the
// view at the zoom of that rectangle.
TEST_F(LayoutCellsView, OverviewDragZoomsTheViewAndAClickRecentresIt)
{
    OneViewSite site(window);
    SetHostServiceSite(&site);
    HWND overview = CreateWindowExA(0, "#LAYOUTVIEW#", "Layout View", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(overview, nullptr);
    RECT placed;
    GetWindowRect(overview, &placed);
    EXPECT_EQ(placed.left, 80);
    EXPECT_EQ(placed.top, 40);
    RECT client;
    GetClientRect(overview, &client);
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, database.engineDb);
    ASSERT_GT(info.drawingWidth, 0);
    const double u = std::fmin((client.bottom - 5) / info.drawingHeight, (client.right - 10) / info.drawingWidth);
    const double shiftX = info.originMode ? info.drawingWidth / 2 : 0, shiftY = info.originMode ? info.drawingHeight / 2 : 0;
    const int cx = client.right / 2, cy = client.bottom / 2;

    SendMessageA(overview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx - 40, cy - 20));
    SendMessageA(overview, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(cx + 40, cy + 20));
    SendMessageA(overview, WM_LBUTTONUP, 0, MAKELPARAM(cx + 40, cy + 20));
    const ViewModeInfo dragged = CurrentViewMode(database);
    EXPECT_NEAR(dragged.offsetX, -shiftX, 1e-9);
    EXPECT_NEAR(dragged.offsetY, -shiftY, 1e-9);
    RECT viewClient;
    GetClientRect(window, &viewClient);
    const double fit = std::fmin(viewClient.right / (80 / u), viewClient.bottom / (40 / u));
    EXPECT_GT(dragged.scale, fit * 0.5);
    EXPECT_LE(dragged.scale, fit * 1.0001);

    SendMessageA(overview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cx + 30, cy + 10));
    SendMessageA(overview, WM_LBUTTONUP, 0, MAKELPARAM(cx + 30, cy + 10));
    const ViewModeInfo clicked = CurrentViewMode(database);
    EXPECT_NEAR(clicked.offsetX, -(30 / u + shiftX), 1e-9);
    EXPECT_NEAR(clicked.offsetY, -(-10 / u + shiftY), 1e-9);
    EXPECT_NEAR(clicked.scale, dragged.scale, dragged.scale * 1e-12);
    DestroyWindow(overview);
    SetHostServiceSite(nullptr);
}

}  // namespace
