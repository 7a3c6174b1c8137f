#include "GTest.h"

#include "../../Engine/EngineFixture.h"

#include <cmath>

#include <set>
#include <string>
#include <vector>

#include "HostMessages.h"
#include "RecordingServiceSite.h"
#include "TempFolder.h"
#include "commands/InputEvent.h"
#include "commands/ServiceCommands.h"
#include "view/ViewCommands.h"

namespace {

struct ServiceCase {
    int id;
    std::vector<std::string> actions;  // after the log line
    int answer;
};

// The listed service commands that take no input of their own.
const std::vector<ServiceCase> kServiceTable = {
    {1200, {"EraseRubberBand", "Arrange " + std::to_string(WM_MDICASCADE)}, 1},
    {1201, {"EraseRubberBand", "Arrange " + std::to_string(WM_MDITILE)}, 1},
    {1203, {"FurtherView A"}, 1},
    {1204, {"Send 2378 0 0"}, 1},
    {1208, {"Post 2516 0 0"}, 1},
    {1209, {"Post 2515 0 0"}, 1},
    {1211, {"Event 2"}, 1},
    {1212, {"Help 77"}, 1},
    {1213, {"FurtherView B"}, 1},
    {1214, {}, 1},
    {1215, {"SnapBits 8"}, 1},
    {1216, {"SnapBits 1"}, 1},
    {1217, {"SnapBits 255"}, 1},
    {1218, {}, 1},
    {1219, {}, 1},
    {1225, {"EraseRubberBand", "Post 2584 0 0"}, 1},
    {1227, {"HandOver 77"}, 1},
    {1228, {"HandOverEmpty"}, 1},
    {1229, {"SettingsSheet"}, 1},
    {1230, {"PageLayoutView"}, 7},
    {1234, {"EraseRubberBand", "Post 2602 0 0"}, 1},
    {1302, {"StatusCommand 1010"}, 1},
    {1303, {"Send 5 0 0"}, 1},
    {1305, {"Send 2044 0 0"}, 1},
    {1306, {"Event 2097152"}, 1},
    {1307, {"PatternSave"}, 1},
    {1311, {"DeleteMemo"}, 0},
    {1313, {"ChooseMemoFile"}, 1},
    {1314, {"Event 32", "Repaint 1"}, 0},
    {1315, {"DisplaySelector 1"}, 1},
    {1316, {"DisplaySelector 2"}, 1},
    {1317, {"DisplaySelector 3"}, 1},
    {1318, {"MemoDialog"}, 1},
    {1320, {"RotateRaster"}, 1},
    {1331, {}, 1},
    {1333, {"PreviousView"}, 1},
    {1334, {"ZoomToAll"}, 1},
    {1335, {"InputScale"}, 0},
    {1337, {"ToolbarSettings"}, 0},
    {1351, {"ToolPanel 3516"}, 1},
};

const std::set<int> kInteractive = {1205, 1206, 1210, 1235, 1300, 1304, 1332, 1336, 1350};

class ServiceCommands : public ::testing::Test {
protected:
    void SetUp() override { GetInputEventRecord() = InputEventRecord{}; }
    void TearDown() override { GetInputEventRecord() = InputEventRecord{}; }
    RecordingServiceSite site;
};

TEST_F(ServiceCommands, EveryListedIdHasItsActionAndAnswer)
{
    for (const ServiceCase& c : kServiceTable) {
        site.lines.clear();
        GetInputEventRecord() = InputEventRecord{};
        const int answer = ExecuteServiceCommand(c.id, 77, nullptr);
        std::vector<std::string> expected = {"Log " + std::to_string(c.id)};
        expected.insert(expected.end(), c.actions.begin(), c.actions.end());
        EXPECT_EQ(answer, c.answer) << c.id;
        EXPECT_EQ(site.lines, expected) << c.id;
    }
}

TEST_F(ServiceCommands, UnlistedIdsAnswerZeroAndGoNowhere)
{
    std::set<int> listed = kInteractive;
    for (const ServiceCase& c : kServiceTable) listed.insert(c.id);
    for (int id = 1200; id <= 1500; ++id) {
        if (listed.count(id) || (id >= 1260 && id <= 1299)) continue;
        site.lines.clear();
        EXPECT_EQ(ExecuteServiceCommand(id, 0, nullptr), 0) << id;
        EXPECT_EQ(site.lines, std::vector<std::string>{"Log " + std::to_string(id)}) << id;
        // From the view dispatcher the id passes to the service commands once and comes back.
        site.lines.clear();
        EXPECT_EQ(ExecuteViewCommand(0, id), 1) << id;
        EXPECT_EQ(site.Count("Log " + std::to_string(id)), 1u) << id;
    }
}

TEST_F(ServiceCommands, RightMenuPicksRaiseNoLogLine)
{
    for (int id = 1260; id <= 1299; ++id) {
        site.lines.clear();
        EXPECT_EQ(ExecuteServiceCommand(id, 0, nullptr), 1);
        EXPECT_EQ(site.lines, std::vector<std::string>{"RightMenuPick " + std::to_string(id - 1260)});
    }
}

TEST_F(ServiceCommands, NotifiedRunIsBracketedByTheCommandNotice)
{
    EXPECT_EQ(ExecuteServiceCommandNotified(nullptr, 1305, 0), 1);
    const std::vector<std::string> expected = {"Send 33769 1305 1", "Log 1305", "Send 2044 0 0", "Send 33769 1305 0"};
    EXPECT_EQ(site.lines, expected);
}

TEST_F(ServiceCommands, FinishInputPressesTheRememberedOkButton)
{
    site.okButton = 1;
    ExecuteServiceCommand(1219, 0, nullptr);
    EXPECT_TRUE(site.Has("PanelEvent 1 1"));
}

TEST_F(ServiceCommands, EveryInteractiveIdEndsOnTheQuitAnswer)
{
    for (int id : kInteractive) {
        site.lines.clear();
        site.waits = 0;
        site.script = {{kWaitQuit}, {kWaitQuit}, {kWaitQuit}};
        EXPECT_EQ(ExecuteServiceCommand(id, 0, nullptr), 1) << id;
        EXPECT_EQ(site.waits, 1) << id;
        EXPECT_EQ(IsHostCommandRunning(), 0) << id;
        site.script.clear();
    }
}

}  // namespace

namespace {

TEST(MemoFiles, SecondFileNameReplacesTheExtensionOfTheLastPart)
{
    EXPECT_EQ(MemoCompanionName("C:\\data\\plan.dvm"), "C:\\data\\plan.mem");
    EXPECT_EQ(MemoCompanionName("C:\\data\\plan.v1.dvm"), "C:\\data\\plan.v1.mem");
    EXPECT_EQ(MemoCompanionName("C:\\da.ta\\plan"), "");  // no extension: only the named file goes
    EXPECT_EQ(MemoCompanionName("plan"), "");
    EXPECT_EQ(MemoCompanionName(nullptr), "");
    // "表" ends with 0x5C: it is no separator, the dot before it belongs to the last part.
    EXPECT_EQ(MemoCompanionName("C:\\x\\a.\x95\x5C"), "C:\\x\\a.mem");
}

TEST(MemoFiles, BothFilesAreDeletedAndMissingOnesCountAsDeleted)
{
    TempFolder folder;
    const std::string memo = folder.File("plan.dvm");
    const std::string second = folder.File("plan.mem");
    const std::string lone = folder.File("plan");
    for (const std::string& path : {memo, second, lone}) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    EXPECT_EQ(DeleteMemoFiles(memo.c_str()), 1);
    EXPECT_EQ(GetFileAttributesA(memo.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(second.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA(lone.c_str()), INVALID_FILE_ATTRIBUTES);  // untouched
    EXPECT_EQ(DeleteMemoFiles(memo.c_str()), 1);                            // nothing left: deleted
    // A file held open without sharing cannot be deleted: reported, not hidden.
    HANDLE held = CreateFileA(lone.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(DeleteMemoFiles(lone.c_str()), 0);
    CloseHandle(held);
    EXPECT_EQ(DeleteMemoFiles(lone.c_str()), 1);
}

}  // namespace

namespace {

int LineExtent(void* database, void* element, SearchBox* box)
{
    ElementRecord record{};
    ZUriReadElement(element, 0, &record, database);
    if (record.type != kElementLine) return 0;
    const LineRecord line = Typed<LineRecord>(record);
    *box = SearchBox{std::fmin(line.x1, line.x2), std::fmax(line.y1, line.y2), std::fmax(line.x1, line.x2),
                     std::fmin(line.y1, line.y2)};
    return 1;
}

TEST(ZoomToAll, BoxOfEveryElementWithExtents)
{
    TestDb db;
    ASSERT_TRUE(db.created);
    SearchBox box{};
    EXPECT_EQ(AllElementsBox(db.db(), LineExtent, &box), 0);  // no element: no zoom
    const ElementRecord lines[2] = {MakeLine(-5, 2, 10, 4), MakeLine(3, -7, 1, 20)};
    for (const ElementRecord& line : lines) ZUriAppendElement(&line, db.db());
    const ElementRecord point = MakePoint(100, 100);  // no extents here: left out
    ZUriAppendElement(&point, db.db());
    ASSERT_EQ(AllElementsBox(db.db(), LineExtent, &box), 1);
    EXPECT_DOUBLE_EQ(box.left, -5);
    EXPECT_DOUBLE_EQ(box.right, 10);
    EXPECT_DOUBLE_EQ(box.bottom, -7);
    EXPECT_DOUBLE_EQ(box.top, 20);
    EXPECT_EQ(AllElementsBox(db.db(), nullptr, &box), 0);
}

}  // namespace
