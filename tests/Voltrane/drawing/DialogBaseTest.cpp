// The dialog base on a real dialog (the import-options template): the base's WM_INITDIALOG
// runs after the dialog's own, statics take the dialog colour, the colour buttons are drawn
// through the look and WM_DRAWITEM goes on to the default processing unless the look ends it.
#include "GTest.h"

#include <windows.h>

#include "WinKit/DialogBase.h"

namespace {

struct CountingLook {
    static COLORREF BackColor() { return RGB(10, 20, 30); }
    static constexpr int kSecondButton = 1001;
    static int& OkDrawn() { static int n = 0; return n; }
    static int& SecondDrawn() { static int n = 0; return n; }
    static void DrawOkButton(const DRAWITEMSTRUCT*) { ++OkDrawn(); }
    static void DrawSecondButton(const DRAWITEMSTRUCT*) { ++SecondDrawn(); }
    static constexpr bool kDrawItemHandled = false;
};

struct HandledLook : CountingLook {
    static constexpr bool kDrawItemHandled = true;
};

template <class Look>
class TestDialog : public WinKit::CDialogBaseT<TestDialog<Look>, Look> {
public:
    enum { IDD = 235 };
    using Base = WinKit::CDialogBaseT<TestDialog<Look>, Look>;
    int ownInitDialog = 0;

    WK_BEGIN_MSG_MAP(TestDialog)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    HBRUSH Brush() const { return this->m_backgroundBrush; }
    void NoCentre() { this->m_centre = 0; }

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ++ownInitDialog;
        handled = FALSE;  // the base's runs too
        return 1;
    }
};

TEST(DialogBase, InitDialogBrushColoursAndDrawItem)
{
    TestDialog<CountingLook> dialog;
    HWND window = dialog.Create(nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(dialog.ownInitDialog, 1);
    ASSERT_NE(dialog.Brush(), nullptr) << "the base's WM_INITDIALOG ran after the dialog's own";
    HWND second = GetDlgItem(window, 1001);
    EXPECT_EQ(GetWindowLongA(second, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_NE(GetWindowLongA(GetDlgItem(window, 1002), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);

    HDC dc = GetDC(window);
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0)),
              dialog.Brush());
    EXPECT_EQ(GetBkColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageA(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(second))),
              dialog.Brush());
    EXPECT_NE(reinterpret_cast<HBRUSH>(SendMessageA(window, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc),
                                                    reinterpret_cast<LPARAM>(GetDlgItem(window, 1002)))),
              dialog.Brush())
        << "other buttons keep the system's colours";
    ReleaseDC(window, dc);

    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 1001;
    LRESULT result = 0;
    CountingLook::SecondDrawn() = 0;
    EXPECT_FALSE(dialog.ProcessBaseMessage(window, WM_DRAWITEM, 1001, reinterpret_cast<LPARAM>(&item), result, 0))
        << "drawn, then left to the default processing";
    EXPECT_EQ(CountingLook::SecondDrawn(), 1);
    item.CtlID = IDOK;
    dialog.ProcessBaseMessage(window, WM_DRAWITEM, IDOK, reinterpret_cast<LPARAM>(&item), result, 0);
    EXPECT_EQ(CountingLook::OkDrawn(), 1);
    EXPECT_FALSE(dialog.ProcessBaseMessage(window, WM_KEYDOWN, 0, 0, result, 0));
    EXPECT_FALSE(dialog.ProcessBaseMessage(window, WM_ERASEBKGND, 0, 0, result, 1)) << "only map 0";
    DestroyWindow(window);
}

TEST(DialogBase, PluginLookEndsDrawItem)
{
    TestDialog<HandledLook> dialog;
    HWND window = dialog.Create(nullptr);
    ASSERT_NE(window, nullptr);
    DRAWITEMSTRUCT item = {};
    item.CtlID = 7002;
    LRESULT result = 1;
    EXPECT_TRUE(dialog.ProcessBaseMessage(window, WM_DRAWITEM, 7002, reinterpret_cast<LPARAM>(&item), result, 0));
    EXPECT_EQ(result, 0);
    DestroyWindow(window);
}

}  // namespace
