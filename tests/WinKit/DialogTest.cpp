// Dialogs: an exception of a handler stays inside the dialog procedure.
#include "GTest.h"

#include <stdexcept>
#include <vector>

#include "WinKit/Dialog.h"
#include "WinKit/MessageMap.h"

namespace {

constexpr UINT kMsgThrow = WM_APP + 10;
constexpr UINT kMsgAnswer = WM_APP + 11;

class ThrowingDialog : public WinKit::CDialogImplRoot {
public:
    WK_BEGIN_MSG_MAP(ThrowingDialog)
        WK_MESSAGE_HANDLER(kMsgThrow, OnThrow)
        WK_MESSAGE_HANDLER(kMsgAnswer, OnAnswer)
    WK_END_MSG_MAP()
    LRESULT OnThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
    LRESULT OnAnswer(UINT, WPARAM, LPARAM, BOOL&) { return 7; }
};

// An empty modeless dialog made from a template in memory.
HWND CreateEmptyDialog()
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP;
    dialog->cx = 50;
    dialog->cy = 20;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog, nullptr,
                                      &WinKit::CDialogImplRoot::DialogProc, 0);
}

}  // namespace

TEST(DialogImpl, ExceptionOfAHandlerStaysInsideTheDialogProcedure)
{
    HWND hWnd = CreateEmptyDialog();
    ASSERT_NE(hWnd, nullptr);
    ThrowingDialog dialog;
    // Bound as the dialog's creation binds it.
    dialog.m_hWnd = hWnd;
    SetPropA(hWnd, "WinKit.Dialog", reinterpret_cast<HANDLE>(&dialog));
    ASSERT_EQ(WinKit::CDialogImplRoot::FromHandle(hWnd), &dialog);

    EXPECT_EQ(SendMessageA(hWnd, kMsgAnswer, 0, 0), 7);
    EXPECT_EQ(SendMessageA(hWnd, kMsgThrow, 0, 0), 0);  // unhandled: the default answer
    EXPECT_EQ(dialog.GetCurrentMessage(), nullptr);
    EXPECT_EQ(SendMessageA(hWnd, kMsgAnswer, 0, 0), 7);  // the dialog still works
    DestroyWindow(hWnd);
}
