#include "GTest.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "core/LocalSettings.h"
#include "drawing/CadDatabase.h"
#include "view/InputScale.h"
#include "view/RiririView.h"
#include "view/ViewTable.h"

namespace {

double Get(const unsigned char* r, int offset)
{
    double v;
    std::memcpy(&v, r + offset, 8);
    return v;
}

void Put(unsigned char* r, int offset, double v) { std::memcpy(r + offset, &v, 8); }

void SetType(unsigned char* r, uint16_t type) { std::memcpy(r, &type, 2); }

TEST(InputScaleFromText, RefusesScalesThatAreNotPositive)
{
    struct Case {
        const char* text;
        double expected;
    } cases[] = {
        {"1/50", 0.02}, {"0.5", 0.5}, {"2", 2.0}, {"1/0", 1.0}, {"0", 1.0},
        {"", 1.0},      {"abc", 1.0}, {"-2", 1.0}, {"0/5", 1.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(InputScaleFromText(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_DOUBLE_EQ(InputScaleFromText(nullptr), 1.0);
}

TEST(IsPlainScaleText, AcceptsDigitsPointAndSlashOnly)
{
    EXPECT_EQ(IsPlainScaleText("1/50"), 1);
    EXPECT_EQ(IsPlainScaleText("0.25"), 1);
    EXPECT_EQ(IsPlainScaleText(""), 1);
    EXPECT_EQ(IsPlainScaleText("1 / 50"), 0);
    EXPECT_EQ(IsPlainScaleText("1*2"), 0);
}

TEST(MergeScaleList, PutsTheDrawingScaleInItsPlace)
{
    const std::vector<std::string> settings = {"1/1", "1/2", "1/5", "1/10"};
    struct Case {
        const char* name;
        double scale;
        const char* text;
        std::vector<std::string> expected;
        int selected;
    } cases[] = {
        {"between", 1.0 / 3, "1/3", {"1/1", "1/2", "1/3", "1/5", "1/10"}, 2},
        {"equal to an entry", 0.5, "1/2", {"1/1", "1/2", "1/5", "1/10"}, 1},
        {"smallest", 0.01, "1/100", {"1/1", "1/2", "1/5", "1/10", "1/100"}, 4},
        {"largest", 2.0, "2", {"2", "1/1", "1/2", "1/5", "1/10"}, 0},
    };
    for (const Case& c : cases) {
        int selected = -1;
        EXPECT_EQ(MergeScaleList(settings, c.scale, c.text, &selected), c.expected) << c.name;
        EXPECT_EQ(selected, c.selected) << c.name;
    }
    int selected = -1;
    const std::vector<std::string> cut = {"1/1", "", "1/10"};
    EXPECT_EQ(MergeScaleList(cut, 0.01, "1/100", &selected), (std::vector<std::string>{"1/1", "1/100"}));
    EXPECT_EQ(selected, 1);
}

TEST(ScaleElementRecordBy, ScalesPointsAndLengthsButNotAngles)
{
    unsigned char arc[kElementRecordSize] = {};
    SetType(arc, kElementArc);
    Put(arc, 33, 10);
    Put(arc, 41, 20);
    Put(arc, 57, 4);
    Put(arc, 65, 0.5);
    Put(arc, 73, 1.5);
    ScaleElementRecordBy(arc, 0.5);
    EXPECT_DOUBLE_EQ(Get(arc, 33), 5);
    EXPECT_DOUBLE_EQ(Get(arc, 41), 10);
    EXPECT_DOUBLE_EQ(Get(arc, 57), 2);
    EXPECT_DOUBLE_EQ(Get(arc, 65), 0.5);
    EXPECT_DOUBLE_EQ(Get(arc, 73), 1.5);

    unsigned char threePoint[kElementRecordSize] = {};
    SetType(threePoint, 31);
    for (int off : {11, 19, 35, 43, 51, 59})
        Put(threePoint, off, off);
    ScaleElementRecordBy(threePoint, 2.0);
    for (int off : {11, 19, 35, 43, 51, 59})
        EXPECT_DOUBLE_EQ(Get(threePoint, off), 2.0 * off) << off;

    unsigned char scaled[kElementRecordSize] = {};
    SetType(scaled, 32);
    Put(scaled, 33, 3);
    Put(scaled, 49, 0.7);
    Put(scaled, 57, 8);
    Put(scaled, 65, 6);
    ScaleElementRecordBy(scaled, 2.0);
    EXPECT_DOUBLE_EQ(Get(scaled, 33), 6);
    EXPECT_DOUBLE_EQ(Get(scaled, 49), 0.7);
    EXPECT_DOUBLE_EQ(Get(scaled, 57), 16);
    EXPECT_DOUBLE_EQ(Get(scaled, 65), 12);

    // Factors of 1, of nearly 0 and not finite leave the record as it was.
    for (double f : {1.0, 0.0, 1e-30, double(NAN), double(INFINITY)}) {
        unsigned char record[kElementRecordSize];
        std::memcpy(record, arc, sizeof record);
        ScaleElementRecordBy(record, f);
        EXPECT_EQ(0, std::memcmp(record, arc, sizeof record)) << f;
    }
}

// A drawing view of scale 1/100 in the view table, and the input scale window's class. Without
// a main frame there is no active view: the window opens for the drawing bound beforehand.
class InputScaleWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedEdgeButtons = GetLocalSettingsLive().setup.bScTestBtn;
        GetLocalSettingsLive().setup.bScTestBtn = 0;
        view.SetDatabase(&database);
        RECT rect = {0, 0, 400, 300};
        window = view.Create(nullptr, &rect, nullptr, WS_POPUP | WS_VISIBLE, 0);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(database.engineDb, nullptr);
        DbInfoRecord info;
        ASSERT_TRUE(ZUriGetDBInfo(&info, database.engineDb));
        info.scale = 0.01;
        ASSERT_TRUE(ZUriSetDBInfo(&info, database.engineDb));
        ClearViewTable();
        AddViewToTable(window);
        ASSERT_EQ(RegisterInputScaleWindowClass(GetModuleHandleA(nullptr), nullptr), 1);
        BindInputScale(window, database.engineDb, 1.0);
    }
    void TearDown() override
    {
        CloseInputScaleWindow();
        SetInputScaleRefused(0);
        SetInputScaleEnabled(1);
        ClearViewTable();
        if (window) DestroyWindow(window);
        GetLocalSettingsLive().setup.bScTestBtn = savedEdgeButtons;
    }

    void TypeInputScale(const char* text)
    {
        HWND combo = GetDlgItem(GetInputScaleWindow(), kInputScaleInputCombo);
        SetWindowTextA(combo, text);
        SendMessageA(GetInputScaleWindow(), WM_COMMAND, MAKEWPARAM(kInputScaleInputCombo, CBN_EDITCHANGE),
                     reinterpret_cast<LPARAM>(combo));
    }

    int savedEdgeButtons = 1;
    CCadDatabase database;
    CRiririView view;
    HWND window = nullptr;
};

struct ViewElement {
    HWND view;
    unsigned char* record;
};

TEST_F(InputScaleWindow, ClosedLeavesEveryConversionUnchanged)
{
    BindInputScale(window, database.engineDb, 0.02);
    EXPECT_EQ(HandleInputScaleMessage(3, 0), 0);
    EXPECT_EQ(GetDbInputToDrawingFactor(database.engineDb), 1.0);
    double point[3] = {10, 20, 30};
    EXPECT_EQ(ScaleViewPointInputToDrawing(window, point), 1);
    EXPECT_EQ(point[0], 10);
    EXPECT_EQ(point[1], 20);
}

TEST_F(InputScaleWindow, OpenWindowConvertsTheBoundDrawing)
{
    ASSERT_EQ(HandleInputScaleMessage(1, 0), 1);
    ASSERT_NE(GetInputScaleWindow(), nullptr);
    EXPECT_EQ(HandleInputScaleMessage(3, 0), 1);
    EXPECT_DOUBLE_EQ(GetInputScale(), 0.01);  // the drawing's own scale at first

    TypeInputScale("1/50");
    EXPECT_DOUBLE_EQ(GetInputScale(), 0.02);
    EXPECT_DOUBLE_EQ(GetDbInputToDrawingFactor(database.engineDb), 0.5);
    EXPECT_DOUBLE_EQ(GetDbDrawingToInputFactor(database.engineDb), 2.0);
    EXPECT_DOUBLE_EQ(GetViewDrawingToInputFactor(window), 2.0);

    double point[3] = {10, 20, 30};
    ScaleViewPointInputToDrawing(window, point);
    EXPECT_DOUBLE_EQ(point[0], 5);
    EXPECT_DOUBLE_EQ(point[1], 10);
    EXPECT_DOUBLE_EQ(point[2], 30);

    unsigned char circle[kElementRecordSize] = {};
    SetType(circle, kElementCircle);
    Put(circle, 57, 4);
    ViewElement request = {window, circle};
    EXPECT_EQ(HandleInputScaleMessage(13, reinterpret_cast<LPARAM>(&request)), 1);
    EXPECT_DOUBLE_EQ(Get(circle, 57), 2);
    EXPECT_EQ(HandleInputScaleMessage(12, reinterpret_cast<LPARAM>(&request)), 1);
    EXPECT_DOUBLE_EQ(Get(circle, 57), 4);

    // Another drawing's view is not converted.
    CCadDatabase other;
    other.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetDbInputToDrawingFactor(other.engineDb), 1.0);
    other.Free();

    // Disabled (sub-code 20 answers 0 though it succeeds), the factors are 1 again.
    EXPECT_EQ(HandleInputScaleMessage(20, 0), 0);
    EXPECT_EQ(HandleInputScaleMessage(3, 0), 0);
    EXPECT_EQ(GetDbInputToDrawingFactor(database.engineDb), 1.0);
    EXPECT_EQ(HandleInputScaleMessage(20, 1), 0);

    EXPECT_EQ(HandleInputScaleMessage(2, 0), 1);
    EXPECT_EQ(GetInputScaleWindow(), nullptr);
    EXPECT_EQ(GetInputScale(), 1.0);
}

TEST_F(InputScaleWindow, TypedTextOutsideTheScaleCharactersIsReplacedByItsValue)
{
    ASSERT_EQ(HandleInputScaleMessage(1, 0), 1);
    HWND combo = GetDlgItem(GetInputScaleWindow(), kInputScaleInputCombo);
    TypeInputScale("1 / 4");
    EXPECT_DOUBLE_EQ(GetInputScale(), 0.25);
    char text[64] = {};
    GetWindowTextA(combo, text, sizeof text);
    EXPECT_STREQ(text, "0.25");
    TypeInputScale("abc");
    EXPECT_EQ(GetInputScale(), 1.0);
    TypeInputScale("0");
    EXPECT_EQ(GetInputScale(), 1.0);
}

TEST_F(InputScaleWindow, DrawingScaleComboShowsTheDrawingScaleDisabled)
{
    ASSERT_EQ(HandleInputScaleMessage(1, 0), 1);
    HWND drawingCombo = GetDlgItem(GetInputScaleWindow(), kInputScaleDrawingCombo);
    EXPECT_EQ(SendMessageA(drawingCombo, CB_GETCOUNT, 0, 0), 1);
    EXPECT_FALSE(IsWindowEnabled(drawingCombo));
    EXPECT_EQ(EnableInputScaleCombo(0), 1);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(GetInputScaleWindow(), kInputScaleInputCombo)));
    CloseInputScaleWindow();
    EXPECT_EQ(EnableInputScaleCombo(1), 0);
}

TEST(HandleInputScaleMessage, UnknownSubCodesAnswerZero)
{
    EXPECT_EQ(HandleInputScaleMessage(14, 0), 0);
    EXPECT_EQ(HandleInputScaleMessage(0, 0), 0);
    EXPECT_EQ(HandleInputScaleMessage(10, 0), 1);
    EXPECT_EQ(IsInputScaleRefused(), 1);
    EXPECT_EQ(HandleInputScaleMessage(11, 0), 1);
    EXPECT_EQ(IsInputScaleRefused(), 0);
}

}  // namespace
