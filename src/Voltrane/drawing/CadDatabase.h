// The drawing database of one drawing window: the window's frame embeds one object, whose
// PDBINFO part the view keeps in window long 0. Create makes a fresh, empty engine database
// with the window's initial attributes; Free deletes it again with its raster attachment.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"

// Range and default of each of the five current attributes, in the order colour, line type,
// line width, start mark, end mark.
struct DrawingAttributeRange {
    int low, high, fallback;
};
extern const DrawingAttributeRange kDrawingAttributeRanges[5];
// The value when it lies in the attribute's range, else the attribute's default.
int ClampDrawingAttribute(int index, int value);

class CCadDatabase : public PDBINFO {
public:
    CCadDatabase();
    virtual ~CCadDatabase();
    CCadDatabase(const CCadDatabase&) = delete;
    CCadDatabase& operator=(const CCadDatabase&) = delete;

    // Makes a fresh, empty database. Every pointer may be null: drawingId the window's drawing
    // id, untitledCounter the untitled counter (read only with secondView set), undoCount the
    // engine's undo depth, textStyle 61 bytes, attributes the five attribute numbers. Always 0;
    // when the engine record cannot be made the window has no database.
    int Create(int secondView, const int* drawingId, const int* untitledCounter, const int* undoCount,
               const TextStyleBlock* textStyle, const int* attributes);
    // Deletes the engine database and its record; safe to call twice.
    void Free();

    PDBINFO* Block() { return this; }
    bool HasDatabase() const { return engineDb != nullptr; }
};
