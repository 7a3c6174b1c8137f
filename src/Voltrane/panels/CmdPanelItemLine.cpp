#include "panels/CmdPanelItemLine.h"

#include <climits>

#include "core/CsvParser.h"

const char kCmdPanelRowBreak[] = "\\n";

int ParseCmdPanelNumber(const char* text)
{
    if (text == nullptr) return 0;
    while (*text == ' ' || *text == '\t') ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(value);
}

CmdPanelItemLine ParseCmdPanelItemLine(const std::string& line)
{
    CmdPanelItemLine item;
    if (line == kCmdPanelRowBreak) {
        item.rowBreak = true;
        return item;
    }
    CCsvParser fields(line);
    if (fields.GetSize() < 3) return item;
    item.button = true;
    item.caption = fields.GetAt(0);
    item.commandId = ParseCmdPanelNumber(fields.GetAt(1));
    item.tooltip = fields.GetAt(2);
    if (fields.GetSize() == 4) item.imageSet = ParseCmdPanelNumber(fields.GetAt(3));
    return item;
}
