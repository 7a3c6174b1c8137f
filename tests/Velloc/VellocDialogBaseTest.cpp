// The plug-in's variant of the dialog base: the host's panel colour, 1021 as the second colour
// button, WM_DRAWITEM ended by the base, and the colour switch that leaves the system's colours.
#include "GTest.h"

#include <windows.h>

#include <cstdlib>

#include "ButtonDialogTemplate.h"
#include "DialogBase.h"

namespace {

class PluginButtonsDialog : public CDialogBase<PluginButtonsDialog> {
public:
    enum { IDD = 1 };
    using Base = CDialogBase<PluginButtonsDialog>;

    WK_BEGIN_MSG_MAP(PluginButtonsDialog)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    HWND CreateFromMemory(const DLGTEMPLATE* dialogTemplate, HWND owner)
    {
        return this->CreateIndirectFrom(GetModuleHandleA(nullptr), dialogTemplate, owner, 0);
    }
    HBRUSH Brush() const { return this->m_backgroundBrush; }

    int colours = 1;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        this->m_colourSwitch = colours;
        handled = FALSE;
        return 1;
    }
};

struct DrawSurface {
    DrawSurface()
    {
        screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 80, 30);
        old = SelectObject(dc, bitmap);
    }
    ~DrawSurface()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
    HDC screen, dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

TEST(PluginDialogBase, OkAndButton1021AreTheColourButtonsAndDrawItemEndsWithTheBase)
{
    const ButtonDialogTemplate buttons{IDOK, 1021, 1000, IDCANCEL};
    PluginButtonsDialog dialog;
    HWND window = dialog.CreateFromMemory(buttons.Get(), nullptr);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(dialog.Brush(), nullptr);
    DrawSurface surface;
    const struct {
        int id;
        bool colourButton;
    } cases[] = {{IDOK, true}, {1021, true}, {1000, false}, {IDCANCEL, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        HWND button = GetDlgItem(window, c.id);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ((GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW, c.colourButton);
        LRESULT result = -1;
        EXPECT_TRUE(dialog.ProcessBaseMessage(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(surface.dc),
                                              reinterpret_cast<LPARAM>(button), result, 0));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(result), c.colourButton ? dialog.Brush() : nullptr);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(c.id);
        item.hwndItem = button;
        item.hDC = surface.dc;
        item.rcItem = {0, 0, 80, 30};
        result = -1;
        EXPECT_TRUE(dialog.ProcessBaseMessage(window, WM_DRAWITEM, static_cast<WPARAM>(c.id),
                                              reinterpret_cast<LPARAM>(&item), result, 0))
            << "the plug-in's base ends WM_DRAWITEM";
        EXPECT_EQ(result, 0);
    }
    LRESULT result = 0;
    EXPECT_TRUE(dialog.ProcessBaseMessage(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(surface.dc),
                                          reinterpret_cast<LPARAM>(GetDlgItem(window, ButtonDialogTemplate::kStaticId)),
                                          result, 0));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(result), dialog.Brush());
    EXPECT_EQ(GetBkColor(surface.dc), HostLib::Dader_GetPanelColor()) << "the host's panel colour";
    DestroyWindow(window);
}

TEST(PluginDialogBase, ColourSwitchOffKeepsTheSystemColoursButNotTheButtonsOrThePlace)
{
    HWND owner = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    const ButtonDialogTemplate buttons{IDOK, 1021};
    PluginButtonsDialog dialog;
    dialog.colours = 0;
    HWND window = dialog.CreateFromMemory(buttons.Get(), owner);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.Brush(), nullptr) << "no brush without the colours";
    for (int id : {static_cast<int>(IDOK), 1021}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(GetWindowLongA(GetDlgItem(window, id), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    }
    RECT shown;
    GetWindowRect(window, &shown);
    EXPECT_NEAR((shown.left + shown.right) / 2, 400, 1) << "still centred over the owner";
    EXPECT_NEAR((shown.top + shown.bottom) / 2, 300, 1);

    DrawSurface surface;
    const struct {
        const char* what;
        UINT message;
        LPARAM control;
        bool handled;
    } cases[] = {
        {"erase", WM_ERASEBKGND, 0, false},
        {"static", WM_CTLCOLORSTATIC, reinterpret_cast<LPARAM>(GetDlgItem(window, ButtonDialogTemplate::kStaticId)), false},
        {"colour button", WM_CTLCOLORBTN, reinterpret_cast<LPARAM>(GetDlgItem(window, 1021)), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LRESULT result = -1;
        EXPECT_EQ(dialog.ProcessBaseMessage(window, c.message, reinterpret_cast<WPARAM>(surface.dc), c.control, result, 0),
                  c.handled);
        if (c.handled) EXPECT_EQ(result, 0) << "the null brush";
    }
    DestroyWindow(window);
    DestroyWindow(owner);
}

}  // namespace
