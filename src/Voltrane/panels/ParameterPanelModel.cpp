#include "panels/ParameterPanelModel.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "commands/CommandRunState.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "dialogs/Calculator.h"

namespace {

PboxPanel g_panels[kPboxPanelCount];
char g_caption[64] = {};
int g_shownPanel = -1;
PboxDefaultButtonMark g_defaultButton;
HWND g_applicationPanel = nullptr;
CPboxColorSource g_programColors;
CPboxColorSource* g_colors = &g_programColors;

bool ValidPanel(int panel) { return panel >= 0 && panel < kPboxPanelCount; }

void RepaintWindow(HWND window, BOOL erase)
{
    if (window != nullptr && IsWindow(window)) InvalidateRect(window, nullptr, erase);
}

// The PBox control and the item window of a slot.
void RepaintSlot(int panel, int slot, BOOL erase = TRUE)
{
    PboxPanel& p = g_panels[panel];
    RepaintWindow(p.items[slot].window, erase);
    if (p.itemWindows[slot] != nullptr) RepaintWindow(p.itemWindows[slot]->ItemWindow(), erase);
}

void FreeText(PboxPanel& p, PboxItem& item)
{
    if (!p.textsBorrowed) delete[] item.text;
    item.text = nullptr;
    item.textSize = 0;
}

// A zero-filled block of at least 257 bytes holding text.
void StoreNewText(PboxPanel& p, PboxItem& item, const std::string& text)
{
    FreeText(p, item);
    size_t size = text.size() + 1 < kPboxMinTextBlock ? kPboxMinTextBlock : text.size() + 1;
    item.text = new char[size]();
    item.textSize = size;
    std::memcpy(item.text, text.data(), text.size());
}

void DestroyItemWindows(PboxPanel& p, int slot)
{
    if (CPboxItemView* view = p.itemWindows[slot]) {
        HWND window = view->ItemWindow();
        if (window != nullptr && IsWindow(window)) DestroyWindow(window);
        delete view;
        p.itemWindows[slot] = nullptr;
    }
}

const char* RequestText(INT_PTR text) { return reinterpret_cast<const char*>(text); }

// The common part of every add: the lowest free slot takes the item; null when all are used.
PboxItem* AddItem(const PboxAddRequest* request, int type, const std::string& text)
{
    if (request == nullptr || !ValidPanel(request->panel)) return nullptr;
    PboxPanel& p = g_panels[request->panel];
    for (PboxItem& item : p.items) {
        if (item.type != kPboxFree) continue;
        item.type = type;
        item.id = request->id;
        StoreNewText(p, item, text);
        item.x = request->x;
        item.y = request->y;
        item.width = request->width;
        item.height = request->height;
        item.enabled = 1;
        item.backColor = -1;
        item.userValue = 0;
        item.userText[0] = '\0';
        item.rowDrawing = 0;
        return &item;
    }
    return nullptr;
}

std::string TextOf(const PboxAddRequest* request)
{
    const char* text = request != nullptr ? RequestText(request->text) : nullptr;
    return text != nullptr ? std::string(text) : std::string();
}

int AddButton(const PboxAddRequest* request, int type, bool setValue2)
{
    std::string text = TextOf(request);
    PboxItem* item = AddItem(request, type, text);
    if (item == nullptr) return 0;
    item->value = 0;
    if (setValue2) item->value2 = static_cast<int>(request->extra);
    PboxReadButtonColors(item->text, item->id, request->panel);
    return 1;
}

const PboxItemRequest* ItemRequest(const PboxItemRequest* request)
{
    return request != nullptr && ValidPanel(request->panel) ? request : nullptr;
}

int ColorNumber(int number) { return number >= 0 && number <= 256 ? number : -1; }

// A value write on an item and on its mirror, with the repaint of both.
template <class Apply>
int ChangeItem(const PboxItemRequest* request, Apply apply)
{
    if (ItemRequest(request) == nullptr) return 0;
    int slot = 0;
    PboxItem* item = PboxFindItem(request->panel, request->id, &slot);
    if (item == nullptr) return 0;
    apply(*item);
    if (PboxItem* mirror = PboxMirrorItem(request->panel, slot)) apply(*mirror);
    return 1;
}

void RepaintItemAndMirror(int panel, int slot)
{
    RepaintSlot(panel, slot);
    if (PboxMirrorItem(panel, slot) != nullptr) RepaintSlot(kPboxMenuPanel, slot);
}

int* IntPointer(INT_PTR value) { return reinterpret_cast<int*>(value); }

// 2557 and 2558: a get writes the field through the pointer at offset 20, a set reads it from
// there into the item and its mirror (then whatever else the field's window needs).
template <class AfterSet>
int PointerValue(const PboxItemRequest* request, int PboxItem::*field, AfterSet afterSet)
{
    if (ItemRequest(request) == nullptr) return 0;
    int slot = 0;
    PboxItem* item = PboxFindItem(request->panel, request->id, &slot);
    int* pointer = IntPointer(request->value);
    if (item == nullptr || pointer == nullptr) return 0;
    if (request->selector == 0) {
        *pointer = item->*field;
        return 1;
    }
    const int value = *pointer;
    ChangeItem(request, [field, value, &afterSet](PboxItem& target) {
        target.*field = value;
        afterSet(target, value);
    });
    RepaintItemAndMirror(request->panel, slot);
    return 1;
}

}  // namespace

PboxPanel* PboxGetPanel(int panel) { return ValidPanel(panel) ? &g_panels[panel] : nullptr; }
const char* PboxCaption() { return g_caption; }
int& PboxShownPanel() { return g_shownPanel; }
PboxDefaultButtonMark& PboxDefaultButton() { return g_defaultButton; }
HWND PboxApplicationPanel() { return g_applicationPanel; }
void PboxSetApplicationPanel(HWND window) { g_applicationPanel = window; }

int CPboxColorSource::RunningCommandId() { return GetCommandRunState().runningPluginId; }

void CPboxColorSource::Read(const char* section, const char* key, char* out)
{
    ReadButtonColorString(section, key, "", out);
}

void PboxSetColorSource(CPboxColorSource* source) { g_colors = source != nullptr ? source : &g_programColors; }

int PboxIsPanelFree(int panel)
{
    if (!ValidPanel(panel)) return 0;
    const PboxPanel& p = g_panels[panel];
    return p.host == nullptr && !(p.dialog != nullptr && IsWindowVisible(p.dialog)) ? 1 : 0;
}

int PboxNoPanelInUse()
{
    for (int i = 0; i < kPboxPanelCount; ++i)
        if (!PboxIsPanelFree(i)) return 0;
    return 1;
}

int PboxCreatePanel(const char* caption)
{
    g_caption[0] = '\0';
    DbcsCopy(g_caption, sizeof g_caption, caption);
    for (int index = 1; index < kPboxPanelCount; ++index) {
        if (!PboxIsPanelFree(index)) continue;
        PboxPanel& p = g_panels[index];
        p.host = kPboxCreatedHost;
        for (int slot = 0; slot < kPboxItemCount; ++slot) {
            PboxItem& item = p.items[slot];
            item.type = kPboxFree;
            item.backColor = -1;
            item.textColor = -1;
            item.label[0] = '\0';
            // Texts left by a panel hidden instead of destroyed would be lost on the next add.
            FreeText(p, item);
            DestroyItemWindows(p, slot);
        }
        p.textsBorrowed = 0;
        p.copiedFrom = -1;
        return index;
    }
    return 0;
}

void PboxReleaseItems(int panel)
{
    if (!ValidPanel(panel)) return;
    // The right-click copy borrows this panel's texts: it goes first.
    if (panel != kPboxMenuPanel && g_panels[kPboxMenuPanel].copiedFrom == panel) PboxReleaseItems(kPboxMenuPanel);
    PboxPanel& p = g_panels[panel];
    for (int slot = 0; slot < kPboxItemCount; ++slot) {
        PboxItem& item = p.items[slot];
        if (item.type == kPboxFree) continue;
        if (item.window != nullptr && IsWindow(item.window)) DestroyWindow(item.window);
        item.window = nullptr;
        DestroyItemWindows(p, slot);
        FreeText(p, item);
        item.type = kPboxFree;
    }
    // The copy's texts were the source's: once released the panel owns its texts again.
    p.textsBorrowed = 0;
    p.copiedFrom = -1;
    if (p.dialog != nullptr && IsWindow(p.dialog)) ShowWindow(p.dialog, SW_HIDE);
}

int PboxDestroyPanel(int panel, int menuOnly)
{
    if (!ValidPanel(panel)) return 0;
    if (menuOnly && panel == kPboxMenuPanel) {
        PboxReleaseItems(panel);
        return 1;
    }
    PboxReleaseItems(panel);
    PboxPanel& p = g_panels[panel];
    if (p.host != nullptr && p.host != kPboxCreatedHost && p.host != g_applicationPanel && IsWindow(p.host))
        DestroyWindow(p.host);
    RepaintWindow(g_applicationPanel, TRUE);
    p.host = nullptr;
    g_defaultButton.set = 0;
    if (g_shownPanel == panel) g_shownPanel = -1;
    return 1;
}

void PboxCloseAllPanels()
{
    // A command that ended by a fault cannot destroy its panels; leaving them busy would use up
    // the four panels after four such commands.
    for (int panel = 0; panel < kPboxPanelCount; ++panel) {
        PboxReleaseItems(panel);
        g_panels[panel].host = nullptr;
    }
    g_shownPanel = -1;
    g_defaultButton.set = 0;
    RepaintWindow(g_applicationPanel, TRUE);
}

int PboxMenuPanelIndex() { return kPboxMenuPanel; }

int PboxAddPushButton(const PboxAddRequest* request) { return AddButton(request, kPboxPushButton, false); }
int PboxAddRadioButton(const PboxAddRequest* request) { return AddButton(request, kPboxRadioButton, true); }
int PboxAddCheckButton(const PboxAddRequest* request) { return AddButton(request, kPboxCheckButton, true); }

int PboxAddList(const PboxAddRequest* request)
{
    if (request == nullptr) return 0;
    std::string text = TextOf(request);
    if (request->extra2 != 0) {
        char prefix[24];
        std::snprintf(prefix, sizeof prefix, "\n%d\n", static_cast<int>(request->extra2));
        text = prefix + text;
    }
    PboxItem* item = AddItem(request, kPboxList, text);
    if (item == nullptr) return 0;
    item->value = static_cast<int>(request->extra);
    item->value2 = 0;
    return 1;
}

int PboxAddListEx(const PboxAddRequest* request)
{
    PboxItem* item = AddItem(request, kPboxList, TextOf(request));
    if (item == nullptr) return 0;
    item->value = static_cast<int>(request->extra);
    item->value2 = request->extra2;
    item->rowDrawing = request->extra2 != 0 ? 1 : 0;
    return 1;
}

int PboxAddEdit(const PboxAddRequest* request)
{
    PboxItem* item = AddItem(request, kPboxEdit, TextOf(request));
    if (item == nullptr) return 0;
    item->value = 0;
    item->value2 = 0;
    item->label[0] = '\0';
    return 1;
}

int PboxAddText(const PboxAddRequest* request)
{
    PboxItem* item = AddItem(request, kPboxText, TextOf(request));
    if (item == nullptr) return 0;
    item->value = 0;
    item->value2 = 0;
    return 1;
}

int PboxAddCombo(const PboxAddRequest* request)
{
    PboxItem* item = AddItem(request, kPboxCombo, TextOf(request));
    if (item == nullptr) return 0;
    item->value = 0;
    item->value2 = 0;
    DbcsCopy(item->text2, sizeof item->text2, RequestText(request->extra));
    return 1;
}

PboxItem* PboxFindItem(int panel, int id, int* slot, CPboxItemView** view)
{
    if (!ValidPanel(panel)) return nullptr;
    PboxPanel& p = g_panels[panel];
    for (int i = 0; i < kPboxItemCount; ++i) {
        if (p.items[i].type == kPboxFree || p.items[i].id != id) continue;
        if (slot != nullptr) *slot = i;
        if (view != nullptr) *view = p.itemWindows[i];
        return &p.items[i];
    }
    return nullptr;
}

void PboxRepaintItemAndMirror(int panel, int slot)
{
    if (!ValidPanel(panel) || slot < 0 || slot >= kPboxItemCount) return;
    RepaintItemAndMirror(panel, slot);
}

PboxItem* PboxMirrorItem(int panel, int slot)
{
    if (!ValidPanel(panel) || panel == kPboxMenuPanel || slot < 0 || slot >= kPboxItemCount) return nullptr;
    // Panel 4 follows every panel's setters while it holds no panel of its own; the copy of one
    // panel follows only that panel, and a panel 4 a command created for itself follows none:
    // writing into it would change another panel's values.
    const PboxPanel& menu = g_panels[kPboxMenuPanel];
    const bool follows = menu.copiedFrom >= 0 ? menu.copiedFrom == panel : PboxIsPanelFree(kPboxMenuPanel) != 0;
    return follows ? &g_panels[kPboxMenuPanel].items[slot] : nullptr;
}

PboxItem* PboxShownPanelItem(int slot)
{
    if (!ValidPanel(g_shownPanel) || slot < 0 || slot >= kPboxItemCount) return nullptr;
    return &g_panels[g_shownPanel].items[slot];
}

int PboxGetItemText(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr || request->text == nullptr) return 0;
    PboxItem* item = PboxFindItem(request->panel, request->id);
    if (item == nullptr) return 0;
    if (item->text != nullptr) std::memcpy(request->text, item->text, std::strlen(item->text) + 1);
    else request->text[0] = '\0';
    return 1;
}

// A missing item answers 0, so that a plug-in can tell it from an empty text.
int PboxGetItemText2(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    PboxItem* item = PboxFindItem(request->panel, request->id);
    if (item == nullptr || request->text == nullptr) return 0;
    std::memcpy(request->text, item->text2, std::strlen(item->text2) + 1);
    return 1;
}

int PboxSetItemText(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    int slot = 0;
    CPboxItemView* view = nullptr;
    PboxItem* item = PboxFindItem(request->panel, request->id, &slot, &view);
    if (item == nullptr || item->text == nullptr) return 0;
    DbcsCopy(item->text, item->textSize, request->text);
    if (item->window != nullptr && IsWindow(item->window)) SetWindowTextA(item->window, item->text);
    if (view != nullptr && view->ItemWindow() != nullptr) SetWindowTextA(view->ItemWindow(), item->text);
    RepaintSlot(request->panel, slot);
    return 1;
}

int PboxSetItemText2(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    int slot = 0;
    CPboxItemView* view = nullptr;
    PboxItem* item = PboxFindItem(request->panel, request->id, &slot, &view);
    if (item == nullptr) return 0;
    DbcsCopy(item->text2, sizeof item->text2, request->text);
    if (item->window != nullptr && IsWindow(item->window)) SetWindowTextA(item->window, item->text2);
    if (view != nullptr && view->ItemWindow() != nullptr) SetWindowTextA(view->ItemWindow(), item->text2);
    RepaintSlot(request->panel, slot);
    return 1;
}

int PboxSetItemLabel(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    PboxItem* item = PboxFindItem(request->panel, request->id);
    if (item == nullptr) return 0;
    item->label[0] = '\0';
    DbcsCopy(item->label, sizeof item->label, request->text);
    return 1;
}

int PboxItemValue(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    int slot = 0;
    PboxItem* item = PboxFindItem(request->panel, request->id, &slot);
    if (item == nullptr) return 0;
    if (request->selector == 0) {
        int* out = IntPointer(request->value);
        if (out == nullptr) return 0;
        *out = item->value;
        return 1;
    }
    const int value = static_cast<int>(request->value);
    ChangeItem(request, [value](PboxItem& target) { target.value = value; });
    RepaintItemAndMirror(request->panel, slot);
    return 1;
}

int PboxItemValue2(const PboxItemRequest* request)
{
    return PointerValue(request, &PboxItem::value2, [](PboxItem&, int) {});
}

int PboxComboSelection(const PboxItemRequest* request)
{
    return PointerValue(request, &PboxItem::value, [](PboxItem& target, int value) {
        if (target.listWindow != nullptr && IsWindow(target.listWindow))
            SendMessageA(target.listWindow, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    });
}

int PboxEnableItem(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    int slot = 0;
    PboxItem* item = PboxFindItem(request->panel, request->id, &slot);
    if (item == nullptr) return 0;
    const int previous = item->enabled;
    const int enabled = request->selector;
    ChangeItem(request, [enabled](PboxItem& target) {
        target.enabled = enabled;
        if (target.type == kPboxList && target.listWindow != nullptr && IsWindow(target.listWindow))
            EnableWindow(target.listWindow, enabled != 0);
    });
    RepaintItemAndMirror(request->panel, slot);
    return previous;
}

int PboxApplyItemColors(int panel, int id, int textColor, int backColor)
{
    PboxItemRequest request = {};
    request.panel = panel;
    request.id = id;
    const int text = ColorNumber(textColor);
    const int back = ColorNumber(backColor);
    return ChangeItem(&request, [text, back](PboxItem& target) {
        target.textColor = text;
        target.backColor = back;
    });
}

int PboxSetItemColors(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    return PboxApplyItemColors(request->panel, request->id, request->selector, request->value40);
}

int PboxPressItem(const PboxItemRequest* request)
{
    if (ItemRequest(request) == nullptr) return 0;
    CPboxItemView* view = nullptr;
    PboxItem* item = PboxFindItem(request->panel, request->id, nullptr, &view);
    if (item == nullptr) return 0;
    if (item->window != nullptr && IsWindowVisible(item->window)) PostMessageA(item->window, WM_LBUTTONDOWN, 0, 0);
    if (view != nullptr && view->ItemWindow() != nullptr) PostMessageA(view->ItemWindow(), WM_LBUTTONDOWN, 0, 0);
    if (HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), "CURNUL")) SetCursor(cursor);
    return 1;
}

int PboxItemUserData(const PboxItemRequest* request)
{
    if (request == nullptr) return 0;
    if (request->panel == kPboxNumericPadQuery) return IsNumericPadEnabled();
    const bool set = request->selector != 0;
    if (!ValidPanel(request->panel)) return set ? 0 : -1;
    PboxItem* item = PboxFindItem(request->panel, request->id);
    if (item == nullptr) return set ? 0 : -1;
    if (!set) return item->userValue;
    item->userValue = request->value40;
    item->userText[0] = '\0';
    DbcsCopy(item->userText, sizeof item->userText, request->text);
    return 1;
}

void PboxReadButtonColors(const char* text, int id, int panel)
{
    if (text == nullptr) text = "";
    char textKey[320];
    char backKey[320];
    std::snprintf(textKey, sizeof textKey, "%s_TextColor", text);
    std::snprintf(backKey, sizeof backKey, "%s_BakColor", text);
    char section[128];
    if (std::strcmp(g_caption, "SELECT ELEM") == 0)
        std::snprintf(section, sizeof section, "%d_%s", g_colors->RunningCommandId(), g_caption);
    else
        std::snprintf(section, sizeof section, "%d", g_colors->RunningCommandId());
    char textValue[256] = {};
    char backValue[256] = {};
    g_colors->Read(section, textKey, textValue);
    g_colors->Read(section, backKey, backValue);
    if (textValue[0] == '\0' || backValue[0] == '\0') {
        textValue[0] = backValue[0] = '\0';
        g_colors->Read(g_caption, textKey, textValue);
        g_colors->Read(g_caption, backKey, backValue);
        if (textValue[0] == '\0' || backValue[0] == '\0') return;
    }
    PboxApplyItemColors(panel, id, std::atoi(textValue), std::atoi(backValue));
}

void PboxCopyItems(int source)
{
    if (!ValidPanel(source) || source == kPboxMenuPanel) return;
    PboxPanel& menu = g_panels[kPboxMenuPanel];
    for (int slot = 0; slot < kPboxItemCount; ++slot) {
        FreeText(menu, menu.items[slot]);
        menu.items[slot] = g_panels[source].items[slot];
        // The source's own controls stay the source's: releasing the copy must not destroy them.
        menu.items[slot].window = nullptr;
        menu.items[slot].listWindow = nullptr;
    }
    menu.textsBorrowed = 1;
    menu.copiedFrom = source;
}

void PboxResetTable()
{
    for (PboxPanel& p : g_panels) {
        p.host = nullptr;
        for (PboxItem& item : p.items) item.type = kPboxFree;
    }
    g_shownPanel = -1;
    g_defaultButton = PboxDefaultButtonMark{};
}
