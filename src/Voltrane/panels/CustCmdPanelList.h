// The preview grid of the command-menu dialog (window class "CustCmdPanelList"): the cells of
// one CustCmdPanelModel, 100 by 35 pixels each, a column per row of the definition.
#pragma once

#include <windows.h>

constexpr int kCustListCellWidth = 100;
constexpr int kCustListCellHeight = 35;
// Sets the scroll range from the model shown; wParam 1 repaints. Answers 1.
constexpr UINT WM_CUSTLIST_REFRESH = 2024;
// Posted to the parent (WM_COMMAND notification) when a click chose a cell.
constexpr WORD kCustListSelected = 2001;
// Editing commands the grid takes (WM_COMMAND); 104 and 105 carry the item line in lParam.
constexpr WORD kCustListMoveUp = 101;
constexpr WORD kCustListMoveDown = 102;
constexpr WORD kCustListDelete = 103;
constexpr WORD kCustListChange = 104;
constexpr WORD kCustListInsert = 105;
// Window longs: the model shown, the visible columns and rows.
constexpr int kCustListModelLong = 4;
constexpr int kCustListColumnsLong = 8;
constexpr int kCustListRowsLong = 12;

int RegisterCustCmdPanelListClass(HINSTANCE instance);
void UnregisterCustCmdPanelListClass(HINSTANCE instance);
