// Where the tool panel's controls go: up to four groups from top to bottom, each shown when its
// bit of ToolPanelDispMode is set, with separator lines between them.
#pragma once

#include <string>
#include <vector>

constexpr int kToolGroupPaper = 0x1;       // paper, scale and cursor coordinates
constexpr int kToolGroupAttributes = 0x2;  // attribute pickers and layers
constexpr int kToolGroupSnap = 0x4;        // snap mode buttons
constexpr int kToolGroupOther = 0x8;       // other input aids

enum class ToolControlKind { Static, Picker, Button, LayerField };

struct ToolPanelControl {
    int id;  // 0 for a label without an id
    ToolControlKind kind;
    int x, y, width, height;
    std::string text;
    int font;  // 1 to 4 for statics (F1 to F4), else 0
};

struct ToolPanelLayout {
    int separators[10] = {};  // y of each separator line, ended by the first 0
    std::vector<ToolPanelControl> controls;

    const ToolPanelControl* Find(int id) const;
};

ToolPanelLayout LayOutToolPanel(int groups, bool lowResolution);
