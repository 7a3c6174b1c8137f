#include "CadPdf/TextPlacement.h"

#include <cmath>
#include <cstring>

#include "core/Dbcs.h"

namespace {

constexpr size_t kMaxTextBytes = 65536;

bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

}  // namespace

TextElement::TextElement(const ElementRecord& source)
{
    std::memcpy(&record, &source, sizeof record);
    font.assign(record.font, strnlen(record.font, sizeof record.font));
    if (record.text != nullptr) text.assign(record.text, strnlen(record.text, kMaxTextBytes));
}

void TextElement::SetVertical(bool vertical)
{
    record.flags = vertical ? static_cast<uint16_t>(record.flags | kTextVertical)
                            : static_cast<uint16_t>(record.flags & ~kTextVertical);
}

void TextElement::SetColour(uint16_t colour) { std::memcpy(record.header + 11, &colour, sizeof colour); }

void TextElement::SwapRatio()
{
    if (std::fabs(record.widthRatio - 1.0) < 1e-8 || std::fabs(record.widthRatio) < 1e-12) return;
    record.height *= record.widthRatio;
    record.widthRatio = 1.0 / record.widthRatio;
}

ElementRecord TextElement::Record() const
{
    TextRecord copy = record;
    std::memset(copy.font, 0, sizeof copy.font);
    std::memcpy(copy.font, font.data(), std::min(font.size(), sizeof copy.font - 1));
    copy.text = text.c_str();
    ElementRecord out;
    std::memcpy(&out, &copy, sizeof out);
    return out;
}

TextOffset TextOriginOffset(int basis, bool vertical, double W, double H, double w, double h)
{
    if (!vertical) {
        switch (basis) {
        case 1: return {0, -H};
        case 2: return {0, -H / 2};
        case 3: return {0, 0};
        case 4: return {-W / 2, -H};
        case 5: return {-W / 2, -H / 2};
        case 6: return {-W / 2, 0};
        case 7: return {-W, -H};
        case 8: return {-W, -H / 2};
        case 9: return {-W, 0};
        case 10: return {-w / 2, -H / 2};
        case 11: return {w / 2 - W, -H / 2};
        default: return {0, 0};
        }
    }
    switch (basis) {
    case 1: return {W / 2, 0};
    case 2: return {W / 2, H / 2};
    case 3: return {W / 2, H};
    case 4: return {0, 0};
    case 5: return {0, H / 2};
    case 6: return {0, H};
    case 7: return {-W / 2, 0};
    case 8: return {-W / 2, H / 2};
    case 9: return {-W / 2, H};
    case 10: return {0, -h / 2};
    case 11: return {0, h / 2 - H / 2};
    default: return {W / 2, 0};
    }
}

void ChangeTextBasis(int n, TextElement* text, double W, double H)
{
    const bool vertical = text->Vertical();
    const double h = text->record.height;
    const double w = h * text->record.widthRatio;
    TextOffset move = TextOriginOffset(text->Basis(), vertical, W, H, w, h);
    if (!vertical) {
        move.dx += W / 2;
        move.dy += H / 2;
    }
    const double a = text->record.angle;
    text->record.x += move.dx * std::cos(a) - move.dy * std::sin(a);
    text->record.y += move.dx * std::sin(a) + move.dy * std::cos(a);
    text->SetBasis(n);
}

std::vector<std::string> SplitTextCharacters(const std::string& text)
{
    std::vector<std::string> characters;
    for (size_t i = 0; i < text.size();) {
        const size_t length =
            (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
             IsTrailByte(static_cast<unsigned char>(text[i + 1])))
                ? 2
                : 1;
        characters.push_back(text.substr(i, length));
        i += length;
    }
    return characters;
}

bool ContainsDashLikeCharacter(const std::string& text)
{
    static const char* const kDashes[] = {"～", "－", "―", "ー", "‐"};
    for (const std::string& character : SplitTextCharacters(text))
        for (const char* dash : kDashes)
            if (character == dash) return true;
    return false;
}
