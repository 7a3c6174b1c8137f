#include "commands/InputEvent.h"

InputEventRecord& GetInputEventRecord()
{
    static InputEventRecord record;
    return record;
}

void RaiseInputEvent(int32_t code) { GetInputEventRecord().code = code; }

void RaisePanelEvent(int32_t kind, int32_t item, int32_t value)
{
    InputEventRecord& record = GetInputEventRecord();
    record.code = kEventPanelItem;
    record.kind = kind;
    record.item = item;
    record.value = value;
}

void RaiseInputStateChange(int32_t code)
{
    InputEventRecord& record = GetInputEventRecord();
    if (record.code == kEventNone) record.code = code;
}

void ClearInputEventMask() { GetInputEventRecord().acceptMask = 0; }

void AddInputEventMask(uint32_t bits) { GetInputEventRecord().acceptMask |= bits; }

int32_t PendingInputEvent() { return GetInputEventRecord().code; }

void ConsumeInputEvent() { GetInputEventRecord().code = kEventNone; }
