// The input event record: everything the user does while a command runs (a click in a view, a
// mouse move, a panel press, a DDE text, an undo) is written into this one record by the window
// or service that sees it, and the input waits read it. The running command chooses which
// events it accepts through the accepted-event mask.
#pragma once

#include <cstdint>

// The pending event (the record's code).
enum InputEventCode : int32_t {
    kEventNone = 0,
    kEventCancel = 1,                // the running command is to end
    kEventEscape = 2,
    kEventViewActivated = 0x10,      // another drawing view became the active one
    kEventPictureChanged = 0x20,     // scroll, zoom, fit, redraw
    kEventCursorMoved = 0x40,
    kEventUndo = 0x80,
    kEventPoint = 0x100,             // a point was given (click)
    kEventSecondaryClick = 0x400,
    kEventRedo = 0x800,
    kEventPanelItem = 0x2000,        // panel item used or right-click menu entry picked
    kEventDdeText = 0x4000,
    kEventAttributesChanged = 0x8000,
    kEventLayoutCell = 0x40000,
    kEventSaveState = 0x200000,      // request to save the command's state
    kEventEditHistory = 0x400000,    // an edit item took a value from its input history
    kEventMidpointReady = 0x1000000, // the two-point midpoint is ready
};

// Bits of the accepted-event mask.
constexpr uint32_t kAcceptEscape = 0x2;
constexpr uint32_t kAcceptRubberBand = 0x10;      // moves and picture changes are reported
constexpr uint32_t kAcceptUndo = 0x80;            // undo in the interrupt wait
constexpr uint32_t kAcceptPlainPoint = 0x100;
constexpr uint32_t kAcceptSnappedPoint = 0x200;
constexpr uint32_t kAcceptSecondaryPoint = 0x400;
constexpr uint32_t kAcceptElementPick = 0x1000;
constexpr uint32_t kAcceptPanelItem = 0x2000;
constexpr uint32_t kAcceptDdeText = 0x4000;
constexpr uint32_t kAcceptBoxSelect = 0x20000;
constexpr uint32_t kAcceptLayoutCell = 0x40000;
constexpr uint32_t kAcceptFreePoint = 0x100000;
constexpr uint32_t kAcceptGroupPick = 0x800000;
constexpr uint32_t kAcceptLockLayerSearch = 0x80000000u;

// Kinds of the item that raised a panel event.
constexpr int32_t kItemPushButton = 1;  // also a right-click menu entry
constexpr int32_t kItemCheckBox = 0x10;
constexpr int32_t kItemRadioButton = 0x100;
constexpr int32_t kItemList = 0x1000;
constexpr int32_t kItemEdit = 0x10000;
constexpr int32_t kItemComboBox = 0x100000;

struct InputEventRecord {
    int32_t code = 0;          // the pending InputEventCode; 0 = nothing pending
    uint32_t acceptMask = 0;   // the accepted-event mask of the running command
    int32_t kind = 0;          // with kEventPanelItem: the kind of item used
    int32_t item = 0;          // with kEventPanelItem: the item id or the menu entry's value
    int32_t value = 0;         // with kEventPanelItem: the item's value
    int32_t offsetInput = 0;   // snapped points go through the point offset dialog first
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
