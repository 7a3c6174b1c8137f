// The pages (panel types) of a command panel as the definition files hold them, and their
// buttons once a panel window shows them. The same model holds the per-user "CmdPanel.def",
// the factory catalogue "CmdPanelBase.def" and the key catalogue "CmdKeyBase.def".
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "panels/CmdPnlButton.h"

// The buttons of one panel type.
class CCmdPanelData {
public:
    CCmdPanelData(const std::string& name, HWND* typeCombo);
    virtual ~CCmdPanelData();
    CCmdPanelData(const CCmdPanelData&) = delete;
    CCmdPanelData& operator=(const CCmdPanelData&) = delete;

    // Makes the buttons of the item lines as hidden children of the parent, column widths
    // shared down the rows, and their tooltips. -1 without a parent.
    int CreateButtons(HWND parent, int x0, int y0, int horizontalGap, int verticalGap);
    void ShowButtons(int show);
    // Places the buttons for the parent's client size (rows become columns in a tall panel).
    void Layout();
    // The union of the button rectangles in parent client coordinates; false without buttons.
    bool GetButtonBounds(RECT* bounds) const;
    void DestroyButtons();

    std::string name;
    std::vector<std::string> itemLines;
    // Null entries end rows.
    std::vector<std::unique_ptr<CCmdPnlButton>> buttons;
    HWND* typeCombo;
    HWND parent = nullptr;
    int x0 = 10;
    int y0 = 4;
    int horizontalGap = 0;
    int verticalGap = 0;
    HWND tooltip = nullptr;
    HFONT tooltipFont = nullptr;

private:
    void CreateTooltips();
    int ComboWidth() const;
    int ComboHeight() const;
};

// The strip of panel-type buttons, one per type.
class CTypeSelBtn {
public:
    virtual ~CTypeSelBtn();

    void CreateButtons(HWND parent, const std::vector<std::string>& names);
    // The index in the strip of the last button matching, or -1; it alone gets the selected look.
    int SelectByName(const std::string& name);
    int SelectById(int id);
    void LayoutHorizontal(int x, int y, int total, int height);
    void LayoutVertical(int x, int y, int total, int width);
    void DestroyButtons();

    std::vector<std::unique_ptr<CCmdPnlButton>> buttons;
    std::string selectedName;
    int unused1 = 10;
    int unused2 = 70;
    int defaultLength = 768;
    int thickness = 24;
};

class CmdPanelContent {
public:
    explicit CmdPanelContent(int currentType = 0);
    virtual ~CmdPanelContent();
    CmdPanelContent(const CmdPanelContent&) = delete;
    CmdPanelContent& operator=(const CmdPanelContent&) = delete;

    // 0 read, -1 not (an error box was shown, the model is untouched). A null path is the
    // per-user "CmdPanel.def", a null root "PanelInfo".
    int Load(const char* path = nullptr, const char* root = nullptr);
    // Writes the type names and item lines to the per-user "CmdPanel.def". 0, or -1 with an
    // error box.
    int Save();

    // The window side, for a command panel window.
    int Create(HWND parent);
    void Layout();
    void SwitchType(int index);
    void OnTypeComboChange();
    void SetCommandState(int id, int flag);
    void ActivateTooltips(int on);
    void DestroyWindows();

    HWND panel = nullptr;
    std::vector<std::unique_ptr<CCmdPanelData>> data;
    HWND typeCombo = nullptr;
    CTypeSelBtn typeButtons;
    std::vector<std::string> typeNames;
    int currentType = 0;
    HFONT comboFont = nullptr;

    // The box of a file that cannot be read or written (replaced by tests).
    static int (WINAPI* errorBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
    // The screen width and the low-resolution switch Create reads (replaced by tests).
    static int (*screenWidth)();
    static int (*lowResolutionSwitch)();

private:
    // The current type clamped to the types there are: a stored index beyond them shows type 0.
    int ShownType() const;
};

// The panel catalogue ("CmdPanelBase.def") and the key catalogue ("CmdKeyBase.def") of the run,
// loaded by the dialogs that use them.
CmdPanelContent& GetPanelCatalogue();
CmdPanelContent& GetKeyCatalogue();
void FreeCommandPanelCatalogues();
