#include "GTest.h"

#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostRecords.h"
#include "core/LocalSettings.h"
#include "drawing/CadDatabase.h"
#include "view/PlaneTransform.h"
#include "view/RiririView.h"
#include "view/ToleranceService.h"
#include "view/ViewTable.h"

namespace {

class ToleranceRequest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = GetLocalSettingsLive();
        GetLocalSettingsLive().iEpsMode = -1;
        std::memset(&param, 0, sizeof param);
        param.double1 = &out;
        int* intPointer = &intOut;
        std::memcpy(param.reserved20, &intPointer, sizeof intPointer);
    }
    void TearDown() override
    {
        ClearViewTable();
        if (window) DestroyWindow(window);
        GetLocalSettingsLive() = saved;
    }
    LRESULT Ask(int code, double value = 0, int intValue = 0)
    {
        param.mode = code;
        param.point1.x = value;
        param.second = intValue;
        return HandleToleranceRequest(&param);
    }
    void MakeView()
    {
        view.SetDatabase(&database);
        RECT rect = {0, 0, 200, 200};
        window = view.Create(nullptr, &rect, nullptr, WS_POPUP, 0);
        ASSERT_NE(window, nullptr);
        ClearViewTable();
        AddViewToTable(window);
        param.view = window;
    }

    LocalSettingsLive saved;
    CmdParamRecord param;
    double out = -1;
    int intOut = -1;
    CCadDatabase database;
    CRiririView view;
    HWND window = nullptr;
};

TEST_F(ToleranceRequest, GlobalCodesReadAndSetEachValue)
{
    EXPECT_EQ(Ask(2, 0.001), 1);
    EXPECT_EQ(Ask(1), 1);
    EXPECT_EQ(out, 0.001);
    EXPECT_EQ(GetLengthTolerance(), 0.001);
    EXPECT_EQ(Ask(4, 0.02), 1);
    EXPECT_EQ(Ask(3), 1);
    EXPECT_EQ(out, 0.02);
    EXPECT_EQ(Ask(6, 0, 3), 1);
    EXPECT_EQ(Ask(5), 1);
    EXPECT_EQ(intOut, 3);
    EXPECT_EQ(Ask(8, 0, 0), 1);
    EXPECT_EQ(Ask(7), 0);  // code 7 answers bZero itself
    EXPECT_EQ(Ask(8, 0, 1), 1);
    EXPECT_EQ(Ask(7), 1);
    EXPECT_EQ(Ask(10, 5e10), 1);
    EXPECT_EQ(Ask(9), 1);
    EXPECT_EQ(out, 5e10);
    EXPECT_EQ(Ask(11), 1);
    EXPECT_EQ(Ask(0), 1);
}

TEST_F(ToleranceRequest, TolerancesNotFiniteOrNotPositiveAreRefused)
{
    Ask(2, 0.001);
    Ask(4, 0.02);
    for (double bad : {0.0, -1.0, double(NAN), double(INFINITY)}) {
        EXPECT_EQ(Ask(2, bad), 1);
        EXPECT_EQ(GetLengthTolerance(), 0.001) << bad;
        EXPECT_EQ(Ask(4, bad), 1);
        EXPECT_EQ(GetAngleTolerance(), 0.02) << bad;
    }
}

TEST_F(ToleranceRequest, PerDrawingModeKeepsTheToleranceInTheDrawing)
{
    MakeView();
    GetLocalSettingsLive().iEpsMode = 1;
    const double globalLength = GetLengthTolerance();
    EXPECT_EQ(Ask(2, 0.0005), 1);
    EXPECT_EQ(Ask(1), 1);
    EXPECT_EQ(out, 0.0005);
    EXPECT_EQ(GetLengthTolerance(), globalLength);
    const auto* info = static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, database.engineDb));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->lengthTolerance, 0.0005);

    EXPECT_EQ(Ask(4, 0.5), 1);
    EXPECT_EQ(Ask(3), 1);
    EXPECT_NEAR(out, 0.5, 1e-15);
    EXPECT_NEAR(info->cosAngleTolerance, std::cos(0.5), 1e-15);

    // Codes 5 to 10 go to the program's values.
    EXPECT_EQ(Ask(6, 0, 4), 1);
    EXPECT_EQ(GetLocalSettingsLive().setup.iDigit, 4);
}

}  // namespace
