#include "mainframe/MainAccelerator.h"

#include <cstdlib>
#include <cstring>

#include "mainframe/DefinitionLines.h"
#include "mainframe/FrameServices.h"

namespace {

const KeyNameRow kKeyNames[] = {
    {0x08, "VK_BACK", "BACK"},
    {0x09, "VK_TAB", "Tab"},
    {0x0C, "VK_CLEAR", "CLEAR"},
    {0x0D, "VK_RETURN", "Enter"},
    {0x10, "VK_SHIFT", "Shift"},
    {0x11, "VK_CONTROL", "Ctrl"},
    {0x12, "VK_MENU", "MENU"},
    {0x13, "VK_PAUSE", "PAUSE"},
    {0x14, "VK_CAPITAL", "CAPITAL"},
    {0x15, "VK_KANA", "KANA"},
    {0x15, "VK_HANGEUL", "HANGEUL"},
    {0x15, "VK_HANGUL", "HANGUL"},
    {0x17, "VK_JUNJA", "JUNJA"},
    {0x18, "VK_FINAL", "FINAL"},
    {0x19, "VK_HANJA", "HANJA"},
    {0x19, "VK_KANJI", "KANJI"},
    {0x1B, "VK_ESCAPE", "Esc"},
    {0x1C, "VK_CONVERT", "CONVERT"},
    {0x1D, "VK_NONCONVERT", "NONCONVERT"},
    {0x1E, "VK_ACCEPT", "ACCEPT"},
    {0x1F, "VK_MODECHANGE", "MODECHANGE"},
    {0x20, "VK_SPACE", "スペース"},
    {0x21, "VK_PRIOR", "PRIOR"},
    {0x22, "VK_NEXT", "NEXT"},
    {0x23, "VK_END", "End"},
    {0x24, "VK_HOME", "Home"},
    {0x25, "VK_LEFT", "←"},
    {0x26, "VK_UP", "↑"},
    {0x27, "VK_RIGHT", "→"},
    {0x28, "VK_DOWN", "↓"},
    {0x29, "VK_SELECT", "SELECT"},
    {0x2A, "VK_PRINT", "Print"},
    {0x2B, "VK_EXECUTE", "EXECUTE"},
    {0x2C, "VK_SNAPSHOT", "SNAPSHOT"},
    {0x2D, "VK_INSERT", "Insert"},
    {0x2E, "VK_DELETE", "Delete"},
    {0x2F, "VK_HELP", "Help"},
    {0x5B, "VK_LWIN", "LWIN"},
    {0x5C, "VK_RWIN", "RWIN"},
    {0x5D, "VK_APPS", "APPS"},
    {0x5F, "VK_SLEEP", "SLEEP"},
    {0x60, "VK_NUMPAD0", "NUMPAD0"},
    {0x61, "VK_NUMPAD1", "NUMPAD1"},
    {0x62, "VK_NUMPAD2", "NUMPAD2"},
    {0x63, "VK_NUMPAD3", "NUMPAD3"},
    {0x64, "VK_NUMPAD4", "NUMPAD4"},
    {0x65, "VK_NUMPAD5", "NUMPAD5"},
    {0x66, "VK_NUMPAD6", "NUMPAD6"},
    {0x67, "VK_NUMPAD7", "NUMPAD7"},
    {0x68, "VK_NUMPAD8", "NUMPAD8"},
    {0x69, "VK_NUMPAD9", "NUMPAD9"},
    {0x6A, "VK_MULTIPLY", "MULTIPLY"},
    {0x6B, "VK_ADD", "ADD"},
    {0x6C, "VK_SEPARATOR", "SEPARATOR"},
    {0x6D, "VK_SUBTRACT", "SUBTRACT"},
    {0x6E, "VK_DECIMAL", "DECIMAL"},
    {0x6F, "VK_DIVIDE", "DIVIDE"},
    {0x70, "VK_F1", "F1"},
    {0x71, "VK_F2", "F2"},
    {0x72, "VK_F3", "F3"},
    {0x73, "VK_F4", "F4"},
    {0x74, "VK_F5", "F5"},
    {0x75, "VK_F6", "F6"},
    {0x76, "VK_F7", "F7"},
    {0x77, "VK_F8", "F8"},
    {0x78, "VK_F9", "F9"},
    {0x79, "VK_F10", "F10"},
    {0x7A, "VK_F11", "F11"},
    {0x7B, "VK_F12", "F12"},
    {0x7C, "VK_F13", "F13"},
    {0x7D, "VK_F14", "F14"},
    {0x7E, "VK_F15", "F15"},
    {0x7F, "VK_F16", "F16"},
    {0x80, "VK_F17", "F17"},
    {0x81, "VK_F18", "F18"},
    {0x82, "VK_F19", "F19"},
    {0x83, "VK_F20", "F20"},
    {0x84, "VK_F21", "F21"},
    {0x85, "VK_F22", "F22"},
    {0x86, "VK_F23", "F23"},
    {0x87, "VK_F24", "F24"},
    {0x90, "VK_NUMLOCK", "NumLock"},
    {0x91, "VK_SCROLL", "SCROLL"},
    {0x92, "VK_OEM_NEC_EQUAL", "OEM_NEC_EQUAL"},
    {0x92, "VK_OEM_FJ_JISHO", "OEM_FJ_JISHO"},
    {0x93, "VK_OEM_FJ_MASSHOU", "OEM_FJ_MASSHOU"},
    {0x94, "VK_OEM_FJ_TOUROKU", "OEM_FJ_TOUROKU"},
    {0x95, "VK_OEM_FJ_LOYA", "OEM_FJ_LOYA"},
    {0x96, "VK_OEM_FJ_ROYA", "OEM_FJ_ROYA"},
    {0xA0, "VK_LSHIFT", "LSHIFT"},
    {0xA1, "VK_RSHIFT", "RSHIFT"},
    {0xA2, "VK_LCONTROL", "LCONTROL"},
    {0xA3, "VK_RCONTROL", "RCONTROL"},
    {0xA4, "VK_LMENU", "LMENU"},
    {0xA5, "VK_RMENU", "RMENU"},
    {0xA6, "VK_BROWSER_BACK", "BROWSER_BACK"},
    {0xA7, "VK_BROWSER_FORWARD", "BROWSER_FORWARD"},
    {0xA8, "VK_BROWSER_REFRESH", "BROWSER_REFRESH"},
    {0xA9, "VK_BROWSER_STOP", "BROWSER_STOP"},
    {0xAA, "VK_BROWSER_SEARCH", "BROWSER_SEARCH"},
    {0xAB, "VK_BROWSER_FAVORITES", "BROWSER_FAVORITES"},
    {0xAC, "VK_BROWSER_HOME", "BROWSER_HOME"},
    {0xAD, "VK_VOLUME_MUTE", "VOLUME_MUTE"},
    {0xAE, "VK_VOLUME_DOWN", "VOLUME_DOWN"},
    {0xAF, "VK_VOLUME_UP", "VOLUME_UP"},
    {0xB0, "VK_MEDIA_NEXT_TRACK", "MEDIA_NEXT_TRACK"},
    {0xB1, "VK_MEDIA_PREV_TRACK", "MEDIA_PREV_TRACK"},
    {0xB2, "VK_MEDIA_STOP", "MEDIA_STOP"},
    {0xB3, "VK_MEDIA_PLAY_PAUSE", "MEDIA_PLAY_PAUSE"},
    {0xB4, "VK_LAUNCH_MAIL", "LAUNCH_MAIL"},
    {0xB5, "VK_LAUNCH_MEDIA_SELECT", "LAUNCH_MEDIA_SELECT"},
    {0xB6, "VK_LAUNCH_APP1", "LAUNCH_APP1"},
    {0xB7, "VK_LAUNCH_APP2", "LAUNCH_APP2"},
    {0xBA, "VK_OEM_1", "OEM_1"},
    {0xBB, "VK_OEM_PLUS", "OEM_PLUS"},
    {0xBC, "VK_OEM_COMMA", "OEM_COMMA"},
    {0xBD, "VK_OEM_MINUS", "OEM_MINUS"},
    {0xBE, "VK_OEM_PERIOD", "OEM_PERIOD"},
    {0xBF, "VK_OEM_2", "OEM_2"},
    {0xC0, "VK_OEM_3", "OEM_3"},
    {0xDB, "VK_OEM_4", "OEM_4"},
    {0xDC, "VK_OEM_5", "OEM_5"},
    {0xDD, "VK_OEM_6", "OEM_6"},
    {0xDE, "VK_OEM_7", "OEM_7"},
    {0xDF, "VK_OEM_8", "OEM_8"},
    {0xE1, "VK_OEM_AX", "OEM_AX"},
    {0xE2, "VK_OEM_102", "OEM_102"},
    {0xE3, "VK_ICO_HELP", "ICO_HELP"},
    {0xE4, "VK_ICO_00", "ICO_00"},
    {0xE5, "VK_PROCESSKEY", "PROCESSKEY"},
    {0xE6, "VK_ICO_CLEAR", "ICO_CLEAR"},
    {0xE7, "VK_PACKET", "PACKET"},
    {0xE9, "VK_OEM_RESET", "OEM_RESET"},
    {0xEA, "VK_OEM_JUMP", "OEM_JUMP"},
    {0xEB, "VK_OEM_PA1", "OEM_PA1"},
    {0xEC, "VK_OEM_PA2", "OEM_PA2"},
    {0xED, "VK_OEM_PA3", "OEM_PA3"},
    {0xEE, "VK_OEM_WSCTRL", "OEM_WSCTRL"},
    {0xEF, "VK_OEM_CUSEL", "OEM_CUSEL"},
    {0xF0, "VK_OEM_ATTN", "OEM_ATTN"},
    {0xF1, "VK_OEM_FINISH", "OEM_FINISH"},
    {0xF2, "VK_OEM_COPY", "OEM_COPY"},
    {0xF3, "VK_OEM_AUTO", "OEM_AUTO"},
    {0xF4, "VK_OEM_ENLW", "OEM_ENLW"},
    {0xF5, "VK_OEM_BACKTAB", "OEM_BACKTAB"},
    {0xF6, "VK_ATTN", "ATTN"},
    {0xF7, "VK_CRSEL", "CRSEL"},
    {0xF8, "VK_EXSEL", "EXSEL"},
    {0xF9, "VK_EREOF", "EREOF"},
    {0xFA, "VK_PLAY", "PLAY"},
    {0xFB, "VK_ZOOM", "ZOOM"},
    {0xFC, "VK_NONAME", "NONAME"},
    {0xFD, "VK_PA1", "PA1"},
    {0xFE, "VK_OEM_CLEAR", "OEM_CLEAR"},
    {0, nullptr, nullptr},
};

struct FlagName {
    const char* name;
    BYTE value;
};

const FlagName kFlagNames[] = {
    {"VIRTKEY", FVIRTKEY}, {"NOINVERT", FNOINVERT}, {"SHIFT", FSHIFT},
    {"CONTROL", FCONTROL}, {"ALT", FALT},           {"NUM", kAccelNum},
};

bool IsLetterOrDigit(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// Cuts a flag field at a comment; true when one was found (the field is then the last read).
bool CutComment(std::string& field)
{
    size_t semicolon = field.find(';');
    if (semicolon != std::string::npos) {
        field.erase(semicolon);
        return true;
    }
    size_t slashes = field.find("//");
    if (slashes != std::string::npos) {
        field.erase(slashes);
        return true;
    }
    return false;
}

std::string TrimBlanks(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r\n\v\f");
    if (first == std::string::npos) return std::string();
    size_t last = text.find_last_not_of(" \t\r\n\v\f");
    return text.substr(first, last - first + 1);
}

}  // namespace

const KeyNameRow* KeyNameTable() { return kKeyNames; }
int KeyNameTableCount() { return static_cast<int>(sizeof kKeyNames / sizeof kKeyNames[0]) - 1; }

WORD FindKeyCode(const char* keyName)
{
    if (keyName == nullptr) return 0;
    for (const KeyNameRow* row = kKeyNames; row->code != 0; ++row) {
        if (strcmp(row->name, keyName) == 0) return row->code;
    }
    return 0;
}

std::string FormatFlagNames(BYTE flags)
{
    std::string text;
    for (const FlagName& flag : kFlagNames) {
        if (!(flags & flag.value)) continue;
        if (!text.empty()) text += ",";
        text += flag.name;
    }
    return text;
}

std::string CMainAccelerator::GetKeyName(WORD code, int display)
{
    for (const KeyNameRow* row = kKeyNames; row->code != 0; ++row) {
        if (row->code == code) return display ? row->displayName : row->name;
    }
    if (code < 0x80 && IsLetterOrDigit(static_cast<char>(code))) return std::string(1, static_cast<char>(code));
    return std::string();
}

std::string FormatKeyLine(const ACCEL& entry)
{
    char line[256];
    snprintf(line, sizeof line, "\"%s\",%ld,%s", CMainAccelerator::GetKeyName(entry.key, 0).c_str(),
             static_cast<long>(entry.cmd), FormatFlagNames(entry.fVirt).c_str());
    return line;
}

std::string KeyFilePath(const char* name, int programFolder)
{
    std::string file = name ? name : "RovOdidov.key";
    if (programFolder) return ProgramFolder() + file;
    return FrameUserDataFilePath(file.c_str());
}

WORD ParseKeyField(const std::string& field)
{
    if (field.size() == 1 && IsLetterOrDigit(field[0])) {
        // A letter names its key whatever its case: the virtual key of "a" is 'A', not the
        // code 0x61 (which is the keypad's 1).
        char c = field[0];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return static_cast<WORD>(static_cast<unsigned char>(c));
    }
    return FindKeyCode(field.c_str());
}

int ReadKeySection(const std::string& content, const char* header, std::vector<ACCEL>& entries)
{
    CDefinitionLineReader reader(content);
    std::string line;
    bool inSection = false;
    bool begun = false;
    int accepted = 0;
    while (reader.Next(line)) {
        if (!inSection) {
            inSection = StartsWith(line, header);
            continue;
        }
        if (!begun) {
            begun = StartsWith(line, "BEGIN");
            continue;
        }
        if (StartsWith(line, "END")) break;
        if (StartsWith(line, "BEGIN")) continue;
        std::vector<std::string> fields = SplitDefinitionFields(line);
        ACCEL entry = {};
        entry.key = fields.empty() ? 0 : ParseKeyField(fields[0]);
        entry.cmd = fields.size() > 1 ? static_cast<WORD>(strtol(fields[1].c_str(), nullptr, 10)) : 0;
        BYTE flags = 0;
        for (size_t i = 2; i < fields.size(); ++i) {
            std::string field = fields[i];
            bool last = CutComment(field);
            field = TrimBlanks(field);
            for (const FlagName& flag : kFlagNames) {
                if (field == flag.name) flags = static_cast<BYTE>(flags | flag.value);
            }
            if (last) break;
        }
        entry.fVirt = flags;
        if (entry.key == 0) continue;
        entries.push_back(entry);
        ++accepted;
    }
    return accepted > 0 ? 0 : -1;
}

CMainAccelerator::~CMainAccelerator()
{
    if (m_table != nullptr) DestroyAcceleratorTable(m_table);
}

void CMainAccelerator::Split(const std::vector<ACCEL>& read, std::vector<ACCEL>& list)
{
    for (const ACCEL& entry : read) {
        if (entry.cmd == 0) continue;
        if (entry.fVirt >= kAccelNum) {
            m_numEntries.push_back(entry);
        } else {
            list.push_back(entry);
        }
    }
}

int CMainAccelerator::ReadKeyFileAt(const char* path, std::vector<ACCEL>& list, int keepAll)
{
    std::string content;
    if (!ReadDefinitionFile(path, content)) return -1;
    if (!keepAll) m_numEntries.clear();

    std::vector<ACCEL> custom;
    int result = ReadKeySection(content, "[CustomKey]", custom);
    if (result == 0) {
        if (keepAll) {
            list.insert(list.end(), custom.begin(), custom.end());
        } else {
            Split(custom, list);
        }
    }

    m_systemEntries.clear();
    std::vector<ACCEL> system;
    if (ReadKeySection(content, "[SystemKey]", system) == 0) {
        if (keepAll) {
            m_systemEntries = system;
        } else {
            Split(system, list);
        }
    }
    return result;
}

int CMainAccelerator::ReadKeyFile(const char* name, std::vector<ACCEL>& list, int keepAll,
                                  int programFolder)
{
    return ReadKeyFileAt(KeyFilePath(name, programFolder).c_str(), list, keepAll);
}

int CMainAccelerator::Load(const char* name)
{
    if (m_table != nullptr) return 1;
    std::vector<ACCEL> list;
    int result = ReadKeyFile(name, list, 0, 0);
    if (result != 0) return result;
    if (list.empty()) return -1;
    m_table = CreateAcceleratorTableA(list.data(), static_cast<int>(list.size()));
    return m_table ? 0 : -1;
}

int CMainAccelerator::SaveAt(const char* path, const std::vector<ACCEL>& customList)
{
    if (customList.empty() || m_systemEntries.empty()) return -1;
    std::string text = "[CustomKey]\r\nBEGIN\r\n";
    for (const ACCEL& entry : customList) text += "    " + FormatKeyLine(entry) + "\r\n";
    text += "END\r\n[SystemKey]\r\nBEGIN\r\n";
    for (const ACCEL& entry : m_systemEntries) text += "    " + FormatKeyLine(entry) + "\r\n";
    text += "END\r\n";
    return WriteDefinitionFile(path, text) ? 0 : -1;
}

int CMainAccelerator::Save(const char* name, const std::vector<ACCEL>& customList)
{
    return SaveAt(KeyFilePath(name, 0).c_str(), customList);
}

int CMainAccelerator::DispatchKey(HWND window, const MSG* msg, BYTE flags)
{
    if (msg == nullptr) return 0;
    for (const ACCEL& entry : m_numEntries) {
        if (entry.key == static_cast<WORD>(msg->wParam) && entry.fVirt == flags) {
            ::SendMessageA(window, WM_COMMAND, entry.cmd, 0);
            return 1;
        }
    }
    return 0;
}
