#include "panels/ParameterPanelItems.h"

#include <cstring>

#include "commands/InputEvent.h"
#include "panels/AppPanelInputs.h"
#include "panels/AppPanelItems.h"

namespace {

int g_buildingPanel = 0;
int g_buildingSlot = 0;
int g_floatingAdjust = 0;

// The floating dialog's caption covers the top of its client area.
constexpr int kFloatingLift = 15;

template <class T>
HWND CreateOf(CPboxItemView* object, HWND parent, const RECT& rect, int id, const char* text)
{
    T* window = dynamic_cast<T*>(object);
    if (window == nullptr) return nullptr;
    RECT rc = rect;
    // Tab stops take effect only in the floating panel's dialog, where Tab moves between items.
    return window->Create(parent, &rc, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

}  // namespace

int& PboxBuildingPanel() { return g_buildingPanel; }
int& PboxBuildingSlot() { return g_buildingSlot; }
int& PboxFloatingAdjust() { return g_floatingAdjust; }

int IsDefaultButtonText(const char* text)
{
    if (text == nullptr) return 0;
    return std::strcmp(text, "OK") == 0 || std::strcmp(text, "完了") == 0 || std::strcmp(text, "Ok") == 0 ? 1 : 0;
}

CPboxItemView* CreatePanelItemObject(PboxItem& item)
{
    InputEventRecord* event = &GetInputEventRecord();
    switch (item.type) {
    case kPboxPushButton: return new CAppPanelButton(event, &item);
    case kPboxRadioButton: return new CAppPanelRadioButton(event, &item);
    case kPboxCheckButton: return new CAppPanelCheckButton(event, &item);
    case kPboxList: return new CAppPanelComboList(event, &item);
    case kPboxEdit: return new CAppPanelEditBox(event, &item);
    case kPboxText: return new CAppPanelTextBox(event, &item);
    case kPboxCombo: return new CAppPanelComboBox(event, &item);
    default: return nullptr;
    }
}

HWND CreatePanelItemWindow(CPboxItemView* object, HWND parent, const RECT& rect, int id, const char* text)
{
    if (HWND made = CreateOf<CAppPanelButton>(object, parent, rect, id, text)) return made;
    if (HWND made = CreateOf<CAppPanelTextBox>(object, parent, rect, id, text)) return made;
    // The combo before the edit field it derives from, so that it takes its own class.
    if (HWND made = CreateOf<CAppPanelComboBox>(object, parent, rect, id, text)) return made;
    if (HWND made = CreateOf<CAppPanelEditBox>(object, parent, rect, id, text)) return made;
    return CreateOf<CAppPanelComboList>(object, parent, rect, id, text);
}

int PboxBuildItemWindows(HWND parent, int* largestY, int mode)
{
    int source = g_buildingPanel;
    int target = g_buildingPanel;
    if (mode == 1) {
        source = PboxShownPanel();
        if (source < 0 || PboxGetPanel(source) == nullptr) return 0;
        target = kPboxMenuPanel;
        PboxCopyItems(source);
    }
    PboxPanel* to = PboxGetPanel(target);
    PboxPanel* from = PboxGetPanel(source);
    if (to == nullptr || from == nullptr) return 0;
    // A second show of the same panel makes its windows anew instead of stacking them.
    for (int slot = 0; slot < kPboxItemCount; ++slot) {
        if (CPboxItemView* old = to->itemWindows[slot]) {
            if (old->ItemWindow() != nullptr && IsWindow(old->ItemWindow())) DestroyWindow(old->ItemWindow());
            delete old;
            to->itemWindows[slot] = nullptr;
        }
    }
    const int savedPanel = g_buildingPanel;
    g_buildingPanel = target;
    int result = 0;
    int lowest = 0;
    for (int slot = 0; slot < kPboxItemCount; ++slot) {
        PboxItem& item = to->items[slot];
        if (item.type < kPboxPushButton || item.type > kPboxCombo) continue;
        g_buildingSlot = slot;
        if (item.y > lowest) lowest = item.y;
        // The lift goes on the window only: the stored y stays the command's, so a panel shown
        // floating twice does not creep upwards.
        const int y = g_floatingAdjust ? item.y - kFloatingLift : item.y;
        CPboxItemView* object = CreatePanelItemObject(item);
        if (object == nullptr) continue;
        RECT rect = {item.x, y, item.x + item.width, y + item.height};
        const char* text = item.type == kPboxCombo ? item.text2 : item.text;
        HWND window = CreatePanelItemWindow(object, parent, rect, item.id, text);
        if (window == nullptr) {
            delete object;
            continue;
        }
        SetWindowLongA(window, 0, item.value2);
        if (target != source && item.type != kPboxText) object->SetTwin(from->itemWindows[slot]);
        to->itemWindows[slot] = object;
        result = 1;
        if (item.type == kPboxPushButton && IsDefaultButtonText(item.text)) {
            PboxDefaultButton().set = 1;
            PboxDefaultButton().id = item.id;
        }
    }
    g_buildingPanel = savedPanel;
    if (largestY != nullptr) *largestY = lowest;
    return result;
}
