#include "GTest.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "panels/ButtonImageSets.h"
#include "panels/CmdPnlButton.h"

namespace {

// A 24-bit BMP of one colour with white corners (white is the transparent colour).
std::string SolidBmp(int width, int height, COLORREF colour)
{
    const int rowSize = (width * 3 + 3) & ~3;
    std::string bytes(54 + rowSize * height, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<uint32_t>(bytes.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(width));
    put32(22, static_cast<uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = 24;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool corner = (x == 0 || x == width - 1) && (y == 0 || y == height - 1);
            const COLORREF c = corner ? RGB(255, 255, 255) : colour;
            const size_t at = 54 + static_cast<size_t>(y) * rowSize + x * 3;
            bytes[at] = static_cast<char>(GetBValue(c));
            bytes[at + 1] = static_cast<char>(GetGValue(c));
            bytes[at + 2] = static_cast<char>(GetRValue(c));
        }
    return bytes;
}

constexpr COLORREF kLeft = RGB(0x20, 0x40, 0xC0), kLeftSelected = RGB(0xF0, 0x80, 0x10);
constexpr COLORREF kRight = RGB(0x30, 0xA0, 0x30), kRightSelected = RGB(0xC0, 0x20, 0x20);

// Image sets in a temporary folder; the program's table is emptied again afterwards.
class ButtonImagesTest : public ::testing::Test {
protected:
    void WriteSet(int set, const char* suffix, int width, int height)
    {
        const COLORREF colours[4] = {kLeft, kLeftSelected, kRight, kRightSelected};
        for (int image = 1; image <= 4; ++image) {
            char name[32];
            wsprintfA(name, "%02d%d%s.bmp", set, image, suffix);
            ASSERT_TRUE(folder.Write(name, SolidBmp(width, height, colours[image - 1])));
        }
    }
    std::string Dir() const { return folder.Path().substr(0, folder.Path().size() - 1); }
    void TearDown() override { FreeButtonImageSets(); }
    TempFolder folder;
};

TEST_F(ButtonImagesTest, FileNamesAndSizesFollowTheScreenWidthAndTheSwitch)
{
    const struct {
        int width, lowResolution;
        const char* name;
        SIZE size;
    } cases[] = {
        {1280, 1, "F\\031_s.bmp", {59, 17}}, {1024, 1, "F\\031_s.bmp", {59, 17}},
        {1281, 1, "F\\031_m.bmp", {64, 19}}, {1679, 1, "F\\031_m.bmp", {64, 19}},
        {1680, 1, "F\\031.bmp", {76, 32}},   {1280, 0, "F\\031.bmp", {76, 32}},
        {1920, 0, "F\\031.bmp", {76, 32}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width * 10 + c.lowResolution);
        EXPECT_EQ(ButtonImageFileName("F", 3, 1, c.width, c.lowResolution), c.name);
        const SIZE size = ButtonImageSize(c.width, c.lowResolution);
        EXPECT_EQ(size.cx, c.size.cx);
        EXPECT_EQ(size.cy, c.size.cy);
    }
    EXPECT_EQ(ButtonImageFileName("F", 9, 4, 1920, 0), "F\\094.bmp");
}

TEST_F(ButtonImagesTest, OnlyCompleteLoadableSetsGetAnImageList)
{
    WriteSet(0, "_s", 59, 17);
    WriteSet(2, "_s", 59, 17);
    ASSERT_TRUE(folder.Write("021_s.bmp", "not a picture"));
    WriteSet(4, "_s", 59, 17);
    ASSERT_TRUE(DeleteFileA(folder.File("043_s.bmp").c_str()));
    WriteSet(5, "", 76, 32);  // the wrong size form for this screen
    LoadButtonImageSets(Dir(), 1280, 1);
    EXPECT_EQ(GetButtonImageSets().processed, 10);
    EXPECT_NE(GetButtonImageList(0), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(GetButtonImageList(0)), 4);
    for (int set : {1, 2, 3, 4, 5, 6, 9, -1, 10}) EXPECT_EQ(GetButtonImageList(set), nullptr) << set;
    EXPECT_EQ(GetButtonImageWidth(), 59);
    EXPECT_EQ(GetButtonImageHeight(), 17);
}

TEST_F(ButtonImagesTest, ButtonSizeGrowsByEightForEveryCaptionByteBeyondTheEighth)
{
    WriteSet(0, "", 76, 32);
    LoadButtonImageSets(Dir(), 1920, 0);
    const struct {
        const char* caption;
        int width, result;
    } cases[] = {{"", 76, -8}, {"円", 76, -6}, {"12345678", 76, 0}, {"12345678901", 100, 3}, {"範囲指定出力", 108, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        CCmdPnlButton button;
        button.SetInfo(c.caption, 1, "", 0);
        int width = 0, height = 0;
        EXPECT_EQ(button.GetButtonSize(&width, &height), c.result);
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, 32);
    }
}

COLORREF PixelOfPaint(CCmdPnlButton& button, const RECT& rect, int x, int y)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right + 4, rect.bottom + 4);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, rect.right + 4, rect.bottom + 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    button.Paint(dc, &rect, "");
    const COLORREF pixel = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return pixel;
}

TEST_F(ButtonImagesTest, ACommandFaceShowsTheLeftAndRightImagesAndTheSelectedPairWhenSelected)
{
    WriteSet(1, "", 76, 32);
    LoadButtonImageSets(Dir(), 1920, 0);
    CCmdPnlButton button;
    button.SetInfo("", 5, "", 1);
    const RECT wide = {0, 0, 120, 32};
    EXPECT_EQ(PixelOfPaint(button, wide, 10, 10), kLeft);
    EXPECT_EQ(PixelOfPaint(button, wide, 110, 10), kRight);
    EXPECT_EQ(PixelOfPaint(button, wide, 0, 0), RGB(0, 0, 0)) << "white is transparent";
    button.selected = 1;
    EXPECT_EQ(PixelOfPaint(button, wide, 10, 10), kLeftSelected);
    EXPECT_EQ(PixelOfPaint(button, wide, 110, 10), kRightSelected);
    // A face no wider than the image shows the left image alone; an absent set draws no face.
    const RECT narrow = {0, 0, 76, 32};
    EXPECT_EQ(PixelOfPaint(button, narrow, 70, 10), kLeftSelected);
    button.imageSet = 3;
    EXPECT_EQ(PixelOfPaint(button, wide, 10, 10), RGB(0, 0, 0));
}

TEST_F(ButtonImagesTest, ATypeButtonFaceIsGreyAndTurnsYellowWhenSelected)
{
    CCmdPnlButton button(1);
    button.SetInfo("作図", 100, "", 0);
    const RECT rect = {0, 0, 60, 24};
    EXPECT_EQ(PixelOfPaint(button, rect, 5, 20), static_cast<COLORREF>(0xE6E6E6));
    button.selected = 1;
    EXPECT_EQ(PixelOfPaint(button, rect, 5, 20), static_cast<COLORREF>(0x00DEFF));
}

TEST(CmdButtonCaptionFontTest, FontsFollowTheFaceHeight)
{
    const struct {
        int h, height, weight, vHeight, vWeight;
    } cases[] = {{10, 8, 400, 7, 400}, {13, 11, 400, 10, 400}, {14, 12, 400, 12, 400}, {18, 12, 400, 12, 400},
                 {19, 12, 400, 14, 700}, {20, 12, 400, 14, 700}, {21, 14, 700, 14, 700}, {32, 14, 700, 14, 700}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.h);
        int height = 0, weight = 0;
        CmdButtonCaptionFont(c.h, &height, &weight);
        EXPECT_EQ(height, c.height);
        EXPECT_EQ(weight, c.weight);
        CmdButtonVerticalCaptionFont(c.h, &height, &weight);
        EXPECT_EQ(height, c.vHeight);
        EXPECT_EQ(weight, c.vWeight);
    }
}

// A parent window that records the clicks its buttons report.
std::vector<std::pair<WPARAM, LPARAM>> g_clicks;

LRESULT CALLBACK RecordingParent(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CMDPANEL_CLICK) {
        g_clicks.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

class ButtonClickTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingParent;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CmdPnlButtonTestParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        g_clicks.clear();
    }
    void TearDown() override { DestroyWindow(parent); }
    HWND Make(CCmdPnlButton& button, int id)
    {
        button.SetInfo("線分", id, "線", 0);
        RECT rc = {0, 0, 76, 32};
        return button.Create(parent, &rc, "線分", WS_CHILD | WS_VISIBLE, 0, reinterpret_cast<HMENU>(INT_PTR(id)));
    }
    HWND parent = nullptr;
};

TEST_F(ButtonClickTest, PressAndReleaseTellTheParentOnceWithTheCommandId)
{
    CCmdPnlButton button;
    HWND window = Make(button, 70123);
    ASSERT_NE(window, nullptr);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "PanelCheckButton");
    EXPECT_EQ(GetClassLongA(window, GCL_CBWNDEXTRA), 12);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(g_clicks.empty()) << "a release without a press is no click";
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_EQ(g_clicks.size(), 1u);
    EXPECT_EQ(g_clicks[0].first, 70123u);
    EXPECT_EQ(g_clicks[0].second, reinterpret_cast<LPARAM>(window));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(g_clicks.size(), 1u) << "leaving the button takes the press back";
}

TEST_F(ButtonClickTest, TheSpaceBarClicksOnReleaseAndATypeButtonReportsItsIdAboveTheCommands)
{
    CCmdPnlButton button(1);
    HWND window = Make(button, 0x10065);
    ASSERT_NE(window, nullptr);
    SendMessageA(window, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(g_clicks.empty());
    SendMessageA(window, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(GetWindowLongA(window, 0), 1);
    SendMessageA(window, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(GetWindowLongA(window, 0), 0);
    ASSERT_EQ(g_clicks.size(), 1u);
    EXPECT_EQ(g_clicks[0].first, 0x10065u);
}

}  // namespace
