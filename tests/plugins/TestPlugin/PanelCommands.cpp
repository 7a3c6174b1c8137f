// Test plug-in commands that build a parameter panel as a plug-in command does, through the
// real panel messages, then wait for the user and trace every panel event in the host window's
// caption (and the operation log).
//   PanelDocked  a docked panel of an "OK" button (id 1), a check (2), a radio group "A,B,C"
//                (3), an edit field (4), a list "P,Q,R" (5) and a combo field "甲,乙,丙" (6); each
//                event is traced as
//                "Panel event KIND ITEM VALUE" (hexadecimal kind; an edit also traces its text,
//                a combo its shown text), and a list "X,Y" (7) whose rows this library draws;
//                "OK" destroys the panel and ends the command (1), traced as "PanelDocked done N"
//                with N = 1 when the host called the row-drawing function, else 0.
//   PanelNumeric  the panel of PanelDocked with the edit field (4) made a numeric field of any
//                sign, captioned "数値の入力": a click on it opens the calculator.
//   PanelPick    the panel of PanelDocked with the right-click pick list switched on, so that
//                the right-click menu carries a copy of the panel's items.
//   PanelFloating  a floating panel (height 120) of an "OK" button (1) and a check (2) at y 40;
//                traces events the same way until OK (1) or the end of the command (0).
#include "PanelCommands.h"

#include <cstdio>
#include <cstring>

#include "HostMessages.h"
#include "HostRecords.h"
#include "InputCodes.h"

namespace {

// Rows the host had this library draw since the last panel was built.
int g_rowsDrawn = 0;

void WINAPI DrawListRow(DRAWITEMSTRUCT* drawItem)
{
    if (drawItem == nullptr) return;
    ++g_rowsDrawn;
    FillRect(drawItem->hDC, &drawItem->rcItem, GetSysColorBrush(COLOR_INFOBK));
    if (static_cast<int>(drawItem->itemID) < 0) return;
    char row[64] = {};
    if (SendMessageA(drawItem->hwndItem, CB_GETLBTEXTLEN, drawItem->itemID, 0) < static_cast<LRESULT>(sizeof row))
        SendMessageA(drawItem->hwndItem, CB_GETLBTEXT, drawItem->itemID, reinterpret_cast<LPARAM>(row));
    SetBkMode(drawItem->hDC, TRANSPARENT);
    RECT text = drawItem->rcItem;
    text.left += 4;
    DrawTextA(drawItem->hDC, row, -1, &text, DT_SINGLELINE | DT_VCENTER);
}

void Trace(HWND host, const char* text)
{
    SetWindowTextA(host, text);
    SendMessageA(host, WM_CAD_WRITE_LOG, 2, reinterpret_cast<LPARAM>(text));
}

LRESULT AddItem(HWND host, UINT message, int panel, int id, const char* text, int x, int y, int width, int height,
                INT_PTR extra = 0, int extra2 = 0)
{
    PboxAddRequest request = {};
    request.panel = panel;
    request.id = id;
    request.text = reinterpret_cast<INT_PTR>(text);
    request.x = x;
    request.y = y;
    request.width = width;
    request.height = height;
    request.extra = extra;
    request.extra2 = extra2;
    return SendMessageA(host, message, 0, reinterpret_cast<LPARAM>(&request));
}

int RunPanel(HWND host, const char* command, bool floating, bool numeric = false, bool pickList = false)
{
    const int panel = static_cast<int>(SendMessageA(host, WM_PBOX_CREATE, 0, reinterpret_cast<LPARAM>("テスト")));
    char text[320];
    if (panel == 0) {
        std::snprintf(text, sizeof text, "%s no panel", command);
        Trace(host, text);
        return 0;
    }
    bool added = AddItem(host, WM_PBOX_ADD_BUTTON, panel, 1, "OK", 4, floating ? 40 : 4, 60, 22) == 1 &&
                 AddItem(host, WM_PBOX_ADD_CHECK, panel, 2, "確認", 70, floating ? 40 : 30, 60, 22, 0) == 1;
    if (!floating)
        added = added && AddItem(host, WM_PBOX_ADD_RADIO, panel, 3, "A,B,C", 4, 56, 93, 22, 3) == 1 &&
                AddItem(host, WM_PBOX_ADD_EDIT, panel, 4, "12", 4, 82, 100, 22) == 1 &&
                AddItem(host, WM_PBOX_ADD_LIST, panel, 5, "P,Q,R", 4, 108, 100, 22, 0) == 1 &&
                AddItem(host, WM_PBOX_ADD_COMBO, panel, 6, "甲,乙,丙", 4, 134, 100, 22,
                        reinterpret_cast<INT_PTR>("甲")) == 1 &&
                AddItem(host, WM_PBOX_ADD_LIST2, panel, 7, "X,Y", 4, 160, 100, 22, 1,
                        static_cast<int>(reinterpret_cast<INT_PTR>(&DrawListRow))) == 1;
    if (numeric && added) {
        char caption[] = "数値の入力";
        PboxItemRequest user = {};
        user.panel = panel;
        user.id = 4;
        user.text = caption;
        user.selector = 1;
        user.value40 = 1;
        added = SendMessageA(host, WM_CAD_PBOX_QUERY, 0, reinterpret_cast<LPARAM>(&user)) == 1;
    }
    g_rowsDrawn = 0;
    PboxAddRequest show = {};
    show.panel = panel;
    show.id = 200;
    show.text = floating ? 120 : 40;
    const LRESULT shown = SendMessageA(host, WM_PBOX_BUILD, 0, reinterpret_cast<LPARAM>(&show));
    if (!added || shown != 1) {
        std::snprintf(text, sizeof text, "%s not shown", command);
        Trace(host, text);
        SendMessageA(host, WM_PBOX_DESTROY, 0, panel);
        return 0;
    }
    if (pickList) SendMessageA(host, WM_CAD_RMENU_MODE, 0, 1);
    SendMessageA(host, WM_CAD_CLEAR_EVENT_MASK, 0, 0);
    SendMessageA(host, WM_CAD_ADD_EVENT_MASK, 0, kAcceptPanelItem | kAcceptEscape);
    std::snprintf(text, sizeof text, "%s waiting", command);
    Trace(host, text);
    int result = 0;
    for (;;) {
        InputWaitRecord record = {};
        const LRESULT answer = SendMessageA(host, WM_CAD_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&record));
        if (answer == kWaitPanelItem || answer == kWaitEditEscape) {
            char itemText[260] = {};
            PboxItemRequest request = {};
            request.panel = panel;
            request.id = record.item;
            request.text = itemText;
            if (record.kind == kItemEdit) SendMessageA(host, WM_PBOX_GET_TEXT, 0, reinterpret_cast<LPARAM>(&request));
            if (record.kind == kItemComboBox)
                SendMessageA(host, WM_PBOX_GET_ITEM_STRING, 0, reinterpret_cast<LPARAM>(&request));
            std::snprintf(text, sizeof text, "Panel event 0x%lx %x %d %d %s", static_cast<long>(answer),
                          static_cast<unsigned>(record.kind), static_cast<int>(record.item),
                          static_cast<int>(record.value), itemText);
            Trace(host, text);
            if (answer == kWaitPanelItem && record.kind == kItemPushButton && record.item == 1) {
                result = 1;
                break;
            }
            continue;
        }
        std::snprintf(text, sizeof text, "%s end %ld", command, static_cast<long>(answer));
        Trace(host, text);
        break;
    }
    SendMessageA(host, WM_PBOX_DESTROY, 0, panel);
    if (result == 1) {
        if (floating) std::snprintf(text, sizeof text, "%s done", command);
        else std::snprintf(text, sizeof text, "%s done %d", command, g_rowsDrawn > 0 ? 1 : 0);
        Trace(host, text);
    }
    return result;
}

}  // namespace

int RunPanelCommand(HWND host, const char* name)
{
    if (std::strcmp(name, "PanelDocked") == 0) return RunPanel(host, "PanelDocked", false);
    if (std::strcmp(name, "PanelFloating") == 0) return RunPanel(host, "PanelFloating", true);
    if (std::strcmp(name, "PanelPick") == 0) return RunPanel(host, "PanelPick", false, false, true);
    if (std::strcmp(name, "PanelNumeric") == 0) return RunPanel(host, "PanelNumeric", false, true);
    return -2;
}
