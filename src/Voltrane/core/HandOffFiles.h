// Files exchanged with the take-off tool that can start the program: "to_cad.atr" (the start
// mode it asks for), "from_cad.atr" (our answer after a save under a new name) and
// "hiroisyuukei.csv" (emptied in the two exchange modes).
#pragma once

#include <string>

// The link mode for the number on the first line of "to_cad.atr": 1 → 99, 2 → 0, 3..7 → 1..5,
// 10 → 10, anything else → -1.
int LinkModeOfNumber(int number);

// Reads "to_cad.atr" at toCadPath and returns its link mode (-1 when the file cannot be read).
// In the exchange modes (numbers 1 and 2) the file at exchangeCsvPath is created empty.
int ReadLinkModeFrom(const char* toCadPath, const char* exchangeCsvPath);

// Creates (or empties) the marker file at the given path; 1 on success.
int CreateEmptyFile(const char* path);

// The hand-off folder's "to_cad.atr" (host data kind 7) and the exchange folder's
// "hiroisyuukei.csv" (kind 10), both under the program folder.
std::string GetHandOffFilePath(const char* name);
std::string GetExchangeFilePath(const char* name);

// The link mode of the program's "to_cad.atr"; kind is 2, the only one the program uses.
int ReadLinkMode(int kind);

// Creates (or empties) "from_cad.atr" in the hand-off folder after a save under a new name.
int CreateFromCadAtrFile();
