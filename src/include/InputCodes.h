// The codes of the host's input protocol that the program and its plug-ins share: the pending
// event of the input event record, the bits a command accepts through the mask messages (2046,
// 2047), the kinds of the panel item that raised an event, and what the input waits (2051,
// 33770) answer.
#pragma once

#include <cstdint>

// The pending event (the input event record's code).
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
    kEventEditEscape = 0x400000,     // an edit item's typing was cancelled with Esc
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

// What the input waits answer; each answer that hands over a point, an element or an item
// fills the matching field of the wait record.
constexpr int32_t kWaitEnd = 0;                   // the command is to end
constexpr int32_t kWaitQuit = 1;                  // the application quits
constexpr int32_t kWaitEscape = 2;
constexpr int32_t kWaitCursorMoved = 0x10;        // interrupt wait: the cursor moved (point)
constexpr int32_t kWaitRubberBand = 0x20;         // the cursor moved or the picture changed (point)
constexpr int32_t kWaitUndo = 0x80;
constexpr int32_t kWaitPoint = 0x100;             // a plain point
constexpr int32_t kWaitSnappedPoint = 0x200;      // a point found by the snap search
constexpr int32_t kWaitSecondaryPoint = 0x400;
constexpr int32_t kWaitRedo = 0x800;
constexpr int32_t kWaitElement = 0x1000;          // result: the element picked
constexpr int32_t kWaitPanelItem = 0x2000;        // kind, item and value of the panel item
constexpr int32_t kWaitDdeText = 0x4000;          // result: the DDE text
constexpr int32_t kWaitAttributesChanged = 0x8000;
constexpr int32_t kWaitBoxSelect = 0x20000;       // result: the mark of the elements in the pick box
constexpr int32_t kWaitLayoutCell = 0x40000;      // result: layer, item: page of the cell
constexpr int32_t kWaitFreePoint = 0x100000;      // the click stays pending for the next wait
constexpr int32_t kWaitSaveState = 0x200000;
constexpr int32_t kWaitEditEscape = 0x400000;
