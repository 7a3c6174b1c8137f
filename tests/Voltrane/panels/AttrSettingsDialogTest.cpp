#include "GTest.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <string>

#include "TempFolder.h"
#include "panels/AttrSettingsDialog.h"
#include "panels/AttributeImport.h"

namespace {

ElementRecord Element(int type, int layer, int page, int space)
{
    ElementRecord e{};
    e.type = static_cast<uint16_t>(type);
    e.layer = static_cast<uint16_t>(layer);
    e.page = page;
    e.space = static_cast<uint8_t>(space);
    e.colour = 7;
    e.lineType = 2;
    e.lineWidth = 3;
    return e;
}

void PutText(ElementRecord& e, double height, double ratio, double spacing, const char* font)
{
    char* bytes = reinterpret_cast<char*>(&e);
    std::memcpy(bytes + 46, &height, sizeof height);
    std::memcpy(bytes + 54, &ratio, sizeof ratio);
    std::memcpy(bytes + 62, &spacing, sizeof spacing);
    std::strcpy(bytes + 70, font);
}

// What a timer does with the dialog once it shows: look at it, then end it.
std::function<void(HWND)> g_look;
bool g_seen = false;

void CALLBACK PlayDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = nullptr;
    for (HWND w = FindWindowA("#32770", nullptr); w != nullptr; w = FindWindowExA(nullptr, w, "#32770", nullptr))
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() && IsWindowVisible(w)) dialog = w;
    if (dialog == nullptr || g_seen) return;
    g_seen = true;
    g_look(dialog);
}

// Runs body with the timer playing look once the dialog shows.
int Play(const std::function<void(HWND)>& look, const std::function<int()>& body)
{
    g_look = look;
    g_seen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, PlayDialog);
    const int result = body();
    KillTimer(nullptr, timer);
    return result;
}

bool Shown(HWND dialog, int id) { return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE; }
std::string ItemText(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

TEST(AttrSettingsDialogTest, EachElementTypeShowsItsOwnControls)
{
    ElementRecord text = Element(5, 0, 0, 0);
    PutText(text, 2.5, 0.8, 0.0, "ＭＳ ゴシック");
    const struct {
        ElementRecord element;
        const char* caption;
        bool typeSample, widthSample, marks, textValues;
    } cases[] = {
        {Element(1, 4, 3, 1), "線分の属性を取り込みます", true, true, true, false},
        {Element(2, 4, 3, 1), "点の属性を取り込みます", false, false, false, false},
        {Element(3, 4, 3, 1), "円の属性を取り込みます", true, true, false, false},
        {Element(6, 4, 3, 1), "楕円の属性を取り込みます", true, true, false, false},
        {text, "文字の属性を取り込みます", false, false, false, true},
        {Element(40, 4, 3, 1), "属性取り込み", true, true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        std::string caption;
        bool colour = false, typeSample = false, width = false, start = false, end = false, marksLabel = false;
        bool values[4] = {};
        std::string layerNumber, page, height, ratio, spacing, font, heightLabel;
        int check = 1;
        const int result = Play(
            [&](HWND dialog) {
                char buffer[128] = {};
                GetWindowTextA(dialog, buffer, sizeof buffer);
                caption = buffer;
                colour = Shown(dialog, kAttrColourSample);
                typeSample = Shown(dialog, kAttrTypeSample);
                width = Shown(dialog, kAttrWidthSample);
                start = Shown(dialog, kAttrStartSample);
                end = Shown(dialog, kAttrEndSample);
                marksLabel = Shown(dialog, 1826);
                for (int i = 0; i < 4; ++i) values[i] = Shown(dialog, kAttrTextHeight + i);
                layerNumber = ItemText(dialog, kAttrLayerNumber);
                page = ItemText(dialog, kAttrPageNumber);
                height = ItemText(dialog, kAttrTextHeight);
                ratio = ItemText(dialog, kAttrTextRatio);
                spacing = ItemText(dialog, kAttrTextSpacing);
                font = ItemText(dialog, kAttrTextFont);
                heightLabel = ItemText(dialog, 1823);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            },
            [&] { return RunAttrSettingsDialog(c.element, &check); });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(caption, c.caption);
        EXPECT_TRUE(colour);
        EXPECT_EQ(typeSample, c.typeSample);
        EXPECT_EQ(width, c.widthSample);
        EXPECT_EQ(start, c.marks);
        EXPECT_EQ(end, c.marks);
        EXPECT_EQ(marksLabel, c.marks || c.textValues);
        for (bool v : values) EXPECT_EQ(v, c.textValues);
        if (c.textValues) {
            EXPECT_EQ(heightLabel, "文字高さ");
            EXPECT_EQ(height, "2.5");
            EXPECT_EQ(ratio, "0.8");
            EXPECT_EQ(spacing, "0");
            EXPECT_EQ(font, "ＭＳ ゴシック");
            EXPECT_EQ(layerNumber, "1");
            EXPECT_EQ(page, "0P ﾘｱﾙ");
        } else {
            EXPECT_EQ(layerNumber, "5");
            EXPECT_EQ(page, "3P ﾚｲｱｳﾄ");
        }
    }
}

TEST(AttrSettingsDialogTest, TheImportAsksWhenViewDialogIsSetAndKeepsTheBoxOnlyAtOk)
{
    TempFolder folder;
    const std::string ini = folder.File("LocalSettings.ini");
    const ElementRecord e = Element(1, 4, 0, 0);
    const struct {
        const char* content;
        int button;
        bool toggleBox;
        int result, setLayer;
        int storedCheck;
    } cases[] = {
        {"[AttrSettings]\r\nViewDialog=1\r\nDlgChkLay=0\r\n", IDCANCEL, true, 0, 0, 0},
        {"[AttrSettings]\r\nViewDialog=1\r\nDlgChkLay=1\r\n", IDOK, true, 1, 0, 0},
        {"[AttrSettings]\r\nViewDialog=1\r\n", IDOK, false, 1, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        ASSERT_TRUE(folder.Write("LocalSettings.ini", c.content));
        int setLayer = -1;
        const int result = Play(
            [&](HWND dialog) {
                if (c.toggleBox)
                    CheckDlgButton(dialog, kAttrLayerCheck,
                                   IsDlgButtonChecked(dialog, kAttrLayerCheck) == BST_CHECKED ? BST_UNCHECKED
                                                                                              : BST_CHECKED);
                PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(c.button), 0);
            },
            [&] { return ImportElementAttributes(&e, &setLayer, ini); });
        EXPECT_TRUE(g_seen);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(setLayer, c.setLayer);
        EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("AttrSettings", "DlgChkLay", 1, ini.c_str())), c.storedCheck);
    }
}

}  // namespace
