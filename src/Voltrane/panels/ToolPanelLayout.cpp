#include "panels/ToolPanelLayout.h"

#include <iterator>

const ToolPanelControl* ToolPanelLayout::Find(int id) const
{
    for (const ToolPanelControl& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

namespace {

void AddButtonGrid(ToolPanelLayout& layout, int y, bool low, const int (&ids)[6], const char* const (&texts)[6])
{
    const int width = low ? 85 : 94, height = low ? 20 : 23, right = low ? 87 : 97;
    for (int i = 0; i < 6; ++i) {
        const int row = i / 2, column = i % 2;
        layout.controls.push_back({ids[i], ToolControlKind::Button, column ? right : 3, y + 23 * row, width, height,
                                   texts[i], 0});
    }
}

}  // namespace

ToolPanelLayout LayOutToolPanel(int groups, bool low)
{
    ToolPanelLayout layout;
    int y = 2, k = 0;
    auto separate = [&](bool advance) {
        if (y < 9) return;
        layout.separators[k] = y - 9;
        if (advance) ++k;
    };
    if (groups & kToolGroupPaper) {
        const ToolPanelControl statics[] = {
            {3770, ToolControlKind::Static, 3, 2, 30, 16, "用紙", 2},
            {3771, ToolControlKind::Static, 33, 0, 48, 18, "     ", 4},
            {3773, ToolControlKind::Static, 81, 0, 48, 18, "", 4},
            {3780, ToolControlKind::Static, 5, 24, 36, 16, "   X:", 2},
            {8000, ToolControlKind::Static, 47, 24, 200, 18, "", 3},
            {3781, ToolControlKind::Static, 5, 40, 36, 16, "   Y:", 2},
            {8001, ToolControlKind::Static, 47, 40, 200, 18, "", 3},
            {3782, ToolControlKind::Static, 6, 56, 36, 16, "", 2},
            {8002, ToolControlKind::Static, 47, 56, 200, 16, "", 3},
        };
        layout.controls.insert(layout.controls.end(), std::begin(statics), std::end(statics));
        layout.separators[k++] = 19;
        y = 84;
    }
    if (groups & kToolGroupAttributes) {
        separate(true);
        const int pw = low ? 131 : 161, ph = low ? 20 : 23, mw = low ? 65 : 80, lx = low ? 137 : 167;
        const int bw = low ? 85 : 94, bh = low ? 20 : 23;
        const ToolPanelControl controls[] = {
            {5001, ToolControlKind::Picker, 3, y, pw, ph, "", 0},
            {0, ToolControlKind::Static, lx, y + 3, 12, 18, "色", 1},
            {5002, ToolControlKind::Picker, 3, y + 23, pw, ph, "", 0},
            {0, ToolControlKind::Static, lx, y + 26, 24, 18, "線種", 1},
            {5004, ToolControlKind::Picker, 3, y + 46, pw, 20, "", 0},
            {0, ToolControlKind::Static, lx, y + 49, 24, 18, "線幅", 1},
            {5000, ToolControlKind::Picker, 3, y + 69, mw, 20, "", 0},
            {5003, ToolControlKind::Picker, low ? 69 : 83, y + 69, mw, 20, "", 0},
            {0, ToolControlKind::Static, lx, y + 72, 24, 18, "線端", 1},
            {3310, ToolControlKind::Button, 3, y + 92, bw, bh, "レイヤ設定", 0},
            {3314, ToolControlKind::Button, low ? 87 : 97, y + 92, bw, bh, "レイヤ分割", 0},
            {3312, ToolControlKind::LayerField, 3, y + 115, 161, 40, "", 1},
        };
        layout.controls.insert(layout.controls.end(), std::begin(controls), std::end(controls));
        y += 165;
    }
    if (groups & kToolGroupSnap) {
        separate(true);
        AddButtonGrid(layout, y, low, {3405, 3410, 3418, 3411, 3412, 3404},
                      {"任意点検出", "端点検出", "円中心検出", "交点検出", "線上点検出", "中点検出"});
        y += 87;
    }
    if (groups & kToolGroupOther) {
        separate(false);
        AddButtonGrid(layout, y, low, {3408, 3989, 3516, 3406, 3999, 3409},
                      {"属性取込", "座標入力", "グリッド", "マウス", "2点間中点", "仮点入力"});
    }
    return layout;
}
