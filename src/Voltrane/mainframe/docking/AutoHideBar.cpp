#include "mainframe/docking/AutoHideBar.h"

#include <algorithm>

namespace dockwins {

AutoHideBarLayout LayOutAutoHideBars(const RECT& area, int thickness, const bool hasLabels[kAutoHideBars])
{
    AutoHideBarLayout layout = {};
    RECT rc = area;
    int leftCut = hasLabels[3] ? thickness : 0;
    int rightCut = hasLabels[1] ? thickness : 0;
    if (hasLabels[2]) {
        layout.bars[2] = {rc.left + leftCut, rc.top, rc.right - rightCut, rc.top + thickness};
        rc.top += thickness;
    }
    if (hasLabels[0]) {
        layout.bars[0] = {rc.left + leftCut, rc.bottom - thickness, rc.right - rightCut, rc.bottom};
        rc.bottom -= thickness;
    }
    if (hasLabels[3]) {
        layout.bars[3] = {rc.left, rc.top, rc.left + thickness, rc.bottom};
        rc.left += thickness;
    }
    if (hasLabels[1]) {
        layout.bars[1] = {rc.right - thickness, rc.top, rc.right, rc.bottom};
        rc.right -= thickness;
    }
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    layout.docking = rc;
    return layout;
}

std::vector<int> AutoHideLabelWidths(int length, const std::vector<int>& desired)
{
    int available = length - 1;
    int n = static_cast<int>(desired.size());
    if (n == 0) return {};
    if (n == 1) return {std::max(0, available - kLabelGap)};
    std::vector<int> widths = desired;
    std::vector<int> noted;
    int total = 0;
    for (int w : desired) {
        noted.push_back(w + kLabelGap);
        total += w + kLabelGap;
    }
    if (total <= available) return widths;
    std::sort(noted.begin(), noted.end());
    int share = available / n, pool = available % n, remaining = n;
    for (size_t i = 0; i < noted.size();) {
        if (noted[i] < share) {
            pool += share - noted[i];
            --remaining;
            ++i;
        } else if (pool < remaining) {
            break;
        } else {
            share += pool / remaining;
            pool %= remaining;
        }
    }
    int cap = share - kLabelGap;
    if (cap < 5) cap = 0;
    for (int& w : widths) w = std::min(w, cap);
    return widths;
}

int DesiredLabelWidth(int textWidth, int textBytes, bool hasIcon, int smallIconWidth)
{
    int width = textBytes > 0 ? textWidth + (textWidth / textBytes) * 4 + 6 : textWidth + 6;
    if (hasIcon) width += smallIconWidth + 3;
    return width;
}

int AutoHideLabelAt(const std::vector<int>& widths, int start, int coordinate)
{
    int at = start;
    for (size_t i = 0; i < widths.size(); ++i) {
        if (coordinate < at) return -1;
        if (coordinate < at + widths[i]) return static_cast<int>(i);
        at += widths[i] + kLabelGap;
    }
    return -1;
}

}  // namespace dockwins
