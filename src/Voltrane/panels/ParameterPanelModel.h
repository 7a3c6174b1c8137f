// The parameter panels a running plug-in command fills through the panel messages: five panels of
// fifty items, the colours of their buttons and the default-button mark. The item windows and
// the right-click menu read and write the same items; every operation runs on the GUI thread.
#pragma once

#include <windows.h>

#include <cstddef>

#include "HostRecords.h"

constexpr int kPboxPanelCount = 5;
constexpr int kPboxItemCount = 50;
constexpr int kPboxMenuPanel = 4;          // holds the right-click menu's copy of the docked panel
constexpr int kPboxNumericPadQuery = -100; // 2646: asks for the numeric-pad setting
constexpr size_t kPboxMinTextBlock = 257;  // an item text block holds at least 256 characters

enum PboxItemType {
    kPboxFree = 0,
    kPboxPushButton = 10,
    kPboxRadioButton = 11,
    kPboxCheckButton = 12,
    kPboxList = 13,
    kPboxEdit = 14,
    kPboxText = 15,
    kPboxCombo = 16,
};

// What the panel keeps of an item window it made: the model destroys and repaints them.
struct PboxItem;
class CPboxItemView {
public:
    virtual ~CPboxItemView() = default;
    virtual HWND ItemWindow() const = 0;
    virtual PboxItem* ShownItem() = 0;
    // The object of the same slot in the panel a right-click copy was made from.
    virtual void SetTwin(CPboxItemView* twin) = 0;
};

struct PboxItem {
    int type = kPboxFree;
    int id = 0;
    char* text = nullptr;     // owned unless the panel's texts are borrowed
    size_t textSize = 0;      // bytes of the text block
    int value = 0;
    int value2 = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND window = nullptr;     // a PBox control that shows the item, when its creator recorded one
    HWND listWindow = nullptr; // the inner drop-down of a list item
    int enabled = 1;
    int backColor = -1;
    int textColor = -1;
    char label[64] = {};
    char text2[256] = {};
    int userValue = 0;
    char userText[64] = {};
    int rowDrawing = 0;        // a list whose value2 names the plug-in's row-drawing function
};

// The window a panel was shown in while it is docked; 1 for created and not shown; 0 free.
inline const HWND kPboxCreatedHost = reinterpret_cast<HWND>(static_cast<INT_PTR>(1));

struct PboxPanel {
    HWND host = nullptr;
    PboxItem items[kPboxItemCount];
    CPboxItemView* itemWindows[kPboxItemCount] = {};
    HWND dialog = nullptr;     // the floating dialog, once made
    int textsBorrowed = 0;     // the texts belong to the panel copied from (right-click copy)
    int copiedFrom = -1;       // panel 4 only: the panel whose right-click copy it holds
};

struct PboxDefaultButtonMark {
    int set = 0;
    int id = -1;
};

PboxPanel* PboxGetPanel(int panel);  // null outside 0-4
const char* PboxCaption();
int& PboxShownPanel();
PboxDefaultButtonMark& PboxDefaultButton();
// The application panel window docked panels are shown in (null while there is none).
HWND PboxApplicationPanel();
void PboxSetApplicationPanel(HWND window);

// Where button colours are read: the running command's id and the button colour file. Tests
// put a file of their own behind it.
class CPboxColorSource {
public:
    virtual ~CPboxColorSource() = default;
    virtual int RunningCommandId();
    // The value of key in section (empty when missing) into out (256 bytes).
    virtual void Read(const char* section, const char* key, char* out);
};
// Null puts the program's source back.
void PboxSetColorSource(CPboxColorSource* source);

// ---- operations of the panel messages ----
int PboxCreatePanel(const char* caption);
int PboxIsPanelFree(int panel);
int PboxNoPanelInUse();
int PboxDestroyPanel(int panel, int menuOnly);
void PboxReleaseItems(int panel);
void PboxCloseAllPanels();
int PboxMenuPanelIndex();

int PboxAddPushButton(const PboxAddRequest* request);
int PboxAddRadioButton(const PboxAddRequest* request);
int PboxAddCheckButton(const PboxAddRequest* request);
int PboxAddList(const PboxAddRequest* request);
int PboxAddListEx(const PboxAddRequest* request);
int PboxAddEdit(const PboxAddRequest* request);
int PboxAddText(const PboxAddRequest* request);
int PboxAddCombo(const PboxAddRequest* request);

PboxItem* PboxFindItem(int panel, int id, int* slot = nullptr, CPboxItemView** view = nullptr);
int PboxGetItemText(const PboxItemRequest* request);
int PboxGetItemText2(const PboxItemRequest* request);
int PboxSetItemText(const PboxItemRequest* request);
int PboxSetItemText2(const PboxItemRequest* request);
int PboxSetItemLabel(const PboxItemRequest* request);
int PboxItemValue(const PboxItemRequest* request);
int PboxItemValue2(const PboxItemRequest* request);
int PboxComboSelection(const PboxItemRequest* request);
int PboxEnableItem(const PboxItemRequest* request);
int PboxSetItemColors(const PboxItemRequest* request);
int PboxPressItem(const PboxItemRequest* request);
int PboxItemUserData(const PboxItemRequest* request);
void PboxReadButtonColors(const char* text, int id, int panel);

// Both colour numbers of an item (each -1 unless 0-256), mirrored into the right-click copy.
int PboxApplyItemColors(int panel, int id, int textColor, int backColor);
// The item of the same slot in panel 4, which the setters of panel's items write too: while
// panel 4 is free, or holds the right-click copy of that panel; null otherwise (and for panel 4
// itself, whose setters write only its own items).
PboxItem* PboxMirrorItem(int panel, int slot);
// The item of a slot in the panel shown docked; null while none is.
PboxItem* PboxShownPanelItem(int slot);
// Repaints the windows that show a slot of a panel and of its mirror.
void PboxRepaintItemAndMirror(int panel, int slot);
// Copies the items of source into panel 4 for the right-click menu; the texts stay source's.
void PboxCopyItems(int source);
// Clears the whole table (start-up).
void PboxResetTable();
