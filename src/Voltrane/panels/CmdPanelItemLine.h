// One item line of a command-panel definition: the row break "\n" (a backslash and an "n") or
// "caption,command id,tooltip[,image set]".
#pragma once

#include <string>

struct CmdPanelItemLine {
    bool rowBreak = false;
    bool button = false;  // three fields or more
    std::string caption;
    int commandId = 0;
    std::string tooltip;
    int imageSet = 0;
};

// The two-character row break.
extern const char kCmdPanelRowBreak[];

CmdPanelItemLine ParseCmdPanelItemLine(const std::string& line);
// A decimal field: leading blanks skipped, an optional sign, then digits up to the first other
// character; no digits give 0 and a value beyond the int range stops at its limit.
int ParseCmdPanelNumber(const char* text);
