#include "dialogs/SymbolFile.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "EngineRecords.h"
#include "core/Dbcs.h"
#include "core/WholeFileRead.h"

namespace {

constexpr size_t kLineLimit = 160;
constexpr double kPi = 3.14159265358979323846;

// A recursive-descent reader over the expression text. Numbers are read before names, so the
// "E" of "1E5" is an exponent, not the variable E.
class ExpressionReader {
public:
    ExpressionReader(const std::string& text, const double* variables) : m_text(text), m_variables(variables) {}

    double Read(int* error)
    {
        double value = Expression();
        Skip();
        if (m_error == kSymbolExprOk && m_pos < m_text.size()) m_error = kSymbolExprUnknownName;
        *error = m_error;
        return value;
    }

private:
    void Skip()
    {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t')) ++m_pos;
    }
    char Peek()
    {
        Skip();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }
    double Expression()
    {
        double value = Term();
        for (;;) {
            const char c = Peek();
            if (c != '+' && c != '-') return value;
            ++m_pos;
            const double right = Term();
            value = c == '+' ? value + right : value - right;
        }
    }
    double Term()
    {
        double value = Factor();
        for (;;) {
            const char c = Peek();
            if (c != '*' && c != '/') return value;
            ++m_pos;
            const double right = Factor();
            if (c == '*') {
                value *= right;
            } else if (right == 0.0) {
                m_error = kSymbolExprDivideByZero;
            } else {
                value /= right;
            }
        }
    }
    double Factor()
    {
        const char c = Peek();
        if (c == '-') {
            ++m_pos;
            return -Factor();
        }
        if (c == '(') {
            ++m_pos;
            const double value = Expression();
            if (Peek() == ')') ++m_pos;
            else if (m_error == kSymbolExprOk) m_error = kSymbolExprMissingParen;
            return value;
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') {
            const char* start = m_text.c_str() + m_pos;
            char* end = nullptr;
            const double value = std::strtod(start, &end);
            m_pos += static_cast<size_t>(end - start);
            return value;
        }
        if (c >= 'A' && c <= 'T') {
            ++m_pos;
            // The value as the variable's text "%.10lf" gives it.
            char text[400];
            std::snprintf(text, sizeof text, "%.10lf", m_variables[c - 'A']);
            return std::atof(text);
        }
        if (m_error == kSymbolExprOk) m_error = kSymbolExprUnknownName;
        if (m_pos < m_text.size()) ++m_pos;
        return 0;
    }

    const std::string& m_text;
    const double* m_variables;
    size_t m_pos = 0;
    int m_error = kSymbolExprOk;
};

std::vector<std::string> SplitFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.push_back(field);
    return fields;
}

bool IsPrimitiveKeyword(const std::string& k)
{
    static const char* const kKeywords[] = {"LINE",  "CIRC",  "ARC",  "POINT",  "ELLIPSE",  "CHAR",
                                            "KLINE", "KCIRC", "KARC", "KPOINT", "KELLIPSE", "KCHAR"};
    for (const char* keyword : kKeywords) {
        if (k == keyword) return true;
    }
    return false;
}

std::string Unquote(const std::string& field)
{
    const size_t first = field.find('"');
    const size_t last = field.rfind('"');
    if (first == std::string::npos || last == first) return field;
    return field.substr(first + 1, last - first - 1);
}

void PutDouble(unsigned char* record, int offset, double value) { std::memcpy(record + offset, &value, 8); }
double GetDouble(const unsigned char* record, int offset)
{
    double value;
    std::memcpy(&value, record + offset, 8);
    return value;
}
void PutU16(unsigned char* record, int offset, int value)
{
    const uint16_t v = static_cast<uint16_t>(value);
    std::memcpy(record + offset, &v, 2);
}

// The place and size fields of a record, for the extent and the scaling.
struct RecordShape {
    int xs[2];       // offsets of x coordinates (or -1)
    int ys[2];
    int lengths[3];  // offsets of lengths scaled with it (or -1)
};

RecordShape ShapeOf(int type, bool keepTextSize)
{
    switch (type) {
    case 1: return {{33, 57}, {41, 65}, {-1, -1, -1}};
    case 2: return {{33, -1}, {41, -1}, {-1, -1, -1}};
    case 3:
    case 4: return {{33, -1}, {41, -1}, {57, -1, -1}};
    case 5: return {{112, -1}, {120, -1}, {keepTextSize ? -1 : 46, keepTextSize ? -1 : 62, -1}};
    case 6: return {{33, -1}, {41, -1}, {57, 65, -1}};
    default: return {{-1, -1}, {-1, -1}, {-1, -1, -1}};
    }
}

}  // namespace

double EvaluateSymbolExpression(const std::string& text, const double variables[20], int* error)
{
    int ignored = 0;
    ExpressionReader reader(text, variables);
    return reader.Read(error != nullptr ? error : &ignored);
}

SymbolFile ParseSymbolText(const std::string& text)
{
    SymbolFile symbol;
    size_t pos = 0;
    int lines = 0;
    while (pos < text.size() && lines < kSymbolMaxLines) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lines;
        if (line.size() > kLineLimit - 1) line.resize(DbcsFitLength(line.c_str(), line.size(), kLineLimit - 1));
        while (!line.empty() && (line.back() == '\r' || line.back() == '\x1a')) line.pop_back();
        if (line.empty()) continue;
        const std::vector<std::string> f = SplitFields(line);
        const std::string& k = f[0];
        const std::string second = f.size() > 1 ? f[1] : "";
        if (k.size() == 4 && k.compare(0, 3, "KEY") == 0 && k[3] >= '1' && k[3] <= '5') {
            symbol.keys[k[3] - '1'] = second;
        } else if (k == "CODE") {
            symbol.code = second;
        } else if (k == "TAG") {
            symbol.tag = std::atol(second.c_str());
        } else if (k == "NAME") {
            symbol.name = second;
        } else if (k.size() == 1 && k[0] >= 'A' && k[0] <= 'T') {
            symbol.variables[k[0] - 'A'] = std::atof(second.c_str());
        } else if (k == "POS1" || k == "POS2" || k == "POS3") {
            const int n = k[3] - '1';
            int error = 0;
            if (f.size() > 1) symbol.pos[n][0] = EvaluateSymbolExpression(f[1], symbol.variables, &error);
            if (f.size() > 2) symbol.pos[n][1] = EvaluateSymbolExpression(f[2], symbol.variables, &error);
        } else if (IsPrimitiveKeyword(k)) {
            SymbolPrimitive p;
            p.keyword = k;
            int* ints[4] = {&p.colour, &p.lineType, &p.lineWidth, &p.mark};
            for (size_t i = 1; i < f.size() && i <= 4; ++i) {
                int error = 0;
                const double v = EvaluateSymbolExpression(f[i], symbol.variables, &error);
                if (error != kSymbolExprUnknownName && !f[i].empty()) *ints[i - 1] = static_cast<int>(v);
            }
            const bool isText = k == "CHAR" || k == "KCHAR";
            for (size_t i = 5; i < f.size() && p.values.size() < static_cast<size_t>(kSymbolMaxValues); ++i) {
                if (isText && f[i].find('"') != std::string::npos) {
                    p.text = Unquote(f[i]);
                    continue;
                }
                int error = 0;
                const double v = EvaluateSymbolExpression(f[i], symbol.variables, &error);
                // A field naming an unknown variable is left out.
                if (error == kSymbolExprUnknownName) continue;
                p.values.push_back(v);
            }
            symbol.primitives.push_back(p);
        }
    }
    return symbol;
}

bool ReadSymbolFile(const char* path, SymbolFile* out)
{
    if (path == nullptr || out == nullptr) return false;
    std::string text;
    // A symbol file is a few kilobytes; 1 MB is far more than its 200 lines can fill.
    if (ReadWholeFile(path, &text, 1u << 20) != 0) return false;
    *out = ParseSymbolText(text);
    return true;
}

bool SymbolToRecords(const SymbolFile& symbol, int mode, int defaultColour, double cellWidth, double cellHeight,
                     std::vector<unsigned char>* records, std::vector<std::string>* texts)
{
    if (records == nullptr || texts == nullptr) return false;
    records->clear();
    texts->clear();
    texts->reserve(symbol.primitives.size());
    std::vector<bool> keepSize;
    for (const SymbolPrimitive& p : symbol.primitives) {
        const bool kForm = p.keyword[0] == 'K';
        const std::string base = kForm ? p.keyword.substr(1) : p.keyword;
        if (kForm && mode != 0) continue;
        if (mode == 1 && p.mark == 9999) continue;
        if (mode == 2 && p.mark != 9999) continue;
        if (records->size() / kElementRecordSize >= static_cast<size_t>(kSymbolMaxRecords)) break;
        unsigned char r[kElementRecordSize] = {};
        auto value = [&](size_t i) { return i < p.values.size() ? p.values[i] : 0.0; };
        int type = 0;
        if (base == "LINE") {
            type = 1;
            PutDouble(r, 33, value(0));
            PutDouble(r, 41, value(1));
            PutDouble(r, 57, value(2));
            PutDouble(r, 65, value(3));
        } else if (base == "POINT") {
            type = 2;
            PutDouble(r, 33, value(0));
            PutDouble(r, 41, value(1));
        } else if (base == "CIRC" || base == "ARC") {
            type = base == "CIRC" ? 3 : 4;
            PutDouble(r, 33, value(0));
            PutDouble(r, 41, value(1));
            PutDouble(r, 57, value(2));
            if (type == 4) {
                PutDouble(r, 65, value(3) * kPi / 180);
                PutDouble(r, 73, value(4) * kPi / 180);
            }
        } else if (base == "CHAR") {
            type = 5;
            std::memcpy(r + 70, "VectorFont", 10);
            PutDouble(r, 112, value(0));
            PutDouble(r, 120, value(1));
            PutDouble(r, 46, value(2));
            PutDouble(r, 54, p.values.size() > 4 ? value(4) : 1.0);
            PutDouble(r, 62, value(3));
            PutDouble(r, 30, 0.0);
            r[102] &= static_cast<unsigned char>(~0x20);
            texts->push_back(p.text);
            const uint32_t pointer = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(texts->back().c_str()));
            std::memcpy(r + 136, &pointer, 4);
        } else if (base == "ELLIPSE") {
            type = 6;
            PutDouble(r, 33, value(0));
            PutDouble(r, 41, value(1));
            PutDouble(r, 81, value(2));
            PutDouble(r, 57, value(3));
            PutDouble(r, 65, value(4));
        } else {
            continue;
        }
        PutU16(r, 0, type);
        PutU16(r, 11, p.colour == -1 ? defaultColour : p.colour);
        // In a text record byte 13 is the basis point, not a line type.
        if (type != 5) r[13] = static_cast<unsigned char>(p.lineType == -1 ? 0 : p.lineType);
        r[14] = static_cast<unsigned char>(p.lineWidth == -1 ? 0 : p.lineWidth);
        records->insert(records->end(), r, r + kElementRecordSize);
        keepSize.push_back(kForm && type == 5);
    }
    const size_t count = records->size() / kElementRecordSize;
    if (count == 0) return false;

    // The extent around the origin on each side.
    double left = 0, right = 0, bottom = 0, top = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* r = records->data() + i * kElementRecordSize;
        int type = 0;
        std::memcpy(&type, r, 2);
        type &= 0xFFFF;
        const RecordShape s = ShapeOf(type, keepSize[i]);
        double reach = 0;
        if (type == 3 || type == 4) reach = std::fabs(GetDouble(r, 57));
        if (type == 6) reach = std::fmax(std::fabs(GetDouble(r, 57)), std::fabs(GetDouble(r, 65)));
        for (int k = 0; k < 2; ++k) {
            if (s.xs[k] >= 0) {
                left = std::fmin(left, GetDouble(r, s.xs[k]) - reach);
                right = std::fmax(right, GetDouble(r, s.xs[k]) + reach);
            }
            if (s.ys[k] >= 0) {
                bottom = std::fmin(bottom, GetDouble(r, s.ys[k]) - reach);
                top = std::fmax(top, GetDouble(r, s.ys[k]) + reach);
            }
        }
    }
    auto ratio = [](double half, double extent) { return half / (std::fabs(extent) < 1e-10 ? 1.0 : std::fabs(extent)); };
    double factor = ratio(cellWidth / 2, right);
    factor = std::fmin(factor, ratio(cellWidth / 2, left));
    factor = std::fmin(factor, ratio(cellHeight / 2, top));
    factor = std::fmin(factor, ratio(cellHeight / 2, bottom));
    factor *= 0.8;
    for (size_t i = 0; i < count; ++i) {
        unsigned char* r = records->data() + i * kElementRecordSize;
        int type = 0;
        std::memcpy(&type, r, 2);
        type &= 0xFFFF;
        const RecordShape s = ShapeOf(type, keepSize[i]);
        for (int offset : {s.xs[0], s.xs[1], s.ys[0], s.ys[1], s.lengths[0], s.lengths[1], s.lengths[2]}) {
            if (offset >= 0) PutDouble(r, offset, GetDouble(r, offset) * factor);
        }
    }
    return true;
}

SymbolGrid SymbolGridFor(int screenWidth, int screenHeight, int scrollBarWidth, int captionHeight, int twoRows)
{
    SymbolGrid grid;
    grid.columns = (screenWidth - scrollBarWidth - 100) / 111;
    if (grid.columns < 1) grid.columns = 1;
    if (grid.columns > 8) grid.columns = 8;
    grid.rows = (screenHeight - captionHeight - 76) / 116;
    if (grid.rows < 1) grid.rows = 1;
    if (grid.rows > 5) grid.rows = 5;
    if (twoRows) grid.rows = 2;
    return grid;
}

int SymbolCellColumn(int x) { return x <= 5 ? 0 : (x - 5) / 111; }

int SymbolCellRow(int y) { return y / 116; }

int SymbolScrollMax(int count, int columns, int rows)
{
    if (columns < 1 || rows < 1) return 0;
    const int needed = count / columns - rows + 1;
    return needed > 0 ? needed : 0;
}

std::string SymbolCellName(const std::string& name)
{
    if (name.size() < 15) return name;
    size_t cut = DbcsFitLength(name.c_str(), name.size(), 12);
    // "beyond 12 bytes": the character boundary after byte 12.
    if (cut < 12 && cut < name.size()) cut += IsSjisLeadByte(name[cut]) ? 2 : 1;
    return name.substr(0, cut) + "..";
}
