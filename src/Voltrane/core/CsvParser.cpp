#include "core/CsvParser.h"

#include "core/Dbcs.h"

namespace {

bool IsCsvSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Blanks at both ends go first, then every double quote at both ends.
std::string EndField(const std::string& field)
{
    size_t begin = 0;
    size_t end = field.size();
    while (begin < end && IsCsvSpace(field[begin]))
        ++begin;
    while (end > begin && IsCsvSpace(field[end - 1]))
        --end;
    while (begin < end && field[begin] == '"')
        ++begin;
    while (end > begin && field[end - 1] == '"')
        --end;
    return field.substr(begin, end - begin);
}

} // namespace

CCsvParser::CCsvParser() = default;

CCsvParser::CCsvParser(const std::string& line)
{
    Parse(line);
}

CCsvParser::~CCsvParser() = default;

const char* CCsvParser::GetAt(int index) const
{
    if (index < 0 || index >= static_cast<int>(fields.size()))
        return "";
    return fields[static_cast<size_t>(index)].c_str();
}

int CCsvParser::Parse(std::string line)
{
    fields.clear();
    std::string field;
    bool inQuotes = false;
    bool previousWasLead = false; // the byte before is the first byte of a double-byte character
    bool previousIsSingle = false; // the byte before is a character of its own (not a trail byte)
    size_t backslashRun = 0; // single-byte backslashes at the end of the field (trail bytes not counted)
    const size_t n = line.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = line[i];
        const bool isTrail = previousWasLead;
        if (!isTrail && c == '"') {
            const bool last = i + 1 == n;
            if (!last && !inQuotes && line.find('"', i + 1) == std::string::npos) {
                field += c;
            } else if (i > 0 && line[i - 1] == '\\' && previousIsSingle) {
                // An escaped quote: the backslashes before it are dropped.
                // Only backslashes of their own: a 5C that ends a double-byte character stays.
                while (backslashRun > 0 && !field.empty() && field.back() == '\\') {
                    field.pop_back();
                    --backslashRun;
                }
                field += c;
            } else {
                inQuotes = !inQuotes;
                field += c;
            }
        } else if (!isTrail && c == ',' && !inQuotes) {
            fields.push_back(EndField(field));
            field.clear();
        } else {
            field += c;
        }
        previousIsSingle = !isTrail;
        backslashRun = (!isTrail && c == '\\') ? backslashRun + 1 : 0;
        previousWasLead = !isTrail && IsSjisLeadByte(static_cast<unsigned char>(c));
    }
    fields.push_back(EndField(field));
    return 0;
}
