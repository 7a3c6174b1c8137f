// The paper fit of a new drawing window.
#include "GTest.h"

#include "mainframe/PaperFit.h"

TEST(PaperFit, FitsThePaperInsideTheViewLessTheMargin)
{
    PaperFit fit;
    ASSERT_EQ(FitPaperToView(440, 320, 0, 420.0, 297.0, &fit), 1);
    EXPECT_DOUBLE_EQ(fit.scale, 1.0);  // min(420 / 420, 300 / 297)
    EXPECT_DOUBLE_EQ(fit.offsetX, -210.0);
    EXPECT_DOUBLE_EQ(fit.offsetY, -148.5);
    ASSERT_EQ(FitPaperToView(480, 357, 1, 420.0, 297.0, &fit), 1);
    EXPECT_DOUBLE_EQ(fit.scale, 1.0);
}

TEST(PaperFit, AZeroPaperSizeOrNoRoomLeavesTheViewAlone)
{
    PaperFit fit;
    fit.scale = 7.0;
    EXPECT_EQ(FitPaperToView(800, 600, 0, 0.0, 297.0, &fit), 0);
    EXPECT_EQ(FitPaperToView(800, 600, 0, 420.0, 0.0, &fit), 0);
    EXPECT_EQ(FitPaperToView(800, 600, 0, -1.0, 297.0, &fit), 0);
    EXPECT_EQ(FitPaperToView(20, 600, 0, 420.0, 297.0, &fit), 0);
    EXPECT_EQ(fit.scale, 7.0);
    EXPECT_EQ(FitPaperToView(800, 600, 0, 420.0, 297.0, nullptr), 0);
}
