#include "panels/RightMenu.h"

#include "core/CadSystem.h"
#include "mainframe/FrameServices.h"
#include "panels/CustomRightMenu.h"
#include "panels/RightMenuFile.h"
#include "panels/RightMenuPickList.h"

namespace {

HWND g_layerListPopup = nullptr;

class PopupFileEntries : public RightMenuFileVisitor {
public:
    explicit PopupFileEntries(HWND container) : m_container(container) {}
    void Entry(long id, const char* caption) override { AppendCustomMenuItem(m_container, 0, id, caption); }
    void Separator() override { AppendCustomMenuItem(m_container, kCustomMenuSeparator, 0, ""); }
    // A group shows as one entry with the submenu triangle and no sub-popup, its entries
    // following in the same column.
    void GroupBegin(const char* caption) override { AppendCustomMenuItem(m_container, kCustomMenuPopup, 0, caption); }
    void GroupEnd() override {}

private:
    HWND m_container;
};

}  // namespace

void ShowRightMenu(HWND view, LPARAM, int forced)
{
    const int mode = GetCadSystem().config.menu.RightMenuMode;
    if (mode == 0) return;
    RightMenuState& state = GetRightMenuState();
    if (mode == 1) state.pickSwitch = 0;
    if (state.enterMode == 1 && forced != 1) {
        if (HWND main = GetMainFrameWnd()) PostMessageA(main, WM_COMMAND, 1219, 0);
        return;
    }
    ShowCustomRightMenu(view);
}

int RightMenuPopupShown() { return GetRightMenuState().popupShown; }

int CloseRightMenu()
{
    if (g_layerListPopup != nullptr) {
        if (IsWindow(g_layerListPopup)) DestroyWindow(g_layerListPopup);
        g_layerListPopup = nullptr;
    }
    if (GetRightMenuState().popupShown == 0) return 0;
    HWND container = GetRightMenuContainer();
    if (container != nullptr) {
        ShowWindow(container, SW_HIDE);
        PostMessageA(container, kRightMenuCloseMessage, 0, 0);
    }
    return 1;
}

void SetLayerListPopupWindow(HWND popup) { g_layerListPopup = popup; }
HWND GetLayerListPopupWindow() { return g_layerListPopup; }

void AppendRightMenuFileEntries()
{
    PopupFileEntries entries(GetRightMenuContainer());
    WalkRightMenuForm(RightMenuParsedForm(), kRightMenuBufferSize, entries);
}
