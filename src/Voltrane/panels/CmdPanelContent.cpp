#include "panels/CmdPanelContent.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "core/DefFile.h"
#include "core/LocalSettings.h"
#include "core/ProgramPaths.h"
#include "panels/ButtonImageSets.h"
#include "panels/CmdPanelItemLine.h"

namespace {

constexpr int kTypeComboId = 2000;
constexpr int kFirstTypeButtonId = 100;
constexpr int kLowResolutionLimit = 1680;
const char kDefaultRoot[] = "PanelInfo";
const char kErrorCaption[] = "エラー";

int SystemScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int LocalLowResolutionSwitch() { return GetLocalSettingsLive().iCmdPanelTypeLowResoW; }

std::string ItemPath(const std::string& type)
{
    char path[1024];
    std::snprintf(path, sizeof path, "%s/%s/%s", type.c_str(), "data", "item");
    return path;
}

RECT WindowRectInParent(HWND window)
{
    RECT rc = {};
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void MoveButton(CCmdPnlButton& button, int x, int y, int width, int height)
{
    if (button.m_hWnd == nullptr) return;
    ::MoveWindow(button.m_hWnd, x, y, width, height, FALSE);
    button.Redraw();
}

void DestroyButtonList(std::vector<std::unique_ptr<CCmdPnlButton>>& buttons)
{
    // Every window goes before its object, which must outlive its last message.
    for (auto& button : buttons)
        if (button && button->m_hWnd != nullptr && ::IsWindow(button->m_hWnd)) ::DestroyWindow(button->m_hWnd);
    buttons.clear();
}

}  // namespace

// ---- one type ----

CCmdPanelData::CCmdPanelData(const std::string& typeName, HWND* combo) : name(typeName), typeCombo(combo) {}

CCmdPanelData::~CCmdPanelData() { DestroyButtons(); }

void CCmdPanelData::DestroyButtons()
{
    DestroyButtonList(buttons);
    if (tooltip != nullptr && ::IsWindow(tooltip)) ::DestroyWindow(tooltip);
    tooltip = nullptr;
    if (tooltipFont != nullptr) DeleteObject(tooltipFont);
    tooltipFont = nullptr;
}

int CCmdPanelData::ComboWidth() const
{
    if (typeCombo == nullptr || *typeCombo == nullptr) return 100;
    RECT rc = {};
    GetClientRect(*typeCombo, &rc);
    return rc.right - rc.left;
}

int CCmdPanelData::ComboHeight() const
{
    if (typeCombo == nullptr || *typeCombo == nullptr) return 0;
    RECT rc = {};
    GetWindowRect(*typeCombo, &rc);
    return rc.bottom - rc.top;
}

int CCmdPanelData::CreateButtons(HWND parentWindow, int x, int y, int hGap, int vGap)
{
    if (parentWindow == nullptr) return -1;
    parent = parentWindow;
    x0 = x;
    y0 = y;
    horizontalGap = hGap;
    verticalGap = vGap;
    DestroyButtons();

    // Column 0 is the column under the type list: the first row starts left of it, in column 1.
    std::vector<int> widths{ComboWidth()};
    size_t column = 1;
    int row = 0;
    for (const std::string& line : itemLines) {
        const CmdPanelItemLine item = ParseCmdPanelItemLine(line);
        if (item.rowBreak) {
            buttons.push_back(nullptr);
            ++row;
            column = 0;
            continue;
        }
        if (!item.button) continue;
        auto button = std::make_unique<CCmdPnlButton>();
        button->SetInfo(item.caption, item.commandId, item.tooltip, item.imageSet);
        button->GetButtonSize(&button->width, &button->height);
        if (row > 0 && column < widths.size()) widths[column] = std::max(widths[column], button->width);
        else widths.push_back(button->width);
        buttons.push_back(std::move(button));
        ++column;
    }

    column = 1;
    for (auto& button : buttons) {
        if (!button) {
            column = 0;
            continue;
        }
        button->width = widths[column++];
        RECT rc = {0, 0, button->width, button->height};
        button->Create(parent, &rc, button->caption.c_str(), WS_CHILD | WS_VISIBLE, 0,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(button->commandId)));
        if (button->m_hWnd != nullptr) ::ShowWindow(button->m_hWnd, SW_HIDE);
    }
    CreateTooltips();
    return 0;
}

void CCmdPanelData::CreateTooltips()
{
    tooltipFont = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (tooltip == nullptr) return;
    if (tooltipFont != nullptr) ::SendMessageA(tooltip, WM_SETFONT, reinterpret_cast<WPARAM>(tooltipFont), TRUE);
    ::SendMessageA(tooltip, TTM_ACTIVATE, TRUE, 0);
    for (auto& button : buttons) {
        if (!button || button->m_hWnd == nullptr) continue;
        TOOLINFOA info = {};
        info.cbSize = TTTOOLINFOA_V2_SIZE;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = parent;
        info.uId = reinterpret_cast<UINT_PTR>(button->m_hWnd);
        info.lpszText = const_cast<char*>(button->tooltip.c_str());
        ::SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void CCmdPanelData::ShowButtons(int show)
{
    for (auto& button : buttons)
        if (button && button->m_hWnd != nullptr) ::ShowWindow(button->m_hWnd, show);
}

void CCmdPanelData::Layout()
{
    if (parent == nullptr) return;
    RECT client = {};
    GetClientRect(parent, &client);
    const int comboWidth = ComboWidth();
    if (client.right < client.bottom) {
        // Tall: every button the same size, the rows of the definition become columns.
        if (typeCombo != nullptr && *typeCombo != nullptr)
            ::SetWindowPos(*typeCombo, nullptr, 4, 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        int width = 0, height = 0;
        for (const auto& button : buttons) {
            if (!button) continue;
            int w = 0, h = 0;
            button->GetButtonSize(&w, &h);
            width = std::max(width, w);
            height = std::max(height, h);
        }
        const int top = ComboHeight() + 6;
        int x = 4, y = top;
        for (auto& button : buttons) {
            if (!button) {
                x += width;
                y = top;
                continue;
            }
            MoveButton(*button, x, y, width, height);
            y += height + verticalGap;
        }
        return;
    }
    int rowHeight = GetButtonImageHeight();
    if (!buttons.empty() && buttons.front()) rowHeight = buttons.front()->height;
    const int pitch = rowHeight + verticalGap;
    int x = client.right - comboWidth - x0;
    int y = y0 - 2;
    for (auto& button : buttons) {
        if (!button) {
            x = client.right - x0;
            y += pitch;
            continue;
        }
        x -= button->width + horizontalGap;
        MoveButton(*button, x, y, button->width, button->height);
    }
}

bool CCmdPanelData::GetButtonBounds(RECT* bounds) const
{
    bool any = false;
    RECT all = {};
    for (const auto& button : buttons) {
        if (!button || button->m_hWnd == nullptr) continue;
        const RECT rc = WindowRectInParent(button->m_hWnd);
        if (!any) all = rc;
        else UnionRect(&all, &all, &rc);
        any = true;
    }
    if (any && bounds != nullptr) *bounds = all;
    return any;
}

// ---- the type strip ----

CTypeSelBtn::~CTypeSelBtn() { DestroyButtons(); }

void CTypeSelBtn::DestroyButtons() { DestroyButtonList(buttons); }

void CTypeSelBtn::CreateButtons(HWND parent, const std::vector<std::string>& names)
{
    DestroyButtons();
    for (size_t i = 0; i < names.size(); ++i) {
        // An empty name makes no button; later ids keep their index.
        if (names[i].empty()) continue;
        auto button = std::make_unique<CCmdPnlButton>(1);
        button->SetInfo(names[i], kFirstTypeButtonId + static_cast<int>(i), std::string(), 0);
        button->GetButtonSize(&button->width, &button->height);
        RECT rc = {0, 0, button->width, button->height};
        button->Create(parent, &rc, button->caption.c_str(), WS_CHILD | WS_VISIBLE, 0,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(button->commandId)));
        buttons.push_back(std::move(button));
    }
}

int CTypeSelBtn::SelectByName(const std::string& name)
{
    selectedName.clear();
    int found = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const bool match = buttons[i]->caption == name;
        buttons[i]->SetSelected(match ? 1 : 0);
        if (match) {
            selectedName = buttons[i]->caption;
            found = static_cast<int>(i);
        }
    }
    return found;
}

int CTypeSelBtn::SelectById(int id)
{
    selectedName.clear();
    int found = -1;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const bool match = buttons[i]->commandId == id;
        buttons[i]->SetSelected(match ? 1 : 0);
        if (match) {
            selectedName = buttons[i]->caption;
            found = static_cast<int>(i);
        }
    }
    return found;
}

void CTypeSelBtn::LayoutHorizontal(int x, int y, int total, int height)
{
    if (buttons.empty()) return;
    if (total == 0) total = defaultLength;
    if (height == 0) height = thickness;
    const int width = total / static_cast<int>(buttons.size());
    int right = x;
    for (auto& button : buttons) {
        button->verticalCaption = 0;
        MoveButton(*button, right - width, y, width, height);
        right -= width;
    }
}

void CTypeSelBtn::LayoutVertical(int x, int y, int total, int width)
{
    if (buttons.empty()) return;
    if (total == 0) total = static_cast<int>(defaultLength * 0.7);
    if (width == 0) width = thickness;
    const int height = total / static_cast<int>(buttons.size());
    for (auto& button : buttons) {
        button->verticalCaption = 1;
        MoveButton(*button, x, y, width, height);
        y += height;
    }
}

// ---- the whole panel ----

int(WINAPI* CmdPanelContent::errorBox)(HWND, LPCSTR, LPCSTR, UINT) = MessageBoxA;
int (*CmdPanelContent::screenWidth)() = SystemScreenWidth;
int (*CmdPanelContent::lowResolutionSwitch)() = LocalLowResolutionSwitch;

CmdPanelContent::CmdPanelContent(int current) : currentType(current) {}

CmdPanelContent::~CmdPanelContent() { DestroyWindows(); }

void CmdPanelContent::DestroyWindows()
{
    typeButtons.DestroyButtons();
    for (auto& type : data) type->DestroyButtons();
    if (typeCombo != nullptr && ::IsWindow(typeCombo)) ::DestroyWindow(typeCombo);
    typeCombo = nullptr;
    if (comboFont != nullptr) DeleteObject(comboFont);
    comboFont = nullptr;
}

int CmdPanelContent::Load(const char* path, const char* root)
{
    const std::string file = path != nullptr ? std::string(path) : GetCmdPanelDefPath(true, false);
    const std::string rootName = root != nullptr ? root : kDefaultRoot;
    CDefFile def(file.c_str());
    if (!def.document) {
        errorBox(nullptr, def.lastError.c_str(), kErrorCaption, MB_ICONWARNING);
        return -1;
    }
    // Only a document whose root has the expected name has types.
    def.GetChildNames(("/" + rootName).c_str(), typeNames);
    data.clear();
    for (const std::string& name : typeNames) {
        auto type = std::make_unique<CCmdPanelData>(name, &typeCombo);
        char section[1024];
        std::snprintf(section, sizeof section, "/%s/%s/%s", rootName.c_str(), name.c_str(), "data");
        def.GetStringList(section, "item", type->itemLines);
        data.push_back(std::move(type));
    }
    return 0;
}

int CmdPanelContent::Save()
{
    const std::string file = GetCmdPanelDefPath(true, false);
    CDefFile def(file.c_str());
    if (!def.document) {
        errorBox(nullptr, def.lastError.c_str(), kErrorCaption, MB_ICONWARNING);
        return -1;
    }
    // Every item of the types written is emptied, however many there are; the emptied
    // elements then go, and the types come back in the model's order.
    const std::string root = std::string("/") + kDefaultRoot;
    for (const auto& type : data) {
        const std::string items = ItemPath(type->name);
        for (int j = 0; def.SetStringAt(root.c_str(), items.c_str(), "", j) == 0; ++j) {
        }
    }
    def.RemoveEmptyElements();
    for (const auto& type : data) {
        for (const std::string& line : type->itemLines) def.SetString(type->name.c_str(), "data/item", line.c_str(), 1);
    }
    // A failed write has shown its own box; the caller must not take it for a saved file.
    return def.Save(file.c_str()) == 1 ? 0 : -1;
}

int CmdPanelContent::ShownType() const
{
    return currentType >= 0 && currentType < static_cast<int>(data.size()) ? currentType : 0;
}

int CmdPanelContent::Create(HWND parent)
{
    panel = parent;
    const int width = screenWidth();
    const bool lowRes = lowResolutionSwitch() > 0 && width < kLowResolutionLimit;
    currentType = ShownType();

    typeCombo = CreateWindowExA(0, "COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0,
                                lowRes ? 80 : 100, 640, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTypeComboId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (typeCombo != nullptr) {
        for (const std::string& name : typeNames)
            ::SendMessageA(typeCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (currentType < static_cast<int>(typeNames.size())) {
            const LRESULT at = ::SendMessageA(typeCombo, CB_FINDSTRINGEXACT, currentType - 1,
                                              reinterpret_cast<LPARAM>(typeNames[currentType].c_str()));
            ::SendMessageA(typeCombo, CB_SETCURSEL, at, 0);
        }
        ::SendMessageA(typeCombo, CB_SETMINVISIBLE, 32, 0);
        comboFont = CreateFontA(lowRes ? -11 : -16, 0, 0, 0, lowRes ? FW_NORMAL : FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0,
                                0, 0, 0, "ＭＳ ゴシック");
        if (comboFont != nullptr) ::SendMessageA(typeCombo, WM_SETFONT, reinterpret_cast<WPARAM>(comboFont), TRUE);
    }
    for (auto& type : data) type->CreateButtons(parent, 10, 4, 0, 0);
    typeButtons.CreateButtons(parent, typeNames);
    if (currentType < static_cast<int>(typeNames.size())) typeButtons.SelectByName(typeNames[currentType]);
    if (currentType < static_cast<int>(data.size())) data[currentType]->ShowButtons(SW_SHOW);
    return 0;
}

void CmdPanelContent::Layout()
{
    if (panel == nullptr) return;
    RECT client = {};
    GetClientRect(panel, &client);
    if (typeCombo != nullptr) {
        RECT rc = {};
        GetWindowRect(typeCombo, &rc);
        ::SetWindowPos(typeCombo, nullptr, client.right - (rc.right - rc.left) - 10, 4, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::InvalidateRect(typeCombo, nullptr, TRUE);
    }
    if (currentType < 0 || currentType >= static_cast<int>(data.size())) return;
    CCmdPanelData& type = *data[currentType];
    type.x0 = 10;
    type.y0 = 4;
    type.Layout();
    RECT bounds = {};
    if (!type.GetButtonBounds(&bounds)) return;
    if (client.right < client.bottom) typeButtons.LayoutVertical(bounds.right + 4, bounds.top, 0, 0);
    else typeButtons.LayoutHorizontal(bounds.right, bounds.bottom + 4, 0, 0);
}

void CmdPanelContent::SwitchType(int index)
{
    if (index < 0 || index >= static_cast<int>(data.size())) return;
    if (currentType >= 0 && currentType < static_cast<int>(data.size())) data[currentType]->ShowButtons(SW_HIDE);
    currentType = index;
    data[currentType]->ShowButtons(SW_SHOW);
    Layout();
}

void CmdPanelContent::OnTypeComboChange()
{
    if (typeCombo == nullptr) return;
    const int chosen = static_cast<int>(::SendMessageA(typeCombo, CB_GETCURSEL, 0, 0));
    if (chosen < 0) return;
    SwitchType(chosen);
    char text[512] = {};
    if (::SendMessageA(typeCombo, CB_GETLBTEXTLEN, chosen, 0) < static_cast<LRESULT>(sizeof text))
        ::SendMessageA(typeCombo, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text));
    typeButtons.SelectByName(text);
}

void CmdPanelContent::SetCommandState(int id, int flag)
{
    for (auto& type : data)
        for (auto& button : type->buttons)
            if (button && button->commandId == id) button->SetSelected(flag != 0 ? 1 : 0);
}

void CmdPanelContent::ActivateTooltips(int on)
{
    for (auto& type : data)
        if (type->tooltip != nullptr) ::SendMessageA(type->tooltip, TTM_ACTIVATE, on ? TRUE : FALSE, 0);
}

CmdPanelContent& GetPanelCatalogue()
{
    static CmdPanelContent catalogue;
    return catalogue;
}

CmdPanelContent& GetKeyCatalogue()
{
    static CmdPanelContent catalogue;
    return catalogue;
}

void FreeCommandPanelCatalogues()
{
    for (CmdPanelContent* catalogue : {&GetPanelCatalogue(), &GetKeyCatalogue()}) {
        catalogue->DestroyWindows();
        catalogue->data.clear();
        catalogue->typeNames.clear();
    }
}
