// The arithmetic of the four auto-hide bars along the frame's edges: where the bars lie, how
// wide their labels are and which label lies under a point. Bar i has side i (0 bottom,
// 1 right, 2 top, 3 left).
#pragma once

#include <windows.h>

#include <vector>

namespace dockwins {

constexpr int kAutoHideBars = 4;
constexpr int kLabelGap = 5;     // between two labels along a bar
constexpr int kLabelMargin = 3;  // before the first label and after the last

struct AutoHideBarLayout {
    RECT bars[kAutoHideBars];  // empty for a bar without labels
    RECT docking;              // what is left for the packages
};

// Cuts a strip of the bar thickness from the area for every bar that holds labels: top, then
// bottom (both shortened by the thickness at an end whose side bar holds labels), then left
// and right over the remaining height.
AutoHideBarLayout LayOutAutoHideBars(const RECT& area, int thickness, const bool hasLabels[kAutoHideBars]);

// The widths of the labels of a bar of the given length, from their desired widths: a single
// label takes the whole bar but for 6 pixels; when the labels do not fit, the long ones are cut
// to a fair share of the length.
std::vector<int> AutoHideLabelWidths(int length, const std::vector<int>& desired);

// The width a label asks for, from its title's text width and length in bytes and whether it
// shows a small icon.
int DesiredLabelWidth(int textWidth, int textBytes, bool hasIcon, int smallIconWidth);

// The label under the coordinate along a bar whose labels start at start, or -1 (also in the
// gaps between labels and past the last one).
int AutoHideLabelAt(const std::vector<int>& widths, int start, int coordinate);

}  // namespace dockwins
