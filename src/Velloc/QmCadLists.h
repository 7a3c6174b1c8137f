// The document model's attribute lists, read from a drawing's information block: layers,
// colours, line types and line widths (and a text-style list that nothing fills). Each keeps
// the order of reading and holds no two entries of the same name.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct QmCadLayerEntry {
    int number = 0;
    std::string name;
    int reserved1 = 0, reserved2 = 0, reserved3 = 0;
    int flags = -1;  // bit 0: the layer is shown
    double value = 1.0;
    std::string groupName;
    int reserved4 = 0, reserved5 = 0, reserved6 = 0;
};

struct QmCadColorEntry {
    int number = 0;
    std::string name;
    COLORREF color = 0;  // red in the low byte
};

struct QmCadLinetypeEntry {
    int number = 0;
    std::string name;
    std::vector<double> dashes;  // millimetres
};

struct QmCadLinewidthEntry {
    int number = 0;
    std::string name;  // the width as FormatReal (15 digits) followed by "mm"
    double widthMm = 0.0;
};

struct QmCadTextStyleEntry {
    int number = 0;
    std::string name;
};

template <class Entry>
class QmCadList {
public:
    virtual ~QmCadList() = default;

    // Appends the entry unless one of the same name is there; true when appended.
    bool AddUnique(const Entry& entry)
    {
        for (const Entry& existing : entries) {
            if (existing.name == entry.name) return false;
        }
        entries.push_back(entry);
        return true;
    }
    // The entry of that number, or null.
    const Entry* FindNumber(int number) const
    {
        for (const Entry& entry : entries) {
            if (entry.number == number) return &entry;
        }
        return nullptr;
    }
    size_t Size() const { return entries.size(); }
    void Clear() { entries.clear(); }

    std::vector<Entry> entries;
};

class QmCadLayerList : public QmCadList<QmCadLayerEntry> {};
class QmCadColorList : public QmCadList<QmCadColorEntry> {};
class QmCadLinetypeList : public QmCadList<QmCadLinetypeEntry> {};
class QmCadLinewidthList : public QmCadList<QmCadLinewidthEntry> {};
class QmCadTextStyleList : public QmCadList<QmCadTextStyleEntry> {};
