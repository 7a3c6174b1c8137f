#include "commands/InputHistory.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/ConfigIo.h"
#include "core/Dbcs.h"

namespace {

using Slots = char[kInputHistorySlots][kInputHistorySlotSize];

Slots g_working = {};
Slots g_data = {};

const char* Section(const char* key) { return (key == nullptr || key[0] == '\0') ? "DATA" : key; }

bool IsDataKey(const char* key) { return std::strcmp(Section(key), "DATA") == 0; }

void Clear(Slots& slots)
{
    for (auto& slot : slots) slot[0] = '\0';
}

void ReadKey(const char* key, Slots& slots)
{
    Clear(slots);
    for (int n = 0; n < kInputHistorySlots; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%d", n);
        char value[257] = {};
        ReadInputHistoryString(Section(key), name, "", value);
        if (value[0] == '\0') break;
        DbcsCopy(slots[n], kInputHistorySlotSize, value);
    }
}

int WriteKey(const char* key, const Slots& slots)
{
    int result = 1;
    for (int n = 0; n < kInputHistorySlots; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "%d", n);
        result = WriteInputHistoryString(Section(key), name, slots[n]);
    }
    return result;
}

}  // namespace

int IsHistoryKeyEnabled(const char* key) { return (key != nullptr && key[0] == '~') ? 0 : 1; }

void LoadInputHistory()
{
    ReadKey("", g_data);
    std::memcpy(g_working, g_data, sizeof g_working);
}

int SaveInputHistory() { return WriteKey("", g_data); }

void AddInputHistory(const char* value, const char* key)
{
    if (!IsHistoryKeyEnabled(key)) return;
    ReadKey(key, g_working);
    if (value != nullptr && value[0] != '\0') {
        char entry[kInputHistorySlotSize];
        DbcsCopy(entry, sizeof entry, value);
        int n = kInputHistorySlots - 1;
        for (int i = kInputHistorySlots - 1; i >= 0; --i) {
            if (std::strcmp(g_working[i], entry) == 0) {
                n = i;
                break;
            }
        }
        // Slot n is overwritten: a duplicate disappears, otherwise the oldest value falls off.
        for (int i = n; i > 0; --i) std::memcpy(g_working[i], g_working[i - 1], kInputHistorySlotSize);
        std::memcpy(g_working[0], entry, sizeof entry);
    }
    WriteKey(key, g_working);
    if (IsDataKey(key)) std::memcpy(g_data, g_working, sizeof g_data);
}

HMENU BuildInputHistoryMenu(const char* key)
{
    if (!IsHistoryKeyEnabled(key)) return nullptr;
    ReadKey(key, g_working);
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return nullptr;
    for (int n = 0; n < kInputHistorySlots; ++n) {
        if (g_working[n][0] != '\0') AppendMenuA(menu, MF_STRING, kFirstInputHistoryMenuId + n, g_working[n]);
    }
    return menu;
}

int ShowInputHistoryMenu(HWND window, LPARAM position, const char* key)
{
    if (!IsHistoryKeyEnabled(key)) return -1;
    HMENU menu = BuildInputHistoryMenu(key);
    if (menu == nullptr) return 0;
    POINT at = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position)) - 5};
    ClientToScreen(window, &at);
    TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
    DestroyMenu(menu);
    return 0;
}

void GetInputHistoryEntry(char* buffer, size_t bufferSize, int index)
{
    if (buffer == nullptr || bufferSize == 0) return;
    if (index < 0 || index >= kInputHistorySlots) {
        buffer[0] = '\0';
        return;
    }
    DbcsCopy(buffer, bufferSize, g_working[index]);
}
