#include "ActiveViewBlock.h"

#include <cstdint>
#include <cstring>

#include "HostMessages.h"

HWND QueryActiveView(HWND owner)
{
    if (owner == nullptr) return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(owner, WM_CAD_ACTIVE_VIEW, 0, 0));
}

bool WriteActiveViewCurrentLayer(HWND owner, int layer)
{
    HWND view = QueryActiveView(owner);
    if (view == nullptr || !IsWindow(view)) return false;
    auto* block = reinterpret_cast<uint8_t*>(GetWindowLongPtrA(view, 0));
    if (block == nullptr) return false;
    const int16_t value = static_cast<int16_t>(layer);
    std::memcpy(block + kViewBlockCurrentLayerOffset, &value, sizeof value);
    return true;
}
