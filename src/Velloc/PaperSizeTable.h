// The standard paper sizes A0..A6 and B0..B6, landscape and portrait, and the "other" row.
#pragma once

#include <cstdint>

struct PaperSizeRow {
    uint16_t series;       // 0 A, 1 B, 255 other
    uint16_t size;         // 0..6 (255 other)
    uint16_t orientation;  // 0 landscape, 1 portrait
    uint16_t code;         // the drawing information's paper code
    double widthMm;
    double heightMm;
};

constexpr int kPaperSizeRows = 29;
constexpr uint16_t kPaperSeriesOther = 255;
constexpr uint16_t kPaperCodeOther = 0;

const PaperSizeRow* PaperSizeTable();
// The first row whose width and height lie within 2 mm of the given size, or null.
const PaperSizeRow* FindPaperBySize(double widthMm, double heightMm);
// The row of a paper code, or null.
const PaperSizeRow* FindPaperByCode(uint16_t code);
