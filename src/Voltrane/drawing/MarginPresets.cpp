#include "drawing/MarginPresets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/CsvParser.h"
#include "core/NumericInput.h"
#include "core/ProgramPaths.h"
#include "core/ReplacingWrite.h"
#include "core/SettingsMessage.h"
#include "core/WholeFileRead.h"

namespace {

// fgets of the first reader took at most this many bytes of a line; longer lines never were
// presets, so they are kept as they are.
constexpr size_t kMarginLineLimit = 1022;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string TrimRight(const std::string& text)
{
    size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1])) --end;
    return text.substr(0, end);
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace

void CMarginData::Set(const char* newName, const double values[kMarginCount])
{
    if (newName != nullptr) name = newName;
    for (int i = 0; i < kMarginCount; ++i) margins[i] = values[i];
}

CMargin::CMargin() : path(JoinPath(GetUserSettingsDir(true), "margin.dat")) {}

int CMargin::Load(const char* from) { return ReadMarginFile(from ? from : path.c_str(), presets, &unreadLines); }

int CMargin::Save(const char* to) const { return WriteMarginFile(to ? to : path.c_str(), presets, &unreadLines); }

int ReadMarginFile(const char* path, std::vector<CMarginData>& presets, std::vector<std::string>* unreadLines)
{
    std::string bytes;
    if (path == nullptr || ReadWholeFile(path, &bytes) != 0 || bytes.empty()) return -1;
    const std::vector<std::string> lines = SplitLines(bytes);
    if (TrimRight(lines[0]) != kMarginFileHeader) return -2;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (TrimRight(line).empty()) continue;
        CMarginData preset;
        if (line.size() <= kMarginLineLimit && ParseMarginLine(line.c_str(), preset) == 0) {
            presets.push_back(preset);
        } else if (unreadLines != nullptr) {
            unreadLines->push_back(line);
        }
    }
    return 0;
}

int WriteMarginFile(const char* path, const std::vector<CMarginData>& presets,
                    const std::vector<std::string>* unreadLines)
{
    if (path == nullptr || *path == '\0') return -1;
    std::string bytes = std::string(kMarginFileHeader) + "\r\n";
    std::string line;
    for (const CMarginData& preset : presets) {
        FormatMarginLine(preset, line);
        bytes += line + "\r\n";
    }
    if (unreadLines != nullptr) {
        for (const std::string& kept : *unreadLines) bytes += kept + "\r\n";
    }
    return WriteFileReplacing(path, bytes) == 0 ? 0 : -1;
}

int ParseMarginLine(const char* line, CMarginData& out)
{
    CCsvParser fields(line != nullptr ? line : "");
    if (fields.GetSize() != 1 + CMarginData::kMarginCount) return -1;
    double values[CMarginData::kMarginCount];
    for (int i = 0; i < CMarginData::kMarginCount; ++i) {
        // A margin that is no number would read as 0: the line is not a preset.
        if (!ParseMarginText(fields.GetAt(i + 1), &values[i])) return -1;
    }
    out.Set(fields.GetAt(0), values);
    return 0;
}

void FormatMarginLine(const CMarginData& preset, std::string& out)
{
    out = preset.name;
    char number[64];
    for (double margin : preset.margins) {
        FormatDouble(number, sizeof number, margin, 15, 1);
        out += ", ";
        out += number;
    }
}

void FormatMarginListLine(const CMarginData& preset, std::string& out)
{
    char text[512];
    const double* m = preset.margins;
    std::snprintf(text, sizeof text, "%-30s %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f %6.2f", preset.name.c_str(),
                  m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7]);
    out = text;
}

void ParseMarginListLine(const char* text, CMarginData& out)
{
    const std::string line = text != nullptr ? text : "";
    double values[CMarginData::kMarginCount];
    for (int i = 0; i < CMarginData::kMarginCount; ++i) {
        const size_t start = 31 + 7 * i;
        values[i] = start < line.size() ? std::atof(line.substr(start, 6).c_str()) : 0.0;
    }
    const std::string name = TrimRight(line.substr(0, std::min<size_t>(line.size(), 30)));
    out.Set(name.c_str(), values);
}

bool ParseMarginText(const char* text, double* value)
{
    if (text == nullptr) return false;
    while (IsBlank(*text)) ++text;
    if (*text == '\0') return false;
    char* end = nullptr;
    const double parsed = std::strtod(text, &end);
    if (end == text) return false;
    while (IsBlank(*end)) ++end;
    if (*end != '\0' || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

bool IsValidMarginValue(double value)
{
    if (!std::isfinite(value) || value < 0.0) return false;
    return value < 100.0 && std::fabs(value - 100.0) >= 1e-8;
}

int CheckMarginValue(HWND dialog, double value)
{
    if (IsValidMarginValue(value)) return 1;
    ShowSettingsMessage(dialog, "マージンの値が異常です 0以上100未満の値を入力してください", "入力チェック", MB_OK);
    return 0;
}

int CheckMarginText(HWND dialog, const char* text, double* value)
{
    double parsed = 0.0;
    // A text that is no number is refused as an invalid margin (it does not become 0).
    if (!ParseMarginText(text, &parsed)) parsed = -1.0;
    if (CheckMarginValue(dialog, parsed) == 0) return 0;
    *value = parsed;
    return 1;
}
