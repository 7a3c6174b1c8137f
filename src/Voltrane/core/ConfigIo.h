// Single settings read and written with private-profile semantics (section, key, default,
// text result), wherever the setting lives: an ini file, one of the XML settings files
// (edited in place), a value answered from memory, or the program's own ini file. Also the
// per-user copies of the auxiliary ini files and the list of drawing scales.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

// -1 no such file; 0, 1, 2 an existing ini file, "ConfigData.xml", "LocalSettings.xml";
// 10, 11, 12 a memory file spec of those kinds (out = the file spec).
int ResolveVirtualProfilePath(const char* fileSpec, std::string* outPath);

// 0 when the file spec names no file (out untouched) or the file cannot be read; for an
// ini file the count of the system's profile read; 1 otherwise. Texts are cut to outSize.
int VirtualGetPrivateProfileString(const char* section, const char* key, const char* defaultText, char* out,
                                   DWORD outSize, const char* fileSpec);
// Non-zero only when the value was stored and is in force: 0 for no file, a memory
// file spec, a key the XML file does not hold (or holds empty), or a failed write.
int VirtualWritePrivateProfileString(const char* section, const char* key, const char* value,
                                     const char* fileSpec);

// Reads one value: type 1 int, 2 or 3 long, 4 double, 5 text (size bytes). Section "SYSTEM"
// comes from "ConfigData.xml", any other from the program's ini file. 0, or -1 for another
// type.
int ReadConfigValue(void* out, int type, int size, const char* section, const char* key, const char* defaultText);
// out holds at least 257 bytes; "SYSTEM"/"SYSTEMDIR" gives the program folder with '\'.
int ReadConfigString(const char* section, const char* key, const char* defaultText, char* out);
// 1 when the value was stored and is in force, 0 otherwise.
int WriteConfigString(const char* section, const char* key, const char* value);

// Cuts a text at its first "//" outside a double-byte character, with the blanks before it.
void StripConfigComment(char* text);

// Paths of configured files; out holds outSize bytes. 1.
int GetConfiguredFilePath(char* out, std::size_t outSize, const char* section, const char* key,
                          const char* defaultName);
int GetConfiguredDataFilePath(char* out, std::size_t outSize, const char* section, const char* key,
                              const char* defaultName);
// The per-user copy of a program-folder file (kind -1: the settings folder; else that data
// sub-folder), seeded when the installed copy is newer. 0.
int GetUserDataFilePath(char* out, std::size_t outSize, const char* fileName, int dataKind);

// "sonota.ini", "rirekimoji.ini" and "bottoncolor.ini"; out holds 257 bytes. 1.
int ReadSonotaString(const char* section, const char* key, const char* defaultText, char* out);
int ReadInputHistoryString(const char* section, const char* key, const char* defaultText, char* out);
int ReadButtonColorString(const char* section, const char* key, const char* defaultText, char* out);
// 1 written, 0 not.
int WriteSonotaString(const char* section, const char* key, const char* value);
int WriteInputHistoryString(const char* section, const char* key, const char* value);

// Appends the drawing scales of the settings, in order.
void GetScaleList(std::vector<std::string>& out);

// The program file's path with the extension ".ini".
std::string GetProgramIniPath();
