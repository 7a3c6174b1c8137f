#include "GTest.h"

#include <string>

#include "panels/PanelText.h"

namespace {

// A memory DC with a Shift-JIS font of fixed pitch, so widths are whole multiples.
class PanelTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dc = CreateCompatibleDC(nullptr);
        font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH,
                           "ＭＳ ゴシック");
        old = SelectObject(dc, font);
    }
    void TearDown() override
    {
        SelectObject(dc, old);
        DeleteObject(font);
        DeleteDC(dc);
    }
    int Width(const std::string& text)
    {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    HDC dc = nullptr;
    HFONT font = nullptr;
    HGDIOBJ old = nullptr;
};

TEST_F(PanelTextTest, AWideTextKeepsTheLongestWholeCharacterPrefixThatFitsWithTheEllipsis)
{
    const std::string japanese = "円弧中心点";  // five double-byte characters
    const struct {
        std::string text;
        int extent;
        int kept;
        bool cut;
    } cases[] = {
        {"LINE", Width("LINE"), 4, false},
        {"LINEAR", Width("LI") + Width("..."), 2, true},
        {japanese, Width(japanese), 10, false},
        {japanese, Width(japanese.substr(0, 4)) + Width("..."), 4, true},
        // One pixel short of two characters: one character, never half of the second.
        {japanese, Width(japanese.substr(0, 4)) + Width("...") - 1, 2, true},
        // No room at all: still one whole character.
        {japanese, 1, 2, true},
        {"", 10, 0, false},
    };
    for (const auto& c : cases) {
        bool cut = false;
        EXPECT_EQ(FitTextWithEllipsis(dc, c.text.c_str(), static_cast<int>(c.text.size()), c.extent, &cut), c.kept)
            << c.text << " in " << c.extent;
        EXPECT_EQ(cut, c.cut) << c.text << " in " << c.extent;
    }
}

}  // namespace
