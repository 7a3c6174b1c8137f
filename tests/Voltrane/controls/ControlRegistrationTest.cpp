// The start-up registration of the kit's classes: the order, and that a failure stops nothing.
#include "GTest.h"

#include <string>
#include <vector>

#include "core/StartupSeams.h"

namespace {

std::vector<std::string> g_calls;
std::string g_failing;

template <const char* Name>
int Record(HINSTANCE)
{
    g_calls.push_back(Name);
    return g_failing == Name ? 0 : 1;
}

constexpr char kButtons[] = "buttons";
constexpr char kPanels[] = "panels";
constexpr char kLayer[] = "layer";
constexpr char kColor[] = "color";
constexpr char kLineType[] = "linetype";
constexpr char kPoint[] = "point";
constexpr char kWidth[] = "width";
constexpr char kStart[] = "start";
constexpr char kEnd[] = "end";
constexpr char kPopup[] = "popup";

TEST(ControlRegistrationTest, OrderAndAFailingStepThatStopsNothing)
{
    seam::ControlClassRegistrations saved = seam::GetControlClassRegistrations();
    seam::ControlClassRegistrations& r = seam::GetControlClassRegistrations();
    r.kitButtons = Record<kButtons>;
    r.panelClasses = Record<kPanels>;
    r.layerPicker = Record<kLayer>;
    r.colorPicker = Record<kColor>;
    r.lineTypePicker = Record<kLineType>;
    r.pointMarkPicker = Record<kPoint>;
    r.lineWidthPicker = Record<kWidth>;
    r.startMarkPicker = Record<kStart>;
    r.endMarkPicker = Record<kEnd>;
    r.rightMenuPopup = Record<kPopup>;
    const std::vector<std::string> order = {kButtons, kPanels, kLayer,  kColor, kLineType,
                                            kPoint,   kWidth,  kStart, kEnd,   kPopup};
    for (const char* failing : {"", kButtons, kColor, kPopup}) {
        g_calls.clear();
        g_failing = failing;
        seam::RegisterControlClasses(GetModuleHandleA(nullptr));
        EXPECT_EQ(g_calls, order) << "failing: " << failing;
    }
    r = saved;
}

TEST(ControlRegistrationTest, TheProgramRegistersEveryKitClassForAnyModule)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    seam::RegisterControlClasses(instance);
    const char* global[] = {"PPush", "NPush", "NPush2", "NPush3", "SCBTN", "NPushCmdMenu", "cmdcolorclass",
                            "cmdcolorclass2", "cmdltermsclass", "cmdltermeclass", "cmdltypeclass", "cmdlwidclass",
                            "cmdlayerclass", "cmdpointclass"};
    for (const char* name : global) {
        WNDCLASSA info;
        // A global class is found through any module instance, here none.
        ASSERT_TRUE(GetClassInfoA(nullptr, name, &info) || GetClassInfoA(instance, name, &info)) << name;
        EXPECT_NE(info.style & CS_GLOBALCLASS, 0u) << name;
    }
    seam::UnregisterControlClasses(instance);
    WNDCLASSA info;
    EXPECT_FALSE(GetClassInfoA(instance, "cmdpointclass", &info));
    EXPECT_FALSE(GetClassInfoA(instance, "NPush", &info));
    EXPECT_TRUE(GetClassInfoA(instance, "vycolorwndclass", &info));  // drop-downs stay
}

}  // namespace
