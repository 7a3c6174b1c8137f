// The symbol-file viewer as a user meets it: the dialog run from its template over symbol files
// in a temporary folder, clicked, double-clicked and scrolled through its cell area; and its
// painter drawing records into a bitmap.
#include "GTest.h"

#include <windows.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "EngineRecords.h"
#include "ModalScript.h"
#include "OwnWindows.h"
#include "TempFolder.h"
#include "dialogs/SymbolFile.h"
#include "dialogs/SymbolPainter.h"
#include "dialogs/SymbolViewer.h"

namespace {

TEST(SymbolPainter, PenFollowsLineTypeAndWidth)
{
    const struct {
        int type, width, style, pixels;
    } cases[] = {
        {0, 0, PS_SOLID, 1},      {0, 1, PS_SOLID, 2},      {0, 8, PS_SOLID, 2},       {0, 2, PS_SOLID, 4},
        {0, 3, PS_SOLID, 1},      {1, 0, PS_DOT, 1},        {2, 0, PS_DASH, 1},        {4, 2, PS_DASH, 1},
        {9, 1, PS_DASH, 1},       {5, 0, PS_DASHDOT, 1},    {12, 0, PS_DASHDOT, 1},    {7, 0, PS_DASHDOTDOT, 1},
        {10, 0, PS_DASHDOTDOT, 1}, {15, 0, PS_DASHDOTDOT, 1}, {16, 2, PS_SOLID, 4},    {-1, -1, PS_SOLID, 1},
    };
    for (const auto& c : cases) {
        const SymbolPen pen = SymbolPenFor(c.type, c.width);
        EXPECT_EQ(pen.style, c.style) << c.type << "/" << c.width;
        EXPECT_EQ(pen.width, c.pixels) << c.type << "/" << c.width;
    }
    EXPECT_EQ(SymbolColour(0), RGB(0, 0, 0));
    EXPECT_EQ(SymbolColour(257), RGB(0, 0, 0));
    EXPECT_EQ(SymbolColour(16), RGB(0, 0, 0));
    EXPECT_EQ(SymbolColour(7), RGB(255, 255, 255));
}

// A 200 x 200 bitmap, white, to paint records into.
class Canvas {
public:
    Canvas()
    {
        m_dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 200;
        info.bmiHeader.biHeight = -200;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, 200, 200};
        FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    // The colour within a pixel or two of the place (GDI's rounding of curves).
    bool Near(int x, int y, COLORREF colour) const
    {
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (At(x + dx, y + dy) == colour) return true;
        return false;
    }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

TEST(SymbolPainter, DrawsRecordsWithYUpwardsAroundTheOrigin)
{
    // A vertical line from the origin 30 units up in colour 2, a circle of radius 20 round
    // (-40, 0) in colour 4, and a point at (40, -40).
    const SymbolFile symbol = ParseSymbolText(
        "NAME,t\nLINE,2,0,0,0,0,0,0,30\nCIRC,4,0,0,0,-40,0,20\nPOINT,2,0,0,0,40,-40\nLINE,2,0,0,0,-45,45,45,45\n");
    std::vector<unsigned char> records;
    std::vector<std::string> texts;
    ASSERT_TRUE(SymbolToRecords(symbol, 1, 7, 200, 200, &records, &texts));
    // The extent reaches 60 to the left: 100 / 60 x 0.8.
    const double factor = 100.0 / 60 * 0.8;
    Canvas canvas;
    PaintSymbolRecords(canvas.Dc(), records.data(), records.size() / kElementRecordSize, POINT{100, 100}, -1);
    const COLORREF two = SymbolColour(2);
    const COLORREF four = SymbolColour(4);
    EXPECT_EQ(canvas.At(100, 100 - static_cast<int>(15 * factor)), two);  // upwards, not down
    EXPECT_EQ(canvas.At(100, 100 + static_cast<int>(15 * factor)), RGB(255, 255, 255));
    // The circle's rightmost point is at (-20, 0), its leftmost at (-60, 0); inside stays empty.
    EXPECT_TRUE(canvas.Near(100 + static_cast<int>(-20 * factor), 100, four));
    EXPECT_TRUE(canvas.Near(100 + static_cast<int>(-60 * factor), 100, four));
    EXPECT_EQ(canvas.At(100 + static_cast<int>(-40 * factor), 100), RGB(255, 255, 255));
    // The point is a small cross below and right of the origin.
    const int px = 100 + static_cast<int>(std::lround(40 * factor));
    const int py = 100 + static_cast<int>(std::lround(40 * factor));
    EXPECT_EQ(canvas.At(px, py), two);
    EXPECT_EQ(canvas.At(px - 2, py), two);
    EXPECT_EQ(canvas.At(px, py + 2), two);
}

TEST(SymbolPainter, ArcRunsCounterClockwiseFromStartToEnd)
{
    // A quarter arc from 0 to 90 degrees: the upper right quarter only.
    const SymbolFile symbol = ParseSymbolText("ARC,2,0,0,0,0,0,50,0,90\nPOINT,2,0,0,0,-50,-50\n");
    std::vector<unsigned char> records;
    std::vector<std::string> texts;
    ASSERT_TRUE(SymbolToRecords(symbol, 1, 7, 125, 125, &records, &texts));  // factor 1
    Canvas canvas;
    PaintSymbolRecords(canvas.Dc(), records.data(), records.size() / kElementRecordSize, POINT{100, 100}, -1);
    const COLORREF two = SymbolColour(2);
    const int d = static_cast<int>(50 * 0.7071);
    auto drawnAt = [&](int x, int y) { return canvas.Near(x, y, two); };
    EXPECT_TRUE(drawnAt(100 + d, 100 - d));   // 45 degrees: drawn
    EXPECT_FALSE(drawnAt(100 - d, 100 + d));  // 225 degrees: not
    EXPECT_FALSE(drawnAt(100 + d, 100 + d));  // 315 degrees: not
}

// The companion window draws its symbol into an owner-drawn control: the symbol's origin at the
// control's centre, y upwards, scaled to the control, on the background colour; closing hides it.
TEST(SymbolPreviewWindow, DrawsTheSymbolIntoItsControlAndHidesOnClose)
{
    SymbolPreviewInputs& preview = GetSymbolPreviewInputs();
    const SymbolFile symbol = ParseSymbolText("LINE,2,0,0,0,0,0,0,50\nPOINT,2,0,0,0,-50,-50\n");
    ASSERT_TRUE(SymbolToRecords(symbol, 1, 7, 100, 100, &preview.records, &preview.texts));  // factor 0.8
    preview.width = 100;
    preview.height = 100;
    preview.background = RGB(0, 0, 64);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = SymbolPreviewWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SymbolPreviewTest";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND window = CreateWindowA("SymbolPreviewTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 220, 220, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    Canvas canvas;
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.hDC = canvas.Dc();
    item.rcItem = {0, 0, 200, 200};
    EXPECT_TRUE(SendMessageA(window, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)));
    // Twice the units: the line runs from the centre 80 pixels up.
    EXPECT_EQ(canvas.At(100, 60), SymbolColour(2));
    EXPECT_EQ(canvas.At(100, 140), RGB(0, 0, 64));
    EXPECT_EQ(canvas.At(5, 195), RGB(0, 0, 64));
    // The device is left as it was found.
    EXPECT_EQ(GetMapMode(canvas.Dc()), MM_TEXT);

    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    DestroyWindow(window);
    UnregisterClassA("SymbolPreviewTest", GetModuleHandleA(nullptr));
    preview = SymbolPreviewInputs();
}

TEST(SymbolViewerRules, ClicksAndScrolling)
{
    const struct {
        int selection, index, count, result;
    } clicks[] = {{-1, 2, 5, 2}, {2, 2, 5, -1}, {1, 3, 5, 3}, {1, 5, 5, -1}, {-1, 9, 5, -1}, {3, -1, 5, -1}};
    for (const auto& c : clicks) {
        EXPECT_EQ(SymbolSelectionAfterClick(c.selection, c.index, c.count), c.result) << c.selection << " " << c.index;
    }
    const struct {
        int position, request, thumb, rows, max, result;
    } scrolls[] = {
        {0, SB_LINEDOWN, 0, 3, 5, 1}, {5, SB_LINEDOWN, 0, 3, 5, 5}, {0, SB_LINEUP, 0, 3, 5, 0},
        {1, SB_PAGEDOWN, 0, 3, 5, 4}, {4, SB_PAGEDOWN, 0, 3, 5, 5}, {2, SB_PAGEUP, 0, 3, 5, 0},
        {0, SB_THUMBTRACK, 4, 3, 5, 4}, {0, SB_THUMBPOSITION, 9, 3, 5, 5}, {3, SB_TOP, 0, 3, 5, 0},
        {0, SB_BOTTOM, 0, 3, 5, 5}, {0, SB_LINEDOWN, 0, 2, 0, 0}, {2, SB_ENDSCROLL, 0, 3, 5, 2},
    };
    for (const auto& s : scrolls) {
        EXPECT_EQ(SymbolScrollAfter(s.position, s.request, s.thumb, s.rows, s.max), s.result)
            << s.position << " " << s.request;
    }
}

// Symbol files in a temporary folder: a line, a circle and a file of names only (which has
// nothing to draw).
class SymbolViewerDialog : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.Write("line.txt", "NAME,線\nLINE,2,0,0,0,-10,0,10,0\n"));
        ASSERT_TRUE(m_folder.Write("circle.txt", "NAME,とても長いシンボルの名前\nCIRC,4,0,0,0,0,0,5\n"));
        ASSERT_TRUE(m_folder.Write("empty.txt", "NAME,空\n"));
        SymbolViewerInputs& inputs = GetSymbolViewerInputs();
        inputs = SymbolViewerInputs();
    }
    void TearDown() override { GetSymbolViewerInputs() = SymbolViewerInputs(); }

    std::string File(const char* name) const { return m_folder.File(name); }

    static HWND Viewer() { return FindOwnWindow("#32770", nullptr); }
    static HWND CellArea()
    {
        HWND viewer = Viewer();
        return viewer != nullptr ? GetDlgItem(viewer, kSymbolCellArea) : nullptr;
    }
    // Posts a click (or double click) on a cell of the visible grid.
    static ModalScript::Step ClickCell(int column, int row, bool twice = false)
    {
        return [=] {
            HWND area = CellArea();
            if (area == nullptr || !IsWindowVisible(area)) return false;
            const LPARAM at = MAKELPARAM(5 + column * kSymbolCellWidth + 50, row * kSymbolCellHeight + 50);
            PostMessageA(area, twice ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(area, WM_LBUTTONUP, 0, at);
            return true;
        };
    }
    static ModalScript::Step ExpectSelection(int selection)
    {
        return [=] { return GetSymbolViewerInputs().selection == selection; };
    }
    static ModalScript::Step Press(int id)
    {
        return [=] {
            HWND viewer = Viewer();
            if (viewer == nullptr) return false;
            PostMessageA(viewer, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(viewer, id)));
            return true;
        };
    }
    // Answers a message box of the caption "Err" showing the text.
    static ModalScript::Step AnswerError(std::string text, int* seen)
    {
        return [=] {
            HWND box = nullptr;
            while ((box = FindWindowExA(nullptr, box, "#32770", "Err")) != nullptr) {
                char shown[64] = "";
                if (HWND label = GetDlgItem(box, 0xFFFF)) GetWindowTextA(label, shown, sizeof shown);
                if (text != shown) continue;
                ++*seen;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return true;
            }
            return false;
        };
    }
    static INT_PTR Run(ModalScript& script)
    {
        return script.Run([] { return ShowSymbolViewer(GetModuleHandleA(nullptr), nullptr); });
    }

    TempFolder m_folder;
};

TEST_F(SymbolViewerDialog, ClickSelectsAndOkReturnsTheCell)
{
    GetSymbolViewerInputs().files = {File("line.txt"), File("circle.txt")};
    GetSymbolViewerInputs().caption = "記号の選択";
    std::string caption;
    ModalScript script({[&] {
                            HWND viewer = Viewer();
                            if (viewer == nullptr || !IsWindowVisible(viewer)) return false;
                            char text[64] = "";
                            GetWindowTextA(viewer, text, sizeof text);
                            caption = text;
                            return true;
                        },
                        Press(IDOK),  // nothing selected: ignored
                        ClickCell(1, 0), ExpectSelection(1), ClickCell(1, 0), ExpectSelection(-1),
                        ClickCell(2, 0),  // beyond the last file
                        ExpectSelection(-1), ClickCell(1, 0), ExpectSelection(1), Press(IDOK)});
    EXPECT_EQ(Run(script), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(script.Pending(), 0u);
    EXPECT_EQ(caption, "記号の選択");
    EXPECT_EQ(GetSymbolViewerInputs().selection, 1);
}

TEST_F(SymbolViewerDialog, DoubleClickEndsAsOkAndCancelClearsTheSelection)
{
    GetSymbolViewerInputs().files = {File("line.txt"), File("circle.txt")};
    ModalScript twice({ClickCell(0, 0, true)});
    EXPECT_EQ(Run(twice), 1);
    EXPECT_FALSE(twice.TimedOut());
    EXPECT_EQ(GetSymbolViewerInputs().selection, 0);

    ModalScript cancel({ClickCell(1, 0), ExpectSelection(1), Press(IDCANCEL)});
    EXPECT_EQ(Run(cancel), 0);
    EXPECT_FALSE(cancel.TimedOut());
    EXPECT_EQ(GetSymbolViewerInputs().selection, -1);
}

TEST_F(SymbolViewerDialog, UnreadableAndEmptyFilesAreReportedAndLeaveTheCellEmpty)
{
    GetSymbolViewerInputs().files = {File("line.txt"), File("missing.txt"), File("empty.txt")};
    int readErrors = 0, transferErrors = 0;
    ModalScript script({AnswerError("Read Error", &readErrors), AnswerError("Transfar Error", &transferErrors),
                        ClickCell(1, 0), ExpectSelection(1), Press(IDOK)});
    EXPECT_EQ(Run(script), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(readErrors, 1);
    EXPECT_EQ(transferErrors, 1);
    // An empty cell still takes a click.
    EXPECT_EQ(GetSymbolViewerInputs().selection, 1);
}

TEST_F(SymbolViewerDialog, ScrollingMovesByRowsAndClicksFollowIt)
{
    std::vector<std::string> files(40, File("line.txt"));
    GetSymbolViewerInputs().files = files;
    GetSymbolViewerInputs().twoRows = 1;
    SymbolViewerView seen;
    auto scroll = [](int request) {
        return [=] {
            HWND area = CellArea();
            if (area == nullptr) return false;
            PostMessageA(area, WM_VSCROLL, MAKEWPARAM(request, 0), 0);
            return true;
        };
    };
    auto expectScroll = [&](int position) {
        return [&, position] {
            seen = GetSymbolViewerView();
            return seen.scroll == position;
        };
    };
    ModalScript script({ClickCell(0, 0), ExpectSelection(0), scroll(SB_LINEDOWN), expectScroll(1), scroll(SB_PAGEDOWN),
                        expectScroll(3), ClickCell(1, 1), [&] {
                            const SymbolViewerView v = GetSymbolViewerView();
                            return GetSymbolViewerInputs().selection == (3 + 1) * v.columns + 1;
                        },
                        scroll(SB_BOTTOM), [&] { return GetSymbolViewerView().scroll == GetSymbolViewerView().scrollMax; },
                        scroll(SB_LINEDOWN), scroll(SB_PAGEUP), [&] {
                            const SymbolViewerView v = GetSymbolViewerView();
                            return v.scroll == (v.scrollMax > 2 ? v.scrollMax - 2 : 0);
                        },
                        Press(IDOK)});
    EXPECT_EQ(Run(script), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(script.Pending(), 0u);
    const SymbolViewerView view = GetSymbolViewerView();
    EXPECT_EQ(view.rows, 2);
    EXPECT_GE(view.columns, 1);
    EXPECT_LE(view.columns, 8);
    EXPECT_EQ(view.scrollMax, SymbolScrollMax(40, view.columns, 2));
}

}  // namespace
