#include "core/MessageCatalog.h"

#include <algorithm>

const char* GetMessageText(int id)
{
    static const char kUnknown[] = "?ERROR?";
    const MessageCatalogEntry* first = MessageCatalog;
    const MessageCatalogEntry* last = MessageCatalog + MessageCatalogCount;
    // The table is sorted by id, so a binary search finds the one entry an id can have.
    const MessageCatalogEntry* it = std::lower_bound(first, last, id,
        [](const MessageCatalogEntry& e, int key) { return e.id < key; });
    if (it != last && it->id == id)
        return it->text;
    return kUnknown;
}

LRESULT AnswerGetMessageText(WPARAM /*wParam*/, LPARAM lParam)
{
    return reinterpret_cast<LRESULT>(GetMessageText(static_cast<int>(lParam)));
}
