// The application object's start mode, show command and coloured-button accessors.
#include "GTest.h"

#include "core/CadSystem.h"

namespace {

// Restores the hand-off link mode after a test that changes it.
class LinkModeGuard {
public:
    LinkModeGuard() : m_saved(GetLinkMode()) {}
    ~LinkModeGuard() { SetLinkMode(m_saved); }

private:
    int m_saved;
};

}  // namespace

TEST(CadSystem, StartModeAndShowCommandByLinkMode)
{
    LinkModeGuard guard;
    const struct {
        int linkMode;
        int startMode;
        bool hidden;
    } cases[] = {
        {-1, 0, false},  // no hand-off file
        {0, 1, false},  {99, 1, false}, {1, 2, true},  {3, 2, true},  {5, 2, true},
        {10, 3, false}, {6, 0, false},  {9, 0, false}, {11, 0, false}, {100, 0, false},
    };
    for (const auto& c : cases) {
        SetLinkMode(c.linkMode);
        EXPECT_EQ(GetCadSystem().GetStartMode(), c.startMode) << "link mode " << c.linkMode;
        int show = SW_SHOWMAXIMIZED;
        GetCadSystem().AdjustShowCommand(&show);
        EXPECT_EQ(show, c.hidden ? SW_HIDE : SW_SHOWMAXIMIZED) << "link mode " << c.linkMode;
    }
    GetCadSystem().AdjustShowCommand(nullptr);  // a null pointer is ignored
}

TEST(CadSystem, OneObjectForTheWholeProgram)
{
    EXPECT_EQ(&GetCadSystem(), &GetCadSystem());
    EXPECT_EQ(GetCadSystem().initStatus, 0);
}

TEST(CadSystem, ColourButtonEntriesByKind)
{
    const struct {
        int kind;
        int entry;
    } cases[] = {{0, 1}, {1, 2}, {2, 3}, {3, 19}, {4, 0}, {5, 19}, {-1, 19}, {100, 19}};
    for (const auto& c : cases) EXPECT_EQ(ColorButtonEntryOfKind(c.kind), c.entry) << c.kind;
}

TEST(CadSystem, ColourButtonColoursComeFromTheSettings)
{
    // Default entries: 0 text #FFFFFF on #6464FF, 1 text #FFFFFF on #F46358, 2 black on
    // #FFFF00; entry 19 is empty (all colours 0).
    EXPECT_EQ(GetColorButtonBkColor(4), RGB(0x64, 0x64, 0xFF));
    EXPECT_EQ(GetColorButtonTextColor(4), RGB(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(GetColorButtonBkColor(0), RGB(0xF4, 0x63, 0x58));
    EXPECT_EQ(GetColorButtonDisabledColor(0), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(GetColorButtonBkColor(1), RGB(0xFF, 0xFF, 0x00));
    EXPECT_EQ(GetColorButtonTextColor(1), RGB(0, 0, 0));
    EXPECT_EQ(GetColorButtonBkColor(2), GetSysColor(COLOR_3DFACE));
    EXPECT_EQ(GetColorButtonBkColor(3), 0u);
    EXPECT_EQ(GetColorButtonTextColor(7), 0u);
    EXPECT_EQ(GetDialogBackColor(), RGB(0xFF, 0xFF, 0xB5));

    ColorBtnAttrEx& entry = GetCadSystem().config.color.COLOR_BTN_ATTR[2];
    ColorBtnAttrEx saved = entry;
    entry = ColorBtnAttrEx("#010203", "#0A0B0C", "#102030");
    EXPECT_EQ(GetColorButtonTextColor(1), RGB(1, 2, 3));
    EXPECT_EQ(GetColorButtonBkColor(1), RGB(10, 11, 12));
    EXPECT_EQ(GetColorButtonDisabledColor(1), RGB(0x10, 0x20, 0x30));
    entry = saved;
}

TEST(CadSystem, DrawColorButtonPaintsTheBackground)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.hDC = dc;
    item.rcItem = {0, 0, 40, 20};
    DrawColorButtonOfKind(&item, 4);  // entry 0: background #6464FF
    EXPECT_EQ(GetPixel(dc, 20, 10), RGB(0x64, 0x64, 0xFF));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}
