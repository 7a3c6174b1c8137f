#include "GTest.h"

#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "drawing/CadDatabase.h"
#include "view/DragPreview.h"
#include "view/ElementDrawing.h"
#include "view/RiririView.h"
#include "view/RubberBand.h"
#include "view/ViewTable.h"

namespace {

LineRecord MakeLine(double x1, double y1, double x2, double y2, uint16_t colour = 1)
{
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    auto* header = reinterpret_cast<ElementRecord*>(&line);
    header->type = kElementLine;
    header->colour = colour;
    line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
    return line;
}

// A painted drawing view of its own, with the rubber-band databases, read back pixel by pixel.
class DrawnView : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedEdgeButtons = GetLocalSettingsLive().setup.bScTestBtn;
        GetLocalSettingsLive().setup.bScTestBtn = 0;
        view.SetDatabase(&database);
        RECT rect = {0, 0, 300, 200};
        window = view.Create(nullptr, &rect, nullptr, WS_POPUP | WS_VISIBLE, 0);
        ASSERT_NE(window, nullptr);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ClearViewTable();
        AddViewToTable(window);
        ASSERT_EQ(CreateRubberBandDbs(), 1);
        savedRubberColour = GetConfigDataRuntime().rubberBandColor;
        GetConfigDataRuntime().rubberBandColor = 3;
        database.mode0 = ViewModeInfo{0, 0, 1.0};
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
    }
    void TearDown() override
    {
        DeleteRubberBandDbs();
        GetConfigDataRuntime().rubberBandColor = savedRubberColour;
        ClearViewTable();
        if (window) DestroyWindow(window);
        GetLocalSettingsLive().setup.bScTestBtn = savedEdgeButtons;
    }
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    // The client area's pixels as the screen shows them.
    std::vector<COLORREF> Capture()
    {
        Pump();
        RECT client;
        GetClientRect(window, &client);
        HDC dc = GetDC(window);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.bottom; y += 1)
            for (int x = 0; x < client.right; x += 1) pixels.push_back(GetPixel(dc, x, y));
        ReleaseDC(window, dc);
        return pixels;
    }
    static size_t Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b)
    {
        size_t n = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i] ? 1 : 0;
        return n + (a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
    }

    int savedEdgeButtons = 1;
    int savedRubberColour = 0;
    CCadDatabase database;
    CRiririView view;
    HWND window = nullptr;
};

TEST_F(DrawnView, ARubberBandShownIsErasedByTheNextStep)
{
    const std::vector<COLORREF> before = Capture();
    LineRecord line = MakeLine(-100, -60, 100, 60);
    ASSERT_EQ(AppendRubberBandElement(&line), 1);
    EXPECT_EQ(CountRubberBandElements(0), 1);
    ASSERT_EQ(UpdateRubberBand(window, 0, 0, 0), 1);
    EXPECT_EQ(CountRubberBandElements(0), 0);
    EXPECT_EQ(CountRubberBandElements(1), 1);
    const std::vector<COLORREF> shown = Capture();
    EXPECT_GT(Differences(before, shown), 100u) << "the line is drawn";
    ASSERT_EQ(UpdateRubberBand(window, 0, 0, 1), 1);
    EXPECT_EQ(CountRubberBandElements(1), 0);
    EXPECT_EQ(Differences(before, Capture()), 0u) << "mode 1 erases exactly what mode 0 drew";
    // Nothing shown: a second erase draws nothing.
    ASSERT_EQ(UpdateRubberBand(window, 0, 0, 1), 1);
    EXPECT_EQ(Differences(before, Capture()), 0u);
}

TEST_F(DrawnView, MessagesAddAndShowTheRubberBand)
{
    const std::vector<COLORREF> before = Capture();
    LineRecord line = MakeLine(-100, 60, 100, -60);
    CmdParamRecord param;
    std::memset(&param, 0, sizeof param);
    param.elementRecord = &line;
    EXPECT_EQ(HandleAddTempElement(&param), 1);
    EXPECT_EQ(CountRubberBandElements(0), 0) << "no view: nothing appended";
    param.view = window;
    param.mode = 1;  // not read: 2384 always shows
    EXPECT_EQ(HandleAddTempElement(&param), 1);
    EXPECT_EQ(HandleDrawTemp(&param), 1);
    EXPECT_GT(Differences(before, Capture()), 100u);
    UpdateRubberBand(window, 0, 0, 1);
    EXPECT_EQ(Differences(before, Capture()), 0u);
}

// A paint of part of the view while a band is shown keeps the band whole on the screen, and the
// next erase then leaves exactly the picture: no half-inverted band stays behind.
TEST_F(DrawnView, APaintUnderAShownBandKeepsItAndTheEraseStillRestoresThePicture)
{
    const std::vector<COLORREF> before = Capture();
    LineRecord line = MakeLine(-100, -60, 100, 60);
    ASSERT_EQ(AppendRubberBandElement(&line), 1);
    ASSERT_EQ(UpdateRubberBand(window, 0, 0, 0), 1);
    const std::vector<COLORREF> shown = Capture();
    ASSERT_GT(Differences(before, shown), 100u);
    EXPECT_TRUE(IsRubberBandShownIn(window));
    RECT part = {0, 0, 150, 100};
    RedrawWindow(window, &part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Differences(shown, Capture()), 0u) << "the band is drawn again after the paint";
    ASSERT_EQ(UpdateRubberBand(window, 0, 0, 1), 1);
    EXPECT_FALSE(IsRubberBandShownIn(window));
    EXPECT_EQ(Differences(before, Capture()), 0u) << "the erase leaves the picture as it was";
    // With nothing shown, a paint draws no band.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Differences(before, Capture()), 0u);
}

TEST_F(DrawnView, ResetDropsBothSetsWithoutDrawing)
{
    LineRecord line = MakeLine(-100, -60, 100, 60);
    AppendRubberBandElement(&line);
    UpdateRubberBand(window, 0, 0, 0);
    AppendRubberBandElement(&line);
    const std::vector<COLORREF> shown = Capture();
    EXPECT_EQ(UpdateRubberBand(nullptr, 0, 0, 2), 1);
    EXPECT_EQ(CountRubberBandElements(0), 0);
    EXPECT_EQ(CountRubberBandElements(1), 0);
    EXPECT_EQ(Differences(shown, Capture()), 0u);
    EXPECT_EQ(UpdateRubberBand(nullptr, 0, 0, 1), 0) << "no drawing block";
}

TEST_F(DrawnView, TwoIdenticalLinesPreviewAsOneAndTheNextStepErasesThePreview)
{
    LineRecord line = MakeLine(-80, -40, 80, 40);
    void* first = ZUriAppendElement(&line, database.engineDb);
    void* second = ZUriAppendElement(&line, database.engineDb);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<COLORREF> before = Capture();

    void* one = ZUriCreateMark(database.engineDb);
    ZUriSetMark(first, one);
    const double base[3] = {0, 0, 0}, target[3] = {20, 10, 0};
    ASSERT_EQ(DrawTransformPreview(base, target, 0.0, 1.0, 0, one, window), 1);
    EXPECT_EQ(GetTransformPreviewCount(), 1);
    const std::vector<COLORREF> single = Capture();
    EXPECT_GT(Differences(before, single), 100u);
    EXPECT_EQ(ErasePendingTransformPreview(), 1);
    EXPECT_EQ(Differences(before, Capture()), 0u);

    void* both = ZUriCreateMark(database.engineDb);
    ZUriSetMark(first, both);
    ZUriSetMark(second, both);
    ASSERT_EQ(DrawTransformPreview(base, target, 0.0, 1.0, 0, both, window), 1);
    EXPECT_EQ(GetTransformPreviewCount(), 2);
    EXPECT_EQ(Differences(single, Capture()), 0u) << "one copy drawn, not two cancelling ones";
    // The next rubber-band step only erases the preview.
    LineRecord band = MakeLine(-100, 60, 100, -60);
    AppendRubberBandElement(&band);
    EXPECT_EQ(UpdateRubberBand(window, 0, 0, 0), 1);
    EXPECT_EQ(GetTransformPreviewCount(), 0);
    EXPECT_EQ(Differences(before, Capture()), 0u);
    EXPECT_EQ(CountRubberBandElements(0), 1) << "the step did nothing else";

    // A plug-in's erase clears the pending preview: the next step draws no ghost.
    ASSERT_EQ(DrawTransformPreview(base, target, 0.0, 1.0, 0, both, window), 1);
    ASSERT_EQ(DrawTransformPreview(base, target, 0.0, 1.0, 1, both, window), 1);
    EXPECT_EQ(GetTransformPreviewCount(), 0);
    EXPECT_EQ(Differences(before, Capture()), 0u);
    EXPECT_EQ(ErasePendingTransformPreview(), 0);
    EXPECT_EQ(Differences(before, Capture()), 0u);
    ZUriDestroyMark(one);
    ZUriDestroyMark(both);
}

// A paint of part of the view under a pending transform preview draws the preview again, so the
// next rubber-band step still leaves exactly the picture.
TEST_F(DrawnView, APaintUnderAPendingPreviewKeepsItAndTheStepStillRestoresThePicture)
{
    LineRecord line = MakeLine(-80, -40, 80, 40);
    void* element = ZUriAppendElement(&line, database.engineDb);
    ASSERT_NE(element, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<COLORREF> before = Capture();
    void* mark = ZUriCreateMark(database.engineDb);
    ZUriSetMark(element, mark);
    const double base[3] = {0, 0, 0}, target[3] = {20, 10, 0};
    ASSERT_EQ(DrawTransformPreview(base, target, 0.0, 1.0, 0, mark, window), 1);
    const std::vector<COLORREF> shown = Capture();
    ASSERT_GT(Differences(before, shown), 100u);
    EXPECT_TRUE(IsTransformPreviewShownIn(window));
    RECT part = {0, 0, 150, 100};
    RedrawWindow(window, &part, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Differences(shown, Capture()), 0u) << "the preview is drawn again after the paint";
    ASSERT_EQ(UpdateRubberBand(window, 0, 0, 1), 1);
    EXPECT_FALSE(IsTransformPreviewShownIn(window));
    EXPECT_EQ(Differences(before, Capture()), 0u) << "the step leaves the picture as it was";
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(Differences(before, Capture()), 0u) << "with nothing pending a paint draws no preview";
    ZUriDestroyMark(mark);
}

TEST_F(DrawnView, DrawingTheSameElementTwiceWithXorRestores)
{
    const std::vector<COLORREF> before = Capture();
    LineRecord lines[2] = {MakeLine(-120, 0, 120, 0, 2), MakeLine(0, -80, 0, 80, 3)};
    DrawInView(window, &database, database.engineDb, kDrawRecords, lines, 2, kOwnColours, 1, 0);
    EXPECT_GT(Differences(before, Capture()), 100u);
    DrawInView(window, &database, database.engineDb, kDrawRecords, lines, 2, kOwnColours, 1, 0);
    EXPECT_EQ(Differences(before, Capture()), 0u);
}

TEST_F(DrawnView, FlaggedElementsBlinkBetweenBackgroundAndTheirColours)
{
    LineRecord line = MakeLine(-100, -50, 100, 50, 2);
    auto* node = static_cast<EngineNode*>(ZUriAppendElement(&line, database.engineDb));
    ASSERT_NE(node, nullptr);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<COLORREF> painted = Capture();
    auto* record = static_cast<EngineDbRecord*>(database.engineDb);

    record->modified = 0;
    EXPECT_EQ(BlinkFlaggedElements(window, 0), 0) << "no blink word";

    // Flagged, but owned by a value up to 257: not blinking; the blink word is cleared.
    node->flags |= 1;
    node->highlightColour = 257;
    record->modified = 1;
    EXPECT_EQ(BlinkFlaggedElements(window, 0), 1);
    EXPECT_EQ(record->modified, 0);
    EXPECT_EQ(Differences(painted, Capture()), 0u);

    node->highlightColour = 300;
    record->modified = 1;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const std::vector<COLORREF> flagged = Capture();
    EXPECT_EQ(BlinkFlaggedElements(window, 0), 1);
    EXPECT_GT(Differences(flagged, Capture()), 50u) << "drawn in the background colour";
    EXPECT_EQ(BlinkFlaggedElements(window, 1), 1);
    EXPECT_EQ(Differences(flagged, Capture()), 0u) << "back as the view paints it";
    EXPECT_EQ(record->modified, 1);
    node->flags &= ~1u;
}

TEST_F(DrawnView, DeviceDrawFitsTheWorldRectangleIntoThePixelRectangle)
{
    LineRecord line = MakeLine(-50, 0, 50, 0, 2);
    void* element = ZUriAppendElement(&line, database.engineDb);
    void* mark = ZUriCreateMark(database.engineDb);
    ZUriSetMark(element, mark);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 100, 60);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, 100, 60};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    double world[4] = {-50, 30, 50, -30};
    RECT pixels = {0, 0, 100, 60};
    CmdParamRecord param;
    std::memset(&param, 0, sizeof param);
    param.view = window;
    param.second = reinterpret_cast<INT_PTR>(dc);
    param.element = reinterpret_cast<INT_PTR>(world);
    param.record = reinterpret_cast<INT_PTR>(&pixels);
    param.transform = reinterpret_cast<INT_PTR>(mark);
    ASSERT_EQ(DrawToDevice(&param, kDrawMark), 1);
    int lit = 0;
    // The centre row is 30: the world's y = 0.
    for (int x = 0; x < 100; ++x) lit += GetPixel(dc, x, 29) != 0 || GetPixel(dc, x, 30) != 0 || GetPixel(dc, x, 31) != 0 ? 1 : 0;
    EXPECT_GT(lit, 80) << "the line spans the width";
    double empty[4] = {5, 5, 5, 5};
    param.element = reinterpret_cast<INT_PTR>(empty);
    EXPECT_EQ(DrawToDevice(&param, kDrawMark), 0) << "an empty world rectangle has no scale";
    param.view = nullptr;
    EXPECT_EQ(DrawToDevice(&param, kDrawMark), 0);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ZUriDestroyMark(mark);
}

TEST(WorldRectToClientRect, UsesTheCurrentViewModeAndTruncates)
{
    // Without a view in the table there is no drawing block.
    CmdParamRecord param;
    std::memset(&param, 0, sizeof param);
    EXPECT_EQ(WorldRectToClientRect(&param), 0);
    EXPECT_EQ(WorldRectToClientRect(nullptr), 0);
}

struct NearCase {
    const char* name;
    LineRecord other;
    int nearResult;
};

TEST(DragTracker, LinesCoincideInEitherDirectionWithinTwoPixels)
{
    CDragTracker tracker;
    tracker.SetGeometry(100, 100, 1.0, 0.0, 0.0);
    LineRecord reference = MakeLine(0, 0, 50, 20);
    ASSERT_EQ(tracker.SetReference(reinterpret_cast<unsigned char*>(&reference)), 1);
    const NearCase cases[] = {
        {"same", MakeLine(0, 0, 50, 20), 1},
        {"reversed", MakeLine(50, 20, 0, 0), 1},
        {"one pixel off", MakeLine(1, 0, 51, 21), 1},
        {"two pixels off", MakeLine(2, 0, 52, 20), 0},
        {"other line", MakeLine(0, 0, 50, -20), 0},
    };
    for (const NearCase& c : cases)
        EXPECT_EQ(tracker.IsNear(reinterpret_cast<const unsigned char*>(&c.other)), c.nearResult) << c.name;

    CircleRecord circle;
    std::memset(&circle, 0, sizeof circle);
    reinterpret_cast<ElementRecord*>(&circle)->type = kElementCircle;
    double values[3] = {10, 10, 5};
    std::memcpy(reinterpret_cast<unsigned char*>(&circle) + 33, &values[0], 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&circle) + 41, &values[1], 8);
    std::memcpy(reinterpret_cast<unsigned char*>(&circle) + 57, &values[2], 8);
    EXPECT_EQ(tracker.IsNear(reinterpret_cast<unsigned char*>(&circle)), 0) << "a circle against a line";
    ASSERT_EQ(tracker.SetReference(reinterpret_cast<unsigned char*>(&circle)), 1);
    EXPECT_EQ(tracker.IsNear(reinterpret_cast<unsigned char*>(&circle)), 1);
    values[2] = 7;
    std::memcpy(reinterpret_cast<unsigned char*>(&circle) + 57, &values[2], 8);
    EXPECT_EQ(tracker.IsNear(reinterpret_cast<unsigned char*>(&circle)), 0) << "radius 2 pixels off";

    PointRecord point;
    std::memset(&point, 0, sizeof point);
    reinterpret_cast<ElementRecord*>(&point)->type = kElementPoint;
    EXPECT_EQ(tracker.SetReference(reinterpret_cast<unsigned char*>(&point)), 0);
}

}  // namespace
