// Keyboard shortcuts from "RovOdidov.key": a Windows accelerator table for the main window's
// message filter, and apart from it the shortcuts marked "NUM", which fire only while a
// number is typed into the status bar and are dispatched by the key filter itself.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr BYTE kAccelNum = 0x40;  // "NUM": a typed-number shortcut, never in the Windows table

struct KeyNameRow {
    WORD code;
    const char* name;
    const char* displayName;
};

// The 154 rows of the key-name table in their order.
const KeyNameRow* KeyNameTable();
int KeyNameTableCount();

// The code of the first row whose key name equals the text exactly; 0 when none.
WORD FindKeyCode(const char* keyName);
// The flag names present, joined by ",", in the order VIRTKEY, NOINVERT, SHIFT, CONTROL, ALT, NUM.
std::string FormatFlagNames(BYTE flags);
// One entry as written in the file: "\"%s\",%ld,%s".
std::string FormatKeyLine(const ACCEL& entry);
// null name: "RovOdidov.key"; program-folder flag: the program's folder, else the per-user copy.
std::string KeyFilePath(const char* name, int programFolder);

// The key of an entry line's first field: one letter or digit gives its virtual key (letters
// in either case give the letter's key), any other text is looked up among the key names.
WORD ParseKeyField(const std::string& field);
// Reads one section ("[CustomKey]" or "[SystemKey]") of the file's text; 0 when at least one
// entry was accepted, else -1.
int ReadKeySection(const std::string& content, const char* header, std::vector<ACCEL>& entries);

class CMainAccelerator {
public:
    CMainAccelerator() = default;
    virtual ~CMainAccelerator();
    CMainAccelerator(const CMainAccelerator&) = delete;
    CMainAccelerator& operator=(const CMainAccelerator&) = delete;

    // 1 when the table exists; 0 when it was made; -1 when nothing could be read.
    int Load(const char* name);
    // Reads both sections into list (and the object's own lists); the [CustomKey] result.
    int ReadKeyFile(const char* name, std::vector<ACCEL>& list, int keepAll, int programFolder);
    // The same from a given path (the file the other two resolve).
    int ReadKeyFileAt(const char* path, std::vector<ACCEL>& list, int keepAll);
    // Writes the custom list and the kept system entries to the per-user file; 0 or -1.
    int Save(const char* name, const std::vector<ACCEL>& customList);
    int SaveAt(const char* path, const std::vector<ACCEL>& customList);
    // Sends the command of the first typed-number entry with this key and exactly these flags.
    int DispatchKey(HWND window, const MSG* msg, BYTE flags);
    // Display name (flag set) or key name of a key code; a letter or digit gives itself.
    static std::string GetKeyName(WORD code, int display);

    HACCEL Table() const { return m_table; }
    const std::vector<ACCEL>& TypedNumberEntries() const { return m_numEntries; }
    const std::vector<ACCEL>& SystemEntries() const { return m_systemEntries; }

private:
    void Split(const std::vector<ACCEL>& read, std::vector<ACCEL>& list);

    HACCEL m_table = nullptr;
    std::vector<ACCEL> m_numEntries;
    std::vector<ACCEL> m_systemEntries;
};
