// Message maps: a class lists the messages it answers between WK_BEGIN_MSG_MAP and
// WK_END_MSG_MAP. A handler gets a handled flag that is TRUE on entry; clearing it passes the
// message on to the next entry, to the chained maps and finally to the default procedure.
// Maps chain to a base class (WK_CHAIN_MSG_MAP), to a member object (WK_CHAIN_MSG_MAP_MEMBER)
// and hold alternate sections (WK_ALT_MSG_MAP) that a chain can select by number.
#pragma once

#include <windows.h>

namespace WinKit {

class CMessageMap {
public:
    virtual ~CMessageMap() = default;
    // Returns TRUE when the message was handled; lResult is then the answer.
    virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& lResult, DWORD mapId = 0) = 0;
};

}  // namespace WinKit

#define WK_BEGIN_MSG_MAP(theClass)                                                          \
public:                                                                                     \
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,           \
                              LRESULT& lResult, DWORD mapId = 0) override                  \
    {                                                                                       \
        BOOL bHandled = TRUE;                                                               \
        (void)hWnd; (void)uMsg; (void)wParam; (void)lParam; (void)lResult; (void)bHandled;  \
        switch (mapId) {                                                                    \
        case 0:

#define WK_ALT_MSG_MAP(id) \
        break;             \
        case id:

#define WK_END_MSG_MAP() \
        break;           \
        default:         \
            break;       \
        }                \
        return FALSE;    \
    }

// LRESULT Handler(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
#define WK_MESSAGE_HANDLER(msg, func)                              \
    if (uMsg == (msg)) {                                           \
        bHandled = TRUE;                                           \
        lResult = func(uMsg, wParam, lParam, bHandled);            \
        if (bHandled) return TRUE;                                 \
    }

#define WK_MESSAGE_RANGE_HANDLER(first, last, func)                \
    if (uMsg >= (first) && uMsg <= (last)) {                       \
        bHandled = TRUE;                                           \
        lResult = func(uMsg, wParam, lParam, bHandled);            \
        if (bHandled) return TRUE;                                 \
    }

// LRESULT Handler(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled)
#define WK_COMMAND_ID_HANDLER(id, func)                                                    \
    if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                    \
        bHandled = TRUE;                                                                   \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),     \
                       bHandled);                                                          \
        if (bHandled) return TRUE;                                                         \
    }

#define WK_COMMAND_RANGE_HANDLER(first, last, func)                                        \
    if (uMsg == WM_COMMAND && LOWORD(wParam) >= (first) && LOWORD(wParam) <= (last)) {     \
        bHandled = TRUE;                                                                   \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),     \
                       bHandled);                                                          \
        if (bHandled) return TRUE;                                                         \
    }

#define WK_COMMAND_CODE_HANDLER(code, func)                                                \
    if (uMsg == WM_COMMAND && HIWORD(wParam) == (code)) {                                  \
        bHandled = TRUE;                                                                   \
        lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam),     \
                       bHandled);                                                          \
        if (bHandled) return TRUE;                                                         \
    }

// LRESULT Handler(int idCtrl, LPNMHDR pnmh, BOOL& bHandled)
#define WK_NOTIFY_CODE_HANDLER(code, func)                                                 \
    if (uMsg == WM_NOTIFY && reinterpret_cast<LPNMHDR>(lParam)->code == (UINT)(code)) {    \
        bHandled = TRUE;                                                                   \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam),        \
                       bHandled);                                                          \
        if (bHandled) return TRUE;                                                         \
    }

#define WK_NOTIFY_ID_HANDLER(id, func)                                                     \
    if (uMsg == WM_NOTIFY && static_cast<int>(wParam) == (id)) {                           \
        bHandled = TRUE;                                                                   \
        lResult = func(static_cast<int>(wParam), reinterpret_cast<LPNMHDR>(lParam),        \
                       bHandled);                                                          \
        if (bHandled) return TRUE;                                                         \
    }

#define WK_CHAIN_MSG_MAP(theBase)                                                          \
    if (theBase::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define WK_CHAIN_MSG_MAP_ALT(theBase, altId)                                               \
    if (theBase::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, altId))         \
        return TRUE;

#define WK_CHAIN_MSG_MAP_MEMBER(member)                                                    \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;

#define WK_CHAIN_MSG_MAP_ALT_MEMBER(member, altId)                                         \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, altId))         \
        return TRUE;

// Chains to an object reached through a pointer that may still be null (set later).
#define WK_CHAIN_MSG_MAP_PTR(pointer)                                                      \
    if ((pointer) != nullptr &&                                                            \
        (pointer)->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult))              \
        return TRUE;
