// The program's dialog base on a real template (the cursor dialog): the owner-drawn OK button,
// the erased area, the centring flag, the colour messages, and the plug-in's colour switch.
#include "GTest.h"

#include <windows.h>

#include "ButtonDialogTemplate.h"
#include "dialogs/DialogBase.h"

namespace {

class LookDialog : public CDialogBase<LookDialog> {
public:
    enum { IDD = 216 };
    using Base = CDialogBase<LookDialog>;

    WK_BEGIN_MSG_MAP(LookDialog)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    int centre = 1, colours = 1;
    HBRUSH Brush() const { return m_backgroundBrush; }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        m_centre = centre;
        m_colourSwitch = colours;
        handled = FALSE;
        return 1;
    }
};

TEST(ProgramDialogBase, OkIsOwnerDrawnAndOtherButtonsKeepTheirStyle)
{
    LookDialog dialog;
    HWND window = dialog.Create(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(window, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(window, IDCANCEL), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(window, 1200), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    DestroyWindow(window);
}

TEST(ProgramDialogBase, EraseCoversTheWholeClientArea)
{
    LookDialog dialog;
    HWND window = dialog.Create(nullptr);
    ASSERT_NE(window, nullptr);
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right + 2, client.bottom + 2);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all = {0, 0, client.right + 2, client.bottom + 2};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &all, red);
    DeleteObject(red);
    SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    const COLORREF back = GetDialogBackColor();
    EXPECT_EQ(GetPixel(dc, 0, 0), back);
    EXPECT_EQ(GetPixel(dc, client.right - 1, client.bottom - 1), back) << "the last column and row too";
    EXPECT_EQ(GetPixel(dc, client.right + 1, client.bottom + 1), RGB(255, 0, 0)) << "nothing beyond";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
}

TEST(ProgramDialogBase, CentreFlagDecidesThePlace)
{
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr, nullptr, nullptr);
    for (int centre : {1, 0}) {
        LookDialog dialog;
        dialog.centre = centre;
        HWND window = dialog.Create(owner);
        ASSERT_NE(window, nullptr);
        RECT shown;
        GetWindowRect(window, &shown);
        const int middleX = (shown.left + shown.right) / 2, middleY = (shown.top + shown.bottom) / 2;
        if (centre) {
            EXPECT_NEAR(middleX, 400, 1);
            EXPECT_NEAR(middleY, 300, 1);
        } else {
            EXPECT_FALSE(std::abs(middleX - 400) <= 1 && std::abs(middleY - 300) <= 1) << "left where the template puts it";
        }
        DestroyWindow(window);
    }
    DestroyWindow(owner);
}

struct ColourCase {
    const char* what;
    int colourSwitch;
    UINT message;
    int control;  // 0: none
    bool handled;
    bool memberBrush;
};

TEST(ProgramDialogBase, ColourMessages)
{
    const ColourCase cases[] = {
        {"static", 1, WM_CTLCOLORSTATIC, 0, true, true},
        {"OK", 1, WM_CTLCOLORBTN, IDOK, true, true},
        {"Cancel", 1, WM_CTLCOLORBTN, IDCANCEL, true, false},
        {"erase", 1, WM_ERASEBKGND, 0, true, false},
        {"draw item", 1, WM_DRAWITEM, 0, false, false},
        {"static, system colours", 0, WM_CTLCOLORSTATIC, 0, false, false},
        {"erase, system colours", 0, WM_ERASEBKGND, 0, false, false},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(c.what);
        LookDialog dialog;
        dialog.colours = c.colourSwitch;
        HWND window = dialog.Create(nullptr);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(dialog.Brush() != nullptr, c.colourSwitch != 0);
        HDC dc = GetDC(window);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = 1200;
        item.hDC = dc;
        WPARAM wParam = c.message == WM_DRAWITEM ? 1200 : reinterpret_cast<WPARAM>(dc);
        LPARAM lParam = c.message == WM_DRAWITEM ? reinterpret_cast<LPARAM>(&item)
                                                 : reinterpret_cast<LPARAM>(c.control ? GetDlgItem(window, c.control) : nullptr);
        LRESULT result = 0;
        EXPECT_EQ(dialog.ProcessBaseMessage(window, c.message, wParam, lParam, result, 0), c.handled);
        if (c.memberBrush) EXPECT_EQ(reinterpret_cast<HBRUSH>(result), dialog.Brush());
        if (c.message == WM_CTLCOLORBTN && !c.memberBrush) EXPECT_EQ(result, 0);
        if (c.message == WM_CTLCOLORSTATIC && c.handled) EXPECT_EQ(GetBkColor(dc), GetDialogBackColor());
        ReleaseDC(window, dc);
        DestroyWindow(window);
    }
}

// The look on a template holding both colour-button ids of the two binaries.
class ButtonsDialog : public CDialogBase<ButtonsDialog> {
public:
    enum { IDD = 216 };
    using Base = CDialogBase<ButtonsDialog>;

    WK_BEGIN_MSG_MAP(ButtonsDialog)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    HWND CreateFromMemory(const DLGTEMPLATE* dialogTemplate)
    {
        return CreateIndirectFrom(GetModuleHandleA(nullptr), dialogTemplate, nullptr, 0);
    }
    HBRUSH Brush() const { return m_backgroundBrush; }
};

TEST(ProgramDialogBase, OkAndButton1000AreTheColourButtons)
{
    const ButtonDialogTemplate buttons{IDOK, 1000, 1021, IDCANCEL};
    ButtonsDialog dialog;
    HWND window = dialog.CreateFromMemory(buttons.Get());
    ASSERT_NE(window, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 80, 30);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const struct {
        int id;
        bool colourButton;
    } cases[] = {{IDOK, true}, {1000, true}, {1021, false}, {IDCANCEL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        HWND button = GetDlgItem(window, c.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW, c.colourButton);
        LRESULT result = -1;
        EXPECT_TRUE(dialog.ProcessBaseMessage(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(button), result, 0));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(result), c.colourButton ? dialog.Brush() : nullptr);
        // Drawn or not, the item goes on to the default processing.
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(c.id);
        item.hwndItem = button;
        item.hDC = dc;
        item.rcItem = {0, 0, 80, 30};
        result = -1;
        EXPECT_FALSE(dialog.ProcessBaseMessage(window, WM_DRAWITEM, static_cast<WPARAM>(c.id),
                                               reinterpret_cast<LPARAM>(&item), result, 0));
        EXPECT_EQ(result, 0);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
}

}  // namespace
