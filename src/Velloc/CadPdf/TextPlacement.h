// A text element as the export works on it, and where its PDF text starts: the offset from the
// basis point to the text origin, the change of basis point, the split into characters.
#pragma once

#include <string>
#include <vector>

#include "EngineRecords.h"

// A copy of a text record with its font name and text read bounded (neither is trusted to be
// terminated); Record() hands the engine a record whose text pointer names this copy's text.
struct TextElement {
    explicit TextElement(const ElementRecord& source);

    TextRecord record;
    std::string font;
    std::string text;

    bool Vertical() const { return (record.flags & kTextVertical) != 0; }
    void SetVertical(bool vertical);
    int Basis() const { return record.header[13]; }
    void SetBasis(int basis) { record.header[13] = static_cast<uint8_t>(basis); }
    void SetColour(uint16_t colour);
    // A ratio other than 1: height := height x ratio, ratio := 1 / ratio.
    void SwapRatio();
    ElementRecord Record() const;
};

struct TextOffset {
    double dx;
    double dy;
};

// The offset from basis point 1..11 to the text origin (lower left corner of a horizontal box,
// top centre of a vertical column); box W x H, character width w and height h.
TextOffset TextOriginOffset(int basis, bool vertical, double W, double H, double w, double h);
// Moves the position so the same box is anchored at basis point n (5 horizontal, 4 vertical).
void ChangeTextBasis(int n, TextElement* text, double W, double H);
// One string per character: a lead byte with a valid trail byte is one character.
std::vector<std::string> SplitTextCharacters(const std::string& text);
// True when the text holds "～", "－", "―", "ー" or "‐".
bool ContainsDashLikeCharacter(const std::string& text);
