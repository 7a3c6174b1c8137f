// Splits one line of comma-separated fields (code page 932) into texts.
#pragma once

#include <string>
#include <vector>

class CCsvParser {
public:
    CCsvParser();
    explicit CCsvParser(const std::string& line);
    virtual ~CCsvParser();

    // Replaces the fields by those of the line. Always 0.
    int Parse(std::string line);

    // The number of fields and the field at an index (an empty text outside the list).
    int GetSize() const { return static_cast<int>(fields.size()); }
    const char* GetAt(int index) const;

    // The fields of the line parsed last, in line order.
    std::vector<std::string> fields;
};
