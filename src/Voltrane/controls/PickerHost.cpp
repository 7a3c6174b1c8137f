#include "controls/PickerHost.h"

#include "DravikDb.h"

PickerHostCalls& GetPickerHostCalls()
{
    static PickerHostCalls calls;
    return calls;
}

void* PickerActiveDb()
{
    auto call = GetPickerHostCalls().activeDb;
    return call != nullptr ? call() : nullptr;
}

HWND PickerActiveView()
{
    auto call = GetPickerHostCalls().activeView;
    return call != nullptr ? call() : nullptr;
}

const DbInfoBlock* PickerActiveDrawingInfo()
{
    void* db = PickerActiveDb();
    if (db == nullptr) return nullptr;
    return static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, db));
}

COLORREF PickerVisibleAgainstBackground(COLORREF colour)
{
    auto call = GetPickerHostCalls().visibleAgainstBackground;
    return call != nullptr ? call(colour) : (colour & 0xFFFFFF);
}

void PickerRestoreInputFocus()
{
    auto call = GetPickerHostCalls().restoreInputFocus;
    if (call != nullptr) call();
}

HINSTANCE PickerModuleInstance()
{
    auto call = GetPickerHostCalls().mainFrame;
    HWND frame = call != nullptr ? call() : nullptr;
    if (frame != nullptr) return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(frame, GWLP_HINSTANCE));
    return GetModuleHandleA(nullptr);
}
