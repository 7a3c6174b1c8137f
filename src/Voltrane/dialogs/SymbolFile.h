// The symbol definition files of the symbol-file viewer: the reader with its small expression
// language, the conversion of a symbol's primitives into engine element records scaled to a
// preview cell, and the arithmetic of the viewer's cell grid. Nothing in the program opens the
// viewer; these cores are what it would run on.
#pragma once

#include <string>
#include <vector>

constexpr int kSymbolMaxLines = 200;
constexpr int kSymbolMaxValues = 10;
constexpr int kSymbolMaxRecords = 799;

// Expression errors.
constexpr int kSymbolExprOk = 0;
constexpr int kSymbolExprDivideByZero = -2;
constexpr int kSymbolExprMissingParen = -3;
constexpr int kSymbolExprUnknownName = -4;

struct SymbolPrimitive {
    std::string keyword;               // "LINE", "KCIRC", ...
    int colour = -1, lineType = -1, lineWidth = -1, mark = -1;  // -1: not given
    std::vector<double> values;        // up to 10
    std::string text;                  // texts ("CHAR", "KCHAR"): the quoted field
};

struct SymbolFile {
    std::string keys[5];
    std::string code;
    long tag = 0;
    std::string name;
    double variables[20] = {};         // A to T
    double pos[3][2] = {};
    std::vector<SymbolPrimitive> primitives;
};

// Evaluates an expression over the variables A to T: "+" "-" between terms, "*" "/" between
// factors, a factor an optional "-", a number (with an exponent: "1E5") or "(" expression ")".
// error receives one of the kSymbolExpr codes; a division by zero is skipped.
double EvaluateSymbolExpression(const std::string& text, const double variables[20], int* error);

// Reads a symbol file's text (lines of at most 160 bytes, at most 200 of them).
SymbolFile ParseSymbolText(const std::string& text);
// Reads a symbol file; false when it cannot be opened.
bool ReadSymbolFile(const char* path, SymbolFile* out);

// Which primitives the conversion takes: 0 all (the "K" forms too), 1 all but "K" forms and
// those marked 9999, 2 only those marked 9999 (no "K" forms).
// Records of 174 bytes in the engine's element layout, scaled about the origin to fit 0.8 of a
// cell of cellWidth x cellHeight; false when there is nothing to convert. Text records point
// into texts, which must outlive them.
bool SymbolToRecords(const SymbolFile& symbol, int mode, int defaultColour, double cellWidth, double cellHeight,
                     std::vector<unsigned char>* records, std::vector<std::string>* texts);

// The cell grid of the viewer.
struct SymbolGrid {
    int columns;
    int rows;
};
SymbolGrid SymbolGridFor(int screenWidth, int screenHeight, int scrollBarWidth, int captionHeight, int twoRows);
// The column and row of a click in the cell area.
int SymbolCellColumn(int x);
int SymbolCellRow(int y);
// The highest scroll position: 0 when every row fits.
int SymbolScrollMax(int count, int columns, int rows);
// The name shown under a preview: cut beyond 12 bytes with ".." when 15 bytes or longer.
std::string SymbolCellName(const std::string& name);
