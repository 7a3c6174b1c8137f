// The notification message a drag list (MakeDragList) sends to its parent: wParam is the list's
// id, lParam a DRAGLISTINFO whose uNotification is DL_BEGINDRAG, DL_DRAGGING, DL_DROPPED or
// DL_CANCELDRAG.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace WinKit {

inline UINT DragListMessage()
{
    static const UINT message = ::RegisterWindowMessageA(DRAGLISTMSGSTRINGA);
    return message;
}

}  // namespace WinKit
