#include "WinKit/Mdi.h"

namespace WinKit {

HWND CMDIFrameRoot::CreateMDIClient(HMENU windowMenu, UINT clientId, UINT firstChildId,
                                    DWORD exStyle)
{
    // The frame's scroll bar styles belong to the client, which scrolls the children.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    LONG frameStyle = ::GetWindowLongA(m_hWnd, GWL_STYLE);
    style |= frameStyle & (WS_HSCROLL | WS_VSCROLL);
    if (frameStyle & (WS_HSCROLL | WS_VSCROLL))
        ::SetWindowLongA(m_hWnd, GWL_STYLE, frameStyle & ~(WS_HSCROLL | WS_VSCROLL));

    CLIENTCREATESTRUCT ccs = {windowMenu, firstChildId};
    m_hWndMDIClient = ::CreateWindowExA(exStyle, "MDICLIENT", nullptr, style, 0, 0, 1, 1, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(clientId)),
                                        GetModuleHandleA(nullptr), &ccs);
    return m_hWndMDIClient;
}

}  // namespace WinKit
