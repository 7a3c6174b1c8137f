#include "GTest.h"

#include <cstring>
#include <string>
#include <vector>

#include "HostMessages.h"
#include "RecordingServiceSite.h"
#include "commands/InputEvent.h"
#include "commands/InputWaitLoop.h"
#include "commands/ServiceCommands.h"

namespace {

class InteractiveServiceCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The outer command waits for points with a pending state it must get back.
        GetInputEventRecord() = InputEventRecord{};
        GetInputEventRecord().acceptMask = 0x2202;
    }
    void TearDown() override { GetInputEventRecord() = InputEventRecord{}; }
    RecordingServiceSite site;
};

TEST_F(InteractiveServiceCommands, ZoomClicksZoomInAndOutUntilEscape)
{
    site.script = {{kWaitPoint}, {kWaitSecondaryPoint}, {kWaitEscape}};
    EXPECT_EQ(ExecuteServiceCommand(1205, 0, nullptr), 1);
    EXPECT_EQ(site.Count("ZoomIn"), 1u);
    EXPECT_EQ(site.Count("ZoomOut"), 1u);
    EXPECT_TRUE(site.Has("Log End"));
    EXPECT_EQ(GetInputEventRecord().acceptMask, 0x2202u);  // the outer command's mask is back
    EXPECT_EQ(GetInputEventRecord().code, 0);
    EXPECT_EQ(IsHostCommandRunning(), 0);
}

TEST_F(InteractiveServiceCommands, PanelPressEndsTheCommandAndReachesTheOuterCommand)
{
    const int ids[] = {1205, 1206, 1210, 1235, 1300, 1304, 1332, 1336, 1350};
    for (int id : ids) {
        GetInputEventRecord() = InputEventRecord{};
        GetInputEventRecord().acceptMask = 0x2202;
        site.waits = 0;
        // The interrupt wait leaves the panel event pending in the record.
        site.script = {{kWaitPanelItem, 0, 0, 0, [] { RaisePanelEvent(1, 55, 9); }}};
        ExecuteServiceCommand(id, 0, nullptr);
        const InputEventRecord& events = GetInputEventRecord();
        EXPECT_EQ(events.code, kEventPanelItem) << id;
        EXPECT_EQ(events.item, 55) << id;
        EXPECT_EQ(events.value, 9) << id;
        EXPECT_EQ(site.waits, 1) << id;
    }
}

TEST_F(InteractiveServiceCommands, ZoomStartedDuringAScrollEndsTheScrollAndRestartsItself)
{
    site.script = {{kWaitPoint, 0, 0, 0, [] { ExecuteServiceCommand(1205, 0, nullptr); }}, {kWaitEnd}};
    ExecuteServiceCommand(1206, 0, nullptr);
    EXPECT_TRUE(site.Has("Centre"));
    EXPECT_TRUE(site.Has("Send 2044 0 0"));
    EXPECT_TRUE(site.Has("Post " + std::to_string(WM_COMMAND) + " 1205 0"));
    EXPECT_FALSE(site.Has("ZoomIn"));
}

TEST_F(InteractiveServiceCommands, AreaZoomEscapeAfterTheFirstCornerGoesBackToTheFirstCorner)
{
    site.script = {{kWaitSnappedPoint, 1, 1}, {kWaitEscape}, {kWaitSnappedPoint, 2, 2}, {kWaitCursorMoved, 3, 5},
                   {kWaitSnappedPoint, 4, 4}, {kWaitSnappedPoint, 10, 10}, {kWaitSnappedPoint, 20, 30}, {kWaitEscape}};
    ExecuteServiceCommand(1210, 0, nullptr);
    // Area after area until escape in phase 0 (WAKUDSPMODE 0, long parameter 0).
    const std::vector<std::string> zooms = {"ZoomArea (2,2) (4,4)", "ZoomArea (10,10) (20,30)"};
    std::vector<std::string> seen;
    for (const std::string& line : site.lines)
        if (line.rfind("ZoomArea", 0) == 0) seen.push_back(line);
    EXPECT_EQ(seen, zooms);
    EXPECT_TRUE(site.Has("Box (2,2) (3,5)"));
    EXPECT_EQ(site.waits, 8);
    EXPECT_TRUE(site.Has("FreePoint 0"));
    EXPECT_TRUE(site.Has("Send " + std::to_string(WM_COMMAND) + " 1314 0"));
}

TEST_F(InteractiveServiceCommands, AreaZoomWithLongParameterOneEndsAfterOneArea)
{
    site.script = {{kWaitSnappedPoint, 1, 1}, {kWaitSnappedPoint, 3, 3}, {kWaitSnappedPoint, 5, 5}};
    ExecuteServiceCommand(1210, 1, nullptr);
    EXPECT_EQ(site.waits, 2);
}

TEST_F(InteractiveServiceCommands, TwoBoxesAddUpInOneKeptMarkAndEscapeEmptiesIt)
{
    site.script = {{kWaitSnappedPoint, 5, 1}, {kWaitSnappedPoint, 1, 5}, {kWaitSnappedPoint, 7, 7},
                   {kWaitSnappedPoint, 9, 9}, {kWaitEnd}};
    ExecuteServiceCommand(1235, 0, nullptr);
    EXPECT_TRUE(site.Has("Select 1,5,5,1"));  // left, top, right, bottom of the two corners
    EXPECT_TRUE(site.Has("Select 7,9,9,7"));
    EXPECT_EQ(site.keptBoxes, 2);             // the mark stays for the next command
    EXPECT_TRUE(site.Has("DropKept 0"));

    site.lines.clear();
    site.script = {{kWaitSnappedPoint, 0, 0}, {kWaitSnappedPoint, 2, 2}, {kWaitEscape}, {kWaitEnd}};
    ExecuteServiceCommand(1235, 0, nullptr);
    // The new run drops the old mark first; escape in phase 0 empties the new one.
    EXPECT_EQ(site.keptBoxes, 0);
}

TEST_F(InteractiveServiceCommands, MidpointReachesTheOuterWaitAsEvent)
{
    site.script = {{kWaitSnappedPoint, 0, 0}, {kWaitSnappedPoint, 10, 4}};
    ExecuteServiceCommand(1332, 0, nullptr);
    EXPECT_EQ(GetInputEventRecord().code, kEventMidpointReady);
    EXPECT_EQ(GetInputEventRecord().acceptMask, 0x2202u);
    const HostPoint mid = ServiceMidpoint();
    EXPECT_DOUBLE_EQ(mid.x, 5.0);
    EXPECT_DOUBLE_EQ(mid.y, 2.0);
    // The program's wait site hands the outer wait this point.
    CInputWaitSite defaultSite;
    EXPECT_DOUBLE_EQ(defaultSite.Midpoint().x, 5.0);
    EXPECT_DOUBLE_EQ(defaultSite.Midpoint().y, 2.0);
    EXPECT_TRUE(site.Has("Press 3999"));
    EXPECT_EQ(IsHostCommandRunning(), 0);
}

TEST_F(InteractiveServiceCommands, AttributeGetHandsTheOuterCommandAnAttributeChange)
{
    site.script = {{kWaitElement, 0, 0, 4711}};
    ExecuteServiceCommand(1304, 0, nullptr);
    EXPECT_TRUE(site.Has("ImportAttributes 4711"));
    EXPECT_TRUE(site.Has("PickFilter 1"));
    EXPECT_TRUE(site.Has("PickFilter 0"));  // for the first wait only
    EXPECT_EQ(GetInputEventRecord().code, kEventAttributesChanged);
    EXPECT_TRUE(site.Has("RestoreSearch"));
    EXPECT_TRUE(site.Has("Press 3408"));
    EXPECT_FALSE(site.Has("Log End"));
}

TEST_F(InteractiveServiceCommands, AttributeGetWithoutADrawingBlockAnswersZero)
{
    site.hasBlock = 0;
    site.script = {{kWaitElement, 0, 0, 4711}};
    EXPECT_EQ(RunInteractiveServiceCommand(1304, 0), 0);
    EXPECT_EQ(site.waits, 0);
    EXPECT_EQ(IsHostCommandRunning(), 0);
}

TEST_F(InteractiveServiceCommands, ErasingALinkedElementAsksFirst)
{
    site.linkedElement = 8;
    site.script = {{kWaitElement, 0, 0, 7}, {kWaitElement, 0, 0, 8}, {kWaitEscape}};
    ExecuteServiceCommand(1336, 0, nullptr);
    EXPECT_TRUE(site.Has("Delete 7"));
    EXPECT_TRUE(site.Has("Ask Delete Check"));
    EXPECT_FALSE(site.Has("Delete 8"));  // No keeps it

    site.lines.clear();
    site.askAnswer = IDYES;
    site.script = {{kWaitElement, 0, 0, 8}, {kWaitEscape}};
    ExecuteServiceCommand(1336, 0, nullptr);
    EXPECT_TRUE(site.Has("Delete 8"));
}

TEST_F(InteractiveServiceCommands, GridCentreTakesTheClickedPoint)
{
    site.script = {{kWaitSnappedPoint, 12, 34}};
    ExecuteServiceCommand(1350, 0, nullptr);
    EXPECT_TRUE(site.Has("GridCentre (12,34)"));
    EXPECT_EQ(site.waits, 1);
}

TEST_F(InteractiveServiceCommands, WithoutAnActiveViewNothingWaits)
{
    site.activeView = nullptr;
    for (int id : {1205, 1206, 1210, 1300, 1332, 1336, 1350, 1304}) ExecuteServiceCommand(id, 0, nullptr);
    EXPECT_EQ(site.waits, 0);
    EXPECT_TRUE(site.Has("Press 3408"));
    EXPECT_TRUE(site.Has("Press 3999"));
}

}  // namespace

namespace {

TEST(AttributeGet, StyleOfEachElementKind)
{
    PDBINFO block{};
    block.colour = 9;
    ElementRecord line{};
    line.type = 1, line.colour = 4, line.lineType = 3, line.lineWidth = 2, line.lineEndStart = 5, line.lineEndEnd = 6;
    EXPECT_EQ(CopyElementStyle(line, 1, 1, block), 1);
    EXPECT_EQ(block.colour, 4);
    EXPECT_EQ(block.lineType, 3);
    EXPECT_EQ(block.endMark, 6);

    ElementRecord circle = line;
    circle.type = 3, circle.lineEndEnd = 0;
    CopyElementStyle(circle, 1, 1, block);
    EXPECT_EQ(block.endMark, 6);  // a circle has no line ends

    ElementRecord point{};
    point.type = 2;  // colour 0: the colour stays
    CopyElementStyle(point, 1, 1, block);
    EXPECT_EQ(block.colour, 4);

    ElementRecord text{};
    text.type = 5, text.colour = 7;
    const double height = 2.5, ratio = 0.8, spacing = 1.5;
    auto* bytes = reinterpret_cast<uint8_t*>(&text);
    std::memcpy(bytes + 46, &height, 8);
    std::memcpy(bytes + 54, &ratio, 8);
    std::memcpy(bytes + 62, &spacing, 8);
    std::memcpy(bytes + 70, "MS Gothic", 10);
    EXPECT_EQ(CopyElementStyle(text, 100, 2, block), 1);
    EXPECT_DOUBLE_EQ(block.textStyle.height, 500);  // times the drawing scale and the page factor
    EXPECT_DOUBLE_EQ(block.textStyle.charRatio, 0.8);
    EXPECT_DOUBLE_EQ(block.textStyle.interval, 300);
    EXPECT_EQ(block.textStyle.colour, 7);
    EXPECT_STREQ(block.textStyle.fontName, "MS Gothic");

    ElementRecord other{};
    other.type = 60;
    EXPECT_EQ(CopyElementStyle(other, 1, 1, block), 0);
}

}  // namespace
