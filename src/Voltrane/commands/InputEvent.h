// The input event record: everything the user does while a command runs (a click in a view, a
// mouse move, a panel press, a DDE text, an undo) is written into this one record by the window
// or service that sees it, and the input waits read it. The running command chooses which
// events it accepts through the accepted-event mask.
#pragma once

#include <cstdint>

#include "InputCodes.h"

struct InputEventRecord {
    int32_t code = 0;          // the pending InputEventCode; 0 = nothing pending
    uint32_t acceptMask = 0;   // the accepted-event mask of the running command
    int32_t kind = 0;          // with kEventPanelItem: the kind of item used
    int32_t item = 0;          // with kEventPanelItem: the item id or the menu entry's value
    int32_t value = 0;         // with kEventPanelItem: the item's value
    // The temporary-point switch of the tool panel: while set, snapped points go through the
    // point offset dialog first, and a panel event also carries the two offsets typed into
    // panel 0's items 333 and 444.
    int32_t offsetInput = 0;
    double temporaryOffsetX = 0;
    double temporaryOffsetY = 0;
};

// The one record of the program.
InputEventRecord& GetInputEventRecord();

// Writers. A newer event overwrites one that nobody has read.
void RaiseInputEvent(int32_t code);
// The panel event with its item.
void RaisePanelEvent(int32_t kind, int32_t item, int32_t value);
// State-change notices (view activated, attributes changed) never overwrite a pending event.
void RaiseInputStateChange(int32_t code);

// The mask, as the two mask messages change it.
void ClearInputEventMask();
void AddInputEventMask(uint32_t bits);

// Readers.
int32_t PendingInputEvent();
void ConsumeInputEvent();
