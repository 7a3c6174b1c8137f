// Margin presets: named sets of the eight margins of the margin frame, kept in "margin.dat" in
// the per-user settings folder and exchanged as ".mgn" files of the same format.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The first line of every preset file.
constexpr const char kMarginFileHeader[] = "Brisco Margin Data Ver.1.0";
// Names typed for a new preset are cut to this many bytes, so the list columns stay in line.
constexpr int kMarginNameBytes = 30;

// One preset: a name and eight margins in millimetres.
class CMarginData {
public:
    enum Side {
        kLandscapeTop, kLandscapeBottom, kLandscapeLeft, kLandscapeRight,
        kPortraitTop, kPortraitBottom, kPortraitLeft, kPortraitRight,
        kMarginCount
    };

    CMarginData() = default;
    virtual ~CMarginData() = default;

    // Sets the name (unless name is null) and the eight margins in Side order.
    void Set(const char* newName, const double values[kMarginCount]);

    std::string name;
    double margins[kMarginCount] = {};
};

// The preset store of one operation: a file path and the presets in file order. Lines of the
// file that are not presets (other than blank lines) are kept as they were, so that a rewrite
// never drops what this program could not read.
class CMargin {
public:
    CMargin();  // path = "margin.dat" in the per-user settings folder (created when missing)
    virtual ~CMargin() = default;

    // Appends the file's presets (path null: the store's path). 0; -1 when the file cannot be
    // read or is empty; -2 when its first line is not the header (nothing is added).
    int Load(const char* path = nullptr);
    // Writes the header, every preset and the kept lines (path null: the store's path),
    // replacing the file only when the whole write succeeded. 0, or -1.
    int Save(const char* path = nullptr) const;

    std::string path;
    std::vector<CMarginData> presets;
    std::vector<std::string> unreadLines;
};

// The bodies of CMargin::Load and CMargin::Save; unreadLines may be null.
int ReadMarginFile(const char* path, std::vector<CMarginData>& presets, std::vector<std::string>* unreadLines);
int WriteMarginFile(const char* path, const std::vector<CMarginData>& presets,
                    const std::vector<std::string>* unreadLines);

// One file line "name, m1, ..., m8" (no line end). ParseMarginLine: 0 when the line has
// exactly nine fields, else -1.
int ParseMarginLine(const char* line, CMarginData& out);
void FormatMarginLine(const CMarginData& preset, std::string& out);

// The fixed-column line of the preset list: the name padded to 30 bytes, then the eight
// margins in six columns with two decimals.
void FormatMarginListLine(const CMarginData& preset, std::string& out);
void ParseMarginListLine(const char* text, CMarginData& out);

// Reads a typed margin: false when the text is not a number (blanks around it allowed).
bool ParseMarginText(const char* text, double* value);
// 0 <= value < 100, where a value within 1e-8 of 100 counts as 100.
bool IsValidMarginValue(double value);
// 1 when the value is a valid margin; otherwise shows the check message over the dialog and
// returns 0. The text form also refuses a text that is no number with the same message.
int CheckMarginValue(HWND dialog, double value);
int CheckMarginText(HWND dialog, const char* text, double* value);
