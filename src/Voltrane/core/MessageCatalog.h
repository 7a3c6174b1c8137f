// The message catalogue: every text the program shows by number. The table is constant data of
// the program, so it exists before any code that asks for a text runs.
#pragma once

#include <windows.h>

struct MessageCatalogEntry {
    int id;
    const char* text; // code page 932
};

// The 1038 entries in ascending id order, no id twice (generated from MessageCatalog.txt).
extern const MessageCatalogEntry MessageCatalog[];
extern const int MessageCatalogCount;

// The text of the id; never null. An id that is not in the catalogue gives "?ERROR?".
const char* GetMessageText(int id);

// Answer of WM_CAD_GET_MESSAGE_TEXT: lParam carries the id, the result is the pointer that
// GetMessageText returns for it (it stays valid until the program ends).
LRESULT AnswerGetMessageText(WPARAM wParam, LPARAM lParam);
