// The main frame's window styles by start mode.
#include "GTest.h"

#include "mainframe/ProgramEntry.h"

TEST(ProgramEntry, WindowStylesByStartMode)
{
    const struct {
        int startMode;
        DWORD style;
        DWORD exStyle;
    } cases[] = {
        {0, 0x06CF0000, 0x00040100},
        {1, 0x06000000, 0x00040100},
        {2, 0x06000000, WS_EX_TOPMOST},
        {3, 0x06000000, 0x00040100},
        {4, 0x06CF0000, 0x00040100},
    };
    for (const auto& c : cases) {
        StartWindowStyles styles = ChooseStartWindowStyles(c.startMode);
        EXPECT_EQ(styles.style, c.style) << c.startMode;
        EXPECT_EQ(styles.exStyle, c.exStyle) << c.startMode;
    }
}
