// The typed-key matcher: keys pressed in the drawing views, the layout and loupe windows and
// the frame's F10 entry are named ("[F10]", "[UP]", "[A]", ...) and, with the modifier keys
// held, looked up in the key command table; a matching entry runs its view command.
#pragma once

#include <windows.h>

#include <cstdint>

#pragma pack(push, 1)
struct KeyCommandEntry {
    uint8_t modifiers;   // 0: 1 Shift, 2 Ctrl, 4 Alt, 8 numeric entry
    int32_t commandId;   // 1: a view command, or any id ExecuteViewCommand hands on
    char keyName[15];    // 5: one key name as the matcher builds it
};
#pragma pack(pop)
static_assert(sizeof(KeyCommandEntry) == 20, "KeyCommandEntry size");

// Typed-key modifier bits.
constexpr uint8_t kTypedShift = 1;
constexpr uint8_t kTypedCtrl = 2;
constexpr uint8_t kTypedAlt = 4;
constexpr uint8_t kTypedNumeric = 8;

// The name of a virtual key ("[F13]" for 124), or null for a key without a name.
const char* TypedKeyName(int virtualKey, char* buffer, int size);

// The key (window not read): the result of MatchTypedKeys.
int AppendTypedKeyName(HWND window, int virtualKey);
// A character typed (window not read): 1.
int AppendTypedChar(HWND window, int character);
// 1 when a typed-key command ran, or numeric entry goes on with no key name typed; else 0.
int MatchTypedKeys();

// The key command table (copied); the program starts with an empty one.
void SetKeyCommandTable(const KeyCommandEntry* entries, int count);
// The typed-key text and modifiers, as the matcher holds them.
const char* TypedKeyText();
uint8_t TypedKeyModifiers();
void ResetTypedKeys();
