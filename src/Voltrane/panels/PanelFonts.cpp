#include "panels/PanelFonts.h"

#include "controls/KitFaces.h"
#include "panels/CustCmdPanelList.h"
#include "panels/ParameterPanelModel.h"
#include "panels/PboxControls.h"

namespace {

HFONT g_panelFont = nullptr;
HFONT g_panelBoldFont = nullptr;

HFONT CreatePanelFace(int weight)
{
    return CreateFontA(12, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "ＭＳ ゴシック");
}

}  // namespace

int CreatePanelFonts()
{
    DeletePanelFont();
    g_panelFont = CreatePanelFace(FW_DONTCARE);
    g_panelBoldFont = CreatePanelFace(FW_BOLD);
    if (g_panelFont == nullptr || g_panelBoldFont == nullptr) return 0;
    // The kit's own third font is only selected while painting, so it can go now.
    if (KitFont3 != nullptr) DeleteObject(KitFont3);
    KitFont3 = g_panelFont;
    return 1;
}

void DeletePanelFont()
{
    if (KitFont3 == g_panelFont && g_panelFont != nullptr) KitFont3 = nullptr;
    if (g_panelFont != nullptr) DeleteObject(g_panelFont);
    if (g_panelBoldFont != nullptr) DeleteObject(g_panelBoldFont);
    g_panelFont = nullptr;
    g_panelBoldFont = nullptr;
}

HFONT PanelItemFont() { return g_panelFont; }
HFONT PanelItemBoldFont() { return g_panelBoldFont; }

int RegisterPanelWindowClasses(HINSTANCE instance)
{
    PboxResetTable();
    if (RegisterCustCmdPanelListClass(instance) == 0) return 0;
    // The item windows register their own classes when the first of them is made; the PBox
    // controls are plain classes for the plug-ins' windows.
    return RegisterPboxControlClasses(instance);
}

void UnregisterPanelWindowClasses(HINSTANCE instance)
{
    UnregisterPboxControlClasses(instance);
    UnregisterCustCmdPanelListClass(instance);
}
