// Dialogs: bound to their object from their creation on; an exception of a handler stays inside
// the dialog procedure and is logged.
#include "GTest.h"

#include <stdexcept>
#include <string>
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

    // An empty modeless dialog made from a template in memory.
    HWND CreateEmpty()
    {
        std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
        auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
        dialog->style = WS_POPUP;
        dialog->cx = 50;
        dialog->cy = 20;
        return CreateIndirectFrom(GetModuleHandleA(nullptr), dialog, nullptr, 0);
    }
};

std::vector<std::string> g_logged;
void KeepLog(const char* text) { g_logged.push_back(text); }

}  // namespace

TEST(DialogImpl, ExceptionOfAHandlerStaysInsideTheDialogProcedure)
{
    ThrowingDialog dialog;
    HWND hWnd = dialog.CreateEmpty();
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(dialog.m_hWnd, hWnd);
    ASSERT_EQ(WinKit::CDialogImplRoot::FromHandle(hWnd), &dialog);
    EXPECT_EQ(WinKit::CWindowImplRoot::FromHandle(hWnd), nullptr) << "a dialog is no window object";

    g_logged.clear();
    WinKit::SetHandlerFaultLog(KeepLog);
    EXPECT_EQ(SendMessageA(hWnd, kMsgAnswer, 0, 0), 7);
    EXPECT_EQ(SendMessageA(hWnd, kMsgThrow, 0, 0), 0);  // unhandled: the default answer
    WinKit::SetHandlerFaultLog(nullptr);
    ASSERT_EQ(g_logged.size(), 1u);
    EXPECT_NE(g_logged[0].find("handler failed"), std::string::npos) << g_logged[0];
    EXPECT_EQ(dialog.GetCurrentMessage(), nullptr);
    EXPECT_EQ(SendMessageA(hWnd, kMsgAnswer, 0, 0), 7);  // the dialog still works
    DestroyWindow(hWnd);
}
