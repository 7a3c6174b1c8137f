#include "view/TypedKeys.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/CadSystem.h"
#include "mainframe/CadStatusBar.h"
#include "view/ViewCommands.h"

namespace {

std::vector<KeyCommandEntry> g_table;
char g_text[15] = {};
uint8_t g_modifiers = 0;
int g_commandAnswered = 0;  // the last match ran a command that answered non-zero

void AppendText(const char* name)
{
    // The text holds one name at most; a longer one is cut at the text's size.
    const size_t used = std::strlen(g_text);
    std::strncat(g_text, name, sizeof g_text - 1 - used);
}

uint8_t ModifiersDown()
{
    uint8_t down = 0;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) down |= kTypedShift;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) down |= kTypedCtrl;
    if (GetAsyncKeyState(VK_MENU) & 0x8000) down |= kTypedAlt;
    return down;
}

void EmptyText()
{
    g_text[0] = '\0';
    if (HWND bar = GetStatusBarWnd()) ClearTypedKeysText(bar);
}

void SendToInputField(int character)
{
    if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_USER, 3, character);
}

}  // namespace

const char* TypedKeyName(int key, char* buffer, int size)
{
    static const struct {
        int key;
        const char* name;
    } kNames[] = {
        {8, "[BS]"}, {9, "[TAB]"}, {13, "[RET]"}, {19, "[PAUSE]"}, {27, "[ESCAPE]"}, {32, "[SPACE]"},
        {33, "[RU]"}, {34, "[RD]"}, {35, "[END]"}, {36, "[HOME]"}, {37, "[LEFT]"}, {38, "[UP]"},
        {39, "[RIGHT]"}, {40, "[DOWN]"}, {43, "[EXECUTE]"}, {45, "[INS]"}, {46, "[DEL]"}, {47, "[HELP]"},
        {86, "[V]"},
    };
    if (key >= 112 && key <= 135) {
        std::snprintf(buffer, size, "[F%ld]", static_cast<long>(key - 111));
        return buffer;
    }
    for (const auto& entry : kNames) {
        if (entry.key == key) {
            std::snprintf(buffer, size, "%s", entry.name);
            return buffer;
        }
    }
    return nullptr;
}

int AppendTypedKeyName(HWND, int virtualKey)
{
    char name[16];
    bool armJump = false;
    if (TypedKeyName(virtualKey, name, sizeof name) != nullptr) {
        AppendText(name);
        const uint8_t down = ModifiersDown();
        const bool arrow = virtualKey >= VK_LEFT && virtualKey <= VK_DOWN;
        if (arrow && GetCadSystem().config.CURMOVE_CTRL != 0 && (down & kTypedCtrl)) armJump = true;
        else g_modifiers |= down;
    }
    g_commandAnswered = 0;
    const int matched = MatchTypedKeys();
    // Ctrl with an arrow arms jump mode for the arrow's own direction command, which comes after
    // this call: the arrow's name matching nothing must not clear it again. A command the arrow
    // ran that answered non-zero still clears it, as every matched command does.
    if (armJump && !g_commandAnswered) SetViewJumpMode(1);
    return matched;
}

int AppendTypedChar(HWND, int character)
{
    int c = character;
    if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
    if (c >= 32 && c <= 126) {
        if (c == '.') {
            if (HasStatusBarInput()) SendToInputField(c);
            else {
                g_modifiers = 0;
                AppendText("[.]");
            }
        } else if (c == '-') {
            g_modifiers = kTypedNumeric;
            SendToInputField(0);
            SendToInputField('-');
        } else if (c >= '0' && c <= '9') {
            g_modifiers = kTypedNumeric;
            SendToInputField(c);
        } else {
            char name[8];
            std::snprintf(name, sizeof name, "[%c]", c);
            AppendText(name);
            if (c >= 'A' && c <= 'Z') g_modifiers |= ModifiersDown();
        }
    }
    MatchTypedKeys();
    return 1;
}

int MatchTypedKeys()
{
    for (const KeyCommandEntry& entry : g_table) {
        char name[16] = {};
        std::memcpy(name, entry.keyName, sizeof entry.keyName);
        if (entry.modifiers != g_modifiers || std::strcmp(name, g_text) != 0) continue;
        const int answer = ExecuteViewCommand(entry.modifiers, entry.commandId);
        EmptyText();
        if (answer != 0) SetViewJumpMode(0);
        g_commandAnswered = answer != 0;
        return 1;
    }
    if ((g_modifiers & kTypedNumeric) && g_text[0] == '\0') return 1;
    SetViewJumpMode(std::strcmp(g_text, "[=]") == 0 ? 1 : 0);
    g_modifiers = 0;
    EmptyText();
    return 0;
}

void SetKeyCommandTable(const KeyCommandEntry* entries, int count)
{
    g_table.assign(entries, entries + (entries && count > 0 ? count : 0));
}

const char* TypedKeyText() { return g_text; }
uint8_t TypedKeyModifiers() { return g_modifiers; }
void ResetTypedKeys()
{
    g_text[0] = '\0';
    g_modifiers = 0;
    SetViewJumpMode(0);
}
