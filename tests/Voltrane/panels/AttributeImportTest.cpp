#include "GTest.h"

#include <string>

#include "TempFolder.h"
#include "panels/AttributeImport.h"

namespace {

ElementRecord Element(int layer, int colour, int lineType = 0, int width = 0)
{
    ElementRecord e{};
    e.type = 1;
    e.layer = static_cast<uint16_t>(layer);
    e.colour = static_cast<uint16_t>(colour);
    e.lineType = static_cast<uint8_t>(lineType);
    e.lineWidth = static_cast<uint8_t>(width);
    return e;
}

TEST(AttributeImportTest, ValuesOutsideTheirRangesAreListed)
{
    const struct {
        ElementRecord e;
        int bad;
        std::string list;
    } cases[] = {
        {Element(1023, 256, 31, 15), 0, ""},
        {Element(0, 1), 0, ""},
        {Element(1024, 1), kBadLayer, "レイヤ:1024"},
        {Element(2000, 0), kBadLayer | kBadColour, "レイヤ:2000 色:0"},
        {Element(5, 257), kBadColour, "色:257"},
        {Element(5, 3, 32, 16), kBadLineType | kBadWidth, "線種:32 線幅:16"},
    };
    for (const auto& c : cases) {
        std::string list = "x";
        EXPECT_EQ(CheckImportedAttributes(c.e, &list), c.bad) << c.list;
        EXPECT_EQ(list, c.list);
    }
}

TEST(AttributeImportTest, WithoutTheDialogTheLayerChoiceFollowsSetLayer)
{
    TempFolder folder;
    const std::string ini = folder.File("LocalSettings.ini");
    const ElementRecord e = Element(3, 4);
    const struct {
        const char* content;
        int result;
        int setLayer;
    } cases[] = {
        {"", 1, 0},
        {"[AttrSettings]\r\nViewDialog=0\r\nSetLayer=1\r\n", 1, 1},
        {"[AttrSettings]\r\nSetLayer=0\r\nDlgChkLay=1\r\n", 1, 0},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(folder.Write("LocalSettings.ini", c.content));
        int setLayer = -1;
        EXPECT_EQ(ImportElementAttributes(&e, &setLayer, ini), c.result) << c.content;
        EXPECT_EQ(setLayer, c.setLayer) << c.content;
    }
    EXPECT_EQ(ImportElementAttributes(nullptr, nullptr, ini), 0);
}

}  // namespace
